// Palette colours, pixels, circles, sheet text, numbers, DDLock and message boxes.
#include "media/primitives.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/helpers.h"
#include "core/report.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/restore.h"
#include "media/surface.h"
#include "platform/gdi/gdi.h"

DWORD PalNumToRGB(int palNum) {
    if (palNum < 0 || palNum > 255) return 0;  // no palette entry
    const PALETTEENTRY& e = g_EnginePalette[palNum];
    if (g_lpDDDevice) {
        if (g_nDDBpp == 8) return (DWORD)palNum;
        if (g_nDDBpp == 16 || g_nDDBpp == 32) {
            if (palNum == 0) return g_nDDBpp == 16 ? g_lpDDDevice->wClearTex16 : g_lpDDDevice->dwClearTex32;
            return 0xFF000000u | (DWORD)e.peRed << 16 | (DWORD)e.peGreen << 8 | e.peBlue;
        }
        return 0;
    }
    switch (g_nDDBpp) {
    case 8: return (DWORD)palNum;
    case 16: return DDPalToRGB16(e) & 0xFFFF;
    case 24:
    case 32: return (DWORD)e.peRed << 16 | (DWORD)e.peGreen << 8 | e.peBlue;
    default: return 0;
    }
}

void DDPSet(DDSURFACEDATA* dst, int x, int y, int palNum) {
    if (!dst || x < 0 || y < 0 || x >= dst->nWidth || y >= dst->nHeight) return;
    if (g_lpDDDevice) {
        DDFillRect(dst, x, y, 1, 1, palNum);
        return;
    }
    if (!dst->lpDD || !dst->lpDD->lpSurface) return;
    RECT r{x, y, x + 1, y + 1};
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = PalNumToRGB(palNum);
    dst->lpDD->lpSurface->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void DDDrawCircle(DDSURFACEDATA* dst, int cx, int cy, int r, int palNum) {
    if (r <= 0 || !dst) return;
    int x = 0, y = r;
    int64_t d = 3 - 2 * (int64_t)r;
    while (x <= y) {
        const int px[8] = {cx + x, cx - x, cx + x, cx - x, cx + y, cx - y, cx + y, cx - y};
        const int py[8] = {cy + y, cy + y, cy - y, cy - y, cy + x, cy + x, cy - x, cy - x};
        for (int k = 0; k < 8; ++k) DDPSet(dst, px[k], py[k], palNum);
        if (d < 0) {
            d += 4 * (int64_t)x + 6;
        } else {
            d += 4 * ((int64_t)x - y) + 10;
            --y;
        }
        ++x;
    }
}

void DDDrawCharText(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* text) {
    if (!text || !dst || !sheet || cellW <= 0 || cellH <= 0) return;
    DDBatchBegin(0);
    int off = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
        unsigned c = *p;
        if (c == '\n') {
            y += cellH;
            off = 0;
            continue;
        }
        int col = (int)(c & 15), row = (int)(c >> 4);
        if (c >= 0xA6 && c <= 0xBF) row -= 10;
        else if (c >= 0xC0 && c <= 0xDD) row -= 4;
        DDBlt(dst, x + off, y, cellW, cellH, sheet, col * cellW, row * cellH, 1);
        off += cellW;
        if (off >= 640) {
            y += cellH;
            off = 0;
        }
    }
    DDBatchFlush();
}

void DDDrawCharTextF(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* format,
                     ...) {
    char buf[288];
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(buf, sizeof buf, format ? format : "", ap);
    va_end(ap);
    if (n >= (int)sizeof buf) {
        // Cut on a character boundary: never keep a lone lead byte.
        for (size_t len = 0; buf[len];) {
            if (_ismbblead((unsigned char)buf[len])) {
                if (!buf[len + 1]) {
                    buf[len] = 0;
                    break;
                }
                len += 2;
            } else {
                ++len;
            }
        }
    }
    DDDrawCharText(dst, x, y, cellW, cellH, sheet, buf);
}

void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int digitW, int digitH, DDSURFACEDATA* sheet, int sx, int sy,
                  int flags, int value, int minDigits, int centre) {
    unsigned v = value < 0 ? 0u : (unsigned)value;
    int digits[10];
    int n = 0;
    do {
        digits[n++] = (int)(v % 10);
        v /= 10;
    } while (v && n < 10);
    int start = 0;
    if (n < minDigits) {
        int64_t pad = (int64_t)(minDigits - n) * digitW;
        start = (int)(centre ? pad / 2 : pad);
    }
    for (int k = 0; k < n; ++k) {
        int d = digits[n - 1 - k];
        DDBlt(dst, x + start + k * digitW, y, digitW, digitH, sheet, sx + d * digitW, sy, flags);
    }
}

bool DDLock(DDSURFACEDATA* rec, DDSURFACEDESC2* desc, void** pixels, int bpp) {
    if (g_lpDDDevice) return true;  // nothing to lock with Direct3D
    if (!rec || !rec->lpDD || !rec->lpDD->lpSurface || !desc) return false;
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = 124;
    if (FAILED(rec->lpDD->lpSurface->Lock(nullptr, desc, DDLOCK_WAIT, nullptr))) return false;
    if ((bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32) && pixels) *pixels = desc->lpSurface;
    return true;
}

int DDMesBoxPrepare(int enter) {
    if (g_bDDWindowMode) return 1;
    if (g_lpDDDevice && g_lpD3DDevice) {
        if (enter) {
            DDEndScene();
            if (FAILED(g_lpD3DDevice->SetDialogBoxMode(TRUE))) return 0;
            while (ShowCursor(TRUE) < 0) {
            }
            return 1;
        }
        while (ShowCursor(FALSE) >= 0) {
        }
        return SUCCEEDED(g_lpD3DDevice->SetDialogBoxMode(FALSE)) ? 1 : 0;
    }
    if (g_lpDD) {
        if (enter) {
            if (FAILED(g_lpDD->FlipToGDISurface())) return 0;
            while (ShowCursor(TRUE) < 0) {
            }
            return 1;
        }
        while (ShowCursor(FALSE) >= 0) {
        }
        return 1;
    }
    return 1;
}

int DDMesBox(const char* text, const char* caption, UINT type) {
    if (!DDMesBoxPrepare(1)) return 0;
    MessageBoxA(g_hDDWnd, text, caption, type);
    DDMesBoxPrepare(0);
    return 1;
}

namespace {
bool FullScreenBox(const char* text, const char* caption, UINT type, int* answer) {
    if (!g_bDDInitialized || g_bDDWindowMode) return false;
    if (!DDMesBoxPrepare(1)) {
        *answer = 0;
        return true;  // the screen cannot show a box: none is shown
    }
    *answer = MessageBoxA(g_hDDWnd, text, caption, type);
    DDMesBoxPrepare(0);
    return true;
}
}  // namespace

void DDInstallMessageBox() { SetFullScreenMessageBox(FullScreenBox); }
