#include "play/block_draw.h"

#include "play/appearance.h"
#include "core/checked.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "play/block_map.h"
#include "play/play_scene.h"

void DrawBlockCell(const cBlockDef& block, DDSURFACEDATA* target, int x, int y) {
    DDSURFACEDATA* sheet = &g_SurfaceData[kSlotBlockSheet];
    const int i = block.Graphic();
    int sx = (i / 15) * 32, sy = (i % 15) * 32;
    if (sx + 32 > sheet->nWidth || sy + 32 > sheet->nHeight) sx = sy = 0;
    DDBlt(target, x, y, 32, 32, sheet, sx, sy, DDBLT_TRANSPARENT);
    if (block.OverlaySwitch() == 1) {
        const int o = block.OverlayIndex();
        DDBlt(target, x, y, 32, 32, &g_SurfaceData[kSlotOverlaySheet], (o / 15) * 32, (o % 15) * 32,
              DDBLT_TRANSPARENT);
    }
}

void DrawBlockMap(cPlayScene* scene, DDSURFACEDATA* target, int pass) {
    // No map before the stage set-up has built one.
    if (g_vecBlockMap.empty()) return;
    const int px = DotToInt(scene->m_ScrollX.m_dPos), py = DotToInt(scene->m_ScrollY.m_dPos);
    const int c0 = px >> 5, r0 = py >> 5, ox = px & 31, oy = py & 31;
    const int columns = scene->m_ScrollX.m_nMapSize, rows = scene->m_ScrollY.m_nMapSize;
    const int shift = scene->m_ScrollX.m_nRowShift;
    DDBatchBegin(0);
    DDBatchAddTexture(&g_SurfaceData[kSlotBlockSheet]);
    for (int k = 0; k < 16; ++k) {
        const int r = r0 + k;
        if (r < 0 || r >= rows) continue;
        for (int j = 0; j < 21; ++j) {
            const int c = c0 + j;
            if (c < 0 || c >= columns) continue;
            const cBlockDef& cell = CheckedAt(g_vecBlockMap.Cells(), (int)(((int64_t)r << shift) + c));
            if (cell.Graphic() == 0 || cell.FrontPass() != pass || cell.m_byHidden) continue;
            if (!CheckAppearanceBlock(scene, cell)) continue;
            DrawBlockCell(cell, target, 32 * j - ox, 32 * k - oy);
        }
    }
    DDBatchFlush();
}
