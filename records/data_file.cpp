// The record framework: layout walks for read, write, clear, copy and strip; file open and save.
#include "records/data_file.h"

#include <bit>
#include <cstring>

#include "core/report.h"
#include "records/record_list.h"

static_assert(std::endian::native == std::endian::little, "value blocks are stored as in memory (little-endian)");

uint32_t g_nCurrentVersion = kDataVersion;
uint32_t g_nFileVersion = 0;
BOOL g_bStripReturns = FALSE;

namespace {

void RemoveReturns(std::string& s) {
    size_t nul = s.find('\0');
    size_t end = nul == std::string::npos ? s.size() : nul;
    size_t out = 0;
    for (size_t i = 0; i < end; ++i)
        if (s[i] != '\r') s[out++] = s[i];
    s.erase(out, end - out);
}

}  // namespace

uint32_t RECORDLAYOUT::CountValues(uint32_t version) const {
    uint32_t n = 0;
    for (const FIELDDESC& f : vecValues) n += f.StoredIn(version) ? 1 : 0;
    return n;
}

uint32_t RECORDLAYOUT::CountStrings(uint32_t version) const {
    uint32_t n = 0;
    for (const STRFIELDDESC& f : vecStrings) n += f.StoredIn(version) ? 1 : 0;
    return n;
}

const RECORDLAYOUT& EmptyLayout() {
    static const RECORDLAYOUT layout;
    return layout;
}

const RECORDLAYOUT& cDataFile::Layout() const { return EmptyLayout(); }

void cDataFile::Read(cRecordReader& reader) {
    const RECORDLAYOUT& layout = Layout();
    const uint32_t version = g_nFileVersion;
    uint32_t n;
    if (!reader.ReadU32(n)) return;
    if (n > layout.CountValues(version)) {
        reader.MarkDamaged("more value blocks than the layout of its version");
        return;
    }
    uint32_t i = 0;
    for (const FIELDDESC& f : layout.vecValues) {
        if (i >= n) break;
        if (!f.StoredIn(version)) continue;
        ++i;
        size_t bytes = (size_t)f.nSize * f.nCount;
        if (f.pfnAccess) {
            if (!reader.ReadBytes(f.pfnAccess(*this), bytes)) return;
        } else if (!reader.Skip(bytes)) {
            return;
        }
    }
    ReadStrings(reader);
}

void cDataFile::ReadStrings(cRecordReader& reader) {
    const RECORDLAYOUT& layout = Layout();
    const uint32_t version = g_nFileVersion;
    uint32_t n;
    if (!reader.ReadU32(n)) return;
    if (n > layout.CountStrings(version)) {
        reader.MarkDamaged("more strings than the layout of its version");
        return;
    }
    uint32_t i = 0;
    for (const STRFIELDDESC& f : layout.vecStrings) {
        if (i >= n) break;
        if (!f.StoredIn(version)) continue;
        ++i;
        std::string* s = f.pfnAccess(*this);
        if (!ReadListString(reader, *s)) return;
        if (g_bStripReturns) RemoveReturns(*s);
    }
}

void cDataFile::Write(cRecordWriter& writer) {
    const RECORDLAYOUT& layout = Layout();
    const uint32_t version = g_nCurrentVersion;
    writer.WriteU32(layout.CountValues(version));
    for (const FIELDDESC& f : layout.vecValues) {
        if (!f.StoredIn(version) || !f.pfnAccess) continue;
        writer.WriteBytes(f.pfnAccess(*this), (size_t)f.nSize * f.nCount);
    }
    WriteStrings(writer);
}

void cDataFile::WriteStrings(cRecordWriter& writer) {
    const RECORDLAYOUT& layout = Layout();
    const uint32_t version = g_nCurrentVersion;
    writer.WriteU32(layout.CountStrings(version));
    for (const STRFIELDDESC& f : layout.vecStrings) {
        if (!f.StoredIn(version)) continue;
        WriteListString(writer, *f.pfnAccess(*this));  // the member is cut as it is written
    }
}

void cDataFile::Clear() {
    const RECORDLAYOUT& layout = Layout();
    for (const FIELDDESC& f : layout.vecValues)
        if (f.StoredIn(g_nCurrentVersion) && f.pfnAccess)
            std::memset(f.pfnAccess(*this), 0, (size_t)f.nSize * f.nCount);
    for (const STRFIELDDESC& f : layout.vecStrings)
        if (f.StoredIn(g_nCurrentVersion)) f.pfnAccess(*this)->clear();
}

void cDataFile::CopyFrom(const cDataFile& source) {
    if (&source == this) return;
    const RECORDLAYOUT& layout = Layout();
    if (&source.Layout() != &layout) {
        WriteReport("CopyFrom: records of different classes");
        return;
    }
    cDataFile& src = const_cast<cDataFile&>(source);  // only read
    for (const FIELDDESC& f : layout.vecValues)
        if (f.StoredIn(g_nCurrentVersion) && f.pfnAccess)
            std::memcpy(f.pfnAccess(*this), f.pfnAccess(src), (size_t)f.nSize * f.nCount);
    for (const STRFIELDDESC& f : layout.vecStrings)
        if (f.StoredIn(g_nCurrentVersion)) *f.pfnAccess(*this) = *f.pfnAccess(src);
}

void cDataFile::StripReturns() {
    for (const STRFIELDDESC& f : Layout().vecStrings)
        if (f.StoredIn(g_nCurrentVersion)) RemoveReturns(*f.pfnAccess(*this));
}

BOOL cDataFile::OpenRead(cRecordReader& reader, const char* name) {
    if (!name || !*name) name = "err";
    if (std::strlen(name) >= MAX_PATH) {
        WriteReport("A file name of %u bytes is too long", (unsigned)std::strlen(name));
        return FALSE;
    }
    if (!reader.OpenFile(name)) return FALSE;
    uint32_t version;
    if (reader.Size() < 4 || !reader.ReadU32(version)) {
        WriteReport("%s: too short for its data version", name);
        reader.Close();
        return FALSE;
    }
    g_nFileVersion = version;
    return TRUE;
}

BOOL cDataFile::OpenReadMemory(cRecordReader& reader, const void* data, size_t size, const char* name) {
    reader.OpenMemory(data, size, name);
    uint32_t version;
    if (size < 4 || !reader.ReadU32(version)) {
        reader.Close();
        return FALSE;
    }
    g_nFileVersion = version;
    return TRUE;
}

void cDataFile::OpenWrite(cRecordWriter& writer) {
    writer.Reset();
    writer.WriteU32(g_nCurrentVersion);
}

BOOL cDataFile::CloseWrite(cRecordWriter& writer, const char* name) { return writer.Commit(name); }

BOOL cDataFile::LoadFile(const char* name) {
    cRecordReader reader;
    if (!OpenRead(reader, name)) return FALSE;
    Read(reader);
    return TRUE;
}

BOOL cDataFile::SaveFile(const char* name) {
    cRecordWriter writer;
    OpenWrite(writer);
    Write(writer);
    return CloseWrite(writer, name);
}
