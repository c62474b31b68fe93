#include "app/dialog.h"

#include "core/checked.h"
#include "app/main_window.h"
#include "core/report.h"

cWindowGroup g_WindowGroup;

namespace {
const char* const kDialogProperty = "DLG_CLASS";
}

cDialog::cDialog() : m_lpParent(nullptr), m_nWord(0), m_lpGroup(nullptr) {}

cDialog::~cDialog() {}

void cDialog::SetUp(int resourceId, cWindow* parent, int tag, cWindowGroup* group) {
    m_nTag = tag;
    m_bFocusRedirect = 0;
    m_bModeless = 0;
    m_nRunFlags = 0;
    m_nWord = 0;
    SetId(resourceId, parent, group);
}

void cDialog::SetId(int resourceId, cWindow* parent, cWindowGroup* group) {
    m_lpParent = parent;
    m_hParentWnd = parent ? parent->m_hWnd : nullptr;
    m_lpPrevWndProc = nullptr;
    m_nResourceId = resourceId & 0xFFFF;
    m_lpGroup = group;
    m_hInstance = g_MainWindow.m_hWnd ? (HINSTANCE)GetWindowLongPtrA(g_MainWindow.m_hWnd, GWL_HINSTANCE) : nullptr;
}

void cDialog::ApplyRunFlags(bool during) {
    if (!m_lpGroup || !(m_nRunFlags & 6)) return;
    for (auto* list : {&m_lpGroup->m_vecWindows, &m_lpGroup->m_vecToolOwners}) {
        for (int i = 0; i < (int)list->size(); ++i) {
            cWindow* w = CheckedAt(*list, i);
            if (!w || !w->m_hWnd) continue;
            if (m_nRunFlags & 2) ShowWindow(w->m_hWnd, during ? SW_HIDE : SW_SHOW);
            if (m_nRunFlags & 4) EnableWindow(w->m_hWnd, during ? FALSE : TRUE);
        }
    }
}

INT_PTR cDialog::RunModal(int runFlags) {
    if (m_hWnd) return 0;
    End(0);
    m_bModeless = 0;
    m_nRunFlags = runFlags;
    ApplyRunFlags(true);
    INT_PTR r = DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(m_nResourceId), m_hParentWnd, (DLGPROC)m_lpDlgProc, 0);
    m_hWnd = nullptr;
    ApplyRunFlags(false);
    return r;
}

void cDialog::End(INT_PTR result) {
    m_nResult = result;
    m_vecChildren.clear();
    if (m_bModeless) DestroyWindow(m_hWnd);
    else if (m_hWnd) EndDialog(m_hWnd, result);
}

void cDialog::DataToControls() {
    for (int i = 0; i < (int)m_vecChildren.size(); ++i) CheckedAt(m_vecChildren, i)->DataToControl();
}

void cDialog::ControlsToData() {
    for (int i = 0; i < (int)m_vecChildren.size(); ++i) CheckedAt(m_vecChildren, i)->ControlToData();
}

void cDialog::Reserved12() {
    for (int i = 0; i < (int)m_vecChildren.size(); ++i) {
        cCtrl* c = CheckedAt(m_vecChildren, i);
        if (c->m_nKind == 8) c->Reserved8();
    }
}

LRESULT cDialog::OnCommand(WPARAM wParam, LPARAM) {
    int id = LOWORD(wParam), code = HIWORD(wParam);
    for (int i = 0; i < (int)m_vecChildren.size(); ++i) {
        cCtrl* c = CheckedAt(m_vecChildren, i);
        if (c->m_wId != id) continue;
        int kind = c->m_nKind;
        if ((kind == 2 || kind == 3) && code == EN_UPDATE) {
            c->OnChange();
            break;
        }
        if ((kind == 2 || kind == 3) && code == EN_KILLFOCUS) {
            c->OnOtherNotification();
            break;
        }
        if ((kind == 7 || kind == 8) && code == 1) {
            c->OnChange();
            break;
        }
        if (kind == 8 && code == 5) {
            c->OnOtherNotification();
            break;
        }
    }
    for (int i = 0; i < (int)m_vecChildren.size(); ++i) {
        cCtrl* c = CheckedAt(m_vecChildren, i);
        if (c->m_nKind != 8) continue;
        SendMessageA(c->m_hWnd, WM_SETREDRAW, FALSE, 0);
        c->AfterCommand();
    }
    return 0;
}

LRESULT cDialog::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = OnMessage(hwnd, msg, wParam, lParam);
    if (msg == WM_DESTROY) return TRUE;
    if (msg == WM_CLOSE) {
        // Closing the window (the close box, Alt+F4, Esc) is Cancel.
        End(0);
        return TRUE;
    }
    return r ? TRUE : FALSE;
}

LRESULT cDialog::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = cWindow::OnMessage(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(wParam, lParam);
        break;
    case WM_DESTROY:
        ApplyRunFlags(false);
        break;
    case WM_NOTIFY:
        for (int i = 0; i < (int)m_vecChildren.size(); ++i)
            if (CheckedAt(m_vecChildren, i)->OnNotify(wParam, lParam)) break;
        break;
    case WM_KEYDOWN:
        if (!m_bModeless) {
            for (int i = 0; i < (int)m_vecChildren.size(); ++i)
                CheckedAt(m_vecChildren, i)->OnKey((int)wParam, lParam, cHook::CtrlHeld());
        }
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        for (int i = 0; i < (int)m_vecChildren.size(); ++i)
            if (CheckedAt(m_vecChildren, i)->OnScroll(wParam, lParam)) break;
        break;
    case WM_DIALOGKEY:
        SendMessageA(hwnd, WM_KEYDOWN, wParam, lParam);
        break;
    default:
        break;
    }
    return r;
}

LRESULT cDialog::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = (cDialog*)GetPropA(hwnd, kDialogProperty);
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return CallWindowProcA(self->m_lpPrevWndProc, hwnd, msg, wParam, lParam);
}

POINT ClampDialogPosition(int x, int y, int width, int height, const RECT& work) {
    if (x < work.left) x = work.left;
    else if (x + width >= work.right) x = work.right - width;
    if (y < work.top) y = work.top;
    else if (y + height >= work.bottom) y = work.bottom - height;
    return POINT{x, y};
}

void cDialog::Place() {
    RECT work{0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x, y;
    if (m_lpReference && m_lpReference->m_hWnd) {
        RECT ref;
        GetWindowRect(m_lpReference->m_hWnd, &ref);
        x = ref.left;
        y = ref.top;
        if (m_bCentre) {
            x += ((ref.right - ref.left) - m_nOuterW) / 2;
            y += ((ref.bottom - ref.top) - m_nOuterH) / 2;
        }
    } else {
        // Without a requested position the dialog stays where it was put.
        if (m_nRequestX == -1000 || m_nRequestY == -1000) return;
        x = m_nRequestX;
        y = m_nRequestY;
    }
    POINT p = ClampDialogPosition(x, y, m_nOuterW, m_nOuterH, work);
    m_nRequestX = p.x;
    m_nRequestY = p.y;
    Move(p.x, p.y);
}

void cDialog::OnInitDialog(WPARAM, LPARAM) {
    m_vecChildren.clear();
    if (m_hWnd && !GetPropA(m_hWnd, kDialogProperty)) {
        SetPropA(m_hWnd, kDialogProperty, (HANDLE)this);
        m_lpPrevWndProc = (WNDPROC)SetWindowLongPtrA(m_hWnd, GWL_WNDPROC, (LONG_PTR)&cDialog::SubclassProc);
    }
    RefreshFrame();
    if (m_nInitClientW > 0 && m_nInitClientH > 0) ResizeClient(m_nInitClientW, m_nInitClientH);
    Place();
    if (!m_Hook.Set(m_hWnd, m_bModeless)) MesBoxF("KeyboardHookに失敗!");
    GetCursorClientPos(0, 7);
    m_CursorAtInit = m_Cursor;
}
