// A block of pixels in one format: the store behind every drawing surface, texture and bitmap.
// Rows are `pitch` bytes apart (the row size rounded up to 4 bytes); the store is owned here.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/raster/format.h"

namespace raster {

// A rectangle [left, right) x [top, bottom) in pixels.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// Intersection of two rectangles (empty when they do not meet).
Rect Intersect(const Rect& a, const Rect& b);

// Largest side and pixel count a surface may have; bigger requests fail cleanly.
constexpr int kMaxSide = 16384;
constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;

struct Surface {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Unknown;
    int pitch = 0;
    std::vector<uint8_t> bits;
    // Colours of a P8 surface when it is shown or converted (shared with its palette object).
    std::shared_ptr<Palette> palette;

    // Allocates a zero-filled store; false (and an empty surface) for a bad size or format.
    bool Create(int w, int h, PixelFormat f);
    void Clear() { std::fill(bits.begin(), bits.end(), 0); }
    bool Valid() const { return width > 0 && height > 0 && !bits.empty(); }
    Rect Bounds() const { return Rect{0, 0, width, height}; }
    uint8_t* Row(int y) { return bits.data() + (size_t)y * (size_t)pitch; }
    const uint8_t* Row(int y) const { return bits.data() + (size_t)y * (size_t)pitch; }
    uint32_t Get(int x, int y) const;
    void Set(int x, int y, uint32_t v);
    uint32_t GetArgb(int x, int y) const { return ToArgb(format, Get(x, y), palette.get()); }
};

// The whole surface as ARGB words, `outPitch` bytes per row (P8 through its palette). With
// `opaque` the alpha byte is forced to 0xFF (what a screen shows).
void ToArgbImage(const Surface& s, uint32_t* out, int outPitch, bool opaque);

}  // namespace raster
