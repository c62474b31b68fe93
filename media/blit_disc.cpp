// DDBltDisc: a disc of one surface copied onto another in horizontal strips (circular reveals
// and spotlights of play).
#include <algorithm>
#include <cmath>

#include "media/blit.h"
#include "media/draw_device.h"

namespace {

// Half-width of the disc at row offset y, kept below the radius.
int HalfWidth(int r, int y) {
    int64_t q = (int64_t)r * r - (int64_t)y * y;
    int w = q > 0 ? (int)std::sqrt((double)q) : 0;
    return w >= r ? r - 1 : w;
}

void Strip(DDSURFACEDATA* dst, int dx, int dy, int y, int h, int w, DDSURFACEDATA* src, int sx, int sy, int left,
           int right, int flags) {
    int sxs = sx - w, width = 2 * w, dxs = dx - w;
    if (sxs < left) {
        width -= left - sxs;
        dxs += left - sxs;
        sxs = left;
    }
    if (sxs + width > right) width = right - sxs;
    if (width <= 0 || h <= 0) return;
    if (g_lpDDDevice)
        DDBltStretch(dst, dxs, dy + y, width, h, src, sxs, sy + y, width, h, flags);
    else
        DDBlt(dst, dxs, dy + y, width, h, src, sxs, sy + y, flags);
}

}  // namespace

void DDBltDisc(DDSURFACEDATA* dst, int dx, int dy, int clipX, int clipY, int radius, int band, DDSURFACEDATA* src,
               int sx, int sy, int flags) {
    if (radius < 1 || band < 1 || !dst || !src) return;
    int left = std::max(0, sx - clipX), right = std::min(sx + clipX, src->nWidth);
    DDBatchBegin(0);
    if (band == 1) {
        for (int y = radius - 1; y >= -radius; --y) {
            if (y < -clipY) break;
            if (y >= clipY) continue;
            Strip(dst, dx, dy, y, 1, HalfWidth(radius, y), src, sx, sy, left, right, flags);
        }
    } else {
        for (int y = radius - band; y >= -radius; y -= band) {
            if (y + band <= -clipY) break;  // wholly beyond the clip: so are the rest
            int top = y;
            if (top + band > clipY) top = clipY - band;  // moved to end at the clip
            if (top < -clipY) top = -clipY;              // moved to start at it
            Strip(dst, dx, dy, top, band, HalfWidth(radius, y + band / 2), src, sx, sy, left, right, flags);
        }
    }
    DDBatchFlush();
}
