// The stage-name helpers of the play data: the stage key (the name rankings, replays and bests
// use), the best score of every stage and their total, the world-map test, the stage-start
// backup and its restore, the carrying of hero properties between stages under the project's
// carry flags, and starting the world map over.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/types.h"

class cCharaRec;
class cSaveData;
class cWorldMap;

// Carry groups of hero properties (the project's m_vecCarryFlags and the play data's carry
// switches, one per group).
constexpr int kCarryGroupCount = 25;

// The stage key of a stage file name: the text before the last "-1" followed by "." (part
// flag 1), else the text up to and including the last "." (part flag 0); a name without a dot
// gives "". Stage1-1.stg4_001 and Stage1.stg4_001 both give Stage1.
std::string MakeStageKey(const char* name, int32_t* partFlag);
// Stores the stage key of a name (null counts as empty) and the part flag in the play data.
void SetStageFileName(cSaveData& data, const char* name);
// Keeps the best score of a stage: a higher score replaces the stored one, a new key is
// appended; the best total follows.
void RecordStageBest(cSaveData& data, const char* key, int32_t score);
// The best score stored for a key, 0 when there is none.
int32_t FindStageNumberByName(const cSaveData& data, const char* key);
// Whether an item of a point entry of the world map leads to the stage of that key.
bool IsStageOnWorldMap(const cWorldMap& map, const char* key);
// The best total recomputed from the bests of the stages on the world map.
void ResetStageList(cSaveData& data, const cWorldMap& map);

// The stage-start backup: the common variables, the lives and the score.
void CopyValueArray(cSaveData& data);
// Restores from the stage-start backup. all = 1 (a restart, the end of a replay): the common
// variables, the score and the lives. all = 0: the score, and the common variables when the
// switch of the play mode (0 story, 1 challenge, 2 free; the other-mode switch during test
// play) is on; a play mode outside 0-2 without test play restores both. Before any backup was
// taken the common variables stay as they are.
void ResetStageVariables(cSaveData& data, int all, int playMode, BOOL testPlay);

// Carries the groups 0-10 and 13-24 of a hero entry into a character definition when the
// play data carries at all and both the project's flag and the play data's switch of a group
// are on. Group 23 gives the play data's lives; groups 22 and 24 give the hero values 3 and 5
// for the play engine's stage values (when asked for).
void ApplyStageCharaOverrides(cSaveData& data, int hero, cCharaRec& chara, int32_t* value3 = nullptr,
                              int32_t* value5 = nullptr);
// The same for the groups 11 and 12: hero values 1 and 2.
void ApplyStageOverride2(cSaveData& data, int hero, int32_t& value1, int32_t& value2);
// The opposite direction: the same groups from a character (its definition, its values 1, 2,
// 3 and 5, and the play data's lives as value 4) into the hero entry.
void ApplyStageOverride3(cSaveData& data, int hero, const cCharaRec& chara, int32_t value1, int32_t value2,
                         int32_t value3, int32_t value5);
// Clears the carry switches whose reset flag the project sets.
void ClearOverriddenFlags(cSaveData& data);
// Starts the world map over: value 5 raised by 1, every stage value 0, the map position at the
// world map's start.
void ResetMapProgress(cSaveData& data, const cWorldMap& map);

// Formats into a 5,120-byte buffer and appends the text to a string.
void StrAppendF(std::string& s, const char* format, ...) __attribute__((format(printf, 2, 3)));
