#include "app/ctrl_scroll.h"

#include "app/dialog.h"

namespace {
const char* const kScrollProperty = "CTRL_SCROLL_CLASS";
}

cCtrlScroll::cCtrlScroll() : m_Settings{0, nullptr, SB_CTL, 0, 0, 0, 0, FALSE}, m_lpPrevWndProc(nullptr) {
    m_nKind = CTRLKIND_SCROLL;
}

cCtrlScroll::~cCtrlScroll() {}

void cCtrlScroll::Bind(cDialog* dialog, const SCROLLBINDING& settings) {
    Attach(dialog, settings.wId);
    m_Settings = settings;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = settings.nMin;
    si.nMax = settings.nMax;
    si.nPage = settings.nPage > 0 ? (UINT)settings.nPage : 0;
    if (settings.lpOwner) SetScrollInfo(settings.lpOwner->m_hWnd, settings.nBar, &si, settings.bRedraw);
    else SetScrollInfo(m_hWnd, SB_CTL, &si, settings.bRedraw);
    if (!m_hWnd) return;
    SetPropA(m_hWnd, kScrollProperty, (HANDLE)this);
    m_lpPrevWndProc = (WNDPROC)SetWindowLongPtrA(m_hWnd, GWL_WNDPROC, (LONG_PTR)&cCtrlScroll::SubclassProc);
}

LRESULT cCtrlScroll::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = (cCtrlScroll*)GetPropA(hwnd, kScrollProperty);
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    WNDPROC prev = self->m_lpPrevWndProc;
    switch (msg) {
    case WM_DESTROY:
        SetWindowLongPtrA(hwnd, GWL_WNDPROC, (LONG_PTR)prev);
        RemovePropA(hwnd, kScrollProperty);
        return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
    case WM_RBUTTONUP:
        return 0;  // no context menu
    default:
        return CallWindowProcA(prev, hwnd, msg, wParam, lParam);
    }
}
