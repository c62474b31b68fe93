// The screen colour change and its flash.
#include "play/screen_colour.h"

#include <algorithm>
#include <cstring>

#include "media/draw_device.h"
#include "media/pixel_effects.h"
#include "media/transitions.h"
#include "play/play_scene.h"
#include "play/screen_effect.h"

namespace {

// 1 when this back end and colour depth can show a screen colour.
bool CanShowColour() { return g_lpDDDevice || g_nDDBpp == 8; }

void ApplyColour(int red, int green, int blue, int intensity) {
    if (!g_bDDInitialized) return;
    if (g_lpDDDevice) {
        if (intensity < 255) DDChangeColorWrap(&g_BackBufferSD, 0, 0, 640, 480, intensity, red, green, blue);
        return;
    }
    if (g_nDDBpp == 8 && g_lpDDPalette) {
        FadePaletteToColor(g_WorkPalette, 0, 255, intensity, red, green, blue, g_EnginePalette);
        g_lpDDPalette->SetEntries(0, 0, 256, g_WorkPalette);
    }
}

}  // namespace

int ScreenColourIntensity(int counter, int time, int strength) {
    double t = std::max(1, time);
    double v = 255.0 - (double)counter / t * ((double)std::clamp(strength, 0, 100) * 2.55);
    return std::clamp((int)v, 0, 255);
}

void StartScreenColour(cPlayScene* scene, const int32_t values[8]) {
    if (!scene) return;
    SCREENCOLOUR& c = scene->m_ScreenColour;
    // No new change over a running flash where the palette or the filter carries it.
    if (c.bRunning && c.bFlash && CanShowColour()) return;
    // The running colour becomes the one a flash returns to.
    if (c.bRunning && !c.bFlash) {
        c.byKeptRed = c.byRed;
        c.byKeptGreen = c.byGreen;
        c.byKeptBlue = c.byBlue;
        c.nKeptIntensity = ScreenColourIntensity(c.nCounter, c.nTime, c.nStrength);
        c.bKept = 1;
    }
    c.byRed = (uint8_t)std::clamp(values[0], 0, 255);
    c.byGreen = (uint8_t)std::clamp(values[1], 0, 255);
    c.byBlue = (uint8_t)std::clamp(values[2], 0, 255);
    c.nStrength = std::clamp(values[3], 0, 100);
    c.bFlash = values[4] ? 1 : 0;
    c.nTime = (int32_t)std::clamp<int64_t>((int64_t)values[5] * 6, 0, INT32_MAX);
    c.nRepeats = std::max(1, values[6]);
    c.nSetting = values[7];
    c.nCounter = 0;
    c.nRepeat = 0;
    c.bRunning = 1;
    UseVirtualBackBuffer(scene);
    // A lasting tint replaces the colour in place; a flash keeps it to return to.
    if (!c.bFlash) c.bKept = 0;
}

void ScreenFlash(cPlayScene* scene) {
    if (!scene) return;
    SCREENCOLOUR& c = scene->m_ScreenColour;
    if (!c.bRunning) {
        if (c.bKept) ApplyColour(c.byKeptRed, c.byKeptGreen, c.byKeptBlue, c.nKeptIntensity);
        return;
    }
    if (!CanShowColour()) {  // DirectDraw at 16 or 32 bits: the change ends at once
        c.bRunning = 0;
        return;
    }
    int intensity = ScreenColourIntensity(c.nCounter, c.nTime, c.nStrength);
    ApplyColour(c.byRed, c.byGreen, c.byBlue, intensity);
    if (++c.nCounter < c.nTime) return;
    if (c.bFlash) {
        c.nCounter = 0;
        if (++c.nRepeat < c.nRepeats) return;
        c.bRunning = 0;
        if (c.bKept)
            ApplyColour(c.byKeptRed, c.byKeptGreen, c.byKeptBlue, c.nKeptIntensity);
        else
            ScreenColourFilterOff(scene);
        return;
    }
    // A tint ends leaving its last colour in place.
    c.bRunning = 0;
    c.byKeptRed = c.byRed;
    c.byKeptGreen = c.byGreen;
    c.byKeptBlue = c.byBlue;
    c.nKeptIntensity = ScreenColourIntensity(c.nTime, c.nTime, c.nStrength);
    c.bKept = 1;
}

void ScreenColourFilterOff(cPlayScene* scene) {
    if (scene) scene->m_ScreenColour.bKept = 0;
    if (g_bDDInitialized && !g_lpDDDevice && g_nDDBpp == 8 && g_lpDDPalette) {
        std::memcpy(g_WorkPalette, g_EnginePalette, sizeof g_WorkPalette);
        g_lpDDPalette->SetEntries(0, 0, 256, g_WorkPalette);
    }
}
