// The block map of the stage being played: one copy of a block definition per 32 x 32-dot
// cell, row after row of the x axis' row length (a power of two), so the cell of column c and
// row r is (r << row shift) + c. Empty until the stage set-up builds it.
#pragma once

#include <cstdint>
#include <vector>

#include "records/block_rec.h"

class cChara;

class cBlockDef : public cBlockRec {
public:
    // The graphic cell number (0 draws nothing), the pass it is drawn in (0 behind the
    // objects, 1 in front) and its overlay from the item overlay sheet (switch 1: index).
    int Graphic() const { return m_wGraphic; }
    int FrontPass() const { return m_byB9; }
    int OverlaySwitch() const { return m_byGraphicKind2; }
    int OverlayIndex() const { return m_wGraphic2; }
    // What collision reads: solidity (0 not hit, 1 solid, 2 solid for stage characters and
    // deadly for the hero), the side that passes through, the floor kind and its parameter.
    int Solidity() const { return m_byB12; }
    int PassSide() const { return m_byB13; }
    int32_t FloorKind() const { return m_byB14; }
    int32_t FloorParam() const { return m_nB15; }
    // Non-zero: the block summon leaves the cell alone.
    int NotReplaceable() const { return m_byB18; }
    // The solidity for a character of block side `side`: 0 while the cell's appearance
    // conditions do not hold or when the side passes through it.
    int IsSolidFor(int side) {
        if (!m_vecConds.empty()) return IsSolidForWithConditions(side);
        return PassSide() == side ? 0 : Solidity();
    }

    // The appearance conditions' mode (0 all, 1 any one) and once-held switch.
    int CondMode() const { return m_byB3; }
    int CondOnceHeld() const { return m_byB4; }

    int32_t m_nChanged = 0;   // the cell was changed during play
    int32_t m_bAppeared = 0;  // its appearance conditions have held
    uint8_t m_byHidden = 0;   // non-zero: not drawn

private:
    int IsSolidForWithConditions(int side);
};

extern std::vector<cBlockDef> g_vecBlockMap;

// The index of the cell under the dot position (x, y); -1 outside the map (a position beyond
// the map's rows or columns lies in no cell, so it is never solid).
int BlockCellIndex(int x, int y);
// The cell of an index, or none for -1 or an index outside the map.
inline cBlockDef* BlockCell(int index) {
    if (index < 0 || (size_t)index >= g_vecBlockMap.size()) return nullptr;
    return &g_vecBlockMap[(size_t)index];
}
// The solidity of the cell of an index for a block side (0 for none).
inline int BlockCellSolidity(int index, int side) {
    cBlockDef* cell = BlockCell(index);
    return cell ? cell->IsSolidFor(side) : 0;
}

// Empties the map, then copies each block placed on the stage into its cell.
void BuildBlockMap();
// Whether the cell under the character is solid for its block side.
bool BlockUnderIsSolid(const cChara& chara);
// Whether the block-map cell (column, row) is solid for a block side (0 outside the map).
int BlockSolidFor(int column, int row, int side);
// Whether one of the four corner cells of the cell rectangle is solid for a block side, in the
// order top-left, bottom-left, top-right, bottom-right. A corner that falls in a cell already
// asked about is not asked again: the answer cannot differ.
bool BlockCornersSolid(int left, int top, int right, int bottom, int side);
