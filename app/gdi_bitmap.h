// The holder of a window's or a bitmap control's GDI drawing resources: two memory device
// contexts, each with the bitmap selected into it and the bitmap that one displaced, a font
// selected into the first context with the font it displaced, and one further GDI object.
// A new holder holds nothing, and releasing an empty holder (or one released already) does
// nothing. The holder owns what it holds, so it is never copied.
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/win32/types.h"

class cGdiBitmap {
public:
    cGdiBitmap();
    // ReleaseFont, Release, then the further object is deleted.
    ~cGdiBitmap();
    cGdiBitmap(const cGdiBitmap&) = delete;
    cGdiBitmap& operator=(const cGdiBitmap&) = delete;

    // Each context: the displaced bitmap is selected back and the bitmap deleted; then the
    // context is deleted.
    void Release();
    // The displaced font is selected back into the first context and the font deleted.
    void ReleaseFont();

    HDC m_hDC[2];
    HBITMAP m_hBitmap[2];
    HGDIOBJ m_hOldBitmap[2];
    HFONT m_hFont;
    HGDIOBJ m_hOldFont;
    HGDIOBJ m_hObject;
};
