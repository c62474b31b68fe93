// Effects on the pixels of surfaces: the engine palette from a palette image in true-colour
// modes, fading a true-colour picture towards a colour, tinting with Direct3D, rotation, the
// spherical lens, blur and mosaic. Each works in the colour depths its description names and
// leaves the others alone.
#pragma once

#include "media/draw_types.h"

// The 256 colours from the 16 x 16 pixels at column 0, rows 8-23 of the surface (entries whose
// pixels lie outside the surface keep their values).
void DDSetPalette_UnPal(PALETTEENTRY* palette, DDSURFACEDATA* surface);
// DirectDraw, 16 and 32 bits: destination = source blended towards (red, green, blue) by rate
// (256 keeps the source, 0 gives the colour); 1, or 0 when a lock fails. Direct3D: nothing, 1.
int DDFade_UnPal(DDSURFACEDATA* dst, int rate, int red, int green, int blue, DDSURFACEDATA* src);
// Direct3D only: the source drawn over the whole destination, modulated by (255 - a, red,
// green, blue); 1.
int DDChangeColor(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* src, int a, int red,
                  int green, int blue);
int DDChangeColorWrap(DDSURFACEDATA* dst, int x, int y, int width, int height, int a, int red, int green, int blue);
// The source rectangle rotated by angle degrees (clockwise on screen) about the pivot (measured
// from the rectangle's top-left). Direct3D: a quad centred on (dx, dy); DirectDraw: the pivot
// lands on (dx, dy). 1, or 0 when a lock fails.
int DDBltRotate(DDSURFACEDATA* dst, int dx, int dy, int width, int height, int pivotX, int pivotY, double angle,
                DDSURFACEDATA* src, int sx, int sy, int keyFlag);
// The source seen through a glass sphere: a disc of radius r around (cx, cy), magnified at
// the centre by R / d with R = sqrt(r^2 + d^2). 1, or 0 when a lock fails.
int DDBltRadial(DDSURFACEDATA* dst, int cx, int cy, int r, int d, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
                int clearFlag);
// A box average of 2rx x 2ry source pixels (one more up and left than down and right) per
// pixel of the rectangle; nothing at 8 bits. 1, or 0 when a lock fails.
int DDBltBlur(DDSURFACEDATA* dst, int dx, int dy, int width, int height, int radiusX, int radiusY, DDSURFACEDATA* src,
              int sx, int sy, int keyFlag);
// The rectangle as n x n blocks of one colour each. 1, or 0 when a lock fails.
int DDBltMosaic(DDSURFACEDATA* dst, int dx, int dy, int width, int height, int n, DDSURFACEDATA* src, int sx, int sy,
                int keyFlag);
// 1 when the record is the back buffer of a full-screen device.
int DDIsFullScreenBackBuffer(DDSURFACEDATA* rec);
