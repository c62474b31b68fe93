// Damage, invincibility and score: the character operations that change hit and skill points,
// protect a character for a while after a hit, exchange damage and knock-back with the
// character or shot that hit it, and end its life with the defeat score.
#include "play/damage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/scene_manager.h"
#include "play/chara_def.h"
#include "play/effect_obj.h"
#include "play/effect_progress.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "play/anime_set_access.h"
#include "records/anime_records.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

// Flow triggers raised here.
constexpr int kTrigDamage = 1;  // "ダメージを受けた時"
constexpr int kTrigImpact = 2;  // "衝撃を受けた時"
constexpr int kTrigDeath = 3;   // "死亡した時"

int SubSteps() { return std::max(1, (int)g_StageSettings.m_nSubSteps); }

// frames x n, held in the int range (a frame count from data may be huge or negative).
int32_t FramesToSubSteps(int frames) {
    return (int32_t)std::clamp<int64_t>((int64_t)frames * SubSteps(), 0, INT32_MAX);
}

// The settings copy of a shot, read through its named accessors.
cEdShot& SettingsOf(const cShot& shot) { return const_cast<cEdShot&>(shot.m_Settings); }

EFFECTRECT RectOf(const HITRANGE& r) { return {r.dLeft, r.dTop, r.dRight, r.dBottom}; }

void AddHitEffect(int id, const EFFECTRECT& a, const EFFECTRECT& b, int scale) {
    if (id == 0 || !g_lpPlayScene) return;
    EffectObj effect;
    effect.Create(id, a, b, (int8_t)std::clamp(scale, 1, 127));
    g_lpPlayScene->m_listEffect.push_back(effect);
}

double ImpactSpeed(double c) {
    if (c == 0.0) return 0.0;
    const double n = SubSteps();
    const double v = (std::sqrt(1.0 + 128.0 * n * std::fabs(c)) - 1.0) / (2.0 * n);
    return c > 0.0 ? v : -v;
}

}  // namespace

int32_t ClampScore(int64_t score) { return (int32_t)std::clamp<int64_t>(score, 0, kMaxScore); }

void AddScore(int64_t points) { g_SaveData.m_nStageScore = ClampScore((int64_t)g_SaveData.m_nStageScore + points); }

bool IsHeroChara(const cChara& chara) {
    for (const cHero& hero : g_vecHero)
        if (&hero == &chara) return true;
    return false;
}

cChara* FindObjectById(int id) {
    // The heroes, then the stage characters, by identifier.
    for (cHero& hero : g_vecHero)
        if (hero.m_nId == id) return &hero;
    for (cStageChara& chara : g_listStageChara)
        if (chara.m_nId == id) return &chara;
    return nullptr;
}

void cChara::ResetInvincible() {
    m_nInvincible = FramesToSubSteps(stageword::InvincibleFrames(g_StageSettings, m_nPlayerSide));
}

void cChara::SetInvincible(int32_t attackerKey) {
    ResetInvincible();
    m_vecImmunity.push_back({attackerKey, FramesToSubSteps(stageword::ImmunityFrames(g_StageSettings, m_nPlayerSide))});
}

void cChara::TickImmunities() {
    for (IMMUNITY& e : m_vecImmunity) --e.nLeft;
    m_vecImmunity.erase(std::remove_if(m_vecImmunity.begin(), m_vecImmunity.end(),
                                       [](const IMMUNITY& e) { return e.nLeft < 1; }),
                        m_vecImmunity.end());
}

bool cChara::IsInvincibleAgainst(int32_t attackerKey) const {
    if (IsInvincible()) return true;
    return std::any_of(m_vecImmunity.begin(), m_vecImmunity.end(),
                       [attackerKey](const IMMUNITY& e) { return e.nKey == attackerKey; });
}

int cChara::AddHP(int32_t delta, int force, int showGauge) {
    if (!force && delta <= 0 && charadef::ProtectionKind(m_Def) != 0) return 0;
    const int64_t maxHP = charadef::MaxHP(m_Def);
    int64_t d = delta;
    if (d > 0) d = std::min<int64_t>(d, maxHP - m_nHP);
    m_nHP = (int32_t)std::clamp<int64_t>((int64_t)m_nHP + d, 0, std::max<int64_t>(maxHP, 0));
    if (m_nHP < 1) {
        m_nHP = 0;
        return 1;
    }
    if (showGauge) StartHPGauge((int32_t)d);
    return 0;
}

int cChara::AddSP(int32_t delta, int showGauge) {
    const int64_t maxSP = charadef::MaxSP(m_Def);
    int64_t d = delta;
    if (d > 0) d = std::min<int64_t>(d, maxSP - m_nSP);
    m_nSP = (int32_t)std::clamp<int64_t>((int64_t)m_nSP + d, 0, std::max<int64_t>(maxSP, 0));
    if (maxSP < 1) return 1;
    if (showGauge) StartSPGauge((int32_t)d);
    return 0;
}

int32_t DamageOf(int32_t power, int32_t defence) {
    int64_t damage = power;
    // A power of 0 or less is not reduced by the defence (a negative one heals).
    if (damage > 0) damage = std::clamp<int64_t>(damage - defence, 0, kMaxDamage);
    return (int32_t)std::max<int64_t>(damage, -kMaxDamage);
}

int cChara::ExchangeDamage(const cChara& attacker) {
    const int32_t power = charadef::BodyPower(attacker.m_Def);
    const int result = AddHP(-DamageOf(power, charadef::Defence(m_Def)), 0, 1);
    AddHitEffect(charadef::HitEffect(attacker.m_Def), RectOf(m_HitChara), RectOf(attacker.m_HitChara),
                 charadef::Scale(attacker.m_Def));
    KnockBackFromChara(attacker);
    if (power != 0) RunFlowsOfTrigger(kTrigDamage);
    if (charadef::BodyImpact(attacker.m_Def) != 0) RunFlowsOfTrigger(kTrigImpact);
    return result;
}

int cChara::ExchangeDamageFromShot(const cShot& shot) {
    cEdShot& s = SettingsOf(shot);
    const int32_t power = s.Power();
    const int result = AddHP(-DamageOf(power, charadef::Defence(m_Def)), 0, 1);
    const EFFECTRECT own = {shot.m_dHitLeft, shot.m_dHitTop, shot.m_dHitRight, shot.m_dHitBottom};
    AddHitEffect(s.HitEffect(), RectOf(m_HitShot), own, std::max(1, (int)s.Scale()));
    KnockBackFromShot(shot);
    if (power != 0) RunFlowsOfTrigger(kTrigDamage);
    if ((int8_t)s.Impact() != 0) RunFlowsOfTrigger(kTrigImpact);
    return result;
}

void cChara::KnockBackFromChara(const cChara& attacker) {
    const int strength = charadef::BodyImpact(attacker.m_Def);
    const double n = SubSteps();
    const double fast = 8.0 * n * g_StageSettings.m_adSubStep[cStage::STEP_GRAVITY];
    // A walking attacker's fall speed counts only when it falls fast.
    const double dy = (attacker.m_bFlying || attacker.m_dSpeedY > fast) ? attacker.m_dSpeedY : 0.0;
    ApplyImpact(strength, attacker.m_dSpeedX, dy);
}

void cChara::KnockBackFromShot(const cShot& shot) {
    const int strength = (int8_t)SettingsOf(shot).Impact();
    // A shot that moves pushes along its motion; a sword (or a shot at rest) along its facing.
    if (shot.m_bIsShot && (shot.m_dSpeedX != 0.0 || shot.m_dSpeedY != 0.0))
        ApplyImpact(strength, shot.m_dSpeedX, shot.m_dSpeedY);
    else
        ApplyImpact(strength, shot.GetDir(), 0.0);
}

void cChara::ApplyImpact(int s, double dx, double dy) {
    if (s == 0) return;
    const int r = charadef::ImpactResist(m_Def);
    if (s < 0) {
        s += r;
        if (s < -20) s = -20;
        if (s >= 1) s = 0;
    } else {
        s -= r;
        if (s < 0) s = 0;
        if (s >= 21) s = 20;
    }
    if (s != 0) {
        const double m = std::fabs(dx) + std::fabs(dy);
        if (m == 0.0) {
            m_dImpactX = m_dImpactY = 0.0;
        } else {
            m_dImpactX = ImpactSpeed(s * dx / m);
            m_dImpactY = ImpactSpeed(s * dy / m);
        }
    }
    constexpr double eps = 1e-8;
    auto opposed = [](double impact, double speed) {
        return (impact > eps && speed < -eps) || (impact < -eps && speed > eps);
    };
    if (opposed(m_dImpactX, m_dMoveX)) m_dMoveX = 0.0;
    if (opposed(m_dImpactY, m_dMoveY)) m_dMoveY = 0.0;
    if (opposed(m_dImpactY, m_dSpeedY)) m_dSpeedY = 0.0;
    m_bImpact = 1;
}

int cChara::Die() {
    RunFlowsOfTrigger(kTrigDeath);
    RunFlows(1);
    AddScore(charadef::DefeatScore(m_Def));
    int itemResult = 0;
    if (cItem* item = GetItem(); item && item->m_bGiven && !g_vecHero.empty())
        itemResult = ItemTouchEffect(g_lpPlayScene, item, &g_vecHero.front());
    if ((g_lpPlayScene && g_lpPlayScene->m_nRequest == PLAY_REQ_GAMEEND) || itemResult == 1) return 1;
    // Characters aiming at this one lose their target; this one leaves its target's list.
    for (int32_t id : m_vecTargetedBy)
        if (cChara* c = FindObjectById(id); c && c->m_nTargetId == m_nId) c->m_nTargetId = -1;
    m_vecTargetedBy.clear();
    if (cChara* target = FindObjectById(m_nTargetId)) {
        auto& v = target->m_vecTargetedBy;
        v.erase(std::remove(v.begin(), v.end(), m_nId), v.end());
    }
    m_nTargetId = -1;
    // Shots and swords it fired lose their owner.
    if (g_lpPlayScene)
        for (cShot& shot : g_lpPlayScene->m_listShot)
            if (shot.m_nOwnerId == m_nId) shot.m_nOwnerId = kNoOwner;
    m_bDead = 1;
    m_bDying = 1;
    if (const int effect = charadef::DeathEffect(m_Def); effect != 0)
        StartCharaEffect(m_CharaEffect, effect, charadef::DeathEffectParam(m_Def), 0);
    return 0;
}

int cChara::GraphicIndexFor(int baseCell, int* colourSwap) const {
    if (colourSwap) *colourSwap = 0;
    int64_t cell = baseCell;
    if (const cAnimeSetRec* set = AnimeSetFor(charadef::AnimeSet(m_Def))) {
        if (m_nMoveMode != 0) cell += set->m_nOffsetA;
        if (m_bActsAsBlock) cell += set->m_nOffsetB;
        if (charadef::ProtectionKind(m_Def) != 0) cell += set->m_nOffsetC;
    }
    return (int)std::clamp<int64_t>(cell, INT32_MIN, INT32_MAX);
}
