// Graphic references: the source cell of each kind on its sheet, the fallback for a cell
// outside its sheet, dedicated character bitmaps by their cell size, and the shot and sword
// sheets.
#include <gtest/gtest.h>

#include <map>

#include "media/asset_table.h"
#include "play/graphic_sheet.h"
#include "play/stage_bitmaps.h"
#include "records/database.h"

namespace {

class GraphicSheet : public testing::Test {
protected:
    void SetUp() override {
        for (int slot : {2, 4, 20, 40}) saved[slot] = g_SurfaceData[slot];
        Size(g_SurfaceData[2], 256, 480);   // blocks: 8 columns of 15
        Size(g_SurfaceData[40], 128, 480);  // items: 4 frames of 15
        Size(g_SurfaceData[20], 128, 480);  // shots
        Size(g_SurfaceData[4], 512, 960);   // own bitmaps: columns of 30
        SelectPaletteSet(0, 0);
        savedBmp = g_Database.m_vecBmpCharaExc;
        savedStage = g_vecStageBmp;
        savedSword = g_vecSwordBmp;
    }
    void TearDown() override {
        for (auto& [slot, s] : saved) g_SurfaceData[slot] = s;
        g_Database.m_vecBmpCharaExc = savedBmp;
        g_vecStageBmp = savedStage;
        g_vecSwordBmp = savedSword;
    }
    static void Size(DDSURFACEDATA& s, int w, int h) {
        s.nWidth = w;
        s.nHeight = h;
    }
    std::map<int, DDSURFACEDATA> saved;
    std::vector<cBmpCharaExcRec> savedBmp;
    std::vector<DDSURFACEDATA> savedStage, savedSword;
};

TEST_F(GraphicSheet, CellsByKind) {
    struct {
        int kind, index, frame;
        DDSURFACEDATA* sheet;
        int x, y, w, h;
    } cases[] = {
        {0, 0, 0, &g_SurfaceData[2], 0, 0, 32, 32},
        {0, 17, 0, &g_SurfaceData[2], 32, 64, 32, 32},
        {0, 15 * 9, 0, &g_SurfaceData[2], 0, 0, 32, 32},  // past the sheet: cell (0, 0)
        {1, 16 % 15, 3, &g_SurfaceData[40], 96, 32, 32, 32},
        {1, 14, 4, &g_SurfaceData[40], 0, 0, 32, 32},      // frame past the sheet
        {1, 20, 0, &g_SurfaceData[40], 0, 0, 32, 32},      // a page the assets do not hold
        {2, 16, 0, &g_SurfaceData[20], 32, 16, 16, 16},
        {3, 31, 0, &g_SurfaceData[4], 64, 32, 32, 32},
    };
    for (const auto& k : cases) {
        GRAPHICCELL c = {};
        ASSERT_TRUE(SelectGraphicSheet(k.kind, k.index, k.frame, c)) << k.kind << " " << k.index;
        EXPECT_EQ(c.lpSheet, k.sheet);
        EXPECT_EQ(c.nX, k.x) << k.kind << " " << k.index;
        EXPECT_EQ(c.nY, k.y) << k.kind << " " << k.index;
        EXPECT_EQ(c.nWidth, k.w);
        EXPECT_EQ(c.nHeight, k.h);
    }
    GRAPHICCELL c = {};
    EXPECT_FALSE(SelectGraphicSheet(5, 0, 0, c));
    EXPECT_FALSE(SelectGraphicSheet(4, 1, 0, c));  // no dedicated bitmap loaded
}

TEST_F(GraphicSheet, DedicatedCharacterBitmapsByTheirCellSize) {
    g_Database.m_vecBmpCharaExc.assign(3, cBmpCharaExcRec());
    g_Database.m_vecBmpCharaExc[2].m_bLargeCells = 1;
    g_Database.m_vecBmpCharaExc[2].m_nCellSize = 2;  // 64-dot cells, 8 in a row
    g_vecStageBmp.assign(8, DDSURFACEDATA{});
    Size(g_vecStageBmp[2], 512, 256);  // bitmap 1 is drawn from entry 2
    Size(g_vecStageBmp[6], 512, 512);  // bitmap 2 from entry 6
    GRAPHICCELL c = {};
    ASSERT_TRUE(SelectGraphicSheet(4, 1, 17, c));
    EXPECT_EQ(c.lpSheet, &g_vecStageBmp[2]);
    EXPECT_EQ(c.nX, 32);
    EXPECT_EQ(c.nY, 32);
    ASSERT_TRUE(SelectGraphicSheet(4, 2, 9, c));
    EXPECT_EQ(c.lpSheet, &g_vecStageBmp[6]);
    EXPECT_EQ(c.nX, 64);
    EXPECT_EQ(c.nY, 64);
    EXPECT_EQ(c.nWidth, 64);
    EXPECT_FALSE(SelectGraphicSheet(4, 0, 0, c));
    EXPECT_FALSE(SelectGraphicSheet(4, 3, 0, c));
}

TEST_F(GraphicSheet, ShotAndSwordSheets) {
    EXPECT_EQ(ShotSheet(), &g_SurfaceData[20]);
    g_vecSwordBmp.assign(8, DDSURFACEDATA{});
    Size(g_vecSwordBmp[4], 64, 32);
    Size(g_vecSwordBmp[6], 64, 32);
    EXPECT_EQ(SwordSheet(2, 0), &g_vecSwordBmp[4]);
    EXPECT_EQ(SwordSheet(2, 1), &g_vecSwordBmp[6]);
    EXPECT_EQ(SwordSheet(1, 0), nullptr);  // no picture
    EXPECT_EQ(SwordSheet(0, 0), nullptr);
    EXPECT_EQ(SwordSheet(3, 1), nullptr);
    Size(g_SurfaceData[20], 0, 0);
    EXPECT_EQ(ShotSheet(), nullptr);
}

}  // namespace
