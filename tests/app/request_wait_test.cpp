// A requester's wait for the window thread's answer ends when the answer comes, and never hangs
// when the program is ending.
#include <gtest/gtest.h>

#include <thread>

#include "core/globals.h"
#include "core/requests.h"

namespace {

TEST(RequestWait, EndsOnTheAnswerOrWhenNoAnswerCanCome) {
    std::atomic<int> done{0};
    g_hMainWnd = (HWND)(uintptr_t)0x1234;  // any non-null handle: a main window exists
    std::thread answer([&] {
        Sleep(20);
        done = 1;
    });
    EXPECT_TRUE(WaitRequestDone(done));
    answer.join();

    done = 0;
    PostQuitMessage(0);  // the thread is being ended
    EXPECT_FALSE(WaitRequestDone(done));
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the quit is still there

    g_hMainWnd = nullptr;  // the main window is gone
    EXPECT_FALSE(WaitRequestDone(done));
}

}  // namespace
