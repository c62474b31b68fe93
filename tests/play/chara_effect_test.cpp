// Character effects drawn by their renderers: every kind runs its duration and ends (also when
// hidden), held frames stand still, growth at 32 is the normal size, a blink with interval 0
// flips every frame, and the scaled path through the work surface.
#include <gtest/gtest.h>

#include <array>

#include "media/surface.h"
#include "play/chara_effect.h"
#include "play/effect_progress.h"
#include "play/stage_chara.h"
#include "records/database.h"
#include "tests/frontend/scene_fixture.h"

using namespace scenetest;

namespace {

cCharaEffectRec CharaEffect(int kind, std::array<int32_t, 5> p) {
    cCharaEffectRec e;
    e.m_nKind = kind;
    std::copy(p.begin(), p.end(), e.m_anParams);
    return e;
}

class CharaEffectDraw : public SceneFixture {
protected:
    void SetUp() override {
        SceneFixture::SetUp();
        Open(0, 32);
        saved = g_Database;
        ASSERT_TRUE(DDCreateSurface(&sheet, 32, 32, 1, 0, 0, 0, 0));
        DDFillRect(&sheet, 0, 0, 32, 32, 0);  // transparent
        DDFillRect(&sheet, 4, 4, 24, 24, 80);
        DDFillRect(&sheet, 4, 4, 8, 8, 120);
        cell = CHARACELL{&sheet, 0, 0, 32, 32, 1, 1, 0, {}};
        chara.m_nRectLeft = 100;
        chara.m_nRectTop = 100;
        chara.m_nRectRight = 131;
        chara.m_nRectBottom = 131;
    }
    void TearDown() override {
        ReleaseCharaEffectSurfaces();
        DDReleaseSurface(&sheet);
        g_Database = saved;
        SceneFixture::TearDown();
    }
    void Define(std::vector<cCharaEffectRec> defs) {
        defs.insert(defs.begin(), CharaEffect(0, {}));
        g_Database.m_vecCharaEffect = defs;
        g_Database.CopyReversedTables();
        g_Database.BuildIndex3(CharaEffectStates, CharaEffectStatesReversed);
    }
    std::vector<uint32_t> Draw(int hold = 0, int draw = 1, int* ended = nullptr) {
        DDFillSurface(&g_BackBufferSD, 40);
        int e = draw ? RunCharaEffectRenderer(chara, &g_BackBufferSD, cell, hold)
                     : RenderCharaEffect(chara, &g_BackBufferSD, cell, hold, 0);
        if (ended) *ended = e;
        return drawtest::Argb(*BackPixels(), true);
    }
    int FramesToEnd(int limit, int draw = 1) {
        for (int i = 1; i <= limit; ++i) {
            int ended = 0;
            Draw(0, draw, &ended);
            if (ended) return i;
        }
        return limit + 1;
    }
    cDatabase saved;
    DDSURFACEDATA sheet = {};
    CHARACELL cell = {};
    cStageChara chara;
};

TEST_F(CharaEffectDraw, EveryKindRunsItsDurationAndEndsAlsoWhenHidden) {
    // Two tenths each (12 frames); the interpolating kinds run 0 -> 24 or 24 -> 0.
    std::vector<cCharaEffectRec> defs;
    for (int kind = 1; kind <= 16; ++kind) defs.push_back(CharaEffect(kind, {2, 0, 24, 3, 4}));
    Define(defs);
    for (int id = 1; id <= 16; ++id)
        for (int draw : {1, 0}) {
            StartCharaEffect(chara.m_CharaEffect, id, EFFECT_RUN_NORMAL, 0);
            int n = FramesToEnd(30, draw);
            EXPECT_GE(n, 12) << "kind " << id;
            EXPECT_LE(n, 14) << "kind " << id;
            if (draw) {
                EXPECT_EQ(chara.m_CharaEffect.nId, 0) << "kind " << id;
            }
        }
    chara.m_CharaEffect = CHARAEFFECTSTATE{};  // no effect: the plain draw, never ending
    EXPECT_EQ(FramesToEnd(30), 31);
}

TEST_F(CharaEffectDraw, HeldFramesStandStill) {
    Define({CharaEffect(1, {2, 0, 24, 0, 0}), CharaEffect(6, {2, 2, 0, 0, 0}), CharaEffect(4, {2, 0, 6, 2, 2})});
    for (int id = 1; id <= 3; ++id) {
        StartCharaEffect(chara.m_CharaEffect, id, EFFECT_RUN_NORMAL, 0);
        for (int i = 0; i < 5; ++i) Draw();
        CHARAEFFECTSTATE before = chara.m_CharaEffect;
        std::vector<uint32_t> px = Draw(1);
        for (int i = 0; i < 20; ++i) {
            ASSERT_EQ(Draw(1), px) << "kind " << id;
            ASSERT_EQ(chara.m_CharaEffect.dValue, before.dValue);
            ASSERT_EQ(chara.m_CharaEffect.nPhase, before.nPhase);
            ASSERT_EQ(chara.m_CharaEffect.nExtra, before.nExtra);
        }
    }
}

TEST_F(CharaEffectDraw, GrowthAtThirtyTwoIsTheNormalSizeAndBlinkZeroFlipsEveryFrame) {
    Define({CharaEffect(11, {2, 32, 32, 0, 0}), CharaEffect(11, {2, 64, 64, 0, 0}), CharaEffect(6, {5, 0, 0, 0, 0})});
    chara.m_CharaEffect = CHARAEFFECTSTATE{};
    std::vector<uint32_t> plain = Draw();
    StartCharaEffect(chara.m_CharaEffect, 1, EFFECT_RUN_NORMAL, 0);
    EXPECT_EQ(Draw(), plain);
    StartCharaEffect(chara.m_CharaEffect, 2, EFFECT_RUN_NORMAL, 0);  // 32 dots larger, centred
    std::vector<uint32_t> grown = Draw();
    EXPECT_NE(grown, plain);
    EXPECT_EQ(grown[(size_t)95 * 640 + 95], plain[(size_t)104 * 640 + 104]);  // the corner mark at twice the size
    EXPECT_EQ(grown[(size_t)86 * 640 + 86], plain[(size_t)50 * 640 + 50]);

    StartCharaEffect(chara.m_CharaEffect, 3, EFFECT_RUN_NORMAL, 0);
    std::vector<uint32_t> a = Draw(), b = Draw(), c = Draw();
    EXPECT_NE(a, b);
    EXPECT_EQ(a, c);
    EXPECT_TRUE(a == plain || b == plain);
}

TEST_F(CharaEffectDraw, EachDrawingKindChangesThePictureAndStaysInItsPlace) {
    // Constant values: burst 8, bands 4 of 4, waves 6, blink and translucency every 5 frames,
    // rotation 45, turn in depth 16 (45 degrees), circle 10, growth 48, lens 20, colour 200 at strength 3, mosaic 5, blur 2.
    std::vector<cCharaEffectRec> defs = {
        CharaEffect(1, {9, 8, 8, 0, 0}),  CharaEffect(2, {9, 4, 4, 4, 0}),  CharaEffect(3, {9, 4, 4, 4, 0}),
        CharaEffect(4, {9, 6, 6, 2, 2}),  CharaEffect(5, {9, 6, 6, 2, 2}),  CharaEffect(6, {9, 5, 0, 0, 0}),
        CharaEffect(7, {9, 45, 45, 0, 0}), CharaEffect(8, {9, 45, 45, 0, 0}), CharaEffect(9, {9, 16, 16, 0, 0}),
        CharaEffect(10, {9, 10, 10, 1, 0}), CharaEffect(11, {9, 48, 48, 0, 0}), CharaEffect(12, {9, 20, 20, 0, 0}),
        CharaEffect(13, {9, 3, 3, 200, 0}), CharaEffect(14, {9, 5, 0, 0, 0}), CharaEffect(15, {9, 5, 5, 0, 0}),
        CharaEffect(16, {9, 2, 2, 0, 0})};
    Define(defs);
    chara.m_CharaEffect = CHARAEFFECTSTATE{};
    std::vector<uint32_t> plain = Draw();
    for (int id = 1; id <= 16; ++id) {
        StartCharaEffect(chara.m_CharaEffect, id, EFFECT_RUN_NORMAL, 0);
        std::vector<uint32_t> px = Draw();
        EXPECT_NE(px, plain) << "kind " << id;
        EXPECT_EQ(px[(size_t)20 * 640 + 20], plain[(size_t)20 * 640 + 20]) << "kind " << id;
    }
}

TEST_F(CharaEffectDraw, ScaledCharactersGoThroughTheWorkSurface) {
    Define({CharaEffect(15, {2, 5, 5, 0, 0}), CharaEffect(2, {2, 0, 8, 0, 0})});  // blocks of 10 at scale 2
    cell.nScale = 2;
    chara.m_nRectRight = 163;
    chara.m_nRectBottom = 163;
    chara.m_CharaEffect = CHARAEFFECTSTATE{};
    std::vector<uint32_t> plain = Draw();
    EXPECT_EQ(plain[(size_t)110 * 640 + 110], plain[(size_t)120 * 640 + 120]);  // the corner mark, twice the size
    StartCharaEffect(chara.m_CharaEffect, 1, EFFECT_RUN_NORMAL, 0);
    std::vector<uint32_t> mosaic = Draw();
    EXPECT_NE(mosaic, plain);
    EXPECT_EQ(mosaic[(size_t)50 * 640 + 50], plain[(size_t)50 * 640 + 50]);  // the rest of the screen
    StartCharaEffect(chara.m_CharaEffect, 2, EFFECT_RUN_NORMAL, 0);
    EXPECT_LE(FramesToEnd(20), 14);
}

}  // namespace
