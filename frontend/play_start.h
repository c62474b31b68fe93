// Setting up the current play data for a way of playing: the new story of the title menu, the
// lives a game mode starts with, and the start of play from a stage file (the command-line
// stage at start-up, or a stage file chosen at the title menu).
#pragma once

#include "platform/win32/win32.h"

class cSaveData;

// The play data of a new story: cleared, 25 carry switches 0, one hero entry, 1,000 stage
// values (entry 0 = 1), 1,001 common variables 0, no stage bests or results, stages open 1,
// story slot -1, name "aaa", the world map's start position with value 4 = 0, and the story
// mode's lives.
void NewGameSetup(cSaveData& data);

// The lives a game mode (0 story, 1 challenge, 2 stage file) starts with: 999999 in both
// counters when `unlimited` is set or the mode's unlimited switch is on; otherwise the mode's
// start count (held to 0..99) as the lives reserve and one less (not below 0) as the lives.
void SetStartLives(cSaveData& data, int mode, bool unlimited);

// Play from a stage file: the current play data reset as for a new game (without the map
// position and the lives), the stage file loaded for play into g_StageSettings (`numbered`
// takes its highest numbered file), stage number 1 and the stage-start flag set, the stage-file
// mode's lives (unlimited when play started from the command-line stage), and the path made
// relative to the game folder kept as the play data's stage file name. 0 when the stage could
// not be loaded (the loader has said why), else 1.
int StartFromStageFile(const char* path, BOOL numbered);
