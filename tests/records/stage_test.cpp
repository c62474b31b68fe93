// The stage record and the stage file body: new-stage values, sub-steps from the hit level,
// the exact bytes of a stage file, round trips, the fix-up and damaged stage files.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>

#include "flow/command_kinds.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/palette_lists.h"
#include "records/stage.h"
#include "test_support.h"
#include "tools/records/stage_writer.h"

using namespace recordtest;

namespace {

class StageTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
        g_CommonPalette = cCommonPalette();
        g_CommonPalette.FixUp();
        g_LoadedStage.Clear();
        g_LoadedStage.m_vecTexts.clear();
    }
    void TearDown() override {
        g_LoadedStage.Clear();
        g_LoadedStage.m_vecTexts.clear();
        g_CommonPalette = cCommonPalette();
        RecordTest::TearDown();
    }
};

TEST_F(StageTest, ANewStageHasTheNewStageValues) {
    cStage s;
    EXPECT_EQ(s.m_nFrameRate, 60);
    EXPECT_EQ(s.m_nHitLevel, 10);
    EXPECT_EQ(s.m_dGravity, 0.4);
    EXPECT_EQ(s.m_vecPaletteBlocks.size(), 1u);
    EXPECT_EQ(s.m_vecPaletteCharas.size(), 1u);
    EXPECT_EQ(s.m_vecPaletteItems.size(), 1u);
    EXPECT_TRUE(s.m_vecCharas.empty());
    EXPECT_EQ(s.m_vecNumbers, std::vector<int32_t>(5, 1));
    ASSERT_EQ(s.m_vecBackgrounds.size(), 1u);
    EXPECT_EQ(s.m_vecBackgrounds[0].m_anBC[0], 1);
    EXPECT_EQ(s.m_vecBackgrounds[0].m_anBC[1], 16);
    EXPECT_EQ(s.m_vecBackgrounds[0].m_adPQ[1], 0.1);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(s.m_aParts[2].Value(i), 0);
        EXPECT_EQ(s.m_aParts[3].Value(i), i < 4 ? 1 : 0);
        EXPECT_EQ(s.m_aParts[4].Value(i), i < 4 ? 1 : 10);
    }
    EXPECT_EQ(s.m_anValue74_84[9], 16);
    EXPECT_EQ(s.m_anValue74_84[10], 1);
    EXPECT_EQ(s.m_nValue96 + s.m_nValue98, 60);
}

TEST_F(StageTest, SubStepsFollowTheHitLevel) {
    const struct {
        int32_t level, stored, n;
        double limitFrame, limitStep;
    } cases[] = {
        {15, 15, 5, 60.0, 12.0},  {5, 5, 5, 30.0, 6.0},    {20, 20, 20, 120.0, 6.0}, {11, 11, 1, 60.0, 60.0},
        {10, 10, 10, 60.0, 6.0},  {1, 1, 1, 6.0, 6.0},     {0, 1, 1, 6.0, 6.0},      {-9, 1, 1, 6.0, 6.0},
        {INT_MAX, kMaxHitLevel, kMaxHitLevel, 6.0 * kMaxHitLevel, 6.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        cStage s;
        s.m_dGravity = 0.5;
        s.SetHitLevel(c.level);
        EXPECT_EQ(s.m_nHitLevel, c.stored);
        EXPECT_EQ(s.m_nSubSteps, c.n);
        EXPECT_EQ(s.m_adSubStep[cStage::STEP_N], c.n);
        EXPECT_EQ(s.m_adSubStep[cStage::STEP_N2], (double)c.n * c.n);
        EXPECT_EQ(s.m_nSpeedLimit, 6 * c.n);
        EXPECT_EQ(s.m_nSubSteps8, 8 * c.n);
        EXPECT_DOUBLE_EQ(s.m_adSubStep[cStage::STEP_LIMIT_FRAME], c.limitFrame);
        EXPECT_DOUBLE_EQ(s.m_adSubStep[cStage::STEP_LIMIT], c.limitStep);
        EXPECT_DOUBLE_EQ(s.m_adSubStep[cStage::STEP_GRAVITY], 0.5 / ((double)c.n * c.n));
    }
}

// ---- the exact bytes of a small stage file ----

void DefaultBlockBytes(cByteImage& b) {
    b.U32(18).U8(0).U16(0).U8(0).U8(0).U16(0).U8(0).U16(0).U8(0).U8(0).U8(0).U16(0);
    b.U8(0).U8(255).U8(0).I32(0).U8(0).U16(0).U8(0);  // B12 off: no graphic
    b.U32(1).U32(1).I16(0).I16(0).U32(11);
    for (int i = 0; i < 11; ++i) b.U8(0);
    b.U32(0);
}

void CharaBytes(cByteImage& b, uint8_t role, uint16_t graphic) {
    b.U32(53).U8(0).U16(0).U8(0).U8(0).U8(0).U8(0).I16(0).I16(0).I16(0).I16(0).U8(0).U8(0);
    b.U16(graphic).U8(1).U16(0).U16(0).U8(3).U8(0).U16(0).U8(0).U8(1).U16(0).U8(0).U8(0).U16(0);
    b.U8(role).U8(0).U8(1).U8(0).U8(0).U8(1).U8(0).U8(0).U8(0).U8(1).U8(0).U8(0).U8(0);  // C26-C38
    b.I32(10).I32(0).U16(10).U8(0).I32(0).U8(0).I16(0).I32(0).U8(0).I32(0).U8(1).U8(0).U16(0).U8(0).U8(0);
    b.U32(1).U32(1).I16(0).I16(0).I32(0).U32(37);
    for (int i = 0; i < 37; ++i) b.U8(0);
    b.U32(0).U32(0);
}

void DefaultItemBytes(cByteImage& b) {
    b.U32(17).U8(0).U16(0).U8(0).U8(0).U16(0).U16(0).U16(0).U8(2).U16(0).U8(6).U8(0).U8(0).U16(0);
    b.U8(1).U8(0).U8(1).U16(0);
    b.U32(1).U32(1).I16(0).I16(0).U32(13);
    for (int i = 0; i < 13; ++i) b.U8(0);
    b.U32(0).U32(0);
}

std::vector<uint8_t> SmallStageBytes() {
    cByteImage b;
    b.U32(754).U32(58);
    b.I32(25).I32(0).I32(0).I32(15);                 // 1 width, 2-3, 4 height
    for (int i = 5; i <= 12; ++i) b.I32(0);          // scroll limits and switches
    b.I32(60).I32(0).I32(200).I32(20);               // 13-16
    for (int i = 17; i <= 20; ++i) b.I32(0);         // automatic scroll
    b.F64(0.4).I32(10).I32(0).I32(0);                // 21 gravity, 22 hit level, 23, 24 music
    b.I32(0).I32(0).I32(1).I32(0).I32(0);            // 25, 26, 27, 28-29
    b.I32(1).I32(0).I32(0).I32(1).I32(1).I32(1);     // 31, 30, 32, 33, 34-35
    b.I32(16).I32(24).I32(16).I32(16).I32(16).I32(24).I32(16).I32(16);  // 36-43
    b.I32(12).I32(8).I32(16).I32(16).I32(1).I32(0).I32(1).I32(0);       // 44-51
    for (int i = 52; i <= 59; ++i) b.I32(0);         // hero flow settings
    b.I32(16).I32(24).I32(16).I32(16).I32(12).I32(24).I32(12).I32(16);  // 60-67
    b.I32(30).I32(30).I32(1).I32(0).I32(1).I32(0);   // 68-73
    b.I32(28).I32(28);
    for (int i = 0; i < 8; ++i) b.I32(16);
    b.I32(1);                                        // 74-84
    b.I32(0).I32(0).I32(10);                         // 86-87, 88 n
    b.F64(10.0).F64(100.0).F64(60.0).F64(0.4 / 100.0).F64(6.0);  // 89-93
    b.I32(80).I32(1).I32(30).I32(0).I32(30).I32(0);  // 94-99
    b.U32(1).U32(2).Raw("s", 1).U8(0);               // the stage string
    b.U32(5);
    for (int i = 0; i < 5; ++i) b.I32(1);            // numbers
    const int32_t parts[5][8] = {{0}, {0}, {0}, {1, 1, 1, 1, 0, 0, 0, 0}, {1, 1, 1, 1, 10, 10, 10, 10}};
    for (const auto& p : parts) {
        b.U32(5);
        for (int32_t v : p) b.I32(v);
        b.U32(0);
    }
    b.U32(2);
    DefaultBlockBytes(b);
    DefaultBlockBytes(b);
    b.U32(2);
    CharaBytes(b, 1, 0);
    CharaBytes(b, 1, 0);
    b.U32(2);
    DefaultItemBytes(b);
    DefaultItemBytes(b);
    b.U32(0);                                        // placed blocks
    b.U32(1).U32(0);                                 // one placed character: the hero
    CharaBytes(b, 0, 1);
    b.U32(0);                                        // placed items
    b.U32(1).U32(6).I32(1).I32(1).I32(16).I32(0).F64(0.1).F64(0.1).I32(0).I32(0).F64(0).F64(0);
    b.U32(1).U32(1);                                 // one background, no bitmap
    b.U32(0);                                        // texts
    b.U8(0x15).U8(0xCD).U8(0x5B).U8(0x07);           // the end mark
    return b.Data();
}

TEST_F(StageTest, AStageFileHasExactBytesAndEndsWithTheMark) {
    cStage s;
    s.m_nWidth = 25;
    s.m_nHeight = 15;
    s.m_strStage = "s";
    cCharaRec hero;
    hero.m_byRole = 0;
    hero.m_wGraphic = 1;
    s.m_vecCharas.push_back(hero);
    EXPECT_EQ(StageFileImage(s), SmallStageBytes());

    ASSERT_TRUE(ReadImage(g_LoadedStage, SmallStageBytes()));
    EXPECT_EQ(g_LoadedStage.FindHero(), 0);
    EXPECT_EQ(g_LoadedStage.m_nSubSteps, 10);
    EXPECT_EQ(StageFileImage(g_LoadedStage), SmallStageBytes());
}

TEST_F(StageTest, RoundTripsKeepEveryList) {
    cStage s;
    MakeSampleStage(s, 40, 20, 6, 2);
    s.m_vecBackgrounds.resize(3);
    s.m_vecBackgrounds[2].m_strBitmap = "背景その2.bmp";
    s.m_vecNumbers = {5, 4, 3, 2, 1, 0};
    const std::vector<uint8_t> image = StageFileImage(s);
    ASSERT_TRUE(ReadImage(g_LoadedStage, image));
    cStage& l = g_LoadedStage;
    EXPECT_EQ(l.m_vecCharas.size(), 7u);
    EXPECT_EQ(l.m_vecBlocks.size(), 20u);
    EXPECT_EQ(l.m_vecItems.size(), 3u);
    EXPECT_EQ(l.m_vecPaletteBlocks.size(), 2u);
    EXPECT_EQ(l.m_vecPaletteCharas.size(), 2u);
    EXPECT_EQ(l.m_vecPaletteItems.size(), 2u);
    EXPECT_EQ(l.m_vecBackgrounds.size(), 3u);
    EXPECT_EQ(l.m_vecBackgrounds[2].m_strBitmap, "背景その2.bmp");
    EXPECT_EQ(l.m_vecTexts.size(), 3u);
    EXPECT_EQ(l.m_vecTexts[1].m_strText, "テキスト");
    EXPECT_EQ(l.m_vecNumbers.size(), 6u);
    EXPECT_EQ(l.m_vecCharas[3].m_vecFlows.size(), 2u);
    EXPECT_EQ(l.m_vecPaletteCharas[1].m_vecFlows.size(), 2u);
    EXPECT_EQ(l.m_vecItems[1].m_vecCmds.size(), 1u);
    EXPECT_EQ(StageFileImage(l), image);
}

// Commands are validated as they are read, each once; a stage written against a larger
// database must come back with every command in range at every depth: in palette and placed
// characters, in flows taken from a template, in items, and in flows nested in commands.
TEST_F(StageTest, ALoadedStageHoldsEveryCommandValidatedAtEveryDepth) {
    g_Database.m_vecSound.resize(10);
    g_Database.m_vecEffect.resize(10);
    // An effect command (its first parameter an effect index) with sound 7, holding `depth`
    // levels of flows with such commands inside.
    std::function<cFlowCmd(int)> command = [&](int depth) {
        cFlowCmd c;
        c.m_cKind = 29;
        c.m_vecParams = {7};
        c.m_wSound = 7;
        if (depth > 0) {
            cFlow inner;
            inner.m_vecCmds.push_back(command(depth - 1));
            c.m_vecFlows.push_back(inner);
        }
        return c;
    };
    auto flows = [&] {
        cFlow f;
        f.m_vecCmds = {command(2), command(0)};
        return std::vector<cFlow>{f};
    };
    cStage s;
    MakeSampleStage(s, 30, 20, 2, 1);
    s.m_vecPaletteCharas[1].m_vecFlows = flows();
    s.m_vecCharas[1].m_vecFlows = flows();
    s.m_vecCharas[2].m_byTemplateKind = kPaletteStage;  // flows from the stage palette
    s.m_vecCharas[2].m_wTemplateIndex = 1;
    s.m_vecCharas[2].m_vecTemplateFlags[cCharaRec::kFlowsGroup] = 1;
    s.m_vecPaletteItems[1].m_vecCmds = {command(2)};
    s.m_vecItems[0].m_vecCmds = {command(1), command(2)};
    g_LoadedStage.m_vecPaletteCharas = s.m_vecPaletteCharas;  // where stage templates are looked up
    const std::vector<uint8_t> image = StageFileImage(s);

    CreateDefaultDatabase(g_Database);  // 2 sounds, 2 effects
    ASSERT_TRUE(ReadImage(g_LoadedStage, image));
    const size_t paramCount = (size_t)CmdParamCount(false, 29);
    int seen = 0;
    std::function<void(const cFlowCmd&)> check = [&](const cFlowCmd& c) {
        if (c.m_cKind != 29) return;
        ++seen;
        EXPECT_EQ(c.m_wSound, 0);
        ASSERT_EQ(c.m_vecParams.size(), paramCount);
        EXPECT_EQ(c.m_vecParams[0], 1);
        for (const cFlow& f : c.m_vecFlows)
            for (const cFlowCmd& inner : f.m_vecCmds) check(inner);
    };
    const cStage& l = g_LoadedStage;
    for (const auto* charas : {&l.m_vecPaletteCharas, &l.m_vecCharas})
        for (const cCharaRec& c : *charas)
            for (const cFlow& f : c.m_vecFlows)
                for (const cFlowCmd& cmd : f.m_vecCmds) check(cmd);
    for (const auto* items : {&l.m_vecPaletteItems, &l.m_vecItems})
        for (const cItemRec& i : *items)
            for (const cFlowCmd& cmd : i.m_vecCmds) check(cmd);
    // Palette, placed and template characters 4 + 4 + 4, items 3 + 2 + 3.
    EXPECT_EQ(seen, 20);
}

// A file that ends inside the placed blocks leaves the blocks after it new; the fix-up still
// validates them (a new block has no graphic, so its B12 is cleared).
TEST_F(StageTest, BlocksAFileEndsBeforeAreValidatedByTheFixUp) {
    auto image = [](size_t blocks) {
        cStage s;
        for (size_t i = 0; i < blocks; ++i) s.m_vecBlocks.push_back(MakeSampleBlock((int)i));
        return StageFileImage(s);
    };
    const std::vector<uint8_t> four = image(4), two = image(2);
    const size_t count = (size_t)(std::mismatch(four.begin(), four.end(), two.begin()).first - four.begin());
    const size_t blockBytes = (four.size() - two.size()) / 2;
    ASSERT_EQ(four[count], 4);
    std::vector<uint8_t> cut(four.begin(), four.begin() + (ptrdiff_t)(count + 4 + blockBytes + blockBytes / 2));

    cStage l;
    ASSERT_TRUE(ReadImage(l, cut));
    ASSERT_EQ(l.m_vecBlocks.size(), 4u);
    EXPECT_NE(l.m_vecBlocks[0].m_wGraphic, 0);
    for (size_t i = 2; i < 4; ++i) {
        EXPECT_EQ(l.m_vecBlocks[i].m_wGraphic, 0) << i;
        EXPECT_EQ(l.m_vecBlocks[i].m_byB12, 0) << i;
    }
}

TEST_F(StageTest, PaletteEntryZeroIsTheNoneEntryAndEachPaletteHoldsTwo) {
    cStage s;
    s.m_vecPaletteCharas[0].m_strName = "ファイルの0番";
    s.m_vecPaletteCharas[0].m_wGraphic = 9;
    s.m_vecPaletteCharas.push_back(MakeSampleChara(0, 0, 1, 1));
    s.m_vecPaletteCharas.push_back(MakeSampleChara(0, 0, 1, 2));
    s.m_vecPaletteBlocks.clear();  // a list of none: two after the fix-up
    s.m_vecPaletteItems[0].m_strName = "x";
    std::vector<uint8_t> image = StageFileImage(s);
    EXPECT_EQ(s.m_vecPaletteBlocks.size(), 2u);
    ASSERT_TRUE(ReadImage(g_LoadedStage, image));
    ASSERT_EQ(g_LoadedStage.m_vecPaletteCharas.size(), 3u);
    cCharaRec none;
    EXPECT_EQ(FileImage(g_LoadedStage.m_vecPaletteCharas[0]), FileImage(none));
    EXPECT_EQ(g_LoadedStage.m_vecPaletteItems[0].m_strName, "");
    EXPECT_EQ(g_LoadedStage.m_vecPaletteBlocks.size(), 2u);
}

TEST_F(StageTest, TheFixUpKeepsScrollLimitsInsideTheStage) {
    const struct {
        int32_t w, h, left, right, top, bottom;
        int32_t mapW, mapH;
    } cases[] = {
        {100, 40, 80, 99, 25, 39, 100, 40},
        {10, 5, 0, 9, 0, 4, 10, 5},  // smaller than the view: 0, not negative
        {0, 0, 0, 0, 0, 0, 0, 0},
        {INT_MAX, INT_MAX, kMaxStageSide - 20, kMaxStageSide - 1, (int32_t)(kMaxStageCells / kMaxStageSide) - 15,
         (int32_t)(kMaxStageCells / kMaxStageSide) - 1, kMaxStageSide, (int32_t)(kMaxStageCells / kMaxStageSide)},
        {INT_MIN, -3, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        cStage s;
        s.m_nWidth = c.w;
        s.m_nHeight = c.h;
        s.m_nScrollLeft = s.m_nScrollRight = s.m_nScrollTop = s.m_nScrollBottom = INT_MAX;
        s.FixUp();
        EXPECT_EQ(s.m_nScrollLeft, c.left);
        EXPECT_EQ(s.m_nScrollRight, c.right);
        EXPECT_EQ(s.m_nScrollTop, c.top);
        EXPECT_EQ(s.m_nScrollBottom, c.bottom);
        EXPECT_EQ(s.m_nWidth, c.w);  // stored sizes stay
        int32_t w, h;
        s.BlockMapSize(w, h);
        EXPECT_EQ(w, c.mapW);
        EXPECT_EQ(h, c.mapH);
    }
    cStage s;  // limits below the bounds are kept, the music number is checked
    s.m_nWidth = 50;
    s.m_nScrollLeft = -4;
    s.m_nBgm = 2;  // two music entries
    s.FixUp();
    EXPECT_EQ(s.m_nScrollLeft, -4);
    EXPECT_EQ(s.m_nBgm, 0);
}

TEST_F(StageTest, WriteCopyTakesSettingsFromTheSourceAndDefinitionsFromThisStage) {
    cStage settings;
    settings.m_nWidth = 77;
    settings.m_vecTexts.resize(2);
    settings.m_vecBackgrounds.resize(4);
    settings.m_vecNumbers = {9};
    cStage defs;
    MakeSampleStage(defs, 30, 15, 2, 1);
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    defs.WriteCopy(w, settings);
    ASSERT_TRUE(ReadImage(g_LoadedStage, w.Data()));
    EXPECT_EQ(g_LoadedStage.m_nWidth, 77);
    EXPECT_EQ(g_LoadedStage.m_vecTexts.size(), 2u);
    EXPECT_EQ(g_LoadedStage.m_vecBackgrounds.size(), 4u);
    EXPECT_EQ(g_LoadedStage.m_vecNumbers, std::vector<int32_t>{9});
    EXPECT_EQ(g_LoadedStage.m_vecCharas.size(), 3u);
    EXPECT_EQ(g_LoadedStage.m_vecBlocks.size(), 15u);
    const std::vector<uint8_t>& d = w.Data();
    EXPECT_EQ(std::vector<uint8_t>(d.end() - 4, d.end()), (std::vector<uint8_t>{0x15, 0xCD, 0x5B, 0x07}));
}

TEST_F(StageTest, DamagedStageFilesLoadWithoutACrash) {
    cStage s;
    MakeSampleStage(s, 25, 15, 2, 1);
    CheckDamagedImages<cStage>(StageFileImage(s), [] { return cStage(); });
}

TEST_F(StageTest, HugeSizesAndCountsAllocateNothingLarge) {
    cStage s;
    s.m_nWidth = INT_MAX;
    s.m_nHeight = INT_MAX;
    std::vector<uint8_t> image = StageFileImage(s);
    cStage back;
    ASSERT_TRUE(ReadImage(back, image));
    EXPECT_EQ(back.m_nWidth, INT_MAX);
    int32_t w, h;
    back.BlockMapSize(w, h);
    EXPECT_LE((int64_t)w * h, kMaxStageCells);
    // A placed-character count of 2^32 - 1 after a short settings body.
    cByteImage b;
    b.U32(754).U32(0).U32(0).U32(0);  // no settings, no numbers
    for (int i = 0; i < 5; ++i) b.U32(0).U32(0);
    b.U32(0).U32(0).U32(0).U32(0).U32(0xFFFFFFFF);
    cRecordReader reader;
    cStage big;
    ASSERT_TRUE(ReadImage(big, b.Data(), &reader));
    EXPECT_TRUE(reader.Damaged());
    EXPECT_TRUE(big.m_vecCharas.empty());
}

}  // namespace
