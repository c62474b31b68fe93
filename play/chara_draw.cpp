// Character drawing: the cell of the frame to show, the renderer of the running effect, the
// mark, the death animation, the gauges' companions in play/gauge.cpp, the hero's range
// display and the view mask.
#include "play/chara_draw.h"

#include <algorithm>

#include "core/checked.h"
#include "media/anime.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/surface.h"
#include "play/anime_set_access.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/effect_progress.h"
#include "play/hero.h"
#include "play/stage_bitmaps.h"
#include "records/effect_records.h"

namespace {

constexpr int kCell = 32;
// Cell indexes beyond this lie outside every sheet.

bool HasImage(const DDSURFACEDATA* s) { return s && (s->lpDT || s->lpDD) && s->nWidth > 0 && s->nHeight > 0; }

// One range display entry: a frame (mode 1) or a filled rectangle (mode 2).
void DrawRangeEntry(DDSURFACEDATA* target, const RANGEDISPLAY& e) {
    if (e.nWidth <= 0 || e.nHeight <= 0) return;
    if (e.nMode == 2) {
        DDFillRect(target, e.nX, e.nY, e.nWidth, e.nHeight, e.nColor);
    } else if (e.nMode == 1) {
        DDFillRect(target, e.nX, e.nY, e.nWidth, 1, e.nColor);
        DDFillRect(target, e.nX, e.nY + e.nHeight - 1, e.nWidth, 1, e.nColor);
        DDFillRect(target, e.nX, e.nY, 1, e.nHeight, e.nColor);
        DDFillRect(target, e.nX + e.nWidth - 1, e.nY, 1, e.nHeight, e.nColor);
    }
}

// The cell drawn: its frame with the form offsets, then its sheet; false when none.
bool CellOf(cChara& c, int hold, CHARACELL& cell) {
    const int frame = c.UpdateAttachments(hold);
    return PrepareCharaCell(c, c.GraphicIndexFor(frame, nullptr), cell);
}

}  // namespace

int cChara::UpdateAttachments(int skipUpdate) {
    if (!skipUpdate) {
        m_Anime->Update();
        for (auto it = m_listFlowAnime.begin(); it != m_listFlowAnime.end();) {
            if (it->bPaused) {
                ++it;
                continue;
            }
            if (it->anime->Update() == ANIME_END) {
                it = m_listFlowAnime.erase(it);
                continue;
            }
            --it->nCount;
            ++it;
        }
    }
    if (m_listFlowAnime.empty()) return m_Anime->GetFrame();
    // The entry shown: among those not paused, in list order, the smallest remaining count; an
    // entry with its second count set that has run out takes over, and from then on only
    // entries that have run out and are not above it replace it.
    FLOWANIME* pick = nullptr;
    bool settled = false;
    for (FLOWANIME& a : m_listFlowAnime) {
        if (a.bPaused) continue;
        if (settled) {
            if (a.nCount <= 0 && a.nCount <= pick->nCount) pick = &a;
            continue;
        }
        if (a.nCount2 && a.nCount <= 0 && (!pick || pick->nCount <= 0)) {
            pick = &a;
            settled = true;
        } else if (a.nCount2) {
            if (!pick || a.nCount < pick->nCount) pick = &a;
        } else if (!pick) {
            pick = &a;
        }
    }
    return pick ? pick->anime->GetFrame() : m_Anime->GetFrame();
}

void cChara::RunEffectRenderer(int hold) {
    if (RenderCharaEffect(*this, nullptr, CHARACELL{}, hold, 0)) m_CharaEffect.nId = 0;
}

void cChara::Draw(DDSURFACEDATA* target, int hold) {
    if (m_byHidden) {
        RunEffectRenderer(hold);
        return;
    }
    GetGraphicRect();
    // A fixed screen place (a warp to screen coordinates) moves the rectangle there.
    if (m_abFixScreen[0]) {
        m_nRectRight += m_anFixScreen[0] - m_nRectLeft;
        m_nRectLeft = m_anFixScreen[0];
    }
    if (m_abFixScreen[1]) {
        m_nRectBottom += m_anFixScreen[1] - m_nRectTop;
        m_nRectTop = m_anFixScreen[1];
    }
    CHARACELL cell;
    if (CellOf(*this, hold, cell))
        RunCharaEffectRenderer(*this, target, cell, hold);
    else
        RunEffectRenderer(hold);
    if (charadef::MarkSwitch(m_Def) == 1 && target) {
        const int n = std::clamp(charadef::Mark(m_Def), 0, 119);
        DDSURFACEDATA* marks = &g_SurfaceData[kSlotMarkSheet];
        const int sx = kCell * (n / 15), sy = kCell * (n % 15);
        if (charadef::Scale(m_Def) >= 2)
            DDBltStretch(target, m_nRectLeft, m_nRectTop, m_nGraphWidth, m_nGraphHeight, marks, sx, sy,
                         m_nBaseGraphWidth, m_nBaseGraphHeight, DDBLT_TRANSPARENT);
        else
            DDBlt(target, m_nRectLeft, m_nRectTop, kCell, kCell, marks, sx, sy, DDBLT_TRANSPARENT);
    }
}

int cChara::DrawShadowed(DDSURFACEDATA* target, int hold) {
    GetGraphicRect();
    // A death without an effect, or with one that never ends by itself (kind 0), is over at once.
    if (m_CharaEffect.nId == 0 || CharaEffectDef(m_CharaEffect).m_nKind == 0) {
        m_CharaEffect.nId = 0;
        return hold ? 0 : 1;
    }
    CHARACELL cell;
    const int ended = CellOf(*this, hold, cell) ? RenderCharaEffect(*this, target, cell, hold, 1)
                                                : RenderCharaEffect(*this, nullptr, CHARACELL{}, hold, 0);
    if (ended) m_CharaEffect.nId = 0;
    return ended;
}

void cChara::BlitCentredView(DDSURFACEDATA* target) {
    if (m_byViewMode == 0 || !target) return;
    DDSURFACEDATA* mask = &g_ViewMaskSD;
    if (!HasImage(mask) || mask->nWidth < 640 || mask->nHeight < 480) return;
    int64_t x = (int64_t)(mask->nWidth >> 1) - (m_nGraphWidth >> 1) - m_nRectLeft;
    int64_t y = (int64_t)(mask->nHeight >> 1) - (m_nGraphHeight >> 1) - m_nRectTop;
    if (m_byViewMode == 2 || m_byViewMode == 4) x += (int64_t)GetDir() * ((m_nGraphWidth >> 1) - m_nSightRange);
    x = std::clamp<int64_t>(x, 0, mask->nWidth - 640);
    y = std::clamp<int64_t>(y, 0, mask->nHeight - 480);
    DDBlt(target, 0, 0, 640, 480, mask, (int)x, (int)y, DDBLT_TRANSPARENT);
}

void cHero::Draw(DDSURFACEDATA* target, int hold) {
    cChara::Draw(target, hold);
    if (!target) return;
    for (RANGEDISPLAY& e : m_vecRangeDisplay) {
        if (e.nMode == 0) continue;
        const HITRANGE* range = e.nAnchor == 1 ? &m_HitChara : e.nAnchor == 2 ? &m_HitThird : e.nAnchor == 3 ? &m_HitShot : nullptr;
        e.nX = (int)std::clamp<int64_t>((int64_t)m_nRectLeft + m_nGraphOffX + (range ? range->nOffX : 0), -(1 << 20), 1 << 20);
        e.nY = (int)std::clamp<int64_t>((int64_t)m_nRectTop + m_nGraphOffY + (range ? range->nOffY : 0), -(1 << 20), 1 << 20);
        DrawRangeEntry(target, e);
        if (++e.nCycle >= 32) e.nCycle = 0;
    }
}
