// The flow condition and key-condition records.
#include "flow/flow_cond.h"

#include "records/record_list.h"

cFlowCond::cFlowCond() { Clear(); }

const RECORDLAYOUT& cFlowCond::Layout() const {
    // From version 110 value2 ... index2 follow the value (a3 and a4 before a1 and a2); older
    // files hold two 16-bit words there instead, which are dropped.
    using C = cFlowCond;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_cKind>()
                                           .Values<&C::m_nValue>()
                                           .Values<&C::m_nValue2>(110)
                                           .Values<&C::m_nValue3>(110)
                                           .Values<&C::m_byA3>(110)
                                           .Values<&C::m_byA4>(110)
                                           .Values<&C::m_byA1>(110)
                                           .Values<&C::m_byA2>(110)
                                           .Values<&C::m_sIndex>(110)
                                           .Values<&C::m_bySource>(110)
                                           .Values<&C::m_byB1>(110)
                                           .Values<&C::m_byB2>(110)
                                           .Values<&C::m_byB3>(110)
                                           .Values<&C::m_wIndex2>(110)
                                           .Discard(2, 1, 0, 110)
                                           .Discard(2, 1, 0, 110)
                                           .Values<&C::m_byOperator>()
                                           .Values<&C::m_byFlag2>(43)
                                           .Values<&C::m_byShape>()
                                           .EveryMemberListed()  // the class has no other members
                                           .Build();
    }();
    return layout;
}

void cFlowCond::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    const uint32_t v = g_nFileVersion;
    if (v >= kDataVersion) return;
    int kind = m_cKind;
    if (v < 160 && kind >= 5) kind += 2;
    m_cKind = (int8_t)(kind > 127 ? 127 : kind);
    if (v < 161 && m_cKind == 6 && m_byA4 == 2) m_byOperator ^= 1;
    // Status thresholds moved up when a status word was inserted (10 at 168, 5 at 203).
    auto up = [](uint8_t& b) { b = (uint8_t)(b < 255 ? b + 1 : 255); };
    auto shiftStatus = [&](int threshold) {
        if (m_byA1 == 0 && m_byA3 != 2 && m_byA4 >= threshold) up(m_byA4);
        if (m_bySource == 2 && m_byB1 != 2 && m_byB2 >= threshold) up(m_byB2);
    };
    if (v < 168 && m_cKind == 4) shiftStatus(10);
    if (v < 203 && m_cKind == 4) shiftStatus(5);
    if (v < 210 && m_cKind == 5 && m_byA3 != 2 && m_byA4 >= 6) up(m_byA4);
    if (v < 657 && m_cKind == 7) m_byA3 = 0;
    if (v < 745 && m_cKind == 7) m_byA1 = 0;
    if (v < 746 && m_cKind == 7) {
        m_bySource = 1;
        m_byB1 = 1;
    }
}

cFlowKeyCond::cFlowKeyCond() { Clear(); }

void cFlowKeyCond::Clear() {
    cDataFile::Clear();
    m_vecKeys.assign(kKeyStateCount, 0);
}

const RECORDLAYOUT& cFlowKeyCond::Layout() const {
    using C = cFlowKeyCond;
    // Built out of line, so the look-up every read makes stays a few instructions.
    static const RECORDLAYOUT layout = []() __attribute__((noinline)) {
        return cLayoutBuilder()
                                           .Values<&C::m_byMirror>()
                                           .Values<&C::m_wMinFrames>()
                                           .Values<&C::m_wMaxFrames>()
                                           .Values<&C::m_byAnyLength>()
                                           .Values<&C::m_byMode>()
                                           .Build();
    }();
    return layout;
}

void cFlowKeyCond::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadValueList(reader, m_vecKeys);
    // The start rule looks at all 19 keys: a short list reads the missing ones as "--".
    if (m_vecKeys.size() < kKeyStateCount) m_vecKeys.resize(kKeyStateCount, 0);
}

void cFlowKeyCond::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteValueList(writer, m_vecKeys);
}
