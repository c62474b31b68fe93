#include "app/ctrl_edit.h"

#include "app/dialog.h"
#include "app/dlg_item_string.h"
#include "app/edit_limits.h"

cEditBinding::cEditBinding()
    : wId(0), lpString(nullptr), nBufferSize(0), nPerLine(0), nLines(0), bCharMode(0), nLayout{0, 0, 0, 0} {}

void cEditBinding::Set(WORD id, std::string* text, int maximum, int charMode) {
    wId = id;
    lpString = text;
    nBufferSize = maximum + 1;
    nPerLine = charMode ? maximum : 0;
    nLines = 1;
    bCharMode = charMode;
}

cCtrlEdit::cCtrlEdit()
    : m_lpString(nullptr), m_nTotal(4096), m_nPerLine(1024), m_nLines(32), m_bCharMode(0), m_bRestore(0),
      m_nSelStart(0), m_nSelEnd(0), m_nLayout{0, 0, 0, 0} {
    m_nKind = CTRLKIND_EDIT;
}

cCtrlEdit::~cCtrlEdit() {}

void cCtrlEdit::Create(cDialog* dialog, const cEditBinding& b) {
    Attach(dialog, b.wId);
    m_nTextWord = 2;
    m_lpString = b.lpString;
    m_nTotal = b.nBufferSize ? b.nBufferSize : 4096;
    m_nPerLine = b.nPerLine ? b.nPerLine : 1024;
    m_nLines = b.nLines ? b.nLines : 32;
    m_bCharMode = b.bCharMode;
    for (int i = 0; i < 4; ++i) m_nLayout[i] = b.nLayout[i];
    m_strLast = m_lpString ? *m_lpString : std::string();
    // Showing the string raises EN_UPDATE: the last accepted text must be in place first.
    SetDlgItemString(m_hDlgWnd, m_wId, m_strLast);
}

void cCtrlEdit::DataToControl() {
    if (m_lpString) SetDlgItemString(m_hDlgWnd, m_wId, *m_lpString);
}

void cCtrlEdit::ControlToData() {
    if (m_lpString) GetDlgItemString(m_hDlgWnd, m_wId, *m_lpString, ReadCount());
}

void cCtrlEdit::OnChange() {
    // Writing the text back raises EN_UPDATE again.
    if (m_bBusy) return;
    m_bBusy = 1;
    std::string text;
    GetDlgItemString(m_hDlgWnd, m_wId, text, ReadCount());
    DWORD s = 0, e = 0;
    SendMessageA(m_hWnd, EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
    m_nSelStart = (int)s;
    m_nSelEnd = (int)e;
    EDITLIMITS lim{m_nPerLine, m_nLines, m_bCharMode};
    bool backspace = (GetAsyncKeyState(VK_BACK) & 0x8000) != 0;
    EDITCHANGE r = ApplyEditLimits(text, m_nSelStart, m_nSelEnd, m_strLast, backspace, lim);
    SetDlgItemString(m_hDlgWnd, m_wId, r.text);
    SendMessageA(m_hWnd, EM_SETSEL, (WPARAM)r.nSelStart, (LPARAM)r.nSelEnd);
    m_strLast = r.text;
    m_bBusy = 0;
}
