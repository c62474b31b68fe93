// Characters and the hero: hit ranges and their overlap, the floor and ceiling snaps, jump
// speeds, gravity and knock-back per sub-step, copies and links; the hero's size and ranges by
// movement mode, the view that follows it, its steps and the touched-item list.
#include <gtest/gtest.h>

#include <cmath>

#include "app/scene_manager.h"
#include "media/anime.h"
#include "flow/expression.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

class Chara : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.5;
        g_StageSettings.SetHitLevel(1);
        // A 40 x 15 stage: x 320 .. 1600 (map 0 .. 1920), y 320 .. 800 (map 0 .. 1120).
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    // A hero built from a definition with the given movement mode and hit-range kind.
    cHero& Hero(int mode = 0, int rangeKind = 0, int scale = 1) {
        cCharaRec rec;
        rec.m_byC27 = (uint8_t)mode;
        rec.m_byC18 = (uint8_t)rangeKind;
        rec.m_byC35 = (uint8_t)scale;
        rec.m_nC39 = 5;
        g_vecHero.assign(1, cHero());
        const int32_t place[4] = {0, 0, -1, 0};
        g_vecHero[0].SetupFromPlacement(0, rec, place);
        return g_vecHero[0];
    }
    cPlayScene scene;
};

HITRANGE Range(double l, double t, double r, double b) {
    HITRANGE h = {};
    h.dLeft = l, h.dTop = t, h.dRight = r, h.dBottom = b;
    return h;
}

TEST_F(Chara, HitRangesOverlapWithInclusiveEdges) {
    const HITRANGE a = Range(10, 10, 20, 20);
    struct Case {
        HITRANGE b;
        bool hit;
    } cases[] = {
        {Range(20, 20, 30, 30), true},    // corners touch: edges are inclusive
        {Range(20.5, 10, 30, 20), false}, // right of it
        {Range(0, 0, 9.9, 30), false},    // left of it
        {Range(10, 21, 20, 30), false},   // below it
        {Range(10, 0, 20, 9), false},     // above it
        {Range(12, 12, 14, 14), true},    // inside
    };
    for (const Case& c : cases) EXPECT_EQ(RectOverlapD(a, c.b), c.hit) << c.b.dLeft << "," << c.b.dTop;
}

TEST_F(Chara, SetHitRectCentresOrStandsOnTheCellBottom) {
    cChara c;
    c.m_nGraphOffX = 8;
    c.m_nGraphOffY = 4;
    c.SetHitRect(0, 10, 12);
    EXPECT_EQ(c.m_HitChara.nOffX, 16 - 8 - 5);
    EXPECT_EQ(c.m_HitChara.nOffY, 16 - 4 - 6);
    c.SetHitRect(1, 10, 12);
    EXPECT_EQ(c.m_HitChara.nOffY, 32 - 4 - 12);
    EXPECT_EQ(c.m_HitChara.nBaseOffY, c.m_HitChara.nOffY);
    EXPECT_EQ(c.m_HitChara.nBaseWidth, 10);
}

TEST_F(Chara, FloorAndCeilingSnapsMoveToTheBlockEdge) {
    cChara c;
    c.m_dY = 70.0;
    c.m_dBottom = 95.7;
    c.m_dSpeedY = 3.0;
    c.m_bJumping = c.m_bAirborne = 1;
    c.SnapToFloor();
    EXPECT_DOUBLE_EQ(c.m_dY, 38.0);  // up by (95 mod 32) + 1 = 32
    EXPECT_EQ(c.m_abContact[CONTACT_BOTTOM], 1);
    EXPECT_EQ(c.m_dSpeedY, 0.0);
    EXPECT_EQ(c.m_bJumping + c.m_bAirborne, 0);

    cChara d;
    d.m_dY = 64.0;
    d.m_dSpeedY = -4.0;
    d.SnapToCeiling();
    EXPECT_DOUBLE_EQ(d.m_dY, 96.0);  // a full block down
    EXPECT_EQ(d.m_abContact[CONTACT_TOP], 1);
    EXPECT_EQ(d.m_dSpeedY, 0.0);
    EXPECT_EQ(d.m_bCeiling, 1);
}

TEST_F(Chara, JumpSpeedsFollowTheGravityPerSubStep) {
    cChara c;
    c.m_Def.m_byC33 = 1;  // the stage's jump correction is ignored
    EXPECT_DOUBLE_EQ(c.JumpSpeedForHalfBlocks(4), (-0.5 - std::sqrt((512 + 0.5) * 0.5)) * 0.5);
    c.m_Def.m_byC33 = 0;  // with the correction (0 here): x 0.99
    EXPECT_DOUBLE_EQ(c.JumpSpeedForHalfBlocks(4), (-0.5 - std::sqrt((512 + 0.5) * 0.5)) * 0.5 * 0.99);
    EXPECT_EQ(cChara::FallFrames(-10.0), 21);  // 1 - (-10 / 0.5)
    // No gravity, or a height that cannot be reached: no jump, never NaN.
    g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY] = 0.0;
    EXPECT_EQ(c.JumpSpeedForHeight(64), -0.0);
    EXPECT_EQ(cChara::FallFrames(-10.0), 0);
    g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY] = 0.5;
    EXPECT_EQ(c.JumpSpeedForHeight(-100), 0.0);
}

TEST_F(Chara, GravityAndKnockBackPerSubStep) {
    cChara c;
    c.ApplyGravity();
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, 0.5);
    c.m_dImpactY = -2.0;  // knocked upward: no gravity
    c.ApplyGravity();
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, 0.5);
    c.ApplyInertia();     // the impact enters speed y once
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, -1.5);
    c.ApplyInertia();     // the same impact again: speed y unchanged
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, -1.5);
    c.m_bStanding = 1;
    c.m_dSpeedY = 0;
    c.ApplyGravity();
    EXPECT_EQ(c.m_dSpeedY, 0.0);
    c.m_dImpactY = 3.0;  // downward impact on something it stands on: cleared
    c.ApplyInertia();
    EXPECT_EQ(c.m_dImpactY, 0.0);
    // Decay by 1/n toward 0 without passing it.
    g_StageSettings.SetHitLevel(4);
    c.m_dImpactX = 0.6;
    c.DecayInertiaX();
    EXPECT_DOUBLE_EQ(c.m_dImpactX, 0.35);
    c.DecayInertiaX();
    c.DecayInertiaX();
    EXPECT_EQ(c.m_dImpactX, 0.0);
    c.m_dImpactY = -0.1;
    c.DecayInertiaY();
    EXPECT_EQ(c.m_dImpactY, 0.0);
}

TEST_F(Chara, CopiesKeepEverythingAndLinksLetGo) {
    cHero& hero = Hero();
    g_listStageChara.emplace_back();
    cStageChara& a = g_listStageChara.back();
    a.m_nId = 7;
    const int32_t place[4] = {1, 2, 0, 4};  // summoned by the hero (identifier 0)
    cCharaRec def;
    def.m_nC39 = 12;
    def.m_byC17 = 3;
    a.SetUp(&def, place);
    hero.m_vecSummoned.push_back(7);
    EXPECT_EQ(a.m_nTargetId, 0);
    EXPECT_EQ(hero.m_vecTargetedBy, std::vector<int32_t>{7});
    EXPECT_EQ(a.m_nHP, 12);
    EXPECT_EQ(a.m_nSightRange, 48);
    // Its own variables exist from the set-up on, indexes 0-8, and a new set-up clears them.
    ASSERT_EQ(a.m_vecVar.size(), 9u);
    EXPECT_EQ(RunExpressionCode("my.v8 = 5", &a), 1);
    EXPECT_EQ(RunExpressionCode("my.v1 = 6", &a), 1);
    EXPECT_EQ(a.m_vecVar[8], 5);
    EXPECT_EQ(a.m_vecVar[1], 6);
    a.SetUp(&def, place);  // set up again: not listed twice
    EXPECT_EQ(hero.m_vecTargetedBy.size(), 1u);
    EXPECT_EQ(a.m_vecVar, std::vector<int32_t>(9, 0));

    cStageChara copy(a);
    EXPECT_EQ(copy.m_nHP, 12);
    EXPECT_EQ(copy.m_nTargetId, 0);
    EXPECT_EQ(copy.m_Def.m_nC39, 12);
    EXPECT_EQ(copy.m_avecGroupStop[2].size(), 27u);

    a.ReleaseLinks();
    EXPECT_EQ(a.m_nTargetId, -1);
    EXPECT_TRUE(hero.m_vecTargetedBy.empty());
    EXPECT_TRUE(hero.m_vecSummoned.empty());
    // The hero leaving play: whoever targets it loses the target.
    a.SetUp(&def, place);
    hero.ReleaseLinks();
    EXPECT_EQ(a.m_nTargetId, -1);
}

TEST_F(Chara, HeroSizeAndRangesFollowTheMovementMode) {
    cStage& s = g_StageSettings;
    s.m_anHeroSize36_39[0] = 20, s.m_anHeroSize36_39[1] = 28;  // walking 20 x 28 on the bottom
    s.m_anHeroSize36_39[2] = 16, s.m_anHeroSize36_39[3] = 12;  // flying 16 x 12, centred
    s.m_anHero48_49[0] = 1, s.m_anHero48_49[1] = 0;
    s.m_anValue74_84[2] = 8, s.m_anValue74_84[3] = 6;          // shot range 8 x 6
    cHero& hero = Hero(0, 0);
    EXPECT_EQ(hero.m_nWidth, 20);
    EXPECT_EQ(hero.m_nHeight, 28);
    EXPECT_EQ(hero.m_nGraphOffX, 6);
    EXPECT_EQ(hero.m_nGraphOffY, 4);
    EXPECT_EQ(hero.m_HitShot.nOffX, 16 - 4 - 6);
    EXPECT_EQ(hero.m_HitShot.nWidth, 8);
    EXPECT_EQ(hero.m_nHP, 5);
    EXPECT_EQ(hero.m_bJumpReady, 1);
    EXPECT_DOUBLE_EQ(hero.m_dHoldBoost, 4.0);

    hero.m_dSpeedX = 3.0;
    hero.ApplyState(1, 0);  // takes off: the flying size, a turn lock
    EXPECT_EQ(hero.m_bFlying, 1);
    EXPECT_EQ(hero.m_nWidth, 16);
    EXPECT_EQ(hero.m_nGraphOffY, 10);
    EXPECT_EQ(hero.m_nTurnLock, 2);
    EXPECT_EQ(hero.m_dSpeedX, 3.0);
    hero.ApplyState(0, 0);  // lands: speeds stop
    EXPECT_EQ(hero.m_dSpeedX, 0.0);

    cHero& big = Hero(0, 3, 2);  // range kind 3 (32 x 32) at scale 2
    EXPECT_EQ(big.m_nGraphWidth, 64);
    EXPECT_EQ(big.m_HitChara.nWidth, 64);
    EXPECT_EQ(big.m_HitChara.nBaseWidth, 32);
    // The display entries: one per rectangle, the largest first.
    ASSERT_EQ(big.m_vecRangeDisplay.size(), 4u);
    for (size_t i = 1; i < big.m_vecRangeDisplay.size(); ++i)
        EXPECT_GE(big.m_vecRangeDisplay[i - 1].nWidth * big.m_vecRangeDisplay[i - 1].nHeight,
                  big.m_vecRangeDisplay[i].nWidth * big.m_vecRangeDisplay[i].nHeight);
}

TEST_F(Chara, TheViewFollowsTheHeroUntilTheScrollLimit) {
    cHero& hero = Hero(1);  // flying: held to the scroll range
    struct Case {
        double x, view;
    } cases[] = {{800, 800 - 320 + 8}, {400, 320}, {1590, 1600 - 640}};
    for (const Case& c : cases) {
        hero.m_dX = c.x;
        hero.ClampX();
        EXPECT_DOUBLE_EQ(scene.m_ScrollX.m_dPos, c.view) << c.x;
    }
    // Beyond the limit the hero moves on the screen instead.
    hero.m_dX = 1500;
    hero.ClampX();
    hero.GetGraphicRect();
    EXPECT_GT(hero.m_nRectLeft, 320);
    // With the follow lock the view stays.
    scene.m_bFollowLockX = 1;
    hero.m_dX = 800;
    hero.ClampX();
    EXPECT_DOUBLE_EQ(scene.m_ScrollX.m_dPos, 960);
}

TEST_F(Chara, HeroStepsHoldTheSpeedLimitAndReportAFall) {
    cHero& hero = Hero(0);
    hero.m_dX = 800;
    hero.m_dMoveX = 100.0;  // held to the 6-dot limit per sub-step
    hero.m_abDecel[0] = 0;
    EXPECT_EQ(hero.StepX(), 0);
    EXPECT_DOUBLE_EQ(hero.m_dX, 806);
    hero.m_dImpactX = -2.0;  // a knock-back replaces the speed
    hero.m_dSpeedX = 0;
    hero.StepX();
    EXPECT_DOUBLE_EQ(hero.m_dX, 804);
    // Walking out at the bottom of the stage: 7; a flying hero reports the clamp's code.
    hero.m_dY = 1100;
    hero.m_dSpeedY = 5;
    EXPECT_EQ(hero.StepY(), STEP_FELL_OUT);
    cHero& flyer = Hero(1);
    flyer.m_dY = 1100;
    flyer.m_dSpeedY = 5;
    EXPECT_NE(flyer.StepY(), STEP_FELL_OUT);
}

TEST_F(Chara, TouchedItemsAreListedOnce) {
    cHero& hero = Hero();
    EXPECT_EQ(hero.HasPending(4), 1);
    hero.AddPending(4);
    hero.AddPending(4);
    EXPECT_EQ(hero.m_vecTouched.size(), 1u);
    EXPECT_EQ(hero.HasPending(4), 0);
    hero.RemovePending(4);
    EXPECT_EQ(hero.HasPending(4), 1);
}

}  // namespace

void MakeTestAnimeSets();
void ClearTestAnimeSets();

namespace {

TEST_F(Chara, AnimationsComeFromTheAnimationSetAndLoop) {
    MakeTestAnimeSets();
    cChara c;
    c.SetAnimation(1, 1);
    const cAnime& a = *c.m_Anime;
    ASSERT_EQ(a.m_vecAnime.size(), 2u);
    ASSERT_EQ(a.m_vecAnime[0].size(), 3u);
    EXPECT_EQ(a.m_vecAnime[0][0].nValue, 4);
    EXPECT_EQ(a.m_vecAnime[0][0].nDuration, 6);  // tenths of a second to frames
    EXPECT_EQ(a.m_vecAnime[0][1].nDuration, 30);
    EXPECT_EQ(a.m_vecAnime[0][2].nValue, ANIME_LOOP);
    EXPECT_EQ(a.m_vecAnime[1].size(), 1u);  // no items: the end entry alone
    // Without force the same set changes nothing.
    c.m_Anime->m_vecAnime.clear();
    c.SetAnimation(1, 0);
    EXPECT_TRUE(c.m_Anime->m_vecAnime.empty());
    ClearTestAnimeSets();
}

TEST_F(Chara, ItemCommandsStopWhenTheHeroHasNoHitPointsLeft) {
    cHero& hero = Hero();
    std::vector<cFlowCmd> cmds(2);
    hero.m_nHP = 5;
    EXPECT_EQ(hero.RunItemCommands(cmds), 0);
    hero.m_nHP = 0;
    EXPECT_EQ(hero.RunItemCommands(cmds), 2);
    std::vector<cFlowCmd> none;
    EXPECT_EQ(hero.RunItemCommands(none), 2);
}

}  // namespace

namespace {

TEST_F(Chara, JumpGoesHigherWhileHeldAndIsCutWhenLetGoEarly) {
    g_StageSettings.SetHitLevel(2);
    cHero& hero = Hero(0);
    hero.m_bStanding = 1;  // on a carrying character: the jump is a little stronger
    HEROJUMP jump = {0, 0, -8.0, 10, 0, 0, 0, 0, 0, 0, 0};
    hero.Jump(jump);
    EXPECT_EQ(jump.bJumped, 1);
    EXPECT_DOUBLE_EQ(hero.m_dSpeedY, -8.0 * 1.0199999809265137);
    EXPECT_EQ(hero.m_nJumpCount, 1);
    hero.Jump(jump);  // once per sub-step
    EXPECT_EQ(hero.m_nJumpCount, 1);
    // Let go one sub-step after the start: the upward speed is cut to 30 %.
    hero.m_bJumpDone = 0;
    hero.m_bStanding = 0;
    HEROJUMP keys = jump;
    keys.nRule = 1;
    keys.bHasKeys = 1;  // the key entry does not hold
    hero.m_dSpeedY = -6.0;
    hero.Jump(keys);
    EXPECT_DOUBLE_EQ(hero.m_dSpeedY, -6.0 * 0.3);
    EXPECT_EQ(hero.m_bAirborne, 1);
    EXPECT_EQ(hero.m_nJumpCount, 0);
    EXPECT_EQ(hero.m_bJumpReady, 1);
    // A flying hero does not jump.
    cHero& flyer = Hero(1);
    HEROJUMP j2 = {0, 0, -8.0, 10, 0, 0, 0, 0, 0, 0, 0};
    flyer.Jump(j2);
    EXPECT_EQ(j2.bJumped, 0);
    EXPECT_EQ(flyer.m_dSpeedY, 0.0);
}

}  // namespace
