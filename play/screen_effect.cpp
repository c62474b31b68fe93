// Screen effects: the renderers of the fourteen kinds and the running effect of the play scene.
#include "play/screen_effect.h"

#include <algorithm>
#include <cmath>

#include "media/blit.h"
#include "media/draw_device.h"
#include "media/pixel_effects.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "play/effect_progress.h"
#include "play/play_draw.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/stage_objects.h"
#include "records/effect_records.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kBlack = 16;  // the colour of the empty screen
// The lens reaches past the screen's far corner from its centre.
constexpr double kLensRadiusFactor = 1.4143;

DDSURFACEDATA g_ScrEffectWorkSD[2] = {};

int ToInt(double v) {
    if (!(v == v)) return 0;
    return (int)std::clamp(v, -2147483648.0, 2147483647.0);
}

const int32_t* Params(cPlayScene* scene) { return ScrEffectDef(scene->m_ScreenEffect.State).m_anParams; }

// Frames of the effect's duration (at least one).
double DurationFrames(const SCREFFECTSTATE& s) { return std::max(1.0, (double)s.nDuration * 6.0); }

// Steps 1 and 2 of every renderer: the picture into a work surface, the back buffer cleared.
DDSURFACEDATA* TakePicture(int which) {
    DDSURFACEDATA* work = ScreenEffectWork(which);
    if (!work) return nullptr;
    DDBlt(work, 0, 0, kScreenW, kScreenH, &g_BackBufferSD, 0, 0, DDBLT_OPAQUE);
    DDFillSurface(&g_BackBufferSD, kBlack);
    return work;
}

// The progress of the time-counting kinds (move, shakes, blink): 0 to the duration.
int StepTime(cPlayScene* scene, int hold) {
    SCREFFECTSTATE& s = scene->m_ScreenEffect.State;
    if (hold) return 0;
    return StepScreenEffect(s, 0, s.nDuration, s.dRate);
}

// The progress of the other kinds: the value from P1 to P2.
int StepValue(cPlayScene* scene, int hold) {
    SCREFFECTSTATE& s = scene->m_ScreenEffect.State;
    if (hold) return 0;
    const int32_t* p = Params(scene);
    return StepScreenEffect(s, p[1], p[2], s.dRate);
}

// The hero's screen centre (the screen's centre when there is no hero).
void HeroCentre(cPlayScene* scene, int& x, int& y) {
    x = kScreenW / 2;
    y = kScreenH / 2;
    if (g_vecHero.empty()) return;
    const cHero& h = g_vecHero.front();
    x = ToInt(h.m_dX - scene->m_ScrollX.m_dPos) + h.m_nWidth / 2;
    y = ToInt(h.m_dY - scene->m_ScrollY.m_dPos) + h.m_nHeight / 2;
}

// Per axis the distance from a point to the screen's far edge.
int FarEdge(int c, int size) { return c < size / 2 ? size - c : c; }

int RenderNone(cPlayScene* scene, int) {
    ScreenColourFilterOff(scene);
    return 0;
}

int RenderMove(cPlayScene* scene, int hold) {
    const SCREFFECTSTATE& s = scene->m_ScreenEffect.State;
    const int32_t* p = Params(scene);
    double v = s.dValue, d = s.nDuration > 0 ? (double)s.nDuration : 1.0;
    if (s.nDuration <= 0) v = d;  // no time to move: at the end position
    int ox = ToInt((double)(p[3] - s.nWord1) / d * v + s.nWord1);
    int oy = ToInt((double)(p[4] - s.nWord2) / d * v + s.nWord2);
    DDSURFACEDATA* work = TakePicture(0);
    if (work) {
        DDBatchBegin(0);
        DDBlt(&g_BackBufferSD, ox, oy, kScreenW, kScreenH, work, 0, 0, DDBLT_OPAQUE);
        DDBatchFlush();
    }
    return StepTime(scene, hold);
}

// Shakes: the position swings between -P1 and +P1, P2 times over the duration.
int RenderShake(cPlayScene* scene, int hold, int vertical) {
    SCREENEFFECT& e = scene->m_ScreenEffect;
    const int32_t* p = Params(scene);
    int amp = p[1];
    if (!hold) {
        double speed = (double)amp * (double)p[2] * 4.0 / DurationFrames(e.State);
        if (!std::isfinite(speed)) speed = 0.0;
        if (e.bFlag == 0) {
            e.dShake += speed;
            if (e.dShake >= amp) {
                e.dShake = amp;
                e.bFlag = 1;
            }
        } else {
            e.dShake -= speed;
            if (e.dShake <= -amp) {
                e.dShake = -amp;
                e.bFlag = 0;
            }
        }
    }
    int off = ToInt(e.dShake);
    DDSURFACEDATA* work = TakePicture(0);
    if (work) {
        DDBatchBegin(0);
        if (vertical)
            DDBlt(&g_BackBufferSD, 0, off, kScreenW, kScreenH, work, 0, 0, DDBLT_OPAQUE);
        else
            DDBlt(&g_BackBufferSD, off, 0, kScreenW, kScreenH, work, 0, 0, DDBLT_OPAQUE);
        DDBatchFlush();
    }
    return StepTime(scene, hold);
}
int RenderShakeX(cPlayScene* scene, int hold) { return RenderShake(scene, hold, 0); }
int RenderShakeY(cPlayScene* scene, int hold) { return RenderShake(scene, hold, 1); }

// Bands: the division count below 1 is taken as 1 (one band, the size divides by it).
int RenderBands(cPlayScene* scene, int hold, int vertical) {
    const int32_t* p = Params(scene);
    int count = std::max(1, p[3]);
    int size = vertical ? kScreenW : kScreenH;
    int band = (size + count - 1) / count;
    int visible = ToInt(scene->m_ScreenEffect.State.dValue);
    DDSURFACEDATA* work = TakePicture(0);
    if (work) DrawBlinds(&g_BackBufferSD, 0, 0, kScreenW, kScreenH, band, visible, work, 0, 0, DDBLT_OPAQUE, vertical);
    return StepValue(scene, hold);
}
int RenderBandsX(cPlayScene* scene, int hold) { return RenderBands(scene, hold, 0); }
int RenderBandsY(cPlayScene* scene, int hold) { return RenderBands(scene, hold, 1); }

// Waves: P3 waves, the value as amplitude, P4 the band size (at least 1 dot).
int RenderWave(cPlayScene* scene, int hold, int vertical) {
    SCREENEFFECT& e = scene->m_ScreenEffect;
    const int32_t* p = Params(scene);
    DDSURFACEDATA* work = TakePicture(0);
    if (work)
        DrawSineEffect(&g_BackBufferSD, 0, 0, kScreenW, kScreenH, (double)p[3], e.State.dValue, (double)e.State.nWord1,
                       std::max(1, p[4]), work, 0, 0, DDBLT_OPAQUE, vertical);
    if (!hold) {
        e.State.nWord1 = e.State.nWord1 >= 359 ? 0 : e.State.nWord1 + 1;
    }
    return StepValue(scene, hold);
}
int RenderWaveX(cPlayScene* scene, int hold) { return RenderWave(scene, hold, 0); }
int RenderWaveY(cPlayScene* scene, int hold) { return RenderWave(scene, hold, 1); }

// Blink: every P1 frames the picture turns into the stage's background layers and back.
int RenderBlink(cPlayScene* scene, int hold) {
    SCREENEFFECT& e = scene->m_ScreenEffect;
    if (!hold && ++e.nCounter >= Params(scene)[1]) {
        e.nCounter = 0;
        e.bFlag = !e.bFlag;
    }
    if (!e.bFlag) {
        DrawBackgroundLayer(scene, 0);
        DrawBackgroundLayer(scene, 1);
    }
    return StepTime(scene, hold);
}

int RenderRotate(cPlayScene* scene, int hold) {
    DDSURFACEDATA* work = TakePicture(1);
    if (work) {
        DDBatchBegin(0);
        DDBltRotate(&g_BackBufferSD, kScreenW / 2, kScreenH / 2, kScreenW, kScreenH, kScreenW / 2, kScreenH / 2,
                    scene->m_ScreenEffect.State.dValue, work, 0, 0, 0);
        DDBatchFlush();
    }
    return StepValue(scene, hold);
}

// Circle: the picture inside a circle of the value's radius around the hero.
int RenderCircle(cPlayScene* scene, int hold) {
    int cx, cy;
    HeroCentre(scene, cx, cy);
    int radius = std::max(0, ToInt(scene->m_ScreenEffect.State.dValue));
    DDSURFACEDATA* work = TakePicture(0);
    if (work) {
        DDBatchBegin(0);
        DDBltDisc(&g_BackBufferSD, cx, cy, FarEdge(cx, kScreenW), FarEdge(cy, kScreenH), radius,
                  std::max(1, Params(scene)[3]), work, cx, cy, DDBLT_OPAQUE);
        DDBatchFlush();
    }
    return StepValue(scene, hold);
}

// Zoom: value / 640 is the scale; shrunk about the screen's centre, grown about the hero.
int RenderZoom(cPlayScene* scene, int hold) {
    double z = scene->m_ScreenEffect.State.dValue * 0.0015625;
    DDSURFACEDATA* work = TakePicture(0);
    if (work && z > 0.0) {
        DDBatchBegin(0);
        if (z < 1.0) {
            int w = ToInt(kScreenW * z), h = ToInt(kScreenH * z);
            DDBltStretch(&g_BackBufferSD, (kScreenW - w) / 2, (kScreenH - h) / 2, w, h, work, 0, 0, kScreenW, kScreenH,
                         DDBLT_OPAQUE);
        } else {
            int cx, cy;
            HeroCentre(scene, cx, cy);
            int w = std::max(1, ToInt(kScreenW / z)), h = std::max(1, ToInt(kScreenH / z));
            int sx = std::clamp(cx - w / 2, 0, kScreenW - w), sy = std::clamp(cy - h / 2, 0, kScreenH - h);
            DDBltStretch(&g_BackBufferSD, 0, 0, kScreenW, kScreenH, work, sx, sy, w, h, DDBLT_OPAQUE);
        }
        DDBatchFlush();
    }
    return StepValue(scene, hold);
}

// Lens: a glass sphere over the hero (moved by P3, P4) that reaches the far edges.
int RenderLens(cPlayScene* scene, int hold) {
    const int32_t* p = Params(scene);
    int cx, cy;
    HeroCentre(scene, cx, cy);
    cx = (int)std::clamp<int64_t>((int64_t)cx + p[3], -100000, 100000);
    cy = (int)std::clamp<int64_t>((int64_t)cy + p[4], -100000, 100000);
    int radius = ToInt(std::max(FarEdge(cx, kScreenW), FarEdge(cy, kScreenH)) * kLensRadiusFactor);
    DDSURFACEDATA* work = ScreenEffectWork(1);
    if (work) {
        int side = g_nDDBpp == 16 ? 4 * radius : 2 * radius;
        DDFillRect(work, cx - side / 2, cy - side / 2, side, side, 0);
        work = TakePicture(1);
        DDBatchBegin(0);
        DDBltRadial(&g_BackBufferSD, cx, cy, radius, std::max(0, ToInt(scene->m_ScreenEffect.State.dValue)), work, cx,
                    cy, 0, 0);
        DDBatchFlush();
    }
    return StepValue(scene, hold);
}

// Mosaic: blocks of the value's size (1 shows the picture as it is).
int RenderMosaic(cPlayScene* scene, int hold) {
    int n = std::max(1, ToInt(scene->m_ScreenEffect.State.dValue));
    DDSURFACEDATA* work = TakePicture(0);
    if (work) {
        DDBatchBegin(0);
        DDBltMosaic(&g_BackBufferSD, 0, 0, kScreenW, kScreenH, n, work, 0, 0, 0);
        DDBatchFlush();
    }
    return StepValue(scene, hold);
}

}  // namespace

const SCREFFECTRENDERER g_ScrEffectRenderers[14] = {
    RenderNone,  RenderMove,  RenderShakeX, RenderShakeY, RenderBandsX, RenderBandsY, RenderWaveX,
    RenderWaveY, RenderBlink, RenderRotate, RenderCircle, RenderZoom,   RenderLens,   RenderMosaic,
};

void StartScreenEffectOn(cPlayScene* scene, int id, int runMode, int loop) {
    if (!scene) return;
    SCREENEFFECT& e = scene->m_ScreenEffect;
    e = SCREENEFFECT{};
    StartScreenEffect(e.State, id, runMode, loop);
    UseVirtualBackBuffer(scene);
}

void UseVirtualBackBuffer(cPlayScene* scene) {
    if (!scene || scene->m_nVirtualScreen || !g_bDDInitialized || !g_lpDDDevice) return;
    scene->m_nVirtualScreen = 1;
    DDSetVirtualBackBuffer(1);
}

void RunScreenEffect(cPlayScene* scene, int hold) {
    if (!scene || scene->m_ScreenEffect.State.nId == 0) return;
    int kind = ScrEffectDef(scene->m_ScreenEffect.State).m_nKind;
    // A kind outside the table (damaged data) ends the effect at once.
    int ended = kind >= 0 && kind < 14 ? g_ScrEffectRenderers[kind](scene, hold) : 1;
    if (ended) {
        scene->m_ScreenEffect = SCREENEFFECT{};
        ScreenColourFilterOff(scene);
    }
}

DDSURFACEDATA* ScreenEffectWork(int which) {
    DDSURFACEDATA& rec = g_ScrEffectWorkSD[which ? 1 : 0];
    if (!g_bDDInitialized) return nullptr;
    if (!rec.lpDT && !rec.lpDD && !DDCreateSurface(&rec, kScreenW, kScreenH, 0, 0, 0, 0, 0)) return nullptr;
    return &rec;
}

void ReleaseScreenEffectSurfaces() {
    for (DDSURFACEDATA& rec : g_ScrEffectWorkSD) DDReleaseSurface(&rec);
}
