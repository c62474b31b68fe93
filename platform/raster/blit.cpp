#include "platform/raster/blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace raster {

static_assert(sizeof(wchar_t) == 4, "32-bit fills store through wmemset");

namespace {

// Copies a keyed row of 32-bit pixels: d[i] = s[i] unless (s[i] & mask) == key.
void KeyRow32(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t mask) {
    int i = 0;
#if defined(__SSE2__)
    __m128i vk = _mm_set1_epi32((int)key), vm = _mm_set1_epi32((int)mask);
    for (; i + 4 <= n; i += 4) {
        __m128i sv = _mm_loadu_si128((const __m128i*)(s + i));
        __m128i eq = _mm_cmpeq_epi32(_mm_and_si128(sv, vm), vk);
        int m = _mm_movemask_epi8(eq);
        if (m == 0xFFFF) continue;
        if (m == 0) {
            _mm_storeu_si128((__m128i*)(d + i), sv);
            continue;
        }
        __m128i dv = _mm_loadu_si128((const __m128i*)(d + i));
        _mm_storeu_si128((__m128i*)(d + i), _mm_or_si128(_mm_and_si128(eq, dv), _mm_andnot_si128(eq, sv)));
    }
#endif
    for (; i < n; ++i)
        if ((s[i] & mask) != key) d[i] = s[i];
}

void KeyRow16(uint16_t* d, const uint16_t* s, int n, uint16_t key) {
    for (int i = 0; i < n; ++i)
        if (s[i] != key) d[i] = s[i];
}

void KeyRow8(uint8_t* d, const uint8_t* s, int n, uint8_t key) {
    for (int i = 0; i < n; ++i)
        if (s[i] != key) d[i] = s[i];
}

}  // namespace

void FillPixels(uint8_t* p, int bpp, size_t n, uint32_t pixel) {
    if (n == 0) return;
    if (bpp == 1) {
        std::memset(p, (int)(pixel & 0xFF), n);
        return;
    }
    if (bpp == 2) {
        const uint16_t v = (uint16_t)pixel;
        if ((v >> 8) == (v & 0xFF)) {
            std::memset(p, v & 0xFF, n * 2);
            return;
        }
        if (reinterpret_cast<uintptr_t>(p) & 1) {  // never for a surface row; kept exact all the same
            for (size_t i = 0; i < n; ++i) std::memcpy(p + i * 2, &v, 2);
            return;
        }
        // A lone pixel up to a 4-byte boundary, then pixel pairs as 32-bit words, then the last.
        if (reinterpret_cast<uintptr_t>(p) & 2) {
            std::memcpy(p, &v, 2);
            p += 2;
            --n;
        }
        const uint32_t pair = (uint32_t)v | ((uint32_t)v << 16);
        std::wmemset(reinterpret_cast<wchar_t*>(p), (wchar_t)pair, n / 2);
        if (n & 1) std::memcpy(p + (n - 1) * 2, &v, 2);
        return;
    }
    if (bpp == 4) {
        const uint32_t b = pixel & 0xFF;
        if (pixel == b * 0x01010101u) {
            std::memset(p, (int)b, n * 4);
        } else if (reinterpret_cast<uintptr_t>(p) & 3) {
            for (size_t i = 0; i < n; ++i) std::memcpy(p + i * 4, &pixel, 4);
        } else {
            std::wmemset(reinterpret_cast<wchar_t*>(p), (wchar_t)pixel, n);
        }
    }
}

void FillRect(Surface& dst, const Rect& r0, uint32_t pixel) {
    Rect r = Intersect(r0, dst.Bounds());
    if (r.Empty()) return;
    int bpp = BytesPerPixel(dst.format);
    uint32_t used = bpp == 1 ? 0xFFu : bpp == 2 ? 0xFFFFu : 0xFFFFFFFFu;
    bool wholeRows = r.left == 0 && r.right == dst.width;
    if ((pixel & used) == 0 && wholeRows && r.top == 0 && r.bottom == dst.height) {
        dst.Clear();  // a whole surface to zero: nothing to do while it is still all zero
        return;
    }
    if (wholeRows && dst.pitch == dst.width * bpp) {
        // Rows without padding between them: one run over the whole band.
        FillPixels(dst.Row(r.top), bpp, (size_t)r.Height() * (size_t)dst.width, pixel);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) FillPixels(dst.Row(y) + (size_t)r.left * bpp, bpp, (size_t)r.Width(), pixel);
}

void CopyRect(Surface& dst, int dx, int dy, const Surface& src0, const Rect& sr, bool keyed, uint32_t key) {
    if (sr.Empty() || dst.format != src0.format) return;
    // A copy within one surface reads from a snapshot of the source rows.
    Surface tmp;
    const Surface* src = &src0;
    Rect s = sr;
    if (&src0 == &dst) {
        if (!tmp.Create(sr.Width(), sr.Height(), src0.format)) return;
        CopyRect(tmp, 0, 0, src0, sr, false, 0);
        src = &tmp;
        s = tmp.Bounds();
    }
    int bpp = BytesPerPixel(dst.format);
    int w = s.Width();
    uint32_t mask = ColourMask(dst.format);
    key &= mask;
    for (int j = 0; j < s.Height(); ++j) {
        uint8_t* d = dst.Row(dy + j) + (size_t)dx * bpp;
        const uint8_t* p = src->Row(s.top + j) + (size_t)s.left * bpp;
        if (!keyed) {
            std::memcpy(d, p, (size_t)w * bpp);
        } else if (bpp == 4) {
            KeyRow32((uint32_t*)d, (const uint32_t*)p, w, key, mask);
        } else if (bpp == 2) {
            KeyRow16((uint16_t*)d, (const uint16_t*)p, w, (uint16_t)key);
        } else {
            KeyRow8(d, p, w, (uint8_t)key);
        }
    }
}

void StretchRect(Surface& dst, const Rect& dr, const Surface& src0, const Rect& sr, bool keyed, uint32_t key) {
    if (dr.Empty() || sr.Empty() || dst.format != src0.format) return;
    if (dr.Width() == sr.Width() && dr.Height() == sr.Height()) {
        CopyRect(dst, dr.left, dr.top, src0, sr, keyed, key);
        return;
    }
    Surface tmp;
    const Surface* src = &src0;
    Rect s = sr;
    if (&src0 == &dst) {
        if (!tmp.Create(sr.Width(), sr.Height(), src0.format)) return;
        CopyRect(tmp, 0, 0, src0, sr, false, 0);
        src = &tmp;
        s = tmp.Bounds();
    }
    int dw = dr.Width(), dh = dr.Height(), sw = s.Width(), sh = s.Height();
    std::vector<int> cols((size_t)dw);
    for (int i = 0; i < dw; ++i) cols[(size_t)i] = s.left + (int)(((2ll * i + 1) * sw) / (2ll * dw));
    uint32_t mask = ColourMask(dst.format);
    key &= mask;
    for (int j = 0; j < dh; ++j) {
        int sy = s.top + (int)(((2ll * j + 1) * sh) / (2ll * dh));
        for (int i = 0; i < dw; ++i) {
            uint32_t v = src->Get(cols[(size_t)i], sy);
            if (keyed && (v & mask) == key) continue;
            dst.Set(dr.left + i, dr.top + j, v);
        }
    }
}

void ConvertStretch(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh) {
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || !dst.Valid() || !src.Valid()) return;
    // Walk the destination in its own direction; k-th destination pixel reads the
    // floor(k * |sw| / |dw|)-th source pixel in the source's direction.
    int adw = std::abs(dw), adh = std::abs(dh), asw = std::abs(sw), ash = std::abs(sh);
    int ddx = dw > 0 ? 1 : -1, ddy = dh > 0 ? 1 : -1, sdx = sw > 0 ? 1 : -1, sdy = sh > 0 ? 1 : -1;
    bool indices = dst.format == PixelFormat::P8 && src.format == PixelFormat::P8;
    for (int j = 0; j < adh; ++j) {
        int y = dy + j * ddy;
        int ys = sy + (int)(((int64_t)j * ash) / adh) * sdy;
        if (y < 0 || y >= dst.height || ys < 0 || ys >= src.height) continue;
        for (int i = 0; i < adw; ++i) {
            int x = dx + i * ddx;
            int xs = sx + (int)(((int64_t)i * asw) / adw) * sdx;
            if (x < 0 || x >= dst.width || xs < 0 || xs >= src.width) continue;
            uint32_t v = src.Get(xs, ys);
            if (indices) {
                dst.Set(x, y, v);
            } else if (dst.format == src.format && dst.format != PixelFormat::P8) {
                dst.Set(x, y, v);
            } else {
                dst.Set(x, y, FromArgb(dst.format, ToArgb(src.format, v, src.palette.get()), dst.palette.get()));
            }
        }
    }
}

}  // namespace raster
