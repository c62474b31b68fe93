// The files of the play data: the 99 story slots ("user_data\story\StoryNN.dat") with the slot
// list the save and continue screens show, and the challenge results
// ("user_data\challenge\Challenge.dat"). A save is written atomically: a failed write leaves the
// previous file as it was and is answered as a failure. A missing, short or damaged file is
// never loaded in part: the play data stays as it was.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/types.h"
#include "records/data_file.h"

class cSaveData;

constexpr int kStorySlotCount = 99;

// One entry of the slot list: whether the slot holds a save, and that save's time stamp.
class cSaveSlot : public cDataFile {
public:
    cSaveSlot();  // empty
    const RECORDLAYOUT& Layout() const override;

    int32_t m_bUsed;
    SYSTEMTIME m_Stamp;
};

class cSaveSlotList {
public:
    cSaveSlotList();  // 99 empty slots
    std::vector<cSaveSlot> m_vecSlots;
};

extern cSaveSlotList g_SaveSlotList;

// "user_data\story\Story" + the slot number plus 1 in two digits + ".dat" into a MAX_PATH
// buffer (slot 0 gives Story01.dat, slot 98 Story99.dat).
void MakeStoryPath(char* path, int slot);

// Reads a whole save file into `data`: TRUE only when the file was opened and read to its end
// without damage. Otherwise `data` is unchanged (a short or damaged file gets a report line).
BOOL ReadSaveFile(const char* path, cSaveData& data);

// The lives on loading a save in a play mode (0 story, 1 challenge, 2 free): unlimited lives
// when the mode has them; otherwise a save made with unlimited lives gets the mode's starting
// lives.
void ApplyLivesRule(cSaveData& data, int mode);

// Stamps the play data with the local time and writes it to the slot's file; the slot list
// entry is stamped only when the file was written. FALSE when the slot is outside the list or
// the write failed (the old file and its slot entry stay; the report says why).
BOOL SaveStory(cSaveData& data, int slot);
// Reads the slot's file into the play data and applies the lives rule of the story mode.
// FALSE, the play data unchanged, when the file is missing, short or damaged.
BOOL LoadStory(cSaveData& data, int slot);
// Reads Challenge.dat into the play data and applies the lives rule of the challenge mode.
// FALSE, the play data unchanged, when the file is missing, short or damaged.
BOOL LoadChallenge(cSaveData& data);
// A cleared challenge stage: the result of the play data's stage number is marked cleared and
// its best score (and the best total) raised to `score` when that is higher; stages open reach
// the next stage (at most the project's stage count); then Challenge.dat is written. FALSE when
// the write failed (reported; the old file stays).
BOOL SaveChallengeResult(cSaveData& data, int32_t score);

// Used flag 1 and the save's time stamp.
void SetSlotStamp(cSaveSlot& slot, const cSaveData& data);
// Fills every slot from its story file: a missing, short or damaged file leaves the slot empty.
void ScanStorySlots(cSaveSlotList& list);
