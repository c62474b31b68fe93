// Recovery after a lost device or lost surfaces.
#include "media/restore.h"

#include <cstring>
#include <vector>

#include "media/draw_device.h"
#include "media/surface.h"

namespace {

DDFONTRESTOREFUNC g_fnFontsLost = nullptr;
DDFONTRESTOREFUNC g_fnFontsRestored = nullptr;

bool IsBlankName(const char* name) { return !name[0] || std::strcmp(name, "E") == 0; }

}  // namespace

void DDSetFontRestoreHooks(DDFONTRESTOREFUNC onLostDevice, DDFONTRESTOREFUNC onRestored) {
    g_fnFontsLost = onLostDevice;
    g_fnFontsRestored = onRestored;
}

DWORD DDRestoreSurface() {
    if (!g_lpDDDevice || !g_lpD3DDevice) return 1;
    // Ask first: a device that is not lost keeps everything it has.
    HRESULT hr = g_lpD3DDevice->TestCooperativeLevel();
    if (hr == D3D_OK) return 1;
    if (hr != D3DERR_DEVICENOTRESET) return 0;
    for (DDSURFACEDATA* rec : g_TextureList) {
        DDTEXTUREDATA* dt = rec->lpDT;
        if (!dt || dt->bSysMem) continue;
        if (dt->lpSurface) dt->lpSurface->Release();
        if (dt->lpTexture) dt->lpTexture->Release();
        dt->lpSurface = nullptr;
        dt->lpTexture = nullptr;
    }
    if (g_fnFontsLost) g_fnFontsLost();
    if (g_BackBufferSD.lpDT && g_BackBufferSD.lpDT->lpSurface) {
        g_BackBufferSD.lpDT->lpSurface->Release();
        g_BackBufferSD.lpDT->lpSurface = nullptr;
    }
    D3DPRESENT_PARAMETERS pp = g_lpDDDevice->pp;
    if (FAILED(g_lpD3DDevice->Reset(&pp))) return 0;
    g_lpDDDevice->bInScene = 0;
    DDSetDefaultRenderStates();
    if (g_BackBufferSD.lpDT) g_lpD3DDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &g_BackBufferSD.lpDT->lpSurface);
    std::vector<DDSURFACEDATA*> records(g_TextureList.begin(), g_TextureList.end());
    for (DDSURFACEDATA* rec : records) {
        DDTEXTUREDATA* dt = rec->lpDT;
        if (!dt || (dt->bSysMem && dt->lpTexture)) continue;  // system memory survives a reset
        int noTexture = rec->lpLink ? 1 : 0;
        if (!IsBlankName(rec->szFileName)) {
            DDCreateSurfaceFromFile(rec, rec->szFileName, (int)dt->bColorKey, g_nDDBpp, rec->nMemType, (int)dt->bSysMem,
                                    noTexture, 0, rec->nMirrorW, rec->nMirrorH, 1);
        } else if (DDCreateSurface(rec, rec->nWidth, rec->nHeight, (int)dt->bColorKey, rec->nMemType, (int)dt->bSysMem,
                                   noTexture, 1)) {
            rec->bLost = 1;
        }
    }
    DDSetRestTarget();
    if (g_fnFontsRestored) g_fnFontsRestored();
    if (!g_bDDWindowMode) ShowWindow(g_hDDWnd, SW_SHOWNORMAL);
    return 1;
}

int DDRestoreLostRecord(DDSURFACEDATA* rec) {
    if (g_lpDDDevice || !rec || !rec->lpDD || !rec->lpDD->lpSurface) return 1;
    IDirectDrawSurface7* s = rec->lpDD->lpSurface;
    if (s->IsLost() != DDERR_SURFACELOST) return 1;
    s->Restore();
    if (rec->nMemType != 0) return 1;
    rec->bLost = 1;
    if (IsBlankName(rec->szFileName)) return 1;
    return DDRestoreBitmap(rec) ? 1 : 0;
}

int DDRestore() {
    if (g_lpDDDevice || !g_lpDD || !g_PrimarySD.lpDD || !g_PrimarySD.lpDD->lpSurface) return 1;
    IDirectDrawSurface7* primary = g_PrimarySD.lpDD->lpSurface;
    if (primary->IsLost() != DDERR_SURFACELOST) return 1;
    primary->Restore();
    if (g_BackBufferSD.lpDD && g_BackBufferSD.lpDD->lpSurface &&
        g_BackBufferSD.lpDD->lpSurface->IsLost() == DDERR_SURFACELOST)
        g_BackBufferSD.lpDD->lpSurface->Restore();
    for (int i = 0; g_lpDDSurfaceTable && i < g_nDDSlotCount; ++i) {
        DDSURFACEDATA* rec = &g_lpDDSurfaceTable[i];
        if (!rec->lpDD || !rec->lpDD->lpSurface || rec->lpDD->lpSurface->IsLost() != DDERR_SURFACELOST) continue;
        rec->lpDD->lpSurface->Restore();
        if (rec->nMemType != 0) continue;
        if (!IsBlankName(rec->szFileName))
            DDRestoreBitmap(rec);
        else
            rec->bLost = 1;
    }
    if (g_nDDBpp == 8 && g_lpDDPalette) {
        PALETTEENTRY kept[256];
        g_lpDDPalette->GetEntries(0, 0, 256, kept);
        g_lpDDPalette->SetEntries(0, 0, 256, kept);
        primary->SetPalette(g_lpDDPalette);
    }
    if (g_fnFontsRestored) g_fnFontsRestored();
    return 1;
}

void DDSetPixelFormatShifts(DWORD* set) {
    if (!set || !g_PrimarySD.lpDD || !g_PrimarySD.lpDD->lpSurface) return;
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof pf;
    if (FAILED(g_PrimarySD.lpDD->lpSurface->GetPixelFormat(&pf))) return;
    const DWORD masks[3] = {pf.dwRBitMask, pf.dwGBitMask, pf.dwBBitMask};
    DWORD bits = pf.dwRGBBitCount;
    for (int c = 0; c < 3; ++c) {
        DWORD m = masks[c];
        if (!m) {
            set[CH_RSHIFT + c] = bits;
            continue;
        }
        DWORD s = 0;
        while (s < bits && !(m & (1u << s))) ++s;
        set[CH_RSHIFT + c] = s;
        set[CH_RMAX + c] = m >> s;
    }
}

DWORD DDPalToRGB16(const PALETTEENTRY& e) {
    if (g_lpDDDevice) return 0;
    const DWORD* s = g_dwChannel2;
    return ((e.peRed & s[CH_RMAX]) << s[CH_RSHIFT]) | ((e.peGreen & s[CH_GMAX]) << s[CH_GSHIFT]) |
           ((e.peBlue & s[CH_BMAX]) << s[CH_BSHIFT]);
}
