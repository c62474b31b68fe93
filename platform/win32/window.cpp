// Window classes and windows: the registry of local windows, their procedures, geometry,
// properties and texts; PostMessage and SendMessage to windows; system metrics.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "platform/host/host.h"
#include "platform/win32/internal.h"

namespace win32 {

const char* const kDialogClassName = "#32770";

namespace {

std::recursive_mutex g_windowsM;
std::map<HWND, std::shared_ptr<Window>> g_windows;
std::map<std::string, WindowClass> g_classes;  // key: lower-case name
uintptr_t g_nextHwnd = 0x10010;
HWND g_activeWindow = nullptr;
HWND g_focusWindow = nullptr;

std::string LowerAscii(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return r;
}

bool IsLocalHandle(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    return g_windows.count(hwnd) != 0;
}

}  // namespace

std::recursive_mutex& WindowRegistryMutex() { return g_windowsM; }

std::shared_ptr<Window> FindWindowObject(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    auto it = g_windows.find(hwnd);
    return it == g_windows.end() ? nullptr : it->second;
}

void FrameEdges(LONG style, bool menu, int* left, int* top, int* right, int* bottom) {
    int l = 0, t = 0, r = 0, b = 0;
    if (!(style & WS_CHILD)) {
        if (style & WS_CAPTION) t += GetSystemMetrics(SM_CYCAPTION);
        if (style & WS_THICKFRAME) {
            l += GetSystemMetrics(SM_CXFRAME);
            r += GetSystemMetrics(SM_CXFRAME);
            t += GetSystemMetrics(SM_CYFRAME);
            b += GetSystemMetrics(SM_CYFRAME);
        } else if (style & (WS_DLGFRAME | WS_BORDER)) {
            l += GetSystemMetrics(SM_CXDLGFRAME);
            r += GetSystemMetrics(SM_CXDLGFRAME);
            t += GetSystemMetrics(SM_CYDLGFRAME);
            b += GetSystemMetrics(SM_CYDLGFRAME);
        }
        if (menu) t += GetSystemMetrics(SM_CYMENU);
    }
    *left = l;
    *top = t;
    *right = r;
    *bottom = b;
}

RECT ClientScreenRect(const Window& w) {
    int l, t, r, b;
    FrameEdges(w.style, w.menu != nullptr, &l, &t, &r, &b);
    RECT c{w.rect.left + l, w.rect.top + t, w.rect.right - r, w.rect.bottom - b};
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    if (w.parent && (w.style & WS_CHILD)) {
        if (auto p = FindWindowObject(w.parent)) {
            RECT pc = ClientScreenRect(*p);
            c.left += pc.left;
            c.right += pc.left;
            c.top += pc.top;
            c.bottom += pc.top;
        }
    }
    return c;
}

LRESULT CallWindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        auto it = g_windows.find(hwnd);
        if (it == g_windows.end()) return 0;
        proc = it->second->proc;
    }
    return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void ApplyWindowRect(HWND hwnd, const RECT& r, bool notify) {
    auto w = FindWindowObject(hwnd);
    if (!w) return;
    RECT oldClient, newClient;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        oldClient = ClientScreenRect(*w);
        w->rect = r;
        newClient = ClientScreenRect(*w);
    }
    host::OnWindowGeometry(hwnd);
    if (!notify) return;
    bool moved = oldClient.left != newClient.left || oldClient.top != newClient.top;
    bool sized = (oldClient.right - oldClient.left) != (newClient.right - newClient.left) ||
                 (oldClient.bottom - oldClient.top) != (newClient.bottom - newClient.top);
    if (moved)
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(newClient.left, newClient.top));
    if (sized)
        SendMessageA(hwnd, WM_SIZE, 0,
                     MAKELPARAM(newClient.right - newClient.left, newClient.bottom - newClient.top));
}

}  // namespace win32

using namespace win32;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpszClassName[0]) return 0;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    std::string key = LowerAscii(wc->lpszClassName);
    if (g_classes.count(key)) {
        CurrentThread()->lastError = 1410;  // class already exists
        return 0;
    }
    WindowClass c;
    c.name = wc->lpszClassName;
    c.style = wc->style;
    c.proc = wc->lpfnWndProc;
    c.instance = wc->hInstance;
    c.background = wc->hbrBackground;
    g_classes[key] = c;
    return (ATOM)(0xC000 + g_classes.size());
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    (void)lpParam;
    if (!lpClassName) return nullptr;
    auto w = std::make_shared<Window>();
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        auto it = g_classes.find(LowerAscii(lpClassName));
        if (it == g_classes.end()) {
            CurrentThread()->lastError = 1407;  // class does not exist
            return nullptr;
        }
        w->className = it->second.name;
        w->proc = it->second.proc;
        w->hwnd = (HWND)g_nextHwnd;
        g_nextHwnd += 4;
    }
    w->threadId = GetCurrentThreadId();
    w->title = lpWindowName ? lpWindowName : "";
    w->messageOnly = hWndParent == HWND_MESSAGE;
    w->parent = w->messageOnly ? nullptr : hWndParent;
    w->menu = (dwStyle & WS_CHILD) ? nullptr : hMenu;
    w->instance = hInstance;
    w->style = (LONG)dwStyle & ~(LONG)WS_VISIBLE;
    w->exStyle = (LONG)dwExStyle;
    w->rect = RECT{X, Y, X + std::max(0, nWidth), Y + std::max(0, nHeight)};
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        g_windows[w->hwnd] = w;
    }
    HWND hwnd = w->hwnd;
    if (CallWindowProcedure(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!w->messageOnly && !(dwStyle & WS_CHILD)) PublishWindow(hwnd, w->className, w->title);
    if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL DestroyWindow(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    // Children first.
    std::vector<HWND> children;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        for (auto& [h, c] : g_windows)
            if (c->parent == hWnd) children.push_back(h);
    }
    for (HWND c : children) DestroyWindow(c);
    CallWindowProcedure(hWnd, WM_DESTROY, 0, 0);
    host::OnWindowDestroyed(hWnd);
    UnpublishWindow(hWnd);
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    g_windows.erase(hWnd);
    if (g_activeWindow == hWnd) g_activeWindow = nullptr;
    if (g_focusWindow == hWnd) g_focusWindow = nullptr;
    return TRUE;
}

BOOL IsWindow(HWND hWnd) { return (IsLocalHandle(hWnd) || IsRemoteWindow(hWnd)) ? TRUE : FALSE; }

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd) {
        MSG m{};
        m.message = Msg;
        m.wParam = wParam;
        m.lParam = lParam;
        return PostToThread(CurrentThread(), m) ? TRUE : FALSE;
    }
    if (IsRemoteWindow(hWnd)) return SendRemoteMessage(hWnd, Msg, wParam, lParam, false) ? TRUE : FALSE;
    auto w = FindWindowObject(hWnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto rec = FindThread(w->threadId);
    MSG m{};
    m.hwnd = hWnd;
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    return PostToThread(rec, m) ? TRUE : FALSE;
}

bool win32::PostInputMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = FindWindowObject(hwnd);
    if (!w) return false;
    MSG m{};
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    return PostToThread(FindThread(w->threadId), m, true);
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd) return 0;
    if (IsRemoteWindow(hWnd)) return SendRemoteMessage(hWnd, Msg, wParam, lParam, true);
    auto w = FindWindowObject(hWnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (w->threadId == GetCurrentThreadId()) return CallWindowProcedure(hWnd, Msg, wParam, lParam);
    LRESULT result = 0;
    HWND target = hWnd;
    if (!CallOnThread(w->threadId, [=] { return CallWindowProcedure(target, Msg, wParam, lParam); }, &result))
        return 0;
    return result;
}

LRESULT CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : DefWindowProcA(hWnd, Msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    switch (Msg) {
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_GETMINMAXINFO:
    case WM_PAINT:
    case WM_ERASEBKGND:
        return 0;
    case WM_GETTEXTLENGTH:
        return GetWindowTextLengthA(hWnd);
    case WM_GETTEXT:
        return GetWindowTextA(hWnd, (LPSTR)lParam, (int)wParam);
    case WM_SETTEXT:
        return StoreWindowText(hWnd, (LPCSTR)lParam);
    default:
        return 0;
    }
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    auto w = FindWindowObject(hWnd);
    if (!w) return FALSE;
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        switch (nCmdShow) {
        case SW_HIDE:
            w->visible = false;
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            w->visible = true;
            w->iconic = true;
            break;
        case SW_SHOWMAXIMIZED:
            w->visible = true;
            w->iconic = false;
            w->zoomed = true;
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            w->visible = true;
            w->iconic = false;
            w->zoomed = false;
            break;
        default:
            w->visible = true;
            break;
        }
        if (w->visible) w->style |= WS_VISIBLE;
        else w->style &= ~(LONG)WS_VISIBLE;
    }
    if (!w->messageOnly && !(w->style & WS_CHILD)) {
        host::OnShowWindow(hWnd, nCmdShow);
        bool activates = nCmdShow != SW_HIDE && nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_SHOWNA &&
                         nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_MINIMIZE;
        if (activates && g_activeWindow != hWnd) {
            HWND previous = g_activeWindow;
            g_activeWindow = hWnd;
            g_focusWindow = hWnd;
            // The application becomes active when its first window is shown.
            if (!previous) SendMessageA(hWnd, WM_ACTIVATEAPP, TRUE, 0);
        }
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND hWnd) { return IsLocalHandle(hWnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    return (w && w->visible) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    return (w && w->iconic) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    return (w && w->zoomed) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    auto w = FindWindowObject(hWnd);
    if (!w) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    BOOL wasDisabled = w->enabled ? FALSE : TRUE;
    w->enabled = bEnable != FALSE;
    if (w->enabled) w->style &= ~(LONG)WS_DISABLED;
    else w->style |= WS_DISABLED;
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    return (w && w->enabled) ? TRUE : FALSE;
}

// The text goes through the window's WM_SETTEXT, whose default handling stores it, so a control
// (an edit box) sees every change of its text.
BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!FindWindowObject(hWnd)) return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, (LPARAM)(lpString ? lpString : "")) ? TRUE : FALSE;
}

BOOL win32::StoreWindowText(HWND hWnd, LPCSTR lpString) {
    auto w = FindWindowObject(hWnd);
    if (!w) return FALSE;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        w->title = lpString ? lpString : "";
    }
    if (!w->messageOnly && !(w->style & WS_CHILD)) {
        PublishWindow(hWnd, w->className, w->title);
        host::OnWindowTitle(hWnd);
    }
    return TRUE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    auto w = FindWindowObject(hWnd);
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = 0;
    if (!w) return 0;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    size_t n = std::min(w->title.size(), (size_t)nMaxCount - 1);
    // Never cut a two-byte character in half.
    size_t i = 0;
    while (i < n) {
        unsigned char c = (unsigned char)w->title[i];
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 >= n) break;
        i += lead ? 2 : 1;
    }
    memcpy(lpString, w->title.data(), i);
    lpString[i] = 0;
    return (int)i;
}

int GetWindowTextLengthA(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    return w ? (int)w->title.size() : 0;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) {
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        for (auto& [h, w] : g_windows) {
            if (w->messageOnly || (w->style & WS_CHILD)) continue;
            if (lpClassName && strcasecmp(w->className.c_str(), lpClassName) != 0) continue;
            if (lpWindowName && w->title != lpWindowName) continue;
            return h;
        }
    }
    return FindRemoteWindow(lpClassName, lpWindowName);
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
    if (IsRemoteWindow(hWnd)) {
        DWORD pid = RemoteWindowProcess(hWnd);
        if (lpdwProcessId) *lpdwProcessId = pid;
        return pid ? 1 : 0;
    }
    auto w = FindWindowObject(hWnd);
    if (!w) {
        if (lpdwProcessId) *lpdwProcessId = 0;
        return 0;
    }
    if (lpdwProcessId) *lpdwProcessId = (DWORD)getpid();
    return w->threadId;
}

HWND GetActiveWindow() {
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    if (g_activeWindow && g_windows.count(g_activeWindow) &&
        g_windows[g_activeWindow]->threadId == GetCurrentThreadId())
        return g_activeWindow;
    return nullptr;
}

HWND SetActiveWindow(HWND hWnd) {
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    HWND prev = g_activeWindow;
    if (g_windows.count(hWnd)) g_activeWindow = hWnd;
    return prev;
}

HWND GetForegroundWindow() {
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    return g_activeWindow;
}

BOOL SetForegroundWindow(HWND hWnd) { return SetActiveWindow(hWnd) != hWnd || IsLocalHandle(hWnd) ? TRUE : FALSE; }

HWND GetFocus() {
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    return g_focusWindow;
}

HWND SetFocus(HWND hWnd) {
    HWND prev;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        prev = g_focusWindow;
        if (hWnd && !g_windows.count(hWnd)) return nullptr;
        g_focusWindow = hWnd;
    }
    if (prev && prev != hWnd) SendMessageA(prev, WM_KILLFOCUS, (WPARAM)hWnd, 0);
    if (hWnd && prev != hWnd) SendMessageA(hWnd, WM_SETFOCUS, (WPARAM)prev, 0);
    return prev;
}

HWND GetParent(HWND hWnd) {
    auto w = FindWindowObject(hWnd);
    return w ? w->parent : nullptr;
}

HWND GetDesktopWindow() { return (HWND)(uintptr_t)0x10000; }

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
    auto w = FindWindowObject(hWnd);
    if (!w) return 0;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    switch (nIndex) {
    case GWL_STYLE: return w->style;
    case GWL_EXSTYLE: return w->exStyle;
    case GWL_HINSTANCE: return (LONG_PTR)w->instance;
    case GWL_WNDPROC: return (LONG_PTR)w->proc;
    case GWL_USERDATA: return w->userData;
    case DWLP_MSGRESULT: return w->dlgResult;
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR v) {
    auto w = FindWindowObject(hWnd);
    if (!w) return 0;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    LONG_PTR old = 0;
    switch (nIndex) {
    case GWL_STYLE:
        old = w->style;
        w->style = (LONG)v;
        w->visible = (w->style & WS_VISIBLE) != 0;
        w->enabled = (w->style & WS_DISABLED) == 0;
        break;
    case GWL_EXSTYLE: old = w->exStyle; w->exStyle = (LONG)v; break;
    case GWL_HINSTANCE: old = (LONG_PTR)w->instance; w->instance = (HINSTANCE)v; break;
    case GWL_WNDPROC: old = (LONG_PTR)w->proc; w->proc = (WNDPROC)v; break;
    case GWL_USERDATA: old = w->userData; w->userData = v; break;
    case DWLP_MSGRESULT: old = w->dlgResult; w->dlgResult = v; break;
    default: break;
    }
    return old;
}

LONG GetWindowLongA(HWND hWnd, int nIndex) { return (LONG)GetWindowLongPtrA(hWnd, nIndex); }
LONG SetWindowLongA(HWND hWnd, int nIndex, LONG v) { return (LONG)SetWindowLongPtrA(hWnd, nIndex, v); }

BOOL SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData) {
    auto w = FindWindowObject(hWnd);
    if (!w || !lpString) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    w->props[lpString] = hData;
    return TRUE;
}

HANDLE GetPropA(HWND hWnd, LPCSTR lpString) {
    auto w = FindWindowObject(hWnd);
    if (!w || !lpString) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    auto it = w->props.find(lpString);
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND hWnd, LPCSTR lpString) {
    auto w = FindWindowObject(hWnd);
    if (!w || !lpString) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    auto it = w->props.find(lpString);
    if (it == w->props.end()) return nullptr;
    HANDLE h = it->second;
    w->props.erase(it);
    return h;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    if (hWnd == GetDesktopWindow()) {
        host::DesktopRect(lpRect);
        return TRUE;
    }
    auto w = FindWindowObject(hWnd);
    if (!w) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    *lpRect = w->rect;
    if (w->parent && (w->style & WS_CHILD)) {
        RECT c = ClientScreenRect(*w);
        int l, t, r, b;
        FrameEdges(w->style, false, &l, &t, &r, &b);
        *lpRect = RECT{c.left - l, c.top - t, c.right + r, c.bottom + b};
    }
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    if (!lpRect) return FALSE;
    if (hWnd == GetDesktopWindow()) {
        RECT d;
        host::DesktopRect(&d);
        *lpRect = RECT{0, 0, d.right - d.left, d.bottom - d.top};
        return TRUE;
    }
    auto w = FindWindowObject(hWnd);
    if (!w) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    RECT c = ClientScreenRect(*w);
    *lpRect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    auto w = FindWindowObject(hWnd);
    if (!w || !lpPoint) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    RECT c = ClientScreenRect(*w);
    lpPoint->x += c.left;
    lpPoint->y += c.top;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    auto w = FindWindowObject(hWnd);
    if (!w || !lpPoint) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_windowsM);
    RECT c = ClientScreenRect(*w);
    lpPoint->x -= c.left;
    lpPoint->y -= c.top;
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    (void)hWndInsertAfter;
    auto w = FindWindowObject(hWnd);
    if (!w) return FALSE;
    RECT r;
    {
        std::lock_guard<std::recursive_mutex> lock(g_windowsM);
        r = w->rect;
    }
    if (!(uFlags & SWP_NOMOVE)) {
        LONG wdt = r.right - r.left, hgt = r.bottom - r.top;
        r.left = X;
        r.top = Y;
        r.right = X + wdt;
        r.bottom = Y + hgt;
    }
    if (!(uFlags & SWP_NOSIZE)) {
        r.right = r.left + std::max(0, cx);
        r.bottom = r.top + std::max(0, cy);
    }
    ApplyWindowRect(hWnd, r, true);
    if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOW);
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    (void)bRepaint;
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER);
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
    (void)dwExStyle;
    if (!lpRect) return FALSE;
    int l, t, r, b;
    FrameEdges((LONG)dwStyle, bMenu != FALSE, &l, &t, &r, &b);
    lpRect->left -= l;
    lpRect->top -= t;
    lpRect->right += r;
    lpRect->bottom += b;
    return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    (void)lpRect;
    (void)bErase;
    return IsLocalHandle(hWnd) ? TRUE : FALSE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (lpPaint) {
        *lpPaint = PAINTSTRUCT{};
        GetClientRect(hWnd, &lpPaint->rcPaint);
    }
    return nullptr;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    (void)hWnd;
    (void)lpPaint;
    return TRUE;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        RECT d;
        host::DesktopRect(&d);
        return nIndex == SM_CXSCREEN ? d.right - d.left : d.bottom - d.top;
    }
    case SM_CXFULLSCREEN:
    case SM_CYFULLSCREEN: {
        // The client area of a maximised window: the work area less a caption.
        RECT a;
        host::WorkArea(&a);
        return nIndex == SM_CXFULLSCREEN ? a.right - a.left : a.bottom - a.top - GetSystemMetrics(SM_CYCAPTION);
    }
    case SM_CXVSCROLL: return 17;
    case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CYMENU: return 20;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    default: return 0;
    }
}

BOOL SystemParametersInfoA(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni) {
    (void)uiParam;
    (void)fWinIni;
    if (uiAction == SPI_GETWORKAREA && pvParam) {
        host::WorkArea((RECT*)pvParam);
        return TRUE;
    }
    return FALSE;
}

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    host::CursorPos(lpPoint);
    return TRUE;
}

HWND WindowFromPoint(POINT Point) {
    (void)Point;
    return nullptr;
}

HICON LoadIconA(HINSTANCE, LPCSTR) { return (HICON)(uintptr_t)0x20001; }
HCURSOR LoadCursorA(HINSTANCE, LPCSTR) { return (HCURSOR)(uintptr_t)0x20002; }
HGDIOBJ GetStockObject(int i) { return (HGDIOBJ)(uintptr_t)(0x30000 + i); }
void InitCommonControls() {}
