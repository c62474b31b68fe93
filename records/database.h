// The project database: the ten record tables read from "data\database\" at start-up, the two
// reversed effect copies, and the ready-to-run forms derived from them (frame lists of every
// animation and effect, the prepared effect states in both directions).
#pragma once

#include <vector>

#include "records/anime_frame.h"
#include "records/anime_records.h"
#include "records/data_file.h"
#include "records/effect_records.h"
#include "records/effect_state.h"

// The ten tables that are read from files, in loading order.
enum DBTABLE {
    DB_ANIME_SET = 0,
    DB_ANIME,
    DB_BMP_CHARA_EXC,
    DB_SWORD_TYPE,
    DB_EFFECT,
    DB_CHARA_EFFECT,
    DB_SCR_EFFECT,
    DB_PICTURE,
    DB_SOUND,
    DB_BGM,
    DB_TABLE_COUNT
};

class cDatabase : public cDataFile {
public:
    // Empty tables, then the default content (CreateDefaultDatabase).
    cDatabase();

    // Reads the ten files in table order. A file that cannot be opened shows
    // "%s のロードに失敗！" and ends the load with 0: earlier tables keep what was read, later
    // ones their previous content. After the tenth file the kind of CharaEffect and ScrEffect
    // record 0 becomes 0 (an empty table is skipped). 1 when all ten were read.
    BOOL LoadAll();
    // Reads one table's counted list from a file whose version word has been read: records
    // already present are read over, appended ones start as new records of the class; a count
    // that cannot fit leaves the table as it was. Strips carriage returns when g_bStripReturns.
    void ReadTable(DBTABLE table, cRecordReader& reader);
    // Writes one table as its file image (version word, count, records).
    void WriteTable(DBTABLE table, cRecordWriter& writer);
    // The path-table entry of a table's file.
    static const char* TablePath(DBTABLE table);

    // Copies the CharaEffect and ScrEffect tables into their reversed copies (start-up, after
    // LoadAll and before BuildIndex3 and BuildIndex4).
    void CopyReversedTables();

    // Frame lists of every animation / effect, same index. List 0 has every frame locked with
    // duration 0 and ends by returning to frame 0; the others end with -4 and lock from the
    // first frame whose item has the lock flag on. Cell values below -4 become 0; a record
    // without frames gets one blank frame before its end code.
    void BuildIndex1(ANIMEFRAMETABLE& out) const;
    void BuildIndex2(ANIMEFRAMETABLE& out) const;
    // The forward and reversed effect states; mode 1 exchanges start and end parameters in the
    // reversed copy tables.
    void BuildIndex3(std::vector<CHARAEFFECTSTATE>& forward, std::vector<CHARAEFFECTSTATE>& reversed);
    void BuildIndex4(std::vector<SCREFFECTSTATE>& forward, std::vector<SCREFFECTSTATE>& reversed);

    std::vector<cAnimeSetRec> m_vecAnimeSet;
    std::vector<cAnimeRec> m_vecAnime;
    std::vector<cBmpCharaExcRec> m_vecBmpCharaExc;
    std::vector<cSwordTypeRec> m_vecSwordType;
    std::vector<cEffectRec> m_vecEffect;
    std::vector<cCharaEffectRec> m_vecCharaEffect;
    std::vector<cScrEffectRec> m_vecScrEffect;
    std::vector<cPictureRec> m_vecPicture;
    std::vector<cSoundRec> m_vecSound;
    std::vector<cBgmRec> m_vecBgm;
    std::vector<cCharaEffectRec> m_vecCharaEffectRev;  // table 11: empty until start-up copies table 6
    std::vector<cScrEffectRec> m_vecScrEffectRev;      // table 12: copy of table 7
};

// Replaces tables 1 to 10 by their default records; the reversed copies are left as they are.
void CreateDefaultDatabase(cDatabase& db);

extern cDatabase g_Database;
// The derived tables the play engine reads.
extern ANIMEFRAMETABLE AnimeFrameTable;
extern ANIMEFRAMETABLE EffectFrameTable;
extern std::vector<CHARAEFFECTSTATE> CharaEffectStates;
extern std::vector<CHARAEFFECTSTATE> CharaEffectStatesReversed;
extern std::vector<SCREFFECTSTATE> ScrEffectStates;
extern std::vector<SCREFFECTSTATE> ScrEffectStatesReversed;
