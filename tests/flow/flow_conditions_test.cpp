// The start rule's tests: the condition kinds, AND/OR lists and the once-held rule, the status
// and distance conditions, the appearance conditions, and key sequences matched over the first
// hero's key histories.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "flow/flow.h"
#include "flow/flow_conditions.h"
#include "media/player_input.h"
#include "play/appearance.h"
#include "play/block_map.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

cFlowCond Cond(int kind, int index, int value, int op) {
    cFlowCond c;
    c.m_cKind = (int8_t)kind;
    c.m_sIndex = (int16_t)index;
    c.m_nValue = value;
    c.m_byOperator = (uint8_t)op;
    return c;
}

class Conditions : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_SaveData.m_vecCommonVars.assign(1001, 0);
        g_SystemData.m_nWord31 = g_SystemData.m_nWord34 = 0;
        g_listStageChara.clear();
        g_vecHero.assign(1, cHero());
        g_vecHero[0].m_nId = kHeroId;
        g_vecHero[0].m_nInput = 0;
        ResetInputState();
        g_vecPlayerInput.assign(1, g_PlayerInputProto);
        chara.m_vecVar.assign(10, 0);
        chara.m_nId = 1;
        for (auto& v : chara.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    }
    void TearDown() override {
        g_vecHero.clear();
        g_vecPlayerInput.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    bool Eval(cFlowCond c) { return EvaluateCondition(&scene, c, &chara); }
    // One frame of input: direction bits (1 left, 2 right, 4 up, 8 down) and button bits.
    void Frame(int dir, int buttons = 0) {
        cPlayerInput& in = g_vecPlayerInput[0];
        in.m_wKey = (WORD)dir;
        in.m_wButton = (WORD)buttons;
        in.UpdateInputHistories();
    }
    cPlayScene scene;
    cChara chara;
};

TEST_F(Conditions, VariableConditionsCompareByTheirOperator) {
    g_SaveData.m_vecCommonVars[5] = 7;
    scene.m_vecStageVars[6] = -3;
    chara.m_vecVar[2] = 12;
    struct Case {
        int kind, index, value, op;
        bool want;
    } cases[] = {
        {1, 5, 7, 0, true},   {1, 5, 7, 1, false}, {1, 5, 8, 2, false}, {1, 5, 8, 3, true},
        {1, 5, 6, 4, true},   {1, 5, 7, 5, false}, {1, 5, 0, 6, true},  {1, 5, 0, 7, false},
        {2, 6, -3, 0, true},  {2, 6, 3, 6, true},  {2, 6, 2, 7, true},  {3, 2, 4, 6, true},
        {3, 2, 5, 7, true},   {3, 2, 12, 9, false}, {3, 99, 0, 6, false}, {8, 0, 0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(Cond(c.kind, c.index, c.value, c.op)), c.want) << c.kind << "/" << c.index << "/" << c.op;
}

TEST_F(Conditions, ListsAllOrAnyAndTheOnceHeldRule) {
    std::vector<cFlowCond> none;
    EXPECT_TRUE(EvaluateConditionList(&scene, none, 0, &chara));
    EXPECT_FALSE(EvaluateConditionList(&scene, none, 1, &chara));
    std::vector<cFlowCond> mixed = {Cond(3, 0, 0, 0), Cond(3, 0, 1, 0)};
    EXPECT_FALSE(EvaluateConditionList(&scene, mixed, 0, &chara));
    EXPECT_TRUE(EvaluateConditionList(&scene, mixed, 1, &chara));
    EXPECT_FALSE(EvaluateConditionList(&scene, mixed, 2, &chara));
    // A flow whose condition held once keeps starting with the once-held flag.
    cFlow f;
    f.m_byOnceHeld = 1;
    f.m_vecConds = {Cond(3, 1, 5, 0)};
    cFlowCmd wait;
    wait.m_cKind = 1;
    f.m_vecCmds = {wait};
    chara.m_Def.m_vecFlows = {f};
    chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
    cFlowRun& run = chara.m_vecFlowRun[0];
    EXPECT_FALSE(TestFlowConditions(&scene, run, chara));
    chara.m_vecVar[1] = 5;
    EXPECT_TRUE(TestFlowConditions(&scene, run, chara));
    chara.m_vecVar[1] = 0;
    EXPECT_TRUE(TestFlowConditions(&scene, run, chara));
    chara.m_Def.m_vecFlows[0].m_byOnceHeld = 0;
    EXPECT_FALSE(TestFlowConditions(&scene, run, chara));
}

TEST_F(Conditions, StatusConditionsTwoAndThree) {
    cFlowCond c = Cond(5, 1, 0, 0);
    c.m_byA3 = 0;
    c.m_byA4 = 3;  // flying
    chara.m_bFlying = 1;
    EXPECT_TRUE(Eval(c));
    chara.m_bFlying = 0;
    EXPECT_FALSE(Eval(c));
    c.m_byOperator = 6;  // divisible by 0: true whatever the flag
    c.m_sIndex = 0;
    EXPECT_TRUE(Eval(c));
    c.m_byOperator = 7;
    EXPECT_FALSE(Eval(c));
    c = Cond(5, 1, 0, 0);
    c.m_byA3 = 2;  // the stage's horizontal scroll mode
    c.m_byA4 = 0;
    g_StageSettings.m_bAutoScrollX = 1;
    EXPECT_TRUE(Eval(c));
    c.m_byA3 = 1;  // the target: none
    c.m_byA4 = 3;
    chara.m_nTargetId = -1;
    EXPECT_FALSE(Eval(c));
    // Status 3: facing, on a block, negation by operator 1.
    cFlowCond s3 = Cond(6, 0, 0, 0);
    chara.m_nDir = 0;
    s3.m_byA4 = 0;
    EXPECT_TRUE(Eval(s3));
    s3.m_byOperator = 1;
    EXPECT_FALSE(Eval(s3));
    s3.m_byOperator = 0;
    s3.m_byA4 = 2;
    chara.m_bAirborne = 1;
    EXPECT_FALSE(Eval(s3));
    chara.m_bStanding = 1;
    EXPECT_TRUE(Eval(s3));
    s3.m_byA3 = 1;  // no target: false even negated
    s3.m_byOperator = 1;
    EXPECT_FALSE(Eval(s3));
}

TEST_F(Conditions, DistanceConditionsByShape) {
    cHero& hero = g_vecHero[0];
    const auto place = [](cChara& c, double x, double y) {
        c.m_dX = x;
        c.m_dY = y;
        c.m_nWidth = c.m_nHeight = 32;
        c.m_HitChara.nWidth = c.m_HitChara.nHeight = 32;
        c.m_HitChara.dLeft = x;
        c.m_HitChara.dTop = y;
        c.m_HitChara.dRight = x + 31;
        c.m_HitChara.dBottom = y + 31;
    };
    place(chara, 100, 100);
    chara.m_nDir = 1;  // faces right
    cFlowCond c = Cond(7, 0, 2, 0);  // 2 half blocks = 32 dots
    c.m_byA3 = 0;                    // against the hero
    struct Case {
        int shape;
        double hx, hy;
        int op;
        bool want;
    } cases[] = {
        {6, 132, 100, 0, true},  {6, 133, 100, 0, false}, {6, 133, 100, 1, true}, {6, 132, 100, 2, false},
        {0, 164, 100, 0, true},  {0, 40, 100, 0, true},   {0, 170, 100, 0, false}, {1, 164, 100, 0, true},
        {1, 40, 100, 0, false},  {2, 40, 100, 0, true},   {2, 164, 100, 0, false}, {3, 100, 164, 0, true},
        {3, 100, 170, 0, false}, {4, 100, 164, 0, true},  {5, 100, 164, 0, false},
    };
    for (const Case& k : cases) {
        place(hero, k.hx, k.hy);
        c.m_byShape = (uint8_t)k.shape;
        c.m_byOperator = (uint8_t)k.op;
        EXPECT_EQ(Eval(c), k.want) << "shape " << k.shape << " at " << k.hx << "," << k.hy << " op " << k.op;
    }
    // Facing left turns "in front" round.
    chara.m_nDir = 0;
    place(hero, 40, 100);
    c.m_byShape = 1;
    c.m_byOperator = 0;
    EXPECT_TRUE(Eval(c));
    // The reach adds the extra dots of the index.
    cFlowCond r = Cond(7, 5, 1, 0);
    EXPECT_EQ(RangeOfCondition(r), 21);
}

TEST_F(Conditions, AppearanceConditionsOfCharactersAndBlocks) {
    chara.m_Def.m_vecConds = {Cond(3, 0, 1, 0)};
    chara.m_Def.m_byC3 = 0;
    chara.m_Def.m_byC4 = 1;  // once held stays
    chara.m_bAppeared = 0;
    EXPECT_EQ(CheckAppearanceChara(&scene, chara), 0);
    chara.m_vecVar[0] = 1;
    EXPECT_EQ(CheckAppearanceChara(&scene, chara), 1);
    EXPECT_EQ(chara.m_bAppeared, 1);
    chara.m_vecVar[0] = 0;
    EXPECT_EQ(CheckAppearanceChara(&scene, chara), 1);
    // A block cell tests its conditions for the first hero.
    cBlockDef cell;
    cell.m_vecConds = {Cond(1, 3, 4, 0)};
    EXPECT_EQ(CheckAppearanceBlock(&scene, cell), 0);
    g_SaveData.m_vecCommonVars[3] = 4;
    EXPECT_EQ(CheckAppearanceBlock(&scene, cell), 1);
    g_SaveData.m_vecCommonVars[3] = 0;
    EXPECT_EQ(CheckAppearanceBlock(&scene, cell), 0);  // no once-held switch
    cBlockDef plain;
    EXPECT_EQ(CheckAppearanceBlock(&scene, plain), 1);
}

// Key steps: direction states 0-9 (1 left, 2 right, 3 up, 4 down), buttons from 10 (11 button 1).
cFlowKeyCond Key(int key, int state = 1) {
    cFlowKeyCond k;
    k.Clear();
    k.m_vecKeys[(size_t)key] = (uint8_t)state;
    k.m_byAnyLength = 1;
    return k;
}

TEST_F(Conditions, KeySequencesMatchOverFrames) {
    const std::vector<cFlowKeyCond> seq = {Key(2), Key(4), Key(11)};  // right, down, button 1
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> frames;  // direction bits, buttons
        int window;
        int want;
    } cases[] = {
        {"matched", {{2, 0}, {2, 0}, {2, 0}, {8, 0}, {8, 0}, {0, 1}}, 2, 1},
        {"a gap within the window", {{2, 0}, {2, 0}, {8, 0}, {0, 0}, {0, 1}}, 2, 1},
        {"a wrong key breaks it", {{2, 0}, {2, 0}, {4, 0}, {4, 0}, {0, 1}}, 2, 0},
        {"timed out", {{2, 0}, {8, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 1}}, 2, 0},
        {"no window", {{2, 0}, {8, 0}, {0, 0}, {0, 1}}, 0, 0},
        {"the last step not now", {{2, 0}, {8, 0}, {0, 1}, {0, 0}}, 2, 0},
        {"overlapping by one frame", {{2, 0}, {10, 0}, {0, 1}}, -1, 0},
    };
    for (const Case& c : cases) {
        ResetInputState();
        g_vecPlayerInput.assign(1, g_PlayerInputProto);
        for (auto [dir, b] : c.frames) Frame(dir, b);
        EXPECT_EQ(MatchKeySequence(chara, seq, c.window), c.want) << c.name;
    }
    // Consecutive steps need no window.
    ResetInputState();
    g_vecPlayerInput.assign(1, g_PlayerInputProto);
    Frame(2);
    Frame(8);
    const std::vector<cFlowKeyCond> two = {Key(2), Key(4)};
    EXPECT_EQ(MatchKeySequence(chara, two, -1), 1);
}

TEST_F(Conditions, HeldKeysStartAFlowOnlyOnTheFirstFrameWithoutRepeat) {
    cFlow f;
    f.m_vecKeyConds = {Key(2)};
    cFlowCmd wait;
    wait.m_cKind = 1;
    f.m_vecCmds = {wait};
    chara.m_Def.m_vecFlows = {f};
    chara.m_nHP = 1;
    chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
    int starts = 0;
    for (int frame = 0; frame < 10; ++frame) {
        Frame(2);
        chara.ClearFlowRunFlags();
        chara.RunFlowsOfTrigger(0);
        if (chara.m_vecFlowRun[0].m_bRunning) ++starts;
        chara.StepFlowRuns(0);
    }
    EXPECT_EQ(starts, 1);
    // With key repeat the flow starts on every frame the key is held.
    chara.m_Def.m_vecFlows[0].m_byKeyRepeat = 1;
    starts = 0;
    for (int frame = 0; frame < 10; ++frame) {
        Frame(2);
        chara.ClearFlowRunFlags();
        chara.RunFlowsOfTrigger(0);
        if (chara.m_vecFlowRun[0].m_bRunning) ++starts;
        chara.StepFlowRuns(0);
    }
    EXPECT_EQ(starts, 10);
    // The start direction is the first direction state held (2: right).
    EXPECT_EQ(chara.m_vecFlowRun[0].m_nStartDir, 2);
}

TEST_F(Conditions, KeyStatesAndModesOnThePresentState) {
    Frame(2, 1);  // right and button 1 held
    cFlowKeyCond k = Key(2);
    EXPECT_EQ(KeyConditionHoldsNow(g_vecPlayerInput[0], k), 1);
    k.m_vecKeys[1] = 1;  // left also asked: mode 0 fails, 1 holds, 2 holds (exactly one)
    EXPECT_EQ(KeyConditionHoldsNow(g_vecPlayerInput[0], k), 0);
    k.m_byMode = 1;
    EXPECT_EQ(KeyConditionHoldsNow(g_vecPlayerInput[0], k), 1);
    k.m_byMode = 2;
    EXPECT_EQ(KeyConditionHoldsNow(g_vecPlayerInput[0], k), 1);
    k.m_vecKeys[1] = 2;  // left released: now two count
    EXPECT_EQ(KeyConditionHoldsNow(g_vecPlayerInput[0], k), 0);
    // Frame ranges of a held key.
    cFlowKeyCond ranged = Key(2);
    ranged.m_byAnyLength = 0;
    ranged.m_wMinFrames = 2;
    ranged.m_wMaxFrames = 3;
    EXPECT_FALSE(KeyStateHolds(ranged, 1, true, 1));
    EXPECT_TRUE(KeyStateHolds(ranged, 1, true, 3));
    EXPECT_FALSE(KeyStateHolds(ranged, 1, true, 4));
    EXPECT_TRUE(KeyStateHolds(ranged, 2, false, 1));
    EXPECT_FALSE(KeyStateHolds(ranged, 2, false, 0));
    EXPECT_FALSE(KeyStateHolds(ranged, 3, true, 3));
    EXPECT_EQ(FirstDirection(g_vecPlayerInput[0]), 2);
}

}  // namespace
