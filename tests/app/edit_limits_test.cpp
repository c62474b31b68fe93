// The edit control's change algorithm as a table: the name dialog's three characters, reflow of
// long lines in byte mode, the undo of a text with too many lines, a refused Backspace.
#include <gtest/gtest.h>

#include "app/edit_limits.h"

namespace {

// What the control gives when it is read with a buffer of `count` bytes: at most count - 1
// bytes, never half a two-byte character.
std::string ReadWith(const std::string& text, int count) {
    std::string r;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = (unsigned char)text[i];
        size_t len = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < text.size() ? 2 : 1;
        if (r.size() + len > (size_t)count - 1) break;
        r += text.substr(i, len);
        i += len;
    }
    return r;
}

struct Case {
    const char* name;
    EDITLIMITS limits;
    int readCount;  // 0: read whole
    const char* last;
    const char* control;
    int selStart, selEnd;
    bool backspace;
    const char* want;
    int wantStart, wantEnd;
};

// The name dialog: 3 characters, one line, character mode, read with 7 bytes.
const EDITLIMITS kName{3, 1, 1};
// A multi-line box: 10 bytes a line, 32 lines.
const EDITLIMITS kBytes{10, 32, 0};
const EDITLIMITS kTwoLines{10, 2, 0};

const Case kCases[] = {
    {"third half-width character", kName, 7, "AB", "ABC", 3, 3, false, "ABC", 3, 3},
    {"fourth half-width character undone", kName, 7, "ABC", "ABCD", 4, 4, false, "ABC", 3, 3},
    {"third full-width character", kName, 7, "あい", "あいう", 6, 6, false, "あいう", 6, 6},
    {"fourth full-width character cut by the read", kName, 7, "あいう", "あいうえ", 8, 8, false, "あいう", 6, 6},
    {"mixed, third character", kName, 7, "Aあ", "Aあい", 5, 5, false, "Aあい", 5, 5},
    {"mixed, fourth character undone", kName, 7, "Aあい", "AあいB", 6, 6, false, "Aあい", 5, 5},
    {"mixed, typed in the middle undone", kName, 7, "Aあい", "Axあい", 2, 2, false, "Aあい", 1, 1},
    {"half-width katakana count one each", kName, 7, "ｱｲｳ", "ｱｲｳｴ", 4, 4, false, "ｱｲｳ", 3, 3},
    {"pasted long text is cut", kName, 7, "", "漢字かな", 8, 8, false, "漢字か", 6, 6},
    {"replacing the whole selection", kName, 7, "abc", "x", 1, 1, false, "x", 1, 1},
    {"per-line reflow", kBytes, 0, "0123456789ABCD", "0123456789ABCDE", 15, 15, false, "0123456789\r\nABCDE", 17,
     17},
    {"the tail joins the next line", kBytes, 0, "0123456789A\r\nxyz", "0123456789AB\r\nxyz", 12, 12, false,
     "0123456789\r\nABxyz", 14, 14},
    {"a line of more than twice the limit", kBytes, 0, "", "0123456789abcdefghijKLM", 23, 23, false,
     "0123456789\r\nabcdefghij\r\nKLM", 27, 27},
    {"the break keeps two-byte characters whole", kBytes, 0, "", "012345678あい", 13, 13, false,
     "012345678\r\nあい", 15, 15},
    {"Enter on the last allowed line undone", kTwoLines, 0, "ab\r\ncd", "ab\r\ncd\r\n", 8, 8, false, "ab\r\ncd", 6,
     6},
    {"a pasted long line making a third line undone", kTwoLines, 0, "ab\r\ncd", "ab\r\ncd0123456789", 16, 16,
     false, "ab\r\ncd", 6, 6},
    {"Backspace onto a full line refused", kBytes, 0, "0123456789\r\nabc", "0123456789abc", 10, 10, true,
     "0123456789\r\nabc", 10, 10},
    {"Backspace onto a short line joins", kBytes, 0, "01234\r\nabc", "01234abc", 5, 5, true, "01234abc", 5, 5},
    {"Delete of the same break reflows", kBytes, 0, "0123456789\r\nabc", "0123456789abc", 10, 10, false,
     "0123456789\r\nabc", 12, 12},
    {"no position between CR and LF", kTwoLines, 0, "abc\r\nd", "abc\r\n\r\nd", 4, 4, false, "abc\r\nd", 5, 5},
};

TEST(EditLimits, ChangesByTheTable) {
    for (const Case& c : kCases) {
        std::string read = c.readCount ? ReadWith(c.control, c.readCount) : std::string(c.control);
        int s = std::min(c.selStart, (int)read.size() + 2), e = std::min(c.selEnd, (int)read.size() + 2);
        EDITCHANGE r = ApplyEditLimits(read, s, e, c.last, c.backspace, c.limits);
        EXPECT_EQ(r.text, c.want) << c.name;
        EXPECT_EQ(r.nSelStart, c.wantStart) << c.name;
        EXPECT_EQ(r.nSelEnd, c.wantEnd) << c.name;
    }
}

TEST(EditLimits, WithoutLimitsTheTextStandsAsRead) {
    EDITCHANGE r = ApplyEditLimits("any\r\ntext", 2, 3, "old", true, EDITLIMITS{0, -1, 0});
    EXPECT_EQ(r.text, "any\r\ntext");
    EXPECT_EQ(r.nSelStart, 2);
    EXPECT_EQ(r.nSelEnd, 3);
    // A per-line limit without a line limit breaks every long line.
    r = ApplyEditLimits("aaaabbbbcc", 10, 10, "", false, EDITLIMITS{4, 0, 0});
    EXPECT_EQ(r.text, "aaaa\r\nbbbb\r\ncc");
    // A character wider than the limit keeps a line of its own.
    r = ApplyEditLimits("あい", 4, 4, "", false, EDITLIMITS{1, 0, 0});
    EXPECT_EQ(r.text, "あ\r\nい");
}

}  // namespace
