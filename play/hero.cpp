// The hero: set-up from its placement, size and hit ranges by movement mode, the view that
// follows it, its steps, the touched-item list and the range display.
#include "play/hero.h"

#include <algorithm>
#include <cmath>

#include "app/scene_manager.h"
#include "flow/flow_conditions.h"
#include "flow/instant_cmds.h"
#include "media/anime.h"
#include "play/aiming.h"
#include "play/chara_def.h"
#include "play/message_obj.h"
#include "play/message_window.h"
#include "play/play_scene.h"
#include "play/riding.h"
#include "play/stage_words.h"
#include "records/stage.h"

namespace {
double SubStepsN() {
    const double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
    return n >= 1.0 ? n : 1.0;
}
int32_t Times(int32_t v, int scale) {
    return (int32_t)std::clamp<int64_t>((int64_t)v * scale, INT32_MIN / 2, INT32_MAX / 2);
}
void SetRange(HITRANGE& r, int offX, int offY, int w, int h) {
    r.nOffX = r.nBaseOffX = offX;
    r.nOffY = r.nBaseOffY = offY;
    r.nWidth = r.nBaseWidth = w;
    r.nHeight = r.nBaseHeight = h;
}
void ScaleRange(HITRANGE& r, int scale) {
    r.nOffX = Times(r.nBaseOffX, scale);
    r.nOffY = Times(r.nBaseOffY, scale);
    r.nWidth = Times(r.nBaseWidth, scale);
    r.nHeight = Times(r.nBaseHeight, scale);
}
void RangeX(HITRANGE& r, int32_t x) {
    r.dLeft = (double)x + r.nOffX;
    r.dRight = r.dLeft + r.nWidth - 1;
}
void RangeY(HITRANGE& r, int32_t y) {
    r.dTop = (double)y + r.nOffY;
    r.dBottom = r.dTop + r.nHeight - 1;
}
}  // namespace

void cHero::CalcSize(int& offX, int& offY, int& width, int& height) const {
    const cStage& s = g_StageSettings;
    const int flying = m_bFlying ? 1 : 0;
    // Sizes from the file are held to the 32-dot cell they are placed in.
    width = std::clamp(stageword::HeroWidth(s, flying), 1, 32);
    height = std::clamp(stageword::HeroHeight(s, flying), 1, 32);
    offX = (32 - width) >> 1;
    offY = stageword::HeroSizeOnBottom(s, flying) ? 32 - height : (32 - height) >> 1;
}

void cHero::ApplyState(int mode, int keepScale) {
    const cStage& s = g_StageSettings;
    const int32_t wasFlying = m_bFlying;
    m_nMoveMode = mode;
    SetMoveMode(mode);
    if (m_bFlying != wasFlying) {
        m_nTurnLock = 2;
        if (!m_bFlying) m_dSpeedX = m_dSpeedY = m_dMoveX = m_dMoveY = 0.0;
    }
    int offX = 0, offY = 0, w = 0, h = 0;
    CalcSize(offX, offY, w, h);
    m_nWidth = m_nBaseWidth = w;
    m_nHeight = m_nBaseHeight = h;
    m_nGraphOffX = m_nBaseGraphOffX = offX;
    m_nGraphOffY = m_nBaseGraphOffY = offY;
    m_nGraphWidth = m_nBaseGraphWidth = 32;
    m_nGraphHeight = m_nBaseGraphHeight = 32;
    const int flying = m_bFlying ? 1 : 0;
    auto centred = [&](HITRANGE& r, int rw, int rh) {
        SetRange(r, 16 - (rw >> 1) - m_nGraphOffX, 16 - (rh >> 1) - m_nGraphOffY, rw, rh);
    };
    switch (charadef::HitRangeKind(m_Def)) {
        case 0:
            SetHitRect(stageword::HeroRangeOnBottom(s, flying), stageword::HeroRangeWidth(s, flying),
                       stageword::HeroRangeHeight(s, flying));
            break;
        case 1: centred(m_HitChara, stageword::CharaRange(s, 0), stageword::CharaRange(s, 1)); break;
        case 2: centred(m_HitChara, stageword::SecondRange(s, 0), stageword::SecondRange(s, 1)); break;
        default: centred(m_HitChara, 32, 32); break;
    }
    centred(m_HitShot, stageword::HeroShotRange(s, 0), stageword::HeroShotRange(s, 1));
    centred(m_HitThird, stageword::ThirdRange(s, 0), stageword::ThirdRange(s, 1));
    if (keepScale) {
        const int scale = charadef::Scale(m_Def);
        m_nWidth = Times(m_nWidth, scale);
        m_nHeight = Times(m_nHeight, scale);
        m_nGraphOffX = Times(m_nGraphOffX, scale);
        m_nGraphOffY = Times(m_nGraphOffY, scale);
        m_nGraphWidth = Times(m_nGraphWidth, scale);
        m_nGraphHeight = Times(m_nGraphHeight, scale);
        ScaleRange(m_HitChara, scale);
        ScaleRange(m_HitShot, scale);
        ScaleRange(m_HitThird, scale);
    }
    BuildRangeDisplay();
}

void cHero::BuildRangeDisplay() {
    const cStage& s = g_StageSettings;
    const int sizes[4][2] = {{m_nWidth, m_nHeight},
                             {m_HitChara.nWidth, m_HitChara.nHeight},
                             {m_HitThird.nWidth, m_HitThird.nHeight},
                             {m_HitShot.nWidth, m_HitShot.nHeight}};
    m_vecRangeDisplay.clear();
    for (int a = 0; a < 4; ++a) {
        const int mode = stageword::RangeMode(s, a);
        m_vecRangeDisplay.push_back({a, (mode >= 0 && mode <= 2) ? mode : 0, stageword::RangeColor(s, a) & 255, 0, 0,
                                     sizes[a][0], sizes[a][1], 0});
    }
    // Largest first, so that smaller rectangles are drawn over larger ones.
    std::stable_sort(m_vecRangeDisplay.begin(), m_vecRangeDisplay.end(),
                     [](const RANGEDISPLAY& a, const RANGEDISPLAY& b) {
                         return (int64_t)a.nWidth * a.nHeight > (int64_t)b.nWidth * b.nHeight;
                     });
}

int cHero::SetupFromPlacement(int id, const cCharaRec& rec, const int32_t (&place)[4]) {
    cChara::SetUp(&rec, place);
    int offX = 0, offY = 0, w = 0, h = 0;
    m_bFlying = 0;
    CalcSize(offX, offY, w, h);
    Init(id, charadef::PlayerSide(m_Def), charadef::PlayerNumber(m_Def), charadef::BlockSide(m_Def),
         charadef::KindValue(m_Def), nullptr, 0, offX, offY, w, h, 32, 32, 1, 0, 0);
    m_nInput = charadef::PlayerNumber(m_Def);
    ApplyState(charadef::MoveMode(m_Def), 0);
    SetScale(charadef::Scale(m_Def), 1);
    m_nDir = m_nInitialDir = charadef::Direction(m_Def);
    m_nJumpCount = 0;
    m_bJumpHoldLock = 0;
    m_anHeroFrameWord[0] = m_anHeroFrameWord[1] = 0;
    m_nAccelMode = 0;
    m_dAccelFactor = 0.0;
    m_bAccel = 0;
    m_bJumpReady = 1;
    m_dHoldBoost = 4.0 / SubStepsN();
    BuildRangeDisplay();
    m_vecTouched.clear();
    return BuildFlowRuns(m_Def.m_vecFlows, 0, -1);
}

void cHero::ScaleHitBoxes(int scale) {
    ScaleRange(m_HitChara, scale);
    ScaleRange(m_HitShot, scale);
    ScaleRange(m_HitThird, scale);
}

void cHero::UpdateRectX() {
    const int32_t x = DotToInt(m_dX);
    RangeX(m_HitChara, x);
    RangeX(m_HitShot, x);
    RangeX(m_HitThird, x);
}

void cHero::UpdateRectY() {
    const int32_t y = DotToInt(m_dY);
    RangeY(m_HitChara, y);
    RangeY(m_HitShot, y);
    RangeY(m_HitThird, y);
}

int cHero::ClampX() {
    if (g_lpPlayScene && !g_lpPlayScene->m_bFollowLockX) {
        cScroll& sx = g_lpPlayScene->m_ScrollX;
        sx.m_dPos = m_dX - (320.0 - (m_nWidth >> 1));
        const double hi = (double)sx.m_nMax - 640.0;
        if (sx.m_dPos > hi) sx.m_dPos = hi;
        if (sx.m_dPos < (double)sx.m_nMin) sx.m_dPos = sx.m_nMin;
    }
    const int r = cGameObj::ClampX(m_bFlying ? 0 : 1);
    m_dRight = m_nWidth + m_dX - 1.0;
    return r;
}

int cHero::ClampY() {
    if (g_lpPlayScene && !g_lpPlayScene->m_bFollowLockY) {
        cScroll& sy = g_lpPlayScene->m_ScrollY;
        sy.m_dPos = m_dY - (240.0 - (m_nHeight >> 1));
        const double hi = (double)sy.m_nMax - 480.0;
        if (sy.m_dPos > hi) sy.m_dPos = hi;
        if (sy.m_dPos < (double)sy.m_nMin) sy.m_dPos = sy.m_nMin;
    }
    const int r = cGameObj::ClampY(m_bFlying ? 0 : 1);
    m_dBottom = m_nHeight + m_dY - 1.0;
    return r;
}

int cHero::StepX() {
    if (m_dImpactX != 0.0) {
        m_dSpeedX = m_dImpactX;
    } else if (m_dMoveX != 0.0) {
        ApplySpeedX(m_dMoveX, m_abDecel[0]);
        if (m_bAccel && m_nAccelMode == 3) {
            const double before = m_dMoveX;
            const double step = PerSecondToStep(m_dHoldBoost) * (m_dAccelFactor - 1.0);
            m_dMoveX += before < 0.0 ? -step : step;
            if ((before < 0.0 && m_dMoveX > 0.0) || (before > 0.0 && m_dMoveX < 0.0)) m_dMoveX = 0.0;
        }
        m_dSpeedX += m_dMoveX;
    }
    const double limit = g_StageSettings.m_adSubStep[cStage::STEP_LIMIT];
    m_dSpeedX = std::clamp(m_dSpeedX, -limit, limit);
    m_dX += m_dSpeedX;
    ClampX();
    return 0;
}

int cHero::StepY() {
    ApplyInertia();
    if (m_dImpactY == 0.0 && m_bFlying && m_dMoveY != 0.0) {
        ApplySpeedX(m_dMoveY, m_abDecel[1]);
        m_dSpeedY += m_dMoveY;
    }
    const int r = cGameObj::StepY(m_bFlying ? 0 : 2);
    ClampY();
    if (m_bFlying) return r;
    return (r == CLAMP_STAGE_BOTTOM || r == CLAMP_MAPEDGE_BOTTOM) ? STEP_FELL_OUT : r;
}

int cHero::RunFlows(int dying) {
    m_bJumpDone = 0;
    m_anHeroFrameWord[0] = m_anHeroFrameWord[1] = 0;
    // Forced scrolling carries a walking hero along; a flying one takes both axes' speeds.
    const int killed = RunFlowFrame(m_bScrollSync || !m_bFlying, dying);
    // Flow changes of items taken during the walk.
    RunQueuedFlowChanges(*this);
    if (killed) return 1;
    StandIfUnmoved();
    return m_nHP <= 0 ? 1 : 0;
}

int cHero::HasPending(int key) const {
    return std::find(m_vecTouched.begin(), m_vecTouched.end(), key) == m_vecTouched.end() ? 1 : 0;
}

void cHero::AddPending(int key) {
    if (HasPending(key)) m_vecTouched.push_back(key);
}

void cHero::RemovePending(int key) {
    m_vecTouched.erase(std::remove(m_vecTouched.begin(), m_vecTouched.end(), key), m_vecTouched.end());
}

int cHero::RunItemCommands(std::vector<cFlowCmd>& commands) {
    if (g_lpPlayScene) {
        g_lpPlayScene->m_nCommandResult = 0;
        g_lpPlayScene->m_bItemMessage = 0;
    }
    static const std::vector<int32_t> kNoVars;
    // By index: the list is looked up afresh for every command.
    for (size_t i = 0; i < commands.size(); ++i) {
        cFlowCmd& cmd = commands[i];
        // Arrange commands gather links; the next other command takes them all.
        if (cmd.MainKind() != 38)
            LinkCharaParamVars(cmd, m_listParamLink, g_lpPlayScene ? g_lpPlayScene->m_vecStageVars : kNoVars, m_vecVar);
        const int r = RunInstantCommand(*this, cmd);
        if (m_nHP < 1) return 2;
        if (r != 0) return r;
    }
    return m_nHP < 1 ? 2 : 0;
}

double cHero::RunJumpSpeed(const HEROJUMP& j) const {
    // The running speed in dots per sub-step, as the move speed is held.
    const double run = std::fabs((double)j.nRunSpeed) * 0.1 / SubStepsN();
    const int height = (run > 0.0 && std::fabs(m_dMoveX) >= run) ? j.nHeightRun : j.nHeightWalk;
    return JumpSpeedForHeight((double)std::clamp(height, 0, 1000) * 16.0);
}

void cHero::SpawnEffect(int8_t kind, int16_t index, int16_t frame) {
    if (!g_lpPlayScene) return;
    MESSAGESETTINGS set;
    set.nPosMode = MSGPOS_GRAPHIC;
    set.nGraphKind = kind;
    set.nGraphIndex = index;
    set.nGraphFrame = frame;
    set.nPlace = MSGPLACE_ABOVE_HERO;
    set.nCharaId = m_nId;
    set.nFixed = 1;  // the position of its first frame stays
    set.nDispMode = kMessageTimed;
    set.nTime = kItemIconFrames;
    MessageObj msg;
    if (ShowMessageWindow(msg, set, 0, g_lpPlayScene)) g_lpPlayScene->m_listMessage.push_back(msg);
}

void cHero::Jump(HEROJUMP& j) {
    if (m_bFlying || m_bJumpDone) return;
    if (j.nRule == 2) j.dSpeed = RunJumpSpeed(j);
    const bool held = j.nRule == 0 || (j.bHasKeys && KeyConditionHoldsNow(*this));
    const int n = g_StageSettings.m_nSubSteps > 0 ? g_StageSettings.m_nSubSteps : 1;
    if (held) {
        if (!m_bJumpHoldLock) {
            ++m_nJumpCount;
            const bool hold = m_nJumpCount < j.nHoldLimit || (m_bAirborne && !m_bStanding) || !m_bJumpReady ||
                              m_bRising || (m_dSpeedY >= 0.0 && !m_bStanding);
            if (hold) {
                if (!m_bFalling && m_nJumpCount <= n && (!m_bAirborne || m_bStanding) && m_bJumpReady && !m_bRising &&
                    !m_bImpact && !j.bJumped) {
                    if (!m_bStanding) {
                        m_bJumping = 1;
                        m_dSpeedY = j.dSpeed;
                        j.bJumped = 1;
                        PlayUserSe(j.nSound);
                    } else if (RidingStepsDone() == n) {
                        // From a carrying character only once its step of the frame is complete.
                        m_bJumping = 1;
                        m_bStanding = 0;
                        m_dSpeedY = j.dSpeed * 1.0199999809265137;
                        j.bJumped = 1;
                        PlayUserSe(j.nSound);
                    }
                }
            } else {
                m_bAirborne = 1;
                m_bJumpReady = 0;
            }
        }
    } else {
        if (m_nJumpCount > 0 && m_nJumpCount < j.nHoldLimit && !m_bAirborne && !m_bRising && !m_bJumpHoldLock &&
            !m_bImpact) {
            m_bStanding = 0;
            if (m_dSpeedY < 0.0) m_dSpeedY *= 0.3;
            m_bAirborne = 1;
        }
        m_nJumpCount = 0;
        m_bJumpReady = 1;
        m_bRising = 0;
    }
    if (IsOnGround() && m_dSpeedY >= 0.0) {
        m_nJumpCount = 0;
        m_bJumpReady = 1;
        m_bRising = 0;
        m_bImpact = 0;
        if (!j.bHasKeys)
            j.bJumped = 0;  // ready for the next jump
        else if (!held)
            j.bEnd = 1;
    }
    m_bJumpDone = 1;
}
