// The pause loop on the pause thread: the game thread blocked until it ends, a count of frames
// drawn and presented, the wait for a new press of button 1 with its key delay, its sound and
// the swallowed buttons afterwards, and the ends through the quit flag and WM_QUIT.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/game_loop.h"
#include "core/thread.h"
#include "play/pause_loop.h"
#include "play/play_scene.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

// The bound of a wait for the loop to end: far beyond what a working loop needs even on a busy
// machine, so it is reached only when the loop hangs.
constexpr DWORD kWaitMs = 30000;

class PauseLoopTest : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));  // the play scene loads its sheets
        Open();
        g_bAppActive = 1;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        for (int i = 0; i < 200 && (!g_lpPlayScene || g_lpPlayScene->m_nState != PLAY_FRAME); ++i) Frame();
        ASSERT_EQ(g_lpPlayScene->m_nState, PLAY_FRAME);
        Taken();
    }
    void TearDown() override {
        host::SetKeyState('Z', false);
        if (game.joinable()) {
            g_lpPlayScene->m_bQuit = 1;
            Pump([] { return false; }, 3000);
            game.join();
        }
        SceneFixture::TearDown();
    }
    // Starts the hold as a flow command does, on a thread standing for the game thread; this
    // thread stays the window thread and serves the sound requests.
    void Start() {
        done = false;
        game = std::thread([this] {
            result = RunPauseLoop(g_lpPlayScene);
            done = true;
        });
    }
    // Serves the window's messages until `until` holds or the game thread is free again, at most `ms`.
    template <class F> void Pump(F until, DWORD ms) {
        DWORD start = RealTimeMs();
        while (!done && !until() && RealTimeMs() - start < ms) {
            MSG m;
            // Sends are served inside the peek; a posted close is only counted (the test window stays).
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                if (m.message == WM_CLOSE)
                    closes++;
                else
                    DispatchMessageA(&m);
            }
            Sleep(1);
        }
    }
    // Waits for the hold to end (at most `ms`); true when it did.
    bool Finish(DWORD ms = kWaitMs) {
        Pump([] { return false; }, ms);
        if (!done) return false;
        game.join();
        return true;
    }
    uint32_t Pixel() { return drawtest::Argb(*BackPixels(), true)[0]; }
    std::thread game;
    std::atomic<bool> done{false};
    std::atomic<int> result{-1};
    int closes = 0;
};

TEST_F(PauseLoopTest, ACountedHoldDrawsItsFramesAndEndsSilently) {
    const int steps = g_lpPlayScene->m_nSubStepTotal;
    g_lpPlayScene->InitRequest(4, 0, 30, 0);  // the stage-clear tally
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nKeyDelay, 0);
    DDFillSurface(&g_BackBufferSD, 5);
    const uint32_t before = Pixel();
    Start();
    ASSERT_TRUE(Finish());
    EXPECT_EQ(result, 1);
    EXPECT_NE(Pixel(), before);  // the play screen was drawn
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nFrames, -1);
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(g_lpPlayScene->m_bSwallowButtons, 0);
    EXPECT_EQ(g_lpPlayScene->m_nSubStepTotal, steps);  // nothing moved
    // A count of 0 ends before drawing anything.
    g_lpPlayScene->InitRequest(0, 0, 0, 0);
    DDFillSurface(&g_BackBufferSD, 5);
    const uint32_t again = Pixel();
    Start();
    ASSERT_TRUE(Finish());
    EXPECT_EQ(Pixel(), again);
}

TEST_F(PauseLoopTest, AMessageIgnoresKeysForTenFramesThenEndsOnANewPress) {
    g_lpPlayScene->InitRequest(1, 1, 0, 0);
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nKeyDelay, 10);
    host::SetKeyState('Z', true);  // held from before the wait: not a new press
    Start();
    Pump([&] { return g_lpPlayScene->m_WaitRequest.nKeyDelay == 0; }, kWaitMs);
    Pump([] { return false; }, 150);  // frames after the delay with the button still held
    EXPECT_FALSE(done);
    EXPECT_EQ(g_lpPlayScene->m_WaitRequest.nKeyDelay, 0);
    host::SetKeyState('Z', false);
    Pump([] { return false; }, 250);
    EXPECT_FALSE(done);
    host::SetKeyState('Z', true);
    ASSERT_TRUE(Finish());
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_SOUND, 12}}));
    EXPECT_EQ(g_lpPlayScene->m_bSwallowButtons, 1);
    // Back in play the held button does nothing until it is released.
    Frame(0, 1);
    EXPECT_EQ(g_vecPlayerInput[0].m_wButton, 0);
    Frame();
    Frame(0, 1);
    EXPECT_EQ(g_vecPlayerInput[0].m_wButton, 1);
}

TEST_F(PauseLoopTest, KeyDelayOnlyForMessagesThatAskForIt) {
    struct Case {
        int mode, waitKey, noDelay, delay;
    } cases[] = {{1, 1, 0, 10}, {1, 1, 1, 0}, {1, 0, 0, 0}, {2, 1, 0, 0}, {4, 0, 0, 0}};
    for (const Case& c : cases) {
        g_lpPlayScene->m_WaitRequest.nSpare = 7;
        g_lpPlayScene->InitRequest(c.mode, c.waitKey, 45, c.noDelay);
        const WAITREQUEST& r = g_lpPlayScene->m_WaitRequest;
        EXPECT_EQ(r.nKeyDelay, c.delay) << c.mode << " " << c.waitKey << " " << c.noDelay;
        EXPECT_EQ(r.nMode, c.mode);
        EXPECT_EQ(r.bWaitKey, c.waitKey);
        EXPECT_EQ(r.nFrames, 45);
        EXPECT_EQ(r.nSpare, 0);
    }
}

TEST_F(PauseLoopTest, OtherWaitsEndOnButtonOneWithTheDecideSound) {
    g_lpPlayScene->InitRequest(2, 1, 0, 0);
    Start();
    Pump([] { return false; }, 60);
    host::SetKeyState('X', true);  // button 2 does not end it
    Pump([] { return false; }, 120);
    EXPECT_FALSE(done);
    host::SetKeyState('X', false);
    host::SetKeyState('Z', true);
    ASSERT_TRUE(Finish());
    EXPECT_EQ(Taken(), (std::vector<REQUEST>{{WM_REQ_SOUND, 1}}));
}

TEST_F(PauseLoopTest, AClosingWindowEndsTheWaitAndTheNextPlayFrameCloses) {
    // The window thread's WM_CLOSE: the quit flag and WM_QUIT to the pause thread.
    g_lpPlayScene->InitRequest(1, 1, 0, 0);
    Start();
    Pump([&] { return g_lpPlayScene->m_WaitRequest.nKeyDelay < 10; }, kWaitMs);  // the loop runs
    Pump([] { return false; }, 50);
    ASSERT_FALSE(done);
    g_lpPlayScene->m_bQuit = 1;
    PostThreadMessageA(thPause.ThreadId(), WM_QUIT, 0, 0);
    ASSERT_TRUE(Finish(1500));
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Taken().empty());
    Frame();
    EXPECT_TRUE(ClosePosted());
    // A hold asked for while closing ends at once, and the pause thread is not left looking alive
    // (the window's close would otherwise wait for it for ever).
    Start();
    ASSERT_TRUE(Finish());
    EXPECT_FALSE(thPause.IsRunning());
    EXPECT_EQ(Report().find("PauseLoop Err"), std::string::npos);
}

TEST_F(PauseLoopTest, WithoutItsQuitMessageTheLoopEndsItselfAboutTwoSecondsAfterTheQuitFlag) {
    g_lpPlayScene->InitRequest(1, 1, 0, 0);
    Start();
    // The loop runs first (a loop that starts after the quit flag ends at once, as it should).
    Pump([&] { return g_lpPlayScene->m_WaitRequest.nKeyDelay < 10; }, kWaitMs);
    ASSERT_FALSE(done);
    const DWORD at = RealTimeMs();
    g_lpPlayScene->m_bQuit = 1;
    ASSERT_TRUE(Finish(kWaitMs)) << "the loop did not end itself";
    // It waits out the grace for WM_QUIT first (how much longer depends on the machine's load).
    EXPECT_GE(RealTimeMs() - at, 1900u);
    EXPECT_EQ(PauseLoop(g_lpPlayScene), 0u);  // the procedure itself answers 0 at once
}

}  // namespace
