// The screen colour: a lasting tint or a repeated flash of one colour over the whole play
// picture. Direct3D blends the picture with the colour; DirectDraw in 8-bit colour fades the
// display palette towards it; other DirectDraw modes do without.
#pragma once

#include <cstdint>

class cPlayScene;

struct SCREENCOLOUR {
    uint8_t byRed, byGreen, byBlue;
    int32_t nStrength;   // percent of the colour at the end of the change
    int32_t bFlash;      // 0 a lasting tint; else a flash that returns to the previous colour
    int32_t nTime;       // frames of one change
    int32_t nRepeats;    // flashes: how many times the flash runs
    int32_t nSetting;    // the command's last value, kept
    int32_t bRunning;
    int32_t nCounter;
    int32_t nRepeat;
    // The colour left in place (a finished tint, or the colour a flash returns to).
    uint8_t byKeptRed, byKeptGreen, byKeptBlue;
    int32_t nKeptIntensity;  // 255: the picture unchanged
    int32_t bKept;
};

// Starts a change with the command's eight values: red, green, blue, strength (percent), flash
// flag, time in tenths of a second, repeat count of a flash, and a further setting.
void StartScreenColour(cPlayScene* scene, const int32_t values[8]);
// Once per frame after the picture is drawn: the running change, or the colour left in place.
void ScreenFlash(cPlayScene* scene);
// Switches the colour left in place off (the palette back in 8-bit colour).
void ScreenColourFilterOff(cPlayScene* scene);
// The intensity of a change at a frame: 255 - counter / time x (strength x 2.55), in 0..255.
int ScreenColourIntensity(int counter, int time, int strength);
