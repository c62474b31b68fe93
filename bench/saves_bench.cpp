// The play files: scanning the 99 story slots (what the save and continue screens do when they
// open), and an hour of play input recorded, then played back.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "media/player_input.h"
#include "platform/win32/crt.h"
#include "records/replay.h"
#include "records/save_data.h"
#include "records/story_saves.h"
#include "tools/records/game_folder.h"
#include "tools/records/save_writer.h"

namespace {

// A game folder with all 99 story slots saved, entered for the benchmarks' whole run.
cGameFolder& FullSlots() {
    static std::unique_ptr<cGameFolder> folder = [] {
        auto f = std::make_unique<cGameFolder>(std::filesystem::temp_directory_path().string(), "velmora_bench_saves");
        f->MakeLayout();
        f->MakeFolder("user_data\\story");
        cSaveData d;
        d.m_vecStageResults.resize(40);
        d.m_vecHeroes[0].m_Chara.m_vecFlows.resize(3);
        for (int slot = 0; slot < kStorySlotCount; ++slot) WriteStorySave(*f, slot, d);
        f->Enter();
        return f;
    }();
    return *folder;
}

void BM_ScanStorySlots(benchmark::State& state) {
    FullSlots();
    cSaveSlotList list;
    for (auto _ : state) {
        ScanStorySlots(list);
        benchmark::DoNotOptimize(list.m_vecSlots.data());
    }
    state.SetItemsProcessed((int64_t)state.iterations() * kStorySlotCount);
}
BENCHMARK(BM_ScanStorySlots)->Unit(benchmark::kMillisecond);

// 60 frames a second for an hour, the keys changing every few frames as a player's do.
void BM_ReplayHourRecordAndPlay(benchmark::State& state) {
    constexpr int kFrames = 60 * 60 * 60;
    for (auto _ : state) {
        crt::srand(1);
        cReplay r;
        cPlayerInput in;
        for (int i = 0; i < kFrames; ++i) {
            if (crt::rand() % 6 == 0) in.m_wKey = (WORD)(crt::rand() & 15);
            if (crt::rand() % 9 == 0) in.m_wButton = (WORD)(crt::rand() & 0xFF);
            r.Record(in);
        }
        int played = 0;
        while (r.Next(in) == 0) ++played;
        benchmark::DoNotOptimize(played);
    }
    state.SetItemsProcessed((int64_t)state.iterations() * kFrames);
}
BENCHMARK(BM_ReplayHourRecordAndPlay)->Unit(benchmark::kMillisecond);

}  // namespace
