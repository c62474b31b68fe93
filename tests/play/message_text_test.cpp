// Message text codes: "#C"/"#S" codes with the zero, plus and width formats replaced by the
// variables' values; codes that stay as they are; Shift-JIS characters passed over whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "play/message_text.h"

namespace {

struct CodeCase {
    const char* text;
    const char* shown;
};

class TextCodes : public testing::Test {
protected:
    void SetUp() override {
        common.assign(1001, 0);
        stage.assign(1001, 0);
        common[12] = 7;
        common[1] = -5;
        common[1000] = 123456;
        stage[5] = 4;
        stage[6] = -2147483647 - 1;
    }
    std::vector<int32_t> common, stage;
};

TEST_F(TextCodes, CodesAreReplacedByTheirVariablesInTheAskedFormat) {
    const CodeCase cases[] = {
        {"#C12", "7"},
        {"#C12_Z3.", "007"},
        {"#C12_3.", "  7"},
        {"#S5_P.", "+4"},
        {"#C1_3.", "-  5"},
        {"#C1_Z3.", "-005"},
        {"#c12_zp4.", "+0007"},
        {"#s5_39.", "        4"},      // a later digit replaces an earlier one
        {"#C1000_2.", "123456"},        // never narrower than the value
        {"#S6", "-2147483648"},
        {"#C12.", "7"},                 // "." belongs to the code
        {"#C12abc", "7abc"},            // any other byte ends it and stays
        {"#C12_Z3x", "007x"},
        {"a#C12b#S5.c", "a7b4c"},
        {"#C12#C12", "77"},
        {"##C12", "#7"},
        {"値は#C12です", "値は7です"},
        {"表#C12", "表7"},              // a trail byte 0x5C is not a code's business
    };
    for (const CodeCase& c : cases) EXPECT_EQ(ExpandTextCodes(c.text, common, stage), c.shown) << c.text;
}

TEST_F(TextCodes, CodesWithoutLetterDigitsOrANumberInRangeStayAsTheyAre) {
    const char* kept[] = {"#C0", "#C1001", "#C99999999999", "#C", "#C_Z3.", "#X12", "#12", "#", "text#",
                          "＃C12", "#S0_P."};
    for (const char* t : kept) EXPECT_EQ(ExpandTextCodes(t, common, stage), t) << t;
}

TEST_F(TextCodes, ValuesAreWrittenFromTheRightWithSpacesOrZerosAndTheirSign) {
    EXPECT_EQ(FormatCodeValue(0, 0, false, false), "0");
    EXPECT_EQ(FormatCodeValue(0, 3, false, false), "  0");
    EXPECT_EQ(FormatCodeValue(0, 3, false, true), "+  0");
    EXPECT_EQ(FormatCodeValue(-2147483647 - 1, 12, true, true), "-002147483648");
    EXPECT_EQ(FormatCodeValue(105, 5, false, false), "  105");  // inner zeros stay
}

}  // namespace
