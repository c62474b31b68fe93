// Deaths, stage clear and the end of the game.
#include "play/stage_end.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/scene_manager.h"
#include "app/system_se.h"
#include "core/checked.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/report.h"
#include "frontend/scene_world_map.h"
#include "play/damage.h"
#include "play/pause_loop.h"
#include "play/play_scene.h"
#include "play/save_words.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "play/system_words.h"
#include "platform/win32/win32.h"
#include "records/data_paths.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/stage_list.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/world_map.h"

namespace {

constexpr DWORD kSeHeroMiss = 8;
constexpr DWORD kSeGameEnd = 14;
constexpr DWORD kSeExtraLife = 15;
// Frames the extra-life display holds the game.
constexpr int kExtraLifeFrames = 30;

cHero* Hero0() { return g_vecHero.empty() ? nullptr : &g_vecHero.front(); }

void EndGame(cPlayScene* scene) {
    if (!scene) return;
    if (scene->m_bInSetup) {
        // The stage is being set up: the end is acted on when play starts.
        scene->m_bEndPending = 1;
        return;
    }
    FinishGameRanking(scene);
    scene->m_nState = PLAY_RESULT;
}

// The stage key without its closing dot: the base of the part names.
std::string KeyBase(const std::string& key) {
    if (key.empty()) return key;
    return key.substr(0, key.size() - 1);
}

// The part number of a file name: the digits after the last '-' of the name before its first
// dot (the folder left out); 0 when there are none.
int PartNumberOf(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = (unsigned char)path[i];
        // Lead bytes of two-byte characters take their trail byte with them (0x5C may be one).
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/') start = i + 1;
    }
    const std::string name = path.substr(start);
    const size_t dot = name.find('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const size_t minus = stem.rfind('-');
    if (minus == std::string::npos || minus + 1 >= stem.size()) return 0;
    int64_t n = 0;
    for (size_t i = minus + 1; i < stem.size(); ++i) {
        if (stem[i] < '0' || stem[i] > '9') return 0;
        n = n * 10 + (stem[i] - '0');
        if (n > 999) return 0;
    }
    return (int)n;
}

// The world-map entry the story was entered from; null when there is none.
const cWorldMapEntry* StoryEntry() { return WorldMapData::FindEntry(g_SaveData.m_nMapX, g_SaveData.m_nMapY); }

// Loads part n of the stage for play; 1 when it is loaded.
int LoadNextStage(cPlayScene* scene) {
    std::string name;
    if (!MakeStageFileName(scene, name, NextStageNumber())) return 0;
    return PlayStageFile(name.c_str(), FALSE, &g_StageSettings) ? 1 : 0;
}

}  // namespace

int AdvanceBranchOf(int startMode) {
    switch (startMode) {
        case START_MODE_STORY: return ADVANCE_STORY;
        case START_MODE_CHALLENGE: return ADVANCE_CHALLENGE;
        case START_MODE_FREE:
        case START_MODE_STAGEFILE: return ADVANCE_STAGEFILE;
        case START_MODE_REPLAY: return ADVANCE_FROM_PLAY;
        default: return -1;
    }
}

int KillCharacter(cChara& chara) {
    if (IsHeroChara(chara)) return 2;
    if (chara.m_bDying) return 0;
    return chara.Die();
}

int KillCharacterCheckEnd(cPlayScene* scene, cChara& chara) {
    const int result = KillCharacter(chara);
    int end = result == 1;
    if (result == 2) {
        PlaySystemSe(kSeHeroMiss);
        if (chara.Die() == 1) end = 1;
    }
    if (end) EndGame(scene);
    return result;
}

bool DyingFinished(const cChara& chara) {
    if (!chara.m_bDying) return false;
    // Without the keep-dead switch a dead character leaves at once; with it, once its death
    // effect has run (a death without one is over at once).
    return !KeepDeadCharacters() || chara.m_CharaEffect.nId == 0;
}

int CheckDeaths(cPlayScene* scene, const cChara* current) {
    cHero* hero = Hero0();
    if (hero && hero->m_nHP <= 0 && !hero->m_bDying) {
        PlaySystemSe(kSeHeroMiss);
        if (hero->Die() == 1) {
            EndGame(scene);
            return 1;
        }
        return 2;
    }
    for (cStageChara& chara : g_listStageChara) {
        if (chara.m_nHP > 0 || chara.m_bDying) continue;
        if (KillCharacterCheckEnd(scene, chara) == 1) return 1;
    }
    // Characters whose dying has finished leave play; the one the calling pass is working on
    // stays until a later check or its drawing takes it.
    if (scene) {
        std::vector<cStageChara*> gone;
        for (cStageChara& chara : g_listStageChara)
            if (&chara != current && DyingFinished(chara)) gone.push_back(&chara);
        for (cStageChara* chara : gone) scene->RemoveStageChara(chara);
    }
    return 0;
}

void StageClearBookkeeping(cPlayScene* scene) {
    if (!scene || scene->m_bClearBooked) return;
    scene->m_bClearBooked = 1;
    cSaveData& d = g_SaveData;
    const int64_t oldTotal = d.m_nScore;
    const int64_t newTotal = std::clamp<int64_t>(oldTotal + d.m_nStageScore, 0, kMaxScore);
    d.m_nScore = (int32_t)newTotal;
    auto add = [](int32_t& sum, int64_t v) { sum = (int32_t)std::clamp<int64_t>((int64_t)sum + v, INT32_MIN, INT32_MAX); };
    if (!scene->m_bNoTimeLimit) add(saveword::TimeSum(d), scene->m_nTimeLimit);
    add(saveword::PlayTimeSum(d), scene->m_nPlayTime);
    if (cHero* hero = Hero0()) {
        add(saveword::HPSum(d), hero->m_nHP);
        add(saveword::SecondSum(d), hero->m_nSP);
    }
    // Extra lives for every score step the total passed.
    const int64_t step = g_SystemData.m_nExtraLifeScore;
    if (d.m_nLives == kUnlimitedLives || !g_SystemData.m_bScoreExtraLife || step == 0) return;
    int64_t k = newTotal / step - oldTotal / step;
    k = std::clamp<int64_t>(k, 0, kMaxExtraLivesPerClear);
    for (int64_t i = 0; i < k; ++i) {
        d.m_nLives = std::min(d.m_nLives + 1, kMaxLivesCount);
        PlaySystemSe(kSeExtraLife);
        // Shown at the hero while the tally holds the game for its 30 frames.
        const int32_t shownAt = Hero0() ? Hero0()->m_nId : -1;
        scene->m_vecDisplay.push_back(shownAt);
        scene->InitRequest(0, 0, kExtraLifeFrames, 0);
        RunPauseLoop(scene);
        if (auto it = std::find(scene->m_vecDisplay.begin(), scene->m_vecDisplay.end(), shownAt);
            it != scene->m_vecDisplay.end())
            scene->m_vecDisplay.erase(it);
        if (scene->m_bQuit) {
            PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
            break;
        }
    }
}

void FinishGameRanking(cPlayScene* scene) {
    if (!scene) return;
    PlaySystemSe(kSeGameEnd);
    StageClearBookkeeping(scene);
    scene->m_bNewRecord = 0;
    scene->m_vecRankingPos.assign(kRankingKinds, -1);
    if (!g_bStageFileStart) {
        if (!g_SceneManager.m_bModeRanking) return;
        if (!IsLastStage(scene, NextStageNumber())) return;
    }
    cSaveData& d = g_SaveData;
    scene->m_vecRanking2 = {d.m_nScore, saveword::TimeSum(d), saveword::PlayTimeSum(d), saveword::HPSum(d),
                            saveword::SecondSum(d)};
    if (g_SceneManager.m_nPlayMode == START_MODE_REPLAY) return;
    const int mode = g_SceneManager.m_nGameMode;
    if (mode < 0 || (size_t)mode >= g_SystemData.m_vecRankingRules.size()) return;
    const std::vector<uint8_t>& modeKinds = g_SystemData.m_vecRankingRules[(size_t)mode].m_vecTables;
    for (int k = 0; k < kRankingKinds; ++k) {
        if ((size_t)k >= modeKinds.size() || !modeKinds[(size_t)k] || !stageword::RankingKind(g_StageSettings, k)) continue;
        if ((size_t)k >= g_RankingHolder.m_vecTables.size()) continue;
        const int32_t place = g_RankingHolder.m_vecTables[(size_t)k].FindPlace(scene->m_vecRanking2[(size_t)k]);
        scene->m_vecRankingPos[(size_t)k] = place;
        if (place != -1) scene->m_bNewRecord = 1;
    }
}

int CurrentStageNumber() { return std::max(0, PartNumberOf(g_LoadedStage.m_strFilePath)); }

int NextStageNumber() {
    if (g_lpPlayScene && g_lpPlayScene->m_bNextStageSet) return g_lpPlayScene->m_nNextStage;
    const int part = CurrentStageNumber();
    return part > 0 ? part + 1 : 0;
}

int MakeStageFileName(cPlayScene* scene, std::string& out, int n) {
    out.clear();
    if (!saveword::NextStageFlag(g_SaveData) || n <= 0) return 0;
    const bool own = scene && scene->m_bOwnBase;
    const std::string base = KeyBase(own ? scene->m_strOwnBase : g_SaveData.m_strStageName);
    if (base.empty()) return 0;
    const char* ext = g_ExtTable[EXT_STG4];
    char name[MAX_PATH];
    int len = own ? FormatBounded(name, sizeof name, "%s.%s", base.c_str(), ext)
                  : FormatBounded(name, sizeof name, "%s-%d.%s", base.c_str(), n, ext);
    if (len < 0 || len + 1 >= (int)sizeof name) return 0;
    char found[MAX_PATH];
    if (!FindNumberedFile(found, name, ext)) return 0;
    out = found;
    return 1;
}

int IsLastStage(cPlayScene* scene, int n) {
    std::string name;
    return MakeStageFileName(scene, name, n) ? 0 : 1;
}

int AdvanceAfterStage(cPlayScene* scene) {
    cSaveData& d = g_SaveData;
    if (stageword::CarryOver(g_StageSettings)) {
        for (size_t i = 0; i < g_vecHero.size() && i < d.m_vecHeroes.size(); ++i) {
            const cHero& hero = g_vecHero[i];
            ApplyStageOverride3(d, (int)i, hero.m_Def, hero.m_nHP, hero.m_nSP, 0, 0);
        }
    }
    switch (AdvanceBranchOf(g_SceneManager.m_nPlayMode)) {
        case ADVANCE_STORY: {
            if (LoadNextStage(scene)) return SCENE_PLAY;
            const int64_t entry = d.m_nStageNumber;
            if (entry >= 0 && (size_t)entry < d.m_vecStageValues.size())
                d.m_vecStageValues[(size_t)entry] = 1;
            else
                WriteReport("Stage clear of stage %d: no such entry in the stage list", d.m_nStageNumber);
            RecordStageBest(d, d.m_strStageName.c_str(), d.m_nScore);
            const cWorldMapEntry* e = StoryEntry();
            const int mode = e ? GetEntryInfo(*e).nMode : 0;
            if (mode == 1) return SCENE_WORLDMAP;
            if (mode == 2) {
                saveword::StartScene(d) = g_SceneManager.m_nPrevious;
                return SCENE_TITLE;
            }
            return SCENE_WORLDMAP;
        }
        case ADVANCE_CHALLENGE:
            if (LoadNextStage(scene)) return SCENE_PLAY;
            SaveChallengeResult(d, d.m_nScore);
            return SCENE_STAGESELECT;
        case ADVANCE_STAGEFILE:
            if (!saveword::NextStageFlag(d) || g_bStageFileStart) {
                saveword::RequestWord(d) = 0;
                return SCENE_PLAY;
            }
            return LoadNextStage(scene) ? SCENE_PLAY : SCENE_TITLE;
        case ADVANCE_FROM_PLAY:
            ResetStageVariables(d, 1, g_SceneManager.m_nGameMode, g_bStageFileStart ? TRUE : FALSE);
            return SCENE_PLAY;
        default: return SCENE_STAGESELECT;
    }
}
