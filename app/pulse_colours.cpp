#include "app/pulse_colours.h"

#include <cstring>

#include "core/format.h"
#include "core/frame_timer.h"
#include "core/helpers.h"
#include "core/report.h"
#include "media/asset_table.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "records/system_data.h"

PULSECOLOUR g_PulseColours[10];
BYTE g_byColourTable[65536];

namespace {

int g_pulseValue[10];
int g_pulseDirection[10];
int g_cycleChannel = 0;
int g_paletteCycleCount = 0;

DWORD Argb(int r, int g, int b) { return 0xFF000000u | (DWORD)(r & 0xFF) << 16 | (DWORD)(g & 0xFF) << 8 | (DWORD)(b & 0xFF); }

bool DirectDraw8() { return !g_lpDDDevice && g_bDDInitialized && g_nDDBpp == 8; }

}  // namespace

void UpdatePulseColours() {
    if (g_lpDDDevice) {
        int step = (int)g_SystemData.m_nPulseStep;
        for (int i = 1; i <= 9; ++i) {
            int v = g_pulseValue[i];
            DWORD c;
            int mode = 7;
            switch (i) {
            case 1: c = Argb(v, v, v); break;
            case 2: c = Argb(v, v, v); mode = 10; break;
            case 3: c = Argb(v, 0, 0); break;
            case 4: c = Argb(0, v, 0); break;
            case 5: c = Argb(0, 0, v); break;
            case 6: c = Argb(v, v, 0); break;
            case 7: c = Argb(v, 0, v >> 2); break;
            case 8: c = Argb(v >> 2, 0, v); break;
            default:
                c = g_cycleChannel == 0 ? Argb(v, 0, 0) : g_cycleChannel == 1 ? Argb(0, v, 0)
                    : g_cycleChannel == 2 ? Argb(0, 0, v) : Argb(v, v, 0);
                break;
            }
            g_PulseColours[i] = PULSECOLOUR{c, mode};
            int turned = PingPongStep(&g_pulseValue[i], &g_pulseDirection[i], step, 0, 255);
            if (i == 9 && turned) g_cycleChannel = (g_cycleChannel + 1) % 4;
        }
        return;
    }
    if (DirectDraw8() && g_SystemData.m_bPaletteCycle) {
        if (++g_paletteCycleCount < 6) return;
        g_paletteCycleCount = 0;
        for (int g = 0; g < 8; ++g)
            RotatePaletteRange(g_WorkPalette, 208 + 4 * g, 211 + 4 * g, 1, 1, g_WorkPalette);
        if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 208, 32, &g_WorkPalette[208]);
    }
}

int LoadPaletteTables(int paletteNo) {
    if (!DirectDraw8()) return 1;
    if (paletteNo < 0 || paletteNo > 23) return 0;  // only the 24 tables exist
    char path[MAX_PATH];
    FormatBounded(path, sizeof path, "bmp\\hbt\\hbt%02d.dat", paletteNo);
    if (!LoadTable64K(g_byColourTable, path)) {
        MesBoxF("%s の読み込みに失敗！", path);
        return 0;
    }
    if (!DDLoadPaletteFromFile(g_EnginePalette, g_SurfaceFiles[0].szPath)) return 0;
    // Entries 16-207: twelve rows of 16 colours.
    if (paletteNo < 12) {
        RotatePaletteRange(g_EnginePalette, 16, 207, 16 * paletteNo, 1, g_EnginePalette);
    } else {
        PALETTEENTRY row[16];
        std::memcpy(row, &g_EnginePalette[16 * (paletteNo - 11)], sizeof row);
        for (int r = 1; r <= 12; ++r) std::memcpy(&g_EnginePalette[16 * r], row, sizeof row);
    }
    std::memcpy(g_WorkPalette, g_EnginePalette, sizeof g_WorkPalette);
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 255, g_EnginePalette);
    return 1;
}
