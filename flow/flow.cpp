// The flow record and the counted lists of flows, commands and conditions.
#include "flow/flow.h"

#include <algorithm>

#include "core/globals.h"
#include "records/record_list.h"
#include "records/system_data.h"

namespace {

// The smallest bodies of the records in lists: a list count that cannot fit them is damage.
constexpr size_t kMinCondBytes = 8;      // N, S
constexpr size_t kMinKeyCondBytes = 12;  // N, S, key count
constexpr size_t kMinCmdBytes = 24;      // N, S, two part words, flow count, parameter count
constexpr size_t kMinFlowBytes = 20;     // N, S, three list counts

// How deep flows are being read on this thread (flows inside commands inside flows).
thread_local int t_nFlowDepth = 0;

// Empties a list and sizes it to a count read from the file, with new records.
template <class List>
bool ReadListCount(cRecordReader& reader, List& list, size_t minBytes) {
    uint32_t n;
    if (!reader.ReadCount(n, minBytes)) return false;
    AssignNewRecords(list, n);
    return true;
}

template <class T>
void WriteList(cRecordWriter& writer, std::span<T> list) {
    writer.WriteU32((uint32_t)list.size());
    for (T& e : list) e.Write(writer);
}

}  // namespace

cFlow::cFlow() { Clear(); }

const RECORDLAYOUT& cFlow::Layout() const {
    using C = cFlow;
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&C::m_byId>()
                                           .Values<&C::m_cGroup>()
                                           .Values<&C::m_byErase>()
                                           .Values<&C::m_byCondMode>()
                                           .Values<&C::m_byOnceHeld>()
                                           .Values<&C::m_cTrigger>()
                                           .Values<&C::m_cKeyWindow>()
                                           .Values<&C::m_byKeyRepeat>()
                                           .String<&C::m_strName>(676)
                                           .Build();
    return layout;
}

void cFlow::Read(cRecordReader& reader) {
    cDataFile::Read(reader);
    ReadFlowCondList(reader, m_vecConds);
    if (ReadListCount(reader, m_vecKeyConds, kMinKeyCondBytes))
        for (cFlowKeyCond& k : m_vecKeyConds) k.Read(reader);
    const BOOL cmdsRead = ReadFlowCmdList(reader, m_vecCmds);
    const uint32_t v = g_nFileVersion;
    if (v < kDataVersion) {
        int trigger = m_cTrigger;
        if (v <= 131 && trigger >= 11) trigger += 1;
        if (v < 163 && trigger != 0) m_cGroup = 0;
        if (v < 164 && trigger >= 5) trigger += 2;
        m_cTrigger = (int8_t)std::min(trigger, 127);
    }
    m_strName.clear();
    if (m_cGroup < 0 || m_cGroup > kMaxFlowGroup) m_cGroup = 0;
    // Commands read from the list have validated themselves; commands the list left in place
    // are validated here.
    PadKeyConds();
    if (!cmdsRead)
        for (cFlowCmd& c : m_vecCmds) c.Validate();
}

void cFlow::Write(cRecordWriter& writer) {
    cDataFile::Write(writer);
    WriteFlowCondList(writer, m_vecConds);
    WriteList(writer, std::span<cFlowKeyCond>(m_vecKeyConds));
    WriteFlowCmdList(writer, m_vecCmds);
}

void cFlow::ValidateAll() {
    PadKeyConds();
    for (cFlowCmd& c : m_vecCmds) c.Validate();
}

void cFlow::PadKeyConds() {
    for (cFlowKeyCond& k : m_vecKeyConds)
        if (k.m_vecKeys.size() < kKeyStateCount) k.m_vecKeys.resize(kKeyStateCount, 0);
}

void cFlow::ValidateCmdRefs() {
    for (cFlowCmd& c : m_vecCmds) c.ValidateRefs();
}

BOOL ReadFlowList(cRecordReader& reader, std::vector<cFlow>& list) {
    if (t_nFlowDepth >= kMaxFlowNesting) {
        reader.MarkDamaged("flows nested too deeply");
        return FALSE;
    }
    if (!ReadListCount(reader, list, kMinFlowBytes)) return FALSE;
    ++t_nFlowDepth;
    for (cFlow& f : list) f.Read(reader);
    --t_nFlowDepth;
    return TRUE;
}

namespace {

template <class List>
BOOL ReadCmds(cRecordReader& reader, List& list) {
    if (!ReadListCount(reader, list, kMinCmdBytes)) return FALSE;
    for (cFlowCmd& c : list) c.Read(reader);
    return TRUE;
}

template <class List>
BOOL ReadConds(cRecordReader& reader, List& list) {
    if (!ReadListCount(reader, list, kMinCondBytes)) return FALSE;
    for (cFlowCond& c : list) c.Read(reader);
    return TRUE;
}

}  // namespace

BOOL ReadFlowCmdList(cRecordReader& reader, std::vector<cFlowCmd>& list) { return ReadCmds(reader, list); }
BOOL ReadFlowCmdList(cRecordReader& reader, cFlowCmdList& list) { return ReadCmds(reader, list); }
BOOL ReadFlowCondList(cRecordReader& reader, std::vector<cFlowCond>& list) { return ReadConds(reader, list); }
BOOL ReadFlowCondList(cRecordReader& reader, cFlowCondList& list) { return ReadConds(reader, list); }

void WriteFlowList(cRecordWriter& writer, std::vector<cFlow>& list) { WriteList(writer, std::span<cFlow>(list)); }
void WriteFlowCmdList(cRecordWriter& writer, std::span<cFlowCmd> list) { WriteList(writer, list); }
void WriteFlowCondList(cRecordWriter& writer, std::span<cFlowCond> list) { WriteList(writer, list); }

void FlowVector_EraseMarked(std::vector<cFlow>& flows) {
    flows.erase(std::remove_if(flows.begin(), flows.end(), [](const cFlow& f) { return f.m_byErase != 0; }),
                flows.end());
}

bool KeepMarkedFlows() { return g_bEditor.load() != 0 || g_SystemData.m_bKeepFlows != 0; }
