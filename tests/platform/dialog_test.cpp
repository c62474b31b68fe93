// The layer's modal dialogs: templates in dialog units, the dialog loop's keyboard and mouse
// work, controls and their notifications, closing, and the test driver's answers.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/script.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/win32.h"
#include "tests/platform/dialog_golden.h"

namespace {

const DIALOGITEMDATA kItems[] = {
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 84, 50, 14, 1, "OK"},
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 70, 84, 50, 14, 2, "キャンセル"},
    {"BUTTON", BS_GROUPBOX, 5, 5, 120, 40, 100, "グループ"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 12, 17, 50, 10, 101, "Alpha"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 12, 29, 50, 10, 102, "ベータ"},
    {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 50, 80, 10, 103, "チェック(&C)"},
    {"EDIT", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 10, 64, 60, 14, 104, "abc"},
    {"STATIC", SS_LEFT, 130, 5, 62, 40, 105, "折り返しのある長い説明文です。「System.ini」"},
    {"SCROLLBAR", SBS_VERT, 200, 5, 10, 60, 106, ""},
    {"STATIC", SS_BITMAP, 130, 50, 20, 21, 107, ""},
};
const DIALOGTEMPLATEDATA kTemplate = {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
                                      0,
                                      0,
                                      215,
                                      104,
                                      "テスト",
                                      "ＭＳ Ｐゴシック",
                                      9,
                                      kItems,
                                      (int)(sizeof kItems / sizeof kItems[0])};
const WORD kTemplateId = 500;

// What the dialog procedure saw.
struct Seen {
    std::vector<std::string> events;
    HWND initFocus = nullptr;
    INT_PTR initAnswer = FALSE;
    std::function<void(HWND)> onInit;
    std::function<void(HWND)> onOk;  // before the OK button ends the dialog
    bool closeEnds = true;
};
Seen g_seen;

std::string Str(const char* a, int v) { return std::string(a) + " " + std::to_string(v); }

INT_PTR TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        g_seen.initFocus = (HWND)wParam;
        if (g_seen.onInit) g_seen.onInit(hwnd);
        return g_seen.initAnswer;
    case WM_COMMAND: {
        int id = LOWORD(wParam), code = HIWORD(wParam);
        g_seen.events.push_back("cmd " + std::to_string(id) + " " + std::to_string(code));
        if (id == 1 && code == BN_CLICKED) {
            if (g_seen.onOk) g_seen.onOk(hwnd);
            EndDialog(hwnd, 1);
        }
        if (id == 2 && code == BN_CLICKED) EndDialog(hwnd, 2);
        return TRUE;
    }
    case WM_CLOSE:
        g_seen.events.push_back("close");
        if (g_seen.closeEnds) EndDialog(hwnd, 0);
        return TRUE;
    case WM_VSCROLL:
        g_seen.events.push_back(Str("vscroll", LOWORD(wParam)));
        return TRUE;
    default:
        return FALSE;
    }
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        RegisterDialogTemplate(nullptr, kTemplateId, &kTemplate);
        g_seen = Seen{};
        host::SetCompositionText("");
    }
    void TearDown() override { host::script::Reset(); }
    INT_PTR Run(const std::string& answer, HWND owner = nullptr) {
        host::script::LoadText(answer, std::string(VELMORA_BINARY_DIR));
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), owner, TestProc, 0);
    }
    bool Saw(const std::string& e) const {
        for (auto& s : g_seen.events)
            if (s == e) return true;
        return false;
    }
};

LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CLOSE) {
        g_seen.events.push_back("owner close");
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

HWND MakeOwner() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = "DialogOwner";
        RegisterClassExA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, "DialogOwner", "owner", WS_POPUP | WS_CAPTION, 100, 100, 640, 480, nullptr, nullptr,
                           nullptr, nullptr);
}

TEST_F(DialogTest, TemplatesAreLaidOutInDialogUnitsOfTheDialogFont) {
    SIZE base = DialogBaseUnits("ＭＳ Ｐゴシック", 9);
    EXPECT_EQ(base.cy, 13);  // the cell of a 12-pixel em
    EXPECT_GE(base.cx, 5);
    EXPECT_LE(base.cx, 8);
    RECT edit{}, client{}, outer{};
    HWND firstTab = nullptr;
    g_seen.onInit = [&](HWND h) {
        HWND e = GetDlgItem(h, 104);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(GetDlgCtrlID(e), 104);
        EXPECT_EQ(GetParent(e), h);
        GetWindowRect(e, &edit);
        POINT o{0, 0};
        ClientToScreen(h, &o);
        edit = RECT{edit.left - o.x, edit.top - o.y, edit.right - o.x, edit.bottom - o.y};
        GetClientRect(h, &client);
        GetWindowRect(h, &outer);
        firstTab = GetDlgItem(h, 1);
        EXPECT_EQ(GetDlgItem(h, 999), nullptr);
        char caption[32];
        GetWindowTextA(h, caption, sizeof caption);
        EXPECT_STREQ(caption, "テスト");
    };
    EXPECT_EQ(Run("answer dialog click 2\n"), 2);
    auto px = [&](int v) { return (v * base.cx * 2 + 4) / 8; };  // MulDiv(v, base, 4) rounded
    auto py = [&](int v) { return (v * base.cy * 2 + 8) / 16; };
    EXPECT_EQ(edit.left, px(10));
    EXPECT_EQ(edit.top, py(64));
    EXPECT_EQ(edit.right - edit.left, px(60));
    EXPECT_EQ(edit.bottom - edit.top, py(14));
    EXPECT_EQ(client.right, px(215));
    EXPECT_EQ(client.bottom, py(104));
    // A caption and a dialog frame around the client area.
    EXPECT_EQ(outer.right - outer.left, client.right + 2 * GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(outer.bottom - outer.top,
              client.bottom + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYDLGFRAME));
    EXPECT_EQ(g_seen.initFocus, firstTab);  // WM_INITDIALOG names the first tab stop
}

TEST_F(DialogTest, ADialogThatCannotBeMadeGivesMinusOne) {
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(4321), nullptr, TestProc, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kTemplateId), (HWND)(uintptr_t)0x7777, TestProc, 0), -1);
    EXPECT_TRUE(g_seen.events.empty());
    EXPECT_FALSE(EndDialog((HWND)(uintptr_t)0x7777, 1));
}

TEST_F(DialogTest, KeyboardWorkOfTheDialog) {
    struct Case {
        const char* name;
        const char* answer;
        INT_PTR result;
        std::vector<std::string> events;  // every one of them seen
        int radio101, radio102, check;
    };
    const Case cases[] = {
        // Enter presses the default button; with focus on another push button, that one.
        {"enter", "answer dialog key RETURN\n", 1, {"cmd 1 0"}, 0, 0, 0},
        {"tab to cancel, enter", "answer dialog key TAB key RETURN\n", 2, {"cmd 2 0"}, 0, 0, 0},
        // Space presses the focused button; arrows move within the radio group and check.
        {"space on a radio", "answer dialog key TAB key TAB key SPACE key RETURN\n", 1, {"cmd 101 0"}, 1, 0, 0},
        {"arrow in the group", "answer dialog key TAB key TAB key DOWN key RETURN\n", 1, {"cmd 102 0"}, 0, 1, 0},
        {"arrow wraps", "answer dialog key TAB key TAB key UP key RETURN\n", 1, {"cmd 102 0"}, 0, 1, 0},
        {"space on the check box", "answer dialog key TAB key TAB key TAB key TAB key SPACE key RETURN\n", 1,
         {"cmd 103 0"}, 0, 0, 1},
        // Shift+Tab from the edit box goes back: check box, then radio 102.
        {"shift tab goes back",
         "answer dialog key TAB key TAB key TAB key TAB key TAB down SHIFT key TAB key TAB up SHIFT key SPACE "
         "key RETURN\n",
         1, {"cmd 102 0"}, 0, 1, 0},
        // Esc is the close box: WM_CLOSE, which this procedure answers with 0.
        {"escape", "answer dialog key ESCAPE\n", 0, {"close"}, 0, 0, 0},
        {"close box", "answer dialog close\n", 0, {"close"}, 0, 0, 0},
        {"alt f4", "answer dialog down ALT key F4 up ALT\n", 0, {"close"}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        g_seen = Seen{};
        int r101 = -1, r102 = -1, chk = -1;
        g_seen.onOk = [&](HWND h) {
            r101 = (int)SendDlgItemMessageA(h, 101, BM_GETCHECK, 0, 0);
            r102 = (int)SendDlgItemMessageA(h, 102, BM_GETCHECK, 0, 0);
            chk = (int)SendDlgItemMessageA(h, 103, BM_GETCHECK, 0, 0);
        };
        std::string answer = c.answer;
        INT_PTR r = Run(answer);
        EXPECT_EQ(r, c.result) << c.name;
        for (auto& e : c.events) EXPECT_TRUE(Saw(e)) << c.name << ": " << e;
        if (c.result == 1) {
            EXPECT_EQ(r101, c.radio101) << c.name;
            EXPECT_EQ(r102, c.radio102) << c.name;
            EXPECT_EQ(chk, c.check) << c.name;
        }
        host::script::Reset();
    }
}

TEST_F(DialogTest, MouseClicksReachTheControlUnderTheMouseThroughGroupBoxes) {
    int r101 = -1, r102 = -1, chk = -1;
    g_seen.onOk = [&](HWND h) {
        r101 = (int)SendDlgItemMessageA(h, 101, BM_GETCHECK, 0, 0);
        r102 = (int)SendDlgItemMessageA(h, 102, BM_GETCHECK, 0, 0);
        chk = (int)SendDlgItemMessageA(h, 103, BM_GETCHECK, 0, 0);
    };
    g_seen.onInit = [](HWND h) { SendDlgItemMessageA(h, 101, BM_SETCHECK, BST_CHECKED, 0); };
    EXPECT_EQ(Run("answer dialog click 102 click 103 click 103 click 103 click 1\n"), 1);
    EXPECT_EQ(r101, 0);  // the auto radio button unchecks the others of its group
    EXPECT_EQ(r102, 1);
    EXPECT_EQ(chk, 1);
    EXPECT_TRUE(Saw("cmd 102 0"));
}

TEST_F(DialogTest, EditBoxesTypeSelectAndReportEveryChange) {
    std::string text;
    DWORD selStart = 99, selEnd = 99;
    int updates = 0, killFocus = 0;
    g_seen.onOk = [&](HWND h) {
        char buf[64];
        GetDlgItemTextA(h, 104, buf, sizeof buf);
        text = buf;
        SendDlgItemMessageA(h, 104, EM_GETSEL, (WPARAM)&selStart, (LPARAM)&selEnd);
    };
    auto count = [&] {
        updates = killFocus = 0;
        for (auto& e : g_seen.events) {
            if (e == "cmd 104 " + std::to_string(EN_UPDATE)) ++updates;
            if (e == "cmd 104 " + std::to_string(EN_KILLFOCUS)) ++killFocus;
        }
    };
    // Typing replaces the selection that focusing by keyboard makes; two-byte characters come
    // as lead and trail bytes and stay whole; Backspace and Delete remove whole characters.
    // (Script files are UTF-8.)
    EXPECT_EQ(Run((const char*)u8"answer dialog type 104 \"Aあい\" key LEFT key BACK key HOME key DELETE "
                                u8"type 104 X key RETURN\n"),
              1);
    EXPECT_EQ(text, "Xい");
    count();
    EXPECT_EQ(updates, 6);  // A, あ, い, Backspace (あ), Delete (A), X
    EXPECT_EQ(killFocus, 0);

    // A programmatic change is a change too; leaving the box reports EN_KILLFOCUS.
    g_seen = Seen{};
    g_seen.onOk = [&](HWND h) {
        char buf[64];
        GetDlgItemTextA(h, 104, buf, sizeof buf);
        text = buf;
        SendDlgItemMessageA(h, 104, EM_GETSEL, (WPARAM)&selStart, (LPARAM)&selEnd);
    };
    g_seen.onInit = [](HWND h) {
        SetDlgItemTextA(h, 104, "漢字かな");
        SetFocus(GetDlgItem(h, 104));
        SendDlgItemMessageA(h, 104, EM_SETSEL, 2, 6);
    };
    EXPECT_EQ(Run("answer dialog key RIGHT key TAB key RETURN\n"), 1);
    count();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(killFocus, 1);
    EXPECT_EQ(text, "漢字かな");
    EXPECT_EQ(selStart, 6u);  // Right collapses the selection to its end
    EXPECT_EQ(selEnd, 6u);
}

TEST_F(DialogTest, EditSelectionMessagesClampAndKeepCharactersWhole) {
    struct Case {
        long long start, end;
        DWORD wantStart, wantEnd;
    };
    const Case cases[] = {
        {0, -1, 0, 6}, {0, 2147483647, 0, 6}, {1, 3, 1, 3}, {2, 4, 1, 3}, {4, 2, 1, 3}, {7, 9, 6, 6}, {-1, 0, 6, 6},
    };
    std::vector<std::pair<DWORD, DWORD>> got;
    g_seen.onInit = [&](HWND h) {
        SetDlgItemTextA(h, 104, "AあいB");  // bytes: A, あ (1-2), い (3-4), B
        for (const Case& c : cases) {
            SendDlgItemMessageA(h, 104, EM_SETSEL, (WPARAM)c.start, (LPARAM)c.end);
            DWORD s = 0, e = 0;
            LRESULT both = SendDlgItemMessageA(h, 104, EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
            EXPECT_EQ(LOWORD(both), s);
            EXPECT_EQ(HIWORD(both), e);
            got.push_back({s, e});
        }
        EndDialog(h, 5);
    };
    EXPECT_EQ(Run(""), 5);
    ASSERT_EQ(got.size(), sizeof cases / sizeof cases[0]);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].first, std::min(cases[i].wantStart, cases[i].wantEnd)) << i;
        EXPECT_EQ(got[i].second, std::max(cases[i].wantStart, cases[i].wantEnd)) << i;
    }
}

TEST_F(DialogTest, PasteTakesTheClipboardsFirstLine) {
    SDL_SetClipboardText((const char*)u8"貼り付け\nnext line");
    std::string text;
    g_seen.onOk = [&](HWND h) {
        char buf[64];
        GetDlgItemTextA(h, 104, buf, sizeof buf);
        text = buf;
    };
    g_seen.onInit = [](HWND h) {
        SetFocus(GetDlgItem(h, 104));
        SendDlgItemMessageA(h, 104, EM_SETSEL, 3, 3);
        SendDlgItemMessageA(h, 104, WM_PASTE, 0, 0);
    };
    EXPECT_EQ(Run("answer dialog key RETURN\n"), 1);
    EXPECT_EQ(text, "abc貼り付け");
}

TEST_F(DialogTest, ACloseForAnotherWindowEndsTheDialogAndIsPostedAgainAfterIt) {
    HWND owner = MakeOwner();
    ShowWindow(owner, SW_SHOW);
    bool ownerEnabledDuring = true;
    g_seen.onInit = [&](HWND) { PostMessageA(owner, WM_CLOSE, 0, 0); };
    g_seen.closeEnds = true;
    INT_PTR r = Run("answer dialog wait 20 key RETURN\n", owner);
    EXPECT_EQ(r, 0);
    ASSERT_FALSE(g_seen.events.empty());
    EXPECT_EQ(g_seen.events.front(), "close");
    EXPECT_FALSE(Saw("owner close"));  // not during the dialog
    (void)ownerEnabledDuring;
    EXPECT_TRUE(IsWindowEnabled(owner));
    MSG m;
    bool reposted = false;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.hwnd == owner && m.message == WM_CLOSE) reposted = true;
        DispatchMessageA(&m);
    }
    EXPECT_TRUE(reposted);
    EXPECT_TRUE(Saw("owner close"));
    DestroyWindow(owner);
}

TEST_F(DialogTest, TheOwnerIsDisabledWhileTheDialogRunsAndInputToItIsDropped) {
    HWND owner = MakeOwner();
    ShowWindow(owner, SW_SHOW);
    BOOL enabledDuring = TRUE;
    g_seen.onInit = [&](HWND) {};
    g_seen.onOk = [&](HWND) { enabledDuring = IsWindowEnabled(owner); };
    EXPECT_EQ(Run("answer dialog key RETURN\n", owner), 1);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    DestroyWindow(owner);
}

TEST_F(DialogTest, WithoutAnAnswerADialogIsAnsweredWithEnterAndASpentAnswerCloses) {
    EXPECT_EQ(Run("msgbox ok\n"), 1);  // a script without a dialog answer
    g_seen = Seen{};
    EXPECT_EQ(Run("answer dialog click 103\n"), 0);  // done, still up: closed
    EXPECT_TRUE(Saw("close"));
    // A procedure that refuses to close is ended.
    g_seen = Seen{};
    g_seen.closeEnds = false;
    EXPECT_EQ(Run("answer dialog\n"), 0);
}

TEST_F(DialogTest, ScrollBarsKeepTheirRangeAndReportClicks) {
    SCROLLINFO got{};
    int afterSet = -1;
    g_seen.onInit = [&](HWND h) {
        HWND bar = GetDlgItem(h, 106);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
        afterSet = SetScrollInfo(bar, SB_CTL, &si, TRUE);
        got.cbSize = sizeof got;
        got.fMask = SIF_ALL;
        GetScrollInfo(bar, SB_CTL, &got);
        EXPECT_EQ(SetScrollInfo(h, SB_CTL, &si, TRUE), 0);  // the dialog is no scroll-bar control
    };
    EXPECT_EQ(Run("answer dialog click 106 key RETURN\n"), 1);
    EXPECT_EQ(afterSet, 90);  // 99 - (10 - 1)
    EXPECT_EQ(got.nMin, 0);
    EXPECT_EQ(got.nMax, 99);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(got.nPos, 90);
    // A click in the track above the thumb pages up, and the release ends the scroll.
    EXPECT_TRUE(Saw(Str("vscroll", SB_PAGEUP)));
    EXPECT_TRUE(Saw(Str("vscroll", SB_ENDSCROLL)));
}

TEST_F(DialogTest, GoldenOfTheControlsInTheirStates) {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    g_seen.onInit = [&](HWND d) {
        SendDlgItemMessageA(d, 102, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(d, 103, BM_SETCHECK, BST_CHECKED, 0);
        SetDlgItemTextA(d, 104, "選択text");
        SetFocus(GetDlgItem(d, 104));
        SendDlgItemMessageA(d, 104, EM_SETSEL, 0, 4);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 20, 40, 0};
        SetScrollInfo(GetDlgItem(d, 106), SB_CTL, &si, TRUE);
        EnableWindow(GetDlgItem(d, 2), FALSE);
        DrawDialogPixels(d, &px, &w, &h);
        EndDialog(d, 1);
    };
    EXPECT_EQ(Run(""), 1);
    ASSERT_GT(w, 0);
    testgolden::ExpectGolden("dialog_controls", px.data(), w, h);
}

}  // namespace
