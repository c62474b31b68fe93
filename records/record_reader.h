// The bounded reader every record file is read through. A file is read whole into memory when
// it is opened; every read knows how many bytes remain. A read that does not fit ends the read
// for good: every later read fails, the record keeps the values the failed reads did not fill,
// and one report line says where the file ended early or why it is damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/types.h"

// Record files larger than this are refused when opened (no record file comes near it).
constexpr size_t kMaxRecordFileBytes = 64u << 20;

class cRecordReader {
public:
    cRecordReader();
    cRecordReader(const cRecordReader&) = delete;
    cRecordReader& operator=(const cRecordReader&) = delete;

    // Reads the whole file of a program path; FALSE when it cannot be opened or read or is
    // larger than kMaxRecordFileBytes (a report line says so for the last two).
    BOOL OpenFile(const char* name);
    // Reads from memory the caller keeps alive (tests, fuzzing); `name` is used in reports.
    void OpenMemory(const void* data, size_t size, const char* name);
    void Close();
    bool IsOpen() const { return m_bOpen; }

    // Each returns false, reading nothing, when fewer bytes remain; the read then ends.
    bool ReadBytes(void* dest, size_t n) {
        if (!Fits(n)) {
            ShortRead();
            return false;
        }
        if (n) std::memcpy(dest, m_pData + m_nPos, n);
        m_nPos += n;
        return true;
    }
    bool ReadU8(uint8_t& v) { return ReadBytes(&v, 1); }
    bool ReadU16(uint16_t& v) {
        if (!Fits(2)) {
            ShortRead();
            return false;
        }
        const uint8_t* b = m_pData + m_nPos;
        v = (uint16_t)(b[0] | (b[1] << 8));
        m_nPos += 2;
        return true;
    }
    bool ReadU32(uint32_t& v) {
        if (!Fits(4)) {
            ShortRead();
            return false;
        }
        const uint8_t* b = m_pData + m_nPos;
        v = (uint32_t)b[0] | ((uint32_t)b[1] << 8) | ((uint32_t)b[2] << 16) | ((uint32_t)b[3] << 24);
        m_nPos += 4;
        return true;
    }
    bool ReadI16(int16_t& v) {
        uint16_t u;
        if (!ReadU16(u)) return false;
        v = (int16_t)u;
        return true;
    }
    bool ReadI32(int32_t& v) {
        uint32_t u;
        if (!ReadU32(u)) return false;
        v = (int32_t)u;
        return true;
    }
    bool Skip(size_t n) {
        if (!Fits(n)) {
            ShortRead();
            return false;
        }
        m_nPos += n;
        return true;
    }
    // The next n bytes in place, or null when the read has ended or fewer remain (nothing is
    // read either way).
    const uint8_t* Peek(size_t n) const {
        return m_bOpen && !m_bEnded && n <= m_nSize - m_nPos ? m_pData + m_nPos : nullptr;
    }
    // Moves past n bytes that Peek has just shown (no check: Peek made it).
    void SkipLooked(size_t n) { m_nPos += n; }
    // A count of elements of at least `minBytes` each: false when the count cannot be read or
    // its elements cannot fit in what remains (the read ends as damaged then).
    bool ReadCount(uint32_t& n, size_t minBytes) {
        uint32_t c;
        if (!ReadU32(c)) return false;
        if (minBytes && (uint64_t)c * minBytes > Remaining()) {
            CountDoesNotFit(c);
            return false;
        }
        n = c;
        return true;
    }

    // Ends the read here as damaged, with a report line naming the reason.
    void MarkDamaged(const char* why);

    uint64_t Offset() const { return m_nPos; }
    uint64_t Remaining() const { return m_nSize - m_nPos; }
    // The read stopped before the end of what the file's records asked for.
    bool Ended() const { return m_bEnded; }
    bool Damaged() const { return m_bDamaged; }
    const char* Name() const { return m_strName.c_str(); }
    // The whole image (for readers that look at the end of a file first).
    const uint8_t* Data() const { return m_pData; }
    size_t Size() const { return m_nSize; }

private:
    // n more bytes can be read.
    bool Fits(size_t n) const { return m_bOpen && !m_bEnded && n <= m_nSize - m_nPos; }
    // A read that does not fit: ends the read (one report line) unless it has ended.
    void ShortRead();
    // Ends the read as damaged at the count just read.
    void CountDoesNotFit(uint32_t count);
    void EndShort();

    std::unique_ptr<uint8_t[]> m_pOwned;  // the file's bytes (read straight in, never cleared first)
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos;
    bool m_bOpen;
    bool m_bEnded;
    bool m_bDamaged;
    std::string m_strName;
};
