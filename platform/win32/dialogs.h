// Modal dialogs and their controls, drawn by the layer itself.
//
// A dialog is built from a dialog template that the program registers (its dialog resources):
// a top-level window of its own with child controls laid out in dialog units of the dialog's
// font. DialogBoxParamA runs it modally on the window thread: the owner is disabled, the
// dialog's window is drawn and shown (in its own host window), and the dialog loop serves
// pending sends, dispatches messages and does the keyboard work of a dialog (Tab and Shift+Tab
// between tab stops, Enter for the focused or default push button, Space on buttons, arrow
// keys within a group of radio buttons, Esc and Alt+F4 as the window's close box, that is
// WM_CLOSE to the dialog). A WM_CLOSE for another window that arrives meanwhile ends the dialog
// (WM_CLOSE to it) and is posted again once the dialog has returned; a WM_QUIT ends it and is
// posted again.
//
// Controls (window classes "BUTTON", "STATIC", "EDIT", "SCROLLBAR"): push and default push
// buttons, group boxes, auto radio buttons, auto check boxes, static texts and pictures,
// single-line edit boxes (caret, selection, clipboard, input-method composition; EN_UPDATE
// after every change of the text, also a programmatic one, and EN_KILLFOCUS) and scroll bars.
// Buttons report BN_CLICKED; every notification is a WM_COMMAND sent to the dialog.
//
// Under the test driver every dialog is answered from the script (host/script.h): a line
// "answer dialog ACTION..." is taken for each dialog, in order, and its actions are carried out
// through the same input the user gives:
//   click ID           a mouse click on the control
//   type ID "TEXT"     focus the edit control (selecting its text, as Tab does) and type
//   key KEY            a key stroke (press and release) to the focused control
//   down KEY / up KEY  a key pressed and held / released (Shift+Tab, Alt+F4)
//   close              the window's close box
//   wait MS            leave the dialog up for MS real milliseconds
//   capture FILE.png   save the dialog as drawn (relative to the script's folder)
// When the actions are done and the dialog is still up, it is closed. A dialog without an
// answer line, or any dialog without a display, is answered with Enter (its default button).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/messages.h"

// ---- dialog styles and messages ----
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define WM_GETDLGCODE 0x0087

// Button styles.
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_GROUPBOX 0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_TYPEMASK 0x0000000FL
// Static styles.
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
// Edit styles.
#define ES_LEFT 0x0000L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L
// Scroll-bar styles.
#define SBS_HORZ 0x0000L
#define SBS_VERT 0x0001L

// Button messages and states.
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BN_CLICKED 0
// Edit messages and notifications.
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_UPDATE 0x0400

typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// Runs a dialog of a registered template modally (window thread). Returns the value given to
// EndDialog, or -1 when the dialog cannot be made (no such template, no owner window of that
// handle, a window that cannot be created). The dialog procedure gets WM_INITDIALOG with the
// first tab stop in wParam and `dwInitParam` in lParam; when it answers TRUE that control gets
// the focus (as does the first tab stop when the procedure left the focus outside the dialog).
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);
// Ends a modal dialog after the message being handled; FALSE for a window that is not one.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
// The item's text, cut to nMaxCount - 1 bytes on a character boundary; returns its length.
UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int nMaxCount);
BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
// Moves the mouse cursor (screen coordinates).
BOOL SetCursorPos(int X, int Y);

// ---- scroll bars ----
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// SB_CTL addresses a scroll-bar control; SB_HORZ / SB_VERT the bars of any window (kept, not
// drawn: no window of the program shows standard bars). The position is kept within
// nMin .. nMax - max(nPage - 1, 0). Returns the position.
int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi);

// ---- our own additions: dialog templates and drawing ----
struct DIALOGITEMDATA {
    const char* className;  // "BUTTON", "STATIC", "EDIT", "SCROLLBAR" (or a registered class)
    DWORD style;            // WS_CHILD and WS_VISIBLE are added
    short x, y, cx, cy;     // dialog units
    WORD id;
    const char* text;       // Shift-JIS
};

struct DIALOGTEMPLATEDATA {
    DWORD style;            // WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT ...
    short x, y, cx, cy;     // dialog units; (x, y) from the owner's client origin
    const char* caption;    // Shift-JIS
    const char* fontFace;   // Shift-JIS face name
    WORD pointSize;         // points at 96 pixels per inch
    const DIALOGITEMDATA* items;
    int itemCount;
};

// Makes a template known under a resource id (the data must stay alive). A second
// registration of an id replaces the first. The module is accepted and ignored.
BOOL RegisterDialogTemplate(HINSTANCE hInstance, WORD id, const DIALOGTEMPLATEDATA* lpTemplate);
// The dialog's client area as the layer draws it, caret shown (X8R8G8B8, width * 4 per row).
BOOL DrawDialogPixels(HWND hDlg, std::vector<uint32_t>* pixels, int* width, int* height);
// Dialog-unit base of a font (face, points): the average width of the 52 Latin letters and the
// cell height, from which x dialog units are x * base width / 4 pixels and y units y * base
// height / 8 pixels.
SIZE DialogBaseUnits(const char* fontFace, int pointSize);
