// Small drawing services over the blits: palette colour numbers, pixels, circles, text from a
// 16 x 16-cell character sheet, numbers from a digit sheet, surface locking, and message boxes
// over a full-screen device.
#pragma once

#include "media/draw_types.h"

DWORD PalNumToRGB(int palNum);
void DDPSet(DDSURFACEDATA* dst, int x, int y, int palNum);
void DDDrawCircle(DDSURFACEDATA* dst, int cx, int cy, int r, int palNum);
void DDDrawCharText(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* text);
// Formats into a 288-byte buffer (cut on a character boundary), then draws.
void DDDrawCharTextF(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* format,
                     ...) __attribute__((format(printf, 7, 8)));
void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int digitW, int digitH, DDSURFACEDATA* sheet, int sx, int sy,
                  int flags, int value, int minDigits, int centre);
bool DDLock(DDSURFACEDATA* rec, DDSURFACEDESC2* desc, void** pixels, int bpp);
int DDMesBox(const char* text, const char* caption, UINT type);
int DDMesBoxPrepare(int enter);
// Installs DDMesBox as the report's full-screen box (DDInit does; DDEnd removes it).
void DDInstallMessageBox();
