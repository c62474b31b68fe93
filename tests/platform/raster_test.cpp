// The rasterizer: formats, keyed copies, stretches, mirrored conversions, the quad rules and the
// stage-0 operations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/raster/blit.h"
#include "platform/raster/quad.h"

using namespace raster;

namespace {

Surface Make(int w, int h, PixelFormat f) {
    Surface s;
    EXPECT_TRUE(s.Create(w, h, f));
    return s;
}

Vertex V(float x, float y, float u, float v, uint32_t c = 0xFFFFFFFF) { return Vertex{x, y, 0, 1, c, u, v}; }

// The four strip corners of a w x h quad at (x, y) as the drawing layer builds them.
void Strip(Vertex* v, int x, int y, int w, int h, float u0, float v0, float u1, float v1, uint32_t c = 0xFFFFFFFF) {
    v[0] = V(x - 0.5f, y - 0.5f, u0, v0, c);
    v[1] = V(x - 0.5f, y + h - 0.5f, u0, v1, c);
    v[2] = V(x + w - 0.5f, y - 0.5f, u1, v0, c);
    v[3] = V(x + w - 0.5f, y + h - 0.5f, u1, v1, c);
}

}  // namespace

TEST(RasterFormat, SixteenBitPixelsSurviveARoundTrip) {
    for (uint32_t p = 0; p < 65536; p += 7) {
        EXPECT_EQ(FromArgb(PixelFormat::R5G6B5, ToArgb(PixelFormat::R5G6B5, p)), p);
        EXPECT_EQ(FromArgb(PixelFormat::A1R5G5B5, ToArgb(PixelFormat::A1R5G5B5, p)), p);
    }
    EXPECT_EQ(ToArgb(PixelFormat::R5G6B5, 0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(ToArgb(PixelFormat::A1R5G5B5, 0x7FFF), 0x00FFFFFFu);
    EXPECT_EQ(FromArgb(PixelFormat::X8R8G8B8, 0xFF123456), 0x00123456u);
    for (uint32_t v = 0; v <= 65535; ++v) ASSERT_EQ(Div255(v), (v + 127) / 255) << v;
}

TEST(RasterBlit, ColourKeySkipsExactlyTheKey) {
    struct Case {
        PixelFormat f;
        uint32_t key, other;
    } cases[] = {
        {PixelFormat::X8R8G8B8, 0x00FF00FF, 0x00FF00FE},
        {PixelFormat::R5G6B5, 0xF81F, 0xF81E},
        {PixelFormat::P8, 7, 8},
    };
    for (const Case& c : cases) {
        Surface src = Make(37, 3, c.f), dst = Make(40, 4, c.f);
        for (int x = 0; x < 37; ++x)
            for (int y = 0; y < 3; ++y) src.Set(x, y, (x % 3 == 0) ? c.key : c.other);
        FillRect(dst, dst.Bounds(), 1);
        CopyRect(dst, 2, 1, src, src.Bounds(), true, c.key);
        for (int x = 0; x < 37; ++x)
            for (int y = 0; y < 3; ++y) EXPECT_EQ(dst.Get(x + 2, y + 1), (x % 3 == 0) ? 1u : c.other);
        EXPECT_EQ(dst.Get(0, 0), 1u);
    }
    // A 32-bit key compares the colour only: a pixel whose top byte differs is still the key.
    Surface src = Make(4, 1, PixelFormat::X8R8G8B8), dst = Make(4, 1, PixelFormat::X8R8G8B8);
    src.Set(0, 0, 0xFF00FF00);
    src.Set(1, 0, 0x0000FF00);
    CopyRect(dst, 0, 0, src, src.Bounds(), true, 0x0000FF00);
    EXPECT_EQ(dst.Get(0, 0), 0u);
    EXPECT_EQ(dst.Get(1, 0), 0u);
}

TEST(RasterBlit, CopyWithinOneSurfaceReadsTheOldPixels) {
    Surface s = Make(8, 1, PixelFormat::P8);
    for (int x = 0; x < 8; ++x) s.Set(x, 0, (uint32_t)x);
    CopyRect(s, 1, 0, s, Rect{0, 0, 6, 1}, false, 0);
    for (int x = 1; x < 7; ++x) EXPECT_EQ(s.Get(x, 0), (uint32_t)(x - 1));
}

TEST(RasterBlit, StretchSamplesPixelCentres) {
    Surface src = Make(4, 1, PixelFormat::P8), dst = Make(8, 1, PixelFormat::P8);
    for (int x = 0; x < 4; ++x) src.Set(x, 0, (uint32_t)(10 + x));
    StretchRect(dst, Rect{0, 0, 8, 1}, src, src.Bounds(), false, 0);
    const uint32_t up[8] = {10, 10, 11, 11, 12, 12, 13, 13};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.Get(x, 0), up[x]);
    StretchRect(dst, Rect{0, 0, 2, 1}, src, src.Bounds(), false, 0);
    EXPECT_EQ(dst.Get(0, 0), 11u);  // centre of pixels 0-1 falls on pixel 1
    EXPECT_EQ(dst.Get(1, 0), 13u);
    src.Set(2, 0, 99);
    FillRect(dst, dst.Bounds(), 5);
    StretchRect(dst, Rect{0, 0, 8, 1}, src, src.Bounds(), true, 99);
    EXPECT_EQ(dst.Get(4, 0), 5u);
    EXPECT_EQ(dst.Get(5, 0), 5u);
    EXPECT_EQ(dst.Get(6, 0), 13u);
}

TEST(RasterBlit, NegativeExtentsMirrorInPlace) {
    Surface src = Make(4, 2, PixelFormat::X8R8G8B8), dst = Make(6, 2, PixelFormat::R5G6B5);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y) src.Set(x, y, (uint32_t)(x * 0x40) << 16 | (uint32_t)(y * 0xF8));
    // A cell mirrored onto columns 1..4: start at its right edge with a negative width.
    ConvertStretch(dst, 4, 0, -4, 2, src, 0, 0, 4, 2);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(dst.GetArgb(1 + x, 1) & 0xFFFFFF, ToArgb(PixelFormat::R5G6B5, FromArgb(PixelFormat::R5G6B5, src.GetArgb(3 - x, 1))) & 0xFFFFFF);
    EXPECT_EQ(dst.Get(0, 0), 0u);
    EXPECT_EQ(dst.Get(5, 0), 0u);
    // Upside down.
    Surface d2 = Make(4, 2, PixelFormat::X8R8G8B8);
    ConvertStretch(d2, 0, 1, 4, -2, src, 0, 0, 4, 2);
    EXPECT_EQ(d2.Get(2, 0), src.Get(2, 1));
    EXPECT_EQ(d2.Get(2, 1), src.Get(2, 0));
}

TEST(RasterQuad, AxisAlignedQuadMapsTexelsOneToOne) {
    Surface tex = Make(8, 8, PixelFormat::A8R8G8B8), a = Make(20, 20, PixelFormat::X8R8G8B8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) tex.Set(x, y, 0xFF000000u | (uint32_t)(x << 16) | (uint32_t)y);
    Vertex v[4];
    Strip(v, 3, 5, 4, 3, 2 / 8.f, 1 / 8.f, 6 / 8.f, 4 / 8.f);
    DrawState st;
    DrawQuadStrip(a, a.Bounds(), &tex, v, st);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool in = x >= 3 && x < 7 && y >= 5 && y < 8;
            EXPECT_EQ(a.Get(x, y), in ? ((uint32_t)(x - 1) << 16 | (uint32_t)(y - 4)) : 0u) << x << "," << y;
        }
    // The same quad as two separate triangles gives the same pixels.
    Surface b = Make(20, 20, PixelFormat::X8R8G8B8);
    DrawTriangle(b, b.Bounds(), &tex, v[0], v[1], v[2], st);
    DrawTriangle(b, b.Bounds(), &tex, v[1], v[3], v[2], st);
    EXPECT_EQ(a.bits, b.bits);
}

TEST(RasterQuad, MirroredCoordinatesReadLeftwards) {
    Surface tex = Make(8, 1, PixelFormat::A8R8G8B8), t = Make(4, 1, PixelFormat::X8R8G8B8);
    for (int x = 0; x < 8; ++x) tex.Set(x, 0, 0xFF000000u | (uint32_t)x);
    Vertex v[4];
    Strip(v, 0, 0, 4, 1, 6 / 8.f, 0, 2 / 8.f, 1);  // sw = -4 from sx = 6
    DrawQuadStrip(t, t.Bounds(), &tex, v, DrawState{});
    for (int x = 0; x < 4; ++x) EXPECT_EQ(t.Get(x, 0), (uint32_t)(5 - x));
    // Wrap addressing: coordinates past the edge come round.
    Strip(v, 0, 0, 4, 1, 6 / 8.f, 0, 10 / 8.f, 1);
    DrawQuadStrip(t, t.Bounds(), &tex, v, DrawState{});
    const uint32_t want[4] = {6, 7, 0, 1};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(t.Get(x, 0), want[x]);
}

TEST(RasterQuad, SharedEdgesAreDrawnOnce) {
    // Half-transparent white over black: a pixel drawn twice would come out lighter.
    DrawState st;
    st.blend = true;
    st.srcBlend = kBlendSrcAlpha;
    st.dstBlend = kBlendInvSrcAlpha;
    st.colorOp = kOpSelectArg1;
    st.colorArg1 = kArgDiffuse;
    st.alphaOp = kOpSelectArg1;
    st.alphaArg1 = kArgDiffuse;
    Surface t = Make(40, 40, PixelFormat::X8R8G8B8);
    const double pi = 3.14159265358979323846;
    for (int q = 0; q < 6; ++q) {  // a fan of rotated quads around (20, 20), sharing edges
        double a0 = q * pi / 3, a1 = (q + 1) * pi / 3;
        Vertex c = V(20.25f, 19.75f, 0, 0, 0x80FFFFFF);
        Vertex p0 = V((float)(20.25 + 15 * std::cos(a0)), (float)(19.75 + 15 * std::sin(a0)), 0, 0, 0x80FFFFFF);
        Vertex p1 = V((float)(20.25 + 15 * std::cos(a1)), (float)(19.75 + 15 * std::sin(a1)), 0, 0, 0x80FFFFFF);
        DrawTriangle(t, t.Bounds(), nullptr, c, p0, p1, st);
    }
    int covered = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            uint32_t p = t.Get(x, y) & 0xFFFFFF;
            EXPECT_TRUE(p == 0 || p == 0x808080) << x << "," << y << " " << std::hex << p;
            covered += p != 0;
        }
    EXPECT_GT(covered, 400);
}

TEST(RasterQuad, StageOperations) {
    const uint32_t tex = 0x80C04020, diff = 0x40204080, tf = 0x80FF0000;
    struct Case {
        uint32_t colorOp, colorArg2, alphaOp;
        uint32_t want;
    } cases[] = {
        {kOpSelectArg1, kArgDiffuse, kOpSelectArg1, 0x80C04020},
        {kOpSelectArg2, kArgDiffuse, kOpDisable, 0x40204080},
        {kOpModulate, kArgDiffuse, kOpModulate, 0x20181010},
        {kOpAdd, kArgDiffuse, kOpSelectArg1, 0x80E080A0},
        {kOpSubtract, kArgDiffuse, kOpSelectArg1, 0x80A00000},
        {kOpBlendFactorAlpha, kArgTFactor, kOpSelectArg1, 0x80DF2010},
        {kOpDisable, kArgDiffuse, kOpSelectArg1, 0x40204080},
    };
    for (const Case& c : cases) {
        DrawState st;
        st.colorOp = c.colorOp;
        st.colorArg1 = kArgTexture;
        st.colorArg2 = c.colorArg2;
        st.alphaOp = c.alphaOp;
        st.alphaArg1 = kArgTexture;
        st.alphaArg2 = kArgDiffuse;
        st.textureFactor = tf;
        EXPECT_EQ(ShadePixel(tex, diff, st), c.want) << c.colorOp << "/" << c.alphaOp;
    }
}

TEST(RasterQuad, SourceAlphaBlendingOnEveryChannel) {
    DrawState st;
    st.blend = true;
    st.srcBlend = kBlendSrcAlpha;
    st.dstBlend = kBlendInvSrcAlpha;
    Surface tex = Make(1, 1, PixelFormat::A8R8G8B8), t = Make(2, 1, PixelFormat::A8R8G8B8);
    tex.Set(0, 0, 0x80FF0000);
    t.Set(0, 0, 0x400000FF);
    t.Set(1, 0, 0xFF00FF00);
    Vertex v[4];
    Strip(v, 0, 0, 2, 1, 0, 0, 1, 1);
    DrawQuadStrip(t, t.Bounds(), &tex, v, st);
    // out = src * a + dst * (1 - a) on all four channels, rounded to nearest.
    EXPECT_EQ(t.Get(0, 0), 0x6080007Fu);
    EXPECT_EQ(t.Get(1, 0), 0xBF807F00u);
}

namespace {

// A surface whose every byte is set from its position, so a fill that writes one pixel too many
// or too few shows.
Surface Patterned(int w, int h, PixelFormat f) {
    Surface s = Make(w, h, f);
    for (size_t i = 0; i < s.bits.size(); ++i) s.bits[i] = (uint8_t)(i * 37 + 11);
    return s;
}

// Whether two surfaces hold the same pixels (row padding is not part of the picture).
bool SamePixels(const Surface& a, const Surface& b) {
    if (a.width != b.width || a.height != b.height || a.format != b.format) return false;
    for (int y = 0; y < a.height; ++y)
        if (std::memcmp(a.Row(y), b.Row(y), (size_t)a.width * BytesPerPixel(a.format)) != 0) return false;
    return true;
}

// The reference fill: one Set per pixel of r clipped to the surface.
void FillPixelByPixel(Surface& s, const Rect& r, uint32_t pixel) {
    Rect c = Intersect(r, s.Bounds());
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) s.Set(x, y, pixel);
}

struct FillShape {
    PixelFormat format;
    int w, h;  // 16-bit at an odd width and P8 have row padding; the others do not
};
const FillShape kFillShapes[] = {
    {PixelFormat::P8, 13, 5},       {PixelFormat::P8, 16, 3},        {PixelFormat::R5G6B5, 7, 4},
    {PixelFormat::R5G6B5, 10, 4},   {PixelFormat::A1R5G5B5, 9, 3},   {PixelFormat::X8R8G8B8, 11, 6},
    {PixelFormat::A8R8G8B8, 40, 7},
};

}  // namespace

TEST(RasterFill, FillRectWritesWhatSetWouldPixelByPixel) {
    // Values that take every route: zero, bytes all alike, distinct bytes, bits above the format's.
    const uint32_t pixels[] = {0, 0xABABABABu, 0x12345678u, 0x00FF00FFu, 0x5A5Au, 0xDEAD1234u, 0xFFFFFFFFu};
    for (const FillShape& f : kFillShapes) {
        const int w = f.w, h = f.h;
        const Rect rects[] = {
            {0, 0, w, h},           // the whole surface
            {-3, -2, w + 5, h + 4}, // beyond every edge: clipped to it
            {0, 1, w, h - 1},       // a band of whole rows
            {1, 1, w - 2, h - 1},   // an odd first column
            {2, 0, 3, 1},           // one pixel
            {w - 1, h - 1, w + 9, h + 9},
            {4, 2, 4, 9},           // empty
            {w, 0, w + 3, h},       // outside
        };
        for (uint32_t pixel : pixels)
            for (const Rect& r : rects) {
                Surface got = Patterned(w, h, f.format), want = Patterned(w, h, f.format);
                FillRect(got, r, pixel);
                FillPixelByPixel(want, r, pixel);
                EXPECT_TRUE(SamePixels(got, want)) << "format " << (int)f.format << " " << w << "x" << h << " rect "
                                                   << r.left << "," << r.top << "," << r.right << "," << r.bottom
                                                   << " pixel " << std::hex << pixel;
            }
    }
}

TEST(RasterFill, FillPixelsAtEveryAlignmentAndLength) {
    // Row starts at every byte offset a 16- or 32-bit pixel can have, lengths around word sizes.
    for (int bpp : {1, 2, 4})
        for (size_t offset = 0; offset < 4; ++offset)
            for (size_t n : {0, 1, 2, 3, 4, 5, 8, 17, 64, 1001}) {
                std::vector<uint8_t> got(n * 4 + 16, 0xEE), want = got;
                const uint32_t pixel = 0xC3A59681u;
                FillPixels(got.data() + offset, bpp, n, pixel);
                for (size_t i = 0; i < n; ++i) std::memcpy(want.data() + offset + i * bpp, &pixel, (size_t)bpp);
                EXPECT_EQ(got, want) << "bpp " << bpp << " offset " << offset << " n " << n;
            }
}

TEST(RasterFill, UntexturedQuadFillsMatchTheTrianglePath) {
    // A one-colour rectangle takes the row-fill path; the same quad cut along another diagonal
    // goes through the per-pixel triangle path. Both must give the same bytes in every format,
    // unblended, and blended when the colour is opaque (it then replaces the target too).
    auto pal = std::make_shared<Palette>();
    for (int i = 0; i < 256; ++i) pal->argb[i] = 0xFF000000u | (uint32_t)(i * 0x010305);
    DrawState plain;
    plain.colorOp = kOpSelectArg1;
    plain.colorArg1 = kArgDiffuse;
    plain.alphaOp = kOpSelectArg1;
    plain.alphaArg1 = kArgDiffuse;
    DrawState blended = plain;
    blended.blend = true;
    blended.srcBlend = kBlendSrcAlpha;
    blended.dstBlend = kBlendInvSrcAlpha;
    struct Case {
        int x, y, w, h;
        uint32_t colour;
        const DrawState* st;
    } cases[] = {
        {0, 0, 20, 9, 0xFF336699u, &plain},   {-4, -3, 30, 20, 0x80ABCDEFu, &plain},
        {3, 2, 7, 5, 0xFF102030u, &blended},  {1, 1, 1, 1, 0xFFFFFFFFu, &plain},
        {5, 0, 15, 9, 0x00000000u, &plain},
    };
    for (const FillShape& f : kFillShapes)
        for (const Case& c : cases) {
            Surface fast = Patterned(f.w + 5, f.h + 3, f.format), slow = fast;
            fast.palette = slow.palette = pal;
            Vertex v[4];
            Strip(v, c.x, c.y, c.w, c.h, 0, 0, 1, 1, c.colour);
            Rect clip{1, 0, fast.width - 1, fast.height};
            DrawQuadStrip(fast, clip, nullptr, v, *c.st);
            // The other diagonal: v0 v2 v3 and v0 v3 v1 cover the same pixels, once each.
            DrawTriangle(slow, clip, nullptr, v[0], v[2], v[3], *c.st);
            DrawTriangle(slow, clip, nullptr, v[0], v[3], v[1], *c.st);
            EXPECT_TRUE(SamePixels(fast, slow)) << "format " << (int)f.format << " quad " << c.x << "," << c.y << " "
                                                << c.w << "x" << c.h << " colour " << std::hex << c.colour;
        }
}

TEST(RasterSurface, OpacityIsLearntOnceAndForgottenOnAWrite) {
    struct Case {
        PixelFormat f;
        uint32_t opaque, clear;  // a pixel with full alpha, one without
    } cases[] = {
        {PixelFormat::A8R8G8B8, 0xFF102030u, 0xFE102030u},
        {PixelFormat::A1R5G5B5, 0x8421u, 0x0421u},
    };
    for (const Case& c : cases) {
        Surface s = Make(9, 4, c.f);
        FillRect(s, s.Bounds(), c.opaque);
        EXPECT_TRUE(s.AllOpaque());
        s.Set(8, 3, c.clear);  // the last pixel: the answer learnt above must not stay
        EXPECT_FALSE(s.AllOpaque());
        s.Set(8, 3, c.opaque);
        EXPECT_TRUE(s.AllOpaque());
        // Swapped stores take their contents away from what the surface learnt.
        Surface other = Make(9, 4, c.f);
        EXPECT_FALSE(other.AllOpaque());
        std::swap(s.bits, other.bits);
        EXPECT_FALSE(s.AllOpaque());
        EXPECT_TRUE(other.AllOpaque());
        // A copy answers for its own pixels.
        Surface copy = other;
        copy.Set(0, 0, c.clear);
        EXPECT_TRUE(other.AllOpaque());
        EXPECT_FALSE(copy.AllOpaque());
    }
    // Formats without alpha are opaque whatever they hold.
    for (PixelFormat f : {PixelFormat::P8, PixelFormat::R5G6B5, PixelFormat::X8R8G8B8})
        EXPECT_TRUE(Make(3, 3, f).AllOpaque());
}
