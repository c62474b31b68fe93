// The status condition and the status operation on characters, system words and variables.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "flow/flow_cond.h"
#include "flow/value_ops.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "play/status_ops.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

// Status operation parameters (18).
std::vector<int32_t> Op(int word, int op, int32_t value, int object = OBJ_SELF) {
    std::vector<int32_t> p(18, 0);
    p[3] = object;
    p[4] = word;
    p[5] = op;
    p[7] = value;
    return p;
}

class StatusOps : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        savedVars = g_SaveData.m_vecCommonVars;
        savedScore = g_SaveData.m_nScore;
        savedLives = g_SaveData.m_nLives;
        g_SaveData.m_vecCommonVars.assign(11, 0);
        cCharaRec rec;
        rec.m_nC39 = 999999;
        rec.m_nC40 = 100;
        const int32_t place[4] = {0, 0, -1, 0};
        g_vecHero.assign(1, cHero());
        g_vecHero[0].SetupFromPlacement(0, rec, place);
        g_vecHero[0].m_nId = 500;
        rec.m_nC39 = 100;
        rec.m_byC17 = 4;
        g_listStageChara.emplace_back();
        enemy = &g_listStageChara.back();
        enemy->SetUp(&rec, place);
        enemy->m_nId = 7;
        enemy->m_nTargetId = 500;
        enemy->m_vecVar.assign(4, 0);
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
        g_SaveData.m_vecCommonVars = savedVars;
        g_SaveData.m_nScore = savedScore;
        g_SaveData.m_nLives = savedLives;
    }
    cHero& Hero() { return g_vecHero[0]; }
    cPlayScene scene;
    cStageChara* enemy = nullptr;
    std::vector<int32_t> savedVars;
    int32_t savedScore = 0, savedLives = 0;
};

TEST_F(StatusOps, HitPointsSaturateAndGoThroughTheHitPointChange) {
    Hero().m_nHP = 600000;
    FlowCmdStatusOpImpl(&Hero(), Op(STATUS_HP, VALUEOP_MUL, 2));
    EXPECT_EQ(Hero().m_nHP, 999999);
    // The target's HP set to 0 from another character's flow asks for the death check.
    scene.m_lpRunChara = enemy;
    FlowCmdStatusOpImpl(enemy, Op(STATUS_HP, VALUEOP_SET, 0, OBJ_TARGET));
    EXPECT_EQ(Hero().m_nHP, 0);
    EXPECT_EQ(scene.m_bDeathCheck, 1);
    // Calculation mode 1: a percentage of the maximum; mode 2: of the current value.
    std::vector<int32_t> p = Op(STATUS_HP, VALUEOP_SET, 25);
    p[15] = 1;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(enemy->m_nHP, 25);
    p[15] = 2;
    p[5] = VALUEOP_SUB;
    p[7] = 50;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(enemy->m_nHP, 12);  // 25 - round(12.5)
    // Not while invincible.
    p = Op(STATUS_SP, VALUEOP_SUB, 30);
    p[17] = 1;
    enemy->m_nInvincible = 5;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(enemy->m_nSP, 100);
    enemy->m_nInvincible = 0;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(enemy->m_nSP, 70);
}

TEST_F(StatusOps, WordsStayWithinTheirLimits) {
    FlowCmdStatusOpImpl(enemy, Op(STATUS_Z, VALUEOP_SET, 8));
    EXPECT_EQ(enemy->m_byLayer, 7);
    FlowCmdStatusOpImpl(enemy, Op(STATUS_BODYIMPACT, VALUEOP_SET, -300));
    EXPECT_EQ((int8_t)charadef::BodyImpactField(enemy->m_Def), -20);
    FlowCmdStatusOpImpl(enemy, Op(STATUS_MARK, VALUEOP_ADD, 500));
    EXPECT_EQ(charadef::MarkField(enemy->m_Def), 119);
    // Sight recomputes the range in dots; the hero's sight is never written.
    FlowCmdStatusOpImpl(enemy, Op(STATUS_SIGHT, VALUEOP_ADD, 2));
    EXPECT_EQ(charadef::SightField(enemy->m_Def), 6);
    EXPECT_EQ(enemy->m_nSightRange, BlockToDot(6));
    const uint8_t heroSight = charadef::SightField(Hero().m_Def);
    FlowCmdStatusOpImpl(&Hero(), Op(STATUS_SIGHT, VALUEOP_SET, 9));
    EXPECT_EQ(charadef::SightField(Hero().m_Def), heroSight);
    // Stopping recomputes the deceleration.
    FlowCmdStatusOpImpl(enemy, Op(STATUS_DECEL, VALUEOP_SET, 300));
    EXPECT_EQ(charadef::DecelField(enemy->m_Def), 200);
    EXPECT_DOUBLE_EQ(enemy->m_dDecel, PercentToRate(200));
    // Character variables; an index outside the list changes nothing.
    std::vector<int32_t> p = Op(STATUS_VAR, VALUEOP_SET, 5000000);
    p[2] = 3;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(enemy->m_vecVar[3], 999999);
    p[2] = 4;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(enemy->m_vecVar, (std::vector<int32_t>{0, 0, 0, 999999}));
    // With the percent flag the right-hand value is a percentage of the current value.
    FlowCmdStatusOpImpl(enemy, Op(STATUS_DEFENCE, VALUEOP_SET, 40));
    p = Op(STATUS_DEFENCE, VALUEOP_ADD, 50);
    p[14] = 1;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(charadef::DefenceField(enemy->m_Def), 60);
    // A word above 14 and an object without a target: nothing.
    enemy->m_nTargetId = -1;
    FlowCmdStatusOpImpl(enemy, Op(STATUS_HP, VALUEOP_SET, 1, OBJ_TARGET));
    EXPECT_EQ(Hero().m_nHP, 999999);
    FlowCmdStatusOpImpl(enemy, Op(15, VALUEOP_SET, 1));
}

TEST_F(StatusOps, SystemWordsAndVariables) {
    g_SaveData.m_nScore = 1234;
    FlowCmdStatusOpImpl(enemy, Op(SYSWORD_SCORE, VALUEOP_DIV, 0, OBJ_SYSTEM));
    EXPECT_EQ(g_SaveData.m_nScore, 1234);
    FlowCmdStatusOpImpl(enemy, Op(SYSWORD_SCORE, VALUEOP_MUL, 1000, OBJ_SYSTEM));
    EXPECT_EQ(g_SaveData.m_nScore, 999999);
    g_SaveData.m_nLives = 999999;
    FlowCmdStatusOpImpl(enemy, Op(SYSWORD_LIVES, VALUEOP_SUB, 1, OBJ_SYSTEM));
    EXPECT_EQ(g_SaveData.m_nLives, 999999);
    g_SaveData.m_nLives = 3;
    FlowCmdStatusOpImpl(enemy, Op(SYSWORD_LIVES, VALUEOP_ADD, 500, OBJ_SYSTEM));
    EXPECT_EQ(g_SaveData.m_nLives, 99);
    // A scroll speed is held in -480 .. 480 and handed to the scroll axis.
    g_StageSettings.m_bAutoScrollX = 1;
    FlowCmdStatusOpImpl(enemy, Op(SYSWORD_SCROLLX, VALUEOP_SET, -1000, OBJ_SYSTEM));
    EXPECT_EQ(g_StageSettings.m_nAutoScrollSpeedX, -480);
    EXPECT_EQ(scene.m_ScrollX.m_bScroll, 1);
    EXPECT_DOUBLE_EQ(scene.m_ScrollX.m_dSpeed, -48.0);
    // Common and stage variables, with a source read from another variable.
    std::vector<int32_t> p = Op(0, VALUEOP_ADD, 0);
    p[0] = 1;
    p[1] = 1;
    p[2] = 1000;
    p[6] = 3;
    p[10] = 0;
    p[11] = 10;
    g_SaveData.m_vecCommonVars[10] = 42;
    scene.m_vecStageVars[1000] = 8;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(scene.m_vecStageVars[1000], 50);
    p[2] = 1001;  // past the list: nothing
    FlowCmdStatusOpImpl(enemy, p);
    p[11] = -1;
    p[2] = 1000;
    FlowCmdStatusOpImpl(enemy, p);
    EXPECT_EQ(scene.m_vecStageVars[1000], 50);
}

TEST_F(StatusOps, StatusConditions) {
    cFlowCond cond;
    cond.m_cKind = 4;
    cond.m_byOperator = 2;  // >=
    cond.m_nValue = 50;
    cond.m_byFlag2 = 1;
    cond.m_byA4 = STATUS_HP;
    enemy->m_nHP = 50;
    EXPECT_TRUE(cond.TestValue(enemy));
    enemy->m_nHP = 49;
    EXPECT_FALSE(cond.TestValue(enemy));
    // Score >= 50 with the percent flag compares against 0.
    cond.m_byA3 = OBJ_SYSTEM;
    cond.m_byA4 = SYSWORD_SCORE;
    g_SaveData.m_nScore = 0;
    EXPECT_TRUE(cond.TestValue(enemy));
    // Unlimited lives make a test fail.
    g_SaveData.m_nLives = 999999;
    cond.m_byA4 = SYSWORD_LIVES;
    cond.m_byFlag2 = 0;
    cond.m_nValue = 0;
    EXPECT_FALSE(cond.TestValue(enemy));
    // A word above 14 holds; the target's HP without a target fails.
    cond.m_byA3 = OBJ_SELF;
    cond.m_byA4 = 15;
    EXPECT_TRUE(cond.TestValue(enemy));
    cond.m_byA3 = OBJ_TARGET;
    cond.m_byA4 = STATUS_HP;
    enemy->m_nTargetId = -1;
    EXPECT_FALSE(cond.TestValue(enemy));
    // The hero's sight cannot be tested.
    cond.m_byA3 = OBJ_SELF;
    cond.m_byA4 = STATUS_SIGHT;
    EXPECT_FALSE(cond.TestValue(&Hero()));
    // A random source is drawn again on every test and stored into the value.
    cond.m_byA1 = 1;
    cond.m_byA2 = 0;
    cond.m_sIndex = 1;
    cond.m_bySource = 1;
    cond.m_nValue2 = 1;
    cond.m_nValue3 = 1000;
    cond.m_byOperator = 0;
    bool differs = false;
    int32_t first = 0;
    for (int i = 0; i < 20; ++i) {
        cond.TestValue(enemy);
        EXPECT_GE(cond.m_nValue, 1);
        EXPECT_LE(cond.m_nValue, 1000);
        if (i == 0) first = cond.m_nValue;
        else if (cond.m_nValue != first) differs = true;
    }
    EXPECT_TRUE(differs);
    // A variable against another variable; a bad index fails.
    cond.m_bySource = 3;
    cond.m_byB3 = 1;
    cond.m_wIndex2 = 5;
    scene.m_vecStageVars[5] = 9;
    g_SaveData.m_vecCommonVars[1] = 9;
    EXPECT_TRUE(cond.TestValue(enemy));
    cond.m_sIndex = 11;
    EXPECT_FALSE(cond.TestValue(enemy));
}

}  // namespace
