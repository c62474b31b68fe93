// Blocks that carry an item, in play: a hero standing still on such a block gets the item once
// a second; stepping onto the next such block gives it again at once; a flying hero gets none.
// The item's sound is the trace of each time it is applied.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/frame_timer.h"
#include "play/block_map.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/replay.h"
#include "records/stage.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

constexpr int kItemSound = 3;  // requested as 16 + 3
const REQUEST kItemSe{WM_REQ_SOUND, 16 + kItemSound};

class BlockItem : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        g_Replay.Clear();
        g_SystemData.m_bReplay = 0;
        g_SaveData.m_nLives = 2;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
    }
    void TearDown() override {
        g_Replay.Clear();
        SceneFixture::TearDown();
    }
    // A floor on row 12 whose cells 8 and 9 carry stage item 1; the hero (walking or flying)
    // stands above cell 8.
    void BuildStage(int flying) {
        cStage& s = g_LoadedStage;
        s.m_nWidth = 30;
        s.m_nHeight = 15;
        s.m_nHitLevel = 1;
        s.m_dGravity = 0.5;
        cItemRec item;
        item.m_wSound = kItemSound;
        s.m_vecPaletteItems = {cItemRec(), item};
        for (int x = 0; x < 30; ++x) {
            cBlockRec b;
            b.m_wGraphic = 1;
            b.m_byB12 = 1;
            b.m_sPlaceX = (int16_t)x;
            b.m_sPlaceY = 12;
            if (x == 8 || x == 9) {
                b.m_byItemKind = 2;
                b.m_wItemIndex = 1;
            }
            s.m_vecBlocks.push_back(b);
        }
        cCharaRec hero;
        hero.m_byRole = 0;
        hero.m_wGraphic = 1;
        hero.m_byC27 = (uint8_t)flying;
        hero.m_sPlaceX = 8;
        hero.m_sPlaceY = 11;
        hero.m_nC39 = 10;
        s.m_vecCharas = {hero};
        TakeStageSettings(g_StageSettings, g_LoadedStage);
    }
    void Start() {
        Frame();
        ASSERT_NE(g_lpPlayScene, nullptr);
        g_lpPlayScene->m_nState = PLAY_FRAME;
        Taken();
    }
    // The frames (counted from 0) among the next n in which the item was applied.
    std::vector<int> AppliedIn(int n) {
        std::vector<int> at;
        for (int f = 0; f < n; ++f) {
            Frame();
            const std::vector<REQUEST> r = Taken();
            if (std::count(r.begin(), r.end(), kItemSe)) at.push_back(f);
        }
        return at;
    }
};

TEST_F(BlockItem, StandingStillGivesTheItemOnceASecondAndTheNextBlockGivesItAtOnce) {
    BuildStage(0);
    Start();
    // The hero settles on the block within the first frames; then once every 60 frames.
    std::vector<int> at = AppliedIn(200);
    ASSERT_GE(at.size(), 3u);
    EXPECT_LT(at[0], 10);
    for (size_t i = 1; i < at.size(); ++i) EXPECT_EQ(at[i] - at[i - 1], 60) << i;
    EXPECT_LE(at.size(), 4u);
    // Onto the next block carrying the item, well within the second: given again at once (the
    // frame after the floor cell changed).
    const int sinceLast = 199 - at.back();
    ASSERT_LT(sinceLast, 50);
    cHero& hero = g_vecHero.front();
    hero.m_dX += 32.0;
    hero.m_dRight += 32.0;
    at = AppliedIn(3);
    ASSERT_FALSE(at.empty());
    EXPECT_LE(at.front(), 1);
}

TEST_F(BlockItem, AFlyingHeroGetsNoBlockItems) {
    BuildStage(1);
    Start();
    EXPECT_TRUE(AppliedIn(120).empty());
}

}  // namespace
