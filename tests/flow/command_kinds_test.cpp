// The command-kind tables and the spawn-option codes.
#include <gtest/gtest.h>

#include <cstring>

#include "flow/command_kinds.h"

namespace {

TEST(CommandKindsTest, ParameterCountsOfEveryKind) {
    const int main[kMainCmdKindCount] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 5, 0, 0, 0, 0, 0, 3,  9, 1, 18,
                                         0, 15, 18, 3, 3, 2, 3, 1, 1, 8, 3, 3, 15, 8, 2, 1, 2, 0, 5, 2};
    for (int k = 0; k < kMainCmdKindCount; ++k) EXPECT_EQ(CmdParamCount(false, k), main[k]) << k;
    EXPECT_EQ(CmdParamCount(true, 0), 0);
    EXPECT_EQ(CmdParamCount(true, 1), 2);
    EXPECT_STREQ(g_InstantCmdKinds[1].pszLabel, "フローの変更");
    // Instant kinds 2-24 are the main kinds 15 higher, label and count.
    for (int k = 2; k < kInstantCmdKindCount; ++k) {
        EXPECT_EQ(CmdParamCount(true, k), main[k + kInstantKindOffset]) << k;
        EXPECT_STREQ(g_InstantCmdKinds[k].pszLabel, g_MainCmdKinds[k + kInstantKindOffset].pszLabel);
    }
    EXPECT_STREQ(g_MainCmdKinds[38].pszLabel, "アレンジ");
    for (int bad : {-1, 40, 127, -128}) EXPECT_EQ(CmdParamCount(false, bad), 0);
    EXPECT_FALSE(IsValidCmdKind(true, 25));
    EXPECT_TRUE(IsValidCmdKind(false, 39));
}

TEST(CommandKindsTest, SpawnOptionCodes) {
    const struct {
        int option, flag, code;
    } cases[] = {{0, 1, 3}, {0, 0, 2}, {1, 0, 2}, {2, 1, 3}, {3, 0, 6}, {4, 0, 7},
                 {5, 0, 8}, {6, 0, 9}, {7, 0, 10}, {8, 1, 11}, {9, 1, 3}, {-1, 0, 2}};
    for (const auto& c : cases) EXPECT_EQ(SpawnOptionCode(c.option, c.flag), c.code) << c.option << "/" << c.flag;
}

}  // namespace
