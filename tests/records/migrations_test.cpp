// Reading files of older data versions: one table of (version, input bytes, expected fields)
// over the character definition, the block definition, the flow command and the stage.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "records/common_palette.h"
#include "records/database.h"
#include "records/stage.h"
#include "old_images.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class MigrationsTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
        g_CommonPalette = cCommonPalette();
        g_CommonPalette.FixUp();
        g_LoadedStage.Clear();
    }
    void TearDown() override {
        g_LoadedStage.Clear();
        g_LoadedStage.m_vecTexts.clear();
        g_CommonPalette = cCommonPalette();
        RecordTest::TearDown();
    }
};

// Shot fields S1-S60 of version v (S3 and S28 three words each), all 0 except S19 and S25 = 1.
std::vector<uint8_t> OldShot(uint32_t v, uint16_t s19) {
    const int width[61] = {0, 1, 1, 6, 1, 1, 1, 2, 2, 1, 2, 1, 1, 2, 2, 2, 2, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 6, 1, 2,
                           2, 1, 2, 2, 2, 1, 2, 1, 1, 2, 2, 1, 1, 1, 1, 1, 4, 2, 1, 2, 1, 2, 1, 1, 1, 1, 2, 1, 1, 1};
    const std::map<int, uint32_t> gate = {{4, 671}, {9, 158}, {29, 211}, {32, 213}, {33, 213},
                                          {34, 213}, {44, 636}, {55, 197}};
    cByteImage body;
    uint32_t n = 0;
    for (int s = 1; s <= 60; ++s) {
        if (gate.count(s) && v < gate.at(s)) continue;
        ++n;
        if (s == 19) body.U16(s19);
        else if (s == 25) body.U8(1);
        else
            for (int i = 0; i < width[s]; ++i) body.U8(0);
    }
    cByteImage b;
    b.U32(n).Bytes(body.Data()).U32(0);
    return b.Data();
}

// A command of version v: instant flag, kind and parameters; optionally a shot part.
std::vector<uint8_t> OldCmd(uint32_t v, uint8_t instant, int8_t kind, const std::vector<int32_t>& params,
                            int shotS19 = -1) {
    cByteImage b;
    b.U32(v).U32(8).U8(instant).U8((uint8_t)kind).U16(0).U16(0).U8(0).U16(0).U8(0).U16(0).U32(1).U32(1);
    b.U32(0);  // no move part
    if (shotS19 >= 0) b.U32(1).Bytes(OldShot(v, (uint16_t)shotS19));
    else b.U32(0);
    b.U32(0).U32((uint32_t)params.size());
    for (int32_t p : params) b.I32(p);
    return b.Data();
}

struct MIGRATION {
    const char* what;
    std::vector<uint8_t> bytes;  // the file image; its first word is the version
    std::function<void(const std::vector<uint8_t>&)> check;
};

template <class T>
T Read(const std::vector<uint8_t>& bytes, const std::function<void(T&)>& before = nullptr) {
    T r;
    if (before) before(r);
    EXPECT_TRUE(ReadImage(r, bytes));
    return r;
}

cFlowCmd ReadCmd(const std::vector<uint8_t>& bytes) { return Read<cFlowCmd>(bytes); }

std::vector<int32_t> Padded(std::vector<int32_t> v, size_t n) {
    v.resize(n, 0);
    return v;
}

TEST_F(MigrationsTest, OlderVersionsReadAsTheCurrentOne) {
    const auto prefilled = [](cCharaRec& c) {
        c.m_nC46 = 7;
        c.m_byC20 = c.m_byC23 = c.m_byC36 = c.m_byC42 = 9;
    };
    const MIGRATION table[] = {
        {"character v167: flag groups 27, 24, 21 inserted; C46, C20, C23, C42, C36 cleared; C33 = 1",
         OldChara(167, {}, 34),
         [&](const std::vector<uint8_t>& b) {
             cCharaRec c = Read<cCharaRec>(b, prefilled);
             ASSERT_EQ(c.m_vecTemplateFlags.size(), 37u);
             for (int i = 0; i < 37; ++i) EXPECT_EQ(c.m_vecTemplateFlags[i], (i == 21 || i == 25 || i == 29) ? 1 : 0) << i;
             EXPECT_EQ(c.m_nC46, 0);
             EXPECT_EQ(c.m_byC20 + c.m_byC23 + c.m_byC42 + c.m_byC36, 0);
             EXPECT_EQ(c.m_byC33, 1);
         }},
        {"character v168: C46 kept, one insertion less", OldChara(168, {{46, -5}}, 35),
         [&](const std::vector<uint8_t>& b) {
             cCharaRec c = Read<cCharaRec>(b, prefilled);
             EXPECT_EQ(c.m_nC46, -5);
             EXPECT_EQ(c.m_vecTemplateFlags[21] + c.m_vecTemplateFlags[25] + c.m_vecTemplateFlags[29], 2);
         }},
        {"character v205: C42 of 2 or more moves up", OldChara(205, {{42, 2}}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_byC42, 3); }},
        {"character v205: a negative C42 stays", OldChara(205, {{42, 0xFF}}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_byC42, 0xFF); }},
        {"character v206: C42 stays", OldChara(206, {{42, 2}}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_byC42, 2); }},
        {"character v284: C33 becomes 1", OldChara(284, {}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_byC33, 1); }},
        {"character v285: C33 stays 0", OldChara(285, {}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_byC33, 0); }},
        {"character v218: graphic of kind 3 up by one", OldChara(218, {{14, 3}, {13, 5}}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_wGraphic, 6); }},
        {"character v218: 65535 does not wrap", OldChara(218, {{14, 3}, {13, 65535}}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_wGraphic, 119); }},
        {"character v219: graphic stays", OldChara(219, {{14, 3}, {13, 5}}, 37),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cCharaRec>(b).m_wGraphic, 5); }},
        {"block v218: B5 of 119 with B6 = 3 stays 119",
         cByteImage().U32(218).U32(18).U8(0).U16(0).U8(0).U8(0).U16(119).U8(3).U16(0).U8(0).U8(0).U8(0).U16(0)
             .U8(0).U8(0).U8(0).I32(0).U8(0).U16(0).U8(0).U32(1).U32(1).I32(0).U32(0).U32(0).Data(),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(Read<cBlockRec>(b).m_wGraphic, 119); }},
        {"command v733: kind 30 becomes 31", OldCmd(733, 0, 30, {1, 0, 0}),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_cKind, 31); }},
        {"command v733: kind 23 stays", OldCmd(733, 0, 23, {0, 0, 0}),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_cKind, 23); }},
        {"command v733: instant kind 15 becomes 16", OldCmd(733, 1, 15, {1, 0, 0}),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_cKind, 16); }},
        {"command v733: kind 39 would become 40: kind 0, no parameters", OldCmd(733, 0, 39, {3, 2}),
         [](const std::vector<uint8_t>& b) {
             cFlowCmd c = ReadCmd(b);
             EXPECT_EQ(c.m_cKind, 0);
             EXPECT_TRUE(c.m_vecParams.empty());
         }},
        {"command v733: kind 127 would wrap to -128: kind 0", OldCmd(733, 0, 127, {1}),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_cKind, 0); }},
        {"command v733: the arrange command's kind moves up too", OldCmd(733, 0, 37, {30, 1, 0, 0, 0}),
         [](const std::vector<uint8_t>& b) {
             cFlowCmd c = ReadCmd(b);
             EXPECT_EQ(c.m_cKind, 38);
             EXPECT_EQ(c.m_vecParams[0], 31);
         }},
        {"command v726: the arrange parameter 14 passes all seven thresholds: 21", OldCmd(726, 0, 37, {11, 14, 0, 0, 0}),
         [](const std::vector<uint8_t>& b) {
             cFlowCmd c = ReadCmd(b);
             EXPECT_EQ(c.m_cKind, 38);
             EXPECT_EQ(c.m_vecParams, (std::vector<int32_t>{11, 21, 0, 0, 0}));
         }},
        {"command v725: the arrange command becomes a code link first", OldCmd(725, 0, 37, {5, 14}),
         [](const std::vector<uint8_t>& b) {
             EXPECT_EQ(ReadCmd(b).m_vecParams, (std::vector<int32_t>{11, 21, 0, 0, 0}));
         }},
        {"command v167: kind 22 with a short parameter vector", OldCmd(167, 0, 22, {0, 0, 0, 1, 10}),
         [](const std::vector<uint8_t>& b) {
             EXPECT_EQ(ReadCmd(b).m_vecParams, Padded({0, 0, 0, 1, 12}, 18));  // +1 at 168, +1 at 203
         }},
        {"command v167: kind 22 with one parameter", OldCmd(167, 0, 22, {0}),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_vecParams, Padded({}, 18)); }},
        {"command v193: kind 31 gets its inserted and later parameters", OldCmd(193, 0, 31, {1, 2, 3, 4, 5, 6, 7}),
         [](const std::vector<uint8_t>& b) {
             cFlowCmd c = ReadCmd(b);
             EXPECT_EQ(c.m_cKind, 32);
             EXPECT_EQ(c.m_vecParams, Padded({1, 2, 3, 4, 5, 6, 1, 7}, 15));
         }},
        {"command v218: kind 25 with P[0] = 3 raises P[1] at most to 119", OldCmd(218, 0, 25, {3, 119, 0}),
         [](const std::vector<uint8_t>& b) {
             cFlowCmd c = ReadCmd(b);
             EXPECT_EQ(c.m_cKind, 26);
             EXPECT_EQ(c.m_vecParams[1], 119);
         }},
        {"command v219: the shot graphic moves up and 65535 does not wrap", OldCmd(219, 0, 11, {}, 65535),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_pShot->Graphic(), 119); }},
        {"command v219: shot graphic 7 becomes 8", OldCmd(219, 0, 11, {}, 7),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_pShot->Graphic(), 8); }},
        {"command v100: the instant flow change takes no conversion of kind 16", OldCmd(100, 1, 1, {4, 5, 6}),
         [](const std::vector<uint8_t>& b) { EXPECT_EQ(ReadCmd(b).m_vecParams, (std::vector<int32_t>{4, 5})); }},
        {"stage v154: settings of later versions get their defaults and copies", OldStage(154, {1, 2, 3, 4, 5, 6}, 0),
         [](const std::vector<uint8_t>& b) {
             cStage& s = g_LoadedStage;
             ASSERT_TRUE(ReadImage(s, b));
             EXPECT_EQ(s.m_anHeroSize42_43[0], 7);
             EXPECT_EQ(s.m_anHeroSize42_43[1], 8);
             EXPECT_EQ(s.m_anCharaSize66_67[0], 5);
             EXPECT_EQ(s.m_anCharaSize66_67[1], 6);
             EXPECT_EQ(s.m_anHero50_51[0] + s.m_anHero50_51[1] + s.m_anChara72_73[0] + s.m_anChara72_73[1], 0);
             EXPECT_EQ(s.m_nValue25, 1);
             EXPECT_EQ(s.m_nValue31, 1);
             EXPECT_EQ(s.m_nValue30 + s.m_nValue26 + s.m_nValue33, 0);
             EXPECT_EQ(std::vector<int32_t>(s.m_anHeroSize36_39, s.m_anHeroSize36_39 + 4), (std::vector<int32_t>{16, 24, 16, 16}));
             EXPECT_EQ(std::vector<int32_t>(s.m_anCharaSize60_63, s.m_anCharaSize60_63 + 4), (std::vector<int32_t>{16, 30, 16, 30}));
             EXPECT_EQ(s.m_anHero48_49[0], 1);
             EXPECT_EQ(s.m_nHeroFlow56, 5);
             EXPECT_EQ(s.m_anChara70_71[1], 1);
             EXPECT_EQ(s.m_vecNumbers, (std::vector<int32_t>{1, 2, 3, 0, 0}));
             EXPECT_EQ(s.m_vecTexts.size(), kStageTextCount);
             EXPECT_EQ(s.m_nWidth, 40);
         }},
        {"stage v180: two numbers become five", OldStage(180, {8, 9}, 0),
         [](const std::vector<uint8_t>& b) {
             ASSERT_TRUE(ReadImage(g_LoadedStage, b));
             EXPECT_EQ(g_LoadedStage.m_vecNumbers, (std::vector<int32_t>{8, 9, 0, 0, 0}));
         }},
        {"stage v181: the numbers stay", OldStage(181, {1, 2, 3, 4, 5, 6, 7}, 0),
         [](const std::vector<uint8_t>& b) {
             ASSERT_TRUE(ReadImage(g_LoadedStage, b));
             EXPECT_EQ(g_LoadedStage.m_vecNumbers.size(), 7u);
             EXPECT_EQ(g_LoadedStage.m_vecNumbers[4], 5);
         }},
        {"stage v753: three texts become exactly 1000", OldStage(753, {1, 1, 1, 1, 1}, 3),
         [](const std::vector<uint8_t>& b) {
             ASSERT_TRUE(ReadImage(g_LoadedStage, b));
             ASSERT_EQ(g_LoadedStage.m_vecTexts.size(), kStageTextCount);
             EXPECT_EQ(g_LoadedStage.m_vecTexts[2].m_strText, "t");
             EXPECT_EQ(g_LoadedStage.m_vecTexts[3].m_strText, "");
         }},
        {"stage v753: 1200 texts are cut to 1000", OldStage(753, {1, 1, 1, 1, 1}, 1200),
         [](const std::vector<uint8_t>& b) {
             ASSERT_TRUE(ReadImage(g_LoadedStage, b));
             EXPECT_EQ(g_LoadedStage.m_vecTexts.size(), kStageTextCount);
         }},
        {"stage v754: three texts stay three", OldStage(754, {1, 1, 1, 1, 1}, 3),
         [](const std::vector<uint8_t>& b) {
             ASSERT_TRUE(ReadImage(g_LoadedStage, b));
             EXPECT_EQ(g_LoadedStage.m_vecTexts.size(), 3u);
         }},
    };
    for (const MIGRATION& m : table) {
        SCOPED_TRACE(m.what);
        m.check(m.bytes);
        g_LoadedStage.Clear();
    }
    // Every image is read whole, none as short or damaged.
    EXPECT_EQ(Report().find("ends early"), std::string::npos) << Report();
    EXPECT_EQ(Report().find("damaged"), std::string::npos) << Report();
}

}  // namespace
