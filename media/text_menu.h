// A menu of the system settings' texts drawn in a framed box with the middle font.
#pragma once

#include "platform/win32/win32.h"

// `count` texts from index `first`, one per line (after a blank for the cursor when
// `cursorRoom`), in a box (c + 1 with cursor room, else c) x 16 wide and count x 16 high, c the
// widest text's character count, at (x, y) on the back buffer. Nothing for a count of 0.
void DrawTextMenu(int x, int y, int first, int count, BOOL cursorRoom);
