// Shots in the play frame: a shot fired into the play scene's list lives out its life over the
// frame's sub-steps and leaves its group list with it; a shot at the map's edge goes in the next
// frame's first sub-step.
#include <gtest/gtest.h>

#include "core/frame_timer.h"
#include "play/play_scene.h"
#include "play/shot_formation.h"
#include "play/stage_objects.h"
#include "records/replay.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

class ShotFrame : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));  // the play scene loads its sheets
        Open();
        g_Replay.Clear();
        g_SystemData.m_bReplay = 0;
        g_StageSettings.m_nHitLevel = 3;
        g_StageSettings.m_nFrameRate = 60;
        g_StageSettings.m_nValue33 = 0;  // no second banner
        g_StageSettings.m_nWidth = 40;   // blocks: room for the shot to fly
        g_StageSettings.m_nHeight = 30;
        PlaceFlyingHero(g_LoadedStage, 18, 15);  // about where the test puts it, so the view is there too
        g_SaveData.m_nLivesReserve = 3;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
        for (int i = 0; i < 200 && (!g_lpPlayScene || g_lpPlayScene->m_nState != PLAY_FRAME); ++i) Frame();
    }
    void TearDown() override {
        g_Replay.Clear();
        SceneFixture::TearDown();
    }
};

TEST_F(ShotFrame, ShotsLiveOutTheirLifeAndLeaveAtTheEdge) {
    ASSERT_NE(g_lpPlayScene, nullptr);
    ASSERT_EQ(g_lpPlayScene->m_nState, PLAY_FRAME);
    cPlayScene& scene = *g_lpPlayScene;
    ASSERT_FALSE(g_vecHero.empty());
    cHero& hero = g_vecHero[0];
    hero.m_dX = 600;  // inside the view (320, 320) - (959, 799)
    hero.m_dY = 500;
    hero.m_nPlayerSide = 1;  // the owner's rectangle is taken afresh
    cEdShot set;
    set.GroupOfUser() = 0;
    set.Group() = 6;
    set.FormationCount() = 1;
    set.LifeOn() = 1;
    set.Life() = 1;  // 18 sub-steps at n = 3
    RunShotCommand(scene.m_listShot, hero, SHOTCMD_SHOT, set);
    ASSERT_EQ(scene.m_listShot.size(), 1u);
    ASSERT_EQ(scene.m_vecShotGroup[6].size(), 1u);
    Frames(6);
    EXPECT_EQ(scene.m_listShot.size(), 1u);
    Frame();
    EXPECT_TRUE(scene.m_listShot.empty());
    EXPECT_TRUE(scene.m_vecShotGroup[6].empty());
    // At the map's left edge: gone in the first sub-step of the next frame.
    set.LifeOn() = 0;
    RunShotCommand(scene.m_listShot, hero, SHOTCMD_SHOT, set);
    ASSERT_EQ(scene.m_listShot.size(), 1u);
    scene.m_listShot.front().m_dX = 0;
    Frame();
    EXPECT_TRUE(scene.m_listShot.empty());
    EXPECT_TRUE(scene.m_vecShotGroup[6].empty());
    EXPECT_FALSE(ClosePosted());
}

}  // namespace
