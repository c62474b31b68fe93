#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/gdi/dc.h"
#include "platform/host/host.h"
#include "platform/raster/blit.h"

namespace gdi {
namespace {

struct Table {
    std::mutex m;
    uintptr_t next = 0x51000;
    std::map<uintptr_t, std::shared_ptr<DeviceContext>> dcs;
    std::map<uintptr_t, std::shared_ptr<BitmapObject>> bitmaps;
    std::map<uintptr_t, std::shared_ptr<FontObject>> fonts;
};

constexpr uintptr_t kNoBitmap = 0x50FF0;     // "no bitmap of its own", handed back by SelectObject
constexpr uintptr_t kDefaultFont = 0x50FF4;  // the context's default font

Table& Objects() {
    static Table* t = new Table;  // lives for the whole process
    return *t;
}

std::atomic<int> g_cursorCount{0};

}  // namespace

HDC NewDC(std::shared_ptr<DeviceContext> dc) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    uintptr_t h = (t.next += 4);
    t.dcs[h] = std::move(dc);
    return (HDC)h;
}

HDC CreateSurfaceDC(raster::Surface* surface) {
    if (!surface || !surface->Valid()) return nullptr;
    auto dc = std::make_shared<DeviceContext>();
    dc->kind = DeviceContext::Surface;
    dc->surface = surface;
    return NewDC(dc);
}

void ReleaseSurfaceDC(HDC hdc) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.dcs.find((uintptr_t)hdc);
    if (it != t.dcs.end() && it->second->kind == DeviceContext::Surface) t.dcs.erase(it);
}

std::shared_ptr<DeviceContext> FindDC(HDC hdc) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.dcs.find((uintptr_t)hdc);
    return it == t.dcs.end() ? nullptr : it->second;
}

std::shared_ptr<FontObject> FindFont(HGDIOBJ h) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.fonts.find((uintptr_t)h);
    return it == t.fonts.end() ? nullptr : it->second;
}

HFONT NewFont(std::shared_ptr<FontObject> font) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    uintptr_t h = (t.next += 4);
    t.fonts[h] = std::move(font);
    return (HFONT)h;
}

HGDIOBJ DefaultFontHandle() { return (HGDIOBJ)kDefaultFont; }

std::shared_ptr<BitmapObject> FindBitmap(HGDIOBJ h) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.bitmaps.find((uintptr_t)h);
    return it == t.bitmaps.end() ? nullptr : it->second;
}

raster::Surface* DCPixels(HDC hdc) {
    auto dc = FindDC(hdc);
    if (!dc) return nullptr;
    if (dc->kind == DeviceContext::Surface) return dc->surface;
    if (dc->kind == DeviceContext::Memory) {
        auto bm = FindBitmap(dc->selectedBitmap);
        return bm ? &bm->dib.pixels : nullptr;
    }
    return nullptr;
}

int DesktopRefreshRate() { return 60; }

}  // namespace gdi

using namespace gdi;

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    (void)hInst;
    (void)cx;  // the program loads bitmaps at their own size
    (void)cy;
    if (type != IMAGE_BITMAP || !(fuLoad & LR_LOADFROMFILE)) return nullptr;
    auto bm = std::make_shared<BitmapObject>();
    if (!LoadBmpFile(name, &bm->dib, nullptr)) return nullptr;
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    uintptr_t h = (t.next += 4);
    t.bitmaps[h] = std::move(bm);
    return (HANDLE)h;
}

int GetObjectA(HANDLE h, int c, LPVOID pv) {
    auto bm = FindBitmap(h);
    if (!bm) return 0;
    if (!pv) return (int)sizeof(BITMAP);
    if (c < (int)sizeof(BITMAP)) return 0;
    BITMAP b{};
    b.bmType = 0;
    b.bmWidth = bm->dib.pixels.width;
    b.bmHeight = bm->dib.pixels.height;
    b.bmWidthBytes = (LONG)((((int64_t)b.bmWidth * bm->dib.bitCount + 31) / 32) * 4);
    b.bmPlanes = 1;
    b.bmBitsPixel = (WORD)bm->dib.bitCount;
    b.bmBits = bm->dib.pixels.bits.data();
    std::memcpy(pv, &b, sizeof b);
    return (int)sizeof(BITMAP);
}

HDC CreateCompatibleDC(HDC hdc) {
    (void)hdc;
    return NewDC(std::make_shared<DeviceContext>());
}

BOOL DeleteDC(HDC hdc) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.dcs.find((uintptr_t)hdc);
    if (it == t.dcs.end() || it->second->kind != DeviceContext::Memory) return FALSE;
    t.dcs.erase(it);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    auto dc = FindDC(hdc);
    if (!dc) return nullptr;
    // Fonts go into every kind of context; the previous one (or the default) comes back.
    if ((uintptr_t)h == kDefaultFont || FindFont(h)) {
        HGDIOBJ old = dc->selectedFont ? dc->selectedFont : (HGDIOBJ)kDefaultFont;
        dc->selectedFont = (uintptr_t)h == kDefaultFont ? nullptr : h;
        return old;
    }
    if (dc->kind != DeviceContext::Memory || !(FindBitmap(h) || (uintptr_t)h == kNoBitmap)) return nullptr;
    HGDIOBJ old = dc->selectedBitmap;
    dc->selectedBitmap = (uintptr_t)h == kNoBitmap ? nullptr : h;
    // A context starts with no bitmap of its own; hand back a value that selects "none" again.
    return old ? old : (HGDIOBJ)kNoBitmap;
}

BOOL DeleteObject(HGDIOBJ ho) {
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    uintptr_t h = (uintptr_t)ho;
    if (h == kNoBitmap || h == kDefaultFont) return TRUE;
    if (auto f = t.fonts.find(h); f != t.fonts.end()) {
        for (auto& [k, dc] : t.dcs)
            if (dc->selectedFont == ho) return FALSE;  // still selected into a context
        t.fonts.erase(f);
        return TRUE;
    }
    auto it = t.bitmaps.find(h);
    if (it == t.bitmaps.end()) return FALSE;
    for (auto& [k, dc] : t.dcs)
        if (dc->selectedBitmap == ho) return FALSE;  // still selected into a context
    t.bitmaps.erase(it);
    return TRUE;
}

UINT GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD* prgbq) {
    auto dc = FindDC(hdc);
    if (!dc || dc->kind != DeviceContext::Memory || !prgbq) return 0;
    auto bm = FindBitmap(dc->selectedBitmap);
    if (!bm || bm->dib.bitCount > 8 || !bm->dib.pixels.palette) return 0;
    UINT n = 0;
    for (UINT i = iStart; i < (UINT)bm->dib.colourCount && n < cEntries; ++i, ++n) {
        uint32_t c = bm->dib.pixels.palette->argb[i];
        prgbq[n] = RGBQUAD{(BYTE)c, (BYTE)(c >> 8), (BYTE)(c >> 16), 0};
    }
    return n;
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
    if (rop != SRCCOPY) return FALSE;
    raster::Surface* dst = DCPixels(hdcDest);
    raster::Surface* src = DCPixels(hdcSrc);
    if (!dst || !src) return FALSE;
    raster::ConvertStretch(*dst, xDest, yDest, wDest, hDest, *src, xSrc, ySrc, wSrc, hSrc);
    return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

HDC GetDC(HWND hWnd) {
    auto dc = std::make_shared<DeviceContext>();
    dc->kind = DeviceContext::Window;
    dc->hwnd = hWnd;
    return NewDC(dc);
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    (void)hWnd;
    Table& t = Objects();
    std::lock_guard<std::mutex> lock(t.m);
    auto it = t.dcs.find((uintptr_t)hDC);
    if (it == t.dcs.end() || it->second->kind != DeviceContext::Window) return 0;
    t.dcs.erase(it);
    return 1;
}

int GetDeviceCaps(HDC hdc, int index) {
    auto dc = FindDC(hdc);
    if (!dc) return 0;
    raster::Surface* s = DCPixels(hdc);
    switch (index) {
    case BITSPIXEL:
        if (dc->kind == DeviceContext::Surface && s) return raster::BitsPerPixel(s->format);
        return host::DesktopDepth();
    case PLANES: return 1;
    case HORZRES:
    case VERTRES: {
        RECT d;
        host::DesktopRect(&d);
        return index == HORZRES ? d.right - d.left : d.bottom - d.top;
    }
    case VREFRESH: return DesktopRefreshRate();
    default: return 0;
    }
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
    (void)flags;
    if (!mode) return DISP_CHANGE_SUCCESSFUL;  // back to the registry mode: already there
    RECT d;
    host::DesktopRect(&d);
    if ((mode->dmFields & DM_DISPLAYFREQUENCY) && (int)mode->dmDisplayFrequency != DesktopRefreshRate())
        return DISP_CHANGE_BADMODE;
    if ((mode->dmFields & DM_BITSPERPEL) && (int)mode->dmBitsPerPel != host::DesktopDepth()) return DISP_CHANGE_BADMODE;
    if ((mode->dmFields & DM_PELSWIDTH) && (LONG)mode->dmPelsWidth != d.right - d.left) return DISP_CHANGE_BADMODE;
    if ((mode->dmFields & DM_PELSHEIGHT) && (LONG)mode->dmPelsHeight != d.bottom - d.top) return DISP_CHANGE_BADMODE;
    return DISP_CHANGE_SUCCESSFUL;
}

int ShowCursor(BOOL bShow) { return bShow ? ++g_cursorCount : --g_cursorCount; }
