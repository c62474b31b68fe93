// Loading the project database: 1,000 animations and 1,000 effects, from the files of a game
// folder, and the frame lists derived from them.
#include <benchmark/benchmark.h>

#include <string>

#include "records/database.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "tools/records/project_writer.h"

namespace {

cDatabase MakeLargeDatabase() {
    cDatabase db;
    db.m_vecAnime.assign(1000, cAnimeRec());
    for (size_t i = 0; i < db.m_vecAnime.size(); ++i) {
        cAnimeRec& a = db.m_vecAnime[i];
        a.m_strName = "アニメ" + std::to_string(i);
        a.m_vecFrames.resize(8);
        for (size_t f = 0; f < a.m_vecFrames.size(); ++f) a.m_vecFrames[f].m_nCell = (int32_t)f;
    }
    db.m_vecEffect.assign(1000, cEffectRec());
    for (size_t i = 0; i < db.m_vecEffect.size(); ++i) {
        cEffectRec& e = db.m_vecEffect[i];
        e.m_strName = "エフェクト" + std::to_string(i);
        e.m_strFile = "effect.bmp";
        e.m_vecFrames.resize(6);
    }
    return db;
}

void BM_LoadDatabase(benchmark::State& state) {
    cGameFolder folder("/tmp", "velmora-bench-db");
    cDatabase source = MakeLargeDatabase();
    cSystemData system;
    cWorldMap map;
    WriteProjectFiles(folder, source, system, map);
    folder.Enter();
    for (auto _ : state) {
        cDatabase db;
        if (!db.LoadAll()) state.SkipWithError("LoadAll failed");
        benchmark::DoNotOptimize(db.m_vecEffect.data());
    }
    folder.Leave();
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond);

void BM_BuildFrameLists(benchmark::State& state) {
    cDatabase db = MakeLargeDatabase();
    ANIMEFRAMETABLE anime, effect;
    for (auto _ : state) {
        db.BuildIndex1(anime);
        db.BuildIndex2(effect);
        benchmark::DoNotOptimize(anime.data());
    }
}
BENCHMARK(BM_BuildFrameLists)->Unit(benchmark::kMicrosecond);

}  // namespace
