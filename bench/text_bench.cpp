// A full 640 x 480 screen of text (30 lines of 38 mixed half- and full-width characters with
// the 16-dot font) drawn through the bitmap font in each back end, with the glyph cache on and
// off.
#include <benchmark/benchmark.h>

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

void Text(benchmark::State& state, int d3d, int cache) {
    static DDSURFACEDATA slots[1];
    static SURFACEFILEDESC files[1];
    if (!DDInit(d3d, Window(), 640, 480, 32, 0, d3d ? 1 : 0, 1, 60, 0, slots, files, 0)) {
        state.SkipWithError("no device");
        return;
    }
    for (int i = 0; i < 256; ++i) g_EnginePalette[i] = PALETTEENTRY{(BYTE)i, (BYTE)(255 - i), 128, 0};
    DDSetTransmit(255, 0, 255);
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

void BM_TextScreenDirect3DCache(benchmark::State& s) { Text(s, 1, 1); }
void BM_TextScreenDirect3DNoCache(benchmark::State& s) { Text(s, 1, 0); }
void BM_TextScreenDirectDrawCache(benchmark::State& s) { Text(s, 0, 1); }
void BM_TextScreenDirectDrawNoCache(benchmark::State& s) { Text(s, 0, 0); }
BENCHMARK(BM_TextScreenDirect3DCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenDirect3DNoCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenDirectDrawCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScreenDirectDrawNoCache)->Unit(benchmark::kMillisecond);

}  // namespace
