// The quad batch (order, runs, same pixels as direct drawing), device restore in both back ends,
// and the disc copy.
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

uint32_t At(raster::Surface* s, int x, int y) { return s->GetArgb(x, y) & 0xFFFFFF; }

int g_nFontsLost = 0, g_nFontsRestored = 0;
void FontsLost() { ++g_nFontsLost; }
void FontsRestored() { ++g_nFontsRestored; }

}  // namespace

TEST_F(DrawFixture, SortedBatchDrawsByTextureThenInDrawOrder) {
    Open(Mode{"d3d_32", 1, 32, 1});
    ASSERT_TRUE(Load({4, 47, 51}));
    DDSURFACEDATA *a = &g_SurfaceData[47], *b = &g_SurfaceData[4], *c = &g_SurfaceData[51];
    DDSURFACEDATA* back = &g_BackBufferSD;
    DDBatchBegin(1);
    DDBatchAddTexture(a);
    DDBatchAddTexture(b);
    DDBlt(back, 0, 0, 32, 24, b, 0, 0, 0);    // b first in draw order ...
    DDBlt(back, 0, 0, 32, 24, a, 0, 0, 0);    // ... a over it
    DDBlt(back, 100, 0, 32, 24, b, 0, 0, 0);
    DDBlt(back, 0, 0, 8, 8, c, 8, 0, 0);      // unregistered: drawn first of all
    DDBatchFlush();
    DDEndScene();
    raster::Surface* bb = BackPixels();
    // a's quads come before b's, so b is on top; c was drawn first and is covered by both.
    EXPECT_EQ(At(bb, 10, 10), At(bb, 110, 10));
    EXPECT_NE(At(bb, 10, 10), 0x3050A0u);
    DDBATCHSTATS st = DDLastBatchStats();
    EXPECT_EQ(st.nQueued, 4);
    EXPECT_EQ(st.nRuns, 3);  // c; a; b twice in one run
}

TEST_F(DrawFixture, BatchedQuadsGiveTheSamePixelsAsDirectOnes) {
    Open(Mode{"d3d_16", 1, 16, 0});
    ASSERT_TRUE(Load({4, 67, 68}));
    DDSURFACEDATA* sheet = &g_SurfaceData[4];
    auto draw = [&](DDSURFACEDATA* dst) {
        for (int i = 0; i < 40; ++i) {
            int x = (i % 10) * 34, y = (i / 10) * 34;
            DDSetDrawColor(0xFF000000u | (DWORD)(i * 0x060503));
            DDBlt(dst, x, y, 32, 32, sheet, (i & 1) * 32, 0, i & 1);
            DDResetDrawColor();
        }
    };
    DDFillRect(&g_SurfaceData[67], 0, 0, 640, 480, 9);
    DDFillRect(&g_SurfaceData[70 - 3], 0, 0, 640, 480, 9);
    draw(&g_SurfaceData[67]);
    raster::Surface direct = *Pixels(g_SurfaceData[67]);
    DDFillRect(&g_SurfaceData[67], 0, 0, 640, 480, 9);
    DDBatchBegin(0);
    draw(&g_SurfaceData[67]);
    DDBatchFlush();
    EXPECT_EQ(direct.bits, Pixels(g_SurfaceData[67])->bits);
    EXPECT_EQ(DDLastBatchStats().nQueued, 40);
}

TEST_F(DrawFixture, BatchRunsStayWithinSixteenBitIndicesAndKeysNeverCollide) {
    Open(Mode{"d3d_32", 1, 32, 1});
    ASSERT_TRUE(Load({4, 47}));
    DDSURFACEDATA *a = &g_SurfaceData[47], *b = &g_SurfaceData[4];
    DDSURFACEDATA* back = &g_BackBufferSD;
    DDBatchBegin(1);
    DDBatchAddTexture(a);
    DDBatchAddTexture(b);
    DDBlt(back, 0, 0, 32, 24, b, 0, 0, 0);
    for (int i = 0; i < 100000; ++i) DDBlt(back, 300, 300, 1, 1, a, 0, 0, 0);
    DDBlt(back, 0, 0, 32, 24, a, 0, 0, 0);  // the 100002nd quad: still before every quad of b
    DDBatchFlush();
    DDEndScene();
    DDBATCHSTATS st = DDLastBatchStats();
    EXPECT_EQ(st.nQueued, 100002);
    // a: 100001 quads of one run's kind, cut into runs of at most 16384 (7); b: one run.
    EXPECT_EQ(st.nRuns, 7 + 1);
    raster::Surface* bb = BackPixels();
    EXPECT_NE(At(bb, 10, 10), 0x3050A0u);  // b on top
}

TEST_F(DrawFixture, Direct3DRestoreBringsFileTexturesBackAndMarksBlankOnesLost) {
    DDSetFontRestoreHooks(FontsLost, FontsRestored);
    g_nFontsLost = g_nFontsRestored = 0;
    Open(Mode{"d3d_32", 1, 32, 1});
    ASSERT_TRUE(Load({4, 5, 67, 70}));
    DDSetVirtualBackBuffer(1);
    DDFillRectD3D(&g_SurfaceData[67], 0, 0, 16, 16, 0xFF112233);
    DDFillRectD3D(&g_SurfaceData[70], 0, 0, 16, 16, 0xFF445566);
    raster::Surface sheet = *Pixels(g_SurfaceData[4]);
    IDirect3DTexture9* fileTex = g_SurfaceData[4].lpDT->lpTexture;
    IDirect3DTexture9* sysTex = g_SurfaceData[70].lpDT->lpTexture;
    DDEndScene();

    // The device answers OK: nothing is released or made again.
    EXPECT_EQ(DDRestoreSurface(), 1u);
    EXPECT_EQ(g_SurfaceData[4].lpDT->lpTexture, fileTex);
    EXPECT_EQ(g_nFontsLost, 0);
    // Still lost: nothing happens yet.
    d3d9::SimulateDeviceLoss(g_lpD3DDevice);
    EXPECT_EQ(DDFlip(60), 0u);
    EXPECT_EQ(DDRestoreSurface(), 0u);
    EXPECT_EQ(g_SurfaceData[4].lpDT->lpTexture, fileTex);
    // Ready for a reset.
    d3d9::SimulateDeviceNotReset(g_lpD3DDevice);
    EXPECT_EQ(DDRestoreSurface(), 1u);
    EXPECT_EQ(g_nFontsLost, 1);
    EXPECT_EQ(g_nFontsRestored, 1);
    ASSERT_NE(g_SurfaceData[4].lpDT->lpTexture, nullptr);
    EXPECT_EQ(Pixels(g_SurfaceData[4])->bits, sheet.bits);        // file texture: its pixels again
    EXPECT_EQ(g_SurfaceData[4].bLost, 0u);
    EXPECT_EQ(g_SurfaceData[67].bLost, 1u);                        // blank: made again, marked
    EXPECT_EQ(Pixels(g_SurfaceData[67])->Get(0, 0), 0u);
    EXPECT_EQ(g_SurfaceData[70].lpDT->lpTexture, sysTex);          // system memory survives
    EXPECT_EQ(Pixels(g_SurfaceData[70])->Get(0, 0), 0xFF445566u);
    EXPECT_EQ(g_VirBackBufferSD.bLost, 1u);
    EXPECT_EQ(g_WorkSD.bLost, 1u);
    EXPECT_EQ(g_SurfaceData[5].lpLink, &g_SurfaceData[4]);         // views still draw the owner
    EXPECT_EQ(g_SurfaceData[5].lpDT->lpTexture, nullptr);
    // Drawing works again.
    DDBlt(&g_BackBufferSD, 0, 0, 32, 32, &g_SurfaceData[5], 0, 0, 1);
    EXPECT_EQ(DDFlip(60), 1u);
    DDSetFontRestoreHooks(nullptr, nullptr);
}

TEST_F(DrawFixture, DirectDrawRestoreCopiesBitmapsAgain) {
    Open(Mode{"dd_32", 0, 32, 0});
    ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/WorldEvent.bmp", SpriteSheet(), tools::BmpOptions{24, false, false}));
    ASSERT_TRUE(Load({4, 5, 53, 65, 67}));
    raster::Surface sheet = *Pixels(g_SurfaceData[4]);
    raster::Surface mirrored = *Pixels(g_SurfaceData[5]);
    raster::Surface sysPic = *Pixels(g_SurfaceData[53]);
    DDFillRect(&g_SurfaceData[65], 0, 0, 8, 8, 7);  // system memory blank
    DDFillRect(&g_SurfaceData[67], 0, 0, 8, 8, 7);  // video memory blank
    // A lost surface alone does nothing while the primary is fine.
    ddraw::SimulateSurfaceLost(g_SurfaceData[4].lpDD->lpSurface);
    EXPECT_EQ(DDRestore(), 1);
    EXPECT_EQ(g_SurfaceData[4].lpDD->lpSurface->IsLost(), DDERR_SURFACELOST);
    ddraw::SimulateSurfaceLoss(g_lpDD);
    EXPECT_EQ(DDRestore(), 1);
    EXPECT_EQ(g_PrimarySD.lpDD->lpSurface->IsLost(), DD_OK);
    EXPECT_EQ(Pixels(g_SurfaceData[4])->bits, sheet.bits);
    EXPECT_EQ(Pixels(g_SurfaceData[5])->bits, mirrored.bits);
    EXPECT_EQ(g_SurfaceData[67].bLost, 1u);
    EXPECT_EQ(g_SurfaceData[65].bLost, 0u);
    EXPECT_NE(Pixels(g_SurfaceData[65])->Get(0, 0), 0u);  // system memory keeps its pixels
    EXPECT_EQ(Pixels(g_SurfaceData[53])->bits, sysPic.bits);
}

TEST_F(DrawFixture, DiscCopiesACircleInStrips) {
    Open(Mode{"dd_32", 0, 32, 0});
    ASSERT_TRUE(Load({66, 67}));
    DDSURFACEDATA *src = &g_SurfaceData[66], *dst = &g_SurfaceData[67];
    DDFillRect(src, 0, 0, 640, 480, 20);
    DDFillRect(dst, 0, 0, 640, 480, 0);
    DDBltDisc(dst, 100, 100, 1000, 1000, 10, 1, src, 50, 50, 0);
    raster::Surface* p = Pixels(*dst);
    uint32_t in = Pixels(*src)->Get(0, 0), out = p->Get(0, 0);
    ASSERT_NE(in, out);
    EXPECT_EQ(p->Get(100, 100), in);
    EXPECT_EQ(p->Get(100, 90), out);   // row -r: half-width 0
    EXPECT_EQ(p->Get(96, 91), in);     // row -9: half-width 4, columns 96..103
    EXPECT_EQ(p->Get(104, 91), out);
    EXPECT_EQ(p->Get(91, 100), in);    // row 0: half-width r - 1
    EXPECT_EQ(p->Get(90, 100), out);
    // The horizontal clip extent limits the source columns around the centre.
    DDFillRect(dst, 0, 0, 640, 480, 0);
    DDBltDisc(dst, 100, 100, 3, 1000, 10, 4, src, 50, 50, 0);
    EXPECT_EQ(p->Get(97, 100), in);
    EXPECT_EQ(p->Get(96, 100), out);
    EXPECT_EQ(p->Get(102, 100), in);
    EXPECT_EQ(p->Get(103, 100), out);
}
