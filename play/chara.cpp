// Characters: set-up from the definition, hit ranges, block positions, jump speeds, the per
// sub-step gravity and knock-back, the floor and ceiling snaps, copies and the links.
#include "play/chara.h"

#include <algorithm>
#include <cmath>

#include "core/checked.h"
#include "app/scene_manager.h"
#include "flow/flow_run.h"
#include "media/anime.h"
#include "records/anime_records.h"
#include "play/anime_set_access.h"
#include "play/block_map.h"
#include "play/chara_def.h"
#include "play/effect_progress.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "records/stage.h"

namespace {
constexpr int kCell = 32;

double SubStepsN() {
    const double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
    return n >= 1.0 ? n : 1.0;
}
double SubStepsN2() {
    const double n = SubStepsN();
    return n * n;
}
// The character with an identifier among the heroes and the stage characters; null when none.
cChara* FindChara(int32_t id) {
    if (id < 0) return nullptr;
    for (cHero& h : g_vecHero)
        if (h.m_nId == id) return &h;
    for (cStageChara& c : g_listStageChara)
        if (c.m_nId == id) return &c;
    return nullptr;
}
void EraseId(std::vector<int32_t>& v, int32_t id) { v.erase(std::remove(v.begin(), v.end(), id), v.end()); }
}  // namespace

bool RectOverlapD(const HITRANGE& a, const HITRANGE& b) {
    if (a.dLeft > b.dRight || a.dRight < b.dLeft || a.dTop > b.dBottom) return false;
    return a.dBottom >= b.dTop;
}

int32_t BlockToDot(int8_t halfBlocks) { return (int32_t)halfBlocks * 32 / 2; }

double PercentToRate(int16_t percent) { return percent * 0.01 / SubStepsN2(); }

cChara::cChara() {
    for (auto& v : m_avecGroupStop) v.assign(kFlowGroupCount, 0);
}

cChara::cChara(const cChara& other) : cGameObj(other) { Assign(other); }

cChara& cChara::operator=(const cChara& other) {
    if (this != &other) Assign(other);
    return *this;
}

void cChara::Assign(const cChara& other) {
    if (this == &other) return;
    cGameObj::operator=(other);
    m_nGroup = other.m_nGroup;
    m_bDying = other.m_bDying;
    m_bInRange = other.m_bInRange;
    m_bActsAsBlock = other.m_bActsAsBlock;
    m_bVanishOnEnd = other.m_bVanishOnEnd;
    m_bCrushProof = other.m_bCrushProof;
    m_bIgnoreDirection = other.m_bIgnoreDirection;
    m_bIgnoreButtons = other.m_bIgnoreButtons;
    m_bFreeMove = other.m_bFreeMove;
    m_bScrollSync = other.m_bScrollSync;
    std::copy(std::begin(other.m_abContact), std::end(other.m_abContact), m_abContact);
    std::copy(std::begin(other.m_anFrameWord), std::end(other.m_anFrameWord), m_anFrameWord);
    m_nTargetId = other.m_nTargetId;
    m_vecTargetedBy = other.m_vecTargetedBy;
    m_vecSummoned = other.m_vecSummoned;
    m_Def = other.m_Def;
    for (int i = 0; i < kFlowStopModes; ++i) m_avecGroupStop[i] = other.m_avecGroupStop[i];
    std::copy(std::begin(other.m_anPlace), std::end(other.m_anPlace), m_anPlace);
    m_dImpactX = other.m_dImpactX;
    m_dImpactY = other.m_dImpactY;
    m_bImpact = other.m_bImpact;
    std::copy(std::begin(other.m_anAfterImpact), std::end(other.m_anAfterImpact), m_anAfterImpact);
    m_dPrevImpactY = other.m_dPrevImpactY;
    m_nBlockUnder = other.m_nBlockUnder;
    m_bDead = other.m_bDead;
    m_bLanded = other.m_bLanded;
    m_bStanding = other.m_bStanding;
    m_nCarrierId = other.m_nCarrierId;
    std::copy(std::begin(other.m_adCarrierBox), std::end(other.m_adCarrierBox), m_adCarrierBox);
    m_bPushedByBlock = other.m_bPushedByBlock;
    std::copy(std::begin(other.m_adPrevBox), std::end(other.m_adPrevBox), m_adPrevBox);
    m_nLastFloor = other.m_nLastFloor;
    m_nAirCount = other.m_nAirCount;
    m_nLastBlockSide = other.m_nLastBlockSide;
    for (int r = 0; r < 2; ++r)
        for (int e = 0; e < 4; ++e) m_adSavedRange[r][e] = other.m_adSavedRange[r][e];
    m_nHP = other.m_nHP;
    m_HPGauge = other.m_HPGauge;
    m_nSP = other.m_nSP;
    m_SPGauge = other.m_SPGauge;
    m_vecVar = other.m_vecVar;
    m_nInvincible = other.m_nInvincible;
    m_vecImmunity = other.m_vecImmunity;
    m_bEndRequest = other.m_bEndRequest;
    m_nSightRange = other.m_nSightRange;
    std::copy(std::begin(other.m_abFixScreen), std::end(other.m_abFixScreen), m_abFixScreen);
    std::copy(std::begin(other.m_anFixScreen), std::end(other.m_anFixScreen), m_anFixScreen);
    m_HitChara = other.m_HitChara;
    m_HitShot = other.m_HitShot;
    m_nInput = other.m_nInput;
    m_nJumpCount = other.m_nJumpCount;
    m_bJumping = other.m_bJumping;
    m_bAirborne = other.m_bAirborne;
    m_bRising = other.m_bRising;
    m_bFalling = other.m_bFalling;
    m_bCeiling = other.m_bCeiling;
    m_bHeld = other.m_bHeld;
    m_nTurnLock = other.m_nTurnLock;
    std::copy(std::begin(other.m_abDecel), std::end(other.m_abDecel), m_abDecel);
    m_CharaEffect = other.m_CharaEffect;
    m_vecAimedShots = other.m_vecAimedShots;
    m_byViewMode = other.m_byViewMode;
    m_byLayer = other.m_byLayer;
    m_byHidden = other.m_byHidden;
    m_bOnScreen = other.m_bOnScreen;
    m_nFloorEffect = other.m_nFloorEffect;
    m_dFloorFactor = other.m_dFloorFactor;
    m_nFloorFrames = other.m_nFloorFrames;
    m_bNoJump = other.m_bNoJump;
    m_nCaught = other.m_nCaught;
    m_listFlowAnime = other.m_listFlowAnime;
    AssignFlowState(other);
}

void cChara::SetUp(const cCharaRec* def, const int32_t (&place)[4]) {
    m_vecTargetedBy.shrink_to_fit();
    m_vecSummoned.shrink_to_fit();
    // The hero (element 0 of the hero list) is every character's first target.
    m_nTargetId = -1;
    if (!g_vecHero.empty()) {
        cHero& hero = g_vecHero.front();
        if (&hero != this) {
            m_nTargetId = hero.m_nId;
            if (std::find(hero.m_vecTargetedBy.begin(), hero.m_vecTargetedBy.end(), m_nId) ==
                hero.m_vecTargetedBy.end())
                hero.m_vecTargetedBy.push_back(m_nId);
        }
    }
    for (auto& v : m_avecGroupStop) v.assign(kFlowGroupCount, 0);
    std::copy(std::begin(place), std::end(place), m_anPlace);
    m_dImpactX = m_dImpactY = m_dPrevImpactY = 0.0;
    m_bImpact = 0;
    m_anAfterImpact[0] = -1;
    m_anAfterImpact[1] = 1;
    ClearContactFlags();
    m_nJumpCount = 0;
    m_bJumping = m_bAirborne = m_bRising = m_bFalling = m_bCeiling = m_bHeld = 0;
    m_bStanding = m_bLanded = 0;
    m_nHP = m_nSP = 0;
    m_vecVar.assign(kCharaVarCount, 0);
    if (def) {
        m_Def = *def;
        m_nHP = charadef::MaxHP(m_Def);
        m_nSP = charadef::MaxSP(m_Def);
        m_bScrollSync = charadef::ScrollSync(m_Def);
        m_bEndRequest = 0;
        m_anFrameWord[0] = m_anFrameWord[1] = 0;
        m_nSightRange = BlockToDot(charadef::SightHalfBlocks(m_Def));
        m_dDecel = PercentToRate(charadef::DecelPercent(m_Def));
        // The effect state starts cleared; an appearance effect starts at once.
        m_CharaEffect = CHARAEFFECTSTATE{};
        if (charadef::AppearEffect(m_Def) != 0) StartCharaEffect(m_CharaEffect, charadef::AppearEffect(m_Def), 0, 0);
        SetAnimation((int16_t)charadef::AnimeSet(m_Def), 1);
    }
    m_nInvincible = 0;
    m_vecImmunity.clear();
}

void cChara::SetHitRect(int standOnGround, int width, int height) {
    HITRANGE& r = m_HitChara;
    r.nOffX = 16 - m_nGraphOffX - (width >> 1);
    r.nOffY = standOnGround ? 32 - m_nGraphOffY - height : 16 - m_nGraphOffY - (height >> 1);
    r.nWidth = width;
    r.nHeight = height;
    r.nBaseOffX = r.nOffX;
    r.nBaseOffY = r.nOffY;
    r.nBaseWidth = width;
    r.nBaseHeight = height;
}

void cChara::SetBlockX(int column) {
    const int64_t dots = ((int64_t)StageOriginBlocks(0) + column) * kCell;
    m_dX = (double)dots + m_nBaseGraphOffX + 0.5;
    // The centre kept for the scale, as scaling up from 1 does.
    const int scale = charadef::Scale(m_Def);
    m_dX -= (double)(m_nBaseWidth >> 1) * (double)(scale - 1);
    ClampX();
}

void cChara::SetBlockY(int row) {
    const int64_t dots = ((int64_t)StageOriginBlocks(1) + row) * kCell;
    m_dY = (double)dots + m_nBaseGraphOffY;
    AdjustForScale(charadef::Scale(m_Def), 1);
    ClampY();
}

void cChara::SetBlockPos(int column, int row) {
    SetBlockX(column);
    SetBlockY(row);
}

double cChara::JumpSpeedForHeight(double height) const {
    const double g = g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY];
    const double root = (8.0 * height + g) * g;
    // No gravity or a height below the floor: no jump rather than a NaN speed.
    if (!(root >= 0.0)) return 0.0;
    double v = (-g - std::sqrt(root)) * 0.5;
    if (!charadef::IgnoreJumpCorrection(m_Def)) v *= 0.99 - stageword::JumpCorrection(g_StageSettings) * 0.025;
    return v;
}

int cChara::FallFrames(double speed) {
    const double g = g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY];
    if (!(g > 0.0)) return 0;
    const double f = SubStepsN() - speed / g;
    return (int)std::clamp(f, -1e9, 1e9);
}

int cChara::JumpDuration(int halfBlocks) const {
    const int64_t n = g_StageSettings.m_nSubSteps > 0 ? g_StageSettings.m_nSubSteps : 1;
    const int64_t frames = (int64_t)FallFrames(JumpSpeedForHalfBlocks(halfBlocks)) / n;
    // Frames to tenths of a second: the divide-by-six multiply, rounded toward zero, plus one.
    int64_t q = (frames * 715827883) >> 32;
    if (q < 0) ++q;
    return (int)std::clamp<int64_t>(q + 1, INT32_MIN, INT32_MAX);
}

void cChara::RemoveFlowAnimes(int flowId) {
    std::erase_if(m_listFlowAnime, [flowId](const FLOWANIME& a) { return a.nFlowId == flowId; });
}

void cChara::PauseFlowAnimes(int flowId) {
    for (auto it = m_listFlowAnime.begin(); it != m_listFlowAnime.end();) {
        if (it->nFlowId != flowId) {
            ++it;
        } else if ((int64_t)it->nCount + it->nCount2 - 1 < 0) {
            it = m_listFlowAnime.erase(it);
        } else {
            it->bPaused = 1;
            ++it;
        }
    }
}

void cChara::ResumeFlowAnimes(int flowId) {
    for (FLOWANIME& a : m_listFlowAnime)
        if (a.nFlowId == flowId) a.bPaused = 0;
}

void cChara::AdjustForScale(int newScale, int oldScale) {
    if (newScale == oldScale) return;
    const int d = newScale - oldScale;
    m_dY = m_dY - (double)m_nBaseGraphHeight * d + (double)m_nBaseGraphOffY * d;
    ClampY();
}

void cChara::MoveToX(int x) {
    m_dX = (double)x + m_nGraphOffX - (m_nGraphWidth >> 1);
    ClampX();
}

void cChara::MoveToY(int y) {
    m_dY = (double)y + m_nGraphOffY - (m_nGraphHeight >> 1);
    ClampY();
}

void cChara::MoveTo(int x, int y) {
    MoveToX(x);
    MoveToY(y);
}

// The result of the MoveTo...Result operations is a character whose contact words are cleared.
void cChara::MoveToResult(int x, int y, void* result) {
    MoveTo(x, y);
    if (result) static_cast<cChara*>(result)->ClearContactFlags();
}

void cChara::MoveToXResult(int x, void* result) {
    MoveToX(x);
    if (result) static_cast<cChara*>(result)->ClearContactFlags();
}

void cChara::MoveToYResult(int y, void* result) {
    MoveToY(y);
    if (result) static_cast<cChara*>(result)->ClearContactFlags();
}

void cChara::ApplyGravity() {
    if (m_bFlying || m_bStanding || m_bHeld) return;
    // A character knocked upward gets no gravity.
    if (m_dImpactY >= 0.0) m_dSpeedY += g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY];
}

void cChara::ApplyInertia() {
    const double v = m_dImpactY;
    if (v != 0.0) {
        if (m_bFlying) {
            m_dSpeedY += v;
        } else if (v < 0.0) {
            m_dSpeedY = m_dSpeedY - m_dPrevImpactY + v;
        } else if (BlockUnderIsSolid(*this) || m_bStanding) {
            m_dImpactY = 0.0;
        } else {
            m_dSpeedY = m_dSpeedY - m_dPrevImpactY + v;
        }
    }
    m_dPrevImpactY = m_dImpactY;
}

namespace {
void Decay(double& u) {
    const double step = 1.0 / SubStepsN();
    if (u > 0.0) {
        u -= step;
        if (u < 0.0) u = 0.0;
    } else if (u < 0.0) {
        u += step;
        if (u > 0.0) u = 0.0;
    }
}
}  // namespace

void cChara::DecayInertiaX() { Decay(m_dImpactX); }
void cChara::DecayInertiaY() { Decay(m_dImpactY); }

void cChara::RestoreHitRects() {
    HITRANGE* r[2] = {&m_HitChara, &m_HitShot};
    for (int i = 0; i < 2; ++i) {
        r[i]->dLeft = m_adSavedRange[i][0];
        r[i]->dTop = m_adSavedRange[i][1];
        r[i]->dRight = m_adSavedRange[i][2];
        r[i]->dBottom = m_adSavedRange[i][3];
    }
}

void cChara::SnapToFloor() {
    m_dSpeedY = m_dMoveY = 0.0;
    m_bJumping = m_bAirborne = m_bRising = m_bFalling = m_bCeiling = 0;
    m_bImpact = 0;
    m_abContact[CONTACT_BOTTOM] = 1;
    const int32_t bottom = DotToInt(m_dBottom);
    m_dY -= (double)(((bottom % kCell) + kCell) % kCell) + 1.0;
    ClampY();
    // Landing raises 9, then 13 and 15.
    RunFlowsOfTrigger(9);   // "ブロックに当たった時"
    RunFlowsOfTrigger(13);  // "自分の上下にブロックが当たった時"
    RunFlowsOfTrigger(15);  // "自分の下にブロックが当たった時"
}

void cChara::SnapToCeiling() {
    m_bAirborne = m_bFalling = m_bCeiling = 1;
    m_abContact[CONTACT_TOP] = 1;
    m_dSpeedY = m_dMoveY = 0.0;
    const int32_t top = DotToInt(m_dY);
    m_dY = m_dY - (double)(((top % kCell) + kCell) % kCell) + kCell;
    ClampY();
    RunFlowsOfTrigger(9);   // "ブロックに当たった時"
    RunFlowsOfTrigger(13);
    RunFlowsOfTrigger(14);  // "自分の上にブロックが当たった時"
}

void cChara::Land(int setLanding) {
    m_bStanding = 0;
    if (m_dImpactY == 0.0) m_dSpeedY = 0.0;
    if (setLanding) m_bLanded = 1;
}

bool cChara::IsOnGround() const { return BlockUnderIsSolid(*this) || m_bStanding; }

int cChara::RunFlowFrame(int followScroll, int dying) {
    if (g_lpPlayScene) {
        g_lpPlayScene->m_lpRunChara = this;
        g_lpPlayScene->m_nCommandResult = 0;
    }
    if (g_lpPlayScene && followScroll) {
        const cScroll& sx = g_lpPlayScene->m_ScrollX;
        m_dSpeedX = sx.m_bChanged ? 0.0 : sx.m_dSpeed;
        if (m_bFlying) {
            const cScroll& sy = g_lpPlayScene->m_ScrollY;
            m_dSpeedY = sy.m_bChanged ? 0.0 : sy.m_dSpeed;
        }
    } else {
        m_dSpeedX = 0.0;
        if (m_bFlying) m_dSpeedY = 0.0;
    }
    m_bHeld = 0;
    m_abDecel[0] = m_abDecel[1] = 1;
    m_anFrameWord[0] = m_anFrameWord[1] = 0;
    if (m_nTurnLock > 0) --m_nTurnLock;
    const int killed = StepRunningFlows(*this, dying);
    if (g_lpPlayScene) {
        g_lpPlayScene->m_lpRunChara = nullptr;
        g_lpPlayScene->m_lpRunFlow = nullptr;
    }
    return killed;
}

void cChara::StandIfUnmoved() {
    if (m_anFrameWord[0] == 0 && m_dMoveX == 0.0 && m_dMoveY == 0.0) m_Anime->Change(m_bFlying ? 2 : 0, 1);
}

void cChara::ReleaseLinks() {
    if (cChara* target = FindChara(m_nTargetId)) EraseId(target->m_vecTargetedBy, m_nId);
    m_nTargetId = -1;
    for (int32_t id : m_vecTargetedBy)
        if (cChara* c = FindChara(id); c && c->m_nTargetId == m_nId) c->m_nTargetId = -1;
    m_vecTargetedBy.clear();
    if (cChara* summoner = FindChara(m_anPlace[2]); summoner && summoner != this)
        EraseId(summoner->m_vecSummoned, m_nId);
    for (int32_t id : m_vecSummoned)
        if (cChara* c = FindChara(id); c && c->m_anPlace[2] == m_nId) c->m_anPlace[2] = -1;
    m_vecSummoned.clear();
}

void cChara::SetAnimation(int16_t set, int force) {
    if (!force && set == (int16_t)m_Def.m_wAnimeSet) return;
    m_Def.m_wAnimeSet = (uint16_t)set;
    cAnime& anime = *m_Anime;
    anime.m_vecAnime.clear();
    // Before the database is loaded there is nothing to load.
    const cAnimeSetRec* rec = AnimeSetFor(set);
    if (!rec) return;
    for (const cAnimeRec& a : rec->m_vecGroups) {
        std::vector<AnimeFrame> frames;
        frames.reserve(a.m_vecFrames.size() + 1);
        for (const cAnimeFrameRec& f : a.m_vecFrames) {
            // Tenths of a second to frames, held inside the int range.
            const int time = (int)std::clamp<int64_t>((int64_t)f.m_nDuration * 6, INT32_MIN, INT32_MAX);
            frames.push_back({f.m_nCell, time, 1});
        }
        frames.push_back({ANIME_LOOP, 0, 1});
        anime.m_vecAnime.push_back(std::move(frames));
    }
    anime.m_nFrame = 0;
    anime.m_nTick = 0;
}
