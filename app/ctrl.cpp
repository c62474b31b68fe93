#include "app/ctrl.h"

#include "app/dialog.h"

cCtrl::cCtrl()
    : m_hWnd(nullptr), m_lpDialog(nullptr), m_hDlgWnd(nullptr), m_nKind(CTRLKIND_STATIC), m_wId(0), m_nScreenX(0),
      m_nScreenY(0), m_nClientX(0), m_nClientY(0), m_bBusy(0) {}

cCtrl::~cCtrl() {}

void cCtrl::Enable(BOOL bEnable) { EnableWindow(m_hWnd, bEnable); }

void cCtrl::Attach(cDialog* dialog, int id) {
    m_lpDialog = dialog;
    m_hDlgWnd = dialog ? dialog->m_hWnd : nullptr;
    m_wId = (WORD)id;
    m_strTip.clear();
    m_hWnd = GetDlgItem(m_hDlgWnd, id);
    RECT r{0, 0, 0, 0};
    if (m_hWnd) GetWindowRect(m_hWnd, &r);
    m_nScreenX = r.left;
    m_nScreenY = r.top;
    // Relative to the dialog's client area: less the dialog's window origin and frame.
    RECT d{0, 0, 0, 0};
    if (m_hDlgWnd) GetWindowRect(m_hDlgWnd, &d);
    int frameLeft = dialog ? dialog->m_nFrameLeft : 0, frameTop = dialog ? dialog->m_nFrameTop : 0;
    m_nClientX = r.left - d.left - frameLeft;
    m_nClientY = r.top - d.top - frameTop;
}

cCtrlStatic::cCtrlStatic(WORD id) {
    m_nKind = CTRLKIND_STATIC;
    m_wId = id;
}

cCtrlCheck::cCtrlCheck(WORD id, int* value) : m_lpValue(value) {
    m_nKind = CTRLKIND_CHECK;
    m_wId = id;
}

void cCtrlCheck::DataToControl() {
    if (m_lpValue) SendMessageA(m_hWnd, BM_SETCHECK, (WPARAM)(*m_lpValue ? BST_CHECKED : BST_UNCHECKED), 0);
}

void cCtrlCheck::ControlToData() {
    if (m_lpValue) *m_lpValue = SendMessageA(m_hWnd, BM_GETCHECK, 0, 0) ? 1 : 0;
}

cCtrlRadio::cCtrlRadio(WORD id, int* value, int standsFor) : m_lpValue(value), m_nValue(standsFor) {
    m_nKind = CTRLKIND_RADIO;
    m_wId = id;
}

void cCtrlRadio::DataToControl() {
    if (m_lpValue) SendMessageA(m_hWnd, BM_SETCHECK, (WPARAM)(*m_lpValue == m_nValue ? BST_CHECKED : BST_UNCHECKED), 0);
}

void cCtrlRadio::ControlToData() {
    if (m_lpValue && SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)) *m_lpValue = m_nValue;
}

cCtrlBitmap::cCtrlBitmap() { m_nKind = CTRLKIND_BITMAP; }

BOOL SetWindowTextWrap(HWND control, const char* text) { return SetWindowTextA(control, text); }
