#include "records/save_slot_draw.h"

#include "media/game_fonts.h"
#include "media/surface.h"

void DrawSaveStamp(const cSaveSlot& slot, DDSURFACEDATA* dst, int x, int y) {
    if (!slot.m_bUsed) return;
    const SYSTEMTIME& t = slot.m_Stamp;
    g_Fonts[1].DrawTextF(dst, x, y, "%04d/%02d/%02d %02d:%02d\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

void DrawSaveSlotList(DDSURFACEDATA* dst, int x, int y, const cSaveSlotList& list, int firstSlot, int rows) {
    if (rows <= 0) return;
    cFont& font = g_Fonts[1];
    font.DrawFramedBox(dst, x, y, 320, 16 * rows);
    for (int r = 0; r < rows; ++r) {
        int top = y + 16 * r;
        if (r != rows - 1) DDFillRect(dst, x, top + 15, 320, 1, 240);
        long long slot = (long long)firstSlot + r;
        if (slot < 0 || slot >= (long long)list.m_vecSlots.size()) break;
        font.DrawTextF(dst, x + 16, top, "%d", (int)slot + 1);
        DrawSaveStamp(list.m_vecSlots[(size_t)slot], dst, x + 64, top);
    }
}
