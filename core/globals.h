// The application frame's process-wide words: the main window handle, the instance, the editor
// flag, the initialised flag and the application-active flag. Several threads read them, so
// they are atomic.
#pragma once

#include <atomic>

#include "platform/win32/win32.h"

// The main window: every thread posts WM_CLOSE and sends its requests here. Null before
// start-up binds the window and after WM_DESTROY.
extern std::atomic<HWND> g_hMainWnd;
extern HINSTANCE g_hInstance;
// 1 when the process was started by the editor (show command SW_SHOW).
extern std::atomic<int> g_bEditor;
// 1 when play started at once from the command-line stage or "FreeStage" (no life is taken and
// quitting play ends the program).
extern std::atomic<int> g_bStageFileStart;
// 1 once InitGame has succeeded.
extern std::atomic<unsigned char> g_bInitialized;
// Written by WM_ACTIVATEAPP; the pump and the game thread read it.
extern std::atomic<int> g_bAppActive;
