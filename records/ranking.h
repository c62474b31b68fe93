// The rankings of a stage: five ranking tables of twenty places, one per result kind, kept per
// stage file and game mode in a ranking file under the user's data ("user_data\story\",
// "user_data\challenge\" or "user_data\free\" + the stage file's name + "rkg").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"

struct DDSURFACEDATA;

// Places of a table and tables of a holder.
constexpr int kRankingPlaces = 20;
constexpr int kRankingKinds = 5;
// Result kind 2 is a time in hundredths of a second and ranks lower values first.
constexpr int kRankingTimeKind = 2;
// Files older than this hold fewer tables; the tables they lack rank higher values first.
constexpr uint32_t kRankingFiveTablesVersion = 181;

// One place of a table.
class cRankingEntry : public cDataFile {
public:
    cRankingEntry();  // empty: used 0, no name, value 0
    const RECORDLAYOUT& Layout() const override;

    int32_t m_bUsed;  // 0 an empty place, non-zero a taken one
    std::string m_strName;
    int32_t m_nValue;  // a count, a score or a time in hundredths of a second
};

class cRankingTable : public cDataFile {
public:
    cRankingTable();  // order 0, twenty empty places
    const RECORDLAYOUT& Layout() const override;
    // The order, then the counted entry list (made exactly as long as the file says).
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // Order cleared; the list made exactly twenty long (entries present stay, empty ones fill).
    void ClearTable();
    // The place a value would take (0-19), -1 when it beats no entry. An equal value ranks
    // after the older entry.
    int32_t FindPlace(int32_t value) const;
    // Puts a result in at its place; the last place drops out. A result that finds no place
    // leaves the table as it was.
    void Add(const char* name, int32_t value);
    // The board of this table for result kind k at (x, y), the place `highlight` marked (-1
    // none); drawn by the front end (frontend/ranking_board.cpp).
    void Draw(DDSURFACEDATA* surface, int x, int y, int kind, int highlight) const;

    int32_t m_nOrder;  // 1 higher values first, 0 lower values first
    std::vector<cRankingEntry> m_vecEntries;
};

class cRankingHolder : public cDataFile {
public:
    cRankingHolder();  // as Reset
    // The holder's own part (it registers nothing), then the counted table list; files older
    // than version 181 get their five tables.
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // Five empty tables ordered 1, 1, 0, 1, 1.
    void Reset();
    // After a read: exactly five tables of twenty places (tables the file lacks are new, with
    // the orders of Reset). False when anything had to be changed.
    bool Normalize();
    // cRankingTable::Draw of table k (a table the holder lacks draws nothing).
    void DrawTable(DDSURFACEDATA* surface, int x, int y, int kind, int highlight) const;

    std::vector<cRankingTable> m_vecTables;
};

// The ranking of the stage most recently loaded for display or registration.
extern cRankingHolder g_RankingHolder;

// The ranking file of a stage file in a game mode: the mode's folder (0 story, 1 challenge,
// 2 stage file) + the stage path's file name + "rkg". 0 for any other mode (out emptied).
int MakeRankingPath(std::string& out, int mode, const char* stagePath);
// Reads an opened ranking file into the holder: 1 when it was whole (its tables then brought
// to five of twenty places); a file cut short or damaged leaves the holder reset and gives 0.
// `name` is the file named in report lines.
int ReadRanking(cRankingHolder& holder, cRecordReader& reader, const char* name);
// Loads the ranking file of a stage in a mode; 1 when loaded. A mode without rankings, a
// missing file or a damaged or short one leaves the holder reset and gives 0 (the report says
// why a file that exists could not be used).
int LoadRanking(cRankingHolder& holder, int mode, const char* stagePath);
// Saves the holder as the ranking file of a stage in a mode (atomically); false when the mode
// has no ranking file or the file could not be written (the old file then stays).
bool SaveRanking(cRankingHolder& holder, int mode, const char* stagePath);
