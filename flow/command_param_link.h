// Parameter links: the arrange command queues "take parameter p of the next command of kind k
// and combine it with variable v by operation o"; the next command of the flow (or the next
// instant command of an item) gets every queued link applied, the result clamped to the
// parameter's range and written back into the command record.
//
// What the caller supplies: the pending list (one per running flow for main commands, one per
// hero for the instant commands of items, always the first hero's), the play scene's stage
// variables and the variables of the character that runs the command. Common variables are the
// play data's (g_SaveData.m_vecCommonVars).
#pragma once

#include <cstdint>
#include <vector>

#include "flow/flow_cmd.h"

// A copy of the arrange command's five parameters: kind, parameter number, operation (0-6),
// source (0 common, 1 stage, 2 character variable), variable index.
typedef std::vector<int32_t> CMDPARAMLINK;
// Pending links in the order they were queued.
typedef std::vector<CMDPARAMLINK> CMDPARAMLINKLIST;

enum {
    PARAMLINK_KIND = 0,
    PARAMLINK_PARAM,
    PARAMLINK_OP,
    PARAMLINK_SOURCE,
    PARAMLINK_VAR,
    PARAMLINK_COUNT,
};

// The arrange command (main kind 38 or instant kind 23): appends a copy of its parameters.
void QueueCommandParamLink(CMDPARAMLINKLIST& pending, const cFlowCmd& arrange);

// Applies one link to one command: nothing when the link names another kind, the kind has no
// setter, or the variable index lies outside its list. A parameter number outside the kind's
// rows is an index error of the checked access. The common variables are read from the play
// data.
void ApplyCommandParamVars(cFlowCmd& cmd, const CMDPARAMLINK& link, const std::vector<int32_t>& stageVars,
                           const std::vector<int32_t>& charaVars);

// A command of a running flow is (re)started: unless it is itself an arrange command, every
// pending link of the flow is applied to it in order and the list is emptied (links naming
// other kinds are dropped with the rest). An arrange command leaves the list as it is.
void LinkCommandParams(cFlowCmd& cmd, CMDPARAMLINKLIST& flowPending, const std::vector<int32_t>& stageVars,
                       const std::vector<int32_t>& charaVars);

// An item runs an instant command: the same with the hero's pending list.
void LinkCharaParamVars(cFlowCmd& cmd, CMDPARAMLINKLIST& heroPending, const std::vector<int32_t>& stageVars,
                        const std::vector<int32_t>& charaVars);

// The combination of a current value x with a variable value y by operation o (0 "＝", 1 "＋",
// 2 "－", 3 "×", 4 "÷", 5 "÷ X の余り", 6 "X ％"), clamped to lo..hi. The arithmetic is exact
// (64-bit) before the clamp, so an overflowing result takes the bound on its own side;
// division and remainder by 0 and an unknown operation keep x (clamped).
int32_t CombineParamValue(int32_t x, int32_t y, int op, int32_t lo, int32_t hi);
