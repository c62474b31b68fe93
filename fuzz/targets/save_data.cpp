// Save files (story slots, Challenge.dat): read, the lengths the program indexes and the fit to
// the project checked, written, read back and written again (the images must match).
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "records/save_data.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cSaveData a, b;
    if (!fuzzsupport::ReadInto(a, data, size)) return 0;
    const size_t stages = std::min<uint32_t>(g_SystemData.m_nStageCount, kMaxStageCount);
    if (a.m_vecCarrySwitches.size() < kCarrySwitchCount || a.m_vecHeroes.empty() ||
        a.m_vecStageValues.size() < kStageValueCount || a.m_vecCommonVars.size() < kCommonVarCount ||
        a.m_vecStageResults.size() != stages)
        std::abort();
    if (a.m_nMapX < 0 || a.m_nMapX >= g_WorldMap.m_nWidth || a.m_nMapY < 0 || a.m_nMapY >= g_WorldMap.m_nHeight)
        std::abort();
    if (a.m_nStagesOpen < 1 || a.m_nRankingTable < 0 || a.m_nRankingTable >= kSaveRankingTables ||
        a.m_nStorySlot < -1 || a.m_nStorySlot >= kStorySlotCount)
        std::abort();
    a.StepRankingTable(0, 1);
    fuzzsupport::CheckRoundTrip(a, b);
    return 0;
}
