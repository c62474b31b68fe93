// Translucent and tinted blits.
#include "media/translucent_blit.h"

#include <algorithm>
#include <array>

#include "media/blit.h"
#include "media/draw_device.h"
#include "media/pixel_access.h"

namespace {

DWORD Expand(DWORD v, DWORD max) { return max ? v * 255 / max : 0; }
DWORD Narrow(DWORD v, DWORD max) { return v * max / 255; }

// The rectangle after the source's mirror cells, the shared texture and the virtual back buffer.
struct BLITRECT {
    DDSURFACEDATA* dst;
    DDSURFACEDATA* src;
    int x, y, w, h, sx, sy, sw, sh;
};

BLITRECT PrepareD3D(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy) {
    BLITRECT b{dst, src, x, y, w, h, sx, sy, w, h};
    DDMirrorSourceRect(b.src, &b.sx, &b.sy, &b.sw, &b.sh);
    DDTextureOf(b.dst);
    DDTextureOf(b.src);
    DDIsVirtualBackBuffer(b.dst);
    DDIsVirtualBackBuffer(b.src);
    return b;
}

bool GpuPath(const BLITRECT& b) {
    return b.dst->lpDT && b.src->lpDT && b.dst->lpDT->bRenderTarget && !b.src->lpDT->bSysMem;
}

// The quad of a blit (as DDBltStretch lays it out) in one vertex colour.
bool QuadOf(BLITRECT b, DWORD colour, DDQUADVERTEX v[4]) {
    if (!DDClipRect(b.dst, &b.x, &b.y, &b.w, &b.h, b.src, &b.sx, &b.sy, &b.sw, &b.sh)) return false;
    float tw = (float)std::max(1, b.src->nTexWidth), th = (float)std::max(1, b.src->nTexHeight);
    float fx = (float)b.x - 0.5f, fy = (float)b.y - 0.5f;
    float u0 = (float)b.sx / tw, u1 = (float)(b.sx + b.sw) / tw, v0 = (float)b.sy / th, v1 = (float)(b.sy + b.sh) / th;
    v[0] = {fx, fy, 0, 1, colour, u0, v0};
    v[1] = {fx, fy + (float)b.h, 0, 1, colour, u0, v1};
    v[2] = {fx + (float)b.w, fy, 0, 1, colour, u1, v0};
    v[3] = {fx + (float)b.w, fy + (float)b.h, 0, 1, colour, u1, v1};
    return true;
}

// Walks the rectangle: fn(source pixel, destination x, destination y) for each pixel whose
// source and destination positions are inside their records (a mirrored source read leftwards
// or upwards from its edge).
template <typename Fn>
void Walk(const cPixelPair& px, const BLITRECT& b, Fn fn) {
    for (int j = 0; j < b.h; ++j) {
        int64_t ty = (int64_t)b.y + j, row = b.sh < 0 ? (int64_t)b.sy - 1 - j : (int64_t)b.sy + j;
        if (ty < 0 || ty >= px.DstH() || row < 0 || row >= px.SrcH()) continue;
        for (int i = 0; i < b.w; ++i) {
            int64_t tx = (int64_t)b.x + i, col = b.sw < 0 ? (int64_t)b.sx - 1 - i : (int64_t)b.sx + i;
            if (!px.InDst(tx, ty) || !px.InSrc(col, row)) continue;
            fn(px.Src((int)col, (int)row), (int)tx, (int)ty);
        }
    }
}

// Channel set a Direct3D pixel loop writes: set 1 (green doubled) into the full-screen
// R5G6B5 back buffer, else set 2.
bool ToScreen565(DDSURFACEDATA* dst) { return dst == &g_BackBufferSD && !g_bDDWindowMode && g_nDDBpp == 16; }

void TranslucentStates(void*) {
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}

void TintStates(void*) {
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
}

// n steps of the 8-bit tint as one table: entry s = the colour after n look-ups, composed by
// squaring so that any count costs a few passes.
std::array<BYTE, 256> TintMap8(const BYTE* table, int colour, int n) {
    std::array<BYTE, 256> result, step;
    for (int s = 0; s < 256; ++s) {
        result[s] = (BYTE)s;
        step[s] = table[s * 256 + colour];
    }
    for (unsigned k = (unsigned)n; k; k >>= 1) {
        if (k & 1)
            for (int s = 0; s < 256; ++s) result[s] = step[result[s]];
        std::array<BYTE, 256> twice;
        for (int s = 0; s < 256; ++s) twice[s] = step[step[s]];
        step = twice;
    }
    return result;
}

// n halving steps towards c, each (v + c) >> 1; after 9 steps every value has settled.
DWORD Halve(DWORD v, DWORD c, int n) {
    for (int k = 0; k < std::min(n, 16); ++k) v = (v + c) >> 1;
    return v;
}

}  // namespace

int DDBltTranslucent(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
                     const BYTE* colourTable, int a) {
    if (!dst || !src || w <= 0 || h <= 0) return 1;
    if (g_lpDDDevice) {
        BLITRECT b = PrepareD3D(dst, x, y, w, h, src, sx, sy);
        if (!b.dst->lpDT || !b.src->lpDT) return 1;
        if (GpuPath(b)) {
            DWORD colour = (DWORD)(255 - std::clamp(a, 0, 255)) << 24 | 0xFFFFFFu;
            DDQUADVERTEX v[4];
            if (QuadOf(b, colour, v) && DDDrawSourceQuad(b.dst, b.src, v, TranslucentStates, nullptr)) {
                g_lpD3DDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
                g_lpD3DDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
            }
            return 1;
        }
        cPixelPair px(b.dst, b.src);
        if (!px.Ok()) return 0;
        int bpp = px.Bpp();
        bool screen = bpp == 16 && ToScreen565(b.dst);
        const DWORD* dset = screen ? g_dwChannel1 : g_dwChannel2;
        Walk(px, b, [&](DWORD s, int tx, int ty) {
            if (keyFlag == 1 && DDIsKeyPixel(s, bpp)) return;
            DWORD d = px.Dst(tx, ty);
            if (bpp == 16) {
                DWORD cs[3], cd[3];
                DDSplit16(s, g_dwChannel2, cs);
                DDSplit16(d, dset, cd);
                if (screen) cs[1] *= 2;
                for (int k = 0; k < 3; ++k) cd[k] = (cs[k] + cd[k]) >> 1;
                DWORD out = DDPack16(cd, dset);
                if (!screen) out |= g_dwChannel2[CH_AMAX] << g_dwChannel2[CH_ASHIFT];
                px.Set(tx, ty, out);
            } else {
                DWORD out = 0xFF000000u;
                for (int sh = 0; sh < 24; sh += 8) out |= ((((s >> sh) & 0xFF) + ((d >> sh) & 0xFF)) >> 1) << sh;
                px.Set(tx, ty, out);
            }
        });
        return 1;
    }
    BLITRECT b{dst, src, x, y, w, h, sx, sy, w, h};
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    int bpp = px.Bpp();
    if (bpp == 8 && !colourTable) return 1;  // no mixing table: nothing to mix with
    const DWORD* set = g_dwChannel2;
    Walk(px, b, [&](DWORD s, int tx, int ty) {
        if (keyFlag == 1 && (bpp == 8 ? s == 0 : DDIsKeyPixel(s, bpp))) return;
        DWORD d = px.Dst(tx, ty);
        if (bpp == 8 ? d == 0 : DDIsKeyPixel(d, bpp)) {
            // Where the destination is transparent the source shows as it is.
            px.Set(tx, ty, bpp == 32 ? (d & 0xFF000000u) | (s & 0xFFFFFF) : s);
            return;
        }
        switch (bpp) {
        case 8: px.Set(tx, ty, colourTable[s + 256 * d]); break;
        case 16: {
            DWORD cs[3], cd[3];
            DDSplit16(s, set, cs);
            DDSplit16(d, set, cd);
            for (int k = 0; k < 3; ++k)
                cd[k] = Narrow((Expand(cs[k], set[CH_RMAX + k]) + Expand(cd[k], set[CH_RMAX + k])) >> 1, set[CH_RMAX + k]);
            px.Set(tx, ty, (d & ~DDColourMask16(set) & 0xFFFF) | DDPack16(cd, set));
            break;
        }
        case 32: {
            DWORD out = d & 0xFF000000u;
            for (int sh = 0; sh < 24; sh += 8) out |= ((((s >> sh) & 0xFF) + ((d >> sh) & 0xFF)) >> 1) << sh;
            px.Set(tx, ty, out);
            break;
        }
        default: break;
        }
    });
    return 1;
}

int DDEffectWrap128(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
                    const BYTE* colourTable) {
    return DDBltTranslucent(dst, x, y, w, h, src, sx, sy, keyFlag, colourTable, 128);
}

int DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int keyFlag,
              const PALETTEENTRY* palette, const BYTE* colourTable, int colourNumber, int strength) {
    if (!dst || !src || !palette || w <= 0 || h <= 0 || colourNumber < 0 || colourNumber > 255) return 1;
    const PALETTEENTRY& e = palette[colourNumber];
    int n = std::max(strength, 0);
    if (g_lpDDDevice) {
        BLITRECT b = PrepareD3D(dst, x, y, w, h, src, sx, sy);
        if (!b.dst->lpDT || !b.src->lpDT) return 1;
        if (GpuPath(b)) {
            static const DWORD kFactor[5] = {0, 128, 80, 48, 16};
            DWORD f = n >= 1 && n <= 4 ? kFactor[n] : 0;
            g_lpD3DDevice->SetRenderState(D3DRS_TEXTUREFACTOR,
                                          f << 24 | (DWORD)e.peRed << 16 | (DWORD)e.peGreen << 8 | e.peBlue);
            DDQUADVERTEX v[4];
            if (QuadOf(b, 0xFFFFFFFFu, v)) DDDrawSourceQuad(b.dst, b.src, v, TintStates, nullptr);
            return 1;
        }
        cPixelPair px(b.dst, b.src);
        if (!px.Ok()) return 0;
        int bpp = px.Bpp();
        bool screen = bpp == 16 && ToScreen565(b.dst);
        const DWORD* set = g_dwChannel2;
        DWORD col[3] = {e.peRed, e.peGreen, e.peBlue};
        if (bpp == 16)
            for (int k = 0; k < 3; ++k) col[k] = Narrow(col[k], set[CH_RMAX + k]);
        static const DWORD kWeight[5] = {0, 128, 64, 32, 16};
        float wgt = (float)(n >= 1 && n <= 4 ? kWeight[n] : 0) / 255.0f;
        Walk(px, b, [&](DWORD s, int tx, int ty) {
            if (keyFlag == 1 && DDIsKeyPixel(s, bpp)) return;
            DWORD c[3];
            if (bpp == 16)
                DDSplit16(s, set, c);
            else
                c[0] = (s >> 16) & 0xFF, c[1] = (s >> 8) & 0xFF, c[2] = s & 0xFF;
            for (int k = 0; k < 3; ++k)
                c[k] = n == 1 ? (c[k] + col[k]) >> 1 : (DWORD)(int)((float)c[k] * wgt + (float)col[k] * (1.0f - wgt));
            if (bpp == 16) {
                if (screen) {
                    c[1] *= 2;
                    px.Set(tx, ty, DDPack16(c, g_dwChannel1));
                } else {
                    px.Set(tx, ty, DDPack16(c, set) | set[CH_AMAX] << set[CH_ASHIFT]);
                }
            } else {
                px.Set(tx, ty, (px.Dst(tx, ty) & 0xFF000000u) | c[0] << 16 | c[1] << 8 | c[2]);
            }
        });
        return 1;
    }
    if (n == 0) return 1;
    BLITRECT b{dst, src, x, y, w, h, sx, sy, w, h};
    cPixelPair px(dst, src);
    if (!px.Ok()) return 0;
    int bpp = px.Bpp();
    const DWORD* set = g_dwChannel2;
    if (bpp == 8) {
        if (!colourTable) return 1;
        std::array<BYTE, 256> map = TintMap8(colourTable, colourNumber, n);
        Walk(px, b, [&](DWORD s, int tx, int ty) {
            if (keyFlag == 1 && DDIsKeyPixel(s, 8)) return;
            px.Set(tx, ty, map[s & 0xFF]);
        });
        return 1;
    }
    DWORD col[3] = {e.peRed, e.peGreen, e.peBlue};
    if (bpp == 16)
        for (int k = 0; k < 3; ++k) col[k] = Expand(std::min<DWORD>(col[k], set[CH_RMAX + k]), set[CH_RMAX + k]);
    Walk(px, b, [&](DWORD s, int tx, int ty) {
        if (keyFlag == 1 && DDIsKeyPixel(s, bpp)) return;
        if (bpp == 16) {
            DWORD c[3];
            DDSplit16(s, set, c);
            for (int k = 0; k < 3; ++k) c[k] = Narrow(Halve(Expand(c[k], set[CH_RMAX + k]), col[k], n), set[CH_RMAX + k]);
            px.Set(tx, ty, (px.Dst(tx, ty) & ~DDColourMask16(set) & 0xFFFF) | DDPack16(c, set));
        } else if (bpp == 32) {
            DWORD out = px.Dst(tx, ty) & 0xFF000000u;
            for (int k = 0; k < 3; ++k) out |= Halve((s >> (16 - 8 * k)) & 0xFF, col[k], n) << (16 - 8 * k);
            px.Set(tx, ty, out);
        }
    });
    return 1;
}
