// Flow records: exact bytes of a flow with one record of every kind, round trips, deep copies,
// validation, reference checks, flagged flows and damaged input.
#include <gtest/gtest.h>

#include <climits>

#include "core/globals.h"
#include "flow/command_kinds.h"
#include "flow/flow.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/records/test_support.h"

using namespace recordtest;

namespace {

class FlowRecordsTest : public RecordTest {
protected:
    void SetUp() override {
        RecordTest::SetUp();
        CreateDefaultDatabase(g_Database);
        g_bEditor = 0;
        g_SystemData.m_bKeepFlows = 0;
    }
    void TearDown() override {
        CreateDefaultDatabase(g_Database);
        g_bEditor = 0;
        g_SystemData.m_bKeepFlows = 0;
        RecordTest::TearDown();
    }
};

// The flow whose bytes SampleFlowBytes holds.
cFlow SampleFlow() {
    cFlow f;
    f.m_byId = 3;
    f.m_cGroup = 2;
    f.m_byCondMode = 1;
    f.m_byOnceHeld = 1;
    f.m_cTrigger = 7;
    f.m_cKeyWindow = -1;
    f.m_byKeyRepeat = 1;
    cFlowCond c;
    c.m_cKind = 4;
    c.m_nValue = -5;
    c.m_nValue2 = 6;
    c.m_nValue3 = 7;
    c.m_byA1 = 1, c.m_byA2 = 2, c.m_byA3 = 3, c.m_byA4 = 4;
    c.m_sIndex = -9;
    c.m_bySource = 3;
    c.m_byB1 = 11, c.m_byB2 = 12, c.m_byB3 = 13;
    c.m_wIndex2 = 0x1234;
    c.m_byOperator = 5;
    c.m_byFlag2 = 1;
    c.m_byShape = 2;
    f.m_vecConds.push_back(c);
    cFlowKeyCond k;
    k.m_byMirror = 1;
    k.m_wMinFrames = 2;
    k.m_wMaxFrames = 300;
    k.m_byAnyLength = 1;
    k.m_byMode = 2;
    k.m_vecKeys[0] = 1;
    k.m_vecKeys[18] = 2;
    f.m_vecKeyConds.push_back(k);
    cFlowCmd cmd;
    cmd.m_cKind = 10;  // jump: five parameters
    cmd.m_wTime = 15;
    cmd.m_wTimeStep = 2;
    cmd.m_byWithNext = 1;
    cmd.m_wSound = 1;
    cmd.m_bySoundCond = 1;
    cmd.m_wAnime = 1;
    cmd.m_strText = "跳";
    cmd.m_vecParams = {1, -2, 3, 4, 5};
    cmd.CreateEdMove();
    cEdMove& m = *cmd.m_pMove;
    m.m_byM1 = 1, m.m_byM2 = 2, m.m_wM3 = 3, m.m_wM4 = 4, m.m_byM5 = 5, m.m_byM6 = 6, m.m_byM7 = 7;
    m.m_wM8 = 8, m.m_wM9 = 9, m.m_wM10 = 10, m.m_wM11 = 11, m.m_byM12 = 12;
    m.m_byM13 = 13, m.m_byM14 = 14, m.m_byM15 = 15, m.m_byM16 = 16, m.m_byM17 = 17, m.m_byM18 = 18, m.m_byM19 = 19;
    m.m_byM20 = 20, m.m_byM21 = 21, m.m_wM22 = 22, m.m_wM23 = 23, m.m_wM24 = 24, m.m_wM25 = 25, m.m_byM26 = 26;
    m.m_wM27 = 27, m.m_wM28 = 28, m.m_byM29 = 29, m.m_wM30 = 30, m.m_dM31 = 2.5, m.m_byM32 = 32;
    cmd.CreateEdShot();
    cEdShot& s = *cmd.m_pShot;
    s.m_byS1 = 1, s.m_byS2 = 2, s.m_awS3[0] = 31, s.m_awS3[1] = 32, s.m_awS3[2] = 33, s.m_byS4 = 4, s.m_byS5 = 5;
    s.m_byS6 = 6, s.m_wS7 = 7, s.m_wS8 = 8, s.m_byS9 = 9, s.m_wS10 = 10, s.m_byS11 = 11, s.m_byS12 = 12;
    s.m_wS13 = 13, s.m_wS14 = 14, s.m_wS15 = 15, s.m_wS16 = 16, s.m_byS17 = 17, s.m_byS18 = 18, s.m_wS19 = 19;
    s.m_byS20 = 20, s.m_byS21 = 21, s.m_byS22 = 22, s.m_byS23 = 23, s.m_byS24 = 24, s.m_byS25 = 25, s.m_byS26 = 26;
    s.m_byS27 = 27, s.m_awS28[0] = 281, s.m_awS28[1] = 282, s.m_awS28[2] = 283, s.m_byS29 = 29, s.m_wS30 = 30;
    s.m_wS31 = 31, s.m_byS32 = 32, s.m_wS33 = 33, s.m_wS34 = 34, s.m_wS35 = 35, s.m_byS36 = 36, s.m_wS37 = 37;
    s.m_byS38 = 38, s.m_byS39 = 39, s.m_wS40 = 40, s.m_wS41 = 41, s.m_byS42 = 42, s.m_byS43 = 43, s.m_byS44 = 44;
    s.m_byS45 = 45, s.m_byS46 = 46, s.m_nS47 = 470000, s.m_wS48 = 48, s.m_byS49 = 49, s.m_wS50 = 1, s.m_byS51 = 51;
    s.m_wS52 = 52, s.m_byS53 = 53, s.m_byS54 = 54, s.m_byS55 = 55, s.m_byS56 = 56, s.m_wS57 = 57, s.m_byS58 = 58;
    s.m_byS59 = 59, s.m_byS60 = 60;
    f.m_vecCmds.push_back(cmd);
    return f;
}

// The sample flow written by hand: the flow's blocks and name, its condition, key condition
// and command, the command's move and shot parts, flows and parameters.
std::vector<uint8_t> SampleFlowBytes() {
    cByteImage b;
    b.U32(754);
    b.U32(8).U8(3).U8(2).U8(0).U8(1).U8(1).U8(7).U8(0xFF).U8(1);  // id, group, erase, modes, trigger, window, repeat
    b.U32(1).U32(1);                                                // one string: the empty name
    b.U32(1);                                                       // conditions
    b.U32(17).U8(4).I32(-5).I32(6).I32(7).U8(3).U8(4).U8(1).U8(2).I16(-9).U8(3).U8(11).U8(12).U8(13).U16(0x1234);
    b.U8(5).U8(1).U8(2).U32(0);
    b.U32(1);                                                       // key conditions
    b.U32(5).U8(1).U16(2).U16(300).U8(1).U8(2).U32(0);
    b.U32(19).U8(1);
    for (int i = 1; i < 18; ++i) b.U8(0);
    b.U8(2);
    b.U32(1);                                                       // commands
    b.U32(8).U8(0).U8(10).U16(15).U16(2).U8(1).U16(1).U8(1).U16(1);
    b.U32(1).U32(3).Raw("\x92\xb5", 2).U8(0);                     // "跳"
    b.U32(1);                                                       // move part
    b.U32(32).U8(1).U8(2).U16(3).U16(4).U8(5).U8(6).U8(7).U16(8).U16(9).U16(10).U16(11).U8(12);
    for (int i = 13; i <= 21; ++i) b.U8((uint8_t)i);
    b.U16(22).U16(23).U16(24).U16(25).U8(26).U16(27).U16(28).U8(29).U16(30).F64(2.5).U8(32).U32(0);
    b.U32(1);                                                       // shot part
    b.U32(60).U8(1).U8(2).U16(31).U16(32).U16(33).U8(4).U8(5).U8(6).U16(7).U16(8).U8(9).U16(10).U8(11).U8(12);
    b.U16(13).U16(14).U16(15).U16(16).U8(17).U8(18).U16(19);
    for (int i = 20; i <= 27; ++i) b.U8((uint8_t)i);
    b.U16(281).U16(282).U16(283).U8(29).U16(30).U16(31).U8(32).U16(33).U16(34).U16(35).U8(36).U16(37).U8(38);
    b.U8(39).U16(40).U16(41).U8(42).U8(43).U8(44).U8(45).U8(46).I32(470000).U16(48).U8(49).U16(1).U8(51);
    b.U16(52).U8(53).U8(54).U8(55).U8(56).U16(57).U8(58).U8(59).U8(60).U32(0);
    b.U32(0);                                                       // the command's flows
    b.U32(5).I32(1).I32(-2).I32(3).I32(4).I32(5);                   // parameters
    return b.Data();
}

TEST_F(FlowRecordsTest, AFlowWithEveryRecordKindHasExactBytesAndRoundTrips) {
    cFlow f = SampleFlow();
    EXPECT_EQ(FileImage(f), SampleFlowBytes());

    cFlow back;
    ASSERT_TRUE(ReadImage(back, SampleFlowBytes()));
    EXPECT_EQ(back.m_cKeyWindow, -1);
    ASSERT_EQ(back.m_vecConds.size(), 1u);
    EXPECT_EQ(back.m_vecConds[0].m_sIndex, -9);
    EXPECT_EQ(back.m_vecConds[0].m_wIndex2, 0x1234);
    ASSERT_EQ(back.m_vecKeyConds.size(), 1u);
    EXPECT_EQ(back.m_vecKeyConds[0].m_vecKeys[18], 2);
    ASSERT_EQ(back.m_vecCmds.size(), 1u);
    const cFlowCmd& c = back.m_vecCmds[0];
    ASSERT_TRUE(c.m_pMove && c.m_pShot);
    EXPECT_EQ(c.m_pMove->m_dM31, 2.5);
    EXPECT_EQ(c.m_pShot->m_nS47, 470000);
    EXPECT_EQ(c.m_pShot->m_awS28[2], 283);
    EXPECT_EQ(c.m_vecParams, (std::vector<int32_t>{1, -2, 3, 4, 5}));
    EXPECT_EQ(c.m_strText, "跳");
    EXPECT_EQ(FileImage(back), SampleFlowBytes());
}

TEST_F(FlowRecordsTest, CopiesOwnTheirMoveAndShotSettings) {
    cFlowCmd a = SampleFlow().m_vecCmds[0];
    cFlowCmd b(a);
    b.m_pMove->Speed() = 99;
    b.m_pShot->Power() = -1;
    EXPECT_EQ(a.m_pMove->Speed(), 22);
    EXPECT_EQ(a.m_pShot->Power(), 470000);
    cFlowCmd c;
    c = a;
    EXPECT_NE(c.m_pMove.get(), a.m_pMove.get());
    EXPECT_NE(c.m_pShot.get(), a.m_pShot.get());
    EXPECT_EQ(c.m_pShot->Power(), 470000);
    cFlowCmd none;
    c = none;  // a source without parts leaves the copy without them
    EXPECT_FALSE(c.m_pMove);
    EXPECT_FALSE(c.m_pShot);
    // A command assigned from a command inside its own flows.
    cFlowCmd outer = a;
    cFlow inner;
    inner.m_vecCmds.push_back(a);
    outer.m_vecFlows.push_back(inner);
    outer = outer.m_vecFlows[0].m_vecCmds[0];
    EXPECT_TRUE(outer.m_vecFlows.empty());
    EXPECT_EQ(outer.m_pShot->Power(), 470000);
}

TEST_F(FlowRecordsTest, NewPartsHaveTheirDefaults) {
    cEdMove m;
    EXPECT_EQ(m.m_byM5 + m.m_byM6 + m.m_byM7 + m.m_byM13 + m.m_byM16 + m.m_byM18, 6);
    EXPECT_EQ(m.m_wM22, 10);
    EXPECT_EQ(m.m_dM31, 1.0);
    EXPECT_EQ(m.m_byM1 + m.m_wM3 + m.m_byM32, 0);
    cEdShot s;
    EXPECT_EQ(s.m_byS9 + s.m_byS17 + s.m_byS22 + s.m_byS25, 4);
    EXPECT_EQ(s.m_byS1 + s.m_wS19 + s.m_nS47 + s.m_byS60, 0);
}

// Validation: kinds outside the tables, parameter counts, database indexes.
TEST_F(FlowRecordsTest, ValidateBringsCommandsIntoRange) {
    struct Case {
        uint8_t instant;
        int8_t kind;
        std::vector<int32_t> params;
        int8_t kindAfter;
        std::vector<int32_t> paramsAfter;
    };
    // Default database: 1 animation set, 2 animations, 2 effects, 2 character effects,
    // 2 screen effects, 2 pictures, 2 sounds, 2 music entries.
    const Case cases[] = {
        {0, 37, {1, 2}, 37, {}},
        {0, 19, {7}, 19, std::vector<int32_t>{7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {1, 1, {4, 5, 6}, 1, {4, 5}},
        {0, 40, {1}, 0, {}},
        {0, -128, {1}, 0, {}},
        {1, 25, {1, 2}, 0, {}},
        {0, 27, {1}, 27, {0}},
        {0, 28, {-1}, 28, {1}},
        {0, 29, {2, 9}, 29, {1, 9, 0, 0, 0, 0, 0, 0}},
        {0, 36, {1, 1}, 36, {1, 1}},
        {1, 20, {5}, 20, {1}},   // instant sound effect: the check of main kind 35
        {1, 18, {500}, 18, {500, 0, 0, 0, 0, 0, 0, 0}},  // instant screen colour: no check
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.instant) + "/" + std::to_string(c.kind));
        cFlowCmd cmd;
        cmd.m_byInstant = c.instant;
        cmd.m_cKind = c.kind;
        cmd.m_vecParams = c.params;
        cmd.m_wSound = 2;
        cmd.m_wAnime = 65535;
        cmd.Validate();
        EXPECT_EQ(cmd.m_cKind, c.kindAfter);
        EXPECT_EQ(cmd.m_vecParams, c.paramsAfter);
        EXPECT_EQ(cmd.m_wSound, 0);
        EXPECT_EQ(cmd.m_wAnime, 0);
    }
}

TEST_F(FlowRecordsTest, UnknownKindsKeepTheirPlaceInTheCommandList) {
    cByteImage b;
    b.U32(754).U32(8).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U32(1).U32(1).U32(0).U32(0);
    b.U32(3);
    for (int kind : {1, 77, 9}) {
        b.U32(8).U8(0).U8((uint8_t)kind).U16(1).U16(0).U8(0).U16(0).U8(0).U16(0).U32(1).U32(1);
        b.U32(0).U32(0).U32(0).U32(1).I32(1);
    }
    cFlow f;
    ASSERT_TRUE(ReadImage(f, b.Data()));
    ASSERT_EQ(f.m_vecCmds.size(), 3u);
    EXPECT_EQ(f.m_vecCmds[0].m_cKind, 1);
    EXPECT_EQ(f.m_vecCmds[1].m_cKind, 0);
    EXPECT_TRUE(f.m_vecCmds[1].m_vecParams.empty());
    EXPECT_EQ(f.m_vecCmds[2].m_cKind, 9);
    EXPECT_EQ(f.m_vecCmds[2].m_vecParams, std::vector<int32_t>{1});
}

TEST_F(FlowRecordsTest, TheSwordTakesItsFramesTimeAtMost9999AndNeedsItsShotPart) {
    g_Database.m_vecSwordType.resize(2);
    g_Database.m_vecSwordType[1].m_vecEntries.resize(3);
    for (auto& e : g_Database.m_vecSwordType[1].m_vecEntries) e.m_nDuration = 4;
    cFlowCmd sword;
    sword.m_cKind = 12;
    sword.CreateEdShot();
    sword.m_pShot->SwordType() = 1;
    sword.Validate();
    EXPECT_EQ(sword.m_wTime, 12);
    // Frame times whose sum would overflow a 32-bit word stop at the cap.
    for (auto& e : g_Database.m_vecSwordType[1].m_vecEntries) e.m_nDuration = INT_MAX;
    sword.Validate();
    EXPECT_EQ(sword.m_wTime, 9999);
    sword.m_pShot->SwordType() = 7;  // no such sword type
    sword.Validate();
    EXPECT_EQ(sword.m_pShot->SwordType(), 0);
    cFlowCmd bare;  // no shot part: nothing to look up
    bare.m_cKind = 12;
    bare.m_wTime = 5;
    bare.Validate();
    EXPECT_EQ(bare.m_wTime, 5);
}

TEST_F(FlowRecordsTest, TheShotPartKeepsItsScaleAndHitEffectInRange) {
    cEdShot s;
    s.m_byS25 = 0;
    s.m_wS50 = 2;  // two effects in the default database
    cRecordWriter w;
    s.Write(w);
    EXPECT_EQ(s.m_byS25, 1);
    EXPECT_EQ(s.m_wS50, 0);
}

TEST_F(FlowRecordsTest, ReferenceChecksResetIndexesOutsideTheirPalette) {
    g_CommonPalette = cCommonPalette();
    g_CommonPalette.FixUp();  // two of each
    g_LoadedStage.Clear();
    g_LoadedStage.m_vecPaletteItems.resize(5);
    g_LoadedStage.m_vecPaletteCharas.resize(3);

    auto shot = [](int kind, uint8_t a, uint16_t b) {
        cFlowCmd c;
        c.m_cKind = (int8_t)kind;
        c.CreateEdShot();
        if (kind <= 12) {
            c.m_pShot->ItemPalette() = a;
            c.m_pShot->ItemIndex() = b;
        } else {
            c.m_pShot->SummonPalette() = a;
            c.m_pShot->SummonIndex() = b;
        }
        c.ValidateRefs();
        return c;
    };
    EXPECT_EQ(shot(11, 2, 4).m_pShot->ItemIndex(), 4);
    EXPECT_EQ(shot(11, 1, 4).m_pShot->ItemIndex(), 0);
    EXPECT_EQ(shot(11, 1, 4).m_pShot->ItemPalette(), 0);
    EXPECT_EQ(shot(12, 9, 1).m_pShot->ItemPalette(), 0);  // no such palette
    EXPECT_EQ(shot(14, 1, 2).m_pShot->SummonIndex(), 2);  // the stage's characters: 3
    EXPECT_EQ(shot(14, 0, 2).m_pShot->SummonIndex(), 1);  // common characters: 2
    EXPECT_EQ(shot(13, 1, 1).m_pShot->SummonIndex(), 1);

    cFlowCmd get;
    get.m_cKind = 25;
    get.m_vecParams = {1, 4};
    get.ValidateRefs();
    EXPECT_EQ(get.m_vecParams[1], 4);
    get.m_vecParams = {0, -1};
    get.ValidateRefs();
    EXPECT_EQ(get.m_vecParams[1], 1);
    cFlowCmd instant;  // instant get item: the same rule
    instant.m_byInstant = 1;
    instant.m_cKind = 10;
    instant.m_vecParams = {0, 3};
    cFlow nested;
    cFlowCmd inner = shot(11, 1, 0);
    inner.m_pShot->ItemIndex() = 9;
    nested.m_vecCmds.push_back(inner);
    instant.m_vecFlows.push_back(nested);
    instant.ValidateRefs();
    EXPECT_EQ(instant.m_vecParams[1], 1);
    EXPECT_EQ(instant.m_vecFlows[0].m_vecCmds[0].m_pShot->ItemIndex(), 0);  // the flows' commands too
    cFlowCmd bare;  // a summon without its shot part is left alone
    bare.m_cKind = 14;
    bare.ValidateRefs();
    EXPECT_FALSE(bare.m_pShot);
    g_LoadedStage.Clear();
    g_CommonPalette = cCommonPalette();
}

TEST_F(FlowRecordsTest, FlaggedFlowsAreRemovedExceptForTheEditorOrWhenKept) {
    cFlowCmd change;  // instant "フローの変更" with a flagged and an unflagged flow
    change.m_byInstant = 1;
    change.m_cKind = 1;
    change.m_vecParams = {0, 0};
    cFlow a = SampleFlow(), b = SampleFlow();
    a.m_byErase = 1;
    b.m_byId = 9;
    change.m_vecFlows = {a, b};
    const std::vector<uint8_t> image = FileImage(change);

    struct Case {
        int editor;
        uint32_t keep;
        size_t flows;
    };
    for (Case c : {Case{0, 0, 1}, Case{1, 0, 2}, Case{0, 1, 2}}) {
        g_bEditor = c.editor;
        g_SystemData.m_bKeepFlows = c.keep;
        cFlowCmd back;
        ASSERT_TRUE(ReadImage(back, image));
        ASSERT_EQ(back.m_vecFlows.size(), c.flows);
        EXPECT_EQ(back.m_vecFlows.back().m_byId, 9);
    }
    std::vector<cFlow> list = {a, b, a};
    FlowVector_EraseMarked(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].m_byId, 9);
}

TEST_F(FlowRecordsTest, KeyConditionsAreReadWith19KeysAndGroupsOutsideTheLettersMeanNone) {
    cByteImage b;
    b.U32(754).U32(8).U8(0).U8(30).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U32(1).U32(1);
    b.U32(0);                                               // no conditions
    b.U32(1).U32(5).U8(0).U16(1).U16(2).U8(0).U8(0).U32(0); // a key condition
    b.U32(2).U8(1).U8(2);                                   // with two keys only
    b.U32(0);                                               // no commands
    cFlow f;
    ASSERT_TRUE(ReadImage(f, b.Data()));
    EXPECT_EQ(f.m_cGroup, 0);
    ASSERT_EQ(f.m_vecKeyConds.size(), 1u);
    ASSERT_EQ(f.m_vecKeyConds[0].m_vecKeys.size(), kKeyStateCount);
    EXPECT_EQ(f.m_vecKeyConds[0].m_vecKeys[1], 2);
    EXPECT_EQ(f.m_vecKeyConds[0].m_vecKeys[18], 0);
}

// A flow nested 10,000 deep (each command holding the next flow): the read stops at the
// nesting bound as damaged, without exhausting the stack.
TEST_F(FlowRecordsTest, DeeplyNestedFlowsEndTheReadAsDamaged) {
    cByteImage b;
    b.U32(754);
    const int depth = 10000;
    for (int i = 0; i < depth; ++i) {
        b.U32(8).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U32(0);  // flow body
        b.U32(0).U32(0).U32(1);                                           // no conditions, one command
        b.U32(8).U8(1).U8(1).U16(0).U16(0).U8(0).U16(0).U8(0).U16(0).U32(0);
        b.U32(0).U32(0).U32(1);                                           // no parts, one flow
    }
    cFlow f;
    cRecordReader reader;
    ASSERT_TRUE(ReadImage(f, b.Data(), &reader));
    EXPECT_TRUE(reader.Damaged());
    EXPECT_NE(Report().find("flows nested too deeply"), std::string::npos);
    int levels = 0;
    for (const cFlow* p = &f; !p->m_vecCmds.empty() && !p->m_vecCmds[0].m_vecFlows.empty();
         p = &p->m_vecCmds[0].m_vecFlows[0])
        ++levels;
    EXPECT_EQ(levels, kMaxFlowNesting);
}

TEST_F(FlowRecordsTest, DamagedFlowImagesLoadWithoutACrash) {
    CheckDamagedImages<cFlow>(SampleFlowBytes(), [] { return cFlow(); });
}

}  // namespace
