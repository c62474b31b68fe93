// Aiming and wave movement of game objects: the speeds that carry an object along one axis or
// toward a point (with the correction for forced scrolling), a per-second amount per sub-step,
// and the cosine and sine wave speeds of the wave movements.
#pragma once

class cGameObj;

// √2 and 1/√2, used by diagonal movement.
extern const double kSqrt2;
extern const double kInvSqrt2;

// Toward `to` along x at `speed`: from >= to gives vx = -speed and direction 1, else vx = speed
// and direction 2; vy = 0. With `testArrival`, 1 when |speed| > |from - to| (reached in this
// step), else 0. The object and the no-scroll flag are accepted and have no effect.
int AimHorizontal(double& vx, double& vy, int& dir, const cGameObj* obj, double from, double to, double speed,
                  int noScroll, int testArrival);
// The same along y: vy = -speed or speed, vx = 0, direction 0.
int AimVertical(double& vx, double& vy, int& dir, const cGameObj* obj, double from, double to, double speed,
                int noScroll, int testArrival);
// From (x0, y0) toward (x1, y1) at `speed` (a negative speed without `noEscape`: diagonally away
// at |speed|), corrected for forced scrolling for an object, with the lead solution for an
// object that scrolls along; direction 1 left, 2 right, 0 none. With `testArrival`, 1 when the
// point is reached within this step.
int AimVelocity(double& vx, double& vy, int& dir, const cGameObj* obj, double x0, double y0, double x1, double y1,
                double speed, int noScroll, int noEscape, int testArrival);
// An amount per second as an amount per sub-step at 60 frames per second.
double PerSecondToStep(double amount);
// Wave speeds: amplitude, period setting in degrees per step, the caller's phase (advanced by
// `step` and wrapped at n x 360), phase offset.
double WaveSpeedCos(double amplitude, double period, double& phase, double step, double offset);
double WaveSpeedSin(double amplitude, double period, double& phase, double step, double offset);
