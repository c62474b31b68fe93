// Screen transitions: the scene fades as state machines in both back ends, the flip schedule,
// blinds offsets, the sine strips, palette blends and rotations, and a golden picture of the
// strip effects per back end.
#include <cmath>

#include "media/pixel_effects.h"
#include "media/transitions.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

class Transitions : public DrawFixture {
protected:
    void TearDown() override {
        for (DDSURFACEDATA& s : solids) DDReleaseSurface(&s);
        DrawFixture::TearDown();
    }
    // A w x h record of one palette colour.
    DDSURFACEDATA* Solid(int w, int h, int palNum) {
        DDSURFACEDATA* s = &solids[used++];
        EXPECT_TRUE(DDCreateSurface(s, w, h, 1, 0, 0, 0, 0));
        DDFillRect(s, 0, 0, w, h, palNum);
        return s;
    }
    uint32_t Back(int x, int y) {
        DDEndScene();
        return BackPixels()->Get(x, y);
    }
    DDSURFACEDATA solids[4] = {};
    int used = 0;
};

}  // namespace

TEST_F(Transitions, Direct3DFadesStepAlongAQuarterSineAndRestart) {
    Open(Mode{"d3d_32", 1, 32, 1});
    DDSURFACEDATA* white = Solid(640, 480, 1);
    DDSetDrawColor(0xFFFFFFFF);
    auto frame = [&]() { DDBlt(&g_BackBufferSD, 0, 0, 640, 480, white, 0, 0, 0); };
    uint32_t full = [&] {
        frame();
        return Back(5, 5) & 0xFF;
    }();
    // Fade-in: angles 0, 30, 60, 90; the fourth call finishes with the whole picture.
    const int levelIn[4] = {0, 127, 220, 255};
    for (int k = 0; k < 4; ++k) {
        frame();
        EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 0, 0, 0, 30.0, nullptr, 0), k == 3 ? 1 : 0) << k;
        EXPECT_NEAR((double)(Back(5, 5) & 0xFF), full * levelIn[k] / 255.0, 1.0) << k;
    }
    // It starts afresh; the restart flag jumps to the end at once.
    frame();
    EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 0, 0, 0, 30.0, nullptr, 0), 0);
    EXPECT_EQ(Back(5, 5) & 0xFF, 0u);
    frame();
    EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 0, 0, 0, 30.0, nullptr, 1), 1);
    EXPECT_EQ(Back(5, 5) & 0xFF, full);
    // Fade-out: 90, 60, 30, 0, done.
    for (int k = 0; k < 4; ++k) {
        frame();
        EXPECT_EQ(DrawWaveFadeOut(nullptr, 0, 255, 0, 0, 0, 30.0, nullptr, 0), k == 3 ? 1 : 0) << k;
        EXPECT_NEAR((double)(Back(5, 5) & 0xFF), full * levelIn[3 - k] / 255.0, 1.0) << k;
    }
    // A step that cannot move ends the fade instead of running forever.
    EXPECT_EQ(DrawWaveFadeOut(nullptr, 0, 255, 0, 0, 0, 0.0, nullptr, 0), 1);
}

TEST_F(Transitions, DirectDrawFadesBlendTheSnapshotOrThePalette) {
    Open(Mode{"dd_32", 0, 32, 0});
    DDSURFACEDATA* picture = Solid(640, 480, 1);
    DDBlt(&g_BackBufferSD, 0, 0, 640, 480, picture, 0, 0, 0);
    uint32_t p = Back(3, 3) & 0xFFFFFF;
    // Angle 0: the snapshot is taken and the plain colour drawn; 30 degrees: level 128.
    EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 255, 0, 0, 30.0, nullptr, 0), 0);
    EXPECT_EQ(Back(3, 3) & 0xFFFFFF, 0xFF0000u);
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 9);  // the scene's next frame is not used
    EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 255, 0, 0, 30.0, nullptr, 0), 0);
    uint32_t want = ((((p >> 16) & 0xFF) * 128 + 255 * 128) >> 8) << 16 | (((p >> 8) & 0xFF) * 128 >> 8) << 8 |
                    ((p & 0xFF) * 128 >> 8);
    EXPECT_EQ(Back(3, 3) & 0xFFFFFF, want);
    EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 255, 0, 0, 90.0, nullptr, 0), 0);
    EXPECT_EQ(DrawWaveFadeIn(nullptr, 0, 255, 255, 0, 0, 90.0, nullptr, 0), 1);
    EXPECT_EQ(Back(3, 3) & 0xFFFFFF, p);
}

TEST_F(Transitions, EightBitFadesWriteTheBlendedPaletteEntries) {
    Open(Mode{"dd_8", 0, 8, 0});
    PALETTEENTRY work[256];
    // Fade-out at 60 degrees (level 221) towards white over entries 10..20.
    EXPECT_EQ(DrawWaveFadeOut(work, 10, 20, 255, 255, 255, 30.0, g_EnginePalette, 0), 0);
    EXPECT_EQ(DrawWaveFadeOut(work, 10, 20, 255, 255, 255, 30.0, g_EnginePalette, 0), 0);
    PALETTEENTRY shown[256];
    ASSERT_EQ(g_lpDDPalette->GetEntries(0, 0, 256, shown), DD_OK);
    int level = (int)(std::sin(60.0 * 3.14159265358979323846 / 180.0) * 256.0);
    for (int i = 10; i <= 20; ++i) {
        EXPECT_EQ(shown[i].peRed, (g_EnginePalette[i].peRed * level + 255 * (256 - level)) >> 8) << i;
        EXPECT_EQ(shown[i].peFlags, 1);
    }
}

TEST(PaletteBlend, FadeAndRotateTables) {
    PALETTEENTRY src[256], dst[256];
    for (int i = 0; i < 256; ++i) src[i] = PALETTEENTRY{(BYTE)i, (BYTE)(255 - i), (BYTE)(i / 2), 0};
    src[200].peRed = 200;
    FadePaletteToColor(dst, 200, 200, 128, 0, 0, 0, src);
    EXPECT_EQ(dst[200].peRed, 100);
    EXPECT_EQ(dst[200].peFlags, 1);
    FadePaletteToColor(dst, -5, 300, 256, 9, 9, 9, src);  // cut to the palette; 256 keeps the source
    EXPECT_EQ(dst[0].peRed, 0);
    EXPECT_EQ(dst[255].peGreen, 0);
    FadePaletteToColor(dst, 0, 255, 0, 7, 8, 9, src);
    EXPECT_EQ(dst[77].peBlue, 9);

    int saved = g_nDDBpp;
    struct Case {
        int first, last, n, dir;
        int entry, from;  // dst[entry] == src[from]
    } cases[] = {
        {10, 13, 1, 0, 10, 13}, {10, 13, 1, 0, 11, 10}, {10, 13, 1, 0, 13, 12},  // up, the last to the front
        {10, 13, 1, 1, 13, 10}, {10, 13, 1, 1, 10, 11},                          // down, the first to the end
        {10, 13, 5, 0, 11, 10}, {10, 13, -1, 0, 10, 11},                         // n beyond the range, negative
        {250, 400, 1, 0, 250, 255}, {-3, 1, 1, 0, 0, 1},                         // ends cut to the palette
        {10, 13, 1, 2, 10, 10}, {13, 10, 1, 0, 10, 10},                          // other directions, empty range
    };
    for (int bpp : {8, 16, 32}) {
        g_nDDBpp = bpp;
        for (const Case& c : cases) {
            RotatePaletteRange(dst, c.first, c.last, c.n, c.dir, src);
            EXPECT_EQ(dst[c.entry].peRed, src[c.from].peRed) << bpp << " " << c.first << ".." << c.last << " n " << c.n;
            EXPECT_EQ(dst[5].peRed, src[5].peRed);
        }
    }
    // In place, and nothing at 24 bits.
    PALETTEENTRY pal[256];
    std::memcpy(pal, src, sizeof pal);
    RotatePaletteRange(pal, 10, 13, 1, 0, pal);
    EXPECT_EQ(pal[10].peRed, 13);
    g_nDDBpp = 24;
    std::memset(dst, 0x5A, sizeof dst);
    RotatePaletteRange(dst, 10, 13, 1, 0, src);
    EXPECT_EQ(dst[0].peRed, 0x5A);
    g_nDDBpp = saved;
}

TEST_F(Transitions, FlipScheduleBlindsAndSineStrips) {
    Open(Mode{"dd_32", 0, 32, 0});
    DDSURFACEDATA* front = Solid(40, 20, 1);
    DDSURFACEDATA* back = Solid(40, 20, 2);
    uint32_t cf = PalNumToRGB(1), cb = PalNumToRGB(2);
    // The drawn span [left, right) of row 10 and its colour.
    auto span = [&](int* l, int* r) {
        uint32_t c = 0;
        *l = -1, *r = -1;
        for (int x = 0; x < 200; ++x) {
            uint32_t p = Back(x, 10) & 0xFFFFFF;
            if (p == cf || p == cb) {
                if (*l < 0) *l = x, c = p;
                *r = x + 1;
            }
        }
        return c;
    };
    struct Case {
        int width, t;
        int left, right;
        bool front;
    } cases[] = {{100, 0, 0, 100, true},  {100, 49, 49, 51, true}, {100, 50, 49, 51, false}, {100, 99, 0, 100, false},
                 {100, 100, 0, 100, false}, {100, 150, 49, 51, true}, {1, 0, 0, 1, true},     {1, 1, 0, 1, false},
                 {2, 7, 0, 2, true}};
    for (const Case& c : cases) {
        DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 0);
        DrawFlip(&g_BackBufferSD, 0, 0, c.width, 20, FLIPIMAGE{front, 0, 0}, FLIPIMAGE{back, 0, 0}, 40, 20, 0, c.t, 0);
        int l, r;
        uint32_t colour = span(&l, &r);
        EXPECT_EQ(l, c.left) << c.width << " t " << c.t;
        EXPECT_EQ(r, c.right) << c.width << " t " << c.t;
        EXPECT_EQ(colour, c.front ? cf : cb) << c.width << " t " << c.t;
    }
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 0);
    DrawFlip(&g_BackBufferSD, 0, 0, 0, 20, FLIPIMAGE{front, 0, 0}, FLIPIMAGE{back, 0, 0}, 40, 20, 0, 3, 0);
    DrawFlip(&g_BackBufferSD, 0, 0, 100, 20, FLIPIMAGE{front, 0, 0}, FLIPIMAGE{back, 0, 0}, 40, 20, 0, 3, 2);
    int l, r;
    span(&l, &r);
    EXPECT_EQ(l, -1);

    // Blinds of 30 with offset 5 over 100 columns: 0 and 60 down, 30 up, the last 10 not drawn.
    DDSURFACEDATA* tall = Solid(100, 40, 1);
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 0);
    DrawBlinds(&g_BackBufferSD, 10, 20, 100, 40, 30, 5, tall, 0, 0, 0, 1);
    auto top = [&](int x) {
        for (int y = 0; y < 100; ++y)
            if ((Back(x, y) & 0xFFFFFF) == cf) return y;
        return -1;
    };
    EXPECT_EQ(top(10), 25);
    EXPECT_EQ(top(39), 25);
    EXPECT_EQ(top(40), 15);
    EXPECT_EQ(top(70), 25);
    EXPECT_EQ(top(99), 25);
    EXPECT_EQ(top(100), -1);

    // A sine of amplitude 0 is a plain copy; nothing for a strip or width of 0.
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 0);
    DDBlt(&g_BackBufferSD, 0, 0, 64, 32, &g_SurfaceData[4], 0, 0, 1);
    std::vector<uint32_t> plain;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) plain.push_back(Back(x, y));
    ASSERT_TRUE(Load({4}));
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 0);
    DrawSineEffect(&g_BackBufferSD, 0, 0, 64, 32, 3.0, 0.0, 10.0, 3, &g_SurfaceData[4], 0, 0, 1, 1);
    DrawSineEffect(&g_BackBufferSD, 100, 0, 0, 32, 3.0, 5.0, 10.0, 3, &g_SurfaceData[4], 0, 0, 1, 1);
    DrawSineEffect(&g_BackBufferSD, 100, 0, 64, 32, 3.0, 5.0, 10.0, 0, &g_SurfaceData[4], 0, 0, 1, 0);
    std::vector<uint32_t> sine;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) sine.push_back(Back(x, y));
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 0);
    DDBlt(&g_BackBufferSD, 0, 0, 64, 32, &g_SurfaceData[4], 0, 0, 1);
    plain.clear();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) plain.push_back(Back(x, y));
    EXPECT_EQ(sine, plain);
    EXPECT_EQ(Back(110, 10), Back(630, 470));
}

namespace {
class TransitionScene : public Transitions, public testing::WithParamInterface<Mode> {};
}  // namespace

TEST_P(TransitionScene, Golden) {
    Open(GetParam());
    ASSERT_TRUE(Load({4, 47}));
    DDSURFACEDATA* sheet = &g_SurfaceData[4];
    DDSURFACEDATA* title = &g_SurfaceData[47];
    DDSURFACEDATA* back = &g_BackBufferSD;
    DDFillRect(back, 0, 0, 400, 160, 3);
    DrawSineEffect(back, 8, 8, 64, 32, 2.0, 4.0, 30.0, 2, sheet, 0, 0, 1, 1);
    DrawSineEffect(back, 88, 8, 64, 32, 1.0, 6.0, 0.0, 4, sheet, 0, 0, 1, 0);
    DrawBlinds(back, 168, 8, 64, 32, 8, 3, sheet, 0, 0, 1, 1);
    DrawBlinds(back, 248, 8, 64, 32, 6, 2, sheet, 0, 0, 1, 0);
    DrawFlip(back, 8, 60, 64, 32, FLIPIMAGE{sheet, 0, 0}, FLIPIMAGE{title, 0, 0}, 32, 24, 1, 20, 0);
    DrawFlip(back, 88, 60, 64, 32, FLIPIMAGE{sheet, 0, 0}, FLIPIMAGE{title, 0, 0}, 32, 24, 1, 40, 1);
    DrawQuarterSplit(back, 180, 64, 48, 24, title, 0, 0, 4, 0);
    DrawFrameBox(back, 260, 64, 40, 20, title, 3, 6);
    DrawFrame(back, 320, 60, 60, 40, 2, 7);
    DDEndScene();
    ExpectGolden(Crop(*BackPixels(), 0, 0, 400, 110), std::string("transitions_") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Modes, TransitionScene,
                         testing::Values(Mode{"d3d_32", 1, 32, 1}, Mode{"dd_16", 0, 16, 0}, Mode{"dd_8", 0, 8, 0}),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });
