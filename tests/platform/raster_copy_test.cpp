// Textured quads that copy their texture 1:1 take a row-by-row path; it must give exactly the
// pixels of the general shader, for every pair of formats, every state and every placement.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/raster/quad.h"

using namespace raster;

namespace {

// Deterministic pixel bytes.
uint32_t Noise(uint32_t& seed) {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8 ^ seed << 13;
}

std::shared_ptr<Palette> MakePalette(uint32_t salt) {
    auto p = std::make_shared<Palette>();
    uint32_t seed = salt;
    for (auto& c : p->argb) c = 0xFF000000u | (Noise(seed) & 0xFFFFFF);
    return p;
}

// A surface filled with noise. Alpha mixes: 0 = opaque/clear only (a colour-keyed texture),
// 1 = also partial alphas. 32-bit targets get noise in their top byte as well.
Surface Noisy(int w, int h, PixelFormat f, uint32_t salt, int alphaMix) {
    Surface s;
    EXPECT_TRUE(s.Create(w, h, f));
    if (f == PixelFormat::P8) s.palette = MakePalette(salt);
    uint32_t seed = salt;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = Noise(seed);
            if (f == PixelFormat::A8R8G8B8 && alphaMix == 0) p = (p & 0x00FFFFFF) | ((p & 0x1000000) ? 0xFF000000u : 0);
            if (f == PixelFormat::A8R8G8B8 && alphaMix == 1 && (x + y) % 5 == 0) p = (p & 0x00FFFFFF) | 0x80000000u;
            s.Set(x, y, p);
        }
    return s;
}

void Strip(Vertex* v, float x, float y, float w, float h, float u0, float v0, float u1, float v1, uint32_t c) {
    v[0] = Vertex{x - 0.5f, y - 0.5f, 0, 1, c, u0, v0};
    v[1] = Vertex{x - 0.5f, y + h - 0.5f, 0, 1, c, u0, v1};
    v[2] = Vertex{x + w - 0.5f, y - 0.5f, 0, 1, c, u1, v0};
    v[3] = Vertex{x + w - 0.5f, y + h - 0.5f, 0, 1, c, u1, v1};
}

const char* Name(PixelFormat f) {
    switch (f) {
    case PixelFormat::P8: return "P8";
    case PixelFormat::R5G6B5: return "R5G6B5";
    case PixelFormat::A1R5G5B5: return "A1R5G5B5";
    case PixelFormat::X8R8G8B8: return "X8R8G8B8";
    case PixelFormat::A8R8G8B8: return "A8R8G8B8";
    default: return "?";
    }
}

}  // namespace

TEST(RasterTexelCopy, GivesTheShadersPixelsForEveryFormatStateAndPlacement) {
    const PixelFormat formats[] = {PixelFormat::P8, PixelFormat::R5G6B5, PixelFormat::A1R5G5B5,
                                   PixelFormat::X8R8G8B8, PixelFormat::A8R8G8B8};
    struct State {
        const char* name;
        uint32_t colorOp, alphaOp, diffuse;
        bool blend;
        uint32_t src, dst;
    } states[] = {
        {"texel", kOpSelectArg1, kOpSelectArg1, 0xFFFFFFFF, false, kBlendOne, kBlendZero},
        {"keyed", kOpSelectArg1, kOpSelectArg1, 0xFFFFFFFF, true, kBlendSrcAlpha, kBlendInvSrcAlpha},
        {"white modulate", kOpModulate, kOpModulate, 0xFFFFFFFF, true, kBlendSrcAlpha, kBlendInvSrcAlpha},
        {"tinted", kOpModulate, kOpModulate, 0xFF80FF40, true, kBlendSrcAlpha, kBlendInvSrcAlpha},
        {"half alpha", kOpModulate, kOpModulate, 0x80FFFFFF, true, kBlendSrcAlpha, kBlendInvSrcAlpha},
        {"additive", kOpSelectArg1, kOpSelectArg1, 0xFFFFFFFF, true, kBlendOne, kBlendOne},
    };
    // Texture 40 x 24; target 48 x 32. Quads in texels: x, y, w, h on the target, sx, sy, sw, sh on
    // the texture, plus a sub-texel shift of the coordinates.
    struct Place {
        const char* name;
        float x, y, w, h, sx, sy, sw, sh, shift;
    } places[] = {
        {"inside", 3, 2, 37, 19, 1, 2, 37, 19, 0},
        {"a glyph cell", 16, 8, 16, 16, 16, 8, 16, 16, 0},
        {"clipped left and top", -5, -3, 20, 12, 4, 4, 20, 12, 0},
        {"clipped right and bottom", 30, 20, 30, 20, 2, 1, 30, 20, 0},
        {"whole texture past the edge", 20, 10, 40, 24, 0, 0, 40, 24, 0},
        {"quarter texel off", 2, 2, 17, 9, 3, 3, 17, 9, 0.25f},
        {"on a texel edge", 2, 2, 17, 9, 3, 3, 17, 9, 0.5f},
        {"just short of an edge", 2, 2, 17, 9, 3, 3, 17, 9, 0.4999f},
        {"stretched", 1, 1, 34, 18, 2, 2, 17, 9, 0},
        {"shrunk", 1, 1, 17, 9, 2, 2, 34, 18, 0},
        {"mirrored", 4, 4, 20, 10, 30, 5, -20, 10, 0},
        {"wrapping past the right", 4, 4, 20, 10, 30, 5, 20, 10, 0},
        {"half-pixel position", 4.5f, 3.25f, 20, 10, 5, 5, 20, 10, 0},
    };
    const int tw = 40, th = 24;
    int cases = 0;
    for (bool wide : {true, false})
    for (PixelFormat tf : formats)
        for (PixelFormat df : formats)
            for (int alphaMix = 0; alphaMix < 2; ++alphaMix) {
                if (alphaMix && tf != PixelFormat::A8R8G8B8) continue;
                UseWideVectors(wide);
                Surface tex = Noisy(tw, th, tf, 7 + (uint32_t)tf, alphaMix);
                for (const State& s : states) {
                    DrawState st;
                    st.colorOp = s.colorOp;
                    st.colorArg1 = kArgTexture;
                    st.colorArg2 = kArgDiffuse;
                    st.alphaOp = s.alphaOp;
                    st.alphaArg1 = kArgTexture;
                    st.alphaArg2 = kArgDiffuse;
                    st.blend = s.blend;
                    st.srcBlend = s.src;
                    st.dstBlend = s.dst;
                    for (const Place& p : places) {
                        Vertex v[4];
                        float k = p.shift;
                        Strip(v, p.x, p.y, p.w, p.h, (p.sx + k) / tw, (p.sy + k) / th, (p.sx + p.sw + k) / tw,
                              (p.sy + p.sh + k) / th, s.diffuse);
                        Surface fast = Noisy(48, 32, df, 99, 1), shaded = fast;
                        DrawQuadStrip(fast, fast.Bounds(), &tex, v, st);
                        DrawQuadStripShaded(shaded, shaded.Bounds(), &tex, v, st);
                        ASSERT_EQ(fast.bits, shaded.bits) << Name(tf) << " -> " << Name(df) << ", " << s.name << ", "
                                                          << p.name << (alphaMix ? ", partial alphas" : "")
                                                          << (wide ? "" : ", 128-bit");
                        ++cases;
                    }
                }
            }
    UseWideVectors(true);
    EXPECT_GT(cases, 0);
}

TEST(RasterTexelCopy, ClearTexelsLeaveTheTargetAndOpaqueOnesReplaceIt) {
    // A 16 x 2 A8R8G8B8 cell over a 32-bit target whose top bytes hold noise: the shader stores an
    // X8R8G8B8 pixel without its top byte, even where the texel is clear.
    Surface tex;
    ASSERT_TRUE(tex.Create(16, 2, PixelFormat::A8R8G8B8));
    for (int x = 0; x < 16; ++x) {
        tex.Set(x, 0, x % 3 ? 0xFF102030u + (uint32_t)x : 0x00FFFFFFu);
        tex.Set(x, 1, 0x00000000u);
    }
    DrawState st;
    st.colorOp = kOpSelectArg1;
    st.alphaOp = kOpSelectArg1;
    st.blend = true;
    st.srcBlend = kBlendSrcAlpha;
    st.dstBlend = kBlendInvSrcAlpha;
    Vertex v[4];
    Strip(v, 0, 0, 16, 2, 0, 0, 1, 1, 0xFFFFFFFF);
    for (PixelFormat f : {PixelFormat::X8R8G8B8, PixelFormat::A8R8G8B8}) {
        Surface t;
        ASSERT_TRUE(t.Create(16, 2, f));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 16; ++x) t.Set(x, y, 0xAB445566u);
        DrawQuadStrip(t, t.Bounds(), &tex, v, st);
        uint32_t kept = f == PixelFormat::X8R8G8B8 ? 0x00445566u : 0xAB445566u;
        uint32_t top = f == PixelFormat::X8R8G8B8 ? 0 : 0xFF000000u;
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(t.Get(x, 0), x % 3 ? (top | (0x102030u + (uint32_t)x)) : kept) << Name(f) << " " << x;
            EXPECT_EQ(t.Get(x, 1), kept) << Name(f) << " " << x;
        }
    }
}
