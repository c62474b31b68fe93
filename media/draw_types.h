// The records of the drawing layer: one drawable surface or texture (DDSURFACEDATA) with its
// Direct3D part (DDTEXTUREDATA) or DirectDraw holder, the bitmap slot descriptor and the default
// font description, and the two back ends' context records.
#pragma once

#include <string>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3dx9.h"
#include "platform/ddraw/ddraw.h"
#include "platform/win32/win32.h"

// The Direct3D part of a surface record.
struct DDTEXTUREDATA {
    DWORD dwTexNo;                   // from the device's texture counter; "BackBuffer" has 0
    IDirect3DSurface9* lpSurface;    // level 0 of the texture, or the swap chain's back buffer
    IDirect3DSurface9* lpSysSurface;  // system-memory copy of a render target
    IDirect3DVertexBuffer9* lpVB;     // four vertices of 28 bytes
    IDirect3DTexture9* lpTexture;
    D3DSURFACE_DESC desc;             // level 0
    DWORD bSysMem;                    // the texture lives in system memory (processor path only)
    DWORD bColorKey;                  // the transparent colour applies
    DWORD bRenderTarget;
    BYTE* lpOpacityMask;
};

// The DirectDraw part of a surface record.
struct DDSURFACEHOLDER {
    IDirectDrawSurface7* lpSurface;
    BYTE* lpOpacityMask;
};

struct DDSURFACEDATA {
    DDTEXTUREDATA* lpDT;      // Direct3D; null with DirectDraw
    DDSURFACEHOLDER* lpDD;    // DirectDraw; null with Direct3D
    char szName[MAX_PATH];    // "OffScreen", "OffScreenFromFile" or a fixed name
    int nWidth, nHeight;      // size asked for, or the bitmap's
    int nTexWidth, nTexHeight;  // size of the texture made (after power-of-two and square rounding)
    char szFileName[MAX_PATH];  // bitmap path; "E" for a blank record
    int nMemType;             // 0 video, 1 system memory
    int nMirrorW, nMirrorH;   // mirror cell size (0 none)
    DDSURFACEDATA* lpLink;    // Direct3D: the record whose texture this one draws
    DWORD bLost;              // made again blank after a loss: the owner must redraw it
};

// One bitmap slot: path ("E" for a blank surface) and ten option words (see the asset table).
struct SURFACEFILEDESC {
    char szPath[MAX_PATH];
    DWORD dwWord[10];
};

// A font's default description: face and the ten words handed to cFont::Create.
struct FONTSETTING {
    char szFace[256];
    DWORD dwWord[10];
};

// The Direct3D context record.
struct DDDEVICE {
    D3DFORMAT BackFormat;       // R5G6B5, A1R5G5B5 or X8R8G8B8
    D3DFORMAT TexFormat;        // A1R5G5B5 or A8R8G8B8
    D3DPRESENT_PARAMETERS pp;   // as passed to CreateDevice and Reset
    UINT nAdapter;
    D3DDEVTYPE DevType;
    D3DFORMAT ppBackFormat;
    D3DCAPS9 caps;
    DWORD bPow2, bSquareOnly, bDynamic;
    DWORD bVirBackBuffer;           // draws to "BackBuffer" land on "VirBackBuffer"
    DDSURFACEDATA* lpRestTarget;    // the render target after every draw
    DWORD bVirCopy;                 // set while the virtual back buffer is copied
    BYTE byTrans[3];                // transparent colour: blue, green, red
    BYTE byTrans2[3];               // the palette file's colour (16 bits)
    DWORD dwClearTex32, dwClearBack32;  // opaque-blit clear colours
    WORD wClearTex16, wClearBack16;
    DWORD bInScene;
    DWORD dwDrawColor, dwColorOp, dwAlphaOp;
    DWORD dwTexCount;
    DWORD dwFontCount;
    std::string strMessage;         // shown when a texture cannot be made
};

// The DirectDraw context record.
struct DDDRAWCONTEXT {
    BYTE byTrans[3];
    BYTE byTrans2[3];
    DWORD dwFontCount;  // the number given to the next font made on this back end
};

// Channel table entries: shifts, then maxima.
enum { CH_RSHIFT, CH_GSHIFT, CH_BSHIFT, CH_ASHIFT, CH_RMAX, CH_GMAX, CH_BMAX, CH_AMAX };

// Memory choices of a texture ("place").
#define DTMEMORYTYPE_VIDEO_RT 0
#define DTMEMORYTYPE_SYSTEM 1
#define DTMEMORYTYPE_VIDEO_NORT 2
