// Windows of other processes: FindWindowA, a synchronous WM_COPYDATA, a posted WM_CLOSE and
// waiting for the other process to end. The other process is this test program run again in
// the role of a stand-in editor window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/win32/win32.h"
#include "tools/testsupport/process.h"

namespace {

std::string g_childLog;
// The bound of every wait for the other process: reached only when it is broken.
constexpr DWORD kWaitMs = 60000;
constexpr const char* kClass = "Velmora_Remote_Test";
constexpr const char* kTitle = "リモート試験";

LRESULT EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COPYDATA: {
        auto* cds = (COPYDATASTRUCT*)lParam;
        int32_t value = 0;
        if (cds->cbData >= 4) std::memcpy(&value, cds->lpData, 4);
        std::ofstream(g_childLog, std::ios::app) << "copydata " << cds->dwData << " " << cds->cbData << " " << value
                                                 << "\n";
        return (LRESULT)(100 + cds->dwData);
    }
    case WM_CLOSE:
        std::ofstream(g_childLog, std::ios::app) << "close\n";
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// The child's role: a hidden top-level window, pumping messages. Its class and title are its
// own: the end-to-end tests, which ctest runs at the same time, make a stand-in editor window
// and start players that look for the editor's, so a window of the editor's class would answer
// to them (and they to this test) in the shared window registry.
TEST(RemoteChild, Editor) {
    const char* log = std::getenv("VELMORA_TEST_CHILD_LOG");
    if (!log) GTEST_SKIP() << "runs only as the other process of the Remote tests";
    g_childLog = log;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = EditorProc;
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND hwnd = CreateWindowExA(0, kClass, kTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    std::ofstream(g_childLog, std::ios::app) << "ready\n";
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
}

TEST(Remote, FindSendPostAndWaitForTheOtherProcess) {
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/remote";
    ASSERT_EQ(system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    std::string log = dir + "/child.log";
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    int pid = testsupport::StartProcess({self, "--gtest_filter=RemoteChild.Editor"},
                                        {"VELMORA_TEST_CHILD_LOG=" + log}, dir, "", "");
    ASSERT_GT(pid, 0);
    // The other process may take long to start on a busy machine: wait for its window, bounded
    // far beyond what a working start needs.
    HWND editor = nullptr;
    const DWORD since = RealTimeMs();
    while (!(editor = FindWindowA(kClass, kTitle)) && RealTimeMs() - since < kWaitMs &&
           testsupport::ProcessRunning(pid))
        Sleep(5);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(FindWindowA(kClass, "another title"), nullptr);
    EXPECT_EQ(FindWindowA("velmora_remote_test", nullptr), editor);  // class names ignore case

    int32_t value = 1;
    COPYDATASTRUCT cds{1, 4, &value};
    EXPECT_EQ(SendMessageA(editor, WM_COPYDATA, 0, (LPARAM)&cds), 101);
    value = 0x12345678;
    cds.dwData = 0;
    EXPECT_EQ(SendMessageA(editor, WM_COPYDATA, 0, (LPARAM)&cds), 100);  // answered after it ran

    DWORD processId = 0;
    GetWindowThreadProcessId(editor, &processId);
    EXPECT_EQ(processId, (DWORD)pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(PostMessageA(editor, WM_CLOSE, 0, 0));
    EXPECT_EQ(WaitForSingleObject(process, kWaitMs), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_EQ(testsupport::WaitProcess(pid, kWaitMs), 0);
    EXPECT_EQ(testsupport::ReadFile(log), "ready\ncopydata 1 4 1\ncopydata 0 4 305419896\nclose\n");
    // Its entry is gone with it.
    EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
}

}  // namespace

namespace {

// The other role of the next test: a window that ends its process at once when asked to close,
// without destroying the window or returning to its loop.
LRESULT EndAtOnceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) _exit(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(RemoteChild, EndsAtOnce) {
    const char* title = std::getenv("VELMORA_TEST_CHILD_TITLE");
    if (!title) GTEST_SKIP() << "runs only as the other process of the Remote tests";
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = EndAtOnceProc;
    wc.lpszClassName = "Velmora_Remote_EndsAtOnce";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    ASSERT_NE(CreateWindowExA(0, wc.lpszClassName, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
}

// A post that ends the other process is still reported as made: the answer must not depend on
// the other process outliving the message.
TEST(Remote, APostThatEndsTheOtherProcessIsReportedAsMade) {
    std::string dir = std::string(VELMORA_BINARY_DIR) + "/tmp/remote_end";
    ASSERT_EQ(system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    // Both processes on one processor: the window thread the post wakes then runs before the
    // thread that answers, the order in which an answer written after the post was lost.
    cpu_set_t before, one;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    for (int round = 0; round < 10; ++round) {
        std::string title = "end-at-once " + std::to_string(round);
        int pid = testsupport::StartProcess({self, "--gtest_filter=RemoteChild.EndsAtOnce"},
                                            {"VELMORA_TEST_CHILD_TITLE=" + title}, dir, "", "");
        ASSERT_GT(pid, 0);
        HWND other = nullptr;
        const DWORD since = RealTimeMs();
        while (!(other = FindWindowA("Velmora_Remote_EndsAtOnce", title.c_str())) && RealTimeMs() - since < kWaitMs &&
               testsupport::ProcessRunning(pid))
            Sleep(5);
        ASSERT_NE(other, nullptr) << "round " << round;
        EXPECT_TRUE(PostMessageA(other, WM_CLOSE, 0, 0)) << "round " << round;
        EXPECT_EQ(testsupport::WaitProcess(pid, kWaitMs), 0) << "round " << round;
    }
    sched_setaffinity(0, sizeof before, &before);
}

}  // namespace
