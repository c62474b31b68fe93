// Colour services for scene drawing: the pulsing highlight colours (and, in 8-bit DirectDraw,
// the palette cycle), and the 8-bit colour mix table with its palette rows.
#pragma once

#include "platform/win32/win32.h"

// One pulsing colour and the blend mode scene drawing uses it with.
struct PULSECOLOUR {
    DWORD dwColour;  // alpha 255
    int nMode;
};

// Entries 1-9 of the pulse table (index 0 unused).
extern PULSECOLOUR g_PulseColours[10];
// The 65,536-byte colour mix table of 8-bit colour: entry a * 256 + b mixes palette numbers a, b.
extern BYTE g_byColourTable[65536];

// Once per drawn frame of a scene.
void UpdatePulseColours();
// 8-bit DirectDraw only: the colour table and the palette rows of a palette number (0-23);
// 1 elsewhere or on success, 0 on failure (with its message).
int LoadPaletteTables(int paletteNo);
