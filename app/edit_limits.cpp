#include "app/edit_limits.h"

#include <algorithm>

#include "core/helpers.h"

namespace {

// The length of a piece of text by the mode.
int Length(const std::string& s, size_t from, size_t to, int charMode) {
    if (!charMode) return (int)(to - from);
    return GetCharCount(s.substr(from, to - from).c_str());
}

// The start of the character that contains byte `pos` (walking from `from`, a character start).
size_t CharStart(const std::string& s, size_t from, size_t pos) {
    size_t i = from;
    while (i < pos) {
        size_t len = IsSjisPair(s.c_str() + i) ? 2 : 1;
        if (i + len > pos) return i;
        i += len;
    }
    return i;
}

int CountLines(const std::string& s) { return 1 + (int)std::count(s.begin(), s.end(), '\n'); }

int Clamp(const std::string& s, int pos) {
    if (pos < 0) pos = 0;
    if (pos > (int)s.size()) pos = (int)s.size();
    pos = (int)CharStart(s, 0, (size_t)pos);
    // Never between a carriage return and its line feed.
    if (pos > 0 && pos < (int)s.size() && s[(size_t)pos - 1] == '\r' && s[(size_t)pos] == '\n') ++pos;
    return pos;
}

EDITCHANGE Finish(std::string text, int s, int e) {
    EDITCHANGE r;
    r.nSelStart = Clamp(text, s);
    r.nSelEnd = Clamp(text, e);
    r.text = std::move(text);
    return r;
}

// Moves a selection position of the text before a break was inserted at `cut` and the line break
// of `breakLen` bytes at `end` was taken out.
int Shift(int p, size_t cut, size_t end, size_t breakLen) {
    size_t u = (size_t)std::max(p, 0);
    if (u >= end + breakLen) return p + 2 - (int)breakLen;
    if (u > end) return (int)end + 2;
    if (u >= cut) return p + 2;
    return p;
}

}  // namespace

EDITCHANGE ApplyEditLimits(const std::string& read, int selStart, int selEnd, const std::string& lastAccepted,
                           bool backspaceHeld, const EDITLIMITS& lim) {
    if (lim.nPerLine <= 0 && lim.nLines <= 0) {
        EDITCHANGE r{read, selStart, selEnd};
        return r;
    }
    // Backspace that took out a line break: refused when the line before the caret is already
    // at the limit (the two lines would not fit in one).
    if (backspaceHeld && selStart == selEnd && read.size() + 2 == lastAccepted.size() &&
        CountLines(read) < CountLines(lastAccepted) && lim.nPerLine > 0) {
        size_t caret = (size_t)std::clamp(selStart, 0, (int)read.size());
        size_t nl = caret > 0 ? read.rfind('\n', caret - 1) : std::string::npos;
        size_t lineStart = nl == std::string::npos ? 0 : nl + 1;
        if (Length(read, lineStart, caret, lim.bCharMode) >= lim.nPerLine)
            return Finish(lastAccepted, selStart, selEnd);
    }
    std::string text = read;
    int s = selStart, e = selEnd;
    size_t pos = 0;
    for (int line = 0; lim.nLines <= 0 || line < lim.nLines; ++line) {
        size_t end = text.find('\r', pos);
        if (end == std::string::npos) end = text.size();
        if (lim.nPerLine > 0 && Length(text, pos, end, lim.bCharMode) > lim.nPerLine) {
            // The longest start of the line that fits, on a character boundary.
            size_t cut = end;
            while (cut > pos && Length(text, pos, cut, lim.bCharMode) > lim.nPerLine)
                cut = CharStart(text, pos, cut - 1);
            // A character wider than the limit still makes a line of its own.
            if (cut == pos) cut = pos + (IsSjisPair(text.c_str() + pos) ? 2 : 1);
            if (cut < end) {
                size_t breakLen = 0;
                if (end < text.size() && text[end] == '\r')
                    breakLen = (end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
                text = text.substr(0, cut) + "\r\n" + text.substr(cut, end - cut) + text.substr(end + breakLen);
                s = Shift(s, cut, end, breakLen);
                e = Shift(e, cut, end, breakLen);
                end = cut;
            }
        }
        if (end >= text.size()) break;
        pos = end + 1;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    if (lim.nLines > 0 && CountLines(text) > lim.nLines) return Finish(lastAccepted, selStart, selEnd);
    return Finish(text, s, e);
}
