// The drawing device: start-up of both back ends, frame end, drawing state, shut-down.
#include "media/draw_device.h"

#include <cstring>

#include "core/frame_timer.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/report.h"
#include "media/blit.h"
#include "media/primitives.h"
#include "media/restore.h"
#include "media/surface.h"
#include "platform/gdi/gdi.h"

DDDEVICE* g_lpDDDevice = nullptr;
DDDRAWCONTEXT* g_lpDDContext = nullptr;
int g_bDDUseD3D = 0;
int g_bDDInitialized = 0;
BYTE g_bDDWasInitialized = 0;
HWND g_hDDWnd = nullptr;
int g_nDDWidth = 0, g_nDDHeight = 0;
int g_nDDBpp = 0, g_nDDBytesPerPixel = 0;
int g_bDDWindowMode = 0;
int g_bDDVSync = 0;
int g_nDDBackBufferMode = 1;
int g_nDDRefreshRate = 0, g_bDDSetRefreshRate = 0;
DDSURFACEDATA* g_lpDDSurfaceTable = nullptr;
SURFACEFILEDESC* g_lpDDFileTable = nullptr;
int g_nDDSlotCount = 0;
DWORD g_dwDDColorKey = 0;
IDirectDraw7* g_lpDD = nullptr;
IDirect3D9* g_lpD3D = nullptr;
IDirect3DDevice9* g_lpD3DDevice = nullptr;
IDirectDrawClipper* g_lpDDClipper = nullptr;
IDirectDrawPalette* g_lpDDPalette = nullptr;
DWORD g_dwChannel1[8] = {};
DWORD g_dwChannel2[8] = {};
DDSURFACEDATA g_BackBufferSD = {};
DDSURFACEDATA g_VirBackBufferSD = {};
DDSURFACEDATA g_WorkSD = {};
DDSURFACEDATA g_PrimarySD = {};
DDSURFACEDATA g_DDWorkSD = {};
PALETTEENTRY g_EnginePalette[256] = {};
PALETTEENTRY g_WorkPalette[256] = {};

namespace {

void SetChannels(DWORD* set, DWORD rs, DWORD gs, DWORD bs, DWORD as, DWORD rm, DWORD gm, DWORD bm, DWORD am) {
    const DWORD v[8] = {rs, gs, bs, as, rm, gm, bm, am};
    std::memcpy(set, v, sizeof v);
}

void HideCursor() {
    while (ShowCursor(FALSE) >= 0) {
    }
}

void ShowTheCursor() {
    while (ShowCursor(TRUE) < 0) {
    }
}

const char* FormatName(D3DFORMAT f) {
    switch (f) {
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    default: return "";
    }
}

// Releases a DirectDraw record's surface and its holder.
void ReleaseHolder(DDSURFACEDATA& sd) {
    if (!sd.lpDD) return;
    if (sd.lpDD->lpSurface) sd.lpDD->lpSurface->Release();
    delete[] sd.lpDD->lpOpacityMask;
    delete sd.lpDD;
    sd.lpDD = nullptr;
}

}  // namespace

int GetDDIVersion() { return 9; }

void DDGetVideoMemory(DWORD* total, DWORD* free) {
    DWORD t = 0, f = 0;
    if (g_lpDD) {
        DDSCAPS2 caps{};
        caps.dwCaps = DDSCAPS_VIDEOMEMORY;
        g_lpDD->GetAvailableVidMem(&caps, &t, &f);
    }
    if (total) *total = t;
    if (free) *free = f;
}

DWORD DDGetMonitorFrequency() {
    DWORD hz = 0;
    if (g_lpDD) g_lpDD->GetMonitorFrequency(&hz);
    return hz;
}

bool DDInit(int useD3D, HWND hWnd, int width, int height, int bpp, int vsync, int windowMode, int backBufferMode,
            int refreshRate, int setRefreshRate, DDSURFACEDATA* surfaceTable, SURFACEFILEDESC* fileTable, int count) {
    g_bDDUseD3D = useD3D;
    g_hDDWnd = hWnd;
    g_nDDWidth = width;
    g_nDDHeight = height;
    g_nDDBpp = bpp;
    g_nDDBytesPerPixel = bpp / 8;
    // Any window mode other than 0 is a window (the start-up passes 0 or 1).
    g_bDDWindowMode = windowMode ? 1 : 0;
    g_bDDVSync = vsync;
    g_nDDBackBufferMode = backBufferMode;
    g_nDDRefreshRate = refreshRate;
    g_bDDSetRefreshRate = setRefreshRate;
    g_lpDDSurfaceTable = surfaceTable;
    g_lpDDFileTable = fileTable;
    g_nDDSlotCount = count;
    WriteReport("VSync : %d", vsync);
    if (useD3D) {
        if (DDInitD3D(hWnd, width, height, bpp, backBufferMode) != 1) return false;
    } else {
        int code;
        if (!g_bDDWindowMode) {
            if (g_bDDWasInitialized == 1) DDEnd();
            g_lpDDContext = new DDDRAWCONTEXT{};
            SetWindowLongA(hWnd, GWL_EXSTYLE, WS_EX_TOPMOST);
            SetWindowLongA(hWnd, GWL_STYLE, (LONG)WS_POPUP);
            code = DDInitFullScreen(hWnd, width, height, bpp, backBufferMode);
        } else {
            if (g_lpDD) g_lpDD->RestoreDisplayMode();
            if (g_bDDWasInitialized == 1) DDEnd();
            g_lpDDContext = new DDDRAWCONTEXT{};
            code = DDInitWindow(hWnd);
        }
        if (code != 0) return false;
    }
    SetTableLoadSkipped(g_lpDDDevice != nullptr);
    g_bDDInitialized = 1;
    g_bDDWasInitialized = 1;
    DDInstallMessageBox();  // boxes go through the device while it is up in full screen
    return true;
}

int DDInitD3D(HWND hWnd, int width, int height, int bpp, int backBufferMode) {
    (void)backBufferMode;
    int ddi = GetDDIVersion();
    if (ddi < 9) {
        WriteReport("ビデオカードのドライバがDirectX9をサポートしていません！ %d", ddi);
        return 0;
    }
    g_lpD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!g_lpD3D) {
        WriteReport("ビデオカードがDirectX9をサポートしていません！");
        return 0;
    }
    g_lpDDDevice = new DDDEVICE{};
    DDDEVICE& d = *g_lpDDDevice;
    d.dwDrawColor = 0xFFFFFFFF;
    d.dwColorOp = D3DTOP_MODULATE;
    d.dwAlphaOp = D3DTOP_MODULATE;
    D3DPRESENT_PARAMETERS& pp = d.pp;
    pp = D3DPRESENT_PARAMETERS{};
    if (g_bDDWindowMode != 1) {
        pp.Windowed = FALSE;
        pp.BackBufferWidth = (UINT)width;
        pp.BackBufferHeight = (UINT)height;
        pp.FullScreen_RefreshRateInHz = 60;
    } else {
        pp.Windowed = TRUE;
        if (g_bDDVSync) {
            DEVMODEA dm{};
            dm.dmSize = sizeof dm;
            dm.dmFields = DM_DISPLAYFREQUENCY;
            dm.dmDisplayFrequency = 60;
            if (ChangeDisplaySettingsA(&dm, CDS_TEST) == DISP_CHANGE_SUCCESSFUL) {
                LONG r = ChangeDisplaySettingsA(&dm, CDS_FULLSCREEN);
                if (r != DISP_CHANGE_SUCCESSFUL) WriteReport("ChangeDisplaySettings Err = %x", (unsigned)r);
            } else {
                WriteReport("ChangeDisplaySettings != DISP_CHANGE_SUCCESSFUL");
            }
            D3DDISPLAYMODE mode{};
            g_lpD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
            WriteReport("RefreshRate : %d", (int)mode.RefreshRate);
            if (mode.RefreshRate != 60) {
                g_bDDVSync = 0;
                WriteReport("リフレッシュレートの変更に失敗しました！垂直同期が無効になります！");
            }
        }
    }
    pp.PresentationInterval = g_bDDVSync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    d.nAdapter = D3DADAPTER_DEFAULT;
    d.DevType = D3DDEVTYPE_HAL;
    g_lpD3D->GetDeviceCaps(d.nAdapter, d.DevType, &d.caps);
    d.bPow2 = (d.caps.TextureCaps & D3DPTEXTURECAPS_POW2) ? 1 : 0;
    d.bSquareOnly = (d.caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0;
    d.bDynamic = (d.caps.Caps2 & D3DCAPS2_DYNAMICTEXTURES) ? 1 : 0;
    pp.SwapEffect = (d.caps.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD) ? D3DSWAPEFFECT_DISCARD : D3DSWAPEFFECT_COPY;
    if (bpp == 16) {
        if (g_bDDWindowMode != 1) {
            d.BackFormat = D3DFMT_R5G6B5;
            SetChannels(g_dwChannel1, 11, 5, 0, 16, 31, 63, 31, 0);
        } else {
            d.BackFormat = D3DFMT_A1R5G5B5;
            SetChannels(g_dwChannel1, 10, 5, 0, 15, 31, 31, 31, 1);
        }
        d.TexFormat = D3DFMT_A1R5G5B5;
        SetChannels(g_dwChannel2, 10, 5, 0, 15, 31, 31, 31, 1);
    } else if (bpp == 32) {
        d.BackFormat = D3DFMT_X8R8G8B8;
        d.TexFormat = D3DFMT_A8R8G8B8;
        SetChannels(g_dwChannel2, 16, 8, 0, 24, 255, 255, 255, 255);
    } else {
        return 0;
    }
    pp.BackBufferFormat = d.BackFormat;
    d.ppBackFormat = d.BackFormat;
    pp.BackBufferCount = 1;
    pp.MultiSampleType = D3DMULTISAMPLE_NONE;
    pp.hDeviceWindow = nullptr;
    pp.EnableAutoDepthStencil = FALSE;
    pp.AutoDepthStencilFormat = d.BackFormat;
    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    D3DPRESENT_PARAMETERS p = pp;
    if (SUCCEEDED(g_lpD3D->CreateDevice(d.nAdapter, d.DevType, hWnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p,
                                        &g_lpD3DDevice))) {
        WriteReport("Device HAL-HARD");
    } else {
        p = pp;
        if (FAILED(g_lpD3D->CreateDevice(d.nAdapter, d.DevType, hWnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p,
                                         &g_lpD3DDevice))) {
            g_lpD3DDevice = nullptr;
            return 0;
        }
        WriteReport("Device HAL-SOFT");
    }
    WriteReport("%s", FormatName(d.BackFormat));
    DDSetDefaultRenderStates();
    DDResetDrawColor();
    DDResetColorOp();
    DDResetAlphaOp();

    // "BackBuffer": the swap chain's back buffer, with a vertex buffer of its own.
    DDSURFACEDATA& bb = g_BackBufferSD;
    bb = DDSURFACEDATA{};
    bb.lpDT = new DDTEXTUREDATA{};
    std::strcpy(bb.szName, "BackBuffer");
    bb.nWidth = bb.nTexWidth = width;
    bb.nHeight = bb.nTexHeight = height;
    bb.nMemType = 0;
    bb.lpDT->bRenderTarget = 1;
    HRESULT hr = g_lpD3DDevice->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1,
                                                   D3DPOOL_MANAGED, &bb.lpDT->lpVB, nullptr);
    if (FAILED(hr)) {
        WriteReport("Back CreateVertexBuffer Err %x", (unsigned)hr);
        return 0;
    }
    g_lpD3DDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &bb.lpDT->lpSurface);
    d.dwTexCount = 1;
    d.dwFontCount = 0;

    DDSetVirtualBackBuffer(0);
    d.bVirCopy = 0;
    if (!DDCreateSurface(&g_VirBackBufferSD, width, height, 0, 0, 0, 0, 0)) return 0;
    std::strcpy(g_VirBackBufferSD.szName, "VirBackBuffer");
    if (!DDCreateSurface(&g_WorkSD, width, height, 0, 0, 0, 0, 0)) return 0;
    std::strcpy(g_WorkSD.szName, "WorkSD");
    if (g_bDDWindowMode != 1) HideCursor();
    return 1;
}

int DDInitFullScreen(HWND hWnd, int width, int height, int bpp, int backBufferMode) {
    g_PrimarySD = DDSURFACEDATA{};
    g_BackBufferSD = DDSURFACEDATA{};
    g_DDWorkSD = DDSURFACEDATA{};
    for (DDSURFACEDATA* r : {&g_PrimarySD, &g_BackBufferSD, &g_DDWorkSD}) {
        r->nWidth = r->nTexWidth = width;
        r->nHeight = r->nTexHeight = height;
    }
    g_DDWorkSD.nMemType = 1;
    if (FAILED(DirectDrawCreateEx(nullptr, (void**)&g_lpDD, IID_IDirectDraw7, nullptr))) {
        g_lpDD = nullptr;
        WriteReport("DirectDrawCreateEx Err");
        return 1;
    }
    if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE))) {
        WriteReport("SetCooperativeLevel Err");
        return 2;
    }
    HRESULT hr;
    if (g_bDDSetRefreshRate) {
        hr = g_lpDD->SetDisplayMode((DWORD)width, (DWORD)height, (DWORD)bpp, (DWORD)g_nDDRefreshRate, 0);
        if (FAILED(hr)) hr = g_lpDD->SetDisplayMode((DWORD)width, (DWORD)height, (DWORD)bpp, 0, 0);
    } else {
        hr = g_lpDD->SetDisplayMode((DWORD)width, (DWORD)height, (DWORD)bpp, 0, 0);
    }
    if (FAILED(hr)) {
        WriteReport("SetDisplayMode Err");
        return 3;
    }
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = backBufferMode == 1 ? 1 : 2;
    g_PrimarySD.lpDD = new DDSURFACEHOLDER{};
    if (FAILED(g_lpDD->CreateSurface(&desc, &g_PrimarySD.lpDD->lpSurface, nullptr))) {
        WriteReport("Primary CreateSurface Err");
        return 4;
    }
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    g_BackBufferSD.lpDD = new DDSURFACEHOLDER{};
    if (FAILED(g_PrimarySD.lpDD->lpSurface->GetAttachedSurface(&caps, &g_BackBufferSD.lpDD->lpSurface))) {
        WriteReport("GetAttachedSurface Err");
        return 5;
    }
    if (!DDCreateSurface(&g_DDWorkSD, width, height, 0, 1, 0, 0, 0)) return 4;
    PALETTEENTRY pe[256];
    for (int i = 0; i < 256; ++i) pe[i] = PALETTEENTRY{(BYTE)i, (BYTE)i, 0, PC_RESERVED};
    pe[0].peBlue = 255;
    if (FAILED(g_lpDD->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, pe, &g_lpDDPalette, nullptr))) {
        g_lpDDPalette = nullptr;
        WriteReport("CreatePalette Err");
        return 6;
    }
    if (bpp == 8) {
        if (FAILED(g_PrimarySD.lpDD->lpSurface->SetPalette(g_lpDDPalette))) {
            WriteReport("SetPalette Err");
            return 7;
        }
    } else {
        DDSetPixelFormatShifts(g_dwChannel2);
    }
    HideCursor();
    return 0;
}

int DDInitWindow(HWND hWnd) {
    RECT c{0, 0, 0, 0};
    GetClientRect(hWnd, &c);
    int w = c.right - c.left, h = c.bottom - c.top;
    g_PrimarySD = DDSURFACEDATA{};
    g_BackBufferSD = DDSURFACEDATA{};
    g_DDWorkSD = DDSURFACEDATA{};
    for (DDSURFACEDATA* r : {&g_PrimarySD, &g_BackBufferSD, &g_DDWorkSD}) {
        r->nWidth = r->nTexWidth = w;
        r->nHeight = r->nTexHeight = h;
    }
    g_DDWorkSD.nMemType = 1;
    HDC dc = GetDC(hWnd);
    int desktopDepth = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(hWnd, dc);
    if (FAILED(DirectDrawCreateEx(nullptr, (void**)&g_lpDD, IID_IDirectDraw7, nullptr))) {
        g_lpDD = nullptr;
        WriteReport("DirectDrawCreateEx Err");
        return 1;
    }
    if (FAILED(g_lpDD->SetCooperativeLevel(hWnd, DDSCL_NORMAL))) {
        WriteReport("SetCooperativeLevel Err");
        return 2;
    }
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    g_PrimarySD.lpDD = new DDSURFACEHOLDER{};
    if (FAILED(g_lpDD->CreateSurface(&desc, &g_PrimarySD.lpDD->lpSurface, nullptr))) {
        WriteReport("Primary CreateSurface Err");
        return 4;
    }
    if (!DDCreateSurface(&g_BackBufferSD, w, h, 0, 0, 0, 0, 0)) return 4;
    if (!DDCreateSurface(&g_DDWorkSD, w, h, 0, 1, 0, 0, 0)) return 4;
    PALETTEENTRY pe[256];
    for (int i = 0; i < 256; ++i) {
        if (i < 10 || i > 245)
            pe[i] = PALETTEENTRY{(BYTE)i, 0, 0, PC_EXPLICIT};
        else
            pe[i] = PALETTEENTRY{(BYTE)i, (BYTE)i, 0, PC_RESERVED};
    }
    if (FAILED(g_lpDD->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, pe, &g_lpDDPalette, nullptr))) {
        g_lpDDPalette = nullptr;
        WriteReport("CreatePalette Err");
        return 6;
    }
    if (desktopDepth < 9) {
        if (FAILED(g_PrimarySD.lpDD->lpSurface->SetPalette(g_lpDDPalette))) {
            WriteReport("SetPalette Err");
            return 7;
        }
    } else {
        DDSetPixelFormatShifts(g_dwChannel2);
    }
    if (FAILED(g_lpDD->CreateClipper(0, &g_lpDDClipper, nullptr))) {
        g_lpDDClipper = nullptr;
        WriteReport("CreateClipper Err");
        return 10;
    }
    if (FAILED(g_lpDDClipper->SetHWnd(0, hWnd))) {
        WriteReport("SetHWnd Err");
        return 11;
    }
    if (FAILED(g_PrimarySD.lpDD->lpSurface->SetClipper(g_lpDDClipper))) {
        WriteReport("SetClipper Err");
        return 12;
    }
    ShowTheCursor();
    return 0;
}

void DDEnd() {
    if (g_lpDD) {
        for (int i = 0; g_lpDDSurfaceTable && i < g_nDDSlotCount; ++i) DDReleaseSurface(&g_lpDDSurfaceTable[i]);
        if (g_lpDDClipper) g_lpDDClipper->Release();
        g_lpDDClipper = nullptr;
        if (g_lpDDPalette) g_lpDDPalette->Release();
        g_lpDDPalette = nullptr;
        ReleaseHolder(g_BackBufferSD);
        ReleaseHolder(g_PrimarySD);
        DDReleaseSurface(&g_DDWorkSD);
        ULONG left = g_lpDD->Release();
        g_lpDD = nullptr;
        if (left != 0) MessageBoxA(nullptr, "解放漏れがあります", "DirectDraw", MB_ICONERROR);
        delete g_lpDDContext;
        g_lpDDContext = nullptr;
    }
    if (g_lpD3D) {
        for (int i = 0; g_lpDDSurfaceTable && i < g_nDDSlotCount; ++i) DDReleaseSurface(&g_lpDDSurfaceTable[i]);
        DDReleaseSurface(&g_WorkSD);
        DDReleaseSurface(&g_VirBackBufferSD);
        DDReleaseSurface(&g_BackBufferSD);
        if (g_lpD3DDevice) g_lpD3DDevice->Release();
        g_lpD3DDevice = nullptr;
        g_lpD3D->Release();
        g_lpD3D = nullptr;
    }
    delete g_lpDDDevice;  // its message text goes with it
    g_lpDDDevice = nullptr;
    SetTableLoadSkipped(false);
    SetFullScreenMessageBox(nullptr);
    g_bDDInitialized = 0;
}

void DDEndAlias() { DDEnd(); }

void DDExitCleanup() {
    delete g_lpDDDevice;
    g_lpDDDevice = nullptr;
    delete g_lpDDContext;
    g_lpDDContext = nullptr;
}

DWORD DDFlip(int frameRate) {
    if (!g_lpDDDevice || !g_lpD3DDevice) return 1;
    if (g_lpDDDevice->bVirBackBuffer) DDCopyVirtualBackBuffer(&g_BackBufferSD, &g_VirBackBufferSD);
    if (!g_bDDVSync) {
        while (!TimerFrameWait(frameRate, 0, 0)) PaceSleep(1);
    }
    DDEndScene();
    HRESULT hr = g_lpD3DDevice->Present(nullptr, nullptr, nullptr, nullptr);
    if (hr != D3DERR_DEVICELOST) return 1;
    if (!g_bDDWindowMode) ShowWindow(g_hDDWnd, SW_SHOWMINNOACTIVE);
    return 0;
}

void DDPresentDirectDraw(const RECT& client, int byBlit, int waitVBlank) {
    if (g_lpDDDevice || !g_PrimarySD.lpDD || !g_BackBufferSD.lpDD) return;
    IDirectDrawSurface7* primary = g_PrimarySD.lpDD->lpSurface;
    IDirectDrawSurface7* back = g_BackBufferSD.lpDD->lpSurface;
    if (!primary || !back) return;
    if (g_bDDWindowMode) {
        if (waitVBlank && g_lpDD) g_lpDD->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
        RECT dst = client;
        primary->Blt(&dst, back, nullptr, DDBLT_WAIT, nullptr);
    } else if (byBlit) {
        RECT all{0, 0, g_nDDWidth, g_nDDHeight};
        primary->Blt(&all, back, &all, DDBLT_WAIT, nullptr);
    } else {
        primary->Flip(nullptr, DDFLIP_WAIT);
    }
}

void DDSetVirtualBackBuffer(int on) {
    if (!g_lpDDDevice) return;
    DDDEVICE& d = *g_lpDDDevice;
    if (d.bVirBackBuffer && !on && g_VirBackBufferSD.lpDT && g_VirBackBufferSD.lpDT->lpSurface)
        DDCopyVirtualBackBuffer(&g_BackBufferSD, &g_VirBackBufferSD);
    d.bVirBackBuffer = on ? 1 : 0;
    d.lpRestTarget = on ? &g_BackBufferSD : &g_VirBackBufferSD;
    if (d.lpRestTarget->lpDT && d.lpRestTarget->lpDT->lpSurface) DDSetRenderTarget(0, d.lpRestTarget);
}

int DDIsVirtualBackBuffer(DDSURFACEDATA*& record) {
    if (g_lpDDDevice && g_lpDDDevice->bVirBackBuffer && record == &g_BackBufferSD) {
        record = &g_VirBackBufferSD;
        return 1;
    }
    return 0;
}

void DDCopyVirtualBackBuffer(DDSURFACEDATA* back, DDSURFACEDATA* virtualBack) {
    if (!g_lpDDDevice) return;
    g_lpDDDevice->bVirCopy = 1;
    DDSetAlphaOp(D3DTOP_DISABLE);
    DDBlt(back, 0, 0, virtualBack->nWidth, virtualBack->nHeight, virtualBack, 0, 0, 0);
    DDResetAlphaOp();
    g_lpDDDevice->bVirCopy = 0;
}

void DDSetDrawColor(DWORD argb) {
    if (g_lpDDDevice) g_lpDDDevice->dwDrawColor = argb;
}
void DDResetDrawColor() { DDSetDrawColor(0xFFFFFFFF); }
void DDSetColorOp(DWORD op) {
    if (g_lpDDDevice) g_lpDDDevice->dwColorOp = op;
}
void DDResetColorOp() { DDSetColorOp(D3DTOP_MODULATE); }
void DDSetAlphaOp(DWORD op) {
    if (g_lpDDDevice) g_lpDDDevice->dwAlphaOp = op;
}
void DDResetAlphaOp() { DDSetAlphaOp(D3DTOP_SELECTARG1); }

int DDBeginScene() {
    if (!g_lpDDDevice || !g_lpD3DDevice) return 0;
    if (g_lpDDDevice->bInScene) return 1;
    HRESULT hr = g_lpD3DDevice->BeginScene();
    if (FAILED(hr)) {
        WriteReport("BeginScene Err %x", (unsigned)hr);
        return 0;
    }
    g_lpDDDevice->bInScene = 1;
    return 1;
}

void DDEndScene() {
    if (!g_lpDDDevice || !g_lpD3DDevice || !g_lpDDDevice->bInScene) return;
    g_lpD3DDevice->EndScene();
    g_lpDDDevice->bInScene = 0;
}

int DDSetRenderTarget(int index, DDSURFACEDATA* record) {
    (void)index;
    if (!g_lpD3DDevice || !record || !record->lpDT || !record->lpDT->bRenderTarget) return 0;
    HRESULT hr = record->lpDT->lpSurface ? g_lpD3DDevice->SetRenderTarget(0, record->lpDT->lpSurface) : D3DERR_INVALIDCALL;
    if (FAILED(hr)) {
        WriteReport("SetRenderTarget Err %x (%s)", (unsigned)hr, record->szFileName);
        return 0;
    }
    return 1;
}

void DDSetRestTarget() {
    if (g_lpDDDevice && g_lpDDDevice->lpRestTarget) DDSetRenderTarget(0, g_lpDDDevice->lpRestTarget);
}

void DDTextureOf(DDSURFACEDATA*& record) {
    if (g_lpDDDevice && record && record->lpLink) record = record->lpLink;
}

void DDSetDefaultRenderStates() {
    if (!g_lpD3DDevice) return;
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    d->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    for (DWORD s = 0; s < 2; ++s) {
        d->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        d->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    }
}
