// Surfaces, textures, vertex and index buffers.
#include <cstring>

#include "platform/d3d9/internal.h"
#include "platform/gdi/dc.h"

namespace d3d9 {

raster::PixelFormat RasterFormat(D3DFORMAT f) {
    switch (f) {
    case D3DFMT_A8R8G8B8: return raster::PixelFormat::A8R8G8B8;
    case D3DFMT_X8R8G8B8: return raster::PixelFormat::X8R8G8B8;
    case D3DFMT_R5G6B5: return raster::PixelFormat::R5G6B5;
    case D3DFMT_A1R5G5B5: return raster::PixelFormat::A1R5G5B5;
    default: return raster::PixelFormat::Unknown;
    }
}

// ---- Surface ----

Surface::Surface(Device* dev, IUnknown* cont, const D3DSURFACE_DESC& d, bool lock)
    : desc(d), device(dev), container(cont), lockable(lock) {
    if (!container) {
        device->AddChild();
        if (desc.Pool == D3DPOOL_DEFAULT) device->AddDefaultResource();
    }
}

Surface::~Surface() {
    if (dc) gdi::ReleaseSurfaceDC(dc);
    if (!container) {
        device->Forget(this);
        if (desc.Pool == D3DPOOL_DEFAULT) device->RemoveDefaultResource();
        device->RemoveChild();
    }
}

bool Surface::Allocate() { return pixels.Create((int)desc.Width, (int)desc.Height, RasterFormat(desc.Format)); }

ULONG Surface::AddRef() {
    if (container) return container->AddRef();
    return (ULONG)++m_nRefs;
}

ULONG Surface::Release() {
    if (container) return container->Release();
    ULONG n = (ULONG)--m_nRefs;
    if (n == 0) delete this;
    return n;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* pDesc) {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc;
    return D3D_OK;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* out, const RECT* r, DWORD flags) {
    (void)flags;
    if (!out || locked || !lockable || dc) return D3DERR_INVALIDCALL;
    int x = 0, y = 0;
    if (r) {
        if (r->left < 0 || r->top < 0 || r->right > (LONG)desc.Width || r->bottom > (LONG)desc.Height ||
            r->left >= r->right || r->top >= r->bottom)
            return D3DERR_INVALIDCALL;
        x = r->left;
        y = r->top;
    }
    out->Pitch = pixels.pitch;
    out->pBits = pixels.Row(y) + (size_t)x * raster::BytesPerPixel(pixels.format);
    locked = true;
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    if (!locked) return D3DERR_INVALIDCALL;
    locked = false;
    return D3D_OK;
}

HRESULT Surface::GetDC(HDC* phdc) {
    if (!phdc || locked || dc) return D3DERR_INVALIDCALL;
    dc = gdi::CreateSurfaceDC(&pixels);
    if (!dc) return D3DERR_INVALIDCALL;
    *phdc = dc;
    return D3D_OK;
}

HRESULT Surface::ReleaseDC(HDC hdc) {
    if (!dc || hdc != dc) return D3DERR_INVALIDCALL;
    gdi::ReleaseSurfaceDC(dc);
    dc = nullptr;
    return D3D_OK;
}

// ---- Texture ----

namespace {
D3DSURFACE_DESC LevelDesc(const D3DSURFACE_DESC& d) {
    D3DSURFACE_DESC l = d;
    l.Type = D3DRTYPE_SURFACE;
    return l;
}
bool Lockable(const D3DSURFACE_DESC& d) { return d.Pool != D3DPOOL_DEFAULT || (d.Usage & D3DUSAGE_DYNAMIC); }
}  // namespace

Texture::Texture(Device* device, const D3DSURFACE_DESC& desc) : level0(device, this, LevelDesc(desc), Lockable(desc)) {
    device->AddChild();
    if (desc.Pool == D3DPOOL_DEFAULT) device->AddDefaultResource();
}

Texture::~Texture() {
    Device* device = level0.device;
    device->Forget(this);
    device->Forget(&level0);
    if (level0.desc.Pool == D3DPOOL_DEFAULT) device->RemoveDefaultResource();
    if (level0.dc) {
        gdi::ReleaseSurfaceDC(level0.dc);
        level0.dc = nullptr;
    }
    device->RemoveChild();
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* pDesc) {
    if (level != 0 || !pDesc) return D3DERR_INVALIDCALL;
    *pDesc = level0.desc;
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** pp) {
    if (level != 0 || !pp) return D3DERR_INVALIDCALL;
    AddRef();
    *pp = &level0;
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* out, const RECT* r, DWORD flags) {
    if (level != 0) return D3DERR_INVALIDCALL;
    return level0.LockRect(out, r, flags);
}

HRESULT Texture::UnlockRect(UINT level) {
    if (level != 0) return D3DERR_INVALIDCALL;
    return level0.UnlockRect();
}

// ---- buffers ----

HRESULT Buffer::LockBytes(UINT offset, UINT size, void** pp) {
    if (!pp || locked) return D3DERR_INVALIDCALL;
    if (offset > bytes.size()) return D3DERR_INVALIDCALL;
    if (size != 0 && size > bytes.size() - offset) return D3DERR_INVALIDCALL;
    *pp = bytes.data() + offset;
    locked = true;
    return D3D_OK;
}

VertexBuffer::VertexBuffer(Device* dev, D3DPOOL p) : device(dev), pool(p) {
    device->AddChild();
    if (pool == D3DPOOL_DEFAULT) device->AddDefaultResource();
}

VertexBuffer::~VertexBuffer() {
    device->Forget(this);
    if (pool == D3DPOOL_DEFAULT) device->RemoveDefaultResource();
    device->RemoveChild();
}

HRESULT VertexBuffer::Lock(UINT offset, UINT size, void** pp, DWORD flags) {
    (void)flags;
    return LockBytes(offset, size, pp);
}

HRESULT VertexBuffer::Unlock() {
    if (!locked) return D3DERR_INVALIDCALL;
    locked = false;
    return D3D_OK;
}

IndexBuffer::IndexBuffer(Device* dev, D3DPOOL p, D3DFORMAT f) : device(dev), pool(p), format(f) {
    device->AddChild();
    if (pool == D3DPOOL_DEFAULT) device->AddDefaultResource();
}

IndexBuffer::~IndexBuffer() {
    device->Forget(this);
    if (pool == D3DPOOL_DEFAULT) device->RemoveDefaultResource();
    device->RemoveChild();
}

HRESULT IndexBuffer::Lock(UINT offset, UINT size, void** pp, DWORD flags) {
    (void)flags;
    return LockBytes(offset, size, pp);
}

HRESULT IndexBuffer::Unlock() {
    if (!locked) return D3DERR_INVALIDCALL;
    locked = false;
    return D3D_OK;
}

}  // namespace d3d9
