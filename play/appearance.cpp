#include "play/appearance.h"

#include <algorithm>

#include "flow/flow_conditions.h"
#include "play/block_map.h"
#include "play/chara_def.h"
#include "play/item_def.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "play/riding.h"
#include "play/stage_objects.h"

int CheckAppearanceChara(cPlayScene* scene, cChara& chara) {
    std::vector<cFlowCond>& conds = chara.m_Def.m_vecConds;
    if (conds.empty()) return 1;
    if (charadef::AppearOnceHeld(chara.m_Def) && chara.m_bAppeared) return 1;
    if (!EvaluateConditionList(scene, conds, charadef::AppearCondMode(chara.m_Def), &chara)) return 0;
    chara.m_bAppeared = 1;
    return 1;
}

int CheckAppearanceItem(cPlayScene* scene, cItem& item) {
    std::vector<cFlowCond>& conds = item.m_Def.m_vecConds;
    if (conds.empty()) return 1;
    if (itemdef::AppearOnceHeld(item.m_Def) && item.m_bAppeared) return 1;
    cChara* hero = g_vecHero.empty() ? nullptr : &g_vecHero.front();
    if (!EvaluateConditionList(scene, conds, itemdef::AppearCondMode(item.m_Def), hero)) return 0;
    item.m_bAppeared = 1;
    return 1;
}

int CheckAppearanceBlock(cPlayScene* scene, const cBlockDef& cell) {
    if (cell.m_vecConds.empty()) return 1;
    if (cell.CondOnceHeld() && cell.m_bAppeared) return 1;
    cChara* hero = g_vecHero.empty() ? nullptr : &g_vecHero.front();
    // The evaluator only reads the list; it takes it without const.
    if (!EvaluateConditionList(scene, const_cast<cFlowCondList&>(cell.m_vecConds), cell.CondMode(), hero))
        return 0;
    cell.m_bAppeared = 1;
    return 1;
}

void CheckAppearances(cPlayScene* scene) {
    // 1. The heroes are always in play, on screen and active.
    for (cHero& hero : g_vecHero) {
        hero.m_bAppeared = 1;
        hero.m_bOnScreen = 1;
        hero.m_bAlwaysActive = 1;
    }
    // 2. Group bytes start cleared; indexed by the 16-bit group number so none falls outside.
    // The scene's bytes are set only below, so clearing the ones the last pass set is enough.
    static std::vector<uint8_t> s_vecSpare;
    static std::vector<uint16_t> s_vecSpareSet;
    std::vector<uint8_t>& groups = scene ? scene->m_vecAppearGroups : s_vecSpare;
    std::vector<uint16_t>& set = scene ? scene->m_vecAppearGroupsSet : s_vecSpareSet;
    if (groups.size() != kAppearGroupSlots) {
        groups.assign(kAppearGroupSlots, 0);
    } else {
        for (uint16_t g : set) groups[g] = 0;
    }
    set.clear();
    // 3. Appearance conditions, on-screen flag and the range test. Nothing in this pass moves
    // the screen, so the view is taken once.
    const SCREENVIEW view = CurrentScreenView();
    static std::vector<std::list<cStageChara>::iterator> s_vecCast;
    GatherStageCast(s_vecCast);
    for (const auto& it : s_vecCast) {
        cStageChara& chara = *it;
        if (CheckAppearanceChara(scene, chara)) {
            chara.m_bAppeared = 1;
            const bool onScreen = chara.IsInView(view, 0, 0);
            chara.m_bOnScreen = onScreen ? 1 : 0;
            // Without a skipped half the range test is the on-screen test.
            const bool inView = chara.m_bSkipViewX || chara.m_bSkipViewY
                                    ? chara.IsInView(view, chara.m_bSkipViewX, chara.m_bSkipViewY)
                                    : onScreen;
            if (chara.TakeInView(inView, groups) && charadef::AppearGroupOn(chara.m_Def))
                set.push_back((uint16_t)charadef::AppearGroup(chara.m_Def));
        } else {
            chara.m_bAppeared = 0;
            chara.m_bOnScreen = 0;
        }
    }
    // 4. Activation once every group byte is known.
    for (const auto& it : s_vecCast) {
        cStageChara& chara = *it;
        chara.m_bInRange = chara.m_bAppeared && chara.CanAct(groups) ? 1 : 0;
    }
    // 5. Items.
    for (cItem& item : g_listItem) {
        if (CheckAppearanceItem(scene, item)) {
            item.m_bAppeared = 1;
            item.m_bOnScreen = item.IsInView(view, 0, 0) ? 1 : 0;
        } else {
            item.m_bAppeared = 0;
            item.m_bOnScreen = 0;
        }
    }
    // 6. Shots are always in play.
    if (!scene) return;
    for (cShot& shot : scene->m_listShot) {
        shot.m_bAppeared = 1;
        shot.m_bOnScreen = shot.IsInView(view, 0, 0) ? 1 : 0;
    }
}
