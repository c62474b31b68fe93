// Running flows: instances built with their durations, the steps of
// a flow (wait length, run-with-next, the last command ending the flow), stop, suspend, resume
// and stop-forever, the flow walk of a character, trigger 18 and the start rule's one start per
// frame and its groups.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "flow/flow.h"
#include "flow/flow_run.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

cFlowCmd Cmd(int kind, int time = 0, int withNext = 0, std::vector<int32_t> params = {}) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.m_byWithNext = (uint8_t)withNext;
    c.m_vecParams = params;
    return c;
}

class FlowRun : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(3);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_SystemData.m_nWord31 = g_SystemData.m_nWord34 = 0;
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    // A character with one flow of the given trigger, group and commands.
    cChara& Chara(std::vector<cFlowCmd> cmds, int trigger = 0, int group = 0) {
        cFlow f;
        f.m_cTrigger = (int8_t)trigger;
        f.m_cGroup = (int8_t)group;
        f.m_vecCmds = cmds;
        chara.m_Def.m_vecFlows.assign(1, f);
        for (auto& v : chara.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
        chara.m_nHP = 1;
        chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
        return chara;
    }
    // Steps the flow until it reports its end; the number of steps taken.
    int StepsToEnd(cFlowRun& run, int limit = 100000) {
        for (int i = 1; i <= limit; ++i)
            if (run.Step(chara)) return i;
        return -1;
    }
    cPlayScene scene;
    cChara chara;
};

TEST_F(FlowRun, AWaitOfOneSecondAtHitLevelThreeTakes180Steps) {
    cChara& c = Chara({Cmd(1, 10)});
    ASSERT_EQ(c.m_vecFlowRun.size(), 1u);
    cFlowRun& run = c.m_vecFlowRun[0];
    EXPECT_EQ(run.m_vecCmd[0].nDuration, 180);
    run.Start(c);
    EXPECT_EQ(StepsToEnd(run), 180);
    // A wait of time 0 lasts one step.
    cChara& z = Chara({Cmd(1, 0)});
    z.m_vecFlowRun[0].Start(z);
    EXPECT_EQ(StepsToEnd(z.m_vecFlowRun[0]), 1);
}

TEST_F(FlowRun, DurationsGrowWithTheCloneValueAndAreHeldWide) {
    chara.m_sCloneValue = 2;
    cFlowCmd wait = Cmd(1, 10);
    wait.m_wTimeStep = 5;  // + 5 tenths per clone value
    cChara& c = Chara({wait});
    EXPECT_EQ(c.m_vecFlowRun[0].m_vecCmd[0].nDuration, (10 + 5 * 2) * 6 * 3);
    chara.m_sCloneValue = -100;  // a negative time runs once
    EXPECT_EQ(CmdDuration(wait, -100), 0);
    wait.m_wTime = 65535;
    wait.m_wTimeStep = 32767;
    EXPECT_EQ(CmdDuration(wait, 32767), kMaxCmdSteps);
}

TEST_F(FlowRun, RunWithNextCommandsStartInTheSameStep) {
    // Three commands that run with the next and one that does not: all four run at step 1.
    cChara& c = Chara({Cmd(1, 1, 1), Cmd(1, 2, 1), Cmd(1, 3, 1), Cmd(1, 1)});
    cFlowRun& run = c.m_vecFlowRun[0];
    run.Start(c);
    EXPECT_EQ(run.Step(c), 0);
    EXPECT_EQ(run.m_nCurrent, 3);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(run.m_vecCmd[(size_t)i].nRemaining, run.m_vecCmd[(size_t)i].nDuration - 1) << i;
    // The flow ends when its last command ends (after 18 steps), not when the longest one would.
    EXPECT_EQ(StepsToEnd(run), 17);
    // A command that does not run with the next holds the next one back by a step.
    cChara& d = Chara({Cmd(1, 0), Cmd(1, 0)});
    cFlowRun& r2 = d.m_vecFlowRun[0];
    r2.Start(d);
    EXPECT_EQ(r2.Step(d), 0);
    EXPECT_EQ(r2.Step(d), 1);
}

TEST_F(FlowRun, StopSuspendResumeAndStopForever) {
    cChara& c = Chara({Cmd(1, 10)}, 0, 3);
    cFlowRun& run = c.m_vecFlowRun[0];
    c.RunFlowsOfTrigger(0);
    ASSERT_TRUE(run.m_bRunning);
    EXPECT_EQ(c.m_avecGroupStop[0][3], 1);  // the group is busy
    c.StepFlowRuns(0);
    const int left = run.m_vecCmd[0].nRemaining;
    run.Suspend();
    c.StepFlowRuns(0);
    EXPECT_EQ(run.m_vecCmd[0].nRemaining, left);
    run.Resume();
    c.StepFlowRuns(0);
    EXPECT_EQ(run.m_vecCmd[0].nRemaining, left - 1);
    // Stop: idle, its time cleared, the group released at the end of the walk.
    run.Stop(c);
    EXPECT_FALSE(run.m_bRunning);
    EXPECT_EQ(run.m_vecCmd[0].nRemaining, 0);
    EXPECT_EQ(c.m_avecGroupStop[1][3], 1);
    c.StepFlowRuns(0);
    EXPECT_EQ(c.m_avecGroupStop[0][3], 0);
    EXPECT_EQ(c.m_avecGroupStop[1][3], 0);
    // Stop-forever: never steps or starts again.
    c.ClearFlowRunFlags();
    c.RunFlowsOfTrigger(0);
    ASSERT_TRUE(run.m_bRunning);
    run.StopForever(c);
    c.StepFlowRuns(0);
    EXPECT_EQ(run.m_vecCmd[0].nRemaining, 0);
    run.Stop(c);
    c.ClearFlowRunFlags();
    c.RunFlowsOfTrigger(0);
    EXPECT_FALSE(run.m_bRunning);
    EXPECT_TRUE(run.m_bHalted);
}

TEST_F(FlowRun, AFlowStartsAtMostOncePerFrameAndNeverForTrigger19) {
    for (int guards : {0, 1, 2, 3}) {
        g_SystemData.m_nWord31 = guards & 1;
        g_SystemData.m_nWord34 = (guards >> 1) & 1;
        cChara& c = Chara({Cmd(1, 0)}, 1);
        cFlowRun& run = c.m_vecFlowRun[0];
        c.RunFlowsOfTrigger(1);
        ASSERT_TRUE(run.m_bRunning) << guards;
        c.StepFlowRuns(0);  // the one-step flow ends
        ASSERT_FALSE(run.m_bRunning);
        c.RunFlowsOfTrigger(1);
        EXPECT_FALSE(run.m_bRunning) << guards;
        c.ClearFlowRunFlags();
        c.RunFlowsOfTrigger(1);
        EXPECT_TRUE(run.m_bRunning) << guards;
    }
    cChara& never = Chara({Cmd(1, 0)}, 19);
    for (int t = 0; t <= 19; ++t) never.RunFlowsOfTrigger(t);
    EXPECT_FALSE(never.m_vecFlowRun[0].m_bRunning);
}

TEST_F(FlowRun, TwoFlowsOfOneGroupTakeTurns) {
    cFlow a;
    a.m_cGroup = 2;
    a.m_vecCmds = {Cmd(1, 0)};
    cFlow b = a;
    chara.m_Def.m_vecFlows = {a, b};
    for (auto& v : chara.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    chara.m_nHP = 1;
    chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
    chara.RunFlowsOfTrigger(0);
    EXPECT_TRUE(chara.m_vecFlowRun[0].m_bRunning);
    EXPECT_FALSE(chara.m_vecFlowRun[1].m_bRunning);
    chara.StepFlowRuns(0);  // the first ends and its group is released at the end of the walk
    chara.ClearFlowRunFlags();
    chara.RunFlowsOfTrigger(0);
    EXPECT_TRUE(chara.m_vecFlowRun[0].m_bRunning != chara.m_vecFlowRun[1].m_bRunning);
}

TEST_F(FlowRun, BeforeStageStartOnlyRunWithNextCommandsOfKind16AndAboveRun) {
    cChara& c = Chara({Cmd(1, 5, 1), Cmd(17, 5, 1), Cmd(20, 5, 0), Cmd(35, 5, 1)}, 18);
    c.RunFlowsOfTrigger(18);
    cFlowRun& run = c.m_vecFlowRun[0];
    EXPECT_FALSE(run.m_bRunning);  // stopped at once
    EXPECT_EQ(run.m_vecCmd[0].bDone, 0);
    EXPECT_EQ(run.m_vecCmd[1].bDone, 1);
    EXPECT_EQ(run.m_vecCmd[2].bDone, 0);
    EXPECT_EQ(run.m_vecCmd[3].bDone, 1);
    // A start from inside its own start is refused rather than recursing.
    run.m_bStarting = 1;
    run.Start(c);
    EXPECT_FALSE(run.m_bRunning);
    run.m_bStarting = 0;
}

TEST_F(FlowRun, LoopsAreUnrolledWhenTheFlowsAreGiven) {
    // [L(3, 1), wait 1, wait 2] -> wait 1 three times, then wait 2.
    cChara& c = Chara({Cmd(39, 0, 0, {3, 1}), Cmd(1, 1), Cmd(1, 2)});
    ASSERT_EQ(c.m_Def.m_vecFlows[0].m_vecCmds.size(), 4u);
    ASSERT_EQ(c.m_vecFlowRun[0].m_vecCmd.size(), 4u);
    EXPECT_EQ(c.m_Def.m_vecFlows[0].m_vecCmds[2].m_wTime, 1);
    EXPECT_EQ(c.m_Def.m_vecFlows[0].m_vecCmds[3].m_wTime, 2);
    EXPECT_EQ(c.m_vecFlowRun[0].m_vecCmd[3].nDuration, 2 * 6 * 3);
}

TEST_F(FlowRun, FlowSetsAreInsertedAndInstancesFollowCopies) {
    cChara& c = Chara({Cmd(1, 1)});
    cFlow extra;
    extra.m_vecCmds = {Cmd(1, 2), Cmd(1, 3)};
    c.BuildFlowRuns({extra}, 1, 0);
    ASSERT_EQ(c.m_Def.m_vecFlows.size(), 2u);
    ASSERT_EQ(c.m_vecFlowRun.size(), 2u);
    EXPECT_EQ(c.m_vecFlowRun[0].m_vecCmd.size(), 2u);
    EXPECT_EQ(c.m_vecFlowRun[1].m_nFlowIndex, 1);
    EXPECT_EQ(c.m_vecFlowRun[0].m_bKeysHeld, 1);  // given during play: a held key does not start it
    EXPECT_NE(c.m_vecFlowRun[0].m_nFlowId, c.m_vecFlowRun[1].m_nFlowId);
    // A copy runs on its own flows.
    c.RunFlowsOfTrigger(0);
    cChara copy(c);
    EXPECT_EQ(copy.m_vecFlowRun[0].Flow(copy), &copy.m_Def.m_vecFlows[0]);
    EXPECT_TRUE(copy.m_vecFlowRun[0].m_bRunning);
    // Ending a flow removes it with its instance; the others move down.
    c.EndRunningFlow(0);
    ASSERT_EQ(c.m_vecFlowRun.size(), 1u);
    EXPECT_EQ(c.m_Def.m_vecFlows[0].m_vecCmds[0].m_wTime, 1);
    EXPECT_EQ(c.m_vecFlowRun[0].m_nFlowIndex, 0);
    // Out of range: reported, nothing removed.
    c.EndRunningFlow(5);
    EXPECT_EQ(c.m_vecFlowRun.size(), 1u);
}

TEST_F(FlowRun, StopFlowsRemovesAGroupAndAnswersWhereItStood) {
    cFlow f0, f1, f2;
    f1.m_cGroup = 4;
    f2.m_cGroup = 4;
    for (cFlow* f : {&f0, &f1, &f2}) f->m_vecCmds = {Cmd(1, 1)};
    chara.m_Def.m_vecFlows = {f0, f1, f2};
    for (auto& v : chara.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1);
    EXPECT_EQ(chara.StopFlows(4), 1);
    EXPECT_EQ(chara.m_vecFlowRun.size(), 1u);
    EXPECT_EQ(chara.StopFlows(9), -1);
    EXPECT_EQ(chara.StopFlows(0), 0);
    EXPECT_TRUE(chara.m_vecFlowRun.empty());
    EXPECT_TRUE(chara.m_Def.m_vecFlows.empty());
}

TEST_F(FlowRun, AFlowFlaggedForDeletionGoesAtTheEndOfTheWalk) {
    cChara& c = Chara({Cmd(1, 10)});
    c.RunFlowsOfTrigger(0);
    c.m_vecFlowRun[0].m_bDelete = 1;
    c.m_bFlowDeletePending = 1;
    EXPECT_EQ(c.StepFlowRuns(0), 0);
    EXPECT_TRUE(c.m_vecFlowRun.empty());
    EXPECT_TRUE(c.m_Def.m_vecFlows.empty());
}

TEST_F(FlowRun, TheWalkEndsTheCharacterOnItsEndRequestOrLostHitPoints) {
    cChara& c = Chara({Cmd(1, 10)});
    c.RunFlowsOfTrigger(0);
    c.m_nHP = 0;
    EXPECT_EQ(c.StepFlowRuns(0), 1);
    // A dying character steps only its death flows.
    cChara& d = Chara({Cmd(1, 10)});
    d.RunFlowsOfTrigger(0);
    const int left = d.m_vecFlowRun[0].m_vecCmd[0].nRemaining;
    d.StepFlowRuns(1);
    EXPECT_EQ(d.m_vecFlowRun[0].m_vecCmd[0].nRemaining, left);
}

}  // namespace
