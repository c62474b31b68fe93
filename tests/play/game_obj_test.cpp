// The game object base: set-up and movement modes, the clamps against the play scene's axes
// with their result codes, the step with the speed limit, gravity and deceleration, scaling
// about the centre, the screen rectangle, the view tests and the activation distance.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/scene_manager.h"
#include "media/anime.h"
#include "play/game_obj.h"
#include "play/play_scene.h"
#include "records/stage.h"

namespace {

class GameObj : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.8;
        g_StageSettings.SetHitLevel(1);
        // x: a 40-block stage, scroll range from column 5 (480 .. 1600), stage 320 .. 1600,
        // map 0 .. 1920. y: a 15-block stage, scroll rows 2-11 (384 .. 704), stage 320 .. 800,
        // map 0 .. 1120.
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(5, 39, 1, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(2, 11, 1, 1);
        g_lpPlayScene = &scene;
    }
    void TearDown() override {
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    static cGameObj Box(double x, double y, int w = 32, int h = 32) {
        cGameObj o;
        o.Init(7, 1, 0, 0, 3, nullptr, 0, 0, 0, w, h, 32, 32, 1, 0, 0);
        o.m_dX = x;
        o.m_dY = y;
        o.m_dRight = x + w - 1;
        o.m_dBottom = y + h - 1;
        return o;
    }
    cPlayScene scene;
};

TEST(DotToInt, TruncatesTowardZeroAndHoldsTheIntRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double v;
        int32_t want;
    } cases[] = {
        {0.0, 0},
        {0.9, 0},
        {-0.9, 0},
        {31.99, 31},
        {-31.5, -31},
        {2147483646.5, 2147483646},
        {2147483647.0, INT32_MAX},
        {2147483647.9, INT32_MAX},
        {2147483648.0, INT32_MAX},
        {1e300, INT32_MAX},
        {inf, INT32_MAX},
        {-2147483647.5, -2147483647},
        {-2147483648.0, INT32_MIN},
        {-2147483648.9, INT32_MIN},
        {-2147483649.0, INT32_MIN},
        {-1e300, INT32_MIN},
        {-inf, INT32_MIN},
        {nan, 0},
        {-nan, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DotToInt(c.v), c.want) << c.v;
}

TEST_F(GameObj, ClampXHoldsTheObjectAndSaysWhereItWas) {
    struct Case {
        int mode;
        double x, want;
        int result;
    } cases[] = {
        {0, 100, 480, 0},    {0, 1590, 1568, 0},  {0, 500, 500, 0},
        {1, 100, 320, 0},    {1, 1590, 1568, 0},  {1, 400, 400, 1},   {1, 320, 320, 1},  {1, 600, 600, 0},
        {2, -0.5, 0, 3},     {2, 1900, 1888, 3},  {2, 100, 100, 2},   {2, 319.9, 319.9, 2},
        {2, 320, 320, 1},    {2, 600, 600, 0},    {2, 1580, 1580, 2}, {9, -50, -50, 0},
    };
    for (const Case& c : cases) {
        cGameObj o = Box(c.x, 400);
        EXPECT_EQ(o.ClampX(c.mode), c.result) << c.mode << " " << c.x;
        EXPECT_DOUBLE_EQ(o.m_dX, c.want) << c.mode << " " << c.x;
        EXPECT_DOUBLE_EQ(o.m_dRight, c.want + 31);
        EXPECT_EQ(o.m_nCellLeft, DotToInt(c.want) >> 5);
        EXPECT_EQ(o.m_nCellRight, DotToInt(c.want + 31) >> 5);
    }
}

TEST_F(GameObj, ClampYHasItsOwnCodesForTheBottom) {
    struct Case {
        int mode;
        double y, want;
        int result;
    } cases[] = {
        {0, 10, 384, 0},  {0, 690, 672, 0},
        {1, 100, 320, 0}, {1, 350, 350, 1},   {1, 700, 700, 4}, {1, 790, 768, 0}, {1, 500, 500, 0},
        {2, -3, 0, 3},    {2, 1100, 1088, 6}, {2, 100, 100, 2}, {2, 790, 790, 5}, {2, 350, 350, 1},
        {2, 700, 700, 4}, {2, 400, 400, 0},
    };
    for (const Case& c : cases) {
        cGameObj o = Box(600, c.y);
        EXPECT_EQ(o.ClampY(c.mode), c.result) << c.mode << " " << c.y;
        EXPECT_DOUBLE_EQ(o.m_dY, c.want) << c.mode << " " << c.y;
        EXPECT_DOUBLE_EQ(o.m_dBottom, c.want + 31);
        EXPECT_EQ(o.m_nCellTop, DotToInt(c.want) >> 5);
        EXPECT_EQ(o.m_nCellBottom, DotToInt(c.want + 31) >> 5);
    }
}

TEST_F(GameObj, StepHoldsTheSpeedToTheLimitPerSubStep) {
    cGameObj o = Box(600, 400);
    o.m_dSpeedX = 7.0;
    EXPECT_EQ(o.StepX(2), 0);
    EXPECT_DOUBLE_EQ(o.m_dX, 606.0);
    EXPECT_DOUBLE_EQ(o.m_dSpeedX, 6.0);
    o.m_dSpeedX = -7.0;
    o.StepX(2);
    EXPECT_DOUBLE_EQ(o.m_dX, 600.0);
    EXPECT_DOUBLE_EQ(o.m_dSpeedX, -6.0);
    // Three sub-steps: the limit per sub-step is 18 / 3.
    g_StageSettings.SetHitLevel(3);
    o.m_dSpeedY = 100.0;
    EXPECT_EQ(o.StepY(2), 0);
    EXPECT_DOUBLE_EQ(o.m_dY, 406.0);
    // The results pass through: x at the map's edge, y below the scroll range.
    o = Box(2, 690);
    o.m_dSpeedX = -5.0;
    EXPECT_EQ(o.StepX(2), 3);
    o.m_dSpeedY = 5.0;
    EXPECT_EQ(o.StepY(2), 4);
    EXPECT_EQ(o.StepY(1), 4);
}

TEST_F(GameObj, GravityDecelerationAndMovementModes) {
    g_StageSettings.SetHitLevel(2);
    cGameObj o = Box(600, 400);
    o.AddGravity();
    EXPECT_DOUBLE_EQ(o.m_dSpeedY, 0.2);  // 0.8 / 2²
    struct Mode {
        int mode, flying, moveMode;
    } modes[] = {{0, 0, 1}, {1, 1, 0}, {2, 1, 1}, {3, 1, 2}};
    for (const Mode& m : modes) {
        o.SetMoveMode(m.mode);
        EXPECT_EQ(o.m_bFlying, m.flying);
        EXPECT_EQ(o.m_nMoveMode, m.moveMode);
    }
    o.SetMoveMode(7);  // unknown: nothing changes
    EXPECT_EQ(o.m_bFlying, 1);
    EXPECT_EQ(o.m_nMoveMode, 2);
    o.m_dSpeedY = 1.0;
    o.AddGravity();  // flying
    EXPECT_DOUBLE_EQ(o.m_dSpeedY, 1.0);
    o.m_dDecel = 0.5;
    struct Decel {
        double speed;
        int apply;
        double want;
    } decels[] = {{2.0, 1, 1.5}, {0.3, 1, 0.0}, {-2.0, 1, -1.5}, {-0.3, 1, 0.0}, {0.0, 1, 0.0}, {2.0, 0, 2.0}};
    for (const Decel& d : decels) {
        double s = d.speed;
        o.ApplySpeedX(s, d.apply);
        EXPECT_DOUBLE_EQ(s, d.want) << d.speed;
    }
}

TEST_F(GameObj, InitStoresSizesAsBaseAndCurrentAndStartsTheAnimation) {
    static const AnimeFrame walk[] = {{3, 4, 0}, {4, 4, 0}, {ANIME_LOOP, 0, 0}};
    static const AnimeFrame stand[] = {{9, 1, 0}, {ANIME_HOLD, 0, 0}};
    static const AnimeFrame* const table[] = {stand, walk, nullptr};
    cGameObj o;
    EXPECT_EQ(o.m_nLifeTime, kEndlessLife);
    o.m_dSpeedX = 3.0;
    o.m_bAppeared = 1;
    o.m_byFlag = 9;
    o.Init(12, 1, 2, 3, 40, table, 1, 4, 6, 24, 30, 32, 32, -1, 0, -5);
    EXPECT_EQ(o.m_nId, 12);
    EXPECT_EQ(o.m_nPlayerSide, 1);
    EXPECT_EQ(o.m_nSide2, 2);
    EXPECT_EQ(o.m_nBlockSide, 3);
    EXPECT_EQ(o.m_nKind, 40);
    EXPECT_EQ(o.m_nExtraCode, -5);
    EXPECT_EQ(o.GetDir(), -1);
    EXPECT_EQ(o.m_nBaseGraphOffX, 4);
    EXPECT_EQ(o.m_nGraphOffY, 6);
    EXPECT_EQ(o.m_nWidth, 24);
    EXPECT_EQ(o.m_nBaseHeight, 30);
    EXPECT_EQ(o.m_nGraphWidth, 32);
    EXPECT_EQ(o.m_dSpeedX, 0.0);
    EXPECT_EQ(o.m_bAppeared, 0);
    EXPECT_EQ(o.m_byFlag, 0);
    EXPECT_EQ(o.m_bFlying, 0);
    EXPECT_EQ(o.m_Anime->m_nNo, 1);
    EXPECT_EQ(o.m_Anime->GetFrame(), 3);
    // A copy has its own animation player.
    cGameObj copy;
    copy.CopyFrom(o);
    EXPECT_EQ(copy.m_nId, 12);
    EXPECT_EQ(copy.m_Anime->m_nNo, 1);
    copy.m_Anime->Set(0, 1);
    EXPECT_EQ(o.m_Anime->m_nNo, 1);
}

TEST_F(GameObj, ScalingKeepsTheCentre) {
    cGameObj o = Box(500, 400);
    o.m_dX = 100;
    o.SetScale(2, 1);
    EXPECT_EQ(o.m_nWidth, 64);
    EXPECT_EQ(o.m_nHeight, 64);
    EXPECT_EQ(o.m_nGraphWidth, 64);
    EXPECT_DOUBLE_EQ(o.m_dX, 84.0);
    EXPECT_DOUBLE_EQ(o.m_dRight, 147.0);
    o.SetScale(2, 2);  // equal: nothing
    EXPECT_DOUBLE_EQ(o.m_dX, 84.0);
    o.SetScale(1, 2);
    EXPECT_EQ(o.m_nWidth, 32);
    EXPECT_DOUBLE_EQ(o.m_dX, 100.0);
}

TEST_F(GameObj, ScreenRectangleIsInclusive) {
    scene.m_ScrollX.m_dPos = 100.7;
    scene.m_ScrollY.m_dPos = 40.2;
    cGameObj o = Box(150.9, 80.5);
    o.m_nGraphOffX = 4;
    o.m_nGraphOffY = 2;
    o.GetGraphicRect();
    EXPECT_EQ(o.m_nRectLeft, 46);   // int(150.9 - 4 - 100)
    EXPECT_EQ(o.m_nRectTop, 38);    // int(80.5 - 2 - 40)
    EXPECT_EQ(o.m_nRectRight, 77);  // left + 32 - 1
    EXPECT_EQ(o.m_nRectBottom, 69);
}

TEST_F(GameObj, ViewTests) {
    scene.m_ScrollX.m_dPos = 500;
    scene.m_ScrollY.m_dPos = 400;
    struct Case {
        double x, y;
        bool onScreen, skipH, skipV;
    } cases[] = {
        // on screen; the vertical half alone; the horizontal half alone
        {600, 500, true, true, true},
        {468, 500, false, true, false},   // right edge 499: just off to the left
        {469, 500, true, true, true},
        {1140, 500, false, true, false},  // x = scroll + 640
        {1139, 500, true, true, true},
        {600, 880, false, false, true},   // y = scroll + 480
        {600, 369, true, true, true},
        {600, 368, false, false, true},
        {1200, 900, false, false, false},
    };
    for (const Case& c : cases) {
        cGameObj o = Box(c.x, c.y);
        EXPECT_EQ(o.IsOnScreen(), c.onScreen) << c.x << " " << c.y;
        EXPECT_EQ(o.IsInView(1, 0), c.skipH) << c.x << " " << c.y;
        EXPECT_EQ(o.IsInView(0, 1), c.skipV) << c.x << " " << c.y;
    }
    EXPECT_TRUE(Box(300, 300).IsInStageY(1));
    EXPECT_FALSE(Box(300, 300).IsInStageY(0));
    EXPECT_TRUE(Box(320, 320).IsInStageY(0));
    EXPECT_FALSE(Box(1569, 320).IsInStageY(0));  // right edge 1600
    EXPECT_FALSE(Box(-1, 320).IsInStageY(1));
    EXPECT_FALSE(Box(400, 1089).IsInStageY(1));  // bottom 1120
}

TEST_F(GameObj, ActivationDistance) {
    scene.m_ScrollX.m_dPos = 640;
    scene.m_ScrollY.m_dPos = 400;
    cStagePartA range;
    range.Set({1, 1, 1, 1, 2, 3, 1, 0});  // left 2, right 3, top 1, bottom 0 blocks
    struct Case {
        double x, y;
        bool far;
    } cases[] = {
        {700, 500, false},
        {546, 500, false},
        {545, 500, true},    // right edge 576 = scroll - 64: reached
        {1375, 500, false},  // scroll + 640 + 96 = 1376
        {1376, 500, true},
        {700, 338, false},
        {700, 337, true},    // bottom 368 = scroll - 32: reached
        {700, 879, false},
        {700, 880, true},    // scroll + 480
        {0, 500, true},      // the map's edges
        {1888, 500, true},
    };
    for (const Case& c : cases) EXPECT_EQ(Box(c.x, c.y).IsNearScrollEdge(range), c.far) << c.x << " " << c.y;
    cStagePartA off;  // nothing enabled: only the map's edges count
    EXPECT_FALSE(Box(100, 500).IsNearScrollEdge(off));
    EXPECT_TRUE(Box(100, 0).IsNearScrollEdge(off));
    cGameObj active = Box(0, 0);
    active.m_bAlwaysActive = 1;
    EXPECT_FALSE(active.IsNearScrollEdge(range));
}

}  // namespace
