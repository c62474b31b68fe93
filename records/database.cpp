// The project database.
#include "records/database.h"

#include <cstdint>

#include "core/report.h"
#include "records/data_paths.h"
#include "records/record_list.h"

cDatabase g_Database;
ANIMEFRAMETABLE AnimeFrameTable;
ANIMEFRAMETABLE EffectFrameTable;
std::vector<CHARAEFFECTSTATE> CharaEffectStates;
std::vector<CHARAEFFECTSTATE> CharaEffectStatesReversed;
std::vector<SCREFFECTSTATE> ScrEffectStates;
std::vector<SCREFFECTSTATE> ScrEffectStatesReversed;

namespace {

template <class T>
void ReadTableOver(cRecordReader& reader, std::vector<T>& table) {
    const T prototype;  // current layout, cleared, the class's new-record set-up
    ReadRecordListOver(reader, table, prototype);
    if (g_bStripReturns)
        for (T& r : table) r.StripReturns();
}

template <class T>
void WriteTableImage(cRecordWriter& writer, std::vector<T>& table) {
    cDataFile::OpenWrite(writer);
    WriteRecordList(writer, table);
}

// Frame duration: tenths of a second x 6, kept in the 32-bit range.
int32_t FramesOf(int32_t tenths) {
    int64_t f = (int64_t)tenths * 6;
    if (f > INT32_MAX) return INT32_MAX;
    if (f < INT32_MIN) return INT32_MIN;
    return (int32_t)f;
}

// A stored cell below the sequencer's control codes would be drawn as a negative cell.
int32_t CellOf(int32_t cell) { return cell < ANIME_END ? 0 : cell; }

// One frame list from (cell, duration, lock) items; the rules of BuildIndex1 and BuildIndex2.
template <class Item, class LockOf>
ANIMEFRAMELIST MakeFrameList(const std::vector<Item>& items, size_t index, LockOf lockOf) {
    ANIMEFRAMELIST list;
    list.reserve(items.size() + 2);
    bool locked = false;
    for (const Item& item : items) {
        AnimeFrame f{CellOf(item.m_nCell), FramesOf(item.m_nDuration), 0};
        if (index == 0) {
            f.nDuration = 0;
            f.bLocked = 1;
        } else {
            locked = locked || lockOf(item);
            f.bLocked = locked ? 1 : 0;
        }
        list.push_back(f);
    }
    if (items.empty()) list.push_back(AnimeFrame{0, 0, (uint8_t)(index == 0 ? 1 : 0)});  // something to stand on
    list.push_back(index == 0 ? AnimeFrame{ANIME_LOOP, 0, 1} : AnimeFrame{ANIME_END, 0, 0});
    return list;
}

}  // namespace

cDatabase::cDatabase() { CreateDefaultDatabase(*this); }

const char* cDatabase::TablePath(DBTABLE table) {
    int t = (table >= 0 && table < DB_TABLE_COUNT) ? (int)table : 0;
    return g_PathTable[PATH_DB_ANIME_SET + 2 * t];
}

void cDatabase::ReadTable(DBTABLE table, cRecordReader& reader) {
    switch (table) {
    case DB_ANIME_SET: ReadTableOver(reader, m_vecAnimeSet); break;
    case DB_ANIME: ReadTableOver(reader, m_vecAnime); break;
    case DB_BMP_CHARA_EXC: ReadTableOver(reader, m_vecBmpCharaExc); break;
    case DB_SWORD_TYPE: ReadTableOver(reader, m_vecSwordType); break;
    case DB_EFFECT: ReadTableOver(reader, m_vecEffect); break;
    case DB_CHARA_EFFECT: ReadTableOver(reader, m_vecCharaEffect); break;
    case DB_SCR_EFFECT: ReadTableOver(reader, m_vecScrEffect); break;
    case DB_PICTURE: ReadTableOver(reader, m_vecPicture); break;
    case DB_SOUND: ReadTableOver(reader, m_vecSound); break;
    case DB_BGM: ReadTableOver(reader, m_vecBgm); break;
    default: break;
    }
}

void cDatabase::WriteTable(DBTABLE table, cRecordWriter& writer) {
    switch (table) {
    case DB_ANIME_SET: WriteTableImage(writer, m_vecAnimeSet); break;
    case DB_ANIME: WriteTableImage(writer, m_vecAnime); break;
    case DB_BMP_CHARA_EXC: WriteTableImage(writer, m_vecBmpCharaExc); break;
    case DB_SWORD_TYPE: WriteTableImage(writer, m_vecSwordType); break;
    case DB_EFFECT: WriteTableImage(writer, m_vecEffect); break;
    case DB_CHARA_EFFECT: WriteTableImage(writer, m_vecCharaEffect); break;
    case DB_SCR_EFFECT: WriteTableImage(writer, m_vecScrEffect); break;
    case DB_PICTURE: WriteTableImage(writer, m_vecPicture); break;
    case DB_SOUND: WriteTableImage(writer, m_vecSound); break;
    case DB_BGM: WriteTableImage(writer, m_vecBgm); break;
    default: break;
    }
}

BOOL cDatabase::LoadAll() {
    for (int t = 0; t < DB_TABLE_COUNT; ++t) {
        const char* path = TablePath((DBTABLE)t);
        cRecordReader reader;
        if (!OpenRead(reader, path)) {
            MesBoxF("%s のロードに失敗！", path);
            return FALSE;
        }
        ReadTable((DBTABLE)t, reader);
    }
    if (!m_vecCharaEffect.empty()) m_vecCharaEffect[0].m_nKind = 0;
    if (!m_vecScrEffect.empty()) m_vecScrEffect[0].m_nKind = 0;
    return TRUE;
}

void cDatabase::CopyReversedTables() {
    m_vecCharaEffectRev = m_vecCharaEffect;
    m_vecScrEffectRev = m_vecScrEffect;
}

void cDatabase::BuildIndex1(ANIMEFRAMETABLE& out) const {
    out.clear();
    out.resize(m_vecAnime.size());
    for (size_t i = 0; i < m_vecAnime.size(); ++i)
        out[i] = MakeFrameList(m_vecAnime[i].m_vecFrames, i, [](const cAnimeFrameRec& f) { return f.m_nLock != 0; });
}

void cDatabase::BuildIndex2(ANIMEFRAMETABLE& out) const {
    out.clear();
    out.resize(m_vecEffect.size());
    for (size_t i = 0; i < m_vecEffect.size(); ++i)
        out[i] = MakeFrameList(m_vecEffect[i].m_vecFrames, i, [](const cEffectFrameRec&) { return false; });
}

void cDatabase::BuildIndex3(std::vector<CHARAEFFECTSTATE>& forward, std::vector<CHARAEFFECTSTATE>& reversed) {
    forward.clear();
    reversed.clear();
    forward.resize(m_vecCharaEffect.size());
    reversed.resize(m_vecCharaEffect.size());
    for (size_t i = 0; i < m_vecCharaEffect.size(); ++i) {
        SetupCharaEffect(forward[i], (int)i, 0, *this);
        SetupCharaEffect(reversed[i], (int)i, 1, *this);
    }
}

void cDatabase::BuildIndex4(std::vector<SCREFFECTSTATE>& forward, std::vector<SCREFFECTSTATE>& reversed) {
    forward.clear();
    reversed.clear();
    forward.resize(m_vecScrEffect.size());
    reversed.resize(m_vecScrEffect.size());
    for (size_t i = 0; i < m_vecScrEffect.size(); ++i) {
        SetupScreenEffect(forward[i], (int)i, 0, *this);
        SetupScreenEffect(reversed[i], (int)i, 1, *this);
    }
}

void CreateDefaultDatabase(cDatabase& db) {
    db.Clear();
    db.m_vecAnimeSet.assign(1, cAnimeSetRec());
    db.m_vecAnime.assign(2, cAnimeRec());
    db.m_vecAnime[0].m_strName = "なし";
    db.m_vecAnime[1].m_strName = "アクションA";
    db.m_vecBmpCharaExc.assign(2, cBmpCharaExcRec());
    db.m_vecSwordType.assign(1, cSwordTypeRec());
    db.m_vecEffect.assign(2, cEffectRec());
    db.m_vecCharaEffect.assign(2, cCharaEffectRec());
    db.m_vecScrEffect.assign(2, cScrEffectRec());
    db.m_vecPicture.assign(2, cPictureRec());
    db.m_vecSound.assign(2, cSoundRec());
    db.m_vecBgm.assign(2, cBgmRec());
}
