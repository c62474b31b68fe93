// The common palette file: empty lists, the none entries, template flags and damaged files.
#include <gtest/gtest.h>

#include "records/common_palette.h"
#include "records/data_paths.h"
#include "records/database.h"
#include "records/stage.h"
#include "test_support.h"
#include "tools/records/stage_writer.h"

using namespace recordtest;

namespace {

class CommonPaletteTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        folder_->MakeLayout();
        CreateDefaultDatabase(g_Database);
        g_CommonPalette = cCommonPalette();
        g_LoadedStage.Clear();
    }
    void TearDown() override {
        g_CommonPalette = cCommonPalette();
        RecordTest::TearDown();
    }
};

TEST_F(CommonPaletteTest, APaletteWithNoRecordsReadsAsTwoClearedDefinitionsOfEachClass) {
    // Version, the empty container part, three empty lists.
    const std::vector<uint8_t> empty = cByteImage().U32(754).U32(0).U32(0).U32(0).U32(0).U32(0).Data();
    ASSERT_TRUE(folder_->WriteFile(g_PathTable[PATH_COMMON_PALETTE], empty));
    ASSERT_EQ(g_CommonPalette.LoadFile(g_PathTable[PATH_COMMON_PALETTE]), TRUE);
    ASSERT_EQ(g_CommonPalette.m_vecBlocks.size(), 2u);
    ASSERT_EQ(g_CommonPalette.m_vecCharas.size(), 2u);
    ASSERT_EQ(g_CommonPalette.m_vecItems.size(), 2u);
    cBlockRec b;
    cCharaRec c;
    cItemRec i;
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(FileImage(g_CommonPalette.m_vecBlocks[k]), FileImage(b));
        EXPECT_EQ(FileImage(g_CommonPalette.m_vecCharas[k]), FileImage(c));
        EXPECT_EQ(FileImage(g_CommonPalette.m_vecItems[k]), FileImage(i));
    }
}

TEST_F(CommonPaletteTest, EntryZeroIsTheNoneEntryAndNoRecordKeepsATemplate) {
    cCommonPalette p;
    p.m_vecBlocks[0] = MakeSampleBlock(3);
    p.m_vecCharas[0] = MakeSampleChara(1, 1, 1, 1);
    p.m_vecItems[0] = MakeSampleItem(1);
    p.m_vecCharas.push_back(MakeSampleChara(2, 2, 2, 2));
    p.m_vecCharas.push_back(MakeSampleChara(3, 3, 1, 3));
    p.m_vecItems.push_back(MakeSampleItem(4));
    // Character 2 takes its name from character 1 and keeps its flag in the file.
    p.m_vecCharas[2].m_byTemplateKind = 1;
    p.m_vecCharas[2].m_wTemplateIndex = 1;
    p.m_vecCharas[2].m_vecTemplateFlags[0] = 1;
    p.m_vecItems[1].m_vecTemplateFlags.assign(20, 1);
    g_CommonPalette = p;  // the templates of kind 1 are this palette's
    ASSERT_TRUE(folder_->WriteFile(g_PathTable[PATH_COMMON_PALETTE], CommonPaletteImage(p)));

    cCommonPalette& l = g_CommonPalette;
    ASSERT_EQ(l.LoadFile(g_PathTable[PATH_COMMON_PALETTE]), TRUE);
    ASSERT_EQ(l.m_vecCharas.size(), 3u);
    cCharaRec none;
    EXPECT_EQ(FileImage(l.m_vecCharas[0]), FileImage(none));
    EXPECT_EQ(l.m_vecBlocks[0].m_strName, "");
    EXPECT_TRUE(l.m_vecItems[0].m_vecCmds.empty());
    EXPECT_EQ(l.m_vecCharas[2].m_strName, l.m_vecCharas[1].m_strName);  // taken before the flags went
    EXPECT_EQ(l.m_vecCharas[1].m_vecFlows.size(), 2u);
    for (auto& x : l.m_vecBlocks)
        for (uint8_t f : x.m_vecTemplateFlags) EXPECT_EQ(f, 0);
    for (auto& x : l.m_vecCharas)
        for (uint8_t f : x.m_vecTemplateFlags) EXPECT_EQ(f, 0);
    for (auto& x : l.m_vecItems)
        for (uint8_t f : x.m_vecTemplateFlags) EXPECT_EQ(f, 0);
    EXPECT_EQ(l.m_vecItems[1].m_vecTemplateFlags.size(), 20u);
}

TEST_F(CommonPaletteTest, AMissingFileFailsToLoad) {
    EXPECT_EQ(g_CommonPalette.LoadFile(g_PathTable[PATH_COMMON_PALETTE]), FALSE);
}

TEST_F(CommonPaletteTest, DamagedPalettesLoadWithoutACrash) {
    cCommonPalette p;
    p.m_vecCharas.push_back(MakeSampleChara(2, 2, 2, 2));
    p.m_vecItems.push_back(MakeSampleItem(4));
    p.m_vecBlocks.push_back(MakeSampleBlock(4));
    CheckDamagedImages<cCommonPalette>(CommonPaletteImage(p), [] { return cCommonPalette(); });
}

}  // namespace
