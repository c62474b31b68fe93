#include "flow/range_display.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "core/globals.h"
#include "core/report.h"
#include "flow/cond_words.h"
#include "flow/flow.h"
#include "flow/flow_conditions.h"
#include "flow/flow_words.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/primitives.h"
#include "media/surface.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"

namespace {

constexpr int kScreenW = 640, kScreenH = 480;
// Circles larger than this radius are drawn small on a work surface and stretched (DirectDraw).
constexpr int kWorkRadius = 64;
constexpr int kWorkSize = 2 * kWorkRadius + 1;

DDSURFACEDATA g_RangeWorkSD = {};
int g_nRangeBlink = 0;

bool BlinkStopped() { return g_nDDBpp == 8 && flowwords::RangeBlinkStop8(); }

DDSURFACEDATA* RangeWork() {
    DDSURFACEDATA& rec = g_RangeWorkSD;
    if (!rec.lpDT && !rec.lpDD && !DDCreateSurface(&rec, kWorkSize, kWorkSize, 1, 0, 0, 0, 0)) return nullptr;
    return &rec;
}

// A stage character's in-view word; a hero's on-screen word.
bool InView(const cChara& c) { return IsHeroChara(c) ? c.m_bOnScreen != 0 : c.m_nInput != 0; }

void DrawConds(cChara& c, DDSURFACEDATA* surface, std::span<const cFlowCond> conds, int blink) {
    for (const cFlowCond& cond : conds)
        if (cond.m_cKind == 7) DrawCharaRange(c, surface, cond, blink);
}

}  // namespace

int DrawCharaRange(cChara& chara, DDSURFACEDATA* surface, const cFlowCond& cond, int blink) {
    if (!surface) return 0;
    const int display = condword::RangeDisplay(cond);
    if (display == 0 || (display == 2 && !g_bEditor)) return 0;
    if (!condword::RangeShowBeforeAppear(cond) && !chara.m_bAppeared) return 0;
    if (!condword::RangeShowWhileHidden(cond) && (chara.m_bDead || chara.m_byHidden)) return 0;
    const int colourIndex = condword::RangeColour(cond);
    if (colourIndex > 7) {
        static int s_nReported = -1;
        if (s_nReported != colourIndex) {
            s_nReported = colourIndex;
            WriteReport("range display colour %d out of range: not drawn", colourIndex);
        }
        return 0;
    }
    const int colour = 208 + colourIndex * 4 + (BlinkStopped() ? 0 : ((blink & 31) >> 3));
    // The reach in dots, held to what can be drawn (a range past the screen draws off it).
    const int32_t r = std::clamp<int32_t>(RangeOfCondition(cond), -0x3FFFFFFF, 0x3FFFFFFF);
    const int shape = cond.m_byShape;
    if (shape == 6) {
        if (r < 0) return 0;
        const int cx = (chara.m_nRectLeft + chara.m_nRectRight + 1) >> 1;
        const int cy = (chara.m_nRectTop + chara.m_nRectBottom + 1) >> 1;
        const int radius = (int)std::min<int32_t>(r, 0x7FFF);
        if (radius > kWorkRadius && !g_bDDUseD3D) {
            DDSURFACEDATA* work = RangeWork();
            if (!work) return 0;
            DDFillSurface(work, 0);  // the transparent colour
            DDDrawCircle(work, kWorkRadius, kWorkRadius, kWorkRadius, colour);
            DDBltStretch(surface, cx - radius, cy - radius, 2 * radius, 2 * radius, work, 0, 0, kWorkSize,
                         kWorkSize, DDBLT_TRANSPARENT);
        } else {
            DDDrawCircle(surface, cx, cy, radius, colour);
        }
        return 1;
    }
    if (shape > 5) return 0;
    const bool vertical = shape >= 3;
    int64_t low = 0, high = 0;
    RangeSpan(shape, chara.m_nDir > 0, r, vertical ? chara.m_nRectTop : chara.m_nRectLeft,
              vertical ? chara.m_nGraphHeight : chara.m_nGraphWidth, low, high);
    for (const int64_t edge : {low, high}) {
        if (edge < INT32_MIN / 2 || edge > INT32_MAX / 2) continue;  // far off the screen
        if (vertical)
            DDFillRect(surface, 0, (int)edge, kScreenW, 1, colour);
        else
            DDFillRect(surface, (int)edge, 0, 1, kScreenH, colour);
    }
    return 1;
}

void DrawCharaRanges(cPlayScene*, DDSURFACEDATA* surface) {
    const int blink = g_nRangeBlink;
    if (!BlinkStopped()) g_nRangeBlink = (g_nRangeBlink + 1) & 31;
    if (!surface) return;
    // The appearance conditions of the stage characters in view.
    DDBatchBegin(0);
    for (cStageChara& c : g_listStageChara) {
        if (!InView(c)) continue;
        if (charadef::AppearOnceHeld(c.m_Def) && c.m_bAppeared) continue;
        DrawConds(c, surface, c.m_Def.m_vecConds, blink);
    }
    DDBatchFlush();
    // The conditions of the flows of every character in view.
    DDBatchBegin(0);
    auto flows = [&](cChara& c) {
        if (!InView(c)) return;
        for (const cFlow& f : c.m_Def.m_vecFlows) {
            if (f.m_byOnceHeld && c.m_bAppeared) continue;
            DrawConds(c, surface, f.m_vecConds, blink);
        }
    };
    for (cHero& h : g_vecHero) flows(h);
    for (cStageChara& c : g_listStageChara) flows(c);
    DDBatchFlush();
}

void ResetRangeBlink() { g_nRangeBlink = 0; }

void ReleaseRangeDisplaySurface() { DDReleaseSurface(&g_RangeWorkSD); }
