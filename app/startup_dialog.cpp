#include "app/startup_dialog.h"

#include <new>

#include "app/boot_data.h"
#include "core/checked.h"
#include "app/main_window.h"
#include "core/report.h"
#include "records/data_paths.h"
#include "records/system_data.h"
#include "records/system_ini.h"

cStartupDialog* g_lpStartupDialog = nullptr;

namespace {

enum : WORD {
    IDC_START = 1000,
    IDC_CANCEL = 1001,
    IDC_D3D = 1002,
    IDC_DDRAW = 1003,
    IDC_NOSHOW = 1004,
    IDC_HINT = 1005,
    IDC_DRAWMODE = 1006,
    IDC_PICTURE = 1075,
};

const DIALOGITEMDATA kItems[] = {
    {"STATIC", SS_BITMAP, 7, 7, 20, 21, IDC_PICTURE, ""},
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 80, 105, 50, 25, IDC_START, "ゲーム開始"},
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 80, 140, 50, 18, IDC_CANCEL, "ゲーム中止"},
    {"BUTTON", BS_GROUPBOX, 15, 15, 190, 55, IDC_DRAWMODE, "描画モード"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 20, 30, 42, 10, IDC_D3D, "Direct3D"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 80, 30, 45, 10, IDC_DDRAW, "DirectDraw"},
    {"STATIC", SS_LEFT | SS_NOPREFIX, 20, 50, 177, 12, IDC_HINT, "詳細な設定は環境設定ファイル「System.ini」で行って下さい。"},
    {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 50, 85, 120, 10, IDC_NOSHOW, "次回からこのダイアログを表示しない"},
};

// Dialog resource 103.
const DIALOGTEMPLATEDATA kTemplate = {WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
                                      0,
                                      0,
                                      222,
                                      171,
                                      "",
                                      "ＭＳ Ｐゴシック",
                                      9,
                                      kItems,
                                      (int)(sizeof kItems / sizeof kItems[0])};

}  // namespace

cStartupDialog::cStartupDialog(cWindowGroup* group) {
    RegisterDialogTemplate(g_hInstance, 103, &kTemplate);
    SetUp(103, &g_MainWindow, 1, group);
    m_vecCheck.emplace_back(IDC_NOSHOW, &g_BootData.m_bNoShow);
    m_vecRadio.emplace_back(IDC_D3D, &g_BootData.m_nDrawMode, 1);
    m_vecRadio.emplace_back(IDC_DDRAW, &g_BootData.m_nDrawMode, 0);
    m_vecStatic.emplace_back(IDC_HINT);
    g_lpStartupDialog = this;
    SetDialogProc(&cStartupDialog::DlgProc);
    SetPlacement(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    // Over the main window: its centre less half the dialog's usual size.
    m_nRequestX = (int)(g_MainWindow.m_nScreenX + 320 - 187.0);
    m_nRequestY = (int)(g_MainWindow.m_nScreenY + 240 - 136.0);
    SetCursorPos((int)(m_nRequestX + 181.9), (int)(m_nRequestY + 198.9));
}

cStartupDialog::~cStartupDialog() {
    if (g_lpStartupDialog == this) g_lpStartupDialog = nullptr;
}

INT_PTR cStartupDialog::DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!g_lpStartupDialog) return FALSE;
    return g_lpStartupDialog->WndProc(hwnd, msg, wParam, lParam);
}

void cStartupDialog::OnInitDialog(WPARAM wParam, LPARAM lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    SetWindowTextA(m_hWnd, g_SystemData.m_strTitle.c_str());
    for (int i = 0; i < (int)m_vecRadio.size(); ++i) {
        cCtrlRadio& c = CheckedAt(m_vecRadio, i);
        c.Attach(this, c.m_wId);
        m_vecChildren.push_back(&c);
    }
    for (int i = 0; i < (int)m_vecCheck.size(); ++i) {
        cCtrlCheck& c = CheckedAt(m_vecCheck, i);
        c.Attach(this, c.m_wId);
        m_vecChildren.push_back(&c);
    }
    for (int i = 0; i < (int)m_vecStatic.size(); ++i) {
        cCtrlStatic& c = CheckedAt(m_vecStatic, i);
        c.Attach(this, c.m_wId);
        m_vecChildren.push_back(&c);
    }
    DataToControls();
    if (g_SystemIni.nEnglish) {
        SetDlgItemTextA(m_hWnd, IDC_DRAWMODE, "Drawing mode");
        SetDlgItemTextA(m_hWnd, IDC_START, "Start");
        SetDlgItemTextA(m_hWnd, IDC_CANCEL, "Cancel");
        SetWindowTextWrap(CheckedAt(m_vecStatic, 0).m_hWnd, "Configure the detail settings at \"System.ini\".");
        SetWindowTextWrap(CheckedAt(m_vecCheck, 0).m_hWnd, "Do not ask this dialog again");
    }
}

LRESULT cStartupDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    cDialog::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_START:
        ControlsToData();
        // A Boot.dat that cannot be saved does not stop start-up.
        g_BootData.SaveFile(g_PathTable[PATH_BOOT]);
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

bool RunStartupDialogStep() {
    if (g_SystemIni.nDirect3D < 2) return true;
    // A missing or unreadable Boot.dat keeps the defaults (Direct3D, ask).
    g_BootData.LoadFile(g_PathTable[PATH_BOOT]);
    if (g_BootData.m_bNoShow == 0) {
        cStartupDialog* dialog = new (std::nothrow) cStartupDialog(&g_WindowGroup);
        if (!dialog) {
            OutOfMemoryClose();
            return false;
        }
        INT_PTR result = dialog->RunModal(0);
        delete dialog;
        if (result == 0) return false;
        // A dialog that could not be made is no Start: nothing was chosen or saved.
        if (result == -1) WriteReport("DialogBoxParam Err (%d)", 103);
    }
    g_SystemIni.nDirect3D = g_BootData.m_nDrawMode == 1 ? 1 : 0;
    return true;
}
