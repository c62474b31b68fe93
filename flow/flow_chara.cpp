// A character's running flows: building the instances from a flow set, binding them to the
// character's flows, copying, ending and removing them, and the flow walk of RunFlows.
#include <algorithm>

#include "app/scene_manager.h"
#include "core/checked.h"
#include "core/report.h"
#include "flow/flow.h"
#include "flow/flow_dispatch.h"
#include "flow/loop_unroll.h"
#include "flow/flow_move.h"
#include "flow/flow_run.h"
#include "play/chara.h"
#include "play/play_scene.h"
#include "records/database.h"

namespace {

// Sub-steps of an animation's run up to its first loop point (its whole length without one).
int64_t WindUpLength(int anime) {
    if (anime <= 0 || (size_t)anime >= g_Database.m_vecAnime.size()) return 0;
    int64_t tenths = 0;
    for (const cAnimeFrameRec& f : g_Database.m_vecAnime[(size_t)anime].m_vecFrames) {
        tenths += std::max<int32_t>(f.m_nDuration, 0);
        if (f.m_nLock) break;
    }
    return tenths * 6 * FlowSubSteps();
}

// The wind-up schedule of one flow: each animation ends as its command starts, or starts at
// step 0 with the part that does not fit skipped.
void BuildWindUps(cFlowRun& run, const cFlow& flow) {
    run.m_vecWindUp.clear();
    for (size_t k = 0; k < run.m_vecCmd.size() && k < flow.m_vecCmds.size(); ++k) {
        const cFlowCmd& cmd = flow.m_vecCmds[k];
        if (cmd.m_wAnime == 0) continue;
        const int64_t length = WindUpLength(cmd.m_wAnime);
        int64_t left = length;
        int64_t before = 0;  // steps from the flow's start to the command's start
        for (size_t j = k; j-- > 0;) {
            if (flow.m_vecCmds[j].m_byWithNext) continue;
            before += std::max(run.m_vecCmd[j].nDuration, 1);
        }
        int64_t covered = 0;
        for (size_t j = k; j-- > 0 && left > 0;) {
            if (flow.m_vecCmds[j].m_byWithNext) continue;
            const int64_t d = std::max(run.m_vecCmd[j].nDuration, 1);
            left -= d;
            covered += d;
        }
        WINDUPENTRY e = {};
        e.nAnime = cmd.m_wAnime;
        e.nFrames = (int32_t)std::min<int64_t>(length / FlowSubSteps(), kMaxCmdSteps);
        e.nCmdFrames = (int32_t)std::min<int64_t>((int64_t)cmd.m_wTime * 6, kMaxCmdSteps);
        e.bLoopEnd = (cmd.m_cKind == 12 || cmd.m_cKind == 10) ? 0 : 1;
        if (left <= 0) {
            e.nStartStep = (int32_t)std::min<int64_t>(before - length, kMaxCmdSteps);
            e.nSkip = 0;
        } else {
            e.nStartStep = 0;
            e.nSkip = (int32_t)std::min<int64_t>((length - covered) / FlowSubSteps(), kMaxCmdSteps);
        }
        run.m_vecWindUp.push_back(e);
    }
}

}  // namespace

int cChara::BuildFlowRuns(const std::vector<cFlow>& given, int mode, int position) {
    // A copy first: the set may be the character's own flows.
    std::vector<cFlow> flows = given;
    for (cFlow& f : flows) ExpandLoopCommands(f.m_vecCmds);
    std::vector<cFlowRun> runs(flows.size());
    const int n = FlowSubSteps();
    for (size_t i = 0; i < flows.size(); ++i) {
        cFlow& f = flows[i];
        cFlowRun& run = runs[i];
        run.m_nFlowIndex = (int32_t)i;
        run.m_nFlowId = m_nFlowIdCounter++;
        run.m_vecKeyStates.assign(f.m_vecKeyConds.size(), 0);
        run.m_vecCmd.resize(f.m_vecCmds.size());
        for (size_t k = 0; k < f.m_vecCmds.size(); ++k) {
            cFlowCmd& cmd = f.m_vecCmds[k];
            CMDINSTANCE& inst = run.m_vecCmd[k];
            inst.nCmd = (int32_t)k;
            inst.nDuration = CmdDuration(cmd, m_sCloneValue);
            if (cmd.m_pMove) {
                cEdMove& m = *cmd.m_pMove;
                const int64_t speed = (int64_t)(int16_t)m.Speed() + (int64_t)(int16_t)m.SpeedStep() * m_sCloneValue;
                inst.dSpeed = (double)speed * 0.1 / n;
                if (m.SecondSpeedOn()) inst.dSpeed2 = (double)(int16_t)m.SecondSpeed() * 0.1 / n;
                inst.cMoveDir = (int8_t)m.DirectionCode();
            }
            SetUpFlowCommand(*this, inst, cmd);
        }
        if (mode != 0 && !f.m_byKeyRepeat) run.m_bKeysHeld = 1;
        BuildWindUps(run, f);
    }
    if (mode == 0) {
        m_Def.m_vecFlows.swap(flows);
        m_vecFlowRun.swap(runs);
    } else {
        std::vector<cFlow>& own = m_Def.m_vecFlows;
        const size_t at = (position < 0 || (size_t)position > own.size()) ? own.size() : (size_t)position;
        own.insert(own.begin() + (std::ptrdiff_t)at, flows.begin(), flows.end());
        const size_t runAt = std::min(at, m_vecFlowRun.size());
        m_vecFlowRun.insert(m_vecFlowRun.begin() + (std::ptrdiff_t)runAt, runs.begin(), runs.end());
    }
    RelinkFlowRuns();
    return 0;
}

void cChara::RelinkFlowRuns() {
    const std::vector<cFlow>& flows = m_Def.m_vecFlows;
    for (size_t i = 0; i < m_vecFlowRun.size(); ++i) {
        cFlowRun& run = m_vecFlowRun[i];
        run.m_nFlowIndex = (int32_t)i;
        const size_t cmds = i < flows.size() ? flows[i].m_vecCmds.size() : 0;
        for (size_t k = 0; k < run.m_vecCmd.size(); ++k) run.m_vecCmd[k].nCmd = (int32_t)std::min(k, cmds);
        if (i < flows.size()) run.m_vecKeyStates.resize(flows[i].m_vecKeyConds.size(), 0);
    }
}

void cChara::CopyFlowRuns(const std::vector<cFlowRun>& other) {
    m_vecFlowRun = other;
    RelinkFlowRuns();
}

void cChara::AssignFlowState(const cChara& other) {
    CopyFlowRuns(other.m_vecFlowRun);
    m_nFlowIdCounter = other.m_nFlowIdCounter;
    m_sCloneValue = other.m_sCloneValue;
    m_bGroupsReleased = other.m_bGroupsReleased;
    m_bFlowDeletePending = other.m_bFlowDeletePending;
    m_dInertiaX = other.m_dInertiaX;
    m_dInertiaY = other.m_dInertiaY;
    m_dCarryX = other.m_dCarryX;
    m_dCarryY = other.m_dCarryY;
    m_bTurnBack = other.m_bTurnBack;
    m_byFixedFacing = other.m_byFixedFacing;
    m_byMirrorPlace = other.m_byMirrorPlace;
    m_bMoving = other.m_bMoving;
    m_bMoveCancelled = other.m_bMoveCancelled;
}

void cChara::EndRunningFlow(int index) {
    if (index < 0 || (size_t)index >= m_vecFlowRun.size()) {
        WriteReport("flow %d to end is out of range (%d flows): nothing ended", index, (int)m_vecFlowRun.size());
        return;
    }
    cFlowRun& run = m_vecFlowRun[(size_t)index];
    run.Stop(*this);
    RemoveFlowAnimes(run.m_nFlowId);
    const int at = run.m_nFlowIndex;
    if (at >= 0 && (size_t)at < m_Def.m_vecFlows.size()) m_Def.m_vecFlows.erase(m_Def.m_vecFlows.begin() + at);
    if (at >= 0 && (size_t)at < m_vecFlowRun.size()) m_vecFlowRun.erase(m_vecFlowRun.begin() + at);
    RelinkFlowRuns();
}

int cChara::StopFlows(int group) {
    const int g = (int8_t)group;
    if (g == 0) {
        for (cFlowRun& run : m_vecFlowRun) run.Stop(*this);
        m_vecFlowRun.clear();
        m_Def.m_vecFlows.clear();
        m_listFlowAnime.clear();
        RelinkFlowRuns();
        return 0;
    }
    int first = -1;
    for (size_t i = 0; i < m_vecFlowRun.size();) {
        cFlow* flow = m_vecFlowRun[i].Flow(*this);
        if (!flow || flow->m_cGroup == 0 || flow->m_cGroup != g) {
            ++i;
            continue;
        }
        m_vecFlowRun[i].Stop(*this);
        if (first < 0) first = (int)i;
        RemoveFlowAnimes(m_vecFlowRun[i].m_nFlowId);
        m_vecFlowRun.erase(m_vecFlowRun.begin() + (std::ptrdiff_t)i);
        if (i < m_Def.m_vecFlows.size()) m_Def.m_vecFlows.erase(m_Def.m_vecFlows.begin() + (std::ptrdiff_t)i);
        RelinkFlowRuns();
    }
    return first;
}

void cChara::ClearFlowRunFlags() {
    for (cFlowRun& run : m_vecFlowRun) {
        run.m_bTested = 0;
        run.m_bStarted = 0;
    }
    std::vector<uint8_t>& frame = m_avecGroupStop[2];
    std::fill(frame.begin(), frame.end(), 0);
}

int cChara::StepFlowRuns(int dying) {
    StartScheduledFlowAnimes();
    // Instances are walked by index: a command may flag removals (deferred to the end) but never
    // resizes the vector while the walk runs.
    for (size_t i = 0; i < m_vecFlowRun.size(); ++i) {
        cFlowRun& run = m_vecFlowRun[i];
        if (!run.m_bRunning) continue;
        cFlow* flow = run.Flow(*this);
        if (!flow || run.m_vecCmd.empty()) {
            run.Stop(*this);
            continue;
        }
        if (run.m_bSuspended || run.m_bHalted) continue;
        const int trigger = flow->m_cTrigger;
        if (dying && trigger != 3) continue;
        if (run.Step(*this)) m_vecFlowRun[i].Stop(*this);
        if (m_bEndRequest) return 1;
        if (!dying && trigger != 3 && m_nHP < 1) return 1;
    }
    if (g_lpPlayScene) {
        g_lpPlayScene->m_lpRunChara = nullptr;
        g_lpPlayScene->m_lpRunFlow = nullptr;
        g_lpPlayScene->m_lpRunCmd = nullptr;
    }
    if (m_bFlowDeletePending) {
        for (size_t i = m_vecFlowRun.size(); i-- > 0;)
            if (m_vecFlowRun[i].m_bDelete) EndRunningFlow((int)i);
        m_bFlowDeletePending = 0;
    }
    if (m_bGroupsReleased) {
        std::vector<uint8_t>& busy = m_avecGroupStop[0];
        std::vector<uint8_t>& released = m_avecGroupStop[1];
        for (size_t g = 0; g < released.size(); ++g) {
            if (!released[g]) continue;
            if (g < busy.size()) busy[g] = 0;
            released[g] = 0;
        }
        m_bGroupsReleased = 0;
    }
    return 0;
}

int RunFlowKeyDirection(const cChara& chara) {
    if (!g_lpPlayScene || g_lpPlayScene->m_lpRunChara != &chara || !g_lpPlayScene->m_lpRunFlow) return 0;
    return g_lpPlayScene->m_lpRunFlow->m_nStartDir;
}

int BuildFlowRuns(cChara& chara) { return chara.BuildFlowRuns(chara.m_Def.m_vecFlows, 0, -1); }

int StepRunningFlows(cChara& chara, int dying) { return chara.StepFlowRuns(dying); }
