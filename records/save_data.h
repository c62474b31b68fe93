// The play data of one game in progress (cSaveData): world-map position, stage number, lives,
// scores and tallies, common variables, the heroes carried between stages, the challenge
// results, the player's name and the time of the last story save. The same record is the body
// of the story saves, of "user_data\challenge\Challenge.dat" and of the last item of a replay.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/types.h"
#include "records/chara_rec.h"
#include "records/data_file.h"

// The lengths the program indexes. A save of any version is padded up to them; longer lists
// keep their entries.
constexpr size_t kCarrySwitchCount = 25;
constexpr size_t kStageValueCount = 1000;
constexpr size_t kCommonVarCount = 1001;
// The number of ranking tables the ranking-table field chooses from.
constexpr int32_t kSaveRankingTables = 5;
// Lives of 999999 mean unlimited lives.
constexpr int32_t kUnlimitedLives = 999999;

// One stage's challenge result.
class cSaveDataPartA : public cDataFile {
public:
    cSaveDataPartA();  // both 0
    const RECORDLAYOUT& Layout() const override;

    int32_t m_bCleared;    // 1 once cleared in the challenge mode
    int32_t m_nBestScore;
};

// A hero carried between stages: five values and its character definition.
class cSaveDataPartB : public cDataFile {
public:
    cSaveDataPartB();  // values 0, a new character definition
    const RECORDLAYOUT& Layout() const override;
    // The five values, then the embedded definition.
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    int32_t m_anValues[5];  // hero values 1-5 (value 4 carries the lives)
    cCharaRec m_Chara;
};

// The best score of one stage, by stage key.
class cStageBestRec : public cDataFile {
public:
    cStageBestRec();
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nBestScore;
    std::string m_strKey;
};

class cSaveData : public cDataFile {
public:
    // The record of a new game (Reset).
    cSaveData();
    const RECORDLAYOUT& Layout() const override;
    // The value part, the time stamp, the carry switches (from 501), the three record lists,
    // the stage values and the common variables; then what older versions lack, the padding
    // to the lengths the program indexes, and Normalize.
    void Read(cRecordReader& reader) override;
    // Normalize and the padding, then everything in the order Read takes it.
    void Write(cRecordWriter& writer) override;

    // Fits the record to the project now loaded: map position inside the world map (else its
    // start), stage results exactly the project's stage count, stages open 1 .. that count,
    // ranking table 0-4, story slot -1 or a slot of the list.
    void Normalize();
    // The record of a new game: values cleared, 25 carry switches 0, one hero entry, 1,000
    // stage values with entry 0 = 1, 1,001 common variables 0, no bests or results, stages
    // open 1, story slot -1, player name "aaa".
    void Reset();
    // Moves the ranking table by `step` places over the tables the ranking rule of a play mode
    // (0 story, 1 challenge, 2 free) records; step 0 only leaves a table that is not recorded.
    void StepRankingTable(int mode, int step);

    // ---- the value part (items 1-35 of the layout) ----
    int32_t m_bCarryOn;        // 1: hero properties are carried between stages at all
    int32_t m_nMapX;           // 2, 3: world-map cell
    int32_t m_nMapY;
    int32_t m_nValue4;
    int32_t m_nValue5;         // raised by 1 when the world map starts over
    std::string m_strStageName;  // 6: the stage key (SetStageFileName)
    std::string m_strSecondName; // 7: from 724
    int32_t m_nStageNumber;    // 8: from 1
    int32_t m_nValue9;
    int32_t m_nLivesReserve;   // 10
    int32_t m_nLives;          // 11: 999999 unlimited
    int32_t m_nStageScore;     // 12
    int32_t m_nScore;          // 13
    int32_t m_nBestTotal;      // 14: sum of the stage bests
    int32_t m_nTally1;         // 15-18 (3 and 4 from 182)
    int32_t m_nTally2;
    int32_t m_nTally3;
    int32_t m_nTally4;
    int32_t m_bPartFlag;       // 19: the stage is the first file of a stage in parts
    int32_t m_bTuneSwitch;     // 20
    int32_t m_nTuneLoop;       // 21: from 166
    int32_t m_nValue22;        // from 194
    int32_t m_nValue23;        // from 190
    int32_t m_nValue24;        // from 191
    int32_t m_nValue25;        // from 191
    int32_t m_nStagesOpen;     // 26: at least 1
    int32_t m_nStorySlot;      // 27: -1 for a game never saved
    int32_t m_nValue28;        // from 169
    std::string m_strPlayerName; // 29
    int32_t m_nValue30;
    int32_t m_nRankingTable;   // 31: 0-4
    int32_t m_nValue32;        // 32-34 from 678
    int32_t m_nValue33;
    int32_t m_nValue34;
    int32_t m_nValue35;        // from 679

    // ---- stored by Read/Write themselves ----
    SYSTEMTIME m_Stamp;                        // local time of the last story save
    std::vector<int32_t> m_vecCarrySwitches;   // per carry group
    std::vector<cSaveDataPartB> m_vecHeroes;
    std::vector<cStageBestRec> m_vecStageBests;
    std::vector<cSaveDataPartA> m_vecStageResults;  // one per stage of the project
    std::vector<int32_t> m_vecStageValues;
    std::vector<int32_t> m_vecCommonVars;      // indexes from 1

    // ---- run-time: the stage-start backup (CopyValueArray), never stored ----
    std::vector<int32_t> m_vecBackupVars;
    int32_t m_nBackupLives;
    int32_t m_nBackupScore;

private:
    void PadLists();
};

// Reads a counted list of sub-records (the list emptied, sized to the count with new cleared
// records, then each read); FALSE when the count cannot fit in what remains.
BOOL ReadSaveDataPartBArray(cRecordReader& reader, std::vector<cSaveDataPartB>& list);
BOOL ReadStageBestArray(cRecordReader& reader, std::vector<cStageBestRec>& list);
BOOL ReadSaveDataPartAArray(cRecordReader& reader, std::vector<cSaveDataPartA>& list);

// The value words the menu scenes give a role, each read through one accessor. The automatic-save
// switch arrived with data version 169, as value 28 did; the started flag that a challenge
// stage's start raises is a word of its own, so starting a challenge never turns automatic
// saving on.
// The stage-start flag: set with the stage number whenever play is started on a stage.
inline int32_t& StageStartFlag(cSaveData& data) { return data.m_nValue9; }
// The automatic-save switch (non-zero: the world map saves the story into its slot whenever it
// is entered from play), stored with the story.
inline int32_t& AutoSaveSwitch(cSaveData& data) { return data.m_nValue28; }
// The started flag: set when the stage select starts a challenge stage.
inline int32_t& StartedFlag(cSaveData& data) { return data.m_nValue32; }
// The stage select's ranking-view switch (non-zero: the ranking board is shown).
inline int32_t& RankingViewSwitch(cSaveData& data) { return data.m_nValue30; }

// The current play data.
extern cSaveData g_SaveData;
