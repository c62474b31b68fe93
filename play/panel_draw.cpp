#include "play/panel_draw.h"

#include <algorithm>
#include <cstdint>

#include "core/checked.h"
#include "core/helpers.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/game_fonts.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/system_data.h"
#include "records/system_records.h"

namespace {

enum { ITEM_TOTAL = 0, ITEM_STAGE = 1, ITEM_HP = 2, ITEM_SP = 3, ITEM_LIVES = 4, ITEM_COUNT = 5 };
constexpr int kGaugeWidth = 50;
constexpr int kTextY = 3;
constexpr int kSmallTextY = 6;
// Digit widths from the project are held to what fits on the screen.
constexpr uint32_t kMaxDigits = 40;

const cSysStatusItem* Item(int i) {
    const std::vector<cSysStatusItem>& items = g_SystemData.m_vecStatusItems;
    if ((size_t)i >= items.size() || !items[(size_t)i].m_bShown) return nullptr;
    return &items[(size_t)i];
}

int ItemWidth(int i, const cSysStatusItem& item) {
    const int base = item.m_bIcon ? 16 : 16 * GetCharCount(item.m_strName.c_str());
    if (i == ITEM_HP || i == ITEM_SP) return base + kGaugeWidth;
    return base + 16 * (int)std::min(item.m_nDigits, kMaxDigits);
}

void DrawIcon(DDSURFACEDATA* t, int x, int i) {
    DDBlt(t, x, kTextY, 16, 16, &g_SurfaceData[kSlotIconSheet], 16 * i, 32, DDBLT_TRANSPARENT);
}

void DrawGauge(DDSURFACEDATA* t, int x, int i, const cSysStatusItem& item, int32_t value, int32_t maximum) {
    DDSURFACEDATA* sheet = &g_SurfaceData[kSlotIconSheet];
    const int column = i == ITEM_HP ? 0 : 64;
    DDBlt(t, x, kTextY, kGaugeWidth, 16, sheet, column, 128, DDBLT_TRANSPARENT);
    // A value outside 0 .. maximum fills the gauge no further than its ends.
    int64_t fill = maximum > 0 ? (int64_t)value * kGaugeWidth / maximum : 0;
    fill = std::clamp<int64_t>(fill, 0, kGaugeWidth);
    const int row = IsWithinSystemLimit(i, value, maximum) ? 160 : 144;
    if (fill > 0) DDBlt(t, x, kTextY, (int)fill, 16, sheet, column, row, DDBLT_TRANSPARENT);
    if (item.m_bShowValue) g_Fonts[0].DrawTextF(t, x, kSmallTextY, "%d", value);
}

}  // namespace

void DrawStatusPanel(cPlayScene* scene, DDSURFACEDATA* target) {
    if (!scene || scene->m_nStatusPanel == 0) return;
    int shown = 0, total = 0;
    for (int i = 0; i < ITEM_COUNT; ++i)
        if (const cSysStatusItem* item = Item(i)) {
            ++shown;
            total += ItemWidth(i, *item);
        }
    if (shown == 0) return;
    const int s = (638 - total) / (shown + 1);
    DDBlt(target, 0, 0, 640, 20, &g_SurfaceData[kSlotStatusPanel], 0, 0, DDBLT_TRANSPARENT);
    cFont& font = g_Fonts[1];
    const cHero* hero = g_vecHero.empty() ? nullptr : &g_vecHero.front();
    int x = s;
    for (int i = 0; i < ITEM_COUNT; ++i) {
        const cSysStatusItem* item = Item(i);
        if (!item) continue;
        const char* label = item->m_strName.c_str();
        switch (i) {
        case ITEM_TOTAL:
        case ITEM_STAGE: {
            const int32_t value = i == ITEM_TOTAL ? g_SaveData.m_nScore : g_SaveData.m_nStageScore;
            if (item->m_bIcon) {
                DrawIcon(target, x, i);
                font.DrawTextF(target, x + 16, kTextY, "%d", value);
            } else {
                font.DrawTextF(target, x, kTextY, "%s%d", label, value);
            }
            break;
        }
        case ITEM_HP:
        case ITEM_SP: {
            int base = 16;
            if (item->m_bIcon) {
                DrawIcon(target, x, i);
            } else {
                font.DrawTextF(target, x, kTextY, "%s", label);
                base = 16 * GetCharCount(label);
            }
            const int32_t value = hero ? (i == ITEM_HP ? hero->m_nHP : hero->m_nSP) : 0;
            const int32_t maximum = hero ? (i == ITEM_HP ? charadef::MaxHP(hero->m_Def) : charadef::MaxSP(hero->m_Def)) : 0;
            DrawGauge(target, x + base, i, *item, value, maximum);
            break;
        }
        default: {
            const int32_t lives = g_SaveData.m_nLives;
            const bool unlimited = lives == kUnlimitedLives;
            if (item->m_bIcon) {
                DrawIcon(target, x, i);
                if (unlimited)
                    font.DrawText(target, x + 16, kTextY, "-");
                else
                    font.DrawTextF(target, x + 16, kTextY, "%d", lives);
            } else if (unlimited) {
                font.DrawTextF(target, x, kTextY, "%s-", label);
            } else {
                font.DrawTextF(target, x, kTextY, "%s%d", label, lives);
            }
            break;
        }
        }
        x += ItemWidth(i, *item) + s;
    }
}

void DrawLivesIconAt(DDSURFACEDATA* target, const cChara& chara) {
    if (!target) return;
    const int x = chara.m_nRectLeft + (chara.m_nGraphWidth >> 1) - 8;
    const int y = chara.m_nRectTop - 16;
    DDBlt(target, x, y, 16, 16, &g_SurfaceData[kSlotIconSheet], 16 * ITEM_LIVES, 32, DDBLT_TRANSPARENT);
}
