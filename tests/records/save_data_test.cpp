// Play data: the file layout, older versions and padding, the fit to the project, lives,
// ranking tables, story slots, the slot scan, interrupted saves and the challenge results.
#include <gtest/gtest.h>

#include <cstring>

#include "records/data_paths.h"
#include "save_test_support.h"
#include "tools/records/save_writer.h"

using namespace recordtest;

namespace {

class SaveDataTest : public SaveTest {};

// A play data record with a distinct value in every field.
cSaveData Distinct() {
    cSaveData d;
    int32_t* fields[] = {&d.m_bCarryOn,     &d.m_nMapX,         &d.m_nMapY,       &d.m_nValue4,     &d.m_nValue5,
                         &d.m_nStageNumber, &d.m_nValue9,       &d.m_nLivesReserve, &d.m_nLives,    &d.m_nStageScore,
                         &d.m_nScore,       &d.m_nBestTotal,    &d.m_nTally1,     &d.m_nTally2,     &d.m_nTally3,
                         &d.m_nTally4,      &d.m_bPartFlag,     &d.m_bTuneSwitch, &d.m_nTuneLoop,   &d.m_nValue22,
                         &d.m_nValue23,     &d.m_nValue24,      &d.m_nValue25,    &d.m_nStagesOpen, &d.m_nStorySlot,
                         &d.m_nValue28,     &d.m_nValue30,      &d.m_nRankingTable, &d.m_nValue32,  &d.m_nValue33,
                         &d.m_nValue34,     &d.m_nValue35};
    for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = 100 + (int32_t)i;
    // Values the fit to the project keeps: inside the 20 x 15 map, 40 stages, 5 tables, 99 slots.
    d.m_nMapX = 3;
    d.m_nMapY = 4;
    d.m_nStagesOpen = 7;
    d.m_nRankingTable = 2;
    d.m_nStorySlot = 5;
    d.m_strStageName = "Stage1.";
    d.m_strSecondName = "second";
    d.m_strPlayerName = "ABC";
    d.m_Stamp = SYSTEMTIME{2026, 12, 4, 10, 13, 45, 30, 500};
    for (size_t i = 0; i < d.m_vecCarrySwitches.size(); ++i) d.m_vecCarrySwitches[i] = (int32_t)(i % 2);
    d.m_vecHeroes[0].m_anValues[0] = 11;
    d.m_vecHeroes[0].m_anValues[3] = 3;
    d.m_vecHeroes[0].m_Chara.m_nC39 = 77;
    cStageBestRec best;
    best.m_strKey = "Stage2.";
    best.m_nBestScore = 900;
    d.m_vecStageBests.push_back(best);
    d.m_vecStageResults.resize(40);
    d.m_vecStageResults[1].m_bCleared = 1;
    d.m_vecStageResults[1].m_nBestScore = 500;
    d.m_vecStageValues[3] = 1;
    d.m_vecCommonVars[1000] = -5;
    return d;
}

TEST_F(SaveDataTest, NewGame) {
    cSaveData d;
    d.m_nScore = 5;
    d.m_vecStageResults.resize(3);
    d.Reset();
    EXPECT_EQ(d.m_nScore, 0);
    EXPECT_EQ(d.m_nStagesOpen, 1);
    EXPECT_EQ(d.m_nStorySlot, -1);
    EXPECT_EQ(d.m_strPlayerName, "aaa");
    EXPECT_EQ(d.m_vecCarrySwitches, std::vector<int32_t>(25, 0));
    EXPECT_EQ(d.m_vecHeroes.size(), 1u);
    ASSERT_EQ(d.m_vecStageValues.size(), 1000u);
    EXPECT_EQ(d.m_vecStageValues[0], 1);
    EXPECT_EQ(d.m_vecCommonVars, std::vector<int32_t>(1001, 0));
    EXPECT_TRUE(d.m_vecStageBests.empty());
    EXPECT_TRUE(d.m_vecStageResults.empty());
}

// The file as the format lays it out: the value part in table order, the strings, the stamp,
// then the counted lists.
TEST_F(SaveDataTest, FileLayout) {
    cSaveData d = Distinct();
    std::vector<uint8_t> image = FileImage(d);
    cRecordReader r;
    ASSERT_TRUE(cDataFile::OpenReadMemory(r, image.data(), image.size(), "image"));
    EXPECT_EQ(g_nFileVersion, 754u);
    uint32_t n;
    ASSERT_TRUE(r.ReadU32(n));
    ASSERT_EQ(n, 32u);
    const int32_t expected[32] = {100, 3,   4,   103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115,
                                  116, 117, 118, 119, 120, 121, 122, 7,   5,   125, 126, 2,   128, 129, 130, 131};
    for (int i = 0; i < 32; ++i) {
        int32_t v;
        ASSERT_TRUE(r.ReadI32(v));
        EXPECT_EQ(v, expected[i]) << "value block " << i;
    }
    ASSERT_TRUE(r.ReadU32(n));
    ASSERT_EQ(n, 3u);
    for (const char* s : {"Stage1.", "second", "ABC"}) {
        uint32_t len;
        ASSERT_TRUE(r.ReadU32(len));
        ASSERT_EQ(len, std::strlen(s) + 1);
        std::string text(len, '\0');
        ASSERT_TRUE(r.ReadBytes(text.data(), len));
        EXPECT_STREQ(text.c_str(), s);
    }
    uint16_t stamp[8];
    ASSERT_TRUE(r.ReadBytes(stamp, sizeof stamp));
    EXPECT_EQ(stamp[0], 2026);
    EXPECT_EQ(stamp[7], 500);
    ASSERT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 25u);  // carry switches
    ASSERT_TRUE(r.Skip(25 * 4));
    ASSERT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 1u);  // heroes
    cSaveDataPartB hero;
    hero.Read(r);
    EXPECT_EQ(hero.m_anValues[0], 11);
    EXPECT_EQ(hero.m_Chara.m_nC39, 77);
    ASSERT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 1u);  // bests: value part {1, 900}, string part {1, "Stage2."}
    int32_t w[3];
    ASSERT_TRUE(r.ReadBytes(w, sizeof w));
    EXPECT_EQ(w[0], 1);
    EXPECT_EQ(w[1], 900);
    EXPECT_EQ(w[2], 1);
    ASSERT_TRUE(r.Skip(4 + 8));
    ASSERT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 40u);  // results: {2, cleared, best, no strings} each
    ASSERT_TRUE(r.Skip(16));
    int32_t result[4];
    ASSERT_TRUE(r.ReadBytes(result, sizeof result));
    EXPECT_EQ(result[0], 2);
    EXPECT_EQ(result[1], 1);
    EXPECT_EQ(result[2], 500);
    EXPECT_EQ(result[3], 0);
    ASSERT_TRUE(r.Skip(38 * 16));
    ASSERT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 1000u);
    ASSERT_TRUE(r.Skip(1000 * 4));
    ASSERT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 1001u);
    ASSERT_TRUE(r.Skip(1000 * 4));
    int32_t last;
    ASSERT_TRUE(r.ReadI32(last));
    EXPECT_EQ(last, -5);
    EXPECT_EQ(r.Remaining(), 0u);

    // Read back, every field is as written.
    cSaveData back;
    ASSERT_TRUE(ReadImage(back, image, &r));
    EXPECT_FALSE(r.Ended());
    EXPECT_EQ(FileImage(back), image);
}

TEST_F(SaveDataTest, NormalizeFitsTheProject) {
    struct Case {
        int32_t x, y, open, table, slot;
        size_t results;
        int32_t wantX, wantY, wantOpen, wantTable, wantSlot;
    };
    const Case cases[] = {
        {3, 4, 5, 1, 0, 40, 3, 4, 5, 1, 0},                // inside: unchanged
        {19, 14, 40, 4, 98, 3, 19, 14, 40, 4, 98},          // the last of each
        {20, 15, 41, 5, 99, 60, 9, 7, 40, 0, -1},           // past the end: start, count, 0, none
        {-1, -3, 0, -1, -2, 0, 9, 7, 1, 0, -1},             // negative
        {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, -1, 0, 9, 7, 1, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " open " << c.open);
        cSaveData d;
        d.m_nMapX = c.x, d.m_nMapY = c.y, d.m_nStagesOpen = c.open, d.m_nRankingTable = c.table, d.m_nStorySlot = c.slot;
        d.m_vecStageResults.resize(c.results);
        for (cSaveDataPartA& a : d.m_vecStageResults) a.m_nBestScore = 7;
        d.Normalize();
        EXPECT_EQ(d.m_nMapX, c.wantX);
        EXPECT_EQ(d.m_nMapY, c.wantY);
        EXPECT_EQ(d.m_nStagesOpen, c.wantOpen);
        EXPECT_EQ(d.m_nRankingTable, c.wantTable);
        EXPECT_EQ(d.m_nStorySlot, c.wantSlot);
        ASSERT_EQ(d.m_vecStageResults.size(), 40u);
        // Kept entries keep their values; added ones are cleared.
        for (size_t i = 0; i < 40; ++i) EXPECT_EQ(d.m_vecStageResults[i].m_nBestScore, i < c.results ? 7 : 0);
    }
    // The stage count of the project decides; a count above the largest a project may have is cut.
    g_SystemData.m_nStageCount = 0;
    cSaveData none;
    none.m_vecStageResults.resize(5);
    none.Normalize();
    EXPECT_TRUE(none.m_vecStageResults.empty());
    EXPECT_EQ(none.m_nStagesOpen, 1);
    g_SystemData.m_nStageCount = 0xFFFFFFFFu;
    none.Normalize();
    EXPECT_EQ(none.m_vecStageResults.size(), (size_t)kMaxStageCount);
}

TEST_F(SaveDataTest, OlderVersionsGetWhatTheyLack) {
    struct Case {
        uint32_t version;
        int32_t tuneLoop, value28, tally3, value23, value24, value22;
        int32_t carry;  // every carry switch
    };
    // The written record holds 9 in every gated field and 0 in every carry switch.
    const Case cases[] = {
        {165, 1, 0, 0, 0, 0, 0, 1},  {168, 9, 0, 0, 0, 0, 0, 1},  {181, 9, 9, 0, 0, 0, 0, 1},
        {189, 9, 9, 9, 0, 0, 0, 1},  {190, 9, 9, 9, 9, 0, 0, 1},  {193, 9, 9, 9, 9, 9, 0, 1},
        {500, 9, 9, 9, 9, 9, 9, 1},  {501, 9, 9, 9, 9, 9, 9, 0},  {753, 9, 9, 9, 9, 9, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        cSaveData d;
        d.m_nTuneLoop = d.m_nValue28 = d.m_nTally3 = d.m_nTally4 = d.m_nValue23 = d.m_nValue24 = d.m_nValue25 =
            d.m_nValue22 = 9;
        d.m_strSecondName = "kept";
        std::vector<uint8_t> image = SaveFileImage(d, c.version);
        cSaveData back;
        back.m_strSecondName = "held";
        cRecordReader r;
        ASSERT_TRUE(ReadImage(back, image, &r));
        EXPECT_FALSE(r.Ended());
        EXPECT_EQ(back.m_nTuneLoop, c.tuneLoop);
        EXPECT_EQ(back.m_nValue28, c.value28);
        EXPECT_EQ(back.m_nTally3, c.tally3);
        EXPECT_EQ(back.m_nTally4, c.tally3);
        EXPECT_EQ(back.m_nValue23, c.value23);
        EXPECT_EQ(back.m_nValue24, c.value24);
        EXPECT_EQ(back.m_nValue25, c.value24);
        EXPECT_EQ(back.m_nValue22, c.value22);
        EXPECT_EQ(back.m_vecCarrySwitches, std::vector<int32_t>(25, c.carry));
        // Files before 724 have no second name: the record keeps the one it held.
        EXPECT_EQ(back.m_strSecondName, c.version < 724 ? "held" : "kept");
    }
}

// Saves of any version get the lengths the program indexes; longer lists keep their entries.
TEST_F(SaveDataTest, ShortListsArePadded) {
    struct Case {
        uint32_t version;
        size_t carry, heroes, stageValues, vars;
        size_t wantCarry, wantStageValues, wantVars;
    };
    const Case cases[] = {
        {754, 3, 0, 10, 10, 25, 1000, 1001},
        {753, 25, 1, 1000, 1000, 25, 1000, 1001},  // an older save's 1,000 variables: not cut, padded
        {600, 30, 2, 1200, 1500, 30, 1200, 1500},
        {500, 0, 0, 0, 0, 25, 1000, 1001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        cSaveData d;
        d.m_vecCarrySwitches.assign(c.carry, 1);
        d.m_vecHeroes.resize(c.heroes);
        d.m_vecStageValues.assign(c.stageValues, 2);
        d.m_vecCommonVars.assign(c.vars, 3);
        cSaveData back;
        cRecordReader r;
        ASSERT_TRUE(ReadImage(back, SaveFileImage(d, c.version), &r));
        EXPECT_FALSE(r.Ended());
        EXPECT_EQ(back.m_vecCarrySwitches.size(), c.wantCarry);
        EXPECT_EQ(back.m_vecHeroes.size(), std::max<size_t>(c.heroes, 1));
        ASSERT_EQ(back.m_vecStageValues.size(), c.wantStageValues);
        ASSERT_EQ(back.m_vecCommonVars.size(), c.wantVars);
        if (c.vars) {
            EXPECT_EQ(back.m_vecCommonVars[c.vars - 1], 3);
        }
        EXPECT_EQ(back.m_vecCommonVars.back(), c.vars == c.wantVars ? 3 : 0);
        if (c.stageValues) {
            EXPECT_EQ(back.m_vecStageValues[c.stageValues - 1], 2);
        }
    }
}

TEST_F(SaveDataTest, LivesRule) {
    struct Case {
        uint32_t unlimited;
        int32_t lives, reserve;
        int32_t wantLives, wantReserve;
    };
    const Case cases[] = {
        {1, 3, 0, 999999, 999999},
        {0, 999999, 999999, 4, 999999},  // saved while unlimited, now limited: the mode's start lives
        {0, 3, 0, 3, 0},
    };
    g_SystemData.m_vecStartLives = {4, 6, 8, 99};
    for (int mode = 0; mode < 3; ++mode) {
        for (const Case& c : cases) {
            g_SystemData.m_vecUnlimitedLives.assign(4, 0);
            g_SystemData.m_vecUnlimitedLives[(size_t)mode] = c.unlimited;
            cSaveData d;
            d.m_nLives = c.lives, d.m_nLivesReserve = c.reserve;
            ApplyLivesRule(d, mode);
            const int32_t start = 4 + 2 * mode;
            EXPECT_EQ(d.m_nLives, c.wantLives == 4 ? start : c.wantLives) << mode;
            EXPECT_EQ(d.m_nLivesReserve, c.wantReserve) << mode;
        }
    }
}

TEST_F(SaveDataTest, StepRankingTableWrapsAndSkips) {
    struct Case {
        std::vector<uint8_t> flags;
        int32_t start;
        int step;
        int32_t want;
    };
    const Case cases[] = {
        {{1, 1, 1, 1, 1}, 0, 1, 1},
        {{1, 1, 1, 1, 1}, 4, 1, 0},         // wraps forward
        {{1, 1, 1, 1, 1}, 0, -1, 4},        // wraps backward
        {{1, 0, 0, 1, 0}, 0, 1, 3},         // skips tables not recorded
        {{1, 0, 0, 1, 0}, 3, 1, 0},
        {{1, 0, 0, 1, 0}, 0, -1, 3},
        {{1, 0, 0, 1, 0}, 0, 2, 0},
        {{0, 0, 1, 0, 0}, 2, 1, 2},         // one table: every move comes back
        {{0, 1, 0, 0, 1}, 2, 0, 4},         // step 0 leaves a table not recorded, forward
        {{0, 1, 0, 0, 1}, 1, 0, 1},         // and keeps a recorded one
        {{0, 0, 0, 0, 0}, 3, 1, 3},         // nothing recorded: nothing changes
        {{0, 1, 0, 1, 0}, 7, 0, 1},         // a stored table outside 0-4 starts at 0
        {{1, 0, 1, 0, 1}, 0, INT32_MAX, 2}, // a huge step ends where its remainder does
        {{1, 0, 1, 0, 1}, 0, INT32_MIN, 2},
        {{0, 0, 0, 0, 0, 1}, 0, 1, 0},      // a sixth flag names no table
        {{1, 1}, 1, 1, 0},                  // missing flags are off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << " step " << c.step);
        g_SystemData.m_vecRankingRules[1].m_vecTables = c.flags;
        cSaveData d;
        d.m_nRankingTable = c.start;
        d.StepRankingTable(1, c.step);
        EXPECT_EQ(d.m_nRankingTable, c.want);
    }
}

TEST_F(SaveDataTest, StorySlotsRoundTrip) {
    char path[MAX_PATH];
    MakeStoryPath(path, 0);
    EXPECT_STREQ(path, "user_data\\story\\Story01.dat");
    MakeStoryPath(path, 98);
    EXPECT_STREQ(path, "user_data\\story\\Story99.dat");

    cSaveData d = Distinct();
    ASSERT_TRUE(SaveStory(d, 98));
    EXPECT_TRUE(folder_->Exists("user_data\\story\\Story99.dat"));
    EXPECT_GE(d.m_Stamp.wYear, 2020);  // stamped with the local time
    const cSaveSlot& slot = g_SaveSlotList.m_vecSlots[98];
    EXPECT_EQ(slot.m_bUsed, 1);
    EXPECT_EQ(std::memcmp(&slot.m_Stamp, &d.m_Stamp, sizeof(SYSTEMTIME)), 0);

    g_SystemData.m_vecUnlimitedLives.assign(4, 0);
    cSaveData back;
    ASSERT_TRUE(LoadStory(back, 98));
    EXPECT_EQ(FileImage(back), FileImage(d));

    // Outside the 99 slots nothing is written or read.
    EXPECT_FALSE(SaveStory(d, 99));
    EXPECT_FALSE(SaveStory(d, -1));
    EXPECT_FALSE(LoadStory(back, 99));
    EXPECT_FALSE(folder_->Exists("user_data\\story\\Story100.dat"));
    EXPECT_NE(Report().find("err V[99] ( 99 ,"), std::string::npos);
}

TEST_F(SaveDataTest, MissingOrDamagedSavesLeaveThePlayDataAlone) {
    cSaveData good = Distinct();
    std::vector<uint8_t> image = SaveFileImage(good);
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\Story02.dat", image));
    std::vector<uint8_t> cut(image.begin(), image.begin() + (long)image.size() / 2);
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\Story03.dat", cut));
    std::vector<uint8_t> bad = image;
    std::memset(bad.data() + 4, 0xFF, 4);  // a value-block count no layout has
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\Story04.dat", bad));
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\Story05.dat", {0xF2, 0x02}));  // shorter than a version

    cSaveData d;
    d.m_nScore = 1234;
    d.m_nLives = 999999;
    const std::vector<uint8_t> before = FileImage(d);
    for (int slot : {0, 2, 3, 4}) {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(LoadStory(d, slot));
        EXPECT_EQ(FileImage(d), before);  // not even the lives rule
    }
    EXPECT_FALSE(LoadChallenge(d));
    ASSERT_TRUE(folder_->WriteFile(g_PathTable[PATH_CHALLENGE], cut));
    EXPECT_FALSE(LoadChallenge(d));
    EXPECT_EQ(FileImage(d), before);
    EXPECT_NE(Report().find("Story03.dat: the save is damaged and was not loaded"), std::string::npos);

    EXPECT_TRUE(LoadStory(d, 1));
    EXPECT_EQ(d.m_nScore, good.m_nScore);
    ASSERT_TRUE(folder_->WriteFile(g_PathTable[PATH_CHALLENGE], image));
    cSaveData c;
    EXPECT_TRUE(LoadChallenge(c));
    EXPECT_EQ(c.m_nLives, 999999);  // the challenge mode's unlimited lives (project default)
}

TEST_F(SaveDataTest, SlotScan) {
    cSaveData a = Distinct();
    a.m_Stamp = SYSTEMTIME{2025, 1, 0, 2, 3, 4, 5, 6};
    ASSERT_TRUE(WriteStorySave(*folder_, 0, a));
    std::vector<uint8_t> image = SaveFileImage(a);
    // Slot 2: a file cut inside the value part, after a good slot 1 with another stamp.
    cSaveData b = Distinct();
    b.m_Stamp = SYSTEMTIME{2024, 7, 0, 8, 9, 10, 11, 12};
    ASSERT_TRUE(WriteStorySave(*folder_, 1, b));
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\Story03.dat", std::vector<uint8_t>(image.begin(), image.begin() + 40)));
    // Slot 3: a file of an old version, read with its own layout.
    ASSERT_TRUE(WriteStorySave(*folder_, 3, b, 500));
    // Slot 98: the last.
    ASSERT_TRUE(WriteStorySave(*folder_, 98, a));
    // A stale entry for a slot whose file has gone.
    g_SaveSlotList.m_vecSlots[5].m_bUsed = 1;

    ScanStorySlots(g_SaveSlotList);
    const std::vector<cSaveSlot>& s = g_SaveSlotList.m_vecSlots;
    ASSERT_EQ(s.size(), 99u);
    for (size_t i = 0; i < s.size(); ++i) {
        SCOPED_TRACE(i);
        const bool used = i == 0 || i == 1 || i == 3 || i == 98;
        EXPECT_EQ(s[i].m_bUsed, used ? 1 : 0);
        const SYSTEMTIME want = (i == 0 || i == 98) ? a.m_Stamp : (i == 1 || i == 3) ? b.m_Stamp : SYSTEMTIME{};
        EXPECT_EQ(std::memcmp(&s[i].m_Stamp, &want, sizeof want), 0);
    }
}

// A save that fails half-way (the disk fills, the process dies) leaves the slot's previous file
// and its entry as they were.
TEST_F(SaveDataTest, InterruptedSaveKeepsThePreviousFile) {
    cSaveData first = Distinct();
    ASSERT_TRUE(SaveStory(first, 4));
    const std::vector<uint8_t> saved = folder_->ReadFile("user_data\\story\\Story05.dat");
    const SYSTEMTIME stamp = g_SaveSlotList.m_vecSlots[4].m_Stamp;

    cSaveData second = Distinct();
    second.m_nScore = 999;
    second.m_Stamp = SYSTEMTIME{2000, 1, 0, 1, 0, 0, 0, 0};
    SetRecordWriteFailureAfter((long long)saved.size() / 2);
    EXPECT_FALSE(SaveStory(second, 4));
    SetRecordWriteFailureAfter(-1);
    EXPECT_EQ(second.m_Stamp.wYear, 2000);  // the record keeps its stamp too
    EXPECT_EQ(folder_->ReadFile("user_data\\story\\Story05.dat"), saved);
    EXPECT_FALSE(folder_->Exists("user_data\\story\\Story05.dat.tmp"));
    EXPECT_EQ(std::memcmp(&g_SaveSlotList.m_vecSlots[4].m_Stamp, &stamp, sizeof stamp), 0);
    EXPECT_NE(Report().find("Story05.dat: the story save failed"), std::string::npos);

    cSaveData back;
    ASSERT_TRUE(LoadStory(back, 4));
    EXPECT_EQ(back.m_nScore, first.m_nScore);

    // A slot never saved gets no entry from a failed save.
    SetRecordWriteFailureAfter(10);
    EXPECT_FALSE(SaveStory(second, 6));
    EXPECT_EQ(g_SaveSlotList.m_vecSlots[6].m_bUsed, 0);
    EXPECT_FALSE(folder_->Exists("user_data\\story\\Story07.dat"));
}

TEST_F(SaveDataTest, ChallengeResults) {
    cSaveData d;
    d.Normalize();  // 40 results
    d.m_nStageNumber = 2;
    d.m_nBestTotal = 100;
    d.m_vecStageResults[1].m_nBestScore = 50;
    ASSERT_TRUE(SaveChallengeResult(d, 80));
    EXPECT_EQ(d.m_vecStageResults[1].m_bCleared, 1);
    EXPECT_EQ(d.m_vecStageResults[1].m_nBestScore, 80);
    EXPECT_EQ(d.m_nBestTotal, 130);
    EXPECT_EQ(d.m_nStagesOpen, 3);
    // A lower score keeps the best; stages open never pass the project's count.
    ASSERT_TRUE(SaveChallengeResult(d, 10));
    EXPECT_EQ(d.m_vecStageResults[1].m_nBestScore, 80);
    EXPECT_EQ(d.m_nBestTotal, 130);
    d.m_nStageNumber = 40;
    ASSERT_TRUE(SaveChallengeResult(d, 1));
    EXPECT_EQ(d.m_nStagesOpen, 40);
    cSaveData back;
    ASSERT_TRUE(LoadChallenge(back));
    EXPECT_EQ(back.m_vecStageResults[39].m_bCleared, 1);
    EXPECT_EQ(back.m_nStagesOpen, 40);

    // A stage number outside the list is reported and records no result.
    d.m_nStageNumber = 41;
    EXPECT_TRUE(SaveChallengeResult(d, 5));
    EXPECT_NE(Report().find("Challenge result of stage 41"), std::string::npos);

    // A failed write is answered and reported; the old file stays.
    const std::vector<uint8_t> before = folder_->ReadFile(g_PathTable[PATH_CHALLENGE]);
    SetRecordWriteFailureAfter(100);
    d.m_nStageNumber = 1;
    EXPECT_FALSE(SaveChallengeResult(d, 500));
    SetRecordWriteFailureAfter(-1);
    EXPECT_EQ(folder_->ReadFile(g_PathTable[PATH_CHALLENGE]), before);
    EXPECT_NE(Report().find("the challenge results could not be saved"), std::string::npos);
}

TEST_F(SaveDataTest, DamagedImages) {
    cSaveData d = Distinct();
    d.m_vecCommonVars.resize(1001);
    CheckDamagedImages<cSaveData>(FileImage(d), [] { return cSaveData(); });
}

}  // namespace
