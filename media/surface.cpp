// Surface records: creation in both back ends, bitmap loading, the transparent colour, fills,
// opacity masks, locks and releasing.
#include "media/surface.h"

#include <algorithm>
#include <cstring>

#include "core/globals.h"
#include "core/report.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/media_failure.h"
#include "media/primitives.h"
#include "media/restore.h"
#include "platform/gdi/bmp.h"
#include "platform/gdi/gdi.h"

std::list<DDSURFACEDATA*> g_TextureList;

namespace {

constexpr DWORD kFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// The size of a bitmap file from its headers (the picture itself is decoded once, by its loader);
// false when it is not a bitmap.
bool BitmapSize(const char* path, int* w, int* h, int* bits) {
    int bw = 0, bh = 0, bpp = 0;
    if (!gdi::ReadBmpInfo(path, &bw, &bh, &bpp)) return false;
    *w = bw;
    *h = bh;
    if (bits) *bits = bpp;
    return bw > 0 && bh > 0;
}

void ShowDeviceMessageAndClose() {
    if (g_lpDDDevice && !g_lpDDDevice->strMessage.empty()) MesBoxF("%s", g_lpDDDevice->strMessage.c_str());
    PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
}

// Clears a render-target record to a colour and returns to the resting target.
void ClearRecord(DDSURFACEDATA* rec, DWORD argb, const D3DRECT* r) {
    if (!DDSetRenderTarget(0, rec)) return;
    g_lpD3DDevice->Clear(r ? 1 : 0, r, D3DCLEAR_TARGET, argb, 1.0f, 0);
    DDSetRestTarget();
}

// A 16-bit pixel of a colour with 0-255 channels in the layout of a channel set.
DWORD Pack16(const DWORD* set, DWORD a, DWORD r, DWORD g, DWORD b) {
    return ((r * set[CH_RMAX] / 255) << set[CH_RSHIFT]) | ((g * set[CH_GMAX] / 255) << set[CH_GSHIFT]) |
           ((b * set[CH_BMAX] / 255) << set[CH_BSHIFT]) | ((a * set[CH_AMAX] / 255) << set[CH_ASHIFT]);
}

DWORD Expand(DWORD v, DWORD max) {
    if (max == 31) return (v << 3) | (v >> 2);
    if (max == 63) return (v << 2) | (v >> 4);
    return max ? v * 255 / max : 0;
}

}  // namespace

void DDCopyName(char* dst, const char* src) {
    size_t n = src ? std::min(std::strlen(src), (size_t)MAX_PATH - 1) : 0;
    if (n) std::memcpy(dst, src, n);
    dst[n] = 0;
}

// ---- lock ----

cSurfaceLock::cSurfaceLock(DDSURFACEDATA* rec, bool write) : m_pRec(rec) {
    if (!rec) return;
    if (rec->lpDT) {
        DDTEXTUREDATA* dt = rec->lpDT;
        IDirect3DSurface9* s = dt->lpSurface;
        if (!s || !g_lpD3DDevice) return;
        if (dt->lpTexture && dt->bRenderTarget && dt->lpSysSurface) {
            if (FAILED(g_lpD3DDevice->GetRenderTargetData(s, dt->lpSysSurface))) return;
            s = dt->lpSysSurface;
            m_bCopyBack = write;
        }
        D3DLOCKED_RECT lr;
        if (FAILED(s->LockRect(&lr, nullptr, 0))) return;
        D3DSURFACE_DESC d;
        s->GetDesc(&d);
        m_pLocked = s;
        m_pBits = (BYTE*)lr.pBits;
        m_nPitch = lr.Pitch;
        m_nBpp = (d.Format == D3DFMT_A8R8G8B8 || d.Format == D3DFMT_X8R8G8B8) ? 32 : 16;
    } else if (rec->lpDD && rec->lpDD->lpSurface) {
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof d;
        if (FAILED(rec->lpDD->lpSurface->Lock(nullptr, &d, DDLOCK_WAIT, nullptr))) return;
        m_pDDLocked = rec->lpDD->lpSurface;
        m_pBits = (BYTE*)d.lpSurface;
        m_nPitch = d.lPitch;
        m_nBpp = (int)d.ddpfPixelFormat.dwRGBBitCount;
    }
}

cSurfaceLock::~cSurfaceLock() {
    if (m_pLocked) {
        m_pLocked->UnlockRect();
        if (m_bCopyBack) g_lpD3DDevice->UpdateSurface(m_pLocked, nullptr, m_pRec->lpDT->lpSurface, nullptr);
    }
    if (m_pDDLocked) m_pDDLocked->Unlock(nullptr);
}

DWORD cSurfaceLock::Get(int x, int y) const {
    const BYTE* r = Row(y);
    switch (m_nBpp) {
    case 8: return r[x];
    case 16: {
        WORD v;
        std::memcpy(&v, r + x * 2, 2);
        return v;
    }
    default: {
        DWORD v;
        std::memcpy(&v, r + x * 4, 4);
        return v;
    }
    }
}

void cSurfaceLock::Set(int x, int y, DWORD v) {
    BYTE* r = Row(y);
    switch (m_nBpp) {
    case 8: r[x] = (BYTE)v; break;
    case 16: {
        WORD w = (WORD)v;
        std::memcpy(r + x * 2, &w, 2);
        break;
    }
    default: std::memcpy(r + x * 4, &v, 4); break;
    }
}

// ---- creation ----

void DDAdjustTextureSize(int* w, int* h) {
    if (!g_lpDDDevice) return;
    auto pow2 = [](int v) {
        int p = 1;
        while (p < v && p < (1 << 30)) p <<= 1;
        return p;
    };
    if (g_lpDDDevice->bPow2) {
        *w = pow2(*w);
        *h = pow2(*h);
    }
    if (g_lpDDDevice->bSquareOnly) *w = *h = std::max(*w, *h);
}

bool DDCheckTextureSize(int w, int h) {
    if (!g_lpDDDevice) return true;
    bool ok = true;
    if ((DWORD)w > g_lpDDDevice->caps.MaxTextureWidth) {
        WriteReport("このビデオカードでは横幅%dを超える画像はサポートされていません！", (int)g_lpDDDevice->caps.MaxTextureWidth);
        ok = false;
    }
    if ((DWORD)h > g_lpDDDevice->caps.MaxTextureHeight) {
        WriteReport("このビデオカードでは縦幅%dを超える画像はサポートされていません！", (int)g_lpDDDevice->caps.MaxTextureHeight);
        ok = false;
    }
    return ok;
}

bool DDCheckCreateResult(int code) { return code == 0; }

bool DDCreateSurface(DDSURFACEDATA* rec, int w, int h, int colourKey, int memType, int place, int noTexture,
                     int keepIdentity) {
    if (!rec || w <= 0 || h <= 0) return false;
    if (!g_lpDDDevice) {
        if (!g_lpDD) return false;
        if (!rec->lpDD) rec->lpDD = new DDSURFACEHOLDER{};
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof d;
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.dwWidth = (DWORD)w;
        d.dwHeight = (DWORD)h;
        d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (memType == 1 ? DDSCAPS_SYSTEMMEMORY : 0);
        if (rec->lpDD->lpSurface) {
            rec->lpDD->lpSurface->Release();
            rec->lpDD->lpSurface = nullptr;
        }
        HRESULT hr = g_lpDD->CreateSurface(&d, &rec->lpDD->lpSurface, nullptr);
        if (FAILED(hr) && memType == 0) {
            d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
            memType = 1;
            hr = g_lpDD->CreateSurface(&d, &rec->lpDD->lpSurface, nullptr);
            if (FAILED(hr)) WriteReport("CreateSurface Video -> System Err");
        } else if (FAILED(hr)) {
            WriteReport("CreateSurface System Err");
        }
        if (FAILED(hr)) {
            rec->lpDD->lpSurface = nullptr;
            return false;
        }
        if (colourKey == 1) {
            DDCOLORKEY ck{g_dwDDColorKey, g_dwDDColorKey};
            if (FAILED(rec->lpDD->lpSurface->SetColorKey(DDCKEY_SRCBLT, &ck))) WriteReport("SetColorKey Err");
        }
        if (!keepIdentity) {
            DDCopyName(rec->szName, "OffScreen");
            DDCopyName(rec->szFileName, "E");
        }
        rec->nWidth = rec->nTexWidth = w;
        rec->nHeight = rec->nTexHeight = h;
        rec->nMemType = memType;
        DDFillRect(rec, 0, 0, w, h, 0);
        return true;
    }

    if (!rec->lpDT) rec->lpDT = new DDTEXTUREDATA{};
    DDTEXTUREDATA* dt = rec->lpDT;
    if (!keepIdentity) {
        DDCopyName(rec->szName, "OffScreen");
        DDCopyName(rec->szFileName, "E");
        dt->bSysMem = place == DTMEMORYTYPE_SYSTEM ? 1 : 0;
        dt->bColorKey = colourKey == 1 ? 1 : 0;
        if (!noTexture) {
            dt->dwTexNo = g_lpDDDevice->dwTexCount++;
            if (!dt->lpVB && FAILED(g_lpD3DDevice->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, kFVF, D3DPOOL_MANAGED,
                                                                      &dt->lpVB, nullptr))) {
                dt->lpVB = nullptr;
                WriteReport("CreateVertexBuffer Err");
                return false;
            }
        }
    }
    rec->nMemType = memType;
    if (noTexture) {
        rec->nWidth = rec->nTexWidth = w;
        rec->nHeight = rec->nTexHeight = h;
        return true;
    }
    int tw = w, th = h;
    DDAdjustTextureSize(&tw, &th);
    if (!DDCheckTextureSize(tw, th)) WriteReport("上記の理由でテクスチャの描画が失敗する可能性があります。(空)");
    bool system = keepIdentity ? dt->bSysMem != 0 : place == DTMEMORYTYPE_SYSTEM;
    D3DFORMAT fmt = g_lpDDDevice->TexFormat;
    if (!system) {
        dt->bRenderTarget = 1;
        HRESULT hr = D3DXCreateTexture(g_lpD3DDevice, (UINT)tw, (UINT)th, 1, D3DUSAGE_RENDERTARGET, fmt,
                                       D3DPOOL_DEFAULT, &dt->lpTexture);
        if (hr == D3DERR_OUTOFVIDEOMEMORY) {
            WriteReport("VRAM不足のためシステムメモリにテクスチャを作成します。(空)");
            system = true;
        } else if (FAILED(hr)) {
            dt->lpTexture = nullptr;
            return false;
        }
    }
    if (system) {
        // Also when a restore switches to system memory: the texture it then uses is made here.
        dt->bRenderTarget = 0;
        dt->bSysMem = 1;
        if (dt->lpTexture) dt->lpTexture->Release();
        dt->lpTexture = nullptr;
        HRESULT hr = D3DXCreateTexture(g_lpD3DDevice, (UINT)tw, (UINT)th, 1, D3DUSAGE_DYNAMIC, fmt, D3DPOOL_SYSTEMMEM,
                                       &dt->lpTexture);
        if (FAILED(hr)) {
            dt->lpTexture = nullptr;
            WriteReport("D3DXCreateTexture Err hr = %x", (unsigned)hr);
            ShowDeviceMessageAndClose();
            return false;
        }
    }
    if (dt->lpSurface) dt->lpSurface->Release();
    HRESULT hr = dt->lpTexture->GetSurfaceLevel(0, &dt->lpSurface);
    if (FAILED(hr)) {
        dt->lpSurface = nullptr;
        WriteReport("GetSurfaceLevel Err hr = %x", (unsigned)hr);
        return false;
    }
    dt->lpTexture->GetLevelDesc(0, &dt->desc);
    if (dt->bRenderTarget && !dt->lpSysSurface) {
        hr = g_lpD3DDevice->CreateOffscreenPlainSurface(dt->desc.Width, dt->desc.Height, fmt, D3DPOOL_SYSTEMMEM,
                                                        &dt->lpSysSurface, nullptr);
        if (FAILED(hr)) {
            dt->lpSysSurface = nullptr;
            WriteReport("CreateOffscreenPlainSurface Err hr = %x", (unsigned)hr);
            ShowDeviceMessageAndClose();
            return false;
        }
    }
    rec->nWidth = w;
    rec->nHeight = h;
    rec->nTexWidth = (int)dt->desc.Width;
    rec->nTexHeight = (int)dt->desc.Height;
    if (dt->bRenderTarget) ClearRecord(rec, g_lpDDDevice->dwClearTex32, nullptr);
    if (!keepIdentity) g_TextureList.push_back(rec);
    return true;
}

int DDCreateSurfaceFromFile(DDSURFACEDATA* rec, const char* path, int colourKey, int bpp, int memType, int place,
                            int noTexture, int opacityMask, int mirrorW, int mirrorH, int keepIdentity) {
    if (!rec || !path) return 8;
    int bw = 0, bh = 0;
    if (!g_lpDDDevice) {
        if (!BitmapSize(path, &bw, &bh, nullptr)) {
            ReportBitmapFailure(path);
            return 8;
        }
        if (!DDCreateSurface(rec, bw, bh, colourKey, memType, 0, 0, keepIdentity)) return 4;
        if (!DDCopyBitmap(rec, path, mirrorW, mirrorH)) {
            ReportBitmapFailure(path);
            return 8;
        }
        DDCopyName(rec->szName, "OffScreenFromFile");
        DDCopyName(rec->szFileName, path);
    } else {
        if (!rec->lpDT) rec->lpDT = new DDTEXTUREDATA{};
        DDTEXTUREDATA* dt = rec->lpDT;
        if (!keepIdentity) {
            DDCopyName(rec->szName, "OffScreenFromFile");
            DDCopyName(rec->szFileName, path);
            dt->bSysMem = place == DTMEMORYTYPE_SYSTEM ? 1 : 0;
            dt->bColorKey = colourKey == 1 ? 1 : 0;
            if (!noTexture) {
                dt->dwTexNo = g_lpDDDevice->dwTexCount++;
                HRESULT hr = dt->lpVB ? D3D_OK
                                      : g_lpD3DDevice->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, kFVF, D3DPOOL_MANAGED,
                                                                          &dt->lpVB, nullptr);
                if (FAILED(hr)) {
                    dt->lpVB = nullptr;
                    WriteReport("CreateVertexBuffer Err %x", (unsigned)hr);
                    return 4;
                }
            }
        }
        if (!BitmapSize(path, &bw, &bh, nullptr)) {
            if (path[0]) WriteReport("LoadImage Err %s", path);
            ReportBitmapFailure(path);
            return 8;
        }
        if (noTexture) {
            rec->nWidth = rec->nTexWidth = bw;
            rec->nHeight = rec->nTexHeight = bh;
            rec->nMirrorW = mirrorW;
            rec->nMirrorH = mirrorH;
            rec->nMemType = memType;
            return 0;
        }
        int tw = bw, th = bh;
        DDAdjustTextureSize(&tw, &th);
        if (!DDCheckTextureSize(tw, th))
            WriteReport("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)", path);
        const BYTE* t = bpp == 16 ? g_lpDDDevice->byTrans2 : g_lpDDDevice->byTrans;
        // Only a colour-keyed slot has its transparent colour taken out; the others are opaque
        // pictures, drawn the same way by both back ends.
        D3DCOLOR key = colourKey == 1 ? (0xFF000000u | (DWORD)t[2] << 16 | (DWORD)t[1] << 8 | t[0]) : 0;
        D3DFORMAT fmt = g_lpDDDevice->TexFormat;
        bool system = keepIdentity ? dt->bSysMem != 0 : place == DTMEMORYTYPE_SYSTEM;
        if (dt->lpTexture) dt->lpTexture->Release();
        dt->lpTexture = nullptr;
        if (!system) {
            dt->bRenderTarget = 0;
            HRESULT hr = D3DXCreateTextureFromFileExA(g_lpD3DDevice, path, (UINT)tw, (UINT)th, 1, 0, fmt,
                                                      D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_DEFAULT, key, nullptr,
                                                      nullptr, &dt->lpTexture);
            if (hr == D3DERR_OUTOFVIDEOMEMORY) {
                WriteReport("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)", path);
                system = true;
            } else if (FAILED(hr)) {
                dt->lpTexture = nullptr;
                WriteReport("テクスチャの作成に失敗。(%s)", path);
                return hr;
            }
        }
        if (system) {
            dt->bRenderTarget = 0;
            dt->bSysMem = 1;
            HRESULT hr = D3DXCreateTextureFromFileExA(g_lpD3DDevice, path, (UINT)tw, (UINT)th, 1, D3DUSAGE_DYNAMIC, fmt,
                                                      D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_DEFAULT, key, nullptr,
                                                      nullptr, &dt->lpTexture);
            if (FAILED(hr)) {
                dt->lpTexture = nullptr;
                WriteReport("D3DXCreateTextureFromFileEx Err %x %s", (unsigned)hr, path);
                ReportBitmapFailure(path);
                ShowDeviceMessageAndClose();
                return hr;
            }
        }
        if (dt->lpSurface) dt->lpSurface->Release();
        HRESULT hr = dt->lpTexture->GetSurfaceLevel(0, &dt->lpSurface);
        if (FAILED(hr)) {
            dt->lpSurface = nullptr;
            WriteReport("GetSurfaceLevel Err hr = %x", (unsigned)hr);
            return hr;
        }
        dt->lpTexture->GetLevelDesc(0, &dt->desc);
        rec->nWidth = bw;
        rec->nHeight = bh;
        rec->nTexWidth = (int)dt->desc.Width;
        rec->nTexHeight = (int)dt->desc.Height;
        if (mirrorW && !mirrorH) {
            DDSURFACEDATA tmp{};
            if (DDCreateSurfaceFromFile(&tmp, path, colourKey, bpp, memType, place, 0, 0, 0, 0, 1) == 0)
                DDCreateMirror(rec, &tmp, mirrorW, mirrorH);
            DDFreeSurfaceData(&tmp);
        }
        if (!keepIdentity) g_TextureList.push_back(rec);
    }
    rec->nMirrorW = mirrorW;
    rec->nMirrorH = mirrorH;
    rec->nMemType = g_lpDDDevice ? memType : rec->nMemType;
    if (!keepIdentity) {  // a record made again keeps its mask: its pixels are the same
        BYTE*& mask = rec->lpDT ? rec->lpDT->lpOpacityMask : rec->lpDD->lpOpacityMask;
        if (opacityMask && bpp != 8) {
            DDBuildOpacityMask(mask, rec);
        } else {
            delete[] mask;
            mask = nullptr;
        }
    }
    return 0;
}

bool DDCreateMirror(DDSURFACEDATA* rec, DDSURFACEDATA* source, int mirrorW, int mirrorH) {
    if (!mirrorW || mirrorH || !rec || !source) return true;
    if (rec->lpDT && rec->lpDT->bRenderTarget) ClearRecord(rec, g_lpDDDevice->dwClearTex32, nullptr);
    int W = mirrorW;
    for (int i = 0; i < source->nWidth / W; ++i)
        DDBltStretch(rec, i * W, 0, W, source->nHeight, source, (i + 1) * W, 0, -W, source->nHeight, 0);
    return true;
}

bool DDCopyBitmap(DDSURFACEDATA* rec, const char* path, int mirrorW, int mirrorH) {
    if (!rec || !rec->lpDD || !rec->lpDD->lpSurface) return false;
    HBITMAP hbm = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!hbm) return false;
    BITMAP bm{};
    GetObjectA(hbm, sizeof bm, &bm);
    int bw = bm.bmWidth, bh = bm.bmHeight;
    int W = mirrorW > 0 ? mirrorW : bw, H = mirrorH > 0 ? mirrorH : bh;
    bool ok = bw <= rec->nWidth && bh <= rec->nHeight;
    // Source pixel of a destination pixel: each cell mirrored in place.
    auto sourceX = [&](int x) { return mirrorW > 0 && x < (bw / W) * W ? (x / W) * W + (W - 1 - x % W) : x; };
    auto sourceY = [&](int y) { return mirrorH > 0 && y < (bh / H) * H ? (y / H) * H + (H - 1 - y % H) : y; };
    if (ok && g_nDDBpp == 16 && bm.bmBitsPixel >= 24) {
        // 16 bits from true colour: the transparent colour becomes the colour-key value itself and
        // no other colour may turn into it.
        gdi::Dib dib;
        ok = gdi::LoadBmpFile(path, &dib, nullptr);
        cSurfaceLock lock(rec, true);
        ok = ok && lock.Ok();
        const BYTE* t = g_lpDDContext ? g_lpDDContext->byTrans2 : nullptr;
        DWORD transparent = t ? ((DWORD)t[2] << 16 | (DWORD)t[1] << 8 | t[0]) : 0xFFFFFFFFu;
        for (int y = 0; ok && y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                DWORD c = dib.pixels.GetArgb(sourceX(x), sourceY(y)) & 0xFFFFFF;
                DWORD p;
                if (c == transparent) {
                    p = g_dwDDColorKey & 0xFFFF;
                } else {
                    p = Pack16(g_dwChannel2, 0, c >> 16, (c >> 8) & 0xFF, c & 0xFF);
                    if (p == (g_dwDDColorKey & 0xFFFF)) p ^= 1;
                }
                lock.Set(x, y, p);
            }
    } else if (ok) {
        HDC dc = nullptr;
        ok = SUCCEEDED(rec->lpDD->lpSurface->GetDC(&dc));
        if (ok) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, hbm);
            if (!mirrorW && !mirrorH) {
                BitBlt(dc, 0, 0, bw, bh, mem, 0, 0, SRCCOPY);
            } else {
                for (int j = 0; j * H < bh; ++j)
                    for (int i = 0; i * W < bw; ++i) {
                        int cw = std::min(W, bw - i * W), ch = std::min(H, bh - j * H);
                        bool mx = mirrorW > 0 && cw == W, my = mirrorH > 0 && ch == H;
                        StretchBlt(dc, mx ? i * W + W - 1 : i * W, my ? j * H + H - 1 : j * H, mx ? -cw : cw,
                                   my ? -ch : ch, mem, i * W, j * H, cw, ch, SRCCOPY);
                    }
            }
            SelectObject(mem, old);
            DeleteDC(mem);
            rec->lpDD->lpSurface->ReleaseDC(dc);
        }
    }
    DeleteObject(hbm);
    return ok;
}

int DDRestoreBitmap(DDSURFACEDATA* rec) {
    if (g_lpDDDevice) return 1;
    return DDCopyBitmap(rec, rec->szFileName, rec->nMirrorW, rec->nMirrorH) ? 1 : 0;
}

bool DDReloadSurfaces(DDSURFACEDATA* records, const int* indexList, int count) {
    if (!records || !indexList || !g_lpDDFileTable) return false;
    for (int n = 0; n < count; ++n) {
        int k = indexList[n];
        if (k < 0 || k >= g_nDDSlotCount) {
            WriteReport("err V[%d] ( %d , %d )", k, g_nDDSlotCount, (int)sizeof(SURFACEFILEDESC));
            PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
            return false;
        }
        DDSURFACEDATA* rec = &records[k];
        DDReleaseSurface(rec);
        const SURFACEFILEDESC& d = g_lpDDFileTable[k];
        const DWORD* w = d.dwWord;
        if (std::strcmp(d.szPath, "E") != 0) {
            int r = DDCreateSurfaceFromFile(rec, d.szPath, (int)w[0], g_nDDBpp, (int)w[1], (int)w[2], (int)w[3],
                                            (int)w[4], (int)w[6], (int)w[7], 0);
            if (!DDCheckCreateResult(r)) {
                DDReleaseSurface(rec);  // a failed load leaves nothing half made
                if (w[5] == 0) {
                    MesBoxF("%s の読み込みに失敗！", d.szPath);
                    return false;
                }
            }
        } else if (!DDCreateSurface(rec, (int)w[8], (int)w[9], (int)w[0], (int)w[1], (int)w[2], (int)w[3], 0)) {
            DDReleaseSurface(rec);
            if (w[5] == 0) {
                OutOfMemoryClose();
                return false;
            }
        }
    }
    return true;
}

int DDCheckBitmapSize(int* tooBig, const char* path, int maxW, int maxH) {
    if (g_lpDDDevice) return 1;
    int w = 0, h = 0;
    if (!BitmapSize(path, &w, &h, nullptr)) return 0;
    if (tooBig) *tooBig = (w > maxW || h > maxH) ? 1 : 0;
    return 1;
}

// ---- palette and transparent colour ----

int DDLoadPaletteFromFile(PALETTEENTRY* palette, const char* path) {
    HBITMAP hbm = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!hbm) return 0;
    BITMAP bm{};
    GetObjectA(hbm, sizeof bm, &bm);
    if (bm.bmBitsPixel == 8 && palette) {
        HDC mem = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(mem, hbm);
        RGBQUAD table[256] = {};
        GetDIBColorTable(mem, 0, 256, table);
        SelectObject(mem, old);
        DeleteDC(mem);
        bool dd8 = !g_lpDDDevice && g_nDDBpp == 8;
        for (int i = 0; i < 256; ++i) {
            BYTE flags = g_lpDDDevice ? 0xFF : dd8 ? ((i < 10 || i > 245) ? 2 : 1) : 0;
            palette[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, flags};
        }
        if (dd8 && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, palette);
    }
    DeleteObject(hbm);
    return 1;
}

void DDSetTransmit(BYTE red, BYTE green, BYTE blue) {
    if (g_lpDDDevice) {
        DDDEVICE& d = *g_lpDDDevice;
        d.byTrans[0] = blue;
        d.byTrans[1] = green;
        d.byTrans[2] = red;
        d.dwClearTex32 = 0;
        if (g_nDDBpp == 16) {
            // The channels are the key pixel's own (5 bits); Clear takes them widened to 8 bits,
            // so the cleared pixels are the key colour in the back buffer's format.
            d.dwClearBack32 = 0xFF000000u | Expand(red & g_dwChannel2[CH_RMAX], g_dwChannel2[CH_RMAX]) << 16 |
                              Expand(green & g_dwChannel2[CH_GMAX], g_dwChannel2[CH_GMAX]) << 8 |
                              Expand(blue & g_dwChannel2[CH_BMAX], g_dwChannel2[CH_BMAX]);
            d.wClearTex16 = 0;
            d.wClearBack16 = (WORD)(((red & g_dwChannel2[CH_RMAX]) << g_dwChannel2[CH_RSHIFT]) |
                                    ((green & g_dwChannel2[CH_GMAX]) << g_dwChannel2[CH_GSHIFT]) |
                                    ((blue & g_dwChannel2[CH_BMAX]) << g_dwChannel2[CH_BSHIFT]) |
                                    (1u << g_dwChannel2[CH_ASHIFT]));
        } else {
            d.dwClearBack32 = 0xFF000000u | (DWORD)red << 16 | (DWORD)green << 8 | blue;
            d.wClearTex16 = d.wClearBack16 = 0;
            g_dwDDColorKey = 0;
        }
        return;
    }
    if (g_nDDBpp == 16) {
        g_dwDDColorKey = Pack16(g_dwChannel2, 0, red, green, blue) & 0xFFFF;
    } else {
        g_dwDDColorKey = (DWORD)red << 16 | (DWORD)green << 8 | blue;
        if (g_lpDDContext) {
            g_lpDDContext->byTrans[0] = blue;
            g_lpDDContext->byTrans[1] = green;
            g_lpDDContext->byTrans[2] = red;
        }
    }
}

bool DDSetTransmitFromFile(const SURFACEFILEDESC* desc) {
    if (!desc) return false;
    gdi::Dib dib;
    if (!gdi::LoadBmpFile(desc->szPath, &dib, nullptr)) return false;
    DDSURFACEDATA tmp{};
    bool ok = false;
    if (DDCreateSurfaceFromFile(&tmp, desc->szPath, 0, g_nDDBpp, 1, DTMEMORYTYPE_SYSTEM, 0, 0, 0, 0, 1) == 0) {
        DWORD pixel = 0;
        {
            cSurfaceLock lock(&tmp, false);
            ok = lock.Ok();
            if (ok) pixel = lock.Get(0, 0);
        }
        DWORD fileColour = dib.pixels.GetArgb(0, 0) & 0xFFFFFF;
        if (ok && !g_lpDDDevice) {
            g_dwDDColorKey = g_nDDBpp == 32 ? (pixel & 0xFFFFFF) : pixel;
            if (g_lpDDContext) {
                BYTE* t = g_nDDBpp == 32 ? g_lpDDContext->byTrans : g_lpDDContext->byTrans2;
                t[0] = (BYTE)fileColour;
                t[1] = (BYTE)(fileColour >> 8);
                t[2] = (BYTE)(fileColour >> 16);
                if (g_nDDBpp == 32) std::memcpy(g_lpDDContext->byTrans2, g_lpDDContext->byTrans, 3);
            }
        } else if (ok && g_nDDBpp == 16) {
            if (dib.bitCount <= 8 && dib.pixels.palette) {
                DWORD c0 = dib.pixels.palette->argb[0];
                g_lpDDDevice->byTrans2[0] = (BYTE)c0;
                g_lpDDDevice->byTrans2[1] = (BYTE)(c0 >> 8);
                g_lpDDDevice->byTrans2[2] = (BYTE)(c0 >> 16);
            }
            DDSetTransmit((BYTE)((pixel >> g_dwChannel2[CH_RSHIFT]) & g_dwChannel2[CH_RMAX]),
                          (BYTE)((pixel >> g_dwChannel2[CH_GSHIFT]) & g_dwChannel2[CH_GMAX]),
                          (BYTE)((pixel >> g_dwChannel2[CH_BSHIFT]) & g_dwChannel2[CH_BMAX]));
        } else if (ok) {
            DDSetTransmit((BYTE)(pixel >> 16), (BYTE)(pixel >> 8), (BYTE)pixel);
        }
    }
    DDFreeSurfaceData(&tmp);
    return ok;
}

// ---- fills ----

int DDFillRect(DDSURFACEDATA* rec, int x, int y, int w, int h, int palNum) {
    if (!rec) return 0;
    if (g_lpDDDevice) {
        DDFillRectD3D(rec, x, y, w, h, PalNumToRGB(palNum));
        return 1;
    }
    if (!rec->lpDD || !rec->lpDD->lpSurface) return 0;
    int64_t l = std::max(0, x), t = std::max(0, y);
    int64_t r = std::min<int64_t>((int64_t)x + w, rec->nWidth), b = std::min<int64_t>((int64_t)y + h, rec->nHeight);
    if (l >= r || t >= b) return 0;
    RECT rc{(LONG)l, (LONG)t, (LONG)r, (LONG)b};
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = PalNumToRGB(palNum);
    return SUCCEEDED(rec->lpDD->lpSurface->Blt(&rc, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx)) ? 1 : 0;
}

int DDFillSurface(DDSURFACEDATA* rec, int palNum) { return rec ? DDFillRect(rec, 0, 0, rec->nWidth, rec->nHeight, palNum) : 0; }

void DDFillRectD3D(DDSURFACEDATA* rec, int x, int y, int w, int h, DWORD argb) {
    if (!g_lpDDDevice || !rec) return;
    DDTextureOf(rec);
    DDIsVirtualBackBuffer(rec);
    DDTEXTUREDATA* dt = rec->lpDT;
    if (!dt) return;
    int64_t l = std::max(0, x), t = std::max(0, y);
    int64_t r = std::min<int64_t>((int64_t)x + w, rec->nWidth), b = std::min<int64_t>((int64_t)y + h, rec->nHeight);
    if (l >= r || t >= b) return;
    if (!dt->bRenderTarget) {
        cSurfaceLock lock(rec, true);
        if (!lock.Ok()) return;
        DWORD v = argb;
        if (lock.Bpp() == 16) {
            bool fullBack = rec == &g_BackBufferSD && !g_bDDWindowMode;
            v = fullBack ? Pack16(g_dwChannel1, 0, argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF)
                         : Pack16(g_dwChannel2, argb >> 24, argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF);
        }
        for (int64_t yy = t; yy < b; ++yy)
            for (int64_t xx = l; xx < r; ++xx) lock.Set((int)xx, (int)yy, v);
        return;
    }
    DDDEVICE& d = *g_lpDDDevice;
    bool back = rec == &g_BackBufferSD;
    DWORD clear = g_nDDBpp == 16 ? (back ? d.wClearBack16 : d.wClearTex16) : (back ? d.dwClearBack32 : d.dwClearTex32);
    if (dt->bColorKey && argb == clear) {
        D3DRECT rc{(LONG)l, (LONG)t, (LONG)r, (LONG)b};
        ClearRecord(rec, back ? d.dwClearBack32 : d.dwClearTex32, &rc);
        return;
    }
    DDFillQuad(rec, (int)l, (int)t, (int)(r - l), (int)(b - t), argb);
}

void DDFillSurfaceD3D(DDSURFACEDATA* rec, DWORD argb) {
    if (rec) DDFillRectD3D(rec, 0, 0, rec->nWidth, rec->nHeight, argb);
}

// ---- opacity mask ----

bool DDBuildOpacityMask(BYTE*& mask, DDSURFACEDATA* rec) {
    cSurfaceLock lock(rec, false);
    if (!lock.Ok()) {
        OutOfMemoryClose();
        return false;
    }
    delete[] mask;
    mask = nullptr;
    int w = rec->nWidth, h = rec->nHeight;
    mask = new (std::nothrow) BYTE[(size_t)w * h];
    if (!mask) {
        OutOfMemoryClose();
        return false;
    }
    const BYTE* t = g_lpDDContext ? g_lpDDContext->byTrans : nullptr;
    DWORD trans = t ? ((DWORD)t[2] << 16 | (DWORD)t[1] << 8 | t[0]) : 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            DWORD p = lock.Get(x, y);
            bool opaque;
            if (g_lpDDDevice)  // the loader made the transparent colour transparent black
                opaque = lock.Bpp() == 16 ? (p & 0x8000) != 0 : (p >> 24) != 0;
            else if (lock.Bpp() == 16 || lock.Bpp() == 8)
                opaque = p != g_dwDDColorKey;
            else
                opaque = (p & 0xFFFFFF) != trans;
            mask[(size_t)y * w + x] = opaque ? 1 : 0;
        }
    return true;
}

// ---- releasing and the dynamic lists ----

void DDFreeSurfaceData(DDSURFACEDATA* rec) {
    if (!rec) return;
    if (DDTEXTUREDATA* dt = rec->lpDT) {
        // A record that draws another's texture owns none of it; what it owns itself goes.
        if (dt->lpTexture) dt->lpTexture->Release();
        if (dt->lpVB) dt->lpVB->Release();
        if (dt->lpSysSurface) dt->lpSysSurface->Release();
        if (dt->lpSurface) dt->lpSurface->Release();
        g_TextureList.remove(rec);
        delete[] dt->lpOpacityMask;
        delete dt;
        rec->lpDT = nullptr;
    }
    if (DDSURFACEHOLDER* h = rec->lpDD) {
        if (h->lpSurface) h->lpSurface->Release();
        delete[] h->lpOpacityMask;
        delete h;
        rec->lpDD = nullptr;
    }
}

void DDReleaseSurface(DDSURFACEDATA* rec) { DDFreeSurfaceData(rec); }

void DDReleaseSurfaceVector(std::vector<DDSURFACEDATA>& records) {
    for (DDSURFACEDATA& r : records) DDReleaseSurface(&r);
}

void DDReleaseSurfaceArray(std::list<DDSURFACEDATA>& records) {
    for (DDSURFACEDATA& r : records) DDReleaseSurface(&r);
}

namespace {
SURFACEFILEDESC BlankDesc(int colourKey, int memType, int place, int noTexture) {
    SURFACEFILEDESC d{};
    d.dwWord[0] = (DWORD)colourKey;
    d.dwWord[1] = (DWORD)memType;
    d.dwWord[2] = (DWORD)place;
    d.dwWord[3] = (DWORD)noTexture;
    return d;
}
}  // namespace

bool DDAddBlankSurface(std::vector<DDSURFACEDATA>& records, std::vector<SURFACEFILEDESC>& descs, int w, int h,
                       int colourKey, int memType, int place, int noTexture) {
    // Records are listed in the texture list by address: a vector that moves its records must
    // not leave the list pointing at the old places.
    std::vector<DDSURFACEDATA*> old;
    for (DDSURFACEDATA& r : records) old.push_back(&r);
    records.push_back(DDSURFACEDATA{});
    for (size_t i = 0; i < old.size(); ++i)
        if (old[i] != &records[i])
            std::replace(g_TextureList.begin(), g_TextureList.end(), old[i], &records[i]);
    descs.push_back(BlankDesc(colourKey, memType, place, noTexture));
    return DDCreateSurface(&records.back(), w, h, colourKey, memType, place, noTexture, 0);
}

bool DDAddBlankSurfaceToList(std::list<DDSURFACEDATA>& records, std::list<SURFACEFILEDESC>& descs, int w, int h,
                             int colourKey, int memType, int place, int noTexture) {
    records.push_back(DDSURFACEDATA{});
    descs.push_back(BlankDesc(colourKey, memType, place, noTexture));
    return DDCreateSurface(&records.back(), w, h, colourKey, memType, place, noTexture, 0);
}

int DDRemoveSurface(std::list<DDSURFACEDATA>& records, std::list<SURFACEFILEDESC>& descs, DDSURFACEDATA* rec) {
    size_t i = 0;
    for (auto it = records.begin(); it != records.end(); ++it, ++i) {
        if (&*it != rec) continue;
        DDReleaseSurface(rec);
        records.erase(it);
        if (i < descs.size()) descs.erase(std::next(descs.begin(), (long)i));
        return 1;
    }
    return 0;
}
