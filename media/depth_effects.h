// Two effect draws of a character's cell: the turn in depth (DrawStripes) and the circular
// window (DDDrawGauge). Both copy the source rectangle (sx, sy, w, h) to the destination
// rectangle (x, y, w, h) in parts, with or without the colour key (DDBLT_... flags).
#pragma once

#include "media/draw_types.h"

// The cell turning about its vertical axis, drawn in one-dot vertical stripes. `position` is
// how far the turn has gone, in dots: a quarter turn every w dots, so the angle is
// position x 90 / w degrees. The cell is squeezed to round(w x |cos angle|) columns, centred
// on the rectangle; destination column i takes source column floor((i + 0.5) x w / squeezed),
// counted from the right edge while the back faces the viewer (cos angle < 0). Edge-on
// (no column left) nothing is drawn.
void DrawStripes(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int position,
                 int flags);

// The cell seen through a circle of `radius` dots around the rectangle's centre (w / 2, h / 2),
// its edge stepped in squares of `rough` dots: the rectangle is cut into rough x rough squares
// laid out from the centre, and a square is drawn when its own centre lies within the radius.
// The squares of one row form one span, so each row of squares is one copy. A radius or a
// roughness below 1 draws nothing (a roughness below 1 is taken as 1).
void DDDrawGauge(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int radius,
                 int rough, int flags);
