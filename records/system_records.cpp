// The system sub-records and their helpers.
#include "records/system_records.h"

#include "core/checked.h"
#include "core/helpers.h"
#include "records/system_data.h"

cSysMenuItem::cSysMenuItem() : m_bShown(0) {
    Clear();
    m_bShown = 1;
}

const RECORDLAYOUT& cSysMenuItem::Layout() const {
    static const RECORDLAYOUT layout =
        cLayoutBuilder().Values<&cSysMenuItem::m_bShown>().String<&cSysMenuItem::m_strText>().Build();
    return layout;
}

cSysStatusItem::cSysStatusItem()
    : m_bShown(0), m_bIcon(0), m_bShowValue(0), m_nDigits(0), m_nLimit(0), m_bLimitPercent(0) {
    Clear();
}

const RECORDLAYOUT& cSysStatusItem::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&cSysStatusItem::m_bShown>()
                                           .Values<&cSysStatusItem::m_bIcon>()
                                           .Values<&cSysStatusItem::m_nDigits>()
                                           .Values<&cSysStatusItem::m_bShowValue>(204)
                                           .Values<&cSysStatusItem::m_nLimit>(587)
                                           .Values<&cSysStatusItem::m_bLimitPercent>(587)
                                           .String<&cSysStatusItem::m_strName>()
                                           .Build();
    return layout;
}

void cSysStatusItem::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    if (g_nFileVersion < 204) m_bShowValue = 1;
}

cSysRankingRule::cSysRankingRule() : m_bOn(0) {
    Clear();
    m_vecTables.assign(kRankingTableCount, 0);
}

const RECORDLAYOUT& cSysRankingRule::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder().Values<&cSysRankingRule::m_bOn>().Build();
    return layout;
}

void cSysRankingRule::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadValueList(reader, m_vecTables);
}

void cSysRankingRule::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteValueList(writer, m_vecTables);
}

SYSTEMINIKEY::SYSTEMINIKEY() : m_nKind(0), m_nDefault(0) { Clear(); }

const RECORDLAYOUT& SYSTEMINIKEY::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&SYSTEMINIKEY::m_nKind>()
                                           .Values<&SYSTEMINIKEY::m_nDefault>()
                                           .String<&SYSTEMINIKEY::m_strKey>()
                                           .String<&SYSTEMINIKEY::m_strDefault>()
                                           .Build();
    return layout;
}

void SetIniKey(SYSTEMINIKEY& key, const char* name, int32_t number) {
    key.m_strKey = name ? name : "";
    key.m_nKind = 0;
    key.m_nDefault = number;
}

void SetIniKeyString(SYSTEMINIKEY& key, const char* name, const char* text) {
    key.m_strKey = name ? name : "";
    key.m_nKind = 1;
    key.m_strDefault = text ? text : "";
}

int CountListFlags(int mode) {
    const cSysRankingRule& rule = CheckedAt(g_SystemData.m_vecRankingRules, mode);
    if (!rule.m_bOn) return 0;
    int n = 0;
    for (uint8_t f : rule.m_vecTables) n += f ? 1 : 0;
    return n;
}

bool IsWithinSystemLimit(int item, int32_t value, int32_t maximum) {
    const cSysStatusItem& s = CheckedAt(g_SystemData.m_vecStatusItems, item);
    const int64_t limit = (int64_t)s.m_nLimit;
    if (!s.m_bLimitPercent) return (int64_t)value <= limit;
    if (maximum <= 0) return value <= 0;
    // limit >= value x 100 / maximum, without the division.
    return limit * (int64_t)maximum >= (int64_t)value * 100;
}

int MenuLeftX(int centreX, int first, int count, BOOL cursorRoom) {
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        int c = GetCharCount(CheckedAt(g_SystemData.m_vecTexts, first + i).c_str());
        if (c > widest) widest = c;
    }
    return centreX - ((cursorRoom ? widest + 1 : widest) * 16) / 2;
}
