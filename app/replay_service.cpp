// WM_USER+3 and WM_USER+4: loading and saving replays through the file dialogs.
#include "app/replay_service.h"

#include "app/file_dialog.h"
#include "app/main_window.h"
#include "core/report.h"
#include "media/primitives.h"
#include "records/replay.h"
#include "records/replay_requests.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

void Answer(int success) {
    g_nFileDialogSuccess = success;
    g_bFileDialogDone = 1;
}

}  // namespace

void ServeLoadReplayRequest(HWND owner) {
    char path[MAX_PATH] = {};
    DDMesBoxPrepare(1);
    BOOL chosen = ChooseReplayFile(owner, path);
    DDMesBoxPrepare(0);
    if (!chosen) {
        Answer(0);
        return;
    }
    if (!g_Replay.LoadFile(path, g_LoadedStage, g_StageSettings, g_SaveData)) {
        MesBoxF("リプレイファイル %s の読み込みに失敗しました！", path);
        Answer(0);
        return;
    }
    g_LoadedStage.m_strFilePath = path;
    Answer(1);
}

void ServeSaveReplayRequest(WPARAM which) {
    char path[MAX_PATH] = {};
    if (!SaveReplayDialog(path, g_SaveData.m_strStageName.c_str())) {
        Answer(0);
        return;
    }
    cReplay& replay = which == 0 ? g_Replay : g_ReplayPrev;
    cSaveData& snapshot = which == 0 ? g_SaveDataAttempt : g_SaveDataPrevAttempt;
    if (!replay.WriteFile(path, g_LoadedStage, g_StageSettings, snapshot)) {
        MesBoxF("リプレイファイル %s の保存に失敗しました！", path);
        Answer(0);
        return;
    }
    Answer(1);
}
