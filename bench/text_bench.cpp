// A full 640 x 480 screen of text (30 lines of 38 mixed half- and full-width characters with
// the 16-dot font) drawn through the bitmap font in each back end, with the glyph cache on and
// off; the CacheRatio runs draw both, turn about, and print the cached time over the uncached one
// (goal: below 1, the cache makes text faster), on 32-bit devices and a 16-bit Direct3D one.
#include <benchmark/benchmark.h>

#include <time.h>

#include <string>

#include "media/draw_device.h"
#include "media/font.h"
#include "media/surface.h"
#include "platform/win32/win32.h"

namespace {

HWND Window() {
    static HWND h = nullptr;
    if (!h) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "TextBench";
        RegisterClassExA(&wc);
        h = CreateWindowExA(0, "TextBench", "bench", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    }
    return h;
}

std::string Screen() {
    const char* line = "ゲームの進行状況 Stage 12 スコア 0012345 残り時間 99 ";
    std::string text;
    for (int k = 0; k < 30; ++k) {
        text += line;
        text += '\n';
    }
    return text;
}

// A 640 x 480 device of the back end (32-bit unless asked) with the engine palette set; false
// (the run skipped) when it cannot be made.
bool OpenDevice(benchmark::State& state, int d3d, int bpp = 32) {
    static DDSURFACEDATA slots[1];
    static SURFACEFILEDESC files[1];
    if (!DDInit(d3d, Window(), 640, 480, bpp, 0, d3d ? 1 : 0, 1, 60, 0, slots, files, 0)) {
        state.SkipWithError("no device");
        return false;
    }
    for (int i = 0; i < 256; ++i) g_EnginePalette[i] = PALETTEENTRY{(BYTE)i, (BYTE)(255 - i), 128, 0};
    DDSetTransmit(255, 0, 255);
    return true;
}

void Text(benchmark::State& state, int d3d, int cache) {
    if (!OpenDevice(state, d3d)) return;
    {
        cFont font;
        if (!font.Create("ＭＳ ゴシック", 0, 16, 16, 16, 200, nullptr, 0, 0, nullptr, cache)) {
            state.SkipWithError("no font");
        } else {
            std::string text = Screen();
            for (auto _ : state) {
                font.DrawText(&g_BackBufferSD, 0, 0, text.c_str());
                DDEndScene();
            }
        }
        font.ReleaseFontObjects();
    }
    DDEnd();
}

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

// Both fonts on one device, each screen timed on its own, the two taking turns.
void Ratio(benchmark::State& state, int d3d, int bpp) {
    if (!OpenDevice(state, d3d, bpp)) return;
    {
        cFont cached, direct;
        if (!cached.Create("ＭＳ ゴシック", 0, 16, 16, 16, 200, nullptr, 0, 0, nullptr, 1) ||
            !direct.Create("ＭＳ ゴシック", 0, 16, 16, 16, 200, nullptr, 0, 0, nullptr, 0)) {
            state.SkipWithError("no font");
        } else {
            std::string text = Screen();
            cached.DrawText(&g_BackBufferSD, 0, 0, text.c_str());  // the sheet holds every glyph from here on
            DDEndScene();
            double withCache = 0, without = 0;
            for (auto _ : state) {
                double t0 = NowMs();
                cached.DrawText(&g_BackBufferSD, 0, 0, text.c_str());
                DDEndScene();
                double t1 = NowMs();
                direct.DrawText(&g_BackBufferSD, 0, 0, text.c_str());
                DDEndScene();
                double t2 = NowMs();
                withCache += t1 - t0;
                without += t2 - t1;
            }
            double n = (double)state.iterations();
            state.counters["cached_ms"] = withCache / n;
            state.counters["uncached_ms"] = without / n;
            state.counters["cached_to_uncached"] = without > 0 ? withCache / without : 0;
        }
        cached.ReleaseFontObjects();
        direct.ReleaseFontObjects();
    }
    DDEnd();
}

void BM_TextScreenDirect3DCache(benchmark::State& s) { Text(s, 1, 1); }
void BM_TextScreenDirect3DNoCache(benchmark::State& s) { Text(s, 1, 0); }
void BM_TextScreenDirectDrawCache(benchmark::State& s) { Text(s, 0, 1); }
void BM_TextScreenDirectDrawNoCache(benchmark::State& s) { Text(s, 0, 0); }
BENCHMARK(BM_TextScreenDirect3DCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenDirect3DNoCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenDirectDrawCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenDirectDrawNoCache)->Unit(benchmark::kMillisecond);
void BM_TextScreenCacheRatioDirect3D(benchmark::State& s) { Ratio(s, 1, 32); }
void BM_TextScreenCacheRatioDirect3D16(benchmark::State& s) { Ratio(s, 1, 16); }
void BM_TextScreenCacheRatioDirectDraw(benchmark::State& s) { Ratio(s, 0, 32); }
BENCHMARK(BM_TextScreenCacheRatioDirect3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenCacheRatioDirect3D16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenCacheRatioDirectDraw)->Unit(benchmark::kMillisecond);

}  // namespace
