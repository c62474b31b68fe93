// The pulsing highlight colours of the scenes: nine values that swing between 0 and 255 by the
// project's pulse step (Direct3D), each giving a colour and a blend mode the scene drawing uses,
// and the palette cycling of entries 208-239 with DirectDraw in 8-bit colour.
#pragma once

#include "platform/win32/win32.h"

// One pulsing colour: an ARGB colour (alpha 255) and the blend mode it is drawn with.
struct PULSECOLOUR {
    DWORD dwColor;
    int nBlend;
};

#define PULSE_COUNT 9
// Pulse colours 1-9 are entries 0-8: 1 grey (blend 7), 2 grey (blend 10), 3 red, 4 green,
// 5 blue, 6 yellow, 7 red with a quarter blue, 8 blue with a quarter red, 9 a colour whose
// channel changes (red, green, blue, yellow) each time its value turns at the bottom.
extern PULSECOLOUR g_PulseColours[PULSE_COUNT];

// Once per drawn frame of a scene: with Direct3D each value takes one step (the colours are
// built from the values before the step); with DirectDraw in 8-bit colour and palette cycling
// on, every 6th call turns each group of four of entries 208-239 by one place towards the
// lower index and writes those entries to the display palette.
void UpdatePulseColours();
// Back to the start: values 0 going up, the cycling colour red, the cycle counter 0 (tests).
void ResetPulseColours();
