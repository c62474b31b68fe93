// Screen effects over the finished play picture in both drawing back ends: every kind runs its
// duration and ends, held frames keep the picture still, the move, zoom and shake pictures, the
// damaged parameters (no bands, no shakes, a kind outside the table), and the screen colour.
#include <gtest/gtest.h>

#include <array>

#include "media/surface.h"
#include "play/effect_obj.h"
#include "play/effect_progress.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "play/stage_bitmaps.h"
#include "play/stage_objects.h"
#include "records/database.h"
#include "tests/frontend/scene_fixture.h"

using namespace scenetest;

namespace {

cScrEffectRec ScrEffect(int kind, std::array<int32_t, 5> p) {
    cScrEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

struct Mode {
    const char* name;
    int d3d;
};

class ScreenEffect : public SceneFixture, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Open(GetParam().d3d, 32);
        saved = g_Database;
        scene = std::make_unique<cPlayScene>();
    }
    void TearDown() override {
        scene.reset();
        g_Database = saved;
        SceneFixture::TearDown();
    }
    // The effect list: record 0 and the given definitions.
    void Define(std::vector<cScrEffectRec> defs) {
        defs.insert(defs.begin(), ScrEffect(0, {}));
        g_Database.m_vecScrEffect = defs;
        g_Database.CopyReversedTables();
        g_Database.BuildIndex4(ScrEffectStates, ScrEffectStatesReversed);
    }
    // A picture: colour 40 with a square of colour 80 at the centre and one of 120 at the top left.
    void Picture() {
        DDFillSurface(&g_BackBufferSD, 40);
        DDFillRect(&g_BackBufferSD, 300, 220, 40, 40, 80);
        DDFillRect(&g_BackBufferSD, 0, 0, 20, 20, 120);
    }
    // The picture as drawn: under Direct3D the effects work on the virtual back buffer.
    std::vector<uint32_t> Pixels() {
        if (g_lpDDDevice && g_lpDDDevice->bVirBackBuffer)
            return drawtest::Argb(*d3d9::SurfacePixels(g_VirBackBufferSD.lpDT->lpSurface), true);
        return drawtest::Argb(*BackPixels(), true);
    }
    static uint32_t At(const std::vector<uint32_t>& px, int x, int y) { return px[(size_t)y * 640 + x]; }
    // Frames (a fresh picture each) until the effect ends; limit + 1 when it did not.
    int FramesToEnd(int limit, int hold = 0) {
        for (int i = 1; i <= limit; ++i) {
            Picture();
            RunScreenEffect(scene.get(), hold);
            if (scene->m_ScreenEffect.State.nId == 0) return i;
        }
        return limit + 1;
    }
    cDatabase saved;
    std::unique_ptr<cPlayScene> scene;
};

TEST_P(ScreenEffect, EveryKindRunsItsDurationAndEndsButNotWhileHeld) {
    // A tenth of a second each: 6 frames of value, a tenth more for the time kinds whose whole
    // value is compared with the duration.
    Define({ScrEffect(1, {1, 0, 0, 64, 32}), ScrEffect(2, {1, 8, 2, 0, 0}), ScrEffect(3, {1, 8, 2, 0, 0}),
            ScrEffect(4, {1, 0, 24, 8, 0}), ScrEffect(5, {1, 24, 0, 8, 0}), ScrEffect(6, {1, 0, 16, 3, 4}),
            ScrEffect(7, {1, 16, 0, 3, 4}), ScrEffect(8, {1, 3, 0, 0, 0}), ScrEffect(9, {1, 0, 90, 0, 0}),
            ScrEffect(10, {1, 400, 20, 2, 0}), ScrEffect(11, {1, 320, 1280, 0, 0}), ScrEffect(12, {1, 10, 200, 5, -5}),
            ScrEffect(13, {1, 1, 16, 0, 0})});
    // Direct3D reads the picture back every frame, which is slow: the reversed runs once.
    std::vector<int> modes = {EFFECT_RUN_NORMAL};
    if (!GetParam().d3d) modes.push_back(EFFECT_RUN_REVERSE);
    for (int id = 1; id <= 13; ++id) {
        for (int mode : modes) {
            StartScreenEffectOn(scene.get(), id, mode, 0);
            EXPECT_EQ(FramesToEnd(3, 1), 4) << "held: kind " << id;
            int n = FramesToEnd(20);
            EXPECT_GE(n, 6) << "kind " << id << " mode " << mode;
            EXPECT_LE(n, 13) << "kind " << id << " mode " << mode;
        }
    }
    StartScreenEffectOn(scene.get(), 9, EFFECT_RUN_SWING, 0);  // there and back
    int n = FramesToEnd(30);
    EXPECT_GE(n, 12);
    EXPECT_LE(n, 16);
    StartScreenEffectOn(scene.get(), 2, EFFECT_RUN_NORMAL, 1);  // a loop never ends
    EXPECT_EQ(FramesToEnd(40), 41);
}

TEST_P(ScreenEffect, MoveShiftsThePictureAndHeldFramesStandStill) {
    Define({ScrEffect(1, {1, 0, 0, 60, 30})});  // (0,0) to (60,30) in six frames
    Picture();
    std::vector<uint32_t> before = Pixels();
    StartScreenEffectOn(scene.get(), 1, EFFECT_RUN_NORMAL, 0);
    for (int i = 0; i < 3; ++i) {
        Picture();
        RunScreenEffect(scene.get(), 0);
    }
    // Three frames are half a tenth: offset (30, 15) on the next picture.
    Picture();
    RunScreenEffect(scene.get(), 1);
    std::vector<uint32_t> px = Pixels();
    EXPECT_EQ(At(px, 30, 15), At(before, 0, 0));
    EXPECT_EQ(At(px, 330, 235), At(before, 300, 220));
    EXPECT_NE(At(px, 5, 5), At(before, 5, 5));  // uncovered: the empty screen's black
    double v = scene->m_ScreenEffect.State.dValue;
    for (int i = 0; i < 5; ++i) {
        Picture();
        RunScreenEffect(scene.get(), 1);
        ASSERT_EQ(Pixels(), px);
    }
    EXPECT_EQ(scene->m_ScreenEffect.State.dValue, v);
}

TEST_P(ScreenEffect, ZoomAtSixHundredFortyIsThePictureAndBelowShrinksIt) {
    Define({ScrEffect(11, {1, 640, 640, 0, 0}), ScrEffect(11, {1, 320, 320, 0, 0})});
    Picture();
    std::vector<uint32_t> before = Pixels();
    StartScreenEffectOn(scene.get(), 1, EFFECT_RUN_NORMAL, 0);
    Picture();
    RunScreenEffect(scene.get(), 0);
    EXPECT_EQ(Pixels(), before);
    StartScreenEffectOn(scene.get(), 2, EFFECT_RUN_NORMAL, 0);  // half size, centred
    Picture();
    RunScreenEffect(scene.get(), 0);
    std::vector<uint32_t> px = Pixels();
    EXPECT_EQ(At(px, 320, 240), At(before, 320, 240));
    EXPECT_EQ(At(px, 165, 125), At(before, 10, 10));
    EXPECT_NE(At(px, 100, 100), At(before, 100, 100));  // outside: the empty screen
    EXPECT_EQ(At(px, 100, 100), At(px, 639, 479));
}

TEST_P(ScreenEffect, DamagedDefinitionsRunSafely) {
    // No shakes: the picture stays still for the duration. No bands: one band. No wave
    // roughness: one-dot bands. A kind outside the table ends at once.
    Define({ScrEffect(2, {1, 20, 0, 0, 0}), ScrEffect(4, {1, 0, 10, 0, 0}), ScrEffect(6, {1, 0, 10, 2, 0}),
            ScrEffect(99, {1, 0, 0, 0, 0}), ScrEffect(13, {1, -5, -5, 0, 0})});
    Picture();
    std::vector<uint32_t> before = Pixels();
    StartScreenEffectOn(scene.get(), 1, EFFECT_RUN_NORMAL, 0);
    for (int i = 0; i < 6; ++i) {
        Picture();
        RunScreenEffect(scene.get(), 0);
        ASSERT_EQ(Pixels(), before) << i;
    }
    StartScreenEffectOn(scene.get(), 2, EFFECT_RUN_NORMAL, 0);
    EXPECT_LE(FramesToEnd(20), 20);
    StartScreenEffectOn(scene.get(), 3, EFFECT_RUN_NORMAL, 0);
    EXPECT_LE(FramesToEnd(20), 20);
    StartScreenEffectOn(scene.get(), 4, EFFECT_RUN_NORMAL, 0);
    EXPECT_EQ(FramesToEnd(5), 1);
    StartScreenEffectOn(scene.get(), 5, EFFECT_RUN_NORMAL, 0);  // a mosaic of no size shows the picture
    Picture();
    RunScreenEffect(scene.get(), 0);
    EXPECT_EQ(Pixels(), before);
}

TEST_P(ScreenEffect, ScreenColourTintsLastsAndFlashes) {
    const int32_t tint[8] = {255, 0, 0, 100, 0, 1, 0, 0};  // red, full, a tenth
    StartScreenColour(scene.get(), tint);
    Picture();
    std::vector<uint32_t> before = Pixels();
    ScreenFlash(scene.get());
    EXPECT_EQ(Pixels(), before);  // counter 0: intensity 255
    for (int i = 0; i < 6; ++i) {
        Picture();
        ScreenFlash(scene.get());
    }
    const SCREENCOLOUR& c = scene->m_ScreenColour;
    EXPECT_EQ(c.bRunning, 0);
    if (GetParam().d3d) {
        EXPECT_EQ(c.bKept, 1);
        EXPECT_EQ(c.nKeptIntensity, 0);
        Picture();
        ScreenFlash(scene.get());  // the tint stays in place
        EXPECT_NE(Pixels(), before);
        ScreenColourFilterOff(scene.get());
        Picture();
        ScreenFlash(scene.get());
        EXPECT_EQ(Pixels(), before);
        const int32_t flash[8] = {0, 0, 255, 50, 1, 1, 3, 0};  // three flashes of six frames
        StartScreenColour(scene.get(), flash);
        int n = 0;
        while (c.bRunning && n < 100) {
            ScreenFlash(scene.get());
            ++n;
        }
        EXPECT_EQ(n, 18);
        EXPECT_EQ(c.bKept, 0);
    } else {
        EXPECT_EQ(c.bKept, 0);  // DirectDraw at 32 bits: the change ends at once
    }
}

// The kinds that reshape the picture, once each half-way, compared with golden images.
TEST_P(ScreenEffect, PicturesOfTheShapingKinds) {
    if (GetParam().d3d) GTEST_SKIP() << "the golden pictures are taken with DirectDraw";
    Define({ScrEffect(4, {1, 8, 8, 6, 0}), ScrEffect(7, {1, 12, 12, 2, 8}), ScrEffect(9, {1, 30, 30, 0, 0}),
            ScrEffect(10, {1, 120, 120, 4, 0}), ScrEffect(12, {1, 150, 150, -40, 0}),
            ScrEffect(13, {1, 12, 12, 0, 0})});
    g_vecHero.emplace_back();
    cHero& hero = g_vecHero.back();
    hero.m_dX = 420.0;
    hero.m_dY = 280.0;
    hero.m_nWidth = hero.m_nHeight = 32;
    const char* names[] = {"bands", "wave", "rotation", "circle", "lens", "mosaic"};
    for (int id = 1; id <= 6; ++id) {
        StartScreenEffectOn(scene.get(), id, EFFECT_RUN_NORMAL, 0);
        for (int y = 0; y < 480; y += 40) DDFillRect(&g_BackBufferSD, 0, y, 640, 40, 20 + y / 4);
        for (int x = 0; x < 640; x += 64) DDFillRect(&g_BackBufferSD, x, 0, 8, 480, 200);
        DDFillRect(&g_BackBufferSD, 420, 280, 32, 32, 120);
        RunScreenEffect(scene.get(), 1);
        drawtest::ExpectGolden(*BackPixels(), std::string("screen_effect_") + names[id - 1]);
    }
}

// An effect object drawn from its sheet at its stage place less the scroll, frame by frame.
TEST_P(ScreenEffect, EffectObjectDrawsItsCurrentCell) {
    cEffectRec rec;
    rec.m_nWidth = rec.m_nHeight = 16;
    rec.m_vecFrames.resize(2);
    rec.m_vecFrames[1].m_nCell = 1;
    g_Database.m_vecEffect = {cEffectRec(), rec};
    g_Database.BuildIndex2(EffectFrameTable);
    g_vecEffectBmp.assign(2, DDSURFACEDATA{});
    for (DDSURFACEDATA& sheet : g_vecEffectBmp) {
        ASSERT_TRUE(DDCreateSurface(&sheet, 32, 16, 1, 0, 0, 0, 0));
        DDFillRect(&sheet, 0, 0, 16, 16, 80);
        DDFillRect(&sheet, 16, 0, 16, 16, 120);
    }
    scene->m_ScrollX.m_dPos = 100.0;
    g_lpPlayScene = scene.get();
    EffectObj e;
    e.CreateAt(1, 150.0, 60.0, 16, 16, 0);
    DDFillSurface(&g_BackBufferSD, 40);
    std::vector<uint32_t> plain = Pixels();
    ASSERT_EQ(e.Draw(0), 0);
    std::vector<uint32_t> first = Pixels();
    EXPECT_NE(At(first, 50, 60), At(plain, 50, 60));
    EXPECT_EQ(At(first, 49, 60), At(plain, 49, 60));
    EXPECT_EQ(At(first, 66, 76), At(plain, 66, 76));
    for (int i = 0; i < 6; ++i) ASSERT_EQ(e.Draw(0), 0);  // the second cell now
    EXPECT_NE(At(Pixels(), 50, 60), At(first, 50, 60));
    EffectObj big;
    big.CreateAt(1, 150.0, 200.0, 32, 32, 0);  // stretched to 32 x 32
    EXPECT_EQ(big.Draw(0), 0);
    EXPECT_EQ(At(Pixels(), 81, 231), At(first, 50, 60));
    g_lpPlayScene = nullptr;
    for (DDSURFACEDATA& sheet : g_vecEffectBmp) DDReleaseSurface(&sheet);
    g_vecEffectBmp.clear();
}

TEST(ScreenColour, IntensityRunsFromTheFullPictureToTheStrength) {
    struct Case {
        int counter, time, strength, want;
    } cases[] = {{0, 60, 100, 255}, {30, 60, 100, 127}, {60, 60, 100, 0}, {60, 60, 50, 127},
                 {10, 0, 100, 0},   {0, 60, 250, 255},  {60, 60, -3, 255}};
    for (const Case& c : cases)
        EXPECT_EQ(ScreenColourIntensity(c.counter, c.time, c.strength), c.want)
            << c.counter << " " << c.time << " " << c.strength;
}

INSTANTIATE_TEST_SUITE_P(Modes, ScreenEffect, testing::Values(Mode{"DirectDraw", 0}, Mode{"Direct3D", 1}),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });

}  // namespace
