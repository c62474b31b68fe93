// The objects behind the Direct3D 9 interfaces.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3dx9.h"
#include "platform/d3d9/testing.h"
#include "platform/raster/quad.h"

namespace d3d9 {

class Device;

raster::PixelFormat RasterFormat(D3DFORMAT f);
// Whether a D3DX sprite is between its Begin and End (and its device not lost).
bool SpriteBegun(ID3DXSprite* sprite);

// A surface: level 0 of a texture (its references are the texture's), an off-screen plain
// surface or a back buffer (references of its own).
class Surface : public IDirect3DSurface9 {
public:
    Surface(Device* device, IUnknown* container, const D3DSURFACE_DESC& desc, bool lockable);
    ~Surface() override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;
    HRESULT LockRect(D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect() override;
    HRESULT GetDC(HDC* phdc) override;
    HRESULT ReleaseDC(HDC hdc) override;

    bool Allocate();
    raster::Surface pixels;
    D3DSURFACE_DESC desc{};
    Device* device;
    IUnknown* container;  // the texture, or null
    bool lockable;
    bool locked = false;
    HDC dc = nullptr;

private:
    std::atomic<long> m_nRefs{1};
};

class Texture : public raster::RefCounted<IDirect3DTexture9> {
public:
    Texture(Device* device, const D3DSURFACE_DESC& desc);
    ~Texture() override;
    DWORD GetLevelCount() override { return 1; }
    HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
    HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) override;
    HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
    HRESULT UnlockRect(UINT Level) override;

    Surface level0;
};

class Buffer {
public:
    HRESULT LockBytes(UINT offset, UINT size, void** pp);
    std::vector<uint8_t> bytes;
    bool locked = false;
};

class VertexBuffer : public raster::RefCounted<IDirect3DVertexBuffer9>, public Buffer {
public:
    VertexBuffer(Device* device, D3DPOOL pool);
    ~VertexBuffer() override;
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT Unlock() override;
    Device* device;
    D3DPOOL pool;
};

class IndexBuffer : public raster::RefCounted<IDirect3DIndexBuffer9>, public Buffer {
public:
    IndexBuffer(Device* device, D3DPOOL pool, D3DFORMAT format);
    ~IndexBuffer() override;
    HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override;
    HRESULT Unlock() override;
    Device* device;
    D3DPOOL pool;
    D3DFORMAT format;
};

class Device : public raster::RefCounted<IDirect3DDevice9> {
public:
    Device(IDirect3D9* d3d, HWND focus, const D3DPRESENT_PARAMETERS& pp, const D3DCAPS9& caps);
    ~Device() override;
    bool Init();

    HRESULT TestCooperativeLevel() override;
    UINT GetAvailableTextureMem() override;
    HRESULT GetDeviceCaps(D3DCAPS9* pCaps) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* pp) override;
    HRESULT Present(const RECT*, const RECT*, HWND, const void*) override;
    HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                          IDirect3DSurface9** ppBackBuffer) override;
    HRESULT SetDialogBoxMode(BOOL bEnableDialogs) override;
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) override;
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool, IDirect3DVertexBuffer9** ppVB,
                               HANDLE* pSharedHandle) override;
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DIndexBuffer9** ppIB,
                              HANDLE* pSharedHandle) override;
    HRESULT UpdateSurface(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                          IDirect3DSurface9* pDestinationSurface, const POINT* pDestPoint) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* pRenderTarget, IDirect3DSurface9* pDestSurface) override;
    HRESULT CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool,
                                        IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override;
    HRESULT SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) override;
    HRESULT GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DTexture9* pTexture) override;
    HRESULT SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override;
    HRESULT GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override;
    HRESULT SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT MinVertexIndex,
                                 UINT NumVertices, UINT startIndex, UINT primCount) override;
    HRESULT SetFVF(DWORD FVF) override;
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                            UINT Stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData) override;

    // Bookkeeping of resources: D3DPOOL_DEFAULT ones must be gone before Reset; a resource that
    // goes away is unbound first.
    void AddDefaultResource() { ++m_nDefaultResources; }
    // Resources keep the device object alive (not its interface references): it goes away when
    // the program has released it and its last resource is gone.
    void AddChild() { ++m_nChildren; }
    void RemoveChild();
    ULONG Release() override;
    void RemoveDefaultResource() { --m_nDefaultResources; }
    void Forget(const void* resource);
    bool CheckTextureSize(UINT w, UINT h) const;

    enum State { Ok, Lost, NotReset };
    State state = Ok;
    unsigned presented = 0;
    Surface* renderTarget = nullptr;  // a reference is held
    D3DCAPS9 caps{};

private:
    HRESULT ApplyParameters(const D3DPRESENT_PARAMETERS& pp);
    HRESULT Draw(D3DPRIMITIVETYPE type, const raster::Vertex* v, UINT primCount);
    bool FetchVertex(UINT index, raster::Vertex* out) const;
    raster::DrawState CurrentState() const;

    IDirect3D9* m_pD3D;
    HWND m_hFocus;
    D3DPRESENT_PARAMETERS m_pp{};
    Surface* m_pBackBuffer = nullptr;  // the device's own reference
    std::atomic<int> m_nDefaultResources{0};
    std::atomic<int> m_nChildren{0};
    bool m_bReleased = false;
    bool m_bInScene = false;
    DWORD m_dwRenderStates[256] = {};
    DWORD m_dwStageStates[8] = {};
    DWORD m_dwAddressU = D3DTADDRESS_WRAP, m_dwAddressV = D3DTADDRESS_WRAP;
    Texture* m_pTexture = nullptr;  // bindings hold no references; resources unbind themselves
    VertexBuffer* m_pStream = nullptr;
    UINT m_nStreamOffset = 0, m_nStride = 0;
    IndexBuffer* m_pIndices = nullptr;
    DWORD m_dwFVF = 0;
    // The presented frame in 32-bit ARGB; zero pages until a frame that is shown is copied in.
    raster::PixelStore m_frame;
};

}  // namespace d3d9
