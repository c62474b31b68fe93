// The sword step of cShot::Update: the sword follows its owner, placed by the current entry of
// its sword type, and ends after the last entry.
#include "play/sword.h"

#include <algorithm>

#include "core/report.h"
#include "app/scene_manager.h"
#include "play/play_scene.h"
#include "play/chara.h"
#include "play/damage.h"
#include "play/shot.h"
#include "records/database.h"
#include "records/effect_records.h"
#include "records/stage.h"

const cSwordTypeEntry* SwordEntry(int type, int frame) {
    const std::vector<cSwordTypeRec>& types = g_Database.m_vecSwordType;
    if (type < 0 || (size_t)type >= types.size()) return nullptr;
    const std::vector<cSwordTypeEntry>& entries = types[(size_t)type].m_vecEntries;
    if (frame < 0 || (size_t)frame >= entries.size()) return nullptr;
    return &entries[(size_t)frame];
}

int SwordEntryCount(int type) {
    const std::vector<cSwordTypeRec>& types = g_Database.m_vecSwordType;
    if (type < 0 || (size_t)type >= types.size()) return 0;
    return (int)std::min<size_t>(types[(size_t)type].m_vecEntries.size(), INT32_MAX);
}

namespace {

int32_t Clamp32(int64_t v) { return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

}  // namespace

int cShot::UpdateSword() {
    // 1. The owner.
    cChara* owner = FindObjectById(m_nOwnerId);
    if (!owner) return 1;
    // 2. The owner's rectangle, its facing and the current entry.
    owner->GetGraphicRect();
    m_nDir = owner->m_nDir > 0 ? 1 : 0;
    const int type = m_Settings.SwordType();
    const cSwordTypeEntry* e = SwordEntry(type, m_nFrame);
    if (!e) {
        if (SwordEntryCount(type) == 0) WriteReport("sword type %d is not in the project", type);
        return 1;
    }
    const int scale = std::max(1, (int)m_Settings.Scale());
    // 3. At the first step of an entry: the entry's cell size, base and scaled.
    if (m_nStep == 0) {
        const int32_t cw = std::clamp(e->m_nWidth, 0, 4096), ch = std::clamp(e->m_nHeight, 0, 4096);
        m_nBaseGraphWidth = m_nBaseWidth = m_anBaseHitBox[2] = cw;
        m_nBaseGraphHeight = m_nBaseHeight = m_anBaseHitBox[3] = ch;
        m_nGraphWidth = m_nWidth = m_anHitBox[2] = cw * scale;
        m_nGraphHeight = m_nHeight = m_anHitBox[3] = ch * scale;
    }
    // 4. Placement against the owner's rectangle, in stage dots.
    const double sx = g_lpPlayScene ? DotToInt(g_lpPlayScene->m_ScrollX.m_dPos) : 0;
    const double sy = g_lpPlayScene ? DotToInt(g_lpPlayScene->m_ScrollY.m_dPos) : 0;
    const int64_t left = owner->m_nRectLeft, top = owner->m_nRectTop;
    const int64_t right = owner->m_nRectRight, bottom = owner->m_nRectBottom;
    const int64_t cx = (left + right) / 2, cy = (top + bottom) / 2;
    const int64_t w = m_nWidth, h = m_nHeight;
    int64_t x = 0, y = 0;
    switch (e->m_nPlacement) {
    case 1:  // behind: the other side, facing away
        m_nDir = m_nDir ? 0 : 1;
        [[fallthrough]];
    default:
    case 0:  // in front
        x = m_nDir ? right + 1 : left - w;
        y = cy - h / 2;
        break;
    case 2:  // above
        x = cx - w / 2;
        y = top - h;
        break;
    case 3:  // below
        x = cx - w / 2;
        y = bottom + 1;
        break;
    }
    // 5. The entry's offsets, mirrored when facing right as the entry asks.
    const int64_t ox = (int64_t)e->m_nOffsetX * scale, oy = (int64_t)e->m_nOffsetY * scale;
    if (!m_nDir) {
        x += ox;
        y += oy;
    } else {
        x += e->m_bMirrorX ? -ox : ox;
        y += e->m_bMirrorY ? -oy : oy;
    }
    // 6. Clamps.
    m_dX = (double)Clamp32(x) + sx;
    m_dY = (double)Clamp32(y) + sy;
    ClampStepX();
    ClampY(2);
    // 7. The entry's time, then the next entry; after the last the sword ends.
    ++m_nStep;
    const int64_t time = (int64_t)e->m_nDuration * std::max(1, g_StageSettings.m_nSubSteps) * 6;
    if (m_nStep > time) {
        m_nStep = 0;
        ++m_nFrame;
        if (m_nFrame >= SwordEntryCount(type)) return 1;
    }
    return 0;
}
