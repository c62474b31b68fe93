// Scene 1, the world map of the story: the player walks a figure over the map's chips; stepping
// onto an open stage entry that has not been passed enters it at once (no question is asked):
// its stage file is loaded and play starts; the cancel button leads to the story save screen.
// Entered from play with automatic saving on, the map saves the story into its slot.
//
// How an entry of the world map's records reads on the map. A point entry lies on its cell and
// shows its name. Its first item holds the entry's own words and its stage:
//   value 1      mode: 0 a stage entry, 2 an entry that blocks walking, any other an event entry
//   values[0]    cleared-flag index: the play data's stage value that marks the entry cleared
//                (1-999, 0 none); play clears that stage value, so it is also the stage number
//   values[1]    passed word: non-zero when the entry counts as passed from the start
//   values[2]    re-entry word: a cleared event entry is entered again only when it is set
//   values[3]    icon number: the row of the entry sheet its icon is drawn from
//   stage file   the stage file (a path in the game folder, its highest numbered file is taken);
//                empty: the numbered stage of the cleared-flag index ("data\stg4\cNN-1.stg4")
// Every further item is a condition that must hold for the entry to be open (shown, entered):
//   value 1      a cleared-flag index that must be set (0: none)
//   values[0]    a common variable (1-1000, 0: none) compared by values[1], the operator (0 =,
//                1 !=, 2 >=, 3 <=, 4 >, 5 <, 6 divisible by, 7 not divisible by), with values[2]
//   values[3]    a best total the play data must reach (0: none)
#pragma once

#include <cstdint>
#include <string>

#include "frontend/menu_scene.h"
#include "media/menu_cursor.h"

class cWorldMapEntry;

// Entry modes.
enum {
    WORLDENTRY_STAGE = 0,
    WORLDENTRY_BLOCK = 2,
};

// The show-ranking switch of the map (button 3 on a passed stage entry).
extern int g_bWorldMapShowRanking;

// The entry's own words, read from its first item (all 0 for an entry without items).
struct WORLDENTRYINFO {
    int32_t nMode;
    int32_t nClearedFlag;
    int32_t bPassed;
    int32_t bReEnter;
    int32_t nIcon;
};
WORLDENTRYINFO GetEntryInfo(const cWorldMapEntry& entry);
// The entry when every condition item holds, else null (null for null).
const cWorldMapEntry* IsEntryOpen(const cWorldMapEntry* entry);
// 1 when the play data's stage value of the entry's cleared-flag index is set.
int IsEntryCleared(const cWorldMapEntry* entry);
// 0 for null; 1 when the passed word is set; else IsEntryCleared.
int IsEntryPassed(const cWorldMapEntry* entry);
// The stage file an entry leads to ("" when it names none).
std::string EntryStagePath(const cWorldMapEntry& entry);
// The map position was set by play (a stage clear that names where the map goes on): the cell
// kept for stepping back is forgotten.
void ForgetWorldMapStepBack();

class cSceneWorldMap : public cMenuScene {
public:
    cSceneWorldMap();

    void Init() override;

    // States 1 and 2 of the table (fade-in, walk, enter, fade-out).
    void StateWalk();
    void StateEnter();

    // One step of walking by the direction bits (left, right, up, down tested in this order).
    // True when the player moved to another cell.
    bool MoveOnMap(int keyBits);

    // The player's cell, facing and the view's top-left cell, for the tests.
    int PlayerX() const { return m_Pos.nX; }
    int PlayerY() const { return m_Pos.nY; }
    int Facing() const { return m_nFacing; }
    int ViewX() const { return m_nViewX; }
    int ViewY() const { return m_nViewY; }
    const cWorldMapEntry* CurrentEntry() const { return m_lpEntry; }
    const cWorldMapEntry* UsableEntry() const { return m_lpUsable; }
    int BestResult() const { return m_nBest; }

protected:
    // The map, the player and the lives box (the fade-in draws them without the entry's name).
    void DrawScreen() override { DrawWorldMap(false); }
    // 8-bit colour: the map surface drawn again before each fade-in frame.
    void RedrawWork() override { RedrawMapLayers(); }

private:
    // Composes the frame; with information, the name (and best result) of the entry under the
    // player and its ranking board.
    void DrawWorldMap(bool withInfo);
    // Background, chips and entry icons of the view into the map surface.
    void RedrawMapLayers();
    // The view origin from the player's cell; the map drawn again when it moved.
    void UpdateView();
    // The entries on the player's cell looked up again.
    void FindEntries();
    // The stage entry under the player prepared: its stage key, best result and ranking.
    void PrepareEntry();
    // The player and the view back on the remembered cell.
    void StepBack();
    // The player's position and facing into the play data.
    void StorePosition();
    // The stage of the usable entry loaded and handed to play; false when it cannot be read.
    bool StartStage();

    CURSORPOS m_Pos{};   // the player: cell x, cell y, pixel x, pixel y
    CURSORPOS m_Back{};  // the cell before the last step
    int m_nViewX = 0, m_nViewY = 0;
    int m_nDrawnViewX = 0, m_nDrawnViewY = 0;  // the view the map surface holds
    bool m_bMapDrawn = false;
    int m_nFacing = 0;   // 0 down, 1 up, 2 left, 3 right
    const cWorldMapEntry* m_lpEntry = nullptr;   // the entry on the player's cell
    const cWorldMapEntry* m_lpUsable = nullptr;  // the same when it is open
    int m_nBest = 0;                             // the best result of the usable stage entry
    WORD m_wLastButtons = 0;                     // buttons 3 and 4 act when pressed, not held
    int m_nWalkFrame = 0;  // 1-80: the figure's second walking picture from 41 on; 0 when the map opens
};
