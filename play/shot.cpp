#include "play/shot.h"

#include <algorithm>
#include <cmath>

#include "app/scene_manager.h"
#include "media/anime.h"
#include "media/blit.h"
#include "media/draw_types.h"
#include "play/block_map.h"
#include "play/chara.h"
#include "play/play_scene.h"
#include "play/shot_trajectory.h"
#include "play/sword.h"
#include "records/effect_records.h"
#include "records/stage.h"

int32_t g_bGlobalFollow = 0;

namespace {

// The shot animations: 0 one still frame (swords), 1 the two frames of a shot's graphic.
const AnimeFrame kShotStill[] = {{0, 1, 0}, {ANIME_HOLD, 0, 0}};
const AnimeFrame kShotFlicker[] = {{0, 6, 0}, {1, 6, 0}, {ANIME_LOOP, 0, 0}};
const AnimeFrame* const kShotAnimeTable[] = {kShotStill, kShotFlicker, nullptr};

double SubSteps() {
    const double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
    return n >= 1.0 ? n : 1.0;
}

int SubStepsInt() { return std::max(1, g_StageSettings.m_nSubSteps); }

// The forced-scroll speed of an axis, or `keep` while its last clamp held it at a bound.
double ScrollSpeedOr(int axis, double keep) {
    if (!g_lpPlayScene) return keep;
    const cScroll& s = axis == 0 ? g_lpPlayScene->m_ScrollX : g_lpPlayScene->m_ScrollY;
    return s.m_bChanged ? keep : s.m_dSpeed;
}

double TotalLength(int axis) {
    if (!g_lpPlayScene) return 0.0;
    const cScroll& s = axis == 0 ? g_lpPlayScene->m_ScrollX : g_lpPlayScene->m_ScrollY;
    return s.m_dTotal;
}

// The stage's shot hit size: the enemies' shots (owner's player side 0) or the player's.
void ShotHitSize(int playerSide, int& w, int& h) {
    const int32_t* v = g_StageSettings.m_anValue74_84;
    const int at = playerSide == 0 ? 6 : 2;  // fields 80-81 or 76-77
    w = std::clamp(v[at], 0, 4096);
    h = std::clamp(v[at + 1], 0, 4096);
}

int32_t ClampInt(int64_t v) { return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

}  // namespace

cShot::cShot() { m_Settings.SetDefaults(); }

void cShot::SplitAccel(double vx, double vy) {
    const double n = SubSteps(), a = m_dAccel;
    auto f = [n](double v) { return v / n / 60.0; };
    if (vx == 0.0 && vy == 0.0) {
        m_dMoveX = m_dMoveY = 0.0;
    } else if (vx == 0.0) {
        m_dMoveX = 0.0;
        m_dMoveY = vy < 0.0 ? -f(a) : f(a);
    } else if (vy == 0.0) {
        m_dMoveY = 0.0;
        m_dMoveX = vx < 0.0 ? -f(a) : f(a);
    } else {
        const double len = std::sqrt(vx * vx + vy * vy);
        m_dMoveX = f(vx / len * a);
        m_dMoveY = f(vy / len * a);
    }
}

void cShot::Init(int serial, const cChara& owner, int kind, const cEdShot& settings, const SPAWNVALUES& v) {
    // 1. The settings, with a scale of at least 1.
    m_Settings = settings;
    if (m_Settings.Scale() == 0) m_Settings.Scale() = 1;
    const int scale = m_Settings.Scale();
    const int n = SubStepsInt();
    const double dn = SubSteps();
    // 2. Facing from the velocity, else the owner's.
    const int dir = v.dVelX > 0.0 ? 1 : v.dVelX < 0.0 ? 0 : (owner.m_nDir > 0 ? 1 : 0);
    // 3. Size: a sword takes frame 0 of its sword type, a shot 16 x 16.
    int w = 16, h = 16;
    const bool sword = kind == SHOTCMD_SWORD;
    m_bIsShot = sword ? 0 : 1;
    if (sword) {
        const cSwordTypeEntry* e = SwordEntry(m_Settings.SwordType(), 0);
        w = e ? std::clamp(e->m_nWidth, 0, 4096) : 0;
        h = e ? std::clamp(e->m_nHeight, 0, 4096) : 0;
    }
    // 4. The base object.
    m_nOwnerId = owner.m_nId;
    cGameObj::Init(serial, owner.m_nPlayerSide, owner.m_nSide2, m_Settings.Group(), m_Settings.Graphic(),
                   kShotAnimeTable, sword ? 0 : 1, 0, 0, w, h, 16, 16, dir, 1, v.nIndex);
    // 5. The group of the user.
    if (m_Settings.GroupOfUser()) {
        m_nBlockSide = owner.m_nGroup;
        m_Settings.Group() = (uint8_t)owner.m_nGroup;
    }
    m_nGroup = m_Settings.Group();
    m_bFarErase = m_bIsShot;
    m_bFollowOwner = m_nPlayerSide != 0 ? 1 : 0;
    // 6. Hit box: a sword's whole size; a shot's centred in its 16 x 16 cell.
    if (sword) {
        m_anBaseHitBox[0] = m_anBaseHitBox[1] = 0;
        m_anBaseHitBox[2] = w;
        m_anBaseHitBox[3] = h;
    } else {
        int hw = 0, hh = 0;
        ShotHitSize(m_nPlayerSide, hw, hh);
        m_anBaseHitBox[0] = 8 - (hw >> 1);
        m_anBaseHitBox[1] = 8 - (hh >> 1);
        m_anBaseHitBox[2] = hw;
        m_anBaseHitBox[3] = hh;
    }
    std::copy(std::begin(m_anBaseHitBox), std::end(m_anBaseHitBox), m_anHitBox);
    // 7. Scale.
    SetScale(scale, 1);
    // 8. Position.
    m_dX = v.nX;
    ClampStepX();
    m_dY = v.nY;
    ClampY(2);
    // 9. Velocity per sub-step.
    m_dVelX = v.dVelX / dn;
    m_dVelY = v.dVelY / dn;
    // 10. Acceleration.
    if (m_Settings.AccelOn()) {
        m_bAccel = 1;
        const int64_t a = (int64_t)(int16_t)m_Settings.AccelStep() * v.nIndex + (int16_t)m_Settings.Accel();
        m_dAccel = (double)a * 0.1 / dn;
        SplitAccel(m_dVelX, m_dVelY);
    } else {
        m_bAccel = 0;
        m_dAccel = m_dMoveX = m_dMoveY = 0.0;
    }
    // 11. Scroll following.
    m_dSpeedX = m_dSpeedY = 0.0;
    m_bFollowScroll = m_Settings.FollowScroll();
    // 12. Life in sub-steps.
    if (m_Settings.LifeOn()) m_nLifeLeft = ClampInt((int64_t)v.nLife * 6 * n);
    // 13. Travel distance in sub-steps.
    if (m_Settings.RangeOn()) {
        const double d = std::max(0.0, (double)v.nDistance * 16.0 - m_nWidth);
        const double s = std::fabs(v.dSpeed / dn);
        if (d > 0.0 && s > 0.0) {
            m_nTravelLeft = DotToInt(d / s);
        } else {
            m_nTravelLeft = n;
            if (s > 0.0 && DotToInt(dn * s) > m_nWidth) m_nTravelLeft = DotToInt(m_nWidth / s);
        }
        if (m_nTravelLeft < n) {
            // Reached within one frame: the velocity covers d in exactly one frame.
            const double l1 = std::fabs(v.dVelX) + std::fabs(v.dVelY);
            m_dVelX = l1 > 0.0 ? v.dVelX * (d / dn) / l1 : 0.0;
            m_dVelY = l1 > 0.0 ? v.dVelY * (d / dn) / l1 : 0.0;
            m_nTravelLeft = n;
        }
    }
    // 14. Trajectory state and target.
    m_nStep = m_nFrame = m_nTrajStart = m_nTrajEnd = m_bTrajDone = 0;
    m_nTargetId = owner.m_nTargetId;
    m_vecHitIds.clear();
}

void cShot::ClampStepX() {
    const double total = TotalLength(0);
    if (m_dX < 0.0)
        m_dX = 0.0;
    else if (m_dX + m_nWidth - 1.0 >= total)
        m_dX = total - m_nWidth;
    m_dRight = m_dX + m_nWidth - 1.0;
    UpdateRectX();
    m_nCellLeft = DotToInt(m_dX) >> 5;
    m_nCellRight = DotToInt(m_dRight) >> 5;
}

bool cShot::ClampStepY() {
    const double total = TotalLength(1);
    const double h = m_nHeight;
    bool edge = false;
    if (m_dY < 0.0) {
        m_dY = 0.0;
        edge = true;
    } else if (m_dY + h - 1.0 >= total) {
        m_dY = total - h;
        edge = true;
    }
    m_dBottom = h + m_dY - 1.0;
    UpdateRectY();
    m_nCellTop = DotToInt(m_dY) >> 5;
    m_nCellBottom = DotToInt(m_dBottom) >> 5;
    return edge;
}

int cShot::Update() {
    if (!m_bIsShot) return UpdateSword();
    // 1. The scroll-following part of the motion.
    if (!g_bGlobalFollow && m_bFollowScroll) {
        m_dSpeedX = ScrollSpeedOr(0, 0.0);
        if (m_bFlying) m_dSpeedY = ScrollSpeedOr(1, 0.0);
    } else {
        m_dSpeedX = 0.0;
        if (m_bFlying) m_dSpeedY = 0.0;
    }
    // 2. The trajectory.
    RunTrajectory(*this);
    // 3-4. Acceleration and velocity.
    if (m_bAccel) {
        m_dVelX += m_dMoveX;
        if (m_bFlying)
            m_dVelY += m_dMoveY;
        else
            m_dSpeedY += m_dMoveY;
    }
    m_dSpeedX += m_dVelX;
    if (m_bFlying) m_dSpeedY += m_dVelY;
    // 5. Life.
    if (m_Settings.LifeOn()) {
        if (m_nLifeLeft < 1) return 1;
        --m_nLifeLeft;
    }
    // 6. Facing.
    if (m_dSpeedX > 0.0)
        m_nDir = 1;
    else if (m_dSpeedX < 0.0)
        m_nDir = 0;
    // 7. Travel distance.
    if (!m_Settings.RangeOn()) return 0;
    if (m_nTravelLeft > 0) {
        --m_nTravelLeft;
        return 0;
    }
    if (!m_Settings.StopAtRange()) return 1;
    // Stop and stay: no own motion and no trajectory any more.
    m_dVelX = m_dVelY = 0.0;
    m_Settings.Trajectory() = 0;
    if (!m_bFollowScroll) {
        m_dSpeedX = m_dSpeedY = 0.0;
    } else {
        m_dSpeedX = ScrollSpeedOr(0, m_dSpeedX);
        if (m_bFlying) m_dSpeedY = ScrollSpeedOr(1, m_dSpeedY);
    }
    return 0;
}

void cShot::AddGravity() { cGameObj::AddGravity(); }

void cShot::AccelStepY() {
    if (m_dMoveY != 0.0) m_dSpeedY += m_dMoveY;
    if (m_dSpeedY == 0.0) return;
    // The step with the stage's speed limit, then the clamp to the map, held once more. Unless
    // the first clamp met the map's edge, the shot already lies inside and a second one would
    // change nothing.
    const double limit = g_StageSettings.m_adSubStep[cStage::STEP_LIMIT];
    if (m_dSpeedY > limit) m_dSpeedY = limit;
    if (m_dSpeedY < -limit) m_dSpeedY = -limit;
    m_dY += m_dSpeedY;
    if (ClampStepY()) ClampStepY();
}

void cShot::AccelStepX() {
    if (m_dMoveX != 0.0) m_dSpeedX += m_dMoveX;
    if (m_dSpeedX == 0.0) return;
    const double limit = g_StageSettings.m_adSubStep[cStage::STEP_LIMIT];
    m_dSpeedX = std::clamp(m_dSpeedX, -limit, limit);
    m_dX += m_dSpeedX;
    ClampStepX();
}

int cShot::HitsBlocks() {
    if (m_Settings.PassBlocks() == 1) return 0;
    if (m_nWidth <= 32)
        return BlockCornersSolid(m_nCellLeft, m_nCellTop, m_nCellRight, m_nCellBottom, m_nBlockSide) ? 1 : 0;
    return HitsBlocksWide();
}

int cShot::HitsBlocksWide() const {
    // A grid of 32-dot rows and columns, the last ones at the far edges.
    const int side = m_nBlockSide;
    const int64_t x = DotToInt(m_dX), y = DotToInt(m_dY);
    const int w = std::max(1, m_nWidth), h = std::max(1, m_nHeight);
    for (int oy = 0;; oy += 32) {
        const int rowOff = std::min(oy, h - 1);
        const int row = ClampInt(y + rowOff) >> 5;
        for (int ox = 0;; ox += 32) {
            const int colOff = std::min(ox, w - 1);
            if (BlockSolidFor(ClampInt(x + colOff) >> 5, row, side)) return 1;
            if (colOff == w - 1) break;
        }
        if (rowOff == h - 1) break;
    }
    return 0;
}

void cShot::ScaleHitBoxes(int scale) {
    for (int i = 0; i < 4; ++i) m_anHitBox[i] = ClampInt((int64_t)m_anBaseHitBox[i] * scale);
}

void cShot::AdjustForScale(int newScale, int oldScale) {
    if (newScale == oldScale) return;
    m_dY -= (double)(m_nBaseHeight >> 1) * ((double)newScale - (double)oldScale);
    ClampY(2);
}
