// System sound effects asked of the window thread: the game side sends WM_USER+5 and the main
// window procedure plays the entry of the sound table.
#pragma once

#include "platform/win32/win32.h"

// System sounds by number (project sounds follow at 16 + n).
enum {
    SE_DECIDE = 1,   // a choice confirmed
    SE_CANCEL = 2,   // a menu cancelled
    SE_REFUSED = 3,  // a choice that cannot be taken
};

// Sends WM_USER+5 with the sound number to the main window and waits until it is played.
void PlaySystemSe(DWORD n);
