// Instant commands of items on the hero: an item touched by the hero changes its flows and its
// status and gives another item; the flow-change modes; changes that arrive during the hero's
// own flow walk wait for its end; the arrange substitution applies to the next instant command
// only; stage clear ends the list; and the arrange command of flows queues its link once per run.
#include <gtest/gtest.h>

#include "app/scene_manager.h"
#include "flow/flow.h"
#include "flow/flow_cmd.h"
#include "flow/command_param_table.h"
#include "flow/flow_run.h"
#include "flow/instant_cmds.h"
#include "play/hero.h"
#include "play/item_def.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

cFlowCmd Instant(int kind, std::vector<int32_t> params = {}, std::string text = "") {
    cFlowCmd c;
    c.m_byInstant = 1;
    c.m_cKind = (int8_t)kind;
    c.m_vecParams = std::move(params);
    c.m_strText = std::move(text);
    return c;
}

// A flow of a group, tagged by its number of (wait) commands.
cFlow Tagged(int group, int tag) {
    cFlow f;
    f.m_cGroup = (int8_t)group;
    f.m_vecCmds.resize((size_t)tag);
    for (cFlowCmd& c : f.m_vecCmds) c.m_cKind = 1;
    return f;
}

cFlowCmd ChangeFlow(int mode, int group, std::vector<cFlow> flows) {
    cFlowCmd c = Instant(INSTANT_CHANGE_FLOW, {mode, group});
    c.m_vecFlows = std::move(flows);
    return c;
}

class InstantCmds : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.SetHitLevel(1);
        g_lpPlayScene = &scene;
        g_vecHero.assign(1, cHero());
        g_listItem.clear();
        ResetInstantCmdReports();
        BuildCommandParamTable();  // as the start-up builds it
        cHero& h = g_vecHero[0];
        h.m_nId = kHeroId;
        h.m_nHP = 10;
        h.m_Def.m_nC39 = 100;  // max HP
        h.m_vecVar.assign(4, 0);
        for (auto& v : h.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
        h.m_HitThird.dLeft = 0, h.m_HitThird.dTop = 0, h.m_HitThird.dRight = 31, h.m_HitThird.dBottom = 31;
    }
    void TearDown() override {
        g_listItem.clear();
        g_vecHero.clear();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    cHero& Hero() { return g_vecHero[0]; }
    void GiveFlows(std::vector<cFlow> flows) { Hero().BuildFlowRuns(flows, 0, -1); }
    // The hero's flows as (group, tag) pairs, checked against its running instances.
    std::vector<std::pair<int, int>> Flows() {
        std::vector<std::pair<int, int>> out;
        const cHero& h = Hero();
        EXPECT_EQ(h.m_vecFlowRun.size(), h.m_Def.m_vecFlows.size());
        for (size_t i = 0; i < h.m_Def.m_vecFlows.size(); ++i) {
            const cFlow& f = h.m_Def.m_vecFlows[i];
            out.push_back({f.m_cGroup, (int)f.m_vecCmds.size()});
            if (i < h.m_vecFlowRun.size()) {
                EXPECT_EQ(h.m_vecFlowRun[i].m_vecCmd.size(), f.m_vecCmds.size());
            }
        }
        return out;
    }
    cPlayScene scene;
};

TEST_F(InstantCmds, AnItemTouchedByTheHeroChangesItsFlowsAndItsStatus) {
    GiveFlows({Tagged(1, 1)});
    g_listItem.emplace_back();
    cItem& item = g_listItem.back();
    item.m_nId = 5;
    item.m_bAppeared = 1;
    item.m_Def.m_byI11 = (uint8_t)itemdef::PICKUP_ONCE;
    item.m_dX = 10, item.m_dY = 10, item.m_dRight = 25, item.m_dBottom = 25;
    // The stage palette's item 1 adds 20 to character variable 2 of the hero.
    g_LoadedStage.m_vecPaletteItems.assign(2, cItemRec());
    g_LoadedStage.m_vecPaletteItems[1].m_vecCmds = {Instant(22, {}, "my.v2 = my.v2 + 20")};
    item.m_Def.m_vecCmds = {ChangeFlow(CHANGEFLOW_ADD, 0, {Tagged(2, 2)}), Instant(22, {}, "my.hp = my.hp + 5"),
                            Instant(11, {1, 33, 0}), Instant(10, {1, 1})};
    EXPECT_EQ(HitHeroItems(&scene, Hero()), 0);
    EXPECT_TRUE(g_listItem.empty());
    EXPECT_EQ(Flows(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
    EXPECT_EQ(Hero().m_nHP, 15);
    EXPECT_EQ(Hero().m_Def.m_wGraphic, 33);
    EXPECT_EQ(Hero().m_vecVar[2], 20);
    g_LoadedStage = cStage();
}

TEST_F(InstantCmds, FlowChangeModes) {
    using F = std::vector<std::pair<int, int>>;
    struct Case {
        int mode, group;
        F after;
    } cases[] = {
        {CHANGEFLOW_ADD, 1, {{1, 1}, {2, 2}, {1, 3}, {4, 9}}},
        {CHANGEFLOW_CHANGE, 1, {{4, 9}, {2, 2}}},            // at the first removed
        {CHANGEFLOW_CHANGE, 2, {{1, 1}, {4, 9}, {1, 3}}},
        {CHANGEFLOW_CHANGE, 5, {{1, 1}, {2, 2}, {1, 3}, {4, 9}}},  // none removed: appended
        {CHANGEFLOW_CHANGE, 0, {{4, 9}}},                     // group 0: all
        {CHANGEFLOW_REMOVE, 1, {{2, 2}}},
        {CHANGEFLOW_REMOVE, 0, {}},
        {3, 1, {{1, 1}, {2, 2}, {1, 3}}},                     // no such mode
    };
    for (const Case& c : cases) {
        GiveFlows({Tagged(1, 1), Tagged(2, 2), Tagged(1, 3)});
        cFlowCmd cmd = ChangeFlow(c.mode, c.group, {Tagged(4, 9)});
        EXPECT_EQ(RunInstantCommand(Hero(), cmd), 0);
        EXPECT_EQ(Flows(), c.after) << c.mode << " " << c.group;
    }
}

TEST_F(InstantCmds, FlowChangesDuringTheHerosWalkWaitForItsEndInArrivalOrder) {
    GiveFlows({Tagged(1, 1)});
    scene.m_lpRunChara = &Hero();  // the hero's flows are being walked
    cFlowCmd add = ChangeFlow(CHANGEFLOW_ADD, 0, {Tagged(2, 2)});
    cFlowCmd change = ChangeFlow(CHANGEFLOW_CHANGE, 2, {Tagged(3, 3)});
    RunInstantCommand(Hero(), add);
    RunInstantCommand(Hero(), change);
    EXPECT_EQ(Flows(), (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(Hero().m_vecPendingFlowCmd.size(), 2u);
    // The hero's flow walk runs them when it ends: added, then replaced.
    Hero().RunFlows(0);
    EXPECT_TRUE(Hero().m_vecPendingFlowCmd.empty());
    EXPECT_EQ(Flows(), (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}}));
    // Another character's walk does not hold the hero's flows.
    cChara other;
    scene.m_lpRunChara = &other;
    cFlowCmd removeAll = ChangeFlow(CHANGEFLOW_REMOVE, 0, {});
    RunInstantCommand(Hero(), removeAll);
    EXPECT_TRUE(Flows().empty());
}

TEST_F(InstantCmds, AnArrangeSubstitutionAppliesToTheNextInstantCommandOnly) {
    Hero().m_vecVar[1] = 5;
    // "グラフィック" (row 0 of change graphic, parameter 1) + character variable 1.
    const std::vector<int32_t> link = {26, 0, 1, 2, 1};
    std::vector<cFlowCmd> cmds = {Instant(INSTANT_ARRANGE, link), Instant(11, {1, 10, 0}), Instant(11, {1, 20, 0})};
    std::vector<int> graphics;
    EXPECT_EQ(Hero().RunItemCommands(cmds), 0);
    EXPECT_EQ(cmds[1].m_vecParams[1], 15);  // written into the item's own command
    EXPECT_EQ(cmds[2].m_vecParams[1], 20);  // the next one runs as stored
    EXPECT_EQ(Hero().m_Def.m_wGraphic, 20);
    EXPECT_TRUE(Hero().m_listParamLink.empty());
    // Two arranges in a row both apply to the command after them; a link of another kind is
    // dropped with them; the result is held to the row's range (1-119).
    std::vector<cFlowCmd> more = {Instant(INSTANT_ARRANGE, link), Instant(INSTANT_ARRANGE, {26, 0, 3, 2, 1}),
                                  Instant(INSTANT_ARRANGE, {29, 0, 1, 2, 1}), Instant(11, {1, 10, 0})};
    Hero().RunItemCommands(more);
    EXPECT_EQ(more[3].m_vecParams[1], 75);  // (10 + 5) x 5
    Hero().m_vecVar[1] = 100;
    std::vector<cFlowCmd> big = {Instant(INSTANT_ARRANGE, link), Instant(11, {1, 50, 0})};
    Hero().RunItemCommands(big);
    EXPECT_EQ(big[1].m_vecParams[1], 119);
    EXPECT_EQ(Hero().m_Def.m_wGraphic, 119);
}

TEST_F(InstantCmds, StageClearEndsTheListAndKindsOutOfTheTableDoNothing) {
    std::vector<cFlowCmd> cmds = {Instant(0), Instant(INSTANT_LOOP, {3, 1}), Instant(30), Instant(-2),
                                  Instant(22, {}, "my.hp = 3")};
    EXPECT_EQ(Hero().RunItemCommands(cmds), 0);
    EXPECT_EQ(Hero().m_nHP, 3);
    std::vector<cFlowCmd> clear = {Instant(22, {}, "my.hp = 4"), Instant(INSTANT_STAGE_CLEAR, {0, 0, 0, 0, 0, 0, 0, 0, 0}),
                                   Instant(22, {}, "my.hp = 9")};
    EXPECT_EQ(Hero().RunItemCommands(clear), 1);
    EXPECT_EQ(Hero().m_nHP, 4);
    // The list stops as soon as HP runs out.
    std::vector<cFlowCmd> hurt = {Instant(22, {}, "my.hp = 0"), Instant(22, {}, "my.hp = 9")};
    EXPECT_EQ(Hero().RunItemCommands(hurt), 2);
    EXPECT_EQ(Hero().m_nHP, 0);
}

TEST_F(InstantCmds, TheArrangeCommandOfAFlowQueuesItsLinkOncePerRun) {
    cChara c;
    c.m_nHP = 1;
    c.m_vecVar.assign(2, 0);
    c.m_vecVar[1] = 5;
    for (auto& v : c.m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    cFlowCmd arrange;
    arrange.m_cKind = 38;
    arrange.m_wTime = 3;  // 18 steps: the link is queued at the first one only
    arrange.m_vecParams = {26, 0, 1, 2, 1};
    cFlowCmd graphic;
    graphic.m_cKind = 26;
    graphic.m_vecParams = {1, 10, 0};
    cFlow f;
    f.m_vecCmds = {arrange, graphic};
    c.m_Def.m_vecFlows.assign(1, f);
    c.BuildFlowRuns(c.m_Def.m_vecFlows, 0, -1);
    cFlowRun& run = c.m_vecFlowRun[0];
    run.Start(c);
    int steps = 0;
    while (!run.Step(c) && steps < 100) ++steps;
    EXPECT_EQ(c.m_Def.m_wGraphic, 15);
    EXPECT_TRUE(run.m_listPending.empty());
}

}  // namespace
