// A replay: the random seed one attempt at a stage started with and player 1's input of every
// play frame, as run-length lists of direction bits and of button bits (the two lists run
// independently). A replay file ("user_data\rpl4\*.rpl4_754") also carries the stage and the
// play data at the start of the attempt, so it plays back without the stage file.
//
// File: u32 data version; the stage body (cStage::WriteCopy); the replay's value part (one
// block: the seed); direction values (u32 count, u16 each); button values (u32 count, u16
// each); direction runs (u32 count, u32 each); button runs (u32 count, u32 each); the play
// data body (files of version 173 and later).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/types.h"
#include "records/data_file.h"
#include "records/save_data.h"

class cPlayerInput;
class cStage;

// Replay files carry play data from this version on.
constexpr uint32_t kReplayPlayDataVersion = 173;

class cReplay : public cDataFile {
public:
    cReplay();  // empty lists, seed and playback words 0
    const RECORDLAYOUT& Layout() const override;
    // The value part, then the four lists (each a count that must fit in what remains).
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // Appends one frame of player 1's direction and button bits.
    void Record(const cPlayerInput& input);
    // Plays one frame into the input's direction and button bits: 0 a frame was delivered,
    // 1 the replay has ended (the input is then unchanged). A stored run of 0 plays as 1.
    uint32_t Next(cPlayerInput& input);
    // Copies the four lists and the seed of another replay (not the playback words).
    void AssignInputs(const cReplay& source);
    // The seed 0, the four lists emptied, the playback words 0.
    void Clear();
    // The four playback words 0 (playback starts again at the first frame).
    void Rewind();
    // Values and runs of each kind have the same length.
    bool IsConsistent() const;
    // Nothing recorded yet.
    bool IsEmpty() const { return m_vecDirValues.empty(); }

    // Writes a replay file: the stage (the definitions of `loaded` with the settings of
    // `settings`), this replay and the play-data snapshot. FALSE when it could not be written
    // (the report says why; an existing file is left as it was).
    BOOL WriteFile(const char* path, cStage& loaded, cStage& settings, cSaveData& snapshot);
    // Loads a replay file: the stage into `loaded` (settings copied to `settings` as after a
    // stage load), this replay and, from version 173 on, the play data. FALSE when the file
    // cannot be opened, ends early, is damaged, has value and run lists of different lengths
    // or its stage has no hero; then nothing at all has changed (the report says why).
    // `loaded` is the stage whose palette the stage's definitions take their templates from,
    // g_LoadedStage in the program.
    BOOL LoadFile(const char* path, cStage& loaded, cStage& settings, cSaveData& playData);
    // The same from an opened reader (the version word already read).
    BOOL LoadFrom(cRecordReader& reader, cStage& loaded, cStage& settings, cSaveData& playData);

    std::vector<uint16_t> m_vecDirValues;
    std::vector<uint16_t> m_vecButtonValues;
    std::vector<uint32_t> m_vecDirRuns;
    std::vector<uint32_t> m_vecButtonRuns;
    uint32_t m_dwSeed;
    // Playback: the current run of each kind and the frames already played of it.
    uint32_t m_dwDirPos;
    uint32_t m_dwButtonPos;
    uint32_t m_dwDirCount;
    uint32_t m_dwButtonCount;
};

// The attempt being recorded or played back, and the attempt before it.
extern cReplay g_Replay;
extern cReplay g_ReplayPrev;
// The play data as it stood at the start of the current and of the previous attempt.
extern cSaveData g_SaveDataAttempt;
extern cSaveData g_SaveDataPrevAttempt;
