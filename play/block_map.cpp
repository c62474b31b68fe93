#include "play/block_map.h"

#include <algorithm>

#include "play/appearance.h"
#include "play/chara.h"
#include "app/scene_manager.h"
#include "play/play_scene.h"
#include "records/stage.h"

cBlockMap g_vecBlockMap;

int cBlockDef::IsSolidForWithConditions(int side) const {
    if (!m_vecConds.empty() && !CheckAppearanceBlock(g_lpPlayScene, *this)) return 0;
    if (PassSide() == side) return 0;
    return Solidity();
}

uint16_t cBlockMap::EntryOf(const cBlockDef& cell) {
    if (!cell.m_vecConds.empty()) return kAskCell;
    if (cell.Solidity() == 0) return 0;
    return (uint16_t)((cell.PassSide() << 8) | cell.Solidity());
}

void cBlockMap::Refresh() const {
    m_vecSolidity.resize(m_vecCells.size());
    for (size_t i = 0; i < m_vecCells.size(); ++i) m_vecSolidity[i] = EntryOf(m_vecCells[i]);
    m_bStale = false;
}

int BlockRowShift() { return g_lpPlayScene ? g_lpPlayScene->m_ScrollX.m_nRowShift : 0; }

int BlockLookUpShift() {
    if (g_vecBlockMap.empty()) return -1;
    const int shift = BlockRowShift();
    return shift < 0 || shift > 30 ? -1 : shift;
}

int BlockCellIndex(int x, int y) {
    const int shift = BlockLookUpShift();
    return shift < 0 ? -1 : BlockCellIndexIn(x, y, shift, (int64_t)g_vecBlockMap.size());
}

// Every cell empty, then each block placed on the stage copied into its cell (the stage's
// margin of 10 blocks on each side moves it in by 10 columns and rows).
void BuildBlockMap() {
    g_vecBlockMap.clear();
    if (!g_lpPlayScene) return;
    const cScroll& sx = g_lpPlayScene->m_ScrollX;
    const cScroll& sy = g_lpPlayScene->m_ScrollY;
    if (sx.m_nRowShift < 0 || sx.m_nRowShift > 30 || sy.m_nMapSize <= 0) return;
    const int64_t cells = (int64_t)sy.m_nMapSize << sx.m_nRowShift;
    if (cells <= 0 || cells > (int64_t)1 << 26) return;
    cBlockDef empty;
    empty.m_byB12 = 0;  // an empty cell is never hit
    empty.m_nChanged = 0;
    empty.m_byHidden = 0;
    g_vecBlockMap.assign((size_t)cells, empty);
    const int64_t rowLength = (int64_t)1 << sx.m_nRowShift;
    for (const cBlockRec& block : g_LoadedStage.m_vecBlocks) {
        const int64_t column = (int64_t)block.m_sPlaceX + 10, row = (int64_t)block.m_sPlaceY + 10;
        if (column < 0 || row < 0 || column >= rowLength || row >= sy.m_nMapSize) continue;
        cBlockDef& cell = g_vecBlockMap[(size_t)((row << sx.m_nRowShift) + column)];
        static_cast<cBlockRec&>(cell) = block;
        cell.m_nChanged = 0;
        cell.m_byHidden = 0;
    }
    g_vecBlockMap.Refresh();
}

bool BlockUnderIsSolid(const cChara& chara) {
    return BlockCellSolidity(chara.m_nBlockUnder, chara.m_nBlockSide) != 0;
}

int BlockSolidFor(int column, int row, int side) {
    const cBlockLookUp look;
    return look.None() ? 0 : look.SolidAt(column, row, side);
}

bool BlockCornersSolid(int left, int top, int right, int bottom, int side) {
    const cBlockLookUp look;
    if (look.None()) return false;
    // Each column and row is placed in the map once.
    const int64_t c0 = look.ColumnOf(left), r0 = look.RowStart(top);
    const int64_t r1 = bottom == top ? r0 : look.RowStart(bottom);
    if (look.SolidIn(c0, r0, side)) return true;
    if (bottom != top && look.SolidIn(c0, r1, side)) return true;
    if (right == left) return false;
    const int64_t c1 = look.ColumnOf(right);
    if (look.SolidIn(c1, r0, side)) return true;
    return bottom != top && look.SolidIn(c1, r1, side);
}
