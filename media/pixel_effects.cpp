// Per-pixel surface effects.
#include "media/pixel_effects.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/report.h"
#include "media/draw_device.h"
#include "media/pixel_access.h"
#include "media/surface.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Direct3D draws address the record whose texture they use and the virtual back buffer.
void Redirect(DDSURFACEDATA*& rec) {
    if (!g_lpDDDevice) return;
    DDTextureOf(rec);
    DDIsVirtualBackBuffer(rec);
}

DWORD Expand(DWORD v, DWORD max) { return max ? v * 255 / max : 0; }
DWORD Narrow(DWORD v, DWORD max) { return v * max / 255; }

}  // namespace

int DDIsFullScreenBackBuffer(DDSURFACEDATA* rec) { return rec == &g_BackBufferSD && !g_bDDWindowMode ? 1 : 0; }

void DDSetPalette_UnPal(PALETTEENTRY* palette, DDSURFACEDATA* surface) {
    if (!palette || !surface) return;
    Redirect(surface);
    cSurfaceLock lock(surface, false);
    if (!lock.Ok()) {
        WriteLog("DDSetPalette_UnPal Lock Err");
        return;
    }
    int w, h;
    DDRecordSize(surface, &w, &h);
    int bpp = lock.Bpp();
    if (bpp != 16 && bpp != 32) return;
    const DWORD* set = DDChannelsOf(surface);
    for (int k = 0; k < 256; ++k) {
        int x = k % 16, y = 8 + k / 16;
        if (x >= w || y >= h) continue;
        DWORD p = lock.Get(x, y);
        PALETTEENTRY& e = palette[k];
        if (bpp == 16) {
            DWORD c[3];
            DDSplit16(p, set, c);
            if (g_lpDDDevice) {
                DWORD a = set[CH_ASHIFT] < 32 ? (p >> set[CH_ASHIFT]) & set[CH_AMAX] : 0;
                if (!a) continue;
                e = PALETTEENTRY{(BYTE)Expand(c[0], set[CH_RMAX]), (BYTE)Expand(c[1], set[CH_GMAX]),
                                 (BYTE)Expand(c[2], set[CH_BMAX]), (BYTE)Expand(a, set[CH_AMAX])};
            } else {
                // DirectDraw keeps the 16-bit channels themselves in the palette.
                e = PALETTEENTRY{(BYTE)c[0], (BYTE)c[1], (BYTE)c[2], e.peFlags};
            }
        } else {
            if (g_lpDDDevice && (p >> 24) == 0) continue;
            e = PALETTEENTRY{(BYTE)(p >> 16), (BYTE)(p >> 8), (BYTE)p, (BYTE)(p >> 24)};
        }
    }
}

int DDFade_UnPal(DDSURFACEDATA* dst, int rate, int red, int green, int blue, DDSURFACEDATA* src) {
    if (g_lpDDDevice) return 1;
    if (!dst || !src) return 0;
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    rate = std::clamp(rate, 0, 256);
    const int target[3] = {std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255)};
    int w = std::min(px.DstW(), px.SrcW()), h = std::min(px.DstH(), px.SrcH());
    if (px.Bpp() == 16) {
        const DWORD* set = g_dwChannel2;
        DWORD keep = ~DDColourMask16(set) & 0xFFFF;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                DWORD c[3];
                DDSplit16(px.Src(x, y), set, c);
                for (int k = 0; k < 3; ++k) {
                    DWORD max = set[CH_RMAX + k];
                    DWORD n = (Expand(c[k], max) * (DWORD)rate + (DWORD)target[k] * (DWORD)(256 - rate)) >> 8;
                    c[k] = Narrow(n, max);
                }
                px.Set(x, y, (px.Dst(x, y) & keep) | DDPack16(c, set));
            }
    } else if (px.Bpp() == 32) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                DWORD s = px.Src(x, y), out = px.Dst(x, y) & 0xFF000000u;
                for (int k = 0; k < 3; ++k) {
                    DWORD v = (s >> (16 - 8 * k)) & 0xFF;
                    out |= ((v * (DWORD)rate + (DWORD)target[k] * (DWORD)(256 - rate)) >> 8) << (16 - 8 * k);
                }
                px.Set(x, y, out);
            }
    }
    return 1;
}

namespace {
struct CHANGECOLOUR {
    int unused;
};
void ModulateStates(void*) {
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}
void DeviceStates(void*) {
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetTextureStageState(0, D3DTSS_COLOROP, g_lpDDDevice->dwColorOp);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, g_lpDDDevice->dwAlphaOp);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}
}  // namespace

int DDChangeColor(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* src, int a, int red,
                  int green, int blue) {
    (void)x, (void)y, (void)width, (void)height;  // the quad covers the whole destination
    if (!g_lpDDDevice || !dst || !src) return 1;
    Redirect(dst);
    Redirect(src);
    if (!dst->lpDT || !src->lpDT || !dst->lpDT->bRenderTarget || src->lpDT->bSysMem) return 1;
    DWORD colour = (DWORD)(255 - std::clamp(a, 0, 255)) << 24 | (DWORD)std::clamp(red, 0, 255) << 16 |
                   (DWORD)std::clamp(green, 0, 255) << 8 | (DWORD)std::clamp(blue, 0, 255);
    float w = (float)dst->nWidth, h = (float)dst->nHeight;
    float u1 = src->nTexWidth ? (float)src->nWidth / (float)src->nTexWidth : 1.0f;
    float v1 = src->nTexHeight ? (float)src->nHeight / (float)src->nTexHeight : 1.0f;
    const DDQUADVERTEX v[4] = {{-0.5f, -0.5f, 0, 1, colour, 0, 0},
                               {-0.5f, h - 0.5f, 0, 1, colour, 0, v1},
                               {w - 0.5f, -0.5f, 0, 1, colour, u1, 0},
                               {w - 0.5f, h - 0.5f, 0, 1, colour, u1, v1}};
    DDDrawSourceQuad(dst, src, v, ModulateStates, nullptr);
    return 1;
}

int DDChangeColorWrap(DDSURFACEDATA* dst, int x, int y, int width, int height, int a, int red, int green, int blue) {
    return DDChangeColor(dst, x, y, width, height, dst, a, red, green, blue);
}

int DDBltRotate(DDSURFACEDATA* dst, int dx, int dy, int width, int height, int pivotX, int pivotY, double angle,
                DDSURFACEDATA* src, int sx, int sy, int keyFlag) {
    if (!dst || !src || width <= 0 || height <= 0 || !std::isfinite(angle)) return 1;
    double rad = angle * kPi / 180.0;
    if (g_lpDDDevice) {
        Redirect(dst);
        Redirect(src);
        if (!dst->lpDT || !src->lpDT || !dst->lpDT->bRenderTarget || src->lpDT->bSysMem) return 1;
        double c = std::cos(rad), s = std::sin(rad);
        double ox = dx - width / 2.0 + pivotX, oy = dy - height / 2.0 + pivotY;
        float tw = (float)std::max(1, src->nTexWidth), th = (float)std::max(1, src->nTexHeight);
        const int cx[4] = {0, 0, width, width}, cy[4] = {0, height, 0, height};
        DDQUADVERTEX v[4];
        for (int k = 0; k < 4; ++k) {
            double X = cx[k] - pivotX, Y = cy[k] - pivotY;
            v[k] = DDQUADVERTEX{(float)(ox + X * c - Y * s) - 0.5f, (float)(oy + X * s + Y * c) - 0.5f, 0, 1,
                                g_lpDDDevice->dwDrawColor, (float)(sx + cx[k]) / tw, (float)(sy + cy[k]) / th};
        }
        DDDrawSourceQuad(dst, src, v, DeviceStates, nullptr);
        return 1;
    }
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    const int64_t s = (int64_t)(std::sin(rad) * 1024.0), c = (int64_t)(std::cos(rad) * 1024.0);
    // The rotated corners about the pivot give the box, widened by 2 on every side.
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    const int64_t cx[4] = {-pivotX, (int64_t)width - pivotX, -pivotX, (int64_t)width - pivotX};
    const int64_t cy[4] = {-pivotY, -pivotY, (int64_t)height - pivotY, (int64_t)height - pivotY};
    for (int k = 0; k < 4; ++k) {
        int64_t X = (cx[k] * c - cy[k] * s) >> 10, Y = (cx[k] * s + cy[k] * c) >> 10;
        minX = std::min(minX, X), maxX = std::max(maxX, X);
        minY = std::min(minY, Y), maxY = std::max(maxY, Y);
    }
    // Only the part of the box inside the destination is visited.
    minX = std::max(minX - 2, -(int64_t)dx);
    maxX = std::min(maxX + 2, (int64_t)px.DstW() - 1 - dx);
    minY = std::max(minY - 2, -(int64_t)dy);
    maxY = std::min(maxY + 2, (int64_t)px.DstH() - 1 - dy);
    int bpp = px.Bpp();
    for (int64_t Y = minY; Y <= maxY; ++Y)
        for (int64_t X = minX; X <= maxX; ++X) {
            int64_t u = ((X * c + Y * s) >> 10) + pivotX, v = ((Y * c - X * s) >> 10) + pivotY;
            if (u < 0 || v < 0 || u >= width || v >= height || !px.InSrc(sx + u, sy + v)) continue;
            DWORD p = px.Src((int)(sx + u), (int)(sy + v));
            if (keyFlag == 1 && DDIsKeyPixel(p, bpp)) continue;
            px.Set((int)(dx + X), (int)(dy + Y), p);
        }
    return 1;
}

int DDBltRadial(DDSURFACEDATA* dst, int cx, int cy, int r, int d, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
                int clearFlag) {
    (void)clearFlag;  // the disc's square outside the circle is left as it is
    if (!dst || !src || r < 0 || d < 0) return 1;
    const int64_t R = (int64_t)std::sqrt((double)r * r + (double)d * d);
    if (R <= d) return 1;
    Redirect(dst);
    Redirect(src);
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    int bpp = px.Bpp();
    bool repack = g_lpDDDevice && bpp == 16 && DDIsFullScreenBackBuffer(dst) && src != dst;
    const int64_t r2 = (int64_t)r * r;
    int64_t i0 = std::max<int64_t>(-r, -(int64_t)cx), i1 = std::min<int64_t>(r, (int64_t)px.DstW() - 1 - cx);
    int64_t j0 = std::max<int64_t>(-r, -(int64_t)cy), j1 = std::min<int64_t>(r, (int64_t)px.DstH() - 1 - cy);
    for (int64_t j = j0; j <= j1; ++j)
        for (int64_t i = i0; i <= i1; ++i) {
            if (i * i + j * j > r2) continue;
            double z = std::sqrt((double)(R * R - i * i - j * j));
            int64_t u = i, v = j;
            if (z > 0) {
                u = (int64_t)((double)i * d / z + 0.5);
                v = (int64_t)((double)j * d / z + 0.5);
            }
            if (!px.InSrc(sx + u, sy + v)) continue;
            DWORD p = px.Src((int)(sx + u), (int)(sy + v));
            if (keyFlag == 1 && DDIsAlphaKeyPixel(p, bpp)) continue;
            if (repack) {
                DWORD ch[3];
                DDSplit16(p, g_dwChannel2, ch);
                ch[1] = ch[1] * g_dwChannel1[CH_GMAX] / std::max<DWORD>(1, g_dwChannel2[CH_GMAX]);
                p = DDPack16(ch, g_dwChannel1);
            }
            px.Set((int)(cx + i), (int)(cy + j), p);
        }
    return 1;
}

namespace {
// Channel values of a pixel: 16-bit fields of a channel set, or the bytes red, green, blue.
void Channels(DWORD p, int bpp, const DWORD* set, DWORD c[3]) {
    if (bpp == 16) {
        DDSplit16(p, set, c);
    } else {
        c[0] = (p >> 16) & 0xFF;
        c[1] = (p >> 8) & 0xFF;
        c[2] = p & 0xFF;
    }
}
// A destination pixel with its colour fields replaced (other bits kept).
DWORD Replace(DWORD old, const DWORD c[3], int bpp, const DWORD* set) {
    if (bpp == 16) return (old & ~DDColourMask16(set) & 0xFFFF) | DDPack16(c, set);
    return (old & 0xFF000000u) | (std::min<DWORD>(c[0], 255) << 16) | (std::min<DWORD>(c[1], 255) << 8) |
           std::min<DWORD>(c[2], 255);
}
}  // namespace

int DDBltBlur(DDSURFACEDATA* dst, int dx, int dy, int width, int height, int radiusX, int radiusY, DDSURFACEDATA* src,
              int sx, int sy, int keyFlag) {
    if (!dst || !src || radiusX == 0 || radiusY == 0) return 1;
    Redirect(dst);
    Redirect(src);
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    int bpp = px.Bpp();
    if (bpp == 8) {
        WriteLog("8ビットぼかしは不可能！");
        return 1;
    }
    if (bpp != 16 && bpp != 32) return 1;
    if (radiusX < 0 || radiusY < 0 || width <= 0 || height <= 0) return 1;  // an empty window counts nothing
    // The part of the rectangle that lies on the source; pixels elsewhere count nothing.
    int64_t x0 = std::max<int64_t>(0, -(int64_t)sx), y0 = std::max<int64_t>(0, -(int64_t)sy);
    int64_t x1 = std::min<int64_t>(width, (int64_t)px.SrcW() - sx), y1 = std::min<int64_t>(height, (int64_t)px.SrcH() - sy);
    if (x1 <= x0 || y1 <= y0) return 1;
    const int W = (int)(x1 - x0), H = (int)(y1 - y0);
    const DWORD* sset = DDChannelsOf(src);
    const DWORD* dset = DDChannelsOf(dst);
    // Summed tables of the counted pixels and their channels over the region.
    const size_t stride = (size_t)W + 1;
    std::vector<int64_t> sum[4];
    for (auto& t : sum) t.assign(stride * ((size_t)H + 1), 0);
    std::vector<uint8_t> transparent((size_t)W * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            DWORD p = px.Src((int)(sx + x0 + x), (int)(sy + y0 + y));
            bool skip = keyFlag == 1 && DDIsAlphaKeyPixel(p, bpp);
            transparent[(size_t)y * W + x] = skip;
            DWORD c[3] = {0, 0, 0};
            if (!skip) Channels(p, bpp, sset, c);
            const int64_t v[4] = {skip ? 0 : 1, c[0], c[1], c[2]};
            size_t at = (size_t)(y + 1) * stride + x + 1;
            for (int k = 0; k < 4; ++k) sum[k][at] = v[k] + sum[k][at - 1] + sum[k][at - stride] - sum[k][at - stride - 1];
        }
    auto area = [&](int k, int ax, int ay, int bx, int by) {  // [ax, bx) x [ay, by)
        return sum[k][(size_t)by * stride + bx] - sum[k][(size_t)ay * stride + bx] - sum[k][(size_t)by * stride + ax] +
               sum[k][(size_t)ay * stride + ax];
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (transparent[(size_t)y * W + x]) continue;
            int64_t tx = dx + x0 + x, ty = dy + y0 + y;
            if (!px.InDst(tx, ty)) continue;
            int ax = (int)std::max<int64_t>(0, (int64_t)x - radiusX), bx = (int)std::min<int64_t>(W, (int64_t)x + radiusX);
            int ay = (int)std::max<int64_t>(0, (int64_t)y - radiusY), by = (int)std::min<int64_t>(H, (int64_t)y + radiusY);
            int64_t n = area(0, ax, ay, bx, by);
            if (n == 0) continue;
            DWORD c[3];
            for (int k = 0; k < 3; ++k) c[k] = (DWORD)(area(k + 1, ax, ay, bx, by) / n);
            if (bpp == 16 && sset != dset)
                for (int k = 0; k < 3; ++k) c[k] = c[k] * dset[CH_RMAX + k] / std::max<DWORD>(1, sset[CH_RMAX + k]);
            px.Set((int)tx, (int)ty, Replace(px.Dst((int)tx, (int)ty), c, bpp, dset));
        }
    return 1;
}

int DDBltMosaic(DDSURFACEDATA* dst, int dx, int dy, int width, int height, int n, DDSURFACEDATA* src, int sx, int sy,
                int keyFlag) {
    if (!dst || !src || n <= 0 || width <= 0 || height <= 0) return 1;
    Redirect(dst);
    Redirect(src);
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    int bpp = px.Bpp();
    if (bpp != 8 && bpp != 16 && bpp != 32) return 1;
    const DWORD* sset = DDChannelsOf(src);
    const DWORD* dset = DDChannelsOf(dst);
    // Only blocks that reach into the destination are worked out.
    int64_t bxFirst = std::max<int64_t>(0, -(int64_t)dx) / n * n, byFirst = std::max<int64_t>(0, -(int64_t)dy) / n * n;
    int64_t xEnd = std::min<int64_t>(width, (int64_t)px.DstW() - dx), yEnd = std::min<int64_t>(height, (int64_t)px.DstH() - dy);
    for (int64_t by = byFirst; by < yEnd; by += n)
        for (int64_t bx = bxFirst; bx < xEnd; bx += n) {
            int64_t bw = std::min<int64_t>(n, width - bx), bh = std::min<int64_t>(n, height - by);
            DWORD colour;
            if (bpp == 8) {
                if (!px.InSrc(sx + bx, sy + by)) continue;
                colour = px.Src((int)(sx + bx), (int)(sy + by));
                if (keyFlag == 1 && DDIsKeyPixel(colour, 8)) continue;
            } else {
                uint64_t total[3] = {0, 0, 0};
                int64_t count = 0;
                for (int64_t j = 0; j < bh; ++j)
                    for (int64_t i = 0; i < bw; ++i) {
                        if (!px.InSrc(sx + bx + i, sy + by + j)) continue;
                        DWORD p = px.Src((int)(sx + bx + i), (int)(sy + by + j));
                        if (keyFlag == 1 && DDIsAlphaKeyPixel(p, bpp)) continue;
                        DWORD c[3];
                        Channels(p, bpp, sset, c);
                        for (int k = 0; k < 3; ++k) total[k] += bpp == 16 ? Expand(c[k], sset[CH_RMAX + k]) : c[k];
                        ++count;
                    }
                if (count == 0) continue;
                DWORD c[3];
                for (int k = 0; k < 3; ++k) {
                    DWORD avg = (DWORD)(total[k] / (uint64_t)count);
                    c[k] = bpp == 16 ? Narrow(avg, dset[CH_RMAX + k]) : avg;
                }
                if (bpp == 16) {
                    colour = DDPack16(c, dset);
                    if (g_lpDDDevice && dset[CH_ASHIFT] < 16 && dset[CH_AMAX]) colour |= dset[CH_AMAX] << dset[CH_ASHIFT];
                } else {
                    colour = c[0] << 16 | c[1] << 8 | c[2] | (g_lpDDDevice ? 0xFF000000u : 0);
                }
                if (keyFlag == 1 && !g_lpDDDevice && DDIsKeyPixel(colour, bpp)) continue;
            }
            for (int64_t j = 0; j < bh; ++j)
                for (int64_t i = 0; i < bw; ++i) {
                    int64_t tx = dx + bx + i, ty = dy + by + j;
                    if (!px.InDst(tx, ty)) continue;
                    DWORD out = colour;
                    if (!g_lpDDDevice && bpp == 32) out = (px.Dst((int)tx, (int)ty) & 0xFF000000u) | (colour & 0xFFFFFF);
                    px.Set((int)tx, (int)ty, out);
                }
        }
    return 1;
}
