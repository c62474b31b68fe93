// The window thread's side of the replay requests: WM_USER+3 (choose and load a replay) and
// WM_USER+4 (save the current or the previous attempt). Each answers through the file-dialog
// done flag and success word; a replay that cannot be loaded or written shows a message and
// is answered as a failure, and the game goes on.
#pragma once

#include "platform/win32/win32.h"

// WM_USER+3: the load dialog (owned by `owner`); a chosen replay is loaded into the current
// replay, the stage and the current play data, and its path becomes the stage loader's file
// name (play reloads it at every stage start). A failed load changes none of them.
void ServeLoadReplayRequest(HWND owner);
// WM_USER+4: the save dialog proposing a name after the current play data's stage; wParam 0
// writes the current replay with the play data of the current attempt's start, any other the
// previous replay with the previous attempt's.
void ServeSaveReplayRequest(WPARAM which);
