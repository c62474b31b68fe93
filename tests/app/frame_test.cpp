// Frame timers with an injected clock, the FPS ring, and the scene manager.
#include <gtest/gtest.h>

#include <vector>

#include "core/frame_timer.h"
#include "app/game_loop.h"
#include "app/scene_manager.h"
#include "play/play_scene.h"

namespace {

DWORD g_now = 0;
DWORD FakeClock() { return g_now; }

class FrameTimers : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 0xFFFFF000u;  // close to the 32-bit wrap-around
        SetClockOverride(FakeClock);
        ResetFrameTimers();
    }
    void TearDown() override { SetClockOverride(nullptr); }
};

TEST_F(FrameTimers, FrameGateTimesTheNextFrameFromTheOneLetThrough) {
    EXPECT_TRUE(FrameGate(60));  // first call: due now
    g_now += 15;
    EXPECT_FALSE(FrameGate(60));
    g_now += 1;
    EXPECT_TRUE(FrameGate(60));  // 16 ms at 60 frames per second
    g_now += 20;                 // late: the next is due 16 ms after this one
    EXPECT_TRUE(FrameGate(60));
    g_now += 15;
    EXPECT_FALSE(FrameGate(60));
    g_now += 1;
    EXPECT_TRUE(FrameGate(60));
    EXPECT_TRUE(FrameGate(0));  // unpaced
}

// The time at which each of `frames` frames is let through when polled every millisecond.
std::vector<DWORD> WaitTimes(int rate, int frames) {
    std::vector<DWORD> times;
    DWORD start = g_now;
    while ((int)times.size() < frames) {
        if (TimerFrameWait(rate, 0, 0)) times.push_back(g_now - start);
        else g_now += 1;
    }
    return times;
}

TEST_F(FrameTimers, TimerFrameWaitPlacesFrameKAtKTimesTheFrameTime) {
    auto t = WaitTimes(60, 61);
    // Frame k of the second at ceil(k * 16.67) ms; the 61st starts the next second.
    EXPECT_EQ(t[0], 0u);
    EXPECT_EQ(t[1], 17u);
    EXPECT_EQ(t[2], 34u);
    EXPECT_EQ(t[3], 50u);
    EXPECT_EQ(t[59], 984u);
    EXPECT_EQ(t[60], 984u);  // the base was re-anchored at frame 59's time: due at once
    EXPECT_TRUE(TimerFrameWait(0, 0, 0));
}

TEST_F(FrameTimers, ARateChangeNeitherStallsNorRunsFree) {
    WaitTimes(60, 45);  // index 45 of 60
    // Down to 30: the index is beyond the rate, so a new second starts at once.
    auto t30 = WaitTimes(30, 4);
    EXPECT_EQ(t30[0], 0u);
    EXPECT_EQ(t30[1], 34u);
    EXPECT_EQ(t30[2], 67u);
    EXPECT_EQ(t30[3], 100u);
    // Back up to 60 within the same second: the frames already due come at once, then every
    // 16-17 ms, and the second ends on time.
    auto t60 = WaitTimes(60, 56);
    for (size_t i = 1; i < t60.size(); ++i) EXPECT_LE(t60[i] - t60[i - 1], 17u);
    EXPECT_EQ(t60.back(), 884u);
}

TEST_F(FrameTimers, GetFpsCountsTheCallsOfEachSecond) {
    EXPECT_EQ(GetFPS(1), 0);  // starts the second and counts 1
    for (int i = 0; i < 59; ++i) {
        g_now += 16;
        GetFPS(1);
    }
    EXPECT_EQ(GetFPS(0), 0);
    g_now += 100;  // 1,044 ms since the start
    EXPECT_EQ(GetFPS(1), 60);  // the closing call is not counted
    EXPECT_EQ(GetFPS(0), 60);
    g_now += 1000;
    EXPECT_EQ(GetFPS(1), 0);
}

TEST_F(FrameTimers, TheWorkTimeAverageChangesEverySixteenthFrame) {
    ResetWorkRing();
    for (int i = 0; i < 15; ++i) {
        RecordWorkTime(8);
        EXPECT_EQ(g_dwWorkAverage, 0u);
    }
    RecordWorkTime(24);
    EXPECT_EQ(g_dwWorkAverage, (15u * 8 + 24) >> 4);
    for (int i = 0; i < 15; ++i) RecordWorkTime(32);
    EXPECT_EQ(g_dwWorkAverage, 9u);
    RecordWorkTime(32);
    EXPECT_EQ(g_dwWorkAverage, 32u);
}

TEST_F(FrameTimers, FrameSkipCountAndPingPong) {
    EXPECT_EQ(FrameSkipCount(0, 0), 0);
    EXPECT_EQ(FrameSkipCount(2, 0), 1);
    EXPECT_EQ(FrameSkipCount(1, 3), 0);
    EXPECT_EQ(FrameSkipCount(2, 0), 0);
    EXPECT_EQ(FrameSkipCount(1, 3), 0);
    EXPECT_EQ(FrameSkipCount(1, 3), 1);
    for (int i = 0; i < 50; ++i) FrameSkipCount(1, 60);
    EXPECT_EQ(FrameSkipCount(1, 10), 1);  // n lowered below the count: it resets, never runs away

    int v = 250, dir = 0;
    EXPECT_EQ(PingPongStep(&v, &dir, 10, 0, 255), 0);  // 260 reached the top: back, turn
    EXPECT_EQ(v, 250);
    EXPECT_EQ(dir, 1);
    v = 5;
    EXPECT_EQ(PingPongStep(&v, &dir, 10, 0, 255), 1);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(dir, 0);
}

// Scenes that log their deletion.
std::vector<int> g_deleted;

TEST(SceneManager, SwitchKeepsTheCurrentSceneAndDeletesTheOthersInOrder) {
    cSceneManager m;
    m.Switch(0);
    ASSERT_NE(m.m_lpScenes[0], nullptr);
    cScene* title = m.m_lpScenes[0];
    m.Switch(0);
    EXPECT_EQ(m.m_lpScenes[0], title);  // nothing rebuilt
    m.Switch(4);
    EXPECT_EQ(m.m_lpScenes[0], nullptr);
    ASSERT_NE(m.m_lpScenes[4], nullptr);
    EXPECT_EQ((cScene*)g_lpPlayScene, m.m_lpScenes[4]);
    m.Switch(7);  // out of range: everything deleted, nothing built
    for (cScene* s : m.m_lpScenes) EXPECT_EQ(s, nullptr);
    EXPECT_EQ(g_lpPlayScene, nullptr);  // never left dangling
    m.m_nCurrent = 7;
    EXPECT_EQ(m.Current(), nullptr);
    m.Switch(5);
    m.DestroyAll();
    for (cScene* s : m.m_lpScenes) EXPECT_EQ(s, nullptr);
}

TEST(SceneManager, ANewSceneStartsBeforeItsFirstRun) {
    cSceneManager m;
    m.Switch(1);
    EXPECT_EQ(m.m_lpScenes[1]->m_nState, -1);
    m.m_lpScenes[1]->Run();
    EXPECT_GE(m.m_lpScenes[1]->m_nState, 0);  // Init ran; the first state may already have finished
    m.DestroyAll();
}

}  // namespace
