#include "media/depth_effects.h"

#include <algorithm>
#include <cmath>

#include "media/blit.h"

namespace {

// Sizes beyond this are not drawn (a rectangle of the play screen is far smaller).
constexpr int kMaxSide = 1 << 14;

}  // namespace

void DrawStripes(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int position,
                 int flags) {
    if (!dst || !src || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return;
    // The angle in quarter turns, reduced to one turn so that large positions stay exact.
    const int64_t turn = 4 * (int64_t)w;
    int64_t p = position % turn;
    if (p < 0) p += turn;
    const double c = std::cos((double)p * M_PI / (2.0 * w));
    const int squeezed = (int)(w * std::fabs(c) + 0.5);
    if (squeezed < 1) return;
    const bool back = c < 0;
    if (squeezed == w && !back) {
        DDBlt(dst, x, y, w, h, src, sx, sy, flags);
        return;
    }
    const int left = x + (w - squeezed) / 2;
    for (int i = 0; i < squeezed; ++i) {
        int column = (int)(((int64_t)2 * i + 1) * w / (2 * (int64_t)squeezed));
        column = std::clamp(column, 0, w - 1);
        if (back) column = w - 1 - column;
        DDBlt(dst, left + i, y, 1, h, src, sx + column, sy, flags);
    }
}

void DDDrawGauge(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int radius,
                 int rough, int flags) {
    if (!dst || !src || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide || radius < 1) return;
    rough = std::clamp(rough, 1, kMaxSide);
    const int cx = w / 2, cy = h / 2;
    const double r2 = (double)radius * radius;
    // Rows of squares above and below the centre line: square k spans cy + k x rough ..
    // cy + (k + 1) x rough - 1.
    const int above = (cy + rough - 1) / rough, below = (h - cy + rough - 1) / rough;
    for (int k = -above; k < below; ++k) {
        const double dy = (k + 0.5) * rough;
        const double room = r2 - dy * dy;
        if (room < 0) continue;
        // Squares on each side of the centre column whose centres lie within the radius.
        const double half = std::sqrt(room) / rough - 0.5;
        if (half < 0) continue;
        const int64_t m = (int64_t)half + 1;
        const int64_t x0 = std::max<int64_t>(0, cx - m * rough), x1 = std::min<int64_t>(w, cx + m * rough);
        const int64_t y0 = std::max<int64_t>(0, cy + (int64_t)k * rough), y1 = std::min<int64_t>(h, cy + (int64_t)(k + 1) * rough);
        if (x1 <= x0 || y1 <= y0) continue;
        DDBlt(dst, x + (int)x0, y + (int)y0, (int)(x1 - x0), (int)(y1 - y0), src, sx + (int)x0, sy + (int)y0, flags);
    }
}
