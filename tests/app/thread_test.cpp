// The thread object: start handshake, waits, counted suspension, and ending threads.
#include <gtest/gtest.h>

#include <atomic>

#include "core/thread.h"

namespace {

std::atomic<int> g_startMessages{0};

unsigned PollingLoop(void*) {
    MSG m;
    for (;;) {
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) return 1;
            if (m.message == WM_APP) g_startMessages++;
            continue;
        }
        Sleep(1);
    }
}

unsigned NeverPolls(void* p) {
    auto* ended = (std::atomic<bool>*)p;
    // Sleeps without looking at its queue; only the stop request wakes it.
    while (!ThreadStopRequested()) Sleep(5);
    *ended = true;
    return 0;
}

unsigned EndsAtOnce(void*) { return 0; }

TEST(cThread, IdleObjectsDoNothingAndReportSuccess) {
    cThread t;
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(t.Suspend(), 1);
    EXPECT_EQ(t.Resume(), 1);
    t.Exit();
    t.Wait();
    EXPECT_FALSE(t.IsRunning());
}

TEST(cThread, TheHandshakeDeliversTheStartMessageAndExitEndsTheThreadQuickly) {
    cThread t;
    g_startMessages = 0;
    ASSERT_EQ(t.Start(PollingLoop, nullptr, false), 1);
    EXPECT_TRUE(t.IsRunning());
    while (g_startMessages.load() == 0) Sleep(1);
    DWORD before = RealTimeMs();
    t.Exit();
    EXPECT_LT(RealTimeMs() - before, 150u);  // ended by WM_QUIT, long before the stop request
    EXPECT_FALSE(t.IsRunning());
}

TEST(cThread, AThreadThatNeverPollsIsStoppedCooperatively) {
    cThread t;
    std::atomic<bool> ended{false};
    ASSERT_EQ(t.Create(NeverPolls, &ended), 1);
    t.Exit();
    EXPECT_TRUE(ended.load());  // Exit returns only after the thread ended
    EXPECT_FALSE(t.IsRunning());
}

TEST(cThread, AStarterNeverSpinsOnAThreadThatIsGone) {
    cThread t;
    // Whether the handshake got in before the thread ended or not, Start returns.
    t.Start(EndsAtOnce, nullptr, true);
    t.Wait();
    EXPECT_FALSE(t.IsRunning());
}

TEST(cThread, SuspendingAndResumingTheGameThreadsLeavesCountsAsTheyWere) {
    ASSERT_EQ(thGame.Start(PollingLoop, nullptr, false), 1);
    SuspendGameThreads();
    ResumeGameThreads();
    // The counts are back at zero: one more resume reports zero.
    EXPECT_EQ(ResumeThread(thGame.m_hThread), 0u);
    thGame.Exit();
}

}  // namespace
