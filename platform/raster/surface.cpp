#include "platform/raster/surface.h"

#include <algorithm>
#include <cstring>

namespace raster {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.Empty()) return Rect{};
    return r;
}

bool Surface::Create(int w, int h, PixelFormat f) {
    width = height = pitch = 0;
    format = PixelFormat::Unknown;
    bits.clear();
    int bpp = BytesPerPixel(f);
    if (bpp == 0 || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || (int64_t)w * h > kMaxPixels) return false;
    int p = (w * bpp + 3) & ~3;
    if (!bits.Allocate((size_t)p * (size_t)h)) return false;
    width = w;
    height = h;
    format = f;
    pitch = p;
    return true;
}

bool Surface::AllOpaque() const {
    if (!Valid()) return false;
    if (m_opaqueStamp == bits.ContentStamp() && m_opaqueFormat == format) return m_opaque;
    bool opaque = true;
    if (format == PixelFormat::A8R8G8B8) {
        for (int y = 0; y < height && opaque; ++y) {
            const uint32_t* p = reinterpret_cast<const uint32_t*>(Row(y));
            uint32_t all = 0xFFFFFFFFu;
            for (int x = 0; x < width; ++x) all &= p[x];
            opaque = (all >> 24) == 0xFF;
        }
    } else if (format == PixelFormat::A1R5G5B5) {
        for (int y = 0; y < height && opaque; ++y) {
            const uint16_t* p = reinterpret_cast<const uint16_t*>(Row(y));
            uint32_t all = 0xFFFFu;
            for (int x = 0; x < width; ++x) all &= p[x];
            opaque = (all & 0x8000u) != 0;
        }
    }
    m_opaqueStamp = bits.ContentStamp();
    m_opaqueFormat = format;
    m_opaque = opaque;
    return opaque;
}

void ToArgbImage(const Surface& s, uint32_t* out, int outPitch, bool opaque) {
    uint32_t force = opaque ? 0xFF000000u : 0u;
    for (int y = 0; y < s.height; ++y) {
        uint32_t* o = (uint32_t*)((uint8_t*)out + (size_t)y * outPitch);
        const uint8_t* r = s.Row(y);
        switch (s.format) {
        case PixelFormat::X8R8G8B8:
        case PixelFormat::A8R8G8B8: {
            const uint32_t* p = (const uint32_t*)r;
            uint32_t add = s.format == PixelFormat::X8R8G8B8 ? 0xFF000000u : force;
            for (int x = 0; x < s.width; ++x) o[x] = p[x] | add;
            break;
        }
        default:
            for (int x = 0; x < s.width; ++x) o[x] = s.GetArgb(x, y) | force;
            break;
        }
    }
}

}  // namespace raster
