// The record file writer and its atomic save.
#include "records/record_writer.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "core/report.h"
#include "platform/win32/crt.h"

namespace {

std::atomic<long long> g_nFailAfter{-1};

}  // namespace

bool WriteRecordFileBytes(FILE* fp, const void* src, size_t n) {
    const uint8_t* data = static_cast<const uint8_t*>(src);
    long long failAfter = g_nFailAfter.load();
    if (failAfter >= 0 && (unsigned long long)failAfter < n) {
        if (failAfter > 0) std::fwrite(data, 1, (size_t)failAfter, fp);
        return false;
    }
    return n == 0 || std::fwrite(data, 1, n, fp) == n;
}

void SetRecordWriteFailureAfter(long long bytes) { g_nFailAfter = bytes; }

void cRecordWriter::WriteBytes(const void* src, size_t n) {
    if (!n) return;
    const uint8_t* p = static_cast<const uint8_t*>(src);
    m_vecData.insert(m_vecData.end(), p, p + n);
}

void cRecordWriter::WriteU16(uint16_t v) {
    uint8_t b[2] = {(uint8_t)v, (uint8_t)(v >> 8)};
    WriteBytes(b, 2);
}

void cRecordWriter::WriteU32(uint32_t v) {
    uint8_t b[4] = {(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
    WriteBytes(b, 4);
}

BOOL cRecordWriter::Commit(const char* name) const {
    if (!name || !*name) return FALSE;
    std::string tmp = std::string(name) + ".tmp";
    FILE* fp = crt::fopen(tmp.c_str(), "wb");
    if (!fp) {
        WriteReport("%s: cannot be written", name);
        return FALSE;
    }
    bool ok = WriteRecordFileBytes(fp, m_vecData.data(), m_vecData.size());
    ok = ok && crt::fsync(fp) == 0;
    ok = (std::fclose(fp) == 0) && ok;
    ok = ok && crt::rename(tmp.c_str(), name) == 0;
    if (!ok) {
        crt::remove(tmp.c_str());
        WriteReport("%s: saving failed; the old file is kept", name);
        return FALSE;
    }
    return TRUE;
}
