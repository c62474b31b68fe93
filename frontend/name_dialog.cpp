#include "frontend/name_dialog.h"

#include "core/checked.h"
#include "core/globals.h"
#include "app/main_window.h"
#include "media/draw_device.h"
#include "records/system_ini.h"

cNameDialog* g_lpNameDialog = nullptr;

namespace {

enum : WORD { IDC_OK = 1000, IDC_CANCEL = 1001, IDC_NAME = 1003, IDC_LABEL = 1007, IDC_PICTURE = 1075 };

const DIALOGITEMDATA kItems[] = {
    {"STATIC", SS_BITMAP, 7, 7, 20, 21, IDC_PICTURE, ""},
    {"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 75, 12, 24, 14, IDC_NAME, ""},
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 35, 50, 18, IDC_OK, "OK"},
    {"STATIC", SS_LEFT | WS_GROUP, 15, 15, 56, 16, IDC_LABEL, "登録名(3文字まで)"},
};

// Dialog resource 102: a pop-up with a modal frame and no title bar.
const DIALOGTEMPLATEDATA kTemplate = {WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT,
                                      0,
                                      0,
                                      110,
                                      65,
                                      "",
                                      "ＭＳ Ｐゴシック",
                                      9,
                                      kItems,
                                      (int)(sizeof kItems / sizeof kItems[0])};

}  // namespace

cNameDialog::cNameDialog(std::string* name, cWindowGroup* group) {
    RegisterDialogTemplate(g_hInstance, 102, &kTemplate);
    SetUp(102, &g_MainWindow, 1, group);
    g_lpNameDialog = this;
    SetDialogProc(&cNameDialog::DlgProc);
    SetPlacement(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    // In a window the position is from the main window's client area, in full screen from
    // the screen's corner.
    POINT origin{0, 0};
    if (g_bDDWindowMode && g_MainWindow.m_hWnd) ClientToScreen(g_MainWindow.m_hWnd, &origin);
    m_nRequestX = origin.x + 240;
    m_nRequestY = origin.y + 220;
    SetCursorPos(m_nRequestX + 80, m_nRequestY + 65);
    EDITENTRY entry;
    entry.binding.Set(IDC_NAME, name, 3, 1);
    m_vecEdits.push_back(entry);
}

cNameDialog::~cNameDialog() {
    if (g_lpNameDialog == this) g_lpNameDialog = nullptr;
}

INT_PTR cNameDialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!g_lpNameDialog) return FALSE;
    return g_lpNameDialog->WndProc(hwnd, msg, wParam, lParam);
}

void cNameDialog::OnInitDialog(WPARAM wParam, LPARAM lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    for (int i = 0; i < (int)m_vecEdits.size(); ++i) {
        EDITENTRY& e = CheckedAt(m_vecEdits, i);
        e.ctrl.Create(this, e.binding);
        m_vecChildren.push_back(&e.ctrl);
    }
    if (!m_vecEdits.empty()) {
        HWND edit = CheckedAt(m_vecEdits, 0).ctrl.m_hWnd;
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, 2147483647);
    }
    if (g_SystemIni.nEnglish) SetDlgItemTextA(m_hWnd, IDC_LABEL, "     Name");
}

LRESULT cNameDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    cDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_OK:
        ControlsToData();
        End(1);
        break;
    case IDC_CANCEL:
        End(0);
        break;
    default:
        break;
    }
    return 0;
}
