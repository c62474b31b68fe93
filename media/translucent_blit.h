// Blits that mix the source with something else: laid half-transparently over the destination
// (DDBltTranslucent) or pulled towards a palette colour by a number of halving steps
// (DDBltTint). Both take DDBlt's rectangle arguments and work in both back ends and every
// colour depth: a textured quad when Direct3D can draw one, a per-pixel loop otherwise.
#pragma once

#include "media/draw_types.h"

// The w x h source rectangle at (sx, sy) mixed into the destination at (x, y): Direct3D quads
// at opacity 255 - a; the per-pixel loops average the two (8 bits: the colour table's entry
// source + 256 x destination). With key flag 1 transparent source pixels are skipped. 1, or 0
// when a lock fails.
int DDBltTranslucent(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
                     const BYTE* colourTable, int a);
// DDBltTranslucent at a = 128.
int DDEffectWrap128(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
                    const BYTE* colourTable);
// The source rectangle tinted towards palette entry colourNumber by `strength` steps, drawn at
// (x, y). 1, or 0 when a lock fails.
int DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
              const PALETTEENTRY* palette, const BYTE* colourTable, int colourNumber, int strength);
