// Glyph sheets: cells, the glyph list and blits from cells.
#include "media/fast_font.h"

#include "media/blit.h"
#include "media/surface.h"

cFastFont::~cFastFont() { Destroy(); }

bool cFastFont::Create(DWORD kind, int cellW, int cellH, int columns, int rows) {
    Destroy();
    m_dwKind = kind;
    m_nCellW = cellW;
    m_nCellH = cellH;
    m_nColumns = columns;
    m_nRows = rows;
    if (cellW <= 0 || cellH <= 0 || columns <= 0 || rows <= 0) return false;
    int64_t w = (int64_t)columns * cellW, h = (int64_t)rows * cellH;
    if (w > 16384 || h > 16384) return false;
    return DDCreateSurface(&m_Sheet, (int)w, (int)h, 1, 0, DTMEMORYTYPE_VIDEO_RT, 0, 0);
}

void cFastFont::Destroy() {
    DDReleaseSurface(&m_Sheet);
    m_Sheet = DDSURFACEDATA{};
    m_lstGlyph.clear();
    m_Index.clear();
    m_nCount = 0;
    m_nNext = 0;
}

int cFastFont::AddGlyph(const char* ch) {
    if (!ch || m_nNext >= Capacity()) return 0;
    FASTGLYPH g{};
    g.szCode[0] = ch[0];
    g.szCode[1] = ch[0] ? ch[1] : 0;
    g.nIndex = m_nNext;
    g.nX = (m_nNext % m_nColumns) * m_nCellW;
    g.nY = (m_nNext / m_nColumns) * m_nCellH;
    m_lstGlyph.push_back(g);
    m_Index[Code(g.szCode)] = &m_lstGlyph.back();
    ++m_nCount;
    ++m_nNext;
    return 1;
}

const FASTGLYPH* cFastFont::FindGlyph(const char* ch) const {
    if (!ch) return nullptr;
    auto it = m_Index.find(Code(ch));
    return it == m_Index.end() ? nullptr : it->second;
}

int cFastFont::DrawGlyph(DDSURFACEDATA* dst, int x, int y, const char* ch) {
    const FASTGLYPH* g = FindGlyph(ch);
    if (!g) return 0;
    DDBlt(dst, x, y, m_nCellW, m_nCellH, &m_Sheet, g->nX, g->nY, DDBLT_TRANSPARENT);
    return 1;
}

void cFastFont::DrawCell(DDSURFACEDATA* dst, int x, int y, unsigned char code) {
    DDBlt(dst, x, y, m_nCellW, m_nCellH, &m_Sheet, (code % 16) * m_nCellW, (code / 16) * m_nCellH, DDBLT_TRANSPARENT);
}
