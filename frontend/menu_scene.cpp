#include "frontend/menu_scene.h"

#include "core/checked.h"
#include "core/globals.h"
#include "core/requests.h"
#include "app/scene_manager.h"
#include "media/asset_table.h"
#include "media/draw_device.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "records/system_data.h"

std::vector<DDSURFACEDATA> g_vecSceneSurface;
std::vector<SURFACEFILEDESC> g_vecSceneSurfaceDesc;

void ReleaseSceneSurfaces() {
    DDReleaseSurfaceVector(g_vecSceneSurface);
    g_vecSceneSurface.clear();
    g_vecSceneSurfaceDesc.clear();
}

void ResetMenuCursor() {
    while (g_MenuCursor.m_vecPos.size() > 1) g_MenuCursor.Pop(0);
    *g_MenuCursor.m_pCurrent = CURSORPOS{0, 0, 0, 0};
}

cMenuScene::cMenuScene(int sceneNo, int musicSlot, std::vector<int> imageSet)
    : m_nSceneNo(sceneNo), m_nMusicSlot(musicSlot), m_vecImageSet(std::move(imageSet)) {
    SetStates<cMenuScene>({});
}

cMenuScene::~cMenuScene() {
    for (int n : m_vecImageSet)
        if (n >= 0 && n < kSurfaceSlotCount) DDReleaseSurface(&g_SurfaceData[n]);
    ReleaseSceneSurfaces();
}

void cMenuScene::Run() {
    cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    in.UpdateRepeat();
    in.FilterHeldButtons(3);
    if (m_nState == -1) {
        Init();
        m_nState = 0;
    }
    // A state outside the table is a fault of the program: reported, and entry 0 runs.
    STATEFUNC state = CheckedAt(m_vecStates, m_nState);
    (this->*state)();
}

void cMenuScene::Leave(int nextScene) {
    g_SceneManager.m_nNext = nextScene;
    m_nState = FadeOutState();
}

bool cMenuScene::InitCommon(bool resetRequests) {
    // A scene left by a way that never closed its sub-menus starts with a single cursor level.
    ResetMenuCursor();
    int tune = (int)CheckedAt(g_SystemData.m_vecMenuTunes, m_nMusicSlot);
    if (tune == 0 || tune != g_SceneManager.m_nTuneNo) {
        g_SceneManager.m_nTuneNo = tune;
        SendMessageA(g_hMainWnd.load(), WM_REQ_MUSIC, (WPARAM)m_nMusicSlot, 0);
    }
    if (!m_vecImageSet.empty() && !DDReloadSurfaces(g_SurfaceData, m_vecImageSet.data(), (int)m_vecImageSet.size())) {
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        if (resetRequests) ResetRequestList(*this);
        return false;
    }
    if (resetRequests) ResetRequestList(*this);
    return true;
}

void cMenuScene::FadeIn() {
    if (g_nDDBpp == 8) RedrawWork();
    DrawScreen();
    if (DrawWaveFadeIn(g_WorkPalette, 0, 255, 0, 0, 0, (double)g_SceneManager.m_nFadeStep, g_EnginePalette, 0))
        m_nState = 1;
}

void cMenuScene::FadeOut() {
    if (!DrawWaveFadeOut(g_WorkPalette, 0, 255, 0, 0, 0, (double)g_SceneManager.m_nFadeStep, g_EnginePalette, 0))
        return;
    DDFillSurface(&g_BackBufferSD, 16);
    OnLeave();
    if (m_bFadeOutResetsRequests) ResetRequestList(*this);
    g_SceneManager.m_nPrevious = m_nSceneNo;
    g_SceneManager.m_nCurrent = g_SceneManager.m_nNext;
}
