// The process entry: report, single instance, main window, start-up, the game thread and the
// window thread's message pump.
#include <cstring>

#include "core/format.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "app/init_game.h"
#include "app/main_window.h"
#include "core/report.h"
#include "app/system_report.h"
#include "core/thread.h"
#include "app/game_loop.h"

namespace {

const char* const kSecondStartText = "既に起動しています。\n実行中のプログラムを閉じて再起動しますか？\n\nRunning this program now. Restart?";
const char* const kSecondStartCaption = "二重起動";
const char* const kEndFailedText = "プログラムの終了に失敗しました。";
// How long a second start waits for the running copy to shut down.
const DWORD kEndWaitMs = 10000;

void CloseMutex(HANDLE m) {
    if (!m) return;
    ReleaseMutex(m);
    CloseHandle(m);
}

// A second start: asks, and on Yes has the running copy close through its own shut-down.
// false when this start must end.
bool SettleSingleInstance(HANDLE mutex) {
    if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
    if (MessageBoxA(nullptr, kSecondStartText, kSecondStartCaption, MB_YESNO) != IDYES) return false;
    HWND other = FindWindowA("Velmora4", nullptr);
    if (!other) return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(other, &pid);
    HANDLE process = pid ? OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid) : nullptr;
    if (!process) {
        MessageBoxA(nullptr, kEndFailedText, kSecondStartCaption, MB_OK);
        return false;
    }
    // Never killed: asked to close, and waited for.
    PostMessageA(other, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process, kEndWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!ended) {
        MessageBoxA(nullptr, kEndFailedText, kSecondStartCaption, MB_OK);
        return false;
    }
    (void)mutex;
    return true;
}

}  // namespace

int WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    g_hInstance = hInstance;
    InitLog(0, "EC_Game.txt");
    g_bEditor = nCmdShow == SW_SHOW ? 1 : 0;

    // The single instance is settled before the report is emptied, so a second start leaves the
    // running copy's report alone.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "ゲーム");
    if (!SettleSingleInstance(mutex)) {
        CloseMutex(mutex);
        return 0;
    }

    char report[MAX_PATH];
    CopyBounded(report, sizeof report, "Report_Game.txt");
    MakeFullPath(report);
    if (!OpenReport(report)) {
        CloseMutex(mutex);
        return 0;
    }
    WriteReport("App : ver %s", "754");
    WriteSystemInfo();

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    wc.lpfnWndProc = MainWndProcThunk;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(101));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszClassName = "Velmora4";
    if (!RegisterClassExA(&wc)) {
        CloseMutex(mutex);
        return 0;
    }

    const LONG style = (LONG)0x80CB0000;
    g_MainWindow.SetPlacement(640, 480, 100, 100, 640, 480, style, 0, 0, 0, 0, 0);
    HWND hwnd = CreateWindowExA(0, "Velmora4", "", (DWORD)style, 100, 100, g_MainWindow.m_nOuterW,
                                g_MainWindow.m_nOuterH, nullptr, nullptr, hInstance, nullptr);
    if (!hwnd) {
        MesBoxText("ウインドウが生成出来ません！");
        ReleaseMutex(mutex);
        return 0;
    }
    g_MainWindow.m_hWnd = hwnd;
    g_MainWindow.CentreOnDesktop();
    if (g_bEditor) NotifyEditorStarted(g_MainWindow);

    if (!InitGame(lpCmdLine, nCmdShow)) {
        UnInitGame();
        if (g_bEditor) NotifyEditor(g_MainWindow, 0);
        CloseMutex(mutex);
        return 0;
    }
    g_bInitialized = 1;

    if (!thGame.Start(GameLoop, nullptr, false)) {
        WriteReport("GameThread Create Err");
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }

    MSG msg{};
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            Sleep(1);
            continue;
        }
        if (!g_bAppActive) WaitMessage();
        Sleep(1);
    }

    UnInitGame();
    CloseMutex(mutex);
    return (int)msg.wParam;
}
