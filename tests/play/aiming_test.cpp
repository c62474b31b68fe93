// Aiming along an axis and toward a point (escape, arrival, the forced-scroll correction and the
// lead for objects that scroll along), per-second amounts per sub-step, the wave speeds and the
// span test of the range condition.
#include <gtest/gtest.h>

#include <cmath>

#include "app/scene_manager.h"
#include "play/aiming.h"
#include "play/play_scene.h"
#include "play/spawn_span.h"
#include "play/stage_chara.h"
#include "records/stage.h"

namespace {

class Aiming : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        g_lpPlayScene = &scene;
    }
    void TearDown() override {
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    cPlayScene scene;
};

TEST_F(Aiming, AlongOneAxis) {
    struct Case {
        double from, to, speed;
        double v;
        int dir, arrived;
    } cases[] = {
        {10, 20, 3, 3, 2, 0},
        {20, 20, 3, -3, 1, 1},  // from >= to: backwards, and already there
        {18, 20, 3, 3, 2, 1},
        {30, 20, 3, -3, 1, 0},
        {17, 20, 3, 3, 2, 0},   // exactly the speed away: not within this step
    };
    for (const Case& c : cases) {
        double vx = 9, vy = 9;
        int dir = 9;
        EXPECT_EQ(AimHorizontal(vx, vy, dir, nullptr, c.from, c.to, c.speed, 0, 1), c.arrived) << c.from;
        EXPECT_EQ(vx, c.v);
        EXPECT_EQ(vy, 0.0);
        EXPECT_EQ(dir, c.dir);
        EXPECT_EQ(AimVertical(vx, vy, dir, nullptr, c.from, c.to, c.speed, 0, 1), c.arrived);
        EXPECT_EQ(vy, c.v);
        EXPECT_EQ(vx, 0.0);
        EXPECT_EQ(dir, 0);
        EXPECT_EQ(AimHorizontal(vx, vy, dir, nullptr, c.from, c.to, c.speed, 0, 0), 0);
    }
}

TEST_F(Aiming, TowardAPointOrAwayFromIt) {
    struct Case {
        double x1, y1, speed;
        int noEscape;
        double vx, vy;
        int dir, arrived;
    } cases[] = {
        {30, 40, 5, 0, 3, 4, 2, 0},
        {30, 40, 50, 0, 30, 40, 2, 1},  // reached within this step
        {-30, 40, 5, 0, -3, 4, 1, 0},
        {0, 40, 5, 0, 0, 5, 0, 0},
        {0, 0, 5, 0, 0, 0, 0, 1},        // on the point: no movement, arrived
        {30, 40, -2, 0, -std::sqrt(2.0), -std::sqrt(2.0), 1, 0},  // escape: diagonal, never arrives
        {-30, -40, -2, 0, std::sqrt(2.0), std::sqrt(2.0), 2, 0},
        {30, 40, -5, 1, -3, -4, 1, 0},   // no escape: a negative speed goes straight back
        {3, 4, -5, 1, -3, -4, 1, 1},
    };
    for (const Case& c : cases) {
        double vx = 9, vy = 9;
        int dir = 9;
        EXPECT_EQ(AimVelocity(vx, vy, dir, nullptr, 0, 0, c.x1, c.y1, c.speed, 0, c.noEscape, 1), c.arrived)
            << c.x1 << " " << c.y1 << " " << c.speed;
        EXPECT_NEAR(vx, c.vx, 1e-12) << c.x1 << " " << c.y1 << " " << c.speed;
        EXPECT_NEAR(vy, c.vy, 1e-12);
        EXPECT_EQ(dir, c.dir);
    }
}

TEST_F(Aiming, ForcedScrollingIsTakenOutOfTheSpeed) {
    scene.m_ScrollX.m_dSpeed = 1.0;
    scene.m_ScrollY.m_dSpeed = -0.5;
    cGameObj shot;
    cStageChara along;
    along.m_bScrollSync = 1;
    double vx, vy;
    int dir;
    // An object that does not scroll along: the scroll speeds come off.
    AimVelocity(vx, vy, dir, &shot, 0, 0, 30, 40, 5, 0, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 2.0);
    EXPECT_DOUBLE_EQ(vy, 4.5);
    AimVelocity(vx, vy, dir, &shot, 0, 0, 30, 40, 5, 1, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 2.0);
    // An axis held at a bound does not count.
    scene.m_ScrollX.m_bChanged = 1;
    AimVelocity(vx, vy, dir, &shot, 0, 0, 30, 40, 5, 0, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 3.0);
    EXPECT_DOUBLE_EQ(vy, 4.5);
    scene.m_ScrollX.m_bChanged = 0;
    // Scrolling along with the no-scroll flag: nothing changes; without it the lead.
    AimVelocity(vx, vy, dir, &along, 0, 0, 30, 40, 5, 1, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 3.0);
    EXPECT_DOUBLE_EQ(vy, 4.0);
    scene.m_ScrollY.m_dSpeed = 0.0;
    AimVelocity(vx, vy, dir, &along, 0, 0, 0, 40, 4, 0, 0, 0);
    EXPECT_NEAR(vx, 1.0, 1e-12);  // keeps up with the view
    EXPECT_NEAR(vy, std::sqrt(15.0), 1e-12);
    EXPECT_NEAR(vx * vx + vy * vy, 16.0, 1e-9);  // at the given speed
    EXPECT_EQ(dir, 2);
    // Escaping: the correction applies to one that scrolls along (no-scroll clear) and to one
    // that does not with the no-scroll flag.
    AimVelocity(vx, vy, dir, &along, 0, 0, 30, 40, -2, 0, 0, 0);
    EXPECT_NEAR(vx, -std::sqrt(2.0) - 1.0, 1e-12);
    AimVelocity(vx, vy, dir, &shot, 0, 0, 30, 40, -2, 0, 0, 0);
    EXPECT_NEAR(vx, -std::sqrt(2.0), 1e-12);
    AimVelocity(vx, vy, dir, &shot, 0, 0, 30, 40, -2, 1, 0, 0);
    EXPECT_NEAR(vx, -std::sqrt(2.0) - 1.0, 1e-12);
}

TEST_F(Aiming, PerSecondAndWaves) {
    g_StageSettings.SetHitLevel(2);
    EXPECT_DOUBLE_EQ(PerSecondToStep(60.0), 0.5);
    g_StageSettings.SetHitLevel(1);
    double phase = 0.0;
    EXPECT_NEAR(WaveSpeedCos(10.0, 90.0, phase, 20.0, 0.0), 10.0 * M_PI / 2, 1e-12);
    EXPECT_DOUBLE_EQ(phase, 20.0);
    phase = 1.0;  // (1 + 0) x 90 degrees
    EXPECT_NEAR(WaveSpeedSin(10.0, 90.0, phase, 20.0, 0.0), -(M_PI / 2) * (M_PI / 2) * 10.0, 1e-12);
    phase = 350.0;
    WaveSpeedCos(1.0, 1.0, phase, 20.0, 0.0);
    EXPECT_DOUBLE_EQ(phase, 10.0);  // wrapped at 360 n
    g_StageSettings.SetHitLevel(3);
    phase = 1070.0;
    WaveSpeedSin(1.0, 1.0, phase, 20.0, 0.0);
    EXPECT_DOUBLE_EQ(phase, 10.0);
}

TEST(SpawnSpan, EdgesAndBand) {
    struct Offset {
        int base, size, a, b, whole;
        int64_t low, high;
    } offsets[] = {
        {100, 33, 0, 0, 1, 100, 132},
        {100, 33, 0, 8, 1, 116, 140},
        {100, 33, 5, 0, 1, 95, 116},
        {100, 33, 0, 0, 0, 116, 116},
        {100, 33, 5, 8, 0, 95, 140},
    };
    for (const Offset& o : offsets) {
        int64_t low = 0, high = 0;
        SpawnOffset(o.base, o.size, o.a, o.b, o.whole, low, high);
        EXPECT_EQ(low, o.low) << o.a << " " << o.b << " " << o.whole;
        EXPECT_EQ(high, o.high);
    }
    // Span 100 .. 132 against bands.
    EXPECT_TRUE(SpawnPlace(100, 33, 0, 200, 0, 0, 0, 1, 0, nullptr));
    EXPECT_TRUE(SpawnPlace(100, 33, 0, 100, 0, 0, 0, 1, 0, nullptr));
    EXPECT_FALSE(SpawnPlace(100, 33, 0, 99, 0, 0, 0, 1, 0, nullptr));
    EXPECT_FALSE(SpawnPlace(100, 33, 0, 104, 5, 0, 0, 1, 0, nullptr));  // above the high limit less the margin
    EXPECT_TRUE(SpawnPlace(100, 33, 132, 400, 0, 0, 0, 1, 0, nullptr));
    EXPECT_FALSE(SpawnPlace(100, 33, 130, 400, 3, 0, 0, 1, 0, nullptr));
    // With the object: the high test drops its margin when height + margin covers the graphic.
    cGameObj obj;
    obj.m_nHeight = 30;
    obj.m_nGraphHeight = 32;
    EXPECT_TRUE(SpawnPlace(100, 33, 0, 100, 2, 0, 0, 1, 1, &obj));
    EXPECT_FALSE(SpawnPlace(100, 33, 0, 100, 1, 0, 0, 1, 1, &obj));
    EXPECT_FALSE(SpawnPlace(100, 33, 0, 100, 2, 0, 0, 1, 0, &obj));  // without it the margin stays
    EXPECT_FALSE(SpawnPlace(2000000000, 2000000000, 0, 0, 0, -2000000000, 2000000000, 0, 0, nullptr));
}

}  // namespace
