// The block map in play: a walking hero placed over a floor of blocks comes to stand on it,
// frame after frame, and without the floor it falls.
#include <gtest/gtest.h>

#include "core/frame_timer.h"
#include "play/block_map.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/replay.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

class BlockPlay : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        g_Replay.Clear();
        g_SystemData.m_bReplay = 0;
        // A 40 x 30 stage; the walking hero is placed at block (20, 10).
        cStage& s = g_LoadedStage;
        s.m_nWidth = 40;
        s.m_nHeight = 30;
        s.m_nHitLevel = 2;
        s.m_dGravity = 0.5;
        cCharaRec hero;
        hero.m_byRole = 0;
        hero.m_wGraphic = 1;
        hero.m_byC27 = 0;
        hero.m_sPlaceX = 20;
        hero.m_sPlaceY = 10;
        hero.m_nC39 = 3;
        s.m_vecCharas.assign(1, hero);
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
    // Solid blocks of the stage from column `from` to `to` on row `row`.
    void FloorRow(int row, int from, int to) {
        for (int x = from; x <= to; ++x) {
            cBlockRec b;
            b.m_wGraphic = 1;
            b.m_byB12 = 1;
            b.m_sPlaceX = (int16_t)x;
            b.m_sPlaceY = (int16_t)row;
            g_LoadedStage.m_vecBlocks.push_back(b);
        }
    }
};

TEST_F(BlockPlay, AWalkingHeroStandsOnTheFloor) {
    FloorRow(12, 15, 25);
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    Frame();  // the scene is built and the stage set up
    ASSERT_NE(g_lpPlayScene, nullptr);
    g_lpPlayScene->m_nState = PLAY_FRAME;
    for (int i = 0; i < 60; ++i) Frame();
    ASSERT_EQ(g_vecHero.size(), 1u);
    const cHero& hero = g_vecHero[0];
    // The floor's top is row 12 + the 10-block margin: dot 22 x 32. Between snaps the hero may
    // have sunk a fraction of a dot.
    EXPECT_GE(hero.m_dBottom, 22 * 32 - 1.0);
    EXPECT_LT(hero.m_dBottom, 22 * 32);
    EXPECT_EQ(hero.m_nLastFloor, (22 << g_lpPlayScene->m_ScrollX.m_nRowShift) + 30);
    // Gravity takes it a fraction of a dot down and the floor puts it back: it never counts
    // as falling.
    EXPECT_LT(hero.m_nAirCount, 8 * g_StageSettings.m_nSubSteps);
    EXPECT_EQ(hero.m_bFalling, 0);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(BlockPlay, WithoutAFloorTheHeroFalls) {
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    Frame();
    ASSERT_NE(g_lpPlayScene, nullptr);
    g_lpPlayScene->m_nState = PLAY_FRAME;
    for (int i = 0; i < 60; ++i) Frame();
    ASSERT_EQ(g_vecHero.size(), 1u);
    EXPECT_GT(g_vecHero[0].m_dBottom, 22 * 32 + 32.0);
    EXPECT_FALSE(ClosePosted());
}

}  // namespace
