#include "play/block_hit.h"

#include <algorithm>
#include <cstdlib>

#include "play/block_map.h"
#include "play/chara.h"
#include "play/hero.h"
#include "app/scene_manager.h"
#include "play/play_scene.h"
#include "play/stage_chara.h"
#include "play/system_words.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

constexpr int kCellSize = 32;

bool PassesBlocks(const cChara& c) { return c.m_bFlying && c.m_nMoveMode == 0; }
bool DiesOnBlocks(const cChara& c) { return c.m_bFlying && c.m_nMoveMode == 2; }
bool IsStageChara(const cChara& c) { return c.m_nKind == 1; }

// The whole-number size multiplier: the scaled width over the unscaled one (at least 1).
inline int ScaleOf(const cChara& c) {
    if (c.m_nBaseWidth <= 0 || c.m_nWidth <= 0) return 1;
    if (c.m_nWidth < 2 * (int64_t)c.m_nBaseWidth) return 1;  // unscaled: no division
    return std::clamp(c.m_nWidth / c.m_nBaseWidth, 1, 255);
}

int Mod32(int v) { return ((v % kCellSize) + kCellSize) % kCellSize; }

// A walking character rising into a floor lands only when the project allows it.
bool RisingBlocksLanding(const cChara& c) { return !LandWhileRising() && !c.m_bFlying && c.m_dSpeedY < 0.0; }

// The cell under a sample and its solidity for the side (-1 and 0 outside the map).
struct Sample {
    int cell, solidity;
};
inline Sample SampleAt(const cBlockLookUp& look, int x, int y, int side) {
    const int cell = look.CellAt(x, y);
    return {cell, cell < 0 ? 0 : look.Solid(cell, side)};
}

// FindBestBlockOnEdge with the winning cell's solidity (0 for none).
Sample BestOnEdge(cChara& c, int x1, int y1, int x2, int y2) {
    const int side = c.m_nBlockSide;
    const int samples = ScaleOf(c) + 1;
    if (x1 != x2 && y1 != y2) {
        const int cell = BlockCellIndex(0, 0);
        return {cell, BlockCellSolidity(cell, side)};
    }
    const cBlockLookUp look;
    if (look.None()) return {-1, 0};
    int best = -1, bestS = -1;
    if (x1 == x2) {
        const int64_t step = std::max(c.m_nBaseHeight, 1) - 1;
        for (int i = 0; i < samples; ++i) {
            const int64_t y = std::min<int64_t>((int64_t)y1 + step * i, INT32_MAX);
            const Sample s = SampleAt(look, x1, (int)y, side);
            if (s.solidity > bestS) best = s.cell, bestS = s.solidity;
        }
        return {best, bestS};
    }
    const int64_t step = std::max(c.m_nBaseWidth, 1) - 1;
    const int64_t mid = ((int64_t)x1 + x2) >> 1;
    int64_t bestDist = 0;
    for (int i = 0; i < samples; ++i) {
        const int64_t x = std::min<int64_t>((int64_t)x1 + step * i, INT32_MAX);
        const Sample s = SampleAt(look, (int)x, y1, side);
        const int64_t dist = std::llabs(x - mid);
        if (s.solidity > bestS || (s.solidity == bestS && dist < bestDist))
            best = s.cell, bestS = s.solidity, bestDist = dist;
    }
    return {best, bestS};
}

// One side: push out of a solid cell, or report a death.
int HitSide(cChara& c, int right) {
    if (PassesBlocks(c)) return 0;
    const int x = DotToInt(right ? c.m_dRight : c.m_dX);
    const int s = BestOnEdge(c, x, DotToInt(c.m_dY), x, DotToInt(c.m_dBottom)).solidity;
    if (s == 2 && !IsStageChara(c)) return 2;
    if (s != 1 && s != 2) return 0;
    if (DiesOnBlocks(c)) return 2;
    c.m_abContact[right ? CONTACT_RIGHT : CONTACT_LEFT] = 1;
    c.m_dImpactX = 0.0;
    if (right)
        c.m_dX -= (double)(Mod32(DotToInt(c.m_dRight)) + 1);
    else
        c.m_dX += (double)(kCellSize - Mod32(DotToInt(c.m_dX)));
    c.ClampX();
    c.m_nLastBlockSide = right ? 1 : 0;
    c.m_bTurnBack = 1;  // a ground turn-back move turns round at its next step
    c.RunFlowsOfTrigger(9);   // "ブロックに当たった時"
    c.RunFlowsOfTrigger(10);  // left or right
    c.RunFlowsOfTrigger(right ? 12 : 11);
    return 0;
}

// Landing on the standing cell.
void LandOnFloor(cChara& c) {
    c.m_dImpactY = 0.0;
    c.m_nAirCount = 0;
    c.SnapToFloor();  // raises 9, 13 and 15
}

// The floor part shared by both floor tests once the cell is solid (s = 1 or 2): the result,
// or -1 when the character lands.
int FloorSolid(cChara& c, int s) {
    if (s == 1) {
        if (DiesOnBlocks(c)) return 2;
        if (RisingBlocksLanding(c)) return 0;
        if (!IsStageChara(c)) c.m_nBlockUnder = FindBestBlockOnFloor(c);
    } else {
        c.m_nLastFloor = c.m_nBlockUnder;
        if (!IsStageChara(c)) return 2;
        if (DiesOnBlocks(c)) return 2;
        if (RisingBlocksLanding(c)) return 0;
    }
    c.m_nLastFloor = c.m_nBlockUnder;
    LandOnFloor(c);
    return 0;
}

Sample BottomCell(cChara& c) {
    const int y = DotToInt(c.m_dBottom);
    return BestOnEdge(c, DotToInt(c.m_dX), y, DotToInt(c.m_dRight), y);
}

}  // namespace

int FindBestBlockOnEdge(cChara& c, int x1, int y1, int x2, int y2) { return BestOnEdge(c, x1, y1, x2, y2).cell; }

int FindBestBlockOnFloor(cChara& c) {
    const int scale = ScaleOf(c);
    const int k = (scale % 2 == 0) ? scale + 1 : scale + 2;
    const int left = DotToInt(c.m_dX), right = DotToInt(c.m_dRight), y = DotToInt(c.m_dBottom);
    const cBlockLookUp look;
    if (look.None()) return -1;
    const int64_t step = (int64_t)c.m_nWidth / (k - 1);
    const int64_t mid = ((int64_t)left + right) >> 1;
    int best = -1, bestS = -1;
    int64_t bestDist = 0;
    for (int i = 0; i < k; ++i) {
        const int64_t x = (i == k - 1) ? right : std::min<int64_t>(left + step * i, right);
        const Sample s = SampleAt(look, (int)x, y, c.m_nBlockSide);
        const int64_t dist = std::llabs(x - mid);
        if (s.solidity > bestS || (s.solidity == bestS && dist < bestDist))
            best = s.cell, bestS = s.solidity, bestDist = dist;
    }
    return best;
}

int HitBlockLeft(cChara& c) { return HitSide(c, 0); }
int HitBlockRight(cChara& c) { return HitSide(c, 1); }

int HitBlockFloor(cChara& c) {
    if (PassesBlocks(c)) return 0;
    const Sample under = BottomCell(c);
    c.m_nBlockUnder = under.cell;
    const int s = under.solidity;
    if (s == 1 || s == 2) return FloorSolid(c, s);
    if (s == 0) {
        if (c.m_nAirCount < INT32_MAX) ++c.m_nAirCount;
        if (c.m_nAirCount >= 8 * g_StageSettings.m_nSubSteps) {
            if (IsStageChara(c)) {
                c.m_bFalling = 1;
            } else if (!c.m_bJumping) {
                c.m_bFalling = 1;
                c.m_bAirborne = 1;
            }
        }
    }
    return 0;
}

int HitBlockCeiling(cChara& c) {
    if (PassesBlocks(c)) return 0;
    const int y = DotToInt(c.m_dY);
    const int s = BestOnEdge(c, DotToInt(c.m_dX), y, DotToInt(c.m_dRight), y).solidity;
    if (s == 2 && !IsStageChara(c)) return 2;
    if (s != 1 && s != 2) return 0;
    if (DiesOnBlocks(c)) return 2;
    c.m_dImpactY = 0.0;
    c.SnapToCeiling();
    return 0;
}

int cChara::HitBlocksHorizontal() {
    if (m_bFlying && m_nMoveMode == 1) {
        if (HitBlockRight(*this) == 2) return 2;
        return HitBlockLeft(*this) == 2 ? 2 : 0;
    }
    // Both sides are tested in the order of motion; a death from either one counts.
    const int right = m_dSpeedX > 0.0;
    const int first = right ? HitBlockRight(*this) : HitBlockLeft(*this);
    const int second = right ? HitBlockLeft(*this) : HitBlockRight(*this);
    return (first == 2 || second == 2) ? 2 : 0;
}

int cChara::HitBlocksSidesAgain() {
    if (HitBlockRight(*this) == 2) return 2;
    return HitBlockLeft(*this) == 2 ? 2 : 0;
}

int cChara::HitBlocksVertical() {
    m_nBlockUnder = -1;
    if (m_bFlying && m_nMoveMode == 1) {
        if (HitBlockFloor(*this) == 2) return 2;
        return HitBlockCeiling(*this) == 2 ? 2 : 0;
    }
    // Floor and ceiling in the order of motion; a death from either one counts.
    const int down = m_dSpeedY > 0.0;
    const int first = down ? HitBlockFloor(*this) : HitBlockCeiling(*this);
    const int second = down ? HitBlockCeiling(*this) : HitBlockFloor(*this);
    return (first == 2 || second == 2) ? 2 : 0;
}

int cChara::HitFloorAndCeilingAgain() {
    if (PassesBlocks(*this)) return 0;
    // A cell found here becomes the standing cell; an empty one leaves the cell the vertical
    // test stood the character on (after its landing the bottom edge lies in the row above).
    const Sample bottom = BottomCell(*this);
    const int cell = bottom.cell, s = bottom.solidity;
    if (s == 1 || s == 2) {
        m_nBlockUnder = cell;
        if (RisingBlocksLanding(*this) && !(s == 2 && !IsStageChara(*this)) && !DiesOnBlocks(*this)) return 0;
        if (FloorSolid(*this, s) == 2) return 2;
    }
    return HitBlockCeiling(*this) == 2 ? 2 : 0;
}

int KeepInViewX(cHero& hero) {
    cPlayScene* scene = g_lpPlayScene;
    if (!scene) return 0;
    const cScroll& sx = scene->m_ScrollX;
    if (!sx.m_bChanged && !hero.m_bFlying) return 0;
    hero.GetGraphicRect();
    if (hero.m_dX - sx.m_dPos < 0.0) {
        hero.m_abContact[CONTACT_LEFT] = 1;
        hero.m_dX = sx.m_dPos;
        hero.ClampX();
    } else if (hero.m_dRight - sx.m_dPos >= 640.0) {
        hero.m_abContact[CONTACT_RIGHT] = 1;
        hero.m_dX = sx.m_dPos + 640.0 - hero.m_nWidth - 1.0;
        hero.ClampX();
    }
    return 0;
}

int KeepInViewY(cHero& hero) {
    cPlayScene* scene = g_lpPlayScene;
    if (!scene) return 0;
    const cScroll& sy = scene->m_ScrollY;
    if (!sy.m_bChanged && !hero.m_bFlying) return 0;
    hero.GetGraphicRect();
    if (hero.m_dY - sy.m_dPos < 0.0) {
        hero.m_abContact[CONTACT_TOP] = 1;
        hero.m_dY = sy.m_dPos;
        hero.ClampY();
    } else if (hero.m_dBottom - sy.m_dPos >= 480.0) {
        hero.m_abContact[CONTACT_BOTTOM] = 1;
        hero.m_dY = sy.m_dPos + 480.0 - hero.m_nHeight - 1.0;
        hero.ClampY();
        if (!hero.m_bFlying) return 2;
    }
    return 0;
}

int OverlapsBlockCharacter(const cChara& c) {
    for (const cStageChara& o : g_listStageChara) {
        if (&o == &c || !o.m_bActsAsBlock || !o.m_bAppeared || o.m_bDying) continue;
        if (c.m_dX <= o.m_dRight && c.m_dRight >= o.m_dX && c.m_dY <= o.m_dBottom && c.m_dBottom >= o.m_dY) return 1;
    }
    return 0;
}

int IsPlaceBlocked(cChara& c) {
    if (PassesBlocks(c)) return 0;
    if (BlockCellSolidity(BlockCellIndex(DotToInt(c.m_dX), DotToInt(c.m_dY)), c.m_nBlockSide)) return 1;
    return OverlapsBlockCharacter(c);
}
