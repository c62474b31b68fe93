// Writers of the user's play files for tests, fuzz seeds and benchmarks: save files (story
// slots, Challenge.dat) and replay files, in the current data version or in an older one (the
// fields that version stores, in its layout).
#pragma once

#include <cstdint>
#include <vector>

#include "records/data_file.h"
#include "tools/records/game_folder.h"

class cReplay;
class cSaveData;
class cStage;

// The image of a save file of a data version.
std::vector<uint8_t> SaveFileImage(cSaveData& data, uint32_t version = kDataVersion);
// Writes "user_data\story\StoryNN.dat" of a slot (0-98), or Challenge.dat.
bool WriteStorySave(cGameFolder& folder, int slot, cSaveData& data, uint32_t version = kDataVersion);
bool WriteChallengeSave(cGameFolder& folder, cSaveData& data, uint32_t version = kDataVersion);

// Makes a stage a replay can carry: a new stage with one hero placed (role 0, graphic 1).
void MakeReplayStage(cStage& stage);
// The image of a replay file of a data version: the stage body of `stage` (as its own settings
// source), the replay, and the play data from version 173 on.
std::vector<uint8_t> ReplayFileImage(cStage& stage, cReplay& replay, cSaveData& snapshot,
                                     uint32_t version = kDataVersion);
