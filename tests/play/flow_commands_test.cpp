// The flow operation, stage clear, warp, target, status operation 2, vanish and get-item
// commands, each as a table of start state and state after the command, and the status
// condition on narrow words compared in their own width.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/scene_manager.h"
#include "core/report.h"
#include "flow/cmd_flow_game.h"
#include "flow/cmd_target_status.h"
#include "flow/flow.h"
#include "flow/flow_cond.h"
#include "flow/flow_run.h"
#include "play/block_map.h"
#include "play/chara_def.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_chara.h"
#include "play/stage_end.h"
#include "play/stage_objects.h"
#include "play/status_ops.h"
#include "records/common_palette.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/world_map.h"

namespace {

const double kDiag = 1.0 / std::sqrt(2.0);

cFlowCmd Cmd(int kind, std::vector<int32_t> params = {}, int time = 0) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.m_vecParams = params;
    return c;
}

cFlow FlowOf(std::vector<cFlowCmd> cmds, int id = 0) {
    cFlow f;
    f.m_byId = (uint8_t)id;
    f.m_vecCmds = cmds;
    return f;
}

class FlowCommands : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        // A 40 x 15 stage: a margin of 10 blocks around it.
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        scene.m_ScrollX.m_dPos = scene.m_ScrollY.m_dPos = 320.0;  // the view on the stage's corner
        g_lpPlayScene = &scene;
        g_LoadedStage = cStage();
        BuildBlockMap();
        g_vecHero.assign(1, cHero());
        Setup(g_vecHero[0], kHeroId, 0, 20, 10);
        g_listStageChara.clear();
        for (int i = 0; i < 3; ++i) {
            g_listStageChara.emplace_back();
            Setup(g_listStageChara.back(), 100 + i, 1, 14 + 2 * i, 10);
        }
        for (cHero& h : g_vecHero) scene.AddToGroup(&h);
        for (cStageChara& c : g_listStageChara) scene.AddToGroup(&c);
        savedVars = g_SaveData.m_vecCommonVars;
        g_SaveData.m_vecCommonVars.assign(11, 0);
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_vecBlockMap.clear();
        scene.m_listShot.clear();
        g_LoadedStage = cStage();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
        g_SaveData.m_vecCommonVars = savedVars;
        g_NextStageStart = NEXTSTAGESTART{};
    }
    // A walking 32 x 32 character on the stage cell (column, row).
    void Setup(cChara& c, int id, int group, int column, int row) {
        c.m_nId = id;
        c.m_nGroup = group;
        c.m_nBaseWidth = c.m_nBaseHeight = c.m_nWidth = c.m_nHeight = 32;
        c.m_nBaseGraphWidth = c.m_nBaseGraphHeight = c.m_nGraphWidth = c.m_nGraphHeight = 32;
        c.m_nBlockSide = 1;
        c.m_bAppeared = 1;
        c.m_bInRange = 1;
        c.m_nHP = 10;
        c.m_Def.m_nC39 = 10;
        c.m_Def.m_byC35 = 1;
        for (auto& v : c.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
        Put(c, (10 + column) * 32.0, (10 + row) * 32.0);
    }
    void Put(cChara& c, double x, double y) {
        c.m_dX = x, c.m_dY = y;
        c.ClampX();
        c.ClampY();
        c.GetGraphicRect();
    }
    cStageChara& Chara(int i) { return *std::next(g_listStageChara.begin(), i); }
    cHero& Hero() { return g_vecHero[0]; }
    void Solid(int column, int row) {
        g_vecBlockMap.at(((size_t)(row + 10) << scene.m_ScrollX.m_nRowShift) + (size_t)(column + 10)).m_byB12 = 1;
    }
    cPlayScene scene;
    std::vector<int32_t> savedVars;
};

// ---- flow operations ----

TEST_F(FlowCommands, FlowOperationsActOnTheFlowsTheyName) {
    // Flow 0 runs the operation; flows 1 (ID 5) and 2 (no ID) wait. What each flow is afterwards:
    // r running, s suspended, d flagged for deletion, h halted, - stopped.
    struct Case {
        int op, target, id;
        const char* after;  // flows 0, 1, 2
    } cases[] = {
        {FLOWOP_END, FLOWOP_THIS, 0, "-rr"},
        {FLOWOP_END, FLOWOP_OTHERS, 0, "r--"},
        {FLOWOP_END, FLOWOP_BY_ID, 5, "r-r"},
        {FLOWOP_END, FLOWOP_BY_ID, 0, "rrr"},   // ID 0 names no flow
        {FLOWOP_SUSPEND, FLOWOP_OTHERS, 0, "rss"},
        {FLOWOP_DELETE, FLOWOP_BY_ID, 5, "rdr"},
        {FLOWOP_HALT, FLOWOP_OTHERS, 0, "rhh"},
        {FLOWOP_RESUME, FLOWOP_OTHERS, 0, "rrr"},  // resuming what is not suspended changes nothing
        {9, FLOWOP_OTHERS, 0, "rrr"},              // unknown operation
        {FLOWOP_END, 7, 0, "rrr"},                 // unknown target
    };
    for (const Case& k : cases) {
        cStageChara& c = Chara(0);
        c.m_Def.m_vecFlows = {FlowOf({Cmd(16, {k.op, k.target, k.id}), Cmd(1, {}, 10)}),
                              FlowOf({Cmd(1, {}, 10)}, 5), FlowOf({Cmd(1, {}, 10)})};
        c.BuildFlowRuns(c.m_Def.m_vecFlows, 0, -1);
        for (cFlowRun& r : c.m_vecFlowRun) r.Start(c);
        c.m_vecFlowRun[0].Step(c);
        std::string got;
        for (const cFlowRun& r : c.m_vecFlowRun)
            got += r.m_bDelete ? 'd' : r.m_bHalted ? 'h' : r.m_bSuspended ? 's' : r.m_bRunning ? 'r' : '-';
        EXPECT_EQ(got, k.after) << "op " << k.op << " target " << k.target << " id " << k.id;
    }
}

TEST_F(FlowCommands, AFlowThatRestartsItselfBeginsAgainAtTheNextStep) {
    cStageChara& c = Chara(0);
    c.m_Def.m_vecFlows = {FlowOf({Cmd(1), Cmd(1), Cmd(16, {FLOWOP_START, FLOWOP_THIS, 0})})};
    c.BuildFlowRuns(c.m_Def.m_vecFlows, 0, -1);
    cFlowRun& run = c.m_vecFlowRun[0];
    run.Start(c);
    FLOWANIME anime{};
    anime.nFlowId = run.m_nFlowId;
    c.m_listFlowAnime.push_back(anime);
    EXPECT_EQ(run.Step(c), 0);
    EXPECT_EQ(run.Step(c), 0);
    EXPECT_EQ(run.Step(c), 0);  // the restart: the flow goes on, nothing of it is done
    EXPECT_TRUE(run.m_bRunning);
    EXPECT_EQ(run.m_nCurrent, 0);
    for (const CMDINSTANCE& i : run.m_vecCmd) EXPECT_EQ(i.bDone, 0);
    EXPECT_TRUE(c.m_listFlowAnime.empty());  // its animations went with the restart
    EXPECT_EQ(run.Step(c), 0);  // the first command, alone
    EXPECT_EQ(run.m_vecCmd[0].bDone, 1);
    EXPECT_EQ(run.m_vecCmd[1].bDone, 0);
    EXPECT_EQ(run.m_nCurrent, 1);
}

TEST_F(FlowCommands, AFlowThatSuspendsOrDeletesItselfStopsAfterTheCommand) {
    cStageChara& c = Chara(0);
    c.m_Def.m_vecFlows = {FlowOf({Cmd(1), Cmd(16, {FLOWOP_SUSPEND, FLOWOP_THIS, 0})}),
                          FlowOf({Cmd(16, {FLOWOP_DELETE, FLOWOP_THIS, 0}), Cmd(1, {}, 10)}, 3)};
    c.BuildFlowRuns(c.m_Def.m_vecFlows, 0, -1);
    for (cFlowRun& r : c.m_vecFlowRun) r.Start(c);
    c.StepFlowRuns(0);
    c.StepFlowRuns(0);
    // The suspended flow stays running (its last command done) and ends once resumed.
    ASSERT_EQ(c.m_vecFlowRun.size(), 1u);  // the deleting flow left with its flow
    ASSERT_EQ(c.m_Def.m_vecFlows.size(), 1u);
    cFlowRun& run = c.m_vecFlowRun[0];
    EXPECT_TRUE(run.m_bRunning);
    EXPECT_TRUE(run.m_bSuspended);
    run.Resume();
    EXPECT_EQ(run.Step(c), 1);
}

// ---- stage clear ----

TEST_F(FlowCommands, StageClearChoosesTheNextStageOnACopyOfItsText) {
    g_LoadedStage.m_strFilePath = "data\\stg4\\road-2.stg4_001";
    struct Case {
        int mode, number;
        const char* text;
        int next;
        int ownBase;
        const char* base;
    } cases[] = {
        {0, 0, "", 3, 0, ""},
        {1, 7, "", 7, 0, ""},
        {3, 0, "", 0, 0, ""},
        {2, 0, "data\\stg4\\other.stg4_000", 2, 1, "data\\stg4\\other."},
    };
    for (const Case& k : cases) {
        scene.m_bNextStageSet = 0;
        scene.m_bOwnBase = 0;
        scene.m_strOwnBase = "old.";
        cFlowCmd cmd = Cmd(17, {k.mode, k.number, 0, 0, 0, 0, 0, 0, 0});
        cmd.m_strText = k.text;
        EXPECT_EQ(FlowCmdStageClearImpl(cmd), 1);
        EXPECT_EQ(cmd.m_strText, k.text);  // the stored command keeps its path
        EXPECT_EQ(NextStageNumber(), k.next) << k.mode;
        EXPECT_EQ(scene.m_bOwnBase, k.ownBase) << k.mode;
        EXPECT_EQ(scene.m_strOwnBase, k.base) << k.mode;
    }
    // An unknown mode changes neither.
    scene.m_nNextStage = 9;
    FlowCmdStageClearImpl(Cmd(17, {8, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(NextStageNumber(), 9);
    // The main command writes its 1 into the request word.
    CMDINSTANCE inst;
    cFlowCmd cmd = Cmd(17, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    inst.lpCmd = &cmd;
    FlowCmdStageClear(Chara(0), inst);
    EXPECT_EQ(scene.m_nRequest, PLAY_REQ_GAMEEND);
}

TEST_F(FlowCommands, StageClearSetsTheMapPositionAndTheNextStart) {
    const cWorldMap savedMap = g_WorldMap;
    g_WorldMap.m_nWidth = 20;
    g_WorldMap.m_nHeight = 15;
    g_SaveData.m_nMapX = g_SaveData.m_nMapY = 1;
    FlowCmdStageClearImpl(Cmd(17, {0, 0, 1, 40, 3, 1, 6, 4, 1}));
    EXPECT_EQ(g_SaveData.m_nMapX, 19);  // held inside the map
    EXPECT_EQ(g_SaveData.m_nMapY, 3);
    EXPECT_EQ(g_NextStageStart.bSet, 1);
    EXPECT_EQ(g_NextStageStart.nX, 6);
    EXPECT_EQ(g_NextStageStart.nY, 4);
    EXPECT_EQ(g_NextStageStart.nDir, 1);
    // Facing 2: the way hero 0 faces now; no map position asked for: it stays.
    Hero().m_nDir = 0;
    FlowCmdStageClearImpl(Cmd(17, {0, 0, 0, 5, 5, 1, 2, 2, 2}));
    EXPECT_EQ(g_SaveData.m_nMapX, 19);
    EXPECT_EQ(g_NextStageStart.nDir, 0);
    // No start position: the request is cleared.
    FlowCmdStageClearImpl(Cmd(17, {0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(g_NextStageStart.bSet, 0);
    g_WorldMap = savedMap;
}

// ---- warp ----

cFlowCmd Warp(int mode, int dir, int dist, int coord = 0, int bx = 0, int dx = 0, int by = 0, int dy = 0) {
    cFlowCmd c = Cmd(20);
    c.CreateEdMove();
    cEdMove& m = *c.m_pMove;
    m.MoveMode() = (uint8_t)mode;
    m.DirectionCode() = (uint8_t)dir;
    m.Distance() = (uint16_t)dist;
    m.DistanceStep() = 0;
    m.CoordMode() = (uint8_t)coord;
    m.TargetXBlocks() = (uint16_t)bx;
    m.TargetXDots() = (uint16_t)dx;
    m.TargetYBlocks() = (uint16_t)by;
    m.TargetYDots() = (uint16_t)dy;
    return c;
}

TEST_F(FlowCommands, WarpsMoveToFreePlacesAndLeaveBlockedOnesAlone) {
    // Character 0 stands on stage cell (14, 10): x 768, y 640. Its target is character 2 (18, 10).
    Solid(14, 6);  // a solid block 8 half blocks above it
    struct Case {
        const char* what;
        cFlowCmd cmd;
        int target;
        double x, y;
        int fixed;
    } cases[] = {
        {"right by 4 half blocks", Warp(0, 3, 4), 0, 832, 640, 0},
        {"down-left, walking too", Warp(0, 9, 2), 0, 768 - 32 * kDiag, 640 + 32 * kDiag, 0},
        {"up into a solid block", Warp(0, 6, 8), 0, 768, 640, 0},
        {"left out of the stage", Warp(0, 2, 64), 0, 768, 640, 0},
        {"no direction", Warp(0, 40, 4), 0, 768, 640, 0},
        {"from the target, left", Warp(1, 2, 2), 1, 864, 640, 0},
        {"from the target without one", Warp(1, 2, 2), 0, 768, 640, 0},
        {"relative coordinates", Warp(2, 0, 0, 0, 1, 5, -1, 0), 0, 805, 608, 0},
        {"absolute coordinates", Warp(2, 0, 0, 1, 3, 2, 4, 0), 0, 418.5, 448, 0},
        {"screen coordinates", Warp(2, 0, 0, 2, 0, 100, 0, 50), 0, -1, -1, 1},
    };
    for (const Case& k : cases) {
        cStageChara& c = Chara(0);
        Put(c, 768, 640);
        c.m_nTargetId = k.target ? Chara(2).m_nId : -1;
        c.m_abFixScreen[0] = c.m_abFixScreen[1] = 1;
        FlowCmdWarpImpl(c, k.cmd);
        if (k.x >= 0) {
            EXPECT_NEAR(c.m_dX, k.x, 1e-9) << k.what;
            EXPECT_NEAR(c.m_dY, k.y, 1e-9) << k.what;
        } else {
            // On the screen where the command says, whatever the view's place.
            EXPECT_EQ(c.m_nRectLeft, 100) << k.what;
            EXPECT_EQ(c.m_nRectTop, 50) << k.what;
        }
        EXPECT_DOUBLE_EQ(c.m_dRight, c.m_dX + 31) << k.what;
        if (k.fixed) {
            EXPECT_EQ(c.m_abFixScreen[0], 1) << k.what;
            EXPECT_EQ(c.m_anFixScreen[0], c.m_nRectLeft) << k.what;
            EXPECT_EQ(c.m_anFixScreen[1], c.m_nRectTop) << k.what;
        } else if (k.target || k.cmd.m_pMove->MoveMode() != 1) {
            EXPECT_EQ(c.m_abFixScreen[0], 0) << k.what;
        }
    }
}

// ---- targets ----

TEST_F(FlowCommands, SetTargetFindsTheNearestCharacterThroughItsFilters) {
    // Character 0 at column 14; characters 1 (16) and 2 (18) of group 1, the hero (20) of group 0.
    cStageChara& c = Chara(0);
    c.m_nGroup = 2;
    for (cChara* g : {&c}) {
        scene.m_vecCharaGroup[1].remove(g);
        scene.m_vecCharaGroup[2].push_back(g);
    }
    charadef::CharaIdField(Chara(2).m_Def) = 9;
    Chara(1).m_vecVar = {0, 4};
    Chara(2).m_vecVar = {0, 6};
    for (cChara* g : {(cChara*)&Hero(), (cChara*)&Chara(1), (cChara*)&Chara(2)}) g->m_bAlwaysActive = 1;
    auto params = [](int how, int side, int bySide, int sideOnly, int byId, int id, int byVar, int op, int value, int keep) {
        std::vector<int32_t> p(15, 0);
        p[0] = how, p[1] = side, p[2] = bySide, p[3] = sideOnly, p[4] = byId, p[9] = id;
        p[5] = byVar, p[6] = 1, p[7] = op, p[12] = value, p[14] = keep;
        return p;
    };
    struct Case {
        const char* what;
        std::vector<int32_t> p;
        int before, after;
    } cases[] = {
        {"hero 0", params(0, 0, 0, 0, 0, 0, 0, 0, 0, 0), -1, kHeroId},
        {"kept", params(1, 0, 0, 0, 0, 0, 0, 0, 0, 0), 101, 101},
        {"the nearest of all", params(2, 0, 0, 0, 0, 0, 0, 0, 0, 0), -1, 101},
        {"the nearest of side 0", params(2, 0, 0, 1, 0, 0, 0, 0, 0, 0), -1, kHeroId},
        {"by character ID", params(2, 0, 0, 0, 1, 9, 0, 0, 0, 0), -1, 102},
        {"by variable 1 >= 5", params(2, 0, 0, 0, 0, 0, 1, 2, 5, 0), -1, 102},
        {"the sides in turn", params(2, 0, 1, 0, 0, 0, 0, 0, 0, 0), -1, kHeroId},
        {"none found: released", params(2, 0, 0, 0, 1, 50, 0, 0, 0, 0), 101, -1},
        {"none found: kept", params(2, 0, 0, 0, 1, 50, 0, 0, 0, 1), 101, 101},
        {"no target", params(4, 0, 0, 0, 0, 0, 0, 0, 0, 0), 101, -1},
    };
    for (const Case& k : cases) {
        for (cChara* g : {(cChara*)&Hero(), (cChara*)&Chara(1), (cChara*)&Chara(2)}) g->m_vecTargetedBy.clear();
        c.m_nTargetId = k.before;
        if (cChara* old = FindObjectById(k.before)) old->m_vecTargetedBy = {c.m_nId};
        FlowCmdSetTargetImpl(c, k.p);
        EXPECT_EQ(c.m_nTargetId, k.after) << k.what;
        // Only the new target records the character among those that target it.
        for (cChara* g : {(cChara*)&Hero(), (cChara*)&Chara(1), (cChara*)&Chara(2)})
            EXPECT_EQ(g->m_vecTargetedBy.size(), g->m_nId == k.after ? 1u : 0u) << k.what << " " << g->m_nId;
    }
}

// ---- status operation 2 ----

TEST_F(FlowCommands, StatusOperationTwoSetsTheSubjectsFlags) {
    cStageChara& c = Chara(0);
    cStageChara& t = Chara(1);
    c.m_nTargetId = t.m_nId;
    FlowCmdStatusOp2Impl(c, {0, 1, 1});
    EXPECT_EQ(c.m_byHidden, 1);
    FlowCmdStatusOp2Impl(c, {1, 2, 1});
    EXPECT_EQ(t.m_byFixedFacing, 1);
    FlowCmdStatusOp2Impl(c, {1, 4, 1});
    EXPECT_TRUE(t.IsInvincible());
    t.TickInvincible();
    EXPECT_TRUE(t.IsInvincible());  // held until set back
    FlowCmdStatusOp2Impl(c, {1, 4, 0});
    EXPECT_FALSE(t.IsInvincible());
    FlowCmdStatusOp2Impl(c, {0, 6, 1});
    EXPECT_EQ(c.m_bScrollSync, 1);
    EXPECT_EQ(charadef::ScrollSync(c.m_Def), 1);
    FlowCmdStatusOp2Impl(c, {0, 5, 2});
    EXPECT_EQ(charadef::Scale(c.m_Def), 2);
    EXPECT_EQ(c.m_nWidth, 64);
    FlowCmdStatusOp2Impl(c, {0, 5, 99});
    EXPECT_EQ(charadef::Scale(c.m_Def), kMaxCommandScale);
    // Subject 1 without a target: nothing.
    c.m_nTargetId = -1;
    c.m_byHidden = 0;
    FlowCmdStatusOp2Impl(c, {1, 1, 1});
    FlowCmdStatusOp2Impl(c, {1, 0, 0});
    EXPECT_EQ(t.m_byHidden, 0);
    EXPECT_EQ(t.m_bEndRequest, 0);
    EXPECT_EQ(scene.m_bDeathCheck, 0);
    // The system: the scroll speeds, held to -480 .. 480.
    FlowCmdStatusOp2Impl(c, {2, 0, 900});
    EXPECT_EQ(g_StageSettings.m_nAutoScrollSpeedX, 480);
    FlowCmdStatusOp2Impl(c, {2, 1, -30});
    EXPECT_EQ(g_StageSettings.m_nAutoScrollSpeedY, -30);
}

// ---- vanish ----

TEST_F(FlowCommands, VanishOfSelfAndOfOthers) {
    cStageChara& self = Chara(0);
    self.m_nGroup = 1;
    Chara(1).m_nInput = 1;  // in view
    Chara(2).m_nInput = 0;
    // Side 1, in view only: itself and character 1; character 2 stays.
    FlowCmdVanishImpl(self, {0, 1, 0});
    EXPECT_EQ(self.m_bVanishOnEnd, 0);  // not in view itself
    EXPECT_EQ(Chara(1).m_bVanishOnEnd, 1);
    EXPECT_EQ(Chara(1).m_bEndRequest, 1);
    EXPECT_EQ(Chara(2).m_bVanishOnEnd, 0);
    EXPECT_EQ(scene.m_bDeathCheck, 1);  // another character: the death check is asked for
    // Its own vanish asks for no death check; a vanished character ends at its next flow pass
    // even without a running flow.
    scene.m_bDeathCheck = 0;
    self.m_nInput = 1;
    FlowCmdStatusOp2Impl(self, {0, 0, 0});
    EXPECT_EQ(self.m_bVanishOnEnd, 1);
    EXPECT_EQ(scene.m_bDeathCheck, 0);
    EXPECT_EQ(self.RunFlows(0), 1);
    // The hero of side 0: its HP becomes 0.
    FlowCmdVanishImpl(self, {0, 0, 1});
    EXPECT_EQ(Hero().m_nHP, 0);
    // Sides outside 0-7 and unknown kinds: nothing.
    FlowCmdVanishImpl(self, {0, 8, 1});
    FlowCmdVanishImpl(self, {5, 1, 1});
    EXPECT_EQ(Chara(2).m_bVanishOnEnd, 0);
}

TEST_F(FlowCommands, ShotsVanishedDuringTheHitPassLeaveAfterIt) {
    for (int g : {1, 1, 2}) {
        scene.m_listShot.emplace_back();
        cShot& s = scene.m_listShot.back();
        s.m_nGroup = g;
        scene.AddToGroup(&s);
    }
    {
        cHitPassHold hold(&scene);
        FlowCmdVanishImpl(Chara(0), {1, 1, 1});
        // Out of their group list at once, still in the shot list while the pass runs.
        EXPECT_TRUE(scene.m_vecShotGroup[1].empty());
        EXPECT_EQ(scene.m_listShot.size(), 3u);
        {
            cHitPassHold inner(&scene);
        }
        EXPECT_EQ(scene.m_listShot.size(), 3u);  // only the outermost hold lets them go
    }
    EXPECT_EQ(scene.m_listShot.size(), 1u);
    EXPECT_EQ(scene.m_listShot.front().m_nGroup, 2);
    // Outside the pass they leave at once.
    FlowCmdVanishImpl(Chara(0), {1, 2, 1});
    EXPECT_TRUE(scene.m_listShot.empty());
    EXPECT_TRUE(scene.m_vecShotGroup[2].empty());
}

// ---- the status condition in the width of its word ----

TEST_F(FlowCommands, NarrowStatusWordsCompareInTheirOwnWidth) {
    cStageChara& c = Chara(0);
    c.m_byLayer = 7;
    charadef::MarkField(c.m_Def) = 5;
    charadef::BodyPowerField(c.m_Def) = 263;
    struct Case {
        int word;
        int32_t value;
        bool holds;
    } cases[] = {
        {STATUS_Z, 7, true},
        {STATUS_Z, 0x107, true},       // the low byte: 7
        {STATUS_Z, -249, true},        // 0xFFFFFF07: 7 as a byte
        {STATUS_MARK, 0x10005, true},  // the low 16 bits: 5
        {STATUS_MARK, 0x10006, false},
        {STATUS_BODYPOWER, 263, true}, // a 32-bit word keeps the whole value
        {STATUS_BODYPOWER, 7, false},
    };
    for (const Case& k : cases) {
        cFlowCond cond;
        cond.m_cKind = 4;
        cond.m_byA1 = 0;
        cond.m_byA3 = OBJ_SELF;
        cond.m_byA4 = (uint8_t)k.word;
        cond.m_bySource = 0;
        cond.m_nValue = k.value;
        cond.m_byOperator = 0;  // =
        EXPECT_EQ(cond.TestValue(&c), k.holds) << k.word << " " << k.value;
    }
}

// ---- get item ----

TEST_F(FlowCommands, GetItemLooksTheItemUpAndKeepsAnEarlierRequest) {
    const cCommonPalette saved = g_CommonPalette;
    g_CommonPalette.m_vecItems.assign(2, cItemRec());
    struct Case {
        const char* what;
        std::vector<int32_t> params;
    } cases[] = {
        {"a common item without commands", {0, 1}},
        {"an index past the list", {0, 5}},
        {"a stage item the stage does not have", {1, 0}},
        {"an unknown list", {2, 0}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(FlowCmdGetItemImpl(k.params), 0) << k.what;
        // A stage clear asked for earlier in the step stays asked for.
        scene.m_nRequest = PLAY_REQ_GAMEEND;
        cFlowCmd cmd = Cmd(25, k.params);
        CMDINSTANCE inst;
        inst.lpCmd = &cmd;
        FlowCmdGetItem(Chara(0), inst);
        EXPECT_EQ(scene.m_nRequest, PLAY_REQ_GAMEEND) << k.what;
    }
    g_CommonPalette = saved;
}

TEST_F(FlowCommands, ItemsGiveItemsToALimitAndStopWhenTheHeroFalls) {
    const cCommonPalette saved = g_CommonPalette;
    const std::string report = testing::TempDir() + "cmds1_get_item_report.txt";
    std::remove(report.c_str());
    OpenReport(report.c_str());
    auto instant = [](int kind, std::vector<int32_t> params) {
        cFlowCmd c = Cmd(kind, params);
        c.m_byInstant = 1;
        return c;
    };
    std::vector<int32_t> hpZero(18, 0), var9(18, 0);
    hpZero[4] = STATUS_HP;  // the hero's HP set to 0
    var9[0] = 1, var9[2] = 1, var9[7] = 9;  // common variable 1 = 9
    g_CommonPalette.m_vecItems.assign(4, cItemRec());
    g_CommonPalette.m_vecItems[0].m_vecCmds = {instant(10, {0, 0})};                      // gives itself
    g_CommonPalette.m_vecItems[1].m_vecCmds = {instant(7, hpZero), instant(10, {0, 2})};  // falls first
    g_CommonPalette.m_vecItems[2].m_vecCmds = {instant(7, var9)};
    g_CommonPalette.m_vecItems[3].m_vecCmds = {instant(10, {0, 2})};                      // gives item 2
    // An item that gives itself ends at the depth limit with one report line.
    EXPECT_EQ(FlowCmdGetItemImpl({0, 0}), 0);
    std::string text;
    if (FILE* f = std::fopen(report.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    const std::string line = "get item: items given inside each other more than 8 deep: refused";
    ASSERT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find(line), text.rfind(line));
    // Another item given by an item runs its commands on the hero.
    EXPECT_EQ(FlowCmdGetItemImpl({0, 3}), 0);
    EXPECT_EQ(g_SaveData.m_vecCommonVars[1], 9);
    // The hero's HP run out stops the list at that command; the frame is told.
    g_SaveData.m_vecCommonVars[1] = 0;
    cFlowCmd cmd = Cmd(25, {0, 1});
    CMDINSTANCE inst;
    inst.lpCmd = &cmd;
    FlowCmdGetItem(Chara(0), inst);
    EXPECT_EQ(g_SaveData.m_vecCommonVars[1], 0);
    EXPECT_EQ(scene.m_nRequest, PLAY_REQ_HERODIES);
    g_CommonPalette = saved;
}

}  // namespace
