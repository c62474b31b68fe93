#include "play/graphic_sheet.h"

#include <algorithm>
#include <cstdint>

#include "media/asset_table.h"
#include "play/block_draw.h"
#include "play/stage_bitmaps.h"
#include "records/database.h"
#include "records/effect_records.h"

namespace {
// Play asset slots of the item sheet (page 0) and the own-bitmap sheet.
constexpr int kSlotItemSheet = 40;
constexpr int kSlotOwnSheet = 4;
constexpr int kCell = 32;

bool HasPicture(const DDSURFACEDATA* s) { return s && s->nWidth > 0 && s->nHeight > 0; }

// The cell on its sheet, or cell (0, 0) of the sheet when it lies outside.
bool Cell(DDSURFACEDATA* sheet, int64_t x, int64_t y, int w, int h, GRAPHICCELL& cell) {
    if (!HasPicture(sheet)) return false;
    if (x < 0 || y < 0 || x + w > sheet->nWidth || y + h > sheet->nHeight) x = y = 0;
    cell = GRAPHICCELL{sheet, (int)x, (int)y, w, h};
    return true;
}
}  // namespace

DDSURFACEDATA* g_lpBlockSheet = &g_SurfaceData[kSlotBlockSheet];
DDSURFACEDATA* g_lpItemSheet = &g_SurfaceData[kSlotItemSheet];
DDSURFACEDATA* g_lpShotSheet = &g_SurfaceData[kSlotShotSheet];

void SelectPaletteSet(int, int) {
    g_lpBlockSheet = &g_SurfaceData[kSlotBlockSheet];
    g_lpItemSheet = &g_SurfaceData[kSlotItemSheet];
    g_lpShotSheet = &g_SurfaceData[kSlotShotSheet];
}

bool SelectGraphicSheet(int kind, int index, int frame, GRAPHICCELL& cell) {
    if (index < 0) index = 0;
    if (frame < 0) frame = 0;
    const int64_t i = index, f = frame;
    switch (kind) {
    case 0: return Cell(g_lpBlockSheet, (i / 15) * kCell, (i % 15) * kCell, kCell, kCell, cell);
    case 1:
        // One sheet per 15 items; the play assets hold the first page.
        if (i / 15 != 0) return Cell(g_lpItemSheet, 0, 0, kCell, kCell, cell);
        return Cell(g_lpItemSheet, f * kCell, (i % 15) * kCell, kCell, kCell, cell);
    case 2: return Cell(g_lpShotSheet, (i / 15) * kCell, (i % 15) * 16, 16, 16, cell);
    case 3: return Cell(&g_SurfaceData[kSlotOwnSheet], (i / 30) * 64, (i % 30) * kCell, kCell, kCell, cell);
    case 4: {
        // Dedicated character bitmap i (from 1): its drawn surface is entry 4i - 2.
        const std::vector<cBmpCharaExcRec>& recs = g_Database.m_vecBmpCharaExc;
        const int64_t at = 4 * i - 2;
        if (i < 1 || (size_t)i >= recs.size() || at >= (int64_t)g_vecStageBmp.size()) return false;
        DDSURFACEDATA* sheet = &g_vecStageBmp[(size_t)at];
        const cBmpCharaExcRec& rec = recs[(size_t)i];
        if (!rec.m_bLargeCells) return Cell(sheet, (f % 16) * kCell, (f / 16) * kCell, kCell, kCell, cell);
        const int m = std::clamp(rec.m_nCellSize, 1, kMaxCharaExcCellSize), k = std::max(16 / m, 1);
        return Cell(sheet, (f % k) * kCell * m, (f / k) * kCell * m, kCell * m, kCell * m, cell);
    }
    default: return false;
    }
}

DDSURFACEDATA* ShotSheet() { return HasPicture(g_lpShotSheet) ? g_lpShotSheet : nullptr; }

DDSURFACEDATA* SwordSheet(int swordType, int facingRight) {
    if (swordType < 1) return nullptr;
    const int64_t at = 4 * ((int64_t)swordType - 1) + (facingRight ? 2 : 0);
    if (at >= (int64_t)g_vecSwordBmp.size()) return nullptr;
    DDSURFACEDATA* s = &g_vecSwordBmp[(size_t)at];
    return HasPicture(s) ? s : nullptr;
}
