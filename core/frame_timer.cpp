#include "core/frame_timer.h"

namespace {

DWORD g_workStart = 0;
DWORD g_elapsed = 0;

bool g_fpsStarted = false;
DWORD g_fpsSecond = 0;
int g_fpsCount = 0;
int g_fpsReported = 0;

bool g_gateStarted = false;
DWORD g_gateDue = 0;

bool g_waitStarted = false;
DWORD g_waitBase = 0;
int g_waitIndex = 0;

unsigned g_skipCount = 0;

}  // namespace

void ResetFrameTimers() {
    g_workStart = g_elapsed = 0;
    g_fpsStarted = false;
    g_fpsCount = g_fpsReported = 0;
    g_gateStarted = false;
    g_waitStarted = false;
    g_waitIndex = 0;
    g_skipCount = 0;
}

void TimerStart() { g_workStart = timeGetTime(); }

DWORD TimerElapsed(int update) {
    if (update) g_elapsed = timeGetTime() - g_workStart;
    return g_elapsed;
}

int GetFPS(int update) {
    DWORD now = timeGetTime();
    if (!g_fpsStarted) {
        g_fpsStarted = true;
        g_fpsSecond = now;
    }
    if (!update) return g_fpsReported;
    if (now - g_fpsSecond >= 1000u) {
        g_fpsSecond = now;
        g_fpsReported = g_fpsCount;
        g_fpsCount = 0;
        return g_fpsReported;
    }
    ++g_fpsCount;
    return g_fpsReported;
}

BOOL FrameGate(int rate) {
    DWORD now = timeGetTime();
    if (!g_gateStarted) {
        g_gateStarted = true;
        g_gateDue = now;
    }
    if (rate <= 0) return TRUE;
    if ((int32_t)(now - g_gateDue) < 0) return FALSE;
    g_gateDue = now + 1000u / (DWORD)rate;
    return TRUE;
}

BOOL TimerFrameWait(int rate, int reserved1, int reserved2) {
    (void)reserved1;
    (void)reserved2;
    if (rate <= 0) return TRUE;
    DWORD now = timeGetTime();
    if (!g_waitStarted) {
        g_waitStarted = true;
        g_waitBase = now;
        g_waitIndex = 0;
    }
    // An index left beyond a lowered rate starts a new second instead of stalling.
    if (g_waitIndex >= rate) {
        g_waitIndex = 0;
        g_waitBase = now;
    }
    double due = (1000.0 / rate) * g_waitIndex;
    if (due > (double)(DWORD)(now - g_waitBase)) return FALSE;
    if (++g_waitIndex >= rate) {
        g_waitIndex = 0;
        g_waitBase = now;
    }
    return TRUE;
}

int FrameSkipCount(int mode, int n) {
    if (mode == 0) {
        g_skipCount = 0;
        return 0;
    }
    if (mode == 2) return g_skipCount == 0 ? 1 : 0;
    ++g_skipCount;
    if (g_skipCount >= (unsigned)n) {
        g_skipCount = 0;
        return 1;
    }
    return 0;
}

int PingPongStep(int* value, int* direction, int step, int low, int high) {
    if (*direction == 0) {
        *value += step;
        if (*value >= high) {
            *value -= step;
            *direction = 1;
        }
        return 0;
    }
    *value -= step;
    if (*value <= low) {
        *value += step;
        *direction = 0;
        return 1;
    }
    return 0;
}

int ClampFrameRate(int rate) {
    if (rate <= 0) return 0;
    return rate > 1000 ? 1000 : rate;
}
