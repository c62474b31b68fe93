#include "play/aiming.h"

#include <cmath>

#include "app/scene_manager.h"
#include "play/chara.h"
#include "play/game_obj.h"
#include "play/play_scene.h"
#include "records/stage.h"

const double kSqrt2 = std::sqrt(2.0);
const double kInvSqrt2 = 1.0 / std::sqrt(2.0);

namespace {

// The forced-scroll speed of an axis, 0 while the axis is held at a bound (or without play).
double ScrollSpeed(int axis) {
    if (!g_lpPlayScene) return 0.0;
    const cScroll& s = axis == 0 ? g_lpPlayScene->m_ScrollX : g_lpPlayScene->m_ScrollY;
    return (s.m_dSpeed != 0.0 && !s.m_bChanged) ? s.m_dSpeed : 0.0;
}

bool ScrollsAlong(const cGameObj* obj) {
    const cChara* chara = dynamic_cast<const cChara*>(obj);
    return chara && chara->m_bScrollSync;
}

int DirectionOf(double vx) { return vx < 0.0 ? 1 : vx > 0.0 ? 2 : 0; }

double SubSteps() {
    const double n = g_StageSettings.m_adSubStep[cStage::STEP_N];
    return n >= 1.0 ? n : 1.0;
}

}  // namespace

int AimHorizontal(double& vx, double& vy, int& dir, const cGameObj*, double from, double to, double speed, int,
                  int testArrival) {
    if (from >= to) {
        vx = -speed;
        dir = 1;
    } else {
        vx = speed;
        dir = 2;
    }
    vy = 0.0;
    return (testArrival && std::fabs(speed) > std::fabs(from - to)) ? 1 : 0;
}

int AimVertical(double& vx, double& vy, int& dir, const cGameObj*, double from, double to, double speed, int,
                int testArrival) {
    vy = from >= to ? -speed : speed;
    vx = 0.0;
    dir = 0;
    return (testArrival && std::fabs(speed) > std::fabs(from - to)) ? 1 : 0;
}

int AimVelocity(double& vx, double& vy, int& dir, const cGameObj* obj, double x0, double y0, double x1, double y1,
                double speed, int noScroll, int noEscape, int testArrival) {
    const double dx = x1 - x0, dy = y1 - y0;
    vx = vy = 0.0;
    const bool sync = ScrollsAlong(obj);
    const double sx = ScrollSpeed(0), sy = ScrollSpeed(1);
    if (!noEscape && speed < 0.0) {
        // Away from the point, diagonally.
        const double e = -speed * kInvSqrt2;
        vx = x0 < x1 ? -e : e;
        vy = y0 < y1 ? -e : e;
        dir = DirectionOf(vx);
        if (obj && (noScroll ? !sync : sync)) {
            vx -= sx;
            vy -= sy;
        }
        return 0;
    }
    double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0.0) d = 1.0;
    vx = dx / d * speed;
    vy = dy / d * speed;
    if (obj && !sync) {
        vx -= sx;
        vy -= sy;
    } else if (obj && sync && !noScroll && (sx != 0.0 || sy != 0.0)) {
        // Lead: the speed that meets the point while the view moves on.
        const double v2 = vx * vx + vy * vy;
        if (std::fabs(dy) >= std::fabs(dx)) {
            if (dy == 0.0) return 0;
            const double k = dx / dy, a = k * k + 1.0, b = 2.0 * (k * k * sy - k * sx);
            const double c = (k * sy - sx) * (k * sy - sx) - v2, disc = b * b - 4.0 * a * c;
            if (disc >= 0.0) {
                const double u = (b + std::sqrt(disc)) / (2.0 * a);
                vy = dy < 0.0 ? -u : u;
                if (sy - vy == 0.0) return 0;
                const double t = -dy / (sy - vy);
                if (t == 0.0) return 0;
                vx = (t * sx + dx) / t;
            }
        } else {
            const double k = dy / dx, a = k * k + 1.0, b = 2.0 * (k * k * sx - k * sy);
            const double c = (k * sx - sy) * (k * sx - sy) - v2, disc = b * b - 4.0 * a * c;
            if (disc >= 0.0) {
                const double u = (b + std::sqrt(disc)) / (2.0 * a);
                vx = dx < 0.0 ? -u : u;
                if (sx - vx == 0.0) return 0;
                const double t = -dx / (sx - vx);
                if (t == 0.0) return 0;
                vy = (t * sy + dy) / t;
            }
        }
    }
    dir = DirectionOf(vx);
    if (!testArrival) return 0;
    return (std::fabs(dx) < std::fabs(speed) && std::fabs(dy) < std::fabs(speed)) ? 1 : 0;
}

double PerSecondToStep(double amount) { return amount / SubSteps() * 0.016666666666666666; }

namespace {
void AdvancePhase(double& phase, double step, double n) {
    phase += step;
    if (phase >= n * 360.0) phase -= n * 360.0;
}
}  // namespace

double WaveSpeedCos(double amplitude, double period, double& phase, double step, double offset) {
    const double n = SubSteps(), r = period * M_PI / 180.0;
    const double v = std::cos((phase / n + offset) * r) * amplitude * r / n;
    AdvancePhase(phase, step, n);
    return v;
}

double WaveSpeedSin(double amplitude, double period, double& phase, double step, double offset) {
    const double n = SubSteps(), r = period * M_PI / 180.0;
    const double v = -r * (std::sin((phase / n + offset) * r) * (r / n) * amplitude) / n;
    AdvancePhase(phase, step, n);
    return v;
}

int cGameObj::AimAtTarget(AIMSTATE& aim, const cGameObj* obj, double toX, double toY) {
    const double x = (double)m_nRectLeft + (m_nGraphWidth >> 1), y = (double)m_nRectTop + (m_nGraphHeight >> 1);
    const int arrived = AimVelocity(aim.dSpeedX, aim.dSpeedY, aim.nDir, obj, x, y, toX, toY, aim.dSpeed, aim.bNoScroll,
                                    aim.bNoEscape, 1);
    if (arrived && aim.bSnap) MoveToResult(DotToInt(toX), DotToInt(toY), this);
    return arrived;
}

int cGameObj::AimFromPoint(AIMSTATE& aim, const cGameObj* obj, double toX) {
    const double x = (double)m_nRectLeft + (m_nGraphWidth >> 1);
    const int arrived = AimHorizontal(aim.dSpeedX, aim.dSpeedY, aim.nDir, obj, x, toX, aim.dSpeed, aim.bNoScroll, 1);
    if (arrived && aim.bSnap) MoveToXResult(DotToInt(toX), this);
    return arrived;
}

int cGameObj::AimFromAngle(AIMSTATE& aim, const cGameObj* obj, double toY) {
    const double y = (double)m_nRectTop + (m_nGraphHeight >> 1);
    const int arrived = AimVertical(aim.dSpeedX, aim.dSpeedY, aim.nDir, obj, y, toY, aim.dSpeed, aim.bNoScroll, 1);
    if (arrived && aim.bSnap) MoveToYResult(DotToInt(toY), this);
    return arrived;
}
