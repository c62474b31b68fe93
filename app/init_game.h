// Start-up and shut-down: InitGame brings every layer up in a fixed order on the window thread
// before the game thread starts; UnInitGame releases what exists, in its own order.
#pragma once

#include "platform/win32/win32.h"

bool InitGame(const char* cmdLine, int showCmd);
// DirectDraw presents by a blit instead of a flip (chosen at start-up).
extern int g_bPresentByBlit;
void UnInitGame();
