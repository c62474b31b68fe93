#include "app/window.h"

namespace {
// One program-wide latch per button for the newly-pressed state.
int g_leftLatch = 0;
int g_rightLatch = 0;
}  // namespace

cWindow::cWindow()
    : m_nTag(0), m_hWnd(nullptr), m_hInstance(nullptr), m_nResourceId(0), m_hParentWnd(nullptr),
      m_lpDlgProc(nullptr), m_nScreenX(0), m_nScreenY(0), m_nViewX(0), m_nViewY(0), m_nViewW(0), m_nViewH(0),
      m_nInitClientW(0), m_nInitClientH(0), m_rcClient{0, 0, 0, 0}, m_nMinTrackW(0), m_nMinTrackH(0),
      m_nMaxTrackW(0), m_nMaxTrackH(0), m_nPlaceClientW(0), m_nPlaceClientH(0), m_nPlaceMinW(0), m_nPlaceMinH(0),
      m_nPlaceMaxW(0), m_nPlaceMaxH(0), m_nOuterW(0), m_nOuterH(0), m_lStyle(0), m_bMenu(0), m_nToolRows(0),
      m_nStatusKind(0), m_nReserved(0), m_nScrollFlags(0), m_nFrameLeft(0), m_nFrameRight(0), m_nFrameTop(0),
      m_nFrameBottom(0), m_bFocusRedirect(0), m_bCommandGuard(0), m_nRequestX(-1000), m_nRequestY(-1000),
      m_lpReference(nullptr), m_bRelative(0), m_bCentre(0), m_bModeless(0), m_nRunFlags(0),
      m_lpPrevWndProc(nullptr), m_nResult(0) {}

cWindow::~cWindow() {}

void cWindow::SetPlacement(int clientW, int clientH, int minW, int minH, int maxW, int maxH, LONG style, int menu,
                           int toolRows, int statusKind, int reserved, int scrollFlags) {
    m_nPlaceClientW = clientW;
    m_nPlaceClientH = clientH;
    m_nPlaceMinW = minW;
    m_nPlaceMinH = minH;
    m_nPlaceMaxW = maxW;
    m_nPlaceMaxH = maxH;
    m_lStyle = style;
    m_bMenu = menu;
    m_nToolRows = toolRows;
    m_nStatusKind = statusKind;
    m_nReserved = reserved;
    m_nScrollFlags = scrollFlags;
    // Extra rows and bars enlarge every recorded size.
    int addW = (scrollFlags & 2) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    int addH = ((scrollFlags & 1) ? GetSystemMetrics(SM_CYHSCROLL) : 0) + toolRows * 28 +
               ((statusKind == 1 || statusKind == 2) ? 20 : 0);
    m_nInitClientW = clientW ? clientW + addW : 0;
    m_nInitClientH = clientH ? clientH + addH : 0;
    m_nMinTrackW = minW + addW;
    m_nMinTrackH = minH + addH;
    m_nMaxTrackW = maxW + addW;
    m_nMaxTrackH = maxH + addH;
    m_rcClient = RECT{0, 0, m_nInitClientW, m_nInitClientH};
    RefreshFrame();
}

void cWindow::RefreshFrame() {
    if (m_hWnd) {
        m_lStyle = GetWindowLongA(m_hWnd, GWL_STYLE);
        GetClientRect(m_hWnd, &m_rcClient);
    }
    m_nFrameLeft = m_nFrameRight = m_nFrameTop = m_nFrameBottom = 0;
    if (m_lStyle & WS_CAPTION) m_nFrameTop += GetSystemMetrics(SM_CYCAPTION);
    if (m_lStyle & WS_THICKFRAME) {
        m_nFrameLeft = m_nFrameRight = GetSystemMetrics(SM_CXFRAME);
        m_nFrameTop += GetSystemMetrics(SM_CYFRAME);
        m_nFrameBottom = GetSystemMetrics(SM_CYFRAME);
    } else if (m_lStyle & WS_DLGFRAME) {
        m_nFrameLeft = m_nFrameRight = GetSystemMetrics(SM_CXDLGFRAME);
        m_nFrameTop += GetSystemMetrics(SM_CYDLGFRAME);
        m_nFrameBottom = GetSystemMetrics(SM_CYDLGFRAME);
    }
    if (m_bMenu) m_nFrameTop += GetSystemMetrics(SM_CYMENU);
    int cw = m_rcClient.right - m_rcClient.left, ch = m_rcClient.bottom - m_rcClient.top;
    m_nOuterW = cw + m_nFrameLeft + m_nFrameRight;
    m_nOuterH = ch + m_nFrameTop + m_nFrameBottom;
    m_nViewX = 0;
    m_nViewY = m_nToolRows * 28;
    m_nViewW = cw - ((m_nScrollFlags & 2) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    m_nViewH = ch - m_nToolRows * 28 - ((m_nScrollFlags & 1) ? GetSystemMetrics(SM_CYHSCROLL) : 0) -
               (m_nStatusKind == 1 ? 20 : 0);
}

void cWindow::ResizeClient(int width, int height) {
    if (m_hWnd) {
        RECT r;
        GetWindowRect(m_hWnd, &r);
        SetWindowPos(m_hWnd, nullptr, r.left, r.top, width + m_nFrameLeft + m_nFrameRight,
                     height + m_nFrameTop + m_nFrameBottom, 0);
    }
    m_rcClient = RECT{0, 0, width, height};
    RefreshFrame();
}

void cWindow::Move(int x, int y) {
    if (m_hWnd) SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_nScreenX = x;
    m_nScreenY = y;
    RefreshFrame();
}

void cWindow::CentreOnDesktop() {
    RECT d;
    GetWindowRect(GetDesktopWindow(), &d);
    RECT r{0, 0, m_nOuterW, m_nOuterH};
    if (m_hWnd) GetWindowRect(m_hWnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    Move(d.left + (d.right - d.left - w) / 2, d.top + (d.bottom - d.top - h) / 2);
}

void cWindow::AddStyle(LONG bits) {
    if (m_hWnd) SetWindowLongA(m_hWnd, GWL_STYLE, GetWindowLongA(m_hWnd, GWL_STYLE) | bits);
    else m_lStyle |= bits;
    RefreshFrame();
}

void cWindow::RemoveStyle(LONG bits) {
    if (m_hWnd) SetWindowLongA(m_hWnd, GWL_STYLE, GetWindowLongA(m_hWnd, GWL_STYLE) & ~bits);
    else m_lStyle &= ~bits;
    RefreshFrame();
}

void cWindow::FillMinMaxInfo(MINMAXINFO* info) const {
    if (!info) return;
    int fw = m_nFrameLeft + m_nFrameRight, fh = m_nFrameTop + m_nFrameBottom;
    info->ptMinTrackSize = POINT{m_nMinTrackW + fw, m_nMinTrackH + fh};
    info->ptMaxTrackSize = POINT{m_nMaxTrackW + fw, m_nMaxTrackH + fh};
}

int cWindow::GetCursorClientPos(int anyPosition, int stateBits) {
    POINT screen;
    GetCursorPos(&screen);
    POINT p = screen;
    if (m_hWnd) ScreenToClient(m_hWnd, &p);
    int x = p.x - m_nViewX, y = p.y - m_nViewY;
    if (!anyPosition && (x < 0 || x >= m_nViewW || y < 0 || y >= m_nViewH)) return 0;
    m_Cursor.x = x;
    m_Cursor.y = y;
    m_Cursor.screenX = screen.x;
    m_Cursor.screenY = screen.y;
    int left = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? 1 : 0;
    int right = (GetAsyncKeyState(VK_RBUTTON) & 0x8000) ? 1 : 0;
    if (stateBits & 4) {
        m_Cursor.bLeftUp = (m_Cursor.bLeft && !left) ? 1 : 0;
        m_Cursor.bRightUp = (m_Cursor.bRight && !right) ? 1 : 0;
    }
    if (stateBits & 2) {
        m_Cursor.bLeftDown = (left && !g_leftLatch) ? 1 : 0;
        m_Cursor.bRightDown = (right && !g_rightLatch) ? 1 : 0;
        g_leftLatch = left;
        g_rightLatch = right;
    }
    if (stateBits & 1) {
        m_Cursor.bLeft = left;
        m_Cursor.bRight = right;
    }
    return 1;
}

LRESULT cWindow::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    m_hWnd = hwnd;
    if (msg == WM_COMMAND) {
        if (m_bCommandGuard) return 0;
        m_bCommandGuard = 1;
    }
    GetCursorClientPos(0, 7);
    switch (msg) {
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 1;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 1;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 1;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 1;
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 1;
    case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 1;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, lParam); return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        OnPaint(dc);
        EndPaint(hwnd, &ps);
        return 1;
    }
    case WM_DESTROY:
        m_hWnd = nullptr;
        return 1;
    case WM_MOVE: {
        RECT r;
        GetWindowRect(hwnd, &r);
        m_nScreenX = r.left;
        m_nScreenY = r.top;
        return 1;
    }
    case WM_SIZE:
        RefreshFrame();
        return 1;
    case WM_GETMINMAXINFO:
        FillMinMaxInfo((MINMAXINFO*)lParam);
        return 1;
    case WM_ACTIVATEAPP:
        return 1;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        m_bCommandGuard = 0;
        return 1;
    default:
        return 0;
    }
}
