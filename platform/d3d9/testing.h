// Our own additions for tests and for the layer's other parts: device conditions that a desktop
// never shows (lost devices, small or square-only texture limits, refused creations) and access
// to the pixels behind surfaces and textures.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/raster/surface.h"

namespace d3d9 {

struct TestSettings {
    bool failCreate = false;                  // Direct3DCreate9 gives null
    bool failCreateDevice = false;            // every CreateDevice fails
    bool failHardwareVertexProcessing = false;  // CreateDevice with hardware vertex processing fails
    bool requirePow2 = false;                 // D3DPTEXTURECAPS_POW2
    bool squareOnly = false;                  // D3DPTEXTURECAPS_SQUAREONLY
    DWORD maxTextureSize = 4096;
    int failDefaultPoolTextures = 0;          // the next n D3DPOOL_DEFAULT textures fail ...
    HRESULT defaultPoolFailure = D3DERR_OUTOFVIDEOMEMORY;  // ... with this result
    int failTextures = 0;                     // the next n textures of any pool fail with E_OUTOFMEMORY
};
// The settings in force for objects made from now on (tests reset them with Reset()).
TestSettings& Testing();
void ResetTesting();

// The device loses itself: Present and TestCooperativeLevel answer D3DERR_DEVICELOST.
void SimulateDeviceLoss(IDirect3DDevice9* device);
// The device can be reset: TestCooperativeLevel answers D3DERR_DEVICENOTRESET.
void SimulateDeviceNotReset(IDirect3DDevice9* device);

// The pixels behind a surface or a texture's level 0 (null for other objects).
raster::Surface* SurfacePixels(IDirect3DSurface9* surface);
raster::Surface* TexturePixels(IDirect3DTexture9* texture);
// The surface the device draws into now.
raster::Surface* RenderTargetPixels(IDirect3DDevice9* device);
// Frames the device has presented.
unsigned PresentCount(IDirect3DDevice9* device);

}  // namespace d3d9
