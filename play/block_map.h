// The block map of the stage being played: one copy of a block definition per 32 x 32-dot
// cell, row after row of the x axis' row length (a power of two), so the cell of column c and
// row r is (r << row shift) + c. Empty until the stage set-up builds it.
#pragma once

#include <cstdint>
#include <vector>

#include "records/block_rec.h"

class cBlockDef : public cBlockRec {
public:
    // The graphic cell number (0 draws nothing), the pass it is drawn in (0 behind the
    // objects, 1 in front) and its overlay from the item overlay sheet (switch 1: index).
    int Graphic() const { return m_wGraphic; }
    int FrontPass() const { return m_byB9; }
    int OverlaySwitch() const { return m_byGraphicKind2; }
    int OverlayIndex() const { return m_wGraphic2; }

    int32_t m_nChanged = 0;   // the cell was changed during play
    uint8_t m_byHidden = 0;   // non-zero: not drawn
};

extern std::vector<cBlockDef> g_vecBlockMap;
