// Screen transitions over the blits, palette blends and the scene fades.
#include "media/transitions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/blit.h"
#include "media/draw_device.h"
#include "media/pixel_effects.h"
#include "media/surface.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Floor division and modulo (the remainder never negative for a positive divisor).
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

// The four fade angles: fade-in and fade-out under each back end.
struct FADESTATE {
    double dInD3D = 0, dInDD = 0, dOutD3D = 90, dOutDD = 90;
} g_Fade;

// A screen-sized quad of one colour over the back buffer, colour and alpha from the vertex.
void ShadeBackBuffer(DWORD argb) {
    DDSURFACEDATA* dst = &g_BackBufferSD;
    DDIsVirtualBackBuffer(dst);
    if (!dst->lpDT || !g_BackBufferSD.lpDT || !g_BackBufferSD.lpDT->lpVB) return;
    IDirect3DVertexBuffer9* vb = g_BackBufferSD.lpDT->lpVB;
    struct VERTEX {
        float x, y, z, rhw;
        DWORD color;
        float u, v;
    } *v = nullptr;
    if (FAILED(vb->Lock(0, 0, (void**)&v, 0))) return;
    float w = (float)dst->nWidth, h = (float)dst->nHeight;
    v[0] = {-0.5f, -0.5f, 0, 1, argb, 0, 0};
    v[1] = {-0.5f, h - 0.5f, 0, 1, argb, 0, 1};
    v[2] = {w - 0.5f, -0.5f, 0, 1, argb, 1, 0};
    v[3] = {w - 0.5f, h - 0.5f, 0, 1, argb, 1, 1};
    vb->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, dst)) return;
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetTexture(0, nullptr);
    d->SetStreamSource(0, vb, 0, sizeof(VERTEX));
    d->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    d->SetStreamSource(0, nullptr, 0, 0);
    DDSetRestTarget();
}

// The drawing of one fade step at angle a (degrees); `start` is the fade's first angle.
void DrawFadeStep(double a, bool start, PALETTEENTRY* palette, int first, int last, int red, int green, int blue,
                  const PALETTEENTRY* srcPalette) {
    if (g_lpDDDevice) {
        int level = (int)(std::sin(a * kPi / 180.0) * 255.0);
        level = std::clamp(level, 0, 255);
        ShadeBackBuffer((DWORD)(255 - level) << 24);
        return;
    }
    int level = std::clamp((int)(std::sin(a * kPi / 180.0) * 256.0), 0, 256);
    if (g_nDDBpp == 8) {
        if (!palette || !srcPalette) return;
        FadePaletteToColor(palette, first, last, level, red, green, blue, srcPalette);
        int f = std::clamp(first, 0, 255), l = std::clamp(last, 0, 255);
        if (g_lpDDPalette && f <= l) g_lpDDPalette->SetEntries(0, (DWORD)f, (DWORD)(l - f + 1), palette + f);
        return;
    }
    if (start) DDBlt(&g_DDWorkSD, 0, 0, g_DDWorkSD.nWidth, g_DDWorkSD.nHeight, &g_BackBufferSD, 0, 0, DDBLT_OPAQUE);
    DDFade_UnPal(&g_BackBufferSD, level, red, green, blue, &g_DDWorkSD);
}

// A step that cannot move the angle (0, negative or not a number) ends the fade at once.
bool UsableStep(double step) { return step > 0 && std::isfinite(step); }

}  // namespace

void DrawFrame(DDSURFACEDATA* dst, int x, int y, int width, int height, int t, int palNum) {
    if (!dst) return;
    DDFillRect(dst, x, y, width, t, palNum);
    DDFillRect(dst, x, y + height - t, width, t, palNum);
    DDFillRect(dst, x, y, t, height, palNum);
    DDFillRect(dst, x + width - t, y, t, height, palNum);
}

void DrawFrameBox(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* image, int t, int palNum) {
    if (image) DDBlt(dst, x, y, width, height, image, 0, 0, DDBLT_OPAQUE);
    DrawFrame(dst, x - t, y - t, width + 2 * t, height + 2 * t, t, palNum);
}

void DrawSineEffect(DDSURFACEDATA* dst, int x, int y, int width, int height, double frequency, double amplitude,
                    double phase, int strip, DDSURFACEDATA* src, int sx, int sy, int flags, int horizontal) {
    if (strip <= 0 || width <= 0 || height <= 0) return;
    double k = frequency * kPi / 180.0, acc = 0;
    DDBatchBegin(0);
    if (horizontal) {
        double per = 360.0 / width;
        for (int i = 0; i < width; i += strip) {
            acc += per * strip;
            int dy = (int)(std::sin((phase + acc) * k) * amplitude);
            DDBlt(dst, x + i, y + dy, std::min(strip, width - i), height, src, sx + i, sy, flags);
            if (strip > width - i) break;
        }
    } else {
        double per = 360.0 / height;
        for (int i = 0; i < height; i += strip) {
            acc += per * strip;
            int dx = (int)(std::sin((phase + acc) * k) * amplitude);
            DDBlt(dst, x + dx, y + i, width, std::min(strip, height - i), src, sx, sy + i, flags);
            if (strip > height - i) break;
        }
    }
    DDBatchFlush();
}

void DrawBlinds(DDSURFACEDATA* dst, int x, int y, int width, int height, int s, int o, DDSURFACEDATA* src, int sx,
                int sy, int flags, int horizontal) {
    if (s == 0) {
        DDBlt(dst, x, y, width, height, src, sx, sy, flags);
        return;
    }
    if (s < 0) return;
    int n = (horizontal ? width : height) / s;
    DDBatchBegin(0);
    for (int k = 0; k < n; ++k) {
        int off = (k & 1) ? -o : o;
        if (horizontal)
            DDBlt(dst, x + k * s, y + off, s, height, src, sx + k * s, sy, flags);
        else
            DDBlt(dst, x + off, y + k * s, width, s, src, sx, sy + k * s, flags);
    }
    DDBatchFlush();
}

void DrawFlip(DDSURFACEDATA* dst, int x, int y, int width, int height, const FLIPIMAGE& front, const FLIPIMAGE& back,
              int srcWidth, int srcHeight, int flags, int t, int axis) {
    if (axis != 0 && axis != 1) return;
    int size = axis == 0 ? width : height;
    if (size <= 0) return;
    int half = size >> 1;
    int64_t d = 0;
    bool useFront;
    if (half > 0) {
        int64_t turn = FloorDiv(t, half), m = FloorMod(t, half);
        d = (turn % 2 == 0) ? m : half - m - 1;
        useFront = FloorDiv((int64_t)half + t, size) % 2 == 0;
    } else {
        // A rectangle one pixel across cannot narrow: the images take turns each time unit.
        useFront = FloorMod(t, 2) == 0;
    }
    const FLIPIMAGE& img = useFront ? front : back;
    if (axis == 0)
        DDBltStretch(dst, x + (int)d, y, width - 2 * (int)d, height, img.src, img.sx, img.sy, srcWidth, srcHeight, flags);
    else
        DDBltStretch(dst, x, y + (int)d, width, height - 2 * (int)d, img.src, img.sx, img.sy, srcWidth, srcHeight, flags);
}

void DrawQuarterSplit(DDSURFACEDATA* dst, int x, int y, int width, int height, DDSURFACEDATA* src, int sx, int sy,
                      int d, int flags) {
    int hw = width >> 1, hh = height >> 1;
    DDBatchBegin(0);
    DDBlt(dst, x - d, y - d, hw, hh, src, sx, sy, flags);
    DDBlt(dst, x + hw + d, y - d, hw, hh, src, sx + hw, sy, flags);
    DDBlt(dst, x - d, y + hh + d, hw, hh, src, sx, sy + hh, flags);
    DDBlt(dst, x + hw + d, y + hh + d, hw, hh, src, sx + hw, sy + hh, flags);
    DDBatchFlush();
}

void FadePaletteToColor(PALETTEENTRY* dst, int first, int last, int rate, int red, int green, int blue,
                        const PALETTEENTRY* src) {
    if (!dst || !src) return;
    first = std::max(first, 0);
    last = std::min(last, 255);
    rate = std::clamp(rate, 0, 256);
    red = std::clamp(red, 0, 255);
    green = std::clamp(green, 0, 255);
    blue = std::clamp(blue, 0, 255);
    for (int i = first; i <= last; ++i) {
        PALETTEENTRY s = src[i];
        dst[i].peRed = (BYTE)((s.peRed * rate + red * (256 - rate)) >> 8);
        dst[i].peGreen = (BYTE)((s.peGreen * rate + green * (256 - rate)) >> 8);
        dst[i].peBlue = (BYTE)((s.peBlue * rate + blue * (256 - rate)) >> 8);
        dst[i].peFlags = 1;
    }
}

void RotatePaletteRange(PALETTEENTRY* dst, int first, int last, int n, int direction, const PALETTEENTRY* src) {
    if (!dst || !src) return;
    if (g_nDDBpp != 8 && g_nDDBpp != 16 && g_nDDBpp != 32) return;
    PALETTEENTRY copy[256];
    std::memcpy(copy, src, sizeof copy);  // the source may be the destination
    std::memcpy(dst, copy, sizeof copy);
    first = std::max(first, 0);
    last = std::min(last, 255);
    if (first >= last || (direction != 0 && direction != 1)) return;
    int len = last - first + 1;
    int shift = (int)FloorMod(n, len);
    if (direction == 1) shift = (len - shift) % len;
    for (int i = 0; i < len; ++i) dst[first + (i + shift) % len] = copy[first + i];
}

int DrawWaveFadeIn(PALETTEENTRY* palette, int first, int last, int red, int green, int blue, double step,
                   const PALETTEENTRY* srcPalette, int restart) {
    double& a = g_lpDDDevice ? g_Fade.dInD3D : g_Fade.dInDD;
    // A restarted fade takes its picture now, as a fade from its start does.
    bool start = a == 0 || restart;
    if (restart || !UsableStep(step)) a = 90;
    DrawFadeStep(a, start, palette, first, last, red, green, blue, srcPalette);
    if (a >= 90) {
        a = 0;
        return 1;
    }
    a = std::min(a + step, 90.0);
    return 0;
}

int DrawWaveFadeOut(PALETTEENTRY* palette, int first, int last, int red, int green, int blue, double step,
                    const PALETTEENTRY* srcPalette, int restart) {
    double& a = g_lpDDDevice ? g_Fade.dOutD3D : g_Fade.dOutDD;
    bool start = a == 90 || restart;
    if (restart || !UsableStep(step)) a = 0;
    DrawFadeStep(a, start, palette, first, last, red, green, blue, srcPalette);
    if (a <= 0) {
        a = 90;
        return 1;
    }
    a = std::max(a - step, 0.0);
    return 0;
}
