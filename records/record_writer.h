// The writer of record files: a file image is built in memory, then saved atomically (a
// temporary file in the same folder, flushed and fsynced, renamed over the old file). On any
// error the old file stays and the caller is told.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/types.h"

class cRecordWriter {
public:
    void WriteBytes(const void* src, size_t n);
    void WriteU8(uint8_t v) { m_vecData.push_back(v); }
    void WriteU16(uint16_t v);
    void WriteU32(uint32_t v);
    void WriteI16(int16_t v) { WriteU16((uint16_t)v); }
    void WriteI32(int32_t v) { WriteU32((uint32_t)v); }

    const std::vector<uint8_t>& Data() const { return m_vecData; }
    void Reset() { m_vecData.clear(); }

    // Saves the image under a program path atomically; 1 on success, 0 when anything failed
    // (the old file is then unchanged and no temporary file is left).
    BOOL Commit(const char* name) const;

private:
    std::vector<uint8_t> m_vecData;
};

// fwrite of the records' file writes (saves and the data-folder copy), with the test seam.
bool WriteRecordFileBytes(FILE* fp, const void* data, size_t n);

// Test seam: the next saves fail once `bytes` bytes have been written to the temporary file
// (a negative value switches the failure off).
void SetRecordWriteFailureAfter(long long bytes);
