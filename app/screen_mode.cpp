#include "app/screen_mode.h"

const char* const g_pszScreenModeRefusedWindow =
    "画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！";
const char* const g_pszScreenModeRefused = "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！";

static int FullDepth(int choice, bool allow8) {
    switch (choice) {
    case 0: return 32;
    case 1: return 16;
    case 2: return allow8 ? 8 : 32;
    default: return 32;
    }
}

int ResolveScreenMode(const SCREENMODEINPUT& in, SCREENMODE* out) {
    bool d3d = in.nDirect3D != 0;
    int vsync = in.nVSync;
    int window;
    if (d3d) {
        window = in.nWindowMode != 0;
        if (vsync >= 2) vsync = 1;
    } else if (in.nWindowMode != 0) {
        window = 1;
        vsync = 0;
    } else {
        window = 0;
        if (vsync >= 2) vsync = in.bVistaOrLater ? 0 : 1;
    }
    int bpp = in.nBpp;
    if (bpp == 0) {
        if (window) bpp = in.nDesktopDepth;
        else if (d3d) bpp = FullDepth(in.nD3DFullDepth, false);
        else bpp = FullDepth(in.nDDFullDepth, in.bRgbColourKey == 0);
    }
    out->bWindow = window;
    out->nVSync = vsync;
    out->nBpp = bpp;
    bool allowed = bpp == 16 || bpp == 32 || (bpp == 8 && !d3d && in.bRgbColourKey == 0);
    if (window && (bpp != in.nDesktopDepth || bpp == 8)) allowed = false;
    if (allowed) return SCREENMODE_OK;
    return (in.nWindowMode != 0 && (bpp == 16 || bpp == 32)) ? SCREENMODE_REFUSED_WINDOW : SCREENMODE_REFUSED;
}
