// The dialogs' keyboard hook: its routing rule as a table, and the hook at work under a dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialog.h"
#include "app/hook.h"
#include "core/requests.h"
#include "platform/host/host.h"
#include "platform/host/script.h"

namespace {

const LPARAM kUp = (LPARAM)0xC0000001u;  // released
const LPARAM kDown = 1;

TEST(HookRoute, RoutingRuleByTheTable) {
    struct Case {
        const char* name;
        int vk;
        LPARAM flags;
        bool context, composing;
        int modeless;
        int ctrlBefore;
        HOOKROUTE want;
        int ctrlAfter;
    };
    const Case cases[] = {
        {"a letter to a modal dialog", 'A', kDown, true, false, 0, 0, HOOKROUTE_KEYDOWN, 0},
        {"its release", 'A', kUp, true, false, 0, 0, HOOKROUTE_KEYUP, 0},
        {"Tab is never copied", VK_TAB, kDown, true, false, 0, 0, HOOKROUTE_NONE, 0},
        {"Tab without a context either", VK_TAB, kDown, false, false, 0, 0, HOOKROUTE_NONE, 0},
        {"Enter with no composition", VK_RETURN, kDown, true, false, 0, 0, HOOKROUTE_KEYDOWN, 0},
        {"Enter completing a composition", VK_RETURN, kDown, true, true, 0, 0, HOOKROUTE_NONE, 0},
        {"Enter without a context", VK_RETURN, kDown, false, false, 0, 0, HOOKROUTE_KEYDOWN, 0},
        {"Left as 2024", VK_LEFT, kDown, true, false, 0, 0, HOOKROUTE_DIALOGKEY, 0},
        {"Space as 2024", VK_SPACE, kDown, true, false, 0, 0, HOOKROUTE_DIALOGKEY, 0},
        {"Delete as 2024", VK_DELETE, kDown, true, false, 0, 0, HOOKROUTE_DIALOGKEY, 0},
        {"F8 as 2024", VK_F8, kDown, true, false, 0, 0, HOOKROUTE_DIALOGKEY, 0},
        {"F9 is an ordinary key", VK_F9, kDown, true, false, 0, 0, HOOKROUTE_KEYDOWN, 0},
        {"2024 even with Ctrl held", VK_DOWN, kDown, true, false, 1, 1, HOOKROUTE_DIALOGKEY, 1},
        {"an arrow while composing", VK_RIGHT, kDown, true, true, 0, 0, HOOKROUTE_KEYDOWN, 0},
        {"an arrow without a context", VK_UP, kDown, false, false, 0, 0, HOOKROUTE_KEYDOWN, 0},
        {"Ctrl pressed sets the flag", VK_CONTROL, kDown, true, false, 0, 0, HOOKROUTE_KEYDOWN, 1},
        {"Ctrl released clears it", VK_CONTROL, kUp, true, false, 0, 1, HOOKROUTE_KEYUP, 0},
        {"modeless with Ctrl held: no copy", 'C', kDown, true, false, 1, 1, HOOKROUTE_NONE, 1},
        {"modeless, its release with Ctrl held", 'C', kUp, true, false, 1, 1, HOOKROUTE_NONE, 1},
        {"modeless without Ctrl", 'C', kDown, true, false, 1, 0, HOOKROUTE_KEYDOWN, 0},
        {"modal with Ctrl held", 'C', kDown, true, false, 0, 1, HOOKROUTE_KEYDOWN, 1},
    };
    for (const Case& c : cases) {
        int ctrl = c.ctrlBefore;
        EXPECT_EQ(RouteHookedKey(c.vk, c.flags, c.context, c.composing, c.modeless, &ctrl), c.want) << c.name;
        EXPECT_EQ(ctrl, c.ctrlAfter) << c.name;
    }
}

// A dialog that records the keys it is given.
const DIALOGITEMDATA kItems[] = {
    {"EDIT", WS_BORDER | WS_TABSTOP, 5, 5, 60, 14, 10, ""},
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 25, 40, 14, 1, "OK"},
};
const DIALOGTEMPLATEDATA kTemplate = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 80, 45, "", "ＭＳ Ｐゴシック", 9,
                                      kItems, 2};

class cKeyDialog : public cDialog {
public:
    static cKeyDialog* s_lpLive;
    std::vector<std::string> keys;
    cKeyDialog() {
        RegisterDialogTemplate(nullptr, 601, &kTemplate);
        SetUp(601, nullptr, 1, &g_WindowGroup);
        s_lpLive = this;
        SetDialogProc(&Proc);
    }
    static INT_PTR Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return s_lpLive->WndProc(h, m, w, l); }
    LRESULT OnMessage(HWND h, UINT m, WPARAM w, LPARAM l) override {
        if (m == WM_KEYDOWN) keys.push_back("down " + std::to_string(w));
        if (m == WM_KEYUP) keys.push_back("up " + std::to_string(w));
        if (m == WM_DIALOGKEY) keys.push_back("2024 " + std::to_string(w));
        return cDialog::OnMessage(h, m, w, l);
    }
    LRESULT OnCommand(WPARAM w, LPARAM l) override {
        cDialog::OnCommand(w, l);
        if (LOWORD(w) == 1) End(1);
        return 0;
    }
};
cKeyDialog* cKeyDialog::s_lpLive = nullptr;

TEST(HookAtWork, ADialogGetsCopiesOfTheStrokesToItsFocusedControl) {
    host::Init();
    host::script::LoadText("answer dialog key A key LEFT key TAB wait 30 key RETURN\n", VELMORA_BINARY_DIR);
    cKeyDialog d;
    EXPECT_EQ(d.RunModal(0), 1);
    host::script::Reset();
    EXPECT_NE(cHook::Installed(), nullptr);  // installed at the first dialog and kept
    auto has = [&](const std::string& k) {
        for (auto& s : d.keys)
            if (s == k) return true;
        return false;
    };
    EXPECT_TRUE(has("down 65"));
    EXPECT_TRUE(has("up 65"));
    EXPECT_TRUE(has("2024 37"));  // Left reaches the dialog as 2024 ...
    EXPECT_TRUE(has("down 37"));  // ... which it turns into WM_KEYDOWN to itself
    EXPECT_FALSE(has("down 9"));  // Tab is never copied
    // The main window of the game has no hook object: its strokes pass untouched.
    EXPECT_TRUE(cHook::Unset());
    EXPECT_EQ(cHook::Installed(), nullptr);
}

TEST(HookAtWork, EnterThatCompletesACompositionStaysWithTheInputMethod) {
    host::Init();
    host::SetCompositionText((const char*)u8"にほん");
    // Enter with a composition open is neither copied nor taken as the default button.
    host::script::LoadText("answer dialog key RETURN wait 30 close\n", VELMORA_BINARY_DIR);
    cKeyDialog d;
    EXPECT_EQ(d.RunModal(0), 0);
    host::script::Reset();
    host::SetCompositionText("");
    for (auto& s : d.keys) EXPECT_NE(s, "down 13");
    cHook::Unset();
}

}  // namespace
