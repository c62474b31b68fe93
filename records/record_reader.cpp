// The bounded reader of record files.
#include "records/record_reader.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "core/report.h"
#include "platform/win32/crt.h"

cRecordReader::cRecordReader()
    : m_pData(nullptr), m_nSize(0), m_nPos(0), m_bOpen(false), m_bEnded(false), m_bDamaged(false) {}

BOOL cRecordReader::OpenFile(const char* name) {
    Close();
    FILE* fp = crt::fopen(name, "rb");
    if (!fp) return FALSE;
    m_strName = name;
    struct stat st;
    if (fstat(fileno(fp), &st) != 0 || st.st_size < 0) {
        std::fclose(fp);
        WriteReport("%s: cannot be read", name);
        return FALSE;
    }
    if ((uint64_t)st.st_size > kMaxRecordFileBytes) {
        std::fclose(fp);
        WriteReport("%s: %llu bytes is too large for a record file", name, (unsigned long long)st.st_size);
        return FALSE;
    }
    m_vecOwned.resize((size_t)st.st_size);
    size_t got = m_vecOwned.empty() ? 0 : std::fread(m_vecOwned.data(), 1, m_vecOwned.size(), fp);
    bool bad = std::ferror(fp) != 0;
    std::fclose(fp);
    if (bad) {
        m_vecOwned.clear();
        WriteReport("%s: cannot be read", name);
        return FALSE;
    }
    m_vecOwned.resize(got);
    m_pData = m_vecOwned.data();
    m_nSize = m_vecOwned.size();
    m_bOpen = true;
    return TRUE;
}

void cRecordReader::OpenMemory(const void* data, size_t size, const char* name) {
    Close();
    m_pData = static_cast<const uint8_t*>(data);
    m_nSize = data ? size : 0;
    m_strName = name ? name : "";
    m_bOpen = true;
}

void cRecordReader::Close() {
    m_vecOwned.clear();
    m_vecOwned.shrink_to_fit();
    m_pData = nullptr;
    m_nSize = m_nPos = 0;
    m_bOpen = m_bEnded = m_bDamaged = false;
    m_strName.clear();
}

void cRecordReader::EndShort() {
    if (m_bEnded) return;
    m_bEnded = true;
    WriteReport("%s: the file ends early at byte %llu; the rest keeps its values", m_strName.c_str(),
                (unsigned long long)m_nPos);
}

void cRecordReader::MarkDamaged(const char* why) {
    if (m_bEnded) return;
    m_bEnded = true;
    m_bDamaged = true;
    WriteReport("%s: damaged at byte %llu (%s); the rest keeps its values", m_strName.c_str(),
                (unsigned long long)m_nPos, why ? why : "");
}

bool cRecordReader::ReadBytes(void* dest, size_t n) {
    if (m_bEnded || !m_bOpen) return false;
    if (n > m_nSize - m_nPos) {
        EndShort();
        return false;
    }
    if (n) std::memcpy(dest, m_pData + m_nPos, n);
    m_nPos += n;
    return true;
}

bool cRecordReader::Skip(size_t n) {
    if (m_bEnded || !m_bOpen) return false;
    if (n > m_nSize - m_nPos) {
        EndShort();
        return false;
    }
    m_nPos += n;
    return true;
}

bool cRecordReader::ReadU16(uint16_t& v) {
    uint8_t b[2];
    if (!ReadBytes(b, 2)) return false;
    v = (uint16_t)(b[0] | (b[1] << 8));
    return true;
}

bool cRecordReader::ReadU32(uint32_t& v) {
    uint8_t b[4];
    if (!ReadBytes(b, 4)) return false;
    v = (uint32_t)b[0] | ((uint32_t)b[1] << 8) | ((uint32_t)b[2] << 16) | ((uint32_t)b[3] << 24);
    return true;
}

bool cRecordReader::ReadI16(int16_t& v) {
    uint16_t u;
    if (!ReadU16(u)) return false;
    v = (int16_t)u;
    return true;
}

bool cRecordReader::ReadI32(int32_t& v) {
    uint32_t u;
    if (!ReadU32(u)) return false;
    v = (int32_t)u;
    return true;
}

bool cRecordReader::ReadCount(uint32_t& n, size_t minBytes) {
    uint32_t c;
    if (!ReadU32(c)) return false;
    if (minBytes && (uint64_t)c * minBytes > Remaining()) {
        char why[80];
        std::snprintf(why, sizeof why, "count %u does not fit in the %llu bytes left", c,
                      (unsigned long long)Remaining());
        m_nPos -= 4;  // report the count's own offset
        MarkDamaged(why);
        m_nPos += 4;
        return false;
    }
    n = c;
    return true;
}
