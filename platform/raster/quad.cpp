#include "platform/raster/quad.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/raster/blit.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define RASTER_WIDE_VECTORS 1
#endif

namespace raster {
namespace {

// Whether the 256-bit paths run: when the processor has AVX2 and tests have not turned them off.
bool g_bWideVectors = true;

bool WideVectors() {
#if defined(RASTER_WIDE_VECTORS)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 && g_bWideVectors;
#else
    return false;
#endif
}

inline uint32_t Chan(uint32_t c, int shift) { return (c >> shift) & 0xFF; }

uint32_t Argument(uint32_t sel, uint32_t tex, uint32_t diff, uint32_t tf) {
    uint32_t v;
    switch (sel & kArgSelectMask) {
    case kArgTexture: v = tex; break;
    case kArgTFactor: v = tf; break;
    default: v = diff; break;  // diffuse; "current" is the diffuse colour at stage 0
    }
    if (sel & kArgComplement) v = ~v;
    if (sel & kArgAlphaReplicate) {
        uint32_t a = v >> 24;
        v = (a << 24) | (a << 16) | (a << 8) | a;
    }
    return v;
}

// One 8-bit channel of an operation.
uint32_t Operate(uint32_t op, uint32_t a, uint32_t b, uint32_t blendAlpha) {
    int r;
    switch (op) {
    case kOpSelectArg1: return a;
    case kOpSelectArg2: return b;
    case kOpModulate: return Div255(a * b);
    case kOpModulate2x: r = (int)Div255(a * b) * 2; break;
    case kOpModulate4x: r = (int)Div255(a * b) * 4; break;
    case kOpAdd: r = (int)(a + b); break;
    case kOpAddSigned: r = (int)a + (int)b - 128; break;
    case kOpAddSigned2x: r = ((int)a + (int)b - 128) * 2; break;
    case kOpSubtract: r = (int)a - (int)b; break;
    case kOpAddSmooth: r = (int)(a + b) - (int)Div255(a * b); break;
    case kOpBlendDiffuseAlpha:
    case kOpBlendTextureAlpha:
    case kOpBlendFactorAlpha: return Div255(a * blendAlpha + b * (255 - blendAlpha));
    default: return a;
    }
    return (uint32_t)std::clamp(r, 0, 255);
}

uint32_t BlendFactor(uint32_t f, uint32_t srcA) {
    switch (f) {
    case kBlendZero: return 0;
    case kBlendSrcAlpha: return srcA;
    case kBlendInvSrcAlpha: return 255 - srcA;
    default: return 255;  // one
    }
}

uint32_t BlendPixel(uint32_t src, uint32_t dst, const DrawState& st) {
    uint32_t sa = src >> 24;
    if (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendInvSrcAlpha) {
        if (sa == 255) return src;
        if (sa == 0) return dst;
        uint32_t out = 0;
        for (int s = 0; s < 32; s += 8) out |= Div255(Chan(src, s) * sa + Chan(dst, s) * (255 - sa)) << s;
        return out;
    }
    uint32_t fs = BlendFactor(st.srcBlend, sa), fd = BlendFactor(st.dstBlend, sa);
    uint32_t out = 0;
    for (int s = 0; s < 32; s += 8) {
        uint32_t v = (Chan(src, s) * fs + Chan(dst, s) * fd + 127) / 255;
        out |= std::min(v, 255u) << s;
    }
    return out;
}

int Wrap(int64_t t, int size, uint32_t mode) {
    if (t >= 0 && t < size) return (int)t;  // inside the texture every mode gives the texel itself
    if (mode == kAddressClamp) return (int)std::clamp<int64_t>(t, 0, size - 1);
    if (mode == kAddressMirror) {
        int64_t p = t % (2 * (int64_t)size);
        if (p < 0) p += 2 * (int64_t)size;
        return (int)(p < size ? p : 2 * (int64_t)size - 1 - p);
    }
    int64_t m = t % size;
    return (int)(m < 0 ? m + size : m);
}

// Texel index of a texture coordinate (point sampling: floor of u * size).
inline int64_t TexelOf(double u, int size) {
    double t = std::floor(u * size);
    if (!(t > -1e9)) return 0;  // NaN or far out of range
    if (t > 1e9) return (int64_t)1e9;
    return (int64_t)t;
}

inline uint32_t Fetch(const Surface* tex, int x, int y) {
    if (!tex) return 0xFF000000u;
    return ToArgb(tex->format, tex->Get(x, y), tex->palette.get());
}

inline void Plot(Surface& target, int x, int y, uint32_t colour, const DrawState& st) {
    if (st.blend) colour = BlendPixel(colour, target.GetArgb(x, y), st);
    target.Set(x, y, FromArgb(target.format, colour, target.palette.get()));
}

// Stores one pixel value in n pixels of row y from x on.
inline void FillRow(Surface& target, int y, int x, int n, uint32_t pixel) {
    const int bpp = BytesPerPixel(target.format);
    FillPixels(target.Row(y) + (size_t)x * (size_t)bpp, bpp, (size_t)n, pixel);
}

// Fixed-point position (1/256 pixel), clamped far outside any surface.
inline int64_t Snap(float v) {
    double d = std::isfinite(v) ? (double)v : 0.0;
    d = std::clamp(d, -1048576.0, 1048576.0) * 256.0;  // exact: a float times 256, within 2^28
    // Rounded to nearest, halves away from zero (as llround, without the library call).
    int64_t r = (int64_t)d;
    double f = d - (double)r;
    if (f >= 0.5) ++r;
    else if (f <= -0.5) --r;
    return r;
}

// One row of the sprite case: texels are the colour; opaque ones replace the target, clear ones
// keep it, the rest blend. `mask` drops the top byte of an X8R8G8B8 target.
void SpriteRow(uint32_t* d, const uint32_t* s, int n, uint32_t mask, bool xTarget, const DrawState& st) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i ff = _mm_set1_epi32(255), zero = _mm_setzero_si128(), vm = _mm_set1_epi32((int)mask);
    for (; i + 4 <= n; i += 4) {
        __m128i t = _mm_loadu_si128((const __m128i*)(s + i));
        __m128i a = _mm_srli_epi32(t, 24);
        __m128i full = _mm_cmpeq_epi32(a, ff), none = _mm_cmpeq_epi32(a, zero);
        int mf = _mm_movemask_epi8(full), mn = _mm_movemask_epi8(none);
        if (mn == 0xFFFF && !xTarget) continue;
        if ((mf | mn) == 0xFFFF) {
            __m128i dv = _mm_loadu_si128((const __m128i*)(d + i));
            __m128i out = _mm_and_si128(_mm_or_si128(_mm_and_si128(full, t), _mm_andnot_si128(full, dv)), vm);
            _mm_storeu_si128((__m128i*)(d + i), out);
            continue;
        }
        for (int k = i; k < i + 4; ++k) {
            uint32_t tk = s[k], ta = tk >> 24;
            if (ta == 255) d[k] = tk & mask;
            else if (ta != 0) d[k] = BlendPixel(tk, xTarget ? (d[k] | 0xFF000000u) : d[k], st) & mask;
            else d[k] &= mask;
        }
    }
#endif
    for (; i < n; ++i) {
        uint32_t t = s[i], ta = t >> 24;
        if (ta == 255) d[i] = t & mask;
        else if (ta != 0) d[i] = BlendPixel(t, xTarget ? (d[i] | 0xFF000000u) : d[i], st) & mask;
        else d[i] &= mask;  // the target keeps its colour; an X8R8G8B8 pixel is stored without its top byte
    }
}

bool IsOpaqueCopy(const DrawState& st, uint32_t diffuse) {
    bool colourIsTexel = (st.colorOp == kOpSelectArg1 && st.colorArg1 == kArgTexture) ||
                         (st.colorOp == kOpModulate && st.colorArg1 == kArgTexture &&
                          (st.colorArg2 == kArgDiffuse || st.colorArg2 == kArgCurrent) && (diffuse & 0xFFFFFF) == 0xFFFFFF);
    bool alphaIsTexel = (st.alphaOp == kOpSelectArg1 && st.alphaArg1 == kArgTexture) ||
                        (st.alphaOp == kOpModulate && st.alphaArg1 == kArgTexture &&
                         (st.alphaArg2 == kArgDiffuse || st.alphaArg2 == kArgCurrent) && (diffuse >> 24) == 0xFF);
    bool blendOk = !st.blend || (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendInvSrcAlpha);
    return colourIsTexel && alphaIsTexel && blendOk;
}

// Whether an operation with these arguments reads the texture.
bool OperationUsesTexture(uint32_t op, uint32_t arg1, uint32_t arg2) {
    bool t1 = (arg1 & kArgSelectMask) == kArgTexture, t2 = (arg2 & kArgSelectMask) == kArgTexture;
    switch (op) {
    case kOpDisable: return false;
    case kOpSelectArg1: return t1;
    case kOpSelectArg2: return t2;
    case kOpBlendTextureAlpha: return true;
    default: return t1 || t2;
    }
}

// The first of n texels that the sampling rule picks for n pixel centres, when they are proven
// to be first, first + 1, ... inside [0, size): `t0` and `tn` are the unrounded texel positions
// (coordinate x size) of the first and last centre. The positions are linear in between and
// exact to far better than the margin here (coordinates within +-65536, sizes up to 16384), so
// when both ends sit well inside their texels every centre between does too. -1 otherwise.
int UnitRun(double t0, double tn, int n, int size) {
    constexpr double kMargin = 1.0 / 1024;
    if (!(t0 >= 0 && t0 < 1e9 && tn < 1e9)) return -1;  // before the texture, far out of range, or NaN
    int64_t first = (int64_t)t0;               // the floor, t0 being >= 0
    double f0 = t0 - (double)first, fn = tn - (double)(first + n - 1);
    if (f0 < kMargin || f0 > 1 - kMargin || fn < kMargin || fn > 1 - kMargin) return -1;
    if (first + n > size) return -1;
    return (int)first;
}

// One row of a 1:1 copy whose colour is the texel: S texels to D pixels, stored as the shader
// stores them (unblended, or blended by the texel's own alpha: opaque replaces, clear keeps).
constexpr bool FourBytes(PixelFormat f) { return f == PixelFormat::X8R8G8B8 || f == PixelFormat::A8R8G8B8; }

template <PixelFormat S, PixelFormat D>
void CopyTexelRow(uint8_t* drow, const uint8_t* srow, int n, const DrawState& st) {
    using SrcT = std::conditional_t<FourBytes(S), uint32_t, uint16_t>;
    using DstT = std::conditional_t<FourBytes(D), uint32_t, uint16_t>;
    const SrcT* s = reinterpret_cast<const SrcT*>(srow);
    DstT* d = reinterpret_cast<DstT*>(drow);
    if (!st.blend) {
        if constexpr (S == D && S != PixelFormat::X8R8G8B8) {
            std::memcpy(d, s, (size_t)n * sizeof(DstT));
        } else {
            for (int i = 0; i < n; ++i) d[i] = (DstT)FromArgb(D, ToArgb(S, s[i]));
        }
        return;
    }
    for (int i = 0; i < n; ++i) {
        uint32_t c = ToArgb(S, s[i]), a = c >> 24;
        if (a == 255) d[i] = (DstT)FromArgb(D, c);
        else if (a != 0) d[i] = (DstT)FromArgb(D, BlendPixel(c, ToArgb(D, d[i]), st));
        else if constexpr (D == PixelFormat::X8R8G8B8) d[i] &= 0x00FFFFFFu;
    }
}

using CopyRowFn = void (*)(uint8_t*, const uint8_t*, int, const DrawState&);

template <PixelFormat S>
CopyRowFn CopyRowTo(PixelFormat d) {
    switch (d) {
    case PixelFormat::R5G6B5: return CopyTexelRow<S, PixelFormat::R5G6B5>;
    case PixelFormat::A1R5G5B5: return CopyTexelRow<S, PixelFormat::A1R5G5B5>;
    case PixelFormat::X8R8G8B8: return CopyTexelRow<S, PixelFormat::X8R8G8B8>;
    case PixelFormat::A8R8G8B8: return CopyTexelRow<S, PixelFormat::A8R8G8B8>;
    default: return nullptr;  // palettised: through the shader
    }
}

CopyRowFn CopyRowFor(PixelFormat s, PixelFormat d) {
    switch (s) {
    case PixelFormat::R5G6B5: return CopyRowTo<PixelFormat::R5G6B5>(d);
    case PixelFormat::A1R5G5B5: return CopyRowTo<PixelFormat::A1R5G5B5>(d);
    case PixelFormat::X8R8G8B8: return CopyRowTo<PixelFormat::X8R8G8B8>(d);
    case PixelFormat::A8R8G8B8: return CopyRowTo<PixelFormat::A8R8G8B8>(d);
    default: return nullptr;
    }
}

// Rows of A8R8G8B8 texels blended by their own alpha onto a 32-bit target, 1:1. Texels that are
// all opaque or clear (a colour-keyed texture's) select texel or target, sixteen pixels at a time;
// a block with other alphas, and the last pixels of a row, blend as SpriteRow does.
void KeyedRows32(uint8_t* dst, int dpitch, const uint8_t* src, int spitch, int n, int rows, bool xTarget,
                 const DrawState& st) {
    const uint32_t mask = xTarget ? 0x00FFFFFFu : 0xFFFFFFFFu;
    for (int j = 0; j < rows; ++j) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(src + (size_t)j * spitch);
        uint32_t* d = reinterpret_cast<uint32_t*>(dst + (size_t)j * dpitch);
        int i = 0;
#if defined(__SSE2__)
        const __m128i vm = _mm_set1_epi32((int)mask);
        for (; i + 16 <= n; i += 16) {
            __m128i keyed = _mm_set1_epi32(-1);
            auto select = [&](int k) {
                __m128i t = _mm_loadu_si128((const __m128i*)(s + i + 4 * k));
                __m128i opaque = _mm_srai_epi32(t, 31);
                // Alpha 0 or 255 <=> the alpha byte, sign-extended, equals the top bit, sign-extended.
                keyed = _mm_and_si128(keyed, _mm_cmpeq_epi32(_mm_srai_epi32(t, 24), opaque));
                __m128i dv = _mm_loadu_si128((const __m128i*)(d + i + 4 * k));
                return _mm_and_si128(_mm_or_si128(_mm_and_si128(opaque, t), _mm_andnot_si128(opaque, dv)), vm);
            };
            __m128i o0 = select(0), o1 = select(1), o2 = select(2), o3 = select(3);
            if (_mm_movemask_epi8(keyed) == 0xFFFF) {
                _mm_storeu_si128((__m128i*)(d + i), o0);
                _mm_storeu_si128((__m128i*)(d + i + 4), o1);
                _mm_storeu_si128((__m128i*)(d + i + 8), o2);
                _mm_storeu_si128((__m128i*)(d + i + 12), o3);
            } else {
                SpriteRow(d + i, s + i, 16, mask, xTarget, st);
            }
        }
#endif
        if (i < n) SpriteRow(d + i, s + i, n - i, mask, xTarget, st);
    }
}

#if defined(RASTER_WIDE_VECTORS)
// KeyedRows32 with 256-bit vectors (processors with AVX2): the same selection and fallbacks.
__attribute__((target("avx2"))) void KeyedRows32Wide(uint8_t* dst, int dpitch, const uint8_t* src, int spitch, int n,
                                                     int rows, bool xTarget, const DrawState& st) {
    const uint32_t mask = xTarget ? 0x00FFFFFFu : 0xFFFFFFFFu;
    const __m256i vm = _mm256_set1_epi32((int)mask);
    for (int j = 0; j < rows; ++j) {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(src + (size_t)j * spitch);
        uint32_t* d = reinterpret_cast<uint32_t*>(dst + (size_t)j * dpitch);
        int i = 0;
        for (; i + 16 <= n; i += 16) {
            __m256i t0 = _mm256_loadu_si256((const __m256i*)(s + i));
            __m256i t1 = _mm256_loadu_si256((const __m256i*)(s + i + 8));
            __m256i o0 = _mm256_srai_epi32(t0, 31), o1 = _mm256_srai_epi32(t1, 31);
            __m256i keyed = _mm256_and_si256(_mm256_cmpeq_epi32(_mm256_srai_epi32(t0, 24), o0),
                                             _mm256_cmpeq_epi32(_mm256_srai_epi32(t1, 24), o1));
            if (_mm256_movemask_epi8(keyed) != -1) {
                SpriteRow(d + i, s + i, 16, mask, xTarget, st);
                continue;
            }
            __m256i d0 = _mm256_loadu_si256((const __m256i*)(d + i));
            __m256i d1 = _mm256_loadu_si256((const __m256i*)(d + i + 8));
            _mm256_storeu_si256((__m256i*)(d + i), _mm256_and_si256(_mm256_blendv_epi8(d0, t0, o0), vm));
            _mm256_storeu_si256((__m256i*)(d + i + 8), _mm256_and_si256(_mm256_blendv_epi8(d1, t1, o1), vm));
        }
        if (i < n) SpriteRow(d + i, s + i, n - i, mask, xTarget, st);
    }
}
#endif

// Rows of A1R5G5B5 texels blended by their own alpha (all opaque or clear) onto a 16-bit target,
// 1:1: opaque texels are stored in the target's format, clear ones keep the target.
template <PixelFormat D>
void KeyedRows16(uint8_t* dst, int dpitch, const uint8_t* src, int spitch, int n, int rows, const DrawState& st) {
    for (int j = 0; j < rows; ++j) {
        const uint16_t* s = reinterpret_cast<const uint16_t*>(src + (size_t)j * spitch);
        uint16_t* d = reinterpret_cast<uint16_t*>(dst + (size_t)j * dpitch);
        int i = 0;
#if defined(__SSE2__)
        for (; i + 8 <= n; i += 8) {
            __m128i t = _mm_loadu_si128((const __m128i*)(s + i));
            __m128i opaque = _mm_srai_epi16(t, 15);
            __m128i c = t;
            if constexpr (D == PixelFormat::R5G6B5) {
                // r5 g5 b5 -> r5 g6 b5, the sixth green bit repeating the top one (as through ARGB).
                c = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_and_si128(t, _mm_set1_epi16(0x7FE0)), 1),
                                              _mm_and_si128(_mm_srli_epi16(t, 4), _mm_set1_epi16(0x20))),
                                 _mm_and_si128(t, _mm_set1_epi16(0x1F)));
            }
            __m128i dv = _mm_loadu_si128((const __m128i*)(d + i));
            _mm_storeu_si128((__m128i*)(d + i), _mm_or_si128(_mm_and_si128(opaque, c), _mm_andnot_si128(opaque, dv)));
        }
#endif
        if (i < n)
            CopyTexelRow<PixelFormat::A1R5G5B5, D>(reinterpret_cast<uint8_t*>(d + i),
                                                   reinterpret_cast<const uint8_t*>(s + i), n - i, st);
    }
}

// An axis-aligned quad over pixels [x0, x1) x [y0, y1) that shows its texture 1:1 and takes the
// texel as its colour: copied row by row, with the pixels the shader would give. False (nothing
// drawn) when the quad is not such a copy.
bool CopyTexels(Surface& target, const Surface& tex, int x0, int x1, int y0, int y1, int64_t xa, int64_t xb,
                int64_t ya, int64_t yb, float ul, float ur, float vt, float vb, uint32_t diffuse, const DrawState& st) {
    if (!IsOpaqueCopy(st, diffuse)) return false;
    if (!(std::fabs(ul) <= 65536 && std::fabs(ur) <= 65536 && std::fabs(vt) <= 65536 && std::fabs(vb) <= 65536))
        return false;
    CopyRowFn row = CopyRowFor(tex.format, target.format);
    if (!row) return false;
    // Texel positions of the first and last pixel centres, computed as the shader's sampling does.
    double du = ((double)ur - ul) / (double)(xb - xa), dv = ((double)vb - vt) / (double)(yb - ya);
    auto at = [](float base, double step, int p, int64_t edge, int size) {
        return (base + step * (double)(((int64_t)p << 8) - edge)) * size;
    };
    int n = x1 - x0, rows = y1 - y0;
    int tx = UnitRun(at(ul, du, x0, xa, tex.width), at(ul, du, x1 - 1, xa, tex.width), n, tex.width);
    int ty = UnitRun(at(vt, dv, y0, ya, tex.height), at(vt, dv, y1 - 1, ya, tex.height), rows, tex.height);
    if (tx < 0 || ty < 0) return false;
    const int sb = BytesPerPixel(tex.format), db = BytesPerPixel(target.format);
    const uint8_t* s = tex.Row(ty) + (size_t)tx * sb;
    uint8_t* d = target.Row(y0) + (size_t)x0 * db;
    if (st.blend) {
        if (tex.format == PixelFormat::A8R8G8B8 &&
            (target.format == PixelFormat::X8R8G8B8 || target.format == PixelFormat::A8R8G8B8)) {
            bool xTarget = target.format == PixelFormat::X8R8G8B8;
#if defined(RASTER_WIDE_VECTORS)
            if (WideVectors()) {
                KeyedRows32Wide(d, target.pitch, s, tex.pitch, n, rows, xTarget, st);
                return true;
            }
#endif
            KeyedRows32(d, target.pitch, s, tex.pitch, n, rows, xTarget, st);
            return true;
        }
        if (tex.format == PixelFormat::A1R5G5B5 && target.format == PixelFormat::R5G6B5) {
            KeyedRows16<PixelFormat::R5G6B5>(d, target.pitch, s, tex.pitch, n, rows, st);
            return true;
        }
        if (tex.format == PixelFormat::A1R5G5B5 && target.format == PixelFormat::A1R5G5B5) {
            KeyedRows16<PixelFormat::A1R5G5B5>(d, target.pitch, s, tex.pitch, n, rows, st);
            return true;
        }
    }
    for (int j = 0; j < rows; ++j) row(d + (size_t)j * target.pitch, s + (size_t)j * tex.pitch, n, st);
    return true;
}

}  // namespace

bool UsesTexture(const DrawState& st) {
    if (st.colorOp == kOpDisable) return false;  // the diffuse colour, alpha and all
    return OperationUsesTexture(st.colorOp, st.colorArg1, st.colorArg2) ||
           OperationUsesTexture(st.alphaOp, st.alphaArg1, st.alphaArg2);
}

uint32_t ShadePixel(uint32_t tex, uint32_t diff, const DrawState& st) {
    uint32_t rgb;
    uint32_t alpha;
    if (st.colorOp == kOpDisable) {
        return diff;
    }
    {
        uint32_t a = Argument(st.colorArg1, tex, diff, st.textureFactor);
        uint32_t b = Argument(st.colorArg2, tex, diff, st.textureFactor);
        uint32_t ba = st.colorOp == kOpBlendDiffuseAlpha   ? diff >> 24
                      : st.colorOp == kOpBlendTextureAlpha ? tex >> 24
                                                           : st.textureFactor >> 24;
        rgb = (Operate(st.colorOp, Chan(a, 16), Chan(b, 16), ba) << 16) |
              (Operate(st.colorOp, Chan(a, 8), Chan(b, 8), ba) << 8) | Operate(st.colorOp, Chan(a, 0), Chan(b, 0), ba);
    }
    if (st.alphaOp == kOpDisable) {
        alpha = diff >> 24;
    } else {
        uint32_t a = Argument(st.alphaArg1, tex, diff, st.textureFactor);
        uint32_t b = Argument(st.alphaArg2, tex, diff, st.textureFactor);
        uint32_t ba = st.alphaOp == kOpBlendDiffuseAlpha   ? diff >> 24
                      : st.alphaOp == kOpBlendTextureAlpha ? tex >> 24
                                                           : st.textureFactor >> 24;
        alpha = Operate(st.alphaOp, a >> 24, b >> 24, ba);
    }
    return (alpha << 24) | rgb;
}

void DrawTriangle(Surface& target, const Rect& clip0, const Surface* texture, const Vertex& a, const Vertex& b,
                  const Vertex& c, const DrawState& st) {
    if (texture && !UsesTexture(st)) texture = nullptr;
    Rect clip = Intersect(clip0, target.Bounds());
    if (clip.Empty()) return;
    int64_t X[3] = {Snap(a.x), Snap(b.x), Snap(c.x)};
    int64_t Y[3] = {Snap(a.y), Snap(b.y), Snap(c.y)};
    const Vertex* V[3] = {&a, &b, &c};
    int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
    if (area == 0) return;
    if (area < 0) {
        std::swap(X[1], X[2]);
        std::swap(Y[1], Y[2]);
        std::swap(V[1], V[2]);
        area = -area;
    }
    // Bounding box in whole pixels (pixel centres at integer coordinates).
    int64_t minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
    int64_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
    int x0 = (int)std::max<int64_t>(clip.left, (minX + 255) >> 8);
    int x1 = (int)std::min<int64_t>(clip.right - 1, maxX >> 8);
    int y0 = (int)std::max<int64_t>(clip.top, (minY + 255) >> 8);
    int y1 = (int)std::min<int64_t>(clip.bottom - 1, maxY >> 8);
    if (x0 > x1 || y0 > y1) return;

    // Edge k runs from vertex k+1 to k+2 and is zero on that side; its value at a point, divided
    // by the area, is the weight of vertex k there.
    int64_t ex[3], ey[3], bias[3];
    for (int k = 0; k < 3; ++k) {
        int i = (k + 1) % 3, j = (k + 2) % 3;
        int64_t dx = X[j] - X[i], dy = Y[j] - Y[i];
        ex[k] = dx;
        ey[k] = dy;
        bool topLeft = (dy == 0 && dx > 0) || dy < 0;
        bias[k] = topLeft ? 0 : -1;  // E + bias >= 0 <=> inside under the top-left rule
    }
    auto edge = [&](int k, int64_t px, int64_t py) {
        int i = (k + 1) % 3;
        return ex[k] * (py - Y[i]) - ey[k] * (px - X[i]);
    };
    bool flat = a.diffuse == b.diffuse && b.diffuse == c.diffuse;
    int tw = texture ? texture->width : 1, th = texture ? texture->height : 1;
    double inv = 1.0 / (double)area;
    for (int y = y0; y <= y1; ++y) {
        int64_t py = (int64_t)y << 8;
        for (int x = x0; x <= x1; ++x) {
            int64_t px = (int64_t)x << 8;
            int64_t e0 = edge(0, px, py), e1 = edge(1, px, py), e2 = edge(2, px, py);
            if (e0 + bias[0] < 0 || e1 + bias[1] < 0 || e2 + bias[2] < 0) continue;
            double w0 = (double)e0 * inv, w1 = (double)e1 * inv, w2 = (double)e2 * inv;
            double u = w0 * V[0]->u + w1 * V[1]->u + w2 * V[2]->u;
            double v = w0 * V[0]->v + w1 * V[1]->v + w2 * V[2]->v;
            uint32_t diff = a.diffuse;
            if (!flat) {
                diff = 0;
                for (int s = 0; s < 32; s += 8) {
                    double ch = w0 * Chan(V[0]->diffuse, s) + w1 * Chan(V[1]->diffuse, s) + w2 * Chan(V[2]->diffuse, s);
                    diff |= (uint32_t)std::clamp((int)std::lround(ch), 0, 255) << s;
                }
            }
            uint32_t texel = 0xFF000000u;
            if (texture)
                texel = Fetch(texture, Wrap(TexelOf(u, tw), tw, st.addressU), Wrap(TexelOf(v, th), th, st.addressV));
            Plot(target, x, y, ShadePixel(texel, diff, st), st);
        }
    }
}

namespace {

// The quad strip; with `shaded` every textured pixel goes through the general shader.
void DrawStrip(Surface& target, const Rect& clip0, const Surface* texture, const Vertex* v, const DrawState& st,
               bool shaded) {
    if (texture && !UsesTexture(st)) texture = nullptr;
    // Strip order: v0 top-left, v1 bottom-left, v2 top-right, v3 bottom-right (or any mirror of it).
    bool rect = v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y &&
                v[0].u == v[1].u && v[2].u == v[3].u && v[0].v == v[2].v && v[1].v == v[3].v &&
                v[0].diffuse == v[1].diffuse && v[0].diffuse == v[2].diffuse && v[0].diffuse == v[3].diffuse;
    if (!rect) {
        DrawTriangle(target, clip0, texture, v[0], v[1], v[2], st);
        DrawTriangle(target, clip0, texture, v[1], v[3], v[2], st);
        return;
    }
    Rect clip = Intersect(clip0, target.Bounds());
    if (clip.Empty()) return;
    // Edges in fixed point, as the triangle path snaps them; left/top inclusive, right/bottom not.
    int64_t xa = Snap(v[0].x), xb = Snap(v[2].x), ya = Snap(v[0].y), yb = Snap(v[1].y);
    if (xa == xb || ya == yb) return;
    float ul = v[0].u, ur = v[2].u, vt = v[0].v, vb = v[1].v;
    if (xa > xb) {
        std::swap(xa, xb);
        std::swap(ul, ur);
    }
    if (ya > yb) {
        std::swap(ya, yb);
        std::swap(vt, vb);
    }
    int x0 = (int)std::max<int64_t>(clip.left, (xa + 255) >> 8);
    int x1 = (int)std::min<int64_t>(clip.right, (xb + 255) >> 8);
    int y0 = (int)std::max<int64_t>(clip.top, (ya + 255) >> 8);
    int y1 = (int)std::min<int64_t>(clip.bottom, (yb + 255) >> 8);
    if (x0 >= x1 || y0 >= y1) return;
    if (texture && !shaded &&
        CopyTexels(target, *texture, x0, x1, y0, y1, xa, xb, ya, yb, ul, ur, vt, vb, v[0].diffuse, st))
        return;
    int tw = texture ? texture->width : 1, th = texture ? texture->height : 1;
    thread_local std::vector<int> cols;
    cols.resize((size_t)(x1 - x0));
    double du = ((double)ur - ul) / (double)(xb - xa);
    for (int x = x0; x < x1; ++x) {
        double u = ul + du * (double)(((int64_t)x << 8) - xa);
        cols[(size_t)(x - x0)] = Wrap(TexelOf(u, tw), tw, st.addressU);
    }
    double dv = ((double)vb - vt) / (double)(yb - ya);
    uint32_t diffuse = v[0].diffuse;
    bool copy = texture && IsOpaqueCopy(st, diffuse);
    bool contiguous = true;
    for (size_t i = 1; i < cols.size(); ++i)
        if (cols[i] != cols[0] + (int)i) contiguous = false;
    // Without a texture every pixel gets the same shaded colour. Unblended, or blended by its
    // own alpha when that is opaque, it replaces the target: one value stored row by row.
    uint32_t colour = texture ? 0 : ShadePixel(0xFF000000u, diffuse, st);
    std::optional<uint32_t> fillPixel;
    if (!texture && (!st.blend || (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendInvSrcAlpha &&
                                   (colour >> 24) == 255)))
        fillPixel = FromArgb(target.format, colour, target.palette.get());
    for (int y = y0; y < y1; ++y) {
        double tv = vt + dv * (double)(((int64_t)y << 8) - ya);
        int ty = Wrap(TexelOf(tv, th), th, st.addressV);
        if (copy && !shaded && texture->format == PixelFormat::A8R8G8B8 &&
            (target.format == PixelFormat::X8R8G8B8 || target.format == PixelFormat::A8R8G8B8)) {
            // The common sprite case: the texel is the colour; opaque texels replace, clear ones
            // keep the target, the rest blend.
            const uint32_t* srow = (const uint32_t*)texture->Row(ty);
            uint32_t* drow = (uint32_t*)target.Row(y) + x0;
            uint32_t mask = target.format == PixelFormat::X8R8G8B8 ? 0x00FFFFFFu : 0xFFFFFFFFu;
            int n = x1 - x0;
            if (!st.blend) {
                if (contiguous)
                    for (int i = 0; i < n; ++i) drow[i] = srow[cols[0] + i] & mask;
                else
                    for (int i = 0; i < n; ++i) drow[i] = srow[cols[(size_t)i]] & mask;
                continue;
            }
            bool xTarget = target.format == PixelFormat::X8R8G8B8;
            if (contiguous) {
                SpriteRow(drow, srow + cols[0], n, mask, xTarget, st);
            } else {
                uint32_t tmp[256];
                for (int i0 = 0; i0 < n; i0 += 256) {
                    int m = std::min(256, n - i0);
                    for (int i = 0; i < m; ++i) tmp[i] = srow[cols[(size_t)(i0 + i)]];
                    SpriteRow(drow + i0, tmp, m, mask, xTarget, st);
                }
            }
            continue;
        }
        if (!texture && fillPixel) {
            FillRow(target, y, x0, x1 - x0, *fillPixel);
            continue;
        }
        if (!texture && (target.format == PixelFormat::X8R8G8B8 || target.format == PixelFormat::A8R8G8B8)) {
            // Without a texture every pixel gets the same shaded colour: one shading, then the
            // blend of that colour over each pixel.
            uint32_t* drow = (uint32_t*)target.Row(y) + x0;
            uint32_t mask = target.format == PixelFormat::X8R8G8B8 ? 0x00FFFFFFu : 0xFFFFFFFFu;
            int n = x1 - x0;
            if (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendInvSrcAlpha) {
                uint32_t sa = colour >> 24, da = 255 - sa;
                uint32_t pre[4];
                for (int c = 0; c < 4; ++c) pre[c] = Chan(colour, 8 * c) * sa;
                for (int i = 0; i < n; ++i) {
                    // An X8R8G8B8 pixel reads with alpha 255, as GetArgb gives it.
                    uint32_t d = drow[i] | ~mask, out = 0;
                    for (int c = 0; c < 4; ++c) out |= Div255(pre[c] + Chan(d, 8 * c) * da) << (8 * c);
                    drow[i] = out & mask;
                }
            } else {
                for (int i = 0; i < n; ++i) drow[i] = BlendPixel(colour, drow[i] | ~mask, st) & mask;
            }
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            uint32_t texel = texture ? Fetch(texture, cols[(size_t)(x - x0)], ty) : 0xFF000000u;
            Plot(target, x, y, copy ? texel : ShadePixel(texel, diffuse, st), st);
        }
    }
}

}  // namespace

void DrawQuadStrip(Surface& target, const Rect& clip, const Surface* texture, const Vertex* v, const DrawState& st) {
    DrawStrip(target, clip, texture, v, st, false);
}

void UseWideVectors(bool on) { g_bWideVectors = on; }

void DrawQuadStripShaded(Surface& target, const Rect& clip, const Surface* texture, const Vertex* v,
                         const DrawState& st) {
    DrawStrip(target, clip, texture, v, st, true);
}

}  // namespace raster
