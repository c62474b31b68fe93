// The bitmaps a stage needs to be played, drawn small and plain so that a play screen made
// from them is easy to read: block, character, shot and item sheets, the status panel, the
// icon-and-gauge sheet (with the menu cursors where the title menu has them), the word sheet
// (stage-start and replay plates, 32-dot digits) and one picture background "背景その1.bmp".
#pragma once

#include "tools/records/game_folder.h"

// Block cells of "bmp\Block.bmp" (columns of 15 cells of 32 dots): 1 brick, 2 grass ground,
// 3 a question block, 4 a stone.
enum { PLAYBMP_BRICK = 1, PLAYBMP_GROUND = 2, PLAYBMP_QUESTION = 3, PLAYBMP_STONE = 4 };

bool WritePlayBitmaps(cGameFolder& folder);
