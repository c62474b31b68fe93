// A small program on the drawing layer for the real-window test: it opens a 640 x 480 window,
// starts the drawing device in the back end given on the command line ("d3d" or "dd"), draws a
// test picture and presents it, writes the picture it presented to PICTURE.png and its client
// origin to READY, then keeps the window up until DONE exists (or 30 seconds pass).
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "media/blit.h"
#include "media/draw_device.h"
#include "media/primitives.h"
#include "media/surface.h"
#include "platform/d3d9/testing.h"
#include "platform/ddraw/testing.h"
#include "platform/host/host.h"
#include "platform/win32/win32.h"
#include "tools/golden_image.h"

namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0;
}

void TestPicture() {
    DDSURFACEDATA* b = &g_BackBufferSD;
    for (int i = 0; i < 8; ++i) {
        g_EnginePalette[10 + i] = PALETTEENTRY{(BYTE)(i & 1 ? 255 : 40), (BYTE)(i & 2 ? 255 : 40), (BYTE)(i & 4 ? 255 : 40), 0};
        DDFillRect(b, i * 80, 0, 80, 480, 10 + i);
    }
    g_EnginePalette[30] = PALETTEENTRY{250, 120, 10, 0};
    g_EnginePalette[31] = PALETTEENTRY{20, 20, 20, 0};
    DDFillRect(b, 200, 160, 240, 160, 31);
    for (int r = 10; r < 80; r += 7) DDDrawCircle(b, 320, 240, r, 30);
    for (int x = 0; x < 640; x += 2) DDPSet(b, x, 479, 31);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    bool d3d = std::strcmp(argv[1], "d3d") == 0;
    std::string dir = argv[2];
    host::Init();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DrawWindowDemo";
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(0, "DrawWindowDemo", "draw", WS_POPUP, 100, 100, 640, 480, nullptr, nullptr, nullptr,
                                nullptr);
    ShowWindow(hwnd, SW_SHOW);
    static DDSURFACEDATA slots[1];
    static SURFACEFILEDESC files[1];
    if (!DDInit(d3d ? 1 : 0, hwnd, 640, 480, 32, 0, 1, 1, 60, 0, slots, files, 0)) return 3;
    if (d3d) DDBeginScene();
    TestPicture();
    // What is presented: the back buffer's pixels.
    raster::Surface* bb = d3d ? d3d9::SurfacePixels(g_BackBufferSD.lpDT->lpSurface)
                              : ddraw::SurfacePixels(g_BackBufferSD.lpDD->lpSurface);
    std::vector<uint32_t> px((size_t)bb->width * bb->height);
    raster::ToArgbImage(*bb, px.data(), bb->width * 4, true);
    tools::WritePngArgb(dir + "/PICTURE.png", px.data(), bb->width, bb->height, false);
    POINT o{0, 0};
    ClientToScreen(hwnd, &o);
    bool ready = false;
    for (int i = 0; i < 3000 && !Exists(dir + "/DONE"); ++i) {
        if (d3d) {
            DDFlip(60);
            DDBeginScene();
            TestPicture();
        } else {
            RECT client{o.x, o.y, o.x + 640, o.y + 480};
            DDPresentDirectDraw(client, 0, 0);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        host::PumpEvents();
        if (!ready && i > 20) {
            FILE* f = std::fopen((dir + "/READY").c_str(), "w");
            if (f) {
                std::fprintf(f, "%d %d\n", (int)o.x * host::DisplayScale(), (int)o.y * host::DisplayScale());
                std::fclose(f);
            }
            ready = true;
        }
        Sleep(10);
    }
    DDEnd();
    DestroyWindow(hwnd);
    host::Shutdown();
    return 0;
}
