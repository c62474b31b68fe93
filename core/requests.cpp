#include "core/requests.h"

#include "core/globals.h"
#include "platform/win32/threads.h"

std::atomic<int> g_bNameEntryDone{0};
std::atomic<int> g_bFileDialogDone{0};
std::atomic<int> g_nFileDialogSuccess{0};

bool WaitRequestDone(const std::atomic<int>& done) {
    while (!done.load()) {
        if (!g_hMainWnd.load() || ThreadStopRequested()) return false;
        MSG m;
        if (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;
        Sleep(1);
    }
    return true;
}
