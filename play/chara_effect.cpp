// The character-effect renderers.
#include "play/chara_effect.h"

#include <algorithm>
#include <cmath>

#include "media/depth_effects.h"
#include "media/draw_device.h"
#include "media/pixel_effects.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "media/translucent_blit.h"
#include "play/chara.h"
#include "play/effect_progress.h"
#include "records/effect_records.h"

namespace {

constexpr int kWorkW = 640;
constexpr int kWorkH = 480;

DDSURFACEDATA g_CharaEffectWorkSD = {};

int ToInt(double v) {
    if (!(v == v)) return 0;
    return (int)std::clamp(v, -2147483648.0, 2147483647.0);
}

// Where the operation reads from and with which factor on its values.
struct SOURCE {
    DDSURFACEDATA* src;
    int sx, sy;
    int scale;  // 1 on the direct path
};

// The screen rectangle of the character.
struct RECTWH {
    int l, t, w, h;
};

RECTWH ScreenRect(const cChara& c) {
    return RECTWH{c.m_nRectLeft, c.m_nRectTop, c.m_nRectRight - c.m_nRectLeft + 1, c.m_nRectBottom - c.m_nRectTop + 1};
}

bool ScaledPath(const CHARACELL& cell) { return cell.nScale > 1 && cell.nScale != cell.nCellScale; }

const int32_t* Params(const cChara& c) { return CharaEffectDef(c.m_CharaEffect).m_anParams; }

typedef void (*OPERATION)(cChara& c, DDSURFACEDATA* target, const RECTWH& r, const SOURCE& s);

// Steps 1-3 of every renderer of kinds 1-16: the operation on the cell directly, or on the cell
// drawn scaled into the work surface; then the progress unless held.
int Common(cChara& c, DDSURFACEDATA* target, const CHARACELL& cell, int hold, int draw, OPERATION op) {
    if (draw && cell.lpSrc && target) {
        RECTWH r = ScreenRect(c);
        SOURCE s{cell.lpSrc, cell.nSrcX, cell.nSrcY, 1};
        if (ScaledPath(cell)) {
            DDSURFACEDATA* work = CharaEffectWork();
            if (work) {
                CharaEffectBlitClipped(work, cell);
                s = SOURCE{work, 0, 0, std::max(1, cell.nScale)};
            }
        }
        if (cell.bColourPair) {
            DDSetDrawColor(cell.Pair.dwColor);
            DDSetColorOp(cell.Pair.dwColorOp);
        }
        op(c, target, r, s);
        if (cell.bColourPair) {
            DDResetDrawColor();
            DDResetColorOp();
        }
    }
    if (hold) return 0;
    return StepCharaEffect(c.m_CharaEffect);
}

double Value(const cChara& c, const SOURCE& s) { return c.m_CharaEffect.dValue * s.scale; }

void OpPlain(cChara&, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DDBlt(t, r.l, r.t, r.w, r.h, s.src, s.sx, s.sy, DDBLT_TRANSPARENT);
}
void OpQuarter(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DrawQuarterSplit(t, r.l, r.t, r.w, r.h, s.src, s.sx, s.sy, ToInt(Value(c, s)), DDBLT_TRANSPARENT);
}
// Strips of ceil(size / P3) dots (a count below 1 is one strip).
void OpBlinds(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s, int vertical) {
    int n = std::max(1, Params(c)[3]);
    int size = vertical ? r.w : r.h;
    int strip = std::max(1, (size + n - 1) / n);
    DrawBlinds(t, r.l, r.t, r.w, r.h, strip, ToInt(Value(c, s)), s.src, s.sx, s.sy, DDBLT_TRANSPARENT, vertical);
}
void OpBlindsX(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) { OpBlinds(c, t, r, s, 0); }
void OpBlindsY(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) { OpBlinds(c, t, r, s, 1); }
// P3 waves, the value as amplitude, P4 the roughness (at least one dot).
void OpWave(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s, int vertical) {
    const int32_t* p = Params(c);
    int rough = (int)std::clamp<int64_t>((int64_t)p[4] * s.scale, 1, 1 << 20);
    DrawSineEffect(t, r.l, r.t, r.w, r.h, (double)p[3], Value(c, s), (double)c.m_CharaEffect.nPhase, rough, s.src,
                   s.sx, s.sy, DDBLT_TRANSPARENT, vertical);
}
void OpWaveX(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) { OpWave(c, t, r, s, 0); }
void OpWaveY(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) { OpWave(c, t, r, s, 1); }
void OpRotate(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DDBltRotate(t, r.l + r.w / 2, r.t + r.h / 2, r.w, r.h, r.w / 2, r.h / 2, c.m_CharaEffect.dValue, s.src, s.sx, s.sy,
                1);
}
// Growth: the value less 32 in dots (spread over both sides).
void OpGrow(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    if (s.scale <= 1) {
        int d = ToInt(c.m_CharaEffect.dValue - 32.0);
        DDBltStretch(t, r.l - d / 2, r.t - d / 2, r.w + d, r.h + d, s.src, s.sx, s.sy, r.w, r.h, DDBLT_TRANSPARENT);
    } else {
        int d = ToInt((c.m_CharaEffect.dValue - 32.0) * s.scale);
        DDBltStretch(t, r.l - d / 4, r.t - d / 4, r.w + d / 2, r.h + d / 2, s.src, s.sx, s.sy, r.w, r.h,
                     DDBLT_TRANSPARENT);
    }
}
// Circle: the character seen through a circle of the value's radius, its edge stepped in
// squares of P3 dots.
void OpCircle(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    int rough = (int)std::clamp<int64_t>((int64_t)Params(c)[3] * s.scale, 1, 1 << 20);
    DDDrawGauge(t, r.l, r.t, r.w, r.h, s.src, s.sx, s.sy, ToInt(Value(c, s)), rough, DDBLT_TRANSPARENT);
}
// Turn in depth: the character squeezed into stripes as it turns, the value the distance
// turned in dots.
void OpStripes(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DrawStripes(t, r.l, r.t, r.w, r.h, s.src, s.sx, s.sy, ToInt(Value(c, s)), DDBLT_TRANSPARENT);
}
// Lens: a glass sphere over the character moved by (P3, P4), the value its distance.
void OpLens(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    const int32_t* p = Params(c);
    int ox = (int)std::clamp<int64_t>((int64_t)p[3] * s.scale, -4096, 4096);
    int oy = (int)std::clamp<int64_t>((int64_t)p[4] * s.scale, -4096, 4096);
    int radius = std::max(r.w, r.h) / 2;
    DDBltRadial(t, r.l + r.w / 2 + ox, r.t + r.h / 2 + oy, radius, std::max(0, ToInt(Value(c, s))), s.src,
                s.sx + r.w / 2 + ox, s.sy + r.h / 2 + oy, 1, 0);
}
// Colour change: the character tinted towards palette colour P3 by the value's strength.
void OpTint(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DDBltTint(t, r.l, r.t, r.w, r.h, s.src, s.sx, s.sy, 1, g_EnginePalette, nullptr, Params(c)[3],
              ToInt(c.m_CharaEffect.dValue));
}
void OpHalf(cChara&, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DDEffectWrap128(t, r.l, r.t, r.w, r.h, s.src, s.sx, s.sy, 1, nullptr);
}
void OpMosaic(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    DDBltMosaic(t, r.l, r.t, r.w, r.h, std::max(1, ToInt(Value(c, s))), s.src, s.sx, s.sy, 1);
}
void OpBlur(cChara& c, DDSURFACEDATA* t, const RECTWH& r, const SOURCE& s) {
    int v = std::max(0, ToInt(Value(c, s)));
    DDBltBlur(t, r.l, r.t, r.w, r.h, v, v, s.src, s.sx, s.sy, 1);
}

int Render0(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int, int draw) {
    if (!draw || !cell.lpSrc || !t) return 0;
    RECTWH r = ScreenRect(c);
    bool scaled = ScaledPath(cell);
    if (cell.bColourPair) {
        if (scaled)
            DDBltStretchColor(t, r.l, r.t, r.w, r.h, cell.lpSrc, cell.nSrcX, cell.nSrcY, cell.nWidth, cell.nHeight,
                              DDBLT_TRANSPARENT, cell.Pair);
        else
            DDBltColor(t, r.l, r.t, r.w, r.h, cell.lpSrc, cell.nSrcX, cell.nSrcY, DDBLT_TRANSPARENT, cell.Pair);
    } else if (scaled) {
        DDBltStretch(t, r.l, r.t, r.w, r.h, cell.lpSrc, cell.nSrcX, cell.nSrcY, cell.nWidth, cell.nHeight,
                     DDBLT_TRANSPARENT);
    } else {
        DDBlt(t, r.l, r.t, r.w, r.h, cell.lpSrc, cell.nSrcX, cell.nSrcY, DDBLT_TRANSPARENT);
    }
    return 0;
}
int Render1(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpQuarter);
}
int Render2(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpBlindsX);
}
int Render3(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpBlindsY);
}
// Waves: the phase grows by one a frame and wraps from 360 to 0.
int RenderWave(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw, OPERATION op) {
    int ended = Common(c, t, cell, hold, draw, op);
    if (!hold && !ended) {
        int& phase = c.m_CharaEffect.nPhase;
        phase = phase >= 360 ? 0 : phase + 1;
    }
    return ended;
}
int Render4(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return RenderWave(c, t, cell, hold, draw, OpWaveX);
}
int Render5(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return RenderWave(c, t, cell, hold, draw, OpWaveY);
}
// Blink (6) and translucency (14): the extra word flips every start-value frames; 6 draws while
// it is set, 14 draws half transparent while it is clear.
int RenderFlip(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw, int showWhen, OPERATION op) {
    CHARAEFFECTSTATE& s = c.m_CharaEffect;
    if (s.nPhase >= Params(c)[1]) {
        s.nPhase = 0;
        s.nExtra = !s.nExtra;
    }
    int shown = (s.nExtra != 0) == (showWhen != 0);
    int ended = Common(c, t, cell, hold, draw && shown, op);
    if (!hold) ++s.nPhase;
    return ended;
}
int Render6(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return RenderFlip(c, t, cell, hold, draw, 1, OpPlain);
}
int Render7(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpRotate);
}
int Render9(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpStripes);
}
int Render10(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpCircle);
}
int Render12(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpLens);
}
int Render13(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpTint);
}
int Render11(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpGrow);
}
int Render14(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return RenderFlip(c, t, cell, hold, draw, 0, OpHalf);
}
int Render15(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpMosaic);
}
int Render16(cChara& c, DDSURFACEDATA* t, const CHARACELL& cell, int hold, int draw) {
    return Common(c, t, cell, hold, draw, OpBlur);
}

}  // namespace

const CHARAEFFECTRENDERER g_CharaEffectRenderers[17] = {
    Render0,  Render1,  Render2,  Render3,  Render4,  Render5,  Render6,          Render7,  Render7,
    Render9,  Render10, Render11, Render12, Render13, Render14, Render15, Render16,
};

int RenderCharaEffect(cChara& chara, DDSURFACEDATA* target, const CHARACELL& cell, int hold, int draw) {
    if (chara.m_CharaEffect.nId == 0) return Render0(chara, target, cell, hold, draw);
    int kind = CharaEffectDef(chara.m_CharaEffect).m_nKind;
    // A kind outside the table (damaged data) draws plainly and ends.
    if (kind < 0 || kind >= 17) {
        Render0(chara, target, cell, hold, draw);
        return 1;
    }
    return g_CharaEffectRenderers[kind](chara, target, cell, hold, draw);
}

int RunCharaEffectRenderer(cChara& chara, DDSURFACEDATA* target, const CHARACELL& cell, int hold) {
    int ended = RenderCharaEffect(chara, target, cell, hold, 1);
    if (ended) chara.m_CharaEffect.nId = 0;
    return ended;
}

void CharaEffectBlit(DDSURFACEDATA* target, const CHARACELL& cell) {
    if (cell.bColourPair)
        DDBltColor(target, 0, 0, cell.nWidth, cell.nHeight, cell.lpSrc, cell.nSrcX, cell.nSrcY, DDBLT_TRANSPARENT,
                   cell.Pair);
    else
        DDBlt(target, 0, 0, cell.nWidth, cell.nHeight, cell.lpSrc, cell.nSrcX, cell.nSrcY, DDBLT_TRANSPARENT);
}

void CharaEffectBlitClipped(DDSURFACEDATA* target, const CHARACELL& cell) {
    if (!target) return;
    int s = std::max(1, cell.nScale);
    int w = (int)std::min<int64_t>((int64_t)cell.nWidth * s, kWorkW);
    int h = (int)std::min<int64_t>((int64_t)cell.nHeight * s, kWorkH);
    DDFillRect(target, 0, 0, w, h, 0);  // the transparent colour where the cell leaves gaps
    if (!ScaledPath(cell)) {
        CharaEffectBlit(target, cell);
    } else if (cell.bColourPair) {
        DDBltStretchColor(target, 0, 0, w, h, cell.lpSrc, cell.nSrcX, cell.nSrcY, cell.nWidth, cell.nHeight,
                          DDBLT_TRANSPARENT, cell.Pair);
    } else {
        DDBltStretch(target, 0, 0, w, h, cell.lpSrc, cell.nSrcX, cell.nSrcY, cell.nWidth, cell.nHeight,
                     DDBLT_TRANSPARENT);
    }
}

DDSURFACEDATA* CharaEffectWork() {
    if (!g_bDDInitialized) return nullptr;
    DDSURFACEDATA& rec = g_CharaEffectWorkSD;
    if (!rec.lpDT && !rec.lpDD && !DDCreateSurface(&rec, kWorkW, kWorkH, 1, 0, 0, 0, 0)) return nullptr;
    return &rec;
}

void ReleaseCharaEffectSurfaces() { DDReleaseSurface(&g_CharaEffectWorkSD); }
