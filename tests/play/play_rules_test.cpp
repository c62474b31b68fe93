// Play rules: the floor block under a standing character, the pause key read directly from the
// keyboard, the stage music request and the appearance pass.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "platform/host/host.h"
#include "play/appearance.h"
#include "play/block_map.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/play_rules.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "media/music_request.h"
#include "records/stage.h"
#include "tests/frontend/scene_fixture.h"
#include "tests/play/flying_hero.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

class RulesOfPlay : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        g_StageSettings.m_nSubSteps = 2;
        g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY] = 0.25;
        g_vecBlockMap.assign(4, cBlockDef());
        for (cBlockDef& cell : g_vecBlockMap) Floor(cell, FLOOR_NONE, 0);
        chara.m_nBlockUnder = 1;
        chara.m_nBlockSide = 0;
    }
    void TearDown() override {
        g_vecBlockMap.clear();
        host::SetKeyState(VK_SPACE, false);
        SceneFixture::TearDown();
    }
    // A solid cell (solidity 1, no pass-through side) with a floor kind and parameter.
    static void Floor(cBlockDef& cell, int kind, int32_t x) {
        cell.m_byB12 = 1;
        cell.m_byB13 = 255;
        cell.m_byB14 = (uint8_t)kind;
        cell.m_nB15 = x;
    }
    cChara chara;
};

TEST_F(RulesOfPlay, FloorKindsMoveTheStandingCharacterForOneFrameOfSubSteps) {
    struct Case {
        int kind, x;
        double inertia;
        double speedX;    // after the first sub-step, from 1.0
        double inertiaAfter;
    } cases[] = {
        {FLOOR_NONE, 50, 2.0, 1.0, 2.0},
        {FLOOR_SPEED, 50, 2.0, 0.5, 2.0},    // x 50 %
        {FLOOR_LEFT, 10, 2.0, 0.5, 0.0},     // 10 x 0.1 / 2; inertia against the push stops
        {FLOOR_LEFT, 10, -2.0, 0.5, -2.0},   // inertia along the push stays
        {FLOOR_RIGHT, 10, -2.0, 1.5, 0.0},
        {FLOOR_RIGHT, 10, 2.0, 1.5, 2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        chara = cChara();
        chara.m_nBlockUnder = 1;
        Floor(g_vecBlockMap[1], c.kind, c.x);
        chara.m_dSpeedX = 1.0;
        chara.m_dImpactX = c.inertia;
        EXPECT_EQ(ApplyFloorBlockEffect(chara), 0);
        EXPECT_DOUBLE_EQ(chara.m_dSpeedX, c.speedX);
        EXPECT_DOUBLE_EQ(chara.m_dImpactX, c.inertiaAfter);
        if (c.kind == FLOOR_NONE) {
            EXPECT_EQ(chara.m_nFloorFrames, 0);
            EXPECT_DOUBLE_EQ(chara.m_dSpeedY, 1.0);  // pressed onto the floor at once
            continue;
        }
        // The effect runs n = 2 sub-steps, then the character is pressed onto the floor so that
        // the next sub-step starts it again.
        EXPECT_EQ(chara.m_nFloorFrames, 1);
        EXPECT_DOUBLE_EQ(chara.m_dSpeedY, 0.0);
        ApplyFloorBlockEffect(chara);
        EXPECT_EQ(chara.m_nFloorFrames, 0);
        EXPECT_DOUBLE_EQ(chara.m_dSpeedY, 1.0);
        chara.m_dSpeedX = 1.0;
        ApplyFloorBlockEffect(chara);
        EXPECT_DOUBLE_EQ(chara.m_dSpeedX, c.speedX);
        // Leaving the floor lets the running effect finish but starts no new one.
        chara.m_nBlockUnder = -1;
        ApplyFloorBlockEffect(chara);
        chara.m_dSpeedX = 1.0;
        ApplyFloorBlockEffect(chara);
        EXPECT_DOUBLE_EQ(chara.m_dSpeedX, 1.0);
    }
}

TEST_F(RulesOfPlay, NoJumpFloorHoldsUntilAnotherSolidFloorStartsAnEffect) {
    Floor(g_vecBlockMap[1], FLOOR_NOJUMP, 0);
    ApplyFloorBlockEffect(chara);
    EXPECT_EQ(chara.m_bNoJump, 1);
    // A cell that is not solid for the character, or whose side passes through, lifts nothing.
    Floor(g_vecBlockMap[2], FLOOR_NONE, 0);
    g_vecBlockMap[2].m_byB12 = 0;
    Floor(g_vecBlockMap[3], FLOOR_NONE, 0);
    g_vecBlockMap[3].m_byB13 = 0;
    for (int cell : {2, 3}) {
        chara.m_nBlockUnder = cell;
        ApplyFloorBlockEffect(chara);
        EXPECT_EQ(chara.m_bNoJump, 1) << cell;
    }
    Floor(g_vecBlockMap[0], FLOOR_SPEED, 100);
    chara.m_nBlockUnder = 0;
    ApplyFloorBlockEffect(chara);
    EXPECT_EQ(chara.m_bNoJump, 0);
}

TEST_F(RulesOfPlay, FlyingCharactersAndCellsOutsideTheMapGetNoFloorEffect) {
    Floor(g_vecBlockMap[1], FLOOR_RIGHT, 10);
    chara.m_bFlying = 1;
    chara.m_dSpeedX = 1.0;
    EXPECT_EQ(ApplyFloorBlockEffect(chara), 0);
    EXPECT_DOUBLE_EQ(chara.m_dSpeedX, 1.0);
    EXPECT_DOUBLE_EQ(chara.m_dSpeedY, 0.0);
    chara.m_bFlying = 0;
    for (int32_t cell : {4, 1 << 30}) {
        chara.m_nBlockUnder = cell;
        EXPECT_EQ(ApplyFloorBlockEffect(chara), 0);
        EXPECT_DOUBLE_EQ(chara.m_dSpeedX, 1.0) << cell;
        EXPECT_EQ(chara.m_nFloorFrames, 0);
    }
}

TEST_F(RulesOfPlay, SpringFloorThrowsTheCharacterUpWithTheSpringSound) {
    Floor(g_vecBlockMap[1], FLOOR_SPRING, 4);
    chara.m_bAirborne = 1;
    ApplyFloorBlockEffect(chara);
    EXPECT_LT(chara.m_dSpeedY, 0.0);
    EXPECT_DOUBLE_EQ(chara.m_dSpeedY, chara.JumpSpeedForHalfBlocks(4));
    EXPECT_EQ(chara.m_bJumping, 1);
    EXPECT_EQ(chara.m_bRising, 1);
    EXPECT_EQ(chara.m_bAirborne, 1);  // only the hero's is cleared
    cHero hero;
    hero.m_nBlockUnder = 1;
    hero.m_bAirborne = 1;
    ApplyFloorBlockEffect(hero);
    EXPECT_EQ(hero.m_bAirborne, 0);
    EXPECT_DOUBLE_EQ(hero.m_dSpeedY, hero.JumpSpeedForHalfBlocks(4));
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_SOUND, 10}, {WM_REQ_SOUND, 10}}));
    // A corrupt height still gives a finite upward speed; a negative one no jump.
    for (int32_t x : {INT32_MAX, -5}) {
        Floor(g_vecBlockMap[1], FLOOR_SPRING, x);
        chara.m_dSpeedY = 0.0;
        ApplyFloorBlockEffect(chara);
        EXPECT_TRUE(std::isfinite(chara.m_dSpeedY)) << x;
        EXPECT_LE(chara.m_dSpeedY, 0.0) << x;
    }
}

TEST_F(RulesOfPlay, MusicRequestStoresTheLoopWordBeforeAskingForTheTune) {
    g_bBgmTuneLoop = 0;
    PostMusicRequest(7, 1);
    EXPECT_EQ(g_bBgmTuneLoop, 1);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_MUSIC, 4}}));
}

TEST_F(RulesOfPlay, AppearancePassKeepsHeroesInPlayAndStopsCharactersThatHaveNotAppeared) {
    g_vecHero.assign(1, cHero());
    g_listStageChara.clear();
    g_listItem.clear();
    cStageChara& gone = g_listStageChara.emplace_back();
    gone.m_bInRange = 1;
    gone.m_bOnScreen = 1;
    // Its appearance condition (character variable 0 = 1) does not hold.
    gone.m_vecVar.assign(1, 0);
    gone.m_Def.m_vecConds.resize(1);
    gone.m_Def.m_vecConds[0].m_cKind = 3;
    gone.m_Def.m_vecConds[0].m_nValue = 1;
    cStageChara& acting = g_listStageChara.emplace_back();
    acting.m_bAppeared = 1;
    acting.m_bInRange = 1;
    cItem& item = g_listItem.emplace_back();
    item.m_bOnScreen = 1;
    item.m_Def.m_vecConds.resize(1);  // stage variable 0 = 1: no stage, so it fails
    item.m_Def.m_vecConds[0].m_cKind = 2;
    item.m_Def.m_vecConds[0].m_nValue = 1;
    CheckAppearances(nullptr);
    EXPECT_EQ(g_vecHero[0].m_bAppeared, 1);
    EXPECT_EQ(g_vecHero[0].m_bOnScreen, 1);
    EXPECT_EQ(g_vecHero[0].m_bAlwaysActive, 1);
    EXPECT_EQ(gone.m_bInRange, 0);
    EXPECT_EQ(gone.m_bOnScreen, 0);
    EXPECT_EQ(acting.m_bInRange, 1);
    EXPECT_EQ(acting.m_bOnScreen, acting.IsOnScreen() ? 1 : 0);
    EXPECT_EQ(item.m_bOnScreen, 0);
    g_vecHero.clear();
    g_listStageChara.clear();
    g_listItem.clear();
}

// The play scene running a stage, for the pause key.
class PauseKey : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        g_StageSettings.m_nHitLevel = 3;
        g_StageSettings.m_nFrameRate = 60;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.m_nValue33 = 0;
        PlaceFlyingHero(g_LoadedStage);
        g_SaveData.m_nLivesReserve = 3;
        g_SaveData.m_nLives = 2;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
    }
    void TearDown() override {
        host::SetKeyState(VK_SPACE, false);
        SceneFixture::TearDown();
    }
    cPlayScene* Play() { return g_lpPlayScene; }
};

TEST_F(PauseKey, SpaceOpensTheInPlayMenuWhateverTheKeyConfiguration) {
    for (int i = 0; i < 200 && (!Play() || Play()->m_nState != PLAY_FRAME); ++i) Frame();
    ASSERT_EQ(Play()->m_nState, PLAY_FRAME);
    Play()->m_nPhase = 7;
    Frame();
    Taken();
    EXPECT_EQ(Play()->m_nState, PLAY_FRAME);
    host::SetKeyState(VK_SPACE, true);
    const int frames = Play()->m_nPlayFrames;
    Frame();
    EXPECT_EQ(Play()->m_nState, PLAY_MENU);
    EXPECT_EQ(Play()->m_nPhase, 0);
    EXPECT_EQ(Play()->m_nSavedState, PLAY_FRAME);
    EXPECT_EQ(Play()->m_nSavedPhase, 7);
    EXPECT_EQ(Play()->m_nPlayFrames, frames);  // the frame ended before the timer
    const std::vector<REQUEST> r = Taken();
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r.front(), (REQUEST{WM_REQ_SOUND, 4}));
}

}  // namespace
