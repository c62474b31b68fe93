// The scroll axes: the clamp with its changed word, the range from the stage's scroll limits,
// forced scrolling spread over the sub-steps, and the geometry of the two axes.
#include <gtest/gtest.h>

#include "play/scroll.h"
#include "records/stage.h"

namespace {

cScroll Axis(int min, int max, int view = 640) {
    cScroll s;
    s.m_nMin = min;
    s.m_nMax = max;
    s.m_nView = view;
    return s;
}

TEST(Scroll, ClampKeepsThePositionInsideTheRange) {
    struct Case {
        int min, max;
        double pos;
        double want;
        int changed;
    } cases[] = {
        {320, 2000, 500.0, 500.0, 0},
        {320, 2000, 319.5, 320.0, 1},        // below the minimum
        {320, 2000, 1359.9, 1359.9, 0},      // the far edge just short of the maximum
        {320, 2000, 1360.0, 1360.0, 1},      // exactly at maximum - view: on the bound
        {320, 2000, 5000.0, 1360.0, 1},
        {320, 800, 400.0, 320.0, 1},         // a range shorter than the view: the minimum wins
        {320, 800, 100.0, 320.0, 1},
        {320, 320, 320.0, 320.0, 1},
    };
    for (const Case& c : cases) {
        cScroll s = Axis(c.min, c.max);
        s.m_dPos = c.pos;
        s.m_bChanged = 7;
        s.Clamp();
        EXPECT_DOUBLE_EQ(s.m_dPos, c.want) << c.min << " " << c.max << " " << c.pos;
        EXPECT_EQ(s.m_bChanged, c.changed) << c.pos;
    }
}

TEST(Scroll, RangeFromTheStageLimits) {
    cScroll s;
    s.SetAxis(0, 100, 0);
    ASSERT_EQ(s.m_nBase, 320);
    ASSERT_EQ(s.m_nDefaultMax, 110 * 32);
    struct Case {
        int first, last, limitStart, limitEnd;
        int min, max;
    } cases[] = {
        {5, 60, 0, 0, 320, 110 * 32},
        {5, 60, 1, 0, 320 + 5 * 32, 110 * 32},
        {5, 60, 0, 1, 320, 320 + 61 * 32},
        {5, 60, 1, 1, 480, 320 + 61 * 32},
        {60, 5, 1, 1, 320 + 60 * 32, 320 + 60 * 32},  // an end before the start is held at the start
        {-2000000000, 2000000000, 1, 1, -1073741824, 1073741823},  // damaged words stay bounded
    };
    for (const Case& c : cases) {
        s.SetRange(c.first, c.last, c.limitStart, c.limitEnd);
        EXPECT_EQ(s.m_nMin, c.min) << c.first << " " << c.limitStart;
        EXPECT_EQ(s.m_nMax, c.max) << c.last << " " << c.limitEnd;
    }
}

TEST(Scroll, ForcedScrollingMovesTheSameDotsPerFrameAtEverySubStepCount) {
    for (int level : {1, 2, 3, 5, 10, 13}) {
        g_StageSettings.SetHitLevel(level);
        const int n = g_StageSettings.m_nSubSteps;
        cScroll s = Axis(0, 100000);
        s.m_dPos = 100.0;
        EXPECT_EQ(s.SetSpeed(1, 10), 0);
        EXPECT_EQ(s.m_bScroll, 1);
        for (int frame = 0; frame < 30; ++frame)
            for (int i = 0; i < n; ++i) s.Step();
        EXPECT_NEAR(s.m_dPos, 130.0, 1e-9) << "level " << level;
    }
    cScroll s = Axis(0, 100000);
    s.SetSpeed(1, -25);
    s.SetSpeed(0, -25);
    EXPECT_EQ(s.m_dSpeed, 0.0);
    EXPECT_EQ(s.m_bScroll, 0);
    g_StageSettings = cStage();
}

TEST(Scroll, StepStopsAtTheEndOfTheRange) {
    g_StageSettings.SetHitLevel(1);
    cScroll s = Axis(320, 1000);
    s.m_dPos = 350.0;
    s.SetSpeed(1, 100);  // 10 dots a frame
    s.Step();
    EXPECT_DOUBLE_EQ(s.m_dPos, 360.0);
    s.Step();  // 370 + 640 reaches 1000
    EXPECT_DOUBLE_EQ(s.m_dPos, 360.0);
    EXPECT_EQ(s.m_bChanged, 1);
    g_StageSettings = cStage();
}

TEST(Scroll, AxisGeometry) {
    struct Case {
        int axis, blocks;
        int view, mapSize, rowLength, rowShift, defaultMax;
    } cases[] = {
        {0, 20, 640, 40, 64, 6, 960},
        {0, 12, 640, 32, 32, 5, 704},  // 12 + 19 = 31: 32 is above it
        {0, 13, 640, 33, 64, 6, 736},  // 13 + 19 = 32: the next power
        {0, 0, 640, 20, 32, 5, 320},
        {1, 15, 480, 35, 35, 0, 800},
        {1, -5, 480, 20, 20, 0, 320},  // a negative size counts as none
    };
    for (const Case& c : cases) {
        cScroll s;
        s.SetAxis(c.axis, c.blocks, 40);
        EXPECT_EQ(s.m_nAxis, c.axis);
        EXPECT_EQ(s.m_nView, c.view);
        EXPECT_EQ(s.m_nMargin, 10);
        EXPECT_EQ(s.m_nBase, 320);
        EXPECT_EQ(s.m_nMapSize, c.mapSize) << c.blocks;
        EXPECT_EQ(s.m_nRowLength, c.rowLength) << c.blocks;
        EXPECT_EQ(s.m_nRowShift, c.rowShift) << c.blocks;
        EXPECT_EQ(s.m_nDefaultMax, c.defaultMax) << c.blocks;
        EXPECT_EQ(s.m_nExtent, 680);
    }
}

// The clamps read the range as doubles: every change of the axis or its range leaves them
// equal to the words they stand for.
TEST(Scroll, PreparedBoundsFollowEveryChangeOfTheRange) {
    auto expectSame = [](const cScroll& s, const char* step) {
        EXPECT_EQ(s.m_dMin, (double)s.m_nMin) << step;
        EXPECT_EQ(s.m_dMax, (double)s.m_nMax) << step;
        EXPECT_EQ(s.m_dBase, (double)s.m_nBase) << step;
        EXPECT_EQ(s.m_dDefaultMax, (double)s.m_nDefaultMax) << step;
        EXPECT_EQ(s.m_dTotal, (double)s.m_nMapSize * 32.0) << step;
    };
    cScroll s;
    expectSame(s, "new");
    s.SetAxis(0, 100, 0);
    expectSame(s, "axis");
    s.SetRange(5, 60, 1, 1);
    expectSame(s, "range");
    s.SetRange(-2000000000, 2000000000, 1, 1);
    expectSame(s, "damaged range");
    s.SetAxis(1, 1000000, 0);  // cut to the largest stage
    expectSame(s, "large axis");
    s.SetRange(0, 0, 0, 0);
    expectSame(s, "no limits");
}

}  // namespace
