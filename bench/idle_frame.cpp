// The cost of one GameFrame with nothing to draw: pacing off (frame rate 0), the title slot's
// plain scene, input polling and presenting a cleared frame.
#include <benchmark/benchmark.h>

#include "app/game_loop.h"
#include "app/scene_manager.h"

static void BM_IdleGameFrame(benchmark::State& state) {
    g_SceneManager.m_nFrameRate = 0;
    g_SceneManager.m_nCurrent = SCENE_TITLE;
    for (auto _ : state) benchmark::DoNotOptimize(GameFrame());
    g_SceneManager.DestroyAll();
}
BENCHMARK(BM_IdleGameFrame);
