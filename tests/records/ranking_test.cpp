// The ranking tables and the ranking files: places, adding results, the file layout, files of
// old versions, paths per game mode, and missing, damaged and unsaveable files.
#include <gtest/gtest.h>

#include <filesystem>

#include "records/data_paths.h"
#include "records/ranking.h"
#include "records/record_writer.h"
#include "test_support.h"

using namespace recordtest;

namespace {

class RankingTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        folder_->MakeLayout();
        folder_->MakeFolder("user_data\\story");
        folder_->MakeFolder("user_data\\challenge");
        folder_->MakeFolder("user_data\\free");
    }
    void TearDown() override {
        SetRecordWriteFailureAfter(-1);
        RecordTest::TearDown();
    }
};

// A table of the given order whose first places hold these values (names "P0", "P1", ...).
cRankingTable Table(int32_t order, std::vector<int32_t> values) {
    cRankingTable t;
    t.m_nOrder = order;
    for (size_t i = 0; i < values.size(); ++i) {
        t.m_vecEntries[i].m_bUsed = 1;
        t.m_vecEntries[i].m_strName = "P" + std::to_string(i);
        t.m_vecEntries[i].m_nValue = values[i];
    }
    return t;
}

std::vector<int32_t> Values(const cRankingTable& t) {
    std::vector<int32_t> v;
    for (const cRankingEntry& e : t.m_vecEntries)
        if (e.m_bUsed) v.push_back(e.m_nValue);
    return v;
}

void ExpectResetHolder(const cRankingHolder& h) {
    ASSERT_EQ(h.m_vecTables.size(), 5u);
    const int32_t orders[5] = {1, 1, 0, 1, 1};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(h.m_vecTables[k].m_nOrder, orders[k]) << "table " << k;
        ASSERT_EQ(h.m_vecTables[k].m_vecEntries.size(), 20u);
        for (const cRankingEntry& e : h.m_vecTables[k].m_vecEntries) {
            EXPECT_EQ(e.m_bUsed, 0);
            EXPECT_EQ(e.m_strName, "");
            EXPECT_EQ(e.m_nValue, 0);
        }
    }
}

TEST(RankingTableTest, ResultsFindTheirPlaces) {
    struct Case {
        const char* what;
        int32_t order;
        std::vector<int32_t> values;
        int32_t value;
        int32_t place;
    } cases[] = {
        {"empty table", 1, {}, -5, 0},
        {"higher first, beats place 1", 1, {90, 50, 10}, 60, 1},
        {"equal to place 0 goes after it", 1, {90, 50}, 90, 1},
        {"below every taken place takes the first empty one", 1, {90, 50}, 3, 2},
        {"lower first: a smaller time ranks higher", 0, {500, 900}, 400, 0},
        {"lower first: an equal time goes after it", 0, {500, 900}, 900, 2},
        {"full table beaten by none", 1, std::vector<int32_t>(20, 100), 100, -1},
        {"full table, lower first, slower than all", 0, std::vector<int32_t>(20, 100), 101, -1},
        {"full table, beats the last place", 0, std::vector<int32_t>(20, 100), 99, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Table(c.order, c.values).FindPlace(c.value), c.place);
    }
}

TEST(RankingTableTest, AddInsertsAtThePlaceAndKeepsTwentyPlaces) {
    cRankingTable t = Table(1, {90, 50});
    t.Add("NEW", 90);  // ties keep the older entry ahead
    EXPECT_EQ(Values(t), (std::vector<int32_t>{90, 90, 50}));
    EXPECT_EQ(t.m_vecEntries[0].m_strName, "P0");
    EXPECT_EQ(t.m_vecEntries[1].m_strName, "NEW");
    EXPECT_EQ(t.m_vecEntries.size(), 20u);

    // A full table: the new entry pushes place 19 out.
    std::vector<int32_t> full;
    for (int i = 0; i < 20; ++i) full.push_back(200 - i * 10);
    cRankingTable f = Table(1, full);
    f.Add("TOP", 1000);
    ASSERT_EQ(f.m_vecEntries.size(), 20u);
    EXPECT_EQ(f.m_vecEntries[0].m_strName, "TOP");
    EXPECT_EQ(f.m_vecEntries[19].m_nValue, 20);  // 10 dropped out

    // A result that beats none leaves the table unchanged.
    cRankingTable g = Table(1, full);
    g.Add("LOW", 10);
    EXPECT_EQ(Values(g), full);
    EXPECT_EQ(g.m_vecEntries[19].m_strName, "P19");

    // A table without entries stays without entries; a null name is an empty one.
    cRankingTable e;
    e.m_vecEntries.clear();
    e.Add("X", 1);
    EXPECT_TRUE(e.m_vecEntries.empty());
    cRankingTable n;
    n.Add(nullptr, 3);
    EXPECT_EQ(n.m_vecEntries[0].m_bUsed, 1);
    EXPECT_EQ(n.m_vecEntries[0].m_strName, "");
}

TEST(RankingTableTest, ClearingKeepsPresentEntriesAndMakesTwenty) {
    cRankingTable t = Table(1, {5, 4});
    t.m_vecEntries.resize(3);
    t.ClearTable();
    EXPECT_EQ(t.m_nOrder, 0);
    ASSERT_EQ(t.m_vecEntries.size(), 20u);
    EXPECT_EQ(Values(t), (std::vector<int32_t>{5, 4}));
    t.m_vecEntries.resize(30, t.m_vecEntries[0]);
    t.ClearTable();
    EXPECT_EQ(t.m_vecEntries.size(), 20u);
}

TEST_F(RankingTest, ResetGivesFiveEmptyTablesOrderedForTheirKinds) {
    cRankingHolder h;
    ExpectResetHolder(h);
    h.m_vecTables[1].Add("A", 3);
    h.m_vecTables.resize(2);
    h.Reset();
    ExpectResetHolder(h);
}

TEST_F(RankingTest, TheFileIsWrittenInTheRecordLayoutAndReadBack) {
    cRankingHolder h;
    h.m_vecTables[2].Add("AB", 7);
    std::vector<uint8_t> image = FileImage(h);
    // Version, the holder's empty part, five tables.
    cByteImage want;
    want.U32(754).U32(0).U32(0).U32(5);
    for (int k = 0; k < 5; ++k) {
        want.U32(1).I32(k == 2 ? 0 : 1).U32(0).U32(20);
        for (int i = 0; i < 20; ++i) {
            const bool taken = k == 2 && i == 0;
            want.U32(2).I32(taken ? 1 : 0).I32(taken ? 7 : 0).U32(1).Str(taken ? "AB" : "");
        }
    }
    EXPECT_EQ(image, want.Data());

    ASSERT_TRUE(SaveRanking(h, 1, "data\\stg4\\Stage.stg4_001"));
    EXPECT_TRUE(folder_->Exists("user_data\\challenge\\Stage.stg4_001rkg"));
    EXPECT_EQ(folder_->ReadFile("user_data\\challenge\\Stage.stg4_001rkg"), want.Data());
    cRankingHolder back;
    back.m_vecTables[0].Add("old", 1);  // loading replaces what the holder held
    ASSERT_EQ(LoadRanking(back, 1, "data\\stg4\\Stage.stg4_001"), 1);
    EXPECT_EQ(FileImage(back), want.Data());
    EXPECT_EQ(back.m_vecTables[2].m_vecEntries[0].m_strName, "AB");
    EXPECT_EQ(Report(), "");
}

TEST_F(RankingTest, AFileBeforeVersion181WithThreeTablesReadsAsFive) {
    cByteImage old;
    old.U32(180).U32(0).U32(0).U32(3);
    for (int k = 0; k < 3; ++k) {
        old.U32(1).I32(k == 2 ? 0 : 1).U32(0).U32(20);
        for (int i = 0; i < 20; ++i) old.U32(2).I32(i == 0).I32(i == 0 ? 100 + k : 0).U32(1).Str(i == 0 ? "OLD" : "");
    }
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\s.stg4_001rkg", old.Data()));
    cRankingHolder h;
    ASSERT_EQ(LoadRanking(h, 0, "s.stg4_001"), 1);
    ASSERT_EQ(h.m_vecTables.size(), 5u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Values(h.m_vecTables[k]), std::vector<int32_t>{100 + k});
    EXPECT_EQ(h.m_vecTables[2].m_nOrder, 0);
    for (int k = 3; k < 5; ++k) {
        EXPECT_EQ(h.m_vecTables[k].m_nOrder, 1);
        EXPECT_TRUE(Values(h.m_vecTables[k]).empty());
        EXPECT_EQ(h.m_vecTables[k].m_vecEntries.size(), 20u);
    }
    EXPECT_EQ(Report(), "");
}

TEST_F(RankingTest, RankingPathsFollowTheGameMode) {
    struct Case {
        int mode;
        const char* stage;
        int result;
        const char* path;
    } cases[] = {
        {0, "data\\stg4\\Stage.stg4_001", 1, "user_data\\story\\Stage.stg4_001rkg"},
        {1, "data\\stg4\\Stage.stg4_001", 1, "user_data\\challenge\\Stage.stg4_001rkg"},
        {2, "C:\\games\\x\\free.stg4_002", 1, "user_data\\free\\free.stg4_002rkg"},
        {2, "plain", 1, "user_data\\free\\plainrkg"},
        {1, "", 1, "user_data\\challenge\\rkg"},
        {1, nullptr, 1, "user_data\\challenge\\rkg"},
        // 表 ends in the byte 0x5C, which is no folder separator there.
        {1, "data\\stg4\\表.stg4_001", 1, "user_data\\challenge\\表.stg4_001rkg"},
        {3, "data\\stg4\\Stage.stg4_001", 0, ""},
        {-1, "data\\stg4\\Stage.stg4_001", 0, ""},
        {4, "data\\stg4\\Stage.stg4_001", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + (c.stage ? c.stage : "(null)"));
        std::string out = "stale";
        EXPECT_EQ(MakeRankingPath(out, c.mode, c.stage), c.result);
        EXPECT_EQ(out, c.path);
    }
}

TEST_F(RankingTest, ReplayModeAndMissingFilesGiveAResetHolder) {
    cRankingHolder h;
    h.m_vecTables[0].Add("A", 1);
    ASSERT_TRUE(SaveRanking(h, 0, "a.stg4_001"));
    EXPECT_FALSE(SaveRanking(h, 3, "a.stg4_001"));  // the replay mode has no ranking file
    EXPECT_EQ(LoadRanking(h, 3, "a.stg4_001"), 0);
    ExpectResetHolder(h);
    h.m_vecTables[0].Add("A", 1);
    EXPECT_EQ(LoadRanking(h, 1, "a.stg4_001"), 0);  // saved in the story folder only
    ExpectResetHolder(h);
    EXPECT_EQ(LoadRanking(h, 0, "a.stg4_001"), 1);
    EXPECT_EQ(Values(h.m_vecTables[0]), std::vector<int32_t>{1});
    EXPECT_EQ(Report(), "");
}

TEST_F(RankingTest, DamagedFilesLeaveAResetHolderAndAReportLine) {
    cRankingHolder good;
    good.m_vecTables[0].Add("A", 5);
    good.m_vecTables[4].Add("B", 6);
    const std::vector<uint8_t> image = FileImage(good);
    // Reading any damaged form never crashes or allocates from a bad count.
    CheckDamagedImages<cRankingHolder>(image, [] { return cRankingHolder(); });

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"cut in an entry", std::vector<uint8_t>(image.begin(), image.begin() + 200)},
        {"huge table count", cByteImage().U32(754).U32(0).U32(0).U32(0xFFFFFFFF)},
        {"huge entry count", cByteImage().U32(754).U32(0).U32(0).U32(1).U32(1).U32(1).U32(0).U32(0x7FFFFFFF)},
        {"too many value blocks", cByteImage().U32(754).U32(9).U32(0).U32(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearReport();
        ASSERT_TRUE(folder_->WriteFile("user_data\\free\\d.stg4_001rkg", c.bytes));
        cRankingHolder h;
        h.m_vecTables[1].Add("keep?", 1);
        EXPECT_EQ(LoadRanking(h, 2, "d.stg4_001"), 0);
        ExpectResetHolder(h);
        EXPECT_NE(Report().find("user_data\\free\\d.stg4_001rkg : ranking reset"), std::string::npos) << Report();
    }
}

TEST_F(RankingTest, OddShapedTablesAreBroughtToFiveOfTwenty) {
    // A current-version file with two tables, one of three places and one of 25.
    cByteImage odd;
    odd.U32(754).U32(0).U32(0).U32(2);
    odd.U32(1).I32(1).U32(0).U32(3);
    for (int i = 0; i < 3; ++i) odd.U32(2).I32(1).I32(30 - i).U32(1).Str("X");
    odd.U32(1).I32(1).U32(0).U32(25);
    for (int i = 0; i < 25; ++i) odd.U32(2).I32(1).I32(100 - i).U32(1).Str("Y");
    ASSERT_TRUE(folder_->WriteFile("user_data\\story\\o.stg4_001rkg", odd.Data()));
    cRankingHolder h;
    ASSERT_EQ(LoadRanking(h, 0, "o.stg4_001"), 1);
    ASSERT_EQ(h.m_vecTables.size(), 5u);
    for (const cRankingTable& t : h.m_vecTables) EXPECT_EQ(t.m_vecEntries.size(), 20u);
    EXPECT_EQ(Values(h.m_vecTables[0]), (std::vector<int32_t>{30, 29, 28}));
    EXPECT_EQ(Values(h.m_vecTables[1]).size(), 20u);
    EXPECT_EQ(h.m_vecTables[2].m_nOrder, 0);  // a table the file lacks ranks as after a reset
    EXPECT_NE(Report().find("ranking tables brought to five of twenty places"), std::string::npos);
}

TEST_F(RankingTest, AFailedSaveKeepsTheOldFile) {
    cRankingHolder h;
    h.m_vecTables[0].Add("OLD", 1);
    ASSERT_TRUE(SaveRanking(h, 1, "f.stg4_001"));
    const std::vector<uint8_t> before = folder_->ReadFile("user_data\\challenge\\f.stg4_001rkg");
    h.m_vecTables[0].Add("NEW", 2);
    SetRecordWriteFailureAfter(10);
    EXPECT_FALSE(SaveRanking(h, 1, "f.stg4_001"));
    SetRecordWriteFailureAfter(-1);
    EXPECT_EQ(folder_->ReadFile("user_data\\challenge\\f.stg4_001rkg"), before);
    // A folder that does not exist fails the same way.
    std::filesystem::remove_all(folder_->HostPath("user_data\\challenge"));
    EXPECT_FALSE(SaveRanking(h, 1, "f.stg4_001"));
}

}  // namespace
