// The record framework: layout walks for read, write, clear, copy and strip; file open and save.
#include "records/data_file.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <immintrin.h>

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

// The value blocks of one layout in one data version, worked out once from where the members
// lie in a record: blocks that follow each other both in the file and in the record are one
// span, read with one copy and cleared with one fill. Discarded words are skipped by offset.
struct PLANSPAN {
    uint32_t nFile;  // offset within the value blocks of the file
    uint32_t nBytes;
    ptrdiff_t nMem;  // offset from the record's cDataFile part
};
// Sixteen bytes of a record filled at once: the file's bytes from nFile on are moved to their
// places by a byte shuffle (index 0x80: a byte no value block fills), and the bytes the
// shuffle does not fill keep what the record holds (padding, members the layout does not
// register). A record of many small members with padding between them is then a few of these
// instead of one copy per member.
struct PLANCHUNK {
    ptrdiff_t nMem;
    uint32_t nFile;
    uint8_t abIndex[16];
    uint8_t abKeep[16];  // 0xFF where the record's byte stays
    uint16_t nStore;     // bit i set where abKeep[i] is 0
};
// The value bytes of a body are looked at as this many sixteen-byte windows at most when a
// record's pieces gather them (PLANPIECE).
constexpr size_t kMaxWindows = 4;
// Sixteen bytes of a record that lists every member, gathered from the file's value bytes:
// the byte shuffles of the windows (window k: the value bytes from 16 k on) joined, each byte
// taken from the one window whose index for it is not 0x80 (padding gets 0). The whole piece
// is stored; pieces may overlap, since each holds every value it covers.
struct PLANPIECE {
    ptrdiff_t nMem;
    uint8_t aabIndex[kMaxWindows][16];
};
struct LAYOUTPLAN {
    uint32_t nVersion = 0;
    uint32_t nValues = 0;     // the N word of a body of this version
    uint32_t nStrings = 0;    // the S word
    size_t nFileBytes = 0;    // bytes of all its value blocks
    ptrdiff_t nProbe = 0;     // where the first member lies (checked for records of other classes)
    const FIELDDESC* pProbe = nullptr;
    // The virtual table of the record the plan was made from: a record with the same one is
    // of the same class (or the same base part under construction), whose members lie where
    // the plan says.
    const void* pMadeFrom = nullptr;
    std::vector<PLANSPAN> vecRead;   // file order
    std::vector<PLANSPAN> vecClear;  // record order, runs joined
    // The same copy as chunks, when that takes fewer steps and the processor can shuffle
    // bytes; a read uses them when nChunkBytes can be looked at (they may look past the
    // value blocks, never past what the file holds).
    std::vector<PLANCHUNK> vecChunks;
    bool bChunksKeepNothing = false;  // every abKeep is zero
    bool bMaskedStores = false;       // chunks that keep bytes store the others alone (nStore)
    // Or, for a layout that lists every member whose chunks would keep bytes (members stored
    // in another order than they lie), pieces gathered from nWindows windows.
    std::vector<PLANPIECE> vecPieces;
    uint32_t nWindows = 0;
    bool bChunked = false;  // chunks or pieces are made
    size_t nChunkBytes = 0;
    // What a read of a whole body looks at in one go: the N word, the value blocks (and what
    // the chunks look at past them) and the S word.
    size_t nLookBytes = 0;
};

cLayoutPlanSlot& cLayoutPlanSlot::operator=(const cLayoutPlanSlot&) {
    delete m_pPlan.exchange(nullptr);
    return *this;
}

cLayoutPlanSlot::~cLayoutPlanSlot() { delete m_pPlan.load(); }

namespace {

// The record's virtual table pointer (the first word of its record base): the same for every
// record of one class.
inline const void* VirtualTable(const cDataFile& record) {
    const void* table;
    std::memcpy(&table, static_cast<const void*>(&record), sizeof table);
    return table;
}

ptrdiff_t MemberOffset(const FIELDDESC& f, cDataFile& record) {
    return static_cast<uint8_t*>(f.pfnAccess(record)) - reinterpret_cast<uint8_t*>(&record);
}

// Plans can be made while global records are constructed, before the processor check has
// run on its own.
bool CanShuffleBytes() {
    static const bool can = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    return can;
}

// A store of chosen bytes of sixteen, without loading the others first.
bool CanStoreMaskedBytes() {
    static const bool can = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512bw") != 0 && __builtin_cpu_supports("avx512vl") != 0;
    }();
    return can;
}

// For a layout that lists every member: its value region [lo, hi) as whole sixteen-byte pieces
// (the last one ending at hi), each gathered from every window of the file's value bytes
// (`from`: where each byte of the region comes from, -1 for padding). False when the region is
// shorter than sixteen bytes (a piece would reach before it), the value bytes need more
// windows than kMaxWindows, or the pieces would not save steps.
bool MakePieces(LAYOUTPLAN& plan, ptrdiff_t lo, ptrdiff_t hi, const std::vector<int64_t>& from) {
    const size_t windows = (plan.nFileBytes + 15) / 16;
    const size_t pieces = (size_t)(hi - lo + 15) / 16;
    if (hi - lo < 16 || windows == 0 || windows > kMaxWindows || pieces >= plan.vecRead.size()) return false;
    std::vector<PLANPIECE> made;
    for (ptrdiff_t at = lo; at < hi; at += 16) {
        PLANPIECE p;
        p.nMem = std::min(at, hi - 16);
        std::memset(p.aabIndex, 0x80, sizeof p.aabIndex);
        for (int i = 0; i < 16; ++i) {
            const int64_t f = from[(size_t)(p.nMem + i - lo)];
            if (f >= 0) p.aabIndex[f / 16][i] = (uint8_t)(f % 16);
        }
        made.push_back(p);
    }
    plan.vecPieces = std::move(made);
    plan.nWindows = (uint32_t)windows;
    plan.bChunked = true;
    plan.nChunkBytes = std::max(16 * windows, plan.nFileBytes);
    return true;
}

// Works out the chunks of a plan's read spans. Each chunk starts at the first byte of the
// record no chunk has filled yet and takes the bytes of its sixteen whose file bytes lie within
// sixteen of that byte's (members stored in another order than they lie, or words dropped in
// between, are left to later chunks). In a layout that lists every member (`listed`), padding
// need not keep its bytes and a chunk stores again the filled bytes it can: when no chunk then
// keeps a byte, a read stores whole chunks without loading what the record held (a load of
// bytes just stored in narrower pieces, by the record's set-up or the chunk before, waits
// until those stores are done). None when the value region ends before sixteen bytes
// into the record, or when chunks would not save steps. A listed layout whose chunks would keep
// bytes is read in pieces instead where it can be (MakePieces).
void MakeChunks(LAYOUTPLAN& plan, bool listed) {
    if (plan.vecRead.empty() || !CanShuffleBytes()) return;
    // Where each byte of the record's value region comes from (-1: nothing).
    ptrdiff_t lo = plan.vecRead[0].nMem, hi = lo;
    for (const PLANSPAN& sp : plan.vecRead) {
        lo = std::min(lo, sp.nMem);
        hi = std::max(hi, sp.nMem + (ptrdiff_t)sp.nBytes);
    }
    if (hi < 16) return;
    std::vector<int64_t> from((size_t)(hi - lo), -1);
    for (const PLANSPAN& sp : plan.vecRead)
        for (uint32_t i = 0; i < sp.nBytes; ++i) from[(size_t)(sp.nMem - lo) + i] = (int64_t)sp.nFile + i;
    std::vector<bool> filled((size_t)(hi - lo), false);
    std::vector<PLANCHUNK> chunks;
    bool anyKeep = false;
    size_t windowEnd = 0;
    for (ptrdiff_t at = lo; at < hi; ++at) {
        if (from[(size_t)(at - lo)] < 0 || filled[(size_t)(at - lo)]) continue;
        if (chunks.size() >= plan.vecRead.size()) {  // no fewer steps than the spans
            if (listed && !MakePieces(plan, lo, hi, from)) MakeChunks(plan, false);
            return;
        }
        const ptrdiff_t start = std::min(at, hi - 16);
        int64_t first = from[(size_t)(at - lo)];
        if (listed && start >= lo && start < at) {
            // A chunk that starts before `at` (the last one) looks at the file from its first
            // value on when the filled values it covers then lie in its window, so it can store
            // them again instead of keeping them.
            int64_t low = -1;
            bool fits = true;
            for (ptrdiff_t m = start; m < start + 16; ++m) {
                const int64_t f = from[(size_t)(m - lo)];
                if (f < 0 || (m < at && !filled[(size_t)(m - lo)])) continue;
                if (low < 0) low = f;
                if (m <= at) fits = fits && f >= low && f < low + 16;
            }
            if (fits && low >= 0 && first >= low && first < low + 16) first = low;
        }
        PLANCHUNK c{};
        c.nMem = start;
        c.nFile = (uint32_t)first;
        for (int i = 0; i < 16; ++i) {
            const ptrdiff_t m = start + i;
            const size_t k = (size_t)(m - lo);
            const int64_t f = m >= lo ? from[k] : -1;
            const bool inWindow = f >= first && f < first + 16;
            // Bytes before `at` are filled already (or hold no value): they keep what they hold.
            bool take = m >= at && inWindow && !filled[k];
            bool keep = !take;
            if (listed && m >= lo) {
                // Every byte here is a value's or padding: a filled byte whose file byte lies in
                // the window is stored again (the same value); padding, and a value a later chunk
                // fills, may take anything.
                take = take || (filled[k] && inWindow);
                keep = !take && filled[k];
            }
            c.abIndex[i] = take ? (uint8_t)(f - first) : 0x80;
            c.abKeep[i] = keep ? 0xFF : 0x00;
            if (take) filled[k] = true;
            if (keep) anyKeep = true;
            if (!keep) c.nStore |= (uint16_t)(1u << i);
        }
        chunks.push_back(c);
        windowEnd = std::max(windowEnd, (size_t)first + 16);
    }
    // Chunks that must keep bytes anyway: the plain way, which may take fewer.
    if (listed && anyKeep) {
        if (!MakePieces(plan, lo, hi, from)) MakeChunks(plan, false);
        return;
    }
    plan.bChunked = true;
    plan.vecChunks = std::move(chunks);
    plan.bChunksKeepNothing = !anyKeep;
    plan.bMaskedStores = anyKeep && CanStoreMaskedBytes();
    plan.nChunkBytes = std::max(windowEnd, plan.nFileBytes);
}

LAYOUTPLAN* MakePlan(const RECORDLAYOUT& layout, uint32_t version, cDataFile& record) {
    auto* plan = new LAYOUTPLAN;
    plan->nVersion = version;
    plan->pMadeFrom = VirtualTable(record);
    size_t file = 0;
    for (const FIELDDESC& f : layout.vecValues) {
        if (!f.StoredIn(version)) continue;
        ++plan->nValues;
        size_t bytes = (size_t)f.nSize * f.nCount;
        if (f.pfnAccess) {
            ptrdiff_t mem = MemberOffset(f, record);
            if (!plan->pProbe) {
                plan->pProbe = &f;
                plan->nProbe = mem;
            }
            PLANSPAN* last = plan->vecRead.empty() ? nullptr : &plan->vecRead.back();
            if (last && last->nFile + last->nBytes == file && last->nMem + (ptrdiff_t)last->nBytes == mem)
                last->nBytes += (uint32_t)bytes;
            else
                plan->vecRead.push_back(PLANSPAN{(uint32_t)file, (uint32_t)bytes, mem});
        }
        file += bytes;
    }
    plan->nFileBytes = file;
    plan->nStrings = layout.CountStrings(version);
    MakeChunks(*plan, layout.bEveryMemberListed);
    plan->nLookBytes = 4 + std::max(plan->nFileBytes + 4, plan->bChunked ? plan->nChunkBytes : 0);
    std::vector<PLANSPAN> spans = plan->vecRead;
    std::sort(spans.begin(), spans.end(), [](const PLANSPAN& a, const PLANSPAN& b) { return a.nMem < b.nMem; });
    for (const PLANSPAN& sp : spans) {
        PLANSPAN* last = plan->vecClear.empty() ? nullptr : &plan->vecClear.back();
        if (last && sp.nMem <= last->nMem + (ptrdiff_t)last->nBytes) {
            ptrdiff_t end = std::max(last->nMem + (ptrdiff_t)last->nBytes, sp.nMem + (ptrdiff_t)sp.nBytes);
            last->nBytes = (uint32_t)(end - last->nMem);
        } else {
            plan->vecClear.push_back(sp);
        }
    }
    return plan;
}

// The plan of the layout for the current data version, made once (first use).
[[gnu::noinline]] const LAYOUTPLAN* MakeSharedPlan(const RECORDLAYOUT& layout, uint32_t version, cDataFile& record) {
    LAYOUTPLAN* made = MakePlan(layout, version, record);
    const LAYOUTPLAN* expected = nullptr;
    if (layout.plan.m_pPlan.compare_exchange_strong(expected, made, std::memory_order_acq_rel)) return made;
    delete made;
    return expected;
}

// The plan of the layout for the current data version; null for any other version, or when
// this record's members do not lie where the plan says (the walk of the table then does the
// work). A record of the class the plan was made from needs no look: only a record of another
// class that shares the layout (a derived class, whose members may lie elsewhere from its
// record base) has its first member's place checked.
inline const LAYOUTPLAN* PlanFor(const RECORDLAYOUT& layout, uint32_t version, cDataFile& record) {
    if (version != g_nCurrentVersion) return nullptr;
    const LAYOUTPLAN* plan = layout.plan.m_pPlan.load(std::memory_order_acquire);
    if (!plan) plan = MakeSharedPlan(layout, version, record);
    if (plan->nVersion != version) return nullptr;
    if (VirtualTable(record) != plan->pMadeFrom && plan->pProbe && MemberOffset(*plan->pProbe, record) != plan->nProbe)
        return nullptr;
    return plan;
}

inline uint32_t LoadU32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;  // little-endian, as stored
}

// Spans are a few bytes (one member or a short run): up to 16 bytes each size is one
// fixed-size move (a jump table, no library call).
#define VELMORA_SPAN_CASES(OP) \
    OP(1) OP(2) OP(3) OP(4) OP(5) OP(6) OP(7) OP(8) OP(9) OP(10) OP(11) OP(12) OP(13) OP(14) OP(15) OP(16)

inline void CopySpan(uint8_t* d, const uint8_t* s, uint32_t n) {
    switch (n) {
#define VELMORA_COPY_CASE(K) \
    case K: std::memcpy(d, s, K); return;
        VELMORA_SPAN_CASES(VELMORA_COPY_CASE)
#undef VELMORA_COPY_CASE
    default: std::memcpy(d, s, n); return;
    }
}

inline void ZeroSpan(uint8_t* d, uint32_t n) {
    switch (n) {
#define VELMORA_ZERO_CASE(K) \
    case K: std::memset(d, 0, K); return;
        VELMORA_SPAN_CASES(VELMORA_ZERO_CASE)
#undef VELMORA_ZERO_CASE
    default: std::memset(d, 0, n); return;
    }
}
#undef VELMORA_SPAN_CASES

// Chunks that keep some bytes: the others stored alone, so nothing is loaded from the record
// (a load of bytes just stored in narrower pieces waits until those stores are done).
[[gnu::target("avx512bw,avx512vl")]] void CopyChunksMasked(uint8_t* self, const uint8_t* file,
                                                           const std::vector<PLANCHUNK>& chunks) {
    for (const PLANCHUNK& c : chunks) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(file + c.nFile));
        const __m128i index = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.abIndex));
        _mm_mask_storeu_epi8(self + c.nMem, (__mmask16)c.nStore, _mm_shuffle_epi8(bytes, index));
    }
}

// Pieces gathered from K windows (held in registers for the whole record).
template <size_t K>
[[gnu::target("ssse3")]] void CopyPieces(uint8_t* self, const uint8_t* file, const std::vector<PLANPIECE>& pieces) {
    __m128i window[K];
    for (size_t k = 0; k < K; ++k) window[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(file + 16 * k));
    for (const PLANPIECE& p : pieces) {
        __m128i v = _mm_shuffle_epi8(window[0], _mm_loadu_si128(reinterpret_cast<const __m128i*>(p.aabIndex[0])));
        for (size_t k = 1; k < K; ++k)
            v = _mm_or_si128(v, _mm_shuffle_epi8(window[k], _mm_loadu_si128(reinterpret_cast<const __m128i*>(p.aabIndex[k]))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(self + p.nMem), v);
    }
}

[[gnu::target("ssse3")]] void CopyChunks(uint8_t* self, const uint8_t* file, const LAYOUTPLAN& plan) {
    if (!plan.vecPieces.empty()) {
        static_assert(kMaxWindows == 4);
        switch (plan.nWindows) {
            case 1: return CopyPieces<1>(self, file, plan.vecPieces);
            case 2: return CopyPieces<2>(self, file, plan.vecPieces);
            case 3: return CopyPieces<3>(self, file, plan.vecPieces);
            default: return CopyPieces<4>(self, file, plan.vecPieces);
        }
    }
    const std::vector<PLANCHUNK>& chunks = plan.vecChunks;
    if (plan.bChunksKeepNothing) {
        for (const PLANCHUNK& c : chunks) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(file + c.nFile));
            const __m128i index = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.abIndex));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(self + c.nMem), _mm_shuffle_epi8(bytes, index));
        }
        return;
    }
    if (plan.bMaskedStores) {
        CopyChunksMasked(self, file, chunks);
        return;
    }
    for (const PLANCHUNK& c : chunks) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(file + c.nFile));
        const __m128i index = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.abIndex));
        const __m128i keep = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.abKeep));
        __m128i* d = reinterpret_cast<__m128i*>(self + c.nMem);
        const __m128i old = _mm_loadu_si128(d);
        _mm_storeu_si128(d, _mm_or_si128(_mm_and_si128(old, keep), _mm_shuffle_epi8(bytes, index)));
    }
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
    if (const LAYOUTPLAN* plan = PlanFor(layout, version, *this)) {
        // The common case: the body and the S word lie well inside the file (one bounded look).
        if (const uint8_t* p = reader.Peek(plan->nLookBytes)) {
            if (LoadU32(p) == plan->nValues) {
                uint8_t* self = reinterpret_cast<uint8_t*>(this);
                if (plan->bChunked)
                    CopyChunks(self, p + 4, *plan);
                else
                    for (const PLANSPAN& sp : plan->vecRead) CopySpan(self + sp.nMem, p + 4 + sp.nFile, sp.nBytes);
                // No strings in this layout: the S word must be 0 (anything else goes the long
                // way, which reports it).
                if (plan->nStrings == 0 && LoadU32(p + 4 + plan->nFileBytes) == 0) {
                    reader.SkipLooked(8 + plan->nFileBytes);
                    return;
                }
                reader.SkipLooked(4 + plan->nFileBytes);
                ReadStrings(reader, layout, version, plan->nStrings);
                return;
            }
        }
        // Near the end of the file: the body alone in one bounded look, each span one copy.
        if (const uint8_t* p = reader.Peek(4 + plan->nFileBytes)) {
            uint32_t n = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
            if (n == plan->nValues) {
                uint8_t* self = reinterpret_cast<uint8_t*>(this);
                if (plan->bChunked && reader.Peek(4 + plan->nChunkBytes))
                    CopyChunks(self, p + 4, *plan);
                else
                    for (const PLANSPAN& sp : plan->vecRead) CopySpan(self + sp.nMem, p + 4 + sp.nFile, sp.nBytes);
                reader.Skip(4 + plan->nFileBytes);
                if (plan->nStrings == 0) {
                    // No strings in this layout: the S word must be 0 (anything else goes the
                    // long way, which reports it).
                    const uint8_t* q = reader.Peek(4);
                    if (q && (q[0] | q[1] | q[2] | q[3]) == 0) {
                        reader.Skip(4);
                        return;
                    }
                }
                ReadStrings(reader, layout, version, plan->nStrings);
                return;
            }
        }
    }
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
    ReadStrings(reader, layout, version, layout.CountStrings(version));
}

void cDataFile::ReadStrings(cRecordReader& reader) {
    const RECORDLAYOUT& layout = Layout();
    ReadStrings(reader, layout, g_nFileVersion, layout.CountStrings(g_nFileVersion));
}

void cDataFile::ReadStrings(cRecordReader& reader, const RECORDLAYOUT& layout, uint32_t version, uint32_t stored) {
    uint32_t n;
    if (!reader.ReadU32(n)) return;
    if (n > stored) {
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
    if (const LAYOUTPLAN* plan = PlanFor(layout, g_nCurrentVersion, *this)) {
        uint8_t* self = reinterpret_cast<uint8_t*>(this);
        for (const PLANSPAN& sp : plan->vecClear) ZeroSpan(self + sp.nMem, sp.nBytes);
    } else {
        for (const FIELDDESC& f : layout.vecValues)
            if (f.StoredIn(g_nCurrentVersion) && f.pfnAccess)
                std::memset(f.pfnAccess(*this), 0, (size_t)f.nSize * f.nCount);
    }
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
