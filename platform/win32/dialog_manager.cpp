// Modal dialogs: templates, creation from dialog units, the dialog loop with the keyboard and
// mouse work of a dialog, and the test driver's answers.
#include <algorithm>
#include <map>
#include <thread>

#include "platform/host/host.h"
#include "platform/host/png.h"
#include "platform/host/script.h"
#include "platform/win32/codepage.h"
#include "platform/win32/dialog_internal.h"

namespace win32::dlg {
namespace {

std::recursive_mutex g_m;
std::map<WORD, const DIALOGTEMPLATEDATA*> g_templates;
std::map<HWND, std::shared_ptr<DialogState>> g_dialogs;
std::map<HWND, std::shared_ptr<ControlState>> g_controls;

// A caret blinks every half second.
const int kBlinkMs = 500;

int MulDivRound(int a, int b, int c) {
    if (c == 0) return 0;
    long long p = (long long)a * b;
    return (int)(p >= 0 ? (p + c / 2) / c : (p - c / 2) / c);
}

std::string Upper(const char* s) {
    std::string r = s ? s : "";
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    return r;
}

CtrlClass ClassOf(const char* name) {
    std::string n = Upper(name);
    if (n == "BUTTON") return CtrlClass::Button;
    if (n == "STATIC") return CtrlClass::Static;
    if (n == "EDIT") return CtrlClass::Edit;
    if (n == "SCROLLBAR") return CtrlClass::ScrollBar;
    return CtrlClass::Custom;
}

std::shared_ptr<gdi::FontText> DialogFont(const char* face, int points) {
    return gdi::FontText::Create(face ? face : "", -MulDivRound(points > 0 ? points : 9, 96, 72));
}

SIZE BaseUnitsOf(gdi::FontText* font) {
    SIZE s = font->Measure("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return SIZE{(s.cx / 26 + 1) / 2, font->Height()};
}

bool IsMouseMessage(UINT m) { return m >= WM_MOUSEMOVE && m <= WM_MOUSEWHEEL; }
bool IsKeyboardMessage(UINT m) { return m >= WM_KEYDOWN && m <= WM_SYSCHAR; }

bool Usable(HWND h) {
    auto w = FindWindowObject(h);
    return w && w->visible && w->enabled;
}

// Whether a window or one of its ancestors is disabled.
bool DisabledChain(HWND h) {
    for (int depth = 0; h && depth < 16; ++depth, h = GetParent(h)) {
        auto w = FindWindowObject(h);
        if (!w) return false;
        if (!w->enabled) return true;
        if (!(w->style & WS_CHILD)) break;
    }
    return false;
}

bool InDialog(const DialogState& d, HWND h) { return h && (h == d.hwnd || GetParent(h) == d.hwnd); }

bool IsTabStop(HWND h) {
    auto w = FindWindowObject(h);
    return w && (w->style & WS_TABSTOP) && w->visible && w->enabled;
}

HWND FirstTabStop(const DialogState& d) {
    for (HWND h : d.controls)
        if (IsTabStop(h)) return h;
    return nullptr;
}

HWND NextTabStop(const DialogState& d, HWND from, bool back) {
    std::vector<HWND> stops;
    for (HWND h : d.controls)
        if (IsTabStop(h)) stops.push_back(h);
    if (stops.empty()) return nullptr;
    auto it = std::find(stops.begin(), stops.end(), from);
    if (it == stops.end()) return back ? stops.back() : stops.front();
    size_t i = (size_t)(it - stops.begin());
    return back ? stops[(i + stops.size() - 1) % stops.size()] : stops[(i + 1) % stops.size()];
}

// Focus moved by the keyboard: an edit box then has its whole text selected.
void FocusByKeyboard(HWND h) {
    SetFocus(h);
    auto c = FindControl(h);
    if (c && c->cls == CtrlClass::Edit) SendMessageA(h, EM_SETSEL, 0, -1);
}

// The control under a point of the dialog's client area; group boxes and static texts let the
// mouse through to what lies beneath, as do disabled controls.
HWND HitTest(const DialogState& d, POINT p) {
    for (HWND h : d.controls) {
        auto c = FindControl(h);
        if (!c || !Usable(h) || c->cls == CtrlClass::Static) continue;
        if (c->cls == CtrlClass::Button && ButtonType(c->style) == BS_GROUPBOX) continue;
        RECT r = ControlRect(h);
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return h;
    }
    return nullptr;
}

// The keyboard work of a dialog on a key stroke from the keyboard; true when it took the key.
bool DialogKey(DialogState& d, const MSG& m) {
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
    if (!InDialog(d, m.hwnd)) return false;
    HWND focus = GetFocus();
    auto fc = FindControl(focus);
    switch ((int)m.wParam) {
    case VK_TAB:
        if (HWND next = NextTabStop(d, focus, IsShiftDown())) FocusByKeyboard(next);
        return true;
    case VK_RETURN: {
        // Enter that completes a composition belongs to the input method.
        if (!host::CompositionText().empty()) return false;
        HWND b = DefaultButton(d);
        if (b && Usable(b)) ClickButton(FindControl(b));
        else SendMessageA(d.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    case VK_ESCAPE:
        SendMessageA(d.hwnd, WM_CLOSE, 0, 0);
        return true;
    case VK_F4:
        if (!host::KeyDown(VK_MENU)) return false;
        SendMessageA(d.hwnd, WM_CLOSE, 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (!fc || !IsRadioButton(*fc)) return false;
        auto group = RadioGroup(d, focus);
        std::vector<HWND> usable;
        for (HWND h : group)
            if (Usable(h)) usable.push_back(h);
        auto it = std::find(usable.begin(), usable.end(), focus);
        if (usable.size() < 2 || it == usable.end()) return true;
        size_t i = (size_t)(it - usable.begin());
        bool back = m.wParam == VK_LEFT || m.wParam == VK_UP;
        HWND next = back ? usable[(i + usable.size() - 1) % usable.size()] : usable[(i + 1) % usable.size()];
        SetFocus(next);
        ClickButton(FindControl(next));
        return true;
    }
    default:
        return false;
    }
}

// ---- the test driver's answers ----
struct Action {
    std::string verb;
    std::vector<std::string> args;
};

std::vector<Action> ParseActions(const std::vector<std::string>& words, int resourceId) {
    std::vector<Action> out;
    for (size_t i = 0; i < words.size();) {
        Action a;
        a.verb = words[i++];
        for (char& c : a.verb)
            if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        size_t n = (a.verb == "click" || a.verb == "key" || a.verb == "down" || a.verb == "up" ||
                    a.verb == "wait" || a.verb == "capture")
                       ? 1
                   : a.verb == "type"                                                                ? 2
                   : (a.verb == "close" || a.verb == "enter")                                       ? 0
                                                                                                     : (size_t)-1;
        if (n == (size_t)-1 || i + n > words.size()) {
            host::script::Log("dialog " + std::to_string(resourceId) + ": answer not understood at \"" + a.verb +
                              "\"");
            break;
        }
        a.args.assign(words.begin() + (long)i, words.begin() + (long)(i + n));
        i += n;
        if (a.verb == "down" || a.verb == "up") {
            out.push_back(Action{a.verb == "down" ? "keydown" : "keyup", a.args});
            out.back().args.push_back("log");
            continue;
        }
        if (a.verb == "key") {
            // A key is pressed and released in two steps, so the key is held while its press is
            // handled.
            out.push_back(Action{"keydown", a.args});
            out.push_back(Action{"keyup", a.args});
            continue;
        }
        out.push_back(a);
    }
    return out;
}

thread_local std::function<bool(HWND)> t_nextDriver;

struct Driver {
    bool active = false;
    std::function<bool(HWND)> custom;
    std::vector<Action> actions;
    size_t next = 0;
    std::chrono::steady_clock::time_point waitUntil{};
    bool waiting = false;
    int closeTries = 0;
};

void RunAction(DialogState& d, Driver& drv, const Action& a) {
    std::string who = "dialog " + std::to_string(d.resourceId) + ": ";
    auto item = [&](const std::string& s) { return GetDlgItem(d.hwnd, std::atoi(s.c_str())); };
    if (a.verb == "click") {
        HWND c = item(a.args[0]);
        host::script::Log(who + "click " + a.args[0] + (c ? "" : " (no such control)"));
        if (!c) return;
        RECT r = ControlRect(c);
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostInputMessage(d.hwnd, WM_LBUTTONDOWN, 1, at);
        PostInputMessage(d.hwnd, WM_LBUTTONUP, 0, at);
    } else if (a.verb == "type") {
        HWND c = item(a.args[0]);
        host::script::Log(who + "type " + a.args[0] + " \"" + a.args[1] + "\"" + (c ? "" : " (no such control)"));
        if (!c) return;
        if (GetFocus() != c) FocusByKeyboard(c);
        host::InjectText(d.hwnd, a.args[1]);
    } else if (a.verb == "keydown" || a.verb == "keyup") {
        int vk = host::script::KeyFromName(a.args[0]);
        if (vk <= 0) {
            if (a.verb == "keydown") host::script::Log(who + "unknown key " + a.args[0]);
            return;
        }
        if (a.args.size() > 1) host::script::Log(who + (a.verb == "keydown" ? "down " : "up ") + a.args[0]);
        else if (a.verb == "keydown") host::script::Log(who + "key " + a.args[0]);
        host::InjectKey(d.hwnd, vk, a.verb == "keydown");
    } else if (a.verb == "enter") {
        host::InjectKey(d.hwnd, VK_RETURN, true);
        host::InjectKey(d.hwnd, VK_RETURN, false);
    } else if (a.verb == "close") {
        host::script::Log(who + "close");
        PostMessageA(d.hwnd, WM_CLOSE, 0, 0);
    } else if (a.verb == "wait") {
        host::script::Log(who + "wait " + a.args[0] + " ms");
        drv.waitUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(a.args[0].c_str()));
        drv.waiting = true;
    } else if (a.verb == "capture") {
        std::string path = host::script::FilePath(a.args[0]);
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        bool ok = DrawDialogPixels(d.hwnd, &px, &w, &h) && host::WritePng(path, px.data(), w, h, w * 4);
        host::script::Log(who + "capture " + path + (ok ? "" : " FAILED"));
    }
}

// One step of the driver while the dialog is idle; false when it has nothing to do now.
bool DriveStep(DialogState& d, Driver& drv) {
    if (!drv.active) return false;
    if (drv.custom) return drv.custom(d.hwnd);
    if (drv.waiting) {
        if (std::chrono::steady_clock::now() < drv.waitUntil) return false;
        drv.waiting = false;
    }
    if (drv.next < drv.actions.size()) {
        RunAction(d, drv, drv.actions[drv.next++]);
        return true;
    }
    // The answer is spent and the dialog is still up: close it, and end it if that is refused.
    if (drv.closeTries++ == 0) {
        host::script::Log("dialog " + std::to_string(d.resourceId) + ": still open after its answer, closing");
        PostMessageA(d.hwnd, WM_CLOSE, 0, 0);
    } else {
        host::script::Log("dialog " + std::to_string(d.resourceId) + ": refused to close, ended with 0");
        d.ended = true;
        d.result = 0;
    }
    return true;
}

Driver MakeDriver(const DialogState& d) {
    Driver drv;
    if (t_nextDriver) {
        drv.active = true;
        drv.custom = std::move(t_nextDriver);
        t_nextDriver = nullptr;
        return drv;
    }
    std::vector<std::string> words;
    if (host::script::Active() && host::script::TakeAnswer("dialog", &words)) {
        drv.active = true;
        drv.actions = ParseActions(words, d.resourceId);
    } else if (host::script::Active() || host::IsHeadless()) {
        host::script::Log("dialog " + std::to_string(d.resourceId) + ": no answer, Enter");
        drv.active = true;
        drv.actions.push_back(Action{"enter", {}});
    }
    return drv;
}

void Present(DialogState& d, bool caretOn) {
    if (host::IsHeadless()) return;
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    PaintDialog(d, &px, &w, &h, caretOn);
    if (w > 0 && h > 0) host::ShowWindowPixels(d.hwnd, px.data(), w, h, w * 4);
}

// The dialog loop; fills the messages to post again after it.
void ModalLoop(const std::shared_ptr<DialogState>& ds, std::vector<MSG>* repost, bool* quit, int* quitCode) {
    DialogState& d = *ds;
    Driver drv = MakeDriver(d);
    auto blinkStart = std::chrono::steady_clock::now();
    bool shownCaret = true;
    while (!d.ended) {
        MSG m;
        bool input = false;
        if (!PeekMessageInternal(&m, nullptr, 0, 0, PM_REMOVE, &input)) {
            if (DriveStep(d, drv)) continue;
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                              blinkStart).count();
            bool caretOn = (ms / kBlinkMs) % 2 == 0;
            if (d.dirty || caretOn != shownCaret) {
                d.dirty = false;
                shownCaret = caretOn;
                Present(d, caretOn);
            }
            WaitForQueue(drv.waiting ? 10 : 50);
            continue;
        }
        if (m.message == WM_QUIT) {
            *quit = true;
            *quitCode = (int)m.wParam;
            d.result = 0;
            break;
        }
        if (m.message == WM_CLOSE && m.hwnd && !InDialog(d, m.hwnd)) {
            // Another window is asked to close: the dialog ends as cancelled, and the window is
            // asked again once the dialog has returned.
            repost->push_back(m);
            SendMessageA(d.hwnd, WM_CLOSE, 0, 0);
            continue;
        }
        if (input && (IsMouseMessage(m.message) || IsKeyboardMessage(m.message)) && DisabledChain(m.hwnd)) continue;
        if (input && DialogKey(d, m)) {
            d.dirty = true;
            blinkStart = std::chrono::steady_clock::now();
            continue;
        }
        // The mouse over a dialog goes to the control under it (or to the one that has the
        // mouse while a button is held). The wheel goes to the focused control.
        if (input && IsMouseMessage(m.message) && m.message != WM_MOUSEWHEEL && m.hwnd == d.hwnd) {
            POINT p{(short)LOWORD(m.lParam), (short)HIWORD(m.lParam)};
            HWND target = d.capture ? d.capture : HitTest(d, p);
            if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONDBLCLK) d.capture = target;
            if (m.message == WM_LBUTTONUP) d.capture = nullptr;
            if (target) {
                RECT r = ControlRect(target);
                m.hwnd = target;
                m.lParam = MAKELPARAM(p.x - r.left, p.y - r.top);
            }
        }
        DispatchMessageA(&m);
        d.dirty = true;
        if (IsKeyboardMessage(m.message) || IsMouseMessage(m.message)) blinkStart = std::chrono::steady_clock::now();
    }
}

}  // namespace

// ---- registry ----
std::shared_ptr<DialogState> FindDialog(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(g_m);
    auto it = g_dialogs.find(hwnd);
    return it == g_dialogs.end() ? nullptr : it->second;
}

std::shared_ptr<ControlState> FindControl(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(g_m);
    auto it = g_controls.find(hwnd);
    return it == g_controls.end() ? nullptr : it->second;
}

std::shared_ptr<DialogState> DialogOf(HWND hwnd) {
    if (auto d = FindDialog(hwnd)) return d;
    if (auto c = FindControl(hwnd)) return FindDialog(c->dialog);
    return nullptr;
}

void AddControl(const std::shared_ptr<ControlState>& c) {
    std::lock_guard<std::recursive_mutex> lock(g_m);
    g_controls[c->hwnd] = c;
}

void RemoveControl(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(g_m);
    g_controls.erase(hwnd);
}

void AddDialog(const std::shared_ptr<DialogState>& d) {
    std::lock_guard<std::recursive_mutex> lock(g_m);
    g_dialogs[d->hwnd] = d;
}

void RemoveDialog(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> lock(g_m);
    g_dialogs.erase(hwnd);
    for (auto it = g_controls.begin(); it != g_controls.end();)
        it = it->second->dialog == hwnd ? g_controls.erase(it) : std::next(it);
}

void Invalidate(HWND hwnd) {
    if (auto d = DialogOf(hwnd)) d->dirty = true;
}

std::string WindowText(HWND hwnd) {
    auto w = FindWindowObject(hwnd);
    if (!w) return std::string();
    std::lock_guard<std::recursive_mutex> lock(WindowRegistryMutex());
    return w->title;
}

RECT ControlRect(HWND hwnd) {
    auto w = FindWindowObject(hwnd);
    if (!w) return RECT{0, 0, 0, 0};
    std::lock_guard<std::recursive_mutex> lock(WindowRegistryMutex());
    return w->rect;
}

bool IsShiftDown() { return host::KeyDown(VK_SHIFT) || host::KeyDown(VK_LSHIFT) || host::KeyDown(VK_RSHIFT); }
bool IsCtrlDown() { return host::KeyDown(VK_CONTROL) || host::KeyDown(VK_LCONTROL) || host::KeyDown(VK_RCONTROL); }

void Notify(const ControlState& c, WORD code) {
    SendMessageA(c.dialog, WM_COMMAND, MAKEWPARAM(c.id, code), (LPARAM)c.hwnd);
}

LRESULT DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto d = FindDialog(hwnd);
    if (d && d->proc) {
        INT_PTR r = d->proc(hwnd, msg, wParam, lParam);
        if (r) return msg == WM_INITDIALOG ? r : GetWindowLongPtrA(hwnd, DWLP_MSGRESULT);
    }
    switch (msg) {
    case WM_CLOSE:
        // A dialog is never destroyed by its close box: it hears IDCANCEL.
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    case WM_INITDIALOG:
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void SetNextDialogDriver(std::function<bool(HWND)> drive) { t_nextDriver = std::move(drive); }

void RegisterDialogClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    struct {
        const char* name;
        WNDPROC proc;
    } classes[] = {{kDialogClassName, DialogWindowProc},
                   {"BUTTON", ButtonProc},
                   {"STATIC", StaticProc},
                   {"EDIT", EditProc},
                   {"SCROLLBAR", ScrollBarProc}};
    for (auto& c : classes) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = c.proc;
        wc.lpszClassName = c.name;
        RegisterClassExA(&wc);
    }
}

}  // namespace win32::dlg

using namespace win32;
using namespace win32::dlg;

BOOL RegisterDialogTemplate(HINSTANCE hInstance, WORD id, const DIALOGTEMPLATEDATA* lpTemplate) {
    (void)hInstance;
    if (!lpTemplate) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(g_m);
    g_templates[id] = lpTemplate;
    return TRUE;
}

SIZE DialogBaseUnits(const char* fontFace, int pointSize) {
    auto font = DialogFont(fontFace, pointSize);
    return font ? BaseUnitsOf(font.get()) : SIZE{0, 0};
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam) {
    const DIALOGTEMPLATEDATA* t = nullptr;
    WORD id = (WORD)(uintptr_t)lpTemplateName;
    if ((uintptr_t)lpTemplateName <= 0xFFFF) {
        std::lock_guard<std::recursive_mutex> lock(g_m);
        auto it = g_templates.find(id);
        if (it != g_templates.end()) t = it->second;
    }
    if (!t) {
        SetLastError(1814);  // no such resource
        return -1;
    }
    if (hWndParent && !FindWindowObject(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    if (host::WindowThreadId() == 0) host::Init();
    RegisterDialogClasses();
    auto ds = std::make_shared<DialogState>();
    ds->resourceId = id;
    ds->owner = hWndParent;
    ds->font = DialogFont(t->fontFace, t->pointSize);
    if (!ds->font) return -1;
    ds->base = BaseUnitsOf(ds->font.get());
    auto px = [&](int v) { return MulDivRound(v, ds->base.cx, 4); };
    auto py = [&](int v) { return MulDivRound(v, ds->base.cy, 8); };

    // The window is shown after WM_INITDIALOG. A pop-up without a title bar has no frame of
    // the window's own: the dialog draws a line around itself.
    LONG style = (LONG)(t->style & ~(DWORD)WS_VISIBLE);
    int l, tp, r, b;
    FrameEdges(style, false, &l, &tp, &r, &b);
    int cw = px(t->cx), ch = py(t->cy);
    POINT origin{0, 0};
    if (hWndParent) {
        ClientToScreen(hWndParent, &origin);
    } else {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        origin = POINT{work.left, work.top};
    }
    int x = origin.x + px(t->x) - l, y = origin.y + py(t->y) - tp;
    HWND dlg = CreateWindowExA(0, kDialogClassName, t->caption ? t->caption : "", (DWORD)style, x, y, cw + l + r,
                               ch + tp + b, hWndParent, nullptr, hInstance, nullptr);
    if (!dlg) return -1;
    ds->hwnd = dlg;
    AddDialog(ds);
    for (int i = 0; i < t->itemCount; ++i) {
        const DIALOGITEMDATA& it = t->items[i];
        DWORD cs = it.style | WS_CHILD | WS_VISIBLE;
        HWND c = CreateWindowExA(0, it.className, it.text ? it.text : "", cs, px(it.x), py(it.y), px(it.cx),
                                 py(it.cy), dlg, (HMENU)(uintptr_t)it.id, hInstance, nullptr);
        if (!c) {
            DestroyWindow(dlg);
            RemoveDialog(dlg);
            return -1;
        }
        auto cst = std::make_shared<ControlState>();
        cst->hwnd = c;
        cst->dialog = dlg;
        cst->id = it.id;
        cst->cls = ClassOf(it.className);
        cst->style = cs;
        AddControl(cst);
        ds->controls.push_back(c);
    }

    ds->proc = lpDialogFunc;
    HWND first = FirstTabStop(*ds);
    INT_PTR wantFocus = SendMessageA(dlg, WM_INITDIALOG, (WPARAM)first, dwInitParam);
    HWND focus = GetFocus();
    if (wantFocus || !InDialog(*ds, focus) || focus == dlg) focus = first;

    bool ownerWasEnabled = hWndParent && IsWindowEnabled(hWndParent);
    std::vector<MSG> repost;
    bool quit = false;
    int quitCode = 0;
    if (!ds->ended) {
        if (ownerWasEnabled) EnableWindow(hWndParent, FALSE);
        ShowWindow(dlg, SW_SHOW);
        SetActiveWindow(dlg);
        SetFocus(focus ? focus : dlg);
        ModalLoop(ds, &repost, &quit, &quitCode);
    }
    INT_PTR result = ds->result;
    if (ownerWasEnabled) EnableWindow(hWndParent, TRUE);
    DestroyWindow(dlg);
    RemoveDialog(dlg);
    if (hWndParent && IsWindowVisible(hWndParent)) {
        SetActiveWindow(hWndParent);
        SetFocus(hWndParent);
    }
    for (const MSG& m : repost) PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    if (quit) PostQuitMessage(quitCode);
    return result;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
    auto d = FindDialog(hDlg);
    if (!d) return FALSE;
    d->ended = true;
    d->result = nResult;
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    auto d = FindDialog(hDlg);
    if (!d) return nullptr;
    for (HWND h : d->controls)
        if (auto c = FindControl(h); c && c->id == nIDDlgItem) return h;
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    auto c = FindControl(hWnd);
    return c ? c->id : 0;
}

UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int nMaxCount) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (!item) {
        if (lpString && nMaxCount > 0) lpString[0] = 0;
        return 0;
    }
    return (UINT)GetWindowTextA(item, lpString, nMaxCount);
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SetWindowTextA(item, lpString) : FALSE;
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? SendMessageA(item, Msg, wParam, lParam) : 0;
}

BOOL SetCursorPos(int X, int Y) {
    host::SetCursorPos(X, Y);
    return TRUE;
}

BOOL DrawDialogPixels(HWND hDlg, std::vector<uint32_t>* pixels, int* width, int* height) {
    auto d = FindDialog(hDlg);
    if (!d || !pixels || !width || !height) return FALSE;
    PaintDialog(*d, pixels, width, height, true);
    return TRUE;
}
