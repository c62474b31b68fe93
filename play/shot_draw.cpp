// Drawing of shots and swords at their screen rectangles.
#include <algorithm>

#include "core/globals.h"
#include "media/anime.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "play/graphic_sheet.h"
#include "play/shot.h"
#include "play/sword.h"
#include "records/effect_records.h"

namespace {

// Shot graphics lie on the shot sheet in 16 x 16 cells, 30 to a row, two rows (the two
// animation frames) per graphic.
constexpr int kShotCell = 16;
constexpr int kShotsPerRow = 30;

void Blit(DDSURFACEDATA* sheet, int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    if (w == sw && h == sh)
        DDBlt(&g_BackBufferSD, x, y, w, h, sheet, sx, sy, DDBLT_TRANSPARENT);
    else
        DDBltStretch(&g_BackBufferSD, x, y, w, h, sheet, sx, sy, sw, sh, DDBLT_TRANSPARENT);
}

}  // namespace

void cShot::Draw(int hold) {
    if (m_Settings.Hidden()) return;
    const int frame = hold ? m_Anime->GetFrame() : m_Anime->Update();
    if (m_bIsShot) {
        DDSURFACEDATA* sheet = ShotSheet();
        if (!sheet) return;
        const int g = std::max(0, m_nKind);
        const int sx = (g % kShotsPerRow) * kShotCell;
        const int sy = ((g / kShotsPerRow) * 2 + (frame & 1)) * kShotCell;
        Blit(sheet, m_nRectLeft, m_nRectTop, m_nGraphWidth, m_nGraphHeight, sx, sy, kShotCell, kShotCell);
        return;
    }
    // A sword: its entries' cells side by side in one row of the sword type's bitmap.
    const int type = m_Settings.SwordType();
    const cSwordTypeEntry* e = SwordEntry(type, m_nFrame);
    if (!e) return;
    DDSURFACEDATA* sheet = SwordSheet(type, m_nDir > 0 ? 1 : 0);
    if (!sheet) return;
    int64_t sx = 0;
    for (int i = 0; i < m_nFrame; ++i)
        if (const cSwordTypeEntry* p = SwordEntry(type, i)) sx += std::clamp(p->m_nWidth, 0, 4096);
    if (sx > 1 << 20) return;
    Blit(sheet, m_nRectLeft, m_nRectTop, m_nGraphWidth, m_nGraphHeight, (int)sx, 0, std::clamp(e->m_nWidth, 0, 4096),
         std::clamp(e->m_nHeight, 0, 4096));
}
