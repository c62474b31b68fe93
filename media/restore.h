// Device restore: a lost Direct3D device is reset and every texture made again; lost DirectDraw
// surfaces are restored and their bitmaps copied again. Also the DirectDraw pixel-format helpers.
#pragma once

#include "media/draw_types.h"

// 1 when the device is usable again (or was never lost, or DirectDraw is in use); 0 while it
// cannot be reset yet or the reset failed (the next request tries again).
DWORD DDRestoreSurface();
// DirectDraw: restores the display surfaces and the asset slots when the primary is lost; 1.
int DDRestore();
// Restores one lost DirectDraw record of the program's own collections: a video-memory record
// gets bLost = 1 and its bitmap again; 0 only when that copy fails.
int DDRestoreLostRecord(DDSURFACEDATA* rec);
void DDSetPixelFormatShifts(DWORD* channelSet);
DWORD DDPalToRGB16(const PALETTEENTRY& entry);

// What a restore does with the fonts (the fonts install these): before a reset their D3DX
// objects hear of the lost device; afterwards they are reset and redraw their glyph and digit
// sheets. With DirectDraw only the second runs.
typedef void (*DDFONTRESTOREFUNC)();
void DDSetFontRestoreHooks(DDFONTRESTOREFUNC onLostDevice, DDFONTRESTOREFUNC onRestored);
