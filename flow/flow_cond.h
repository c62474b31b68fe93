// The condition and key-condition records of a flow.
#pragma once

#include <cstdint>
#include <vector>

#include "records/data_file.h"
#include "records/small_list.h"
#include "records/small_values.h"

class cChara;

// One condition: a variable, status or distance test (its meaning per kind belongs to the
// start rule of the flow engine).
class cFlowCond : public cDataFile {
public:
    cFlowCond();  // cleared
    const RECORDLAYOUT& Layout() const override;
    // The body, then the conversions of older versions.
    void Read(cRecordReader& reader) override;
    // The status condition (kind 4) for a character; the right-hand value is stored into
    // m_nValue first (play/status_ops.cpp).
    bool TestValue(cChara* chara);

    int8_t m_cKind;       // 1-7
    uint8_t m_byA1, m_byA2, m_byA3, m_byA4;
    int16_t m_sIndex;     // variable index of kinds 1-3
    uint8_t m_bySource;   // 0 constant, 1 random range, 2 status, 3 variable
    int32_t m_nValue;
    int32_t m_nValue2;
    int32_t m_nValue3;
    uint8_t m_byB1, m_byB2, m_byB3;
    uint16_t m_wIndex2;
    uint8_t m_byOperator; // comparison code 0-7
    uint8_t m_byFlag2;    // percent flag (from version 43)
    uint8_t m_byShape;    // shape of a distance condition
};

// The number of key states of a key condition: 10 direction entries, then 9 button entries.
constexpr size_t kKeyStateCount = 19;

// One step of a key sequence.
class cFlowKeyCond : public cDataFile {
public:
    cFlowKeyCond();  // cleared
    const RECORDLAYOUT& Layout() const override;
    // The body, then the key states (u32 count, bytes), padded to 19.
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;
    // Base clear and 19 key states of 0.
    void Clear();

    cSmallValues<uint8_t, kKeyStateCount> m_vecKeys;  // 0 "--", 1 held, 2 released
    uint8_t m_byMirror;
    uint16_t m_wMinFrames;
    uint16_t m_wMaxFrames;
    uint8_t m_byAnyLength;
    uint8_t m_byMode;  // 0 all, 1 one or more, 2 exactly one
};

// The condition and key-condition lists of a flow (and a block's conditions): nearly always one
// or none, so the one lies inside the owner.
using cFlowCondList = cSmallList<cFlowCond, 1>;
using cFlowKeyCondList = cSmallList<cFlowKeyCond, 1>;
