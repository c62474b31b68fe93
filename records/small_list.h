// A list of records that keeps up to N of them inside its owner and only a longer list on the
// heap. A flow's conditions, key conditions and commands and a block's conditions are nearly
// always one or none, so reading or copying those records allocates nothing for their lists;
// a file may still give any count, which then grows on the heap as a vector would.
//
// The interface is the part of std::vector the record and play code use: contiguous storage
// (plain pointers as iterators, so a std::span of the elements can be taken), size/empty,
// indexing, push_back, resize, assign, insert, erase, clear and swap. Unlike a vector, moving
// a list whose elements lie inside moves the elements themselves, so pointers into such a list
// do not survive a move of its owner.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

template <class T, size_t N>
class cSmallList {
    static_assert(N > 0);

public:
    using value_type = T;
    using size_type = size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = const T&;
    using pointer = T*;
    using const_pointer = const T*;
    using iterator = T*;
    using const_iterator = const T*;

    cSmallList() noexcept : m_pData(Inline()) {}
    cSmallList(const cSmallList& other) : cSmallList() { AppendCopies(other.begin(), other.end()); }
    cSmallList(cSmallList&& other) noexcept(std::is_nothrow_move_constructible_v<T>) : cSmallList() {
        TakeFrom(other);
    }
    cSmallList(std::initializer_list<T> init) : cSmallList() { AppendCopies(init.begin(), init.end()); }
    template <class It, class = typename std::iterator_traits<It>::iterator_category>
    cSmallList(It first, It last) : cSmallList() {
        AppendCopies(first, last);
    }
    explicit cSmallList(size_t n, const T& value = T()) : cSmallList() { resize(n, value); }
    // Lists built as vectors (tests, tools) convert on assignment or construction.
    cSmallList(const std::vector<T>& other) : cSmallList() { AppendCopies(other.begin(), other.end()); }
    ~cSmallList() { Release(); }

    cSmallList& operator=(const cSmallList& other) {
        if (this != &other) AssignCopies(other.begin(), other.end());
        return *this;
    }
    cSmallList& operator=(cSmallList&& other) noexcept(std::is_nothrow_move_constructible_v<T>) {
        if (this != &other) {
            // Taken out before the old elements go: `other` may lie inside one of them.
            cSmallList taken(std::move(other));
            TakeFrom(taken);
        }
        return *this;
    }
    cSmallList& operator=(std::initializer_list<T> init) {
        AssignCopies(init.begin(), init.end());
        return *this;
    }
    cSmallList& operator=(const std::vector<T>& other) {
        AssignCopies(other.begin(), other.end());
        return *this;
    }

    size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }
    size_t capacity() const { return m_nCapacity; }
    size_t max_size() const { return std::min<size_t>(PTRDIFF_MAX / sizeof(T), SIZE_MAX / sizeof(T)); }
    T* data() { return m_pData; }
    const T* data() const { return m_pData; }
    T& operator[](size_t i) { return m_pData[i]; }
    const T& operator[](size_t i) const { return m_pData[i]; }
    T& front() { return m_pData[0]; }
    const T& front() const { return m_pData[0]; }
    T& back() { return m_pData[m_nSize - 1]; }
    const T& back() const { return m_pData[m_nSize - 1]; }
    T* begin() { return m_pData; }
    T* end() { return m_pData + m_nSize; }
    const T* begin() const { return m_pData; }
    const T* end() const { return m_pData + m_nSize; }
    const T* cbegin() const { return m_pData; }
    const T* cend() const { return m_pData + m_nSize; }

    void reserve(size_t n) {
        if (n > m_nCapacity) Regrow(n);
    }
    void clear() {
        std::destroy(m_pData, m_pData + m_nSize);
        m_nSize = 0;
    }
    void push_back(const T& value) { emplace_back(value); }
    void push_back(T&& value) { emplace_back(std::move(value)); }
    template <class... Args>
    T& emplace_back(Args&&... args) {
        if (m_nSize == m_nCapacity) {
            // Built aside first: the value may be an element of this list.
            T value(std::forward<Args>(args)...);
            Regrow(Grown(m_nSize + 1));
            ::new (static_cast<void*>(m_pData + m_nSize)) T(std::move(value));
        } else {
            ::new (static_cast<void*>(m_pData + m_nSize)) T(std::forward<Args>(args)...);
        }
        return m_pData[m_nSize++];
    }
    void pop_back() {
        --m_nSize;
        std::destroy_at(m_pData + m_nSize);
    }
    // New elements are copies of `value`; a shorter size keeps the first elements.
    void resize(size_t n) {
        if (n <= m_nSize) {
            Shrink(n);
            return;
        }
        reserve(n);
        std::uninitialized_value_construct(m_pData + m_nSize, m_pData + n);
        m_nSize = n;
    }
    void resize(size_t n, const T& value) {
        if (n <= m_nSize) {
            Shrink(n);
            return;
        }
        if (n > m_nCapacity) {
            const T copy(value);  // may be an element of this list
            Regrow(std::max(n, Grown(n)));
            std::uninitialized_fill(m_pData + m_nSize, m_pData + n, copy);
        } else {
            std::uninitialized_fill(m_pData + m_nSize, m_pData + n, value);
        }
        m_nSize = n;
    }
    void assign(size_t n, const T& value) {
        if (n > m_nCapacity) {
            const T copy(value);
            clear();
            Regrow(n);
            std::uninitialized_fill_n(m_pData, n, copy);
            m_nSize = n;
            return;
        }
        clear();
        std::uninitialized_fill_n(m_pData, n, value);
        m_nSize = n;
    }
    template <class It, class = typename std::iterator_traits<It>::iterator_category>
    void assign(It first, It last) {
        AssignCopies(first, last);
    }
    void assign(std::initializer_list<T> init) { AssignCopies(init.begin(), init.end()); }

    // Inserts copies of [first, last) before pos (the range must not lie inside this list);
    // returns where the first inserted element lies.
    template <class It, class = typename std::iterator_traits<It>::iterator_category>
    T* insert(const T* pos, It first, It last) {
        const size_t at = (size_t)(pos - m_pData);
        std::vector<T> values(first, last);
        const size_t k = values.size();
        if (!k) return m_pData + at;
        reserve(m_nSize + k > m_nCapacity ? Grown(m_nSize + k) : m_nSize);
        // Open a gap of k at `at`: the tail moves up, from the back.
        const size_t tail = m_nSize - at;
        T* d = m_pData;
        const size_t newSize = m_nSize + k;
        for (size_t i = 0; i < tail; ++i) {
            const size_t from = m_nSize - 1 - i, to = newSize - 1 - i;
            if (to >= m_nSize)
                ::new (static_cast<void*>(d + to)) T(std::move_if_noexcept(d[from]));
            else
                d[to] = std::move_if_noexcept(d[from]);
        }
        for (size_t i = 0; i < k; ++i) {
            const size_t to = at + i;
            if (to >= m_nSize)
                ::new (static_cast<void*>(d + to)) T(std::move(values[i]));
            else
                d[to] = std::move(values[i]);
        }
        m_nSize = newSize;
        return d + at;
    }
    T* insert(const T* pos, const T& value) { return insert(pos, &value, &value + 1); }
    T* erase(const T* pos) { return erase(pos, pos + 1); }
    T* erase(const T* first, const T* last) {
        T* f = m_pData + (first - m_pData);
        T* l = m_pData + (last - m_pData);
        if (f != l) {
            T* newEnd = std::move(l, end(), f);
            std::destroy(newEnd, end());
            m_nSize = (size_t)(newEnd - m_pData);
        }
        return f;
    }
    void swap(cSmallList& other) noexcept(std::is_nothrow_move_constructible_v<T>) {
        if (this == &other) return;
        cSmallList tmp(std::move(other));
        other.TakeFrom(*this);
        TakeFrom(tmp);
    }

private:
    T* Inline() { return std::launder(reinterpret_cast<T*>(m_aInline)); }
    bool OnHeap() const { return m_pData != reinterpret_cast<const T*>(m_aInline); }
    size_t Grown(size_t need) const {
        if (need > max_size()) throw std::length_error("cSmallList: too many elements");
        return std::max(need, std::min(max_size(), 2 * m_nCapacity));
    }
    // Moves the elements into heap storage for n (n > capacity).
    void Regrow(size_t n) {
        if (n > max_size()) throw std::length_error("cSmallList: too many elements");
        T* fresh = static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(alignof(T))));
        size_t built = 0;
        try {
            for (; built < m_nSize; ++built) ::new (static_cast<void*>(fresh + built)) T(std::move_if_noexcept(m_pData[built]));
        } catch (...) {
            std::destroy(fresh, fresh + built);
            ::operator delete(fresh, std::align_val_t(alignof(T)));
            throw;
        }
        std::destroy(m_pData, m_pData + m_nSize);
        FreeHeap();
        m_pData = fresh;
        m_nCapacity = n;
    }
    void FreeHeap() {
        if (OnHeap()) ::operator delete(m_pData, std::align_val_t(alignof(T)));
        m_pData = Inline();
        m_nCapacity = N;
    }
    void Release() {
        std::destroy(m_pData, m_pData + m_nSize);
        m_nSize = 0;
        FreeHeap();
    }
    void Shrink(size_t n) {
        std::destroy(m_pData + n, m_pData + m_nSize);
        m_nSize = n;
    }
    // Drops this list's elements, then takes other's; other is left empty.
    void TakeFrom(cSmallList& other) {
        Release();
        if (other.OnHeap()) {
            m_pData = other.m_pData;
            m_nSize = other.m_nSize;
            m_nCapacity = other.m_nCapacity;
            other.m_pData = other.Inline();
            other.m_nSize = 0;
            other.m_nCapacity = N;
            return;
        }
        for (; m_nSize < other.m_nSize; ++m_nSize)
            ::new (static_cast<void*>(m_pData + m_nSize)) T(std::move_if_noexcept(other.m_pData[m_nSize]));
        other.clear();
    }
    template <class It>
    void AppendCopies(It first, It last) {
        if constexpr (std::is_base_of_v<std::forward_iterator_tag, typename std::iterator_traits<It>::iterator_category>)
            reserve(m_nSize + (size_t)std::distance(first, last));
        for (; first != last; ++first) emplace_back(*first);
    }
    template <class It>
    void AssignCopies(It first, It last) {
        // Built aside, then taken in: the source may lie inside this list's elements.
        cSmallList fresh;
        fresh.AppendCopies(first, last);
        TakeFrom(fresh);
    }

    T* m_pData;                // the inline room or the heap block
    size_t m_nSize = 0;
    size_t m_nCapacity = N;
    alignas(T) unsigned char m_aInline[N * sizeof(T)];
};
