// DDBlt and friends, clipping, cell mirroring and the two draw batches.
#include "media/blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/report.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "platform/d3d9/opacity.h"

namespace {

struct VERTEX {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
static_assert(sizeof(VERTEX) == 28, "vertex layout");

constexpr DWORD kFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
// A run never holds more quads than 16-bit indices can address.
constexpr int kMaxRun = 16384;

struct QUEUEDQUAD {
    uint64_t key;  // order key of the source's texture, then the draw sequence: never equal
    DDSURFACEDATA* dst;
    DDSURFACEDATA* src;
    int x, y, dw, dh, sx, sy, sw, sh;
    int flags;
    DWORD color, colorOp, alphaOp;
};

struct QUEUEDFILL {
    DDSURFACEDATA* dst;
    int x, y, w, h;
    DWORD color;
};

struct {
    DWORD active = 0, sort = 0;
    std::vector<QUEUEDQUAD> quads;
    std::vector<DDSURFACEDATA*> textures;
    DWORD seq = 0;
} g_Batch;

struct {
    DWORD active = 0;
    std::vector<QUEUEDFILL> fills;
} g_FillBatch;

DDBATCHSTATS g_LastStats{0, 0};
bool g_bVBErrorReported = false;

void Corners(VERTEX* v, int x, int y, int dw, int dh, DWORD color, int sx, int sy, int sw, int sh, int tw, int th) {
    float fx = (float)x - 0.5f, fy = (float)y - 0.5f;
    float u0 = (float)sx / (float)tw, u1 = (float)(sx + sw) / (float)tw;
    float v0 = (float)sy / (float)th, v1 = (float)(sy + sh) / (float)th;
    v[0] = {fx, fy, 0, 1, color, u0, v0};
    v[1] = {fx, fy + (float)dh, 0, 1, color, u0, v1};
    v[2] = {fx + (float)dw, fy, 0, 1, color, u1, v0};
    v[3] = {fx + (float)dw, fy + (float)dh, 0, 1, color, u1, v1};
}

void StageStates(DWORD colorOp, DWORD alphaOp) {
    IDirect3DDevice9* d = g_lpD3DDevice;
    d->SetTextureStageState(0, D3DTSS_COLOROP, colorOp);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, alphaOp);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}

// The clear colour of an opaque blit from a colour-keyed source (as Clear takes it).
DWORD OpaqueClear(DDSURFACEDATA* dst) {
    return dst == &g_BackBufferSD ? g_lpDDDevice->dwClearBack32 : g_lpDDDevice->dwClearTex32;
}

// Whether an opaque blit from a colour-keyed source needs the clear under it. It does not when
// the copy replaces every pixel it covers: every texel opaque, and the stage keeps that alpha
// (an opaque draw colour), so source-alpha blending leaves nothing of what was there.
bool NeedsOpaqueClear(DDSURFACEDATA* src, DWORD color, DWORD alphaOp) {
    const bool keepsAlpha = alphaOp == D3DTOP_SELECTARG1 || alphaOp == D3DTOP_SELECTARG2 ||
                            alphaOp == D3DTOP_MODULATE || alphaOp == D3DTOP_DISABLE;
    return !(keepsAlpha && (color >> 24) == 0xFF && d3d9::TextureIsOpaque(src->lpDT->lpTexture));
}

void ClearRect(int x, int y, int w, int h, DWORD color) {
    D3DRECT r{x, y, x + w, y + h};
    g_lpD3DDevice->Clear(1, &r, D3DCLEAR_TARGET, color, 1.0f, 0);
}

void ReportVertexBufferFailure() {
    if (g_bVBErrorReported) return;  // a lasting failure is reported once
    g_bVBErrorReported = true;
    WriteReport("CreateVertexBuffer Err");
}

// Vertex and index buffers for n quads; false (nothing kept) when either cannot be made.
bool MakeBuffers(const std::vector<VERTEX>& verts, int n, IDirect3DVertexBuffer9** vb, IDirect3DIndexBuffer9** ib,
                 bool* lockFailed) {
    *vb = nullptr;
    *ib = nullptr;
    *lockFailed = false;
    if (FAILED(g_lpD3DDevice->CreateVertexBuffer((UINT)n * 112, D3DUSAGE_WRITEONLY, kFVF, D3DPOOL_MANAGED, vb,
                                                 nullptr))) {
        *vb = nullptr;
        ReportVertexBufferFailure();
        return false;
    }
    g_bVBErrorReported = false;
    void* p = nullptr;
    if (FAILED((*vb)->Lock(0, 0, &p, 0))) {
        *lockFailed = true;
        return false;
    }
    std::memcpy(p, verts.data(), (size_t)n * 112);
    (*vb)->Unlock();
    if (FAILED(g_lpD3DDevice->CreateIndexBuffer((UINT)n * 8, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, ib,
                                                nullptr))) {
        *ib = nullptr;
        return false;
    }
    WORD* idx = nullptr;
    if (FAILED((*ib)->Lock(0, 0, (void**)&idx, 0))) {
        *lockFailed = true;
        return false;
    }
    for (int i = 0; i < 4 * n; ++i) idx[i] = (WORD)i;
    (*ib)->Unlock();
    return true;
}

void ReleaseBuffers(IDirect3DVertexBuffer9*& vb, IDirect3DIndexBuffer9*& ib) {
    if (vb) vb->Release();
    if (ib) ib->Release();
    vb = nullptr;
    ib = nullptr;
}

bool SameRun(const QUEUEDQUAD& a, const QUEUEDQUAD& b) {
    return a.dst == b.dst && a.src == b.src && a.flags == b.flags && a.color == b.color && a.colorOp == b.colorOp &&
           a.alphaOp == b.alphaOp;
}

// The processor path: copies (and stretches, mirrors) pixels between locked records.
void SoftwareBlt(DDSURFACEDATA* dst, int x, int y, int dw, int dh, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                 int flags) {
    cSurfaceLock ls(src, false);
    if (!ls.Ok()) return;
    cSurfaceLock ld(dst, true);
    if (!ld.Ok() || ls.Bpp() != ld.Bpp()) return;
    // Reads stay inside what both records hold (and what their surfaces hold).
    int srcW = src->nWidth, srcH = src->nHeight, dstW = dst->nWidth, dstH = dst->nHeight;
    if (src->lpDT && src->lpDT->desc.Width) {
        srcW = std::min(srcW, (int)src->lpDT->desc.Width);
        srcH = std::min(srcH, (int)src->lpDT->desc.Height);
    }
    if (dst->lpDT && dst->lpDT->desc.Width) {
        dstW = std::min(dstW, (int)dst->lpDT->desc.Width);
        dstH = std::min(dstH, (int)dst->lpDT->desc.Height);
    }
    bool to565 = ls.Bpp() == 16 && dst == &g_BackBufferSD && !g_bDDWindowMode;
    float rx = (float)sw / (float)dw, ry = (float)sh / (float)dh;
    bool same = sw == dw && sh == dh;
    for (int j = 0; j < dh; ++j) {
        int ty = y + j;
        int row = same ? sy + j : sy + (int)((float)j * ry);
        if (ty < 0 || ty >= dstH || row < 0 || row >= srcH) continue;
        for (int i = 0; i < dw; ++i) {
            int tx = x + i, col;
            if (same) {
                col = sx + i;
            } else {
                int c = (int)((float)i * rx);
                if (sw >= 0) {
                    if (c < 0 || c >= sw) continue;
                    col = sx + c;
                } else {
                    if (!(sw < c && c <= 0)) continue;
                    col = sx + c - 1;
                }
            }
            if (tx < 0 || tx >= dstW || col < 0 || col >= srcW) continue;
            DWORD p = ls.Get(col, row);
            if (flags == 1) {
                if (ls.Bpp() == 16 ? !(p & 0xA000) : !(p >> 24)) continue;
            }
            if (to565) {
                DWORD r = (p >> g_dwChannel2[CH_RSHIFT]) & g_dwChannel2[CH_RMAX];
                DWORD g = (p >> g_dwChannel2[CH_GSHIFT]) & g_dwChannel2[CH_GMAX];
                DWORD b = (p >> g_dwChannel2[CH_BSHIFT]) & g_dwChannel2[CH_BMAX];
                p = (r << g_dwChannel1[CH_RSHIFT]) | ((g * 2) << g_dwChannel1[CH_GSHIFT]) | (b << g_dwChannel1[CH_BSHIFT]);
            }
            ld.Set(tx, ty, p);
        }
    }
}

}  // namespace

void DDMirrorSourceRect(DDSURFACEDATA* src, int* sx, int* sy, int* sw, int* sh) {
    if (!g_lpDDDevice || !src || !src->lpLink) return;
    int W = src->nMirrorW, H = src->nMirrorH;
    if (W) {
        if (*sw == W) {
            *sx += W;
            *sw = -*sw;
        } else if (*sw < W) {
            *sx = *sx - 2 * (*sx % W) + W;
            *sw = -*sw;
        }
    }
    if (H) {
        if (*sh == H) {
            *sy += H;
            *sh = -*sh;
        } else if (*sh < H) {
            *sy = *sy - 2 * (*sy % H) + H;
            *sh = -*sh;
        }
    }
}

int DDClipRect(DDSURFACEDATA* dst, int* x, int* y, int* dw, int* dh, DDSURFACEDATA* src, int* sx, int* sy, int* sw,
               int* sh) {
    if (!dst || !src) return 0;
    if (*dw < 1 || *dh < 1 || *sw == 0 || *sh == 0) return 0;
    int64_t srcW = src->nWidth, srcH = src->nHeight, dstW = dst->nWidth, dstH = dst->nHeight;
    if (*dw == *sw && *dh == *sh) {
        // Same size: a source edge cut away moves the destination with it.
        int64_t X = *x, Y = *y, SX = *sx, SY = *sy, W = *sw, H = *sh;
        if (SX < 0) {
            X -= SX;
            W += SX;
            SX = 0;
        }
        if (SY < 0) {
            Y -= SY;
            H += SY;
            SY = 0;
        }
        if (SX + W > srcW) W = srcW - SX;
        if (SY + H > srcH) H = srcH - SY;
        if (X < 0) {
            SX -= X;
            W += X;
            X = 0;
        }
        if (Y < 0) {
            SY -= Y;
            H += Y;
            Y = 0;
        }
        if (X + W > dstW) W = dstW - X;
        if (Y + H > dstH) H = dstH - Y;
        if (W <= 0 || H <= 0) return 0;
        *x = (int)X;
        *y = (int)Y;
        *sx = (int)SX;
        *sy = (int)SY;
        *sw = *dw = (int)W;
        *sh = *dh = (int)H;
        return 1;
    }
    // Different sizes: cut the source to its record and the destination in proportion.
    bool d3d = g_lpDDDevice != nullptr;
    bool mirrorX = d3d && *sw < 0, mirrorY = d3d && *sh < 0;
    double W0 = std::abs((double)*sw), H0 = std::abs((double)*sh);
    double l = mirrorX ? (double)*sx + *sw : *sx, t = mirrorY ? (double)*sy + *sh : *sy;
    double r = l + (mirrorX || *sw > 0 ? W0 : *sw), b = t + (mirrorY || *sh > 0 ? H0 : *sh);
    if (*sw < 0 && !d3d) return 0;  // DirectDraw draws no mirrored source
    if (*sh < 0 && !d3d) return 0;
    double cl = std::max(l, 0.0), ct = std::max(t, 0.0), cr = std::min(r, (double)srcW), cb = std::min(b, (double)srcH);
    double cw = cr - cl, ch = cb - ct;
    if (cw <= 0 || ch <= 0) return 0;
    double kx = (double)*dw / W0, ky = (double)*dh / H0;
    // The destination keeps the part that shows the kept source.
    double X = (double)*x + (mirrorX ? (r - cr) : (cl - l)) * kx;
    double Y = (double)*y + (mirrorY ? (b - cb) : (ct - t)) * ky;
    int ndw = (int)(cw * kx), ndh = (int)(ch * ky);
    int nx = (int)X, ny = (int)Y;
    int nsx = mirrorX ? (int)cr : (int)cl, nsy = mirrorY ? (int)cb : (int)ct;
    int nsw = mirrorX ? -(int)cw : (int)cw, nsh = mirrorY ? -(int)ch : (int)ch;
    if (!d3d) {
        if (nx < 0) {
            if (nx + ndw < 0 || ndw == 0) return 0;
            int newLeft = (int)(nsx + (double)(-nx) / ndw * nsw);
            nsw -= newLeft - nsx;
            nsx = newLeft;
            ndw += nx;
            nx = 0;
        }
        if ((int64_t)nx + ndw > dstW) {
            if (nx >= dstW || ndw == 0) return 0;
            nsw = (int)((double)(dstW - nx) / ndw * nsw);
            ndw = (int)dstW - nx;
        }
        if (ny < 0) {
            if (ny + ndh < 0 || ndh == 0) return 0;
            int newTop = (int)(nsy + (double)(-ny) / ndh * nsh);
            nsh -= newTop - nsy;
            nsy = newTop;
            ndh += ny;
            ny = 0;
        }
        if ((int64_t)ny + ndh > dstH) {
            if (ny >= dstH || ndh == 0) return 0;
            nsh = (int)((double)(dstH - ny) / ndh * nsh);
            ndh = (int)dstH - ny;
        }
    }
    bool signsKept = ((*sw < 0) ? nsw < 0 : nsw > 0) && ((*sh < 0) ? nsh < 0 : nsh > 0);
    if (!signsKept || ndw <= 0 || ndh <= 0) return 0;
    *x = nx;
    *y = ny;
    *dw = ndw;
    *dh = ndh;
    *sx = nsx;
    *sy = nsy;
    *sw = nsw;
    *sh = nsh;
    return 1;
}

HRESULT DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags) {
    if (g_lpDDDevice) {
        DDBltStretch(dst, x, y, w, h, src, sx, sy, w, h, flags);
        return S_OK;
    }
    if (!dst || !src || !dst->lpDD || !src->lpDD || !dst->lpDD->lpSurface || !src->lpDD->lpSurface) return 0;
    int dw = w, dh = h, sw = w, sh = h;
    if (!DDClipRect(dst, &x, &y, &dw, &dh, src, &sx, &sy, &sw, &sh)) return 0;
    RECT r{sx, sy, sx + sw, sy + sh};
    return dst->lpDD->lpSurface->BltFast((DWORD)x, (DWORD)y, src->lpDD->lpSurface, &r, (DWORD)flags | DDBLTFAST_WAIT);
}

void DDBltStretch(DDSURFACEDATA* dst, int x, int y, int dw, int dh, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                  int flags) {
    if (!dst || !src) return;
    DDMirrorSourceRect(src, &sx, &sy, &sw, &sh);
    if (!g_lpDDDevice) {
        if (!dst->lpDD || !src->lpDD || !dst->lpDD->lpSurface || !src->lpDD->lpSurface) return;
        if (!DDClipRect(dst, &x, &y, &dw, &dh, src, &sx, &sy, &sw, &sh)) return;
        RECT s{sx, sy, sx + sw, sy + sh}, d{x, y, x + dw, y + dh};
        dst->lpDD->lpSurface->Blt(&d, src->lpDD->lpSurface, &s, DDBLT_WAIT | (flags == 1 ? DDBLT_KEYSRC : 0), nullptr);
        return;
    }
    DDTextureOf(dst);
    DDTextureOf(src);
    if (g_lpDDDevice->bVirCopy) {
        dst = &g_BackBufferSD;
        src = &g_VirBackBufferSD;
    } else {
        DDIsVirtualBackBuffer(dst);
        DDIsVirtualBackBuffer(src);
    }
    if (!dst->lpDT || !src->lpDT) return;
    DDTEXTUREDATA* sdt = src->lpDT;
    if (dst->lpDT->bRenderTarget && !sdt->bSysMem) {
        if (!sdt->lpTexture) return;
        if (!DDClipRect(dst, &x, &y, &dw, &dh, src, &sx, &sy, &sw, &sh)) return;
        if (g_Batch.active) {
            uint64_t order = 0;
            if (g_Batch.sort) {
                auto it = std::find(g_Batch.textures.begin(), g_Batch.textures.end(), src);
                if (it != g_Batch.textures.end()) order = (uint64_t)(it - g_Batch.textures.begin() + 1);
            }
            g_Batch.quads.push_back(QUEUEDQUAD{(order << 32) | g_Batch.seq, dst, src, x, y, dw, dh, sx, sy, sw, sh,
                                               flags, g_lpDDDevice->dwDrawColor, g_lpDDDevice->dwColorOp,
                                               g_lpDDDevice->dwAlphaOp});
            ++g_Batch.seq;
            return;
        }
        if (!sdt->lpVB) return;
        VERTEX* v = nullptr;
        if (FAILED(sdt->lpVB->Lock(0, 0, (void**)&v, 0))) return;
        Corners(v, x, y, dw, dh, g_lpDDDevice->dwDrawColor, sx, sy, sw, sh, src->nTexWidth, src->nTexHeight);
        sdt->lpVB->Unlock();
        if (!DDBeginScene() || !DDSetRenderTarget(0, dst)) return;
        if (flags == 0 && sdt->bColorKey && NeedsOpaqueClear(src, g_lpDDDevice->dwDrawColor, g_lpDDDevice->dwAlphaOp))
            ClearRect(x, y, dw, dh, OpaqueClear(dst));
        StageStates(g_lpDDDevice->dwColorOp, g_lpDDDevice->dwAlphaOp);
        g_lpD3DDevice->SetTexture(0, sdt->lpTexture);
        g_lpD3DDevice->SetStreamSource(0, sdt->lpVB, 0, sizeof(VERTEX));
        g_lpD3DDevice->SetFVF(kFVF);
        g_lpD3DDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        DDSetRestTarget();
        return;
    }
    if (dw < 1 || dh < 1 || sw == 0 || sh == 0) return;
    SoftwareBlt(dst, x, y, dw, dh, src, sx, sy, sw, sh, flags);
}

void DDBltColor(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                const DDCOLORPAIR& pair) {
    DDBltStretchColor(dst, x, y, w, h, src, sx, sy, w, h, flags, pair);
}

void DDBltStretchColor(DDSURFACEDATA* dst, int x, int y, int dw, int dh, DDSURFACEDATA* src, int sx, int sy, int sw,
                       int sh, int flags, const DDCOLORPAIR& pair) {
    if (!g_lpDDDevice) {
        if (dw == sw && dh == sh)
            DDBlt(dst, x, y, dw, dh, src, sx, sy, flags);
        else
            DDBltStretch(dst, x, y, dw, dh, src, sx, sy, sw, sh, flags);
        return;
    }
    DDSetDrawColor(pair.dwColor);
    DDSetColorOp(pair.dwColorOp);
    DDBltStretch(dst, x, y, dw, dh, src, sx, sy, sw, sh, flags);
    DDResetDrawColor();
    DDResetColorOp();
}

// ---- the quad batch ----

void DDBatchBegin(int sort) {
    if (!g_lpDDDevice) return;
    g_Batch.active = 1;
    g_Batch.sort = sort ? 1 : 0;
    g_Batch.quads.clear();
    g_Batch.textures.clear();
    g_Batch.seq = 0;
}

void DDBatchAddTexture(DDSURFACEDATA* src) {
    if (!g_lpDDDevice || !g_Batch.active || !g_Batch.sort || !src) return;
    DDTextureOf(src);
    if (std::find(g_Batch.textures.begin(), g_Batch.textures.end(), src) == g_Batch.textures.end())
        g_Batch.textures.push_back(src);
}

void DDBatchFlush() {
    if (!g_lpDDDevice) return;
    std::vector<QUEUEDQUAD> q;
    q.swap(g_Batch.quads);
    g_Batch.active = 0;
    g_LastStats = DDBATCHSTATS{(int)q.size(), 0};
    if (g_Batch.sort)
        std::sort(q.begin(), q.end(), [](const QUEUEDQUAD& a, const QUEUEDQUAD& b) { return a.key < b.key; });
    std::vector<VERTEX> verts;
    size_t i = 0;
    while (i < q.size()) {
        size_t n = 1;
        while (i + n < q.size() && (int)n < kMaxRun && SameRun(q[i], q[i + n])) ++n;
        const QUEUEDQUAD& first = q[i];
        DDSURFACEDATA* src = first.src;
        verts.resize(n * 4);
        for (size_t k = 0; k < n; ++k) {
            const QUEUEDQUAD& e = q[i + k];
            Corners(&verts[k * 4], e.x, e.y, e.dw, e.dh, e.color, e.sx, e.sy, e.sw, e.sh, src->nTexWidth, src->nTexHeight);
        }
        IDirect3DVertexBuffer9* vb;
        IDirect3DIndexBuffer9* ib;
        bool lockFailed;
        bool made = MakeBuffers(verts, (int)n, &vb, &ib, &lockFailed);
        bool drawn = false;
        if (made && src->lpDT && src->lpDT->lpTexture && DDBeginScene() && DDSetRenderTarget(0, first.dst)) {
            if (first.flags == 0 && src->lpDT->bColorKey && NeedsOpaqueClear(src, first.color, first.alphaOp))
                for (size_t k = 0; k < n; ++k) ClearRect(q[i + k].x, q[i + k].y, q[i + k].dw, q[i + k].dh, OpaqueClear(first.dst));
            StageStates(first.colorOp, first.alphaOp);
            g_lpD3DDevice->SetTexture(0, src->lpDT->lpTexture);
            g_lpD3DDevice->SetStreamSource(0, vb, 0, sizeof(VERTEX));
            g_lpD3DDevice->SetIndices(ib);
            g_lpD3DDevice->SetFVF(kFVF);
            for (size_t k = 0; k < n; ++k)
                g_lpD3DDevice->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, (UINT)(4 * k), 4, (UINT)(4 * k), 2);
            g_lpD3DDevice->SetIndices(nullptr);
            g_lpD3DDevice->SetStreamSource(0, nullptr, 0, 0);
            DDSetRestTarget();
            drawn = true;
            ++g_LastStats.nRuns;
        }
        ReleaseBuffers(vb, ib);
        // A run that could not be drawn is tried again from its second quad on.
        i += (drawn || lockFailed) ? n : 1;
    }
    g_Batch.textures.clear();
    g_Batch.seq = 0;
}

// ---- the filled-rectangle batch ----

namespace {
void DrawFills(const std::vector<QUEUEDFILL>& f) {
    std::vector<VERTEX> verts;
    size_t i = 0;
    while (i < f.size()) {
        size_t n = 1;
        while (i + n < f.size() && (int)n < kMaxRun && f[i + n].dst == f[i].dst) ++n;
        verts.resize(n * 4);
        for (size_t k = 0; k < n; ++k)
            Corners(&verts[k * 4], f[i + k].x, f[i + k].y, f[i + k].w, f[i + k].h, f[i + k].color, 0, 0, 1, 1, 1, 1);
        IDirect3DVertexBuffer9* vb;
        IDirect3DIndexBuffer9* ib;
        bool lockFailed;
        bool made = MakeBuffers(verts, (int)n, &vb, &ib, &lockFailed);
        bool drawn = false;
        if (made && DDBeginScene() && DDSetRenderTarget(0, f[i].dst)) {
            IDirect3DDevice9* d = g_lpD3DDevice;
            d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
            d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
            d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
            d->SetTexture(0, g_WorkSD.lpDT ? g_WorkSD.lpDT->lpTexture : nullptr);
            d->SetStreamSource(0, vb, 0, sizeof(VERTEX));
            d->SetIndices(ib);
            d->SetFVF(kFVF);
            for (size_t k = 0; k < n; ++k) d->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, (UINT)(4 * k), 4, (UINT)(4 * k), 2);
            d->SetIndices(nullptr);
            d->SetStreamSource(0, nullptr, 0, 0);
            DDSetRestTarget();
            drawn = true;
        }
        ReleaseBuffers(vb, ib);
        i += (drawn || lockFailed) ? n : 1;
    }
}
}  // namespace

void DDFillBatchBegin() {
    if (!g_lpDDDevice) return;
    g_FillBatch.active = 1;
    g_FillBatch.fills.clear();
}

void DDFillBatchFlush() {
    if (!g_lpDDDevice) return;
    std::vector<QUEUEDFILL> f;
    f.swap(g_FillBatch.fills);
    g_FillBatch.active = 0;
    DrawFills(f);
}

void DDFillQuad(DDSURFACEDATA* dst, int x, int y, int w, int h, DWORD argb) {
    if (!g_lpDDDevice || !dst || w <= 0 || h <= 0) return;
    if (g_FillBatch.active) {
        g_FillBatch.fills.push_back(QUEUEDFILL{dst, x, y, w, h, argb});
        return;
    }
    DrawFills({QUEUEDFILL{dst, x, y, w, h, argb}});
}

DDBATCHSTATS DDLastBatchStats() { return g_LastStats; }
