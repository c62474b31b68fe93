#include "frontend/scene_title.h"

#include <algorithm>

#include "core/checked.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/requests.h"
#include "app/pulse_colours.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "frontend/play_start.h"
#include "records/save_slot_draw.h"
#include "frontend/stage_file_request.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "records/replay_requests.h"
#include "records/save_data.h"
#include "records/story_saves.h"
#include "records/system_data.h"

namespace {

// The bitmap assets of the title: the title picture, the entries' pictures, the cursors and the
// window frame.
enum { ASSET_TITLE = 47, ASSET_MENUPICTURE = 48, ASSET_CURSOR = 49, ASSET_WINDOW = 45 };

constexpr int kMenuX = 192, kMenuY = 240;  // the menu window in text form
constexpr int kListX = 152, kListY = 160;  // the continue list
constexpr int kRowHeight = 32;             // a menu row
constexpr int kListRowHeight = 16;         // a continue-list row
constexpr int kMaxEntries = 7;
constexpr int kMaxVisibleRows = 10;
constexpr int kMenuFont = 2;               // the 32-dot font
constexpr int kFrameColour = 240;
constexpr int kScreenWidth = 640;

// The game mode with its ranking switch from the mode's record of the system settings.
void SetGameMode(int mode) {
    g_SceneManager.m_nGameMode = mode;
    g_SceneManager.m_bModeRanking = (int)CheckedAt(g_SystemData.m_vecRankingRules, mode).m_bOn;
}

}  // namespace

cSceneTitle::cSceneTitle()
    : cMenuScene(SCENE_TITLE, 0, {ASSET_TITLE, ASSET_MENUPICTURE, ASSET_CURSOR, ASSET_WINDOW}),
      m_nMenuX(kMenuX),
      m_nMenuY(kMenuY) {
    SetStates<cSceneTitle>({&cSceneTitle::StateMainMenu, &cSceneTitle::StateContinue});
}

void cSceneTitle::Init() {
    InitCommon();
    // The enabled records of the title menu, in list order; with none, a new story alone.
    m_vecEntries.clear();
    const std::vector<cSysMenuItem>& menu = g_SystemData.m_vecTitleMenu;
    for (size_t i = 0; i < menu.size() && (int)m_vecEntries.size() < kMaxEntries; ++i)
        if (menu[i].m_bShown) m_vecEntries.push_back((int)i);
    if (m_vecEntries.empty()) m_vecEntries.push_back(TITLE_NEWSTORY);

    // The project's picture-menu switch: the entries' pictures, centred on the screen.
    m_bPictureMenu = g_SystemData.m_bTitleMenuCentred != 0;
    int pictureWidth = g_SurfaceData[ASSET_MENUPICTURE].nWidth;
    m_nMenuX = m_bPictureMenu ? 288 - pictureWidth / 2 : kMenuX;
    m_nMenuY = kMenuY;

    // The cursor on the entry chosen last (the first when it is not offered).
    auto it = std::find(m_vecEntries.begin(), m_vecEntries.end(), g_SceneManager.m_nLastTitleMenu);
    g_MenuCursor.m_pCurrent->nY = it == m_vecEntries.end() ? 0 : (int)(it - m_vecEntries.begin());
    MoveCursorGrid(0, m_nMenuX, m_nMenuY, 0, kRowHeight, 1, (int)m_vecEntries.size());

    // The menu window.
    int count = (int)m_vecEntries.size();
    if (m_bPictureMenu) {
        m_nWindowWidth = pictureWidth + 32;
    } else {
        int widest = 0;
        for (int n : m_vecEntries) widest = std::max(widest, GetCharCount(CheckedAt(menu, n).m_strText.c_str()));
        m_nWindowWidth = widest * 32 + 34;
    }
    // A text longer than the screen is cut at its edge rather than making a window of any width.
    m_nWindowWidth = std::min(m_nWindowWidth, kScreenWidth);
    m_nWindowHeight = count * kRowHeight + 2;
    ReleaseSceneSurfaces();
    if (!DDAddBlankSurface(g_vecSceneSurface, g_vecSceneSurfaceDesc, m_nWindowWidth, m_nWindowHeight, 1, 0, 0, 0)) {
        // No window to draw the menu on: the title shows its picture until the program ends.
        ReleaseSceneSurfaces();
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
    }
    DrawMenuWindow();
    m_nPhase = 0;
}

void cSceneTitle::DrawMenuWindow() {
    if (g_vecSceneSurface.empty()) return;
    DDSURFACEDATA* window = &g_vecSceneSurface[0];
    if (m_bPictureMenu) {
        DDFillSurface(window, 0);
        DDSURFACEDATA* pictures = &g_SurfaceData[ASSET_MENUPICTURE];
        for (size_t i = 0; i < m_vecEntries.size(); ++i)
            DDBlt(window, 32, kRowHeight * (int)i, pictures->nWidth, kRowHeight, pictures, 0,
                  kRowHeight * m_vecEntries[i], 0);
    } else {
        DrawFrameBox(window, 1, 1, m_nWindowWidth - 2, m_nWindowHeight - 2, &g_SurfaceData[ASSET_WINDOW], 1,
                     kFrameColour);
        for (size_t i = 0; i < m_vecEntries.size(); ++i)
            g_Fonts[kMenuFont].DrawText(window, 32, kRowHeight * (int)i,
                                        CheckedAt(g_SystemData.m_vecTitleMenu, m_vecEntries[i]).m_strText.c_str());
    }
    window->bLost = 0;
}

void cSceneTitle::DrawScreen() {
    DDBlt(&g_BackBufferSD, 0, 0, 640, 480, &g_SurfaceData[ASSET_TITLE], 0, 0, 0);
    if (!g_vecSceneSurface.empty()) {
        DDSURFACEDATA* window = &g_vecSceneSurface[0];
        if (window->bLost) DrawMenuWindow();
        DDBlt(&g_BackBufferSD, m_nMenuX, m_nMenuY, m_nWindowWidth, m_nWindowHeight, window, 0, 0, 1);
    }
    UpdatePulseColours();
}

void cSceneTitle::StateMainMenu() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    MoveCursorGrid(in.m_wKey, m_nMenuX, m_nMenuY, 0, kRowHeight, 1, (int)m_vecEntries.size());
    PlayCursorSound(in.m_wKey, 2, 0);
    if (!(in.m_wButton & 1)) {
        DrawScreen();
        const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
        DDBlt(&g_BackBufferSD, c.nPixelX, c.nPixelY, 32, 32, &g_SurfaceData[ASSET_CURSOR], 0, 0, 1);
        return;
    }
    PlaySystemSe(SE_DECIDE);
    int menu = CheckedAt(m_vecEntries, g_MenuCursor.m_pCurrent->nY);
    g_SceneManager.m_nLastTitleMenu = menu;
    Choose(menu);
}

void cSceneTitle::Choose(int menu) {
    switch (menu) {
    case TITLE_NEWSTORY:
        SetGameMode(GAME_MODE_STORY);
        NewGameSetup(g_SaveData);
        g_SceneManager.m_nPlayMode = START_MODE_STORY;
        Leave(SCENE_WORLDMAP);
        break;
    case TITLE_CONTINUE:
        SetGameMode(GAME_MODE_STORY);
        g_MenuCursor.Push(0);
        m_nState = 2;
        m_nPhase = 0;
        break;
    case TITLE_CHALLENGE:
        SetGameMode(GAME_MODE_CHALLENGE);
        if (!LoadChallenge(g_SaveData)) {
            // No challenge record yet: a fresh one with a result per stage of the project.
            g_SaveData.Reset();
            size_t stages = std::min<size_t>(g_SystemData.m_nStageCount, kMaxStageCount);
            g_SaveData.m_vecStageResults.assign(stages, cSaveDataPartA());
        }
        g_SceneManager.m_nPlayMode = START_MODE_CHALLENGE;
        Leave(SCENE_STAGESELECT);
        break;
    case TITLE_STAGEFILE:
        SetGameMode(GAME_MODE_STAGEFILE);
        if (RequestLoadStageFile()) {
            g_SceneManager.m_nPlayMode = START_MODE_FREE;
            Leave(SCENE_PLAY);
        }
        break;
    case TITLE_REPLAY:
        SetGameMode(GAME_MODE_REPLAY);
        if (RequestLoadReplay()) {
            g_SceneManager.m_nPlayMode = START_MODE_REPLAY;
            Leave(SCENE_PLAY);
        }
        break;
    case TITLE_OPTION:
        Leave(SCENE_OPTION);
        break;
    case TITLE_END:
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

void cSceneTitle::StateContinue() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    if (m_nPhase == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, 0, 0, 0};
        m_nListTop = 0;
        m_nPhase = 1;
        ScanStorySlots(g_SaveSlotList);
    }
    int slots = (int)g_SaveSlotList.m_vecSlots.size();
    m_nVisibleRows = std::min(slots, kMaxVisibleRows);
    MoveCursorList(in.m_wKey, 1, &m_nListTop, kListY, kListRowHeight, kListX, m_nVisibleRows, slots, 1);
    PlayCursorSound(in.m_wKey, 3, 0);
    if (in.m_wButton & 1) {
        int slot = g_MenuCursor.m_pCurrent->nY;
        // A slot is taken only when it holds a save that loads; a damaged one stays on the list.
        if (CheckedAt(g_SaveSlotList.m_vecSlots, slot).m_bUsed && LoadStory(g_SaveData, slot)) {
            PlaySystemSe(SE_DECIDE);
            g_SceneManager.m_nPlayMode = START_MODE_STORY;
            Leave(SCENE_WORLDMAP);
        } else {
            PlaySystemSe(SE_REFUSED);
        }
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        g_MenuCursor.Pop(1);
        m_nState = 1;
        m_nPhase = 0;
        return;
    }
    DDBlt(&g_BackBufferSD, 0, 0, 640, 480, &g_SurfaceData[ASSET_TITLE], 0, 0, 0);
    UpdatePulseColours();
    DrawSaveSlotList(&g_BackBufferSD, kListX, kListY, g_SaveSlotList, m_nListTop, m_nVisibleRows);
    const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    DDBlt(&g_BackBufferSD, c.nPixelX, c.nPixelY, 16, 16, &g_SurfaceData[ASSET_CURSOR], 64, 0, 1);
}
