// The range display of distance conditions: the switches that keep a range from showing, the
// edges of the horizontal and vertical shapes by facing, circles small and large (the large
// ones through the work surface on DirectDraw), the cycling colour, and the pass over the
// characters in view.
#include <gtest/gtest.h>

#include "flow/flow.h"
#include "flow/range_display.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/stage_file.h"
#include "tests/play/flying_hero.h"
#include "tests/play/play_draw_fixture.h"

namespace {

// A shown distance condition: shape, reach in half blocks and extra dots, colour index.
cFlowCond Range(int shape, int halfBlocks, int dots = 0, int colour = 0) {
    cFlowCond c;
    c.m_cKind = 7;
    c.m_byShape = (uint8_t)shape;
    c.m_nValue = halfBlocks;
    c.m_sIndex = (int16_t)dots;
    c.m_byA1 = 1;  // shown
    c.m_byA2 = (uint8_t)colour;
    c.m_bySource = 1;  // also before appearing
    c.m_byB1 = 1;      // also while dead or hidden
    return c;
}

class RangeDisplay : public playdraw::PlayDrawFixture {
protected:
    void SetUp() override {
        PlayDrawFixture::SetUp();
        chara.m_nRectLeft = 200;
        chara.m_nRectTop = 150;
        chara.m_nRectRight = 231;
        chara.m_nRectBottom = 181;
        chara.m_nGraphWidth = chara.m_nGraphHeight = 32;
        chara.m_nDir = 1;
        chara.m_bAppeared = 1;
    }
    void TearDown() override {
        g_listStageChara.clear();
        g_bEditor = 0;
        ReleaseRangeDisplaySurface();
        PlayDrawFixture::TearDown();
    }
    uint32_t Colour(int palNum) {
        DDFillRect(&g_BackBufferSD, 639, 479, 1, 1, palNum);
        return At(639, 479);
    }
    void Clear() { DDFillSurface(&g_BackBufferSD, 16); }
    cStageChara chara;
};

TEST_F(RangeDisplay, SwitchesThatKeepARangeFromShowing) {
    struct CASE {
        const char* what;
        int display, before, hidden, colour, editor, appeared, dead, hiddenChara;
        int drawn;
    } cases[] = {
        {"shown", 1, 1, 1, 0, 0, 1, 0, 0, 1},
        {"display off", 0, 1, 1, 0, 1, 1, 0, 0, 0},
        {"test play only, no editor", 2, 1, 1, 0, 0, 1, 0, 0, 0},
        {"test play only, editor", 2, 1, 1, 0, 1, 1, 0, 0, 1},
        {"not before appearing", 1, 0, 1, 0, 0, 0, 0, 0, 0},
        {"before appearing allowed", 1, 1, 1, 0, 0, 0, 0, 0, 1},
        {"not while dead", 1, 1, 0, 0, 0, 1, 1, 0, 0},
        {"not while hidden", 1, 1, 0, 0, 0, 1, 0, 1, 0},
        {"while hidden allowed", 1, 1, 1, 0, 0, 1, 1, 1, 1},
        {"colour 7", 1, 1, 1, 7, 0, 1, 0, 0, 1},
        {"colour 8 out of range", 1, 1, 1, 8, 0, 1, 0, 0, 0},
    };
    for (const CASE& k : cases) {
        SCOPED_TRACE(k.what);
        Clear();
        cFlowCond c = Range(0, 2, 0, k.colour);
        c.m_byA1 = (uint8_t)k.display;
        c.m_bySource = (uint8_t)k.before;
        c.m_byB1 = (uint8_t)k.hidden;
        g_bEditor = k.editor;
        chara.m_bAppeared = k.appeared;
        chara.m_bDead = k.dead;
        chara.m_byHidden = (uint8_t)k.hiddenChara;
        EXPECT_EQ(DrawCharaRange(chara, &g_BackBufferSD, c, 0), k.drawn);
        // The left edge of the range: 32 dots left of the rectangle.
        EXPECT_EQ(At(168, 10) == Colour(208 + 4 * k.colour), k.drawn != 0);
    }
    EXPECT_NE(Report().find("range display colour 8 out of range: not drawn"), std::string::npos);
}

TEST_F(RangeDisplay, EdgesOfTheShapesByFacing) {
    // Reach 2 half blocks + 8 dots = 40 around the rectangle 200..231 / 150..181.
    struct CASE {
        int shape, dir;
        int low, high;  // the two edges (x for 0-2, y for 3-5)
    } cases[] = {
        {0, 1, 160, 272},  {0, 0, 160, 272},                  // both sides
        {1, 1, 216, 272},  {1, 0, 160, 216},                  // in front: from the centre forward
        {2, 1, 160, 216},  {2, 0, 216, 272},                  // behind
        {3, 1, 110, 222},  {4, 1, 166, 222}, {5, 1, 110, 166},  // vertical, by the same facing rule
    };
    const uint32_t line = Colour(212);
    for (const CASE& k : cases) {
        SCOPED_TRACE(testing::Message() << "shape " << k.shape << " dir " << k.dir);
        Clear();
        chara.m_nDir = k.dir;
        ASSERT_EQ(DrawCharaRange(chara, &g_BackBufferSD, Range(k.shape, 2, 8, 1), 0), 1);
        const bool vertical = k.shape >= 3;
        for (int edge : {k.low, k.high}) {
            // A line across the whole screen.
            EXPECT_EQ(vertical ? At(0, edge) : At(edge, 0), line) << edge;
            EXPECT_EQ(vertical ? At(639, edge) : At(edge, 479), line) << edge;
            EXPECT_NE(vertical ? At(0, edge + 1) : At(edge + 1, 0), line) << edge;
        }
    }
}

TEST_F(RangeDisplay, ColoursCycleThroughFourNeighboursWithTheBlinkCounter) {
    for (int blink : {0, 7, 8, 16, 31}) {
        Clear();
        DrawCharaRange(chara, &g_BackBufferSD, Range(0, 2, 0, 2), blink);
        EXPECT_EQ(At(168, 100), Colour(216 + (blink >> 3))) << blink;
    }
}

TEST_F(RangeDisplay, CirclesSmallAndLargeAroundTheRectangleCentre) {
    const int cx = 216, cy = 166;
    for (int halfBlocks : {2, 8}) {  // 32 dots directly, 128 through the work surface
        SCOPED_TRACE(halfBlocks);
        Clear();
        const int r = halfBlocks * 16;
        ASSERT_EQ(DrawCharaRange(chara, &g_BackBufferSD, Range(6, halfBlocks), 0), 1);
        const uint32_t line = Colour(208);
        EXPECT_NE(At(cx, cy), line);
        EXPECT_NE(At(cx + r / 2, cy), line);
        // The rim within a dot or two of the radius on the four axes.
        auto near = [&](int x0, int y0, int dx, int dy) {
            for (int i = -2; i <= 2; ++i)
                if (At(x0 + i * dx, y0 + i * dy) == line) return true;
            return false;
        };
        EXPECT_TRUE(near(cx + r, cy, 1, 0));
        EXPECT_TRUE(near(cx - r, cy, 1, 0));
        EXPECT_TRUE(near(cx, cy + r, 0, 1));
        EXPECT_TRUE(near(cx, cy - r, 0, 1));
        // Nothing outside the circle.
        EXPECT_NE(At(cx + r + 4, cy), line);
        EXPECT_NE(At(cx, cy - r - 4), line);
    }
}

TEST_F(RangeDisplay, ThePassDrawsTheFlowAndAppearanceRangesOfCharactersInView) {
    cStageChara c = chara;
    cFlow f;
    f.m_vecConds.push_back(Range(0, 2));              // edges at 168 and 264, colour 0
    c.m_Def.m_vecConds.push_back(Range(3, 4, 0, 4));  // appearance: rows 86 and 246, colour 4
    c.m_Def.m_vecFlows.push_back(f);
    c.m_Def.m_byC4 = 1;  // the appearance conditions held once and hold on
    c.m_nInput = 1;      // in view
    g_listStageChara.push_back(c);
    // The pass keeps its own blink counter: any of the four colours of an index.
    auto isColour = [&](uint32_t px, int index) {
        for (int i = 0; i < 4; ++i)
            if (px == Colour(208 + 4 * index + i)) return true;
        return false;
    };

    Clear();
    DrawCharaRanges(scene.get(), &g_BackBufferSD);
    EXPECT_TRUE(isColour(At(168, 0), 0));
    EXPECT_TRUE(isColour(At(264, 0), 0));
    // Once held and appeared: the appearance list is no longer shown.
    EXPECT_FALSE(isColour(At(0, 86), 4));

    g_listStageChara.back().m_bAppeared = 0;
    Clear();
    DrawCharaRanges(scene.get(), &g_BackBufferSD);
    EXPECT_TRUE(isColour(At(0, 86), 4));
    EXPECT_TRUE(isColour(At(0, 246), 4));

    // Out of view nothing is shown.
    g_listStageChara.back().m_nInput = 0;
    Clear();
    DrawCharaRanges(scene.get(), &g_BackBufferSD);
    EXPECT_FALSE(isColour(At(168, 0), 0));
    EXPECT_FALSE(isColour(At(0, 86), 4));
}

// The colour cycle belongs to the stage: a stage set up again starts it at its first colour,
// wherever the last stage left it.
TEST_F(RangeDisplay, EveryStageStartsTheColourCycleAfresh) {
    PlaceFlyingHero(g_LoadedStage);
    TakeStageSettings(g_StageSettings, g_LoadedStage);
    auto setUp = [&] {
        scene->SetStage(1, 0);  // the stage's characters go with it
        cStageChara c = chara;
        c.m_Def.m_vecConds.push_back(Range(0, 2));  // edges at 168 and 264, colour index 0
        c.m_nInput = 1;                             // in view
        g_listStageChara.push_back(c);
    };
    auto drawn = [&] {
        Clear();
        DrawCharaRanges(scene.get(), &g_BackBufferSD);
        return At(168, 0);
    };
    setUp();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(drawn(), Colour(208)) << i;
    EXPECT_EQ(drawn(), Colour(209)) << "the ninth frame shows the second colour";
    setUp();
    EXPECT_EQ(drawn(), Colour(208));
}

}  // namespace
