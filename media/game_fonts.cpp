// The game's fonts at start-up and shut-down, and the FPS overlay.
#include "media/game_fonts.h"

#include "core/format.h"
#include "core/report.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "records/font_names.h"
#include "records/system_data.h"
#include "records/system_ini.h"

cFont g_Fonts[kFontCount];
DDSURFACEDATA g_DigitSheets[kFontCount];

bool InitGameFonts() {
    const char* face = GetFontFaceName(g_SystemData.m_nFontNo);
    for (FONTSETTING& s : g_FontSettings) {
        CopyBounded(s.szFace, sizeof s.szFace, face);
        if (s.dwWord[9] == 2) s.dwWord[9] = (DWORD)(g_lpDDDevice ? g_SystemIni.nD3DFontCache : g_SystemIni.nDDFontCache);
    }
    if (!cFont::CreateFromTable(g_Fonts, g_FontSettings, kFontCount)) return false;
    g_Fonts[1].m_bIcon = g_SystemData.m_bFontFlag;
    g_Fonts[1].m_bCentre = g_SystemData.m_nFontWord;
    return cFont::CreateDigitSheets(g_DigitSheets, g_DigitSheetFiles, kFontCount, g_Fonts, g_FontSettings) != 0;
}

void ReportFontCounts() {
    if (!g_lpDDDevice && !g_lpDD) return;
    if (g_Fonts[0].HasDeviceObject()) WriteReport("Font10 : %d", g_Fonts[0].GlyphCount());
    if (g_Fonts[1].HasDeviceObject()) WriteReport("Font16 : %d", g_Fonts[1].GlyphCount());
}

void ReleaseGameFonts() {
    for (cFont& f : g_Fonts) f.ReleaseFontObjects();
}

void ReleaseDigitSheets() {
    for (DDSURFACEDATA& s : g_DigitSheets) DDReleaseSurface(&s);
}

void DrawFpsOverlay(int showFps, int fps, int average) {
    if (showFps == 0) return;
    if (showFps == 2)
        g_Fonts[0].DrawTextF(&g_BackBufferSD, 549, 469, "FPS%2d(%2d)", fps, average);
    else
        g_Fonts[1].DrawTextBox(&g_BackBufferSD, 495, 463, 0, 0, "FPS%2d(%2d)", fps, average);
}
