// GDI fonts and text: CreateFontA over the text rasteriser, TextOutA, GetTextExtentPoint32A and
// the context's text colour and background mode.
#include <cstring>
#include <mutex>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

// The font a context uses when the program selected none.
std::shared_ptr<FontText> DefaultFont() {
    static std::mutex m;
    static std::shared_ptr<FontText> font;
    std::lock_guard<std::mutex> lock(m);
    if (!font) font = FontText::Create("System", 16);
    return font;
}

std::shared_ptr<FontText> ContextFont(const DeviceContext& dc) {
    if (dc.selectedFont)
        if (auto f = FindFont(dc.selectedFont)) return f->text;
    return DefaultFont();
}

int TextBytes(LPCSTR s, int c) {
    if (!s || c == 0) return 0;
    if (c < 0) return (int)std::strlen(s);
    return c;
}

}  // namespace
}  // namespace gdi

using namespace gdi;

HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                  DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                  DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
    (void)cEscapement, (void)cOrientation, (void)cWeight, (void)bItalic, (void)bUnderline, (void)bStrikeOut;
    (void)iCharSet, (void)iOutPrecision, (void)iClipPrecision, (void)iQuality, (void)iPitchAndFamily;
    if (cWidth < 0) cWidth = -cWidth;  // GDI takes the width's magnitude
    auto text = FontText::Create(pszFaceName ? pszFaceName : "", cHeight, cWidth);
    if (!text) return nullptr;
    auto f = std::make_shared<FontObject>();
    f->text = std::move(text);
    return NewFont(std::move(f));
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR s, int c) {
    auto dc = FindDC(hdc);
    if (!dc) return FALSE;
    raster::Surface* px = DCPixels(hdc);
    if (!px || !px->Valid()) return FALSE;
    auto font = ContextFont(*dc);
    if (!font) return FALSE;
    COLORREF col = dc->textColor;
    uint32_t argb = 0xFF000000u | (uint32_t)GetRValue(col) << 16 | (uint32_t)GetGValue(col) << 8 | GetBValue(col);
    font->DrawOn(*px, RECT{0, 0, 0, 0}, x, y, s, TextBytes(s, c), argb);
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR s, int c, LPSIZE size) {
    auto dc = FindDC(hdc);
    if (!dc || !size || c < 0) return FALSE;
    auto font = ContextFont(*dc);
    if (!font) return FALSE;
    *size = font->Measure(s ? s : "", TextBytes(s, c));
    return TRUE;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    auto dc = FindDC(hdc);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->textColor;
    dc->textColor = color & 0x00FFFFFFu;
    return old;
}

int SetBkMode(HDC hdc, int mode) {
    auto dc = FindDC(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}
