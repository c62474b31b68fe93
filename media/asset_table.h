// The 71 bitmap slots of the game's fixed pictures (descriptor and record per slot), the slots
// that share a texture, the three default font descriptions and the fonts' digit-sheet
// descriptors. The tables are filled before the entry runs.
#pragma once

#include "media/draw_types.h"

constexpr int kSurfaceSlotCount = 71;
constexpr int kFontCount = 3;

extern DDSURFACEDATA g_SurfaceData[kSurfaceSlotCount];
extern SURFACEFILEDESC g_SurfaceFiles[kSurfaceSlotCount];
extern FONTSETTING g_FontSettings[kFontCount];
extern SURFACEFILEDESC g_DigitSheetFiles[kFontCount];

SURFACEFILEDESC* SetSurfaceFileDesc(SURFACEFILEDESC* desc, const char* path, DWORD w0, DWORD w1, DWORD w2, DWORD w3,
                                    DWORD w4, DWORD w5, DWORD w6, DWORD w7, DWORD w8, DWORD w9);
void InitSurfaceFileTable();
// Ties the slots that draw another slot's texture (Direct3D views, mirrored views).
void LinkSurfaceSlots();
void InitFontSettings();
void InitEmptySurfaceFiles();
