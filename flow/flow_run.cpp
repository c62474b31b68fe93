#include "flow/flow_run.h"

#include <algorithm>
#include <cmath>

#include "app/scene_manager.h"
#include "core/checked.h"
#include "core/report.h"
#include "flow/flow.h"
#include "flow/flow_dispatch.h"
#include "flow/flow_words.h"
#include "play/chara.h"
#include "play/play_scene.h"
#include "records/stage.h"

namespace {

// The stage variables of the play scene (an empty list without one).
std::vector<int32_t>& StageVars() {
    static std::vector<int32_t> s_vecNone;
    return g_lpPlayScene ? g_lpPlayScene->m_vecStageVars : s_vecNone;
}

// The release of a stopped flow's group.
void ReleaseGroup(cChara& chara, const cFlow* flow) {
    if (!flow) return;
    const int g = flow->m_cGroup;
    if (g <= 0 || g >= kFlowGroupCount) return;
    std::vector<uint8_t>& released = chara.m_avecGroupStop[1];
    if (released.size() < (size_t)kFlowGroupCount) released.resize(kFlowGroupCount, 0);
    released[(size_t)g] = 1;
    chara.m_bGroupsReleased = 1;
}

int32_t ClampSteps(int64_t v) { return (int32_t)std::clamp<int64_t>(v, 0, kMaxCmdSteps); }

}  // namespace

int FlowSubSteps() { return g_StageSettings.m_nSubSteps > 0 ? g_StageSettings.m_nSubSteps : 1; }

int32_t CmdDuration(const cFlowCmd& cmd, int cloneValue) {
    const int64_t tenths = (int64_t)cmd.m_wTime + (int64_t)(int16_t)cmd.m_wTimeStep * cloneValue;
    return ClampSteps(tenths * 6 * FlowSubSteps());
}

bool IsFollowMessage(const cFlowCmd& cmd) {
    if (cmd.IsInstant() || cmd.m_cKind != 19) return false;
    const auto p = [&](size_t i) { return i < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0; };
    return p(6) == 0 && p(15) == 0;
}

void CmdTimeValue(CMDINSTANCE& inst, cFlowCmd& cmd, int cloneValue) {
    if (!cmd.m_pMove) return;
    cEdMove& m = *cmd.m_pMove;
    double d = (int16_t)m.Distance();
    if ((int16_t)m.DistanceStep() != 0) d += (double)(int16_t)m.DistanceStep() * cloneValue;
    if (m.DistanceUnit() != 1) d *= 16.0;
    switch (m.ComputeMode()) {
    case 1:
        // Speed from the time: a command of no time covers the distance in its one step.
        inst.dSpeed = inst.nDuration > 0 ? d / inst.nDuration : d;
        break;
    case 2: {
        if (inst.dSpeed == 0.0) break;  // no speed: the time stays
        double t = std::trunc(d / inst.dSpeed);
        if (!flowwords::KeepNegativeTime() && t < 0.0) t = -t;
        inst.nDuration = (int32_t)std::clamp(t, (double)-kMaxCmdSteps, (double)kMaxCmdSteps);
        break;
    }
    default: break;
    }
}

cFlow* cFlowRun::Flow(cChara& chara) const {
    std::vector<cFlow>& flows = chara.m_Def.m_vecFlows;
    if (m_nFlowIndex < 0 || (size_t)m_nFlowIndex >= flows.size()) return nullptr;
    return &flows[(size_t)m_nFlowIndex];
}

void cFlowRun::Start(cChara& chara) {
    if (m_bStarting) {
        // A flow that starts itself again while it starts (trigger 18) would never end.
        WriteReport("flow %d started again while it starts: ignored", m_nFlowIndex);
        return;
    }
    m_bRunning = 1;
    ++m_nStartCount;
    m_nCurrent = 0;
    m_nStepCount = 0;
    m_bMsgFollow = 0;
    for (CMDINSTANCE& inst : m_vecCmd) inst.bDone = 0;
    m_bStarted = 1;
    cFlow* flow = Flow(chara);
    if (!flow) return;
    const int g = flow->m_cGroup;
    if (flow->m_cTrigger == 0 && g > 0 && g < kFlowGroupCount) {
        for (int t : {0, 2}) {
            std::vector<uint8_t>& table = chara.m_avecGroupStop[t];
            if (table.size() < (size_t)kFlowGroupCount) table.resize(kFlowGroupCount, 0);
            table[(size_t)g] = 1;
        }
    }
    if (flow->m_cTrigger == 18 && !m_vecCmd.empty()) {
        // Before the stage starts only the run-with-next commands of kind 16 and above run, once.
        m_bStarting = 1;
        if (g_lpPlayScene) g_lpPlayScene->m_lpRunFlow = this;
        m_bOperation = 0;
        for (size_t i = 0; i < m_vecCmd.size(); ++i) {
            cFlow* f = Flow(chara);
            if (!f || (size_t)m_vecCmd[i].nCmd >= f->m_vecCmds.size()) break;
            const cFlowCmd& cmd = f->m_vecCmds[(size_t)m_vecCmd[i].nCmd];
            if (cmd.m_cKind < 16 || !cmd.m_byWithNext) continue;
            ResetCmd(chara, m_vecCmd[i]);
            ExecOne(chara, m_vecCmd[i]);
            m_vecCmd[i].bDone = 1;
            if (m_bOperation) break;
        }
        m_bStarting = 0;
        Stop(chara);
    }
}

int cFlowRun::Step(cChara& chara) {
    if (g_lpPlayScene) g_lpPlayScene->m_lpRunFlow = this;
    m_bOperation = 0;
    const int count = (int)m_vecCmd.size();
    for (int i = 0; i <= m_nCurrent && i < count; ++i) {
        cFlow* flow = Flow(chara);
        if (!flow) return 1;
        CMDINSTANCE& inst = m_vecCmd[(size_t)i];
        if (inst.bDone) continue;
        if ((size_t)inst.nCmd >= flow->m_vecCmds.size()) return 1;
        const cFlowCmd& cmd = flow->m_vecCmds[(size_t)inst.nCmd];
        const bool withNext = cmd.m_byWithNext != 0;
        const bool follow = IsFollowMessage(cmd);
        if (inst.nRemaining == 0) {
            ResetCmd(chara, inst);
            if (!follow && !withNext) m_bMsgFollow = 0;
        }
        const int32_t starts = m_nStartCount;
        const int out = ExecOne(chara, inst);
        // A flow operation that restarted or ended this flow: its step ends here (a restarted
        // flow begins with its first command at the next step).
        if (m_bOperation && (m_nStartCount != starts || !m_bRunning)) return 0;
        if (withNext) {
            if (out) {
                inst.bDone = 1;
                if (i == count - 1) return 1;
            }
            if (i == m_nCurrent) ++m_nCurrent;
            if (m_bOperation) return 0;
        } else {
            if (!out) {
                if (m_bOperation) return 0;
                continue;
            }
            inst.bDone = 1;
            if (follow) m_bMsgFollow = 1;
            if (m_bOperation) {
                // Suspended, deleted or halted by its own command: the step ends after it.
                if (i < count - 1) ++m_nCurrent;
                return 0;
            }
            if (i == count - 1) return 1;
            ++m_nCurrent;
            break;
        }
    }
    if (m_vecCmd.empty() || m_vecCmd.back().bDone) return 1;
    ++m_nStepCount;
    return 0;
}

void cFlowRun::Stop(cChara& chara) {
    if (!m_bRunning) return;
    m_bRunning = 0;
    m_listPending.clear();
    for (CMDINSTANCE& inst : m_vecCmd) inst.nRemaining = 0;
    ReleaseGroup(chara, Flow(chara));
}

void cFlowRun::StopForever(cChara& chara) {
    m_bHalted = 1;
    if (!m_bRunning) return;
    for (CMDINSTANCE& inst : m_vecCmd) inst.nRemaining = 0;
    ReleaseGroup(chara, Flow(chara));
}

void cFlowRun::ResetCmd(cChara& chara, CMDINSTANCE& inst) {
    inst.nRemaining = inst.nDuration;
    inst.bDone = 0;
    inst.nRepeat = 0;
    inst.bStarted = 0;
    inst.dVX = inst.dVY = 0.0;
    inst.nDirCode = 0;
    inst.nStepNo = 0;
    inst.bNoTarget = 0;
    inst.vecQueue.clear();
    inst.bJumped = 0;
    inst.bJumpEnd = 0;
    cFlow* flow = Flow(chara);
    if (!flow || (size_t)inst.nCmd >= flow->m_vecCmds.size()) return;
    cFlowCmd& cmd = flow->m_vecCmds[(size_t)inst.nCmd];
    if (cmd.m_cKind != 38) LinkCommandParams(cmd, m_listPending, StageVars(), chara.m_vecVar);
}

int cFlowRun::ExecOne(cChara& chara, CMDINSTANCE& inst) {
    cFlow* flow = Flow(chara);
    if (!flow || (size_t)inst.nCmd >= flow->m_vecCmds.size()) {
        inst.nRemaining = 0;
        return 1;
    }
    inst.lpCmd = &flow->m_vecCmds[(size_t)inst.nCmd];
    if (g_lpPlayScene) g_lpPlayScene->m_lpRunCmd = &inst;
    ExecFlowCommand(chara, inst);
    inst.lpCmd = nullptr;
    if (--inst.nRemaining <= 0) {
        inst.nRemaining = 0;
        return 1;
    }
    return 0;
}
