// Counted lists inside record files: a u32 count followed by the elements. Counts are checked
// against what remains of the file before anything is allocated.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include "records/data_file.h"

// Reads a list of records: the list is emptied, sized to the count with copies of the
// prototype (current layout, cleared, the class's new-record set-up), then each element reads
// itself. FALSE when the count could not be read or cannot fit (the list is then unchanged).
template <class T>
BOOL ReadRecordList(cRecordReader& reader, std::vector<T>& list, const T& prototype) {
    uint32_t n;
    if (!reader.ReadCount(n, kMinRecordBytes)) return FALSE;
    list.clear();
    list.resize(n, prototype);
    for (T& e : list) e.Read(reader);
    return TRUE;
}

// The same, but the records already present keep their places and are read over; only
// appended records are copies of the prototype.
template <class T>
BOOL ReadRecordListOver(cRecordReader& reader, std::vector<T>& list, const T& prototype) {
    uint32_t n;
    if (!reader.ReadCount(n, kMinRecordBytes)) return FALSE;
    list.resize(n, prototype);
    for (T& e : list) e.Read(reader);
    return TRUE;
}

template <class T>
void WriteRecordList(cRecordWriter& writer, std::vector<T>& list) {
    writer.WriteU32((uint32_t)list.size());
    for (T& e : list) e.Write(writer);
}

// A list of plain values (bytes, 16- or 32-bit words; a std::vector or a cSmallValues): resized
// to the count (new entries 0), then the elements in order.
template <class List>
BOOL ReadValueList(cRecordReader& reader, List& list) {
    using T = typename List::value_type;
    static_assert(std::is_arithmetic_v<T>);
    uint32_t n;
    if (!reader.ReadCount(n, sizeof(T))) return FALSE;
    if constexpr (requires { List::kInsideCount; }) {
        // A list that fits inside its owner takes the whole room at once when the file holds
        // that many bytes (no library call for a copy of a few bytes).
        if (n <= List::kInsideCount) {
            if (const uint8_t* p = reader.Peek(sizeof(T) * List::kInsideCount)) {
                list.AssignFromRoom(p, n);
                reader.SkipLooked((size_t)n * sizeof(T));
                return TRUE;
            }
        }
    }
    list.resize(n);
    if (n) reader.ReadBytes(list.data(), (size_t)n * sizeof(T));
    return TRUE;
}

template <class List>
void WriteValueList(cRecordWriter& writer, const List& list) {
    using T = typename List::value_type;
    static_assert(std::is_arithmetic_v<T>);
    writer.WriteU32((uint32_t)list.size());
    if (!list.empty()) writer.WriteBytes(list.data(), list.size() * sizeof(T));
}

// One string outside a record's string part: u32 L, then the L bytes when L != 1; the text up
// to its first NUL (cut to kMaxStringBytes). No carriage returns are removed. FALSE when the
// read ended.
BOOL ReadListString(cRecordReader& reader, std::string& s);
// Writes a string the same way (the member is cut at its first NUL and to kMaxStringBytes).
void WriteListString(cRecordWriter& writer, std::string& s);
// A list of such strings: emptied, filled with the count of empty strings, then each read.
BOOL ReadStringList(cRecordReader& reader, std::vector<std::string>& list);
void WriteStringList(cRecordWriter& writer, std::vector<std::string>& list);
