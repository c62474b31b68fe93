// Time: a monotonic millisecond clock that survives its 32-bit wrap-around.
// With VELMORA_CLOCK=virtual the clock is virtual: it advances only in the frame pacing wait
// (PaceSleep), by exactly the time that wait would have slept; every other sleep yields without
// advancing it, so headless runs are fast and repeatable frame for frame.
#pragma once

#include "platform/win32/types.h"

#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

DWORD timeGetTime();
UINT timeBeginPeriod(UINT uPeriod);
UINT timeEndPeriod(UINT uPeriod);
void GetLocalTime(LPSYSTEMTIME lpSystemTime);
BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);

// ---- our own additions ----
// The frame driver's pacing sleep: Sleep(ms) on the real clock, an exact advance on the virtual one.
void PaceSleep(DWORD ms);
bool IsVirtualClock();
// Real monotonic milliseconds, whatever the clock in force (for bounded waits of the layer).
DWORD RealTimeMs();
// Test hook: replaces the clock by a function (null restores the configured clock).
typedef DWORD (*CLOCKFUNC)();
void SetClockOverride(CLOCKFUNC fn);
