#include "flow/loop_unroll.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <list>

#include "core/report.h"
#include "flow/flow_cmd.h"

namespace {
constexpr int kLoopKind = 39;
constexpr int kInstantLoopKind = 24;

bool IsLoop(const cFlowCmd& cmd) { return cmd.m_cKind == (cmd.IsInstant() ? kInstantLoopKind : kLoopKind); }
int32_t Param(const cFlowCmd& cmd, size_t i) { return i < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0; }

// How many further copies of a block of k commands fit in a list of `size` commands; the first
// cut of a list is reported.
int64_t CopiesThatFit(int64_t count, int64_t k, size_t size, bool& reported) {
    if (k <= 0 || count <= 1) return 0;
    const int64_t room = std::max<int64_t>(((int64_t)kMaxUnrolledCommands - (int64_t)size) / k, 0);
    if (count - 1 <= room) return count - 1;
    if (reported) return room;
    reported = true;
    WriteReport("Loop unrolled %lld times instead of %lld (command limit %u)", (long long)(room + 1), (long long)count,
                (unsigned)kMaxUnrolledCommands);
    return room;
}
}  // namespace

template <class List>
int ExpandFirstLoop(List& cmds) {
    const auto loop = std::find_if(cmds.begin(), cmds.end(), IsLoop);
    if (loop == cmds.end()) return 0;
    const size_t at = (size_t)(loop - cmds.begin());
    const int64_t k = std::min<int64_t>(std::max<int64_t>(Param(*loop, 1), 0), (int64_t)(cmds.size() - at - 1));
    bool reported = false;
    const int64_t copies = CopiesThatFit(Param(*loop, 0), k, cmds.size(), reported);
    if (copies > 0) {
        const std::vector<cFlowCmd> block(cmds.begin() + (ptrdiff_t)at + 1, cmds.begin() + (ptrdiff_t)(at + 1 + (size_t)k));
        std::vector<cFlowCmd> inserted;
        inserted.reserve((size_t)(copies * k));
        for (int64_t c = 0; c < copies; ++c) inserted.insert(inserted.end(), block.begin(), block.end());
        cmds.insert(cmds.begin() + (ptrdiff_t)at + 1, inserted.begin(), inserted.end());
    }
    cmds.erase(cmds.begin() + (ptrdiff_t)at);
    return 1;
}

template <class List>
void ExpandLoopCommands(List& cmds) {
    // The same as ExpandFirstLoop again and again, on a list so that each step costs only what
    // it inserts: nothing before the first loop command ever changes again.
    if (std::none_of(cmds.begin(), cmds.end(), IsLoop)) return;
    std::list<cFlowCmd> work(std::make_move_iterator(cmds.begin()), std::make_move_iterator(cmds.end()));
    size_t size = work.size();
    bool reported = false;
    auto pos = work.begin();
    while ((pos = std::find_if(pos, work.end(), IsLoop)) != work.end()) {
        const int64_t count = Param(*pos, 0), wanted = std::max<int64_t>(Param(*pos, 1), 0);
        // The block: at most `wanted` commands after the loop command.
        auto blockEnd = std::next(pos);
        int64_t k = 0;
        if (count > 1)
            while (k < wanted && blockEnd != work.end()) ++blockEnd, ++k;
        const int64_t copies = CopiesThatFit(count, k, size, reported);
        if (copies > 0) {
            const std::vector<cFlowCmd> block(std::next(pos), blockEnd);
            for (int64_t c = 0; c < copies; ++c) work.insert(blockEnd, block.begin(), block.end());
            size += (size_t)(copies * k);
        }
        pos = work.erase(pos);
        --size;
    }
    cmds.assign(std::make_move_iterator(work.begin()), std::make_move_iterator(work.end()));
}

template int ExpandFirstLoop(std::vector<cFlowCmd>&);
template int ExpandFirstLoop(cFlowCmdList&);
template void ExpandLoopCommands(std::vector<cFlowCmd>&);
template void ExpandLoopCommands(cFlowCmdList&);
