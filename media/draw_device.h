// The drawing device: DDInit with its Direct3D 9 and DirectDraw 7 set-ups, the fixed surface
// records, the per-frame end DDFlip, the shared drawing state and DDEnd. A non-null
// g_lpDDDevice selects the Direct3D back end for every DD call; null means DirectDraw.
#pragma once

#include "media/draw_types.h"

// ---- device globals ----
extern DDDEVICE* g_lpDDDevice;
extern DDDRAWCONTEXT* g_lpDDContext;
extern int g_bDDUseD3D;
extern int g_bDDInitialized;
extern BYTE g_bDDWasInitialized;
extern HWND g_hDDWnd;
extern int g_nDDWidth, g_nDDHeight;
extern int g_nDDBpp, g_nDDBytesPerPixel;
extern int g_bDDWindowMode;
extern int g_bDDVSync;
extern int g_nDDBackBufferMode;
extern int g_nDDRefreshRate, g_bDDSetRefreshRate;
extern DDSURFACEDATA* g_lpDDSurfaceTable;
extern SURFACEFILEDESC* g_lpDDFileTable;
extern int g_nDDSlotCount;
extern DWORD g_dwDDColorKey;  // DirectDraw source colour-key value
extern IDirectDraw7* g_lpDD;
extern IDirect3D9* g_lpD3D;
extern IDirect3DDevice9* g_lpD3DDevice;
extern IDirectDrawClipper* g_lpDDClipper;
extern IDirectDrawPalette* g_lpDDPalette;
extern DWORD g_dwChannel1[8];  // back-buffer format
extern DWORD g_dwChannel2[8];  // texture format (Direct3D) or primary format (DirectDraw)

// Fixed surface records.
extern DDSURFACEDATA g_BackBufferSD;     // "BackBuffer"
extern DDSURFACEDATA g_VirBackBufferSD;  // "VirBackBuffer" (Direct3D)
extern DDSURFACEDATA g_WorkSD;           // "WorkSD" (Direct3D)
extern DDSURFACEDATA g_PrimarySD;        // DirectDraw primary
extern DDSURFACEDATA g_DDWorkSD;         // DirectDraw work surface (system memory)

// The engine palette and the working copy the scenes change (256 entries each).
extern PALETTEENTRY g_EnginePalette[256];
extern PALETTEENTRY g_WorkPalette[256];

bool DDInit(int useD3D, HWND hWnd, int width, int height, int bpp, int vsync, int windowMode, int backBufferMode,
            int refreshRate, int setRefreshRate, DDSURFACEDATA* surfaceTable, SURFACEFILEDESC* fileTable, int count);
int DDInitD3D(HWND hWnd, int width, int height, int bpp, int backBufferMode);
int DDInitFullScreen(HWND hWnd, int width, int height, int bpp, int backBufferMode);
int DDInitWindow(HWND hWnd);
void DDEnd();
void DDEndAlias();
// Registered with atexit by the entry: frees the two context records.
void DDExitCleanup();
DWORD DDFlip(int frameRate);

void DDSetVirtualBackBuffer(int on);
int DDIsVirtualBackBuffer(DDSURFACEDATA*& record);
void DDCopyVirtualBackBuffer(DDSURFACEDATA* back, DDSURFACEDATA* virtualBack);

void DDSetDrawColor(DWORD argb);
void DDResetDrawColor();
void DDSetColorOp(DWORD op);
void DDResetColorOp();
void DDSetAlphaOp(DWORD op);
void DDResetAlphaOp();

int DDBeginScene();
void DDEndScene();
int DDSetRenderTarget(int index, DDSURFACEDATA* record);
// Back to the resting render target.
void DDSetRestTarget();
void DDTextureOf(DDSURFACEDATA*& record);
void DDSetDefaultRenderStates();

// The display driver's DDI version (the rasterizer implements the DirectX 9 interfaces).
int GetDDIVersion();
// Video memory through DirectDraw in bytes (0 without a DirectDraw object).
void DDGetVideoMemory(DWORD* total, DWORD* free);

// DirectDraw presents (the frame driver's present step): in a window the back buffer is
// blitted to the primary at the client rectangle (screen coordinates), waiting for the vertical
// blank first when `waitVBlank`; in full screen it is blitted whole (`byBlit`) or flipped.
void DDPresentDirectDraw(const RECT& client, int byBlit, int waitVBlank);
// The DirectDraw monitor frequency (0 without a DirectDraw object).
DWORD DDGetMonitorFrequency();
