// The small records held in the lists of the system settings: menu items, status-bar items,
// per-mode ranking rules and the System.ini keys with their defaults; and the helpers that read
// and write those lists and that menus and the status bar use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"
#include "records/record_list.h"

class cSysMenuItem : public cDataFile {
public:
    cSysMenuItem();  // shown
    const RECORDLAYOUT& Layout() const override;

    uint32_t m_bShown;
    std::string m_strText;
};

class cSysStatusItem : public cDataFile {
public:
    cSysStatusItem();
    const RECORDLAYOUT& Layout() const override;
    // Base read; files older than 204 show the value.
    void Read(cRecordReader& reader) override;

    uint32_t m_bShown;
    uint32_t m_bIcon;         // a 16x16 icon instead of the name
    std::string m_strName;
    uint32_t m_bShowValue;    // from 204: the gauges (items 2 and 3) draw their number
    uint32_t m_nDigits;       // value width in characters (not the gauges)
    uint32_t m_nLimit;        // from 587: warning limit of a gauge
    uint32_t m_bLimitPercent; // from 587: the limit is a percentage of the maximum
};

constexpr int kRankingTableCount = 5;

class cSysRankingRule : public cDataFile {
public:
    cSysRankingRule();  // off, five table flags 0
    const RECORDLAYOUT& Layout() const override;
    // Own fields, then the table flags (u32 count, bytes).
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    uint32_t m_bOn;
    std::vector<uint8_t> m_vecTables;
};

class SYSTEMINIKEY : public cDataFile {
public:
    SYSTEMINIKEY();
    const RECORDLAYOUT& Layout() const override;

    uint32_t m_nKind;  // 0 a number, 1 a text
    std::string m_strKey;
    int32_t m_nDefault;
    std::string m_strDefault;
};

// Key name and number default (kind 0); the text default is unchanged.
void SetIniKey(SYSTEMINIKEY& key, const char* name, int32_t number);
// Key name and text default (kind 1); the number default is unchanged.
void SetIniKeyString(SYSTEMINIKEY& key, const char* name, const char* text);

// The strings of the system settings' lists (no carriage returns are removed).
inline BOOL ReadSysString(std::string& s, cRecordReader& reader) { return ReadListString(reader, s); }
inline void WriteSysString(std::string& s, cRecordWriter& writer) { WriteListString(writer, s); }
inline void WriteSysStringList(std::vector<std::string>& list, cRecordWriter& writer) { WriteStringList(writer, list); }
template <class T>
void WriteSysRecordList(std::vector<T>& list, cRecordWriter& writer) {
    WriteRecordList(writer, list);
}

// Element k = element k - 1 for k from the last index down to i + 1 (the last element is lost;
// element i keeps its value until the caller sets it).
template <class T>
void ShiftUp(std::vector<T>& list, size_t i) {
    if (list.empty()) return;
    for (size_t k = list.size() - 1; k > i; --k) list[k] = list[k - 1];
}
inline void ShiftBytesUp(std::vector<uint8_t>& list, size_t i) { ShiftUp(list, i); }
inline void ShiftStringsUp(std::vector<std::string>& list, size_t i) { ShiftUp(list, i); }
inline void ShiftKeysUp(std::vector<SYSTEMINIKEY>& list, size_t i) { ShiftUp(list, i); }

// The number of ranking tables a play mode records: 0 when its rule is off.
int CountListFlags(int mode);
// Whether a gauge value lies within the warning limit of status item `item`: with the
// percentage flag, limit >= value x 100 / maximum (exact, in 64-bit; a maximum of 0 or below
// counts as within only for a value of 0 or below); otherwise value <= limit (signed 64-bit).
bool IsWithinSystemLimit(int item, int32_t value, int32_t maximum);
// The left x of a text menu centred on `centreX`: the widest of `count` texts of the system
// settings' text list from `first`, in 16-dot characters (one more with cursor room).
int MenuLeftX(int centreX, int first, int count, BOOL cursorRoom);
