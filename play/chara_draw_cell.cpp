// The cell a character is drawn from: its graphic's sheet and the source position of a cell
// index, facing the character's direction.
#include <algorithm>

#include "media/asset_table.h"
#include "media/surface.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/chara_draw.h"
#include "play/stage_bitmaps.h"
#include "records/database.h"
#include "records/effect_records.h"

namespace {

constexpr int kCell = 32;
constexpr int kFramesPerRow = 16;
constexpr int kMaxCell = 1 << 16;

bool HasImage(const DDSURFACEDATA* s) { return s && (s->lpDT || s->lpDD) && s->nWidth > 0 && s->nHeight > 0; }

}  // namespace

bool PrepareCharaCell(const cChara& c, int index, CHARACELL& out) {
    out = CHARACELL{};
    if (index < 0 || index >= kMaxCell) return false;
    const int scale = std::max(1, charadef::Scale(c.m_Def));
    const int n = charadef::GraphicNumber(c.m_Def);
    const bool mirrored = c.m_nDir > 0;  // the sheets face left
    DDSURFACEDATA* sheet = nullptr;
    int size = kCell, perRow = kFramesPerRow, sx = 0, sy = 0;
    switch (charadef::GraphicKind(c.m_Def)) {
    case CHARAGRAPH_SHEET: {
        const int page = n / kCharasPerSheet;
        if (n < 1 || page >= kCharaSheetCount) return false;
        sheet = &g_SurfaceData[kSlotCharaSheet + 2 * page + (mirrored ? 1 : 0)];
        if (index >= perRow) return false;  // one row of frames per character
        sx = index * kCell;
        sy = (n % kCharasPerSheet) * kCell;
        break;
    }
    case CHARAGRAPH_DEDICATED: {
        if (n < 1 || (size_t)n >= g_Database.m_vecBmpCharaExc.size()) return false;
        const cBmpCharaExcRec& rec = g_Database.m_vecBmpCharaExc[(size_t)n];
        const size_t slot = (size_t)(n - 1) * kStageBmpPerRecord + (mirrored ? 1 : 0);
        if (slot >= g_vecStageBmp.size()) return false;
        sheet = &g_vecStageBmp[slot];
        if (rec.m_bLargeCells) {
            const int m = std::clamp(rec.m_nCellSize, 1, 16);
            size = kCell * m;
            perRow = kFramesPerRow / m;
        }
        sx = (index % perRow) * size;
        sy = (index / perRow) * size;
        out.nCellScale = size / kCell;
        break;
    }
    default: return false;
    }
    if (!HasImage(sheet) || sx + size > sheet->nWidth || sy + size > sheet->nHeight) return false;
    out.lpSrc = sheet;
    out.nSrcX = sx;
    out.nSrcY = sy;
    out.nWidth = out.nHeight = size;
    out.nScale = scale;
    if (out.nCellScale == 0) out.nCellScale = 1;
    return true;
}

