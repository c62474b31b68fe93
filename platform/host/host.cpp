// SDL on the window thread: windows, events into window messages, presentation of frames.
#include "platform/host/host.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/host/keys.h"
#include "platform/host/script.h"
#include "platform/win32/codepage.h"
#include "platform/win32/internal.h"

namespace host {
namespace {

struct HostWindow {
    HWND hwnd = nullptr;
    SDL_Window* sdl = nullptr;
    std::mutex m;  // guards the frame
    std::vector<uint32_t> frame;
    int fw = 0, fh = 0;
    bool newFrame = false;
    bool started = false;
    bool fullScreen = false;
};

std::atomic<DWORD> g_windowThread{0};
std::atomic<bool> g_up{false};
bool g_sdlOk = false;
bool g_headless = true;
int g_scale = 1;
std::mutex g_hostM;
std::map<HWND, std::shared_ptr<HostWindow>> g_windows;
std::atomic<uint32_t> g_presented{0};
std::atomic<void (*)(uint32_t)> g_presentHook{nullptr};
std::atomic<bool> g_appActive{false};
bool g_scriptStarted = false;

std::mutex g_keysM;
uint8_t g_keys[256];
std::string g_composition;  // the input method's composition (UTF-8), guarded by g_keysM
std::atomic<int> g_cursorX{0}, g_cursorY{0}, g_buttons{0};

std::shared_ptr<HostWindow> Find(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_hostM);
    auto it = g_windows.find(hwnd);
    return it == g_windows.end() ? nullptr : it->second;
}

std::shared_ptr<HostWindow> FindBySdl(Uint32 id) {
    std::lock_guard<std::mutex> lock(g_hostM);
    for (auto& [h, w] : g_windows)
        if (w->sdl && SDL_GetWindowID(w->sdl) == id) return w;
    return nullptr;
}

std::shared_ptr<HostWindow> Ensure(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_hostM);
    auto& w = g_windows[hwnd];
    if (!w) {
        w = std::make_shared<HostWindow>();
        w->hwnd = hwnd;
    }
    return w;
}

void DisplayBounds(SDL_Rect* full, SDL_Rect* usable) {
    *full = SDL_Rect{0, 0, 1024, 768};
    *usable = *full;
    if (!g_sdlOk) return;
    if (SDL_GetDisplayBounds(0, full) != 0) *full = SDL_Rect{0, 0, 1024, 768};
    if (SDL_GetDisplayUsableBounds(0, usable) != 0) *usable = *full;
}

// Where the window's client area is on the display, in display pixels.
SDL_Rect DisplayClientRect(HWND hwnd) {
    SDL_Rect r{0, 0, 0, 0};
    auto w = win32::FindWindowObject(hwnd);
    if (!w) return r;
    RECT c;
    {
        std::lock_guard<std::recursive_mutex> lock(win32::WindowRegistryMutex());
        c = win32::ClientScreenRect(*w);
    }
    r.x = c.left * g_scale;
    r.y = c.top * g_scale;
    r.w = std::max(1, (int)(c.right - c.left) * g_scale);
    r.h = std::max(1, (int)(c.bottom - c.top) * g_scale);
    return r;
}

// Logical outer rectangle for a display client rectangle of a window.
RECT OuterFromDisplayClient(HWND hwnd, int x, int y, int cw, int ch) {
    auto w = win32::FindWindowObject(hwnd);
    int l = 0, t = 0, r = 0, b = 0;
    if (w) win32::FrameEdges(w->style, w->menu != nullptr, &l, &t, &r, &b);
    int lx = x / g_scale, ly = y / g_scale;
    int lw = cw / g_scale, lh = ch / g_scale;
    return RECT{lx - l, ly - t, lx + lw + r, ly + lh + b};
}

void ShowFrame(HostWindow& w) {
    if (!w.sdl || g_headless) return;
    std::lock_guard<std::mutex> lock(w.m);
    if (!w.newFrame || w.frame.empty()) return;
    w.newFrame = false;
    SDL_Surface* dst = SDL_GetWindowSurface(w.sdl);
    if (!dst) return;
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(w.frame.data(), w.fw, w.fh, 32, w.fw * 4,
                                                          SDL_PIXELFORMAT_XRGB8888);
    if (!src) return;
    // Aspect-correct, integer where it fits, nearest sampling; black bars around.
    int sx = dst->w / w.fw, sy = dst->h / w.fh;
    int s = std::min(sx, sy);
    SDL_Rect to;
    if (s >= 1 && (dst->w - w.fw * s) < w.fw && (dst->h - w.fh * s) < w.fh) {
        to = SDL_Rect{(dst->w - w.fw * s) / 2, (dst->h - w.fh * s) / 2, w.fw * s, w.fh * s};
    } else {
        double k = std::min((double)dst->w / w.fw, (double)dst->h / w.fh);
        int tw = std::max(1, (int)(w.fw * k)), th = std::max(1, (int)(w.fh * k));
        to = SDL_Rect{(dst->w - tw) / 2, (dst->h - th) / 2, tw, th};
    }
    SDL_FillRect(dst, nullptr, SDL_MapRGB(dst->format, 0, 0, 0));
    SDL_BlitScaled(src, nullptr, dst, &to);
    SDL_FreeSurface(src);
    SDL_UpdateWindowSurface(w.sdl);
}

HWND KeyTarget(HWND topLevel) {
    HWND focus = GetFocus();
    if (focus && focus != topLevel) {
        // The focused window, when it belongs to this top-level window.
        for (HWND h = focus; h; h = GetParent(h))
            if (h == topLevel) return focus;
    }
    return topLevel;
}

LPARAM KeyLParam(int scancode, bool down, bool repeat) {
    LPARAM l = 1 | ((LPARAM)(scancode & 0xFF) << 16);
    if (repeat || !down) l |= (LPARAM)1 << 30;
    if (!down) l |= (LPARAM)1 << 31;
    return l;
}

void SetActive(bool active) {
    if (g_appActive.exchange(active) == active) return;
    std::vector<HWND> tops;
    {
        std::lock_guard<std::mutex> lock(g_hostM);
        for (auto& [h, w] : g_windows)
            if (w->sdl) tops.push_back(h);
    }
    for (HWND h : tops) PostMessageA(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        auto w = FindBySdl(e.key.windowID);
        int vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode);
        if (vk <= 0) break;
        bool down = e.type == SDL_KEYDOWN;
        SetKeyState(vk, down);
        if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetKeyState(VK_SHIFT, down);
        if (vk == VK_LCONTROL || vk == VK_RCONTROL) SetKeyState(VK_CONTROL, down);
        if (vk == VK_LMENU || vk == VK_RMENU) SetKeyState(VK_MENU, down);
        if (!w) break;
        int msgVk = vk;
        if (vk == VK_LSHIFT || vk == VK_RSHIFT) msgVk = VK_SHIFT;
        if (vk == VK_LCONTROL || vk == VK_RCONTROL) msgVk = VK_CONTROL;
        if (vk == VK_LMENU || vk == VK_RMENU) msgVk = VK_MENU;
        win32::PostInputMessage(KeyTarget(w->hwnd), down ? WM_KEYDOWN : WM_KEYUP, (WPARAM)msgVk,
                                KeyLParam(e.key.keysym.scancode, down, e.key.repeat != 0));
        break;
    }
    case SDL_TEXTINPUT: {
        SetCompositionText("");
        auto w = FindBySdl(e.text.windowID);
        if (!w) break;
        InjectText(w->hwnd, e.text.text);
        break;
    }
    case SDL_TEXTEDITING:
        SetCompositionText(e.edit.text);
        break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        Uint32 id = e.type == SDL_MOUSEMOTION ? e.motion.windowID : e.button.windowID;
        auto w = FindBySdl(id);
        if (!w) break;
        int x = e.type == SDL_MOUSEMOTION ? e.motion.x : e.button.x;
        int y = e.type == SDL_MOUSEMOTION ? e.motion.y : e.button.y;
        SDL_Rect c = DisplayClientRect(w->hwnd);
        int lx = x / g_scale, ly = y / g_scale;
        g_cursorX = c.x / g_scale + lx;
        g_cursorY = c.y / g_scale + ly;
        UINT msg = WM_MOUSEMOVE;
        if (e.type != SDL_MOUSEMOTION) {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            int bit = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_RIGHT ? 2 : 0;
            if (!bit) break;
            g_buttons = down ? (g_buttons | bit) : (g_buttons & ~bit);
            SetKeyState(bit == 1 ? VK_LBUTTON : VK_RBUTTON, down);
            if (bit == 1) msg = down ? (e.button.clicks >= 2 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
            else msg = down ? (e.button.clicks >= 2 ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
        }
        WPARAM keys = (g_buttons & 1 ? 0x0001 : 0) | (g_buttons & 2 ? 0x0002 : 0);
        win32::PostInputMessage(w->hwnd, msg, keys, MAKELPARAM(lx, ly));
        break;
    }
    case SDL_MOUSEWHEEL: {
        auto w = FindBySdl(e.wheel.windowID);
        if (!w || e.wheel.y == 0) break;
        int delta = (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y) * 120;
        win32::PostInputMessage(KeyTarget(w->hwnd), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)delta),
                                MAKELPARAM(g_cursorX.load(), g_cursorY.load()));
        break;
    }
    case SDL_WINDOWEVENT: {
        auto w = FindBySdl(e.window.windowID);
        if (!w) break;
        HWND hwnd = w->hwnd;
        auto obj = win32::FindWindowObject(hwnd);
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            SetActive(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (!SDL_GetKeyboardFocus()) SetActive(false);
            break;
        case SDL_WINDOWEVENT_EXPOSED: {
            std::lock_guard<std::mutex> lock(w->m);
            w->newFrame = !w->frame.empty();
            break;
        }
        case SDL_WINDOWEVENT_MINIMIZED:
            if (obj) obj->iconic = true;
            PostMessageA(hwnd, WM_SIZE, 1, 0);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (obj) {
                obj->iconic = false;
                obj->zoomed = true;
            }
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (obj) {
                obj->iconic = false;
                obj->zoomed = false;
            }
            {
                std::lock_guard<std::mutex> lock(w->m);
                w->newFrame = !w->frame.empty();
            }
            break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            if (!obj || obj->iconic) break;
            int x, y, cw, ch;
            SDL_GetWindowPosition(w->sdl, &x, &y);
            SDL_GetWindowSize(w->sdl, &cw, &ch);
            SDL_Rect now = DisplayClientRect(hwnd);
            if (now.x == x && now.y == y && now.w == cw && now.h == ch) break;
            win32::ApplyWindowRect(hwnd, OuterFromDisplayClient(hwnd, x, y, cw, ch), true);
            std::lock_guard<std::mutex> lock(w->m);
            w->newFrame = !w->frame.empty();
            break;
        }
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
}

}  // namespace

bool IsWindowThread() {
    DWORD id = g_windowThread.load();
    return id != 0 && id == GetCurrentThreadId();
}

DWORD WindowThreadId() { return g_windowThread.load(); }

bool Init() {
    if (g_up) return g_sdlOk;
    g_windowThread = GetCurrentThreadId();
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const char* x11 = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    if ((!driver || !*driver) && (!x11 || !*x11) && (!wl || !*wl)) setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    g_sdlOk = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    const char* cur = g_sdlOk ? SDL_GetCurrentVideoDriver() : nullptr;
    g_headless = !cur || std::strcmp(cur, "dummy") == 0 || std::strcmp(cur, "offscreen") == 0;
    g_scale = 1;
    if (const char* s = std::getenv("VELMORA_SCALE"); s && std::atoi(s) > 0) {
        g_scale = std::min(8, std::atoi(s));
    } else if (!g_headless) {
        SDL_Rect full, usable;
        DisplayBounds(&full, &usable);
        g_scale = std::max(1, std::min(usable.w / 640, (usable.h - 60) / 480));
    }
    script::Load();
    g_up = true;
    return g_sdlOk;
}

bool IsHeadless() { return g_headless; }

std::string VideoDriverName() {
    const char* d = g_sdlOk ? SDL_GetCurrentVideoDriver() : nullptr;
    return d ? d : "none";
}

std::string DisplayName() {
    const char* n = g_sdlOk ? SDL_GetDisplayName(0) : nullptr;
    return n ? n : "none";
}

void SdlVersion(int* major, int* minor, int* patch) {
    SDL_version v;
    SDL_GetVersion(&v);
    *major = v.major;
    *minor = v.minor;
    *patch = v.patch;
}

void Shutdown() {
    if (!g_up || !IsWindowThread()) return;
    {
        std::lock_guard<std::mutex> lock(g_hostM);
        for (auto& [h, w] : g_windows)
            if (w->sdl) SDL_DestroyWindow(w->sdl);
        g_windows.clear();
    }
    if (g_sdlOk) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    g_sdlOk = false;
}

void PumpEvents() {
    if (!g_up || !g_sdlOk || !IsWindowThread()) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
    std::vector<std::shared_ptr<HostWindow>> ws;
    {
        std::lock_guard<std::mutex> lock(g_hostM);
        for (auto& [h, w] : g_windows) ws.push_back(w);
    }
    for (auto& w : ws) ShowFrame(*w);
}

void OnShowWindow(HWND hwnd, int cmd) {
    if (!g_up) Init();
    if (!IsWindowThread()) {
        win32::CallOnThread(WindowThreadId(), [=] {
            OnShowWindow(hwnd, cmd);
            return (LRESULT)0;
        }, nullptr);
        return;
    }
    auto obj = win32::FindWindowObject(hwnd);
    if (!obj) return;
    auto w = Ensure(hwnd);
    if (cmd != SW_HIDE && !w->sdl && g_sdlOk) {
        SDL_Rect r = DisplayClientRect(hwnd);
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (obj->style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
        // A pop-up without a caption (a dialog without a title bar) gets no decorations.
        if ((obj->style & WS_POPUP) && !(obj->style & WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;
        w->sdl = SDL_CreateWindow(Cp932ToUtf8(obj->title).c_str(), r.x, r.y, r.w, r.h, flags);
        if (w->sdl && w->fullScreen) SDL_SetWindowFullscreen(w->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    if (w->sdl) {
        switch (cmd) {
        case SW_HIDE: SDL_HideWindow(w->sdl); break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE: SDL_ShowWindow(w->sdl); SDL_MinimizeWindow(w->sdl); break;
        case SW_SHOWMAXIMIZED: SDL_ShowWindow(w->sdl); SDL_MaximizeWindow(w->sdl); break;
        case SW_RESTORE: SDL_RestoreWindow(w->sdl); SDL_ShowWindow(w->sdl); break;
        default: SDL_ShowWindow(w->sdl); break;
        }
    }
    if (cmd != SW_HIDE) {
        g_appActive = true;
        // The driver's timed events go to the program's own first window, not to a dialog.
        if (!g_scriptStarted && obj->className != win32::kDialogClassName) {
            g_scriptStarted = true;
            script::OnStart(hwnd);
        }
    }
}

void OnWindowDestroyed(HWND hwnd) {
    std::shared_ptr<HostWindow> w;
    {
        std::lock_guard<std::mutex> lock(g_hostM);
        auto it = g_windows.find(hwnd);
        if (it == g_windows.end()) return;
        w = it->second;
        g_windows.erase(it);
    }
    if (w->sdl) {
        if (IsWindowThread()) {
            SDL_DestroyWindow(w->sdl);
        } else {
            SDL_Window* s = w->sdl;
            win32::CallOnThread(WindowThreadId(), [s] {
                SDL_DestroyWindow(s);
                return (LRESULT)0;
            }, nullptr);
        }
    }
}

void OnWindowGeometry(HWND hwnd) {
    auto w = Find(hwnd);
    if (!w || !w->sdl || !IsWindowThread()) return;
    SDL_Rect r = DisplayClientRect(hwnd);
    int x, y, cw, ch;
    SDL_GetWindowPosition(w->sdl, &x, &y);
    SDL_GetWindowSize(w->sdl, &cw, &ch);
    if (x != r.x || y != r.y) SDL_SetWindowPosition(w->sdl, r.x, r.y);
    if (cw != r.w || ch != r.h) SDL_SetWindowSize(w->sdl, r.w, r.h);
}

void OnWindowTitle(HWND hwnd) {
    auto w = Find(hwnd);
    auto obj = win32::FindWindowObject(hwnd);
    if (!w || !w->sdl || !obj || !IsWindowThread()) return;
    SDL_SetWindowTitle(w->sdl, Cp932ToUtf8(obj->title).c_str());
}

int DisplayScale() { return g_scale; }

void DesktopRect(RECT* r) {
    SDL_Rect full, usable;
    DisplayBounds(&full, &usable);
    *r = RECT{full.x / g_scale, full.y / g_scale, (full.x + full.w) / g_scale, (full.y + full.h) / g_scale};
}

void WorkArea(RECT* r) {
    SDL_Rect full, usable;
    DisplayBounds(&full, &usable);
    *r = RECT{usable.x / g_scale, usable.y / g_scale, (usable.x + usable.w) / g_scale,
              (usable.y + usable.h) / g_scale};
}

int DesktopDepth() {
    if (!g_sdlOk) return 32;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
    int bpp = SDL_BITSPERPIXEL(mode.format);
    // A 24-bit desktop is stored 32 bits per pixel, as Windows reports it.
    return (bpp == 24 || bpp == 0) ? 32 : bpp;
}

void PresentFrame(HWND hwnd, const uint32_t* pixels, int width, int height, int pitch) {
    if (!pixels || width <= 0 || height <= 0) return;
    uint32_t index = g_presented.fetch_add(1);
    if (!g_headless) {
        if (auto w = Find(hwnd)) {
            std::lock_guard<std::mutex> lock(w->m);
            w->frame.resize((size_t)width * height);
            for (int y = 0; y < height; ++y)
                std::memcpy(&w->frame[(size_t)y * width], (const char*)pixels + (size_t)y * pitch, (size_t)width * 4);
            w->fw = width;
            w->fh = height;
            w->newFrame = true;
        }
    }
    script::OnPresent(hwnd, index, pixels, width, height, pitch);
    if (auto hook = g_presentHook.load()) hook(index);
}

void SetPresentHook(void (*hook)(uint32_t frame)) { g_presentHook.store(hook); }

void ShowWindowPixels(HWND hwnd, const uint32_t* pixels, int width, int height, int pitch) {
    if (!pixels || width <= 0 || height <= 0 || g_headless) return;
    auto w = Find(hwnd);
    if (!w) return;
    std::lock_guard<std::mutex> lock(w->m);
    w->frame.resize((size_t)width * height);
    for (int y = 0; y < height; ++y)
        std::memcpy(&w->frame[(size_t)y * width], (const char*)pixels + (size_t)y * pitch, (size_t)width * 4);
    w->fw = width;
    w->fh = height;
    w->newFrame = true;
}

void SetFullScreen(HWND hwnd, bool on) {
    auto w = Ensure(hwnd);
    w->fullScreen = on;
    if (!w->sdl) return;
    if (!IsWindowThread()) {
        win32::CallOnThread(WindowThreadId(), [=] {
            SetFullScreen(hwnd, on);
            return (LRESULT)0;
        }, nullptr);
        return;
    }
    SDL_SetWindowFullscreen(w->sdl, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

uint32_t PresentedFrames() { return g_presented.load(); }

bool NextFrameShown() { return !g_headless || script::CaptureAt(g_presented.load()); }

void WaitForVerticalBlank() {
    if (g_headless || !g_sdlOk) return;
    SDL_DisplayMode mode;
    int hz = (SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) ? mode.refresh_rate : 60;
    DWORD period = 1000u / (DWORD)hz;
    DWORD now = SDL_GetTicks();
    DWORD wait = period - now % period;
    SDL_Delay(wait ? wait : period);
}

void SetKeyState(int vk, bool down) {
    if (vk <= 0 || vk > 255) return;
    std::lock_guard<std::mutex> lock(g_keysM);
    g_keys[vk] = down ? 1 : 0;
}

bool KeyDown(int vk) {
    if (vk <= 0 || vk > 255) return false;
    std::lock_guard<std::mutex> lock(g_keysM);
    return g_keys[vk] != 0;
}

void InjectKey(HWND hwnd, int vk, bool down) {
    bool wasDown = KeyDown(vk);
    SetKeyState(vk, down);
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetKeyState(VK_SHIFT, down);
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) SetKeyState(VK_CONTROL, down);
    if (!hwnd) return;
    win32::PostInputMessage(KeyTarget(hwnd), down ? WM_KEYDOWN : WM_KEYUP, (WPARAM)vk,
                            KeyLParam(0, down, down && wasDown));
}

void InjectText(HWND hwnd, const std::string& utf8) {
    if (!hwnd) return;
    std::string sj = Utf8ToCp932(utf8);
    HWND target = KeyTarget(hwnd);
    for (unsigned char c : sj) win32::PostInputMessage(target, WM_CHAR, (WPARAM)c, 1);
}

std::string CompositionText() {
    std::lock_guard<std::mutex> lock(g_keysM);
    return g_composition;
}

void SetCompositionText(const std::string& utf8) {
    std::lock_guard<std::mutex> lock(g_keysM);
    g_composition = utf8;
}

void SetTextInputRect(HWND hwnd, const RECT& r) {
    if (!g_sdlOk || !IsWindowThread()) return;
    auto w = Find(hwnd);
    if (!w || !w->sdl) return;
    SDL_Rect sr{(int)r.left * g_scale, (int)r.top * g_scale, (int)(r.right - r.left) * g_scale,
                (int)(r.bottom - r.top) * g_scale};
    SDL_SetTextInputRect(&sr);
}

void SetCursorPos(int x, int y) {
    g_cursorX = x;
    g_cursorY = y;
    if (g_sdlOk && !g_headless && IsWindowThread()) SDL_WarpMouseGlobal(x * g_scale, y * g_scale);
}

void CursorPos(POINT* pt) {
    pt->x = g_cursorX;
    pt->y = g_cursorY;
}

int MouseButtons() { return g_buttons; }

}  // namespace host

SHORT GetAsyncKeyState(int vKey) { return host::KeyDown(vKey) ? (SHORT)0x8000 : 0; }
SHORT GetKeyState(int nVirtKey) { return host::KeyDown(nVirtKey) ? (SHORT)0x8000 : 0; }
