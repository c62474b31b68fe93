// Device contexts and bitmaps behind GDI handles, shared with the drawing interfaces: a surface
// of DirectDraw or Direct3D hands out a device context on its pixels (GetDC), and the fonts draw
// text through the same contexts.
#pragma once

#include <memory>

#include "platform/gdi/bmp.h"
#include "platform/gdi/fonttext.h"
#include "platform/gdi/gdi.h"

namespace gdi {

// A bitmap handle's object: a decoded bitmap section.
struct BitmapObject {
    Dib dib;
};

// A font handle's object: the face at its size.
struct FontObject {
    std::shared_ptr<FontText> text;
};

// A device context's object.
struct DeviceContext {
    enum Kind { Memory, Surface, Window } kind = Memory;
    HGDIOBJ selectedBitmap = nullptr;       // memory contexts
    raster::Surface* surface = nullptr;     // surface contexts: the pixels drawn into
    HWND hwnd = nullptr;                    // window contexts
    HGDIOBJ selectedFont = nullptr;         // null: the default font
    COLORREF textColor = 0;                 // black, as a new context has it
    int bkMode = 2;                         // OPAQUE
};

// A context on a surface's pixels; the caller keeps the surface alive until it is released.
HDC CreateSurfaceDC(raster::Surface* surface);
void ReleaseSurfaceDC(HDC hdc);

// The object behind a handle, or null when the handle is not one (thread-safe lookups).
std::shared_ptr<DeviceContext> FindDC(HDC hdc);
std::shared_ptr<BitmapObject> FindBitmap(HGDIOBJ h);
std::shared_ptr<FontObject> FindFont(HGDIOBJ h);
// Registers a font object and returns its handle.
HFONT NewFont(std::shared_ptr<FontObject> font);
// The handle SelectObject gives back for "the context's own font" (the default font).
HGDIOBJ DefaultFontHandle();
// The pixels a context draws into or reads from (a surface, or the selected bitmap); null for
// window contexts and empty memory contexts.
raster::Surface* DCPixels(HDC hdc);
// Registers a context object and returns its handle.
HDC NewDC(std::shared_ptr<DeviceContext> dc);

}  // namespace gdi
