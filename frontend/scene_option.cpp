#include "frontend/scene_option.h"

#include <cstdio>

#include "core/checked.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/requests.h"
#include "app/pulse_colours.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "media/asset_table.h"
#include "media/bgm.h"
#include "media/music_request.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "media/surface.h"
#include "records/data_paths.h"
#include "records/option_data.h"
#include "records/system_data.h"

namespace {

// The bitmap assets of the options: the cursors and the window frame.
enum { ASSET_CURSOR = 49, ASSET_WINDOW = 45 };

constexpr int kRowX = 64, kValueX = 208;  // row labels and values
constexpr int kRowsY = 96, kRowStep = 16;  // the first row and the row pitch
constexpr int kCursorX = 48;               // the row cursor's column
constexpr int kValueCursorX = 192;         // the value cursor's column
constexpr int kHeadingY = 32;
constexpr int kMaxRows = 6;
constexpr int kSmallFont = 1;  // 16-dot cells
constexpr int kLargeFont = 2;  // 32-dot cells

// The option field and range a row kind edits (kinds 0-3); null for the others.
uint32_t* EditedField(int kind, int* min, int* max) {
    switch (kind) {
    case OPTION_PALETTE:
        *min = 0, *max = (int)kMaxPaletteNo;
        return &g_OptionData.m_nPaletteNo;
    case OPTION_MUSIC:
        *min = 0, *max = 1;
        return &g_OptionData.m_bMusic;
    case OPTION_VOLUME:
        *min = 0, *max = (int)kMaxVolumeStep;
        return &g_OptionData.m_nVolume;
    case OPTION_RANKINGMODE:
        *min = 0, *max = (int)kMaxRankingMode;
        return &g_OptionData.m_nRankingMode;
    default:
        return nullptr;
    }
}

}  // namespace

void FormatOptionValue(int kind, char* out, size_t size) {
    if (!out || size == 0) return;
    out[0] = '\0';
    const cOptionData& o = g_OptionData;
    switch (kind) {
    case OPTION_PALETTE:
        std::snprintf(out, size, "%d", (int)o.m_nPaletteNo);
        break;
    case OPTION_MUSIC:
        std::snprintf(out, size, "%s", o.m_bMusic ? "ON" : "OFF");
        break;
    case OPTION_VOLUME:
        std::snprintf(out, size, "%d", (int)o.m_nVolume);
        break;
    case OPTION_RANKINGMODE: {
        // The mode's name; a mode the project names no text for shows nothing.
        const std::vector<std::string>& names = g_SystemData.m_vecRankingModeTexts;
        if (o.m_nRankingMode < names.size()) std::snprintf(out, size, "%s", names[o.m_nRankingMode].c_str());
        break;
    }
    case OPTION_RANKINGNAME:
        std::snprintf(out, size, "%s", o.m_strRankingName.c_str());
        break;
    default:
        break;
    }
}

void ApplySoundVolume(uint32_t step) {
    LONG volume = GetVolumeFromStep(step);
    for (cSound& entry : g_vecSound)
        for (int i = 0; i < entry.m_nCount; ++i) cSound::SetVolume(entry, i, volume, 0);
}

void PlayTitleBgm() {
    // The player belongs to the window thread (it also stops it on WM_CLOSE): the switch is served
    // there, and the title asks for its tune again when the player was started or released.
    if (SendMessageA(g_hMainWnd.load(), WM_REQ_MUSIC, MUSIC_REQ_SWITCH, g_OptionData.m_bMusic ? 1 : 0))
        g_SceneManager.m_nTuneNo = 0;
}

cSceneOption::cSceneOption() : cMenuScene(SCENE_OPTION, 3, {ASSET_CURSOR, ASSET_WINDOW}) {
    SetStates<cSceneOption>({&cSceneOption::StateOptions});
}

void cSceneOption::Init() {
    InitCommon();
    // The enabled records of the option-row list, in list order; with none, the row of kind 0.
    m_vecRows.clear();
    const std::vector<cSysMenuItem>& rows = g_SystemData.m_vecOptionMenu;
    for (size_t i = 0; i < rows.size() && (int)m_vecRows.size() < kMaxRows; ++i)
        if (rows[i].m_bShown) m_vecRows.push_back((int)i);
    if (m_vecRows.empty()) m_vecRows.push_back(0);
    m_nSelKind = -1;
    m_lpEdit = nullptr;

    // The work surface: the whole option screen, copied to the back buffer every frame.
    ReleaseSceneSurfaces();
    if (!DDAddBlankSurface(g_vecSceneSurface, g_vecSceneSurfaceDesc, 640, 480, 1, 0, 0, 0)) {
        // No screen to show: the scene runs on until the program ends.
        ReleaseSceneSurfaces();
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
    }
    DrawWork();
    m_nPhase = 0;
}

void cSceneOption::Draw(DDSURFACEDATA* dst) {
    g_Fonts[kSmallFont].DrawFramedBox(dst, 1, 1, 638, 478);
    // The heading: the title menu's options entry (its first entry in a shorter list).
    const std::vector<cSysMenuItem>& title = g_SystemData.m_vecTitleMenu;
    if (!title.empty()) {
        const char* heading = (title.size() >= 6 ? title[5] : title[0]).m_strText.c_str();
        g_Fonts[kLargeFont].DrawText(dst, 320 - GetCharCount(heading) * 32 / 2, kHeadingY, heading);
    }
    char value[1024];
    for (size_t i = 0; i < m_vecRows.size(); ++i) {
        int y = kRowsY + kRowStep * (int)i;
        g_Fonts[kSmallFont].DrawText(dst, kRowX, y, CheckedAt(g_SystemData.m_vecOptionMenu, m_vecRows[i]).m_strText.c_str());
        FormatOptionValue(m_vecRows[i], value, sizeof value);
        g_Fonts[kSmallFont].DrawText(dst, kValueX, y, value);
    }
}

void cSceneOption::DrawWork() {
    if (g_vecSceneSurface.empty()) return;
    Draw(&g_vecSceneSurface[0]);
    g_vecSceneSurface[0].bLost = 0;
}

void cSceneOption::DrawScreen() {
    if (!g_vecSceneSurface.empty()) {
        DDSURFACEDATA* work = &g_vecSceneSurface[0];
        if (work->bLost) DrawWork();
        DDBlt(&g_BackBufferSD, 0, 0, 640, 480, work, 0, 0, 0);
    }
    UpdatePulseColours();
}

void cSceneOption::StateOptions() {
    switch (m_nPhase) {
    case 0:
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, 0, 0, 0};
        m_nPhase = 1;
        break;
    case 1:
        ChooseRow();
        break;
    default:
        ChangeValue();
        break;
    }
}

void cSceneOption::ChooseRow() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    MoveCursorGrid(in.m_wKey, kCursorX, kRowsY, 0, kRowStep, 1, (int)m_vecRows.size());
    PlayCursorSound(in.m_wKey, 2, 0);
    if (in.m_wButton & 1) {
        PlaySystemSe(SE_DECIDE);
        m_nSelKind = CheckedAt(m_vecRows, g_MenuCursor.m_pCurrent->nY);
        switch (m_nSelKind) {
        case OPTION_PALETTE:
        case OPTION_MUSIC:
        case OPTION_VOLUME:
        case OPTION_RANKINGMODE:
            m_lpEdit = EditedField(m_nSelKind, &m_nEditMin, &m_nEditMax);
            m_nSavedValue = (int)*m_lpEdit;
            g_MenuCursor.Push(0);
            m_nPhase = 2;
            break;
        case OPTION_RANKINGNAME:
            // The name-entry dialog on the window thread edits the stored name; this thread
            // waits for it to close.
            g_bNameEntryDone = 0;
            SendMessageA(g_hMainWnd.load(), WM_REQ_NAMEENTRY, 0, 0);
            WaitRequestDone(g_bNameEntryDone);
            DrawWork();
            break;
        case OPTION_BACK:
            m_nPhase = 0;
            Leave(SCENE_TITLE);
            break;
        default:
            break;
        }
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        m_nPhase = 0;
        Leave(SCENE_TITLE);
        return;
    }
    DrawScreen();
    const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    DDBlt(&g_BackBufferSD, c.nPixelX, c.nPixelY, 16, 16, &g_SurfaceData[ASSET_CURSOR], 64, 0, 1);
}

void cSceneOption::StepValue(int delta) {
    // 64-bit, so that a value out of its range (a damaged option file) wraps like any other.
    long long v = (long long)*m_lpEdit + delta;
    if (v > m_nEditMax) v = m_nEditMin;
    if (v < m_nEditMin) v = m_nEditMax;
    *m_lpEdit = (uint32_t)v;
    ApplyEdited();
    DrawWork();
}

void cSceneOption::ApplyEdited() {
    if (m_nSelKind == OPTION_PALETTE) LoadPaletteTables((int)*m_lpEdit);
    else if (m_nSelKind == OPTION_VOLUME) ApplySoundVolume(*m_lpEdit);
}

void cSceneOption::ChangeValue() {
    if (!m_lpEdit) {  // nothing is being edited: back to the rows
        g_MenuCursor.Pop(1);
        m_nPhase = 1;
        return;
    }
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    if (in.m_wKey & 4) StepValue(1);
    if (in.m_wKey & 8) StepValue(-1);
    PlayCursorSound(in.m_wKey, 2, 0);
    if (in.m_wButton & 1) {
        PlaySystemSe(SE_DECIDE);
        g_MenuCursor.Pop(1);
        m_nPhase = 1;
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        *m_lpEdit = (uint32_t)m_nSavedValue;
        ApplyEdited();
        g_MenuCursor.Pop(1);
        m_nPhase = 1;
        DrawWork();
        return;
    }
    DrawScreen();
    const CURSORPOS& row = g_MenuCursor.m_pPrevious ? *g_MenuCursor.m_pPrevious : *g_MenuCursor.m_pCurrent;
    DDBlt(&g_BackBufferSD, row.nPixelX, row.nPixelY, 16, 16, &g_SurfaceData[ASSET_CURSOR], 80, 0, 1);
    DDBlt(&g_BackBufferSD, kValueCursorX, row.nPixelY, 16, 16, &g_SurfaceData[ASSET_CURSOR], 64, 0, 1);
}

void cSceneOption::OnLeave() {
    PlayTitleBgm();
    // A failed save is written to the report by the record writer; the options stay in memory.
    g_OptionData.SaveFile(g_PathTable[PATH_OPTION]);
}
