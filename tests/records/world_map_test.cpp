// World map data.
#include <gtest/gtest.h>

#include "records/data_paths.h"
#include "records/world_map.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class WorldMapTest : public RecordTest {};

TEST_F(WorldMapTest, PitchFollowsTheWidth) {
    struct Case {
        int32_t width, pitch, shift;
    };
    for (const Case& c : {Case{1, 1, 0}, Case{2, 2, 1}, Case{20, 32, 5}, Case{32, 32, 5}, Case{33, 64, 6},
                          Case{0, 1, 0}, Case{-5, 1, 0}, Case{2147483647, 1 << 30, 30}}) {
        int32_t pitch = -1, shift = -1;
        cWorldMapGrid::CalcPitch(pitch, shift, c.width);
        EXPECT_EQ(pitch, c.pitch) << c.width;
        EXPECT_EQ(shift, c.shift) << c.width;
    }
}

TEST_F(WorldMapTest, DefaultsAndResizing) {
    cWorldMap m;
    EXPECT_EQ(m.m_nWidth, 20);
    EXPECT_EQ(m.m_nPitch, 32);
    EXPECT_EQ(m.m_vecCells.size(), 480u);
    EXPECT_EQ(m.m_strName, "ワールド");
    ASSERT_EQ(m.m_vecChips.size(), 10u);
    EXPECT_EQ(m.m_vecChips[4].m_strName, "通行不可");
    EXPECT_EQ(m.m_vecChips[5].m_bBlocking, 0);
    ASSERT_EQ(m.m_vecFreeEntries.size(), 1u);
    EXPECT_EQ(m.m_vecFreeEntries[0].m_strName, "デフォルト");
    EXPECT_EQ(m.m_vecFreeEntries[0].m_vecItems.size(), 1u);

    for (int32_t y = 0; y < 15; ++y)
        for (int32_t x = 0; x < 20; ++x) m.m_vecCells[((size_t)y << 5) + (size_t)x] = y * 100 + x;
    ASSERT_EQ(m.SetSize(40, 15), 1);
    EXPECT_EQ(m.m_nPitch, 64);
    EXPECT_EQ(m.CellAt(19, 14), 1419);
    EXPECT_EQ(m.CellAt(20, 14), 0);
    EXPECT_EQ(m.CellAt(39, 0), 0);
    ASSERT_EQ(m.SetSize(10, 10), 1);
    EXPECT_EQ(m.m_vecCells.size(), 160u);
    EXPECT_EQ(m.CellAt(9, 9), 909);
    EXPECT_EQ(m.CellAt(10, 9), -1);
    EXPECT_EQ(m.SetSize(0, 5), 0);
    EXPECT_EQ(m.SetSize(5, -1), 0);
    EXPECT_EQ(m.m_nWidth, 10);
}

TEST_F(WorldMapTest, StartAndEntriesAreFixedAndItemsOf208HaveValue11Zero) {
    cByteImage b;
    b.U32(208).U32(8).I32(20).I32(15).I32(99).I32(99).I32(25).I32(3).I32(16).I32(0).U32(2).Str("map").Str("");
    b.U32(0);                   // chips
    b.U32(3).I32(1).I32(2).I32(3);  // three cells: padded to 15 x 32
    b.U32(4);                   // point entries
    auto entry = [&](int32_t x, int32_t y, const char* name, int items) {
        b.U32(2).I32(x).I32(y).U32(1).Str(name).U32((uint32_t)items);
        for (int i = 0; i < items; ++i) {
            b.U32(3).I32(1);  // three blocks: value 1, the eight values, value 10
            for (int k = 0; k < 8; ++k) b.I32(k);
            b.I32(10).U32(2).Str("t").Str("data\\stg4\\c01-1.stg4");
        }
    };
    entry(3, 4, "first", 1);
    entry(20, 4, "outside", 0);
    entry(3, 4, "second", 0);
    entry(-1, 0, "negative", 0);
    b.U32(0);                   // free entries
    cWorldMap m;
    m.m_vecPointEntries.clear();
    cRecordReader r;
    ASSERT_TRUE(ReadImage(m, b, &r));
    EXPECT_FALSE(r.Ended());
    EXPECT_EQ(m.m_nStartX, 19);
    EXPECT_EQ(m.m_nStartY, 3);
    EXPECT_EQ(m.m_nPitch, 32);
    EXPECT_EQ(m.m_nShift, 5);
    EXPECT_EQ(m.m_vecCells.size(), 480u);
    EXPECT_EQ(m.m_vecCells[2], 3);
    ASSERT_EQ(m.m_vecPointEntries.size(), 2u);
    EXPECT_EQ(m.m_vecPointEntries[0].m_vecItems[0].m_nValue11, 0);
    EXPECT_EQ(m.m_vecPointEntries[0].m_vecItems[0].m_strStageFile, "data\\stg4\\c01-1.stg4");
    const cWorldMapEntry* e = WorldMapData::FindEntry(m, 3, 4);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_strName, "first");
    EXPECT_EQ(WorldMapData::FindEntry(m, 4, 3), nullptr);

    // Negative starts are brought in; written again it is a consistent 754 file.
    m.m_nStartX = -4;
    m.m_nStartY = -1;
    std::vector<uint8_t> image = FileImage(m);
    EXPECT_EQ(m.m_nStartX, 0);
    EXPECT_EQ(m.m_nStartY, 0);
    cWorldMap back;
    ASSERT_TRUE(ReadImage(back, image));
    EXPECT_EQ(FileImage(back), image);
}

TEST_F(WorldMapTest, SizesOutsideTheLimitsAreBroughtIn) {
    cWorldMap m;
    m.m_nWidth = 100000;
    m.m_nHeight = -3;
    m.m_nStartX = 5;
    m.FixUp();
    EXPECT_EQ(m.m_nWidth, kMaxWorldMapSide);
    EXPECT_EQ(m.m_nHeight, 1);
    EXPECT_EQ(m.m_vecCells.size(), (size_t)kMaxWorldMapSide);
    EXPECT_EQ(m.m_nStartY, 0);
    EXPECT_NE(Report().find("World map size 100000 x -3"), std::string::npos);
}

TEST_F(WorldMapTest, LoadsFromTheGameFolderAndDamagedFilesLoadWithoutHarm) {
    folder_->MakeLayout();
    cWorldMap src;
    src.m_vecPointEntries.resize(2);
    src.m_vecPointEntries[1].m_nX = 5;
    src.m_vecPointEntries[1].m_vecItems.resize(2);
    src.SetSize(3, 2);
    ASSERT_EQ(src.SaveFile(g_PathTable[PATH_WORLD_MAP]), 1);
    cWorldMap m;
    EXPECT_EQ(m.LoadFile(g_PathTable[PATH_WORLD_MAP]), 1);
    EXPECT_EQ(m.m_nWidth, 3);
    EXPECT_EQ(m.m_vecPointEntries.size(), 1u);  // x 5 lies outside a width of 3
    CheckDamagedImages<cWorldMap>(FileImage(src), [] { return cWorldMap(); });
}

}  // namespace
