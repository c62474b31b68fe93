// Checked element access for every program vector and list, and FormatString.
// A bad index writes "err V[%d] ( %d , %d )" (or "err L[...]") to the report, posts WM_CLOSE to
// the main window and hands out a harmless element so the current step can finish.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/report.h"

// printf-style formatting into a string through a 5,120-byte buffer (cut on a character boundary).
void FormatString(std::string& target, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes the index error line and posts WM_CLOSE (the slow path of the accessors).
void ReportIndexError(char kind, int index, int count, int elementSize);

// The element size that an index error line reports: the host's size of the element, unless the
// element's header gives the size of the element in the program's own layout (a sound entry 284
// bytes, a Bgm record 72) by specialising this beside the type.
template <typename T>
inline constexpr int kIndexErrorSize = (int)sizeof(T);

// The stand-by element of a type: zero-initialised at start, never freed, one per type.
template <typename T>
T& StandByElement() {
    alignas(T) static unsigned char storage[sizeof(T)] = {};
    static T* element = new (storage) T();
    return *element;
}

template <typename T, typename A>
T& CheckedAt(std::vector<T, A>& v, int index) {
    if (index >= 0 && (size_t)index < v.size()) return v[(size_t)index];
    ReportIndexError('V', index, (int)v.size(), kIndexErrorSize<T>);
    if (v.empty()) return StandByElement<T>();
    return v[0];
}

template <typename T, typename A>
const T& CheckedAt(const std::vector<T, A>& v, int index) {
    return CheckedAt(const_cast<std::vector<T, A>&>(v), index);
}

template <typename T, typename A>
T& CheckedListAt(std::list<T, A>& l, int index) {
    if (index >= 0 && (size_t)index < l.size()) {
        auto it = l.begin();
        std::advance(it, index);
        return *it;
    }
    ReportIndexError('L', index, (int)l.size(), kIndexErrorSize<T>);
    return StandByElement<T>();
}

template <typename T, typename A>
const T& CheckedListAt(const std::list<T, A>& l, int index) {
    return CheckedListAt(const_cast<std::list<T, A>&>(l), index);
}

template <typename T, typename A>
int ContainsPointer(std::vector<T*, A>& v, const T* p) {
    for (int i = 0; i < (int)v.size(); ++i)
        if (CheckedAt(v, i) == p) return 1;
    return 0;
}
