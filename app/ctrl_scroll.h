// The scroll-bar control (kind 11): binds a dialog's scroll bar, either a scroll-bar control of
// its own or a bar of an owner's window, to a range and a page.
#pragma once

#include "app/ctrl.h"

struct SCROLLBINDING {
    WORD wId;
    cCtrl* lpOwner;  // null: the scroll bar is a control window of its own
    int nBar;        // SB_CTL, SB_HORZ or SB_VERT (with an owner)
    int nWord;       // kept with the control
    int nMin;
    int nMax;
    int nPage;
    BOOL bRedraw;
};

class cCtrlScroll : public cCtrl {
public:
    cCtrlScroll();
    ~cCtrlScroll() override;
    // Attaches to the dialog's item, sets range and page, and subclasses the scroll bar's window
    // (property "CTRL_SCROLL_CLASS"): its context menu never opens, and its window procedure is
    // restored when the window goes.
    void Bind(cDialog* dialog, const SCROLLBINDING& settings);
    static LRESULT SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    SCROLLBINDING m_Settings;
    WNDPROC m_lpPrevWndProc;
};
