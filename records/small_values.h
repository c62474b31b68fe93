// A list of plain values (bytes or words) that holds up to N of them inside its owner and only
// a longer list on the heap. The template flags and key states that every definition and key
// condition holds fit inside, so copying or reading those records allocates nothing for them;
// a file may still give any count, which then grows on the heap as a vector would.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

template <class T, size_t N>
class cSmallValues {
    static_assert(std::is_trivially_copyable_v<T>, "plain values only");
    static_assert(N > 0 && N < 0xFFFFFFFFu);

public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    cSmallValues() = default;
    cSmallValues(const cSmallValues& other) { CopyFrom(other); }
    cSmallValues(cSmallValues&& other) noexcept { TakeFrom(other); }
    cSmallValues& operator=(const cSmallValues& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    cSmallValues& operator=(cSmallValues&& other) noexcept {
        if (this != &other) TakeFrom(other);
        return *this;
    }

    size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }
    T* data() { return m_pHeap ? m_pHeap.get() : m_aInline; }
    const T* data() const { return m_pHeap ? m_pHeap.get() : m_aInline; }
    T& operator[](size_t i) { return data()[i]; }
    const T& operator[](size_t i) const { return data()[i]; }
    T* begin() { return data(); }
    T* end() { return data() + m_nSize; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + m_nSize; }

    void clear() { m_nSize = 0; }
    // New entries get `value`; a shorter size keeps the first entries.
    void resize(size_t n, T value = T()) {
        Reserve(n);
        T* d = data();
        for (size_t i = m_nSize; i < n; ++i) d[i] = value;
        m_nSize = (uint32_t)n;
    }
    void assign(size_t n, T value) {
        m_nSize = 0;
        resize(n, value);
    }
    // The list becomes the first n (at most N) of the N entries whose bytes lie at `src`: the
    // whole inside room is copied at once (a list on the heap has room for more than N).
    static constexpr size_t kInsideCount = N;
    void AssignFromRoom(const void* src, size_t n) {
        std::memcpy(data(), src, sizeof m_aInline);
        m_nSize = (uint32_t)std::min(n, N);
    }

private:
    size_t Capacity() const { return m_pHeap ? m_nHeapCapacity : N; }
    // Room for n entries (lists come from u32 counts, so n fits the size word).
    void Reserve(size_t n) {
        if (n <= Capacity()) return;
        const size_t capacity = std::max(n, 2 * Capacity());
        std::unique_ptr<T[]> heap(new T[capacity]);
        std::copy(data(), data() + m_nSize, heap.get());
        m_pHeap = std::move(heap);
        m_nHeapCapacity = (uint32_t)capacity;
    }
    void CopyFrom(const cSmallValues& other) {
        if (!m_pHeap && !other.m_pHeap) {
            // Both inside: the whole room in one fixed-size copy (no library call; a copy of a
            // range may become a call to the overlapping move).
            std::memcpy(m_aInline, other.m_aInline, sizeof m_aInline);
            m_nSize = other.m_nSize;
            return;
        }
        m_nSize = 0;
        Reserve(other.m_nSize);
        std::copy(other.begin(), other.end(), data());
        m_nSize = other.m_nSize;
    }
    void TakeFrom(cSmallValues& other) {
        if (other.m_pHeap) {
            m_pHeap = std::move(other.m_pHeap);
            m_nHeapCapacity = other.m_nHeapCapacity;
        } else {
            m_pHeap.reset();
            std::copy(other.m_aInline, other.m_aInline + other.m_nSize, m_aInline);
        }
        m_nSize = other.m_nSize;
        other.m_nSize = 0;
    }

    std::unique_ptr<T[]> m_pHeap;  // null while the entries fit inside
    uint32_t m_nSize = 0;
    uint32_t m_nHeapCapacity = 0;
    T m_aInline[N] = {};
};
