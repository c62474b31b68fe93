// One frame of play on a busy stage, without drawing and with it: 200 stage characters (half walking on a
// floor of blocks, half flying), 100 shots and 50 effect objects, at hit-check level 3 (three
// sub-steps). Every character runs its flows: walkers patrol by a ground turn-back move, flyers
// circle, and every fourth one fires at the hero while the hero is within 20 half blocks.
// - BM_BusyStageFrameWithoutDrawing / WithDrawing: the stage is set up afresh before every frame,
//   outside the measured time, so each measures the first frame of the stage, with a cold cast.
// - BM_BusyStageFramesInSequence: the stage is set up once, then kSequence frames are played one
//   after the other, each measured (the set-up again outside the measured time, and so on): the
//   play logic as it runs frame after frame, with the cast warm. The shots the frames start with
//   fly off or hit blocks within the sequence and the characters fire new ones, so later frames
//   carry fewer shots than the first.
#include <benchmark/benchmark.h>

#include "app/scene_manager.h"
#include "flow/ed_move.h"
#include "flow/ed_shot.h"
#include "flow/flow.h"
#include "media/asset_table.h"
#include "media/draw_device.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "platform/win32/win32.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_objects.h"
#include "records/stage.h"
#include "records/stage_file.h"

namespace {

constexpr int kCharas = 200;
constexpr int kShots = 100;
constexpr int kEffects = 50;

cFlowCmd MoveCmd(int kind, int time, int speed) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)time;
    c.CreateEdMove();
    c.m_pMove->Speed() = (uint16_t)speed;
    return c;
}

// The flows of the cast: a patrol or a circle, and for every fourth character shots at the
// hero, started by a distance condition.
std::vector<cFlow> CastFlows(int i) {
    cFlow move;
    move.m_vecCmds = {(i & 1) ? MoveCmd(4, 600, 15) : MoveCmd(3, 600, 20)};
    if (i & 1) move.m_vecCmds.front().m_pMove->Distance() = 3;  // half blocks
    std::vector<cFlow> flows = {move};
    if (i % 4 == 0) {
        cFlow fire;
        cFlowCond near;
        near.m_cKind = 7;
        near.m_nValue = 20;
        near.m_byShape = 6;
        fire.m_vecConds = {near};
        cFlowCmd shot;
        shot.m_cKind = 11;
        shot.m_wTime = 10;
        shot.CreateEdShot();
        shot.m_pShot->FormationCount() = 1;
        shot.m_pShot->Speed() = 30;
        shot.m_pShot->Group() = 1;
        cFlowCmd wait;
        wait.m_cKind = 1;
        wait.m_wTime = 20;
        fire.m_vecCmds = {shot, wait};
        flows.push_back(fire);
    }
    return flows;
}

void BuildStage() {
    cStage& s = g_LoadedStage;
    s = cStage();
    s.m_nWidth = 200;
    s.m_nHeight = 30;
    s.m_nHitLevel = 3;
    cBlockRec floor;
    floor.m_wGraphic = 1;
    floor.m_byB12 = 1;
    for (int x = 0; x < 200; ++x) {
        floor.m_sPlaceX = (int16_t)x;
        floor.m_sPlaceY = 20;
        s.m_vecBlocks.push_back(floor);
    }
    cCharaRec hero;
    hero.m_byRole = 0;
    hero.m_wGraphic = 1;
    hero.m_sPlaceX = 20;
    hero.m_sPlaceY = 19;
    hero.m_nPlaceValue = -1;
    s.m_vecCharas.push_back(hero);
    for (int i = 0; i < kCharas; ++i) {
        cCharaRec c;
        c.m_byRole = 1;
        c.m_byC27 = (uint8_t)(i & 1);  // walking and flying in turn
        c.m_sPlaceX = (int16_t)(5 + (i * 7) % 190);
        c.m_sPlaceY = (int16_t)(i & 1 ? 8 + (i % 9) : 19);
        c.m_nPlaceValue = -1;
        c.m_vecFlows = CastFlows(i);
        s.m_vecCharas.push_back(c);
    }
    TakeStageSettings(g_StageSettings, g_LoadedStage);
}

// The stage afresh, with its shots and effect objects.
void SetUpFrame(cPlayScene& scene) {
    scene.SetStage(1, 0);
    const cHero& hero = g_vecHero.front();
    cEdShot settings;
    settings.SetDefaults();
    for (int i = 0; i < kShots; ++i) {
        SPAWNVALUES v{};
        // Inside the view around the hero, above the floor.
        v.nX = 660 + (i * 37) % 600;
        v.nY = 700 + 16 * (i % 15);
        v.dVelX = (i & 1) ? 3.0 : -3.0;
        v.dVelY = (i % 3) - 1.0;
        v.dSpeed = 3.0;
        cShot shot;
        shot.Init(scene.m_nShotSerial++, hero, 11, settings, v);
        scene.m_listShot.push_back(shot);
        scene.AddToGroup(&scene.m_listShot.back());
    }
    for (int i = 0; i < kEffects; ++i) {
        EffectObj e;
        e.m_dX = 400.0 + 20.0 * i;
        e.m_dY = 500.0;
        scene.m_listEffect.push_back(e);
    }
}

void BM_BusyStageFrameWithoutDrawing(benchmark::State& state) {
    if (g_vecPlayerInput.empty()) g_vecPlayerInput.resize(1);
    BuildStage();
    cPlayScene scene;
    g_lpPlayScene = &scene;
    scene.m_nState = PLAY_FRAME;
    for (auto _ : state) {
        state.PauseTiming();
        SetUpFrame(scene);
        state.ResumeTiming();
        scene.PlayFrame();
    }
    state.counters["charas"] = (double)g_listStageChara.size();
    state.counters["shots"] = (double)scene.m_listShot.size();
    g_lpPlayScene = nullptr;
}
BENCHMARK(BM_BusyStageFrameWithoutDrawing)->Unit(benchmark::kMicrosecond);

constexpr int kSequence = 60;

void BM_BusyStageFramesInSequence(benchmark::State& state) {
    if (g_vecPlayerInput.empty()) g_vecPlayerInput.resize(1);
    BuildStage();
    cPlayScene scene;
    g_lpPlayScene = &scene;
    scene.m_nState = PLAY_FRAME;
    int played = kSequence;
    size_t shots = 0;
    for (auto _ : state) {
        if (played == kSequence) {
            state.PauseTiming();
            SetUpFrame(scene);
            played = 0;
            state.ResumeTiming();
        }
        scene.PlayFrame();
        ++played;
        shots += scene.m_listShot.size();
    }
    state.counters["charas"] = (double)g_listStageChara.size();
    state.counters["shots"] = benchmark::Counter((double)shots, benchmark::Counter::kAvgIterations);
    g_lpPlayScene = nullptr;
}
BENCHMARK(BM_BusyStageFramesInSequence)->Unit(benchmark::kMicrosecond);

HWND Window() {
    static HWND h = nullptr;
    if (!h) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "BusyStageBench";
        RegisterClassExA(&wc);
        h = CreateWindowExA(0, "BusyStageBench", "bench", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    }
    return h;
}

// The same frame drawn on the Direct3D back end: the sheets the stage draws from are plain
// surfaces of one colour (block sheet, character sheet 1 and its mirrored view, shot sheet,
// item sheet), so the measure is the play screen's drawing work, not the pictures.
void BM_BusyStageFrameWithDrawing(benchmark::State& state) {
    if (g_vecPlayerInput.empty()) g_vecPlayerInput.resize(1);
    if (!DDInit(1, Window(), 640, 480, 32, 0, 1, 1, 60, 0, g_SurfaceData, g_SurfaceFiles, 0)) {
        state.SkipWithError("no device");
        return;
    }
    DDSetTransmit(255, 0, 255);
    const int sheets[][3] = {{2, 512, 512}, {4, 512, 480}, {5, 512, 480}, {20, 256, 480}, {40, 512, 480}};
    for (const auto& s : sheets) {
        DDCreateSurface(&g_SurfaceData[s[0]], s[1], s[2], 1, 0, 0, 0, 0);
        DDFillRect(&g_SurfaceData[s[0]], 0, 0, s[1], s[2], 40);
    }
    BuildStage();
    cPlayScene scene;
    g_lpPlayScene = &scene;
    scene.m_nState = PLAY_FRAME;
    for (auto _ : state) {
        state.PauseTiming();
        SetUpFrame(scene);
        for (cStageChara& c : g_listStageChara) c.m_bAppeared = 1;  // every character shows
        state.ResumeTiming();
        scene.PlayFrame();
        DDEndScene();
    }
    state.counters["charas"] = (double)g_listStageChara.size();
    g_lpPlayScene = nullptr;
    for (const auto& s : sheets) DDReleaseSurface(&g_SurfaceData[s[0]]);
    DDEnd();
}
BENCHMARK(BM_BusyStageFrameWithDrawing)->Unit(benchmark::kMicrosecond);

}  // namespace
