#include "play/block_map.h"

#include <algorithm>

#include "play/appearance.h"
#include "core/checked.h"
#include "play/chara.h"
#include "app/scene_manager.h"
#include "play/play_scene.h"
#include "records/stage.h"

std::vector<cBlockDef> g_vecBlockMap;

int cBlockDef::IsSolidForWithConditions(int side) {
    if (!m_vecConds.empty() && !CheckAppearanceBlock(g_lpPlayScene, *this)) return 0;
    if (PassSide() == side) return 0;
    return Solidity();
}

namespace {
int RowShift() { return g_lpPlayScene ? g_lpPlayScene->m_ScrollX.m_nRowShift : 0; }
}  // namespace

int BlockCellIndex(int x, int y) {
    if (x < 0 || y < 0 || g_vecBlockMap.empty()) return -1;
    const int shift = RowShift();
    if (shift < 0 || shift > 30) return -1;
    const int64_t column = x >> 5, row = y >> 5;
    if (column >= ((int64_t)1 << shift)) return -1;
    const int64_t index = (row << shift) + column;
    if (index >= (int64_t)g_vecBlockMap.size()) return -1;
    return (int)index;
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
    g_vecBlockMap.assign((size_t)cells, cBlockDef());
    for (cBlockDef& cell : g_vecBlockMap) {
        cell.m_byB12 = 0;  // an empty cell is never hit
        cell.m_nChanged = 0;
        cell.m_byHidden = 0;
    }
    const int64_t rowLength = (int64_t)1 << sx.m_nRowShift;
    for (const cBlockRec& block : g_LoadedStage.m_vecBlocks) {
        const int64_t column = (int64_t)block.m_sPlaceX + 10, row = (int64_t)block.m_sPlaceY + 10;
        if (column < 0 || row < 0 || column >= rowLength || row >= sy.m_nMapSize) continue;
        cBlockDef& cell = CheckedAt(g_vecBlockMap, (int)((row << sx.m_nRowShift) + column));
        static_cast<cBlockRec&>(cell) = block;
        cell.m_nChanged = 0;
        cell.m_byHidden = 0;
    }
}

bool BlockUnderIsSolid(const cChara& chara) {
    return BlockCellSolidity(chara.m_nBlockUnder, chara.m_nBlockSide) != 0;
}

int BlockSolidFor(int column, int row, int side) {
    if (column < 0 || row < 0 || g_vecBlockMap.empty()) return 0;
    const int shift = RowShift();
    if (shift < 0 || shift > 30) return 0;
    // The cell of the cell's first dot, whose position stops at the largest int: a column or
    // row beyond it reads the cell of that last dot.
    constexpr int64_t kLastCell = INT32_MAX >> 5;
    const int64_t column64 = std::min<int64_t>(column, kLastCell), row64 = std::min<int64_t>(row, kLastCell);
    if (column64 >= ((int64_t)1 << shift)) return 0;
    const int64_t index = (row64 << shift) + column64;
    if (index >= (int64_t)g_vecBlockMap.size()) return 0;
    return g_vecBlockMap[(size_t)index].IsSolidFor(side);
}

bool BlockCornersSolid(int left, int top, int right, int bottom, int side) {
    if (BlockSolidFor(left, top, side)) return true;
    if (bottom != top && BlockSolidFor(left, bottom, side)) return true;
    if (right == left) return false;
    if (BlockSolidFor(right, top, side)) return true;
    return bottom != top && BlockSolidFor(right, bottom, side);
}
