// The target, status, vanish and item commands: kinds 21-25.
#include "flow/cmd_target_status.h"

#include <algorithm>
#include <list>

#include "app/scene_manager.h"
#include "core/report.h"
#include "flow/flow_cmd.h"
#include "flow/flow_run.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/chara_search.h"
#include "play/damage.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_chara.h"
#include "play/stage_objects.h"
#include "play/status_ops.h"
#include "records/item_rec.h"
#include "records/palette_lists.h"
#include "records/stage.h"

namespace {

// Holds of the hit pass, and the shots taken out of play meanwhile (already out of their group
// lists; they leave the shot list when the outermost hold closes).
int s_nHitPassHolds = 0;
std::vector<cShot*> s_vecShotsGone;
// Items being given by get-item commands inside each other.
int s_nGetItemDepth = 0;

int32_t P(const std::vector<int32_t>& params, size_t i) { return i < params.size() ? params[i] : 0; }

// The character's target becomes `target` (none for null): the old target forgets it, the new
// one records it among the characters that target it.
void SetTargetOf(cChara& chara, cChara* target) {
    if (cChara* old = FindObjectById(chara.m_nTargetId)) {
        std::vector<int32_t>& by = old->m_vecTargetedBy;
        by.erase(std::remove(by.begin(), by.end(), chara.m_nId), by.end());
    }
    chara.m_nTargetId = target ? target->m_nId : -1;
    if (!target) return;
    std::vector<int32_t>& by = target->m_vecTargetedBy;
    if (std::find(by.begin(), by.end(), chara.m_nId) == by.end()) by.push_back(chara.m_nId);
}

// The search of set-target: the nearest character to this one's centre through the filters,
// over one group list or over all of them.
cChara* SearchTarget(const cChara& chara, const std::vector<int32_t>& params, int mode) {
    if (!g_lpPlayScene) return nullptr;
    cPlayScene& scene = *g_lpPlayScene;
    CHARASEARCH f{};
    f.bExcludeId = 1;
    f.nExcludedId = chara.m_nId;
    f.bTag = P(params, 4) != 0;
    f.nTag = P(params, 9);
    f.bVar = P(params, 5) != 0;
    f.nVarIndex = P(params, 6);
    f.nOp = P(params, 7);
    f.nValue = P(params, 12);
    f.bExcludeBlocks = P(params, 8) != 0;
    f.bExcludeLight = P(params, 10) != 0;
    f.bExcludeHeavy = P(params, 11) != 0;
    const bool sideOnly = P(params, 3) != 0;
    const int side = P(params, 1);
    const int where = P(params, 13) ? SEARCH_ON_SCREEN : SEARCH_ANYWHERE;
    const double x = (double)chara.m_nRectLeft + (chara.m_nGraphWidth >> 1);
    const double y = (double)chara.m_nRectTop + (chara.m_nGraphHeight >> 1);
    auto wanted = [&](int g) { return sideOnly ? g == side : g != chara.m_nGroup; };
    auto search = [&](int searchMode) -> cChara* {
        if (P(params, 2) != 0) {
            // The sides in turn: the first that yields a character.
            for (int g = 0; g < kPlayGroupCount; ++g) {
                if (!wanted(g) || (size_t)g >= scene.m_vecCharaGroup.size()) continue;
                if (cChara* c = FindNearestCharacter(x, y, scene.m_vecCharaGroup[(size_t)g], searchMode, f)) return c;
            }
            return nullptr;
        }
        std::list<cChara*> all;
        for (int g = 0; g < kPlayGroupCount && (size_t)g < scene.m_vecCharaGroup.size(); ++g)
            if (wanted(g)) all.insert(all.end(), scene.m_vecCharaGroup[(size_t)g].begin(), scene.m_vecCharaGroup[(size_t)g].end());
        return FindNearestCharacter(x, y, all, searchMode, f);
    };
    if (mode == 3 && where == SEARCH_ANYWHERE) {
        // The whole range, characters on the screen first.
        if (cChara* c = search(SEARCH_ON_SCREEN)) return c;
    }
    return search(where);
}

bool InView(const cChara& c) { return IsHeroChara(c) ? true : c.m_nInput != 0; }

// A shot leaves play: at once, or, while the hit pass holds, out of its group list now and out
// of the shot list when the pass ends.
void VanishShot(cPlayScene& scene, cShot* shot) {
    if (s_nHitPassHolds > 0) {
        for (std::list<cShot*>& group : scene.m_vecShotGroup) group.remove(shot);
        if (std::find(s_vecShotsGone.begin(), s_vecShotsGone.end(), shot) == s_vecShotsGone.end())
            s_vecShotsGone.push_back(shot);
        return;
    }
    for (auto it = scene.m_listShot.begin(); it != scene.m_listShot.end(); ++it) {
        if (&*it == shot) {
            scene.EraseShot(it);
            return;
        }
    }
}

}  // namespace

cHitPassHold::cHitPassHold(cPlayScene* scene) : m_lpScene(scene) { ++s_nHitPassHolds; }

cHitPassHold::~cHitPassHold() {
    if (--s_nHitPassHolds > 0) return;
    std::vector<cShot*> gone;
    gone.swap(s_vecShotsGone);
    if (!m_lpScene) return;
    for (cShot* shot : gone) {
        for (auto it = m_lpScene->m_listShot.begin(); it != m_lpScene->m_listShot.end(); ++it) {
            if (&*it == shot) {
                m_lpScene->EraseShot(it);
                break;
            }
        }
    }
}

void VanishCharacter(cChara& subject, const cChara& acting) {
    if (IsHeroChara(subject)) {
        subject.m_nHP = 0;
    } else {
        subject.m_bVanishOnEnd = 1;
        subject.m_bEndRequest = 1;
    }
    if (&subject != &acting && g_lpPlayScene) g_lpPlayScene->m_bDeathCheck = 1;
}

// ---- kind 21 ----

void FlowCmdSetTargetImpl(cChara& chara, const std::vector<int32_t>& params) {
    const int mode = P(params, 0);
    cChara* found = nullptr;
    switch (mode) {
        case 0: found = g_vecHero.empty() ? nullptr : &g_vecHero.front(); break;
        case 1: return;  // the target stays
        case 2:
        case 3: found = SearchTarget(chara, params, mode); break;
        case 4: break;   // no target
        default: return;
    }
    if (found == &chara) found = nullptr;
    if (!found && P(params, 14) == 1) return;  // kept unless a character was found
    SetTargetOf(chara, found);
}

void FlowCmdSetTarget(cChara& chara, CMDINSTANCE& inst) {
    if (inst.lpCmd) FlowCmdSetTargetImpl(chara, inst.lpCmd->m_vecParams);
}

// ---- kind 22 ----

void FlowCmdStatusOp(cChara& chara, CMDINSTANCE& inst) {
    if (inst.lpCmd) FlowCmdStatusOpImpl(&chara, inst.lpCmd->m_vecParams);
}

// ---- kind 23 ----

void FlowCmdStatusOp2Impl(cChara& chara, const std::vector<int32_t>& params) {
    const int subjectCode = P(params, 0), item = P(params, 1);
    const int32_t value = P(params, 2);
    if (subjectCode == OBJ_SYSTEM) {
        if (item != 0 && item != 1) return;
        const int v = std::clamp(value, -480, 480);
        if (item == 0) {
            g_StageSettings.m_nAutoScrollSpeedX = v;
            if (g_lpPlayScene) g_lpPlayScene->m_ScrollX.SetSpeed(g_StageSettings.m_bAutoScrollX, v);
        } else {
            g_StageSettings.m_nAutoScrollSpeedY = v;
            if (g_lpPlayScene) g_lpPlayScene->m_ScrollY.SetSpeed(g_StageSettings.m_bAutoScrollY, v);
        }
        return;
    }
    cChara* subject = StatusObject(&chara, subjectCode);
    if (!subject) return;
    cChara& s = *subject;
    const uint8_t byte = (uint8_t)std::clamp(value, 0, 255);
    switch (item) {
        case 0: VanishCharacter(s, chara); break;
        case 1: s.m_byHidden = byte; break;          // "透明"
        case 2: s.m_byFixedFacing = byte; break;     // "向き固定"
        case 3:                                      // "飛行": the hero's movement mode
            if (IsHeroChara(s) && !g_vecHero.empty()) g_vecHero.front().ApplyState(std::clamp(value, 0, 3), 1);
            break;
        case 4:                                      // "無敵": invincible until set back to 0
            s.m_nInvincible = value != 0 ? kEndlessInvincible : 0;
            break;
        case 5: {                                    // "巨大化"
            const int scale = std::clamp(value, 1, kMaxCommandScale);
            const int old = charadef::Scale(s.m_Def);
            s.SetScale(scale, old);
            s.m_Def.m_byC35 = (uint8_t)scale;
            if (IsHeroChara(s) && !g_vecHero.empty()) {
                cHero& hero = g_vecHero.front();
                hero.ApplyState(hero.m_nMoveMode, 1);
            }
            break;
        }
        case 6:                                      // "オートスクロールとシンクロ"
            charadef::ScrollSyncField(s.m_Def) = byte;
            s.m_bScrollSync = byte;
            break;
        default: break;
    }
}

void FlowCmdStatusOp2(cChara& chara, CMDINSTANCE& inst) {
    if (inst.lpCmd) FlowCmdStatusOp2Impl(chara, inst.lpCmd->m_vecParams);
}

// ---- kind 24 ----

void FlowCmdVanishImpl(cChara& chara, const std::vector<int32_t>& params) {
    if (!g_lpPlayScene) return;
    cPlayScene& scene = *g_lpPlayScene;
    const int what = P(params, 0), side = P(params, 1);
    const bool all = P(params, 2) != 0;
    if (side < 0 || side >= kPlayGroupCount) return;
    if (what == 0) {
        if ((size_t)side >= scene.m_vecCharaGroup.size()) return;
        for (cChara* c : scene.m_vecCharaGroup[(size_t)side]) {
            if (!c || c->m_bDying || (!all && !InView(*c))) continue;
            VanishCharacter(*c, chara);
        }
    } else if (what == 1) {
        if ((size_t)side >= scene.m_vecShotGroup.size()) return;
        // A copy: each shot leaves the list it is walked in.
        const std::vector<cShot*> shots(scene.m_vecShotGroup[(size_t)side].begin(), scene.m_vecShotGroup[(size_t)side].end());
        for (cShot* shot : shots)
            if (shot && (all || shot->IsOnScreen())) VanishShot(scene, shot);
    }
}

void FlowCmdVanish(cChara& chara, CMDINSTANCE& inst) {
    if (inst.lpCmd) FlowCmdVanishImpl(chara, inst.lpCmd->m_vecParams);
}

// ---- kind 25 ----

int FlowCmdGetItemImpl(const std::vector<int32_t>& params) {
    const int source = P(params, 0);
    if (source != 0 && source != 1) return 0;
    cItemRec* item = PaletteRecordFor(source == 0 ? kPaletteCommon : kPaletteStage, P(params, 1));
    if (!item || g_vecHero.empty()) return 0;
    if (s_nGetItemDepth >= kMaxGetItemDepth) {
        WriteReport("get item: items given inside each other more than %d deep: refused", kMaxGetItemDepth);
        return 0;
    }
    ++s_nGetItemDepth;
    const int r = g_vecHero.front().RunItemCommands(item->m_vecCmds);
    --s_nGetItemDepth;
    return r;
}

void FlowCmdGetItem(cChara&, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    const int r = FlowCmdGetItemImpl(inst.lpCmd->m_vecParams);
    // A result of 0 leaves a request an earlier command made in place.
    if (r != 0 && g_lpPlayScene) g_lpPlayScene->m_nRequest = r;
}
