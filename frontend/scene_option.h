// Scene 5, the options: the player's own settings ("user_data\Option.dat") row by row: the
// 8-bit colour table, music on or off, the sound volume, how the ranking name is asked for and
// the stored ranking name. The colour table and the volume take effect at once, the music when
// the scene is left; leaving saves the option file.
#pragma once

#include <cstdint>
#include <vector>

#include "frontend/menu_scene.h"

// The row kinds: a row's kind is the index of its record in the system settings' option-row
// list, and decides which option it shows and edits. The kinds follow the labels the settings
// hold at those indices ("BGM", "SE", "ランキング登録", "ランキング登録名", "もどる" and a sixth
// record), so that each label names the value its row edits; the colour table, which only the
// 8-bit DirectDraw screen uses, is the sixth record.
enum {
    OPTION_MUSIC = 0,        // "BGM": music off (0) or on
    OPTION_VOLUME = 1,       // "SE": sound volume step 0-10
    OPTION_RANKINGMODE = 2,  // "ランキング登録": ranking-name mode 0-3
    OPTION_RANKINGNAME = 3,  // "ランキング登録名": the stored ranking name, edited in the name-entry dialog
    OPTION_BACK = 4,         // "もどる": back to the title menu
    OPTION_PALETTE = 5,      // colour table number 0-23
};

class cSceneOption : public cMenuScene {
public:
    cSceneOption();

    void Init() override;

    // State 1 of the table (fade-in, options, fade-out).
    void StateOptions();

    // The whole option screen into a surface: the framed box, the heading, each row's label and
    // value.
    void Draw(DDSURFACEDATA* dst);

    // What Init built and what is being edited, for the tests.
    const std::vector<int>& Rows() const { return m_vecRows; }
    int SelectedKind() const { return m_nSelKind; }
    int SavedValue() const { return m_nSavedValue; }

protected:
    void DrawScreen() override;
    void RedrawWork() override { DrawWork(); }
    // Before the hand-over: the title music in line with the music switch, then the option file.
    void OnLeave() override;

private:
    // The option screen drawn again into the work surface.
    void DrawWork();
    // Phase 1: choosing a row; phase 2: changing the value of the chosen row.
    void ChooseRow();
    void ChangeValue();
    // Moves the edited value by one step with wrap-around, and applies it.
    void StepValue(int delta);
    // What a change of the edited option does at once (colour table and volume).
    void ApplyEdited();

    std::vector<int> m_vecRows;  // row kinds in screen order (1-6)
    int m_nSelKind = -1;         // kind of the row being edited
    int m_nSavedValue = 0;       // its value when editing began
    uint32_t* m_lpEdit = nullptr;  // the option field being edited
    int m_nEditMin = 0, m_nEditMax = 0;
};

// The value text of a row kind as the option screen shows it (empty for kinds without one).
void FormatOptionValue(int kind, char* out, size_t size);
// Every sound-table entry at the volume of a step of the 11-step table.
void ApplySoundVolume(uint32_t step);
// Brings the title music in line with the music switch: the music player started when it is off
// and music is on, released when it runs and music is off; either way the tune recorded as
// playing becomes 0, so the title asks for its own tune again.
void PlayTitleBgm();
