// A small record class that uses every feature of the record framework: value blocks of every
// element size, an array block, a double, strings, version gates (one interval gate), a word
// that old versions hold and that is dropped, and a nested counted list of sub-records.
// Tests, fuzz targets and benchmarks of the framework use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/data_file.h"

class cSampleItem : public cDataFile {
public:
    cSampleItem();
    const RECORDLAYOUT& Layout() const override;

    int32_t m_nValue;
    std::string m_strLabel;
};

class cSampleRecord : public cDataFile {
public:
    cSampleRecord();
    const RECORDLAYOUT& Layout() const override;
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // File order: byte, short, three words, the word of versions 150..159 (dropped), the gated
    // word (from 200), long, double; strings name, then note (from 300).
    uint8_t m_byFlag;
    int16_t m_sShort;
    uint32_t m_anWords[3];
    int32_t m_nGated;   // from version 200
    int64_t m_llLong;
    double m_dRate;
    std::string m_strName;
    std::string m_strNote;  // from version 300
    std::vector<cSampleItem> m_vecItems;
};
