// Damaged files of every record type: cut at every offset, counts of 0xFFFFFFFF.
#include <gtest/gtest.h>

#include "records/option_data.h"
#include "test_support.h"
#include "tools/records/sample_record.h"

using namespace recordtest;

namespace {

class DamagedFilesTest : public RecordTest {};

TEST_F(DamagedFilesTest, SampleRecord) {
    cSampleRecord r;
    r.m_strName = "abc";
    r.m_strNote = "note";
    r.m_vecItems.resize(3);
    r.m_vecItems[1].m_strLabel = "label";
    CheckDamagedImages<cSampleRecord>(FileImage(r), [] { return cSampleRecord(); });
    EXPECT_NE(Report().find("damaged: the file ends early at byte"), std::string::npos);
    EXPECT_NE(Report().find("does not fit"), std::string::npos);
}

TEST_F(DamagedFilesTest, OptionData) {
    cOptionData o;
    CheckDamagedImages<cOptionData>(FileImage(o), [] { return cOptionData(); });
    // A cut file keeps the defaults it did not reach.
    std::vector<uint8_t> image = FileImage(o);
    image.resize(4 + 4 + 4);
    cOptionData cut;
    cut.m_nVolume = 3;
    ASSERT_TRUE(ReadImage(cut, image));
    EXPECT_EQ(cut.m_nVolume, 3u);
    EXPECT_EQ(cut.m_strRankingName, "aaa");
}

}  // namespace
