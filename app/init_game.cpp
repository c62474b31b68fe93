#include "app/init_game.h"

#include "app/globals.h"
#include "app/main_window.h"
#include "app/scene_manager.h"

bool InitGame(const char* cmdLine, int showCmd) {
    (void)cmdLine;
    // 1. Timer resolution and the window thread's seed.
    timeBeginPeriod(1);
    crt::srand(timeGetTime());

    // 12. Scene manager: frame rate and fade step.
    g_SceneManager.m_nFrameRate = 60;
    g_SceneManager.m_nFadeStep = 10;

    // 17. Bind the main window object and publish the main window handle.
    g_MainWindow.Bind();
    g_hMainWnd = g_MainWindow.m_hWnd;

    // 23. Show the window.
    ShowWindow(g_MainWindow.m_hWnd, showCmd);
    return true;
}

void UnInitGame() {
    timeEndPeriod(1);
    g_SceneManager.DestroyAll();
}
