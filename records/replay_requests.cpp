// The replay save keys, the proposed file name and the load request of the title menu.
#include "records/replay_requests.h"

#include <cstring>

#include "app/file_dialog.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/requests.h"
#include "app/scene_manager.h"
#include "media/primitives.h"
#include "records/replay.h"
#include "records/system_data.h"

int g_nReplaySaveCoolDown = 0;

namespace {

constexpr int kSaveCoolDownFrames = 60;
constexpr int kDigitCount = 9;       // the proposal's digits run 0-8

void PlaySystemSound(int n) { SendMessageA(g_hMainWnd.load(), WM_REQ_SOUND, (WPARAM)n, 0); }

}  // namespace

void ProposeReplayFileName(char* path, const char* stageName) {
    path[0] = 0;
    if (!stageName || !*stageName) return;
    const std::string ext = ReplayExtension();
    char name[MAX_PATH];
    ChangeExtension(name, stageName, ext.c_str());  // a name without a dot stays as it is
    GetFileNameOnly(name);
    char base[MAX_PATH];
    FormatBounded(base, sizeof base, "user_data\\rpl4\\%s", name);
    char candidate[MAX_PATH];
    CopyBounded(candidate, sizeof candidate, base);
    bool found = false;
    for (int i = 0; i < kDigitCount && !found; ++i) {
        for (int j = 0; j < kDigitCount && !found; ++j) {
            if (!MakeNumberedFileName(candidate, base, i, j)) {
                found = true;  // no extension to number: the name is proposed as it is
                break;
            }
            found = GetFileAttributesA(candidate) == INVALID_FILE_ATTRIBUTES;
        }
    }
    // When all 81 exist, candidate holds the last one tried (_88).
    GetFileNameOnly(candidate);
    CopyBounded(path, MAX_PATH, candidate);
}

bool SaveReplayDialog(char* path, const char* stageName) {
    ProposeReplayFileName(path, stageName);
    DDMesBoxPrepare(1);
    BOOL chosen = ChooseReplaySaveFile(GetActiveWindow(), path);
    DDMesBoxPrepare(0);
    return chosen != 0;
}

uint32_t ReplaySaveKeyCheck() {
    if (g_SceneManager.m_nPlayMode == START_MODE_REPLAY || !g_SystemData.m_bReplay) return 0;
    if (g_nReplaySaveCoolDown > 0) --g_nReplaySaveCoolDown;
    WPARAM which;
    if (GetAsyncKeyState(VK_F1) & 0x8000) which = 0;
    else if (GetAsyncKeyState(VK_F2) & 0x8000) which = 1;
    else return 0;
    const cReplay& target = which == 0 ? g_Replay : g_ReplayPrev;
    if (target.IsEmpty()) {
        if (g_nReplaySaveCoolDown > 0) return 0;
        PlaySystemSound(3);
        g_nReplaySaveCoolDown = kSaveCoolDownFrames;
        return 0;
    }
    PlaySystemSound(1);
    g_bFileDialogDone = 0;
    SendMessageA(g_hMainWnd.load(), WM_REQ_SAVEREPLAY, which, 0);
    WaitRequestDone(g_bFileDialogDone);
    return 1;
}

bool RequestLoadReplay() {
    g_bFileDialogDone = 0;
    g_nFileDialogSuccess = 0;
    SendMessageA(g_hMainWnd.load(), WM_REQ_LOADREPLAY, 0, 0);
    return WaitRequestDone(g_bFileDialogDone) && g_nFileDialogSuccess.load() != 0;
}
