// Ranking files: read as the stage select and play load them. A whole file must leave five
// tables of twenty places, a damaged one a reset holder; results are then added to every table
// (the length must hold), and the holder written, read back and written again (same images).
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "records/ranking.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cRankingHolder a, b;
    cRecordReader reader;
    if (!cDataFile::OpenReadMemory(reader, data, size, "fuzz")) return 0;
    ReadRanking(a, reader, "fuzz");
    if (a.m_vecTables.size() != (size_t)kRankingKinds) std::abort();
    int32_t probe = 0;
    for (cRankingTable& t : a.m_vecTables) {
        if (t.m_vecEntries.size() != (size_t)kRankingPlaces) std::abort();
        if (!t.m_vecEntries.empty()) probe = t.m_vecEntries[0].m_nValue;
        const int32_t place = t.FindPlace(probe);
        if (place < -1 || place >= kRankingPlaces) std::abort();
        t.Add("fz", probe);
        t.Add("fz", INT32_MIN);
        if (t.m_vecEntries.size() != (size_t)kRankingPlaces) std::abort();
    }
    fuzzsupport::CheckRoundTrip(a, b);
    return 0;
}
