// The controls of the layer's dialogs: buttons, static texts, single-line edit boxes and scroll
// bars. Their state lives in the dialog registry; their text is the window text.
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <map>

#include "platform/host/host.h"
#include "platform/win32/codepage.h"
#include "platform/win32/dialog_internal.h"

namespace win32::dlg {
namespace {

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Text starts this many pixels inside an edit box (its border and a margin).
const int kEditMarginX = 3;

gdi::FontText* FontOf(const ControlState& c) {
    auto d = FindDialog(c.dialog);
    return d ? d->font.get() : nullptr;
}

// ---- buttons ----
LRESULT ButtonMouse(ControlState& c, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (ButtonType(c.style) == BS_GROUPBOX) return 0;
    RECT r = ControlRect(c.hwnd);
    POINT p{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    bool inside = p.x >= 0 && p.y >= 0 && p.x < r.right - r.left && p.y < r.bottom - r.top;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != c.hwnd) SetFocus(c.hwnd);
        c.mouseDown = c.pushed = true;
        break;
    case WM_MOUSEMOVE:
        if (c.mouseDown) c.pushed = inside && (wParam & 1);
        break;
    case WM_LBUTTONUP:
        if (c.mouseDown) {
            c.mouseDown = false;
            bool click = c.pushed && inside;
            c.pushed = false;
            Invalidate(c.hwnd);
            if (click) ClickButton(FindControl(c.hwnd));
        }
        break;
    default:
        break;
    }
    Invalidate(c.hwnd);
    return 0;
}

// ---- edit boxes ----
std::string EditText(const ControlState& c) { return WindowText(c.hwnd); }

void StoreEdit(ControlState& c, const std::string& text, int caret) {
    StoreWindowText(c.hwnd, text.c_str());
    c.anchor = c.caret = caret;
    EditScrollToCaret(c, FontOf(c));
    Invalidate(c.hwnd);
    Notify(c, EN_UPDATE);
}

void ReplaceSelection(ControlState& c, const std::string& insert) {
    if (c.style & ES_READONLY) return;
    std::string t = EditText(c);
    int lo = std::min(c.anchor, c.caret), hi = std::max(c.anchor, c.caret);
    lo = std::clamp(lo, 0, (int)t.size());
    hi = std::clamp(hi, lo, (int)t.size());
    t = t.substr(0, (size_t)lo) + insert + t.substr((size_t)hi);
    StoreEdit(c, t, lo + (int)insert.size());
}

std::string SelectedText(const ControlState& c) {
    std::string t = EditText(c);
    int lo = std::clamp(std::min(c.anchor, c.caret), 0, (int)t.size());
    int hi = std::clamp(std::max(c.anchor, c.caret), lo, (int)t.size());
    return t.substr((size_t)lo, (size_t)(hi - lo));
}

void CopySelection(const ControlState& c) {
    std::string s = SelectedText(c);
    if (!s.empty()) SDL_SetClipboardText(Cp932ToUtf8(s).c_str());
}

void Paste(ControlState& c) {
    char* clip = SDL_GetClipboardText();
    std::string text = clip ? Utf8ToCp932(clip) : std::string();
    if (clip) SDL_free(clip);
    // One line: the text up to its first line break.
    size_t br = text.find_first_of("\r\n");
    if (br != std::string::npos) text.resize(br);
    if (!text.empty()) ReplaceSelection(c, text);
}

void MoveCaret(ControlState& c, int pos, bool extend) {
    c.caret = pos;
    if (!extend) c.anchor = pos;
    EditScrollToCaret(c, FontOf(c));
    Invalidate(c.hwnd);
}

LRESULT EditKey(ControlState& c, WPARAM vk) {
    std::string t = EditText(c);
    bool shift = IsShiftDown(), ctrl = IsCtrlDown();
    int lo = std::min(c.anchor, c.caret), hi = std::max(c.anchor, c.caret);
    switch ((int)vk) {
    case VK_LEFT:
        if (!shift && lo != hi) MoveCaret(c, lo, false);
        else MoveCaret(c, PrevCharStart(t, c.caret), shift);
        break;
    case VK_RIGHT:
        if (!shift && lo != hi) MoveCaret(c, hi, false);
        else MoveCaret(c, NextCharEnd(t, c.caret), shift);
        break;
    case VK_HOME:
        MoveCaret(c, 0, shift);
        break;
    case VK_END:
        MoveCaret(c, (int)t.size(), shift);
        break;
    case VK_BACK:
        if (lo == hi) {
            if (lo == 0) break;
            c.anchor = PrevCharStart(t, lo);
            c.caret = lo;
        }
        ReplaceSelection(c, "");
        break;
    case VK_DELETE:
        if (shift) {
            if (lo == hi) break;
            CopySelection(c);
        } else if (lo == hi) {
            if (hi >= (int)t.size()) break;
            c.anchor = lo;
            c.caret = NextCharEnd(t, lo);
        }
        ReplaceSelection(c, "");
        break;
    case VK_INSERT:
        if (shift) Paste(c);
        else if (ctrl) CopySelection(c);
        break;
    case 'A':
        if (ctrl) {
            c.anchor = 0;
            MoveCaret(c, (int)t.size(), true);
        }
        break;
    case 'C':
        if (ctrl) CopySelection(c);
        break;
    case 'X':
        if (ctrl && lo != hi) {
            CopySelection(c);
            ReplaceSelection(c, "");
        }
        break;
    case 'V':
        if (ctrl) Paste(c);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT EditChar(ControlState& c, WPARAM ch) {
    unsigned char b = (unsigned char)ch;
    if (c.pendingLead >= 0) {
        int lead = c.pendingLead;
        c.pendingLead = -1;
        if (IsTrail(b)) {
            std::string pair;
            pair += (char)lead;
            pair += (char)b;
            ReplaceSelection(c, pair);
            return 0;
        }
    }
    if (IsLead(b)) {
        c.pendingLead = b;
        return 0;
    }
    if (b < 0x20 || b == 0x7F) return 0;
    ReplaceSelection(c, std::string(1, (char)b));
    return 0;
}

// ---- scroll bars ----
struct BarGeometry {
    int length, thickness, arrow, thumbStart, thumbLength;
};

int MaxPos(const ControlState& c) { return std::max(c.nMin, c.nMax - std::max(c.nPage - 1, 0)); }

BarGeometry Geometry(const ControlState& c) {
    RECT r = ControlRect(c.hwnd);
    bool vert = c.style & SBS_VERT;
    BarGeometry g;
    g.length = vert ? r.bottom - r.top : r.right - r.left;
    g.thickness = vert ? r.right - r.left : r.bottom - r.top;
    g.arrow = std::min(g.thickness, g.length / 2);
    int track = std::max(0, g.length - 2 * g.arrow);
    long long range = (long long)c.nMax - c.nMin + 1;
    g.thumbLength = c.nPage > 0 && range > 0 ? (int)std::min<long long>(track, track * (long long)c.nPage / range)
                                             : std::min(track, g.thickness);
    g.thumbLength = std::min(track, std::max(g.thumbLength, std::min(track, 8)));
    int span = MaxPos(c) - c.nMin;
    g.thumbStart = g.arrow + (span > 0 ? (int)((long long)(track - g.thumbLength) * (c.nPos - c.nMin) / span) : 0);
    return g;
}

void SendScroll(const ControlState& c, int code, int pos) {
    UINT msg = (c.style & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(c.dialog, msg, MAKEWPARAM(code, (WORD)pos), (LPARAM)c.hwnd);
}

int ClampPos(const ControlState& c, int pos) { return std::clamp(pos, c.nMin, MaxPos(c)); }

// The standard bars of ordinary windows: kept, not drawn.
std::map<std::pair<HWND, int>, ControlState> g_windowBars;

}  // namespace

// ---- Shift-JIS positions ----
int SnapToChar(const std::string& s, int pos) {
    pos = std::clamp(pos, 0, (int)s.size());
    int i = 0;
    while (i < pos) {
        int len = (IsLead((unsigned char)s[(size_t)i]) && i + 1 < (int)s.size() && IsTrail((unsigned char)s[(size_t)i + 1])) ? 2 : 1;
        if (i + len > pos) return i;
        i += len;
    }
    return i;
}

int PrevCharStart(const std::string& s, int pos) {
    pos = SnapToChar(s, pos);
    int i = 0, last = 0;
    while (i < pos) {
        last = i;
        i += (IsLead((unsigned char)s[(size_t)i]) && i + 1 < (int)s.size() && IsTrail((unsigned char)s[(size_t)i + 1])) ? 2 : 1;
    }
    return last;
}

int NextCharEnd(const std::string& s, int pos) {
    pos = SnapToChar(s, pos);
    if (pos >= (int)s.size()) return (int)s.size();
    return pos + ((IsLead((unsigned char)s[(size_t)pos]) && pos + 1 < (int)s.size() &&
                   IsTrail((unsigned char)s[(size_t)pos + 1]))
                      ? 2
                      : 1);
}

int EditPositionFromX(const ControlState& c, gdi::FontText* font, int x) {
    std::string t = EditText(c);
    if (!font) return 0;
    int target = x - kEditMarginX + c.scroll;
    int pos = 0, px = 0;
    while (pos < (int)t.size()) {
        int next = NextCharEnd(t, pos);
        int w = font->Measure(t.data() + pos, next - pos).cx;
        if (target < px + w / 2) break;
        px += w;
        pos = next;
    }
    return pos;
}

void EditScrollToCaret(ControlState& c, gdi::FontText* font) {
    if (!font) return;
    std::string t = EditText(c);
    RECT r = ControlRect(c.hwnd);
    int visible = std::max(1, (int)(r.right - r.left) - 2 * kEditMarginX);
    int caretX = font->Measure(t.data(), std::clamp(c.caret, 0, (int)t.size())).cx;
    int total = font->Measure(t.data(), (int)t.size()).cx;
    if (total <= visible) c.scroll = 0;
    else if (caretX - c.scroll > visible - 1) c.scroll = caretX - visible + 1;
    else if (caretX < c.scroll) c.scroll = std::max(0, caretX - visible / 3);
}

// ---- buttons ----
DWORD ButtonType(DWORD style) { return style & BS_TYPEMASK; }

bool IsPushButton(const ControlState& c) {
    return c.cls == CtrlClass::Button &&
           (ButtonType(c.style) == BS_PUSHBUTTON || ButtonType(c.style) == BS_DEFPUSHBUTTON);
}

bool IsRadioButton(const ControlState& c) {
    return c.cls == CtrlClass::Button &&
           (ButtonType(c.style) == BS_AUTORADIOBUTTON || ButtonType(c.style) == BS_RADIOBUTTON);
}

std::vector<HWND> RadioGroup(const DialogState& d, HWND radio) {
    // A group runs from a control with WS_GROUP (or the first control) to the next one.
    auto at = std::find(d.controls.begin(), d.controls.end(), radio);
    if (at == d.controls.end()) return {};
    size_t i = (size_t)(at - d.controls.begin());
    size_t start = i;
    while (start > 0 && !(FindControl(d.controls[start])->style & WS_GROUP)) --start;
    size_t end = i + 1;
    while (end < d.controls.size() && !(FindControl(d.controls[end])->style & WS_GROUP)) ++end;
    std::vector<HWND> group;
    for (size_t k = start; k < end; ++k)
        if (auto c = FindControl(d.controls[k]); c && IsRadioButton(*c)) group.push_back(c->hwnd);
    return group;
}

void ClickButton(const std::shared_ptr<ControlState>& c) {
    if (!c || c->cls != CtrlClass::Button) return;
    switch (ButtonType(c->style)) {
    case BS_GROUPBOX:
        return;
    case BS_AUTOCHECKBOX:
        c->check = c->check ? 0 : 1;
        break;
    case BS_AUTORADIOBUTTON:
        if (auto d = FindDialog(c->dialog)) {
            for (HWND h : RadioGroup(*d, c->hwnd))
                if (auto o = FindControl(h); o && o != c && ButtonType(o->style) == BS_AUTORADIOBUTTON) o->check = 0;
        }
        c->check = 1;
        break;
    default:
        break;
    }
    Invalidate(c->hwnd);
    Notify(*c, BN_CLICKED);
}

HWND DefaultButton(const DialogState& d) {
    if (auto f = FindControl(GetFocus()); f && f->dialog == d.hwnd && IsPushButton(*f)) return f->hwnd;
    for (HWND h : d.controls)
        if (auto c = FindControl(h); c && c->cls == CtrlClass::Button && ButtonType(c->style) == BS_DEFPUSHBUTTON)
            return h;
    return nullptr;
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto c = FindControl(hwnd);
    if (!c) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case BM_GETCHECK:
        return c->check;
    case BM_SETCHECK:
        c->check = (int)wParam;
        Invalidate(hwnd);
        return 0;
    case BM_CLICK:
        ClickButton(c);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        return ButtonMouse(*c, msg, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !(lParam & (1 << 30))) {
            c->spaceDown = c->pushed = true;
            Invalidate(hwnd);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && c->spaceDown) {
            c->spaceDown = c->pushed = false;
            ClickButton(c);
        }
        return 0;
    case WM_SETFOCUS:
        Invalidate(hwnd);
        return 0;
    case WM_KILLFOCUS:
        c->spaceDown = c->mouseDown = c->pushed = false;
        Invalidate(hwnd);
        return 0;
    case WM_SETTEXT:
        Invalidate(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) Invalidate(hwnd);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto cp = FindControl(hwnd);
    if (!cp) return DefWindowProcA(hwnd, msg, wParam, lParam);
    ControlState& c = *cp;
    switch (msg) {
    case WM_SETTEXT:
        // A new text, also from the program, is a change like any other: EN_UPDATE.
        c.scroll = 0;
        c.pendingLead = -1;
        StoreEdit(c, lParam ? (const char*)lParam : "", 0);
        return TRUE;
    case EM_GETSEL: {
        int lo = std::min(c.anchor, c.caret), hi = std::max(c.anchor, c.caret);
        if (wParam) *(DWORD*)wParam = (DWORD)lo;
        if (lParam) *(DWORD*)lParam = (DWORD)hi;
        return MAKELONG(std::min(lo, 0xFFFF), std::min(hi, 0xFFFF));
    }
    case EM_SETSEL: {
        std::string t = EditText(c);
        long long s = (long long)(int)(uint32_t)wParam, e = (long long)(int)(uint32_t)lParam;
        if (s == -1) {
            c.anchor = c.caret;
        } else {
            if (s < 0 || s > (long long)t.size()) s = (long long)t.size();
            if (e < 0 || e > (long long)t.size()) e = (long long)t.size();
            c.anchor = SnapToChar(t, (int)s);
            c.caret = SnapToChar(t, (int)e);
        }
        EditScrollToCaret(c, FontOf(c));
        Invalidate(hwnd);
        return 0;
    }
    case WM_CHAR:
        return EditChar(c, wParam);
    case WM_KEYDOWN:
        return EditKey(c, wParam);
    case WM_PASTE:
        Paste(c);
        return 0;
    case WM_LBUTTONDOWN:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        MoveCaret(c, EditPositionFromX(c, FontOf(c), (short)LOWORD(lParam)), IsShiftDown());
        c.selecting = true;
        return 0;
    case WM_MOUSEMOVE:
        if (c.selecting && (wParam & 1)) MoveCaret(c, EditPositionFromX(c, FontOf(c), (short)LOWORD(lParam)), true);
        return 0;
    case WM_LBUTTONUP:
        c.selecting = false;
        return 0;
    case WM_LBUTTONDBLCLK:
        c.anchor = 0;
        MoveCaret(c, (int)EditText(c).size(), true);
        return 0;
    case WM_SETFOCUS: {
        RECT r = ControlRect(hwnd);
        host::SetTextInputRect(c.dialog, r);
        Invalidate(hwnd);
        return 0;
    }
    case WM_KILLFOCUS:
        c.pendingLead = -1;
        c.selecting = false;
        Invalidate(hwnd);
        Notify(c, EN_KILLFOCUS);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto cp = FindControl(hwnd);
    if (!cp) return DefWindowProcA(hwnd, msg, wParam, lParam);
    ControlState& c = *cp;
    bool vert = c.style & SBS_VERT;
    int at = vert ? (short)HIWORD(lParam) : (short)LOWORD(lParam);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        BarGeometry g = Geometry(c);
        if (at < g.arrow) SendScroll(c, SB_LINEUP, 0);
        else if (at >= g.length - g.arrow) SendScroll(c, SB_LINEDOWN, 0);
        else if (at < g.thumbStart) SendScroll(c, SB_PAGEUP, 0);
        else if (at >= g.thumbStart + g.thumbLength) SendScroll(c, SB_PAGEDOWN, 0);
        else {
            c.tracking = true;
            c.trackGrab = at - g.thumbStart;
            c.nTrackPos = c.nPos;
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (c.tracking && (wParam & 1)) {
            BarGeometry g = Geometry(c);
            int track = std::max(1, g.length - 2 * g.arrow - g.thumbLength);
            int span = MaxPos(c) - c.nMin;
            int pos = c.nMin + (int)((long long)(at - c.trackGrab - g.arrow) * span / track);
            c.nTrackPos = ClampPos(c, pos);
            SendScroll(c, SB_THUMBTRACK, c.nTrackPos);
        }
        return 0;
    case WM_LBUTTONUP:
        if (c.tracking) {
            c.tracking = false;
            SendScroll(c, SB_THUMBPOSITION, c.nTrackPos);
        }
        SendScroll(c, SB_ENDSCROLL, 0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace win32::dlg

using namespace win32;
using namespace win32::dlg;

int SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
    if (!lpsi) return 0;
    ControlState* c = nullptr;
    std::shared_ptr<ControlState> ctl;
    if (nBar == SB_CTL) {
        ctl = FindControl(hwnd);
        if (!ctl || ctl->cls != CtrlClass::ScrollBar) return 0;
        c = ctl.get();
    } else if ((nBar == SB_HORZ || nBar == SB_VERT) && FindWindowObject(hwnd)) {
        c = &g_windowBars[{hwnd, nBar}];
    } else {
        return 0;
    }
    if (lpsi->fMask & SIF_RANGE) {
        c->nMin = lpsi->nMin;
        c->nMax = std::max(lpsi->nMin, lpsi->nMax);
    }
    if (lpsi->fMask & SIF_PAGE) c->nPage = (int)std::min<UINT>(lpsi->nPage, (UINT)INT_MAX);
    if (lpsi->fMask & SIF_POS) c->nPos = lpsi->nPos;
    c->nPos = ClampPos(*c, c->nPos);
    if (redraw && ctl) Invalidate(hwnd);
    return c->nPos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
    if (!lpsi) return FALSE;
    const ControlState* c = nullptr;
    std::shared_ptr<ControlState> ctl;
    if (nBar == SB_CTL) {
        ctl = FindControl(hwnd);
        if (!ctl || ctl->cls != CtrlClass::ScrollBar) return FALSE;
        c = ctl.get();
    } else {
        auto it = g_windowBars.find({hwnd, nBar});
        if (it == g_windowBars.end()) return FALSE;
        c = &it->second;
    }
    if (lpsi->fMask & SIF_RANGE) {
        lpsi->nMin = c->nMin;
        lpsi->nMax = c->nMax;
    }
    if (lpsi->fMask & SIF_PAGE) lpsi->nPage = (UINT)c->nPage;
    if (lpsi->fMask & SIF_POS) lpsi->nPos = c->nPos;
    if (lpsi->fMask & SIF_TRACKPOS) lpsi->nTrackPos = c->tracking ? c->nTrackPos : c->nPos;
    return TRUE;
}
