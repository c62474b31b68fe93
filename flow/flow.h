// The flow record: one behaviour script of a character or an item (a trigger, conditions, key
// conditions and commands), and the counted lists of flows and commands in record files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "flow/flow_cmd.h"
#include "flow/flow_cond.h"
#include "records/data_file.h"

// Group numbers of flows: 0 no group, 1-26 the letters A-Z.
constexpr int kMaxFlowGroup = 26;
// Flows are read inside commands inside flows; deeper nesting than this is a damaged file.
constexpr int kMaxFlowNesting = 8;

class cFlow : public cDataFile {
public:
    cFlow();  // cleared, empty lists
    const RECORDLAYOUT& Layout() const override;
    // The body and the three lists, the conversions of older versions; the name is emptied
    // (the player keeps no flow names), a group outside 0-26 becomes 0; the flow then holds
    // what ValidateAll makes of it (each command read validates itself).
    void Read(cRecordReader& reader) override;
    void Write(cRecordWriter& writer) override;

    // Validates every command (and pads every key condition to its 19 keys).
    void ValidateAll();
    // Pads every key condition to its 19 keys.
    void PadKeyConds();
    // ValidateRefs on every command.
    void ValidateCmdRefs();
    // No conditions, no key conditions and no commands.
    bool IsEmpty() const { return m_vecConds.empty() && m_vecKeyConds.empty() && m_vecCmds.empty(); }

    std::string m_strName;  // from version 676
    uint8_t m_byId;
    int8_t m_cGroup;        // 0 no group, 1-26
    uint8_t m_byErase;      // removed after loading unless flagged flows are kept
    uint8_t m_byCondMode;   // 0 all conditions, 1 any one
    uint8_t m_byOnceHeld;
    int8_t m_cTrigger;      // 0-19
    int8_t m_cKeyWindow;
    uint8_t m_byKeyRepeat;
    cFlowCondList m_vecConds;
    cFlowKeyCondList m_vecKeyConds;
    cFlowCmdList m_vecCmds;
};
static_assert(std::is_nothrow_move_constructible_v<cFlow>, "flow vectors move their flows when they grow");

// Counted lists: the list is emptied, sized to the count with new records, and each record
// reads itself. FALSE when the count could not be read or cannot fit in what remains, or when
// flows are nested too deeply (the read then ends as damaged).
BOOL ReadFlowList(cRecordReader& reader, std::vector<cFlow>& list);
// The command and condition lists come as vectors (items, characters) and as the flows' and
// blocks' own list types.
BOOL ReadFlowCmdList(cRecordReader& reader, std::vector<cFlowCmd>& list);
BOOL ReadFlowCmdList(cRecordReader& reader, cFlowCmdList& list);
BOOL ReadFlowCondList(cRecordReader& reader, std::vector<cFlowCond>& list);
BOOL ReadFlowCondList(cRecordReader& reader, cFlowCondList& list);
void WriteFlowList(cRecordWriter& writer, std::vector<cFlow>& list);
void WriteFlowCmdList(cRecordWriter& writer, std::span<cFlowCmd> list);
void WriteFlowCondList(cRecordWriter& writer, std::span<cFlowCond> list);

// Removes every flow whose erase mark is set; the others keep their order.
void FlowVector_EraseMarked(std::vector<cFlow>& flows);
// Flows with the erase mark stay in a run started by the editor and when the project's system
// settings keep them.
bool KeepMarkedFlows();
