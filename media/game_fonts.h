// The game's three fonts and their digit sheets: start-up (the font step of InitGame), the
// frames-per-second overlay, and shut-down (the font steps of UnInitGame).
#pragma once

#include "media/asset_table.h"
#include "media/font.h"

extern cFont g_Fonts[kFontCount];
extern DDSURFACEDATA g_DigitSheets[kFontCount];

// Start-up: every font description takes the face of the project's font number and a cache
// word of 2 becomes System.ini's "D3D_FontCache" (Direct3D) or "DD_FontCache" (DirectDraw);
// the three fonts are made, the second one takes the project's font flag (icon letters) and
// font word (centred glyphs), and the digit sheets are drawn. false on a failure (reported).
bool InitGameFonts();
// Shut-down, before anything is released: "Font10 : %d" and "Font16 : %d", the glyphs cached
// by the first and second font (each only when that font has its device object).
void ReportFontCounts();
// Shut-down: the fonts' device objects, glyph sheets and work surfaces.
void ReleaseGameFonts();
// Shut-down: the three digit sheets.
void ReleaseDigitSheets();
// The frame's "FPS%2d(%2d)" overlay on the back buffer: with ShowFps 2 the first font plain at
// (549, 469), with any other non-zero value the second font in a box at (495, 463).
void DrawFpsOverlay(int showFps, int fps, int average);
