// The window object base: every window of the program (the main window, every dialog) is a
// cWindow that records its handle, placement, frame edges and the cursor and mouse state, and
// dispatches the common messages to its virtual handlers.
#pragma once

#include <string>

#include "app/gdi_bitmap.h"
#include "platform/win32/win32.h"

// Cursor and mouse-button state over a window, in view coordinates.
struct CURSORSTATE {
    int x = 0, y = 0;
    int bLeft = 0, bRight = 0;          // held
    int bLeftDown = 0, bRightDown = 0;  // newly pressed
    int bLeftUp = 0, bRightUp = 0;      // newly released
    int screenX = 0, screenY = 0;
};

class cWindow {
public:
    cWindow();
    virtual ~cWindow();

    // Slots 1-9: an empty operation and the mouse and command handlers (empty in the base).
    virtual void Reserved1() {}
    virtual LRESULT OnCommand(WPARAM, LPARAM) { return 0; }
    virtual void OnMouseMove(WPARAM, LPARAM) {}
    virtual void OnLButtonDown(WPARAM, LPARAM) {}
    virtual void OnRButtonDown(WPARAM, LPARAM) {}
    virtual void OnLButtonDblClk(WPARAM, LPARAM) {}
    virtual void OnRButtonDblClk(WPARAM, LPARAM) {}
    virtual void OnLButtonUp(WPARAM, LPARAM) {}
    virtual void OnRButtonUp(WPARAM, LPARAM) {}
    // Slot 10: the window procedure's body (the base answers 0).
    virtual LRESULT WndProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
    // Slot 11: the common dispatcher.
    virtual LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void Reserved12() {}
    // Slot 13: painting (empty in the base).
    virtual void OnPaint(HDC) {}

    // Records the initial client size, the tracking limits and the style, then the frame.
    void SetPlacement(int clientW, int clientH, int minW, int minH, int maxW, int maxH, LONG style, int menu,
                      int toolRows, int statusKind, int reserved, int scrollFlags);
    void ResizeClient(int width, int height);
    void Move(int x, int y);
    void CentreOnDesktop();
    void AddStyle(LONG bits);
    void RemoveStyle(LONG bits);
    // Reads the style and client rectangle from the window and recomputes frame and view.
    void RefreshFrame();
    int OnDefault() { return 1; }
    // Fills a WM_GETMINMAXINFO answer from the recorded size plus the frame edges.
    void FillMinMaxInfo(MINMAXINFO* info) const;
    // Cursor and mouse state (bits: 1 held, 2 newly pressed, 4 newly released); 0 when the
    // cursor is outside the view and `anyPosition` is 0.
    int GetCursorClientPos(int anyPosition, int stateBits);

    int m_nTag;
    HWND m_hWnd;
    HINSTANCE m_hInstance;
    int m_nResourceId;
    HWND m_hParentWnd;
    void* m_lpDlgProc;
    // Two holders of GDI drawing resources, released second first when the window object goes.
    cGdiBitmap m_Gdi1;
    cGdiBitmap m_Gdi2;
    int m_nScreenX, m_nScreenY;
    int m_nViewX, m_nViewY, m_nViewW, m_nViewH;
    CURSORSTATE m_Cursor;
    CURSORSTATE m_CursorAtInit;
    int m_nInitClientW, m_nInitClientH;
    RECT m_rcClient;
    int m_nMinTrackW, m_nMinTrackH, m_nMaxTrackW, m_nMaxTrackH;
    int m_nPlaceClientW, m_nPlaceClientH, m_nPlaceMinW, m_nPlaceMinH, m_nPlaceMaxW, m_nPlaceMaxH;
    int m_nOuterW, m_nOuterH;
    LONG m_lStyle;
    int m_bMenu;
    int m_nToolRows;
    int m_nStatusKind;
    int m_nReserved;
    int m_nScrollFlags;
    int m_nFrameLeft, m_nFrameRight, m_nFrameTop, m_nFrameBottom;
    int m_bFocusRedirect;
    int m_bCommandGuard;
    int m_nRequestX, m_nRequestY;
    cWindow* m_lpReference;
    int m_bRelative, m_bCentre;
    int m_bModeless;
    int m_nRunFlags;
    WNDPROC m_lpPrevWndProc;
    INT_PTR m_nResult;
};
