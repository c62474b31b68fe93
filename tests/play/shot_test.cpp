// Shots and swords: set-up from the owner, the settings and the spawn values (facing, hit box,
// group, velocity, acceleration, life and travel distance), the sub-step update with its erasure
// and the stop at the travel distance, the motion with the speed limit and the map clamp, scaling,
// and the sword that follows its owner through the entries of its sword type.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "play/chara.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "records/effect_records.h"
#include "records/stage.h"

namespace {

class Shot : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(2);  // n = 2, limit 6 per sub-step
        // The shot hit sizes: the player's shots 10 x 12, the enemies' 6 x 4.
        g_StageSettings.m_anValue74_84[2] = 10;
        g_StageSettings.m_anValue74_84[3] = 12;
        g_StageSettings.m_anValue74_84[6] = 6;
        g_StageSettings.m_anValue74_84[7] = 4;
        // x: map 0 .. 1920; y: map 0 .. 1120; the view at (480, 384).
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(5, 39, 1, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(2, 11, 1, 1);
        scene.m_ScrollX.m_dPos = 480;
        scene.m_ScrollY.m_dPos = 384;
        g_lpPlayScene = &scene;
        g_listStageChara.clear();
        g_listStageChara.emplace_back();
        owner = &g_listStageChara.back();
        owner->Init(5, 1, 3, 0, 0, nullptr, 0, 0, 0, 32, 32, 32, 32, 1, 0, 0);
        owner->m_dX = 600;
        owner->m_dY = 500;
        owner->m_nGroup = 4;
        set.GroupOfUser() = 0;
        set.Group() = 2;
        g_Database.m_vecSwordType.clear();
    }
    void TearDown() override {
        g_lpPlayScene = nullptr;
        g_listStageChara.clear();
        g_Database.m_vecSwordType.clear();
        g_StageSettings = cStage();
    }
    static SPAWNVALUES At(int x, int y, double vx, double vy, double speed = 0.0) {
        SPAWNVALUES v{};
        v.nX = x;
        v.nY = y;
        v.dVelX = vx;
        v.dVelY = vy;
        v.dSpeed = speed;
        return v;
    }
    cShot Make(const SPAWNVALUES& v, int kind = SHOTCMD_SHOT) {
        cShot s;
        s.Init(77, *owner, kind, set, v);
        return s;
    }
    cPlayScene scene;
    cStageChara* owner = nullptr;
    cEdShot set;
};

TEST_F(Shot, InitTakesFacingSidesGroupAndHitBoxFromOwnerAndSettings) {
    struct Case {
        double vx;
        int ownerDir, want;
    } cases[] = {{2, 0, 1}, {-2, 1, 0}, {0, 0, 0}, {0, 1, 1}};
    for (const Case& c : cases) {
        owner->m_nDir = c.ownerDir;
        EXPECT_EQ(Make(At(700, 500, c.vx, 0)).m_nDir, c.want) << c.vx << " " << c.ownerDir;
    }
    cShot s = Make(At(700, 500, 4, -2));
    EXPECT_EQ(s.m_nId, 77);
    EXPECT_EQ(s.m_nOwnerId, 5);
    EXPECT_EQ(s.m_bIsShot, 1);
    EXPECT_EQ(s.m_nPlayerSide, 1);
    EXPECT_EQ(s.m_nSide2, 3);
    EXPECT_EQ(s.m_nGroup, 2);
    EXPECT_EQ(s.m_nBlockSide, 2);
    EXPECT_EQ(s.m_bFlying, 1);
    EXPECT_EQ(s.m_nWidth, 16);
    EXPECT_DOUBLE_EQ(s.m_dX, 700);
    EXPECT_DOUBLE_EQ(s.m_dY, 500);
    // Dots per frame become dots per sub-step.
    EXPECT_DOUBLE_EQ(s.m_dVelX, 2.0);
    EXPECT_DOUBLE_EQ(s.m_dVelY, -1.0);
    // The player's shot hit size, centred in the 16 x 16 cell, with its edges.
    EXPECT_EQ(s.m_anHitBox[0], 3);
    EXPECT_EQ(s.m_anHitBox[1], 2);
    EXPECT_EQ(s.m_anHitBox[2], 10);
    EXPECT_EQ(s.m_anHitBox[3], 12);
    EXPECT_DOUBLE_EQ(s.m_dHitLeft, 703);
    EXPECT_DOUBLE_EQ(s.m_dHitRight, 712);
    EXPECT_DOUBLE_EQ(s.m_dHitTop, 502);
    EXPECT_DOUBLE_EQ(s.m_dHitBottom, 513);
    EXPECT_EQ(s.m_bFarErase, 1);
    EXPECT_EQ(s.m_bFollowOwner, 1);
    // An enemy's shot, of the owner's group.
    owner->m_nPlayerSide = 0;
    set.GroupOfUser() = 1;
    s = Make(At(700, 500, 4, 0));
    EXPECT_EQ(s.m_anHitBox[0], 5);
    EXPECT_EQ(s.m_anHitBox[1], 6);
    EXPECT_EQ(s.m_nGroup, 4);
    EXPECT_EQ(s.m_nBlockSide, 4);
    EXPECT_EQ(s.m_Settings.Group(), 4);
    EXPECT_EQ(s.m_bFollowOwner, 0);
    // The owner's target goes with the shot.
    owner->m_nTargetId = 9;
    EXPECT_EQ(Make(At(700, 500, 4, 0)).m_nTargetId, 9);
}

TEST_F(Shot, InitCountsLifeAndTravelInSubStepsWithoutDividingByZero) {
    set.LifeOn() = 1;
    SPAWNVALUES v = At(700, 500, 4, 0, 4);
    v.nLife = 5;
    EXPECT_EQ(Make(v).m_nLifeLeft, 60);  // 5 tenths x 6 x 2
    set.RangeOn() = 1;
    struct Case {
        double speed, vx, vy;
        int distance, travel;
        double velX, velY;
    } cases[] = {
        {4, 4, 0, 4, 24, 2, 0},     // 48 dots at 2 a sub-step
        {0, 0, 0, 4, 2, 0, 0},      // no speed: n sub-steps
        {4, 4, 0, 1, 2, 2, 0},      // shorter than the shot: d = 0, n sub-steps
        {40, 40, 0, 1, 2, 0, 0},    // d = 0 reached at once: the velocity covers nothing
        {40, 30, -10, 2, 2, 6, -2}, // 16 dots in one frame, spread over |vx| + |vy|
        {0, 0, 0, 0, 2, 0, 0},
    };
    for (const Case& c : cases) {
        v = At(700, 500, c.vx, c.vy, c.speed);
        v.nDistance = c.distance;
        cShot s = Make(v);
        EXPECT_EQ(s.m_nTravelLeft, c.travel) << c.speed << " " << c.distance;
        EXPECT_DOUBLE_EQ(s.m_dVelX, c.velX) << c.speed << " " << c.distance;
        EXPECT_DOUBLE_EQ(s.m_dVelY, c.velY) << c.speed << " " << c.distance;
    }
}

TEST_F(Shot, AccelerationIsSplitAlongTheVelocity) {
    set.AccelOn() = 1;
    set.Accel() = 30;
    set.AccelStep() = 10;
    SPAWNVALUES v = At(700, 500, 4, 0);
    v.nIndex = 2;
    cShot s = Make(v);
    EXPECT_EQ(s.m_bAccel, 1);
    EXPECT_DOUBLE_EQ(s.m_dAccel, 2.5);  // (10 x 2 + 30) x 0.1 / 2
    EXPECT_DOUBLE_EQ(s.m_dMoveX, 2.5 / 2 / 60);
    EXPECT_DOUBLE_EQ(s.m_dMoveY, 0.0);
    const double f = 2.5 / 2 / 60;
    struct Case {
        double vx, vy, ax, ay;
    } cases[] = {{0, 0, 0, 0}, {0, -3, 0, -f}, {-1, 0, -f, 0}, {3, -4, 0.6 * f, -0.8 * f}};
    for (const Case& c : cases) {
        s.SplitAccel(c.vx, c.vy);
        EXPECT_DOUBLE_EQ(s.m_dMoveX, c.ax) << c.vx << " " << c.vy;
        EXPECT_DOUBLE_EQ(s.m_dMoveY, c.ay) << c.vx << " " << c.vy;
    }
    // A sub-step: the velocity takes the acceleration, the speed the velocity.
    s = Make(v);
    EXPECT_EQ(s.Update(), 0);
    EXPECT_DOUBLE_EQ(s.m_dVelX, 2.0 + f);
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, 2.0 + f);
}

TEST_F(Shot, UpdateEndsTheLifeAndTheTravelOrStopsAtTheDistance) {
    set.LifeOn() = 1;
    SPAWNVALUES v = At(700, 500, 4, 0, 4);
    v.nLife = 1;  // 12 sub-steps
    cShot s = Make(v);
    for (int i = 0; i < 12; ++i) ASSERT_EQ(s.Update(), 0) << i;
    EXPECT_EQ(s.Update(), 1);

    set.LifeOn() = 0;
    set.RangeOn() = 1;
    v.nDistance = 4;  // 24 sub-steps
    s = Make(v);
    for (int i = 0; i < 24; ++i) ASSERT_EQ(s.Update(), 0) << i;
    EXPECT_EQ(s.Update(), 1);

    set.StopAtRange() = 1;
    set.Trajectory() = 8;
    s = Make(v);
    s.m_bTrajDone = 1;
    for (int i = 0; i < 24; ++i) ASSERT_EQ(s.Update(), 0) << i;
    EXPECT_EQ(s.Update(), 0);
    EXPECT_DOUBLE_EQ(s.m_dVelX, 0.0);
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, 0.0);
    EXPECT_EQ(s.m_Settings.Trajectory(), 0);
    EXPECT_EQ(s.Update(), 0);
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, 0.0);
}

TEST_F(Shot, ScrollFollowingShotsTakeTheForcedScrollSpeedUnlessTheAxisIsHeld) {
    set.FollowScroll() = 1;
    cShot s = Make(At(700, 500, -2, 0));
    scene.m_ScrollX.m_dSpeed = 1.5;
    scene.m_ScrollY.m_dSpeed = 0.5;
    s.Update();
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, 1.5 - 1.0);
    EXPECT_DOUBLE_EQ(s.m_dSpeedY, 0.5);
    EXPECT_EQ(s.m_nDir, 1);  // the speed decides the facing
    scene.m_ScrollX.m_bChanged = 1;
    s.Update();
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, -1.0);
    EXPECT_EQ(s.m_nDir, 0);
    g_bGlobalFollow = 1;
    s.Update();
    EXPECT_DOUBLE_EQ(s.m_dSpeedY, 0.0);
    g_bGlobalFollow = 0;
}

TEST_F(Shot, MotionCutsTheSpeedToTheLimitAndHoldsTheShotInTheMap) {
    cShot s = Make(At(700, 500, 0, 0));
    s.m_dSpeedX = 10;
    s.AccelStepX();
    EXPECT_DOUBLE_EQ(s.m_dSpeedX, 6.0);
    EXPECT_DOUBLE_EQ(s.m_dX, 706.0);
    EXPECT_DOUBLE_EQ(s.m_dHitLeft, 709.0);
    s.m_dX = 2;
    s.m_dSpeedX = -5;
    s.AccelStepX();
    EXPECT_DOUBLE_EQ(s.m_dX, 0.0);
    s.m_dX = 1900;
    s.m_dSpeedX = 5;
    s.AccelStepX();
    EXPECT_DOUBLE_EQ(s.m_dX, 1904.0);  // 1920 - 16
    EXPECT_EQ(s.m_nCellRight, 1919 >> 5);
    s.m_dMoveY = 1.0;
    s.AccelStepY();
    EXPECT_DOUBLE_EQ(s.m_dY, 501.0);
    // Gravity only after the fall trajectory cleared the flying flag.
    s.m_dSpeedY = 0;
    s.AddGravity();
    EXPECT_DOUBLE_EQ(s.m_dSpeedY, 0.0);
    s.m_bFlying = 0;
    s.AddGravity();
    EXPECT_GT(s.m_dSpeedY, 0.0);
    // Passing through blocks.
    s.m_Settings.PassBlocks() = 1;
    EXPECT_EQ(s.HitsBlocks(), 0);
}

TEST_F(Shot, ScaleMultipliesSizesAndHitBoxAndKeepsTheCentre) {
    set.Scale() = 0;  // taken as 1
    EXPECT_EQ(Make(At(700, 500, 0, 0)).m_Settings.Scale(), 1);
    set.Scale() = 2;
    cShot s = Make(At(700, 500, 0, 0));
    EXPECT_EQ(s.m_nWidth, 32);
    EXPECT_EQ(s.m_nGraphHeight, 32);
    EXPECT_EQ(s.m_anHitBox[0], 6);
    EXPECT_EQ(s.m_anHitBox[2], 20);
    s.SetScale(3, 2);
    EXPECT_EQ(s.m_nWidth, 48);
    EXPECT_EQ(s.m_anHitBox[3], 36);
    EXPECT_DOUBLE_EQ(s.m_dX, 692.0);
    EXPECT_DOUBLE_EQ(s.m_dY, 492.0);
}

class Sword : public Shot {
protected:
    void SetUp() override {
        Shot::SetUp();
        cSwordTypeRec type;
        type.m_vecEntries.resize(2);
        cSwordTypeEntry& a = type.m_vecEntries[0];
        a.m_nWidth = 20;
        a.m_nHeight = 10;
        a.m_nOffsetX = 3;
        a.m_nOffsetY = 2;
        a.m_bMirrorX = 1;
        a.m_bMirrorY = 0;
        a.m_nPlacement = 0;
        a.m_nDuration = 1;
        cSwordTypeEntry& b = type.m_vecEntries[1];
        b.m_nWidth = 8;
        b.m_nHeight = 30;
        b.m_nPlacement = 2;
        b.m_nDuration = 1;
        g_Database.m_vecSwordType.push_back(type);
        set.SwordType() = 0;
    }
};

TEST_F(Sword, FollowsItsOwnerByPlacementAndEndsAfterItsLastEntry) {
    // The owner's screen rectangle: (120, 116) - (151, 147).
    struct Case {
        int dir;
        double x, y;
    } cases[] = {{1, 480 + 152 - 3, 384 + 126 + 2}, {0, 480 + 100 + 3, 384 + 126 + 2}};
    for (const Case& c : cases) {
        owner->m_nDir = c.dir;
        cShot s = Make(At(0, 0, 0, 0), SHOTCMD_SWORD);
        EXPECT_EQ(s.m_bIsShot, 0);
        EXPECT_EQ(s.m_bFarErase, 0);
        EXPECT_EQ(s.m_nWidth, 20);
        ASSERT_EQ(s.Update(), 0);
        EXPECT_EQ(s.m_nDir, c.dir);
        EXPECT_DOUBLE_EQ(s.m_dX, c.x) << c.dir;
        EXPECT_DOUBLE_EQ(s.m_dY, c.y) << c.dir;
        EXPECT_DOUBLE_EQ(s.m_dHitRight, c.x + 19);
    }
    // Each entry lasts 1 tenth = 12 sub-steps; then the next one (above the owner), then the end.
    cShot s = Make(At(0, 0, 0, 0), SHOTCMD_SWORD);
    for (int i = 0; i < 12; ++i) ASSERT_EQ(s.Update(), 0);
    EXPECT_EQ(s.m_nFrame, 0);
    ASSERT_EQ(s.Update(), 0);
    EXPECT_EQ(s.m_nFrame, 1);
    ASSERT_EQ(s.Update(), 0);
    EXPECT_EQ(s.m_nWidth, 8);
    EXPECT_EQ(s.m_nHeight, 30);
    EXPECT_DOUBLE_EQ(s.m_dX, 480 + 135 - 4);
    EXPECT_DOUBLE_EQ(s.m_dY, 384 + 116 - 30);
    for (int i = 0; i < 11; ++i) ASSERT_EQ(s.Update(), 0);
    EXPECT_EQ(s.Update(), 1);
}

TEST_F(Sword, EndsWhenItsOwnerOrItsSwordTypeIsGone) {
    cShot s = Make(At(0, 0, 0, 0), SHOTCMD_SWORD);
    g_listStageChara.clear();
    EXPECT_EQ(s.Update(), 1);
    SetUp();
    set.SwordType() = 9;
    s = Make(At(0, 0, 0, 0), SHOTCMD_SWORD);
    EXPECT_EQ(s.m_nWidth, 0);
    EXPECT_EQ(s.Update(), 1);
}

}  // namespace
