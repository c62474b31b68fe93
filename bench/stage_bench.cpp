// Loading a stage file, beside reading the same file's bytes into memory (the floor); each load
// benchmark reports its ratio to the floor measured in the same iterations. Two stages: a
// 200 x 60 stage with 500 placed characters of three flows each, and the same stage with every
// one of its 12,000 cells holding a block.
#include <benchmark/benchmark.h>

#include <thread>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "platform/win32/files.h"
#include "records/stage.h"
#include "tools/records/byte_image.h"
#include "tools/records/stage_writer.h"

// Every allocation of this program goes through here, so a load can report how many it made
// (counted per thread: a plain increment, which costs the load nothing measurable).
thread_local uint64_t t_nAllocations = 0;

void* operator new(size_t size) {
    ++t_nAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// The pair of the operator new above (GCC cannot see that the two belong together).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

enum StageKind { kCharaStage, kDenseStage };

const std::string& StagePath(StageKind kind) {
    static const std::string paths[2] = {
        [] {
            std::string host = (std::filesystem::temp_directory_path() / "velmora_bench_stage.stg4_001").string();
            cStage stage;
            MakeSampleStage(stage, 200, 60, 500, 3);
            WriteHostFile(host, StageFileImage(stage));
            return host;
        }(),
        [] {
            std::string host = (std::filesystem::temp_directory_path() / "velmora_bench_dense.stg4_001").string();
            cStage stage;
            MakeSampleStage(stage, 200, 60, 500, 3);
            stage.m_vecBlocks.clear();
            for (int16_t y = 0; y < 60; ++y)
                for (int16_t x = 0; x < 200; ++x) {
                    cBlockRec b = MakeSampleBlock(y * 200 + x);
                    b.m_sPlaceX = x;
                    b.m_sPlaceY = y;
                    stage.m_vecBlocks.push_back(b);
                }
            WriteHostFile(host, StageFileImage(stage));
            return host;
        }(),
    };
    return paths[kind];
}

std::vector<uint8_t> ReadBytes(const std::string& host) {
    std::vector<uint8_t> bytes;
    if (FILE* fp = std::fopen(host.c_str(), "rb")) {
        std::fseek(fp, 0, SEEK_END);
        bytes.resize((size_t)std::ftell(fp));
        std::fseek(fp, 0, SEEK_SET);
        size_t got = std::fread(bytes.data(), 1, bytes.size(), fp);
        bytes.resize(got);
        std::fclose(fp);
    }
    return bytes;
}

void BM_ReadStageFileBytes(benchmark::State& state) {
    const std::string& host = StagePath((StageKind)state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(ReadBytes(host));
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)std::filesystem::file_size(host));
}
BENCHMARK(BM_ReadStageFileBytes)->Arg(kCharaStage)->Arg(kDenseStage)->Unit(benchmark::kMillisecond);

void BM_LoadStageFile(benchmark::State& state) {
    const std::string& host = StagePath((StageKind)state.range(0));
    const std::string path = WindowsPathFromHost(host);
    using Clock = std::chrono::steady_clock;
    double floor = 0, load = 0;
    uint64_t allocations = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(ReadBytes(host));
        auto t1 = Clock::now();
        cStage stage;
        const uint64_t before = t_nAllocations;
        auto t2 = Clock::now();
        stage.LoadFile(path.c_str());
        auto t3 = Clock::now();
        allocations += t_nAllocations - before;
        benchmark::DoNotOptimize(stage.m_vecCharas.data());
        floor += std::chrono::duration<double>(t1 - t0).count();
        load += std::chrono::duration<double>(t3 - t2).count();
        state.SetIterationTime(std::chrono::duration<double>(t3 - t2).count());
    }
    state.counters["floor_ms"] = benchmark::Counter(floor * 1000.0 / (double)state.iterations());
    state.counters["allocations"] = benchmark::Counter((double)allocations / (double)state.iterations());
    state.counters["ratio_to_floor"] = benchmark::Counter(floor > 0 ? load / floor : 0.0);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)std::filesystem::file_size(host));
}
BENCHMARK(BM_LoadStageFile)->Arg(kCharaStage)->Arg(kDenseStage)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
