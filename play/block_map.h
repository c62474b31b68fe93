// The block map of the stage being played: one copy of a block definition per 32 x 32-dot
// cell, row after row of the x axis' row length (a power of two), so the cell of column c and
// row r is (r << row shift) + c. Empty until the stage set-up builds it.
#pragma once

#include <cstddef>
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
    int IsSolidFor(int side) const {
        if (!m_vecConds.empty()) return IsSolidForWithConditions(side);
        return PassSide() == side ? 0 : Solidity();
    }

    // The appearance conditions' mode (0 all, 1 any one) and once-held switch.
    int CondMode() const { return m_byB3; }
    int CondOnceHeld() const { return m_byB4; }

    int32_t m_nChanged = 0;           // the cell was changed during play
    mutable int32_t m_bAppeared = 0;  // its appearance conditions have held (set by asking them)
    uint8_t m_byHidden = 0;           // non-zero: not drawn

private:
    int IsSolidForWithConditions(int side) const;
};

// The cells, and beside them a solidity table that the collision look-ups read instead of the
// cell records: one 16-bit entry per cell, the solidity in the low byte and the side that
// passes through in the high byte (0 for a cell that is never solid), or kAskCell for a cell
// with appearance conditions, which is asked itself every time.
//
// The table follows the cells. Change() edits one cell and brings its entry up to date; any
// other write access (filling or clearing the map, a cell reached through a non-const
// reference or iterator) has the whole table built afresh before the next look-up. Reading
// code goes through the const accessors so that it never causes a rebuild.
class cBlockMap {
public:
    using value_type = cBlockDef;
    using iterator = std::vector<cBlockDef>::iterator;
    using const_iterator = std::vector<cBlockDef>::const_iterator;

    size_t size() const { return m_vecCells.size(); }
    bool empty() const { return m_vecCells.empty(); }
    const cBlockDef& operator[](size_t i) const { return m_vecCells[i]; }
    const cBlockDef& at(size_t i) const { return m_vecCells.at(i); }
    const_iterator begin() const { return m_vecCells.begin(); }
    const_iterator end() const { return m_vecCells.end(); }
    const std::vector<cBlockDef>& Cells() const { return m_vecCells; }
    operator const std::vector<cBlockDef>&() const { return m_vecCells; }

    cBlockDef& operator[](size_t i) {
        m_bStale = true;
        return m_vecCells[i];
    }
    cBlockDef& at(size_t i) {
        m_bStale = true;
        return m_vecCells.at(i);
    }
    iterator begin() {
        m_bStale = true;
        return m_vecCells.begin();
    }
    iterator end() {
        m_bStale = true;
        return m_vecCells.end();
    }
    void clear() {
        m_vecCells.clear();
        m_bStale = true;
    }
    void assign(size_t count, const cBlockDef& cell) {
        m_vecCells.assign(count, cell);
        m_bStale = true;
    }

    // Edits cell i (which must lie in the map) through edit(cBlockDef&), then updates its entry.
    template <typename Edit>
    void Change(size_t i, Edit&& edit) {
        edit(m_vecCells[i]);
        if (!m_bStale) m_vecSolidity[i] = EntryOf(m_vecCells[i]);
    }
    // Builds the whole table now (otherwise the first look-up after a write does it).
    void Refresh() const;
    // The table brought up to date, for a run of look-ups with no write in between.
    const uint16_t* CurrentTable() const {
        if (m_bStale) Refresh();
        return m_vecSolidity.data();
    }

    // The solidity of cell i (which must lie in the map) for a block side, as the cell's
    // IsSolidFor answers it.
    int SolidFor(size_t i, int side) const { return Answer(CurrentTable()[i], i, side); }
    // The same from the cell's current table entry.
    int Answer(uint16_t entry, size_t i, int side) const {
        if (entry == kAskCell) return m_vecCells[i].IsSolidFor(side);
        return (entry >> 8) == side ? 0 : (entry & 0xff);
    }

private:
    // Solidity 0 with pass side 1: a never-solid cell without conditions is entered as 0.
    static constexpr uint16_t kAskCell = 0x0100;
    static uint16_t EntryOf(const cBlockDef& cell);

    std::vector<cBlockDef> m_vecCells;
    mutable std::vector<uint16_t> m_vecSolidity;
    mutable bool m_bStale = true;
};

extern cBlockMap g_vecBlockMap;

// The row shift of the map (the x axis' row shift; 0 without a play scene).
int BlockRowShift();
// The row shift for a run of look-ups, or -1 when no position lies in the map (no map, or a
// row shift outside 0-30): every position then gives no cell.
int BlockLookUpShift();
// The index of the cell under the dot position (x, y) in a map of `cells` cells in rows of
// 1 << shift cells (shift 0-30); -1 outside the map.
inline int BlockCellIndexIn(int x, int y, int shift, int64_t cells) {
    if (x < 0 || y < 0) return -1;
    const int64_t column = x >> 5, row = y >> 5;
    if (column >= ((int64_t)1 << shift)) return -1;
    const int64_t index = (row << shift) + column;
    return index < cells ? (int)index : -1;
}
// A run of look-ups with no write to the map in between (the conditions a cell asks write
// nothing): the row shift is checked and the table brought up to date once, and each look-up is
// an index and one table entry.
class cBlockLookUp {
public:
    cBlockLookUp() : m_nShift(BlockLookUpShift()), m_nCells((int64_t)g_vecBlockMap.size()) {
        if (m_nShift >= 0) m_pTable = g_vecBlockMap.CurrentTable();
    }
    // No position lies in the map: every look-up gives no cell.
    bool None() const { return m_nShift < 0; }
    // The rest only when !None().
    // The cell under a dot position, as BlockCellIndex.
    int CellAt(int x, int y) const { return BlockCellIndexIn(x, y, m_nShift, m_nCells); }
    // The solidity of a cell of the map for a block side.
    int Solid(int cell, int side) const { return g_vecBlockMap.Answer(m_pTable[cell], (size_t)cell, side); }
    // The solidity of the cell (column, row) for a block side, as BlockSolidFor.
    int SolidAt(int column, int row, int side) const { return SolidIn(ColumnOf(column), RowStart(row), side); }
    // A column of the map (-1 for none) and the index of a row's first cell (-1 for none)
    // for SolidIn. The cell of the cell's first dot, whose position stops at the largest int:
    // a column or row beyond it reads the cell of that last dot.
    int64_t ColumnOf(int column) const {
        if (column < 0) return -1;
        const int64_t column64 = column < kLastCell ? column : kLastCell;
        return column64 < ((int64_t)1 << m_nShift) ? column64 : -1;
    }
    int64_t RowStart(int row) const {
        if (row < 0) return -1;
        return (row < kLastCell ? (int64_t)row : kLastCell) << m_nShift;
    }
    int SolidIn(int64_t column, int64_t rowStart, int side) const {
        if (column < 0 || rowStart < 0) return 0;
        const int64_t index = rowStart + column;
        return index < m_nCells ? Solid((int)index, side) : 0;
    }

private:
    static constexpr int64_t kLastCell = INT32_MAX >> 5;
    int m_nShift;
    int64_t m_nCells;
    const uint16_t* m_pTable = nullptr;
};

// The index of the cell under the dot position (x, y); -1 outside the map (a position beyond
// the map's rows or columns lies in no cell, so it is never solid).
int BlockCellIndex(int x, int y);
// The cell of an index, or none for -1 or an index outside the map.
inline const cBlockDef* BlockCell(int index) {
    if (index < 0 || (size_t)index >= g_vecBlockMap.size()) return nullptr;
    return &g_vecBlockMap.Cells()[(size_t)index];
}
// The solidity of the cell of an index for a block side (0 for none).
inline int BlockCellSolidity(int index, int side) {
    if (index < 0 || (size_t)index >= g_vecBlockMap.size()) return 0;
    return g_vecBlockMap.SolidFor((size_t)index, side);
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
