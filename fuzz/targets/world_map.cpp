// "WorldMap.dat": read (with its fix-up), written, read back and written again; lookups on the
// result stay inside the map.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "records/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cWorldMap a, b;
    if (!fuzzsupport::ReadInto(a, data, size)) return 0;
    if (a.m_vecCells.size() != (size_t)a.m_nHeight * (size_t)a.m_nPitch) std::abort();
    if (a.m_nStartX < 0 || a.m_nStartX >= a.m_nWidth || a.m_nStartY < 0 || a.m_nStartY >= a.m_nHeight) std::abort();
    for (const cWorldMapEntry& e : a.m_vecPointEntries)
        // (a cell's own value may be -1 from the file, so the position is checked, not the cell)
        if (e.m_nX < 0 || e.m_nY < 0 || e.m_nX >= a.m_nWidth || e.m_nY >= a.m_nHeight ||
            WorldMapData::FindEntry(a, e.m_nX, e.m_nY) == nullptr)
            std::abort();
    fuzzsupport::CheckRoundTrip(a, b);
    return 0;
}
