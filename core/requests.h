// The request messages that the game side sends to the main window, and the answer words that
// the window procedure writes for the requesting thread.
#pragma once

#include <atomic>

#include "platform/win32/win32.h"

// Request messages served by the main window procedure on the window thread.
#define WM_REQ_NAMEENTRY (WM_USER + 1)
#define WM_REQ_LOADSTAGE (WM_USER + 2)
#define WM_REQ_LOADREPLAY (WM_USER + 3)
#define WM_REQ_SAVEREPLAY (WM_USER + 4)
#define WM_REQ_SOUND (WM_USER + 5)
#define WM_REQ_MUSIC (WM_USER + 6)
#define WM_REQ_RESETDEVICE (WM_USER + 100)

// Request answer words, written by the window procedure and read by the requesting thread.
extern std::atomic<int> g_bNameEntryDone;
extern std::atomic<int> g_bFileDialogDone;
extern std::atomic<int> g_nFileDialogSuccess;
// Waits (1 ms steps) until a request's done flag is set; false when it will not be: the main
// window is gone, or the waiting thread is being ended (a quit in its queue or a stop request).
bool WaitRequestDone(const std::atomic<int>& done);
