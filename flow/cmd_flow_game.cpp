// The flow operation and the game commands: kinds 16-20.
#include "flow/cmd_flow_game.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <list>
#include <string>

#include "app/system_se.h"
#include "frontend/scene_world_map.h"
#include "core/helpers.h"
#include "app/scene_manager.h"
#include "core/report.h"
#include "flow/flow.h"
#include "flow/flow_cmd.h"
#include "flow/flow_move.h"
#include "flow/flow_run.h"
#include "play/block_hit.h"
#include "play/chara.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/message_text.h"
#include "play/message_window.h"
#include "play/pause_loop.h"
#include "play/play_scene.h"
#include "play/stage_end.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/world_map.h"

NEXTSTAGESTART g_NextStageStart;

namespace {

constexpr DWORD kSeMessageOpen = 11;
// 1 / sqrt(2), the share of a diagonal step on each axis.
const double kDiagonal = 1.0 / std::sqrt(2.0);

int32_t Param(const cFlowCmd& cmd, size_t i) { return i < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0; }

cHero* FirstHero() { return g_vecHero.empty() ? nullptr : &g_vecHero.front(); }

// The play scene's running character, flow and command, kept across a hold of the game. After
// the pause loop the character is looked up again by its identifier; the running pointers are
// put back only when it is still the same character.
class cRunningContext {
public:
    explicit cRunningContext(cChara& chara)
        : m_nCharaId(chara.m_nId), m_lpChara(&chara),
          m_lpRunChara(g_lpPlayScene ? g_lpPlayScene->m_lpRunChara : nullptr),
          m_lpRunFlow(g_lpPlayScene ? g_lpPlayScene->m_lpRunFlow : nullptr),
          m_lpRunCmd(g_lpPlayScene ? g_lpPlayScene->m_lpRunCmd : nullptr) {}
    // True when the character is still in play as the same object.
    bool Restore() const {
        if (FindObjectById(m_nCharaId) != m_lpChara) return false;
        if (g_lpPlayScene) {
            g_lpPlayScene->m_lpRunChara = m_lpRunChara;
            g_lpPlayScene->m_lpRunFlow = m_lpRunFlow;
            g_lpPlayScene->m_lpRunCmd = m_lpRunCmd;
        }
        return true;
    }

private:
    int32_t m_nCharaId;
    cChara* m_lpChara;
    cChara* m_lpRunChara;
    cFlowRun* m_lpRunFlow;
    CMDINSTANCE* m_lpRunCmd;
};

// Takes a message out of the list by its own entry: its surface released, the entry erased.
// Nothing when the pause loop has closed it meanwhile.
void RemoveMessage(cPlayScene& scene, const MessageObj* entry) {
    for (auto it = scene.m_listMessage.begin(); it != scene.m_listMessage.end(); ++it) {
        if (&*it != entry) continue;
        ReleaseMessageSurface(*it);
        scene.m_listMessage.erase(it);
        return;
    }
}

// One flow operation on one instance.
void ApplyFlowOperation(cChara& chara, cFlowRun& run, int op) {
    switch (op) {
        case FLOWOP_START:
            run.Stop(chara);
            chara.RemoveFlowAnimes(run.m_nFlowId);
            run.Start(chara);
            run.m_bOperation = 1;
            break;
        case FLOWOP_END:
            run.Stop(chara);
            chara.RemoveFlowAnimes(run.m_nFlowId);
            run.m_bOperation = 1;
            break;
        case FLOWOP_SUSPEND:
            run.Suspend();
            chara.PauseFlowAnimes(run.m_nFlowId);
            run.m_bOperation = 1;
            break;
        case FLOWOP_RESUME:
            run.Resume();
            chara.ResumeFlowAnimes(run.m_nFlowId);
            break;
        case FLOWOP_DELETE:
            run.m_bDelete = 1;
            chara.m_bFlowDeletePending = 1;
            run.m_bOperation = 1;
            break;
        case FLOWOP_HALT:
            run.StopForever(chara);
            chara.RemoveFlowAnimes(run.m_nFlowId);
            run.m_bOperation = 1;
            break;
        default: break;
    }
}

// The move of a warp by an absolute direction code (2, 3, 6-11) over d dots.
void WarpBy(cChara& chara, int code, double d) {
    double dx = 0.0, dy = 0.0;
    switch (code) {
        case 2: dx = -d; break;
        case 3: dx = d; break;
        case 6: dy = -d; break;
        case 7: dy = d; break;
        case 8: dx = -d * kDiagonal; dy = -d * kDiagonal; break;
        case 9: dx = -d * kDiagonal; dy = d * kDiagonal; break;
        case 10: dx = d * kDiagonal; dy = -d * kDiagonal; break;
        case 11: dx = d * kDiagonal; dy = d * kDiagonal; break;
        default: return;
    }
    if (dx != 0.0) {
        chara.m_dX += dx;
        chara.ClampX();
    }
    if (dy != 0.0) {
        chara.m_dY += dy;
        chara.ClampY();
    }
}

// The absolute direction (2, 3, 6-11) of a warp's direction code, -1 for a code without one
// (outside 0-12, or the input direction when the flow started without one).
int WarpDirection(const cChara& chara, int code) {
    if (code < 0 || code > 12) return -1;
    const int startDir = RunFlowKeyDirection(chara);
    if (code == 12 && (startDir < 1 || startDir > 8)) return -1;
    return ResolveDirectionCode(chara, code, startDir);
}

// What a failed warp puts back.
struct WARPSAVE {
    double dX, dY, dRight, dBottom;
    int32_t nCellLeft, nCellTop, nCellRight, nCellBottom;
    cScroll scrollX, scrollY;
};

WARPSAVE SavePlace(const cChara& c) {
    WARPSAVE s{c.m_dX, c.m_dY, c.m_dRight, c.m_dBottom, c.m_nCellLeft, c.m_nCellTop, c.m_nCellRight,
               c.m_nCellBottom, {}, {}};
    if (g_lpPlayScene) {
        s.scrollX = g_lpPlayScene->m_ScrollX;
        s.scrollY = g_lpPlayScene->m_ScrollY;
    }
    return s;
}

void RestorePlace(cChara& c, const WARPSAVE& s) {
    c.m_dX = s.dX;
    c.m_dY = s.dY;
    c.m_dRight = s.dRight;
    c.m_dBottom = s.dBottom;
    c.m_nCellLeft = s.nCellLeft;
    c.m_nCellTop = s.nCellTop;
    c.m_nCellRight = s.nCellRight;
    c.m_nCellBottom = s.nCellBottom;
    c.UpdateRectX();
    c.UpdateRectY();
    // The hero's clamp scrolls the view after it: the view goes back with it.
    if (g_lpPlayScene) {
        g_lpPlayScene->m_ScrollX = s.scrollX;
        g_lpPlayScene->m_ScrollY = s.scrollY;
    }
    c.GetGraphicRect();
}

}  // namespace

// ---- kind 16 ----

void FlowCmdFlowOperation(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    const cFlowCmd& cmd = *inst.lpCmd;
    const int op = Param(cmd, 0), target = Param(cmd, 1), id = Param(cmd, 2);
    if (op < FLOWOP_START || op > FLOWOP_HALT) return;
    cFlowRun* running = g_lpPlayScene ? g_lpPlayScene->m_lpRunFlow : nullptr;
    switch (target) {
        case FLOWOP_THIS:
            if (running) ApplyFlowOperation(chara, *running, op);
            break;
        case FLOWOP_OTHERS:
            // Walked by index: no operation resizes the vector (deletions wait for the walk's end).
            for (size_t i = 0; i < chara.m_vecFlowRun.size(); ++i) {
                cFlowRun& run = chara.m_vecFlowRun[i];
                if (&run != running) ApplyFlowOperation(chara, run, op);
            }
            break;
        case FLOWOP_BY_ID:
            if (id == 0) break;
            for (size_t i = 0; i < chara.m_vecFlowRun.size(); ++i) {
                cFlowRun& run = chara.m_vecFlowRun[i];
                const cFlow* flow = run.Flow(chara);
                if (flow && flow->m_byId != 0 && flow->m_byId == id) ApplyFlowOperation(chara, run, op);
            }
            break;
        default: break;
    }
}

// ---- kind 17 ----

int FlowCmdStageClearImpl(const cFlowCmd& cmd) {
    cPlayScene* scene = g_lpPlayScene;
    if (scene) {
        const int current = CurrentStageNumber();
        switch (Param(cmd, 0)) {
            case 0:
                scene->m_nNextStage = current + 1;
                scene->m_bNextStageSet = 1;
                scene->m_bOwnBase = 0;
                scene->m_strOwnBase.clear();
                break;
            case 1:
                scene->m_nNextStage = Param(cmd, 1);
                scene->m_bNextStageSet = 1;
                scene->m_bOwnBase = 0;
                scene->m_strOwnBase.clear();
                break;
            case 2: {
                // A copy of the text: the stored command keeps its path.
                std::string base = cmd.m_strText;
                scene->m_nNextStage = current;
                scene->m_bNextStageSet = 1;
                if (base.empty()) {
                    MesBoxF("ステージファイル %s が不正です。\nステージファイルとして認識できません。", "");
                    scene->m_bOwnBase = 0;
                    scene->m_strOwnBase.clear();
                    break;
                }
                RemoveExtensionStr(base);
                base += ".";
                scene->m_strOwnBase = base;
                scene->m_bOwnBase = 1;
                break;
            }
            case 3:
                scene->m_nNextStage = 0;
                scene->m_bNextStageSet = 1;
                scene->m_bOwnBase = 0;
                scene->m_strOwnBase.clear();
                break;
            default: break;
        }
    }
    if (Param(cmd, 2) != 0) {
        const int32_t w = std::max(1, g_WorldMap.m_nWidth), h = std::max(1, g_WorldMap.m_nHeight);
        g_SaveData.m_nMapX = std::clamp(Param(cmd, 3), 0, w - 1);
        g_SaveData.m_nMapY = std::clamp(Param(cmd, 4), 0, h - 1);
        ForgetWorldMapStepBack();
    }
    if (Param(cmd, 5) != 0) {
        g_NextStageStart.bSet = 1;
        g_NextStageStart.nX = std::clamp(Param(cmd, 6), 0, 999);
        g_NextStageStart.nY = std::clamp(Param(cmd, 7), 0, 999);
        int dir = Param(cmd, 8);
        if (dir == 2) {
            const cHero* hero = FirstHero();
            dir = (hero && hero->m_nDir > 0) ? 1 : 0;
        }
        g_NextStageStart.nDir = dir > 0 ? 1 : 0;
    } else {
        g_NextStageStart = NEXTSTAGESTART{};
    }
    return 1;
}

void FlowCmdStageClear(cChara&, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    const int r = FlowCmdStageClearImpl(*inst.lpCmd);
    if (g_lpPlayScene) g_lpPlayScene->m_nRequest = r;
}

// ---- kind 18 ----

void FlowCmdGameWaitImpl(const cFlowCmd& cmd) {
    cPlayScene* scene = g_lpPlayScene;
    if (!scene || scene->m_bQuit) return;
    const int32_t frames = (int32_t)std::clamp<int64_t>((int64_t)Param(cmd, 0) * 6, 0, kMaxCmdSteps);
    MESSAGESETTINGS set;
    set.nPosMode = MSGPOS_NONE;
    set.nFixed = 1;
    set.nDispMode = kMessageTimed;
    set.nTime = frames;
    set.bCountWhileHeld = 1;
    MessageObj msg;
    if (!ShowMessageWindow(msg, set, 0, scene)) return;
    scene->m_listMessage.push_back(msg);
    const MessageObj* entry = &scene->m_listMessage.back();
    scene->m_WaitRequest = WAITREQUEST{0, 0, 0, frames, 0};
    RunPauseLoop(scene);
    RemoveMessage(*scene, entry);
}

void FlowCmdGameWait(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    cRunningContext context(chara);
    FlowCmdGameWaitImpl(*inst.lpCmd);
    context.Restore();
}

// ---- kind 19 ----

void FlowCmdMessageImpl(cChara& chara, const cFlowCmd& cmd, int following) {
    cPlayScene* scene = g_lpPlayScene;
    if (!scene || scene->m_bQuit) return;
    const int byId = Param(cmd, 12), erase = Param(cmd, 15), id = Param(cmd, 13);
    const int dispMode = Param(cmd, 6);
    const int32_t time = Param(cmd, 17) ? 1 : (int32_t)std::clamp<int64_t>((int64_t)Param(cmd, 7) * 6, 0, kMaxCmdSteps);

    MESSAGESETTINGS set;
    set.nPosMode = MSGPOS_TEXT;
    set.strText = cmd.m_strText;
    set.nPlace = Param(cmd, 0);
    set.nBlockX = Param(cmd, 1);
    set.nBlockY = Param(cmd, 2);
    set.nOffsetX = Param(cmd, 3);
    set.nOffsetY = Param(cmd, 4);
    set.bKeepOnScreen = Param(cmd, 5);
    set.nFixed = Param(cmd, 10);
    set.nDispMode = dispMode;
    set.nTime = time;
    set.bCountWhileHeld = Param(cmd, 8);
    if (set.nPlace >= MSGPLACE_ABOVE_SELF && set.nPlace <= MSGPLACE_ON_SELF) {
        set.nCharaId = chara.m_nId;
    } else if (set.nPlace >= MSGPLACE_ABOVE_HERO && set.nPlace <= MSGPLACE_ON_HERO) {
        const cHero* hero = FirstHero();
        set.nCharaId = hero ? hero->m_nId : 0;
    }
    set.bAppear = (dispMode == 0 && !following) ? 1 : 0;
    set.bExpand = Param(cmd, 9);
    set.bRefresh = Param(cmd, 11);
    set.nRefreshInterval = Param(cmd, 16);
    set.bBitmapFont = Param(cmd, 14);
    set.bManagedById = byId;
    set.nId = id;

    // The entry this command shows: appended, or in place of the message of its ID.
    std::list<MessageObj>& list = scene->m_listMessage;
    auto found = list.end();
    if (byId) {
        found = std::find_if(list.begin(), list.end(),
                             [id](const MessageObj& m) { return m.m_Set.bManagedById && m.m_Set.nId == id; });
    }
    if (erase) {
        if (found != list.end()) {
            ReleaseMessageSurface(*found);
            list.erase(found);
        }
        return;
    }
    MessageObj* entry = nullptr;
    if (found != list.end()) {
        MessageObj probe;
        probe.m_Set.strText = cmd.m_strText;
        probe.m_strShown = cmd.m_strText;
        if (set.bExpand) ExpandMessageText(probe, scene);
        const SIZE extent = MeasureText(probe.m_strShown, set.bBitmapFont);
        if (found->m_Set.nPosMode == MSGPOS_TEXT && found->m_lpSurface && extent.cx == found->m_nTextWidth &&
            extent.cy == found->m_nTextHeight) {
            // The same extent: drawn again into the surface it has.
            if (!ShowMessageWindow(*found, set, 1, scene)) return;
            entry = &*found;
        } else {
            ReleaseMessageSurface(*found);
            MessageObj msg;
            const bool made = ShowMessageWindow(msg, set, 0, scene);
            auto at = list.erase(found);
            if (!made) return;
            entry = &*list.insert(at, msg);
        }
    } else {
        MessageObj msg;
        if (!ShowMessageWindow(msg, set, 0, scene)) return;
        list.push_back(msg);
        entry = &list.back();
    }
    if (!Param(cmd, 8)) return;

    // Held: the game waits in the pause loop until the message ends.
    if (dispMode == kMessageTimed) {
        scene->InitRequest(1, 0, time, following);
    } else {
        // Until the key: display mode 0, and also mode 1 ("until the stage ends"), which
        // cannot end while the game is held.
        scene->InitRequest(1, 1, 0, following);
        if (dispMode == 0 && !following) PlaySystemSe(kSeMessageOpen);
    }
    cRunningContext context(chara);
    RunPauseLoop(scene);
    RemoveMessage(*scene, entry);
    context.Restore();
}

void FlowCmdMessage(cChara& chara, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    const cFlowRun* run = g_lpPlayScene ? g_lpPlayScene->m_lpRunFlow : nullptr;
    FlowCmdMessageImpl(chara, *inst.lpCmd, run ? run->m_bMsgFollow : 0);
}

// ---- kind 20 ----

void FlowCmdWarpImpl(cChara& chara, const cFlowCmd& cmd) {
    if (!cmd.m_pMove) return;
    cEdMove& m = *cmd.m_pMove;
    const int mode = m.MoveMode();
    const int coord = m.CoordMode();
    // From the target without one: the command does nothing at all.
    const cChara* target = mode == 1 ? FindObjectById(chara.m_nTargetId) : nullptr;
    if (mode == 1 && !target) return;
    chara.m_abFixScreen[0] = chara.m_abFixScreen[1] = 0;
    const WARPSAVE saved = SavePlace(chara);
    const int64_t halfBlocks = (int64_t)(int16_t)m.Distance() + (int64_t)(int16_t)m.DistanceStep() * chara.m_sCloneValue;
    const double d = (double)((halfBlocks * 32) >> 1);
    switch (mode) {
        case 0:
            WarpBy(chara, WarpDirection(chara, (int8_t)m.DirectionCode()), d);
            break;
        case 1: {
            // Centre on the target (graphic centres), then the step from there.
            // (A graphic's left edge lies its offset before the position.)
            chara.m_dX = target->m_dX - target->m_nGraphOffX + (target->m_nGraphWidth >> 1) + chara.m_nGraphOffX -
                         (chara.m_nGraphWidth >> 1);
            chara.ClampX();
            chara.m_dY = target->m_dY - target->m_nGraphOffY + (target->m_nGraphHeight >> 1) + chara.m_nGraphOffY -
                         (chara.m_nGraphHeight >> 1);
            chara.ClampY();
            WarpBy(chara, WarpDirection(chara, (int8_t)m.DirectionCode()), d);
            break;
        }
        case 2: {
            int64_t x = (int64_t)(int16_t)m.TargetXBlocks() * 32 + (int16_t)m.TargetXDots();
            int64_t y = (int64_t)(int16_t)m.TargetYBlocks() * 32 + (int16_t)m.TargetYDots();
            if (chara.m_byMirrorPlace == 1) {
                if (m.MirrorX()) x = -x;
                if (m.MirrorY()) y = -y;
            }
            switch (coord) {
                case 0:
                    chara.m_dX += (double)x;
                    chara.ClampX();
                    chara.m_dY += (double)y;
                    chara.ClampY();
                    break;
                case 1:
                    chara.SetBlockX((int16_t)m.TargetXBlocks());
                    chara.SetBlockY((int16_t)m.TargetYBlocks());
                    chara.m_dX += (double)(int16_t)m.TargetXDots();
                    chara.ClampX();
                    chara.m_dY += (double)(int16_t)m.TargetYDots();
                    chara.ClampY();
                    break;
                case 2: {
                    const double sx = g_lpPlayScene ? g_lpPlayScene->m_ScrollX.m_dPos : 0.0;
                    const double sy = g_lpPlayScene ? g_lpPlayScene->m_ScrollY.m_dPos : 0.0;
                    chara.m_dX = chara.m_nGraphOffX + sx + (double)x;
                    chara.ClampX();
                    chara.m_dY = chara.m_nGraphOffY + sy + (double)y;
                    chara.ClampY();
                    break;
                }
                default: return;
            }
            break;
        }
        default: return;
    }
    chara.GetGraphicRect();
    if (!chara.IsInStageY(0) || IsPlaceBlocked(chara)) {
        RestorePlace(chara, saved);
        return;
    }
    if (!chara.m_bFlying) chara.m_dSpeedY = 0.0;
    if (mode == 2 && coord == 2) {
        chara.m_anFixScreen[0] = chara.m_nRectLeft;
        chara.m_anFixScreen[1] = chara.m_nRectTop;
        chara.m_abFixScreen[0] = chara.m_abFixScreen[1] = 1;
    }
}

void FlowCmdWarp(cChara& chara, CMDINSTANCE& inst) {
    if (inst.lpCmd) FlowCmdWarpImpl(chara, *inst.lpCmd);
}
