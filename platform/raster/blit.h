// Rectangle operations of the rasterizer: colour fill, copies with an exact-value source colour
// key (same format), nearest-neighbour stretches, and format-converting copies with mirroring.
// Callers pass rectangles that lie inside both surfaces; a source and destination that are the
// same surface may overlap.
#pragma once

#include <cstdint>

#include "platform/raster/surface.h"

namespace raster {

// Fills r (clipped to the surface) with a raw pixel value.
void FillRect(Surface& dst, const Rect& r, uint32_t pixel);

// Stores one raw pixel value in n pixels of `bpp` bytes (1, 2 or 4) from p on, a block at a
// time; the bytes are those Surface::Set would write pixel by pixel.
void FillPixels(uint8_t* p, int bpp, size_t n, uint32_t pixel);

// Copies src rectangle sr to (dx, dy). With `keyed`, source pixels whose colour bits equal the
// key's are skipped. Same format only.
void CopyRect(Surface& dst, int dx, int dy, const Surface& src, const Rect& sr, bool keyed, uint32_t key);

// Scales sr onto dr with nearest sampling: destination column i (from dr.left) reads source
// column sr.left + ((2i + 1) * sw) / (2 * dw), rows alike. Same format only.
void StretchRect(Surface& dst, const Rect& dr, const Surface& src, const Rect& sr, bool keyed, uint32_t key);

// Format-converting copy with nearest scaling. Either extent may be negative: a negative width
// at x covers the columns x, x-1, ... x+w+1, so opposite signs mirror the picture. Pixels outside
// either surface are skipped. P8 to P8 copies indices; to P8 from colour takes the nearest colour
// of the destination's palette.
void ConvertStretch(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh);

}  // namespace raster
