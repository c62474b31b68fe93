#include "frontend/scene_save.h"

#include <algorithm>
#include <cstdint>

#include "core/checked.h"
#include "core/helpers.h"
#include "app/pulse_colours.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/game_fonts.h"
#include "media/menu_cursor.h"
#include "media/player_input.h"
#include "media/sound.h"
#include "media/surface.h"
#include "media/text_menu.h"
#include "media/transitions.h"
#include "records/save_slot_draw.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/system_records.h"

namespace {

// The bitmap assets of the save screen: the window frame, the symbol sheet and the cursors.
enum { ASSET_WINDOW = 45, ASSET_SYMBOL = 50, ASSET_CURSOR = 49 };

// System sounds of this screen beyond confirm, cancel and refuse.
constexpr DWORD kSeSaved = 5;

constexpr int kMenuX = 264, kMenuY = 192;  // menu window and menu cursor
constexpr int kTextX = 280;                // the entries' texts
constexpr int kInfoY = 260;                // info line
constexpr int kListX = 152, kListY = 160;  // slot list
constexpr int kSaveQuestionY = 400;
constexpr int kAutoQuestionY = 224;
constexpr int kNeverSavedY = 232;
constexpr int kTitleQuestionY = 224;
constexpr int kCentreX = 320;
constexpr int kRow = 16;
constexpr int kMaxEntries = 4;
constexpr int kMaxVisibleRows = 10;
constexpr int kFrameColour = 240;
constexpr int kBlack = 16;

// The system settings' texts of this screen.
enum {
    TEXT_INFO = 4,
    TEXT_SAVE_YES = 12,     // 12, 13: the save question's answers
    TEXT_AUTO_ON = 14,      // 14, 15: the automatic-save answers
    TEXT_NEVER_SAVED = 16,
    TEXT_TITLE_YES = 17,    // 17, 18: the return-to-title answers
};

// Decimal digits of a number (the minus sign counts as one).
int CountDigits(int32_t n) {
    int64_t v = n;
    int digits = v < 0 ? 2 : 1;
    if (v < 0) v = -v;
    while (v >= 10) {
        v /= 10;
        ++digits;
    }
    return digits;
}

void FillBlack() { DDFillSurface(&g_BackBufferSD, kBlack); }

}  // namespace

cSceneSave::cSceneSave() : cMenuScene(SCENE_SAVE, 1, {ASSET_WINDOW, ASSET_SYMBOL, ASSET_CURSOR}) {
    SetStates<cSceneSave>({&cSceneSave::StateMenu, &cSceneSave::StateSaveSlot, &cSceneSave::StateAutoSave,
                           &cSceneSave::StateToWorldMap, &cSceneSave::StateToTitle});
    // The story save screen empties its request list in Init only, after its menu is built.
    m_bFadeOutResetsRequests = false;
}

void cSceneSave::Init() {
    InitCommon(false);
    // The enabled records of the save menu, in list order; with none, the save entry alone.
    m_vecEntries.clear();
    const std::vector<cSysMenuItem>& menu = g_SystemData.m_vecSaveMenu;
    for (size_t i = 0; i < menu.size() && (int)m_vecEntries.size() < kMaxEntries; ++i)
        if (menu[i].m_bShown) m_vecEntries.push_back((int)i);
    if (m_vecEntries.empty()) m_vecEntries.push_back(SAVEMENU_SAVE);
    ResetRequestList(*this);
    MoveCursorGrid(0, kMenuX, kMenuY, 0, kRow, 1, (int)m_vecEntries.size());
    m_nListTop = 0;
    m_nVisibleRows = 0;
    m_nPhase = 0;
}

void cSceneSave::DrawScreen() {
    FillBlack();
    // The menu window: as wide as the longest entry plus the cursor's column.
    int widest = 0;
    for (int n : m_vecEntries)
        widest = std::max(widest, GetCharCount(CheckedAt(g_SystemData.m_vecSaveMenu, n).m_strText.c_str()));
    int count = (int)m_vecEntries.size();
    DrawFrameBox(&g_BackBufferSD, kMenuX, kMenuY, (widest + 1) * kRow, count * kRow, &g_SurfaceData[ASSET_WINDOW], 1,
                 kFrameColour);
    for (int i = 0; i < count; ++i)
        g_Fonts[1].DrawText(&g_BackBufferSD, kTextX, kMenuY + kRow * i,
                            CheckedAt(g_SystemData.m_vecSaveMenu, m_vecEntries[(size_t)i]).m_strText.c_str());
    // The info line: the caption and the count, centred.
    int32_t total = g_SaveData.m_nBestTotal;
    if (g_SystemData.m_nWord14 != 0 && total > 0) {
        const std::string& caption = CheckedAt(g_SystemData.m_vecTexts, TEXT_INFO);
        int width = (GetCharCount(caption.c_str()) + CountDigits(total)) * kRow;
        int x = kCentreX - width / 2;
        g_Fonts[1].DrawTextBox(&g_BackBufferSD, x, kInfoY, width, kRow, "%s%d", caption.c_str(), (int)total);
    }
    UpdatePulseColours();
}

void cSceneSave::DrawCursor(int sourceX) {
    const CURSORPOS& c = *g_MenuCursor.m_pCurrent;
    DDBlt(&g_BackBufferSD, c.nPixelX, c.nPixelY, 16, 16, &g_SurfaceData[ASSET_CURSOR], sourceX, 0, 1);
}

void cSceneSave::FadeIn() {
    if (g_nDDBpp == 8) RedrawWork();
    DrawScreen();
    DDBlt(&g_BackBufferSD, kMenuX, kMenuY, 16, 16, &g_SurfaceData[ASSET_CURSOR], 64, 0, 1);
    if (DrawWaveFadeIn(g_WorkPalette, 0, 255, 0, 0, 0, (double)g_SceneManager.m_nFadeStep, g_EnginePalette, 0))
        m_nState = 1;
}

void cSceneSave::StateMenu() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    MoveCursorGrid(in.m_wKey, kMenuX, kMenuY, 0, kRow, 1, (int)m_vecEntries.size());
    PlayCursorSound(in.m_wKey, 2, 0);
    if (in.m_wButton & 1) {
        PlaySystemSe(SE_DECIDE);
        m_nState = CheckedAt(m_vecEntries, g_MenuCursor.m_pCurrent->nY) + 2;
        m_nPhase = 0;
        g_MenuCursor.Push(0);
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        m_nState = 4;
        m_nPhase = 0;
        return;
    }
    DrawScreen();
    DrawCursor(64);
}

void cSceneSave::DrawSlotList() {
    FillBlack();
    DrawSaveSlotList(&g_BackBufferSD, kListX, kListY, g_SaveSlotList, m_nListTop, m_nVisibleRows);
    UpdatePulseColours();
}

void cSceneSave::StateSaveSlot() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    if (m_nPhase == 0) {
        // The list opens on the slot the story was last saved to (the first slot for a story
        // never saved; the list's own clamp keeps the cursor and the window on the list).
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, std::max(g_SaveData.m_nStorySlot, 0), 0, 0};
        m_nPhase = 1;
        ScanStorySlots(g_SaveSlotList);
        int slots = (int)g_SaveSlotList.m_vecSlots.size();
        m_nVisibleRows = std::min(slots, kMaxVisibleRows);
        m_nListTop = g_MenuCursor.m_pCurrent->nY;
    }
    int slots = (int)g_SaveSlotList.m_vecSlots.size();
    if (m_nPhase == 1) {
        MoveCursorList(in.m_wKey, 1, &m_nListTop, kListY, kRow, kListX, m_nVisibleRows, slots, 1);
        PlayCursorSound(in.m_wKey, 3, 0);
        if (in.m_wButton & 1) {
            PlaySystemSe(SE_DECIDE);
            m_nChosenSlot = g_MenuCursor.m_pCurrent->nY;
            g_MenuCursor.Push(0);
            g_MenuCursor.m_pCurrent->nY = 1;  // on the second answer: saving is never the default
            m_nPhase = 2;
            return;
        }
        if (in.m_wButton & 2) {
            PlaySystemSe(SE_CANCEL);
            BackToMenu();
            return;
        }
        DrawSlotList();
        DrawCursor(64);
        return;
    }
    // Phase 2: the save question under the list.
    int x = MenuLeftX(kCentreX, TEXT_SAVE_YES, 2, TRUE);
    MoveCursorGrid(in.m_wKey, x, kSaveQuestionY, 0, kRow, 1, 2);
    PlayCursorSound(in.m_wKey, 2, 0);
    if (in.m_wButton & 1) {
        if (g_MenuCursor.m_pCurrent->nY == 0) {
            // The slot is the story's own before it is written, so the file records it. A write
            // that failed keeps the story's old slot and is answered with the refusal sound.
            int32_t oldSlot = g_SaveData.m_nStorySlot;
            g_SaveData.m_nStorySlot = m_nChosenSlot;
            if (SaveStory(g_SaveData, m_nChosenSlot)) {
                PlaySystemSe(kSeSaved);
            } else {
                g_SaveData.m_nStorySlot = oldSlot;
                PlaySystemSe(SE_REFUSED);
            }
        } else {
            PlaySystemSe(SE_DECIDE);
        }
        g_MenuCursor.Pop(1);
        m_nPhase = 1;
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        g_MenuCursor.Pop(1);
        m_nPhase = 1;
        return;
    }
    DrawSlotList();
    DrawTextMenu(x, kSaveQuestionY, TEXT_SAVE_YES, 2, TRUE);
    if (g_MenuCursor.m_pPrevious) {
        const CURSORPOS& slot = *g_MenuCursor.m_pPrevious;
        DDBlt(&g_BackBufferSD, slot.nPixelX, slot.nPixelY, 16, 16, &g_SurfaceData[ASSET_CURSOR], 80, 0, 1);
    }
    DrawCursor(64);
}

void cSceneSave::StateAutoSave() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    if (m_nPhase == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, AutoSaveSwitch(g_SaveData) ? 0 : 1, 0, 0};
        m_nPhase = g_SaveData.m_nStorySlot == -1 ? 2 : 1;
    }
    if (m_nPhase == 2) {
        // Never saved: automatic saving has no slot to save to.
        if (in.m_wButton & 3) {
            PlaySystemSe(in.m_wButton & 1 ? SE_DECIDE : SE_CANCEL);
            BackToMenu();
            return;
        }
        FillBlack();
        DrawTextMenu(MenuLeftX(kCentreX, TEXT_NEVER_SAVED, 1, FALSE), kNeverSavedY, TEXT_NEVER_SAVED, 1, FALSE);
        UpdatePulseColours();
        return;
    }
    int x = MenuLeftX(kCentreX, TEXT_AUTO_ON, 2, TRUE);
    MoveCursorGrid(in.m_wKey, x, kAutoQuestionY, 0, kRow, 1, 2);
    PlayCursorSound(in.m_wKey, 2, 0);
    if (in.m_wButton & 1) {
        PlaySystemSe(SE_DECIDE);
        if (g_MenuCursor.m_pCurrent->nY == 0) {
            // Switched on before the save, so the saved story keeps automatic saving on.
            AutoSaveSwitch(g_SaveData) = 1;
            SaveStory(g_SaveData, g_SaveData.m_nStorySlot);
        } else {
            AutoSaveSwitch(g_SaveData) = 0;
        }
        BackToMenu();
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        BackToMenu();
        return;
    }
    FillBlack();
    DrawTextMenu(x, kAutoQuestionY, TEXT_AUTO_ON, 2, TRUE);
    UpdatePulseColours();
    DrawCursor(64);
}

void cSceneSave::BackToMenu() {
    g_MenuCursor.Pop(1);
    m_nPhase = 0;
    m_nState = 1;
}

void cSceneSave::StateToWorldMap() {
    m_nPhase = 0;
    Leave(SCENE_WORLDMAP);
}

void cSceneSave::StateToTitle() {
    const cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    if (m_nPhase == 0) {
        *g_MenuCursor.m_pCurrent = CURSORPOS{0, 1, 0, 0};  // on the second answer: staying
        m_nPhase = 1;
    }
    int x = MenuLeftX(kCentreX, TEXT_TITLE_YES, 2, TRUE);
    MoveCursorGrid(in.m_wKey, x, kTitleQuestionY, 0, kRow, 1, 2);
    PlayCursorSound(in.m_wKey, 2, 0);
    if (in.m_wButton & 1) {
        PlaySystemSe(SE_DECIDE);
        if (g_MenuCursor.m_pCurrent->nY == 0) {
            Leave(SCENE_TITLE);
            return;
        }
        BackToMenu();
        return;
    }
    if (in.m_wButton & 2) {
        PlaySystemSe(SE_CANCEL);
        BackToMenu();
        return;
    }
    FillBlack();
    DrawTextMenu(x, kTitleQuestionY, TEXT_TITLE_YES, 2, TRUE);
    UpdatePulseColours();
    DrawCursor(64);
}
