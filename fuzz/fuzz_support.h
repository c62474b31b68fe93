// Helpers of the fuzz targets: reading a record from a fuzz input and the write-read-write
// check (what a record writes, it must read back to the same bytes).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "records/data_file.h"

namespace fuzzsupport {

// The file image a record's SaveFile would write.
inline std::vector<uint8_t> Image(cDataFile& record) {
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    record.Write(w);
    return w.Data();
}

// Reads a file image into a record; false when the image is shorter than its version word.
inline bool ReadInto(cDataFile& record, const uint8_t* data, size_t size) {
    cRecordReader reader;
    if (!cDataFile::OpenReadMemory(reader, data, size, "fuzz")) return false;
    record.Read(reader);
    return true;
}

// Writes `first`, reads that image into `second` (a fresh record of the same class) and
// aborts when writing it does not give the same bytes.
inline void CheckRoundTrip(cDataFile& first, cDataFile& second) {
    std::vector<uint8_t> a = Image(first);
    if (!ReadInto(second, a.data(), a.size())) std::abort();
    std::vector<uint8_t> b = Image(second);
    if (a != b) {
        std::fprintf(stderr, "round trip differs: %zu bytes then %zu bytes\n", a.size(), b.size());
        std::abort();
    }
}

}  // namespace fuzzsupport
