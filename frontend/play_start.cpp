#include "frontend/play_start.h"

#include <algorithm>

#include "core/checked.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "app/scene_manager.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/stage_list.h"
#include "records/system_data.h"
#include "records/world_map.h"

namespace {

// The most lives a game keeps.
constexpr int32_t kMaxLives = 99;

}  // namespace

void SetStartLives(cSaveData& data, int mode, bool unlimited) {
    if (unlimited || CheckedAt(g_SystemData.m_vecUnlimitedLives, mode) != 0) {
        data.m_nLivesReserve = kUnlimitedLives;
        data.m_nLives = kUnlimitedLives;
        return;
    }
    int32_t count = (int32_t)std::min<uint32_t>(CheckedAt(g_SystemData.m_vecStartLives, mode), (uint32_t)kMaxLives);
    data.m_nLivesReserve = count;
    data.m_nLives = std::max(count - 1, 0);
}

void NewGameSetup(cSaveData& data) {
    data.Reset();
    data.m_nMapX = g_WorldMap.m_nStartX;
    data.m_nMapY = g_WorldMap.m_nStartY;
    data.m_nValue4 = 0;
    SetStartLives(data, GAME_MODE_STORY, false);
}

int StartFromStageFile(const char* path, BOOL numbered) {
    char name[MAX_PATH];
    CopyBounded(name, sizeof name, path ? path : "");
    g_SaveData.Reset();
    if (!PlayStageFile(name, numbered, &g_StageSettings)) return 0;
    g_SaveData.m_nStageNumber = 1;
    StageStartFlag(g_SaveData) = 1;
    SetStartLives(g_SaveData, GAME_MODE_STAGEFILE, g_bStageFileStart.load() != 0);
    GetRelativePath(name);
    SetStageFileName(g_SaveData, name);
    return 1;
}
