#include "media/asset_table.h"

#include <cstdio>
#include <cstring>

#include "media/surface.h"

DDSURFACEDATA g_SurfaceData[kSurfaceSlotCount] = {};
SURFACEFILEDESC g_SurfaceFiles[kSurfaceSlotCount] = {};
FONTSETTING g_FontSettings[kFontCount] = {};
SURFACEFILEDESC g_DigitSheetFiles[kFontCount] = {};

SURFACEFILEDESC* SetSurfaceFileDesc(SURFACEFILEDESC* d, const char* path, DWORD w0, DWORD w1, DWORD w2, DWORD w3,
                                    DWORD w4, DWORD w5, DWORD w6, DWORD w7, DWORD w8, DWORD w9) {
    DDCopyName(d->szPath, path);
    const DWORD w[10] = {w0, w1, w2, w3, w4, w5, w6, w7, w8, w9};
    std::memcpy(d->dwWord, w, sizeof w);
    return d;
}

void InitSurfaceFileTable() {
    SURFACEFILEDESC* t = g_SurfaceFiles;
    SetSurfaceFileDesc(&t[0], "bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[1], "bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[2], "bmp\\Block.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[3], "bmp\\Block.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[4], "bmp\\Character1.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[5], "bmp\\Character1.bmp", 1, 0, 0, 1, 0, 0, 32, 0, 0, 0);
    char path[MAX_PATH];
    for (int k = 2; k <= 8; ++k) {
        std::snprintf(path, sizeof path, "bmp\\Character%d.bmp", k);
        int a = 6 + (k - 2) * 2, b = 24 + (k - 2) * 2;
        SetSurfaceFileDesc(&t[a], path, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);
        SetSurfaceFileDesc(&t[a + 1], path, 1, 0, 0, 1, 0, 1, 32, 0, 0, 0);
        SetSurfaceFileDesc(&t[b], path, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0);
        SetSurfaceFileDesc(&t[b + 1], path, 1, 1, 0, 1, 0, 1, 32, 0, 0, 0);
    }
    SetSurfaceFileDesc(&t[20], "bmp\\Shot.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[21], "bmp\\Shot.bmp", 1, 0, 0, 1, 0, 0, 16, 0, 0, 0);
    SetSurfaceFileDesc(&t[22], "bmp\\Character1.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[23], "bmp\\Character1.bmp", 1, 1, 0, 1, 0, 0, 32, 0, 0, 0);
    SetSurfaceFileDesc(&t[38], "bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[39], "bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 16, 0, 0, 0);
    SetSurfaceFileDesc(&t[40], "bmp\\Item.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[41], "bmp\\Item.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[42], "bmp\\Item_Mini.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[43], "bmp\\Mark.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[44], "bmp\\Mark.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[45], "bmp\\Window.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[46], "bmp\\StatusWindow.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[47], "bmp\\Title.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[48], "bmp\\GameMode.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[49], "bmp\\Accessory.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[50], "bmp\\Symbol.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[51], "bmp\\Word.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[52], "bmp\\WorldMapChip.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[53], "bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[54], "bmp\\WorldBack.bmp", 0, 1, 0, 0, 0, 1, 0, 0, 0, 0);
    const char* backs[8] = {"背景その1.bmp", "背景その2.bmp", "背景その3.bmp", "背景その4.bmp",
                            "背景その5.bmp", "背景その6.bmp", "背景その7.bmp", "背景その8.bmp"};
    for (int k = 0; k < 8; ++k) SetSurfaceFileDesc(&t[55 + k], backs[k], 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);
    SetSurfaceFileDesc(&t[63], "E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960);
    SetSurfaceFileDesc(&t[64], "E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960);
    SetSurfaceFileDesc(&t[65], "E", 1, 1, 0, 0, 0, 0, 0, 0, 640, 480);
    SetSurfaceFileDesc(&t[66], "E", 0, 1, 0, 0, 0, 0, 0, 0, 640, 480);
    SetSurfaceFileDesc(&t[67], "E", 1, 0, 0, 0, 0, 0, 0, 0, 640, 480);
    SetSurfaceFileDesc(&t[68], "E", 1, 1, 0, 1, 0, 0, 0, 0, 640, 480);
    SetSurfaceFileDesc(&t[69], "E", 1, 0, 2, 0, 0, 0, 0, 0, 1024, 1024);
    SetSurfaceFileDesc(&t[70], "E", 1, 1, 1, 0, 0, 0, 0, 0, 1024, 1024);
}

void LinkSurfaceSlots() {
    DDSURFACEDATA* s = g_SurfaceData;
    auto link = [&](int slot, int owner) { s[slot].lpLink = &s[owner]; };
    link(3, 2);
    for (int slot : {5, 22, 23}) link(slot, 4);
    for (int k = 0; k < 7; ++k) {
        int owner = 6 + 2 * k;
        link(owner + 1, owner);
        link(24 + 2 * k, owner);
        link(25 + 2 * k, owner);
    }
    for (int slot : {21, 38, 39}) link(slot, 20);
    link(41, 40);
    link(44, 43);
    link(68, 67);
}

void InitFontSettings() {
    const DWORD words[kFontCount][10] = {
        {0, 9, 10, 10, 241, 45, 1, 240, 50, 2},
        {0, 16, 16, 16, 241, 45, 1, 240, 50, 2},
        {0, 30, 32, 32, 241, 45, 1, 240, 50, 0},
    };
    for (int i = 0; i < kFontCount; ++i) {
        std::snprintf(g_FontSettings[i].szFace, sizeof g_FontSettings[i].szFace, "%s", "ＭＳ ゴシック");
        std::memcpy(g_FontSettings[i].dwWord, words[i], sizeof words[i]);
    }
}

void InitEmptySurfaceFiles() {
    for (SURFACEFILEDESC& d : g_DigitSheetFiles) SetSurfaceFileDesc(&d, "", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

namespace {
// The tables are ready before the entry runs.
struct TableInit {
    TableInit() {
        InitSurfaceFileTable();
        InitFontSettings();
        InitEmptySurfaceFiles();
    }
} g_TableInit;
}  // namespace
