#include "app/pulse_colours.h"

#include <algorithm>

#include "app/frame_timer.h"
#include "media/draw_device.h"
#include "media/transitions.h"
#include "records/system_data.h"

PULSECOLOUR g_PulseColours[PULSE_COUNT] = {};

namespace {

int g_anValue[PULSE_COUNT] = {};
int g_anDirection[PULSE_COUNT] = {};
int g_nCycleChannel = 0;  // colour 9: 0 red, 1 green, 2 blue, 3 yellow
int g_nPaletteTick = 0;

DWORD Argb(int r, int g, int b) { return 0xFF000000u | (DWORD)r << 16 | (DWORD)g << 8 | (DWORD)b; }

void BuildColours() {
    const int* v = g_anValue;
    g_PulseColours[0] = {Argb(v[0], v[0], v[0]), 7};
    g_PulseColours[1] = {Argb(v[1], v[1], v[1]), 10};
    g_PulseColours[2] = {Argb(v[2], 0, 0), 7};
    g_PulseColours[3] = {Argb(0, v[3], 0), 7};
    g_PulseColours[4] = {Argb(0, 0, v[4]), 7};
    g_PulseColours[5] = {Argb(v[5], v[5], 0), 7};
    g_PulseColours[6] = {Argb(v[6], 0, v[6] >> 2), 7};
    g_PulseColours[7] = {Argb(v[7] >> 2, 0, v[7]), 7};
    int c = v[8];
    DWORD cycle = g_nCycleChannel == 0   ? Argb(c, 0, 0)
                  : g_nCycleChannel == 1 ? Argb(0, c, 0)
                  : g_nCycleChannel == 2 ? Argb(0, 0, c)
                                         : Argb(c, c, 0);
    g_PulseColours[8] = {cycle, 7};
}

void CyclePalette() {
    if (++g_nPaletteTick < 6) return;
    g_nPaletteTick = 0;
    for (int group = 0; group < 8; ++group) {
        int first = 208 + group * 4;
        RotatePaletteRange(g_WorkPalette, first, first + 3, 1, 1, g_WorkPalette);
    }
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 208, 32, &g_WorkPalette[208]);
}

}  // namespace

void UpdatePulseColours() {
    if (g_lpDDDevice) {
        BuildColours();
        // A step from the settings is held to the range the values swing in.
        int step = (int)std::min<uint32_t>(g_SystemData.m_nPulseStep, 255);
        for (int i = 0; i < PULSE_COUNT; ++i) {
            int turned = PingPongStep(&g_anValue[i], &g_anDirection[i], step, 0, 255);
            if (i == 8 && turned) g_nCycleChannel = (g_nCycleChannel + 1) % 4;
        }
        return;
    }
    if (g_nDDBpp == 8 && g_SystemData.m_bPaletteCycle) CyclePalette();
}

void ResetPulseColours() {
    for (int i = 0; i < PULSE_COUNT; ++i) g_anValue[i] = g_anDirection[i] = 0;
    g_nCycleChannel = 0;
    g_nPaletteTick = 0;
    BuildColours();
}
