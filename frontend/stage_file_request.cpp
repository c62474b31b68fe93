#include "frontend/stage_file_request.h"

#include "app/globals.h"
#include "app/main_window.h"

bool RequestLoadStageFile() {
    g_bFileDialogDone = 0;
    g_nFileDialogSuccess = 0;
    SendMessageA(g_hMainWnd.load(), WM_REQ_LOADSTAGE, 0, 0);
    // The window thread answers before the send returns; the wait also ends when there is no
    // main window left to answer.
    while (!g_bFileDialogDone.load()) {
        if (!g_hMainWnd.load()) return false;
        Sleep(1);
    }
    return g_nFileDialogSuccess.load() != 0;
}
