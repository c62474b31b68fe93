// The keyboard hook of the dialogs: in a dialog the focused control gets the key strokes, so a
// thread keyboard hook copies each stroke that reaches the active dialog to the dialog window
// itself (WM_KEYDOWN / WM_KEYUP, or the program's message 2024 for the navigation keys), while
// passing it on unchanged. It keeps out of the way of the input method and tracks Ctrl.
#pragma once

#include "platform/win32/hooks.h"
#include "platform/win32/win32.h"

// The message by which the hook hands a navigation key to a dialog, which sends itself
// WM_KEYDOWN with it.
#define WM_DIALOGKEY 2024

// What the hook does with one stroke that reaches an active dialog.
enum HOOKROUTE { HOOKROUTE_NONE, HOOKROUTE_KEYDOWN, HOOKROUTE_KEYUP, HOOKROUTE_DIALOGKEY };

// The routing rule: the key, its flags (bit 31 set: released), whether the window has an input
// context and whether a composition is open in it, the dialog's modeless flag. Updates the
// Ctrl-held flag.
HOOKROUTE RouteHookedKey(int vk, LPARAM flags, bool hasContext, bool composing, int modeless, int* ctrlHeld);

class cHook {
public:
    cHook();
    virtual ~cHook();
    // Binds the hook object to a dialog window (property "cHook") and installs the thread's
    // keyboard hook when none is installed yet. FALSE when the installation failed.
    BOOL Set(HWND hwnd, int modeless);
    // Removes the hook (shut-down); the unhook result, TRUE when none was installed.
    static BOOL Unset();
    static LRESULT KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    // Program-wide: whether Ctrl is held, as the hook last saw it.
    static int CtrlHeld() { return s_nCtrlHeld; }
    static HHOOK Installed() { return s_hHook; }

    HWND m_hWnd;
    int m_bModeless;

private:
    static HHOOK s_hHook;
    static int s_nCtrlHeld;
};
