// Message queues and windows: posted and sent messages across threads, quitting, cooperative end.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/win32.h"

namespace {

std::atomic<int> g_handled{0};
std::atomic<bool> g_inHandler{false};
std::atomic<DWORD> g_handlerThread{0};

LRESULT TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 1) {
        g_inHandler = true;
        g_handlerThread = GetCurrentThreadId();
        Sleep(50);  // the sender must still be waiting when this returns
        g_handled++;
        g_inHandler = false;
        return (LRESULT)(wParam * 10 + lParam);
    }
    if (msg == WM_USER + 2) return 77;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterTestClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestProc;
    wc.lpszClassName = "QueueTestClass";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    done = true;
}

HWND MakeWindow() {
    RegisterTestClass();
    return CreateWindowExA(0, "QueueTestClass", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Pumps the calling thread's messages until `until` says stop.
template <typename F>
void Pump(F until) {
    MSG m;
    while (!until()) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(1);
    }
}

TEST(Messages, CrossThreadSendBlocksUntilTheHandlerReturnsAndDeliversItsResult) {
    HWND hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    g_handled = 0;
    std::atomic<LRESULT> result{-1};
    std::atomic<bool> returnedWhileHandling{false};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        LRESULT r = SendMessageA(hwnd, WM_USER + 1, 4, 2);
        if (g_handled.load() != 1) returnedWhileHandling = true;
        result = r;
        done = true;
    });
    Pump([&] { return done.load(); });
    sender.join();
    EXPECT_EQ(result.load(), 42);
    EXPECT_FALSE(returnedWhileHandling.load());
    EXPECT_EQ(g_handlerThread.load(), GetCurrentThreadId());  // run by the window's own thread
    DestroyWindow(hwnd);
}

TEST(Messages, SameThreadSendIsADirectCallAndBadWindowsAnswerZero) {
    HWND hwnd = MakeWindow();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 2, 0, 0), 77);
    EXPECT_EQ(SendMessageA(nullptr, WM_USER + 2, 0, 0), 0);
    DestroyWindow(hwnd);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 2, 0, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER + 2, 0, 0));
}

TEST(Messages, PostedMessagesKeepTheirOrderAndFiltersSelect) {
    HWND hwnd = MakeWindow();
    PostMessageA(hwnd, WM_USER + 10, 1, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 11, 2, 0);
    PostMessageA(hwnd, WM_USER + 12, 3, 0);
    MSG m;
    // Thread messages only.
    ASSERT_TRUE(PeekMessageA(&m, (HWND)(intptr_t)-1, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)(WM_USER + 11));
    // A range.
    ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER + 12, WM_USER + 12, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 3u);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)(WM_USER + 10));
    ASSERT_TRUE(PeekMessageA(&m, hwnd, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, (UINT)(WM_USER + 12));
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(hwnd);
}

TEST(Messages, PostQuitMessageComesAfterTheQueueIsEmpty) {
    PostQuitMessage(3);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    MSG m;
    ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_USER);
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, (UINT)WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

unsigned WorkerLoop(void* p) {
    auto* seen = (std::atomic<int>*)p;
    MSG m;
    for (;;) {
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) return 5;
            (*seen)++;
            continue;
        }
        Sleep(1);
    }
}

TEST(Threads, TheStartMessageIsTakenAndWmQuitEndsAWorkerLoop) {
    std::atomic<int> seen{0};
    unsigned id = 0;
    HANDLE h = (HANDLE)_beginthreadex(nullptr, 0, WorkerLoop, &seen, 0, &id);
    ASSERT_NE(h, nullptr);
    // The queue exists from the start: the first post of the start message succeeds.
    EXPECT_TRUE(PostThreadMessageA(id, WM_APP, 0, 0));
    EXPECT_TRUE(PostThreadMessageA(id, WM_QUIT, 0, 0));
    EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(h, &code));
    EXPECT_EQ(code, 5u);
    EXPECT_EQ(seen.load(), 1);
    EXPECT_TRUE(CloseHandle(h));
    // The queue went with the thread.
    EXPECT_FALSE(PostThreadMessageA(id, WM_APP, 0, 0));
}

struct BlockedSender {
    HWND target;
    std::atomic<bool> returned{false};
    std::atomic<LRESULT> result{-1};
};

unsigned SendToUnservedWindow(void* p) {
    auto* b = (BlockedSender*)p;
    b->result = SendMessageA(b->target, WM_USER + 2, 0, 0);
    b->returned = true;
    // The loop that follows sees the quit as well.
    MSG m;
    while (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) || m.message != WM_QUIT) Sleep(1);
    return 0;
}

TEST(Threads, AThreadBlockedInASendEndsWhenAskedToQuit) {
    HWND hwnd = MakeWindow();  // owned by this thread, which does not pump while the send waits
    BlockedSender b;
    b.target = hwnd;
    unsigned id = 0;
    HANDLE h = (HANDLE)_beginthreadex(nullptr, 0, SendToUnservedWindow, &b, 0, &id);
    Sleep(30);
    EXPECT_FALSE(b.returned.load());
    PostThreadMessageA(id, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(b.returned.load());
    EXPECT_EQ(b.result.load(), 0);  // withdrawn before it ran
    CloseHandle(h);
    // The withdrawn send never runs later.
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    DestroyWindow(hwnd);
}

unsigned SleepForever(void* p) {
    auto* woke = (std::atomic<bool>*)p;
    while (!ThreadStopRequested()) Sleep(1000);
    *woke = true;
    return 9;
}

TEST(Threads, TerminateIsACooperativeStopThatWakesSleeps) {
    std::atomic<bool> woke{false};
    HANDLE h = (HANDLE)_beginthreadex(nullptr, 0, SleepForever, &woke, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(h, 20), WAIT_TIMEOUT);
    EXPECT_TRUE(TerminateThread(h, 0));
    EXPECT_EQ(WaitForSingleObject(h, 2000), WAIT_OBJECT_0);
    EXPECT_TRUE(woke.load());
    CloseHandle(h);
}

TEST(Threads, SuspendAndResumeAreCountedWithoutStoppingTheThread) {
    std::atomic<int> seen{0};
    unsigned id = 0;
    HANDLE h = (HANDLE)_beginthreadex(nullptr, 0, WorkerLoop, &seen, 0, &id);
    EXPECT_EQ(SuspendThread(h), 0u);
    EXPECT_EQ(SuspendThread(h), 1u);
    EXPECT_EQ(ResumeThread(h), 2u);
    EXPECT_EQ(ResumeThread(h), 1u);
    EXPECT_EQ(ResumeThread(h), 0u);
    EXPECT_EQ(SuspendThread(nullptr), (DWORD)-1);
    PostThreadMessageA(id, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(h, 5000), WAIT_OBJECT_0);
    CloseHandle(h);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
}

TEST(Windows, PropertiesTextsAndStyles) {
    HWND hwnd = MakeWindow();
    int a = 0;
    EXPECT_TRUE(SetPropA(hwnd, "DLG_CLASS", &a));
    EXPECT_EQ(GetPropA(hwnd, "DLG_CLASS"), &a);
    EXPECT_EQ(GetPropA(hwnd, "other"), nullptr);
    EXPECT_TRUE(SetWindowTextA(hwnd, "タイトル"));
    char buf[16];
    EXPECT_EQ(GetWindowTextA(hwnd, buf, sizeof buf), 8);
    EXPECT_STREQ(buf, "タイトル");
    // A short buffer never ends in half a character.
    EXPECT_EQ(GetWindowTextA(hwnd, buf, 4), 2);
    SetWindowLongA(hwnd, GWL_STYLE, WS_POPUP | WS_CAPTION);
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE), (LONG)(WS_POPUP | WS_CAPTION));
    DestroyWindow(hwnd);
}

TEST(Windows, AdjustWindowRectAddsTheFrameOfTheStyle) {
    RECT r{0, 0, 640, 480};
    AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, 0);
    EXPECT_EQ(r.right - r.left, 640 + 2 * GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(r.bottom - r.top, 480 + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME));
    RECT s{0, 0, 640, 480};
    AdjustWindowRectEx(&s, WS_POPUP | WS_CAPTION | WS_THICKFRAME, FALSE, 0);
    EXPECT_EQ(s.right - s.left, 640 + 2 * GetSystemMetrics(SM_CXFRAME));
}

}  // namespace
