// Start-up's screen mode: the window flag, vertical sync and colour depth from the "Direct3D",
// "WindowMode", "Bpp" and "VSync" keys, the RGB colour-key setting and the desktop's depth.
#pragma once

struct SCREENMODEINPUT {
    int nDirect3D;      // after the start-up dialog: 1 Direct3D, 0 DirectDraw
    int nWindowMode;    // "WindowMode"
    int nBpp;           // "Bpp" (0 automatic)
    int nVSync;         // "VSync" (2 or more automatic)
    int bRgbColourKey;  // the system settings' RGB colour key
    int nDesktopDepth;
    int nD3DFullDepth;  // the system settings' full-screen depth choices (0 32, 1 16, 2 8)
    int nDDFullDepth;
    bool bVistaOrLater;
};

struct SCREENMODE {
    int bWindow;
    int nVSync;
    int nBpp;
};

enum {
    SCREENMODE_OK = 0,
    SCREENMODE_REFUSED_WINDOW = 1,  // "...ウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！"
    SCREENMODE_REFUSED = 2,         // "...System.iniと画面の設定を見直して下さい！"
};

// Fills the mode; SCREENMODE_OK, or which refusal message applies.
int ResolveScreenMode(const SCREENMODEINPUT& in, SCREENMODE* out);

extern const char* const g_pszScreenModeRefusedWindow;
extern const char* const g_pszScreenModeRefused;
