#include "flow/flow_conditions.h"

#include <algorithm>
#include <cmath>

#include "app/scene_manager.h"
#include "core/report.h"
#include "flow/flow.h"
#include "flow/flow_run.h"
#include "flow/flow_words.h"
#include "flow/value_ops.h"
#include "media/player_input.h"
#include "play/damage.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/spawn_span.h"
#include "play/stage_objects.h"
#include "play/status_ops.h"
#include "records/stage.h"

namespace {

// The player input of an index; none (one report line per bad index) outside the list.
const cPlayerInput* InputAt(int index) {
    if (index >= 0 && (size_t)index < g_vecPlayerInput.size()) return &g_vecPlayerInput[(size_t)index];
    static int s_nReported = -1;
    if (s_nReported != index) {
        s_nReported = index;
        WriteReport("player input %d out of range: no keys", index);
    }
    return nullptr;
}

// A key history (0-9 direction states, 10-18 buttons).
const std::vector<INPUTHISTORY>* History(const cPlayerInput& input, int key) {
    if (key < DIR_HISTORIES) {
        if ((size_t)key < input.m_vecDirHistory.size()) return &input.m_vecDirHistory[(size_t)key];
        return nullptr;
    }
    const size_t b = (size_t)(key - DIR_HISTORIES);
    return b < input.m_vecButtonHistory.size() ? &input.m_vecButtonHistory[b] : nullptr;
}

// Frames of history entry e (0 for a missing or empty entry).
int EntryFrames(const std::vector<INPUTHISTORY>* h, int e) {
    if (!h || e < 0 || (size_t)e >= h->size() || e >= INPUTHISTORY_SIZE) return 0;
    return std::max((*h)[(size_t)e].nCount, 0);
}

// The mirror of a direction state for a character facing left: left and right swapped.
int MirrorDir(int d) {
    switch (d) {
    case 1: return 2;
    case 2: return 1;
    case 5: return 7;
    case 7: return 5;
    case 6: return 8;
    case 8: return 6;
    default: return d;
    }
}

bool InRange(const cChara& self, const cChara& other, int shape, int32_t r) {
    if (shape == 6) {
        const double ax = self.m_dX + self.m_nWidth / 2.0, ay = self.m_dY + self.m_nHeight / 2.0;
        const double bx = other.m_dX + other.m_nWidth / 2.0, by = other.m_dY + other.m_nHeight / 2.0;
        return std::hypot(ax - bx, ay - by) <= (double)r;
    }
    if (shape < 0 || shape > 5) return false;
    const bool vertical = shape >= 3;
    const HITRANGE& s = self.m_HitChara;
    const HITRANGE& o = other.m_HitChara;
    int64_t low = 0, high = 0;
    RangeSpan(shape, self.m_nDir > 0, r, DotToInt(vertical ? s.dTop : s.dLeft), vertical ? s.nHeight : s.nWidth, low,
              high);
    const double olow = vertical ? o.dTop : o.dLeft, ohigh = vertical ? o.dBottom : o.dRight;
    return (double)low <= ohigh && (double)high >= olow;
}

}  // namespace

int32_t RangeOfCondition(const cFlowCond& cond) {
    return (int32_t)std::clamp<int64_t>((int64_t)cond.m_nValue * 16 + cond.m_sIndex, INT32_MIN, INT32_MAX);
}

void RangeSpan(int shape, bool right, int32_t r, int32_t start, int32_t size, int64_t& low, int64_t& high) {
    // The margins before and after the object along the axis: both the reach, or only the side
    // it faces (in front) or turns its back on (behind).
    int32_t a = r, b = r;
    if (shape == 1 || shape == 4) {  // in front
        a = right ? 0 : r;
        b = right ? r : 0;
    } else if (shape == 2 || shape == 5) {  // behind
        a = right ? r : 0;
        b = right ? 0 : r;
    }
    SpawnOffset(start, size, a, b, 1, low, high);
}

bool EvaluateConditionList(cPlayScene* scene, std::span<cFlowCond> conds, int mode, cChara* chara) {
    if (mode == 0) {
        for (cFlowCond& c : conds)
            if (!EvaluateCondition(scene, c, chara)) return false;
        return true;
    }
    if (mode == 1) {
        for (cFlowCond& c : conds)
            if (EvaluateCondition(scene, c, chara)) return true;
        return false;
    }
    return false;
}

bool EvaluateCondition(cPlayScene* scene, cFlowCond& cond, cChara* chara) {
    switch (cond.m_cKind) {
    case 1:
    case 2: {
        if (cond.m_cKind == 2 && !scene) return false;
        const int32_t* v = FlowVariable(cond.m_cKind == 1 ? 0 : 1, cond.m_sIndex);
        return v && CompareByOp(*v, cond.m_nValue, cond.m_byOperator);
    }
    case 3: {
        if (!chara) return false;
        if (cond.m_sIndex < 0 || (size_t)cond.m_sIndex >= chara->m_vecVar.size()) {
            static int s_nReported = -1;
            if (s_nReported != cond.m_sIndex) {
                s_nReported = cond.m_sIndex;
                WriteReport("character variable %d out of range: the condition fails", (int)cond.m_sIndex);
            }
            return false;
        }
        return CompareByOp(chara->m_vecVar[(size_t)cond.m_sIndex], cond.m_nValue, cond.m_byOperator);
    }
    case 4: return cond.TestValue(chara);
    case 5: return chara && chara->CheckStatusCondition(cond);
    case 6: return chara && chara->CheckStatusCondition3(cond);
    case 7: return chara && chara->CheckRangeCondition(cond);
    default: return false;
    }
}

bool cChara::CheckStatusCondition(const cFlowCond& cond) {
    const int op = cond.m_byOperator;
    const int32_t index = cond.m_sIndex;
    if ((op == 6 || op == 7) && index == 0) return op == 6;
    int32_t value = 0;
    if (cond.m_byA3 == 2) {
        switch (cond.m_byA4) {
        case 0: value = g_StageSettings.m_bAutoScrollX; break;
        case 1: value = g_StageSettings.m_bAutoScrollY; break;
        default: return false;
        }
        return CompareByOp(value, index, op);
    }
    cChara* c = this;
    if (cond.m_byA3 == 1) {
        c = FindObjectById(m_nTargetId);
        if (!c) return false;
    }
    switch (cond.m_byA4) {
    case 1: value = c->m_byHidden; break;         // "透明"
    case 2: value = c->m_byFixedFacing; break;    // "向き固定"
    case 3: value = c->m_bFlying; break;          // "飛行"
    case 4: value = c->m_nInvincible > 0; break;  // "無敵"
    case 5: value = charadef::Scale(c->m_Def); break;  // "巨大化"
    case 6: value = c->m_bScrollSync; break;      // "オートスクロールとシンクロ"
    default: return false;
    }
    return CompareByOp(value, index, op);
}

bool cChara::CheckStatusCondition3(const cFlowCond& cond) {
    cChara* c = this;
    if (cond.m_byA3 == 1) {
        c = FindObjectById(m_nTargetId);
        if (!c) return false;
    }
    bool r = false;
    switch (cond.m_byA4) {
    case 0: r = c->m_nDir <= 0; break;
    case 1: r = c->m_nDir > 0; break;
    case 2: r = !c->m_bFlying && (c->m_bStanding || (!c->m_bAirborne && !c->m_bFalling)); break;
    case 3: r = IsHeroChara(*c) ? c->m_bOnScreen != 0 : c->IsOnScreen(); break;
    default: r = false; break;
    }
    return cond.m_byOperator == 1 ? !r : r;
}

bool cChara::CheckRangeCondition(const cFlowCond& cond) {
    const cChara* other = nullptr;
    if (cond.m_byA3 == 0) other = g_vecHero.empty() ? nullptr : &g_vecHero.front();
    else if (cond.m_byA3 == 1) other = FindObjectById(m_nTargetId);
    if (!other) return false;
    const bool in = InRange(*this, *other, cond.m_byShape, RangeOfCondition(cond));
    if (cond.m_byOperator == 0) return in;
    if (cond.m_byOperator == 1) return !in;
    return false;
}

bool TestFlowConditions(cPlayScene* scene, cFlowRun& run, cChara& chara) {
    cFlow* flow = run.Flow(chara);
    if (!flow) return false;
    if (flow->m_vecConds.empty()) return true;
    if (flow->m_byOnceHeld && run.m_bCondHeld) return true;
    if (!EvaluateConditionList(scene, flow->m_vecConds, flow->m_byCondMode, &chara)) return false;
    run.m_bCondHeld = 1;
    return true;
}

// ---- keys ----

const cPlayerInput* KeySequenceInput() {
    if (g_vecHero.empty()) return nullptr;
    return InputAt(g_vecHero.front().m_nInput);
}

int StepKeyHistory(const cPlayerInput& input, KEYPOS& pos, int d) {
    int ok = 1;
    for (int k = 0; k < kKeyCount; ++k) {
        const std::vector<INPUTHISTORY>* h = History(input, k);
        int& e = pos.anEntry[k];
        int& o = pos.anOffset[k];
        if (d < 0) {
            for (int i = 0; i < -d; ++i) {
                if (o + 1 < EntryFrames(h, e)) {
                    ++o;
                } else if (e + 1 < INPUTHISTORY_SIZE && EntryFrames(h, e + 1) > 0) {
                    ++e;
                    o = 0;
                } else {
                    ok = 0;  // no older entry
                    break;
                }
            }
        } else {
            for (int i = 0; i < d; ++i) {
                if (o > 0) {
                    --o;
                } else if (e > 0) {
                    --e;
                    o = std::max(EntryFrames(h, e) - 1, 0);
                } else {
                    break;  // at the present
                }
            }
        }
    }
    return ok;
}

bool KeyStateHolds(const cFlowKeyCond& cond, int state, bool held, int frames) {
    if (state == 1) {
        if (!held) return false;
        if (cond.m_byAnyLength) return frames >= 1;
        return frames >= (int)cond.m_wMinFrames && frames <= (int)cond.m_wMaxFrames;
    }
    if (state == 2) return !held && frames >= 1;
    return false;
}

bool MatchKeyStep(const cPlayerInput& input, const KEYPOS& pos, const cFlowKeyCond& cond, int& length) {
    const cChara* running = g_lpPlayScene ? g_lpPlayScene->m_lpRunChara : nullptr;
    const bool mirror = cond.m_byMirror == 1 && running && running->m_nDir == 0;
    int counted = 0, failed = 0, minLen = 0, maxLen = 0, lastLen = 0;
    for (int k = 0; k < kKeyCount && (size_t)k < cond.m_vecKeys.size(); ++k) {
        const int state = cond.m_vecKeys[(size_t)k];
        if (state == 0) continue;
        const int key = (k < DIR_HISTORIES && mirror) ? MirrorDir(k) : k;
        const std::vector<INPUTHISTORY>* h = History(input, key);
        const int e = pos.anEntry[key];
        bool held = false;
        int frames = 0;
        if (h && e >= 0 && (size_t)e < h->size()) {
            held = (*h)[(size_t)e].dwPressed != 0;
            frames = std::max(EntryFrames(h, e) - pos.anOffset[key], 0);
        }
        if (KeyStateHolds(cond, state, held, frames)) {
            minLen = counted == 0 ? frames : std::min(minLen, frames);
            maxLen = std::max(maxLen, frames);
            lastLen = frames;
            ++counted;
        } else {
            ++failed;
        }
    }
    switch (cond.m_byMode) {
    case 0: length = minLen; return failed == 0;
    case 1: length = maxLen; return counted >= 1;
    case 2: length = lastLen; return counted == 1;
    default: length = 0; return true;
    }
}

int MatchKeySequence(cChara&, std::span<const cFlowKeyCond> conds, int window) {
    const cPlayerInput* in = KeySequenceInput();
    if (!in || conds.empty()) return 0;
    const cPlayerInput& input = *in;
    KEYPOS pos = {};
    int len = 0;
    int i = (int)conds.size() - 1;
    if (!MatchKeyStep(input, pos, conds[(size_t)i], len)) return 0;
    for (;;) {
        if (i == 0) return 1;
        if (!StepKeyHistory(input, pos, -len)) return 0;
        --i;
        const cFlowKeyCond& cond = conds[(size_t)i];
        int found = 0;
        if (MatchKeyStep(input, pos, cond, len)) continue;
        if (window == 0) return 0;
        int stepped = 0;
        for (int k = 1; window > 0 && k <= window; ++k) {
            if (!StepKeyHistory(input, pos, -1)) break;
            ++stepped;
            if (MatchKeyStep(input, pos, cond, len)) {
                found = 1;
                break;
            }
        }
        if (found) continue;
        // Two steps that overlap by one frame: one frame after the later one's start.
        StepKeyHistory(input, pos, stepped + 1);
        int later = 0;
        if (!MatchKeyStep(input, pos, cond, len) || MatchKeyStep(input, pos, conds[(size_t)i + 1], later)) return 0;
    }
}

int TestFlowKeyConditions(cChara& chara, cFlowRun& run) {
    cFlow* flow = run.Flow(chara);
    if (!flow || flow->m_vecKeyConds.empty()) return 1;
    const int r = MatchKeySequence(chara, flow->m_vecKeyConds, flow->m_cKeyWindow);
    if (flow->m_byKeyRepeat) return r;
    if (r <= 0) {
        run.m_bKeysHeld = 0;
        return 0;
    }
    if (run.m_bKeysHeld) {
        // Held on from an earlier frame: the group stays stopped for this walk.
        const int g = flow->m_cGroup;
        if (flow->m_cTrigger == 0 && g > 0 && g < kFlowGroupCount) {
            cChara* current = g_lpPlayScene && g_lpPlayScene->m_lpRunChara ? g_lpPlayScene->m_lpRunChara : &chara;
            if (current->m_avecGroupStop[0].size() > (size_t)g) current->m_avecGroupStop[0][(size_t)g] = 1;
            if (chara.m_avecGroupStop[1].size() > (size_t)g) chara.m_avecGroupStop[1][(size_t)g] = 1;
            chara.m_bGroupsReleased = 1;
        }
        return 0;
    }
    run.m_bKeysHeld = 1;
    return r;
}

int KeyConditionHoldsNow(const cPlayerInput& input, const cFlowKeyCond& cond) {
    int counted = 0, failed = 0;
    for (int k = 0; k < kKeyCount && (size_t)k < cond.m_vecKeys.size(); ++k) {
        const int state = cond.m_vecKeys[(size_t)k];
        if (state == 0) continue;
        const std::vector<INPUTHISTORY>* h = History(input, k);
        const bool held = h && !h->empty() && h->front().dwPressed != 0;
        if ((state == 1 && held) || (state == 2 && !held)) ++counted;
        else ++failed;
    }
    switch (cond.m_byMode) {
    case 0: return failed == 0;
    case 1: return counted >= 1;
    case 2: return counted == 1;
    default: return 1;
    }
}

bool KeyConditionHoldsNow(cHero& hero) {
    cFlowRun* run = g_lpPlayScene ? g_lpPlayScene->m_lpRunFlow : nullptr;
    cFlow* flow = run ? run->Flow(hero) : nullptr;
    if (!flow || flow->m_vecKeyConds.empty()) return false;
    const cPlayerInput* input = InputAt(hero.m_nInput);
    return input && KeyConditionHoldsNow(*input, flow->m_vecKeyConds.back()) != 0;
}

int FirstDirection(const cPlayerInput& input) {
    for (int d = 0; d < DIR_HISTORIES && (size_t)d < input.m_vecDirHistory.size(); ++d) {
        const std::vector<INPUTHISTORY>& h = input.m_vecDirHistory[(size_t)d];
        if (!h.empty() && h.front().dwPressed) return d;
    }
    return 0;
}

// ---- the start rule ----

void cChara::RunFlowsOfTrigger(int trigger) {
    if (trigger == 19) return;  // such flows start only by the flow operation
    cPlayScene* scene = g_lpPlayScene;
    // A trigger raised while another character's flow runs gives that walk back its state.
    cChara* savedChara = scene ? scene->m_lpRunChara : nullptr;
    cFlowRun* savedFlow = scene ? scene->m_lpRunFlow : nullptr;
    CMDINSTANCE* savedCmd = scene ? scene->m_lpRunCmd : nullptr;
    if (scene) scene->m_lpRunChara = this;
    const bool guard1 = flowwords::FrameGuard1(), guard2 = flowwords::FrameGuard2();
    for (size_t i = 0; i < m_vecFlowRun.size(); ++i) {
        cFlowRun& run = m_vecFlowRun[i];
        cFlow* flow = run.Flow(*this);
        if (!flow || flow->m_cTrigger != trigger) continue;
        if (guard1 && !guard2) {
            if (run.m_bTested) continue;
            run.m_bTested = 1;
        }
        if (run.m_bRunning || run.m_bSuspended || run.m_bHalted || run.m_bStarted) continue;
        const int g = flow->m_cGroup;
        if (trigger == 0 && g > 0 && g < kFlowGroupCount) {
            const std::vector<uint8_t>& stop = m_avecGroupStop[0];
            const std::vector<uint8_t>& frame = m_avecGroupStop[2];
            if ((stop.size() > (size_t)g && stop[(size_t)g]) || (frame.size() > (size_t)g && frame[(size_t)g])) continue;
        }
        if (!guard1 && !guard2) {
            if (run.m_bTested) continue;
            run.m_bTested = 1;
        }
        if (!TestFlowConditions(scene, run, *this) || TestFlowKeyConditions(*this, run) <= 0) continue;
        // The player input entry: the character's player number, or entry 0 for a hero.
        const int entry = IsHeroChara(*this) ? 0 : charadef::PlayerNumber(m_Def);
        const cPlayerInput* input = InputAt(entry);
        m_vecFlowRun[i].m_nStartDir = input ? FirstDirection(*input) : 0;
        m_vecFlowRun[i].Start(*this);
    }
    if (scene) {
        scene->m_lpRunChara = savedChara;
        scene->m_lpRunFlow = savedFlow;
        scene->m_lpRunCmd = savedCmd;
    }
}
