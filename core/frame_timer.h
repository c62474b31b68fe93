// Frame timers: the frame's work time, frames per second, the two frame pacers (DirectDraw due
// time, Direct3D frame index within a second), the every-n-th-frame counter, and the ping-pong
// step of the pulsing colours. Times are timeGetTime milliseconds; every comparison survives
// the clock's 32-bit wrap-around.
#pragma once

#include "platform/win32/win32.h"

void TimerStart();
// With a non-zero flag: now - start, remembered and returned; with 0 the remembered value.
DWORD TimerElapsed(int update);
// Frames per second: the count of calls within each second, reported once the second is over.
int GetFPS(int update);
// DirectDraw pacing: true when the frame is due; the next one is due 1000 / rate ms later.
BOOL FrameGate(int rate);
// Direct3D pacing: frame k of each second is due k * 1000.0 / rate ms after the second's base.
BOOL TimerFrameWait(int rate, int reserved1, int reserved2);
// Mode 0 resets, mode 2 answers whether the count is 0, any other mode counts to n.
int FrameSkipCount(int mode, int n);
// Moves *value by step between low and high, turning at the ends; 1 when it turned at low.
int PingPongStep(int* value, int* direction, int step, int low, int high);
// Forgets all timer state (start of a run; tests).
void ResetFrameTimers();
// A frame rate from data, clamped to what the pacers can keep (1..1000; 0 stays 0 = unpaced).
int ClampFrameRate(int rate);
