// Strings and string lists outside a record's string part.
#include "records/record_list.h"

#include <bit>
#include <cstring>
#include <emmintrin.h>

#include "core/format.h"

namespace {

void CutString(std::string& s) {
    size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    if (s.size() > kMaxStringBytes) {
        char buf[kMaxStringBytes + 1];
        size_t n = CopyBounded(buf, sizeof buf, s.c_str());
        s.assign(buf, n);
    }
}

// The length of a text up to its first NUL within its len bytes. The short names most records
// hold are searched with one compare of sixteen bytes when that many can be looked at.
size_t TextLength(const char* text, uint32_t len, uint64_t readable) {
    if (len <= 16 && readable >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
        const uint32_t nul = (uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()));
        return (size_t)std::countr_zero(nul | (1u << len));
    }
    const void* nul = std::memchr(text, 0, len);
    return nul ? (size_t)(static_cast<const char*>(nul) - text) : (size_t)len;
}

}  // namespace

BOOL ReadListString(cRecordReader& reader, std::string& s) {
    uint32_t len;
    if (!reader.ReadU32(len)) return FALSE;
    if (len <= 1) {
        s.clear();
        return TRUE;
    }
    if (len > reader.Remaining()) {
        reader.Skip(len);  // ends the read: the file ends inside the string
        return FALSE;
    }
    const char* text = reinterpret_cast<const char*>(reader.Data() + reader.Offset());
    // Cleared, then appended: the short names most records hold then stay in the string's own
    // buffer without the general replace path.
    s.clear();
    s.append(text, TextLength(text, len, reader.Remaining()));
    reader.SkipLooked(len);
    if (s.size() > kMaxStringBytes) CutString(s);  // already ends at its first NUL
    return TRUE;
}

void WriteListString(cRecordWriter& writer, std::string& s) {
    CutString(s);
    writer.WriteU32((uint32_t)s.size() + 1);
    if (!s.empty()) writer.WriteBytes(s.c_str(), s.size() + 1);
}

BOOL ReadStringList(cRecordReader& reader, std::vector<std::string>& list) {
    uint32_t n;
    if (!reader.ReadCount(n, 4)) return FALSE;
    list.assign(n, std::string());
    for (std::string& s : list)
        if (!ReadListString(reader, s)) break;
    return TRUE;
}

void WriteStringList(cRecordWriter& writer, std::vector<std::string>& list) {
    writer.WriteU32((uint32_t)list.size());
    for (std::string& s : list) WriteListString(writer, s);
}
