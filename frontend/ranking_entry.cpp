// The ranking registration and the ranking view loop.
#include "frontend/ranking_entry.h"

#include "core/checked.h"
#include "app/game_loop.h"
#include "core/globals.h"
#include "core/requests.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "core/thread.h"
#include "media/draw_device.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "play/play_scene.h"
#include "records/option_data.h"
#include "records/save_data.h"
#include "records/system_records.h"

namespace {

constexpr DWORD kSeRegistered = 16;
constexpr DWORD kSeSwitchTable = 6;
constexpr WORD kButton1 = 1, kButton4 = 8;

}  // namespace

void RegisterRankingEntry(cPlayScene& scene, RANKINGRESULT& result, RANKINGBACKDROPFUNC backdrop) {
    if (!g_SceneManager.m_bModeRanking || !result.bPlaceReached || result.bRegistered) return;

    // The name: the stored one, or the play data's name edited in the name-entry dialog.
    if (g_OptionData.m_nRankingMode == 1 || g_OptionData.m_nRankingMode == 3) {
        scene.m_strRankingName = g_OptionData.m_strRankingName;
    } else {
        scene.m_strRankingName = g_SaveData.m_strPlayerName;
        g_bNameEntryDone = 0;
        SendMessageA(g_hMainWnd.load(), WM_REQ_NAMEENTRY, 0, 0);
        // A program that is ending answers no more: nothing is entered then.
        if (!WaitRequestDone(g_bNameEntryDone)) return;
        g_SaveData.m_strPlayerName = scene.m_strRankingName;
    }

    PlaySystemSe(kSeRegistered);
    for (int k = 0; k < kRankingKinds && (size_t)k < g_RankingHolder.m_vecTables.size(); ++k)
        if (result.anPlaces[k] != -1)
            g_RankingHolder.m_vecTables[(size_t)k].Add(scene.m_strRankingName.c_str(), result.anValues[k]);
    const int mode = g_SceneManager.m_nGameMode;
    if (!SaveRanking(g_RankingHolder, mode, g_SaveData.m_strStageName.c_str())) {
        std::string path;
        MakeRankingPath(path, mode, g_SaveData.m_strStageName.c_str());
        WriteReport("%s : ranking not saved", path.c_str());
    }
    result.bRegistered = 1;

    RANKINGVIEW view{&scene, &result, backdrop};
    if (thRanking.Start(RankingViewLoop, &view, true)) thRanking.Wait();
}

unsigned RankingViewLoop(void* param) {
    const RANKINGVIEW& view = *static_cast<const RANKINGVIEW*>(param);
    const int mode = g_SceneManager.m_nGameMode;
    g_SaveData.StepRankingTable(mode, 0);
    // Buttons held when the view opens count as already pressed.
    WORD held = kButton1 | kButton4;
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            continue;
        }
        if (!g_bAppActive) {
            Sleep(1);
            continue;
        }
        WaitFrame();
        if (!RestoreSurfaces()) PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        PollPlayerInput();
        cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
        in.UpdateRepeat();
        const WORD pressed = (WORD)(in.m_wButton & ~held);
        held = in.m_wButton;
        if (pressed & kButton1) {
            PlaySystemSe(SE_DECIDE);
            break;
        }
        if ((pressed & kButton4) && CountListFlags(mode) >= 2) {
            PlaySystemSe(kSeSwitchTable);
            g_SaveData.StepRankingTable(mode, 1);
        }

        if (view.pfnBackdrop)
            view.pfnBackdrop(view.lpScene);
        else
            DDFillSurface(&g_BackBufferSD, 16);
        const int kind = g_SaveData.m_nRankingTable;
        const int place = kind >= 0 && kind < kRankingKinds ? view.lpResult->anPlaces[kind] : -1;
        g_RankingHolder.DrawTable(&g_BackBufferSD, kRankingViewX, kRankingViewY, kind, place);
        PresentFrame();
    }
    return 1;
}
