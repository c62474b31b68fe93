// Applying parameter links to commands.
#include "flow/command_param_link.h"

#include "core/checked.h"
#include "core/report.h"
#include "flow/command_param_access.h"
#include "flow/command_param_table.h"
#include "flow/shot_param_desc.h"
#include "records/save_data.h"

namespace {

constexpr int kArrangeKind = 38;

// The variable a link reads: FALSE when its index lies outside the source's valid range
// (element 0 of the common and stage variables is never read).
BOOL ReadLinkedVariable(int source, int index, const std::vector<int32_t>& stageVars,
                        const std::vector<int32_t>& charaVars, int32_t& value) {
    const std::vector<int32_t>* vars = nullptr;
    int first = 1;
    switch (source) {
        case 0: vars = &g_SaveData.m_vecCommonVars; break;
        case 1: vars = &stageVars; break;
        case 2: vars = &charaVars; first = 0; break;
        default: return FALSE;
    }
    if (index < first || (size_t)index >= vars->size()) return FALSE;
    value = (*vars)[(size_t)index];
    return TRUE;
}

// The range of the formation and move-type values comes from the command's own formation or
// move type. FALSE when that kind lies outside its table (the command is left unchanged).
BOOL ReplacedRange(int kind, int p, const cFlowCmd& cmd, int32_t& lo, int32_t& hi) {
    int first = -1;
    switch (kind) {
        case 11:
        case 14: first = 2; break;
        case 13: first = 0; break;
        case 15: first = 1; break;
    }
    const bool formation = first >= 0 && p >= first && p < first + kShotParamSlots;
    const bool moveType = kind == 11 && p >= 15 && p < 15 + kShotParamSlots;
    if (!formation && !moveType) return TRUE;
    if (!cmd.m_pShot) return FALSE;
    cEdShot& shot = *cmd.m_pShot;
    const SHOTPARAMDESC* desc = formation ? FormationParam(shot.Formation(), p - first)
                                          : TrajectoryParam(shot.Trajectory(), p - 15);
    if (!desc) {
        WriteReport("ApplyCommandParamVars : %s %d out of range", formation ? "formation" : "move type",
                    formation ? shot.Formation() : shot.Trajectory());
        return FALSE;
    }
    lo = desc->nMin;
    hi = desc->nMax;
    return TRUE;
}

void ApplyAll(cFlowCmd& cmd, CMDPARAMLINKLIST& pending, const std::vector<int32_t>& stageVars,
              const std::vector<int32_t>& charaVars) {
    if (cmd.MainKind() == kArrangeKind) return;
    for (const CMDPARAMLINK& link : pending) ApplyCommandParamVars(cmd, link, stageVars, charaVars);
    pending.clear();
}

}  // namespace

int32_t CombineParamValue(int32_t x, int32_t y, int op, int32_t lo, int32_t hi) {
    const int64_t x64 = x, y64 = y;
    int64_t r = x64;
    switch (op) {
        case 0: r = y64; break;
        case 1: r = x64 + y64; break;
        case 2: r = x64 - y64; break;
        case 3: r = x64 * y64; break;
        case 4:
            if (y64 != 0) r = x64 / y64;
            break;
        case 5:
            if (y64 != 0) r = x64 % y64;
            break;
        case 6: {
            // Half away from zero, the tenths computed on the magnitude so both signs round alike.
            const int64_t t = x64 * y64;
            const double z = y64 < 0 ? -((double)(-t) * 0.01) : (double)t * 0.01;
            const double rounded = z >= 0.0 ? z + 0.5 : z - 0.5;
            if (rounded < (double)lo) return lo;
            if (rounded > (double)hi) return hi;
            r = (int64_t)rounded;
            break;
        }
    }
    if (r < lo) return lo;
    if (r > hi) return hi;
    return (int32_t)r;
}

void QueueCommandParamLink(CMDPARAMLINKLIST& pending, const cFlowCmd& arrange) {
    pending.push_back(arrange.m_vecParams);
}

void ApplyCommandParamVars(cFlowCmd& cmd, const CMDPARAMLINK& link, const std::vector<int32_t>& stageVars,
                           const std::vector<int32_t>& charaVars) {
    // A link always holds the arrange command's five values; a shorter one is no link.
    if (link.size() < PARAMLINK_COUNT) return;
    const int kind = cmd.MainKind();
    if (link[PARAMLINK_KIND] != kind) return;
    CMDPARAMGETFUNC get = CommandParamGetter(kind);
    CMDPARAMSETFUNC set = CommandParamSetter(kind);
    if (!get || !set) return;
    const std::vector<CMDPARAMDESC>& rows = CheckedAt(g_vecCommandParams, kind);
    // Kinds 3, 4 and 7 have a pair but nothing to drive.
    if (rows.empty()) return;

    int32_t y = 0;
    if (!ReadLinkedVariable(link[PARAMLINK_SOURCE], link[PARAMLINK_VAR], stageVars, charaVars, y)) return;

    const int p = link[PARAMLINK_PARAM];
    if (p < 0 || (size_t)p >= rows.size()) {
        CheckedAt(rows, p);  // reports the index error and closes the program
        return;
    }
    int32_t lo = rows[(size_t)p].nMin, hi = rows[(size_t)p].nMax;
    if (!ReplacedRange(kind, p, cmd, lo, hi)) return;

    int32_t x = 0;
    if (!get(x, p, cmd)) return;
    set(CombineParamValue(x, y, link[PARAMLINK_OP], lo, hi), p, cmd);
}

void LinkCommandParams(cFlowCmd& cmd, CMDPARAMLINKLIST& flowPending, const std::vector<int32_t>& stageVars,
                       const std::vector<int32_t>& charaVars) {
    ApplyAll(cmd, flowPending, stageVars, charaVars);
}

void LinkCharaParamVars(cFlowCmd& cmd, CMDPARAMLINKLIST& heroPending, const std::vector<int32_t>& stageVars,
                        const std::vector<int32_t>& charaVars) {
    ApplyAll(cmd, heroPending, stageVars, charaVars);
}
