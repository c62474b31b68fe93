#include "app/init_game.h"

#include "app/checked.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/report.h"
#include "app/scene_manager.h"
#include "media/bgm.h"
#include "media/key_config.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "records/data_file.h"
#include "records/data_folder.h"
#include "records/data_paths.h"
#include "records/option_data.h"

bool InitGame(const char* cmdLine, int showCmd) {
    (void)cmdLine;
    HWND hwnd = g_MainWindow.m_hWnd;

    // 1. Timer resolution and the window thread's seed.
    timeBeginPeriod(1);
    crt::srand(timeGetTime());

    // 2. The data version every record file is written with; strings lose their carriage returns.
    g_nCurrentVersion = kDataVersion;
    g_bStripReturns = TRUE;

    // 4-5. "data\" (from "default\" when missing) and the fixed folders.
    if (!CreateDataFolder(hwnd)) {
        WriteReportLogBox("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。");
        return false;
    }
    CreateDataFolders();

    // 12. Scene manager: frame rate and fade step.
    g_SceneManager.m_nFrameRate = 60;
    g_SceneManager.m_nFadeStep = 10;

    // 13. Key repeat of every player: first after 18 frames, then every 6th.
    for (cPlayerInput& p : g_vecPlayerInput) p.SetRepeat(18, 6);

    // 17. Bind the main window object and publish the main window handle.
    g_MainWindow.Bind();
    g_hMainWnd = hwnd;

    // 23. Show the window.
    ShowWindow(hwnd, showCmd);

    // 29. Joystick button maps.
    for (cPlayerInput& p : g_vecPlayerInput) p.InitJoyButtonMap();

    // 30. Key configuration, or the defaults.
    if (!LoadKeyConfig(g_PathTable[PATH_KEY_CONFIG], &g_KeyConfig)) DefaultKeyConfig(&g_KeyConfig);

    // 31. Options (a missing file keeps the defaults).
    g_OptionData.LoadFile(g_PathTable[PATH_OPTION]);

    // 33. Music players when music is on.
    if (g_OptionData.m_bMusic) InitBgm();

    // 35. The sound device: 22050 Hz, 8 bits, one channel.
    if (!DS_Init(hwnd, 22050, 8, 1)) return false;
    return true;
}

void UnInitGame() {
    timeEndPeriod(1);
    DS_End();
    g_Bgm.Release();
    g_SceneManager.DestroyAll();
}
