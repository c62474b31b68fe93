// The stage select scene.
#include "frontend/scene_stage_select.h"

#include <algorithm>

#include "core/checked.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/requests.h"
#include "app/pulse_colours.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "frontend/play_start.h"
#include "frontend/ranking_format.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "records/data_paths.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "records/stage_list.h"
#include "records/system_data.h"
#include "records/system_records.h"

int g_nStageSelectRow = 0;
int g_nStageSelectTop = 0;

namespace {

enum { ASSET_CURSOR = 49, ASSET_WINDOW = 45 };
constexpr int kListX = 32, kListY = 160;   // the cursor's column and the first row
constexpr int kRowHeight = 32;
constexpr int kMaxVisibleRows = 10;
constexpr int kBoardX = 292, kBoardY = 108;
constexpr int kSmallFont = 1, kLargeFont = 2;
constexpr int kFrameColour = 240;
constexpr int kTitleChallenge = 2;         // the challenge entry of the title menu
constexpr int kTextStage = 0, kTextBest = 3, kTextInfo = 4;
constexpr DWORD kSeSwitch = 6;
constexpr WORD kButton1 = 1, kButton2 = 2, kButton3 = 4, kButton4 = 8;

// The stage's cleared mark and best score (none for a stage without a record).
const cSaveDataPartA* StageRecord(int stage) {
    const std::vector<cSaveDataPartA>& list = g_SaveData.m_vecStageResults;
    return stage >= 1 && (size_t)stage <= list.size() ? &list[(size_t)stage - 1] : nullptr;
}

}  // namespace

cSceneStageSelect::cSceneStageSelect() : cMenuScene(SCENE_STAGESELECT, 2, {ASSET_CURSOR, ASSET_WINDOW}) {
    SetStates<cSceneStageSelect>({&cSceneStageSelect::StateSelect});
}

void cSceneStageSelect::Init() {
    InitCommon();
    g_MenuCursor.m_pCurrent->nY = g_nStageSelectRow;
    m_nListTop = g_nStageSelectTop;
    Count();
    // Put the remembered row back inside the list (the cursor's pixel place follows).
    MoveCursorList(0, 1, &m_nListTop, kListY, kRowHeight, kListX, m_nVisibleRows, m_nStageCount, 1);
    Count();
    LoadPreview(g_MenuCursor.m_pCurrent->nY + 1);
    ReleaseSceneSurfaces();
    if (!DDAddBlankSurface(g_vecSceneSurface, g_vecSceneSurfaceDesc, 640, 480, 1, 0, 0, 0)) {
        ReleaseSceneSurfaces();
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
    }
    DrawWork();
    m_wHeldButtons = CheckedAt(g_vecPlayerInput, 0).m_wButton;
    m_nPhase = 0;
}

void cSceneStageSelect::LoadPreview(int stage) {
    std::string path;
    MakeStageFileName(path, stage);
    SetStageFileName(g_SaveData, path.c_str());
    if (g_SceneManager.m_bModeRanking)
        LoadRanking(g_RankingHolder, g_SceneManager.m_nGameMode, g_SaveData.m_strStageName.c_str());
}

void cSceneStageSelect::Count() {
    const int32_t open = g_SystemData.m_nWord12 ? (int32_t)g_SystemData.m_nStageCount : g_SaveData.m_nStagesOpen;
    m_nStageCount = std::clamp<int32_t>(open, 0, (int32_t)kMaxStageCount);
    m_nVisibleRows = m_nListTop + kMaxVisibleRows <= m_nStageCount ? kMaxVisibleRows
                                                                     : std::max(m_nStageCount - m_nListTop, 0);
}

void cSceneStageSelect::DrawWork() {
    if (g_vecSceneSurface.empty()) return;
    DDSURFACEDATA* work = &g_vecSceneSurface[0];
    cFont& large = g_Fonts[kLargeFont];
    DDFillSurface(work, 16);
    DrawFrameBox(work, 1, 1, 638, 478, &g_SurfaceData[ASSET_WINDOW], 1, kFrameColour);

    // The heading: the challenge entry's text of the title menu.
    const std::vector<cSysMenuItem>& menu = g_SystemData.m_vecTitleMenu;
    if (!menu.empty()) {
        const char* heading = menu[menu.size() > (size_t)kTitleChallenge ? kTitleChallenge : 0].m_strText.c_str();
        large.DrawText(work, 320 - GetCharCount(heading) * 32 / 2, 32, heading);
    }
    // The info line: the total of the stages' best scores.
    const int32_t total = g_SaveData.m_nBestTotal;
    if (g_SystemData.m_nWord14 && total > 0) {
        const char* caption = CheckedAt(g_SystemData.m_vecTexts, kTextInfo).c_str();
        const int width = (GetCharCount(caption) + CountDigits(total)) * 16;
        g_Fonts[kSmallFont].DrawTextF(work, 320 - width / 2, 88, "%s%d", caption, (int)total);
    }
    const bool bestColumn = g_SystemData.m_nWord13 != 0;
    const bool rankingShown = g_SceneManager.m_bModeRanking && RankingViewSwitch(g_SaveData);
    if (!rankingShown && bestColumn)
        large.DrawTextF(work, 32, 128, "         %s", CheckedAt(g_SystemData.m_vecTexts, kTextBest).c_str());

    const char* stageText = CheckedAt(g_SystemData.m_vecTexts, kTextStage).c_str();
    const int markX = (GetCharCount(stageText) + 4) * 32;
    for (int r = 0; r < m_nVisibleRows; ++r) {
        const int stage = m_nListTop + r + 1;
        const int y = kListY + kRowHeight * r;
        large.DrawTextF(work, 64, y, "%s%d", stageText, stage);
        const cSaveDataPartA* rec = StageRecord(stage);
        if (rec && rec->m_bCleared) DDBlt(work, markX, y, 32, 32, &g_SurfaceData[ASSET_CURSOR], 96, 0, 1);
        if (bestColumn) large.DrawTextF(work, markX + 64, y, "%d", rec ? (int)rec->m_nBestScore : 0);
    }
    if (rankingShown) g_RankingHolder.DrawTable(work, kBoardX, kBoardY, g_SaveData.m_nRankingTable, -1);
    work->bLost = 0;
}

void cSceneStageSelect::DrawScreen() {
    if (!g_vecSceneSurface.empty()) {
        DDSURFACEDATA* work = &g_vecSceneSurface[0];
        if (work->bLost) DrawWork();
        DDBlt(&g_BackBufferSD, 0, 0, 640, 480, work, 0, 0, 0);
    }
    UpdatePulseColours();
}

void cSceneStageSelect::StateSelect() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    Count();
    MoveCursorList(in.m_wKey, 1, &m_nListTop, kListY, kRowHeight, kListX, m_nVisibleRows, m_nStageCount, 1);
    PlayCursorSound(in.m_wKey, 3, 0);
    const int row = g_MenuCursor.m_pCurrent->nY;
    if (in.m_wKey & 15) {
        Count();
        LoadPreview(row + 1);
        DrawWork();
    }
    // Buttons 3 and 4 are not latched by the scene frame: they act when newly pressed.
    const WORD pressed = (WORD)(in.m_wButton & ~m_wHeldButtons);
    m_wHeldButtons = in.m_wButton;
    const int mode = g_SceneManager.m_nGameMode;

    if (in.m_wButton & kButton1) {
        std::string path;
        MakeStageFileName(path, row + 1);
        if (m_nStageCount > 0 && PlayStageFile(path.c_str(), TRUE, &g_StageSettings)) {
            PlaySystemSe(SE_DECIDE);
            SetStageFileName(g_SaveData, g_LoadedStage.m_strFilePath.c_str());
            StageStartFlag(g_SaveData) = 1;
            g_SaveData.m_nStageNumber = row + 1;
            SetStartLives(g_SaveData, GAME_MODE_CHALLENGE, false);
            StartedFlag(g_SaveData) = 1;
            g_nStageSelectRow = row;
            g_nStageSelectTop = m_nListTop;
            g_SceneManager.m_nPlayMode = START_MODE_CHALLENGE;
            Leave(SCENE_PLAY);
        } else {
            PlaySystemSe(SE_REFUSED);
            MesBoxF("ステージファイル %s が読み込めません！", path.c_str());
        }
    } else if (in.m_wButton & kButton2) {
        PlaySystemSe(SE_CANCEL);
        Leave(SCENE_TITLE);
    } else if (pressed & kButton3) {
        if (g_SceneManager.m_bModeRanking) {
            PlaySystemSe(kSeSwitch);
            RankingViewSwitch(g_SaveData) = !RankingViewSwitch(g_SaveData);
            DrawWork();
        } else {
            RankingViewSwitch(g_SaveData) = 0;
        }
    } else if (pressed & kButton4) {
        if (g_SceneManager.m_bModeRanking) {
            if (CountListFlags(mode) >= 2) {
                PlaySystemSe(kSeSwitch);
                g_SaveData.StepRankingTable(mode, 1);
            }
            DrawWork();
        }
    }

    DrawScreen();
    const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    DDBlt(&g_BackBufferSD, c.nPixelX, c.nPixelY, 32, 32, &g_SurfaceData[ASSET_CURSOR], 0, 0, 1);
}
