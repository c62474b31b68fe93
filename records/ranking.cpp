// The ranking records and the ranking files.
#include "records/ranking.h"

#include <algorithm>
#include <cstring>

#include "core/checked.h"
#include "core/helpers.h"
#include "core/report.h"
#include "records/data_paths.h"
#include "records/record_list.h"

cRankingHolder g_RankingHolder;

namespace {

// The orders of the five tables after a reset: the time (table 2) ranks lower values first.
constexpr int32_t kResetOrders[kRankingKinds] = {1, 1, 0, 1, 1};

bool Ranks(const cRankingTable& table, int32_t newValue, int32_t oldValue) {
    return table.m_nOrder == 1 ? oldValue < newValue : oldValue > newValue;
}

cRankingTable NewTable(int kind) {
    cRankingTable table;
    table.m_nOrder = kResetOrders[kind];
    return table;
}

}  // namespace

// ---- entries ----

cRankingEntry::cRankingEntry() : m_bUsed(0), m_nValue(0) {}

const RECORDLAYOUT& cRankingEntry::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cRankingEntry::m_bUsed>()
                                           .String<&cRankingEntry::m_strName>()
                                           .Values<&cRankingEntry::m_nValue>()
                                           .Build();
    return layout;
}

// ---- tables ----

cRankingTable::cRankingTable() : m_nOrder(0) { ClearTable(); }

const RECORDLAYOUT& cRankingTable::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder().Values<&cRankingTable::m_nOrder>().Build();
    return layout;
}

void cRankingTable::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadRecordList(reader, m_vecEntries, cRankingEntry());
}

void cRankingTable::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecEntries);
}

void cRankingTable::ClearTable() {
    cDataFile::Clear();
    m_vecEntries.resize(kRankingPlaces);
}

int32_t cRankingTable::FindPlace(int32_t value) const {
    const size_t n = std::min(m_vecEntries.size(), (size_t)kRankingPlaces);
    for (size_t i = 0; i < n; ++i) {
        const cRankingEntry& e = m_vecEntries[i];
        if (!e.m_bUsed || Ranks(*this, value, e.m_nValue)) return (int32_t)i;
    }
    return -1;
}

void cRankingTable::Add(const char* name, int32_t value) {
    cRankingEntry entry;
    entry.m_bUsed = 1;
    entry.m_strName = name ? name : "";
    entry.m_nValue = value;
    const int32_t place = FindPlace(value);
    if (place >= 0 && (size_t)place < m_vecEntries.size())
        m_vecEntries.insert(m_vecEntries.begin() + place, entry);
    else
        m_vecEntries.push_back(entry);
    m_vecEntries.pop_back();
}

// ---- the holder ----

cRankingHolder::cRankingHolder() { Reset(); }

void cRankingHolder::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadRecordList(reader, m_vecTables, cRankingTable());
    if (g_nFileVersion < kRankingFiveTablesVersion) {
        m_vecTables.resize(kRankingKinds);
        m_vecTables[3].m_nOrder = 1;
        m_vecTables[4].m_nOrder = 1;
    }
}

void cRankingHolder::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecTables);
}

void cRankingHolder::Reset() {
    cDataFile::Clear();
    m_vecTables.clear();
    for (int k = 0; k < kRankingKinds; ++k) m_vecTables.push_back(NewTable(k));
}

bool cRankingHolder::Normalize() {
    bool unchanged = m_vecTables.size() == (size_t)kRankingKinds;
    if (m_vecTables.size() > (size_t)kRankingKinds) m_vecTables.resize(kRankingKinds);
    while (m_vecTables.size() < (size_t)kRankingKinds) m_vecTables.push_back(NewTable((int)m_vecTables.size()));
    for (cRankingTable& t : m_vecTables) {
        if (t.m_vecEntries.size() == (size_t)kRankingPlaces) continue;
        unchanged = false;
        t.m_vecEntries.resize(kRankingPlaces);
    }
    return unchanged;
}

// ---- the ranking files ----

int MakeRankingPath(std::string& out, int mode, const char* stagePath) {
    out.clear();
    static const int kFolders[3] = {PATH_RANKING_STORY, PATH_RANKING_CHALLENGE, PATH_RANKING_FREE};
    if (mode < 0 || mode > 2) return 0;
    std::string name = stagePath ? stagePath : "";
    GetFileNameOnly(name.data());
    name.resize(std::strlen(name.c_str()));
    FormatString(out, "%s%s%s", g_PathTable[kFolders[mode]], name.c_str(), g_ExtTable[EXT_RKG]);
    return 1;
}

int ReadRanking(cRankingHolder& holder, cRecordReader& reader, const char* name) {
    holder.Read(reader);
    // A file cut short or damaged would leave tables half read: it counts as no ranking (the
    // reader has reported where it ended).
    if (reader.Ended() || reader.Damaged()) {
        WriteReport("%s : ranking reset", name);
        holder.Reset();
        return 0;
    }
    if (!holder.Normalize()) WriteReport("%s : ranking tables brought to five of twenty places", name);
    return 1;
}

int LoadRanking(cRankingHolder& holder, int mode, const char* stagePath) {
    std::string path;
    cRecordReader reader;
    if (!MakeRankingPath(path, mode, stagePath) || !cDataFile::OpenRead(reader, path.c_str())) {
        holder.Reset();
        return 0;
    }
    return ReadRanking(holder, reader, path.c_str());
}

bool SaveRanking(cRankingHolder& holder, int mode, const char* stagePath) {
    std::string path;
    if (!MakeRankingPath(path, mode, stagePath)) return false;
    return holder.SaveFile(path.c_str()) != 0;
}
