// The ranking board and the result board.
#include "frontend/ranking_board.h"

#include <algorithm>
#include <string>

#include "core/checked.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "app/scene_manager.h"
#include "frontend/ranking_format.h"
#include "media/blit.h"
#include "media/game_fonts.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "records/system_records.h"

namespace {

constexpr int kSmallFont = 1;           // 16-dot cells
constexpr int kRow = 16;
constexpr int kPlaceImage = 49;         // the cursor sheet: the place mark at (16, 48)
constexpr int kKindNameText = 5;        // text-list entries 5-9 name result kinds 0-4
constexpr int kHintText = 24;
constexpr int kTimeWidth = 8;           // "mm:ss.hh"

cFont& SmallFont() { return g_Fonts[kSmallFont]; }

const char* KindName(int kind) { return CheckedAt(g_SystemData.m_vecTexts, kKindNameText + kind).c_str(); }

// Text drawn with the small font's icon letters off when the project's font switch is on (names
// are the player's own letters, not icon codes).
void DrawPlainText(DDSURFACEDATA* surface, int x, int y, const char* text) {
    cFont& font = SmallFont();
    if (!g_SystemData.m_bFontFlag) {
        font.DrawText(surface, x, y, text);
        return;
    }
    const DWORD icons = font.m_bIcon;
    font.m_bIcon = 0;
    font.DrawText(surface, x, y, text);
    font.m_bIcon = icons;
}

void DrawPlaceMark(DDSURFACEDATA* surface, int x, int y) {
    DDBlt(surface, x, y, 16, 16, &g_SurfaceData[kPlaceImage], 16, 48, 1);
}

// Whether the current game mode ranks result kind k.
bool ModeRanksKind(int kind) {
    const cSysRankingRule& rule = CheckedAt(g_SystemData.m_vecRankingRules, g_SceneManager.m_nGameMode);
    return (size_t)kind < rule.m_vecTables.size() && rule.m_vecTables[(size_t)kind] != 0;
}

}  // namespace

void cRankingTable::Draw(DDSURFACEDATA* surface, int x, int y, int kind, int highlight) const {
    if (kind < 0 || kind >= kRankingKinds) return;
    cFont& font = SmallFont();
    font.DrawFramedBox(surface, x + 1, y + 1, kRankingBoardWidth, kRankingBoardHeight);
    if (g_SystemIni.nEnglish) {
        std::string title;
        FormatString(title, "Ranking     %s", KindName(kind));
        DrawPlainText(surface, x, y, title.c_str());
    } else {
        font.DrawTextF(surface, x, y, "ランキング    %s", KindName(kind));
    }

    const int32_t first = m_vecEntries.empty() ? 0 : m_vecEntries[0].m_nValue;
    const int width = kind == kRankingTimeKind ? kTimeWidth : CountDigits(first);
    const size_t places = std::min(m_vecEntries.size(), (size_t)kRankingPlaces);
    for (size_t i = 0; i < places; ++i) {
        const cRankingEntry& e = m_vecEntries[i];
        if (!e.m_bUsed) continue;
        const int row = y + kRow * ((int)i + 1);
        font.DrawTextF(surface, x + 16, row, "%d", (int)i + 1);
        DrawPlainText(surface, x + 64, row, e.m_strName.c_str());
        if (kind == kRankingTimeKind) {
            std::string time;
            FormatRankingTime(time, e.m_nValue);
            font.DrawText(surface, x + 144, row, time.c_str());
        } else {
            // Right-aligned on the column of the first place's digits.
            font.DrawTextF(surface, x + (width + 9 - CountDigits(e.m_nValue)) * kRow, row, "%d", e.m_nValue);
        }
    }

    if (CountListFlags(g_SceneManager.m_nGameMode) > 1) {
        const char* hint = CheckedAt(g_SystemData.m_vecTexts, kHintText).c_str();
        font.DrawText(surface, x + 136 - GetCharCount(hint) * kRow / 2, y + kRow * (kRankingPlaces + 1), hint);
    }
    if (highlight >= 0 && highlight < kRankingPlaces) DrawPlaceMark(surface, x, y + kRow * (highlight + 1));
}

void cRankingHolder::DrawTable(DDSURFACEDATA* surface, int x, int y, int kind, int highlight) const {
    if (kind < 0 || (size_t)kind >= m_vecTables.size()) return;
    m_vecTables[(size_t)kind].Draw(surface, x, y, kind, highlight);
}

void DrawResultBoard(DDSURFACEDATA* surface, int x, int y, const int32_t places[kRankingKinds],
                     const int32_t values[kRankingKinds], const int32_t switches[kRankingKinds]) {
    bool shown[kRankingKinds];
    int count = 0, labelWidth = 1, valueWidth = 1;
    for (int k = 0; k < kRankingKinds; ++k) {
        shown[k] = switches[k] != 0 && (g_bStageFileStart || ModeRanksKind(k));
        if (!shown[k]) continue;
        ++count;
        labelWidth = std::max(labelWidth, GetCharCount(KindName(k)));
        valueWidth = std::max(valueWidth, k == kRankingTimeKind ? kTimeWidth : CountDigits(values[k]));
    }
    if (count == 0) return;

    cFont& font = SmallFont();
    font.DrawFramedBox(surface, x, y, (labelWidth + valueWidth + 3) * kRow, count * kRow);
    int row = y;
    for (int k = 0; k < kRankingKinds; ++k) {
        if (!shown[k]) continue;
        font.DrawText(surface, x + 16, row, KindName(k));
        if (k == kRankingTimeKind) {
            std::string time;
            FormatRankingTime(time, values[k]);
            font.DrawText(surface, x + (labelWidth + 2) * kRow, row, time.c_str());
        } else {
            font.DrawTextF(surface, x + (labelWidth + 2) * kRow, row, "%d", values[k]);
        }
        row += kRow;
    }
    int mark = y;
    for (int k = 0; k < kRankingKinds; ++k) {
        if (places[k] == -1) continue;
        DrawPlaceMark(surface, x, mark);
        mark += kRow;
    }
}
