// Textured, coloured triangles as the Direct3D side draws them: pre-transformed vertices
// (x, y in pixels, rhw 1, so interpolation is affine), pixel centres at integer coordinates,
// the top-left fill rule, point sampling with wrap or clamp addressing, the stage-0 colour and
// alpha operations with their arguments, and source-alpha blending into the target.
// Vertex positions snap to 1/256 pixel; everything is computed the same way on every run.
#pragma once

#include <cstdint>

#include "platform/raster/surface.h"

namespace raster {

// One vertex of the 0x144 layout: position, rhw, diffuse colour (ARGB), texture coordinates.
struct Vertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};
static_assert(sizeof(Vertex) == 28, "vertex layout");

// Texture operations and arguments, numbered as the Direct3D side numbers them.
enum : uint32_t {
    kOpDisable = 1,
    kOpSelectArg1 = 2,
    kOpSelectArg2 = 3,
    kOpModulate = 4,
    kOpModulate2x = 5,
    kOpModulate4x = 6,
    kOpAdd = 7,
    kOpAddSigned = 8,
    kOpAddSigned2x = 9,
    kOpSubtract = 10,
    kOpAddSmooth = 11,
    kOpBlendDiffuseAlpha = 12,
    kOpBlendTextureAlpha = 13,
    kOpBlendFactorAlpha = 14,
};
enum : uint32_t {
    kArgDiffuse = 0,
    kArgCurrent = 1,
    kArgTexture = 2,
    kArgTFactor = 3,
    kArgSelectMask = 0x0F,
    kArgComplement = 0x10,
    kArgAlphaReplicate = 0x20,
};
enum : uint32_t { kBlendZero = 1, kBlendOne = 2, kBlendSrcAlpha = 5, kBlendInvSrcAlpha = 6 };
enum : uint32_t { kAddressWrap = 1, kAddressMirror = 2, kAddressClamp = 3 };

struct DrawState {
    uint32_t colorOp = kOpModulate, colorArg1 = kArgTexture, colorArg2 = kArgCurrent;
    uint32_t alphaOp = kOpSelectArg1, alphaArg1 = kArgTexture, alphaArg2 = kArgCurrent;
    uint32_t textureFactor = 0xFFFFFFFFu;
    bool blend = false;
    uint32_t srcBlend = kBlendOne, dstBlend = kBlendZero;
    uint32_t addressU = kAddressWrap, addressV = kAddressWrap;
};

// Draws one triangle into `target`, clipped to `clip` (which lies within the target). Without a
// texture, texture arguments read opaque black, as on the device.
void DrawTriangle(Surface& target, const Rect& clip, const Surface* texture, const Vertex& a, const Vertex& b,
                  const Vertex& c, const DrawState& st);

// Draws the two triangles of a four-vertex strip (v0 v1 v2, v1 v3 v2). An axis-aligned
// rectangle with one colour takes a faster path with the same coverage and sampling rule.
// A quad that shows its texture 1:1 and takes the texel as its colour (colour key and alpha as
// the state says) is copied row by row.
void DrawQuadStrip(Surface& target, const Rect& clip, const Surface* texture, const Vertex* v, const DrawState& st);

// DrawQuadStrip with every textured pixel through the general shader: the reference the faster
// paths give the same pixels as.
void DrawQuadStripShaded(Surface& target, const Rect& clip, const Surface* texture, const Vertex* v,
                         const DrawState& st);

// Whether stage 0 reads the texture at all under this state: a colour or alpha operation that
// takes a texture argument, or blends by the texture's alpha. When it does not, drawing with and
// without a texture gives the same pixels, and the texture is not sampled.
bool UsesTexture(const DrawState& st);

// Lets the copy paths use 256-bit vectors where the processor has them (the default); tests turn
// them off to hold the 128-bit paths to the same pixels.
void UseWideVectors(bool on);

// The colour a pixel gets from stage 0 before blending (exposed for tests).
uint32_t ShadePixel(uint32_t texel, uint32_t diffuse, const DrawState& st);

}  // namespace raster
