#include "platform/raster/format.h"

namespace raster {

bool HasAlpha(PixelFormat f) { return f == PixelFormat::A1R5G5B5 || f == PixelFormat::A8R8G8B8; }

void ChannelMasks(PixelFormat f, uint32_t* r, uint32_t* g, uint32_t* b, uint32_t* a) {
    uint32_t m[4] = {0, 0, 0, 0};
    switch (f) {
    case PixelFormat::R5G6B5: m[0] = 0xF800; m[1] = 0x07E0; m[2] = 0x001F; break;
    case PixelFormat::A1R5G5B5: m[0] = 0x7C00; m[1] = 0x03E0; m[2] = 0x001F; m[3] = 0x8000; break;
    case PixelFormat::X8R8G8B8: m[0] = 0xFF0000; m[1] = 0xFF00; m[2] = 0xFF; break;
    case PixelFormat::A8R8G8B8: m[0] = 0xFF0000; m[1] = 0xFF00; m[2] = 0xFF; m[3] = 0xFF000000u; break;
    default: break;
    }
    if (r) *r = m[0];
    if (g) *g = m[1];
    if (b) *b = m[2];
    if (a) *a = m[3];
}

uint32_t ColourMask(PixelFormat f) {
    switch (f) {
    case PixelFormat::P8: return 0xFF;
    case PixelFormat::R5G6B5:
    case PixelFormat::A1R5G5B5: return 0xFFFF;
    case PixelFormat::X8R8G8B8: return 0x00FFFFFFu;
    case PixelFormat::A8R8G8B8: return 0xFFFFFFFFu;
    default: return 0;
    }
}

uint8_t NearestIndex(const Palette& pal, uint32_t argb) {
    int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    int best = 0;
    int bestD = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        uint32_t c = pal.argb[i];
        int dr = (int)((c >> 16) & 0xFF) - r, dg = (int)((c >> 8) & 0xFF) - g, db = (int)(c & 0xFF) - b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = i;
            if (d == 0) break;
        }
    }
    return (uint8_t)best;
}

}  // namespace raster
