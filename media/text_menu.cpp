// The text menu box.
#include "media/text_menu.h"

#include <string>

#include "core/checked.h"
#include "core/helpers.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "records/system_data.h"

void DrawTextMenu(int x, int y, int first, int count, BOOL cursorRoom) {
    if (count <= 0) return;
    std::string text;
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const std::string& s = CheckedAt(g_SystemData.m_vecTexts, first + i);
        widest = std::max(widest, GetCharCount(s.c_str()));
        if (cursorRoom) text += ' ';
        text += s;
        text += '\n';
    }
    int64_t w = (int64_t)(cursorRoom ? widest + 1 : widest) * 16, h = (int64_t)count * 16;
    // The whole text goes to the box, however long (no formatting buffer in between).
    g_Fonts[1].DrawTextFramed(&g_BackBufferSD, x, y, (int)std::min<int64_t>(w, 0x7FFFFFFF),
                              (int)std::min<int64_t>(h, 0x7FFFFFFF), text.c_str(), 0);
}
