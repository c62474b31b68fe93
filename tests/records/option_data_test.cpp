// Option data, the path tables, the font-name table and the volume steps.
#include <gtest/gtest.h>

#include "records/data_paths.h"
#include "records/font_names.h"
#include "records/option_data.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class OptionDataTest : public RecordTest {};

TEST_F(OptionDataTest, TheExampleFileIsWrittenByteForByte) {
    cOptionData o;
    o.m_nPaletteNo = 3;
    o.m_bMusic = 0;
    o.m_nVolume = 10;
    o.m_nRankingMode = 2;
    o.m_strRankingName = "ABC";
    // u32 754; u32 4; the four values; u32 1; the name's length word and bytes: 36 bytes.
    const uint8_t want[36] = {0xF2, 0x02, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0,
                              2,    0,    0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 'A', 'B', 'C', 0};
    ASSERT_EQ(o.SaveFile(g_PathTable[PATH_OPTION]), 0);  // no user_data\ yet
    folder_->MakeLayout();
    ASSERT_EQ(o.SaveFile(g_PathTable[PATH_OPTION]), 1);
    EXPECT_EQ(folder_->ReadFile("user_data\\Option.dat"), std::vector<uint8_t>(want, want + 36));
    cOptionData back;
    ASSERT_EQ(back.LoadFile(g_PathTable[PATH_OPTION]), 1);
    EXPECT_EQ(back.m_nPaletteNo, 3u);
    EXPECT_EQ(back.m_bMusic, 0u);
    EXPECT_EQ(back.m_nVolume, 10u);
    EXPECT_EQ(back.m_nRankingMode, 2u);
    EXPECT_EQ(back.m_strRankingName, "ABC");
}

TEST_F(OptionDataTest, DefaultsStayWithoutAFileAndAnEmptyNameRoundTrips) {
    cOptionData o;
    EXPECT_EQ(o.LoadFile(g_PathTable[PATH_OPTION]), 0);
    EXPECT_EQ(o.m_nPaletteNo, 0u);
    EXPECT_EQ(o.m_bMusic, 1u);
    EXPECT_EQ(o.m_nVolume, 7u);
    EXPECT_EQ(GetVolumeFromStep(o.m_nVolume), -150);  // entry 7 of the 11-step table
    EXPECT_EQ(o.m_nRankingMode, 0u);
    EXPECT_EQ(o.m_strRankingName, "aaa");
    o.m_strRankingName.clear();
    std::vector<uint8_t> image = FileImage(o);
    ASSERT_EQ(image.size(), 32u);
    EXPECT_EQ(std::vector<uint8_t>(image.end() - 8, image.end()), cByteImage().U32(1).U32(1).Data());
    cOptionData back;
    ASSERT_TRUE(ReadImage(back, image));
    EXPECT_EQ(back.m_strRankingName, "");
}

TEST_F(OptionDataTest, OutOfRangeValuesAreClampedWhenRead) {
    cOptionData o;
    ASSERT_TRUE(ReadImage(o, cByteImage().U32(754).U32(4).U32(99).U32(5).U32(0xFFFFFFFF).U32(4).U32(1).Str("z")));
    EXPECT_EQ(o.m_nPaletteNo, 23u);
    EXPECT_EQ(o.m_bMusic, 5u);
    EXPECT_EQ(o.m_nVolume, 10u);
    EXPECT_EQ(o.m_nRankingMode, 3u);
    EXPECT_EQ(GetVolumeFromStep(0), -10000);
    EXPECT_EQ(GetVolumeFromStep(10), 0);
    EXPECT_EQ(GetVolumeFromStep(11), 0);
}

TEST(DataPathsTest, TablesHoldTheFixedEntries) {
    EXPECT_STREQ(g_PathTable[0], "data\\");
    EXPECT_STREQ(g_PathTable[PATH_DB_EFFECT], "data\\database\\Effect.dat");
    EXPECT_STREQ(g_PathTable[36], "default\\System.dat");
    EXPECT_STREQ(g_PathTable[PATH_WINDOW], "user_data\\Window.dat");
    EXPECT_STREQ(g_ExtTable[EXT_RKG], "rkg");
    EXPECT_STREQ(g_DataFolders[0], "user_data");
    EXPECT_STREQ(g_DataFolders[kDataFolderCount - 1], "bgm");
    std::string name;
    MakeStageFileName(name, 1);
    EXPECT_EQ(name, "data\\stg4\\c01-1.stg4");
    MakeStageFileName(name, 123);
    EXPECT_EQ(name, "data\\stg4\\c123-1.stg4");
}

TEST(FontNamesTest, NumbersGiveTheirFacesAndBadNumbersFallBack) {
    EXPECT_STREQ(GetFontFaceName(60), "ＭＳ Ｐゴシック");
    EXPECT_STREQ(GetFontFaceName(0), "System");
    EXPECT_STREQ(GetFontFaceName(122), "");
    EXPECT_STREQ(GetFontFaceName(121), "Sydnie");
    EXPECT_STREQ(GetFontFaceName(123), "ＭＳ Ｐゴシック");
    EXPECT_STREQ(GetFontFaceName(0xFFFFFFFFu), "ＭＳ Ｐゴシック");
}

}  // namespace
