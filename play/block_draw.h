// Drawing of the block map: a block cell from the block sheet (with its overlay), and the cells
// of the view in the back or the front pass.
#pragma once

#include "media/draw_types.h"

class cBlockDef;
class cPlayScene;

// Asset slots of the block sheet and of the item overlay sheet.
constexpr int kSlotBlockSheet = 2;
constexpr int kSlotOverlaySheet = 43;

// The block's cell (columns of 15 cells of 32 dots; a cell outside the sheet draws cell (0, 0))
// at (x, y) with the colour key, then its overlay cell when its overlay switch is 1.
void DrawBlockCell(const cBlockDef& block, DDSURFACEDATA* target, int x, int y);
// The 21 x 16 cells under the view whose graphic is not 0, whose pass is `pass`, that are not
// hidden and whose appearance conditions hold, in one sprite batch.
void DrawBlockMap(cPlayScene* scene, DDSURFACEDATA* target, int pass);
