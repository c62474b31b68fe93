// Stage characters: set-up from the definition and the placement, hit ranges by the hit-range
// kind, block positions, the in-view and activation tests, the steps with their result codes,
// the per-frame flow run and the jump.
#include "play/stage_chara.h"

#include <algorithm>

#include "app/scene_manager.h"
#include "media/anime.h"
#include "play/chara_def.h"
#include "play/play_scene.h"
#include "play/stage_words.h"
#include "records/stage.h"

namespace {
constexpr int kCell = 32;

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
// Sizes and ranges from the file are held to sane values (a range may reach past its cell).
int Size(int v) { return std::clamp(v, 1, kCell); }
int RangeSize(int v) { return std::clamp(v, 0, 4096); }
int SubStepsN() { return g_StageSettings.m_nSubSteps > 0 ? g_StageSettings.m_nSubSteps : 1; }
}  // namespace

cStageChara::cStageChara(const cStageChara& other)
    : cChara(other), m_Item(other.m_Item), m_nItemBlink(other.m_nItemBlink), m_bSkipViewX(other.m_bSkipViewX),
      m_bSkipViewY(other.m_bSkipViewY), m_bActivated(other.m_bActivated), m_nSpare(other.m_nSpare) {}

cStageChara& cStageChara::operator=(const cStageChara& other) {
    if (this == &other) return *this;
    Assign(other);
    m_Item = other.m_Item;
    m_nItemBlink = other.m_nItemBlink;
    m_bSkipViewX = other.m_bSkipViewX;
    m_bSkipViewY = other.m_bSkipViewY;
    m_bActivated = other.m_bActivated;
    m_nSpare = other.m_nSpare;
    return *this;
}

void cStageChara::SetUp(int id, const cCharaRec& def, const cItem* carried, const int32_t (&place)[4],
                        int16_t extraCode) {
    // The identifier first: the hero's targeted-by list takes it.
    m_nId = id;
    cChara::SetUp(&def, place);
    if (m_Def.m_byC35 == 0) m_Def.m_byC35 = 1;
    const cStage& s = g_StageSettings;
    const int flying = charadef::MoveMode(m_Def) != 0 ? 1 : 0;
    m_bActsAsBlock = charadef::ActsAsBlock(m_Def) ? 1 : 0;
    int w = kCell, h = kCell, offX = 0, offY = 0;
    if (!m_bActsAsBlock) {
        w = Size(stageword::EnemyWidth(s, flying));
        h = Size(stageword::EnemyHeight(s, flying));
        offX = (kCell - w) >> 1;
        offY = stageword::EnemySizeOnBottom(s, flying) ? kCell - h : (kCell - h) >> 1;
    }
    // Kind 1: a stage character (the hero is kind 0).
    Init(id, charadef::PlayerSide(m_Def), charadef::PlayerNumber(m_Def), charadef::BlockSide(m_Def), 1, nullptr, 0,
         offX, offY, w, h, kCell, kCell, charadef::Direction(m_Def), charadef::MoveMode(m_Def), extraCode);
    m_nGroup = m_nBlockSide;
    // Hit ranges.
    auto centred = [&](HITRANGE& r, int rw, int rh) {
        rw = RangeSize(rw);
        rh = RangeSize(rh);
        SetRange(r, 16 - (rw >> 1) - m_nGraphOffX, 16 - (rh >> 1) - m_nGraphOffY, rw, rh);
    };
    if (m_bActsAsBlock) {
        SetRange(m_HitChara, 0, 0, kCell, kCell);
        SetRange(m_HitShot, 0, 0, kCell, kCell);
    } else {
        switch (charadef::HitRangeKind(m_Def)) {
        case 0:
            SetHitRect(stageword::EnemyRangeOnBottom(s, flying), RangeSize(stageword::EnemyRangeWidth(s, flying)),
                       RangeSize(stageword::EnemyRangeHeight(s, flying)));
            break;
        case 1: centred(m_HitChara, stageword::EnemyShotRange(s, 0), stageword::EnemyShotRange(s, 1)); break;
        case 2: centred(m_HitChara, stageword::EnemySecondRange(s, 0), stageword::EnemySecondRange(s, 1)); break;
        default: centred(m_HitChara, m_nGraphWidth, m_nGraphHeight); break;
        }
        centred(m_HitShot, stageword::EnemyShotRange(s, 0), stageword::EnemyShotRange(s, 1));
    }
    SetScale(charadef::Scale(m_Def), 1);
    m_nJumpCount = 0;
    m_nItemBlink = 0;
    // The carried item, or none.
    if (carried) {
        m_Item = *carried;
    } else {
        m_Item = cItem();
        m_Item.m_nKind = 0;
    }
    const int skips = charadef::ViewSkips(m_Def);
    m_bSkipViewY = (skips & 1) ? 1 : 0;
    m_bSkipViewX = (skips & 2) ? 1 : 0;
    m_bActivated = 0;
    m_nInput = 0;
    m_Anime->Set(m_bFlying ? 0 : 1, 1);
    // The clone index is the clone value that scales the flows' parameters.
    m_sCloneValue = extraCode;
    BuildFlowRuns(m_Def.m_vecFlows, 0, -1);
}

void cStageChara::SetBlockPos(int column, int row) {
    const int scale = charadef::Scale(m_Def);
    m_dX = (double)(((int64_t)StageOriginBlocks(0) + column) * kCell) + m_nBaseGraphOffX + 0.5;
    m_dY = (double)m_nBaseGraphOffY + (double)(((int64_t)StageOriginBlocks(1) + row) * kCell);
    // The centre held for the scale as scaling up from 1 does, without resizing.
    m_dX -= (double)(m_nBaseWidth >> 1) * (double)(scale - 1);
    cGameObj::ClampX(2);
    AdjustForScale(scale, 1);
    ScaleHitBoxes(scale);
    ClampX();
    ClampY();
}

void cStageChara::Activate() {
    m_bActivated = 1;
    // Once active it stays in view from then on.
    if (charadef::StayActive(m_Def) == 1) m_bSkipViewX = m_bSkipViewY = 1;
    GetGraphicRect();
}

void cStageChara::ScaleHitBoxes(int scale) {
    if (m_bActsAsBlock) {
        SetRange(m_HitChara, 0, 0, m_nWidth, m_nHeight);
        SetRange(m_HitShot, 0, 0, m_nWidth, m_nHeight);
        // The base values stay those of scale 1.
        m_HitChara.nBaseWidth = m_HitShot.nBaseWidth = m_nBaseWidth;
        m_HitChara.nBaseHeight = m_HitShot.nBaseHeight = m_nBaseHeight;
        return;
    }
    ScaleRange(m_HitChara, scale);
    ScaleRange(m_HitShot, scale);
}

void cStageChara::UpdateRectX() {
    const double x = DotToInt(m_dX);
    for (HITRANGE* r : {&m_HitChara, &m_HitShot}) {
        r->dLeft = x + r->nOffX;
        r->dRight = r->dLeft + r->nWidth - 1;
    }
}

void cStageChara::UpdateRectY() {
    const double y = DotToInt(m_dY);
    for (HITRANGE* r : {&m_HitChara, &m_HitShot}) {
        r->dTop = y + r->nOffY;
        r->dBottom = r->dTop + r->nHeight - 1;
    }
}

int cStageChara::StepX() {
    if (m_dImpactX != 0.0) {
        m_dSpeedX = m_dImpactX;
    } else if (m_dMoveX != 0.0) {
        ApplySpeedX(m_dMoveX, m_abDecel[0]);
        m_dSpeedX += m_dMoveX;
    }
    const int r = cGameObj::StepX(2);
    // Held once more; only a step that met the map's edge can have left something to hold.
    if (r == CLAMP_MAPEDGE) ClampX();
    return r == CLAMP_MAPEDGE ? STEP_X_AT_EDGE : r;
}

int cStageChara::StepY() {
    ApplyInertia();
    if (m_dImpactY == 0.0 && m_bFlying && m_dMoveY != 0.0) {
        ApplySpeedX(m_dMoveY, m_abDecel[1]);
        m_dSpeedY += m_dMoveY;
    }
    const int r = cGameObj::StepY(2);
    if (r == CLAMP_MAPEDGE || r == CLAMP_MAPEDGE_BOTTOM) ClampY();
    if (m_bFlying) return (r == CLAMP_MAPEDGE || r == CLAMP_MAPEDGE_BOTTOM) ? STEP_AT_EDGE : r;
    return (r == CLAMP_STAGE_BOTTOM || r == CLAMP_MAPEDGE_BOTTOM) ? STEP_FELL_OUT : r;
}

int cStageChara::RunFlows(int dying) {
    // Moving with the forced scroll: the axis' speed unless it stopped at its limit this frame.
    if (RunFlowFrame(m_bScrollSync, dying)) return 1;
    StandIfUnmoved();
    // A character given its end request (a vanish command) ends even when no flow of it runs.
    return (m_nHP <= 0 || m_bEndRequest) ? 1 : 0;
}

void cStageChara::Jump(HEROJUMP& j) {
    if (j.bJumped) {
        if (IsOnGround()) {
            m_bFalling = 0;
            m_bAirborne = 0;
            j.bEnd = 1;
        }
        return;
    }
    if (!m_bFalling && !m_bRising && !m_bImpact && !m_bHeld) {
        j.bJumped = 1;
        PlayUserSe(j.nSound);
        m_dSpeedY = j.dSpeed;
        m_bJumping = 1;
        m_bAirborne = 1;
        m_bStanding = 0;
    } else if (j.nSteps >= 4 * SubStepsN()) {
        // The jump waited four frames for the character to be free: the command ends unjumped.
        j.bJumped = 1;
        m_bJumping = 0;
        m_bAirborne = 0;
        j.bEnd = 1;
    }
}
