// The game thread's loop and one frame of the whole game, and the frame steps that the pause
// and ranking loops share with it.
#pragma once

#include "platform/win32/win32.h"

unsigned GameLoop(void* param);
// One frame: pace, restore, poll, switch scenes, run the scene, FPS overlay, present.
// 1 after a frame, 0 when lost surfaces cannot be restored.
int GameFrame();

void WaitFrame();
int RestoreSurfaces();
void PollPlayerInput();
void PresentFrame();
// 1 when the play scene exists and the loaded stage runs above 60 frames per second: the
// DirectDraw present then neither waits for the vertical blank nor flips.
int PlayFasterThan60();

// Frame-driver state: the measured rate, the work time and the overlay's average.
extern int g_nMeasuredFps;
extern DWORD g_dwWorkTime;
extern DWORD g_dwWorkAverage;
// Records the work time in the 16-entry ring; the average changes every 16th frame.
void RecordWorkTime(DWORD ms);
void ResetWorkRing();
