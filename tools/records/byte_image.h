// Hand-built byte images of record files for tests, fuzz seeds and benchmarks: little-endian
// values, strings in the record form, and record tables (version, count, records).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"

class cByteImage {
public:
    cByteImage& U8(uint8_t v);
    cByteImage& U16(uint16_t v);
    cByteImage& U32(uint32_t v);
    cByteImage& I16(int16_t v) { return U16((uint16_t)v); }
    cByteImage& I32(int32_t v) { return U32((uint32_t)v); }
    cByteImage& U64(uint64_t v);
    cByteImage& F64(double v);
    // A string in the record form: u32 length with the NUL, then the text and NUL (length 1
    // alone for an empty text). The text may hold NULs of its own.
    cByteImage& Str(const std::string& text);
    cByteImage& Bytes(const std::vector<uint8_t>& bytes);
    cByteImage& Raw(const void* data, size_t n);

    const std::vector<uint8_t>& Data() const { return m_vecData; }
    size_t Size() const { return m_vecData.size(); }
    operator const std::vector<uint8_t>&() const { return m_vecData; }

private:
    std::vector<uint8_t> m_vecData;
};

// The body of a record as its Write produces it (current version, no version word).
std::vector<uint8_t> RecordBody(cDataFile& record);

// A record table file: version word, record count, then the records' bodies in the current
// layout (the version word may be an older one for tests that build old bodies by hand).
template <class T>
std::vector<uint8_t> RecordTableImage(std::vector<T>& records, uint32_t version = kDataVersion) {
    cByteImage image;
    image.U32(version).U32((uint32_t)records.size());
    for (T& r : records) image.Bytes(RecordBody(r));
    return image.Data();
}

// A record table from bodies built by hand.
std::vector<uint8_t> RecordTableImage(uint32_t version, uint32_t count, const std::vector<uint8_t>& bodies);

// Writes bytes to a host path; false when it cannot.
bool WriteHostFile(const std::string& hostPath, const std::vector<uint8_t>& bytes);
// Reads a host file whole (empty when missing).
std::vector<uint8_t> ReadHostFile(const std::string& hostPath);
