// Drawing of the layer's dialogs: a flat, light look with the dialog's font, exact and
// deterministic (the same state always gives the same pixels).
#include <algorithm>
#include <set>

#include "platform/host/host.h"
#include "platform/win32/codepage.h"
#include "platform/win32/dialog_internal.h"

namespace win32::dlg {
namespace {

constexpr uint32_t kButtonFace = 0xE1E1E1;
constexpr uint32_t kButtonBorder = 0xADADAD;
constexpr uint32_t kPushedFace = 0xCCE4F7;
constexpr uint32_t kPushedBorder = 0x005499;
constexpr uint32_t kDisabledFace = 0xCCCCCC;
constexpr uint32_t kDisabledBorder = 0xBFBFBF;
constexpr uint32_t kMarkColour = 0x333333;
constexpr uint32_t kEditBorder = 0x7A7A7A;
constexpr uint32_t kGroupLine = 0xDCDCDC;
constexpr uint32_t kFrameColour = 0x646464;
constexpr uint32_t kTrackColour = 0xE7E7E7;
constexpr uint32_t kThumbColour = 0xCDCDCD;
constexpr uint32_t kThumbActive = 0xA6A6A6;
constexpr uint32_t kArrowColour = 0x606060;

// A check box or radio button mark is 13 pixels square; its text starts after a gap.
constexpr int kBoxSize = 13;
constexpr int kBoxTextX = 17;

const char* const kCircle[kBoxSize] = {
    "....#####....", "..##.....##..", ".#.........#.", ".#.........#.", "#...........#",
    "#...........#", "#...........#", "#...........#", "#...........#", ".#.........#.",
    ".#.........#.", "..##.....##..", "....#####....",
};
const char* const kDot[5] = {".###.", "#####", "#####", "#####", ".###."};
const char* const kCheck[9] = {
    "...........", "...........", "........#..", ".......##..", "..#...##...",
    "..##.##....", "...###.....", "....#......", "...........",
};

void Plot(const PAINTTARGET& t, int x, int y, uint32_t c) {
    if (x >= t.clip.left && y >= t.clip.top && x < t.clip.right && y < t.clip.bottom)
        t.pixels[(size_t)y * t.width + x] = c;
}

// A pattern of '#' pixels at (x, y).
void Pattern(const PAINTTARGET& t, int x, int y, const char* const* rows, int n, uint32_t c) {
    for (int j = 0; j < n; ++j)
        for (int i = 0; rows[j][i]; ++i)
            if (rows[j][i] == '#') Plot(t, x + i, y + j, c);
}

// The inside of the circle pattern.
void FillCircle(const PAINTTARGET& t, int x, int y, uint32_t c) {
    for (int j = 1; j < kBoxSize - 1; ++j) {
        const char* row = kCircle[j];
        int first = -1, last = -1;
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#') {
                if (first < 0) first = i;
                last = i;
            }
        for (int i = first + 1; i < last; ++i) Plot(t, x + i, y + j, c);
    }
}

void DottedRect(const PAINTTARGET& t, RECT r, uint32_t c) {
    for (int x = r.left; x < r.right; ++x) {
        if ((x - r.left) % 2 == 0) {
            Plot(t, x, r.top, c);
            Plot(t, x, r.bottom - 1, c);
        }
    }
    for (int y = r.top; y < r.bottom; ++y) {
        if ((y - r.top) % 2 == 0) {
            Plot(t, r.left, y, c);
            Plot(t, r.right - 1, y, c);
        }
    }
}

// The same picture for drawing at `r`, clipped to `r` as well.
PAINTTARGET Within(const PAINTTARGET& t, RECT r) {
    PAINTTARGET s = t;
    s.rc = r;
    s.clip = RECT{std::max(r.left, t.clip.left), std::max(r.top, t.clip.top), std::min(r.right, t.clip.right),
                  std::min(r.bottom, t.clip.bottom)};
    return s;
}

// Text of a button or static: "&x" marks a mnemonic (shown plainly), "&&" is "&".
std::string StripPrefix(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = (unsigned char)s[i];
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 < s.size()) {
            r += s[i];
            r += s[++i];
            continue;
        }
        if (c == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') ++i;
            else continue;
        }
        r += s[i];
    }
    return r;
}

// Characters that never begin or never end a wrapped line.
const std::set<unsigned>& NoLineStart() {
    static const std::set<unsigned> codes = [] {
        std::set<unsigned> s;
        std::string text = "、。，．）」』】〕！？ー・：；)]},.!?:;";
        const char* p = text.data();
        const char* end = p + text.size();
        while (p < end) {
            unsigned code;
            p += gdi::FontText::NextChar(p, end, &code);
            s.insert(code);
        }
        return s;
    }();
    return codes;
}

const std::set<unsigned>& NoLineEnd() {
    static const std::set<unsigned> codes = [] {
        std::set<unsigned> s;
        std::string text = "（「『【〔([{";
        const char* p = text.data();
        const char* end = p + text.size();
        while (p < end) {
            unsigned code;
            p += gdi::FontText::NextChar(p, end, &code);
            s.insert(code);
        }
        return s;
    }();
    return codes;
}

bool IsPopupWithoutCaption(HWND hwnd) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    return (style & WS_POPUP) && !(style & WS_CAPTION);
}

void PaintButton(const PAINTTARGET& t, const ControlState& c, const DialogState& d) {
    RECT r = t.rc;
    auto w = FindWindowObject(c.hwnd);
    bool enabled = w && w->enabled;
    bool focused = GetFocus() == c.hwnd;
    std::string text = StripPrefix(WindowText(c.hwnd));
    uint32_t textColour = enabled ? kTextColour : kGrayTextColour;
    gdi::FontText* font = t.font;
    int fh = font->Height();
    switch (ButtonType(c.style)) {
    case BS_GROUPBOX: {
        int top = r.top + fh / 2;
        FrameRect(t, RECT{r.left, top, r.right, r.bottom}, kGroupLine);
        int tw = font->Measure(text.data(), (int)text.size()).cx;
        if (!text.empty()) {
            FillRect(t, RECT{r.left + 6, r.top, r.left + 8 + tw + 2, r.top + fh}, kFaceColour);
            DrawTextInRect(t, RECT{r.left + 8, r.top, r.right, r.top + fh}, text, 0, false, false, textColour);
        }
        return;
    }
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: {
        bool radio = IsRadioButton(c);
        int by = r.top + (r.bottom - r.top - kBoxSize) / 2;
        uint32_t fill = !enabled ? kFaceColour : c.pushed ? kPushedFace : kWindowColour;
        uint32_t mark = enabled ? kMarkColour : kGrayTextColour;
        if (radio) {
            FillCircle(t, r.left, by, fill);
            Pattern(t, r.left, by, kCircle, kBoxSize, mark);
            if (c.check) Pattern(t, r.left + 4, by + 4, kDot, 5, mark);
        } else {
            FillRect(t, RECT{r.left, by, r.left + kBoxSize, by + kBoxSize}, fill);
            FrameRect(t, RECT{r.left, by, r.left + kBoxSize, by + kBoxSize}, mark);
            if (c.check) Pattern(t, r.left + 1, by + 2, kCheck, 9, mark);
        }
        RECT tr{r.left + kBoxTextX, r.top, r.right, r.bottom};
        DrawTextInRect(t, tr, text, 0, true, false, textColour);
        if (focused) {
            int tw = font->Measure(text.data(), (int)text.size()).cx;
            int ty = r.top + (r.bottom - r.top - fh) / 2;
            DottedRect(t, RECT{tr.left - 1, ty - 1, std::min<LONG>(tr.left + tw + 1, r.right), ty + fh + 1},
                       kTextColour);
        }
        return;
    }
    default: {
        bool isDefault = DefaultButton(d) == c.hwnd;
        uint32_t face = !enabled ? kDisabledFace : c.pushed ? kPushedFace : kButtonFace;
        uint32_t border = !enabled ? kDisabledBorder : c.pushed ? kPushedBorder : isDefault ? kHighlightColour
                                                                                             : kButtonBorder;
        FillRect(t, r, face);
        FrameRect(t, r, border);
        if (isDefault && enabled) FrameRect(t, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, border);
        DrawTextInRect(t, r, text, 1, true, false, textColour);
        if (focused) DottedRect(t, RECT{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3}, kTextColour);
        return;
    }
    }
}

void PaintStatic(const PAINTTARGET& t, const ControlState& c) {
    DWORD type = c.style & SS_TYPEMASK;
    if (type == SS_BITMAP) return;  // no picture is given to the dialogs' picture items
    auto w = FindWindowObject(c.hwnd);
    bool enabled = w && w->enabled;
    std::string text = WindowText(c.hwnd);
    if (!(c.style & SS_NOPREFIX)) text = StripPrefix(text);
    int align = type == SS_CENTER ? 1 : type == SS_RIGHT ? 2 : 0;
    DrawTextInRect(t, t.rc, text, align, false, true, enabled ? kTextColour : kGrayTextColour);
}

void PaintEdit(const PAINTTARGET& t, const ControlState& c) {
    RECT r = t.rc;
    auto w = FindWindowObject(c.hwnd);
    bool enabled = w && w->enabled;
    bool focused = GetFocus() == c.hwnd;
    FillRect(t, r, enabled ? kWindowColour : kFaceColour);
    FrameRect(t, r, !enabled ? kDisabledBorder : focused ? kHighlightColour : kEditBorder);
    gdi::FontText* font = t.font;
    int fh = font->Height();
    const int margin = 3;
    RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    PAINTTARGET it = Within(t, inner);
    std::string text = WindowText(c.hwnd);
    std::string comp = focused ? Utf8ToCp932(host::CompositionText()) : std::string();
    int caret = std::clamp(c.caret, 0, (int)text.size());
    int lo = std::clamp(std::min(c.anchor, c.caret), 0, (int)text.size());
    int hi = std::clamp(std::max(c.anchor, c.caret), lo, (int)text.size());
    int x0 = r.left + margin - c.scroll;
    int y = r.top + (r.bottom - r.top - fh) / 2;
    uint32_t colour = enabled ? kTextColour : kGrayTextColour;
    gdi::TEXTTARGET tt{t.pixels, t.width, t.height, t.width * 4, it.clip};
    if (!comp.empty()) {
        // The composition is shown at the caret, underlined, until the input method gives it.
        int x = font->Draw(tt, x0, y, text.data(), caret, colour);
        int cx = font->Draw(tt, x, y, comp.data(), (int)comp.size(), colour);
        for (int px = x; px < cx; ++px) Plot(it, px, y + fh - 1, colour);
        font->Draw(tt, cx, y, text.data() + caret, (int)text.size() - caret, colour);
        if (t.caretOn) FillRect(it, RECT{cx, y, cx + 1, y + fh}, kTextColour);
        return;
    }
    int x = font->Draw(tt, x0, y, text.data(), lo, colour);
    if (hi > lo && focused) {
        int sw = font->Measure(text.data() + lo, hi - lo).cx;
        FillRect(it, RECT{x, y, x + sw, y + fh}, kHighlightColour);
        x = font->Draw(tt, x, y, text.data() + lo, hi - lo, kHighlightTextColour);
    } else {
        x = font->Draw(tt, x, y, text.data() + lo, hi - lo, colour);
    }
    font->Draw(tt, x, y, text.data() + hi, (int)text.size() - hi, colour);
    if (focused && t.caretOn) {
        int cx = x0 + font->Measure(text.data(), caret).cx;
        FillRect(it, RECT{cx, y, cx + 1, y + fh}, kTextColour);
    }
}

void Arrow(const PAINTTARGET& t, RECT r, bool vert, bool forward) {
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (int k = 0; k < 4; ++k) {
        int step = forward ? 1 - k : k - 2;  // the tip (k = 0) points the way
        for (int s = -k; s <= k; ++s) {
            if (vert) Plot(t, cx + s, cy + step, kArrowColour);
            else Plot(t, cx + step, cy + s, kArrowColour);
        }
    }
}

void PaintScrollBar(const PAINTTARGET& t, const ControlState& c) {
    RECT r = t.rc;
    bool vert = c.style & SBS_VERT;
    FillRect(t, r, kTrackColour);
    int length = vert ? r.bottom - r.top : r.right - r.left;
    int thick = vert ? r.right - r.left : r.bottom - r.top;
    int arrow = std::min(thick, length / 2);
    int track = std::max(0, length - 2 * arrow);
    int maxPos = std::max(c.nMin, c.nMax - std::max(c.nPage - 1, 0));
    long long range = (long long)c.nMax - c.nMin + 1;
    int thumb = c.nPage > 0 && range > 0 ? (int)std::min<long long>(track, track * (long long)c.nPage / range)
                                         : std::min(track, thick);
    thumb = std::min(track, std::max(thumb, std::min(track, 8)));
    int span = maxPos - c.nMin;
    int pos = c.tracking ? c.nTrackPos : c.nPos;
    int start = arrow + (span > 0 ? (int)((long long)(track - thumb) * (pos - c.nMin) / span) : 0);
    RECT a1 = vert ? RECT{r.left, r.top, r.right, r.top + arrow} : RECT{r.left, r.top, r.left + arrow, r.bottom};
    RECT a2 = vert ? RECT{r.left, r.bottom - arrow, r.right, r.bottom}
                   : RECT{r.right - arrow, r.top, r.right, r.bottom};
    Arrow(t, a1, vert, false);
    Arrow(t, a2, vert, true);
    RECT th = vert ? RECT{r.left + 2, r.top + start, r.right - 2, r.top + start + thumb}
                   : RECT{r.left + start, r.top + 2, r.left + start + thumb, r.bottom - 2};
    FillRect(t, th, c.tracking ? kThumbActive : kThumbColour);
}

}  // namespace

void FillRect(const PAINTTARGET& t, RECT r, uint32_t color) {
    int l = std::max(r.left, t.clip.left), tp = std::max(r.top, t.clip.top);
    int rt = std::min(r.right, t.clip.right), b = std::min(r.bottom, t.clip.bottom);
    for (int y = tp; y < b; ++y)
        for (int x = l; x < rt; ++x) t.pixels[(size_t)y * t.width + x] = color;
}

void FrameRect(const PAINTTARGET& t, RECT r, uint32_t color) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    FillRect(t, RECT{r.left, r.top, r.right, r.top + 1}, color);
    FillRect(t, RECT{r.left, r.bottom - 1, r.right, r.bottom}, color);
    FillRect(t, RECT{r.left, r.top, r.left + 1, r.bottom}, color);
    FillRect(t, RECT{r.right - 1, r.top, r.right, r.bottom}, color);
}

std::vector<std::pair<int, int>> WrapLines(gdi::FontText* font, const std::string& text, int width) {
    std::vector<std::pair<int, int>> lines;
    const char* base = text.data();
    const char* end = base + text.size();
    const auto& noStart = NoLineStart();
    const auto& noEnd = NoLineEnd();
    int lineStart = 0;
    int i = 0, x = 0, breakAt = -1;
    unsigned prev = 0;
    bool prevWide = false;
    while (i < (int)text.size()) {
        unsigned code;
        int len = gdi::FontText::NextChar(base + i, end, &code);
        if (code == '\n' || code == '\r') {
            lines.push_back({lineStart, i});
            i += len;
            if (code == '\r' && i < (int)text.size() && text[(size_t)i] == '\n') ++i;
            lineStart = i;
            x = 0;
            breakAt = -1;
            prev = 0;
            continue;
        }
        bool wide = len == 2;
        // A line may break before this character after a blank, or between two characters of
        // which one is a two-byte one, unless the rules of line starts and ends forbid it.
        if (i > lineStart && (prev == ' ' || wide || prevWide) && !noStart.count(code) && !noEnd.count(prev))
            breakAt = i;
        int w = font->CharWidth(code);
        if (x + w > width && i > lineStart) {
            int cut = breakAt > lineStart ? breakAt : i;
            int lineEnd = cut;
            while (lineEnd > lineStart && text[(size_t)lineEnd - 1] == ' ') --lineEnd;
            lines.push_back({lineStart, lineEnd});
            lineStart = cut;
            while (lineStart < (int)text.size() && text[(size_t)lineStart] == ' ') ++lineStart;
            i = lineStart;
            x = 0;
            breakAt = -1;
            prev = 0;
            prevWide = false;
            continue;
        }
        x += w;
        prev = code;
        prevWide = wide;
        i += len;
    }
    if (lineStart < (int)text.size() || lines.empty()) lines.push_back({lineStart, (int)text.size()});
    return lines;
}

void DrawTextInRect(const PAINTTARGET& t, RECT r, const std::string& text, int align, bool vcentre, bool wrap,
                    uint32_t color) {
    PAINTTARGET s = Within(t, r);
    gdi::TEXTTARGET tt{t.pixels, t.width, t.height, t.width * 4, s.clip};
    if (s.clip.right <= s.clip.left || s.clip.bottom <= s.clip.top) return;
    gdi::FontText* font = t.font;
    int fh = font->Height();
    std::vector<std::pair<int, int>> lines =
        wrap ? WrapLines(font, text, (int)(r.right - r.left)) : std::vector<std::pair<int, int>>{{0, (int)text.size()}};
    int y = vcentre ? r.top + (r.bottom - r.top - fh * (int)lines.size()) / 2 : r.top;
    for (auto [a, b] : lines) {
        if (y >= r.bottom) break;
        int w = font->Measure(text.data() + a, b - a).cx;
        int x = align == 1 ? r.left + (r.right - r.left - w) / 2 : align == 2 ? r.right - w : r.left;
        font->Draw(tt, x, y, text.data() + a, b - a, color);
        y += fh;
    }
}

void PaintDialog(const DialogState& d, std::vector<uint32_t>* pixels, int* width, int* height, bool caretOn) {
    RECT client{0, 0, 0, 0};
    GetClientRect(d.hwnd, &client);
    int w = std::max(0, (int)client.right), h = std::max(0, (int)client.bottom);
    pixels->assign((size_t)w * h, kFaceColour);
    *width = w;
    *height = h;
    if (w == 0 || h == 0 || !d.font) return;
    PAINTTARGET t{pixels->data(), w, h, RECT{0, 0, w, h}, RECT{0, 0, w, h}, d.font.get(), caretOn};
    // A dialog without a title bar shows its frame as a line around it.
    if (IsPopupWithoutCaption(d.hwnd)) FrameRect(t, RECT{0, 0, w, h}, kFrameColour);
    for (HWND hc : d.controls) {
        auto c = FindControl(hc);
        auto wo = FindWindowObject(hc);
        if (!c || !wo || !wo->visible) continue;
        PAINTTARGET ct = Within(t, ControlRect(hc));
        switch (c->cls) {
        case CtrlClass::Button: PaintButton(ct, *c, d); break;
        case CtrlClass::Static: PaintStatic(ct, *c); break;
        case CtrlClass::Edit: PaintEdit(ct, *c); break;
        case CtrlClass::ScrollBar: PaintScrollBar(ct, *c); break;
        case CtrlClass::Custom:
            if (c->paint) c->paint(ct);
            break;
        }
    }
}

}  // namespace win32::dlg
