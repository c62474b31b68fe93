// The movement commands as a player sees them: a character with one flow runs whole frames (start
// rule, flow step, horizontal step and block test, gravity, vertical step and block test), and
// its position after N frames is compared with the start: straight moves by direction and by
// angle, toward target coordinates with the stop at the target, circle, charge and homing moves,
// the ground turn-back between walls and at ledges, change facing, one-shot commands and the
// command dispatcher's reports.
#include <gtest/gtest.h>

#include <cmath>

#include "app/scene_manager.h"
#include "flow/flow.h"
#include "flow/flow_dispatch.h"
#include "flow/flow_move.h"
#include "flow/flow_run.h"
#include "play/block_map.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

struct MOVESPEC {
    int kind = 2;
    int time = 100;    // tenths of a second
    int speed = 10;    // tenths of a dot per frame
    int dir = 3;       // direction code
    int angle = 0;
    int mode = 0;      // 0 by direction, 1 toward target coordinates
    int coord = 1;     // coordinate mode
    int tx = 0, ty = 0;  // target offset in dots
    int stop = 0;
    int radius = 0, end = 0, compute = 0;
};

cFlowCmd MoveCmd(const MOVESPEC& s) {
    cFlowCmd c;
    c.m_cKind = (int8_t)s.kind;
    c.m_wTime = (uint16_t)s.time;
    c.CreateEdMove();
    cEdMove& m = *c.m_pMove;
    m.Speed() = (uint16_t)s.speed;
    m.DirectionCode() = (uint8_t)s.dir;
    m.Angle() = (uint16_t)s.angle;
    m.MoveMode() = (uint8_t)s.mode;
    m.CoordMode() = (uint8_t)s.coord;
    m.TargetXDots() = (uint16_t)s.tx;
    m.TargetYDots() = (uint16_t)s.ty;
    m.StopAtTarget() = (uint8_t)s.stop;
    m.Distance() = (uint16_t)s.radius;
    m.CircleEndAngle() = (uint16_t)s.end;
    m.ComputeMode() = (uint8_t)s.compute;
    return c;
}

cFlowCmd Plain(int kind, int time = 0, std::vector<int32_t> params = {}) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.m_vecParams = params;
    return c;
}

class FlowMove : public testing::Test {
protected:
    void SetUp() override {
        g_StageSettings = cStage();
        g_StageSettings.m_dGravity = 0.5;
        g_StageSettings.SetHitLevel(1);
        scene.m_ScrollX.SetAxis(0, 40, 0);
        scene.m_ScrollX.SetRange(0, 39, 0, 0);
        scene.m_ScrollY.SetAxis(1, 15, 0);
        scene.m_ScrollY.SetRange(0, 14, 0, 0);
        g_lpPlayScene = &scene;
        g_vecHero.clear();
        g_listStageChara.clear();
        g_LoadedStage = cStage();
        BuildBlockMap();
        ResetFlowDispatchReports();
    }
    void TearDown() override {
        g_vecHero.clear();
        g_listStageChara.clear();
        g_vecBlockMap.clear();
        g_LoadedStage = cStage();
        g_lpPlayScene = nullptr;
        g_StageSettings = cStage();
    }
    cBlockDef& Cell(int column, int row) {
        return g_vecBlockMap.at(((size_t)row << scene.m_ScrollX.m_nRowShift) + (size_t)column);
    }
    // A 32 x 32 hero at (x, y), flying or walking, with one flow of trigger 0.
    cHero& Mover(double x, double y, int flying, std::vector<cFlowCmd> cmds) {
        cCharaRec rec;
        rec.m_byC27 = (uint8_t)flying;
        rec.m_wC41 = 0;  // no deceleration
        rec.m_nC39 = 10;
        cFlow f;
        f.m_vecCmds = cmds;
        rec.m_vecFlows = {f};
        g_vecHero.assign(1, cHero());
        cHero& h = g_vecHero[0];
        const int32_t place[4] = {0, 0, -1, 0};
        h.SetupFromPlacement(kHeroId, rec, place);
        h.m_nBaseWidth = h.m_nBaseHeight = 32;
        h.m_nWidth = h.m_nHeight = 32;
        h.m_nGraphOffX = h.m_nGraphOffY = 0;
        h.m_nGraphWidth = h.m_nGraphHeight = 32;
        h.m_nBlockSide = 1;
        h.m_nDir = 1;
        h.m_dDecel = 0.0;
        h.m_dX = x;
        h.m_dY = y;
        h.m_dRight = x + 31;
        h.m_dBottom = y + 31;
        return h;
    }
    // One frame of one sub-step, as the play frame runs the hero.
    void Frame(cHero& h) {
        h.ClearFlowRunFlags();
        h.RunFlowsOfTrigger(0);
        h.RunFlows(0);
        h.StepX();
        h.HitBlocksHorizontal();
        h.ApplyGravity();
        h.StepY();
        h.HitBlocksVertical();
    }
    void Frames(cHero& h, int n) {
        for (int i = 0; i < n; ++i) Frame(h);
    }
    cPlayScene scene;
};

TEST_F(FlowMove, StraightMovesByDirectionAndAngle) {
    struct Case {
        const char* name;
        int flying, dir, angle, frames;
        double dx, dy;
        int facing;
    } cases[] = {
        {"walk right", 0, 3, 0, 10, 10.0, 0.0, 1},
        {"walk left", 0, 2, 0, 10, -10.0, 0.0, 0},
        {"walk forward", 0, 0, 0, 10, 10.0, 0.0, 1},
        {"walk backward", 0, 1, 0, 10, -10.0, 0.0, 0},
        {"walk down-right: horizontal only", 0, 11, 0, 10, 10.0, 0.0, 1},
        {"fly down-right", 1, 11, 0, 10, 10.0 / std::sqrt(2.0), 10.0 / std::sqrt(2.0), 1},
        {"fly up", 1, 6, 0, 10, 0.0, -10.0, 1},
        {"walk left at 45 degrees: horizontal only", 0, 2, 45, 10, -10.0 / std::sqrt(2.0), 0.0, 0},
        {"fly left at 90 degrees: up", 1, 2, 90, 10, 0.0, -10.0, 0},
    };
    for (const Case& c : cases) {
        MOVESPEC s;
        s.dir = c.dir;
        s.angle = c.angle;
        // Walkers stand on a floor (row 20 of the map), flyers float above it.
        for (int col = 0; col < 40; ++col) Cell(col, 20).m_byB12 = 1;
        const double y0 = c.flying ? 400 : 608;
        cHero& h = Mover(640, y0, c.flying, {MoveCmd(s)});
        Frames(h, c.frames);
        EXPECT_NEAR(h.m_dX - 640, c.dx, 1e-6) << c.name;
        // A walker stays on its floor (give or take the dot gravity moves it into it each frame).
        EXPECT_NEAR(h.m_dY - y0, c.dy, c.flying ? 1e-6 : 1.5) << c.name;
        EXPECT_EQ(h.m_nDir, c.facing) << c.name;
    }
}

TEST_F(FlowMove, TowardTargetCoordinatesStopsAtTheTarget) {
    MOVESPEC s;
    s.mode = 1;
    s.coord = 1;  // relative
    s.tx = 96;
    s.ty = -40;
    s.stop = 1;
    s.speed = 20;
    cHero& h = Mover(640, 608, 1, {MoveCmd(s), Plain(8, 10)});
    Frames(h, 100);
    // 104 dots at 2 dots per frame: 52 steps, then the cancel holds it.
    EXPECT_NEAR(h.m_dX - 640, 96.0 * 52 * 2 / std::sqrt(96.0 * 96 + 40 * 40), 1e-6);
    EXPECT_NEAR(h.m_dY - 608, -40.0 * 52 * 2 / std::sqrt(96.0 * 96 + 40 * 40), 1e-6);
    // A target within one step is reached at once.
    s.tx = 1;
    s.ty = 0;
    cHero& near = Mover(640, 608, 1, {MoveCmd(s), Plain(8, 10)});
    Frames(near, 5);
    EXPECT_NEAR(near.m_dX, 641.0, 1e-6);
}

TEST_F(FlowMove, CircleMoveComesBackRound) {
    MOVESPEC s;
    s.kind = 4;
    s.time = 10;     // 60 steps for the whole turn
    s.radius = 2;    // 32 dots
    s.angle = 0;
    s.end = 360;
    s.dir = 1;       // "左回り"
    cHero& h = Mover(640, 400, 1, {MoveCmd(s)});
    Frames(h, 30);
    // Half way round: the diameter down, and the step sum's small lag across.
    EXPECT_NEAR(h.m_dX - 640, -32.0 * 3.14159265358979 / 30.0, 0.01);
    EXPECT_NEAR(h.m_dY - 400, 64.0, 0.5);
    Frames(h, 30);
    EXPECT_NEAR(h.m_dX - 640, 0.0, 1e-6);
    EXPECT_NEAR(h.m_dY - 400, 0.0, 1e-6);
}

TEST_F(FlowMove, ChargeAndHomingMovesFollowTheTarget) {
    g_listStageChara.emplace_back();
    cStageChara& target = g_listStageChara.back();
    target.m_nId = 7;
    target.m_dX = 840;
    target.m_dY = 400;
    target.m_nGraphWidth = target.m_nGraphHeight = 32;
    // Charge: aimed once at the target's centre.
    MOVESPEC charge;
    charge.kind = 5;
    charge.speed = 20;
    cHero& h = Mover(640, 400, 1, {MoveCmd(charge)});
    h.m_nTargetId = 7;
    Frames(h, 10);
    target.m_dY = 100;  // moving the target afterwards changes nothing
    Frames(h, 10);
    EXPECT_NEAR(h.m_dX - 640, 40.0, 1e-6);
    EXPECT_NEAR(h.m_dY - 400, 0.0, 1e-6);
    // Homing without delay: aimed every step; reaches and sits at the target.
    target.m_dY = 400;
    MOVESPEC homing;
    homing.kind = 6;
    homing.speed = 20;
    cHero& g = Mover(640, 400, 1, {MoveCmd(homing)});
    g.m_nTargetId = 7;
    Frames(g, 50);
    EXPECT_NEAR(g.m_dX - 640, 100.0, 1e-6);
    Frames(g, 50);
    EXPECT_NEAR(g.m_dX, 840.0, 2.0);
    // Without a target neither moves.
    cHero& lone = Mover(640, 400, 1, {MoveCmd(homing)});
    lone.m_nTargetId = -1;
    Frames(lone, 10);
    EXPECT_EQ(lone.m_dX, 640.0);
}

TEST_F(FlowMove, GroundTurnBackPatrolsBetweenWallsAndLedges) {
    // Floor on row 20, walls at columns 12 and 20 (row 19).
    for (int col = 0; col < 40; ++col) Cell(col, 20).m_byB12 = 1;
    Cell(12, 19).m_byB12 = 1;
    Cell(20, 19).m_byB12 = 1;
    MOVESPEC s;
    s.kind = 3;
    s.time = 1000;
    s.speed = 20;
    cHero& h = Mover(14 * 32, 19 * 32, 0, {MoveCmd(s)});
    double lo = h.m_dX, hi = h.m_dX;
    int turns = 0, facing = h.m_nDir;
    for (int i = 0; i < 600; ++i) {
        Frame(h);
        lo = std::min(lo, h.m_dX);
        hi = std::max(hi, h.m_dX);
        if (h.m_nDir != facing) ++turns, facing = h.m_nDir;
    }
    EXPECT_GE(lo, 13 * 32.0 - 2);
    EXPECT_LE(hi, 19 * 32.0 + 2);
    EXPECT_GE(turns, 4);
    EXPECT_NEAR(h.m_dY, 19 * 32.0, 1.5);
    // A floor from column 14 to 18 without walls: it turns at both ledges and never falls.
    for (int col = 0; col < 40; ++col) Cell(col, 20).m_byB12 = col >= 14 && col <= 18 ? 1 : 0;
    Cell(12, 19).m_byB12 = Cell(20, 19).m_byB12 = 0;
    cHero& w = Mover(15 * 32, 19 * 32, 0, {MoveCmd(s)});
    turns = 0;
    facing = w.m_nDir;
    for (int i = 0; i < 600; ++i) {
        Frame(w);
        if (w.m_nDir != facing) ++turns, facing = w.m_nDir;
    }
    EXPECT_GE(turns, 4);
    EXPECT_NEAR(w.m_dY, 19 * 32.0, 1.5);
}

TEST_F(FlowMove, ChangeFacingOnlyWhenFacingIsFixed) {
    cHero& h = Mover(640, 400, 1, {Plain(9, 10, {0})});
    Frames(h, 2);
    EXPECT_EQ(h.m_nDir, 1);  // not fixed: nothing
    cHero& f = Mover(640, 400, 1, {Plain(9, 10, {0})});
    f.m_byFixedFacing = 1;
    Frames(f, 2);
    EXPECT_EQ(f.m_nDir, 0);
    // 4: toward the side a block last touched.
    cHero& b = Mover(640, 400, 1, {Plain(9, 10, {4})});
    b.m_byFixedFacing = 1;
    b.m_nDir = 0;
    b.m_nLastBlockSide = 1;
    Frames(b, 1);
    EXPECT_EQ(b.m_nDir, 1);
}

TEST_F(FlowMove, OneShotCommandsActEveryTenthOfASecond) {
    // A command of 0.5 s at hit level 2 acts at steps 0, 12, 24, 36 and 48 of its 60.
    g_StageSettings.SetHitLevel(2);
    CMDINSTANCE inst;
    cFlowCmd cmd = Plain(11, 5);
    inst.lpCmd = &cmd;
    cChara c;
    std::vector<int> acted;
    for (int step = 0; step < 60; ++step)
        if (OneShotDue(c, inst)) acted.push_back(step);
    EXPECT_EQ(acted, (std::vector<int>{0, 12, 24, 36, 48}));
}

TEST_F(FlowMove, CancelMovementClearsEverySpeed) {
    MOVESPEC s;
    s.dir = 3;
    cHero& h = Mover(640, 400, 1, {MoveCmd(s)});
    Frames(h, 3);
    EXPECT_NE(h.m_dMoveX, 0.0);
    CMDINSTANCE inst;
    h.m_dInertiaX = 3;
    h.m_dCarryY = 2;
    FlowCmdCancelMove(h, inst);
    EXPECT_EQ(h.m_dMoveX, 0.0);
    EXPECT_EQ(h.m_dInertiaX, 0.0);
    EXPECT_EQ(h.m_dCarryY, 0.0);
    EXPECT_EQ(h.m_bMoveCancelled, 1);
}

TEST_F(FlowMove, DirectionCodesResolveByFacingAndStartDirection) {
    cChara c;
    c.m_nDir = 0;
    const int left[13] = {2, 3, 2, 3, 6, 7, 6, 7, 8, 9, 10, 11, 2};
    for (int code = 0; code <= 12; ++code) EXPECT_EQ(ResolveDirectionCode(c, code, 0), left[code]) << code;
    c.m_nDir = 1;
    EXPECT_EQ(ResolveDirectionCode(c, 0, 0), 3);
    EXPECT_EQ(ResolveDirectionCode(c, 4, 0), 7);
    // Input direction: the start direction's keypad state.
    const int byStart[10] = {3, 2, 3, 6, 7, 8, 9, 10, 11, 3};
    for (int d = 0; d < 10; ++d) EXPECT_EQ(ResolveDirectionCode(c, 12, d), byStart[d]) << d;
}

}  // namespace
