// Scene 2, the story save screen reached from the world map: save the story into a slot,
// switch automatic saving on or off, go back to the world map, or give up and return to the
// title.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/menu_scene.h"
#include "records/save_data.h"

// The save-menu numbers: an entry's number is the index of its record in the system settings'
// save-menu list; an entry of number m leads to state m + 2.
enum {
    SAVEMENU_SAVE = 0,
    SAVEMENU_AUTOSAVE = 1,
    SAVEMENU_BACK = 2,
    SAVEMENU_TITLE = 3,
};

class cSceneSave : public cMenuScene {
public:
    cSceneSave();

    void Init() override;

    // States 1-5 of the table (0 fade-in, 1 menu, 2 save to a slot, 3 automatic save, 4 back to
    // the world map, 5 back to the title, 6 fade-out).
    void StateMenu();
    void StateSaveSlot();
    void StateAutoSave();
    void StateToWorldMap();
    void StateToTitle();

    // What Init built and the slot list's window, for the tests.
    const std::vector<int>& Entries() const { return m_vecEntries; }
    int ListTop() const { return m_nListTop; }
    int VisibleRows() const { return m_nVisibleRows; }

protected:
    // The menu screen: the menu window and the info line on black.
    void DrawScreen() override;
    // The fade-in draws the menu cursor on its first entry as well.
    void FadeIn() override;
    // The scene starts over when it is run again after its hand-over.
    void OnLeave() override { m_nState = -1; }

private:
    // The slot list on black with the slot cursor (16 x 16 image at (64, 0) of the cursor sheet).
    // The question or slot list closed: its cursor level goes and the menu runs again.
    void BackToMenu();
    void DrawSlotList();
    // The 16 x 16 menu cursor at the current cursor record.
    void DrawCursor(int sourceX);

    std::vector<int> m_vecEntries;  // menu numbers in screen order (1-4)
    int m_nListTop = 0;             // first visible row of the slot list
    int m_nVisibleRows = 0;         // rows of the slot list shown (at most 10)
    int m_nChosenSlot = 0;          // the slot the save question is about
};
