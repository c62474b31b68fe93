// Thread keyboard hooks and the input-method queries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/host.h"
#include "platform/win32/hooks.h"
#include "platform/win32/win32.h"

namespace {

struct Call {
    int code;
    WPARAM key;
    LPARAM flags;
};
std::vector<Call> g_first, g_second;
HHOOK g_hookFirst = nullptr, g_hookSecond = nullptr;
LRESULT g_secondAnswer = 0;

// Installed first: at the end of the chain.
LRESULT FirstHook(int code, WPARAM w, LPARAM l) {
    g_first.push_back({code, w, l});
    return CallNextHookEx(g_hookFirst, code, w, l);
}

// Installed second: called first; may discard Enter.
LRESULT SecondHook(int code, WPARAM w, LPARAM l) {
    g_second.push_back({code, w, l});
    if (g_secondAnswer && w == VK_RETURN) return g_secondAnswer;
    return CallNextHookEx(g_hookSecond, code, w, l);
}

LRESULT Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

HWND MakeWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = Plain;
        wc.lpszClassName = "HookTestWindow";
        RegisterClassExA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "HookTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        g_first.clear();
        g_second.clear();
        g_secondAnswer = 0;
        hwnd = MakeWindow();
        SetFocus(hwnd);
    }
    void TearDown() override {
        if (g_hookFirst) UnhookWindowsHookEx(g_hookFirst);
        if (g_hookSecond) UnhookWindowsHookEx(g_hookSecond);
        g_hookFirst = g_hookSecond = nullptr;
        DestroyWindow(hwnd);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        host::SetCompositionText("");
    }
    HWND hwnd = nullptr;
};

TEST_F(HookTest, KeyStrokesFromTheKeyboardPassTheChainPostedOnesDoNot) {
    g_hookFirst = SetWindowsHookExA(WH_KEYBOARD, FirstHook, nullptr, GetCurrentThreadId());
    g_hookSecond = SetWindowsHookExA(WH_KEYBOARD, SecondHook, nullptr, 0);
    ASSERT_NE(g_hookFirst, nullptr);
    ASSERT_NE(g_hookSecond, nullptr);
    host::InjectKey(hwnd, 'A', true);
    PostMessageA(hwnd, WM_KEYDOWN, 'B', 0);  // a program's copy: no hook sees it
    host::InjectKey(hwnd, 'A', false);
    MSG m;
    // Looking without removing: HC_NOREMOVE.
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_EQ(g_second.size(), 1u);
    EXPECT_EQ(g_second[0].code, HC_NOREMOVE);
    std::vector<WPARAM> got;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) got.push_back(m.wParam);
    EXPECT_EQ(got, (std::vector<WPARAM>{'A', 'B', 'A'}));
    // The newest hook is called first and passes on to the older one.
    ASSERT_EQ(g_second.size(), 3u);
    ASSERT_EQ(g_first.size(), 3u);
    EXPECT_EQ(g_second[1].code, HC_ACTION);
    EXPECT_EQ(g_second[1].key, (WPARAM)'A');
    EXPECT_EQ(g_second[1].flags & (1u << 31), 0);        // pressed
    EXPECT_NE(g_second[2].flags & (LPARAM)(1u << 31), 0);  // released
}

TEST_F(HookTest, AHookThatAnswersNonZeroDiscardsTheStrokeAndUnhookingEndsIt) {
    g_hookSecond = SetWindowsHookExA(WH_KEYBOARD, SecondHook, nullptr, 0);
    g_secondAnswer = 1;
    host::InjectKey(hwnd, VK_RETURN, true);
    host::InjectKey(hwnd, 'C', true);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.wParam, (WPARAM)'C');  // the second key is the first one left
    EXPECT_EQ(g_second.size(), 2u);
    EXPECT_TRUE(UnhookWindowsHookEx(g_hookSecond));
    EXPECT_FALSE(UnhookWindowsHookEx(g_hookSecond));
    g_hookSecond = nullptr;
    host::InjectKey(hwnd, 'D', true);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(g_second.size(), 2u);
    // Only keyboard hooks of threads that exist.
    EXPECT_EQ(SetWindowsHookExA(13, SecondHook, nullptr, 0), nullptr);
    EXPECT_EQ(SetWindowsHookExA(WH_KEYBOARD, SecondHook, nullptr, 0x7FFFFFF0), nullptr);
}

TEST_F(HookTest, TheInputContextHoldsTheCompositionInShiftJis) {
    HIMC imc = ImmGetContext(hwnd);
    ASSERT_NE(imc, nullptr);
    EXPECT_EQ(ImmGetCompositionStringA(imc, GCS_COMPSTR, nullptr, 0), 0);
    host::SetCompositionText((const char*)u8"かな");
    char buf[16] = {};
    EXPECT_EQ(ImmGetCompositionStringA(imc, GCS_COMPSTR, nullptr, 0), 4);
    EXPECT_EQ(ImmGetCompositionStringA(imc, GCS_COMPSTR, buf, 3), 3);  // cut to the buffer
    EXPECT_EQ(ImmGetCompositionStringA(imc, GCS_COMPSTR, buf, sizeof buf), 4);
    EXPECT_EQ(std::string(buf, 4), "かな");
    EXPECT_LT(ImmGetCompositionStringA(imc, 0x1234, buf, sizeof buf), 0);
    EXPECT_TRUE(ImmReleaseContext(hwnd, imc));
    // Windows of other threads, and no window, have no context here.
    EXPECT_EQ(ImmGetContext(nullptr), nullptr);
    HIMC other = (HIMC)1;
    std::thread([&] { other = ImmGetContext(hwnd); }).join();
    EXPECT_EQ(other, nullptr);
}

}  // namespace
