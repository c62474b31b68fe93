// Full-screen colour fills of the rasterizer, the background fill every play frame begins with:
// a 640 x 480 FillRect in 16- and 32-bit formats, beside memset of the same bytes (the floor)
// and the same fill stored pixel by pixel through Surface::Set (the general path). Each fill
// prints its ratio to the floor measured in the same run.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstring>

#include "platform/raster/blit.h"

namespace {

using raster::PixelFormat;

double Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

raster::Surface Screen(PixelFormat f) {
    raster::Surface s;
    s.Create(640, 480, f);
    return s;
}

// Seconds a memset of the surface's bytes takes (the best of a few).
double FloorSeconds(raster::Surface& s) {
    double best = 1e9;
    for (int r = 0; r < 50; ++r) {
        const double t0 = Now();
        std::memset(s.bits.data(), 0x5A + r, s.bits.size());
        benchmark::ClobberMemory();
        best = std::min(best, Now() - t0);
    }
    return best;
}

void Fill(benchmark::State& state, PixelFormat f, bool perPixel) {
    raster::Surface s = Screen(f);
    const double floor = FloorSeconds(s);
    uint32_t pixel = 0x00336699u;
    const double t0 = Now();
    for (auto _ : state) {
        ++pixel;  // bytes never all alike: the fill cannot fall back to memset
        if (perPixel) {
            for (int y = 0; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x) s.Set(x, y, pixel);
        } else {
            raster::FillRect(s, s.Bounds(), pixel);
        }
        benchmark::ClobberMemory();
    }
    const double each = (Now() - t0) / (double)state.iterations();
    state.counters["floor_us"] = floor * 1e6;
    state.counters["ratio_to_floor"] = each / floor;
}

void BM_FillScreen32(benchmark::State& state) { Fill(state, PixelFormat::X8R8G8B8, false); }
void BM_FillScreen16(benchmark::State& state) { Fill(state, PixelFormat::R5G6B5, false); }
void BM_FillScreen32PixelByPixel(benchmark::State& state) { Fill(state, PixelFormat::X8R8G8B8, true); }
BENCHMARK(BM_FillScreen32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillScreen16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillScreen32PixelByPixel)->Unit(benchmark::kMicrosecond);

}  // namespace
