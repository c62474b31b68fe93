// The block map and collision against it: the map built from the stage's blocks, landing,
// walls, ceilings, deadly blocks, pass-through sides, flying block modes, scaled sampling,
// positions beyond the map and the placement test.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "play/block_hit.h"
#include "play/block_map.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "play/system_words.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

class BlockHit : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.5;
        g_StageSettings.SetHitLevel(1);
        // A 40 x 15 stage: rows of 64 cells, 35 rows.
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_LoadedStage = cStage();
        BuildBlockMap();
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_vecBlockMap.clear();
        g_LoadedStage = cStage();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    cBlockDef& Cell(int column, int row) {
        return g_vecBlockMap.at(((size_t)row << scene.m_ScrollX.m_nRowShift) + (size_t)column);
    }
    void Solid(int column, int row, int solidity = 1, int passSide = 255) {
        Cell(column, row).m_byB12 = (uint8_t)solidity;
        Cell(column, row).m_byB13 = (uint8_t)passSide;
    }
    // A walking 32 x 32 hero (or a stage character) with its box's top-left at (x, y).
    void Place(cChara& c, double x, double y, int kind = 0, int scale = 1) {
        c.m_nKind = kind;
        c.m_nBaseWidth = c.m_nBaseHeight = 32;
        c.m_nWidth = c.m_nHeight = 32 * scale;
        c.m_bFlying = 0;
        c.m_nMoveMode = 1;
        c.m_nBlockSide = 1;
        Move(c, x, y);
    }
    void Move(cChara& c, double x, double y) {
        c.m_dX = x, c.m_dY = y;
        c.m_dRight = x + c.m_nWidth - 1.0;
        c.m_dBottom = y + c.m_nHeight - 1.0;
    }
    cHero& Hero() {
        g_vecHero.assign(1, cHero());
        return g_vecHero[0];
    }
    cPlayScene scene;
};

TEST_F(BlockHit, TheMapHoldsTheStageBlocksInsideItsMargin) {
    ASSERT_EQ(g_vecBlockMap.size(), (size_t)35 << 6);
    for (const cBlockDef& cell : g_vecBlockMap) ASSERT_EQ(cell.Solidity(), 0);
    cBlockRec block;
    block.m_wGraphic = 3;
    block.m_byB12 = 2;
    block.m_byB14 = 4;
    block.m_nB15 = -7;
    block.m_sPlaceX = 5, block.m_sPlaceY = 2;
    cBlockRec outside = block;
    outside.m_sPlaceX = 200;  // beyond the row: left out, not wrapped into the next row
    g_LoadedStage.m_vecBlocks = {block, outside};
    BuildBlockMap();
    EXPECT_EQ(Cell(15, 12).Solidity(), 2);
    EXPECT_EQ(Cell(15, 12).Graphic(), 3);
    EXPECT_EQ(Cell(15, 12).FloorKind(), 4);
    EXPECT_EQ(Cell(15, 12).FloorParam(), -7);
    int solid = 0;
    for (const cBlockDef& cell : g_vecBlockMap) solid += cell.Solidity() != 0;
    EXPECT_EQ(solid, 1);
    EXPECT_EQ(BlockSolidFor(15, 12, 0), 2);
    EXPECT_EQ(BlockSolidFor(15, 12, 255), 0);  // the cleared pass side lets side 255 through
}

TEST_F(BlockHit, AWalkingHeroLandsOnSolidGroundAndFallsThroughTheRest) {
    struct Case {
        int solidity, passSide;
        int landed, result;
    } cases[] = {
        {1, 255, 1, 0},  // solid: stands on it
        {0, 255, 0, 0},  // not hit: falls on
        {1, 1, 0, 0},    // its side passes through
        {2, 255, 0, 2},  // deadly for the hero
    };
    for (const Case& k : cases) {
        SetUp();
        Solid(20, 20, k.solidity, k.passSide);
        cHero& hero = Hero();
        Place(hero, 20 * 32 + 0.5, 19 * 32 + 10.0);  // bottom 10 dots into row 20
        hero.m_dSpeedY = 3.0;
        hero.m_bJumping = 1;
        hero.m_nAirCount = 5;
        EXPECT_EQ(hero.HitBlocksVertical(), k.result) << k.solidity << " " << k.passSide;
        EXPECT_EQ(hero.m_abContact[CONTACT_BOTTOM], k.landed) << k.solidity;
        if (k.landed) {
            EXPECT_DOUBLE_EQ(hero.m_dY, 19 * 32);  // up by (bottom mod 32) + 1
            EXPECT_EQ(hero.m_dSpeedY, 0.0);
            EXPECT_EQ(hero.m_bJumping, 0);
            EXPECT_EQ(hero.m_nAirCount, 0);
            EXPECT_EQ(hero.m_nLastFloor, (20 << 6) + 20);
            EXPECT_TRUE(hero.IsOnGround());
        } else if (k.result == 0) {
            EXPECT_FALSE(hero.IsOnGround());
        }
    }
}

TEST_F(BlockHit, StageCharactersStandOnDeadlyBlocksAndBumpIntoThem) {
    Solid(20, 20, 2);
    Solid(22, 19, 2);
    cChara c;
    Place(c, 20 * 32.0, 19 * 32 + 4.0, 1);
    c.m_dSpeedY = 2.0;
    EXPECT_EQ(c.HitBlocksVertical(), 0);
    EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], 1);
    EXPECT_DOUBLE_EQ(c.m_dY, 19 * 32.0);
    cChara d;
    Place(d, 21 * 32 + 5.0, 19 * 32.0, 1);  // right edge 5 dots into the column 22
    d.m_dSpeedX = 1.0;
    EXPECT_EQ(d.HitBlocksHorizontal(), 0);
    EXPECT_EQ(d.m_abContact[CONTACT_RIGHT], 1);
    EXPECT_DOUBLE_EQ(d.m_dX, 21 * 32.0);
    EXPECT_EQ(d.m_nLastBlockSide, 1);
    // The hero touching the same block from the side dies.
    cHero& hero = Hero();
    Place(hero, 21 * 32 + 5.0, 19 * 32.0);
    hero.m_dSpeedX = 1.0;
    EXPECT_EQ(hero.HitBlocksHorizontal(), 2);
}

TEST_F(BlockHit, WallsPushTheBoxOutToTheCellEdge) {
    Solid(10, 12);
    Solid(12, 12);
    cHero& hero = Hero();
    // A left edge exactly on the boundary of a solid cell moves a full cell.
    Place(hero, 10 * 32.0, 12 * 32.0);
    hero.m_dImpactX = 2.0;
    EXPECT_EQ(hero.HitBlocksHorizontal(), 0);
    EXPECT_EQ(hero.m_abContact[CONTACT_LEFT], 1);
    EXPECT_DOUBLE_EQ(hero.m_dX, 11 * 32.0);
    EXPECT_EQ(hero.m_dImpactX, 0.0);
    EXPECT_EQ(hero.m_nLastBlockSide, 0);
    // Between both walls a 32-dot box fits exactly: no contact.
    hero.ClearContactFlags();
    EXPECT_EQ(hero.HitBlocksHorizontal(), 0);
    EXPECT_FALSE(hero.SideContact());
    // A ceiling stops a rising hero below it.
    Solid(11, 11);
    Place(hero, 11 * 32.0, 11 * 32 + 20.0);
    hero.m_dSpeedY = -3.0;
    EXPECT_EQ(hero.HitBlocksVertical(), 0);
    EXPECT_EQ(hero.m_abContact[CONTACT_TOP], 1);
    EXPECT_DOUBLE_EQ(hero.m_dY, 12 * 32.0);
    EXPECT_EQ(hero.m_dSpeedY, 0.0);
}

TEST_F(BlockHit, ARisingWalkerDoesNotSnapOntoTheFloorRow) {
    ASSERT_EQ(LandWhileRising(), 0);
    Solid(20, 20);
    cChara c;
    Place(c, 20 * 32.0, 19 * 32 + 10.0, 1);
    c.m_dSpeedY = -1.0;
    c.m_nBlockSide = 0;
    EXPECT_EQ(HitBlockFloor(c), 0);
    EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], 0);
    EXPECT_DOUBLE_EQ(c.m_dY, 19 * 32 + 10.0);
    EXPECT_EQ(c.HitFloorAndCeilingAgain(), 0);
    EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], 0);
}

TEST_F(BlockHit, FlyingBlockModesPassHitOrDie) {
    Solid(20, 20);
    struct Case {
        int mode, result, contact;
    } cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 2, 0}};
    for (const Case& k : cases) {
        cChara c;
        Place(c, 20 * 32.0, 19 * 32 + 10.0, 1);
        c.m_bFlying = 1;
        c.m_nMoveMode = k.mode;
        c.m_dSpeedY = -2.0;  // mode 1 tests the floor whatever the speed
        EXPECT_EQ(c.HitBlocksVertical(), k.result) << k.mode;
        EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], k.contact) << k.mode;
        EXPECT_EQ(IsPlaceBlocked(c), 0) << k.mode;  // its top-left lies in row 19
        Move(c, 20 * 32.0 + 3, 20 * 32.0 + 3);
        EXPECT_EQ(IsPlaceBlocked(c), k.mode == 0 ? 0 : 1) << k.mode;
    }
}

TEST_F(BlockHit, ScaledEdgesAreSampledByTheUnscaledSize) {
    // Scale 2: the left edge samples y, y + 31 and y + 62; only the last meets the wall.
    Solid(9, 14);
    cChara c;
    Place(c, 9 * 32 + 4.0, 12 * 32.0 + 2, 1, 2);
    EXPECT_EQ(FindBestBlockOnEdge(c, DotToInt(c.m_dX), DotToInt(c.m_dY), DotToInt(c.m_dX), DotToInt(c.m_dBottom)),
              (14 << 6) + 9);
    EXPECT_EQ(HitBlockLeft(c), 0);
    EXPECT_EQ(c.m_abContact[CONTACT_LEFT], 1);
    EXPECT_DOUBLE_EQ(c.m_dX, 10 * 32.0);
    // The hero's floor of scale 2: samples every 64 / 2 dots; a solid cell under the right
    // edge only is found.
    Solid(13, 17);  // the bottom edge (y 551) lies in row 17
    cHero& hero = Hero();
    Place(hero, 11 * 32 + 16.0, 15 * 32 + 8.0, 0, 2);
    EXPECT_EQ(FindBestBlockOnFloor(hero), (17 << 6) + 13);
}

TEST_F(BlockHit, PositionsBeyondTheMapAreOpenAndReportNothing) {
    cHero& hero = Hero();
    for (double x : {-100.0, 64 * 32 + 5.0, 1e12}) {
        Place(hero, x, 40 * 32.0);
        hero.m_dSpeedY = 2.0;
        EXPECT_EQ(hero.HitBlocksVertical(), 0);
        EXPECT_EQ(hero.HitBlocksHorizontal(), 0);
        EXPECT_FALSE(hero.SideContact() || hero.FloorContact());
        EXPECT_EQ(IsPlaceBlocked(hero), 0);
    }
    EXPECT_EQ(BlockSolidFor(-1, 0, 0), 0);
    EXPECT_EQ(BlockSolidFor(64, 0, 0), 0);
    EXPECT_EQ(BlockSolidFor(0, 1 << 30, 0), 0);
}

TEST_F(BlockHit, APlaceOverlappingABlockCharacterIsBlocked) {
    cStageChara block;
    Place(block, 300.0, 300.0, 1);
    block.m_bActsAsBlock = 1;
    block.m_bAppeared = 1;
    g_listStageChara.push_back(block);
    cChara c;
    Place(c, 300.0 + 31, 300.0 - 31, 1);  // corners meet: edges count
    EXPECT_EQ(IsPlaceBlocked(c), 1);
    Move(c, 300.0 + 32, 300.0);
    EXPECT_EQ(IsPlaceBlocked(c), 0);
    g_listStageChara.back().m_bDying = 1;
    Move(c, 300.0, 300.0);
    EXPECT_EQ(IsPlaceBlocked(c), 0);
    // The block character itself is not blocked by itself.
    g_listStageChara.back().m_bDying = 0;
    EXPECT_EQ(IsPlaceBlocked(g_listStageChara.back()), 0);
}

}  // namespace

TEST_F(BlockHit, TheCornerTestFindsTheSolidCellAtAnyCornerOfTheCellRectangle) {
    Solid(5, 5);
    Solid(9, 9, 1, 1);  // passes side 1 through
    struct Case {
        int left, top, right, bottom, side;
        bool solid;
    };
    const Case cases[] = {
        {5, 5, 6, 6, 0, true},    // top-left
        {5, 4, 6, 5, 0, true},    // bottom-left
        {4, 5, 5, 6, 0, true},    // top-right
        {4, 4, 5, 5, 0, true},    // bottom-right
        {4, 5, 5, 5, 0, true},    // one row: its right cell
        {5, 4, 5, 5, 0, true},    // one column: its bottom cell
        {4, 4, 4, 4, 0, false},   // one open cell
        {6, 6, 7, 7, 0, false},   // all four open
        {3, 3, 7, 7, 0, false},   // the solid cell inside, at no corner
        {9, 9, 9, 9, 1, false},   // passed through by side 1
        {9, 9, 9, 9, 0, true},    // but not by side 0
        {63, 34, 64, 35, 0, false},  // corners beyond the map
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlockCornersSolid(c.left, c.top, c.right, c.bottom, c.side), c.solid)
            << c.left << "," << c.top << " - " << c.right << "," << c.bottom << " side " << c.side;
}

// The look-ups answer from a table kept beside the cells. It must follow the cells through every
// kind of write made after a look-up, and a cell with appearance conditions must be asked again
// each time (its answer follows the conditions, with nothing else changed).
TEST_F(BlockHit, TheLookUpsFollowTheCellsAfterEveryWrite) {
    const std::vector<int32_t> savedVars = g_SaveData.m_vecCommonVars;
    g_SaveData.m_vecCommonVars.assign(8, 0);
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 0);
    Solid(3, 4, 2, 1);  // written through a reference after a look-up
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 2);
    EXPECT_EQ(BlockSolidFor(3, 4, 1), 0);
    EXPECT_TRUE(BlockCornersSolid(3, 4, 3, 4, 0));
    EXPECT_EQ(BlockCellSolidity((4 << 6) + 3, 0), 2);
    // A solid byte of 0 with any side, and bytes beyond 2, answer as the cell does.
    Solid(3, 4, 0, 1);
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 0);
    EXPECT_EQ(BlockSolidFor(3, 4, 1), 0);
    Solid(3, 4, 255, 0);
    EXPECT_EQ(BlockSolidFor(3, 4, 1), 255);
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 0);
    EXPECT_EQ(BlockSolidFor(3, 4, 256), 255);  // no pass side byte equals 256

    // Appearance conditions: common variable 3 must equal 4.
    Solid(3, 4, 1, 255);
    cFlowCond cond;
    cond.m_cKind = 1;
    cond.m_sIndex = 3;
    cond.m_nValue = 4;
    cond.m_byOperator = 0;
    Cell(3, 4).m_vecConds = {cond};
    for (int value : {0, 4, 0}) {
        g_SaveData.m_vecCommonVars[3] = value;
        EXPECT_EQ(BlockSolidFor(3, 4, 0), value == 4 ? 1 : 0) << value;
    }
    Cell(3, 4).m_byB4 = 1;  // once held: held on from the first time it holds
    g_SaveData.m_vecCommonVars[3] = 4;
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 1);
    g_SaveData.m_vecCommonVars[3] = 0;
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 1);
    EXPECT_EQ(Cell(3, 4).m_bAppeared, 1);
    Cell(3, 4).m_vecConds.clear();
    Cell(3, 4).m_byB12 = 0;
    EXPECT_EQ(BlockSolidFor(3, 4, 0), 0);

    // The map filled afresh, rebuilt from the stage, or emptied.
    Solid(3, 4);
    const cBlockDef solid = Cell(3, 4);
    g_vecBlockMap.assign(g_vecBlockMap.size(), solid);
    EXPECT_EQ(BlockSolidFor(60, 30, 0), 1);
    BuildBlockMap();
    EXPECT_EQ(BlockSolidFor(60, 30, 0), 0);
    g_vecBlockMap.clear();
    EXPECT_EQ(BlockSolidFor(0, 0, 0), 0);
    EXPECT_EQ(BlockCellIndex(0, 0), -1);
    g_SaveData.m_vecCommonVars = savedVars;
}
