// The menu cursor: a stack of cursor positions (one per open menu level) shared by every menu,
// and the helpers that move the current position on a grid or a scrolling list.
#pragma once

#include <vector>

struct CURSORPOS {
    int nX;       // column
    int nY;       // row
    int nPixelX;
    int nPixelY;
};

class cMenuCursor {
public:
    cMenuCursor();
    // A new level; copy = 1 starts it at the level below's position.
    void Push(int copy);
    // Back one level. Mode 0 clears the position, 2 takes the removed level's, others keep it.
    void Pop(int mode);

    CURSORPOS* m_pCurrent;
    CURSORPOS* m_pPrevious;  // the level below, null with one level
    std::vector<CURSORPOS> m_vecPos;

private:
    void Relink();
};

extern cMenuCursor g_MenuCursor;

// Moves the current position by the direction bits on a grid (wrapping), then sets its pixel
// position; nothing when columns or rows is negative.
void MoveCursorGrid(int keyBits, int baseX, int baseY, int stepX, int stepY, int columns, int rows);
// Moves the current position in a list of `total` items of which `visible` show from `top`.
void MoveCursorList(int keyBits, int vertical, int* top, int base, int step, int other, int visible, int total,
                    int paging);
