#include "frontend/stage_file_request.h"

#include "core/globals.h"
#include "core/requests.h"

bool RequestLoadStageFile() {
    g_bFileDialogDone = 0;
    g_nFileDialogSuccess = 0;
    SendMessageA(g_hMainWnd.load(), WM_REQ_LOADSTAGE, 0, 0);
    return WaitRequestDone(g_bFileDialogDone) && g_nFileDialogSuccess.load() != 0;
}
