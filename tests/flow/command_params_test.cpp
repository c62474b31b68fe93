// Command parameters driven by variables: the parameter table, where every parameter lives in
// the command record, the combination and clamp, the replaced ranges of the formation and
// move-type values, and the pending links of flows and heroes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "flow/command_kinds.h"
#include "flow/command_param_access.h"
#include "flow/command_param_link.h"
#include "flow/command_param_table.h"
#include "flow/flow_cmd.h"
#include "flow/shot_param_desc.h"
#include "records/database.h"
#include "records/save_data.h"
#include "tests/records/test_support.h"

using namespace recordtest;

namespace {

class CommandParamsTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
        BuildCommandParamTable();
        g_SaveData.m_vecCommonVars.assign(kCommonVarCount, 0);
    }
    void TearDown() override {
        g_SaveData.m_vecCommonVars.assign(kCommonVarCount, 0);
        RecordTest::TearDown();
    }
    std::vector<int32_t> stage_ = std::vector<int32_t>(10, 0);
    std::vector<int32_t> chara_ = std::vector<int32_t>(8, 0);
};

// A command of a kind with both settings parts and its parameter list sized.
cFlowCmd MakeCmd(int kind, bool instant = false) {
    cFlowCmd c;
    c.m_byInstant = instant ? 1 : 0;
    c.m_cKind = (int8_t)kind;
    c.m_vecParams.assign((size_t)CmdParamCount(instant, kind), 0);
    c.CreateEdMove();
    c.CreateEdShot();
    return c;
}

CMDPARAMLINK Link(int kind, int p, int op, int source, int var) { return {kind, p, op, source, var}; }

// A field of the record named as the file numbers it: "M8", "S3.1" (element 1 of S3), "P13".
struct RAWFIELD {
    void* pv;
    int nBytes;
    int32_t Get() const {
        if (nBytes == 1) return (int8_t)*(uint8_t*)pv;
        if (nBytes == 2) return (int16_t)*(uint16_t*)pv;
        return *(int32_t*)pv;
    }
    void Put(int32_t v) const {
        if (nBytes == 1) *(uint8_t*)pv = (uint8_t)v;
        else if (nBytes == 2) *(uint16_t*)pv = (uint16_t)v;
        else *(int32_t*)pv = v;
    }
};

RAWFIELD Raw(cFlowCmd& c, const std::string& name) {
    cEdMove& m = *c.m_pMove;
    cEdShot& s = *c.m_pShot;
    const int n = std::atoi(name.c_str() + 1);
    if (name[0] == 'P') return {&c.m_vecParams.at((size_t)n), 4};
    if (name[0] == 'M') {
        switch (n) {
            case 3: return {&m.m_wM3, 2};
            case 4: return {&m.m_wM4, 2};
            case 8: return {&m.m_wM8, 2};
            case 9: return {&m.m_wM9, 2};
            case 10: return {&m.m_wM10, 2};
            case 11: return {&m.m_wM11, 2};
            case 24: return {&m.m_wM24, 2};
            case 25: return {&m.m_wM25, 2};
            case 27: return {&m.m_wM27, 2};
            case 28: return {&m.m_wM28, 2};
        }
    }
    if (name == "S3.0" || name == "S3.1" || name == "S3.2") return {&s.m_awS3[name[3] - '0'], 2};
    if (name == "S28.0" || name == "S28.1" || name == "S28.2") return {&s.m_awS28[name[4] - '0'], 2};
    switch (n) {
        case 1: return {&s.m_byS1, 1};
        case 7: return {&s.m_wS7, 2};
        case 8: return {&s.m_wS8, 2};
        case 10: return {&s.m_wS10, 2};
        case 12: return {&s.m_byS12, 1};
        case 13: return {&s.m_wS13, 2};
        case 14: return {&s.m_wS14, 2};
        case 15: return {&s.m_wS15, 2};
        case 16: return {&s.m_wS16, 2};
        case 19: return {&s.m_wS19, 2};
        case 20: return {&s.m_byS20, 1};
        case 23: return {&s.m_byS23, 1};
        case 30: return {&s.m_wS30, 2};
        case 31: return {&s.m_wS31, 2};
        case 33: return {&s.m_wS33, 2};
        case 34: return {&s.m_wS34, 2};
        case 35: return {&s.m_wS35, 2};
        case 37: return {&s.m_wS37, 2};
        case 40: return {&s.m_wS40, 2};
        case 41: return {&s.m_wS41, 2};
        case 46: return {&s.m_byS46, 1};
        case 47: return {&s.m_nS47, 4};
        case 49: return {&s.m_byS49, 1};
    }
    ADD_FAILURE() << "unknown field " << name;
    static int32_t dummy;
    return {&dummy, 4};
}

TEST_F(CommandParamsTest, TableRowsAndRanges) {
    BuildCommandParamTable();  // a second build starts over
    ASSERT_EQ(g_vecCommandParams.size(), (size_t)kMainCmdKindCount);
    size_t rows[kMainCmdKindCount] = {};
    const int counts[][2] = {{2, 6},  {5, 6},  {6, 6},  {11, 29}, {12, 4}, {13, 6}, {14, 8},
                             {15, 7}, {17, 5}, {19, 5}, {20, 6},  {21, 3}, {22, 2}, {24, 1},
                             {26, 2}, {29, 5}, {32, 6}, {33, 4},  {34, 1}};
    for (const auto& c : counts) rows[c[0]] = (size_t)c[1];
    for (int k = 0; k < kMainCmdKindCount; ++k) EXPECT_EQ(g_vecCommandParams[k].size(), rows[k]) << k;

    // Same labels in different kinds are separate rows with their own ranges.
    const auto& shot = g_vecCommandParams[11];
    EXPECT_STREQ(shot[0].pszLabel, "グラフィック");
    EXPECT_EQ(shot[0].nMax, 120);
    EXPECT_EQ(g_vecCommandParams[26][0].nMax, 119);
    EXPECT_STREQ(shot[24].pszLabel, "存在時間(1/10s)");
    EXPECT_EQ(shot[24].nMax, 999);
    EXPECT_EQ(g_vecCommandParams[14][0].nMax, 9999);
    EXPECT_EQ(g_vecCommandParams[15][0].nMax, 9999);
    EXPECT_EQ(shot[27].nMin, -999999);
    EXPECT_EQ(shot[2].nMax, INT32_MAX);
    EXPECT_STREQ(g_vecCommandParams[19][1].pszLabel, "座標X(bl)");
    EXPECT_EQ(g_vecCommandParams[19][2].nMax, 15);
    EXPECT_STREQ(g_vecCommandParams[33][3].pszLabel, "%");

    // Kinds 3, 4 and 7 have a pair but no rows; kinds without rows otherwise have none.
    for (int k : {3, 4, 7}) EXPECT_TRUE(CommandParamSetter(k) && CommandParamGetter(k)) << k;
    for (int k = 0; k < kMainCmdKindCount; ++k) {
        const bool none = rows[k] == 0 && k != 3 && k != 4 && k != 7;
        EXPECT_EQ(CommandParamSetter(k) == nullptr, none) << k;
        EXPECT_EQ(CommandParamGetter(k) == nullptr, none) << k;
    }
    EXPECT_FALSE(CommandParamSetter(40));
    EXPECT_FALSE(CommandParamGetter(-1));
}

TEST_F(CommandParamsTest, ShotParameterDescriptors) {
    EXPECT_STREQ(FormationParam(3, 1)->pszLabel, "列の数");
    EXPECT_EQ(FormationParam(3, 1)->nMin, 1);
    EXPECT_EQ(FormationParam(3, 1)->nMax, 50);
    EXPECT_EQ(FormationParam(2, 0)->nMax, 180);
    EXPECT_STREQ(FormationParam(0, 1)->pszLabel, "");
    EXPECT_EQ(FormationParam(0, 1)->nMax, 0);
    EXPECT_EQ(TrajectoryParam(8, 2)->nMax, 359);
    EXPECT_EQ(TrajectoryParam(5, 1)->nDefault, 999);
    EXPECT_STREQ(TrajectoryParam(7, 2)->pszLabel, "対象勢力");
    EXPECT_EQ(FormationParam(6, 0), nullptr);
    EXPECT_EQ(TrajectoryParam(10, 0), nullptr);
    EXPECT_EQ(TrajectoryParam(1, 3), nullptr);
}

// Every variable-driven parameter reaches exactly its own field: "＝" with a character
// variable writes it (negative values as the field's width), and nothing else changes.
TEST_F(CommandParamsTest, EveryParameterReachesItsField) {
    const std::vector<std::pair<int, std::vector<std::string>>> fields = {
        {2, {"M8", "M9", "M10", "M11", "M3", "M4"}},
        {5, {"M8", "M9", "M10", "M11", "M3", "M4"}},
        {6, {"M27", "M28", "M8", "M9", "M10", "M11"}},
        {11, {"S19", "S20", "S3.0", "S3.1", "S3.2", "S1", "S12", "S7", "S8", "S10", "S13", "S14", "S15", "S16", "S23",
              "S28.0", "S28.1", "S28.2", "S30", "S31", "S33", "S34", "S35", "S37", "S40", "S41", "S46", "S47", "S49"}},
        {12, {"S23", "S20", "S47", "S49"}},
        {13, {"S3.0", "S3.1", "S3.2", "S1", "S13", "S15"}},
        {14, {"S35", "S23", "S3.0", "S3.1", "S3.2", "S1", "S13", "S15"}},
        {15, {"S35", "S3.0", "S3.1", "S3.2", "S1", "S13", "S15"}},
        {17, {"P1", "P6", "P7", "P3", "P4"}},
        {19, {"P13", "P1", "P2", "P3", "P4"}},
        {20, {"M24", "M25", "M8", "M10", "M9", "M11"}},
        {21, {"P1", "P9", "P12"}},
        {22, {"P8", "P9"}},
        {24, {"P1"}},
        {26, {"P1", "P2"}},
        {29, {"P2", "P3", "P4", "P5", "P6"}},
        {32, {"P13", "P2", "P3", "P4", "P5", "P7"}},
        {33, {"P0", "P1", "P2", "P3"}},
        {34, {"P0"}},
    };
    for (const auto& [kind, names] : fields) {
        ASSERT_EQ(names.size(), g_vecCommandParams[kind].size()) << kind;
        for (int p = 0; p < (int)names.size(); ++p) {
            cFlowCmd cmd = MakeCmd(kind);
            cmd.m_pShot->Formation() = 3;   // formation values 0-40, 1-50, 0-40
            cmd.m_pShot->Trajectory() = 8;  // move-type values 0-100, 0-100, 0-359
            const auto before = FileImage(cmd);
            RAWFIELD field = Raw(cmd, names[(size_t)p]);
            const int32_t old = field.Get();

            int32_t lo = g_vecCommandParams[kind][(size_t)p].nMin;
            if (lo == 0 && g_vecCommandParams[kind][(size_t)p].nMax == INT32_MAX) lo = 1;
            const int32_t value = lo < 0 ? -3 : lo + 3;
            chara_[0] = value;
            ApplyCommandParamVars(cmd, Link(kind, p, 0, 2, 0), stage_, chara_);
            EXPECT_EQ(field.Get(), value) << kind << "/" << p << " " << names[(size_t)p];
            int32_t got = 0;
            EXPECT_TRUE(CommandParamGetter(kind)(got, p, cmd));
            EXPECT_EQ(got, value) << kind << "/" << p;

            field.Put(old);
            EXPECT_EQ(FileImage(cmd), before) << kind << "/" << p << ": another field changed";
        }
    }
    EXPECT_EQ(Report(), "");
}

TEST_F(CommandParamsTest, CombineAndClamp) {
    const struct {
        int32_t x, y;
        int op;
        int32_t lo, hi, want;
    } cases[] = {
        {0, 5000, 0, 0, 20, 20},                       // "＝" clamped to the row
        {3, 4, 1, -99, 99, 7},                          // "＋"
        {3, 4, 2, -99, 99, -1},                         // "－"
        {50000, 50000, 3, -999999, 999999, 999999},     // product past the top
        {100000, 100000, 3, -999999, 999999, 999999},
        {-50000, 50000, 3, -999999, 999999, -999999},   // negative product past the bottom
        {-6, -7, 3, -999999, 999999, 42},
        {65536, 65537, 3, -999999, 999999, 999999},     // would wrap to 65536 in 32 bits
        {-7, 2, 4, -99, 99, -3},                        // "÷" toward zero
        {-7, 0, 4, -99, 99, -7},                        // by 0: unchanged
        {-7, 2, 5, -99, 99, -1},                        // remainder with the sign of x
        {7, 0, 5, -99, 99, 7},
        {7, 50, 6, -99, 99, 4},                         // 3.5 rounds away from zero
        {-7, 50, 6, -99, 99, -4},
        {7, -50, 6, -99, 99, -4},
        {10, 33, 6, -99, 99, 3},
        {999999, 999999, 6, -999999, 999999, 999999},
        {INT32_MAX, 1, 1, 0, INT32_MAX, INT32_MAX},     // no wrap to the minimum
        {INT32_MIN, 1, 2, INT32_MIN, 0, INT32_MIN},
        {INT32_MIN, -1, 4, INT32_MIN, INT32_MAX, INT32_MAX},
        {INT32_MIN, -1, 5, -5, 5, 0},
        {500, 9, 7, -99, 99, 99},                       // unknown operation: x, clamped
        {-500, 9, -1, -99, 99, -99},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CombineParamValue(c.x, c.y, c.op, c.lo, c.hi), c.want)
            << c.x << " op" << c.op << " " << c.y << " in " << c.lo << ".." << c.hi;
}

TEST_F(CommandParamsTest, VariableSources) {
    g_SaveData.m_vecCommonVars[0] = 9;
    g_SaveData.m_vecCommonVars[1] = 11;
    g_SaveData.m_vecCommonVars[1000] = 12;
    stage_[0] = 9;
    stage_[9] = 13;
    chara_[0] = 14;
    chara_[7] = 15;
    const struct {
        int source, index, want;  // want -1: unchanged
    } cases[] = {{0, 0, -1}, {0, 1, 11}, {0, 1000, 12}, {0, 1001, -1}, {1, 0, -1}, {1, 9, 13}, {1, 10, -1},
                 {2, 0, 14}, {2, 7, 15}, {2, 8, -1}, {2, -1, -1}, {3, 1, -1}, {-1, 1, -1}};
    for (const auto& c : cases) {
        cFlowCmd cmd = MakeCmd(33);
        cmd.m_vecParams[0] = 77;
        ApplyCommandParamVars(cmd, Link(33, 0, 0, c.source, c.index), stage_, chara_);
        EXPECT_EQ(cmd.m_vecParams[0], c.want < 0 ? 77 : c.want) << c.source << "/" << c.index;
    }
    EXPECT_EQ(Report(), "");
}

TEST_F(CommandParamsTest, LinksThatChangeNothing) {
    chara_[0] = 5;
    cFlowCmd shot = MakeCmd(11);
    const auto before = FileImage(shot);
    ApplyCommandParamVars(shot, Link(12, 0, 0, 2, 0), stage_, chara_);  // another kind
    ApplyCommandParamVars(shot, {11, 0, 0, 2}, stage_, chara_);         // too short to be a link
    EXPECT_EQ(FileImage(shot), before);

    for (int kind : {3, 4, 7, 9, 38}) {  // a pair that does nothing, or no pair at all
        cFlowCmd cmd = MakeCmd(kind);
        const auto image = FileImage(cmd);
        ApplyCommandParamVars(cmd, Link(kind, 0, 0, 2, 0), stage_, chara_);
        EXPECT_EQ(FileImage(cmd), image) << kind;
    }

    cFlowCmd bare;  // a shot command without its settings part
    bare.m_cKind = 11;
    ApplyCommandParamVars(bare, Link(11, 0, 0, 2, 0), stage_, chara_);
    ApplyCommandParamVars(bare, Link(11, 3, 0, 2, 0), stage_, chara_);
    EXPECT_FALSE(bare.m_pShot);
    EXPECT_EQ(Report(), "");
}

TEST_F(CommandParamsTest, ParameterNumberBeyondTheRowsIsAnIndexError) {
    chara_[0] = 5;
    cFlowCmd cmd = MakeCmd(11);
    const auto before = FileImage(cmd);
    ApplyCommandParamVars(cmd, Link(11, 29, 0, 2, 0), stage_, chara_);
    EXPECT_EQ(FileImage(cmd), before);
    EXPECT_NE(Report().find("err V[29] ( 29 , "), std::string::npos) << Report();
    ClearReport();
    ApplyCommandParamVars(cmd, Link(11, -1, 0, 2, 0), stage_, chara_);
    EXPECT_NE(Report().find("err V[-1] ( 29 , "), std::string::npos) << Report();
    // A bad variable index stops before the row is looked at.
    ClearReport();
    ApplyCommandParamVars(cmd, Link(11, 29, 0, 2, 99), stage_, chara_);
    EXPECT_EQ(Report(), "");
}

TEST_F(CommandParamsTest, FormationAndMoveTypeRanges) {
    const struct {
        int kind, p, formation, trajectory, value, want;
    } cases[] = {
        {11, 3, 3, 0, 100, 50},   // "落雷" p2 "列の数" 1-50
        {11, 3, 3, 0, -4, 1},
        {11, 3, 0, 0, 100, 0},    // "直進A" has no second value: always 0
        {11, 2, 2, 0, 500, 180},  // "拡散" p1 "角度" 0-180
        {11, 17, 0, 8, 1000, 359},  // "ウェーブ" q3 "開始角度" 0-359
        {11, 16, 0, 4, 5000, 999},  // "主人公へ誘導" q2 0-999
        {11, 15, 0, 0, 9, 0},       // "直進" has none
        {13, 0, 5, 0, 100, 40},     // block summon: rows 0-2
        {14, 4, 3, 0, 100, 40},     // character summon: rows 2-4
        {15, 2, 3, 0, 100, 50},     // item summon: rows 1-3
        {14, 0, 0, 0, 100000, 9999},  // not a formation row: the table's range
    };
    for (const auto& c : cases) {
        cFlowCmd cmd = MakeCmd(c.kind);
        cmd.m_pShot->Formation() = (uint8_t)c.formation;
        cmd.m_pShot->Trajectory() = (uint8_t)c.trajectory;
        chara_[0] = c.value;
        ApplyCommandParamVars(cmd, Link(c.kind, c.p, 0, 2, 0), stage_, chara_);
        int32_t got = -12345;
        ASSERT_TRUE(CommandParamGetter(c.kind)(got, c.p, cmd));
        EXPECT_EQ(got, c.want) << c.kind << "/" << c.p << " formation " << c.formation;
    }
    EXPECT_EQ(Report(), "");

    // A formation or move type outside its table leaves the value and says so.
    cFlowCmd cmd = MakeCmd(11);
    cmd.m_pShot->Formation() = 200;
    cmd.m_pShot->Trajectory() = 10;
    chara_[0] = 7;
    ApplyCommandParamVars(cmd, Link(11, 2, 0, 2, 0), stage_, chara_);
    ApplyCommandParamVars(cmd, Link(11, 15, 0, 2, 0), stage_, chara_);
    ApplyCommandParamVars(cmd, Link(11, 0, 0, 2, 0), stage_, chara_);  // other rows still work
    EXPECT_EQ(cmd.m_pShot->m_awS3[0], 0);
    EXPECT_EQ(cmd.m_pShot->m_awS28[0], 0);
    EXPECT_EQ(cmd.m_pShot->m_wS19, 7);
    EXPECT_NE(Report().find("formation 200"), std::string::npos) << Report();
    EXPECT_NE(Report().find("move type 10"), std::string::npos) << Report();
}

TEST_F(CommandParamsTest, PendingLinksOfAFlow) {
    CMDPARAMLINKLIST pending;
    stage_[3] = 10;
    chara_[1] = 5;
    // Two arrange commands naming the shot's power: set to stage 3, then add character 1.
    cFlowCmd arrange1 = MakeCmd(38), arrange2 = MakeCmd(38);
    arrange1.m_vecParams = {11, 27, 0, 1, 3};
    arrange2.m_vecParams = {11, 27, 1, 2, 1};
    QueueCommandParamLink(pending, arrange1);
    LinkCommandParams(arrange2, pending, stage_, chara_);  // an arrange command keeps the list
    QueueCommandParamLink(pending, arrange2);
    ASSERT_EQ(pending.size(), 2u);

    cFlowCmd shot = MakeCmd(11);
    shot.m_pShot->Power() = 1;
    LinkCommandParams(shot, pending, stage_, chara_);
    EXPECT_EQ(shot.m_pShot->Power(), 15);
    EXPECT_TRUE(pending.empty());
    // The change stays in the record; the next shot gets nothing.
    cFlowCmd next = MakeCmd(11);
    next.m_pShot->Power() = 1;
    LinkCommandParams(next, pending, stage_, chara_);
    EXPECT_EQ(next.m_pShot->Power(), 1);

    // A wait in between drops the link.
    QueueCommandParamLink(pending, arrange1);
    cFlowCmd wait = MakeCmd(1);
    LinkCommandParams(wait, pending, stage_, chara_);
    EXPECT_TRUE(pending.empty());
    LinkCommandParams(next, pending, stage_, chara_);
    EXPECT_EQ(next.m_pShot->Power(), 1);
}

TEST_F(CommandParamsTest, PendingLinksOfAHeroReachInstantCommands) {
    CMDPARAMLINKLIST pending;
    g_SaveData.m_vecCommonVars[4] = 42;
    // The instant arrange (23) names main kinds: the instant stage clear (2) is kind 17.
    cFlowCmd arrange = MakeCmd(23, true);
    arrange.m_vecParams = {17, 0, 0, 0, 4};
    QueueCommandParamLink(pending, arrange);
    LinkCharaParamVars(arrange, pending, stage_, chara_);
    ASSERT_EQ(pending.size(), 1u);

    cFlowCmd clear = MakeCmd(2, true);
    LinkCharaParamVars(clear, pending, stage_, chara_);
    EXPECT_EQ(clear.m_vecParams[1], 42);
    EXPECT_TRUE(pending.empty());
}

}  // namespace
