#include "media/menu_cursor.h"

#include <algorithm>

#include "core/checked.h"

cMenuCursor g_MenuCursor;

cMenuCursor::cMenuCursor() : m_vecPos(1, CURSORPOS{0, 0, 0, 0}) { Relink(); }

void cMenuCursor::Relink() {
    int n = (int)m_vecPos.size();
    m_pCurrent = &CheckedAt(m_vecPos, n - 1);
    m_pPrevious = n >= 2 ? &m_vecPos[(size_t)n - 2] : nullptr;
}

void cMenuCursor::Push(int copy) {
    m_vecPos.push_back(CURSORPOS{0, 0, 0, 0});
    size_t n = m_vecPos.size();
    if (copy == 1 && n >= 2) m_vecPos[n - 1] = m_vecPos[n - 2];
    Relink();
}

void cMenuCursor::Pop(int mode) {
    if (m_vecPos.size() <= 1) return;
    CURSORPOS removed = m_vecPos.back();
    m_vecPos.pop_back();
    Relink();
    if (mode == 0) *m_pCurrent = CURSORPOS{0, 0, 0, 0};
    else if (mode == 2) *m_pCurrent = removed;
}

void MoveCursorGrid(int keyBits, int baseX, int baseY, int stepX, int stepY, int columns, int rows) {
    if (columns < 0 || rows < 0) return;
    CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    if (keyBits & 1) --c.nX;
    else if (keyBits & 2) ++c.nX;
    if (keyBits & 4) --c.nY;
    else if (keyBits & 8) ++c.nY;
    if (c.nY < 0) c.nY = rows - 1;
    else if (c.nY >= rows) c.nY = 0;
    if (c.nX < 0) c.nX = columns - 1;
    else if (c.nX >= columns) c.nX = 0;
    if (rows == 0) c.nY = 0;
    if (columns == 0) c.nX = 0;
    c.nPixelX = c.nX * stepX + baseX;
    c.nPixelY = c.nY * stepY + baseY;
}

void MoveCursorList(int keyBits, int vertical, int* top, int base, int step, int other, int visible, int total,
                    int paging) {
    if (!top) return;
    CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    int& index = vertical ? c.nY : c.nX;
    if (keyBits & 4) {
        if (index - *top < 1) --*top;
        --index;
    } else if (keyBits & 8) {
        if (index - *top >= visible - 1) ++*top;
        ++index;
    }
    if (paging) {
        if (keyBits & 2) {
            if (*top != total - visible) {
                *top += visible - 1;
                index += visible - 1;
            } else {
                index = total - 1;
            }
        } else if (keyBits & 1) {
            if (*top != 0) {
                *top -= visible - 1;
                index -= visible - 1;
            } else {
                index = *top;
            }
        }
    }
    index = std::clamp(index, 0, std::max(total - 1, 0));
    *top = std::clamp(*top, 0, std::max(total - visible, 0));
    if (vertical) {
        c.nPixelY = (index - *top) * step + base;
        c.nPixelX = other;
    } else {
        c.nPixelX = (index - *top) * step + base;
        c.nPixelY = other;
    }
}
