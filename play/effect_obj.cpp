// Effect objects: placement, frame lists, drawing.
#include "play/effect_obj.h"

#include <algorithm>
#include <cmath>

#include "core/checked.h"
#include "core/helpers.h"
#include "app/scene_manager.h"
#include "media/anime.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "play/play_scene.h"
#include "play/stage_bitmaps.h"
#include "records/database.h"
#include "records/effect_records.h"

namespace {

// A double of the stage held inside the int range before it is truncated.
int ToInt(double v) {
    if (!(v == v)) return 0;
    return (int)std::clamp(v, -2147483648.0, 2147483647.0);
}

int ClampInt(int64_t v) { return (int)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

}  // namespace

const cEffectRec& EffectDef(int id) { return CheckedAt(g_Database.m_vecEffect, id); }

EffectObj::EffectObj()
    : m_nId(0), m_dX(0.0), m_dY(0.0), m_nWidth(0), m_nHeight(0), m_bStretched(0), m_bAdvanceWhileHeld(0) {}

void EffectObj::Create(int id, const EFFECTRECT& a, const EFFECTRECT& b, int8_t scale) {
    const cEffectRec& def = EffectDef(id);
    m_nId = (int16_t)id;
    m_bAdvanceWhileHeld = 0;
    int s = 1;
    if (def.m_bScaling && scale > 1) {
        s = scale;
        m_bStretched = 1;
        m_nWidth = ClampInt((int64_t)def.m_nWidth * s);
        m_nHeight = ClampInt((int64_t)def.m_nHeight * s);
    } else {
        m_bStretched = 0;
        m_nWidth = def.m_nWidth;
        m_nHeight = def.m_nHeight;
    }
    EFFECTRECT r = {0.0, 0.0, 0.0, 0.0};
    if (a.dLeft <= b.dRight && b.dLeft <= a.dRight && a.dTop <= b.dBottom && b.dTop <= a.dBottom) {
        r.dLeft = std::max(a.dLeft, b.dLeft);
        r.dTop = std::max(a.dTop, b.dTop);
        r.dRight = std::min(a.dRight, b.dRight);
        r.dBottom = std::min(a.dBottom, b.dBottom);
    }
    m_dX = (double)(ToInt(r.dRight - r.dLeft + 1.0) >> 1) + r.dLeft - (double)(m_nWidth >> 1);
    m_dY = (double)(ToInt(r.dBottom - r.dTop + 1.0) >> 1) + r.dTop - (double)(m_nHeight >> 1);
    m_dX += RandRange(-4 * s, 4 * s);
    m_dY += RandRange(-4 * s, 4 * s);
    LoadFrames(id);
}

void EffectObj::CreateAt(int id, double x, double y, int width, int height, int advanceWhileHeld) {
    const cEffectRec& def = EffectDef(id);
    m_nId = (int16_t)id;
    m_dX = x;
    m_dY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_bAdvanceWhileHeld = advanceWhileHeld;
    m_bStretched = width != def.m_nWidth ? 1 : 0;
    LoadFrames(id);
}

void EffectObj::LoadFrames(int id) {
    // One animation: the effect's frame list with its closing control entry.
    std::vector<AnimeFrame> list;
    if (id >= 0 && (size_t)id < EffectFrameTable.size()) {
        for (const AnimeFrame& f : EffectFrameTable[(size_t)id]) {
            list.push_back(f);
            if (f.nValue < 0) break;
        }
    }
    if (list.empty() || list.back().nValue >= 0) list.push_back(AnimeFrame{ANIME_END, 0, 0});
    const AnimeFrame* table[2] = {list.data(), nullptr};
    m_Anime->SetTable(table);
    m_Anime->Set(0, 1);
}

int EffectObj::Draw(int hold) {
    const cEffectRec& def = EffectDef(m_nId);
    if (def.m_vecFrames.empty()) return 1;
    int f;
    if (hold && !m_bAdvanceWhileHeld) {
        f = m_Anime->GetFrame();
    } else {
        f = m_Anime->Update();
        if (f == ANIME_END) return 1;
    }
    if (f < 0 || !g_bDDInitialized) return 0;
    DDSURFACEDATA* sheet = EffectSheet(m_nId, m_bStretched);
    if (!sheet) return 0;
    double sx = g_lpPlayScene ? g_lpPlayScene->m_ScrollX.m_dPos : 0.0;
    double sy = g_lpPlayScene ? g_lpPlayScene->m_ScrollY.m_dPos : 0.0;
    int x = ToInt(m_dX - sx), y = ToInt(m_dY - sy);
    int cellX = ClampInt((int64_t)f * def.m_nWidth);
    if (m_bStretched)
        DDBltStretch(&g_BackBufferSD, x, y, m_nWidth, m_nHeight, sheet, cellX, 0, def.m_nWidth, def.m_nHeight,
                     DDBLT_TRANSPARENT);
    else
        DDBlt(&g_BackBufferSD, x, y, def.m_nWidth, def.m_nHeight, sheet, cellX, 0, DDBLT_TRANSPARENT);
    return 0;
}

void DrawEffectList(std::list<EffectObj>& effects, int hold) {
    for (auto it = effects.begin(); it != effects.end();) {
        if (it->Draw(hold))
            it = effects.erase(it);
        else
            ++it;
    }
}

DDSURFACEDATA* EffectSheet(int id, int stretched) {
    // Record 0 has no bitmap; an effect whose bitmaps are not loaded is not drawn.
    int slot = 2 * id - 2;
    if (stretched && !g_lpDDDevice) slot += 1;
    if (id < 1 || slot < 0 || (size_t)slot >= g_vecEffectBmp.size()) return nullptr;
    DDSURFACEDATA* sheet = &g_vecEffectBmp[(size_t)slot];
    if (!sheet->lpDT && !sheet->lpDD) return nullptr;  // a record without a bitmap
    return sheet;
}
