#include "flow/flow_loops.h"

#include <algorithm>
#include <cstdint>

#include "core/report.h"
#include "flow/flow_cmd.h"

bool IsLoopCommand(const cFlowCmd& cmd) {
    return cmd.IsInstant() ? cmd.m_cKind == 24 : cmd.m_cKind == 39;
}

int ExpandFirstLoop(std::vector<cFlowCmd>& cmds) {
    auto it = std::find_if(cmds.begin(), cmds.end(), IsLoopCommand);
    if (it == cmds.end()) return 0;
    const size_t at = (size_t)(it - cmds.begin());
    const int64_t count = it->m_vecParams.size() > 0 ? it->m_vecParams[0] : 0;
    int64_t block = it->m_vecParams.size() > 1 ? it->m_vecParams[1] : 0;
    const int64_t after = (int64_t)(cmds.size() - at - 1);
    if (block > after) block = after;
    if (block > 0 && count > 1) {
        // The block stands `count` times in all; the loop command itself goes.
        const int64_t grown = (int64_t)cmds.size() - 1 + block * (count - 1);
        if (grown > kMaxUnrolledCmds) return -1;
        std::vector<cFlowCmd> copy(cmds.begin() + (std::ptrdiff_t)at + 1,
                                   cmds.begin() + (std::ptrdiff_t)(at + 1 + (size_t)block));
        std::vector<cFlowCmd> out;
        out.reserve((size_t)grown);
        out.insert(out.end(), cmds.begin(), cmds.begin() + (std::ptrdiff_t)at);
        for (int64_t i = 0; i < count - 1; ++i) out.insert(out.end(), copy.begin(), copy.end());
        out.insert(out.end(), cmds.begin() + (std::ptrdiff_t)at + 1, cmds.end());
        cmds.swap(out);
        return 1;
    }
    cmds.erase(it);
    return 1;
}

void ExpandLoopCommands(std::vector<cFlowCmd>& cmds) {
    for (int pass = 0;; ++pass) {
        const int r = pass < kMaxUnrolledCmds ? ExpandFirstLoop(cmds) : -1;
        if (r == 0) return;
        if (r < 0) {
            WriteReport("loop commands not unrolled: the list would pass %d commands", kMaxUnrolledCmds);
            return;
        }
    }
}
