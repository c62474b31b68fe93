#include "play/shot_formation.h"

#include <algorithm>
#include <cmath>

#include "core/helpers.h"
#include "app/scene_manager.h"
#include "flow/command_kinds.h"
#include "flow/ed_shot.h"
#include "flow/shot_param_desc.h"
#include "play/aiming.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/damage.h"
#include "play/item_def.h"
#include "play/play_scene.h"
#include "play/spawn.h"
#include "play/stage_objects.h"
#include "records/common_palette.h"
#include "records/stage.h"

const double kDirAngle[12] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225};
const int kDirAngleInt[12] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225};

namespace {

constexpr double kDegToRad = M_PI / 180.0;

double SubSteps() {
    const double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
    return n >= 1.0 ? n : 1.0;
}

int32_t ToInt(double v) { return DotToInt(v); }
int32_t Sum(int64_t v) { return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

double ScrollPos(int axis) {
    if (!g_lpPlayScene) return 0.0;
    return axis == 0 ? g_lpPlayScene->m_ScrollX.m_dPos : g_lpPlayScene->m_ScrollY.m_dPos;
}

// An object's screen rectangle, its graphic size and the scroll position: what a formation
// places against.
struct BOX {
    int64_t left, top, right, bottom, gw, gh;
    double sx, sy;
};

BOX BoxOf(const cGameObj& o) {
    return BOX{o.m_nRectLeft, o.m_nRectTop, o.m_nRectRight, o.m_nRectBottom, o.m_nGraphWidth, o.m_nGraphHeight,
               ScrollPos(0), ScrollPos(1)};
}

int64_t ISx(const BOX& b) { return ToInt(b.sx); }
int64_t ISy(const BOX& b) { return ToInt(b.sy); }

void VelocityFrom(SPAWNVALUES& v, double degrees) {
    const double t = degrees * kDegToRad;
    v.dVelX = -std::cos(t) * v.dSpeed;
    v.dVelY = -std::sin(t) * v.dSpeed;
}

int Gap(const cEdShot& s, int i) { return (int16_t)const_cast<cEdShot&>(s).FormationParams()[i] * 16; }
int Count(const cEdShot& s) { return (int8_t)const_cast<cEdShot&>(s).FormationCount(); }
bool AimFlag(const cEdShot& s) { return const_cast<cEdShot&>(s).AimAtTarget() != 0; }
bool RotationFlag(const cEdShot& s) { return const_cast<cEdShot&>(s).RotationPlacement() != 0; }

cChara* TargetOf(const cChara& owner) {
    if (owner.m_nTargetId < 0) return nullptr;
    return FindObjectById(owner.m_nTargetId);
}

// The angle (degrees, shot convention) from a point toward the owner's target; false without a
// target. While the view scrolls, a scroll-following target is aimed at with the scroll
// correction of a temporary shot, which also gives the speed.
bool AimAngle(const cChara& owner, const cEdShot& s, SPAWNVALUES& v, double px, double py, double& angle) {
    cChara* target = TargetOf(owner);
    if (!target) return false;
    const double tx = target->m_dX + target->m_nWidth / 2.0, ty = target->m_dY + target->m_nHeight / 2.0;
    bool still = true;
    if (g_lpPlayScene) {
        const cScroll& x = g_lpPlayScene->m_ScrollX;
        const cScroll& y = g_lpPlayScene->m_ScrollY;
        still = (x.m_dSpeed == 0.0 || x.m_bChanged) && (y.m_dSpeed == 0.0 || y.m_bChanged);
    }
    if (still || const_cast<cEdShot&>(s).FollowScroll() || !target->m_bScrollSync) {
        angle = std::atan2(-(ty - py), -(tx - px)) / kDegToRad;
        return true;
    }
    cShot tmp;
    SPAWNVALUES at = v;
    at.nX = ToInt(px - 8);
    at.nY = ToInt(py - 8);
    tmp.Init(0, owner, SHOTCMD_SHOT, s, at);
    double vx = 0.0, vy = 0.0;
    int dir = 0;
    AimVelocity(vx, vy, dir, &tmp, px, py, tx, ty, v.dSpeed / SubSteps(), 0, 1, 0);
    angle = std::atan2(-vy, -vx) / kDegToRad;
    v.dSpeed = std::sqrt(vx * vx + vy * vy) * SubSteps();
    return true;
}

// The first object placed around the owner at angle a (degrees).
void RotationPlace(const BOX& b, SPAWNVALUES& v, double a) {
    const double c = kInvSqrt2;
    const double rx = (double)((b.right - b.left - (b.gw >> 1)) + (v.nWidth >> 1) + 1) * c;
    const double ry = (double)((b.bottom - b.top - (b.gh >> 1)) + (v.nHeight >> 1) + 1) * c;
    const double ocx = (double)(b.left + (b.gw >> 1)) + b.sx, ocy = (double)(b.top + (b.gh >> 1)) + b.sy;
    const double t = (a + 225.0) * kDegToRad;
    v.nBaseX = Sum((int64_t)ToInt(ocx + std::cos(t) * rx + std::sin(t) * ry - (v.nWidth >> 1)) + v.nOffsetX);
    v.nBaseY = Sum((int64_t)ToInt(ocy + std::sin(t) * rx - std::cos(t) * ry - (v.nHeight >> 1)) + v.nOffsetY);
}

// A row of `count` across the direction of flight, centred on the owner ("直進A").
void PlaceRowByDirection(const BOX& b, SPAWNVALUES& v, int count, int gap) {
    const int64_t w = v.nWidth, h = v.nHeight, n1 = std::max(0, count - 1);
    const double sp = v.dSpeed, c = kInvSqrt2;
    const int64_t rowY = ISy(b) - n1 * (gap >> 1) - (h >> 1) * count + (b.gh >> 1) + b.top;
    const int64_t rowX = ISx(b) - n1 * (gap >> 1) - (w >> 1) * count + (b.gw >> 1) + b.left;
    switch (v.nDirCode) {
    case 2:
    case 3:
        v.nBaseX = v.nDirCode == 2 ? ToInt((double)b.left + b.sx + 1 - w) : ToInt((double)b.right + b.sx + 1);
        v.nBaseY = Sum(rowY);
        v.dVelX = v.nDirCode == 2 ? -sp : sp;
        v.dVelY = 0.0;
        v.nStepX = 0;
        v.nStepY = Sum(h + gap);
        break;
    case 6:
    case 7:
        v.nBaseX = Sum(rowX);
        v.nBaseY = Sum(v.nDirCode == 6 ? ISy(b) - h + b.top : ISy(b) + b.bottom + 1);
        v.dVelX = 0.0;
        v.dVelY = v.nDirCode == 6 ? -sp : sp;
        v.nStepX = Sum(w + gap);
        v.nStepY = 0;
        break;
    default: {
        // Diagonals: 8 up-left, 9 down-left, 10 up-right, 11 down-right; the row runs across
        // the flight through the owner's corner.
        const int code = std::clamp(v.nDirCode, 8, 11);
        const int fx = code <= 9 ? -1 : 1, fy = (code == 8 || code == 10) ? -1 : 1;
        const double cx = (double)(ISx(b) + b.left + (b.gw >> 1));
        const double cy = (double)(ISy(b) + b.top + (b.gh >> 1));
        const double x0 = ToInt(cx + fx * (double)(b.gw / 2 + w / 2 - 1) * c - (w >> 1));
        const double y0 = ToInt(cy + fy * (double)((b.gh >> 1) + (h >> 1)) * c - (h >> 1));
        // Across the flight: x grows while y moves against the flight's y when fx = fy.
        const int ry = fx == fy ? -1 : 1;
        v.nBaseX = ToInt(x0 - n1 * ((w >> 1) + (gap >> 1)) * c);
        v.nBaseY = ToInt(y0 - ry * n1 * ((gap >> 1) + (h >> 1)) * c);
        v.nStepX = ToInt((w + gap) * c);
        v.nStepY = ToInt(ry * (h + gap) * c);
        v.dVelX = fx * c * sp;
        v.dVelY = fy * c * sp;
        break;
    }
    }
}

// The velocity of a code by direction (diagonals 1/√2 on both axes).
void VelocityOfCode(SPAWNVALUES& v) {
    const double sp = v.dSpeed, c = kInvSqrt2;
    switch (v.nDirCode) {
    case 2: v.dVelX = -sp, v.dVelY = 0; break;
    case 3: v.dVelX = sp, v.dVelY = 0; break;
    case 6: v.dVelX = 0, v.dVelY = -sp; break;
    case 7: v.dVelX = 0, v.dVelY = sp; break;
    case 8: v.dVelX = -c * sp, v.dVelY = -c * sp; break;
    case 9: v.dVelX = -c * sp, v.dVelY = c * sp; break;
    case 10: v.dVelX = c * sp, v.dVelY = -c * sp; break;
    default: v.dVelX = c * sp, v.dVelY = c * sp; break;
    }
}

double CodeAngle(const SPAWNVALUES& v) { return kDirAngle[std::clamp(v.nDirCode, 0, 11)]; }

// Spawns count objects from the base, stepping after each.
void SpawnRow(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v, int count) {
    v.nX = v.nBaseX;
    v.nY = v.nBaseY;
    for (int i = 0; i < count; ++i) {
        SpawnOne(list, v, owner, kind, s);
        v.nX = Sum((int64_t)v.nX + v.nStepX);
        v.nY = Sum((int64_t)v.nY + v.nStepY);
    }
}

// The centre object of "落雷" and "包囲": the owner's target, the hero or the owner.
cChara* CentreObject(cChara& owner, const cEdShot& s) {
    cChara* c = nullptr;
    switch (const_cast<cEdShot&>(s).FormationCentre()) {
    case 0: c = TargetOf(owner); break;
    case 1: c = g_vecHero.empty() ? nullptr : &g_vecHero[0]; break;
    default: c = &owner; break;
    }
    if (c && c != &owner && c->m_nPlayerSide == 1) c->GetGraphicRect();
    return c;
}

}  // namespace

int DirectionCode(int option, const cChara& owner) {
    const bool right = owner.m_nDir > 0;
    switch (option) {
    case 1: return right ? 2 : 3;
    case 2: return 2;
    case 3: return 3;
    case 4: return right ? 7 : 6;
    case 5: return right ? 6 : 7;
    case 6: return 6;
    case 7: return 7;
    case 8: return 8;
    case 9: return 9;
    case 10: return 10;
    case 11: return 11;
    case 12: return SpawnOptionCode(RunFlowKeyDirection(owner), right ? 1 : 0);
    default: return right ? 3 : 2;  // 0 forward; unknown options likewise
    }
}

namespace Formation {

void StraightA(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int count = Count(s);
    if (count < 1) return;
    const BOX b = BoxOf(owner);
    const int gap = Gap(s, 0);
    if (v.dAngle == 0.0 && !AimFlag(s)) {
        PlaceRowByDirection(b, v, count, gap);
        v.nBaseX = Sum((int64_t)v.nBaseX + v.nOffsetX);
        v.nBaseY = Sum((int64_t)v.nBaseY + v.nOffsetY);
    } else if (!RotationFlag(s)) {
        PlaceRowByDirection(b, v, count, gap);
        v.nBaseX = Sum((int64_t)v.nBaseX + v.nOffsetX);
        v.nBaseY = Sum((int64_t)v.nBaseY + v.nOffsetY);
        double a = kDirAngleInt[std::clamp(v.nDirCode, 0, 11)];
        if (AimFlag(s)) AimAngle(owner, s, v, v.nBaseX + v.nWidth / 2.0, v.nBaseY + v.nHeight / 2.0, a);
        VelocityFrom(v, a + v.dAngle);
    } else {
        double a = CodeAngle(v);
        if (AimFlag(s)) {
            const double ox = (double)(b.left + (b.gw >> 1)) + b.sx + v.nOffsetX;
            const double oy = (double)(b.top + (b.gh >> 1)) + b.sy + v.nOffsetY;
            AimAngle(owner, s, v, ox, oy, a);
        }
        RotationPlace(b, v, a + v.dAngle);
        if (AimFlag(s)) AimAngle(owner, s, v, v.nBaseX + v.nWidth / 2.0, v.nBaseY + v.nHeight / 2.0, a);
        const double t = a + v.dAngle;
        VelocityFrom(v, t);
        // The row across the flight, rounded away from zero.
        const double r = t * kDegToRad;
        v.nStepX = ToInt(std::round(-std::sin(r) * (v.nWidth + gap)));
        v.nStepY = ToInt(std::round(std::cos(r) * (v.nHeight + gap)));
    }
    SpawnRow(list, owner, kind, s, v, count);
}

void StraightB(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int count = Count(s);
    if (count < 1) return;
    const BOX b = BoxOf(owner);
    const int64_t w = v.nWidth, h = v.nHeight;
    const int gap = Gap(s, 0);
    // A column on the owner's foot line, rising.
    v.nBaseY = Sum(ISy(b) + b.bottom - h + 1);
    v.nStepX = 0;
    v.nStepY = Sum(-(h + gap));
    bool leftSide = false;
    switch (v.nDirCode) {
    case 2: case 8: case 9: leftSide = true; break;
    case 6: case 7: leftSide = owner.m_nDir <= 0; break;
    default: leftSide = false; break;
    }
    v.nBaseX = leftSide ? ToInt((double)b.left + b.sx + 1 - w) : ToInt((double)b.right + b.sx + 1);
    if (v.dAngle == 0.0 && !AimFlag(s)) {
        VelocityOfCode(v);
    } else {
        double a = CodeAngle(v);
        if (AimFlag(s)) AimAngle(owner, s, v, v.nBaseX + w / 2.0, v.nBaseY + h / 2.0, a);
        VelocityFrom(v, a + v.dAngle);
    }
    v.nBaseX = Sum((int64_t)v.nBaseX + v.nOffsetX);
    v.nBaseY = Sum((int64_t)v.nBaseY + v.nOffsetY);
    SpawnRow(list, owner, kind, s, v, count);
}

void Spread(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int count = Count(s);
    if (count < 1) return;
    const BOX b = BoxOf(owner);
    const int64_t w = v.nWidth, h = v.nHeight;
    // The start point of every object by direction.
    const int64_t leftX = ISx(b) + b.left - w + 1, rightX = ISx(b) + b.right + 1;
    const int64_t midX = ISx(b) + b.left + (b.gw >> 1) - (w >> 1);
    const int64_t topY = ISy(b) + b.top - h, bottomY = ISy(b) + b.bottom + 1;
    const int64_t midY = ISy(b) + b.top + (b.gh >> 1) - (h >> 1);
    int64_t x = leftX, y = midY;
    switch (v.nDirCode) {
    case 2: x = leftX, y = midY; break;
    case 3: x = rightX, y = midY; break;
    case 6: x = midX, y = topY; break;
    case 7: x = midX, y = bottomY; break;
    case 8: x = leftX, y = topY; break;
    case 9: x = leftX, y = bottomY; break;
    case 10: x = rightX, y = topY; break;
    default: x = rightX, y = bottomY; break;
    }
    v.nBaseX = Sum(x + v.nOffsetX);
    v.nBaseY = Sum(y + v.nOffsetY);
    if ((v.dAngle != 0.0 || AimFlag(s)) && RotationFlag(s)) {
        double a = CodeAngle(v);
        if (AimFlag(s)) {
            const double ox = (double)(b.left + (b.gw >> 1)) + b.sx, oy = (double)(b.top + (b.gh >> 1)) + b.sy;
            AimAngle(owner, s, v, ox, oy, a);
        }
        RotationPlace(b, v, a + v.dAngle);
    }
    double centre = CodeAngle(v);
    if (AimFlag(s)) AimAngle(owner, s, v, v.nBaseX + w / 2.0, v.nBaseY + h / 2.0, centre);
    centre += v.dAngle;
    const double spread = (int16_t)const_cast<cEdShot&>(s).FormationParams()[0];
    double t = (count & 1) ? centre - (count >> 1) * spread : centre - ((count >> 1) - 0.5) * spread;
    v.nX = v.nBaseX;
    v.nY = v.nBaseY;
    for (int i = 0; i < count; ++i) {
        VelocityFrom(v, t);
        SpawnOne(list, v, owner, kind, s);
        t += spread;
    }
}

void Explosion(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int count = Count(s);
    if (count < 1) return;
    const BOX b = BoxOf(owner);
    v.nX = v.nBaseX = Sum((int64_t)ToInt((double)(b.left + (b.gw >> 1)) + b.sx - (v.nWidth >> 1)) + v.nOffsetX);
    v.nY = v.nBaseY = Sum((int64_t)ToInt((double)(b.top + (b.gh >> 1)) + b.sy - (v.nHeight >> 1)) + v.nOffsetY);
    double t = CodeAngle(v) + v.dAngle;
    const double step = 360.0 / count;
    for (int i = 0; i < count; ++i) {
        VelocityFrom(v, t);
        SpawnOne(list, v, owner, kind, s);
        t += step;
    }
}

void Surround(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int count = Count(s);
    if (count < 1) return;
    cChara* centre = CentreObject(owner, s);
    if (!centre) return;
    const BOX b = BoxOf(*centre);
    const double r = Gap(s, 0);
    const int64_t cx = ToInt((double)(b.left + (b.gw >> 1)) + b.sx - (v.nWidth >> 1) + v.nOffsetX);
    const int64_t cy = ToInt((double)(b.top + (b.gh >> 1)) + b.sy - (v.nHeight >> 1) + v.nOffsetY);
    v.nBaseX = Sum(cx);
    v.nBaseY = Sum(cy);
    double t = CodeAngle(v) + v.dAngle;
    const double step = 360.0 / count;
    for (int i = 0; i < count; ++i) {
        const double rad = t * kDegToRad;
        // Rounded half away from zero, so every object lies r from the centre on every side.
        v.nX = Sum(cx + ToInt(std::round(std::cos(rad) * r)));
        v.nY = Sum(cy + ToInt(std::round(std::sin(rad) * r)));
        VelocityFrom(v, t);
        SpawnOne(list, v, owner, kind, s);
        t += step;
    }
}

void Lightning(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int count = Count(s);
    if (count < 1) return;
    cChara* centre = CentreObject(owner, s);
    if (!centre) return;
    // Columns as the editor allows them (1-50): a larger count from a damaged file would make
    // millions of shots in one call.
    const SHOTPARAMDESC* desc = FormationParam(3, 1);
    const int columns = std::min<int>((int16_t)const_cast<cEdShot&>(s).FormationParams()[1], desc ? desc->nMax : 50);
    if (columns < 1) return;
    const BOX b = BoxOf(*centre);
    const int64_t w = v.nWidth, h = v.nHeight;
    const int gap = Gap(s, 0), colGap = Gap(s, 2);
    const double c = kInvSqrt2;
    // Rows centred on the centre object across the flight; columns along it, away from it.
    const int64_t rowsH = (int64_t)count * h + (int64_t)(count - 1) * gap;
    const int64_t rowsW = (int64_t)count * w + (int64_t)(count - 1) * gap;
    const int64_t midX = ISx(b) + b.left + (b.gw >> 1), midY = ISy(b) + b.top + (b.gh >> 1);
    const int64_t leftX = ISx(b) + b.left - w, rightX = ISx(b) + b.right + 1;
    const int64_t topY = ISy(b) + b.top - h, bottomY = ISy(b) + b.bottom + 1;
    int64_t x = leftX, y = midY - rowsH / 2;
    int64_t stepX = 0, stepY = h + gap, colX = -(w + colGap), colY = 0;
    switch (v.nDirCode) {
    case 2: break;
    case 3: x = rightX, colX = w + colGap; break;
    case 6: x = midX - rowsW / 2, y = topY, stepX = w + gap, stepY = 0, colX = 0, colY = -(h + colGap); break;
    case 7: x = midX - rowsW / 2, y = bottomY, stepX = w + gap, stepY = 0, colX = 0, colY = h + colGap; break;
    default: {
        // Diagonals: from the corner on the flight's side, columns along the flight.
        const int fx = v.nDirCode <= 9 ? -1 : 1, fy = (v.nDirCode == 8 || v.nDirCode == 10) ? -1 : 1;
        x = fx < 0 ? leftX : rightX;
        y = fy < 0 ? topY : bottomY;
        colX = ToInt(fx * (w + colGap) * c);
        colY = ToInt(fy * (h + colGap) * c);
        stepX = ToInt((w + gap) * c);
        stepY = ToInt((fx == fy ? -1 : 1) * (h + gap) * c);
        break;
    }
    }
    v.nBaseX = Sum(x + v.nOffsetX);
    v.nBaseY = Sum(y + v.nOffsetY);
    v.nStepX = Sum(stepX);
    v.nStepY = Sum(stepY);
    v.nColStepX = Sum(colX);
    v.nColStepY = Sum(colY);
    if (v.dAngle == 0.0)
        VelocityOfCode(v);
    else
        VelocityFrom(v, CodeAngle(v) + v.dAngle);
    int64_t rx = v.nBaseX, ry = v.nBaseY;
    for (int row = 0; row < count; ++row) {
        SPAWNVALUES cv = v;
        cv.nX = Sum(rx);
        cv.nY = Sum(ry);
        for (int col = 0; col < columns; ++col) {
            SpawnOne(list, cv, owner, kind, s);
            cv.nX = Sum((int64_t)cv.nX + cv.nColStepX);
            cv.nY = Sum((int64_t)cv.nY + cv.nColStepY);
        }
        rx += v.nStepX;
        ry += v.nStepY;
    }
}

}  // namespace Formation

const Formation::FUNC FormationTable[kFormationCount] = {
    Formation::StraightA, Formation::StraightB, Formation::Spread,
    Formation::Lightning, Formation::Explosion, Formation::Surround,
};

namespace {

void CallFormation(std::list<cShot>* list, cChara& owner, int kind, const cEdShot& s, SPAWNVALUES& v) {
    const int f = const_cast<cEdShot&>(s).Formation();
    if (f >= 0 && f < kFormationCount) FormationTable[f](list, owner, kind, s, v);
}

// The offsets of formation call i, mirrored when the owner faces right as the settings ask.
void Offsets(const cChara& owner, const cEdShot& cs, SPAWNVALUES& v, int i) {
    cEdShot& s = const_cast<cEdShot&>(cs);
    int64_t ox = (int64_t)(int16_t)s.OffsetXStep() * i + (int16_t)s.OffsetX();
    int64_t oy = (int64_t)(int16_t)s.OffsetYStep() * i + (int16_t)s.OffsetY();
    if (owner.m_nDir > 0 && s.MirrorOffsetX()) ox = -ox;
    if (owner.m_nDir > 0 && s.MirrorOffsetY()) oy = -oy;
    v.nOffsetX = Sum(ox);
    v.nOffsetY = Sum(oy);
}

// The angle of a call: S7 plus the step, mirrored when the owner faces right, with the spread.
double CallAngle(const cChara& owner, const cEdShot& cs, int i) {
    cEdShot& s = const_cast<cEdShot&>(cs);
    double a = (double)(int16_t)s.AngleStep() * i + (int16_t)s.Angle();
    if (s.MirrorAngle() && owner.m_nDir > 0) a = 360.0 - a;
    const int spread = (int16_t)s.AngleSpread();
    if (spread != 0) a += RandRange(-spread, spread);
    return a;
}

}  // namespace

void RunShotCommand(std::list<cShot>& list, cChara& owner, int kind, const cEdShot& cs) {
    cEdShot& s = const_cast<cEdShot&>(cs);
    SPAWNVALUES v{};
    const int scale = std::max(1, (int)s.Scale());
    v.nWidth = v.nHeight = 16 * scale;
    v.nDirCode = DirectionCode(s.DirectionOption(), owner);
    if (owner.m_nPlayerSide == 1) {
        owner.GetGraphicRect();
        cChara* target = TargetOf(owner);
        if (target && target->m_nPlayerSide == 1) target->GetGraphicRect();
    }
    v.dSpeed = s.Speed() * 0.1;
    v.dSpeedStep = (int16_t)s.SpeedStep() * 0.1;
    v.dAngle = CallAngle(owner, s, 0);
    v.nDistance = s.Range();
    v.nLife = s.Life();
    const int calls = (int)(int8_t)s.ExtraCalls() + 1;
    for (int i = 0; i < calls; ++i) {
        v.nIndex = (int16_t)i;
        Offsets(owner, s, v, i);
        // The formation may change the speed (aiming while the view scrolls): each call starts
        // from the command's own speed for that call.
        const double speed = v.dSpeed;
        CallFormation(&list, owner, kind, s, v);
        v.dSpeed = speed + v.dSpeedStep;
        v.dAngle = CallAngle(owner, s, i + 1);
        v.nDistance = Sum((int64_t)v.nDistance + (int16_t)s.RangeStep());
        v.nLife = Sum((int64_t)v.nLife + (int16_t)s.LifeStep());
    }
}

namespace {

// One formation call of a summon, objects of w x h.
void RunSummon(cChara& owner, int kind, const cEdShot& s, int w, int h) {
    SPAWNVALUES v{};
    v.nWidth = w;
    v.nHeight = h;
    v.nDirCode = DirectionCode(const_cast<cEdShot&>(s).DirectionOption(), owner);
    v.dSpeed = 1.0;
    Offsets(owner, s, v, 0);
    CallFormation(nullptr, owner, kind, s, v);
}

int BlocksToDots(int blocks) { return 32 * std::clamp(blocks, 1, 64); }

}  // namespace

void RunCharaSummonCommand(cChara& owner, int kind, const cEdShot& cs) {
    cEdShot& s = const_cast<cEdShot&>(cs);
    const std::vector<cCharaRec>& list =
        s.SummonPalette() == 0 ? g_CommonPalette.m_vecCharas : g_LoadedStage.m_vecPaletteCharas;
    const int index = s.SummonIndex();
    if ((size_t)index >= list.size()) return;
    const cCharaRec& rec = list[(size_t)index];
    if (charadef::Summonable(rec) != 1) return;
    const int size = BlocksToDots(charadef::Blocks(rec));
    RunSummon(owner, kind, s, size, size);
}

void RunItemSummonCommand(cChara& owner, int kind, const cEdShot& cs) {
    cEdShot& s = const_cast<cEdShot&>(cs);
    const std::vector<cItemRec>& list =
        s.SummonPalette() == 0 ? g_CommonPalette.m_vecItems : g_LoadedStage.m_vecPaletteItems;
    const int index = s.SummonIndex();
    if ((size_t)index >= list.size()) return;
    const int size = BlocksToDots(itemdef::Blocks(list[(size_t)index]));
    RunSummon(owner, kind, s, size, size);
}

void RunBlockSummonCommand(cChara& owner, int kind, const cEdShot& cs) {
    cEdShot& s = const_cast<cEdShot&>(cs);
    const size_t count =
        s.SummonPalette() == 0 ? g_CommonPalette.m_vecBlocks.size() : g_LoadedStage.m_vecPaletteBlocks.size();
    if ((size_t)s.SummonIndex() >= count) return;
    RunSummon(owner, kind, s, 32, 32);
}

void SpawnOne(std::list<cShot>* list, SPAWNVALUES& v, cChara& owner, int kind, const cEdShot& s) {
    switch (kind) {
    case SHOTCMD_SHOT: {
        if (!list) return;
        const int serial = g_lpPlayScene ? g_lpPlayScene->m_nShotSerial : 0;
        // Made in its place in the list: a copy would build and free a second animation player.
        cShot& added = list->emplace_back();
        added.Init(serial, owner, kind, s, v);
        if (g_lpPlayScene) {
            if (g_lpPlayScene->m_nShotSerial < INT32_MAX) ++g_lpPlayScene->m_nShotSerial;
            if (list == &g_lpPlayScene->m_listShot) g_lpPlayScene->AddToGroup(&added);
        }
        const int traj = added.m_Settings.Trajectory();
        cChara* target = (traj == 3 || traj == 6) ? FindObjectById(added.m_nTargetId) : nullptr;
        if (target) {
            std::vector<int32_t>& aimed = target->m_vecAimedShots;
            if (std::find(aimed.begin(), aimed.end(), added.m_nId) == aimed.end()) aimed.push_back(added.m_nId);
        } else {
            added.m_nTargetId = -1;
        }
        break;
    }
    case SHOTCMD_BLOCK:
        SetBlockAt(v.nX, v.nY, s);
        break;
    case SHOTCMD_CHARA:
        SpawnCharacterAt(v.nX, v.nY, v.dVelX, v.dVelY, owner, s);
        break;
    case SHOTCMD_ITEM:
        SpawnItem(v.nX, v.nY, v.dVelX, v.dVelY, s);
        break;
    default:  // swords are made by the sword command
        break;
    }
}
