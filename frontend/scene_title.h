// Scene 0, the title menu: the title picture and the main menu with the project's enabled
// entries, from which every way of playing starts (a new story, a story continued from a save
// slot, the challenge, a stage file, a replay), the options and the end of the program.
#pragma once

#include <vector>

#include "frontend/menu_scene.h"

// The title-menu numbers: an entry's number is the index of its record in the system settings'
// title-menu list, and decides what the entry does.
enum {
    TITLE_NEWSTORY = 0,
    TITLE_CONTINUE = 1,
    TITLE_CHALLENGE = 2,
    TITLE_STAGEFILE = 3,
    TITLE_REPLAY = 4,
    TITLE_OPTION = 5,
    TITLE_END = 6,
};

class cSceneTitle : public cMenuScene {
public:
    cSceneTitle();

    void Init() override;

    // States 1 and 2 of the table (fade-in, main menu, continue list, fade-out).
    void StateMainMenu();
    void StateContinue();

    // What Init built, for the continue list and the tests.
    const std::vector<int>& Entries() const { return m_vecEntries; }
    int MenuX() const { return m_nMenuX; }
    int MenuY() const { return m_nMenuY; }
    int ListTop() const { return m_nListTop; }
    int VisibleRows() const { return m_nVisibleRows; }

protected:
    void DrawScreen() override;
    void RedrawWork() override { DrawMenuWindow(); }

private:
    // The menu window on the first scene work surface: framed texts or the entries' pictures.
    void DrawMenuWindow();
    // Carries out the chosen entry.
    void Choose(int menu);

    std::vector<int> m_vecEntries;  // menu numbers in screen order (1-7)
    int m_nMenuX, m_nMenuY;         // the menu window's place
    int m_nWindowWidth = 0, m_nWindowHeight = 0;
    bool m_bPictureMenu = false;
    int m_nListTop = 0;             // first visible row of the continue list
    int m_nVisibleRows = 0;         // rows of the continue list shown (at most 10)
};
