// The turn in depth (DrawStripes) and the circular window (DDDrawGauge): which source column or
// square lands where, at the angles and radii where the answer is known, in both back ends.
#include <cmath>

#include "media/depth_effects.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

class DepthEffects : public DrawFixture, public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        DrawFixture::SetUp();
        Open(GetParam());
        // A 32 x 16 source whose column c has palette colour 10 + c, on a background of 2.
        ASSERT_TRUE(DDCreateSurface(&src, 32, 16, 1, 0, 0, 0, 0));
        for (int c = 0; c < 32; ++c) DDFillRect(&src, c, 0, 1, 16, 10 + c);
        DDFillSurface(&g_BackBufferSD, 2);
        background = Back(0, 0);
        for (int c = 0; c < 32; ++c) {
            DDFillRect(&g_BackBufferSD, c, 0, 1, 1, 10 + c);
            column[c] = Back(c, 0);
        }
    }
    void TearDown() override {
        DDReleaseSurface(&src);
        DrawFixture::TearDown();
    }
    uint32_t Back(int x, int y) {
        DDEndScene();
        return BackPixels()->Get(x, y);
    }
    // The source column drawn at (x, y), -1 for the background, -2 for anything else.
    int ColumnAt(int x, int y) {
        const uint32_t p = Back(x, y);
        if (p == background) return -1;
        for (int c = 0; c < 32; ++c)
            if (p == column[c]) return c;
        return -2;
    }
    void Clear() { DDFillSurface(&g_BackBufferSD, 2); }
    DDSURFACEDATA src = {};
    uint32_t background = 0;
    uint32_t column[32] = {};
};

TEST_P(DepthEffects, StripesSqueezeTheCellAsItTurnsAndShowItsBackMirrored) {
    struct CASE {
        int position;
        int squeezed;  // columns drawn, centred
        bool back;     // mirrored
    } cases[] = {
        {0, 32, false}, {128, 32, false}, {-128, 32, false},  // whole turns
        {32, 0, false},  {96, 0, false},                      // edge-on
        {64, 32, true},                                       // half a turn: the back
        {16, 23, false}, {48, 23, true},                      // 45 and 135 degrees: 32 x 0.7071
        {1000000 * 128 + 16, 23, false},                      // far along, the same angle
    };
    for (const CASE& c : cases) {
        Clear();
        DrawStripes(&g_BackBufferSD, 100, 50, 32, 16, &src, 0, 0, c.position, DDBLT_TRANSPARENT);
        const int left = 100 + (32 - c.squeezed) / 2;
        EXPECT_EQ(ColumnAt(left - 1, 55), -1) << c.position;
        EXPECT_EQ(ColumnAt(left + c.squeezed, 55), -1) << c.position;
        for (int i = 0; i < c.squeezed; ++i) {
            int want = (2 * i + 1) * 32 / (2 * c.squeezed);
            if (c.back) want = 31 - want;
            ASSERT_EQ(ColumnAt(left + i, 50), want) << c.position << " column " << i;
            ASSERT_EQ(ColumnAt(left + i, 65), want) << c.position << " column " << i;
        }
        EXPECT_EQ(ColumnAt(left, 49), -1);  // the height is kept
        EXPECT_EQ(ColumnAt(left, 66), -1);
    }
}

TEST_P(DepthEffects, GaugeWindowShowsTheSquaresWhoseCentresLieWithinTheRadius) {
    // Radius 0: nothing; a radius that covers the corners: the whole cell.
    Clear();
    DDDrawGauge(&g_BackBufferSD, 100, 50, 32, 16, &src, 0, 0, 0, 2, DDBLT_TRANSPARENT);
    for (int x = 95; x < 140; x += 3) ASSERT_EQ(ColumnAt(x, 58), -1);
    DDDrawGauge(&g_BackBufferSD, 100, 50, 32, 16, &src, 0, 0, 40, 2, DDBLT_TRANSPARENT);
    for (int y = 50; y < 66; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(ColumnAt(100 + x, y), x);
    // Radius 7 in squares of 4 around the centre (16, 8): a square is in when its centre is.
    for (int rough : {1, 4}) {
        Clear();
        DDDrawGauge(&g_BackBufferSD, 100, 50, 32, 16, &src, 0, 0, 7, rough, DDBLT_TRANSPARENT);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                // The square holding (x, y), laid out from the centre.
                const double qx = std::floor((x - 16) / (double)rough) * rough + rough / 2.0;
                const double qy = std::floor((y - 8) / (double)rough) * rough + rough / 2.0;
                const bool in = qx * qx + qy * qy <= 49.0;
                ASSERT_EQ(ColumnAt(100 + x, 50 + y), in ? x : -1) << "rough " << rough << " at " << x << "," << y;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(BackEnds, DepthEffects,
                         ::testing::Values(Mode{"d3d_32", 1, 32, 1}, Mode{"dd_32", 0, 32, 0}, Mode{"dd_8", 0, 8, 0}),
                         [](const ::testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });

}  // namespace
