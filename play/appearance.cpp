#include "play/appearance.h"

#include <algorithm>

#include "play/frame_seams.h"
#include "play/hero.h"
#include "play/item.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"

void CheckAppearances(cPlayScene* scene) {
    // 1. The heroes are always in play, on screen and active.
    for (cHero& hero : g_vecHero) {
        hero.m_bAppeared = 1;
        hero.m_bOnScreen = 1;
        hero.m_bAlwaysActive = 1;
    }
    // 2. Group bytes start cleared; indexed by the 16-bit group number so none falls outside.
    static std::vector<uint8_t> s_vecSpare;
    std::vector<uint8_t>& groups = scene ? scene->m_vecAppearGroups : s_vecSpare;
    if (groups.size() != kAppearGroupSlots) groups.assign(kAppearGroupSlots, 0);
    else std::fill(groups.begin(), groups.end(), 0);
    // 3. Appearance conditions, on-screen flag and the range test.
    for (cStageChara& chara : g_listStageChara) {
        if (CheckAppearanceChara(scene, chara)) {
            chara.m_bAppeared = 1;
            chara.m_bOnScreen = chara.IsOnScreen() ? 1 : 0;
            chara.CheckInView(groups);
        } else {
            chara.m_bAppeared = 0;
            chara.m_bOnScreen = 0;
        }
    }
    // 4. Activation once every group byte is known.
    for (cStageChara& chara : g_listStageChara)
        chara.m_bInRange = chara.m_bAppeared && chara.CanAct(groups) ? 1 : 0;
    // 5. Items.
    for (cItem& item : g_listItem) {
        if (CheckAppearanceItem(scene, item)) {
            item.m_bAppeared = 1;
            item.m_bOnScreen = item.IsOnScreen() ? 1 : 0;
        } else {
            item.m_bAppeared = 0;
            item.m_bOnScreen = 0;
        }
    }
    // 6. Shots are always in play.
    if (!scene) return;
    for (cShot& shot : scene->m_listShot) {
        shot.m_bAppeared = 1;
        shot.m_bOnScreen = shot.IsOnScreen() ? 1 : 0;
    }
}
