// The system settings record, its sub-records and helpers.
#include <gtest/gtest.h>

#include "records/database.h"
#include "records/system_data.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class SystemDataTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);  // two music records
    }
    void TearDown() override {
        g_SystemData.SetDefaults();
        RecordTest::TearDown();
    }
};

// The defaults of a new project as a version-754 System.dat, written by hand.
std::vector<uint8_t> DefaultSystemBytes() {
    cByteImage b;
    b.U32(754).U32(50);
    const uint32_t words1to25[25] = {0, 100, 1, 0, 60, 0, 0, 1, 1, 1, 1, 1, 40, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
    for (uint32_t w : words1to25) b.U32(w);
    b.U8(0).U8(0).U8(0);  // the transparent colour
    const uint32_t words29to50[22] = {0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    for (uint32_t w : words29to50) b.U32(w);
    b.U32(1).U32(1);  // the title: empty
    b.U32(25);
    for (int i = 0; i < 25; ++i) b.U8((i <= 1 || i == 13 || i == 14 || i == 16 || i == 17 || (i >= 19 && i <= 21)) ? 1 : 0);
    b.U32(25);
    for (int i = 0; i < 25; ++i) b.U8(i == 11 || i == 12 ? 1 : 0);
    b.U32(5);
    const char* names[5] = {"スコア", "スコア", "HP", "SP", "人"};
    const uint32_t digits[5] = {4, 3, 0, 0, 2};
    for (int i = 0; i < 5; ++i) b.U32(6).U32(1).U32(1).U32(digits[i]).U32(0).U32(0).U32(0).U32(1).Str(names[i]);
    b.U32(4).U32(5).U32(5).U32(5).U32(99);
    b.U32(4).U32(1).U32(1).U32(1).U32(1);
    b.U32(4);
    for (int i = 0; i < 4; ++i) {
        b.U32(1).U32(i < 3 ? 1 : 0).U32(0).U32(5);
        for (int k = 0; k < 5; ++k) b.U8(i < 3 ? 1 : 0);
    }
    const char* texts[28] = {"ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間",
                             "クリア時間", "残りHP", "残りSP", "ステージに挑む", "やっぱりやめる", "セーブする",
                             "やっぱりやめる", "オートセーブＯＮ", "オートセーブＯＦＦ",
                             "保存先が不明です！一度は「セーブ」して下さい！", "タイトルへ戻る", "やっぱりやめる",
                             "しゅうりょう", "つづける", "リトライ", "リトライ", "マップへ戻る",
                             "Vキーでジャンルの切り替え", "スペースキーでタイトルへ戻る", "スペースキーで終了",
                             "F3キーでランキングへ登録"};
    b.U32(28);
    for (const char* t : texts) b.Str(t);
    b.U32(17);
    for (int i = 0; i < 17; ++i) b.U32(1);
    b.U32(4).U32(0).U32(0).U32(0).U32(0);
    b.U32(4).U8(1).U8(1).U8(1).U8(1);
    auto menu = [&](std::initializer_list<const char*> items) {
        b.U32((uint32_t)items.size());
        for (const char* t : items) b.U32(1).U32(1).U32(1).Str(t);
    };
    menu({"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"});
    menu({"セーブ", "オートセーブ", "もどる", "タイトルへ"});
    menu({"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""});
    b.U32(4).Str("手動登録（登録名入力）").Str("手動登録（登録名固定）").Str("自動登録（登録名入力）").Str("自動登録（登録名固定）");
    b.U32(10);
    struct KEY {
        const char* name;
        uint32_t kind;
        int32_t def;
    };
    const KEY keys[10] = {{"Direct3D", 0, 2},      {"WindowMode", 0, 0},      {"Bpp", 0, 0},     {"VSync", 0, 2},
                          {"D3D_FontCache", 0, 0}, {"DD_FontCache", 0, 1},    {"DD_VideoStretch", 0, 0},
                          {"ShowFps", 0, 1},       {"FreeStage", 1, 0},       {"English", 0, 0}};
    for (const KEY& k : keys) b.U32(2).U32(k.kind).I32(k.def).U32(2).Str(k.name).U32(1);
    return b.Data();
}

TEST_F(SystemDataTest, Version754IsWrittenByteForByteAndReadsBack) {
    cSystemData s;
    EXPECT_EQ(s.Layout().CountValues(754), 50u);
    EXPECT_EQ(FileImage(s), DefaultSystemBytes());
    cSystemData back;
    back.m_vecTexts.clear();
    back.m_nStageCount = 3;
    ASSERT_TRUE(ReadImage(back, DefaultSystemBytes()));
    EXPECT_EQ(FileImage(back), DefaultSystemBytes());

    s.m_strTitle = "タイトル";
    s.m_nWord44 = 7;
    s.m_byKeyGreen = 177;
    s.m_vecMenuTunes = {1, 0, 1, 0};
    s.m_vecTitleMenu[2].m_bShown = 0;
    cSystemData back2;
    ASSERT_TRUE(ReadImage(back2, FileImage(s)));
    EXPECT_EQ(back2.m_strTitle, "タイトル");
    EXPECT_EQ(back2.m_nWord44, 7u);
    EXPECT_EQ(back2.m_byKeyGreen, 177);
    EXPECT_EQ(back2.m_vecMenuTunes, (std::vector<uint32_t>{1, 0, 1, 0}));
    EXPECT_EQ(back2.m_vecTitleMenu[2].m_bShown, 0u);
    EXPECT_EQ(FileImage(back2), FileImage(s));
}

TEST_F(SystemDataTest, AStatusItemHasItsExactBytesAndOldOnesShowTheirValue) {
    cSysStatusItem item;
    item.m_bShown = 1;
    item.m_strName = "HP";
    item.m_nDigits = 3;
    item.m_bShowValue = 0;
    item.m_nLimit = 33;
    item.m_bLimitPercent = 1;
    EXPECT_EQ(RecordBody(item), cByteImage().U32(6).U32(1).U32(0).U32(3).U32(0).U32(33).U32(1).U32(1).Str("HP").Data());
    cSysStatusItem old;
    ASSERT_TRUE(ReadImage(old, cByteImage().U32(203).U32(3).U32(1).U32(1).U32(4).U32(1).Str("x")));
    EXPECT_EQ(old.m_bShowValue, 1u);
    EXPECT_EQ(old.m_nDigits, 4u);
    cSysStatusItem v204;
    ASSERT_TRUE(ReadImage(v204, cByteImage().U32(204).U32(4).U32(1).U32(1).U32(4).U32(0).U32(1).Str("x")));
    EXPECT_EQ(v204.m_bShowValue, 0u);
}

// Every list of a file after the value blocks, each written empty.
cByteImage& EmptyLists(cByteImage& b, uint32_t version) {
    b.U32(0);                     // carry flags
    if (version >= 501) b.U32(0); // reset flags
    b.U32(0).U32(0);              // status items, start lives
    if (version >= 191) b.U32(0);
    if (version >= 186) b.U32(0);
    b.U32(0).U32(0).U32(0);       // texts, sounds, tunes
    if (version >= 202) b.U32(0);
    b.U32(0).U32(0).U32(0);       // menus
    if (version >= 674) b.U32(0);
    b.U32(0);                     // ini keys
    return b;
}

TEST_F(SystemDataTest, Version300HoldsBlock34ButNot33) {
    cByteImage b;
    b.U32(300).U32(33);
    for (uint32_t i = 1; i <= 25; ++i) b.U32(1000 + i);
    b.U8(26).U8(27).U8(28);
    b.U32(1029).U32(1030).U32(1031).U32(1032);  // blocks 29-32
    b.U32(1034);                                // block 34
    b.U32(1).Str("T");
    EmptyLists(b, 300);
    cSystemData s;
    ASSERT_TRUE(ReadImage(s, b));
    EXPECT_EQ(s.m_nExtraLifeScore, 1002u);
    EXPECT_EQ(s.m_nStageCount, 999u);  // 1013 is bounded
    EXPECT_EQ(s.m_bOtherModeSwitch, 1024u);
    EXPECT_EQ(s.m_byKeyBlue, 28);
    EXPECT_EQ(s.m_nWord28, 1032u);
    EXPECT_EQ(s.m_bPaletteCycle, 1034u);
    EXPECT_EQ(s.m_nPulseStep, 16u);  // block 33 is not in the file: converted
    EXPECT_EQ(s.m_strTitle, "T");
}

TEST_F(SystemDataTest, Versions221To259HoldAWordThatIsDropped) {
    cByteImage b;
    b.U32(230).U32(30);
    for (uint32_t i = 1; i <= 25; ++i) b.U32(i == 13 ? 40 : 1000 + i);
    b.U8(1).U8(2).U8(3);
    b.U32(1029);       // block 29
    b.U32(0xDEADBEEF); // the dropped word
    b.U32(1);
    b.Str("after");
    EmptyLists(b, 230);
    cSystemData s;
    cRecordReader r;
    ASSERT_TRUE(ReadImage(s, b, &r));
    EXPECT_FALSE(r.Ended());
    EXPECT_EQ(s.m_nWord25, 1029u);
    EXPECT_EQ(s.m_nWord26, 1u);  // converted below 261, not the dropped word
    EXPECT_EQ(s.m_strTitle, "after");
}

TEST_F(SystemDataTest, Version168MovesTheSaveMenuAndTheTexts) {
    cByteImage b;
    b.U32(168).U32(10);
    for (uint32_t v : {100u, 1u, 0u, 1u, 40u, 1u, 1u, 1u, 1u, 1u}) b.U32(v);
    b.U32(1).Str("");
    b.U32(0).U32(0).U32(0);        // carry flags, status items, start lives
    b.U32(0).U32(0).U32(0);        // texts, sounds, tunes
    b.U32(0);                      // title menu
    b.U32(3);                      // save menu A, B, C
    for (const char* t : {"A", "B", "C"}) b.U32(1).U32(1).U32(1).Str(t);
    b.U32(0).U32(0);               // option menu, ini keys
    cSystemData s;
    ASSERT_TRUE(ReadImage(s, b));
    ASSERT_EQ(s.m_vecSaveMenu.size(), 4u);
    EXPECT_EQ(s.m_vecSaveMenu[0].m_strText, "A");
    EXPECT_EQ(s.m_vecSaveMenu[1].m_strText, "オートセーブ");
    EXPECT_EQ(s.m_vecSaveMenu[1].m_bShown, 1u);
    EXPECT_EQ(s.m_vecSaveMenu[2].m_strText, "B");
    EXPECT_EQ(s.m_vecSaveMenu[3].m_strText, "C");
    ASSERT_EQ(s.m_vecTexts.size(), 28u);
    EXPECT_EQ(s.m_vecTexts[8], "残りHP");
    EXPECT_EQ(s.m_vecTexts[9], "残りSP");
    EXPECT_EQ(s.m_vecTexts[14], "オートセーブＯＮ");
    EXPECT_EQ(s.m_vecTexts[15], "オートセーブＯＦＦ");
    EXPECT_EQ(s.m_vecTexts[16], "保存先が不明です！一度は「セーブ」して下さい！");
    EXPECT_EQ(s.m_vecTexts[22], "リトライ");
    EXPECT_EQ(s.m_vecTexts[23], "マップへ戻る");
    EXPECT_EQ(s.m_vecCarryFlags, std::vector<uint8_t>(25, 0));  // the zeros inserted below 201 and 210
    EXPECT_EQ(s.m_bReplay, 1u);
    EXPECT_EQ(s.m_bScoreExtraLife, 1u);
    EXPECT_EQ(s.m_byKeyGreen, 177);
    EXPECT_EQ(s.m_vecUnlimitedLives, (std::vector<uint32_t>{0, 0, 0, 1}));
    EXPECT_EQ(s.m_nFontNo, 60u);
    EXPECT_EQ(s.m_bPaletteCycle, 1u);
    // The key table below 286: "Direct3D" default 1 at 0, and the later inserts.
    ASSERT_EQ(s.m_vecIniKeys.size(), 10u);
    EXPECT_EQ(s.m_vecIniKeys[0].m_strKey, "Direct3D");
    EXPECT_EQ(s.m_vecIniKeys[0].m_nDefault, 1);
    EXPECT_EQ(s.m_vecIniKeys[4].m_strKey, "D3D_FontCache");
    EXPECT_EQ(s.m_vecIniKeys[5].m_strKey, "DD_FontCache");
    EXPECT_EQ(s.m_vecIniKeys[5].m_nDefault, 1);
    EXPECT_EQ(s.m_vecIniKeys[6].m_strKey, "DD_VideoStretch");
    EXPECT_EQ(s.m_vecIniKeys[9].m_strKey, "English");
}

TEST_F(SystemDataTest, Below286AVSyncDefaultOf3Becomes2) {
    cSystemData src;
    src.m_vecIniKeys.resize(3);
    SetIniKey(src.m_vecIniKeys[0], "WindowMode", 0);
    SetIniKey(src.m_vecIniKeys[1], "Bpp", 0);
    SetIniKey(src.m_vecIniKeys[2], "VSync", 3);
    // Old-layout image of src at version 285.
    cRecordWriter w;
    w.WriteU32(285);
    w.WriteU32(src.Layout().CountValues(285));
    for (const FIELDDESC& f : src.Layout().vecValues)
        if (f.StoredIn(285)) w.WriteBytes(f.pfnAccess(src), (size_t)f.nSize * f.nCount);
    src.WriteStrings(w);
    cByteImage lists;
    lists.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);  // through the menus
    cRecordWriter keys;
    WriteSysRecordList(src.m_vecIniKeys, keys);
    std::vector<uint8_t> image = w.Data();
    image.insert(image.end(), lists.Data().begin(), lists.Data().end());
    image.insert(image.end(), keys.Data().begin(), keys.Data().end());
    cSystemData s;
    cRecordReader r;
    ASSERT_TRUE(ReadImage(s, image, &r));
    EXPECT_FALSE(r.Ended());
    EXPECT_EQ(s.m_vecIniKeys[0].m_strKey, "Direct3D");
    EXPECT_EQ(s.m_vecIniKeys[0].m_nDefault, 1);
    EXPECT_EQ(s.m_vecIniKeys[3].m_strKey, "VSync");
    EXPECT_EQ(s.m_vecIniKeys[3].m_nDefault, 2);
}

TEST_F(SystemDataTest, TunesBeyondTheMusicTableBecome0AndShortListsArePadded) {
    cSystemData s;
    s.m_vecMenuTunes = {1, 2, 5, 0};
    s.m_vecTexts.resize(3);
    s.m_vecTitleMenu.resize(1);
    s.m_vecIniKeys.resize(2);
    s.m_vecStartLives = {9};
    s.m_vecRankingRules.resize(1);
    s.m_vecRankingRules[0].m_vecTables = {1, 1};
    s.m_vecStatusItems.clear();
    std::vector<uint8_t> image = FileImage(s);  // written as they stand (tunes normalised)
    EXPECT_EQ(s.m_vecMenuTunes, (std::vector<uint32_t>{1, 0, 0, 0}));
    cSystemData back;
    ASSERT_TRUE(ReadImage(back, image));
    cSystemData def;
    EXPECT_EQ(back.m_vecTexts.size(), 28u);
    EXPECT_EQ(back.m_vecTexts[3], def.m_vecTexts[3]);
    EXPECT_EQ(back.m_vecTitleMenu.size(), 7u);
    EXPECT_EQ(back.m_vecTitleMenu[6].m_strText, "しゅうりょう");
    EXPECT_EQ(back.m_vecIniKeys.size(), 10u);
    EXPECT_EQ(back.m_vecIniKeys[9].m_strKey, "English");
    EXPECT_EQ(back.m_vecStartLives, (std::vector<uint32_t>{9, 5, 5, 99}));
    ASSERT_EQ(back.m_vecRankingRules.size(), 4u);
    EXPECT_EQ(back.m_vecRankingRules[0].m_vecTables, (std::vector<uint8_t>{1, 1, 0, 0, 0}));
    EXPECT_EQ(back.m_vecStatusItems.size(), 5u);
}

TEST_F(SystemDataTest, RankingCountsGaugeLimitsAndMenuWidths) {
    g_SystemData.SetDefaults();
    EXPECT_EQ(CountListFlags(0), 5);
    EXPECT_EQ(CountListFlags(3), 0);
    g_SystemData.m_vecRankingRules[1].m_vecTables = {1, 0, 1, 0, 0};
    EXPECT_EQ(CountListFlags(1), 2);
    g_SystemData.m_vecRankingRules[1].m_bOn = 0;
    EXPECT_EQ(CountListFlags(1), 0);

    cSysStatusItem& hp = g_SystemData.m_vecStatusItems[2];
    hp.m_nLimit = 33;
    hp.m_bLimitPercent = 1;
    struct Case {
        int32_t value, maximum;
        bool within;
    };
    for (const Case& c : {Case{33, 100, true}, Case{34, 100, false}, Case{1, 3, false}, Case{0, 0, true},
                          Case{5, 0, false}, Case{-1, -5, true}, Case{2147483647, 2147483647, false},
                          Case{-2147483647 - 1, 1, true}})
        EXPECT_EQ(IsWithinSystemLimit(2, c.value, c.maximum), c.within) << c.value << "/" << c.maximum;
    hp.m_bLimitPercent = 0;
    hp.m_nLimit = 0xFFFFFFFFu;
    EXPECT_TRUE(IsWithinSystemLimit(2, -5, 100));  // signed against a large limit
    hp.m_nLimit = 10;
    EXPECT_TRUE(IsWithinSystemLimit(2, 10, 0));
    EXPECT_FALSE(IsWithinSystemLimit(2, 11, 0));
    EXPECT_TRUE(IsWithinSystemLimit(2, -1, 0));

    g_SystemData.m_vecTexts[0] = "ab";
    g_SystemData.m_vecTexts[1] = "あいう";
    EXPECT_EQ(MenuLeftX(320, 0, 2, FALSE), 320 - 24);
    EXPECT_EQ(MenuLeftX(320, 0, 2, TRUE), 320 - 32);
    EXPECT_EQ(MenuLeftX(320, 0, 0, TRUE), 312);
}

TEST_F(SystemDataTest, DamagedFilesLoadWithoutHarm) {
    cSystemData s;
    s.m_vecTexts.resize(3);  // keep the image small
    s.m_vecSystemSounds.resize(2);
    s.m_vecTitleMenu.resize(2);
    s.m_vecIniKeys.resize(3);
    CheckDamagedImages<cSystemData>(FileImage(s), [] { return cSystemData(); });
}

}  // namespace
