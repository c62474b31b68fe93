// Surfaces and textures: making records empty or from bitmap files, reloading asset slots, the
// engine palette and the transparent colour, filling, the opacity mask, locks, releasing, and the
// dynamic surface lists of pictures and messages.
#pragma once

#include <list>
#include <vector>

#include "media/draw_types.h"

// Every texture made (unless the caller keeps a record's identity); the device restore walks it.
extern std::list<DDSURFACEDATA*> g_TextureList;

bool DDCreateSurface(DDSURFACEDATA* rec, int w, int h, int colourKey, int memType, int place, int noTexture,
                     int keepIdentity);
// 0 success, 4 surface not made, 8 file not loaded or not copied, or the failing Direct3D result.
int DDCreateSurfaceFromFile(DDSURFACEDATA* rec, const char* path, int colourKey, int bpp, int memType, int place,
                            int noTexture, int opacityMask, int mirrorW, int mirrorH, int keepIdentity);
// Only 0 is success.
bool DDCheckCreateResult(int code);
void DDAdjustTextureSize(int* w, int* h);
bool DDCheckTextureSize(int w, int h);
// Releases and loads the listed slots from their descriptors; false when a required one fails.
bool DDReloadSurfaces(DDSURFACEDATA* records, const int* indexList, int count);
int DDCheckBitmapSize(int* tooBig, const char* path, int maxW, int maxH);
int DDLoadPaletteFromFile(PALETTEENTRY* palette, const char* path);
void DDSetTransmit(BYTE red, BYTE green, BYTE blue);
bool DDSetTransmitFromFile(const SURFACEFILEDESC* desc);
bool DDCopyBitmap(DDSURFACEDATA* rec, const char* path, int mirrorW, int mirrorH);
int DDRestoreBitmap(DDSURFACEDATA* rec);
bool DDCreateMirror(DDSURFACEDATA* rec, DDSURFACEDATA* source, int mirrorW, int mirrorH);
int DDFillRect(DDSURFACEDATA* rec, int x, int y, int w, int h, int palNum);
int DDFillSurface(DDSURFACEDATA* rec, int palNum);
void DDFillRectD3D(DDSURFACEDATA* rec, int x, int y, int w, int h, DWORD argb);
void DDFillSurfaceD3D(DDSURFACEDATA* rec, DWORD argb);
void DDFreeSurfaceData(DDSURFACEDATA* rec);
void DDReleaseSurface(DDSURFACEDATA* rec);
void DDReleaseSurfaceVector(std::vector<DDSURFACEDATA>& records);
void DDReleaseSurfaceArray(std::list<DDSURFACEDATA>& records);
bool DDAddBlankSurface(std::vector<DDSURFACEDATA>& records, std::vector<SURFACEFILEDESC>& descs, int w, int h,
                       int colourKey, int memType, int place, int noTexture);
bool DDAddBlankSurfaceToList(std::list<DDSURFACEDATA>& records, std::list<SURFACEFILEDESC>& descs, int w, int h,
                             int colourKey, int memType, int place, int noTexture);
int DDRemoveSurface(std::list<DDSURFACEDATA>& records, std::list<SURFACEFILEDESC>& descs, DDSURFACEDATA* rec);
bool DDBuildOpacityMask(BYTE*& mask, DDSURFACEDATA* rec);

// Locks one record's pixels for the processor while it lives (a render target through its
// system-memory copy, written back when `write` is set). Failures are silent: Ok() is false.
class cSurfaceLock {
public:
    cSurfaceLock(DDSURFACEDATA* rec, bool write);
    ~cSurfaceLock();
    cSurfaceLock(const cSurfaceLock&) = delete;
    cSurfaceLock& operator=(const cSurfaceLock&) = delete;
    bool Ok() const { return m_pBits != nullptr; }
    BYTE* Row(int y) const { return m_pBits + (size_t)y * (size_t)m_nPitch; }
    int Pitch() const { return m_nPitch; }
    int Bpp() const { return m_nBpp; }  // bits per pixel of the locked pixels
    DWORD Get(int x, int y) const;
    void Set(int x, int y, DWORD v);

private:
    DDSURFACEDATA* m_pRec;
    IDirect3DSurface9* m_pLocked = nullptr;
    IDirectDrawSurface7* m_pDDLocked = nullptr;
    bool m_bCopyBack = false;
    BYTE* m_pBits = nullptr;
    int m_nPitch = 0;
    int m_nBpp = 0;
};

// Copies at most MAX_PATH - 1 bytes of a text into a record's name or file name.
void DDCopyName(char* dst, const char* src);
