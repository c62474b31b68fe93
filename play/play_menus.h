// The play scene's menus over the frozen play screen: the pause menu (state 3, opened by the
// space key: quit, resume and, where the mode allows it, restart), the continue menu after a
// miss in story mode (state 5: retry or back to the world map) and the game-over screen
// (state 6). The state handlers are cPlayScene::MenuState, MenuState2 and GameOverScreen.
//
// Buttons act on a new press only: a button that is down when a menu opens, or that stays
// down after a choice, does nothing until it is released.
#pragma once

#include <cstdint>

#include "platform/win32/types.h"

class cPlayerInput;
class cSaveData;

// The menu texts of the system settings' text list.
enum {
    PLAYTEXT_QUIT = 19,     // pause menu: 19 quit, 20 resume, 21 restart
    PLAYTEXT_RESUME = 20,
    PLAYTEXT_RESTART = 21,
    PLAYTEXT_RETRY = 22,    // continue menu: 22 retry, 23 back to the map
    PLAYTEXT_GIVEUP = 23,
    PLAYTEXT_RESULT = 27,   // the result screen's caption
};
// The pause menu's items.
enum { PAUSEITEM_QUIT = 0, PAUSEITEM_RESUME = 1, PAUSEITEM_RESTART = 2 };
// Where the play menus stand: both at y 272, their x centred on 320.
constexpr int kPlayMenuY = 272;
constexpr int kPlayMenuCentreX = 320;

// The pause menu's item count in a game mode (GAME_MODE_...): three when the mode allows a
// restart of the stage being played (story: the project's switch and the stage cleared in the
// story; challenge: the project's switch and the stage cleared in the challenge; a stage file:
// always), else two.
int PauseMenuItems(int gameMode, const cSaveData& data);

// Player 1's input as the play screens read it: the key repeat, then buttons 1 and 2 on a new
// press only. On the frame a screen opens no button acts (one held then stays latched until
// released).
cPlayerInput& MenuInput(WORD& buttons, bool opening);

// The play data's given-up word: set when the player leaves a story stage from the continue
// menu (value 24, which came with the continue menu).
int32_t& GivenUpWord(cSaveData& data);
