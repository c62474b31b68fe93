// The summons of running flows: characters with their clones, refused on a blocked place and
// off the map; items; blocks summoned, erased and toggled once per stage, refused where they
// would catch a flagged character, and nothing off the map.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "flow/ed_shot.h"
#include "play/block_hit.h"
#include "play/block_map.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/spawn.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/common_palette.h"
#include "records/stage.h"

namespace {

class Spawn : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.SetHitLevel(2);
        g_LoadedStage = cStage();
        // A 40 x 15 stage: x 320 .. 1600 (map 0 .. 1920), y 320 .. 800 (map 0 .. 1120).
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        // A solid block at stage cell (5, 3): map cell (15, 13), dots 480 .. 511 x 416 .. 447.
        cBlockRec wall;
        wall.m_wGraphic = 3;
        wall.m_byB12 = 1;
        wall.m_sPlaceX = 5;
        wall.m_sPlaceY = 3;
        g_LoadedStage.m_vecBlocks.assign(1, wall);
        BuildBlockMap();
        saved = g_CommonPalette;
        cBlockRec solid;
        solid.m_wGraphic = 7;
        solid.m_byB12 = 1;
        g_CommonPalette.m_vecBlocks = {cBlockRec(), solid};
        cCharaRec summon;
        summon.m_byC49 = 1;     // may be summoned
        summon.m_byC34 = 1;     // two characters
        summon.m_sOffsetXStep = 40;
        g_CommonPalette.m_vecCharas = {cCharaRec(), summon};
        cItemRec item;
        item.m_wI9 = 4;
        g_CommonPalette.m_vecItems = {cItemRec(), item};
        g_vecHero.assign(1, cHero());
        g_listStageChara.clear();
        g_listItem.clear();
        SpawnStageObjects(&scene);  // a new stage: no toggled cells
    }
    void TearDown() override {
        g_CommonPalette = saved;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_listItem.clear();
        g_vecBlockMap.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
        g_LoadedStage = cStage();
    }
    static cEdShot Settings(int index, int mode = 0) {
        cEdShot s;
        s.SetDefaults();
        s.m_byS56 = 0;
        s.m_wS57 = (uint16_t)index;
        s.m_byS53 = (uint8_t)mode;
        return s;
    }
    cStageChara& Owner() {
        g_listStageChara.emplace_back();
        cStageChara& o = g_listStageChara.back();
        o.m_nId = 90;
        o.m_nDir = 1;
        return o;
    }
    cCommonPalette saved;
    cPlayScene scene;
};

TEST_F(Spawn, ACharacterSummonPlacesItsClonesWithConsecutiveIdentifiers) {
    cStageChara& owner = Owner();
    scene.m_nCharaSerial = 7;
    cEdShot s = Settings(1);
    s.m_byS39 = 1;  // a limited life of 1.5 s
    s.m_wS40 = 15;
    SpawnCharacterAt(600, 600, 0.0, 0.0, owner, s);
    ASSERT_EQ(g_listStageChara.size(), 3u);
    auto it = std::next(g_listStageChara.begin());
    const cStageChara& a = *it++;
    const cStageChara& b = *it;
    EXPECT_EQ(a.m_nId, 7);
    EXPECT_EQ(b.m_nId, 8);
    EXPECT_EQ(scene.m_nCharaSerial, 9);
    // The graphic cell's top-left on the point, the second clone 40 dots further.
    EXPECT_DOUBLE_EQ(a.m_dX, 600.0 + a.m_nGraphOffX);
    EXPECT_DOUBLE_EQ(b.m_dX, a.m_dX + 40.0);
    EXPECT_EQ(a.m_nDir, 1);  // facing as the summoner
    EXPECT_EQ(a.m_anPlace[PLACE_SUMMONER], 90);
    EXPECT_EQ(a.m_nLifeTime, 15 * 2 * 6);
    EXPECT_EQ(owner.m_vecSummoned, (std::vector<int32_t>{7, 8}));
    EXPECT_EQ(scene.m_vecCharaGroup[0].size(), 2u);
}

TEST_F(Spawn, ASummonOnABlockedPlaceOrOffTheMapDoesNotAppear) {
    cStageChara& owner = Owner();
    // The first clone's top-left lies in the wall; the second, 40 dots on, is free.
    SpawnCharacterAt(480 - 8, 416 - 8, 0.0, 0.0, owner, Settings(1));
    ASSERT_EQ(g_listStageChara.size(), 2u);
    EXPECT_EQ(g_listStageChara.back().m_nId, 0);
    EXPECT_GT(g_listStageChara.back().m_dX, 511.0);
    // Off the map: nothing, and no identifier taken.
    SpawnCharacterAt(5000, 600, 0.0, 0.0, owner, Settings(1));
    EXPECT_EQ(g_listStageChara.size(), 2u);
    EXPECT_EQ(scene.m_nCharaSerial, 1);
    // A record that may not be summoned, or an index past the list: nothing.
    g_CommonPalette.m_vecCharas[1].m_byC49 = 0;
    SpawnCharacterAt(600, 600, 0.0, 0.0, owner, Settings(1));
    SpawnCharacterAt(600, 600, 0.0, 0.0, owner, Settings(9));
    EXPECT_EQ(g_listStageChara.size(), 2u);
}

TEST_F(Spawn, AnItemSummonTakesTheNextItemIdentifier) {
    scene.m_nItemSerial = 3;
    SpawnItem(600, 600, 0.0, 0.0, Settings(1));
    ASSERT_EQ(g_listItem.size(), 1u);
    EXPECT_EQ(g_listItem.front().m_nId, 3);
    EXPECT_EQ(g_listItem.front().m_nKind, 4);
    EXPECT_EQ(g_listItem.front().m_nLifeTime, kEndlessLife);
    SpawnItem(-900, 600, 0.0, 0.0, Settings(1));
    SpawnItem(600, 600, 0.0, 0.0, Settings(5));
    EXPECT_EQ(g_listItem.size(), 1u);
    EXPECT_EQ(scene.m_nItemSerial, 4);
}

TEST_F(Spawn, BlocksAreSummonedErasedAndToggledOncePerStage) {
    // The cell under (x + 16.5, y + 16.5): (600, 600) lies in map cell (19, 19).
    const int cell = BlockCellIndex(616, 616);
    SetBlockAt(600, 600, Settings(1, 0));
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 7);
    SetBlockAt(600, 600, Settings(1, 1));
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 0);
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Solidity(), 0);
    // Toggling: the wall is erased once; a second toggle of the same cell changes nothing.
    const int wall = BlockCellIndex(480, 416);
    SetBlockAt(480 - 16, 416 - 16, Settings(1, 2));
    EXPECT_EQ(g_vecBlockMap[(size_t)wall].Graphic(), 0);
    SetBlockAt(480 - 16, 416 - 16, Settings(1, 2));
    EXPECT_EQ(g_vecBlockMap[(size_t)wall].Graphic(), 0);
    // An empty cell toggles to the block.
    SetBlockAt(600, 600, Settings(1, 2));
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 7);
    // A cell that may not be replaced, and one off the map, are left alone.
    g_vecBlockMap[(size_t)cell].m_byB18 = 1;
    SetBlockAt(600, 600, Settings(1, 1));
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 7);
    const std::vector<cBlockDef> before = g_vecBlockMap;
    SetBlockAt(-100, 600, Settings(1, 0));
    SetBlockAt(600, 100000, Settings(1, 0));
    for (size_t i = 0; i < before.size(); ++i) ASSERT_EQ(g_vecBlockMap[i].Graphic(), before[i].Graphic());
}

TEST_F(Spawn, ABlockThatWouldCatchAFlaggedCharacterIsRefused) {
    cHero& hero = g_vecHero[0];
    hero.m_nWidth = hero.m_nHeight = 16;
    hero.m_dX = 620.0;
    hero.m_dY = 620.0;
    hero.m_dRight = 635.0;
    hero.m_dBottom = 635.0;
    const int cell = BlockCellIndex(616, 616);
    cEdShot s = Settings(1, 0);
    s.m_byS54 = 1;  // keep the cell for the heroes
    SetBlockAt(600, 600, s);
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 0);
    EXPECT_EQ(hero.m_nCaught, 0);
    // Without the flag the block is placed and the hero is caught.
    s.m_byS54 = 0;
    s.m_byS55 = 1;  // the flag for stage characters does not protect the hero
    SetBlockAt(600, 600, s);
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 7);
    EXPECT_EQ(hero.m_nCaught, 2);
    // A stage character that has appeared is protected by its flag.
    cStageChara& c = Owner();
    c.m_bAppeared = 1;
    c.m_dX = 700.0;
    c.m_dY = 620.0;
    c.m_dRight = 715.0;
    c.m_dBottom = 635.0;
    const int next = BlockCellIndex(700, 616);
    SetBlockAt(700 - 16, 600, s);
    EXPECT_EQ(g_vecBlockMap[(size_t)next].Graphic(), 0);
    EXPECT_EQ(c.m_nCaught, 0);
}

// A refused summon puts the cell back, so nobody it would have caught is marked caught: not the
// flagged character, and not an unflagged hero in the same cell either.
TEST_F(Spawn, ARefusedBlockMarksNobodyItWouldHaveCaught) {
    cHero& hero = g_vecHero[0];
    hero.m_dX = hero.m_dY = 620.0;
    hero.m_dRight = hero.m_dBottom = 635.0;
    cStageChara& c = Owner();
    c.m_bAppeared = 1;
    c.m_dX = c.m_dY = 612.0;
    c.m_dRight = c.m_dBottom = 627.0;
    const int cell = BlockCellIndex(616, 616);
    cEdShot s = Settings(1, 0);
    s.m_byS55 = 1;  // keep the cell for the stage characters only
    SetBlockAt(600, 600, s);
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 0);
    EXPECT_EQ(hero.m_nCaught, 0);
    EXPECT_EQ(c.m_nCaught, 0);
    // Once the character has moved on, the block is placed and only the hero is caught.
    c.m_dX = c.m_dY = 700.0;
    c.m_dRight = c.m_dBottom = 715.0;
    SetBlockAt(600, 600, s);
    EXPECT_EQ(g_vecBlockMap[(size_t)cell].Graphic(), 7);
    EXPECT_EQ(hero.m_nCaught, 2);
    EXPECT_EQ(c.m_nCaught, 0);
}

// Summons, erasures, toggles and refused summons during play: the collision look-ups answer for
// the cell as it is now, whether they asked about it before or not.
TEST_F(Spawn, TheCollisionLookUpsFollowBlocksChangedDuringPlay) {
    const int cell = BlockCellIndex(616, 616);  // map cell (19, 19)
    const int wall = BlockCellIndex(480, 416);  // map cell (15, 13)
    EXPECT_EQ(BlockCellSolidity(cell, 0), 0);
    EXPECT_EQ(BlockSolidFor(15, 13, 0), 1);
    SetBlockAt(600, 600, Settings(1, 0));
    EXPECT_EQ(BlockCellSolidity(cell, 0), 1);
    EXPECT_EQ(BlockSolidFor(19, 19, 0), 1);
    EXPECT_TRUE(BlockCornersSolid(18, 18, 19, 19, 0));
    SetBlockAt(600, 600, Settings(1, 1));
    EXPECT_EQ(BlockCellSolidity(cell, 0), 0);
    EXPECT_FALSE(BlockCornersSolid(18, 18, 19, 19, 0));
    SetBlockAt(480 - 16, 416 - 16, Settings(1, 2));
    EXPECT_EQ(BlockCellSolidity(wall, 0), 0);
    // A summon refused for a flagged hero in the cell: the cell and its answer are put back.
    cHero& hero = g_vecHero[0];
    hero.m_dX = hero.m_dY = 620.0;
    hero.m_dRight = hero.m_dBottom = 635.0;
    cEdShot keep = Settings(1, 0);
    keep.m_byS54 = 1;
    SetBlockAt(600, 600, keep);
    EXPECT_EQ(BlockCellSolidity(cell, 0), 0);
    EXPECT_EQ(BlockCellIndex(DotToInt(hero.m_dX), DotToInt(hero.m_dY)), cell);
    EXPECT_EQ(IsPlaceBlocked(hero), 0);
    keep.m_byS54 = 0;
    SetBlockAt(600, 600, keep);
    EXPECT_EQ(IsPlaceBlocked(hero), 1);
}

}  // namespace
