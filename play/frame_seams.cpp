// Stand-ins for the play Parts that are not built yet. Each answers "nothing happened" so the
// play scene runs its states and its frame of n sub-steps over the stage's objects; the Part
// that is built replaces its entry here. None of these is finished behaviour.
#include "play/frame_seams.h"

#include <algorithm>

#include "core/globals.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "records/stage.h"

// ---- character operations ----
int cChara::HitBlockCharacters() { return 0; }
void cChara::TickInvincible() {}
// Character effects, immunity and flows of a character.
void ClearImmunity(cChara&) {}
int RunInstantCommand(cHero&, const cFlowCmd&) { return 0; }
int RidingStepsDone() { return g_StageSettings.m_nSubSteps; }
// The value change of HP and SP; the protection kind and the gauges come with the damage rules.
int cChara::AddHP(int32_t delta, int, int) {
    const int32_t maxHP = charadef::MaxHP(m_Def);
    int64_t hp = (int64_t)m_nHP + (delta > 0 ? std::min<int64_t>(delta, (int64_t)maxHP - m_nHP) : delta);
    m_nHP = (int32_t)std::clamp<int64_t>(hp, 0, std::max(maxHP, 0));
    if (m_nHP < 1) {
        m_nHP = 0;
        return 1;
    }
    return 0;
}
int cChara::AddSP(int32_t delta, int) {
    const int32_t maxSP = charadef::MaxSP(m_Def);
    int64_t sp = (int64_t)m_nSP + (delta > 0 ? std::min<int64_t>(delta, (int64_t)maxSP - m_nSP) : delta);
    m_nSP = (int32_t)std::clamp<int64_t>(sp, 0, std::max(maxSP, 0));
    return maxSP < 1 ? 1 : 0;
}
int cChara::HasRiders() const { return 0; }
void cChara::MoveRiders() {}
int cChara::Die() {
    m_bDying = 1;
    return 0;
}

// ---- shots: blocks, owners, sheets and summons ----
cChara* FindObjectById(int id) {
    // The heroes, then the stage characters, by identifier.
    for (cHero& hero : g_vecHero)
        if (hero.m_nId == id) return &hero;
    for (cStageChara& chara : g_listStageChara)
        if (chara.m_nId == id) return &chara;
    return nullptr;
}

// ---- play rules, deaths and hits ----
int CheckDeaths() { return 0; }
int KillCharacterCheckEnd(cChara&) { return 0; }
void FinishGameRanking(cPlayScene*) {}
int BlockItemTouch() { return 0; }
int HitCharacters() { return 0; }
int HitHeroItems() { return 0; }

// ---- scene set-up and drawing ----
void LoadStageRanking() {}

// ---- drawing of the objects not built yet ----
void DrawCharaRanges(cPlayScene*) {}

// ---- words the records do not name yet ----
int PlayDataStopAfterPlay() { return 0; }
void PlayDataClearStageWords() {}
int KeepDeadCharacters() { return 0; }
