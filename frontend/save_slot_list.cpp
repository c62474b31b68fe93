#include "frontend/save_slot_list.h"

#include "media/game_fonts.h"
#include "media/surface.h"
#include "records/story_saves.h"

namespace {

constexpr int kListWidth = 320;
constexpr int kRowHeight = 16;
constexpr int kLineColour = 240;

}  // namespace

void DrawSaveStamp(const cSaveSlot& slot, DDSURFACEDATA* dst, int x, int y) {
    if (!slot.m_bUsed) return;
    const SYSTEMTIME& t = slot.m_Stamp;
    g_Fonts[1].DrawTextF(dst, x, y, "%04d/%02d/%02d %02d:%02d\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

void DrawSaveSlotList(DDSURFACEDATA* dst, int x, int y, const cSaveSlotList& list, int first, int rows) {
    if (rows <= 0) return;
    g_Fonts[1].DrawFramedBox(dst, x, y, kListWidth, kRowHeight * rows);
    for (int r = 0; r < rows; ++r, y += kRowHeight) {
        if (r != rows - 1) DDFillRect(dst, x, y + kRowHeight - 1, kListWidth, 1, kLineColour);
        long long slot = (long long)first + r;
        if (slot < 0) continue;
        if (slot >= (long long)list.m_vecSlots.size()) break;
        g_Fonts[1].DrawTextF(dst, x + 16, y, "%d", (int)slot + 1);
        DrawSaveStamp(list.m_vecSlots[(size_t)slot], dst, x + 64, y);
    }
}
