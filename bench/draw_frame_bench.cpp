// A 640 x 480 frame of 700 colour-keyed 32 x 32 sprites through the drawing layer's DDBlt in
// each back end (goal: under 0.83 ms, 1/20 of a 60 fps frame).
#include <benchmark/benchmark.h>

#include "media/blit.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "platform/win32/win32.h"

namespace {

HWND Window() {
    static HWND h = nullptr;
    if (!h) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DrawFrameBench";
        RegisterClassExA(&wc);
        h = CreateWindowExA(0, "DrawFrameBench", "bench", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    }
    return h;
}

void Frame(benchmark::State& state, int d3d) {
    static DDSURFACEDATA slots[1];
    static SURFACEFILEDESC files[1];
    if (!DDInit(d3d, Window(), 640, 480, 32, 0, d3d ? 1 : 0, 1, 60, 0, slots, files, 0)) {
        state.SkipWithError("no device");
        return;
    }
    DDSetTransmit(255, 0, 255);
    DDSURFACEDATA sprite{};
    DDCreateSurface(&sprite, 32, 32, 1, 0, 0, 0, 0);
    {
        cSurfaceLock lock(&sprite, true);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                int dx = x - 16, dy = y - 16;
                bool in = dx * dx + dy * dy < 225;
                DWORD c = in ? 0x203040u + (DWORD)(x * 0x10203) : 0x00FF00FFu;
                lock.Set(x, y, d3d ? (in ? c | 0xFF000000u : 0) : c);
            }
    }
    for (auto _ : state) {
        for (int i = 0; i < 700; ++i) DDBlt(&g_BackBufferSD, (i * 37) % 608, (i * 53) % 448, 32, 32, &sprite, 0, 0, 1);
        DDEndScene();
    }
    DDReleaseSurface(&sprite);
    DDEnd();
}

void BM_Frame700DDBltDirect3D(benchmark::State& state) { Frame(state, 1); }
void BM_Frame700DDBltDirectDraw(benchmark::State& state) { Frame(state, 0); }
BENCHMARK(BM_Frame700DDBltDirect3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frame700DDBltDirectDraw)->Unit(benchmark::kMillisecond);

}  // namespace
