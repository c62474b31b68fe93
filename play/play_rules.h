// Small rules of stage play run at fixed places of the play frame: the pause key, the floor
// block under a character, and the music request of the stage set-up and the music command.
#pragma once

#include <cstdint>

class cBlockDef;
class cChara;
class cPlayScene;

// Floor kinds of a block (the block's floor kind word; X is its floor parameter).
enum {
    FLOOR_NONE = 0,
    FLOOR_SPRING = 1,   // throws the character up as a jump of X half blocks
    FLOOR_NOJUMP = 2,   // no jumping while standing on it
    FLOOR_SPEED = 3,    // speed x times X %
    FLOOR_LEFT = 4,     // pushed left by X tenths of a dot per frame
    FLOOR_RIGHT = 5,    // pushed right likewise
};

// What a block cell says about its floor and its solidity.
int BlockFloorKind(const cBlockDef& cell);
int32_t BlockFloorParam(const cBlockDef& cell);
// Solidity of a cell for a side: 0 while its appearance conditions do not hold or when the side
// passes through it, else its solidity byte (0 not solid, 1 solid, 2 deadly for the hero).
int BlockSolidityFor(const cBlockDef& cell, int side);

// Plays `tune` on the stage tune slot (WM_USER+6, wParam 4); the option word (the loop
// setting, g_bBgmTuneLoop) is stored first, since the window thread reads it with the request.
void PostMusicRequest(int tune, int option);

// 1 when the space key is down now (read directly, not through the key configuration): the
// pause sound plays and the state to return to is kept; else 0.
int CheckPauseKey(cPlayScene* scene);

// The floor block under a standing character starts or continues its effect; always 0.
int ApplyFloorBlockEffect(cChara& chara);
