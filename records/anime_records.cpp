// Animation records.
#include "records/anime_records.h"

#include "records/record_list.h"

namespace {

const char* const kGroupNames[4] = {"立ち", "立ち移動", "飛行", "飛行移動"};

// Makes the group list exactly four long: missing groups are new animations, extra ones go.
void SizeGroupsToFour(std::vector<cAnimeRec>& groups) {
    if (groups.size() > 4) groups.resize(4);
    while (groups.size() < 4) groups.emplace_back();
}

}  // namespace

cAnimeFrameRec::cAnimeFrameRec() : m_nCell(0), m_nDuration(0), m_nLock(0) {
    Clear();
    m_nDuration = 1;
}

const RECORDLAYOUT& cAnimeFrameRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cAnimeFrameRec::m_nCell>()
                                           .Values<&cAnimeFrameRec::m_nDuration>()
                                           .Values<&cAnimeFrameRec::m_nLock>()
                                           .Build();
    return layout;
}

cAnimeRec::cAnimeRec() : m_wValueA(0), m_byValueB(0), m_wValueC(0) { Init(); }

const RECORDLAYOUT& cAnimeRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cAnimeRec::m_wValueA>(55)
                                           .Values<&cAnimeRec::m_byValueB>(55)
                                           .Values<&cAnimeRec::m_wValueC>(55)
                                           .String<&cAnimeRec::m_strName>()
                                           .Build();
    return layout;
}

void cAnimeRec::Init() {
    Clear();
    m_vecFrames.assign(1, cAnimeFrameRec());
    m_byValueB = 1;
}

void cAnimeRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    static const cAnimeFrameRec kNewFrame;
    ReadRecordList(reader, m_vecFrames, kNewFrame);
}

void cAnimeRec::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecFrames);
}

cAnimeSetRec::cAnimeSetRec() : m_nOffsetA(0), m_nOffsetB(0), m_nOffsetC(0) { Init(); }

const RECORDLAYOUT& cAnimeSetRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cAnimeSetRec::m_nOffsetA>()
                                           .Values<&cAnimeSetRec::m_nOffsetB>()
                                           .Values<&cAnimeSetRec::m_nOffsetC>(119)
                                           .String<&cAnimeSetRec::m_strName>()
                                           .Build();
    return layout;
}

void cAnimeSetRec::Init() {
    Clear();
    SizeGroupsToFour(m_vecGroups);
    for (int i = 0; i < 4; ++i) m_vecGroups[(size_t)i].m_strName = kGroupNames[i];
}

void cAnimeSetRec::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    static const cAnimeRec kNewGroup;
    ReadRecordList(reader, m_vecGroups, kNewGroup);
    if (g_nFileVersion < 119) SizeGroupsToFour(m_vecGroups);
    if (g_nFileVersion < 128) {
        SizeGroupsToFour(m_vecGroups);
        m_vecGroups[2].m_strName = kGroupNames[2];
        m_vecGroups[3].m_strName = kGroupNames[3];
    }
}

void cAnimeSetRec::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteRecordList(writer, m_vecGroups);
}
