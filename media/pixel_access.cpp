// Pixel access shared by the effects and the translucent blits.
#include "media/pixel_access.h"

#include <algorithm>
#include <cstring>

#include "media/draw_device.h"

void DDRecordSize(DDSURFACEDATA* rec, int* w, int* h) {
    *w = rec ? rec->nWidth : 0;
    *h = rec ? rec->nHeight : 0;
    if (rec && rec->lpDT && rec->lpDT->desc.Width) {
        *w = std::min(*w, (int)rec->lpDT->desc.Width);
        *h = std::min(*h, (int)rec->lpDT->desc.Height);
    }
    *w = std::max(*w, 0);
    *h = std::max(*h, 0);
}

cPixelPair::cPixelPair(DDSURFACEDATA* dst, DDSURFACEDATA* src) {
    if (!dst || !src) return;
    m_pDst = std::make_unique<cSurfaceLock>(dst, true);
    if (!m_pDst->Ok()) return;
    m_nBpp = m_pDst->Bpp();
    DDRecordSize(dst, &m_nDstW, &m_nDstH);
    DDRecordSize(src, &m_nSrcW, &m_nSrcH);
    if (src == dst) {
        // Reads see the picture as it was before this draw.
        int bytes = std::max(1, m_nBpp / 8);
        m_nCopyPitch = m_nSrcW * bytes;
        m_Copy.resize((size_t)m_nCopyPitch * m_nSrcH);
        for (int y = 0; y < m_nSrcH; ++y)
            std::memcpy(&m_Copy[(size_t)y * m_nCopyPitch], m_pDst->Row(y), (size_t)m_nCopyPitch);
        m_bOk = true;
        return;
    }
    m_pSrc = std::make_unique<cSurfaceLock>(src, false);
    m_bOk = m_pSrc->Ok() && m_pSrc->Bpp() == m_nBpp;
}

cPixelPair::~cPixelPair() {
    m_pSrc.reset();  // the source's lock goes first; the destination is written back last
    m_pDst.reset();
}

DWORD cPixelPair::Src(int x, int y) const {
    if (!m_pSrc) {
        const BYTE* p = &m_Copy[(size_t)y * m_nCopyPitch];
        switch (m_nBpp) {
        case 8: return p[x];
        case 16: {
            WORD v;
            std::memcpy(&v, p + x * 2, 2);
            return v;
        }
        default: {
            DWORD v;
            std::memcpy(&v, p + x * 4, 4);
            return v;
        }
        }
    }
    return m_pSrc->Get(x, y);
}

bool DDIsKeyPixel(DWORD p, int bpp) {
    if (g_lpDDDevice) return bpp == 16 ? (p & 0xA000) == 0 : (p >> 24) == 0;
    switch (bpp) {
    case 8: return (p & 0xFF) == (g_dwDDColorKey & 0xFF);
    case 16: return (p & 0xFFFF) == (g_dwDDColorKey & 0xFFFF);
    default: return (p & 0xFFFFFF) == (g_dwDDColorKey & 0xFFFFFF);
    }
}

bool DDIsAlphaKeyPixel(DWORD p, int bpp) {
    if (g_lpDDDevice) return bpp == 16 ? (p & 0x8000) == 0 : (p >> 24) == 0;
    return DDIsKeyPixel(p, bpp);
}

const DWORD* DDChannelsOf(DDSURFACEDATA* rec) {
    return (g_lpDDDevice && rec == &g_BackBufferSD) ? g_dwChannel1 : g_dwChannel2;
}

void DDSplit16(DWORD p, const DWORD* s, DWORD c[3]) {
    for (int k = 0; k < 3; ++k) c[k] = s[CH_RSHIFT + k] < 32 ? (p >> s[CH_RSHIFT + k]) & s[CH_RMAX + k] : 0;
}

DWORD DDPack16(const DWORD c[3], const DWORD* s) {
    DWORD p = 0;
    for (int k = 0; k < 3; ++k)
        if (s[CH_RSHIFT + k] < 32) p |= (std::min(c[k], s[CH_RMAX + k]) & s[CH_RMAX + k]) << s[CH_RSHIFT + k];
    return p;
}

DWORD DDColourMask16(const DWORD* s) {
    DWORD all[3] = {s[CH_RMAX], s[CH_GMAX], s[CH_BMAX]};
    return DDPack16(all, s);
}

int DDDrawSourceQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const DDQUADVERTEX v[4], void (*states)(void*),
                     void* ctx) {
    if (!g_lpDDDevice || !dst || !src || !dst->lpDT || !src->lpDT) return 0;
    DDTEXTUREDATA* s = src->lpDT;
    if (!s->lpVB || !s->lpTexture) return 0;
    DDQUADVERTEX* p = nullptr;
    if (FAILED(s->lpVB->Lock(0, 0, (void**)&p, 0))) return 0;
    std::memcpy(p, v, 4 * sizeof(DDQUADVERTEX));
    s->lpVB->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, dst)) return 0;
    states(ctx);
    g_lpD3DDevice->SetTexture(0, s->lpTexture);
    g_lpD3DDevice->SetStreamSource(0, s->lpVB, 0, sizeof(DDQUADVERTEX));
    g_lpD3DDevice->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    g_lpD3DDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    DDSetRestTarget();
    return 1;
}
