// "WorldMap.dat": read (with its fix-up), written, read back and written again; lookups on the
// result stay inside the map.
// A map read from a damaged file is often as large as a map may be (1024 x 1024 cells, 4 MiB):
// the records and the writers are kept from one input to the next, set back to their defaults,
// so such a map reuses the memory of the last one instead of allocating and faulting in fresh
// pages several times per input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "records/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static cWorldMap a, b;
    static cRecordWriter first, second;
    a.SetDefaults();
    b.SetDefaults();
    if (!fuzzsupport::ReadInto(a, data, size)) return 0;
    if (a.m_vecCells.size() != (size_t)a.m_nHeight * (size_t)a.m_nPitch) std::abort();
    if (a.m_nStartX < 0 || a.m_nStartX >= a.m_nWidth || a.m_nStartY < 0 || a.m_nStartY >= a.m_nHeight) std::abort();
    for (const cWorldMapEntry& e : a.m_vecPointEntries)
        // (a cell's own value may be -1 from the file, so the position is checked, not the cell)
        if (e.m_nX < 0 || e.m_nY < 0 || e.m_nX >= a.m_nWidth || e.m_nY >= a.m_nHeight ||
            WorldMapData::FindEntry(a, e.m_nX, e.m_nY) == nullptr)
            std::abort();
    // What the map writes, it must read back to the same bytes.
    cDataFile::OpenWrite(first);
    a.Write(first);
    if (!fuzzsupport::ReadInto(b, first.Data().data(), first.Data().size())) std::abort();
    cDataFile::OpenWrite(second);
    b.Write(second);
    if (first.Data() != second.Data()) {
        std::fprintf(stderr, "round trip differs: %zu bytes then %zu bytes\n", first.Data().size(), second.Data().size());
        std::abort();
    }
    return 0;
}
