#include "app/hook.h"

HHOOK cHook::s_hHook = nullptr;
int cHook::s_nCtrlHeld = 0;

namespace {

// Keys that a dialog gets as message 2024 while no composition is open.
bool IsNavigationKey(int vk) {
    switch (vk) {
    case VK_SPACE:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_DELETE:
        return true;
    default:
        return vk >= VK_F1 && vk <= VK_F8;
    }
}

}  // namespace

HOOKROUTE RouteHookedKey(int vk, LPARAM flags, bool hasContext, bool composing, int modeless, int* ctrlHeld) {
    if (flags & (LPARAM)0x80000000u) {
        if (vk == VK_CONTROL) *ctrlHeld = 0;
        return (modeless == 0 || *ctrlHeld == 0) ? HOOKROUTE_KEYUP : HOOKROUTE_NONE;
    }
    // Tab moves the focus as usual and is never copied.
    if (vk == VK_TAB) return HOOKROUTE_NONE;
    if (vk == VK_RETURN) {
        // Enter that completes a composition belongs to the input method.
        if (hasContext && composing) return HOOKROUTE_NONE;
    } else {
        if (hasContext && !composing && IsNavigationKey(vk)) return HOOKROUTE_DIALOGKEY;
        if (vk == VK_CONTROL) *ctrlHeld = 1;
    }
    return (modeless == 0 || *ctrlHeld == 0) ? HOOKROUTE_KEYDOWN : HOOKROUTE_NONE;
}

cHook::cHook() : m_hWnd(nullptr), m_bModeless(0) {}

cHook::~cHook() {}

BOOL cHook::Set(HWND hwnd, int modeless) {
    m_hWnd = hwnd;
    m_bModeless = modeless;
    SetPropA(hwnd, "cHook", (HANDLE)this);
    if (!s_hHook) s_hHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, nullptr, GetCurrentThreadId());
    return s_hHook ? TRUE : FALSE;
}

BOOL cHook::Unset() {
    if (!s_hHook) return TRUE;
    BOOL r = UnhookWindowsHookEx(s_hHook);
    s_hHook = nullptr;
    return r;
}

LRESULT cHook::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    HWND active = GetActiveWindow();
    cHook* hook = active ? (cHook*)GetPropA(active, "cHook") : nullptr;
    if (code < 0 || code == HC_NOREMOVE || !hook || hook->m_hWnd != active)
        return CallNextHookEx(s_hHook, code, wParam, lParam);
    int vk = (int)wParam;
    bool released = (lParam & (LPARAM)0x80000000u) != 0;
    bool hasContext = false, composing = false;
    if (!released && vk != VK_TAB) {
        HIMC imc = ImmGetContext(active);
        if (imc) {
            hasContext = true;
            composing = ImmGetCompositionStringA(imc, GCS_COMPSTR, nullptr, 0) > 0;
            ImmReleaseContext(active, imc);
        }
    }
    switch (RouteHookedKey(vk, lParam, hasContext, composing, hook->m_bModeless, &s_nCtrlHeld)) {
    case HOOKROUTE_KEYDOWN: PostMessageA(active, WM_KEYDOWN, wParam, lParam); break;
    case HOOKROUTE_KEYUP: PostMessageA(active, WM_KEYUP, wParam, lParam); break;
    case HOOKROUTE_DIALOGKEY: PostMessageA(active, WM_DIALOGKEY, wParam, lParam); break;
    case HOOKROUTE_NONE: break;
    }
    return CallNextHookEx(s_hHook, code, wParam, lParam);
}
