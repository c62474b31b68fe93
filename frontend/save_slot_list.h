// The story slot list as the continue list and the save screen show it: a framed box of rows
// 16 dots high, each with the slot number and the time of its save.
#pragma once

#include "media/draw_types.h"

class cSaveSlot;
class cSaveSlotList;

// With the second font: the box 320 dots wide and 16 x rows high at (x, y), a line of colour
// 240 under every row but the last, and per row from slot `first` on the slot number (from 1)
// at x + 16 and its stamp at x + 64, as far as the list goes.
void DrawSaveSlotList(DDSURFACEDATA* dst, int x, int y, const cSaveSlotList& list, int first, int rows);
// "YYYY/MM/DD hh:mm" of a used slot; nothing for an empty one.
void DrawSaveStamp(const cSaveSlot& slot, DDSURFACEDATA* dst, int x, int y);
