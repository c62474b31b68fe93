// The bounded reader of record files.
#include "records/record_reader.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <new>

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
    const size_t size = (size_t)st.st_size;
    m_pOwned.reset(new (std::nothrow) uint8_t[size ? size : 1]);
    if (!m_pOwned) {
        std::fclose(fp);
        WriteReport("%s: no memory for its %llu bytes", name, (unsigned long long)size);
        return FALSE;
    }
    size_t got = size ? std::fread(m_pOwned.get(), 1, size, fp) : 0;
    bool bad = std::ferror(fp) != 0;
    std::fclose(fp);
    if (bad) {
        m_pOwned.reset();
        WriteReport("%s: cannot be read", name);
        return FALSE;
    }
    m_pData = m_pOwned.get();
    m_nSize = got;
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
    m_pOwned.reset();
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

void cRecordReader::ShortRead() {
    if (m_bOpen) EndShort();
}

void cRecordReader::CountDoesNotFit(uint32_t c) {
    char why[80];
    std::snprintf(why, sizeof why, "count %u does not fit in the %llu bytes left", c, (unsigned long long)Remaining());
    m_nPos -= 4;  // report the count's own offset
    MarkDamaged(why);
    m_nPos += 4;
}
