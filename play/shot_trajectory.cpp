#include "play/shot_trajectory.h"

#include <cmath>
#include <limits>

#include "app/scene_manager.h"
#include "play/aiming.h"
#include "play/chara.h"
#include "play/damage.h"
#include "play/play_scene.h"
#include "play/shot.h"
#include "play/stage_objects.h"
#include "records/stage.h"

namespace {

void Straight(cShot&) {}

double SubSteps() {
    const double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
    return n >= 1.0 ? n : 1.0;
}

int16_t Q(cShot& shot, int i) { return (int16_t)shot.m_Settings.TrajectoryParams()[i]; }

// The trajectory speed per sub-step, taken at the first sub-step.
void TakeSpeed(cShot& shot) {
    const int64_t tenths = (int64_t)(int16_t)shot.m_Settings.SpeedStep() * shot.m_nExtraCode + shot.m_Settings.Speed();
    shot.m_dTrajSpeed = (double)tenths * 0.1 / SubSteps();
}

// A distance in half blocks as sub-steps at the trajectory speed; 0 without speed.
int32_t DistanceStep(const cShot& shot, int hbl) {
    const double s = std::fabs(shot.m_dTrajSpeed);
    if (s == 0.0) return 0;
    return DotToInt((double)hbl * 16.0 / s);
}

double CentreX(const cGameObj& o) { return o.m_dX + o.m_nWidth / 2.0; }
double CentreY(const cGameObj& o) { return o.m_dY + o.m_nHeight / 2.0; }

cChara* FirstHero() { return g_vecHero.empty() ? nullptr : &g_vecHero[0]; }

cChara* LiveTarget(const cShot& shot) {
    if (shot.m_nTargetId < 0) return nullptr;
    cChara* c = FindObjectById(shot.m_nTargetId);
    return (c && !c->m_bDying) ? c : nullptr;
}

// The character of a group nearest to the shot's centre; none in an empty or unknown group.
cChara* Nearest(const cShot& shot, int side) {
    if (!g_lpPlayScene || side < 0 || side >= (int)g_lpPlayScene->m_vecCharaGroup.size()) return nullptr;
    cChara* best = nullptr;
    double bestD = std::numeric_limits<double>::infinity();
    const double x = CentreX(shot), y = CentreY(shot);
    for (cChara* c : g_lpPlayScene->m_vecCharaGroup[(size_t)side]) {
        const double dx = CentreX(*c) - x, dy = CentreY(*c) - y, d = dx * dx + dy * dy;
        if (d < bestD) {
            bestD = d;
            best = c;
        }
    }
    return best;
}

// The velocity toward a character's centre at the trajectory speed.
void AimAt(cShot& shot, const cChara& c, double& vx, double& vy) {
    int dir = 0;
    AimVelocity(vx, vy, dir, &shot, CentreX(shot), CentreY(shot), CentreX(c), CentreY(c), shot.m_dTrajSpeed,
                shot.m_bFollowScroll, 1, 0);
}

// Aiming once at the start step at the character `find` gives.
template <typename FIND>
void AimOnce(cShot& shot, FIND find) {
    if (shot.m_bTrajDone) return;
    if (shot.m_nStep == 0) {
        TakeSpeed(shot);
        shot.m_nTrajStart = Q(shot, 0) != 0 ? DistanceStep(shot, Q(shot, 0)) : 0;
    }
    if (shot.m_nStep == shot.m_nTrajStart) {
        if (cChara* c = find()) {
            AimAt(shot, *c, shot.m_dVelX, shot.m_dVelY);
            if (shot.m_bAccel) shot.SplitAccel(shot.m_dVelX, shot.m_dVelY);
        }
        shot.m_bTrajDone = 1;
    }
    if (shot.m_nStep < INT32_MAX) ++shot.m_nStep;
}

// Homing from the start step until the end step on the character `find` gives.
template <typename FIND>
void Home(cShot& shot, FIND find) {
    if (shot.m_bTrajDone) return;
    if (shot.m_nStep == 0) {
        TakeSpeed(shot);
        shot.m_nTrajStart = DistanceStep(shot, Q(shot, 0));
        shot.m_nTrajEnd = Q(shot, 1) != 0 ? DistanceStep(shot, Q(shot, 1)) : 0;
    }
    if (shot.m_nStep >= shot.m_nTrajEnd) {
        shot.m_bTrajDone = 1;
        return;
    }
    if (shot.m_nStep >= shot.m_nTrajStart) {
        if (cChara* c = find()) {
            double vx = 0.0, vy = 0.0;
            AimAt(shot, *c, vx, vy);
            if (!shot.m_bAccel || shot.m_nStep == shot.m_nTrajStart) {
                shot.m_dVelX = vx;
                shot.m_dVelY = vy;
            }
            if (shot.m_bAccel) shot.SplitAccel(vx, vy);
        }
    }
    if (shot.m_nStep < INT32_MAX) ++shot.m_nStep;
}

}  // namespace

namespace Trajectory {

void AimHero(cShot& shot) { AimOnce(shot, [] { return FirstHero(); }); }
void AimNearest(cShot& shot) { AimOnce(shot, [&shot] { return Nearest(shot, Q(shot, 1)); }); }
void AimTarget(cShot& shot) { AimOnce(shot, [&shot] { return LiveTarget(shot); }); }
void HomeHero(cShot& shot) { Home(shot, [] { return FirstHero(); }); }
void HomeNearest(cShot& shot) { Home(shot, [&shot] { return Nearest(shot, Q(shot, 2)); }); }
void HomeTarget(cShot& shot) { Home(shot, [&shot] { return LiveTarget(shot); }); }

void Wave(cShot& shot) {
    if (shot.m_bTrajDone) return;
    const double n = SubSteps();
    const double period = Q(shot, 1);
    if (shot.m_nStep == 0) {
        TakeSpeed(shot);
        shot.m_dWaveBase = Q(shot, 0) * 16.0;
        const double start = Q(shot, 2) + (shot.m_nDir > 0 ? 0.0 : 180.0);
        shot.m_dWavePhase = period != 0.0 ? start / period * n : 0.0;
        double a = std::atan2(shot.m_dVelY, shot.m_dVelX);
        if (a < 0.0) a += 2.0 * M_PI;
        a -= M_PI / 2.0;
        shot.m_dWaveCos = std::cos(a);
        shot.m_dWaveSin = std::sin(a);
        const double v = WaveSpeedCos(shot.m_dWaveBase, period, shot.m_dWavePhase, 1.0, 0.0);
        shot.m_dVelX += v * shot.m_dWaveCos;
        shot.m_dVelY += v * shot.m_dWaveSin;
    } else {
        const double v = WaveSpeedSin(shot.m_dWaveBase, period, shot.m_dWavePhase, 1.0, 0.0);
        const double ox = shot.m_dVelX, oy = shot.m_dVelY;
        shot.m_dVelX += v * shot.m_dWaveCos;
        shot.m_dVelY += v * shot.m_dWaveSin;
        // A component that turns over in this step stops at 0.
        if ((ox > 0.0 && shot.m_dVelX < 0.0) || (ox < 0.0 && shot.m_dVelX > 0.0)) shot.m_dVelX = 0.0;
        if ((oy > 0.0 && shot.m_dVelY < 0.0) || (oy < 0.0 && shot.m_dVelY > 0.0)) shot.m_dVelY = 0.0;
    }
    if (shot.m_bAccel) shot.SplitAccel(shot.m_dVelX, shot.m_dVelY);
    if (shot.m_nStep < INT32_MAX) ++shot.m_nStep;
}

void Kind9(cShot& shot) {
    if (shot.m_bTrajDone) return;
    if (shot.m_nStep == 0) {
        TakeSpeed(shot);
        shot.m_nTrajStart = DistanceStep(shot, Q(shot, 0));
    }
    if (shot.m_nStep == shot.m_nTrajStart) {
        // From here on the shot falls.
        shot.m_dSpeedY = shot.m_dVelY;
        shot.m_bFlying = 0;
        shot.m_bTrajDone = 1;
    }
    if (shot.m_nStep < INT32_MAX) ++shot.m_nStep;
}

}  // namespace Trajectory

const TRAJECTORYFUNC TrajectoryTable[kTrajectoryCount] = {
    Straight,           Trajectory::AimHero,     Trajectory::AimNearest, Trajectory::AimTarget,
    Trajectory::HomeHero, Trajectory::HomeNearest, Trajectory::HomeTarget, Trajectory::HomeNearest,
    Trajectory::Wave,   Trajectory::Kind9,
};

void RunTrajectory(cShot& shot) {
    const int kind = shot.m_Settings.Trajectory();
    if (kind >= 0 && kind < kTrajectoryCount) TrajectoryTable[kind](shot);
}
