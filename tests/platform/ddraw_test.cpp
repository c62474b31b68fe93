// The DirectDraw 7 subset: full-screen modes at 8, 16 and 32 bits (golden pictures of what is
// shown), colour-keyed BltFast, stretching Blt and colour fill, flipping, the windowed primary
// through its clipper, palettes, locks and lost surfaces.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ddraw/testing.h"
#include "platform/gdi/gdi.h"
#include "platform/host/host.h"
#include "platform/host/png.h"
#include "platform/host/script.h"
#include "tests/platform/drawing_support.h"

namespace {

class DDrawTest : public testing::Test {
protected:
    void SetUp() override {
        ddraw::ResetTesting();
        hwnd = drawtest::MakeWindow(64, 48);
        ASSERT_EQ(DirectDrawCreateEx(nullptr, (void**)&dd, IID_IDirectDraw7, nullptr), DD_OK);
    }
    void TearDown() override {
        for (auto* s : owned) s->Release();
        if (primary) primary->Release();
        if (dd) {
            EXPECT_EQ(dd->Release(), 0u);
        }
        DestroyWindow(hwnd);
        host::script::Reset();
    }
    void FullScreen(int bpp) {
        ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE), DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(64, 48, bpp, 60, 0), DD_OK);
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof d;
        d.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        d.dwBackBufferCount = 1;
        ASSERT_EQ(dd->CreateSurface(&d, &primary, nullptr), DD_OK);
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
        owned.push_back(back);
    }
    IDirectDrawSurface7* Offscreen(int w, int h, bool system = false) {
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof d;
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (system ? DDSCAPS_SYSTEMMEMORY : 0);
        d.dwWidth = (DWORD)w;
        d.dwHeight = (DWORD)h;
        IDirectDrawSurface7* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DD_OK);
        if (s) owned.push_back(s);
        return s;
    }
    // A 16 x 16 sprite: quadrants of four colours and a key-coloured border and cross.
    IDirectDrawSurface7* Sprite(uint32_t key, const uint32_t colours[4]) {
        IDirectDrawSurface7* s = Offscreen(16, 16);
        raster::Surface* p = ddraw::SurfacePixels(s);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                uint32_t c = colours[(x >= 8) + 2 * (y >= 8)];
                if (x == 0 || y == 0 || x == 15 || y == 15 || x == y) c = key;
                p->Set(x, y, c);
            }
        DDCOLORKEY ck{key, key};
        EXPECT_EQ(s->SetColorKey(DDCKEY_SRCBLT, &ck), DD_OK);
        return s;
    }
    // Draws the scene of the golden pictures on the back buffer and flips it to the screen.
    void DrawScene(uint32_t key, const uint32_t colours[4], uint32_t bg, uint32_t fill) {
        IDirectDrawSurface7* spr = Sprite(key, colours);
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = bg;
        ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
        fx.dwFillColor = fill;
        RECT fr{50, 2, 62, 14};
        ASSERT_EQ(back->Blt(&fr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
        ASSERT_EQ(back->BltFast(2, 2, spr, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
        RECT half{0, 0, 8, 16};
        ASSERT_EQ(back->BltFast(20, 2, spr, &half, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT), DD_OK);
        RECT dst{2, 20, 34, 44};
        ASSERT_EQ(back->Blt(&dst, spr, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
        RECT small{40, 24, 48, 32};
        ASSERT_EQ(back->Blt(&small, spr, nullptr, DDBLT_WAIT, nullptr), DD_OK);
        ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    }
    // The picture last shown on the window, as the test driver captures it.
    std::vector<uint32_t> Shown(int* w, int* h) {
        std::string dir = drawtest::TempFolder("ddraw_capture");
        uint32_t next = host::PresentedFrames();
        host::script::LoadText("at " + std::to_string(next + 1) + " capture shot.png\n", dir);
        EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);  // the other buffer...
        EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);  // ... and back
        std::vector<uint32_t> px;
        host::ReadPng(dir + "/shot.png", &px, w, h);
        return px;
    }

    HWND hwnd = nullptr;
    IDirectDraw7* dd = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* back = nullptr;
    std::vector<IDirectDrawSurface7*> owned;
};

}  // namespace

TEST_F(DDrawTest, FullScreen32) {
    FullScreen(32);
    const uint32_t c[4] = {0xE02020, 0x2020E0, 0x20E020, 0xE0E020};
    DrawScene(0xFF00FF, c, 0x303040, 0x808080);
    drawtest::ExpectGolden(*ddraw::SurfacePixels(primary), "ddraw_scene_32");
}

TEST_F(DDrawTest, FullScreen16) {
    FullScreen(16);
    const uint32_t c[4] = {0xE104, 0x211C, 0x2704, 0xE704};
    DrawScene(0xF81F, c, 0x3188, 0x8410);
    drawtest::ExpectGolden(*ddraw::SurfacePixels(primary), "ddraw_scene_16");
    // What the window shows is the same picture widened to X8R8G8B8.
    int w = 0, h = 0;
    std::vector<uint32_t> shot = Shown(&w, &h);
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 48);
    std::vector<uint32_t> want = drawtest::Argb(*ddraw::SurfacePixels(primary), true);
    for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(shot[i] | 0xFF000000u, want[i]) << i;
}

TEST_F(DDrawTest, FullScreen8ShowsThroughThePalette) {
    FullScreen(8);
    PALETTEENTRY pe[256];
    for (int i = 0; i < 256; ++i) pe[i] = PALETTEENTRY{(BYTE)i, (BYTE)(255 - i), (BYTE)(i * 7), PC_RESERVED};
    IDirectDrawPalette* pal = nullptr;
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, pe, &pal, nullptr), DD_OK);
    ASSERT_EQ(primary->SetPalette(pal), DD_OK);
    const uint32_t c[4] = {40, 90, 160, 220};
    DrawScene(0, c, 12, 250);
    drawtest::ExpectGolden(*ddraw::SurfacePixels(primary), "ddraw_scene_8");
    // New entries change what the same pixels show.
    PALETTEENTRY red{255, 0, 0, PC_RESERVED};
    ASSERT_EQ(pal->SetEntries(0, 12, 1, &red), DD_OK);
    int w = 0, h = 0;
    std::vector<uint32_t> shot = Shown(&w, &h);
    ASSERT_EQ(w, 64);
    EXPECT_EQ(shot[(size_t)47 * 64 + 63] & 0xFFFFFF, 0xFF0000u);
    pal->Release();
}

TEST_F(DDrawTest, BltRulesAndLocks) {
    FullScreen(32);
    IDirectDrawSurface7* s = Offscreen(8, 8);
    IDirectDrawSurface7* sys = Offscreen(8, 8, true);
    RECT out{4, 4, 12, 12};
    EXPECT_EQ(back->BltFast(60, 0, s, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(back->BltFast(0, 0, s, &out, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(back->Blt(&out, s, &out, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(d.dwWidth, 8u);
    EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(d.ddpfPixelFormat.dwRBitMask, 0xFF0000u);
    ((DWORD*)d.lpSurface)[d.lPitch / 4 * 2 + 3] = 0x00ABCDEF;
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->BltFast(0, 0, s, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
    ASSERT_EQ(back->BltFast(10, 10, s, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(ddraw::SurfacePixels(back)->Get(13, 12), 0x00ABCDEFu);
    // A 16-bit primary reports its channel layout.
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof pf;
    ASSERT_EQ(primary->GetPixelFormat(&pf), DD_OK);
    EXPECT_EQ(pf.dwGBitMask, 0x00FF00u);

    // Losing surfaces: video memory only; Restore brings them back empty.
    ddraw::SimulateSurfaceLoss(dd);
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(s->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(sys->IsLost(), DD_OK);
    EXPECT_EQ(back->BltFast(0, 0, s, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->Restore(), DD_OK);
    EXPECT_EQ(s->Restore(), DD_OK);
    EXPECT_EQ(s->IsLost(), DD_OK);
    EXPECT_EQ(ddraw::SurfacePixels(s)->Get(3, 2), 0u);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    // Out of video memory.
    ddraw::Testing().failVideoSurfaces = 1;
    DDSURFACEDESC2 v{};
    v.dwSize = sizeof v;
    v.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    v.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    v.dwWidth = v.dwHeight = 4;
    IDirectDrawSurface7* none = nullptr;
    EXPECT_EQ(dd->CreateSurface(&v, &none, nullptr), DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(dd->SetDisplayMode(64, 48, 24, 0, 0), DDERR_INVALIDMODE);
}

TEST_F(DDrawTest, WindowedPrimaryShowsTheClientArea) {
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    d.dwFlags = DDSD_CAPS;
    d.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(dd->CreateSurface(&d, &primary, nullptr), DD_OK);
    IDirectDrawClipper* clip = nullptr;
    ASSERT_EQ(dd->CreateClipper(0, &clip, nullptr), DD_OK);
    ASSERT_EQ(clip->SetHWnd(0, hwnd), DD_OK);
    ASSERT_EQ(primary->SetClipper(clip), DD_OK);
    clip->Release();
    IDirectDrawSurface7* bb = Offscreen(64, 48);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0x00112233;
    ASSERT_EQ(bb->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    POINT o{0, 0};
    ClientToScreen(hwnd, &o);
    RECT client{o.x, o.y, o.x + 64, o.y + 48};
    unsigned before = ddraw::PresentCount(dd);
    ASSERT_EQ(primary->Blt(&client, bb, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(ddraw::PresentCount(dd), before + 1);
    raster::Surface* shown = ddraw::SurfacePixels(primary);
    ASSERT_EQ(shown->width, 64);
    EXPECT_EQ(shown->Get(63, 47), 0x00112233u);
    EXPECT_EQ(primary->BltFast(0, 0, bb, nullptr, DDBLTFAST_WAIT), DDERR_UNSUPPORTED);
    HDC dc = GetDC(hwnd);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    ReleaseDC(hwnd, dc);
}

TEST_F(DDrawTest, SurfaceContextTakesABitmapThroughGdi) {
    FullScreen(16);
    IDirectDrawSurface7* s = Offscreen(4, 4);
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 16);
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(s->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(s->ReleaseDC(dc), DDERR_INVALIDPARAMS);
}
