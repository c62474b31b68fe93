#include "flow/flow_move.h"

#include <algorithm>
#include <cmath>

#include "app/scene_manager.h"
#include "flow/flow.h"
#include "flow/flow_dispatch.h"
#include "flow/flow_run.h"
#include "media/anime.h"
#include "play/damage.h"
#include "play/block_map.h"
#include "play/chara.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "records/stage.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kInvSqrt2Move = 0.70710678118654752440;

// Base angles of the absolute direction codes (2 left 0°, 3 right 180°, 6 up 90°, ...).
double BaseAngle(int code) {
    switch (code) {
    case 2: return 0.0;
    case 3: return 180.0;
    case 6: return 90.0;
    case 7: return 270.0;
    case 8: return 45.0;
    case 9: return 315.0;
    case 10: return 135.0;
    case 11: return 225.0;
    default: return 0.0;
    }
}

bool FacesRight(const cChara& c) { return c.m_nDir > 0; }

// The start direction of the flow that runs now.
int StartDir() {
    return g_lpPlayScene && g_lpPlayScene->m_lpRunFlow ? g_lpPlayScene->m_lpRunFlow->m_nStartDir : 0;
}

// The character's target when it is alive.
cChara* LivingTarget(const cChara& c) {
    if (c.m_nTargetId < 0) return nullptr;
    cChara* t = FindObjectById(c.m_nTargetId);
    if (!t || t->m_bDead || t->m_bDying) return nullptr;
    return t;
}

int32_t Wide32(int64_t v) { return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

// The command's angle (degrees, below 360) and target offset with the mirrors of a mirrored
// placement.
void AngleAndOffset(const cChara& c, CMDINSTANCE& inst, cEdMove& m) {
    int64_t a = (int64_t)(int16_t)m.Angle() + (int64_t)(int16_t)m.AngleStep() * c.m_sCloneValue;
    if (m.MirrorAngle() && c.m_byMirrorPlace == 1) a = 360 - a;
    a %= 360;
    if (a < 0) a += 360;
    inst.nAngle = (int32_t)a;
    int64_t ox = (int64_t)(int16_t)m.TargetXBlocks() * 32 + (int16_t)m.TargetXDots();
    int64_t oy = (int64_t)(int16_t)m.TargetYBlocks() * 32 + (int16_t)m.TargetYDots();
    if (m.MirrorX() && c.m_byMirrorPlace == 1) ox = -ox;
    if (m.MirrorY() && c.m_byMirrorPlace == 1) oy = -oy;
    inst.nOffX = Wide32(ox);
    inst.nOffY = Wide32(oy);
}

int DirOfVx(double vx) { return vx < 0.0 ? 1 : vx > 0.0 ? 2 : 0; }

// Velocity toward the target coordinates of the move part (movement mode 1).
void TargetCoordVelocity(cChara& c, CMDINSTANCE& inst, cEdMove& m) {
    inst.dVX = inst.dVY = 0.0;
    inst.nDirCode = 0;
    double cx, cy;
    CharaCentre(c, cx, cy);
    const cScroll* ax = g_lpPlayScene ? &g_lpPlayScene->m_ScrollX : nullptr;
    const cScroll* ay = g_lpPlayScene ? &g_lpPlayScene->m_ScrollY : nullptr;
    double dx = 0.0, dy = 0.0;
    switch (m.CoordMode()) {
    case 0:  // from the placement cell's centre
        dx = (ax ? ax->m_nBase : 0) + c.m_Def.m_sPlaceX * 32.0 + 16.0 + inst.nOffX - cx;
        dy = (ay ? ay->m_nBase : 0) + c.m_Def.m_sPlaceY * 32.0 + 16.0 + inst.nOffY - cy;
        break;
    case 1:
        dx = inst.nOffX;
        dy = inst.nOffY;
        break;
    case 2:
        dx = (ax ? ax->m_nBase : 0) + inst.nOffX + 16.0 - cx;
        dy = (ay ? ay->m_nBase : 0) + inst.nOffY + 16.0 - cy;
        break;
    case 3:
        dx = (ax ? ax->m_dPos : 0.0) + inst.nOffX + 16.0 - cx;
        dy = (ay ? ay->m_dPos : 0.0) + inst.nOffY + 16.0 - cy;
        break;
    default: return;
    }
    if (m.YOnly()) dx = 0.0;
    if (m.XOnly() || !c.m_bFlying) dy = 0.0;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0.0) return;
    const double s = inst.dSpeed;
    inst.dVX = dx / d * s;
    inst.dVY = dy / d * s;
    inst.nDirCode = c.m_byFixedFacing ? 0 : DirOfVx(inst.dVX);
    if (m.StopAtTarget() && s != 0.0) {
        const double steps = std::trunc(std::fabs(d) / std::fabs(s));
        if (steps < 1.0) {
            // Within one step: onto the point at once.
            c.MoveTo(DotToInt(cx + dx), DotToInt(cy + dy));
            inst.dVX = inst.dVY = 0.0;
            inst.nRemaining = 0;
        } else {
            inst.nRemaining = (int32_t)std::min<double>(steps, kMaxCmdSteps);
        }
    }
}

// A velocity of speed s from the character's centre toward a point: along the straight line
// when flying, horizontally when walking; locked axes stay 0.
void AimAt(cChara& c, CMDINSTANCE& inst, const cEdMove& m, double px, double py) {
    double cx, cy;
    CharaCentre(c, cx, cy);
    const double s = inst.dSpeed;
    inst.dVX = inst.dVY = 0.0;
    if (c.m_bFlying) {
        double dx = px - cx, dy = py - cy;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d != 0.0) {
            inst.dVX = dx / d * s;
            inst.dVY = dy / d * s;
        }
    } else {
        inst.dVX = cx >= px ? -s : s;
    }
    cEdMove& mm = const_cast<cEdMove&>(m);
    if (mm.YOnly()) inst.dVX = 0.0;
    if (mm.XOnly() || !c.m_bFlying) inst.dVY = 0.0;
    inst.nDirCode = c.m_byFixedFacing ? 0 : DirOfVx(inst.dVX);
}

// The ground under a dot column one row below the character's feet.
bool GroundAt(const cChara& c, double x) {
    int row = (DotToInt(c.m_dBottom) >> 5) + 1;
    const int rows = g_lpPlayScene ? g_lpPlayScene->m_ScrollY.m_nMapSize : 0;
    if (rows > 0) row = std::clamp(row, 0, rows - 1);
    const int s = BlockCellSolidity(BlockCellIndex(DotToInt(x), row * 32), c.m_nBlockSide);
    return s == 1 || s == 2;
}

double Wrap360(double a) {
    a = std::fmod(a, 360.0);
    if (a < 0.0) a += 360.0;
    return a;
}

}  // namespace

void CharaCentre(const cChara& c, double& x, double& y) {
    x = c.m_dX - c.m_nGraphOffX + (c.m_nGraphWidth >> 1);
    y = c.m_dY - c.m_nGraphOffY + (c.m_nGraphHeight >> 1);
}

int ResolveDirectionCode(const cChara& c, int code, int startDir) {
    const bool right = FacesRight(c);
    switch (code) {
    case 0: return right ? 3 : 2;
    case 1: return right ? 2 : 3;
    case 4: return right ? 7 : 6;
    case 5: return right ? 6 : 7;
    case 2:
    case 3:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11: return code;
    case 12: {
        // The start direction (0 none, 1 left, 2 right, 3 up, 4 down, 5-8 the diagonals).
        static const int kCodes[9] = {0, 2, 3, 6, 7, 8, 9, 10, 11};
        if (startDir >= 1 && startDir <= 8) return kCodes[startDir];
        return right ? 3 : 2;
    }
    default: return right ? 3 : 2;
    }
}

void DirectionVelocity(const cChara& c, int code, double s, bool useAngle, int angle, double& vx, double& vy,
                       int& dirCode) {
    if (!c.m_bFlying) {
        if (code == 8 || code == 9) code = 2;
        if (code == 10 || code == 11) code = 3;
    }
    vx = vy = 0.0;
    const double fly = c.m_bFlying ? 1.0 : 0.0;
    if (!useAngle) {
        const double h = s * kInvSqrt2Move;
        switch (code) {
        case 2: vx = -s; break;
        case 3: vx = s; break;
        case 6: vy = -s * fly; break;
        case 7: vy = s * fly; break;
        case 8: vx = -h; vy = -h * fly; break;
        case 9: vx = -h; vy = h * fly; break;
        case 10: vx = h; vy = -h * fly; break;
        case 11: vx = h; vy = h * fly; break;
        default: break;
        }
    } else {
        const double t = (BaseAngle(code) + angle) * kPi / 180.0;
        vx = -std::cos(t) * s;
        vy = c.m_bFlying ? -std::sin(t) * s : 0.0;
    }
    dirCode = 0;
    if (!c.m_byFixedFacing) {
        if (code == 2 || code == 8 || code == 9) dirCode = 1;
        else if (code == 3 || code == 10 || code == 11) dirCode = 2;
    }
}

void ApplyStepVelocity(cChara& c, CMDINSTANCE& inst, const cEdMove& cm, bool alwaysTurn) {
    cEdMove& m = const_cast<cEdMove&>(cm);
    if (alwaysTurn || (!c.m_byFixedFacing && !m.FixFacing())) {
        if (inst.nDirCode == 1) c.m_nDir = 0;
        else if (inst.nDirCode == 2) c.m_nDir = 1;
    }
    double vx = inst.dVX, vy = inst.dVY;
    if (m.Inertia()) {
        const auto accumulate = [&](double v, double& in) {
            if (v * in < 0.0) v *= m.AccelFactor();
            in += v;
            if (inst.dSpeed2 > 0.0) in = std::clamp(in, -inst.dSpeed2, inst.dSpeed2);
        };
        accumulate(vx, c.m_dInertiaX);
        accumulate(vy, c.m_dInertiaY);
        vx = c.m_dInertiaX;
        vy = c.m_dInertiaY;
    }
    if (!c.m_anFrameWord[0]) {
        c.m_dMoveX = vx;
        c.m_dMoveY = vy;
    } else {
        c.m_dMoveX += vx;
        c.m_dMoveY += vy;
    }
    c.m_anFrameWord[0] = 1;
    if (!m.KeepAnimation()) {
        c.m_bMoving = 1;
        c.m_Anime->Change(c.m_bFlying ? 3 : 1, 1);
    }
}

void SetUpFlowCommand(cChara& c, CMDINSTANCE& inst, cFlowCmd& cmd) {
    if (cmd.IsInstant()) return;
    const int n = FlowSubSteps();
    switch (cmd.m_cKind) {
    case 2:
    case 3:
    case 5:
    case 7:
        if (cmd.m_pMove && cmd.m_pMove->ComputeMode() != 0) CmdTimeValue(inst, cmd, c.m_sCloneValue);
        break;
    case 4: {
        if (!cmd.m_pMove) break;
        cEdMove& m = *cmd.m_pMove;
        const int64_t k = c.m_sCloneValue;
        const int64_t r = std::clamp<int64_t>((int64_t)(int16_t)m.Distance() + (int16_t)m.DistanceStep() * k, 0, 20);
        inst.dRadius = (double)r * 16.0;
        double a0 = (double)((int64_t)(int16_t)m.Angle() + (int16_t)m.AngleStep() * k);
        double a1 = (double)((int64_t)(int16_t)m.CircleEndAngle() + (int16_t)m.CircleEndAngleStep() * k);
        const bool mirrorX = c.m_byMirrorPlace == 1 && m.MirrorX();
        const bool mirrorY = c.m_byMirrorPlace == 1 && m.MirrorY();
        if (mirrorX) {
            a0 += 180.0;
            a1 += 180.0;
        }
        const double d = (int16_t)m.CircleEndAngle() <= (int16_t)m.Angle() ? a0 - a1 : a1 - a0;
        inst.dAngle0 = a0;
        if (m.ComputeMode() == 0) {
            inst.dOmega = inst.nDuration > 0 ? d / inst.nDuration : d;
        } else {
            inst.dOmega = inst.dSpeed;
            if (m.ComputeMode() == 1 && inst.dSpeed != 0.0)
                inst.nDuration = (int32_t)std::min(std::fabs(std::trunc(d / inst.dSpeed)), (double)kMaxCmdSteps);
        }
        // Turning direction from the move direction: 0 right, 1 left, 2/3 by the facing (taken
        // at the first step); a mirrored placement flips 0 and 1 with mirror X, back with Y.
        int turn = inst.cMoveDir;
        if ((turn == 0 || turn == 1) && (mirrorX != mirrorY)) turn ^= 1;
        inst.nTurn = turn;
        break;
    }
    case 6: {
        if (!cmd.m_pMove) break;
        cEdMove& m = *cmd.m_pMove;
        const int64_t d = ((int64_t)(int16_t)m.HomingDelay() + (int64_t)(int16_t)m.HomingDelayStep() * c.m_sCloneValue) * n;
        inst.nDelay = (int32_t)std::clamp<int64_t>(d, 0, kMaxCmdSteps);
        break;
    }
    case 10: {
        // The jump: its speed from the height of parameter 2 (half blocks), its time the fall
        // time of that jump in tenths of a second (frames / 6, plus 1), written into the command.
        const int32_t h = cmd.m_vecParams.size() > 2 ? cmd.m_vecParams[2] : 0;
        inst.dJumpSpeed = c.JumpSpeedForHalfBlocks((int8_t)std::clamp(h, -128, 127));
        const int64_t frames = (int64_t)cChara::FallFrames(inst.dJumpSpeed) / n;
        const int64_t tenths = std::clamp<int64_t>(frames / 6 + 1, 0, 0xFFFF);
        cmd.m_wTime = (uint16_t)tenths;
        inst.nDuration = (int32_t)std::min<int64_t>(tenths * 6 * n, kMaxCmdSteps);
        const int32_t hold = cmd.m_vecParams.size() > 1 ? cmd.m_vecParams[1] : 0;
        inst.nHoldLimit = (int32_t)std::clamp<int64_t>((int64_t)hold * n, 0, kMaxCmdSteps);
        break;
    }
    default: break;
    }
}

void FlowCmdWait(cChara&, CMDINSTANCE&) {}

void FlowCmdStraightMove(cChara& c, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !inst.lpCmd->m_pMove) return;
    cEdMove& m = *inst.lpCmd->m_pMove;
    if (!inst.bStarted) {
        inst.bStarted = 1;
        AngleAndOffset(c, inst, m);
        if (m.MoveMode() == 1) {
            TargetCoordVelocity(c, inst, m);
        } else {
            const int code = ResolveDirectionCode(c, inst.cMoveDir, StartDir());
            DirectionVelocity(c, code, inst.dSpeed, inst.nAngle != 0, inst.nAngle, inst.dVX, inst.dVY, inst.nDirCode);
        }
        if (!c.m_bFlying) inst.dVY = 0.0;
        inst.nPrevDir = c.m_nDir;
    }
    ApplyStepVelocity(c, inst, m, false);
    inst.nPrevDir = c.m_nDir;
}

void FlowCmdGroundTurnMove(cChara& c, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !inst.lpCmd->m_pMove || c.m_bFlying) return;
    cEdMove& m = *inst.lpCmd->m_pMove;
    inst.dVX = (FacesRight(c) ? 1.0 : -1.0) * inst.dSpeed;
    inst.dVY = 0.0;
    inst.nDirCode = 0;
    if (c.m_dCarryX == 0.0 && c.m_dCarryY == 0.0) {
        if (c.m_bTurnBack) {
            // Ran into a wall: turn round.
            inst.nDirCode = FacesRight(c) ? 1 : 2;
            inst.dVX = -inst.dVX;
            c.m_bTurnBack = 0;
        } else {
            // At a ledge: turn back toward the side that still has ground.
            const bool left = GroundAt(c, c.m_dX), right = GroundAt(c, c.m_dRight);
            if (left && !right) inst.nDirCode = 1;
            else if (right && !left) inst.nDirCode = 2;
        }
    }
    ApplyStepVelocity(c, inst, m, true);
}

void FlowCmdCircleMove(cChara& c, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !inst.lpCmd->m_pMove) return;
    cEdMove& m = *inst.lpCmd->m_pMove;
    if (!inst.bStarted) {
        inst.bStarted = 1;
        inst.dPhaseX = inst.dPhaseY = inst.dAngle0;
        // The facing-dependent turning directions are settled at the first step.
        if (inst.nTurn == 2) inst.nTurn = FacesRight(c) ? 1 : 0;
        else if (inst.nTurn == 3) inst.nTurn = FacesRight(c) ? 0 : 1;
    }
    const double w = inst.dOmega;
    const double r = inst.dRadius;
    inst.dVX = inst.dVY = 0.0;
    if (!m.YOnly()) inst.dVX = -r * std::cos(inst.dPhaseX * kPi / 180.0) * kPi / 180.0 * w;
    if (!m.XOnly() && c.m_bFlying) {
        const double add = inst.nTurn == 1 ? 90.0 : 270.0;
        inst.dVY = -r * std::cos((inst.dPhaseY + add) * kPi / 180.0) * kPi / 180.0 * w;
    }
    inst.dPhaseX = Wrap360(inst.dPhaseX + w);
    inst.dPhaseY = Wrap360(inst.dPhaseY + w);
    inst.nDirCode = c.m_byFixedFacing ? 0 : DirOfVx(inst.dVX);
    ApplyStepVelocity(c, inst, m, false);
}

void FlowCmdChargeMove(cChara& c, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !inst.lpCmd->m_pMove) return;
    cEdMove& m = *inst.lpCmd->m_pMove;
    if (!inst.bStarted) {
        inst.bStarted = 1;
        AngleAndOffset(c, inst, m);
        cChara* t = LivingTarget(c);
        if (!t) {
            inst.bNoTarget = 1;
        } else {
            double tx, ty;
            CharaCentre(*t, tx, ty);
            AimAt(c, inst, m, tx + inst.nOffX, ty + inst.nOffY);
            if (inst.nAngle != 0) {
                const double s = std::sqrt(inst.dVX * inst.dVX + inst.dVY * inst.dVY);
                const double phi = std::atan2(-inst.dVY, -inst.dVX) + inst.nAngle * kPi / 180.0;
                inst.dVX = -std::cos(phi) * s;
                inst.dVY = c.m_bFlying ? -std::sin(phi) * s : 0.0;
                inst.nDirCode = c.m_byFixedFacing ? 0 : DirOfVx(inst.dVX);
            }
        }
    }
    if (inst.bNoTarget) return;
    ApplyStepVelocity(c, inst, m, false);
}

void FlowCmdHomingMove(cChara& c, CMDINSTANCE& inst) {
    if (!inst.lpCmd || !inst.lpCmd->m_pMove) return;
    cEdMove& m = *inst.lpCmd->m_pMove;
    cChara* t = LivingTarget(c);
    if (!t) return;
    if (!inst.bStarted) AngleAndOffset(c, inst, m);
    double tx, ty;
    CharaCentre(*t, tx, ty);
    tx += inst.nOffX;
    ty += inst.nOffY;
    if (inst.nDelay <= 0) {
        AimAt(c, inst, m, tx, ty);
    } else if (!inst.bStarted) {
        AimAt(c, inst, m, tx, ty);
        inst.vecQueue = {tx, ty};
    } else if (inst.nStepNo % inst.nDelay == 0) {
        // Toward where the target was d steps ago.
        if (inst.vecQueue.size() >= 2) AimAt(c, inst, m, inst.vecQueue[0], inst.vecQueue[1]);
        inst.vecQueue = {tx, ty};
    }
    inst.bStarted = 1;
    ApplyStepVelocity(c, inst, m, false);
    ++inst.nStepNo;
}

void MoveInDirection(cChara& c, CMDINSTANCE& inst) {
    inst.dVX = inst.dVY = 0.0;
    inst.nDirCode = 0;
    if (!inst.lpCmd || !inst.lpCmd->m_pMove || !g_lpPlayScene) return;
    cEdMove& m = *inst.lpCmd->m_pMove;
    const int code = ResolveDirectionCode(c, inst.cMoveDir, StartDir());
    int hs = 0, vs = 0;
    switch (code) {
    case 2: hs = -1; break;
    case 3: hs = 1; break;
    case 6: vs = -1; break;
    case 7: vs = 1; break;
    case 8: hs = -1; vs = -1; break;
    case 9: hs = -1; vs = 1; break;
    case 10: hs = 1; vs = -1; break;
    case 11: hs = 1; vs = 1; break;
    default: break;
    }
    c.GetGraphicRect();
    const double s = inst.dSpeed;
    const cScroll& ax = g_lpPlayScene->m_ScrollX;
    const cScroll& ay = g_lpPlayScene->m_ScrollY;
    const double sx = ax.m_dSpeed, sy = ay.m_dSpeed;
    if (sx != 0.0 && !g_lpPlayScene->m_bFollowLockX) {
        const double vx = ax.m_dPos, far = (double)ax.m_nMax - 640.0;
        if (hs < 0 && c.m_nRectLeft > 608.0 - std::fabs(sx + 1.0) && vx > 0.0 && vx + sx <= far) inst.dVX = sx - s;
        if (hs > 0 && c.m_nRectRight < std::fabs(sx + 1.0) + 32.0 && vx + sx > 0.0 && vx < far) inst.dVX = sx + s;
    }
    if (sy != 0.0 && c.m_bFlying) {
        const double vy = ay.m_dPos, far = (double)ay.m_nMax - 480.0;
        if (vs < 0 && c.m_nRectTop > 448.0 - std::fabs(sy + 1.0) && vy > 0.0 && vy + sy <= far) inst.dVY = sy - s;
        if (vs > 0 && c.m_nRectBottom < std::fabs(sy + 1.0) + 32.0 && vy + sy > 0.0 && vy < far) inst.dVY = sy + s;
    }
    ApplyStepVelocity(c, inst, m, false);
    ++inst.nStepNo;
}

void FlowCmdAvoidMove(cChara& c, CMDINSTANCE& inst) { MoveInDirection(c, inst); }

void FlowCmdCancelMove(cChara& c, CMDINSTANCE&) {
    c.m_dMoveX = c.m_dMoveY = 0.0;
    c.m_dInertiaX = c.m_dInertiaY = 0.0;
    c.m_dCarryX = c.m_dCarryY = 0.0;
    c.m_anFrameWord[0] = c.m_anFrameWord[1] = 0;
    c.m_bMoveCancelled = 1;
}

void FlowCmdTurn(cChara& c, CMDINSTANCE& inst) {
    if (!c.m_byFixedFacing || !inst.lpCmd) return;
    if (!OneShotDue(c, inst)) return;
    const int32_t mode = inst.lpCmd->m_vecParams.empty() ? 0 : inst.lpCmd->m_vecParams[0];
    switch (mode) {
    case 0: c.m_nDir = 0; break;
    case 1: c.m_nDir = 1; break;
    case 2:
    case 3: {
        cChara* t = FindObjectById(c.m_nTargetId);
        if (!t) break;
        double tx, ty, cx, cy;
        CharaCentre(*t, tx, ty);
        CharaCentre(c, cx, cy);
        const int toward = tx < cx ? 0 : 1;
        c.m_nDir = mode == 2 ? toward : 1 - toward;
        break;
    }
    case 4:
    case 5: {
        if (c.m_nLastBlockSide != 0 && c.m_nLastBlockSide != 1) break;
        const int side = c.m_nLastBlockSide;  // 0 left, 1 right
        c.m_nDir = mode == 4 ? side : 1 - side;
        break;
    }
    default: break;
    }
}

void FlowCmdJump(cChara& c, CMDINSTANCE& inst) {
    if (!inst.lpCmd) return;
    cFlowCmd& cmd = *inst.lpCmd;
    c.m_anFrameWord[0] = c.m_anFrameWord[1] = 0;
    const auto param = [&](size_t i) { return i < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0; };
    HEROJUMP j = {};
    j.nRule = param(0);
    cFlowRun* run = g_lpPlayScene ? g_lpPlayScene->m_lpRunFlow : nullptr;
    cFlow* flow = run ? run->Flow(c) : nullptr;
    j.bHasKeys = flow && !flow->m_vecKeyConds.empty() ? 1 : 0;
    j.dSpeed = inst.dJumpSpeed;
    // Rule 2 (the hero): the height of parameter 2 while walking, of parameter 3 once the move
    // speed reaches parameter 4 (tenths of a dot per frame).
    j.nHeightWalk = param(2);
    j.nHeightRun = param(3);
    j.nRunSpeed = param(4);
    j.nHoldLimit = inst.nHoldLimit;
    j.bJumped = inst.bJumped;
    j.nSound = cmd.m_wSound;
    j.bEnd = 0;
    JumpOf(c, j, inst.nStepNo);
    inst.bJumped = j.bJumped;
    if (j.bEnd) inst.nRemaining = 0;
    ++inst.nStepNo;
}
