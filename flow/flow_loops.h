// Loop unrolling of command lists: a loop command (main kind 39, instant kind 24) repeats the
// commands that follow it; before a flow or an item's command list runs, every loop is replaced
// by the repeated block, inner loops in later passes. The unrolled list is capped: a list that
// would grow past kMaxUnrolledCmds commands stops unrolling with one report line and keeps the
// loops that remain as plain commands (a loop command runs as nothing).
#pragma once

#include <vector>

class cFlowCmd;

// The largest command list unrolling may produce.
constexpr int kMaxUnrolledCmds = 20000;

// Expands the first loop command: 1 when one was expanded, 0 when none is left, -1 when the
// expansion would pass the cap (the list is left as it was).
int ExpandFirstLoop(std::vector<cFlowCmd>& cmds);
// Repeats ExpandFirstLoop until no loop is left or the cap is reached (reported once per list).
void ExpandLoopCommands(std::vector<cFlowCmd>& cmds);
// Whether a command is a loop command.
bool IsLoopCommand(const cFlowCmd& cmd);
