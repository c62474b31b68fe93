// Block characters and riding: the collision of a character with the block characters, the
// carrier record of a riding character and the step that moves riders with their carrier.
#include "play/riding.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/scene_manager.h"
#include "play/block_map.h"
#include "play/damage.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

constexpr int kTrigBlockChara = 5;   // "ブロックキャラに当たった時"
constexpr int kTrigRiding = 6;       // "ブロックキャラに乗っている時"
constexpr int kTrigRiddenByHero = 16;  // "主人公に乗られている時"
constexpr int kTrigRidden = 17;      // "キャラに乗られている時"
// The most 0.1-dot steps that back a character off a map block.
constexpr int kBackOffSteps = 15;

struct BOX {
    double l, t, r, b;
};

BOX BoxOf(const cGameObj& o) { return {o.m_dX, o.m_dY, o.m_dRight, o.m_dBottom}; }
BOX PrevBoxOf(const cChara& c) { return {c.m_adPrevBox[0], c.m_adPrevBox[1], c.m_adPrevBox[2], c.m_adPrevBox[3]}; }

bool Meet(const BOX& a, const BOX& b) { return a.l <= b.r && a.r >= b.l && a.t <= b.b && a.b >= b.t; }

// The strip under the feet: from (left, bottom) to (right, bottom + 5).
BOX FeetOf(const cChara& c) { return {c.m_dX, c.m_dBottom, c.m_dRight, c.m_dBottom + 5.0}; }

double SubStepsN() { return std::max(1, (int)g_StageSettings.m_nSubSteps); }

// The stage characters that act as blocks, in list order (see cBlockCharaRoster).
struct BLOCKROSTER {
    std::vector<cStageChara*> vecCharas;
    std::vector<std::list<cStageChara>::iterator> vecCast;  // every stage character, list order
    int nOpen = 0;        // live cBlockCharaRoster scopes
    bool bStale = true;   // the list has changed since the gathering
    size_t nListSize = 0;  // the list's length at the gathering
};
BLOCKROSTER s_Roster;

const std::vector<cStageChara*>& BlockCharas() {
    BLOCKROSTER& r = s_Roster;
    // The length check is a second guard: a change that went unreported still rebuilds.
    if (r.nOpen == 0 || r.bStale || r.nListSize != g_listStageChara.size()) {
        r.vecCharas.clear();
        r.vecCast.clear();
        for (auto it = g_listStageChara.begin(); it != g_listStageChara.end(); ++it) {
            r.vecCast.push_back(it);
            if (it->m_bActsAsBlock) r.vecCharas.push_back(&*it);
        }
        r.nListSize = g_listStageChara.size();
        r.bStale = false;
    }
    return r.vecCharas;
}

cStageChara* FindBlockChara(int32_t id, const cChara* self) {
    if (id < 0) return nullptr;
    for (cStageChara& c : g_listStageChara)
        if (c.m_nId == id) return IsBlockCharacter(c, self) ? &c : nullptr;
    return nullptr;
}

void RememberCarrier(cChara& c, const cStageChara& carrier) {
    c.m_nCarrierId = carrier.m_nId;
    c.m_adCarrierBox[0] = carrier.m_dX;
    c.m_adCarrierBox[1] = carrier.m_dY;
    c.m_adCarrierBox[2] = carrier.m_dRight;
    c.m_adCarrierBox[3] = carrier.m_dBottom;
}

void TakeCarrier(cChara& c, const cStageChara& carrier) {
    c.m_bStanding = 1;
    RememberCarrier(c, carrier);
    c.m_nAirCount = 0;
    c.m_bAirborne = 0;
}

void LeaveCarrier(cChara& c) {
    c.m_nCarrierId = -1;
    c.Land(1);
}

// Whether a corner cell of the character lies in a solid block of the map.
bool CornersInMapBlock(const cChara& c) {
    const int xs[2] = {DotToInt(c.m_dX), DotToInt(c.m_dRight)};
    const int ys[2] = {DotToInt(c.m_dY), DotToInt(c.m_dBottom)};
    for (int x : xs)
        for (int y : ys)
            if (BlockCellSolidity(BlockCellIndex(x, y), c.m_nBlockSide) != 0) return true;
    return false;
}

// The flying branch: the nearest position out of every block character along the side the
// overlap is thinner on.
int HitFlying(cChara& c, int32_t excluded) {
    bool haveL = false, haveR = false, haveT = false, haveB = false;
    double newL = 0, newR = 0, newT = 0, newB = 0, vL = 0, vR = 0, vT = 0, vB = 0;
    bool touched = false;
    for (cStageChara* p : BlockCharas()) {
        cStageChara& o = *p;
        if (!IsBlockCharacter(o, &c) || o.m_nId == excluded) continue;
        const BOX me = BoxOf(c), it = BoxOf(o);
        if (!Meet(me, it)) continue;
        touched = true;
        const double ox = std::min(me.r, it.r) - std::max(me.l, it.l) + 1.0;
        const double oy = std::min(me.b, it.b) - std::max(me.t, it.t) + 1.0;
        if (ox > oy) {
            const BOX top = {me.l + 1.0, me.t, me.r - 1.0, me.t};
            const BOX bottom = {me.l + 1.0, me.b, me.r - 1.0, me.b};
            if (Meet(top, it) && (!haveT || it.b + 1.0 > newT)) haveT = true, newT = it.b + 1.0, vT = o.m_dSpeedY;
            if (Meet(bottom, it) && (!haveB || it.t - c.m_nHeight < newB))
                haveB = true, newB = it.t - c.m_nHeight, vB = o.m_dSpeedY;
        } else {
            const BOX left = {me.l, me.t + 1.0, me.l, me.b - 1.0};
            const BOX right = {me.r, me.t + 1.0, me.r, me.b - 1.0};
            if (Meet(left, it) && (!haveL || it.r + 1.0 > newL)) haveL = true, newL = it.r + 1.0, vL = o.m_dSpeedX;
            if (Meet(right, it) && (!haveR || it.l - c.m_nWidth < newR))
                haveR = true, newR = it.l - c.m_nWidth, vR = o.m_dSpeedX;
        }
    }
    int result = 0;
    if (c.m_nMoveMode == 2) {
        result = (haveL || haveR || haveT || haveB) ? 2 : 0;
    } else {
        // A block character moving away from a character that does not follow it only lets go;
        // the character is then pushed out along the other axis.
        if (haveL) {
            c.m_dImpactX = 0.0;
            if (vL < 0.0 && c.m_dSpeedX >= 0.0) {
                c.m_abContact[CONTACT_LEFT] = 0;
                PushOutOfCharacters(c, 1);
            } else {
                c.m_dX = newL;
                c.m_bPushedByBlock = 1;
                c.ClampX();
            }
        }
        if (haveR) {
            c.m_dImpactX = 0.0;
            if (vR > 0.0 && c.m_dSpeedX <= 0.0) {
                c.m_abContact[CONTACT_RIGHT] = 0;
                PushOutOfCharacters(c, 1);
            } else {
                c.m_dX = newR;
                c.m_bPushedByBlock = 1;
                c.ClampX();
            }
        }
        if (haveT) {
            c.m_dImpactY = 0.0;
            if (vT < 0.0 && c.m_dSpeedY >= 0.0) {
                c.m_abContact[CONTACT_TOP] = 0;
                PushOutOfCharacters(c, 0);
            } else {
                c.m_dY = newT;
                c.m_bPushedByBlock = 1;
                c.ClampY();
            }
        }
        if (haveB) {
            c.m_dImpactY = 0.0;
            if (vB > 0.0 && c.m_dSpeedY <= 0.0) {
                c.m_abContact[CONTACT_BOTTOM] = 0;
                PushOutOfCharacters(c, 0);
            } else {
                c.m_dY = newB;
                c.m_bPushedByBlock = 1;
                c.ClampY();
            }
        }
    }
    if (touched) c.RunFlowsOfTrigger(kTrigBlockChara);
    return result;
}

}  // namespace

bool IsBlockCharacter(const cStageChara& c, const cChara* self) {
    return &c != self && c.m_bActsAsBlock && c.m_bAppeared && !c.m_bDying;
}

namespace {
uint64_t s_nCastChanges = 0;
}  // namespace

void BlockCharasChanged() {
    s_Roster.bStale = true;
    ++s_nCastChanges;
}

uint64_t StageCastChanges() { return s_nCastChanges; }

bool AnyBlockCharas() { return !BlockCharas().empty(); }

void GatherStageCast(std::vector<std::list<cStageChara>::iterator>& out) {
    BlockCharas();
    out.assign(s_Roster.vecCast.begin(), s_Roster.vecCast.end());
}

cBlockCharaRoster::cBlockCharaRoster() {
    ++s_Roster.nOpen;
    s_Roster.bStale = true;
}

cBlockCharaRoster::~cBlockCharaRoster() {
    --s_Roster.nOpen;
    s_Roster.bStale = true;
}

int IsOnCarrier(const cChara& c) {
    const cStageChara* carrier = FindBlockChara(c.m_nCarrierId, &c);
    return carrier && Meet(FeetOf(c), BoxOf(*carrier)) ? 1 : 0;
}

cStageChara* FindCarrierBelow(const cChara& c) {
    const BOX feet = FeetOf(c);
    for (cStageChara* o : BlockCharas())
        if (IsBlockCharacter(*o, &c) && Meet(feet, BoxOf(*o))) return o;
    return nullptr;
}

int OverlapsOtherBlockCharacter(const cChara& c, int32_t excluded) {
    const BOX me = BoxOf(c);
    for (const cStageChara* o : BlockCharas())
        if (IsBlockCharacter(*o, &c) && o->m_nId != excluded && Meet(me, BoxOf(*o))) return 1;
    return 0;
}

int IsSqueezed(const cChara& c, const double (&box)[4]) {
    const BOX me = BoxOf(c);
    const BOX given = {box[0], box[1], box[2], box[3]};
    const BOX tests[4] = {{me.l, me.t, me.r, me.b - 1.0},
                          {given.l, given.t, given.r, given.b - 1.0},
                          {me.l, given.t, me.r, given.b - 1.0},
                          {given.l, me.t, given.r, me.b - 1.0}};
    for (const cStageChara* p : BlockCharas()) {
        const cStageChara& o = *p;
        if (!IsBlockCharacter(o, &c)) continue;
        for (const BOX& t : tests)
            if (t.l <= t.r && t.t <= t.b && Meet(t, BoxOf(o))) return 1;
    }
    return 0;
}

void PushOutOfCharacters(cChara& c, int axis) {
    bool haveLow = false, haveHigh = false;
    double low = 0, high = 0;
    int32_t lowId = -1, highId = -1;
    for (cStageChara* p : BlockCharas()) {
        cStageChara& o = *p;
        if (!IsBlockCharacter(o, &c)) continue;
        const BOX me = BoxOf(c), it = BoxOf(o);
        if (!Meet(me, it)) continue;
        if (axis == 0) {
            if (Meet({me.l, me.t + 1.0, me.l, me.b - 1.0}, it)) {
                c.m_abContact[CONTACT_LEFT] = 1;
                if (!haveLow || it.r + 1.0 > low) haveLow = true, low = it.r + 1.0, lowId = o.m_nId;
            }
            if (Meet({me.r, me.t + 1.0, me.r, me.b - 1.0}, it)) {
                c.m_abContact[CONTACT_RIGHT] = 1;
                if (!haveHigh || it.l - c.m_nWidth < high) haveHigh = true, high = it.l - c.m_nWidth, highId = o.m_nId;
            }
        } else {
            if (Meet({me.l + 1.0, me.t, me.r - 1.0, me.t}, it)) {
                c.m_abContact[CONTACT_TOP] = 1;
                if (!haveLow || it.b + 1.0 > low) haveLow = true, low = it.b + 1.0, lowId = o.m_nId;
            }
            if (Meet({me.l + 1.0, me.b, me.r - 1.0, me.b}, it)) {
                c.m_abContact[CONTACT_BOTTOM] = 1;
                if (!haveHigh || it.t - c.m_nHeight < high) haveHigh = true, high = it.t - c.m_nHeight, highId = o.m_nId;
            }
        }
    }
    auto pushedBy = [&c](int32_t id) {
        if (!(c.m_bStanding && id == c.m_nCarrierId)) c.m_bPushedByBlock = 1;
    };
    if (axis == 0) {
        if (haveLow) {
            c.m_dX = low;
            c.ClampX();
            pushedBy(lowId);
        }
        if (haveHigh) {
            c.m_dX = high;
            c.ClampX();
            pushedBy(highId);
        }
    } else {
        if (haveLow) {
            c.m_dY = low;
            c.ClampY();
        }
        if (haveHigh) {
            c.m_dY = high;
            c.ClampY();
        }
    }
}

int MoveRiders(cChara& c) {
    if (c.m_bFlying || !c.m_bStanding) return 0;
    cStageChara* carrier = FindBlockChara(c.m_nCarrierId, &c);
    if (!carrier) return 0;
    c.m_dSpeedX += carrier->m_dX - c.m_adCarrierBox[0];
    if (carrier->m_bFlying || carrier->m_bFalling) c.m_dSpeedY = carrier->m_dY - c.m_adCarrierBox[1];
    if (IsHeroChara(c)) carrier->RunFlowsOfTrigger(kTrigRiddenByHero);
    carrier->RunFlowsOfTrigger(kTrigRidden);
    return 0;
}

int HitBlockCharacters(cChara& c, int32_t excluded) {
    if (c.m_bFlying && c.m_nMoveMode == 0) return 0;
    if (c.m_bFlying) return HitFlying(c, excluded);
    const double tol = 2.0 / SubStepsN();
    bool touched = false, placed = false;
    for (cStageChara* p : BlockCharas()) {
        cStageChara& o = *p;
        if (!IsBlockCharacter(o, &c) || o.m_nId == excluded) continue;
        const BOX me = BoxOf(c), it = BoxOf(o);
        if (!Meet(me, it)) continue;
        touched = true;
        const BOX pc = PrevBoxOf(c), po = PrevBoxOf(o);
        if (pc.b <= po.t + tol && c.m_dSpeedY >= o.m_dSpeedY) {
            // From above: it stands on the block character and rides it.
            c.m_dY = it.t - c.m_nHeight;
            c.ClampY();
            c.m_abContact[CONTACT_BOTTOM] = 1;
            c.m_dSpeedY = 0.0;
            c.m_dImpactY = 0.0;
            c.m_bJumping = c.m_bAirborne = c.m_bRising = c.m_bFalling = c.m_bCeiling = 0;
            TakeCarrier(c, o);
            placed = true;
        } else if (pc.t >= po.b - tol) {
            // From below: its head meets the block character.
            c.m_dY = it.b + 1.0;
            c.ClampY();
            c.m_abContact[CONTACT_TOP] = 1;
            if (it.t > po.t) {
                c.m_dImpactY = 0.0;
                c.m_bAirborne = c.m_bFalling = c.m_bCeiling = 1;
                c.m_dSpeedY = o.m_dSpeedY;
                c.m_abContact[CONTACT_LEFT] = c.m_abContact[CONTACT_RIGHT] = 0;
            } else if (c.m_dSpeedY < 0.0) {
                c.m_dSpeedY = 0.0;
            }
        } else if ((pc.l + pc.r) < (po.l + po.r)) {
            // From the left: pushed back to the left.
            c.m_dX = it.l - c.m_nWidth;
            c.ClampX();
            c.m_abContact[CONTACT_RIGHT] = 1;
            c.m_bPushedByBlock = 1;
        } else {
            c.m_dX = it.r + 1.0;
            c.ClampX();
            c.m_abContact[CONTACT_LEFT] = 1;
            c.m_bPushedByBlock = 1;
        }
    }
    // 1. Triggers.
    if (touched) c.RunFlowsOfTrigger(kTrigBlockChara);
    if (c.m_bStanding && c.m_nCarrierId >= 0) {
        if (!touched) c.RunFlowsOfTrigger(kTrigBlockChara);
        c.RunFlowsOfTrigger(kTrigRiding);
    }
    // 2. Squeezed.
    if (c.m_abContact[CONTACT_LEFT] && c.m_abContact[CONTACT_RIGHT]) return 2;
    if (c.m_abContact[CONTACT_TOP] && c.m_abContact[CONTACT_BOTTOM]) return 2;
    const double box[4] = {c.m_dX, c.m_dY, c.m_dRight, c.m_dBottom};
    if (IsSqueezed(c, box)) return 2;
    // 3. Backing off the map blocks a block character pushed it into.
    const int sides[4] = {CONTACT_LEFT, CONTACT_RIGHT, CONTACT_TOP, CONTACT_BOTTOM};
    for (int side : sides) {
        if (!c.m_abContact[side]) continue;
        for (int k = 0; k < kBackOffSteps && CornersInMapBlock(c); ++k) {
            switch (side) {
                case CONTACT_LEFT: c.m_dX -= 0.1, c.ClampX(); break;
                case CONTACT_RIGHT: c.m_dX += 0.1, c.ClampX(); break;
                case CONTACT_TOP: c.m_dY -= 0.1, c.ClampY(); break;
                default: c.m_dY += 0.1, c.ClampY(); break;
            }
        }
    }
    // 4. The carrier.
    if (c.m_bStanding && c.m_nCarrierId >= 0 && !placed) {
        if (c.m_bJumping && c.m_dSpeedY < 0.0) {
            LeaveCarrier(c);
        } else if (IsOnCarrier(c)) {
            if (const cStageChara* carrier = FindBlockChara(c.m_nCarrierId, &c)) RememberCarrier(c, *carrier);
            c.m_nAirCount = 0;
            c.m_bAirborne = 0;
        } else if (const cStageChara* below = FindCarrierBelow(c)) {
            TakeCarrier(c, *below);
        } else {
            LeaveCarrier(c);
        }
    }
    return 0;
}

int RidingStepsDone() {
    const int n = std::max(1, (int)g_StageSettings.m_nSubSteps);
    // Outside a frame's sub-steps every step is done.
    if (!g_lpPlayScene || g_lpPlayScene->m_nSubStep == 0) return n;
    return g_lpPlayScene->m_nRidingSteps;
}

int cChara::HitBlockCharacters() { return ::HitBlockCharacters(*this, -1); }
