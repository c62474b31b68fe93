#include "play/pause_loop.h"

#include <cstdint>
#include <vector>

#include "app/game_loop.h"
#include "core/globals.h"
#include "core/report.h"
#include "app/system_se.h"
#include "core/thread.h"
#include "media/key_config.h"
#include "media/player_input.h"
#include "play/play_scene.h"
#include "platform/win32/win32.h"
#include "records/replay_requests.h"

namespace {

// How long a pass waits for WM_QUIT after the window thread set the quit flag.
constexpr DWORD kQuitGraceMs = 2000;
constexpr DWORD kSeDecide = 1;
constexpr DWORD kSeMessageEnd = 12;
constexpr int kModeMessage = 1;

// Player 1's keys into an input entry, as the frame driver polls them.
void PollInto(cPlayerInput& in) {
    if (g_KeyConfig.dwUseConfig)
        in.Poll(1, 60);
    else
        in.PollFixed(0, 3, 60);
}

}  // namespace

unsigned PauseLoop(void* param) {
    cPlayScene* scene = static_cast<cPlayScene*>(param);
    if (!scene || scene->m_bQuit) return 0;
    // The loop reads its own copy of the input, so play finds its input as it left it.
    std::vector<cPlayerInput> input = g_vecPlayerInput;
    if (input.empty()) input.push_back(g_PlayerInputProto);
    cPlayerInput& in = input[0];
    in.ClearHistory();
    in.ResetInputHistories();
    in.Reset();
    in.ClearButtons();
    WAITREQUEST& req = scene->m_WaitRequest;
    bool quitSeen = false;
    DWORD quitAt = 0;
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            continue;
        }
        if (!g_bAppActive) {
            Sleep(1);
            continue;
        }
        if (scene->m_bQuit) {
            // The window is closing: its WM_QUIT ends the loop; should it not come, the loop
            // asks itself after a grace time (a real-time bound: nothing paces this pass).
            if (!quitSeen) {
                quitSeen = true;
                quitAt = RealTimeMs();
            }
            if (RealTimeMs() - quitAt >= kQuitGraceMs) PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
            Sleep(1);
            continue;
        }
        WaitFrame();
        if (!RestoreSurfaces()) PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        PollInto(in);
        in.PushHistory();
        in.UpdateRepeat();
        if (ReplaySaveKeyCheck()) continue;
        if (req.nKeyDelay > 0) {
            --req.nKeyDelay;
        } else if (req.bWaitKey) {
            // A new press: button 1 down now and up one frame back.
            if ((in.m_wButton & 1) && !(in.GetHistory(1, 1) & 1)) {
                PlaySystemSe(req.nMode == kModeMessage ? kSeMessageEnd : kSeDecide);
                scene->m_bSwallowButtons = 1;
                break;
            }
        } else {
            if (req.nFrames > INT32_MIN) --req.nFrames;
            if (req.nFrames < 0) break;
        }
        scene->Draw(0, 1, 0, 1);
        PresentFrame();
    }
    return 1;
}

int RunPauseLoop(cPlayScene* scene) {
    const int started = thPause.Start(PauseLoop, scene, true);
    // Also releases a thread that ended before the start handshake (a loop asked for while the
    // program is closing returns at once), so the pause thread never looks alive when it is not.
    thPause.Wait();
    if (!started && !(scene && scene->m_bQuit))
        WriteReport("PauseLoop Err : the pause thread could not be started");
    return started;
}
