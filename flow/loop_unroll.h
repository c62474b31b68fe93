// Loop unrolling of command lists: a loop command (main kind 39 "ループ", instant kind 24)
// repeats the commands after it. Flows unroll their command lists before their running
// instances are built; items unroll their instant commands when they are set up.
#pragma once

#include <cstddef>
#include <vector>

class cFlowCmd;

// The most commands an unrolled list may hold; a loop that would pass it is cut there (its
// block stands as many times as fits) with one report line.
constexpr size_t kMaxUnrolledCommands = 10000;

// Unrolls the first loop command of the list: its block of k commands (parameter 1, at most
// the commands after it) stands c times (parameter 0) and the loop command is erased. 1 when a
// loop command was found, 0 when none is left.
// Lists: a std::vector<cFlowCmd> (items, tests) or a flow's cFlowCmdList.
template <class List> int ExpandFirstLoop(List& cmds);
// Repeats ExpandFirstLoop until no loop command is left (nested loops unroll in later passes).
template <class List> void ExpandLoopCommands(List& cmds);
