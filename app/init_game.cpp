#include "app/init_game.h"

#include <cstdlib>
#include <cstring>

#include "core/checked.h"
#include "core/format.h"
#include "core/globals.h"
#include "app/main_window.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "app/screen_mode.h"
#include "app/startup_dialog.h"
#include "app/system_report.h"
#include "app/window_record.h"
#include "media/asset_table.h"
#include "platform/gdi/gdi.h"
#include "media/bgm.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "app/pulse_colours.h"
#include "app/hook.h"
#include "media/surface.h"
#include "media/key_config.h"
#include "media/music_request.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "platform/host/host.h"
#include "records/data_file.h"
#include "records/data_folder.h"
#include "records/data_paths.h"
#include "records/database.h"
#include "records/option_data.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "records/world_map.h"
#include "records/common_palette.h"
#include "core/helpers.h"
#include "frontend/play_start.h"
#include "flow/command_param_table.h"

// The screen mode chosen at start-up (window flag, vertical sync, colour depth).
SCREENMODE g_ScreenMode{};
int g_bPresentByBlit = 1;

static int DesktopDepth(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    int depth = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(hwnd, dc);
    return depth;
}

// Steps 20-21: the drawing device, Direct3D first when chosen, DirectDraw when that fails.
static bool StartDrawingDevice(HWND hwnd, int showCmd) {
    static bool cleanupRegistered = false;
    if (!cleanupRegistered) {
        std::atexit(DDExitCleanup);
        cleanupRegistered = true;
    }
    auto init = [&](int d3d) {
        return DDInit(d3d, hwnd, 640, 480, g_ScreenMode.nBpp, g_ScreenMode.nVSync != 0, g_ScreenMode.bWindow, 1, 60,
                      g_ScreenMode.nVSync != 0, g_SurfaceData, g_SurfaceFiles, kSurfaceSlotCount);
    };
    if (!init(g_SystemIni.nDirect3D)) {
        if (!g_SystemIni.nDirect3D) return false;
        DDEnd();
        g_SystemIni.nDirect3D = 0;
        ShowWindow(hwnd, g_ScreenMode.bWindow ? showCmd : SW_SHOWMAXIMIZED);
        if (!init(0)) return false;
    }
    if (g_lpDDDevice) {
        g_lpDDDevice->strMessage =
            "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\nSystem.iniファイルで"
            "「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。";
        LinkSurfaceSlots();
    }
    return true;
}

// Step 25: the engine palette and the transparent colour from the first bitmap asset.
static bool SetPaletteAndTransparentColour() {
    if (!g_lpDDDevice && !g_lpDDPalette) return true;
    if (!DDLoadPaletteFromFile(g_EnginePalette, g_SurfaceFiles[0].szPath)) return false;
    std::memcpy(g_WorkPalette, g_EnginePalette, sizeof g_WorkPalette);
    if (!g_SystemData.m_bRgbColourKey) return DDSetTransmitFromFile(&g_SurfaceFiles[0]);
    if (g_ScreenMode.nBpp == 16) {
        if (!DDSetTransmitFromFile(&g_SurfaceFiles[0])) return false;
        if (g_lpDDDevice) {
            g_lpDDDevice->byTrans[0] = g_SystemData.m_byKeyBlue;
            g_lpDDDevice->byTrans[1] = g_SystemData.m_byKeyGreen;
            g_lpDDDevice->byTrans[2] = g_SystemData.m_byKeyRed;
        } else if (g_lpDDContext) {
            g_lpDDContext->byTrans[0] = g_SystemData.m_byKeyBlue;
            g_lpDDContext->byTrans[1] = g_SystemData.m_byKeyGreen;
            g_lpDDContext->byTrans[2] = g_SystemData.m_byKeyRed;
        }
        return true;
    }
    DDSetTransmit(g_SystemData.m_byKeyRed, g_SystemData.m_byKeyGreen, g_SystemData.m_byKeyBlue);
    return true;
}

// The music request reads the menu tunes and the music table through these.
static void ConnectMusicData() {
    MUSICDATA data;
    data.fnMenuTune = [](int slot) { return (int)CheckedAt(g_SystemData.m_vecMenuTunes, slot); };
    data.fnMenuTuneLoop = [](int slot) { return (int)CheckedAt(g_SystemData.m_vecMenuTuneLoop, slot); };
    data.fnBgmFile = [](int n) { return CheckedAt(g_Database.m_vecBgm, n).m_strFile.c_str(); };
    SetMusicData(data);
}

bool InitGame(const char* cmdLine, int showCmd) {
    HWND hwnd = g_MainWindow.m_hWnd;

    // 1. Timer resolution and the window thread's seed.
    timeBeginPeriod(1);
    crt::srand(timeGetTime());

    // 2. The data version every record file is written with; strings lose their carriage returns.
    g_nCurrentVersion = kDataVersion;
    g_bStripReturns = TRUE;

    // 3. The table of command parameters that flows drive from variables.
    BuildCommandParamTable();

    // 4-5. "data\" (from "default\" when missing) and the fixed folders.
    if (!CreateDataFolder(hwnd)) {
        WriteReportLogBox("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。");
        return false;
    }
    CreateDataFolders();

    // 6-7. The project database, its reversed effect tables and lookups.
    if (!g_Database.LoadAll()) {
        WriteReportLogBox("データベースの読み込みに失敗…");
        return false;
    }
    g_Database.CopyReversedTables();
    g_Database.BuildIndex1(AnimeFrameTable);
    g_Database.BuildIndex2(EffectFrameTable);
    g_Database.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
    g_Database.BuildIndex4(ScrEffectStates, ScrEffectStatesReversed);

    // 8. The system settings.
    if (!g_SystemData.LoadFile(g_PathTable[PATH_SYSTEM])) {
        WriteReportLogBox("%s の読み込みに失敗…", g_PathTable[PATH_SYSTEM]);
        return false;
    }
    ConnectMusicData();

    // 9. System.ini (a failure goes on with the defaults).
    ResetSystemIni(g_SystemIni, g_SystemData.m_vecIniKeys);
    if (!ReadSystemIni("System.ini", g_SystemIni, g_SystemData.m_vecIniKeys)) {
        WriteReportLogBox("System.ini の読み込みに失敗しました！");
        ResetSystemIni(g_SystemIni, g_SystemData.m_vecIniKeys);
    }

    // 10. The start-up dialog when "Direct3D" asks for it (Cancel ends the program).
    if (!RunStartupDialogStep()) return false;

    // 11. A command line names the stage to play.
    if (cmdLine && *cmdLine) CopyBounded(g_SystemIni.szFreeStage, sizeof g_SystemIni.szFreeStage, cmdLine);

    // 12. Scene manager: frame rate and fade step.
    g_SceneManager.m_nFrameRate = 60;
    g_SceneManager.m_nFadeStep = 10;

    // 13. Key repeat of every player: first after 18 frames, then every 6th.
    for (cPlayerInput& p : g_vecPlayerInput) p.SetRepeat(18, 6);

    // 14. Screen mode.
    SCREENMODEINPUT in{};
    in.nDirect3D = g_SystemIni.nDirect3D;
    in.nWindowMode = g_SystemIni.nWindowMode;
    in.nBpp = g_SystemIni.nBpp;
    in.nVSync = g_SystemIni.nVSync;
    in.bRgbColourKey = (int)g_SystemData.m_bRgbColourKey;
    in.nDesktopDepth = DesktopDepth(hwnd);
    in.nD3DFullDepth = (int)g_SystemData.m_nD3DFullDepth;
    in.nDDFullDepth = (int)g_SystemData.m_nDDFullDepth;
    in.bVistaOrLater = IsOSVersionAtLeast(6, 0);
    int mode = ResolveScreenMode(in, &g_ScreenMode);
    if (mode != SCREENMODE_OK) {
        MesBoxF("%s", mode == SCREENMODE_REFUSED_WINDOW ? g_pszScreenModeRefusedWindow : g_pszScreenModeRefused);
        return false;
    }
    g_SystemIni.nBpp = g_ScreenMode.nBpp;
    g_SystemIni.nVSync = g_ScreenMode.nVSync;

    // 15. A sizeable window for Direct3D with "WindowMode" 2.
    if (g_SystemIni.nDirect3D && g_SystemIni.nWindowMode == 2) g_MainWindow.AddStyle(WS_THICKFRAME);

    // 16-18. Common controls, the main window object and its title.
    InitCommonControls();
    g_MainWindow.Bind();
    g_hMainWnd = hwnd;
    SetWindowTextA(hwnd, g_SystemData.m_strTitle.c_str());

    // 19. No stretching by the video card at 8 bits per pixel.
    if (g_ScreenMode.nBpp == 8) g_SystemIni.nDDVideoStretch = 0;

    // 20-21. The drawing device.
    if (!StartDrawingDevice(hwnd, showCmd)) return false;

    // 22-23. The window record, then show the window.
    showCmd = RestoreWindowRecord(g_SystemIni.nWindowMode, g_SystemIni.nDirect3D != 0, showCmd);
    if (g_lpDDDevice || g_ScreenMode.bWindow) ShowWindow(hwnd, showCmd);
    else ShowWindow(hwnd, SW_SHOWMAXIMIZED);

    // 24. The display report.
    WriteDisplayInfo(1);

    // 25. Palette and transparent colour.
    if (!SetPaletteAndTransparentColour()) return false;

    // 26. DirectDraw flips only in full screen with vertical sync at a refresh of 60 or more.
    g_bPresentByBlit = !(!g_lpDDDevice && !g_ScreenMode.bWindow && g_ScreenMode.nVSync &&
                         DDGetMonitorFrequency() >= 60);

    // 27. The debug bitmap slot; every scene loads the slots it needs itself.
    const int debugSlot[] = {1};
    if (!DDReloadSurfaces(g_SurfaceData, debugSlot, 1)) return false;

    // 28. The three fonts and their digit sheets.
    if (!InitGameFonts()) return false;

    // 29. Joystick button maps.
    for (cPlayerInput& p : g_vecPlayerInput) p.InitJoyButtonMap();

    // 30. Key configuration, or the defaults.
    if (!LoadKeyConfig(g_PathTable[PATH_KEY_CONFIG], &g_KeyConfig)) DefaultKeyConfig(&g_KeyConfig);

    // 31. Options (a missing file keeps the defaults).
    g_OptionData.LoadFile(g_PathTable[PATH_OPTION]);

    // 32. At 8 bits per pixel the palette tables of the option's palette number.
    if (g_ScreenMode.nBpp == 8 && !LoadPaletteTables((int)g_OptionData.m_nPaletteNo)) return false;

    // 33. Music players when music is on.
    if (g_OptionData.m_bMusic) InitBgm();

    // 34. The sound table: the 17 system sounds, then the project's sounds 1, 2, ...
    std::vector<std::string> soundFiles;
    for (const cSoundRec& r : g_Database.m_vecSound) soundFiles.push_back(r.m_strFile);
    BuildSoundTable(g_SystemData.m_vecSystemSounds, soundFiles);

    // 35-36. The sound device (22050 Hz, 8 bits, one channel) and the sounds at the option's volume.
    if (!DS_Init(hwnd, 22050, 8, 1)) return false;
    cSound::LoadTable(g_vecSound, g_vecSoundFile, GetVolumeFromStep(g_OptionData.m_nVolume));

    // 37. The world map.
    if (!g_WorldMap.LoadFile(g_PathTable[PATH_WORLD_MAP])) {
        WriteReportLogBox("%s のロードに失敗！", g_PathTable[PATH_WORLD_MAP]);
        return false;
    }

    // 38. The common palette.
    if (!g_CommonPalette.LoadFile(g_PathTable[PATH_COMMON_PALETTE])) {
        WriteReportLogBox("%s のロードに失敗！", g_PathTable[PATH_COMMON_PALETTE]);
        return false;
    }

    // 39. A stage named on the command line or by "FreeStage": its highest numbered file, played
    // at once. A missing one is reported and the game starts at its title.
    if (g_SystemIni.szFreeStage[0]) {
        char found[MAX_PATH];
        if (!FindNumberedFile(found, g_SystemIni.szFreeStage, g_ExtTable[EXT_STG4])) {
            WriteReportAndLog("「%s」の読み込みに失敗しました！", g_SystemIni.szFreeStage);
            g_SystemIni.szFreeStage[0] = 0;
        } else {
            CopyBounded(g_SystemIni.szFreeStage, sizeof g_SystemIni.szFreeStage, found);
            g_bStageFileStart = 1;
            if (!StartFromStageFile(g_SystemIni.szFreeStage, TRUE)) return false;
            g_SceneManager.m_nPlayMode = START_MODE_STAGEFILE;
            g_SceneManager.m_nCurrent = SCENE_PLAY;
            g_SceneManager.m_nPrevious = SCENE_TITLE;
            g_SceneManager.m_nGameMode = GAME_MODE_STAGEFILE;
            g_SceneManager.m_bModeRanking = 1;
        }
    }
    return true;
}

void UnInitGame() {
    if (g_bDDInitialized) ReportFontCounts();
    timeEndPeriod(1);
    DS_End();
    g_Bgm.Release();
    g_SceneManager.DestroyAll();
    ReleaseGameFonts();
    ReleaseDigitSheets();
    DDEnd();
    cHook::Unset();
}
