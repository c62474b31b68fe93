#include "app/game_loop.h"

#include <cstring>
#include <vector>

#include "core/frame_timer.h"
#include "core/globals.h"
#include "app/init_game.h"
#include "app/main_window.h"
#include "app/scene_manager.h"
#include "frontend/menu_scene.h"
#include "platform/host/host.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/restore.h"
#include "play/picture_lists.h"
#include "play/play_scene.h"
#include "play/stage_bitmaps.h"
#include "records/stage.h"
#include "records/system_ini.h"

int g_nMeasuredFps = 0;
DWORD g_dwWorkTime = 0;
DWORD g_dwWorkAverage = 0;

namespace {
DWORD g_workRing[16];
int g_workIndex = 0;
}  // namespace

void RecordWorkTime(DWORD ms) {
    g_workRing[g_workIndex++] = ms;
    if (g_workIndex >= 16) {
        g_workIndex = 0;
        DWORD sum = 0;
        for (DWORD v : g_workRing) sum += v;
        g_dwWorkAverage = sum >> 4;
    }
}

void ResetWorkRing() {
    std::memset(g_workRing, 0, sizeof g_workRing);
    g_workIndex = 0;
    g_dwWorkAverage = 0;
}

void WaitFrame() {
    if (g_lpDDDevice) return;  // Direct3D paces in its present
    while (!FrameGate(g_SceneManager.m_nFrameRate)) PaceSleep(1);
}

int RestoreSurfaces() {
    if (g_lpDDDevice) return 1;
    if (!g_PrimarySD.lpDD || !g_PrimarySD.lpDD->lpSurface) return 1;
    if (g_PrimarySD.lpDD->lpSurface->IsLost() != DDERR_SURFACELOST) return 1;
    // The display surfaces and the asset slots first.
    if (!DDRestore()) return 0;
    // Then every surface collection of the program, in this order: the three bitmap vectors of
    // play, the picture surfaces, the scene work surfaces, the message surfaces. A restored
    // video-memory record is marked lost (its owner draws it again) and its bitmap copied again;
    // a copy that fails ends the visit.
    for (std::vector<DDSURFACEDATA>* v : {&g_vecStageBmp, &g_vecSwordBmp, &g_vecEffectBmp})
        for (DDSURFACEDATA& rec : *v)
            if (!DDRestoreLostRecord(&rec)) return 0;
    for (DDSURFACEDATA& rec : g_listPictureSurface)
        if (!DDRestoreLostRecord(&rec)) return 0;
    for (DDSURFACEDATA& rec : g_vecSceneSurface)
        if (!DDRestoreLostRecord(&rec)) return 0;
    for (DDSURFACEDATA& rec : g_listMessageSurface)
        if (!DDRestoreLostRecord(&rec)) return 0;
    // The fonts' digit sheets last; they never fail the visit.
    RestoreDigitSheets(g_DigitSheets, g_Fonts, kFontCount);
    return 1;
}

int PlayFasterThan60() {
    return g_SceneManager.m_lpScenes[SCENE_PLAY] && g_LoadedStage.m_nFrameRate > 60 ? 1 : 0;
}

void PresentFrame() {
    if (g_lpDDDevice) {
        if (!DDFlip(g_SceneManager.m_nFrameRate) && g_lpDDDevice && g_bDDWindowMode)
            SendMessageA(g_hMainWnd.load(), WM_REQ_RESETDEVICE, 0, 0);
        return;
    }
    if (!g_bDDInitialized) {
        // No drawing device (a start-up that has not reached it): nothing to show.
        return;
    }
    // A stage played faster than 60 frames per second does not wait for the vertical blank in
    // a window, and is blitted rather than flipped in full screen.
    const int fast = PlayFasterThan60();
    DDPresentDirectDraw(g_rcClientScreen, g_bPresentByBlit || fast, !fast);
}

int GameFrame() {
    WaitFrame();
    TimerStart();
    if (!RestoreSurfaces()) return 0;
    PollPlayerInput();
    g_SceneManager.Switch(g_SceneManager.m_nCurrent);
    if (cScene* scene = g_SceneManager.Current()) scene->Run();
    g_nMeasuredFps = GetFPS(1);
    g_dwWorkTime = TimerElapsed(1);
    if (g_lpPlayScene) g_lpPlayScene->m_nFps = g_nMeasuredFps;
    if (g_SystemIni.nShowFps != 0) {
        RecordWorkTime(g_dwWorkTime);
        DrawFpsOverlay(g_SystemIni.nShowFps, g_nMeasuredFps, (int)g_dwWorkAverage);
    }
    PresentFrame();
    return 1;
}

unsigned GameLoop(void*) {
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 1;
            continue;  // the start message and anything else is dropped
        }
        if (!g_bAppActive) {
            Sleep(1);
            continue;
        }
        if (!GameFrame()) {
            PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
            return 1;
        }
    }
}
