// The play data record: layout, reading with the migrations of older versions and the padding
// to the lengths the program indexes, writing, the fit to the project, the new-game state and
// the ranking-table step.
#include "records/save_data.h"

#include <algorithm>
#include <cstring>

#include "core/checked.h"
#include "records/record_list.h"
#include "records/story_saves.h"
#include "records/system_data.h"
#include "records/world_map.h"

cSaveData g_SaveData;

// ---- sub-records ----

cSaveDataPartA::cSaveDataPartA() : m_bCleared(0), m_nBestScore(0) {}

const RECORDLAYOUT& cSaveDataPartA::Layout() const {
    static const RECORDLAYOUT layout =
        cLayoutBuilder().Values<&cSaveDataPartA::m_bCleared>().Values<&cSaveDataPartA::m_nBestScore>().Build();
    return layout;
}

cSaveDataPartB::cSaveDataPartB() : m_anValues{} {}

const RECORDLAYOUT& cSaveDataPartB::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder().Values<&cSaveDataPartB::m_anValues>().Build();
    return layout;
}

void cSaveDataPartB::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    if (reader.Ended()) return;
    m_Chara.Read(reader);
}

void cSaveDataPartB::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    m_Chara.Write(writer);
}

cStageBestRec::cStageBestRec() : m_nBestScore(0) {}

const RECORDLAYOUT& cStageBestRec::Layout() const {
    static const RECORDLAYOUT layout =
        cLayoutBuilder().Values<&cStageBestRec::m_nBestScore>().String<&cStageBestRec::m_strKey>().Build();
    return layout;
}

BOOL ReadSaveDataPartBArray(cRecordReader& reader, std::vector<cSaveDataPartB>& list) {
    return ReadRecordList(reader, list, cSaveDataPartB());
}

BOOL ReadStageBestArray(cRecordReader& reader, std::vector<cStageBestRec>& list) {
    return ReadRecordList(reader, list, cStageBestRec());
}

BOOL ReadSaveDataPartAArray(cRecordReader& reader, std::vector<cSaveDataPartA>& list) {
    return ReadRecordList(reader, list, cSaveDataPartA());
}

// ---- the play data ----

cSaveData::cSaveData() : m_Stamp{}, m_nBackupLives(0), m_nBackupScore(0) { Reset(); }

const RECORDLAYOUT& cSaveData::Layout() const {
    using C = cSaveData;
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&C::m_bCarryOn>()
                                           .Values<&C::m_nMapX>()
                                           .Values<&C::m_nMapY>()
                                           .Values<&C::m_nValue4>()
                                           .Values<&C::m_nValue5>()
                                           .String<&C::m_strStageName>()
                                           .String<&C::m_strSecondName>(724)
                                           .Values<&C::m_nStageNumber>()
                                           .Values<&C::m_nValue9>()
                                           .Values<&C::m_nLivesReserve>()
                                           .Values<&C::m_nLives>()
                                           .Values<&C::m_nStageScore>()
                                           .Values<&C::m_nScore>()
                                           .Values<&C::m_nBestTotal>()
                                           .Values<&C::m_nTally1>()
                                           .Values<&C::m_nTally2>()
                                           .Values<&C::m_nTally3>(182)
                                           .Values<&C::m_nTally4>(182)
                                           .Values<&C::m_bPartFlag>()
                                           .Values<&C::m_bTuneSwitch>()
                                           .Values<&C::m_nTuneLoop>(166)
                                           .Values<&C::m_nValue22>(194)
                                           .Values<&C::m_nValue23>(190)
                                           .Values<&C::m_nValue24>(191)
                                           .Values<&C::m_nValue25>(191)
                                           .Values<&C::m_nStagesOpen>()
                                           .Values<&C::m_nStorySlot>()
                                           .Values<&C::m_nValue28>(169)
                                           .String<&C::m_strPlayerName>()
                                           .Values<&C::m_nValue30>()
                                           .Values<&C::m_nRankingTable>()
                                           .Values<&C::m_nValue32>(678)
                                           .Values<&C::m_nValue33>(678)
                                           .Values<&C::m_nValue34>(678)
                                           .Values<&C::m_nValue35>(679)
                                           .Build();
    return layout;
}

namespace {

void ReadStamp(cRecordReader& reader, SYSTEMTIME& t) {
    WORD* fields[8] = {&t.wYear,   &t.wMonth,  &t.wDayOfWeek, &t.wDay,
                       &t.wHour,   &t.wMinute, &t.wSecond,    &t.wMilliseconds};
    uint8_t raw[16];
    if (!reader.ReadBytes(raw, sizeof raw)) return;
    for (int i = 0; i < 8; ++i) *fields[i] = (WORD)(raw[2 * i] | (raw[2 * i + 1] << 8));
}

void WriteStamp(cRecordWriter& writer, const SYSTEMTIME& t) {
    for (WORD w : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds})
        writer.WriteU16(w);
}

template <class T>
void PadTo(std::vector<T>& list, size_t n) {
    if (list.size() < n) list.resize(n);
}

}  // namespace

void cSaveData::Read(cRecordReader& reader) {
    const uint32_t v = g_nFileVersion;
    cDataFile::Read(reader);
    ReadStamp(reader, m_Stamp);
    if (v >= 501) ReadValueList(reader, m_vecCarrySwitches);
    ReadSaveDataPartBArray(reader, m_vecHeroes);
    ReadStageBestArray(reader, m_vecStageBests);
    ReadSaveDataPartAArray(reader, m_vecStageResults);
    ReadValueList(reader, m_vecStageValues);
    ReadValueList(reader, m_vecCommonVars);

    if (v < kDataVersion) {
        if (v < 166) m_nTuneLoop = 1;
        if (v < 169) m_nValue28 = 0;
        if (v < 182) m_nTally3 = m_nTally4 = 0;
        if (v < 190) m_nValue23 = 0;
        if (v < 191) m_nValue24 = m_nValue25 = 0;
        if (v < 194) m_nValue22 = 0;
        if (v < 501) m_vecCarrySwitches.assign(kCarrySwitchCount, 1);
    }
    PadLists();
    Normalize();
}

void cSaveData::Write(cRecordWriter& writer) {
    Normalize();
    PadLists();
    cDataFile::Write(writer);
    WriteStamp(writer, m_Stamp);
    WriteValueList(writer, m_vecCarrySwitches);
    WriteRecordList(writer, m_vecHeroes);
    WriteRecordList(writer, m_vecStageBests);
    WriteRecordList(writer, m_vecStageResults);
    WriteValueList(writer, m_vecStageValues);
    WriteValueList(writer, m_vecCommonVars);
}

// Lists shorter than the program indexes are padded (with 0, or a new hero); files of every
// version get the 1,001 common variables of a new game, never fewer.
void cSaveData::PadLists() {
    PadTo(m_vecCarrySwitches, kCarrySwitchCount);
    if (m_vecHeroes.empty()) m_vecHeroes.resize(1);
    PadTo(m_vecStageValues, kStageValueCount);
    PadTo(m_vecCommonVars, kCommonVarCount);
}

void cSaveData::Normalize() {
    const cWorldMap& map = g_WorldMap;
    if (m_nMapX < 0 || m_nMapX >= map.m_nWidth) m_nMapX = map.m_nStartX;
    if (m_nMapY < 0 || m_nMapY >= map.m_nHeight) m_nMapY = map.m_nStartY;
    const int32_t stages = (int32_t)std::min<uint32_t>(g_SystemData.m_nStageCount, kMaxStageCount);
    m_vecStageResults.resize((size_t)stages);
    if (m_nStagesOpen > stages) m_nStagesOpen = stages;
    if (m_nStagesOpen < 1) m_nStagesOpen = 1;
    if (m_nRankingTable < 0 || m_nRankingTable >= kSaveRankingTables) m_nRankingTable = 0;
    if (m_nStorySlot < -1 || m_nStorySlot >= kStorySlotCount) m_nStorySlot = -1;
}

void cSaveData::Reset() {
    cDataFile::Clear();
    m_Stamp = SYSTEMTIME{};
    m_vecCarrySwitches.assign(kCarrySwitchCount, 0);
    m_vecHeroes.assign(1, cSaveDataPartB());
    m_vecStageValues.assign(kStageValueCount, 0);
    m_vecStageValues[0] = 1;
    m_vecCommonVars.assign(kCommonVarCount, 0);
    m_vecStageBests.clear();
    m_vecStageResults.clear();
    m_nStagesOpen = 1;
    m_nStorySlot = -1;
    m_strPlayerName = "aaa";
}

void cSaveData::StepRankingTable(int mode, int step) {
    const cSysRankingRule& rule = CheckedAt(g_SystemData.m_vecRankingRules, mode);
    // Only the five tables count; a flag list that is shorter has its missing tables off.
    auto recorded = [&rule](int32_t t) { return (size_t)t < rule.m_vecTables.size() && rule.m_vecTables[(size_t)t] != 0; };
    int count = 0;
    for (int32_t t = 0; t < kSaveRankingTables; ++t) count += recorded(t) ? 1 : 0;
    if (count == 0) return;
    if (m_nRankingTable < 0 || m_nRankingTable >= kSaveRankingTables) m_nRankingTable = 0;
    auto move = [this, &recorded](int dir) {
        do {
            m_nRankingTable += dir;
            if (m_nRankingTable < 0) m_nRankingTable = kSaveRankingTables - 1;
            if (m_nRankingTable >= kSaveRankingTables) m_nRankingTable = 0;
        } while (!recorded(m_nRankingTable));
    };
    if (step == 0) {
        if (!recorded(m_nRankingTable)) move(1);
        return;
    }
    // After the first move the table is a recorded one, and every `count` further moves come
    // back to it.
    const int dir = step > 0 ? 1 : -1;
    const int64_t moves = ((step > 0 ? (int64_t)step : -(int64_t)step) - 1) % count;
    move(dir);
    for (int64_t i = 0; i < moves; ++i) move(dir);
}
