// The ten shot trajectories, run once per sub-step by cShot::Update: straight, aiming at the
// hero, the nearest character or the target, homing on them, the wave and the fall.
#pragma once

class cShot;

namespace Trajectory {
void AimHero(cShot& shot);
void AimNearest(cShot& shot);
void AimTarget(cShot& shot);
void HomeHero(cShot& shot);
void HomeNearest(cShot& shot);
void HomeTarget(cShot& shot);
void Wave(cShot& shot);
void Kind9(cShot& shot);
}  // namespace Trajectory

constexpr int kTrajectoryCount = 10;
typedef void (*TRAJECTORYFUNC)(cShot& shot);
// Entry 0 does nothing; 5 and 7 are the same homing on the nearest character.
extern const TRAJECTORYFUNC TrajectoryTable[kTrajectoryCount];
// The shot's trajectory (S27); a kind outside the table moves straight.
void RunTrajectory(cShot& shot);
