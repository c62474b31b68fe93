// The DirectDraw 7 subset the drawing layer calls, over the software rasterizer: exclusive full
// screen with an emulated display mode (8, 16 or 32 bits, shown scaled on the desktop) or a
// window on the desktop, the primary surface with its flipping back buffer, off-screen surfaces
// in video or system memory, exact-value source colour keys, BltFast, Blt with nearest stretching
// and colour fill, locks, device contexts, 256-entry palettes and the window clipper.
#pragma once

#include "platform/raster/unknown.h"
#include "platform/win32/types.h"

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef const GUID& REFIID;
extern const GUID IID_IDirectDraw7;

#define DD_OK S_OK
#define DDERR_GENERIC E_FAIL
#define DDERR_INVALIDPARAMS E_INVALIDARG
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY
#define DDERR_UNSUPPORTED E_NOTIMPL
#define DDERR_INVALIDMODE ((HRESULT)0x88760078)
#define DDERR_INVALIDOBJECT ((HRESULT)0x88760082)
#define DDERR_INVALIDPIXELFORMAT ((HRESULT)0x88760091)
#define DDERR_INVALIDRECT ((HRESULT)0x88760096)
#define DDERR_NOCOLORKEY ((HRESULT)0x887600D7)
#define DDERR_NOEXCLUSIVEMODE ((HRESULT)0x887600E1)
#define DDERR_NOTFOUND ((HRESULT)0x887600FF)
#define DDERR_OUTOFVIDEOMEMORY ((HRESULT)0x8876017C)
#define DDERR_SURFACEBUSY ((HRESULT)0x887601AE)
#define DDERR_SURFACELOST ((HRESULT)0x887601C2)
#define DDERR_WASSTILLDRAWING ((HRESULT)0x8876021C)
#define DDERR_PRIMARYSURFACEALREADYEXISTS ((HRESULT)0x88760234)
#define DDERR_NOTLOCKED ((HRESULT)0x88760248)
#define DDERR_NOTFLIPPABLE ((HRESULT)0x88760246)

#define DDSCL_FULLSCREEN 0x00000001L
#define DDSCL_ALLOWREBOOT 0x00000002L
#define DDSCL_NOWINDOWCHANGES 0x00000004L
#define DDSCL_NORMAL 0x00000008L
#define DDSCL_EXCLUSIVE 0x00000010L

#define DDSD_CAPS 0x00000001L
#define DDSD_HEIGHT 0x00000002L
#define DDSD_WIDTH 0x00000004L
#define DDSD_PITCH 0x00000008L
#define DDSD_BACKBUFFERCOUNT 0x00000020L
#define DDSD_LPSURFACE 0x00000800L
#define DDSD_PIXELFORMAT 0x00001000L
#define DDSD_CKSRCBLT 0x00010000L

#define DDSCAPS_BACKBUFFER 0x00000004L
#define DDSCAPS_COMPLEX 0x00000008L
#define DDSCAPS_FLIP 0x00000010L
#define DDSCAPS_FRONTBUFFER 0x00000020L
#define DDSCAPS_OFFSCREENPLAIN 0x00000040L
#define DDSCAPS_PALETTE 0x00000100L
#define DDSCAPS_PRIMARYSURFACE 0x00000200L
#define DDSCAPS_SYSTEMMEMORY 0x00000800L
#define DDSCAPS_VIDEOMEMORY 0x00004000L
#define DDSCAPS_LOCALVIDMEM 0x10000000L

#define DDPF_PALETTEINDEXED8 0x00000020L
#define DDPF_RGB 0x00000040L

#define DDCKEY_SRCBLT 0x00000008L

#define DDBLT_COLORFILL 0x00000400L
#define DDBLT_KEYSRC 0x00008000L
#define DDBLT_WAIT 0x01000000L
#define DDBLTFAST_NOCOLORKEY 0x00000000
#define DDBLTFAST_SRCCOLORKEY 0x00000001
#define DDBLTFAST_WAIT 0x00000010

#define DDFLIP_WAIT 0x00000001L
#define DDFLIP_NOVSYNC 0x00000008L

#define DDLOCK_SURFACEMEMORYPTR 0x00000000L
#define DDLOCK_WAIT 0x00000001L
#define DDLOCK_READONLY 0x00000010L
#define DDLOCK_WRITEONLY 0x00000020L

#define DDPCAPS_8BIT 0x00000004l
#define DDPCAPS_ALLOW256 0x00000040l

#define DDWAITVB_BLOCKBEGIN 0x00000001l

#ifndef PC_RESERVED
#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04
#endif

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};

struct DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};

struct DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
};

struct DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwFillColor;
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};

struct IDirectDrawClipper : IUnknown {
    virtual HRESULT SetHWnd(DWORD dwFlags, HWND hWnd) = 0;
    virtual HRESULT GetHWnd(HWND* lphWnd) = 0;
};

struct IDirectDrawPalette : IUnknown {
    virtual HRESULT GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries, LPPALETTEENTRY lpEntries) = 0;
    virtual HRESULT SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount, LPPALETTEENTRY lpEntries) = 0;
};

struct IDirectDrawSurface7 : IUnknown {
    virtual HRESULT Blt(LPRECT lpDestRect, IDirectDrawSurface7* lpSrc, LPRECT lpSrcRect, DWORD dwFlags,
                        DDBLTFX* lpDDBltFx) = 0;
    virtual HRESULT BltFast(DWORD dwX, DWORD dwY, IDirectDrawSurface7* lpSrc, LPRECT lpSrcRect, DWORD dwTrans) = 0;
    virtual HRESULT Flip(IDirectDrawSurface7* lpOverride, DWORD dwFlags) = 0;
    virtual HRESULT GetAttachedSurface(DDSCAPS2* lpCaps, IDirectDrawSurface7** lplpAttached) = 0;
    virtual HRESULT GetColorKey(DWORD dwFlags, DDCOLORKEY* lpKey) = 0;
    virtual HRESULT SetColorKey(DWORD dwFlags, DDCOLORKEY* lpKey) = 0;
    virtual HRESULT GetDC(HDC* lphDC) = 0;
    virtual HRESULT ReleaseDC(HDC hDC) = 0;
    virtual HRESULT GetPixelFormat(DDPIXELFORMAT* lpFormat) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* lpDesc) = 0;
    virtual HRESULT IsLost() = 0;
    virtual HRESULT Lock(LPRECT lpDestRect, DDSURFACEDESC2* lpDesc, DWORD dwFlags, HANDLE hEvent) = 0;
    virtual HRESULT Unlock(LPRECT lpRect) = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* lpClipper) = 0;
    virtual HRESULT SetPalette(IDirectDrawPalette* lpPalette) = 0;
};

struct IDirectDraw7 : IUnknown {
    virtual HRESULT CreateClipper(DWORD dwFlags, IDirectDrawClipper** lplpClipper, IUnknown* pUnkOuter) = 0;
    virtual HRESULT CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable, IDirectDrawPalette** lplpPalette,
                                  IUnknown* pUnkOuter) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* lpDesc, IDirectDrawSurface7** lplpSurface, IUnknown* pUnkOuter) = 0;
    virtual HRESULT FlipToGDISurface() = 0;
    virtual HRESULT GetAvailableVidMem(DDSCAPS2* lpCaps, LPDWORD lpdwTotal, LPDWORD lpdwFree) = 0;
    virtual HRESULT GetMonitorFrequency(LPDWORD lpdwFrequency) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT SetCooperativeLevel(HWND hWnd, DWORD dwFlags) = 0;
    virtual HRESULT SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP, DWORD dwRefreshRate, DWORD dwFlags) = 0;
    virtual HRESULT WaitForVerticalBlank(DWORD dwFlags, HANDLE hEvent) = 0;
    virtual HRESULT RestoreAllSurfaces() = 0;
};

HRESULT DirectDrawCreateEx(GUID* lpGuid, LPVOID* lplpDD, REFIID iid, IUnknown* pUnkOuter);
