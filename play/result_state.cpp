#include "play/result_state.h"

#include <algorithm>

#include "core/checked.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "frontend/ranking_board.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "platform/win32/win32.h"
#include "play/play_draw.h"
#include "play/play_menus.h"
#include "play/play_rules.h"
#include "play/play_scene.h"
#include "play/stage_end.h"
#include "play/stage_words.h"
#include "records/option_data.h"
#include "records/replay_requests.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr WORD kButton1 = 1;
// The result sprite of the system sprite sheet, and the slats it comes in through.
constexpr int kResultSpriteX = 0, kResultSpriteY = 64, kResultSpriteW = 128, kResultSpriteH = 32;
constexpr int kBlindsStrip = 4;
// The caption's font: the 16-dot one.
constexpr int kCaptionFont = 1;

// Ranking-name modes 0 and 1 enter the ranking by F3; 2 and 3 when the result is confirmed.
bool EntryByF3() { return g_OptionData.m_nRankingMode <= 1; }

int32_t At(const std::vector<int32_t>& v, int k, int32_t none) {
    return k >= 0 && (size_t)k < v.size() ? v[(size_t)k] : none;
}

void DrawPlayBackdrop(cPlayScene* scene) {
    if (scene) scene->Draw(0, 1, 0, 1);
}

// The result picture: through the blinds while the counter is below 100, plain from then on.
void DrawResultPicture(int count) {
    DDSURFACEDATA* sheet = &g_SurfaceData[kSlotWordSheet];
    if (count < kResultPlainCount)
        DrawBlinds(&g_BackBufferSD, kResultPictureX, kResultPictureY, kResultSpriteW, kResultSpriteH, kBlindsStrip,
                   kResultPlainCount - count, sheet, kResultSpriteX, kResultSpriteY, DDBLT_TRANSPARENT, 1);
    else
        DDBlt(&g_BackBufferSD, kResultPictureX, kResultPictureY, kResultSpriteW, kResultSpriteH, sheet, kResultSpriteX,
              kResultSpriteY, DDBLT_TRANSPARENT);
}

}  // namespace

RANKINGRESULT SceneRankingResult(const cPlayScene& scene) {
    RANKINGRESULT r{};
    for (int k = 0; k < kRankingKinds; ++k) {
        r.anValues[k] = At(scene.m_vecRanking2, k, 0);
        r.anPlaces[k] = At(scene.m_vecRankingPos, k, -1);
    }
    r.bPlaceReached = scene.m_bNewRecord;
    r.bRegistered = scene.m_bResultRegistered;
    return r;
}

void RegisterSceneRanking(cPlayScene& scene) {
    RANKINGRESULT r = SceneRankingResult(scene);
    RegisterRankingEntry(scene, r, DrawPlayBackdrop);
    scene.m_bResultRegistered = r.bRegistered;
}

void cPlayScene::ResultState() {
    const bool autoAdvance = stageword::AutoAdvance(g_StageSettings) != 0;
    bool viewed = false;
    if (!autoAdvance) {
        if (CheckPauseKey(this)) {
            m_nPhase = 0;
            m_nState = PLAY_MENU;
            return;
        }
        ReplaySaveKeyCheck();
        if (EntryByF3() && (GetAsyncKeyState(VK_F3) & 0x8000) && !m_bResultRegistered) {
            RegisterSceneRanking(*this);
            viewed = m_bResultRegistered != 0;
        }
    }
    // The sub-state counts the frames the screen has been open (from 1).
    const bool opening = m_nPhase == 0;
    if (opening) m_nResultCount = 0;
    if (m_nPhase < INT32_MAX) ++m_nPhase;
    // The button that closed the ranking view does not also leave the screen.
    WORD buttons = 0;
    MenuInput(buttons, opening || viewed);

    const bool leave = autoAdvance ? m_nPhase > kResultAutoFrames
                                   : (buttons & kButton1) && m_nResultCount >= kResultLeaveCount;
    if (leave) {
        if (!autoAdvance) {
            if (m_bNewRecord && !EntryByF3())
                RegisterSceneRanking(*this);
            else
                PlaySystemSe(SE_DECIDE);
        }
        g_SceneManager.m_nNext = AdvanceAfterStage(this);
        m_nResultCount = 0;
        m_nPhase = 0;
        m_nState = PLAY_FADEOUT;
        return;
    }

    // The caption asks for F3 while a place waits to be entered.
    bool placed = false;
    for (int k = 0; k < kRankingKinds; ++k) placed = placed || At(m_vecRankingPos, k, -1) != -1;
    if (!autoAdvance && !m_bResultRegistered && placed && EntryByF3()) {
        Draw(0, 1, 0, 0);
        if (g_bDDInitialized && (size_t)PLAYTEXT_RESULT < g_SystemData.m_vecTexts.size()) {
            const char* text = g_SystemData.m_vecTexts[PLAYTEXT_RESULT].c_str();
            g_Fonts[kCaptionFont].DrawText(&g_BackBufferSD, 320 - GetCharCount(text) * 16 / 2, kResultCaptionY, text);
        }
    } else {
        Draw(0, 1, 0, 1);
    }
    if (stageword::ResultPicture(g_StageSettings)) {
        m_nResultCount = std::min(m_nResultCount + kResultPictureStep, kResultLeaveCount);
        if (g_bDDInitialized) DrawResultPicture(m_nResultCount);
    } else {
        m_nResultCount = kResultLeaveCount;
    }
    if (m_nResultCount >= kResultLeaveCount && g_SceneManager.m_bModeRanking && !autoAdvance && g_bDDInitialized) {
        // The board shows the kinds the stage ranks.
        int32_t places[kRankingKinds], values[kRankingKinds], switches[kRankingKinds];
        for (int k = 0; k < kRankingKinds; ++k) {
            places[k] = At(m_vecRankingPos, k, -1);
            values[k] = At(m_vecRanking2, k, 0);
            switches[k] = stageword::RankingKind(g_StageSettings, k);
        }
        DrawResultBoard(&g_BackBufferSD, kResultBoardX, kResultBoardY, places, values, switches);
    }
}
