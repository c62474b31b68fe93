// A glyph sheet of a bitmap font: a grid of cells on one colour-keyed surface, each cell one
// rendered character, found again by its code. The half-width sheet holds one cell per
// single-byte code; the full-width sheet fills its cells with double-byte characters as they
// are first drawn, and never evicts one.
#pragma once

#include <list>
#include <unordered_map>

#include "media/draw_types.h"

struct FASTGLYPH {
    char szCode[4];  // the two bytes of the character and a NUL
    int nIndex;      // cell index
    int nX, nY;      // cell position on the sheet
};

class cFastFont {
public:
    enum { KIND_HALF = 0, KIND_FULL = 1 };
    cFastFont() = default;
    ~cFastFont();
    cFastFont(const cFastFont&) = delete;
    cFastFont& operator=(const cFastFont&) = delete;

    // Makes the sheet surface (columns x cell width by rows x cell height, colour-keyed, a
    // render target under Direct3D); false when it cannot be made.
    bool Create(DWORD kind, int cellW, int cellH, int columns, int rows);
    // Frees the surface and the glyph list.
    void Destroy();
    int Capacity() const { return m_nColumns * m_nRows; }
    // Appends a character (two bytes) in the next free cell; 0 when the sheet is full.
    int AddGlyph(const char* ch);
    const FASTGLYPH* FindGlyph(const char* ch) const;
    // Blits the character's cell to (x, y) with colour key; 0 when it is not on the sheet.
    int DrawGlyph(DDSURFACEDATA* dst, int x, int y, const char* ch);
    // Blits the cell of a single-byte code (half-width sheet) to (x, y) with colour key.
    void DrawCell(DDSURFACEDATA* dst, int x, int y, unsigned char code);

    DWORD m_dwKind = KIND_HALF;
    int m_nCellW = 0, m_nCellH = 0;
    int m_nColumns = 0, m_nRows = 0;
    DDSURFACEDATA m_Sheet{};
    std::list<FASTGLYPH> m_lstGlyph;
    int m_nCount = 0;
    int m_nNext = 0;

private:
    static unsigned Code(const char* ch) { return (unsigned)(unsigned char)ch[0] << 8 | (unsigned char)ch[1]; }
    std::unordered_map<unsigned, const FASTGLYPH*> m_Index;
};
