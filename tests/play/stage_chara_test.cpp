// Stage characters and items: set-up from the definition, block positions at scales 1 and 2,
// hit ranges by kind, the steps' result codes, the in-view and activation tests, the jump, the
// item's size box and scale, loop unrolling, and the placements of the stage.
#include <gtest/gtest.h>

#include <cmath>

#include "app/scene_manager.h"
#include "flow/flow_cmd.h"
#include "flow/loop_unroll.h"
#include "play/appearance.h"
#include "play/effect_progress.h"
#include "play/hero.h"
#include "play/message_obj.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "play/spawn.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "records/stage.h"

namespace {

class StageChara : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.5;
        g_StageSettings.m_nWidth = 40;
        g_StageSettings.m_nHeight = 15;
        g_StageSettings.SetHitLevel(1);
        g_LoadedStage = cStage();
        // A 40 x 15 stage: x 320 .. 1600 (map 0 .. 1920), y 320 .. 800 (map 0 .. 1120).
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_listItem.clear();
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_listItem.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
        g_LoadedStage = cStage();
    }
    static cCharaRec Rec(int mode, int rangeKind = 0, int scale = 1, int block = 0) {
        cCharaRec rec;
        rec.m_byC27 = (uint8_t)mode;
        rec.m_byC18 = (uint8_t)rangeKind;
        rec.m_byC35 = (uint8_t)scale;
        rec.m_byC6 = (uint8_t)block;
        rec.m_nC39 = 5;
        return rec;
    }
    cStageChara Make(const cCharaRec& rec) {
        cStageChara c;
        const int32_t place[4] = {0, 0, -1, 0};
        c.SetUp(7, rec, nullptr, place, 0);
        return c;
    }
    cPlayScene scene;
};

TEST_F(StageChara, SizeAndPositionFromTheStageSettingsAtScalesOneAndTwo) {
    // The default stage settings: walking 16 x 24 on the cell's bottom.
    cStageChara c = Make(Rec(0));
    EXPECT_EQ(c.m_nId, 7);
    EXPECT_EQ(c.m_nKind, 1);
    EXPECT_EQ(c.m_nWidth, 16);
    EXPECT_EQ(c.m_nHeight, 24);
    EXPECT_EQ(c.m_nGraphOffX, 8);
    EXPECT_EQ(c.m_nGraphOffY, 8);
    EXPECT_EQ(c.m_nHP, 5);
    c.SetBlockPos(3, 4);
    EXPECT_DOUBLE_EQ(c.m_dX, (10 + 3) * 32 + 8 + 0.5);
    EXPECT_DOUBLE_EQ(c.m_dY, (10 + 4) * 32 + 8);
    EXPECT_DOUBLE_EQ(c.m_dRight, c.m_dX + 15);

    // Scale 2: twice the size, centred on the cell horizontally, standing on its foot line.
    cStageChara big = Make(Rec(0, 0, 2));
    EXPECT_EQ(big.m_nWidth, 32);
    EXPECT_EQ(big.m_nGraphWidth, 64);
    big.SetBlockPos(3, 4);
    EXPECT_DOUBLE_EQ(big.m_dX, (10 + 3) * 32 + 8 + 0.5 - 8);
    EXPECT_DOUBLE_EQ(big.m_dY, (10 + 4) * 32 + 8 - 32 + 8);
    EXPECT_DOUBLE_EQ(big.m_dBottom, c.m_dBottom);  // the same foot line
}

TEST_F(StageChara, HitRangesByKindAndTheShotRangeCentred) {
    cStage& s = g_StageSettings;
    s.m_anCharaSize64_65[0] = 12, s.m_anCharaSize64_65[1] = 20;  // kind 0 walking, on the bottom
    s.m_anChara72_73[0] = 1;
    s.m_anChara68_69[0] = 30, s.m_anChara68_69[1] = 10;          // kind 2
    s.m_anValue74_84[6] = 10, s.m_anValue74_84[7] = 6;           // enemy shot range (kind 1)
    struct {
        int kind, offX, offY, w, h;
    } cases[] = {
        {0, 16 - 8 - 6, 32 - 8 - 20, 12, 20},
        {1, 16 - 5 - 8, 16 - 3 - 8, 10, 6},
        {2, 16 - 15 - 8, 16 - 5 - 8, 30, 10},
        {3, 16 - 16 - 8, 16 - 16 - 8, 32, 32},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.kind);
        cStageChara c = Make(Rec(0, k.kind));
        EXPECT_EQ(c.m_HitChara.nOffX, k.offX);
        EXPECT_EQ(c.m_HitChara.nOffY, k.offY);
        EXPECT_EQ(c.m_HitChara.nWidth, k.w);
        EXPECT_EQ(c.m_HitChara.nHeight, k.h);
        // The shot range: the enemies' shot range centred in the cell.
        EXPECT_EQ(c.m_HitShot.nOffX, 16 - 5 - c.m_nGraphOffX);
        EXPECT_EQ(c.m_HitShot.nOffY, 16 - 3 - c.m_nGraphOffY);
        c.SetBlockPos(2, 2);
        EXPECT_DOUBLE_EQ(c.m_HitChara.dLeft, DotToInt(c.m_dX) + k.offX);
        EXPECT_DOUBLE_EQ(c.m_HitChara.dBottom, DotToInt(c.m_dY) + k.offY + k.h - 1);
    }
    // Scale 2 doubles offsets and sizes of both ranges.
    cStageChara big = Make(Rec(0, 2, 2));
    EXPECT_EQ(big.m_HitChara.nWidth, 60);
    EXPECT_EQ(big.m_HitChara.nBaseWidth, 30);
    EXPECT_EQ(big.m_HitShot.nHeight, 12);
}

TEST_F(StageChara, ABlockCharacterIs32By32WithRangesOfItsOwnSizeAtAnyScale) {
    for (int scale : {1, 2, 3}) {
        SCOPED_TRACE(scale);
        cStageChara c = Make(Rec(0, 2, scale, 1));
        EXPECT_EQ(c.m_bActsAsBlock, 1);
        EXPECT_EQ(c.m_nWidth, 32 * scale);
        EXPECT_EQ(c.m_nGraphOffX, 0);
        for (const HITRANGE* r : {&c.m_HitChara, &c.m_HitShot}) {
            EXPECT_EQ(r->nOffX, 0);
            EXPECT_EQ(r->nOffY, 0);
            EXPECT_EQ(r->nWidth, c.m_nWidth);
            EXPECT_EQ(r->nHeight, c.m_nHeight);
        }
    }
}

TEST_F(StageChara, StepsReportTheirResultCodes) {
    // Horizontal: held at the map's edge (3) is reported as 4.
    cStageChara w = Make(Rec(0));
    w.m_dX = 1.0;
    w.m_dSpeedX = -5.0;
    w.m_dMoveX = 0.0;
    EXPECT_EQ(w.StepX(), STEP_X_AT_EDGE);
    EXPECT_DOUBLE_EQ(w.m_dX, 0.0);
    // A knock-back sets the speed.
    w.m_dX = 600.0;
    w.m_dImpactX = 2.5;
    EXPECT_EQ(w.StepX(), CLAMP_INSIDE);
    EXPECT_DOUBLE_EQ(w.m_dX, 602.5);
    // Vertical: a walking character below the stage range reports 7, a flying one at the
    // map's top or bottom edge 8.
    w.m_dY = 800.0;
    w.m_dSpeedY = 1.0;
    EXPECT_EQ(w.StepY(), STEP_FELL_OUT);
    w.m_dY = 1120.0 - 24.0;
    w.m_dSpeedY = 3.0;
    EXPECT_EQ(w.StepY(), STEP_FELL_OUT);
    cStageChara f = Make(Rec(1));
    EXPECT_EQ(f.m_bFlying, 1);
    f.m_dY = 1.0;
    f.m_dSpeedY = -3.0;
    EXPECT_EQ(f.StepY(), STEP_AT_EDGE);
    f.m_dY = 1120.0 - 16.0;
    f.m_dSpeedY = 3.0;
    EXPECT_EQ(f.StepY(), STEP_AT_EDGE);
    f.m_dY = 900.0;  // below the stage, inside the map: as the clamp says
    f.m_dSpeedY = 1.0;
    EXPECT_EQ(f.StepY(), CLAMP_STAGE_BOTTOM);
    // A flying character's move speed is applied with its deceleration.
    f.m_dY = 500.0;
    f.m_dSpeedY = 0.0;
    f.m_dMoveY = 2.0;
    f.m_dDecel = 0.5;
    EXPECT_EQ(f.StepY(), CLAMP_INSIDE);
    EXPECT_DOUBLE_EQ(f.m_dMoveY, 1.5);
    EXPECT_DOUBLE_EQ(f.m_dY, 501.5);
}

TEST_F(StageChara, InViewGroupsAndActivation) {
    cCharaRec rec = Rec(0);
    rec.m_byC24 = 1;  // appearance group 300
    rec.m_wC25 = 300;
    cStageChara a = Make(rec);
    cStageChara b = Make(rec);
    a.SetBlockPos(1, 1);    // in view of a view at (320, 320)
    b.SetBlockPos(35, 12);  // far outside it
    scene.m_ScrollX.m_dPos = 320.0;
    scene.m_ScrollY.m_dPos = 320.0;
    std::vector<uint8_t> groups(kAppearGroupSlots, 0);
    EXPECT_EQ(a.CheckInView(groups), 1);
    EXPECT_EQ(a.m_nInput, 1);
    EXPECT_EQ(groups[300], 1);
    EXPECT_EQ(b.CheckInView(groups), 0);
    EXPECT_EQ(b.m_nInput, 0);
    // b acts with its group; without the group's flag it does not.
    EXPECT_EQ(b.CanAct(groups), 1);
    EXPECT_EQ(b.m_bActivated, 1);
    groups[300] = 0;
    cStageChara c = Make(Rec(0));
    c.SetBlockPos(35, 12);
    c.CheckInView(groups);
    EXPECT_EQ(c.CanAct(groups), 0);
    // A walking character that jumps acts; one activated before acts while it falls.
    c.m_bJumping = 1;
    EXPECT_EQ(c.CanAct(groups), 1);
    c.m_bJumping = 0;
    c.m_bFalling = 1;
    EXPECT_EQ(c.CanAct(groups), 1);
    // Skipping both halves of the view test keeps it in view; stay-active sets both skips.
    cCharaRec stay = Rec(0);
    stay.m_byC29 = 1;
    cStageChara d = Make(stay);
    d.SetBlockPos(1, 1);
    ASSERT_EQ(d.CheckInView(groups), 1);
    EXPECT_EQ(d.CanAct(groups), 1);
    d.SetBlockPos(35, 12);
    EXPECT_EQ(d.CheckInView(groups), 1);
}

TEST_F(StageChara, TheAppearancePassActivatesCharactersInViewOrInAGroupInView) {
    cCharaRec grouped = Rec(0);
    grouped.m_byC24 = 1;
    grouped.m_wC25 = 7;
    const struct {
        const cCharaRec rec;
        int column, row;
        int inView, active;
    } cases[] = {
        {Rec(0), 1, 1, 1, 1},     // in view
        {Rec(0), 35, 12, 0, 0},   // far away
        {grouped, 2, 2, 1, 1},    // in view, flags group 7
        {grouped, 36, 13, 0, 1},  // far away, but its group is in view
    };
    for (const auto& k : cases) {
        g_listStageChara.push_back(Make(k.rec));
        cStageChara& c = g_listStageChara.back();
        c.SetBlockPos(k.column, k.row);
        c.m_bAppeared = 1;  // its appearance conditions hold
    }
    scene.m_ScrollX.m_dPos = 320.0;
    scene.m_ScrollY.m_dPos = 320.0;
    CheckAppearances(&scene);
    auto it = g_listStageChara.begin();
    for (const auto& k : cases) {
        EXPECT_EQ(it->m_nInput, k.inView);
        EXPECT_EQ(it->m_bInRange, k.active);
        ++it;
    }
    EXPECT_EQ(scene.m_vecAppearGroups[7], 1);
}

TEST_F(StageChara, AJumpWaitsFourFramesForTheCharacterToBeFree) {
    g_StageSettings.SetHitLevel(2);
    cStageChara c = Make(Rec(0));
    HEROJUMP j = {0, 0, -6.0, 0, 0, 0, 0, 0, 0, 0, 0};
    c.m_bImpact = 1;  // knocked back: the jump waits
    for (j.nSteps = 0; j.nSteps < 8; ++j.nSteps) {
        c.Jump(j);
        EXPECT_EQ(j.bEnd, 0);
    }
    c.Jump(j);  // the eighth sub-step of two per frame: four frames have passed
    EXPECT_EQ(j.bEnd, 1);
    EXPECT_EQ(j.bJumped, 1);
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, 0.0);
    // Free: the jump starts at once with the command's speed.
    HEROJUMP k = {0, 0, -6.0, 0, 0, 0, 0, 0, 0, 0, 0};
    c.m_bImpact = 0;
    c.Jump(k);
    EXPECT_EQ(k.bJumped, 1);
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, -6.0);
    EXPECT_EQ(c.m_bJumping, 1);
    EXPECT_EQ(c.m_bAirborne, 1);
}

TEST_F(StageChara, CopiesKeepTheCarriedItemAndTheOwnFields) {
    cItemRec irec;
    irec.m_wI9 = 42;
    cItem item;
    item.Init(3, irec, 1);
    cStageChara a;
    const int32_t place[4] = {1, 2, -1, 0};
    a.SetUp(5, Rec(0), &item, place, 0);
    a.m_nItemBlink = 70;
    a.m_bActivated = 1;
    std::list<cStageChara> list;
    list.push_back(a);
    const cStageChara& b = list.back();
    EXPECT_EQ(b.m_Item.m_nId, 3);
    EXPECT_EQ(b.m_Item.m_nKind, 42);
    EXPECT_EQ(b.m_Item.m_bGiven, 1);
    EXPECT_EQ(b.m_nItemBlink, 70);
    EXPECT_EQ(b.m_bActivated, 1);
    EXPECT_EQ(list.back().GetItem(), &list.back().m_Item);
    // Without a carried item the embedded item's kind value is 0.
    cStageChara none = Make(Rec(0));
    EXPECT_EQ(none.m_Item.m_nKind, 0);
    EXPECT_EQ(none.m_Item.m_bGiven, 0);
}

// A definition that names an appearance effect starts that character effect at set-up; one that
// names none leaves the effect state cleared.
TEST_F(StageChara, TheAppearanceEffectStartsAtSetUp) {
    const std::vector<CHARAEFFECTSTATE> saved = CharaEffectStates, savedReversed = CharaEffectStatesReversed;
    CHARAEFFECTSTATE prepared{};
    prepared.nTo = 32;
    prepared.dRate = 2.0;
    CharaEffectStates.assign(3, prepared);
    CharaEffectStatesReversed.assign(3, prepared);
    cCharaRec rec = Rec(0);
    rec.m_wCharaEffect1 = 2;
    cStageChara shown = Make(rec);
    EXPECT_EQ(shown.m_CharaEffect.nId, 2);
    EXPECT_EQ(shown.m_CharaEffect.nTo, 32);
    EXPECT_EQ(shown.m_CharaEffect.nRunMode, EFFECT_RUN_NORMAL);
    cStageChara plain = Make(Rec(0));
    EXPECT_EQ(plain.m_CharaEffect.nId, 0);
    EXPECT_EQ(plain.m_CharaEffect.nTo, 0);
    CharaEffectStates = saved;
    CharaEffectStatesReversed = savedReversed;
}

TEST_F(StageChara, ItemsSitCentredInTheirCellAndGivenItemsKeepScaleOne) {
    g_StageSettings.m_anValue74_84[0] = 16;
    g_StageSettings.m_anValue74_84[1] = 16;
    cItemRec rec;
    rec.m_byI16 = 2;
    cItem placed;
    placed.Init(1, rec, 0);
    EXPECT_EQ(placed.m_nWidth, 32);
    EXPECT_EQ(placed.m_nBaseGraphOffX, 8);
    EXPECT_EQ(placed.m_bFlying, 1);
    EXPECT_EQ(placed.m_bAppeared, 0);
    cItem given;
    given.Init(2, rec, 1);
    EXPECT_EQ(given.m_nWidth, 16);
    EXPECT_EQ(given.m_bAppeared, 1);
    given.SetBlockPos(3, 4);
    // The size box starts 8 dots right of and below the cell's corner.
    EXPECT_DOUBLE_EQ(given.m_dX, 13 * 32 + 8 + 0.5);
    EXPECT_DOUBLE_EQ(given.m_dY, 14 * 32 + 8);
    // A scale of 0 is taken as 1.
    rec.m_byI16 = 0;
    cItem zero;
    zero.Init(3, rec, 0);
    EXPECT_EQ(zero.m_Def.m_byI16, 1);
    EXPECT_EQ(zero.m_nWidth, 16);
}

TEST_F(StageChara, TheHerosTouchedItemIconAndTheRunningJumpHeight) {
    g_vecHero.assign(1, cHero());
    cHero& hero = g_vecHero[0];
    hero.m_nId = kHeroId;
    hero.SpawnEffect(1, 12, 2);
    ASSERT_EQ(scene.m_listMessage.size(), 1u);
    const MessageObj& m = scene.m_listMessage.front();
    EXPECT_EQ(m.m_Set.nPosMode, MSGPOS_GRAPHIC);
    EXPECT_EQ(m.m_Set.nGraphKind, 1);
    EXPECT_EQ(m.m_Set.nGraphIndex, 12);
    EXPECT_EQ(m.m_Set.nGraphFrame, 2);
    EXPECT_EQ(m.m_Set.nPlace, MSGPLACE_ABOVE_HERO);
    EXPECT_EQ(m.m_Set.nCharaId, kHeroId);
    EXPECT_EQ(m.m_Set.nFixed, 1);
    EXPECT_EQ(m.m_Set.nDispMode, kMessageTimed);
    EXPECT_EQ(m.m_nTimeLeft, 30);
    EXPECT_EQ(m.m_Set.bCountWhileHeld, 0);
    EXPECT_EQ(m.m_nWidth, 16);
    // Rule 2: the walking height below the running speed, the running height from it on.
    HEROJUMP j;
    j.nRule = 2;
    j.nHeightWalk = 2;
    j.nHeightRun = 6;
    j.nRunSpeed = 30;  // 3 dots per frame
    hero.m_dMoveX = -2.9;
    EXPECT_DOUBLE_EQ(hero.RunJumpSpeed(j), hero.JumpSpeedForHeight(32.0));
    hero.m_dMoveX = -3.0;
    EXPECT_DOUBLE_EQ(hero.RunJumpSpeed(j), hero.JumpSpeedForHeight(96.0));
    EXPECT_LT(hero.JumpSpeedForHeight(96.0), hero.JumpSpeedForHeight(32.0));
}

TEST_F(StageChara, JumpTimeAndTheStagesJumpCorrection) {
    // Gravity 0.5 at n = 1: a jump of 4 half blocks.
    cStageChara c = Make(Rec(0));
    const double plain = (-0.5 - std::sqrt((512 + 0.5) * 0.5)) * 0.5;
    EXPECT_DOUBLE_EQ(c.JumpSpeedForHalfBlocks(4), plain * 0.99);
    g_StageSettings.m_anValue2_3[0] = 2;  // correction 2: x (0.99 - 0.05)
    EXPECT_DOUBLE_EQ(c.JumpSpeedForHalfBlocks(4), plain * (0.99 - 2 * 0.025));
    c.m_Def.m_byC33 = 1;  // this character ignores it
    EXPECT_DOUBLE_EQ(c.JumpSpeedForHalfBlocks(4), plain);
    // The time: frames until it has fallen back, in tenths of a second (frames / 6 + 1).
    const int frames = cChara::FallFrames(c.JumpSpeedForHalfBlocks(4));
    EXPECT_EQ(c.JumpDuration(4), frames / 6 + 1);
}

// A main command of a kind with its two parameters.
cFlowCmd Cmd(int kind, int p0 = 0, int p1 = 0) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_vecParams = {p0, p1};
    return c;
}

std::string Kinds(const std::vector<cFlowCmd>& cmds) {
    std::string s;
    for (const cFlowCmd& c : cmds) s += std::to_string(c.m_cKind) + " ";
    return s;
}

TEST(LoopUnroll, LoopsRepeatTheirBlock) {
    struct {
        std::vector<cFlowCmd> cmds;
        std::string after;
    } cases[] = {
        {{Cmd(1), Cmd(39, 3, 2), Cmd(2), Cmd(3), Cmd(4)}, "1 2 3 2 3 2 3 4 "},
        {{Cmd(39, 1, 1), Cmd(2)}, "2 "},                          // once: nothing inserted
        {{Cmd(39, 0, 1), Cmd(2)}, "2 "},                          // 0 or less: nothing inserted
        {{Cmd(39, 3, 9), Cmd(2)}, "2 2 2 "},                      // k cut to what follows
        {{Cmd(39, 2, 0), Cmd(2)}, "2 "},                          // no block
        {{Cmd(39, 2, 2), Cmd(39, 2, 1), Cmd(5)}, "5 5 5 5 "},     // nested
        {{Cmd(2), Cmd(3)}, "2 3 "},
    };
    for (auto& c : cases) {
        ExpandLoopCommands(c.cmds);
        EXPECT_EQ(Kinds(c.cmds), c.after);
    }
    // Instant commands loop with kind 24.
    std::vector<cFlowCmd> items = {Cmd(24, 2, 1), Cmd(7)};
    for (cFlowCmd& c : items) c.m_byInstant = 1;
    EXPECT_EQ(ExpandFirstLoop(items), 1);
    EXPECT_EQ(Kinds(items), "7 7 ");
    EXPECT_EQ(ExpandFirstLoop(items), 0);
}

TEST(LoopUnroll, HugeCountsStopAtTheCommandLimit) {
    std::vector<cFlowCmd> cmds = {Cmd(39, 1000000, 2), Cmd(39, 1000000, 1), Cmd(2)};
    ExpandLoopCommands(cmds);
    EXPECT_LE(cmds.size(), kMaxUnrolledCommands);
    EXPECT_GT(cmds.size(), kMaxUnrolledCommands / 2);
    for (const cFlowCmd& c : cmds) EXPECT_EQ(c.m_cKind, 2);
}

}  // namespace
