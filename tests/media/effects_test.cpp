// Per-pixel effects and translucent blits: formula tables per colour depth and back end, the
// bounds of every size and radius, and golden pictures of rotation, lens, blur and mosaic.
#include <cmath>

#include "media/pixel_access.h"
#include "media/pixel_effects.h"
#include "media/translucent_blit.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

class Effects : public DrawFixture {
protected:
    void TearDown() override {
        for (DDSURFACEDATA& s : recs) DDReleaseSurface(&s);
        DrawFixture::TearDown();
    }
    // A w x h record (colour-keyed, video memory or a render target; place 1 a system-memory
    // texture) with raw pixel values from fn(x, y).
    template <typename Fn>
    DDSURFACEDATA* Make(int w, int h, Fn fn, int place = 0) {
        if (used >= (int)std::size(recs)) ADD_FAILURE() << "too many records";
        DDSURFACEDATA* s = &recs[used++ % std::size(recs)];
        EXPECT_TRUE(DDCreateSurface(s, w, h, 1, 0, place, 0, 0));
        cSurfaceLock lock(s, true);
        EXPECT_TRUE(lock.Ok());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) lock.Set(x, y, fn(x, y));
        return s;
    }
    DDSURFACEDATA* Fill(int w, int h, DWORD v, int place = 0) {
        return Make(w, h, [v](int, int) { return v; }, place);
    }
    DWORD At(DDSURFACEDATA* s, int x, int y) {
        DDEndScene();
        cSurfaceLock lock(s, false);
        return lock.Get(x, y);
    }
    DDSURFACEDATA recs[24] = {};
    int used = 0;
};

}  // namespace

TEST_F(Effects, DirectDraw32Tables) {
    Open(Mode{"dd_32", 0, 32, 0});
    DWORD key = g_dwDDColorKey;
    // Translucent: bytes averaged, byte 3 kept; a key-coloured destination takes the source.
    DDSURFACEDATA* dst = Make(4, 1, [&](int x, int) { return x == 1 ? key : 0x11C80000u | (DWORD)x; });
    DDSURFACEDATA* src = Make(4, 1, [&](int x, int) { return x == 2 ? key : 0x00640000u | 0x10u; });
    EXPECT_EQ(DDBltTranslucent(dst, 0, 0, 4, 1, src, 0, 0, 1, nullptr, 0), 1);
    EXPECT_EQ(At(dst, 0, 0), 0x11960008u);      // (200 + 100) >> 1 = 150, (0 + 16) >> 1
    EXPECT_EQ(At(dst, 1, 0) & 0xFFFFFF, 0x640010u);  // the key colour became the source
    EXPECT_EQ(At(dst, 2, 0), 0x11C80002u);      // a transparent source pixel is skipped
    // Tint: strength 2 towards red 255 turns red 0 into 191; byte 3 is not written.
    PALETTEENTRY pal[256] = {};
    pal[9] = PALETTEENTRY{255, 0, 100, 0};
    DDSURFACEDATA* t = Fill(2, 1, 0x22000000u);
    DDSURFACEDATA* s2 = Fill(2, 1, 0x00000064u);
    EXPECT_EQ(DDBltTint(t, 0, 0, 2, 1, s2, 0, 0, 1, pal, nullptr, 9, 0), 1);  // strength 0: nothing
    EXPECT_EQ(At(t, 0, 0), 0x22000000u);
    DDBltTint(t, 0, 0, 2, 1, s2, 0, 0, 1, pal, nullptr, 9, 2);
    EXPECT_EQ(At(t, 0, 0), 0x22BF0064u);
    DDBltTint(t, 0, 0, 2, 1, s2, 0, 0, 1, pal, nullptr, 9, 1000000000);  // settles, finishes at once
    EXPECT_EQ(At(t, 0, 0), 0x22FE0064u);
    // Fade: rate 128 of red 200 towards black gives 100; byte 3 stays.
    DDSURFACEDATA* f = Fill(3, 2, 0x33000000u);
    DDSURFACEDATA* fs = Fill(2, 3, 0x00C80000u);
    EXPECT_EQ(DDFade_UnPal(f, 128, 0, 0, 0, fs), 1);
    EXPECT_EQ(At(f, 1, 1), 0x33640000u);
    EXPECT_EQ(At(f, 2, 0), 0x33000000u);  // beyond the source
    EXPECT_EQ(DDFade_UnPal(f, 999, 0, 0, 0, fs), 1);  // the rate is kept within 0..256
    EXPECT_EQ(At(f, 0, 0), 0x33C80000u);
    // The palette image: entry 17 is the pixel at column 1, row 9; rows past the surface keep.
    DDSURFACEDATA* img = Make(16, 10, [](int x, int y) { return (DWORD)(0x80000000u | y << 16 | x << 8 | (x + y)); });
    PALETTEENTRY p[256];
    for (PALETTEENTRY& e : p) e = PALETTEENTRY{1, 2, 3, 4};
    DDSetPalette_UnPal(p, img);
    EXPECT_EQ(p[17].peRed, 9);
    EXPECT_EQ(p[17].peGreen, 1);
    EXPECT_EQ(p[17].peBlue, 10);
    EXPECT_EQ(p[17].peFlags, 0x80);
    EXPECT_EQ(p[40].peRed, 1);
}

TEST_F(Effects, DirectDraw16Tables) {
    Open(Mode{"dd_16", 0, 16, 0});
    ASSERT_EQ(g_dwChannel2[CH_GMAX], 63u);
    auto pack = [](DWORD r, DWORD g, DWORD b) { return r << 11 | g << 5 | b; };
    // Translucent: channels widened to 0-255, averaged, narrowed.
    DDSURFACEDATA* dst = Fill(1, 1, pack(31, 0, 10));
    DDSURFACEDATA* src = Fill(1, 1, pack(0, 63, 20));
    DDBltTranslucent(dst, 0, 0, 1, 1, src, 0, 0, 1, nullptr, 0);
    // 31 -> 255, 0 -> 0: 127 -> 15; 63 -> 255: 127 -> 31; 10 -> 82, 20 -> 164: 123 -> 14.
    EXPECT_EQ(At(dst, 0, 0), pack(15, 31, 14));
    // Tint: the palette holds raw channels here.
    PALETTEENTRY pal[256] = {};
    pal[3] = PALETTEENTRY{31, 0, 0, 0};
    DDSURFACEDATA* t = Fill(1, 1, 0);
    DDBltTint(t, 0, 0, 1, 1, Fill(1, 1, pack(0, 63, 1)), 0, 0, 0, pal, nullptr, 3, 1);
    EXPECT_EQ(At(t, 0, 0), pack(15, 31, 0));  // (0 + 255) >> 1 = 127 -> 15; (255 + 0) >> 1 -> 31; (8 + 0) >> 1 = 4 -> 0
    // Fade towards white at rate 128.
    DDSURFACEDATA* f = Fill(1, 1, 0);
    DDFade_UnPal(f, 128, 255, 255, 255, Fill(1, 1, pack(0, 0, 31)));
    EXPECT_EQ(At(f, 0, 0), pack(15, 31, 31));
    // The palette image keeps raw 16-bit channels.
    PALETTEENTRY p[256] = {};
    DDSetPalette_UnPal(p, Make(16, 9, [&](int x, int) { return pack(x, 2 * x, 31 - x); }));
    EXPECT_EQ(p[5].peRed, 5);  // row 8 starts at entry 0
    EXPECT_EQ(p[5].peGreen, 10);
    EXPECT_EQ(p[5].peBlue, 26);
}

TEST_F(Effects, DirectDraw8TablesLookUpTheColourTable) {
    Open(Mode{"dd_8", 0, 8, 0});
    std::vector<BYTE> table(65536);
    for (int i = 0; i < 65536; ++i) table[i] = (BYTE)((i * 7 + (i >> 8)) & 0xFF);
    DDSURFACEDATA* dst = Make(3, 1, [](int x, int) { return x == 1 ? 0u : 40u; });
    DDSURFACEDATA* src = Make(3, 1, [](int x, int) { return x == 2 ? 0u : 9u; });
    DDBltTranslucent(dst, 0, 0, 3, 1, src, 0, 0, 1, table.data(), 0);
    EXPECT_EQ(At(dst, 0, 0), table[9 + 256 * 40]);  // source + 256 x destination
    EXPECT_EQ(At(dst, 1, 0), 9u);                   // destination 0 takes the source
    EXPECT_EQ(At(dst, 2, 0), 40u);                  // source 0 skipped
    // Tint: n look-ups of entry s x 256 + colour, for any n.
    for (int n : {1, 3, 17, 123456789}) {
        DDSURFACEDATA* t = Fill(1, 1, 0);
        DDBltTint(t, 0, 0, 1, 1, src, 0, 0, 1, g_EnginePalette, table.data(), 77, n);
        int v = 9;
        for (int k = 0; k < (n > 1000 ? 0 : n); ++k) v = table[v * 256 + 77];
        if (n <= 1000) {
            EXPECT_EQ(At(t, 0, 0), (DWORD)v) << n;
        }
        --used;
        DDReleaseSurface(t);
    }
    // Blur has nothing to do at 8 bits.
    DDSURFACEDATA* b = Fill(4, 4, 5);
    EXPECT_EQ(DDBltBlur(b, 0, 0, 4, 4, 1, 1, Make(4, 4, [](int x, int) { return (DWORD)(x * 30); }), 0, 0, 0), 1);
    EXPECT_EQ(At(b, 2, 2), 5u);
}

TEST_F(Effects, Direct3DQuadsAndProcessorLoops) {
    Open(Mode{"d3d_32", 1, 32, 1});
    // The quad path: vertex alpha 127 lays the source over at about half opacity.
    DDSURFACEDATA* dst = Fill(4, 4, 0xFF000000u);
    DDSURFACEDATA* src = Fill(4, 4, 0xFFFF0000u);
    DDEffectWrap128(dst, 0, 0, 4, 4, src, 0, 0, 1, nullptr);
    EXPECT_NEAR((double)((At(dst, 1, 1) >> 16) & 0xFF), 255 * 128 / 255.0, 1.0);
    // Tint at strength 0 is the palette colour with the source's alpha.
    PALETTEENTRY pal[256] = {};
    pal[4] = PALETTEENTRY{10, 20, 30, 0};
    DDSURFACEDATA* t = Fill(4, 4, 0xFF000000u);
    DDBltTint(t, 0, 0, 4, 4, src, 0, 0, 1, pal, nullptr, 4, 0);
    EXPECT_EQ(At(t, 2, 2) & 0xFFFFFF, 0x0A141Eu);
    // A system-memory source goes through the processor: bytes averaged, alpha 0xFF.
    DDSURFACEDATA* sys = Fill(4, 4, 0x80204060u, 1);
    DDSURFACEDATA* d2 = Fill(4, 4, 0xFF0000FFu);
    DDBltTranslucent(d2, 0, 0, 4, 4, sys, 0, 0, 0, nullptr, 200);
    EXPECT_EQ(At(d2, 0, 0), 0xFF1020AFu);
    DDSURFACEDATA* d3 = Fill(4, 4, 0xFF000000u);
    DDBltTint(d3, 0, 0, 4, 4, sys, 0, 0, 0, pal, nullptr, 4, 1);  // n = 1: (s + c) >> 1
    EXPECT_EQ(At(d3, 0, 0), 0xFF152A3Fu);
    // DDFade_UnPal is DirectDraw's: nothing here.
    EXPECT_EQ(DDFade_UnPal(d3, 0, 0, 0, 0, d3), 1);
    EXPECT_EQ(At(d3, 0, 0), 0xFF152A3Fu);
}

TEST_F(Effects, RotationLensBlurAndMosaicBounds) {
    Open(Mode{"dd_32", 0, 32, 0});
    DWORD key = g_dwDDColorKey;
    auto pattern = [](int x, int y) { return (DWORD)(x * 0x010101 + y * 0x100000); };
    DDSURFACEDATA* src = Make(16, 16, pattern);
    // Angle 0 with pivot (0, 0) copies the rectangle to (dx, dy).
    DDSURFACEDATA* dst = Fill(32, 32, 7);
    EXPECT_EQ(DDBltRotate(dst, 5, 6, 8, 4, 0, 0, 0.0, src, 2, 3, 0), 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(At(dst, 5 + x, 6 + y), pattern(2 + x, 3 + y));
    EXPECT_EQ(At(dst, 13, 6), 7u);
    // 90 degrees about pivot (2, 1): source (u, v) lands at (dx - (v - 1), dy + (u - 2)).
    DDSURFACEDATA* r = Fill(32, 32, 7);
    DDBltRotate(r, 10, 10, 6, 3, 2, 1, 90.0, src, 0, 0, 0);
    EXPECT_EQ(At(r, 10, 10), pattern(2, 1));
    EXPECT_EQ(At(r, 9, 13), pattern(5, 2));
    EXPECT_EQ(At(r, 11, 8), pattern(0, 0));
    // A huge rectangle visits only the destination.
    EXPECT_EQ(DDBltRotate(r, 0, 0, 1 << 30, 1 << 30, 0, 0, 45.0, src, 0, 0, 1), 1);

    // Lens: the centre shows the source's centre, the rim is pulled in; nothing outside r.
    DDSURFACEDATA* l = Fill(16, 16, 7);
    DDBltRadial(l, 4, 4, 3, 1, src, 9, 9, 0, 0);  // R = (int)sqrt(10) = 3
    EXPECT_EQ(At(l, 4, 4), pattern(9, 9));
    EXPECT_EQ(At(l, 6, 4), pattern(10, 9));  // i = 2: u = (int)(2 / sqrt(5) + 0.5) = 1
    EXPECT_EQ(At(l, 7, 4), pattern(12, 9));  // i = 3 on the rim: z = 0, u = i
    EXPECT_EQ(At(l, 7, 5), 7u);                 // outside the disc
    // r = 0 gives R = d: by the rule "nothing unless R > d" nothing is drawn.
    DDSURFACEDATA* l0 = Fill(16, 16, 7);
    DDBltRadial(l0, 4, 4, 0, 5, src, 9, 9, 0, 0);
    EXPECT_EQ(At(l0, 4, 4), 7u);
    DDBltRadial(l, 8, 8, 1, 10, src, 0, 0, 0, 0);  // R = (int)sqrt(101) = 10
    DDBltRadial(l, 8, 8, -1, 3, src, 0, 0, 0, 0);
    EXPECT_EQ(At(l, 8, 8), 7u);
    EXPECT_EQ(DDBltRadial(l, 8, 8, 1 << 30, 1, src, 0, 0, 0, 0), 1);  // bounded by the destination

    // Blur: the window reaches one pixel further up and left than down and right.
    DDSURFACEDATA* dot = Make(12, 12, [](int x, int y) { return x == 5 && y == 5 ? 0x00FCFCFCu : 0u; });
    DDSURFACEDATA* b = Fill(12, 12, 0x11000000u);
    DDBltBlur(b, 0, 0, 12, 12, 1, 1, dot, 0, 0, 0);
    EXPECT_EQ(At(b, 5, 5), 0x113F3F3Fu);  // 252 / 4, byte 3 kept
    EXPECT_EQ(At(b, 6, 6), 0x113F3F3Fu);
    EXPECT_EQ(At(b, 4, 4), 0x11000000u);
    EXPECT_EQ(At(b, 7, 7), 0x11000000u);
    EXPECT_EQ(At(b, 6, 5), 0x113F3F3Fu);
    // Key flag: a transparent pixel is neither written nor counted.
    DDSURFACEDATA* keyed = Make(4, 1, [&](int x, int) { return x == 1 ? key : 0x00000040u * (DWORD)(x + 1); });
    DDSURFACEDATA* kb = Fill(4, 1, 0x01u);
    DDBltBlur(kb, 0, 0, 4, 1, 1, 1, keyed, 0, 0, 1);
    EXPECT_EQ(At(kb, 1, 0), 0x01u);
    EXPECT_EQ(At(kb, 2, 0), 0xC0u);  // only itself: its left neighbour is transparent
    EXPECT_EQ(DDBltBlur(kb, 0, 0, 4, 1, 1 << 30, 1 << 30, keyed, 0, 0, 1), 1);  // any radius is cheap

    // Mosaic: blocks from the top-left, the last ones cut at the edge; n <= 0 draws nothing.
    DDSURFACEDATA* grad = Make(10, 10, [](int x, int) { return (DWORD)(x * 10); });
    DDSURFACEDATA* m = Fill(10, 10, 0x5Au);
    DDBltMosaic(m, 0, 0, 10, 10, 0, grad, 0, 0, 0);
    DDBltMosaic(m, 0, 0, 10, 10, -3, grad, 0, 0, 0);
    EXPECT_EQ(At(m, 0, 0), 0x5Au);
    DDBltMosaic(m, 0, 0, 10, 10, 4, grad, 0, 0, 0);
    EXPECT_EQ(At(m, 3, 3), 15u);  // (0 + 10 + 20 + 30) / 4
    EXPECT_EQ(At(m, 7, 0), 55u);
    EXPECT_EQ(At(m, 9, 9), 85u);  // the edge block of two columns
    // Transparent pixels stay out of the average; a block with none counted is not drawn.
    DDSURFACEDATA* holes = Make(4, 2, [&](int x, int) { return x < 2 ? key : (DWORD)(x * 0x20); });
    DDSURFACEDATA* hm = Fill(4, 2, 0x5Au);
    DDBltMosaic(hm, 0, 0, 4, 2, 2, holes, 0, 0, 1);
    EXPECT_EQ(At(hm, 0, 0), 0x5Au);
    EXPECT_EQ(At(hm, 2, 1), 0x50u);  // (0x40 + 0x60) / 2
    EXPECT_EQ(DDBltMosaic(hm, -5, -5, 1 << 30, 1 << 30, 1, holes, 0, 0, 0), 1);
}

namespace {
class EffectScene : public Effects, public testing::WithParamInterface<Mode> {};
}  // namespace

TEST_P(EffectScene, Golden) {
    Open(GetParam());
    ASSERT_TRUE(Load({4, 47}));
    DDSURFACEDATA* back = &g_BackBufferSD;
    DDSURFACEDATA* sheet = &g_SurfaceData[4];
    DDFillRect(back, 0, 0, 400, 120, 3);
    DDBlt(back, 0, 0, 64, 32, sheet, 0, 0, 1);
    // In DirectDraw the rotations read the sheet's own surface; in Direct3D they are quads.
    DDBltRotate(back, 100, 30, 32, 32, 16, 16, 30.0, sheet, 0, 0, 1);
    DDBltRotate(back, 150, 30, 32, 32, 0, 0, 90.0, sheet, 32, 0, 1);
    DDBltRotate(back, 200, 30, 32, 32, -4, 8, -135.0, sheet, 0, 0, 1);
    // Lens, blur and mosaic read and write the back buffer itself.
    DDBlt(back, 240, 4, 64, 32, sheet, 0, 0, 1);
    DDBltRadial(back, 270, 20, 14, 10, back, 256, 6, 0, 0);
    DDBlt(back, 0, 60, 64, 32, sheet, 0, 0, 1);
    DDBltBlur(back, 0, 60, 64, 32, 2, 1, back, 0, 60, 0);
    DDBlt(back, 80, 60, 64, 32, sheet, 0, 0, 1);
    DDBltMosaic(back, 80, 60, 64, 32, 5, back, 80, 60, 0);
    DDBltMosaic(back, 160, 60, 64, 32, 6, sheet, 0, 0, 1);
    DDBltBlur(back, 240, 60, 64, 32, 3, 3, sheet, 0, 0, 1);
    DDEndScene();
    ExpectGolden(Crop(*BackPixels(), 0, 0, 320, 100), std::string("effects_") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Modes, EffectScene,
                         testing::Values(Mode{"d3d_32", 1, 32, 1}, Mode{"d3d_16", 1, 16, 0}, Mode{"dd_32", 0, 32, 0},
                                         Mode{"dd_16", 0, 16, 0}, Mode{"dd_8", 0, 8, 0}),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });
