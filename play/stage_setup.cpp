// The stage set-up's own steps: the settings copied afresh from the loaded stage, the carried
// hero values, the stage's music, the hero built from its placement with the view centred on
// it, and the stage words the play scene reads (time limit, banners, extensions, shot hits).
#include "play/stage_setup.h"

#include <algorithm>

#include "core/checked.h"
#include "core/globals.h"
#include "core/requests.h"
#include "app/scene_manager.h"
#include "media/anime.h"
#include "media/draw_device.h"
#include "media/music_request.h"
#include "play/chara_def.h"
#include "play/appearance.h"
#include "play/stage_end.h"
#include "play/hero.h"
#include "play/play_rules.h"
#include "play/play_scene.h"
#include "play/save_words.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "play/system_words.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/stage_list.h"

void CopyStageRecords(int reload) {
    // A replay being played back has put its stage into the loaded stage as well, so both
    // starts take the settings afresh from there: whatever flows changed is undone.
    if (reload) TakeStageSettings(g_StageSettings, g_LoadedStage);
}

void ApplyCarryOver() {
    if (!stageword::CarryOver(g_StageSettings)) return;
    const int idx = g_LoadedStage.FindHero();
    if (idx < 0) return;  // the loader refuses such a stage; nothing to carry to
    ApplyStageCharaOverrides(g_SaveData, 0, CheckedAt(g_LoadedStage.m_vecCharas, idx));
}

// Music on the window thread's slot 4 with the stage's loop flag.
static bool StageMusicWanted(int music, int tune, int playing, int keep) {
    if (music) return !(keep && tune != 0 && playing == tune);
    return playing != tune;
}

void RequestStageMusic(int music) {
    const int tune = g_StageSettings.m_nBgm;
    if (!StageMusicWanted(music, tune, g_SceneManager.m_nTuneNo, stageword::KeepMusic(g_StageSettings))) return;
    g_SceneManager.m_nTuneNo = tune;
    PostMusicRequest(tune, stageword::MusicLoop(g_StageSettings));
}

void SetupHero(cHero& hero, int index) {
    const int idx = g_LoadedStage.FindHero();
    if (g_LoadedStage.m_vecCharas.empty()) {
        // Nothing to build from: the index error is reported and the hero stays empty.
        ReportIndexError('V', idx, 0, (int)sizeof(cCharaRec));
        return;
    }
    cCharaRec& rec = CheckedAt(g_LoadedStage.m_vecCharas, idx);
    const int32_t place[4] = {0, 0, -1, 0};
    hero.SetupFromPlacement(kHeroId + index, rec, place);
    hero.SetBlockPos(rec.m_sPlaceX, rec.m_sPlaceY);
    hero.m_dX += rec.OffsetX(0, hero.m_nDir);
    hero.m_dY += rec.OffsetY(0, hero.m_nDir);
    hero.ClampX();
    hero.ClampY();
    ApplyStageOverride2(g_SaveData, index, hero.m_nHP, hero.m_nSP);
    hero.m_Anime->Set(0, 1);
}

void HeroViewBox(cHero& hero, double& x, double& y, int& w, int& h) {
    x = hero.m_dX;
    y = hero.m_dY;
    w = hero.m_nWidth;
    h = hero.m_nHeight;
}

int StageTimeLimitOn() { return stageword::TimeLimitOn(g_StageSettings); }
int StageTimeLimit() { return stageword::TimeLimit(g_StageSettings); }
int StageBannerSwitch(int which) { return stageword::BannerSwitch(g_StageSettings, which); }
int StageExtension(int axis) { return stageword::Extension(g_StageSettings, axis); }
int StageShotHitCount() { return stageword::ShotHitCount(g_StageSettings); }

void ResetBackgrounds() {
    // The scroll offsets the automatic scrolling moved start again from 0.
    for (cBackgroundRec& b : g_StageSettings.m_vecBackgrounds) b.m_adGH[0] = b.m_adGH[1] = 0.0;
}

void RestorePalette8() {
    if (g_nDDBpp != 8) return;
    // Whatever a screen colour change left in the working palette is undone.
    std::copy(std::begin(g_EnginePalette), std::end(g_EnginePalette), g_WorkPalette);
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, g_WorkPalette);
}

void ResetStageValues() {
    saveword::StageClearWord(g_SaveData) = 0;
    // In replay playback, and in the editor's test play of a stage file, the stage starts with
    // the common variables cleared; then the stage-start backup is taken.
    if (g_SceneManager.m_nPlayMode == START_MODE_REPLAY || (g_bEditor && g_bStageFileStart))
        std::fill(g_SaveData.m_vecCommonVars.begin(), g_SaveData.m_vecCommonVars.end(), 0);
    CopyValueArray(g_SaveData);
}

void RunStageStartFlows(cPlayScene* scene) {
    const int defer = DeferAppearances();
    if (!defer) CheckAppearances(scene);
    for (cHero& hero : g_vecHero) hero.RunFlowsOfTrigger(18);
    for (auto it = g_listStageChara.begin(); it != g_listStageChara.end();) {
        cStageChara& chara = *it++;  // the next one first: this one may leave the list
        if (!defer && !chara.m_bAppeared) continue;
        chara.RunFlowsOfTrigger(18);
        if (chara.m_bVanishOnEnd) {
            if (scene) scene->RemoveStageChara(&chara);
        } else if (chara.m_nHP <= 0) {
            KillCharacterCheckEnd(scene, chara);
            if (scene) scene->RemoveStageChara(&chara);
        }
    }
    CheckAppearances(scene);
}
