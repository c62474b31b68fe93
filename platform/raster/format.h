// Pixel formats of the software rasterizer and conversion to and from 8-bit ARGB.
// 16-bit channels widen by bit replication (5 bits v -> v<<3 | v>>2) and narrow by truncation,
// so a 16-bit pixel survives a round trip through ARGB unchanged.
#pragma once

#include <cstdint>

namespace raster {

enum class PixelFormat : int {
    Unknown = 0,
    P8,        // palette index
    R5G6B5,
    A1R5G5B5,
    X8R8G8B8,  // the top byte is not part of the colour
    A8R8G8B8,
};

inline int BytesPerPixel(PixelFormat f) {
    switch (f) {
    case PixelFormat::P8: return 1;
    case PixelFormat::R5G6B5:
    case PixelFormat::A1R5G5B5: return 2;
    case PixelFormat::X8R8G8B8:
    case PixelFormat::A8R8G8B8: return 4;
    default: return 0;
    }
}
inline int BitsPerPixel(PixelFormat f) { return BytesPerPixel(f) * 8; }
bool HasAlpha(PixelFormat f);
// Channel masks {red, green, blue, alpha} of a direct-colour format (all 0 for P8).
void ChannelMasks(PixelFormat f, uint32_t* r, uint32_t* g, uint32_t* b, uint32_t* a);
// The bits of a pixel that take part in exact colour comparisons (colour keys).
uint32_t ColourMask(PixelFormat f);

// 256 palette colours as ARGB words (alpha 0xFF).
struct Palette {
    uint32_t argb[256] = {};
};

inline uint32_t Expand5(uint32_t v) { return (v << 3) | (v >> 2); }
inline uint32_t Expand6(uint32_t v) { return (v << 2) | (v >> 4); }

// Pixel value -> ARGB. Formats without alpha give alpha 0xFF; P8 looks up the palette
// (black without one).
inline uint32_t ToArgb(PixelFormat f, uint32_t p, const Palette* pal = nullptr) {
    switch (f) {
    case PixelFormat::P8: return pal ? (pal->argb[p & 0xFF] | 0xFF000000u) : 0xFF000000u;
    case PixelFormat::R5G6B5:
        return 0xFF000000u | (Expand5((p >> 11) & 31) << 16) | (Expand6((p >> 5) & 63) << 8) | Expand5(p & 31);
    case PixelFormat::A1R5G5B5:
        return ((p & 0x8000u) ? 0xFF000000u : 0u) | (Expand5((p >> 10) & 31) << 16) | (Expand5((p >> 5) & 31) << 8) |
               Expand5(p & 31);
    case PixelFormat::X8R8G8B8: return p | 0xFF000000u;
    case PixelFormat::A8R8G8B8: return p;
    default: return 0;
    }
}

// Index of the palette colour nearest to an ARGB colour (squared distance, lowest index wins).
uint8_t NearestIndex(const Palette& pal, uint32_t argb);

// ARGB -> pixel value. X8R8G8B8 stores 0 in its top byte; A1R5G5B5 keeps alpha >= 128 as
// opaque; P8 takes the nearest palette colour (index 0 without a palette).
inline uint32_t FromArgb(PixelFormat f, uint32_t c, const Palette* pal = nullptr) {
    switch (f) {
    case PixelFormat::P8: return pal ? NearestIndex(*pal, c) : 0;
    case PixelFormat::R5G6B5: return ((c >> 8) & 0xF800u) | ((c >> 5) & 0x07E0u) | ((c >> 3) & 0x001Fu);
    case PixelFormat::A1R5G5B5:
        return ((c >> 16) & 0x8000u) | ((c >> 9) & 0x7C00u) | ((c >> 6) & 0x03E0u) | ((c >> 3) & 0x001Fu);
    case PixelFormat::X8R8G8B8: return c & 0x00FFFFFFu;
    case PixelFormat::A8R8G8B8: return c;
    default: return 0;
    }
}

// x * y / 255 rounded to nearest, for 0 <= x, y <= 255 (and sums of such products up to 65535).
inline uint32_t Div255(uint32_t v) {
    v += 128;
    return (v + (v >> 8)) >> 8;
}

}  // namespace raster
