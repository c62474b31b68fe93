// Golden pictures of the drawing layer in both back ends and colour depths: keyed and opaque
// blits, mirrored views, stretches and mirrored stretches, the pre-clear of opaque blits, colour
// and alpha operations, fills, circles, sheet text and numbers; and blending into a texture.
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

class DrawScene : public DrawFixture, public testing::WithParamInterface<Mode> {};

void Scene() {
    DDSURFACEDATA* back = &g_BackBufferSD;
    DDSURFACEDATA* sheet = &g_SurfaceData[4];
    DDSURFACEDATA* mirror = &g_SurfaceData[5];
    DDSURFACEDATA* chars = &g_SurfaceData[51];
    DDSURFACEDATA* title = &g_SurfaceData[47];
    DDSURFACEDATA* work = &g_SurfaceData[67];
    DDFillRect(back, 0, 0, 400, 160, 3);
    DDBlt(back, 4, 4, 32, 32, sheet, 0, 0, 1);              // keyed
    DDBlt(back, 40, 4, 32, 32, sheet, 0, 0, 0);             // opaque: the key colour shows
    DDBlt(back, 76, 4, 32, 32, mirror, 32, 0, 1);           // mirrored view of cell 1
    DDBlt(back, 112, 4, 16, 32, mirror, 40, 0, 1);          // half a mirrored cell
    DDBltStretch(back, 132, 4, 64, 48, sheet, 32, 0, 32, 32, 1);  // stretched
    DDBltStretch(back, 200, 4, 32, 32, sheet, 32, 0, -32, 32, 1);  // mirrored by a negative width
    DDBlt(back, 236, 4, 48, 24, title, 0, 0, 0);            // an opaque picture keeps its magenta row
    DDBlt(back, -10, 40, 32, 32, sheet, 0, 0, 1);           // cut at the left edge
    DDBlt(back, 380, 60, 32, 32, sheet, -8, -8, 1);         // a source starting before the sheet
    DDFillRect(back, 290, 4, 20, 20, 5);
    DDDrawCircle(back, 340, 20, 14, 6);
    DDDrawCircle(back, 395, 150, 12, 7);                    // partly outside the picture region
    DDDrawCharText(back, 4, 80, 8, 8, chars, "AB\nC\xB1z");
    DDDrawNumber(back, 60, 80, 8, 8, chars, 0, 3 * 8, 1, 407, 5, 0);
    // Colour pairs (the DirectDraw back end draws them plain).
    DDBltColor(back, 4, 100, 32, 32, sheet, 0, 0, 1, DDCOLORPAIR{0xFF80FF40, D3DTOP_MODULATE});
    DDBltColor(back, 40, 100, 32, 32, sheet, 0, 0, 1, DDCOLORPAIR{0xFF404040, D3DTOP_ADD});
    DDBltColor(back, 76, 100, 32, 32, sheet, 0, 0, 1, DDCOLORPAIR{0xFF606060, D3DTOP_SUBTRACT});
    if (g_lpD3DDevice) g_lpD3DDevice->SetRenderState(D3DRS_TEXTUREFACTOR, 0x60FFFF00);
    if (g_lpD3DDevice) {
        // BLENDFACTORALPHA mixes the texture with the factor colour.
        DDSetDrawColor(0xFFFFFFFF);
        DDSetColorOp(D3DTOP_BLENDFACTORALPHA);
        g_lpD3DDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    }
    DDBltColor(back, 112, 100, 32, 32, sheet, 0, 0, 1, DDCOLORPAIR{0xFFFFFFFF, D3DTOP_BLENDFACTORALPHA});
    DDSetAlphaOp(D3DTOP_MODULATE);
    DDSetDrawColor(0x80FFFFFF);
    DDBlt(back, 148, 100, 32, 32, sheet, 32, 0, 1);         // half transparent
    DDSetAlphaOp(D3DTOP_DISABLE);
    DDSetDrawColor(0x60FFFFFF);
    DDBlt(back, 184, 100, 32, 32, sheet, 32, 0, 1);         // alpha from the colour only
    DDResetAlphaOp();
    DDResetDrawColor();
    // An opaque blit into a colour-keyed texture keeps the key transparent; drawn keyed it shows
    // what lies below.
    DDFillRect(work, 0, 0, 64, 64, 0);
    DDBlt(work, 0, 0, 32, 32, sheet, 0, 0, 0);
    DDBlt(back, 220, 100, 32, 32, work, 0, 0, 1);
}

}  // namespace

TEST_P(DrawScene, Golden) {
    const Mode m = GetParam();
    Open(m);
    ASSERT_TRUE(Load({4, 5, 47, 51, 67}));
    if (g_lpDDDevice) DDBeginScene();
    Scene();
    if (g_lpDDDevice) DDEndScene();
    ExpectGolden(Crop(*BackPixels(), 0, 0, 400, 160), std::string("draw_scene_") + m.name);
}

INSTANTIATE_TEST_SUITE_P(Modes, DrawScene,
                         testing::Values(Mode{"d3d_32", 1, 32, 1}, Mode{"d3d_16", 1, 16, 0}, Mode{"dd_32", 0, 32, 0},
                                         Mode{"dd_16", 0, 16, 0}, Mode{"dd_8", 0, 8, 0}),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });

TEST_F(DrawFixture, BlendingIntoATextureKeepsItsAlpha) {
    Open(Mode{"d3d_32", 1, 32, 1});
    ASSERT_TRUE(Load({4, 67}));
    DDSURFACEDATA* work = &g_SurfaceData[67];
    DDFillRect(work, 0, 0, 96, 40, 0);                // transparent
    DDFillRectD3D(work, 0, 0, 48, 40, 0x80204060);    // half-transparent colour
    DDSetAlphaOp(D3DTOP_MODULATE);
    DDSetDrawColor(0xC0FFFFFF);
    DDBlt(work, 8, 4, 32, 32, &g_SurfaceData[4], 0, 0, 1);
    DDBlt(work, 56, 4, 32, 32, &g_SurfaceData[4], 32, 0, 1);
    DDResetAlphaOp();
    DDResetDrawColor();
    DDEndScene();
    ExpectGolden(Crop(*Pixels(*work), 0, 0, 96, 40), "draw_texture_alpha");
}

TEST_F(DrawFixture, SixteenBitOpaqueBlitShowsTheExactKeyColour) {
    // The pre-clear of an opaque blit must give the key pixel itself on the 16-bit back buffer.
    Open(Mode{"d3d_16", 1, 16, 0});
    ASSERT_TRUE(Load({4}));
    DDBlt(&g_BackBufferSD, 0, 0, 32, 32, &g_SurfaceData[4], 0, 0, 0);
    DDEndScene();
    raster::Surface* bb = BackPixels();
    ASSERT_EQ(bb->format, raster::PixelFormat::R5G6B5);
    EXPECT_EQ(bb->Get(0, 0), 0xF81Fu);  // magenta in R5G6B5
    EXPECT_NE(bb->Get(10, 10), 0xF81Fu);
    // The clear colour is an ordinary 32-bit colour, not the packed pixel.
    EXPECT_EQ(g_lpDDDevice->dwClearBack32, 0xFFFF00FFu);
    EXPECT_EQ(g_lpDDDevice->wClearBack16, 0xFC1Fu);  // A1R5G5B5 key with alpha
}

TEST_F(DrawFixture, OpaqueBlitOfAnOpaquePictureReplacesWhatWasThere) {
    // An opaque blit from a colour-keyed texture shows the clear colour where the key is and the
    // texel elsewhere, whatever the target held; with a translucent draw colour it blends with
    // the clear colour. Each case holds whether the texture has key pixels or not, and after
    // key pixels are written into a texture that had none.
    Open(Mode{"d3d_32", 1, 32, 1});
    ASSERT_TRUE(Load({67}));
    DDSURFACEDATA* back = &g_BackBufferSD;
    DDSURFACEDATA* work = &g_SurfaceData[67];
    raster::Surface* bb = BackPixels();
    const uint32_t clear = g_lpDDDevice->dwClearBack32 & 0xFFFFFF;
    auto at = [&](int x, int y) { return bb->Get(x, y) & 0xFFFFFF; };

    DDFillRect(work, 0, 0, 32, 32, 5);  // every texel opaque
    const uint32_t texel = Pixels(*work)->GetArgb(3, 3) & 0xFFFFFF;
    DDFillRect(back, 0, 0, 200, 60, 3);
    DDBlt(back, 10, 10, 32, 32, work, 0, 0, 0);
    DDBlt(back, 50, 10, 32, 32, work, 0, 0, 0);  // the batch path's run of quads alike
    EXPECT_EQ(at(10, 10), texel);
    EXPECT_EQ(at(41, 41), texel);
    EXPECT_EQ(at(81, 41), texel);

    // Half-transparent draw colour: the texel over the clear colour, not over what was there.
    DDFillRect(back, 0, 0, 200, 60, 3);
    DDSetAlphaOp(D3DTOP_MODULATE);
    DDSetDrawColor(0x80FFFFFF);
    DDBlt(back, 10, 10, 32, 32, work, 0, 0, 0);
    DDResetAlphaOp();
    DDResetDrawColor();
    auto mix = [](uint32_t s, uint32_t d) {
        uint32_t out = 0;
        for (int k = 0; k < 24; k += 8) out |= raster::Div255(((s >> k) & 0xFF) * 0x80 + ((d >> k) & 0xFF) * 0x7F) << k;
        return out;
    };
    EXPECT_EQ(at(20, 20), mix(texel, clear));

    // A key pixel written into the texture afterwards shows the clear colour.
    DDFillRect(work, 0, 0, 1, 1, 0);
    ASSERT_EQ(Pixels(*work)->GetArgb(0, 0) >> 24, 0u);
    DDFillRect(back, 0, 0, 200, 60, 3);
    DDBlt(back, 10, 10, 32, 32, work, 0, 0, 0);
    EXPECT_EQ(at(10, 10), clear);
    EXPECT_EQ(at(11, 10), texel);
    DDEndScene();
}
