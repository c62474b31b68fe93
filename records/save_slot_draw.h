// Drawing of the story save slots: the list of slot numbers and time stamps in a framed box.
#pragma once

#include "media/draw_types.h"
#include "records/story_saves.h"

// The framed box 320 dots wide and 16 dots per row at (x, y), a rule under every row but the
// last, and per row the slot number and its stamp, with the second game font.
void DrawSaveSlotList(DDSURFACEDATA* dst, int x, int y, const cSaveSlotList& list, int firstSlot, int rows);
// "YYYY/MM/DD hh:mm" of a used slot; nothing for an empty one.
void DrawSaveStamp(const cSaveSlot& slot, DDSURFACEDATA* dst, int x, int y);
