// Character hits: the three ordered passes of HitCharacters.
#include "play/chara_hits.h"

#include <algorithm>
#include <vector>

#include "app/system_se.h"
#include "flow/cmd_target_status.h"
#include "play/chara_def.h"
#include "play/damage.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_end.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "records/stage.h"

HITLOGFUNC g_lpHitLog = nullptr;

namespace {

constexpr DWORD kSeHit = 7;
constexpr DWORD kSeKilled = 9;
constexpr int kTrigCharaHit = 4;  // "キャラに当たった時"
constexpr int kTrigShotHit = 7;   // "ショットに当たった時"

void Log(int pass, int what, int32_t a, int32_t b) {
    if (g_lpHitLog) g_lpHitLog(pass, what, a, b);
}

cEdShot& Settings(cShot& shot) { return shot.m_Settings; }

// The shots a pass has stopped or shot down: they take no further part and leave play when
// the call ends.
class cGoneShots {
public:
    explicit cGoneShots(cPlayScene* scene) : m_lpScene(scene) {}
    ~cGoneShots() { Flush(); }
    void Mark(cShot* shot) {
        if (!Has(shot)) m_vecGone.push_back(shot);
    }
    bool Has(const cShot* shot) const { return std::find(m_vecGone.begin(), m_vecGone.end(), shot) != m_vecGone.end(); }
    void Flush() {
        for (cShot* shot : m_vecGone) {
            for (auto it = m_lpScene->m_listShot.begin(); it != m_lpScene->m_listShot.end(); ++it) {
                if (&*it == shot) {
                    m_lpScene->EraseShot(it);
                    break;
                }
            }
        }
        m_vecGone.clear();
    }

private:
    cPlayScene* m_lpScene;
    std::vector<cShot*> m_vecGone;
};

// A copy of a group list: the passes walk copies, so that nothing a flow does to a list
// while a trigger runs can move the walk.
template <class T>
std::vector<T*> Members(const std::list<T*>& list) {
    return std::vector<T*>(list.begin(), list.end());
}

bool InList(const std::list<cChara*>& list, const cChara* c) {
    return std::find(list.begin(), list.end(), c) != list.end();
}

bool Pierces(cShot& shot, const cChara& c) {
    return c.m_bActsAsBlock ? Settings(shot).PierceBlockCharas() == 1 : Settings(shot).PierceCharas() == 1;
}

// The death of a character a pass killed: 1 or 2 end the call with that result.
int Kill(cChara& c) {
    if (!IsHeroChara(c)) PlaySystemSe(kSeKilled);
    return KillCharacter(c);
}

// Pass 1: shots against characters. A non-zero result ends the call.
int ShotsOnCharacters(cPlayScene* scene, cGoneShots& gone, bool onScreenOnly) {
    for (int i = 0; i < kPlayGroupCount; ++i) {
        if (scene->m_vecShotGroup[(size_t)i].empty()) continue;
        for (int j = 0; j < kPlayGroupCount; ++j) {
            if (j == i || scene->m_vecCharaGroup[(size_t)j].empty()) continue;
            for (cShot* shot : Members(scene->m_vecShotGroup[(size_t)i])) {
                if (gone.Has(shot)) continue;
                if (onScreenOnly && !shot->m_bOnScreen) continue;
                bool stop = false;
                for (cChara* c : Members(scene->m_vecCharaGroup[(size_t)j])) {
                    // A character a trigger took out of its group meanwhile is left alone.
                    if (!InList(scene->m_vecCharaGroup[(size_t)j], c)) continue;
                    if ((onScreenOnly && !c->m_bOnScreen) || !c->m_bAppeared || c->m_bDying) continue;
                    if (charadef::ProtectionKind(c->m_Def) == 2) continue;
                    const HITRANGE& r = c->m_HitShot;
                    if (!(r.dLeft <= shot->m_dHitRight && r.dRight >= shot->m_dHitLeft && r.dTop <= shot->m_dHitBottom &&
                          r.dBottom >= shot->m_dHitTop))
                        continue;
                    std::vector<int32_t>& hits = shot->m_vecHitIds;
                    if (std::find(hits.begin(), hits.end(), c->m_nId) != hits.end()) continue;
                    Log(1, HITLOG_TRIGGER, shot->m_nId, c->m_nId);
                    c->RunFlowsOfTrigger(kTrigShotHit);
                    cEdShot& s = Settings(*shot);
                    if (s.Power() == 0 && s.Impact() == 0 && s.ItemPalette() == 0) continue;
                    if (c->IsInvincible()) continue;
                    Log(1, HITLOG_DAMAGE, shot->m_nId, c->m_nId);
                    if (c->ExchangeDamageFromShot(*shot)) {
                        Log(1, HITLOG_KILL, shot->m_nId, c->m_nId);
                        const int r2 = Kill(*c);
                        if (r2 == 1 || r2 == 2) return r2;
                    } else {
                        PlaySystemSe(kSeHit);
                        c->ResetInvincible();
                    }
                    if (!shot->m_bIsShot || Pierces(*shot, *c)) {
                        hits.push_back(c->m_nId);
                    } else {
                        stop = true;
                    }
                    if (const int r3 = GiveShotItem(scene, *shot)) return r3;
                }
                if (stop) {
                    Log(1, HITLOG_STOP, shot->m_nId, 0);
                    gone.Mark(shot);
                }
            }
        }
    }
    return 0;
}

// Whether a character takes part in body contact.
bool InContact(const cChara& c, bool onScreenOnly) {
    return (!onScreenOnly || c.m_bOnScreen) && !c.m_bActsAsBlock && c.m_bAppeared && !c.m_bDying;
}

// Pass 2: body contact between characters of different groups.
int BodyContact(cPlayScene* scene, bool onScreenOnly) {
    for (int i = 0; i < kPlayGroupCount; ++i) {
        for (int j = i + 1; j < kPlayGroupCount; ++j) {
            if (scene->m_vecCharaGroup[(size_t)i].empty() || scene->m_vecCharaGroup[(size_t)j].empty()) continue;
            for (cChara* a : Members(scene->m_vecCharaGroup[(size_t)i])) {
                for (cChara* b : Members(scene->m_vecCharaGroup[(size_t)j])) {
                    if (!InList(scene->m_vecCharaGroup[(size_t)i], a) || !InList(scene->m_vecCharaGroup[(size_t)j], b))
                        continue;
                    if (!InContact(*a, onScreenOnly) || !InContact(*b, onScreenOnly)) continue;
                    if (!RectOverlapD(a->m_HitChara, b->m_HitChara)) continue;
                    Log(2, HITLOG_TRIGGER, b->m_nId, a->m_nId);
                    a->RunFlowsOfTrigger(kTrigCharaHit);
                    Log(2, HITLOG_TRIGGER, a->m_nId, b->m_nId);
                    b->RunFlowsOfTrigger(kTrigCharaHit);
                    auto strikes = [](const cChara& c) {
                        return charadef::BodyPower(c.m_Def) != 0 || charadef::BodyImpact(c.m_Def) != 0;
                    };
                    const bool hitA = strikes(*b) && !a->IsInvincibleAgainst(b->m_nId);
                    int rA = 0, rB = 0;
                    if (hitA) {
                        Log(2, HITLOG_DAMAGE, b->m_nId, a->m_nId);
                        rA = a->ExchangeDamage(*b);
                    }
                    const bool hitB = strikes(*a) && !b->IsInvincibleAgainst(a->m_nId);
                    if (hitB) {
                        Log(2, HITLOG_DAMAGE, a->m_nId, b->m_nId);
                        rB = b->ExchangeDamage(*a);
                    }
                    if (!hitA && !hitB) continue;
                    PlaySystemSe(kSeHit);
                    if (hitA) {
                        if (rA) {
                            Log(2, HITLOG_KILL, b->m_nId, a->m_nId);
                            const int r = Kill(*a);
                            if (r == 1 || r == 2) return r;
                        } else {
                            a->SetInvincible(b->m_nId);
                        }
                    }
                    if (hitB) {
                        if (rB) {
                            Log(2, HITLOG_KILL, a->m_nId, b->m_nId);
                            const int r = Kill(*b);
                            if (r == 1 || r == 2) return r;
                        } else {
                            b->SetInvincible(a->m_nId);
                        }
                    }
                }
            }
        }
    }
    return 0;
}

bool BoxesMeet(const cShot& a, const cShot& b) {
    return a.m_dX <= b.m_dRight && a.m_dRight >= b.m_dX && a.m_dY <= b.m_dBottom && a.m_dBottom >= b.m_dY;
}

// Pass 3: shots against shots of other groups.
void ShotClashes(cPlayScene* scene, cGoneShots& gone) {
    for (int i = 0; i < kPlayGroupCount; ++i) {
        for (int j = i + 1; j < kPlayGroupCount; ++j) {
            if (scene->m_vecShotGroup[(size_t)i].empty() || scene->m_vecShotGroup[(size_t)j].empty()) continue;
            for (cShot* a : Members(scene->m_vecShotGroup[(size_t)i])) {
                if (gone.Has(a)) continue;
                bool vanish = false;
                for (cShot* b : Members(scene->m_vecShotGroup[(size_t)j])) {
                    if (gone.Has(b)) continue;
                    const bool ca = Settings(*a).Clashes() != 0, cb = Settings(*b).Clashes() != 0;
                    if (!ca && !cb) continue;
                    if (!BoxesMeet(*a, *b)) continue;
                    if (ca && !cb) {
                        vanish = true;
                    } else if (!ca && cb) {
                        Log(3, HITLOG_CLASH, a->m_nId, b->m_nId);
                        gone.Mark(b);
                    } else {
                        const int sa = (int8_t)Settings(*a).ClashStrength(), sb = (int8_t)Settings(*b).ClashStrength();
                        if (sb < sa) {
                            Log(3, HITLOG_CLASH, a->m_nId, b->m_nId);
                            gone.Mark(b);
                        } else if (sb == sa) {
                            vanish = true;
                            Log(3, HITLOG_CLASH, a->m_nId, b->m_nId);
                            gone.Mark(b);
                        } else {
                            vanish = true;
                        }
                    }
                }
                if (vanish) {
                    Log(3, HITLOG_CLASH, 0, a->m_nId);
                    gone.Mark(a);
                }
            }
        }
    }
}

}  // namespace

int HitCharacters(cPlayScene* scene) {
    if (!scene) return 0;
    const bool onScreenOnly = stageword::OnScreenHits(g_StageSettings) != 0;
    // Shots that commands run by the pass take out of play leave the shot list after it.
    cHitPassHold hold(scene);
    cGoneShots gone(scene);
    const int m = stageword::ShotHitCount(g_StageSettings);
    const size_t step = (size_t)std::max(0, scene->m_nSubStep - 1);
    const bool shotStep = m == 0 || (step < scene->m_vecSubStepFlags.size() && scene->m_vecSubStepFlags[step] == 1);
    if (shotStep) {
        if (const int r = ShotsOnCharacters(scene, gone, onScreenOnly)) return r;
        gone.Flush();
    }
    if (const int r = BodyContact(scene, onScreenOnly)) return r;
    ShotClashes(scene, gone);
    return 0;
}
