// The bitmap font cFont: Shift-JIS text of one face and size laid out on a fixed grid (every
// character, single- or double-byte, advances by the character pitch; "\n" goes one line pitch
// down), drawn through GDI (DirectDraw) or a D3DX font (Direct3D), with two glyph sheets that
// cache rendered characters, icon letters, framed boxes, formatted text and digit sheets.
// Every font made registers itself in the font list, which the device restore walks.
#pragma once

#include <string>
#include <vector>

#include "media/draw_types.h"
#include "media/fast_font.h"

class cFont {
public:
    cFont() = default;
    ~cFont();
    cFont(const cFont&) = delete;
    cFont& operator=(const cFont&) = delete;

    // Builds the font (both back ends); failures are reported, WM_CLOSE is posted and false
    // comes back, the font keeping what was made.
    bool Create(const char* face, int width, int height, int pitchW, int pitchH, int colour, DDSURFACEDATA* boxImage,
                int frameWidth, int frameColour, DDSURFACEDATA* iconImage, int cache);
    // cFont::Create for fonts[i] with settings[i], the image slots taken from the asset table;
    // 1, or 0 when a font could not be made.
    static int CreateFromTable(cFont* fonts, const FONTSETTING* settings, int n);
    // A digit sheet per font ((pitch x 10) x line pitch, the descriptor's memory words) with the
    // digits drawn on it; 1, or 0 when a sheet could not be made.
    static int CreateDigitSheets(DDSURFACEDATA* surfaces, const SURFACEFILEDESC* descs, int n, cFont* fonts,
                                 const FONTSETTING* settings);

    // Text with its top-left at (x, y).
    void DrawText(DDSURFACEDATA* dst, int x, int y, const char* text);
    // printf-style text (at most 255 bytes, cut on a character boundary).
    void DrawTextF(DDSURFACEDATA* dst, int x, int y, const char* format, ...) __attribute__((format(printf, 5, 6)));
    // The box image with its frame; x or y of 10000 centres the box on the box image.
    void DrawFramedBox(DDSURFACEDATA* dst, int x, int y, int width, int height);
    // A box with a text in it; a width or height of 0 is measured from the text.
    void DrawTextFramed(DDSURFACEDATA* dst, int x, int y, int width, int height, const char* text, int margin);
    void DrawTextFramedEx(DDSURFACEDATA* dst, int x, int y, int width, int height, const char* text, int margin,
                          int unused);
    // printf-style (at most 511 bytes), then as DrawTextFramed with margin 0.
    void DrawTextBox(DDSURFACEDATA* dst, int x, int y, int width, int height, const char* format, ...)
        __attribute__((format(printf, 7, 8)));
    // Width of the widest line and height of all lines.
    SIZE MeasureText(const char* text);
    // Rebuilds what a device loss destroyed (glyph sheets, the work surface).
    void Restore();
    // Releases the font's device objects, both glyph sheets and the work surface.
    void ReleaseFontObjects();

    // Characters cached on the full-width sheet (0 without one).
    int GlyphCount() const { return m_lpFastFont_FullAdd ? m_lpFastFont_FullAdd->m_nCount : 0; }
    // Whether the font has its back end's font object.
    bool HasDeviceObject() const { return m_hFont || m_lpD3DXFont; }

    DWORD m_dwFontNo = 0;
    HFONT m_hFont = nullptr;
    ID3DXFont* m_lpD3DXFont = nullptr;
    ID3DXSprite* m_lpSprite = nullptr;
    std::string m_strFace;
    int m_nFontWidth = 0, m_nFontHeight = 0;
    int m_nPitchW = 0;  // character pitch: the advance of every character (0: proportional)
    int m_nPitchH = 0;  // line pitch
    int m_nColor = 0;   // palette colour number
    DWORD m_dwColor = 0;  // the colour number for the back end
    DWORD m_bCentre = 0;  // centre each glyph in its cell
    DDSURFACEDATA m_WorkSD{};  // "Font::Work"
    DDSURFACEDATA* m_lpBoxImage = nullptr;
    int m_nFrameWidth = 0;
    int m_nFrameColor = 0;
    DDSURFACEDATA* m_lpIconImage = nullptr;
    DWORD m_bIcon = 0;  // lowercase letters draw icon cells
    DWORD m_bFastFont = 0;  // glyph sheets in use
    cFastFont* m_lpFastFont_Half = nullptr;
    cFastFont* m_lpFastFont_FullAdd = nullptr;

private:
    struct LAYOUT;
    void DestroySheets();
    void ComputeColour();
    void DrawTextUnbanded(DDSURFACEDATA* dst, int x, int y, const char* text);
    void Layout(LAYOUT& lay, const char* text);
    void DrawDirect(LAYOUT& lay, int gx, int gy, const char* glyph, int bytes);
    void DrawIconLetters(DDSURFACEDATA* dst, int x, int y, const char* text);
    void DrawHalfSheet();
    void DrawFullSheet();
    void DrawSheetGlyphs(cFastFont* sheet, bool half);
    bool BeginDirect(LAYOUT& lay);
    void EndDirect(LAYOUT& lay);
};

// The font list: every font made and not yet released, in the order of creation.
std::vector<cFont*>& FontList();

// Size of a text on the font's grid: width = the widest line's character count x the
// character pitch, height = lines x the line pitch (an empty line counts).
SIZE MeasureFontText(cFont* font, const char* text);
// Fills the sheet with colour 0 and draws "0123456789" on it with the font.
void DrawDigitSheet(DDSURFACEDATA* surface, cFont* font);
// The DirectDraw frame's visit of the digit sheets: a lost sheet is restored and, in video
// memory, drawn again. Never fails.
void RestoreDigitSheets(DDSURFACEDATA* surfaces, cFont* fonts, int n);
