// Flows in play: a stage whose characters act by their flows, run frame by frame through the play
// scene (start rule, flow steps, movement, blocks, shots). A walker patrols between two walls, a
// character jumps when the hero comes within its range while a farther one stays put, a shooter
// fires at the hero, a code line counts a stage variable; and the same stage gives the same
// state after 600 frames in two runs.
#include <gtest/gtest.h>

#include <cmath>

#include "core/frame_timer.h"
#include "play/block_map.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/replay.h"
#include "records/stage_file.h"
#include "tests/frontend/scene_fixture.h"
#include "tools/game/play_bitmaps.h"

using namespace scenetest;

namespace {

// Stage columns of the cast (the hero at 20; the floor is row 12, the walls on row 11).
constexpr int kHeroCol = 20, kPatrolCol = 14, kWallLeft = 11, kWallRight = 17;
constexpr int kNearJumperCol = 22, kFarJumperCol = 28, kShooterCol = 26;

cFlowCmd MoveCmd(int kind, int time, int speed) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.CreateEdMove();
    c.m_pMove->Speed() = (uint16_t)speed;
    return c;
}

class FlowPlay : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        ASSERT_TRUE(WritePlayBitmaps(*folder));
        Open();
        g_Replay.Clear();
        g_SystemData.m_bReplay = 0;
        g_SaveData.m_nLives = 2;
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_SceneManager.m_nPrevious = SCENE_TITLE;
        g_SceneManager.m_nPlayMode = START_MODE_FREE;
        ResetFrameTimers();
        BuildStage();
    }
    void TearDown() override {
        g_Replay.Clear();
        SceneFixture::TearDown();
    }
    cCharaRec Placed(int col, int role, int dir, std::vector<cFlow> flows) {
        cCharaRec c;
        c.m_byRole = (uint8_t)role;
        c.m_wGraphic = 1;
        c.m_byC27 = 0;  // walking
        c.m_byC28 = (uint8_t)dir;
        c.m_sPlaceX = (int16_t)col;
        c.m_sPlaceY = 11;
        c.m_nC39 = 3;
        c.m_vecFlows = flows;
        return c;
    }
    void BuildStage() {
        cStage& s = g_LoadedStage;
        s.m_nWidth = 40;
        s.m_nHeight = 30;
        s.m_nHitLevel = 2;
        s.m_dGravity = 0.5;
        for (int x = 0; x < 40; ++x) Block(x, 12);
        Block(kWallLeft, 11);
        Block(kWallRight, 11);
        // The patroller: one long ground turn-back move.
        cFlow patrol;
        patrol.m_vecCmds = {MoveCmd(3, 600, 20)};
        // The jumpers: a jump whenever the hero is within 5 half blocks (80 dots) of them.
        cFlow jump;
        cFlowCond nearHero;
        nearHero.m_cKind = 7;
        nearHero.m_nValue = 5;
        nearHero.m_byShape = 6;
        jump.m_vecConds = {nearHero};
        cFlowCmd j;
        j.m_cKind = 10;
        j.m_vecParams = {0, 0, 4, 0, 0};
        jump.m_vecCmds = {j};
        // The shooter: straight shots forward (to the left, at the hero) for 1 s, then a pause.
        cFlow fire;
        cFlowCmd shot;
        shot.m_cKind = 11;
        shot.m_wTime = 10;
        shot.CreateEdShot();
        cEdShot& e = *shot.m_pShot;
        e.FormationCount() = 1;
        e.Speed() = 30;
        e.Group() = 1;
        cFlowCmd wait;
        wait.m_cKind = 1;
        wait.m_wTime = 20;
        fire.m_vecCmds = {shot, wait};
        s.m_vecCharas = {Placed(kHeroCol, 0, 1, {}), Placed(kPatrolCol, 1, 1, {patrol}),
                         Placed(kNearJumperCol, 1, 0, {jump}), Placed(kFarJumperCol, 1, 0, {jump}),
                         Placed(kShooterCol, 1, 0, {fire})};
        TakeStageSettings(g_StageSettings, g_LoadedStage);
    }
    void Block(int x, int y) {
        cBlockRec b;
        b.m_wGraphic = 1;
        b.m_byB12 = 1;
        b.m_sPlaceX = (int16_t)x;
        b.m_sPlaceY = (int16_t)y;
        g_LoadedStage.m_vecBlocks.push_back(b);
    }
    void Start() {
        Frame();  // the scene is built and the stage set up
        ASSERT_NE(g_lpPlayScene, nullptr);
        g_lpPlayScene->m_nState = PLAY_FRAME;
    }
    // The stage character placed at a stage column.
    cStageChara* At(int col) {
        for (cStageChara& c : g_listStageChara)
            if (c.m_anPlace[0] == col) return &c;
        return nullptr;
    }
    // Positions of every object, folded into one number.
    uint64_t StateHash() {
        uint64_t h = 1469598103934665603ull;
        const auto mix = [&h](double v) {
            const int64_t q = std::llround(v * 1024.0);
            h = (h ^ (uint64_t)q) * 1099511628211ull;
        };
        for (const cHero& c : g_vecHero) mix(c.m_dX), mix(c.m_dY);
        for (const cStageChara& c : g_listStageChara) mix(c.m_dX), mix(c.m_dY), mix(c.m_nDir);
        for (const cShot& s : g_lpPlayScene->m_listShot) mix(s.m_dX), mix(s.m_dY);
        mix((double)g_lpPlayScene->m_listShot.size());
        return h;
    }
};

TEST_F(FlowPlay, AWalkerPatrolsBetweenTwoWalls) {
    Start();
    cStageChara* walker = At(kPatrolCol);
    ASSERT_NE(walker, nullptr);
    const double left = (kWallLeft + 10 + 1) * 32.0, right = (kWallRight + 10) * 32.0;
    int turns = 0, facing = walker->m_nDir;
    double lo = walker->m_dX, hi = walker->m_dX;
    for (int i = 0; i < 600; ++i) {
        Frame();
        lo = std::min(lo, walker->m_dX);
        hi = std::max(hi, walker->m_dX + walker->m_nWidth - 1);
        if (walker->m_nDir != facing) ++turns, facing = walker->m_nDir;
    }
    EXPECT_GE(turns, 4);
    EXPECT_GE(lo, left - 1.0);
    EXPECT_LE(hi, right + 1.0);
    EXPECT_LE(lo, left + 8.0);   // it reaches both walls
    EXPECT_GE(hi, right - 8.0);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(FlowPlay, ACharacterJumpsWhenTheHeroIsNear) {
    Start();
    cStageChara* near = At(kNearJumperCol);
    cStageChara* far = At(kFarJumperCol);
    ASSERT_TRUE(near && far);
    double nearLow = near->m_dY, nearTop = near->m_dY, farLow = far->m_dY, farTop = far->m_dY;
    for (int i = 0; i < 60; ++i) {
        Frame();
        nearTop = std::min(nearTop, near->m_dY), nearLow = std::max(nearLow, near->m_dY);
        farTop = std::min(farTop, far->m_dY), farLow = std::max(farLow, far->m_dY);
    }
    EXPECT_GT(nearLow - nearTop, 48.0);  // a jump of 4 half blocks
    EXPECT_LT(farLow - farTop, 2.0);     // out of range: it stays on the floor
}

TEST_F(FlowPlay, AShooterFiresAtTheHero) {
    Start();
    cStageChara* shooter = At(kShooterCol);
    ASSERT_NE(shooter, nullptr);
    Frames(30);
    int mine = 0;
    for (const cShot& s : g_lpPlayScene->m_listShot) {
        if (s.m_nOwnerId != shooter->m_nId) continue;
        ++mine;
        EXPECT_LT(s.m_dX, shooter->m_dX);  // flying left, toward the hero
    }
    // Ten shots a second while the command lasts: five in half a second.
    EXPECT_GE(mine, 4);
    EXPECT_LE(mine, 6);
}

TEST_F(FlowPlay, ACodeLineCountsAStageVariable) {
    // A character that adds 1 to stage variable 1 and then waits a tenth of a second, over again.
    cFlowCmd code;
    code.m_cKind = 37;
    code.m_strText = "S1 = S1 + 1";
    cFlowCmd wait;
    wait.m_cKind = 1;
    wait.m_wTime = 1;
    cFlow count;
    count.m_vecCmds = {code, wait};
    cCharaRec counter = Placed(24, 1, 0, {count});
    counter.m_nC39 = 100000;  // whatever flies past, it stays
    g_LoadedStage.m_vecCharas.push_back(counter);
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    Start();
    Frames(60);
    // One count per run of the flow: a sub-step of code, six frames of waiting (12 sub-steps at
    // two a frame), then it starts again; about nine runs in a second.
    const int32_t counted = g_lpPlayScene->m_vecStageVars[1];
    EXPECT_GE(counted, 8);
    EXPECT_LE(counted, 11);
    Frames(60);
    EXPECT_GE(g_lpPlayScene->m_vecStageVars[1] - counted, 8);
    EXPECT_LE(g_lpPlayScene->m_vecStageVars[1] - counted, 10);
    EXPECT_FALSE(ClosePosted());
}

TEST_F(FlowPlay, TheSameStageGivesTheSameStateTwice) {
    uint64_t hashes[2] = {};
    for (uint64_t& h : hashes) {
        BuildStage();
        Start();
        Frames(600);
        h = StateHash();
        g_SceneManager.DestroyAll();
        g_SceneManager.m_nCurrent = SCENE_PLAY;
        g_LoadedStage = cStage();
    }
    EXPECT_EQ(hashes[0], hashes[1]);
}

}  // namespace
