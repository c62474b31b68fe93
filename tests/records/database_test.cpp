// The project database: record layouts and conversions, loading, the derived frame lists and
// effect states.
#include <gtest/gtest.h>

#include "records/data_paths.h"
#include "records/database.h"
#include "records/effect_param_desc.h"
#include "records/record_list.h"
#include "test_support.h"
#include "tools/records/project_writer.h"

using namespace recordtest;

namespace {

class DatabaseTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
        g_Database.m_vecCharaEffectRev.clear();
        g_Database.m_vecScrEffectRev.clear();
    }
    void TearDown() override {
        SetFullScreenMessageBox(nullptr);
        CreateDefaultDatabase(g_Database);
        RecordTest::TearDown();
    }
};

// A table file of hand-built record bodies.
std::vector<uint8_t> Table(uint32_t version, std::initializer_list<std::vector<uint8_t>> bodies) {
    cByteImage b;
    b.U32(version).U32((uint32_t)bodies.size());
    for (const auto& body : bodies) b.Bytes(body);
    return b.Data();
}

template <class T>
std::vector<T> ReadTableImage(const std::vector<uint8_t>& image, std::vector<T> start = {}) {
    cRecordReader r;
    EXPECT_TRUE(cDataFile::OpenReadMemory(r, image.data(), image.size(), "table"));
    ReadRecordListOver(r, start, T());
    EXPECT_FALSE(r.Ended());
    return start;
}

TEST_F(DatabaseTest, CharaEffectAndAnimeSetRecordsHaveTheirExactBytes) {
    cCharaEffectRec e;
    e.m_strName = "E";
    e.m_nKind = 4;
    for (int i = 0; i < 5; ++i) e.m_anParams[i] = i + 1;
    EXPECT_EQ(RecordBody(e), cByteImage().U32(2).I32(4).I32(1).I32(2).I32(3).I32(4).I32(5).U32(1).Str("E").Data());

    cAnimeSetRec s;  // a new set: four groups of one frame each
    s.m_strName = "S";
    s.m_nOffsetA = 1;
    s.m_nOffsetB = -1;
    s.m_nOffsetC = 2;
    s.m_vecGroups.resize(1);
    s.m_vecGroups[0].m_wValueA = 0x0102;
    s.m_vecGroups[0].m_wValueC = 0x0304;
    s.m_vecGroups[0].m_vecFrames[0].m_nCell = 7;
    s.m_vecGroups[0].m_vecFrames[0].m_nLock = 1;
    cByteImage want;
    want.U32(3).I32(1).I32(-1).I32(2).U32(1).Str("S");
    want.U32(1);                                                         // groups
    want.U32(3).U16(0x0102).U8(1).U16(0x0304).U32(1).Str("立ち");        // group 0's own fields
    want.U32(1).U32(3).I32(7).I32(1).I32(1).U32(0);                     // its frame
    EXPECT_EQ(RecordBody(s), want.Data());

    std::vector<cAnimeSetRec> back = ReadTableImage<cAnimeSetRec>(Table(754, {want.Data()}));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(RecordBody(back[0]), want.Data());
    std::vector<cCharaEffectRec> effects = ReadTableImage<cCharaEffectRec>(Table(754, {RecordBody(e)}));
    EXPECT_EQ(RecordBody(effects[0]), RecordBody(e));
}

std::vector<uint8_t> OldAnimeBody(uint32_t version, const std::string& name, int frames) {
    cByteImage b;
    if (version >= 55)
        b.U32(3).U16(5).U8(6).U16(7);
    else
        b.U32(0);
    b.U32(1).Str(name).U32((uint32_t)frames);
    for (int i = 0; i < frames; ++i) b.U32(3).I32(i).I32(2).I32(0).U32(0);
    return b.Data();
}

std::vector<uint8_t> OldAnimeSetBody(uint32_t version, int groups) {
    cByteImage b;
    b.U32(version >= 119 ? 3 : 2).I32(10).I32(20);
    if (version >= 119) b.I32(30);
    b.U32(1).Str("set").U32((uint32_t)groups);
    for (int i = 0; i < groups; ++i) b.Bytes(OldAnimeBody(version, "g" + std::to_string(i), 1));
    return b.Data();
}

TEST_F(DatabaseTest, AnimationSetsOfOldVersionsGetTheirFourGroups) {
    auto v118 = ReadTableImage<cAnimeSetRec>(Table(118, {OldAnimeSetBody(118, 2)}));
    ASSERT_EQ(v118[0].m_vecGroups.size(), 4u);
    EXPECT_EQ(v118[0].m_vecGroups[0].m_strName, "g0");
    EXPECT_EQ(v118[0].m_vecGroups[1].m_strName, "g1");
    EXPECT_EQ(v118[0].m_vecGroups[2].m_strName, "飛行");
    EXPECT_EQ(v118[0].m_vecGroups[3].m_strName, "飛行移動");
    ASSERT_EQ(v118[0].m_vecGroups[3].m_vecFrames.size(), 1u);
    EXPECT_EQ(v118[0].m_vecGroups[3].m_vecFrames[0].m_nDuration, 1);
    EXPECT_EQ(v118[0].m_nOffsetC, 0);  // not stored before 119: the new record's value

    auto v120 = ReadTableImage<cAnimeSetRec>(Table(120, {OldAnimeSetBody(120, 6)}));
    ASSERT_EQ(v120[0].m_vecGroups.size(), 4u);
    EXPECT_EQ(v120[0].m_vecGroups[1].m_strName, "g1");
    EXPECT_EQ(v120[0].m_vecGroups[2].m_strName, "飛行");
    EXPECT_EQ(v120[0].m_nOffsetC, 30);

    auto v128 = ReadTableImage<cAnimeSetRec>(Table(128, {OldAnimeSetBody(128, 1)}));
    ASSERT_EQ(v128[0].m_vecGroups.size(), 1u);
    EXPECT_EQ(v128[0].m_vecGroups[0].m_strName, "g0");
}

TEST_F(DatabaseTest, AnimationsOlderThan55KeepTheirValues) {
    std::vector<cAnimeRec> start(1);
    start[0].m_wValueA = 9;
    start[0].m_byValueB = 8;
    auto t = ReadTableImage<cAnimeRec>(Table(54, {OldAnimeBody(54, "a", 0), OldAnimeBody(54, "b", 2)}), start);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].m_wValueA, 9);  // read over the record that stood there
    EXPECT_EQ(t[0].m_byValueB, 8);
    EXPECT_TRUE(t[0].m_vecFrames.empty());
    EXPECT_EQ(t[1].m_wValueA, 0);  // appended: a new animation's values
    EXPECT_EQ(t[1].m_byValueB, 1);
    EXPECT_EQ(t[1].m_wValueC, 0);
    EXPECT_EQ(t[1].m_vecFrames.size(), 2u);
    auto t55 = ReadTableImage<cAnimeRec>(Table(55, {OldAnimeBody(55, "a", 1)}));
    EXPECT_EQ(t55[0].m_wValueA, 5);
    EXPECT_EQ(t55[0].m_byValueB, 6);
    EXPECT_EQ(t55[0].m_wValueC, 7);
}

TEST_F(DatabaseTest, EffectParametersOlderThan511TakeTheDescriptorDefaults) {
    struct Case {
        int kind;
        uint32_t version;
        bool screen;
        int32_t expect[5];
    };
    const Case cases[] = {
        {4, 510, false, {9, 9, 9, 9, 2}},  {5, 510, false, {9, 9, 9, 9, 2}},  {10, 510, false, {9, 9, 9, 2, 9}},
        {4, 511, false, {9, 9, 9, 9, 9}},  {3, 510, false, {9, 9, 9, 9, 9}},  {6, 510, true, {9, 9, 9, 9, 8}},
        {7, 510, true, {9, 9, 9, 9, 10}},  {10, 510, true, {9, 9, 9, 8, 9}},  {7, 511, true, {9, 9, 9, 9, 9}},
        {4, 510, true, {9, 9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + (c.screen ? " screen " : " chara ") + std::to_string(c.version));
        std::vector<uint8_t> body = cByteImage().U32(2).I32(c.kind).I32(9).I32(9).I32(9).I32(9).I32(9).U32(1).Str("").Data();
        std::vector<int32_t> got;
        if (c.screen) {
            auto t = ReadTableImage<cScrEffectRec>(Table(c.version, {body}));
            got.assign(t[0].m_anParams, t[0].m_anParams + 5);
        } else {
            auto t = ReadTableImage<cCharaEffectRec>(Table(c.version, {body}));
            got.assign(t[0].m_anParams, t[0].m_anParams + 5);
        }
        EXPECT_EQ(got, std::vector<int32_t>(c.expect, c.expect + 5));
    }
    EXPECT_STREQ(CharaEffectParam(4, 4).pszLabel, "波の粗さ(dot)");
    EXPECT_STREQ(ScrEffectParam(10, 3).pszLabel, "円の粗さ(dot)");
    EXPECT_EQ(ScrEffectParam(7, 4).nMax, 64);
    EXPECT_STREQ(CharaEffectParam(17, 0).pszLabel, "");
}

TEST_F(DatabaseTest, TheSharedValueIsClearedBelow153) {
    for (uint32_t v : {151u, 152u, 153u}) {
        SCOPED_TRACE(v);
        const int32_t want = v < 153 ? 0 : 77;
        auto pic = ReadTableImage<cPictureRec>(Table(v, {cByteImage().U32(1).I32(77).U32(2).Str("p").Str("f")}));
        EXPECT_EQ(pic[0].m_nValue, want);
        EXPECT_EQ(pic[0].m_strFile, "f");
        auto bgm = ReadTableImage<cBgmRec>(Table(v, {cByteImage().U32(1).I32(77).U32(2).Str("b").Str("f")}));
        EXPECT_EQ(bgm[0].m_nValue, want);
        auto snd = ReadTableImage<cSoundRec>(Table(v, {cByteImage().U32(1).I32(77).U32(2).Str("s").Str("f")}));
        EXPECT_EQ(snd[0].m_nValue, want);
        auto eff = ReadTableImage<cEffectRec>(
            Table(v, {cByteImage().U32(4).I32(77).I32(8).I32(9).I32(1).U32(2).Str("e").Str("f").U32(0)}));
        EXPECT_EQ(eff[0].m_nValue, want);
        EXPECT_EQ(eff[0].m_nWidth, 8);
        auto sw = ReadTableImage<cSwordTypeRec>(
            Table(v, {cByteImage().U32(1).I32(77).U32(3).Str("s").Str("f").Str("g").U32(0)}));
        EXPECT_EQ(sw[0].m_nValue, want);
        EXPECT_TRUE(sw[0].m_vecEntries.empty());
        if (v >= 152) {
            auto bmp = ReadTableImage<cBmpCharaExcRec>(Table(v, {cByteImage().U32(1).I32(77).U32(2).Str("n").Str("f")}));
            EXPECT_EQ(bmp[0].m_nValue, want);
            EXPECT_EQ(bmp[0].m_bLargeCells, 0);  // before 172: the new record's values
            EXPECT_EQ(bmp[0].m_nCellSize, 2);
        }
    }
}

TEST_F(DatabaseTest, SwordEntriesBefore138AndCellSizesOfCharacterBitmaps) {
    cByteImage entry;
    entry.U32(8);
    for (int i = 1; i <= 8; ++i) entry.I32(i);
    auto sw = ReadTableImage<cSwordTypeRec>(
        Table(137, {cByteImage().U32(0).U32(3).Str("").Str("").Str("").U32(1).Bytes(entry.Data()).U32(0)}));
    ASSERT_EQ(sw[0].m_vecEntries.size(), 1u);
    const cSwordTypeEntry& e = sw[0].m_vecEntries[0];
    EXPECT_EQ(e.m_nOffsetX, 1);
    EXPECT_EQ(e.m_nOffsetY, 2);
    EXPECT_EQ(e.m_bMirrorX, 1);
    EXPECT_EQ(e.m_bMirrorY, 0);
    EXPECT_EQ(e.m_nPlacement, 3);
    EXPECT_EQ(e.m_nDuration, 8);
    EXPECT_EQ(cSwordTypeRec().m_vecEntries[0].m_nDuration, 1);

    for (auto [stored, want] : {std::pair{0, 1}, {17, 16}, {-3, 1}, {4, 4}}) {
        auto bmp = ReadTableImage<cBmpCharaExcRec>(
            Table(754, {cByteImage().U32(3).I32(0).I32(1).I32(stored).U32(2).Str("").Str("").Data()}));
        EXPECT_EQ(bmp[0].m_nCellSize, want) << stored;
    }
}

std::vector<std::string> g_boxes;
bool CaptureBox(const char* text, const char* caption, UINT, int* answer) {
    g_boxes.push_back(std::string(caption) + "|" + text);
    *answer = IDOK;
    return true;
}

TEST_F(DatabaseTest, LoadAllStopsAtAMissingFileAndSaysWhich) {
    folder_->MakeLayout();
    cDatabase source;
    source.m_vecAnime.resize(3);
    source.m_vecAnime[2].m_strName = "three";
    source.m_vecSwordType[0].m_strName = "sword";
    source.m_vecPicture.resize(5);
    ASSERT_TRUE(WriteDatabaseFiles(*folder_, source, DB_EFFECT));
    g_boxes.clear();
    SetFullScreenMessageBox(&CaptureBox);
    g_Database.m_vecEffect.resize(7);
    EXPECT_EQ(g_Database.LoadAll(), 0);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], "エラー|data\\database\\Effect.dat のロードに失敗！");
    EXPECT_EQ(g_Database.m_vecAnime.size(), 3u);
    EXPECT_EQ(g_Database.m_vecAnime[2].m_strName, "three");
    EXPECT_EQ(g_Database.m_vecSwordType[0].m_strName, "sword");
    EXPECT_EQ(g_Database.m_vecEffect.size(), 7u);   // untouched
    EXPECT_EQ(g_Database.m_vecPicture.size(), 2u);  // still the default
    EXPECT_EQ(g_Database.m_vecCharaEffect[0].m_nKind, 1);
}

TEST_F(DatabaseTest, LoadAllReadsEveryTableAndZeroesTheKindOfEffect0) {
    folder_->MakeLayout();
    cDatabase source;
    source.m_vecCharaEffect[0].m_nKind = 5;
    source.m_vecScrEffect.clear();  // an empty table is allowed
    source.m_vecBgm.clear();
    source.m_vecSound.resize(4);
    source.m_vecSound[3].m_strName = "a\r\nb";
    ASSERT_TRUE(WriteDatabaseFiles(*folder_, source));
    g_bStripReturns = TRUE;
    EXPECT_EQ(g_Database.LoadAll(), 1);
    EXPECT_EQ(g_Database.m_vecCharaEffect[0].m_nKind, 0);
    EXPECT_EQ(g_Database.m_vecCharaEffect[1].m_nKind, 1);
    EXPECT_TRUE(g_Database.m_vecScrEffect.empty());
    EXPECT_TRUE(g_Database.m_vecBgm.empty());
    EXPECT_EQ(g_Database.m_vecSound[3].m_strName, "a\nb");
    g_Database.CopyReversedTables();
    g_Database.BuildIndex4(ScrEffectStates, ScrEffectStatesReversed);
    EXPECT_TRUE(ScrEffectStates.empty());
}

TEST_F(DatabaseTest, FrameListsCarryLocksAndEndCodes) {
    cDatabase& db = g_Database;
    db.m_vecAnime.assign(4, cAnimeRec());
    auto frames = [](cAnimeRec& a, std::initializer_list<std::array<int32_t, 3>> items) {
        a.m_vecFrames.clear();
        for (const auto& it : items) {
            cAnimeFrameRec f;
            f.m_nCell = it[0];
            f.m_nDuration = it[1];
            f.m_nLock = it[2];
            a.m_vecFrames.push_back(f);
        }
    };
    frames(db.m_vecAnime[0], {{1, 5, 0}, {2, 5, 0}});
    frames(db.m_vecAnime[1], {{3, 1, 0}, {4, 2, 1}, {5, 3, 0}});
    frames(db.m_vecAnime[2], {});
    frames(db.m_vecAnime[3], {{-2, 1, 0}, {-9, 1, 0}, {0x7FFFFFFF, 0x7FFFFFFF, 0}});
    db.BuildIndex1(AnimeFrameTable);
    ASSERT_EQ(AnimeFrameTable.size(), 4u);
    auto eq = [](const AnimeFrame& f, int32_t v, int32_t d, int l) {
        return f.nValue == v && f.nDuration == d && f.bLocked == l;
    };
    const ANIMEFRAMELIST& l0 = AnimeFrameTable[0];
    ASSERT_EQ(l0.size(), 3u);
    EXPECT_TRUE(eq(l0[0], 1, 0, 1) && eq(l0[1], 2, 0, 1) && eq(l0[2], -2, 0, 1));
    const ANIMEFRAMELIST& l1 = AnimeFrameTable[1];
    ASSERT_EQ(l1.size(), 4u);
    EXPECT_TRUE(eq(l1[0], 3, 6, 0) && eq(l1[1], 4, 12, 1) && eq(l1[2], 5, 18, 1) && eq(l1[3], -4, 0, 0));
    const ANIMEFRAMELIST& l2 = AnimeFrameTable[2];  // no frames: a blank frame, then the end
    ASSERT_EQ(l2.size(), 2u);
    EXPECT_TRUE(eq(l2[0], 0, 0, 0) && eq(l2[1], -4, 0, 0));
    const ANIMEFRAMELIST& l3 = AnimeFrameTable[3];
    ASSERT_EQ(l3.size(), 4u);
    EXPECT_TRUE(eq(l3[0], -2, 6, 0));                 // a control code of the sequencer stays
    EXPECT_TRUE(eq(l3[1], 0, 6, 0));                  // below the codes: a plain cell 0
    EXPECT_TRUE(eq(l3[2], 0x7FFFFFFF, 0x7FFFFFFF, 0)); // duration kept in range

    db.m_vecEffect.assign(2, cEffectRec());
    db.m_vecEffect[1].m_vecFrames.resize(2);
    db.m_vecEffect[1].m_vecFrames[1].m_nCell = 9;
    db.BuildIndex2(EffectFrameTable);
    ASSERT_EQ(EffectFrameTable.size(), 2u);
    EXPECT_TRUE(eq(EffectFrameTable[0][0], 0, 0, 1) && eq(EffectFrameTable[0][1], -2, 0, 1));
    ASSERT_EQ(EffectFrameTable[1].size(), 3u);
    EXPECT_TRUE(eq(EffectFrameTable[1][0], 0, 6, 0) && eq(EffectFrameTable[1][1], 9, 6, 0) &&
                eq(EffectFrameTable[1][2], -4, 0, 0));
}

cCharaEffectRec CharaEffect(int kind, std::array<int32_t, 5> p) {
    cCharaEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

cScrEffectRec ScrEffect(int kind, std::array<int32_t, 5> p) {
    cScrEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

TEST_F(DatabaseTest, CharacterEffectStatesForwardAndReversed) {
    cDatabase& db = g_Database;
    db.m_vecCharaEffect = {CharaEffect(0, {1, 2, 3, 4, 5}), CharaEffect(1, {10, 0, 32, 0, 0}),
                           CharaEffect(4, {5, 8, 8, 0, 0}),  CharaEffect(6, {7, 1, 2, 3, 4}),
                           CharaEffect(2, {0, 4, 1, 0, 0}),  CharaEffect(14, {0, 9, 9, 0, 0})};
    db.CopyReversedTables();
    db.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
    ASSERT_EQ(CharaEffectStates.size(), 6u);
    const CHARAEFFECTSTATE& k0 = CharaEffectStates[0];
    EXPECT_EQ(k0.nFrom, 0);
    EXPECT_EQ(k0.dRate, 0.0);
    const CHARAEFFECTSTATE& f1 = CharaEffectStates[1];
    EXPECT_EQ(f1.nId, 1);
    EXPECT_EQ(f1.nDefTable, 0);
    EXPECT_EQ(f1.nFrom, 0);
    EXPECT_EQ(f1.nTo, 32);
    EXPECT_EQ(f1.dValue, 0.0);
    EXPECT_DOUBLE_EQ(f1.dRate, 32.0 / 60.0);
    EXPECT_EQ(f1.nDuration, 10);
    const CHARAEFFECTSTATE& r1 = CharaEffectStatesReversed[1];
    EXPECT_EQ(r1.nDefTable, 1);
    EXPECT_EQ(r1.nFrom, 32);
    EXPECT_EQ(r1.nTo, 0);
    EXPECT_DOUBLE_EQ(r1.dRate, 32.0 / 60.0);
    // The reversed table holds start and end exchanged for interpolating kinds only.
    EXPECT_EQ(db.m_vecCharaEffectRev[1].m_anParams[1], 32);
    EXPECT_EQ(db.m_vecCharaEffectRev[1].m_anParams[2], 0);
    EXPECT_EQ(db.m_vecCharaEffect[1].m_anParams[1], 0);
    EXPECT_EQ(db.m_vecCharaEffectRev[3].m_anParams[1], 1);
    EXPECT_EQ(db.m_vecCharaEffectRev[0].m_anParams[1], 2);
    // Start = end: a time count.
    EXPECT_DOUBLE_EQ(CharaEffectStates[2].dRate, 1.0 / 6.0);
    // Kinds 6 and 14 count time from 0 to parameter 1.
    EXPECT_EQ(CharaEffectStates[3].nFrom, 0);
    EXPECT_EQ(CharaEffectStates[3].nTo, 7);
    EXPECT_DOUBLE_EQ(CharaEffectStates[3].dRate, 1.0 / 6.0);
    // A run time of 0 takes one frame instead of dividing by zero.
    EXPECT_DOUBLE_EQ(CharaEffectStates[4].dRate, 3.0);
    EXPECT_EQ(CharaEffectStates[5].nTo, 0);
    EXPECT_DOUBLE_EQ(CharaEffectStates[5].dRate, 1.0 / 6.0);
    EXPECT_EQ(&CharaEffectDef(CharaEffectStatesReversed[1]), &db.m_vecCharaEffectRev[1]);
}

TEST_F(DatabaseTest, ScreenEffectStatesForwardAndReversed) {
    cDatabase& db = g_Database;
    db.m_vecScrEffect = {ScrEffect(1, {10, 1, 2, 3, 4}), ScrEffect(2, {10, 4, 4, 0, 0}), ScrEffect(6, {10, 0, 640, 4, 8}),
                         ScrEffect(9, {3, 5, 5, 0, 0}), ScrEffect(13, {-1, 1, 60, 0, 0}), ScrEffect(20, {1, 2, 3, 4, 5})};
    db.CopyReversedTables();
    db.BuildIndex4(ScrEffectStates, ScrEffectStatesReversed);
    const SCREFFECTSTATE& m = ScrEffectStates[0];
    EXPECT_EQ(m.nWord1, 1);
    EXPECT_EQ(m.nWord2, 2);
    EXPECT_DOUBLE_EQ(m.dRate, 1.0 / 6.0);
    const SCREFFECTSTATE& mr = ScrEffectStatesReversed[0];
    EXPECT_EQ(mr.nWord1, 3);
    EXPECT_EQ(mr.nWord2, 4);
    EXPECT_EQ(db.m_vecScrEffectRev[0].m_anParams[3], 1);
    EXPECT_EQ(db.m_vecScrEffectRev[0].m_anParams[4], 2);
    EXPECT_DOUBLE_EQ(ScrEffectStates[1].dRate, 1.0 / 6.0);
    EXPECT_EQ(ScrEffectStates[1].bTimeBased, 0);
    EXPECT_EQ(ScrEffectStates[2].dValue, 0.0);
    EXPECT_DOUBLE_EQ(ScrEffectStates[2].dRate, 640.0 / 60.0);
    EXPECT_EQ(ScrEffectStatesReversed[2].dValue, 640.0);
    EXPECT_EQ(db.m_vecScrEffectRev[2].m_anParams[4], 8);  // only the pair of the kind is exchanged
    EXPECT_EQ(ScrEffectStates[3].bTimeBased, 1);
    EXPECT_EQ(ScrEffectStates[3].nDuration, 3);
    EXPECT_DOUBLE_EQ(ScrEffectStates[4].dRate, 59.0);  // a negative run time takes one frame
    EXPECT_EQ(ScrEffectStates[5].dRate, 0.0);           // an unknown kind: id and definition only
    EXPECT_EQ(ScrEffectStates[5].nId, 5);
}

TEST_F(DatabaseTest, DamagedTableFilesLoadWithoutHarm) {
    cDatabase source;
    source.m_vecAnimeSet[0].m_strName = "set";
    source.m_vecEffect[1].m_vecFrames.resize(2);
    for (int t = 0; t < DB_TABLE_COUNT; ++t) {
        SCOPED_TRACE(t);
        cRecordWriter w;
        source.WriteTable((DBTABLE)t, w);
        CheckDamagedImages<cDatabase>(
            w.Data(), [] { return cDatabase(); },
            [t](cDatabase& db, cRecordReader& r) {
                db.ReadTable((DBTABLE)t, r);
                db.CopyReversedTables();
                ANIMEFRAMETABLE frames;
                db.BuildIndex1(frames);
                db.BuildIndex2(frames);
                std::vector<CHARAEFFECTSTATE> c1, c2;
                std::vector<SCREFFECTSTATE> s1, s2;
                db.BuildIndex3(c1, c2);
                db.BuildIndex4(s1, s2);
            });
    }
}

}  // namespace
