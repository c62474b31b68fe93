// The program's dialog toolkit: placement, the modal run, command dispatch, bound controls,
// the scroll-bar control, the window group's run flags and dialog-item text through strings.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/ctrl_scroll.h"
#include "app/dialog.h"
#include "app/dlg_item_string.h"
#include "app/main_window.h"
#include "platform/host/host.h"
#include "platform/host/script.h"

namespace {

const DIALOGITEMDATA kItems[] = {
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 60, 40, 14, 1, "OK"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 5, 5, 40, 10, 11, "one"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 50, 5, 40, 10, 12, "two"},
    {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 20, 60, 10, 13, "tick"},
    {"EDIT", WS_BORDER | WS_TABSTOP, 5, 35, 80, 14, 14, ""},
    {"SCROLLBAR", SBS_VERT, 100, 5, 10, 60, 15, ""},
};
const DIALOGTEMPLATEDATA kTemplate = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 120, 80, "", "ＭＳ Ｐゴシック", 9,
                                      kItems, (int)(sizeof kItems / sizeof kItems[0])};

class cTestDialog : public cDialog {
public:
    static cTestDialog* s_lpLive;
    std::function<void(cTestDialog&)> onInit, onOk;
    int commands = 0;
    int value = 0, tick = 0;
    cCtrlRadio radio1{11, &value, 1}, radio2{12, &value, 2};
    cCtrlCheck check{13, &tick};
    explicit cTestDialog(cWindow* parent = &g_MainWindow) {
        RegisterDialogTemplate(nullptr, 602, &kTemplate);
        SetUp(602, parent, 7, &g_WindowGroup);
        s_lpLive = this;
        SetDialogProc(&Proc);
    }
    ~cTestDialog() override { s_lpLive = nullptr; }
    static INT_PTR Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return s_lpLive ? s_lpLive->WndProc(h, m, w, l) : 0; }
    void OnInitDialog(WPARAM w, LPARAM l) override {
        cDialog::OnInitDialog(w, l);
        for (cCtrl* c : {(cCtrl*)&radio1, (cCtrl*)&radio2, (cCtrl*)&check}) {
            c->Attach(this, c->m_wId);
            m_vecChildren.push_back(c);
        }
        DataToControls();
        if (onInit) onInit(*this);
    }
    LRESULT OnCommand(WPARAM w, LPARAM l) override {
        ++commands;
        cDialog::OnCommand(w, l);
        if (LOWORD(w) == 1) {
            if (onOk) onOk(*this);
            ControlsToData();
            End(1);
        }
        return 0;
    }
};
cTestDialog* cTestDialog::s_lpLive = nullptr;

class Toolkit : public ::testing::Test {
protected:
    void SetUp() override {
        host::Init();
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT { return DefWindowProcA(h, m, w, l); };
            wc.lpszClassName = "ToolkitMain";
            RegisterClassExA(&wc);
            registered = true;
        }
        main = CreateWindowExA(0, "ToolkitMain", "", WS_POPUP | WS_CAPTION, 100, 100, 646, 509, nullptr, nullptr,
                               nullptr, nullptr);
        g_MainWindow.m_hWnd = main;
    }
    void TearDown() override {
        host::script::Reset();
        g_MainWindow.m_hWnd = nullptr;
        DestroyWindow(main);
    }
    INT_PTR Run(cTestDialog& d, const std::string& answer) {
        host::script::LoadText(answer, VELMORA_BINARY_DIR);
        return d.RunModal(0);
    }
    HWND main = nullptr;
};

TEST(DialogPlacement, ClampsIntoTheWorkAreasEdges) {
    const RECT work{100, 50, 1100, 850};  // a work area that does not start at 0
    struct Case {
        int x, y, ex, ey;
    };
    const Case cases[] = {
        {300, 200, 300, 200},  // inside
        {-20, 10, 100, 50},    // past the left and top edges: to the edges, not to 0
        {50, 30, 100, 50},
        {900, 700, 800, 600},  // reaching the right and bottom edges
        {799, 599, 799, 599},  // one short of them
        {800, 600, 800, 600},
        {801, 601, 800, 600},
    };
    for (const Case& c : cases) {
        POINT p = ClampDialogPosition(c.x, c.y, 300, 250, work);
        EXPECT_EQ(p.x, c.ex) << c.x;
        EXPECT_EQ(p.y, c.ey) << c.y;
    }
}

TEST_F(Toolkit, ARequestedPositionIsTakenClampedOrLeftAlone) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        int rx, ry;
        bool moved;
    };
    const Case cases[] = {{40, 30, true}, {work.right + 500, -30, true}, {-1000, 200, false}, {200, -1000, false}};
    for (const Case& c : cases) {
        cTestDialog d;
        d.m_nRequestX = c.rx;
        d.m_nRequestY = c.ry;
        RECT at{};
        d.onInit = [&](cTestDialog& t) { GetWindowRect(t.m_hWnd, &at); };
        EXPECT_EQ(Run(d, "answer dialog click 1\n"), 1);
        int w = at.right - at.left, h = at.bottom - at.top;
        if (c.moved) {
            POINT want = ClampDialogPosition(c.rx, c.ry, w, h, work);
            EXPECT_EQ(at.left, want.x) << c.rx;
            EXPECT_EQ(at.top, want.y) << c.ry;
            EXPECT_EQ(d.m_nScreenX, want.x);
        } else {
            // Where the layer put it: at the owner's client origin.
            POINT o{0, 0};
            ClientToScreen(main, &o);
            EXPECT_EQ(at.left + d.m_nFrameLeft, o.x) << c.rx;
        }
    }
}

TEST_F(Toolkit, TheModalRunGivesTheEndValueAndTheCloseBoxIsCancel) {
    cTestDialog d;
    EXPECT_EQ(Run(d, "answer dialog click 1\n"), 1);
    EXPECT_EQ(d.m_hWnd, nullptr);  // no window after the run
    EXPECT_TRUE(d.m_vecChildren.empty());
    cTestDialog e;
    EXPECT_EQ(Run(e, "answer dialog close\n"), 0);
    cTestDialog f;
    EXPECT_EQ(Run(f, "answer dialog key ESCAPE\n"), 0);
    // A parent whose window is gone: the dialog cannot be made.
    cWindow gone;
    gone.m_hWnd = (HWND)(uintptr_t)0x7654;
    cTestDialog g(&gone);
    EXPECT_EQ(Run(g, ""), -1);
}

TEST_F(Toolkit, BoundControlsShowAndStoreTheirVariables) {
    struct Case {
        int value, tick;
        const char* answer;
        int wantValue, wantTick;
        int shownOne, shownTwo, shownTick;
    };
    const Case cases[] = {
        {2, 0, "answer dialog click 1\n", 2, 0, 0, 1, 0},
        {1, 7, "answer dialog click 12 click 1\n", 2, 1, 1, 0, 1},
        {5, 0, "answer dialog click 1\n", 5, 0, 0, 0, 0},  // neither button stands for 5: kept
        {5, 1, "answer dialog click 13 click 11 click 1\n", 1, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        cTestDialog d;
        d.value = c.value;
        d.tick = c.tick;
        int one = -1, two = -1, tick = -1;
        d.onInit = [&](cTestDialog& t) {
            one = (int)SendDlgItemMessageA(t.m_hWnd, 11, BM_GETCHECK, 0, 0);
            two = (int)SendDlgItemMessageA(t.m_hWnd, 12, BM_GETCHECK, 0, 0);
            tick = (int)SendDlgItemMessageA(t.m_hWnd, 13, BM_GETCHECK, 0, 0);
        };
        EXPECT_EQ(Run(d, c.answer), 1) << c.answer;
        EXPECT_EQ(one, c.shownOne) << c.answer;
        EXPECT_EQ(two, c.shownTwo) << c.answer;
        EXPECT_EQ(tick, c.shownTick) << c.answer;
        EXPECT_EQ(d.value, c.wantValue) << c.answer;
        EXPECT_EQ(d.tick, c.wantTick) << c.answer;
    }
}

TEST_F(Toolkit, ACommandArrivingWhileOneIsHandledIsNotDispatched) {
    cTestDialog d;
    LRESULT nested = -1;
    d.onOk = [&](cTestDialog& t) {
        // The handler of OK sends another command, as a message box in a handler would let one in.
        nested = SendMessageA(t.m_hWnd, WM_COMMAND, MAKEWPARAM(13, BN_CLICKED), 0);
    };
    EXPECT_EQ(Run(d, "answer dialog click 1\n"), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(d.commands, 1);
}

TEST_F(Toolkit, TheScrollBarControlTakesItsRangeAndKeepsItsContextMenuShut) {
    static int spyCalls = 0;
    static UINT spyLast = 0;
    spyCalls = 0;
    cTestDialog d;
    cCtrlScroll bar;
    SCROLLINFO got{};
    bool propertyDuring = false;
    HWND barWnd = nullptr;
    d.onInit = [&](cTestDialog& t) {
        barWnd = GetDlgItem(t.m_hWnd, 15);
        // A spy as the scroll bar's procedure, passing everything on to the layer's.
        static WNDPROC layer = nullptr;
        layer = (WNDPROC)GetWindowLongPtrA(barWnd, GWL_WNDPROC);
        SetWindowLongPtrA(barWnd, GWL_WNDPROC, (LONG_PTR)+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            ++spyCalls;
            spyLast = m;
            return CallWindowProcA(layer, h, m, w, l);
        });
        bar.Bind(&t, SCROLLBINDING{15, nullptr, SB_CTL, 0, 0, 49, 10, TRUE});
        got.cbSize = sizeof got;
        got.fMask = SIF_RANGE | SIF_PAGE;
        GetScrollInfo(barWnd, SB_CTL, &got);
        propertyDuring = GetPropA(barWnd, "CTRL_SCROLL_CLASS") == (HANDLE)&bar;
        int before = spyCalls;
        SendMessageA(barWnd, WM_RBUTTONUP, 0, 0);
        EXPECT_EQ(spyCalls, before);  // swallowed
        SendMessageA(barWnd, WM_MOUSEMOVE, 0, 0);
        EXPECT_EQ(spyCalls, before + 1);  // everything else passes
    };
    EXPECT_EQ(Run(d, "answer dialog click 1\n"), 1);
    EXPECT_TRUE(propertyDuring);
    EXPECT_EQ(got.nMin, 0);
    EXPECT_EQ(got.nMax, 49);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(spyLast, (UINT)WM_DESTROY);  // the destroy went on to the procedure before it
    EXPECT_EQ(bar.m_nKind, CTRLKIND_SCROLL);
}

TEST_F(Toolkit, RunFlagsHideAndDisableTheGroupsWindowsForTheRun) {
    cWindow other;
    other.m_hWnd = CreateWindowExA(0, "ToolkitMain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(other.m_hWnd, SW_SHOW);
    g_WindowGroup.m_vecWindows.push_back(&other);
    cTestDialog d;
    bool visibleDuring = true, enabledDuring = true;
    d.onInit = [&](cTestDialog&) {
        visibleDuring = IsWindowVisible(other.m_hWnd);
        enabledDuring = IsWindowEnabled(other.m_hWnd);
    };
    host::script::LoadText("answer dialog click 1\n", VELMORA_BINARY_DIR);
    EXPECT_EQ(d.RunModal(2 | 4), 1);
    g_WindowGroup.m_vecWindows.clear();
    EXPECT_FALSE(visibleDuring);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(IsWindowVisible(other.m_hWnd));
    EXPECT_TRUE(IsWindowEnabled(other.m_hWnd));
    DestroyWindow(other.m_hWnd);
}

TEST_F(Toolkit, DialogItemStringsNeverCopyMoreThanTheirBufferHolds) {
    cTestDialog d;
    std::string big(6000, 'x'), got1, got2 = "old", got3, got4;
    d.onInit = [&](cTestDialog& t) {
        EXPECT_TRUE(SetDlgItemString(t.m_hWnd, 14, big));
        GetDlgItemString(t.m_hWnd, 14, got1, 100000);  // more than the 5,120-byte buffer
        GetDlgItemString(t.m_hWnd, 14, got2, 0);
        SetDlgItemString(t.m_hWnd, 14, "あいう");
        GetDlgItemString(t.m_hWnd, 14, got3, 6);  // never half a character
        SetDlgItemString(t.m_hWnd, 14, "");
        GetDlgItemString(t.m_hWnd, 14, got4, 10);
    };
    EXPECT_EQ(Run(d, "answer dialog click 1\n"), 1);
    EXPECT_EQ(got1.size(), 5119u);
    EXPECT_EQ(got2, "");
    EXPECT_EQ(got3, "あい");
    EXPECT_EQ(got4, "");
}

}  // namespace
