// Screen transitions: framed boxes, blinds, a sine ripple, a card flip, a four-way split, palette
// blending and rotation, and the eased scene fades. Each call draws one frame of its effect;
// only the two scene fades keep progress of their own.
#pragma once

#include "media/draw_types.h"

// One image of a flip: the source record and the top-left of the picture on it.
struct FLIPIMAGE {
    DDSURFACEDATA* src;
    int sx, sy;
};

// Four filled bars inside the rectangle.
void DrawFrame(DDSURFACEDATA* dst, int x, int y, int width, int height, int thickness, int palNum);
// The image's top-left width x height at (x, y), then a frame of the thickness around it.
void DrawFrameBox(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* image, int thickness,
                  int palNum);
// The source in strips (columns when horizontal, else rows), each moved across by a sine of
// its place; nothing for a strip size or size of 0 or less.
void DrawSineEffect(DDSURFACEDATA* dst, int x, int y, int width, int height, double frequency, double amplitude,
                    double phase, int strip, DDSURFACEDATA* src, int sx, int sy, int flags, int horizontal);
// The source in strips of size s, odd strips moved by -o and even ones by +o; the remainder
// after the last whole strip is not drawn. s = 0 is a plain blit.
void DrawBlinds(DDSURFACEDATA* dst, int x, int y, int width, int height, int strip, int offset, DDSURFACEDATA* src,
                int sx, int sy, int flags, int horizontal);
// A card turning with time t: one image stretched into the rectangle narrowed by 2d along the
// axis (0 across, 1 up and down); the image changes where it is narrowest.
void DrawFlip(DDSURFACEDATA* dst, int x, int y, int width, int height, const FLIPIMAGE& front, const FLIPIMAGE& back,
              int srcWidth, int srcHeight, int flags, int t, int axis);
// The source as four quarters pushed apart by d.
void DrawQuarterSplit(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* src, int sx, int sy,
                      int d, int flags);
// Entries first..last of the source palette blended towards a colour by rate (256 keeps the
// source, 0 gives the colour) into the destination palette.
void FadePaletteToColor(PALETTEENTRY* dst, int first, int last, int rate, int red, int green, int blue,
                        const PALETTEENTRY* src);
// The whole source palette copied, then entries first..last rotated by n places (direction 0:
// up, the last n to the front; 1: down, the first n to the end). Nothing at 24 bits.
void RotatePaletteRange(PALETTEENTRY* dst, int first, int last, int n, int direction, const PALETTEENTRY* src);
// One frame of the scene fades on the back buffer; 1 when the fade has finished (the end state
// drawn), else 0. The restart flag jumps to the end state.
int DrawWaveFadeIn(PALETTEENTRY* palette, int first, int last, int red, int green, int blue, double step,
                   const PALETTEENTRY* srcPalette, int restart);
int DrawWaveFadeOut(PALETTEENTRY* palette, int first, int last, int red, int green, int blue, double step,
                    const PALETTEENTRY* srcPalette, int restart);
