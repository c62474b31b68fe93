#include "app/main_window.h"

#include <cstring>

#include "core/globals.h"
#include "core/thread.h"
#include "app/window_record.h"
#include "app/name_entry_request.h"
#include "app/replay_service.h"
#include "records/option_data.h"
#include "records/system_ini.h"
#include "play/play_scene.h"
#include "app/scene_manager.h"
#include "app/stage_file_service.h"
#include "media/bgm.h"
#include "media/draw_device.h"
#include "media/restore.h"
#include "media/music_request.h"
#include "media/sound.h"

cMainWindow g_MainWindow;

RECT g_rcClientScreen{0, 0, 0, 0};

cMainWindow::cMainWindow() {}

cMainWindow::~cMainWindow() {}

LRESULT cMainWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return MainWndProc(hwnd, msg, wParam, lParam);
}

LRESULT cMainWindow::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = cWindow::OnMessage(hwnd, msg, wParam, lParam);
    if (msg == WM_CREATE) OnCreate(wParam, lParam);
    return r;
}

void cMainWindow::Bind() {
    m_nResourceId = 0;
    m_hParentWnd = nullptr;
    m_hInstance = g_hInstance;
    m_lpDlgProc = (void*)&MainWndProcThunk;
}

LRESULT MainWndProcThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_MainWindow.WndProc(hwnd, msg, wParam, lParam);
}

static LRESULT CopyDataToEditor(cWindow& window, ULONG_PTR dwData, int32_t value) {
    HWND editor = FindWindowA("Velmora4_Editor", "ヴェルモラ4");
    COPYDATASTRUCT cds{dwData, 4, &value};
    return SendMessageA(editor, WM_COPYDATA, (WPARAM)window.m_hWnd, (LPARAM)&cds);
}

LRESULT NotifyEditorStarted(cWindow& window) { return CopyDataToEditor(window, 1, 1); }

LRESULT NotifyEditor(cWindow& window, int32_t code) { return CopyDataToEditor(window, 0, code); }

// Shut-down on WM_CLOSE: the window record, then the threads in order, then the window.
static LRESULT OnClose(HWND hwnd) {
    SaveWindowRecordOnClose(hwnd, g_SystemIni.nWindowMode);
    // Play is told first, whatever follows: a pause loop that the game thread is starting just
    // now (a message window, a wait) then returns at once or stops drawing, instead of drawing
    // on while the threads and surfaces below are let go.
    if (g_lpPlayScene) g_lpPlayScene->m_bQuit = 1;
    if (thPause.IsRunning()) {
        // The pause loop ends first; the play scene then posts WM_CLOSE again.
        PostThreadMessageA(thPause.ThreadId(), WM_QUIT, 0, 0);
        return 0;
    }
    g_Bgm.Stop();
    thStageLoad.Exit();
    thPause.Exit();
    thRanking.Exit();
    thGame.Exit();
    DestroyWindow(hwnd);
    return 0;
}

LRESULT MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_MainWindow.GetCursorClientPos(0, 7);
    g_MainWindow.m_hWnd = hwnd;
    switch (msg) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        g_MainWindow.m_hWnd = nullptr;
        g_hMainWnd = nullptr;
        if (g_bEditor) NotifyEditor(g_MainWindow, 1);
        PostQuitMessage(0);
        return 0;
    case WM_MOVE: {
        RECT r;
        GetClientRect(hwnd, &r);
        POINT tl{r.left, r.top}, br{r.right, r.bottom};
        ClientToScreen(hwnd, &tl);
        ClientToScreen(hwnd, &br);
        g_rcClientScreen = RECT{tl.x, tl.y, br.x, br.y};
        g_MainWindow.m_nScreenX = tl.x - g_MainWindow.m_nFrameLeft;
        g_MainWindow.m_nScreenY = tl.y - g_MainWindow.m_nFrameTop;
        return 0;
    }
    case WM_SIZE:
        g_MainWindow.RefreshFrame();
        return 0;
    case WM_PAINT:
        if (!g_lpDDDevice && g_bInitialized && g_PrimarySD.lpDD && g_PrimarySD.lpDD->lpSurface) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            DDPresentDirectDraw(g_rcClientScreen, 1, 0);
            EndPaint(hwnd, &ps);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CLOSE:
        return OnClose(hwnd);
    case WM_ACTIVATEAPP:
        // A full-screen Direct3D device is reset when the program becomes active again.
        if (!g_bAppActive && wParam && g_lpDDDevice && !g_bDDWindowMode) SendMessageA(hwnd, WM_REQ_RESETDEVICE, 0, 0);
        g_bAppActive = (int)wParam;
        return 0;
    case WM_GETMINMAXINFO:
        if (!g_lpDDDevice && g_bDDInitialized) {
            g_MainWindow.FillMinMaxInfo((MINMAXINFO*)lParam);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
        // The engine's palette goes back onto the primary surface (not for our own change).
        if (msg == WM_PALETTECHANGED && (HWND)wParam == hwnd) return 0;
        if (!g_lpDDDevice && g_lpDDPalette && g_PrimarySD.lpDD && g_PrimarySD.lpDD->lpSurface)
            g_PrimarySD.lpDD->lpSurface->SetPalette(g_lpDDPalette);
        return 0;
    case WM_COMMAND:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        return 0;
    case WM_REQ_NAMEENTRY:
        // The option scene edits the stored ranking name; play enters the name of a new entry.
        if (g_SceneManager.m_nCurrent == SCENE_OPTION || !g_lpPlayScene)
            return ServeNameEntryRequest(&g_OptionData.m_strRankingName);
        return ServeNameEntryRequest(&g_lpPlayScene->m_strRankingName);
    case WM_REQ_LOADREPLAY:
        ServeLoadReplayRequest(hwnd);
        return 0;
    case WM_REQ_SAVEREPLAY:
        ServeSaveReplayRequest(wParam);
        return 0;
    case WM_REQ_LOADSTAGE:
        ServeLoadStageRequest(hwnd);
        return 0;
    case WM_REQ_SOUND:
        ServeSoundRequest(wParam);
        return 0;
    case WM_REQ_MUSIC:
        if (wParam == MUSIC_REQ_SWITCH) return ServeMusicSwitch(lParam);
        ServeMusicRequest(wParam, lParam);
        return 0;
    case WM_REQ_RESETDEVICE:
        DDRestoreSurface();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
