#include "app/stage_file_service.h"

#include <cstring>
#include <strings.h>

#include "app/file_dialog.h"
#include "core/helpers.h"
#include "app/main_window.h"
#include "core/report.h"
#include "frontend/play_start.h"
#include "media/primitives.h"

namespace {

void Answer(int success) {
    g_nFileDialogSuccess = success;
    g_bFileDialogDone = 1;
}

// Replay files carry the extension "rpl4_" and the data version.
bool IsReplayFile(const char* path) {
    char ext[MAX_PATH];
    if (!GetExtension(ext, path)) return false;
    return strncasecmp(ext, "rpl4_", 5) == 0;
}

}  // namespace

void ServeLoadStageRequest(HWND owner) {
    char path[MAX_PATH] = {};
    DDMesBoxPrepare(1);
    BOOL chosen = ChooseStageFile(owner, path);
    DDMesBoxPrepare(0);
    if (!chosen) {
        Answer(0);
        return;
    }
    if (IsReplayFile(path)) {
        MesBoxF("ステージファイル %s の読み込みに失敗しました！", path);
        Answer(0);
        return;
    }
    Answer(StartFromStageFile(path, FALSE) ? 1 : 0);
}
