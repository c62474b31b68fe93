// Drawing of items, of graphic references as 16 x 16 icons, and of the carried-item icon.
#include <algorithm>

#include "media/anime.h"
#include "media/blit.h"
#include "play/graphic_sheet.h"
#include "play/item.h"
#include "play/stage_chara.h"

namespace {

constexpr int kIcon = 16;
constexpr int kShotKind = 2;

}  // namespace

void cItem::Draw(DDSURFACEDATA* target, int frozen) {
    if (!target) return;
    const int frame = frozen ? m_Anime->GetFrame() : m_Anime->Update();
    GRAPHICCELL cell;
    if (!SelectGraphicSheet(m_Def.m_byGraphicKind, m_Def.m_wGraphic, std::max(0, frame), cell)) return;
    // The sheets hold every cell at scale 1: a larger item is stretched from it.
    if (m_nGraphWidth == cell.nWidth && m_nGraphHeight == cell.nHeight)
        DDBlt(target, m_nRectLeft, m_nRectTop, cell.nWidth, cell.nHeight, cell.lpSheet, cell.nX, cell.nY,
              DDBLT_TRANSPARENT);
    else
        DDBltStretch(target, m_nRectLeft, m_nRectTop, m_nGraphWidth, m_nGraphHeight, cell.lpSheet, cell.nX, cell.nY,
                     cell.nWidth, cell.nHeight, DDBLT_TRANSPARENT);
}

void DrawGraphicRef(DDSURFACEDATA* target, int x, int y, int kind, int index, int frame) {
    GRAPHICCELL cell;
    if (!target || !SelectGraphicSheet(kind, index, frame, cell)) return;
    if (kind == kShotKind)
        DDBlt(target, x, y, kIcon, kIcon, cell.lpSheet, cell.nX, cell.nY, DDBLT_TRANSPARENT);
    else
        DDBltStretch(target, x, y, kIcon, kIcon, cell.lpSheet, cell.nX, cell.nY, cell.nWidth, cell.nHeight,
                     DDBLT_TRANSPARENT);
}

void cStageChara::DrawCarriedItem(DDSURFACEDATA* target) {
    // Only while the character is active: always, or acting this frame (the in-range word of the
    // appearance pass stands for the always-active word, which the pass sets for the hero only).
    if (!m_Item.m_bGiven || !(m_bAlwaysActive || m_bInRange) || !target) return;
    // Counts 64 to 95 show the icon: 32 calls of every 96.
    if (++m_nItemBlink >= 96 || m_nItemBlink < 0) {
        m_nItemBlink = 0;
        return;
    }
    if (m_nItemBlink < 64) return;
    const int x = m_nRectLeft + (m_nGraphWidth >> 1) - (m_Item.m_nGraphWidth >> 2);
    const int y = m_nRectTop - (m_Item.m_nGraphHeight >> 1);
    DrawGraphicRef(target, x, y, m_Item.m_Def.m_byGraphicKind, m_Item.m_Def.m_wGraphic, 0);
}
