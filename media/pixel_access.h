// Shared by the per-pixel effects and the translucent blits: a destination and a source record
// locked together for the processor (the source read from a copy when both are one record), the
// transparent-pixel tests of each back end, channel fields, and one textured quad drawn on the
// graphics device with caller-chosen texture-stage states.
#pragma once

#include <memory>
#include <vector>

#include "media/draw_types.h"
#include "media/surface.h"

class cPixelPair {
public:
    // Locks dst for writing and src for reading; Ok() is false when either lock failed or the
    // two differ in pixel size.
    cPixelPair(DDSURFACEDATA* dst, DDSURFACEDATA* src);
    ~cPixelPair();
    cPixelPair(const cPixelPair&) = delete;
    cPixelPair& operator=(const cPixelPair&) = delete;
    bool Ok() const { return m_bOk; }
    int Bpp() const { return m_nBpp; }
    // Readable sizes (the record's size, cut to its surface).
    int SrcW() const { return m_nSrcW; }
    int SrcH() const { return m_nSrcH; }
    int DstW() const { return m_nDstW; }
    int DstH() const { return m_nDstH; }
    bool InSrc(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < m_nSrcW && y < m_nSrcH; }
    bool InDst(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < m_nDstW && y < m_nDstH; }
    DWORD Src(int x, int y) const;
    DWORD Dst(int x, int y) const { return m_pDst->Get(x, y); }
    void Set(int x, int y, DWORD v) { m_pDst->Set(x, y, v); }

private:
    std::unique_ptr<cSurfaceLock> m_pDst, m_pSrc;
    std::vector<BYTE> m_Copy;  // the source's pixels when it is the destination
    int m_nCopyPitch = 0;
    bool m_bOk = false;
    int m_nBpp = 0;
    int m_nSrcW = 0, m_nSrcH = 0, m_nDstW = 0, m_nDstH = 0;
};

// The record's readable size (cut to the surface behind it).
void DDRecordSize(DDSURFACEDATA* rec, int* w, int* h);
// Transparent pixels as the blits see them: Direct3D 16 bits neither bit 15 nor bit 13 set,
// 32 bits alpha 0; DirectDraw the colour-key value.
bool DDIsKeyPixel(DWORD p, int bpp);
// Transparent by the alpha field alone (Direct3D textures), else the colour-key value.
bool DDIsAlphaKeyPixel(DWORD p, int bpp);
// The channel set of a record's pixels: set 1 for the Direct3D back buffer, else set 2.
const DWORD* DDChannelsOf(DDSURFACEDATA* rec);
// The red, green and blue fields of a 16-bit pixel and back.
void DDSplit16(DWORD p, const DWORD* set, DWORD c[3]);
DWORD DDPack16(const DWORD c[3], const DWORD* set);
// Mask of the red, green and blue fields of a 16-bit channel set.
DWORD DDColourMask16(const DWORD* set);

struct DDQUADVERTEX {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
// Draws four vertices (strip order) with the source's texture onto dst as render target:
// `states` sets the texture stage; the resting render target is set again afterwards. 0 when
// the source's vertex buffer, the scene or the render target fails.
int DDDrawSourceQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const DDQUADVERTEX v[4], void (*states)(void* ctx),
                     void* ctx);
