// The edit control's limits: after every change of its text, an edit control bound to a program
// string holds the text to a per-line length, a line count and (through the length it reads) a
// total size. This is the change itself, apart from the control: the text as read, the
// selection, the last accepted text and whether Backspace is held go in; the text and the
// selection to write back come out.
#pragma once

#include <string>

struct EDITLIMITS {
    int nPerLine;   // longest line (bytes, or characters in character mode); <= 0: no limit
    int nLines;     // most lines; <= 0: no limit
    int bCharMode;  // 0: lengths in bytes; otherwise characters (a two-byte pair is one, a line feed none)
};

struct EDITCHANGE {
    std::string text;
    int nSelStart;
    int nSelEnd;
};

// A line that has grown past the per-line limit is broken after the part that fits, its tail
// joining the next line; a text of more lines than the limit, and a Backspace that would join a
// line to a previous line already at the limit, are undone (the last accepted text, with the
// selection as read). Selection positions stay on character boundaries, never between a
// carriage return and its line feed, and never past the end.
EDITCHANGE ApplyEditLimits(const std::string& read, int selStart, int selEnd, const std::string& lastAccepted,
                           bool backspaceHeld, const EDITLIMITS& limits);
