// The sheets graphic references are drawn from: the current block, item and shot sheets (the
// common palette's or the stage's), the own-bitmap sheet, the project's dedicated character
// bitmaps, and the sheets of shots and swords; and the full-size source cell of a graphic
// reference on its sheet.
#pragma once

#include "media/draw_types.h"

// The three current sheets (SelectPaletteSet points them).
extern DDSURFACEDATA* g_lpBlockSheet;
extern DDSURFACEDATA* g_lpItemSheet;
extern DDSURFACEDATA* g_lpShotSheet;

// Points the block, item and shot sheets at the common palette's sheets or, when the stage has
// its own palette and its sheets are in use, at the stage's. The play assets hold one set of
// these sheets, which both palettes draw from.
void SelectPaletteSet(int stagePalette, int stageSheets);

// A source cell: its sheet (none: nothing to draw) and its rectangle.
struct GRAPHICCELL {
    DDSURFACEDATA* lpSheet;
    int nX, nY, nWidth, nHeight;
};

// The full-size source cell of a graphic reference (kind 0 block, 1 item, 2 shot, 3 own bitmap,
// 4 character; index; frame for items and characters). Cells lie in columns of 15 (own bitmaps
// 30): blocks 32 x 32 at ((i / 15) x 32, (i mod 15) x 32); items on the page i / 15 at
// (frame x 32, (i mod 15) x 32); shots 16 x 16 at ((i / 15) x 32, (i mod 15) x 16); own bitmaps
// at ((i / 30) x 64, (i mod 30) x 32); characters by their bitmap's cell size. A cell outside
// its sheet is cell (0, 0) of that sheet. False for another kind or a sheet without a picture.
bool SelectGraphicSheet(int kind, int index, int frame, GRAPHICCELL& cell);

// The sheet shots are drawn from, or none before it is loaded.
DDSURFACEDATA* ShotSheet();
// The bitmap of a sword type for a facing (the mirrored view for facing right), or none.
DDSURFACEDATA* SwordSheet(int swordType, int facingRight);

// A graphic reference as a 16 x 16 icon with its top-left at (x, y), with the colour key: the
// full-size cell scaled down, a shot cell copied as it is (play/item_draw.cpp).
void DrawGraphicRef(DDSURFACEDATA* target, int x, int y, int kind, int index, int frame);
