#include "play/play_menus.h"

#include "core/checked.h"
#include "core/globals.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/draw_device.h"
#include "media/text_menu.h"
#include "platform/win32/win32.h"
#include "play/play_draw.h"
#include "play/play_rules.h"
#include "play/play_scene.h"
#include "play/stage_words.h"
#include "play/system_words.h"
#include "records/replay_requests.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_list.h"
#include "records/system_records.h"

namespace {

// The menu cursor sheet and its 16 x 16 cursor; the system sprite sheet's game-over sprite.
constexpr int kSlotCursorSheet = 49;
constexpr int kCursorSheetX = 64, kCursorSheetY = 0;
constexpr int kRow = 16;
constexpr WORD kButton1 = 1, kButton2 = 2;

// Lays out a menu of `count` texts from `first` centred on 320 at y 272 and moves its cursor.
int PlaceMenu(const cPlayerInput& in, int first, int count) {
    const int x = MenuLeftX(kPlayMenuCentreX, first, count, TRUE);
    MoveCursorGrid(in.m_wKey, x, kPlayMenuY, 0, kRow, 1, count);
    PlayCursorSound(in.m_wKey, 2, 0);
    return x;
}

// The play screen with the menu and its cursor.
void DrawMenu(cPlayScene* scene, int x, int first, int count) {
    scene->Draw(0, 1, 0, 1);
    if (!g_bDDInitialized) return;
    DrawTextMenu(x, kPlayMenuY, first, count, TRUE);
    const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    DDBlt(&g_BackBufferSD, c.nPixelX, c.nPixelY, 16, 16, &g_SurfaceData[kSlotCursorSheet], kCursorSheetX, kCursorSheetY,
          DDBLT_TRANSPARENT);
}

// The stage that was played is restarted from its banner (the pause menu's restart).
void RestartStage(cPlayScene* scene) {
    ResetStageVariables(g_SaveData, 1, g_SceneManager.m_nGameMode, g_bStageFileStart ? TRUE : FALSE);
    scene->SetStage(1, 0);
    scene->m_nPhase = 0;
    scene->m_nState = PLAY_BANNER;
}

}  // namespace

cPlayerInput& MenuInput(WORD& buttons, bool opening) {
    cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    in.UpdateRepeat();
    in.FilterHeldButtons(3);
    buttons = opening ? 0 : in.m_wButton;
    return in;
}

int32_t& GivenUpWord(cSaveData& data) { return data.m_nValue24; }

int PauseMenuItems(int gameMode, const cSaveData& data) {
    const int64_t stage = data.m_nStageNumber;
    switch (gameMode) {
    case GAME_MODE_STORY: {
        const std::vector<int32_t>& cleared = data.m_vecStageValues;
        const bool done = stage >= 0 && (size_t)stage < cleared.size() && cleared[(size_t)stage] != 0;
        return RestartInStory() && done ? 3 : 2;
    }
    case GAME_MODE_CHALLENGE: {
        const std::vector<cSaveDataPartA>& results = data.m_vecStageResults;
        const bool done = stage >= 1 && (size_t)(stage - 1) < results.size() && results[(size_t)(stage - 1)].m_bCleared;
        return RestartInChallenge() && done ? 3 : 2;
    }
    default:
        return 3;
    }
}

void cPlayScene::MenuState() {
    if (ReplaySaveKeyCheck()) return;
    const int count = PauseMenuItems(g_SceneManager.m_nGameMode, g_SaveData);
    const bool opening = m_nPhase == 0;
    if (opening) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, PAUSEITEM_RESUME, 0, 0};
        m_nPhase = 1;
    }
    WORD buttons = 0;
    cPlayerInput& in = MenuInput(buttons, opening);
    const int x = PlaceMenu(in, PLAYTEXT_QUIT, count);
    if (buttons & kButton1) {
        PlaySystemSe(SE_DECIDE);
        switch (g_MenuCursor.m_pCurrent->nY) {
        case PAUSEITEM_QUIT:
            m_nState = PLAY_FADEOUT;
            // A stage file named at start-up ends the program; the two-item menu always goes to
            // the title.
            if (count == 3 && g_bStageFileStart)
                PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
            else
                g_SceneManager.m_nNext = SCENE_TITLE;
            return;
        case PAUSEITEM_RESUME:
            m_bSwallowButtons = 1;
            m_nState = m_nSavedState;
            m_nPhase = m_nSavedPhase;
            return;
        default:
            m_bSwallowButtons = 1;
            RestartStage(this);
            return;
        }
    }
    if (buttons & kButton2) {
        PlaySystemSe(SE_CANCEL);
        m_bSwallowButtons = 1;
        m_nState = m_nSavedState;
        m_nPhase = m_nSavedPhase;
        return;
    }
    DrawMenu(this, x, PLAYTEXT_QUIT, count);
}

void cPlayScene::MenuState2() {
    if (ReplaySaveKeyCheck()) return;
    const bool opening = m_nPhase == 0;
    if (opening) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, 0, 0, 0};
        m_nPhase = 1;
    }
    WORD buttons = 0;
    cPlayerInput& in = MenuInput(buttons, opening);
    const int x = PlaceMenu(in, PLAYTEXT_RETRY, 2);
    if (buttons & kButton1) {
        PlaySystemSe(SE_DECIDE);
        if (g_MenuCursor.m_pCurrent->nY == 0) {
            m_bSwallowButtons = 1;
            SetStage(1, 0);
            m_nPhase = 0;
            m_nState = PLAY_BANNER;
        } else {
            GivenUpWord(g_SaveData) = 1;
            g_SceneManager.m_nNext = SCENE_WORLDMAP;
            m_nPhase = 0;
            m_nState = PLAY_FADEOUT;
        }
        return;
    }
    DrawMenu(this, x, PLAYTEXT_RETRY, 2);
}

void cPlayScene::GameOverScreen() {
    if (CheckPauseKey(this)) {
        m_nPhase = 0;
        m_nState = PLAY_MENU;
        return;
    }
    if (ReplaySaveKeyCheck()) return;
    const bool opening = m_nPhase == 0;
    m_nPhase = 1;
    WORD buttons = 0;
    MenuInput(buttons, opening);
    if (buttons & kButton1) {
        PlaySystemSe(SE_DECIDE);
        g_SceneManager.m_nNext = SCENE_TITLE;
        m_nState = PLAY_FADEOUT;
        return;
    }
    Draw(0, 1, 0, 1);
    if (g_bDDInitialized && stageword::GameOverPicture(g_StageSettings))
        DDBlt(&g_BackBufferSD, 248, 224, 144, 32, &g_SurfaceData[kSlotWordSheet], 0, 96, DDBLT_TRANSPARENT);
}
