// The menu scenes' test fixture: a generated game folder with the title's bitmaps, the drawing
// device open in one back end, the game fonts, and a main window whose procedure records the
// sound and music requests and serves the stage-file request. Frames run as the game thread
// runs them: the manager switches scenes, then the current scene runs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "app/main_window.h"
#include "app/pulse_colours.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "app/stage_file_service.h"
#include "frontend/menu_scene.h"
#include "media/asset_table.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "platform/d3d9/testing.h"
#include "platform/ddraw/testing.h"
#include "platform/host/host.h"
#include "platform/host/script.h"
#include "platform/win32/files.h"
#include "records/database.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "records/world_map.h"
#include "tests/platform/drawing_support.h"
#include "tools/game/minimal_game.h"

namespace scenetest {

// A request the main window received: the message and its wParam.
struct REQUEST {
    UINT msg;
    WPARAM wParam;
    bool operator==(const REQUEST& o) const { return msg == o.msg && wParam == o.wParam; }
};
inline std::ostream& operator<<(std::ostream& o, const REQUEST& r) {
    return o << (r.msg == WM_REQ_SOUND ? "sound " : r.msg == WM_REQ_MUSIC ? "music " : "msg ") << r.wParam;
}

inline std::vector<REQUEST>& Requests() {
    static std::vector<REQUEST> requests;
    return requests;
}
// How the window answers a replay request: 1 loaded, 0 cancelled.
inline int& ReplayAnswer() {
    static int answer = 0;
    return answer;
}

inline LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_REQ_SOUND:
    case WM_REQ_MUSIC:
        Requests().push_back({m, w});
        return 0;
    case WM_REQ_LOADSTAGE:
        Requests().push_back({m, w});
        ServeLoadStageRequest(h);
        return 0;
    case WM_REQ_LOADREPLAY:
        Requests().push_back({m, w});
        g_nFileDialogSuccess = ReplayAnswer();
        g_bFileDialogDone = 1;
        return 0;
    default:
        return DefWindowProcA(h, m, w, l);
    }
}

class SceneFixture : public testing::Test {
protected:
    void SetUp() override {
        host::Init();
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string tag = info->name();
        std::replace(tag.begin(), tag.end(), '/', '_');  // parameterised names carry a slash
        folder = std::make_unique<cGameFolder>(std::string(VELMORA_BINARY_DIR) + "/tmp/frontend", tag);
        folder->MakeLayout();
        ASSERT_TRUE(WriteMinimalGame(*folder));
        folder->MakeFolder("user_data\\story");
        folder->MakeFolder("user_data\\challenge");
        folder->Enter();
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = RecordingProc;
            wc.lpszClassName = "SceneTestMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        RECT r{0, 0, 640, 480};
        AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
        hwnd = CreateWindowExA(0, "SceneTestMain", "scene test", WS_OVERLAPPEDWINDOW, 100, 100, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        g_hMainWnd = hwnd;
        ASSERT_EQ(OpenReport((WindowsPathFromHost(folder->Root()) + "\\Report_Game.txt").c_str()), 1);
        Requests().clear();
        ReplayAnswer() = 0;
        ResetGlobals();
    }
    void TearDown() override {
        g_SceneManager.DestroyAll();
        // Fades left half-way start afresh in the next test.
        DrawWaveFadeIn(nullptr, 0, 255, 0, 0, 0, 10.0, nullptr, 1);
        DrawWaveFadeOut(nullptr, 0, 255, 0, 0, 0, 10.0, nullptr, 1);
        if (opened) {
            ReleaseGameFonts();
            ReleaseDigitSheets();
            for (DDSURFACEDATA& rec : g_SurfaceData) DDReleaseSurface(&rec);
            DDEnd();
        }
        host::script::Reset();
        g_hMainWnd = nullptr;
        DestroyWindow(hwnd);
        d3d9::ResetTesting();
        ddraw::ResetTesting();
        ResetGlobals();
        folder->Leave();
        folder.reset();
    }
    static void ResetGlobals() {
        g_SceneManager.DestroyAll();
        g_SceneManager = cSceneManager();
        g_SceneManager.m_nFrameRate = 60;
        g_SceneManager.m_nFadeStep = 10;
        g_SystemData.SetDefaults();
        g_SystemData.m_bTitleMenuCentred = 0;  // text form unless a test asks for pictures
        InitFontSettings();
        ResetSystemIni(g_SystemIni, g_SystemData.m_vecIniKeys);
        g_WorldMap = cWorldMap();
        g_SaveData = cSaveData();
        g_SaveSlotList = cSaveSlotList();
        g_LoadedStage = cStage();
        g_StageSettings = cStage();
        ResetMenuCursor();
        g_vecPlayerInput.assign(1, g_PlayerInputProto);
        for (cPlayerInput& p : g_vecPlayerInput) p.SetRepeat(18, 6);
        g_bStageFileStart = 0;
    }
    // The drawing device (DirectDraw in a window unless asked otherwise) with palette, key and fonts.
    void Open(int d3d = 0, int bpp = 32) {
        std::memset(g_SurfaceData, 0, sizeof g_SurfaceData);
        LinkSurfaceSlots();
        ASSERT_TRUE(DDInit(d3d, hwnd, 640, 480, bpp, 0, 1, 1, 60, 0, g_SurfaceData, g_SurfaceFiles, kSurfaceSlotCount));
        ASSERT_EQ(DDLoadPaletteFromFile(g_EnginePalette, g_SurfaceFiles[0].szPath), 1);
        std::memcpy(g_WorkPalette, g_EnginePalette, sizeof g_WorkPalette);
        ASSERT_TRUE(DDSetTransmitFromFile(&g_SurfaceFiles[0]));
        opened = true;
        ASSERT_TRUE(InitGameFonts());
    }
    // One frame of the game thread with player 1 holding these direction and button bits.
    void Frame(WORD keys = 0, WORD buttons = 0) {
        cPlayerInput& in = g_vecPlayerInput[0];
        in.m_wKey = keys;
        in.m_wButton = buttons;
        g_SceneManager.Switch(g_SceneManager.m_nCurrent);
        if (cScene* s = g_SceneManager.Current()) s->Run();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // A key or button pressed for one frame, then released for one.
    void Tap(WORD keys, WORD buttons = 0) {
        Frame(keys, buttons);
        Frame();
    }
    cScene* Current() { return g_SceneManager.Current(); }
    // Whether a WM_CLOSE waits in this thread's queue (taken out).
    bool ClosePosted() {
        MSG m;
        bool found = false;
        while (PeekMessageA(&m, hwnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) found = true;
        return found;
    }
    std::vector<REQUEST> Taken() {
        std::vector<REQUEST> r = Requests();
        Requests().clear();
        return r;
    }
    raster::Surface* BackPixels() {
        if (g_lpDDDevice) return d3d9::SurfacePixels(g_BackBufferSD.lpDT->lpSurface);
        return ddraw::SurfacePixels(g_BackBufferSD.lpDD->lpSurface);
    }
    std::string Report() const { return testsupport_ReadFile(folder->Root() + "/Report_Game.txt"); }
    static std::string testsupport_ReadFile(const std::string& path) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) return "";
        std::string s;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
        return s;
    }

    std::unique_ptr<cGameFolder> folder;
    HWND hwnd = nullptr;
    bool opened = false;
};

}  // namespace scenetest
