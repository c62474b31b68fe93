// D3DX: textures made empty or from bitmap files, and the sprite.
#include <algorithm>
#include <cstring>

#include "platform/d3d9/d3dx9.h"
#include "platform/d3d9/internal.h"
#include "platform/gdi/bmp.h"

namespace d3d9 {
namespace {

UINT NextPow2(UINT v) {
    UINT p = 1;
    while (p < v && p < (1u << 30)) p <<= 1;
    return p;
}

// The size D3DX makes a texture: asked or picture size, then the device's rules.
void TextureSize(Device* dev, UINT* w, UINT* h, UINT picW, UINT picH) {
    if (*w == 0 || *w == D3DX_DEFAULT || *w == D3DX_DEFAULT_NONPOW2) *w = picW;
    if (*h == 0 || *h == D3DX_DEFAULT || *h == D3DX_DEFAULT_NONPOW2) *h = picH;
    if (dev->caps.TextureCaps & D3DPTEXTURECAPS_POW2) {
        *w = NextPow2(*w);
        *h = NextPow2(*h);
    }
    if (dev->caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) *w = *h = std::max(*w, *h);
    *w = std::min<UINT>(*w, dev->caps.MaxTextureWidth);
    *h = std::min<UINT>(*h, dev->caps.MaxTextureHeight);
}

D3DFORMAT FileFormat(int bits) {
    switch (bits) {
    case 16: return D3DFMT_X1R5G5B5;
    case 24: return (D3DFORMAT)20;  // R8G8B8
    case 32: return D3DFMT_X8R8G8B8;
    default: return D3DFMT_P8;
    }
}

class Sprite : public raster::RefCounted<ID3DXSprite> {
public:
    explicit Sprite(IDirect3DDevice9* dev) : m_pDevice(dev) { m_pDevice->AddRef(); }
    ~Sprite() override { m_pDevice->Release(); }
    HRESULT GetDevice(IDirect3DDevice9** pp) override {
        if (!pp) return D3DERR_INVALIDCALL;
        m_pDevice->AddRef();
        *pp = m_pDevice;
        return D3D_OK;
    }
    HRESULT Begin(DWORD flags) override {
        if (m_bBegun || m_bLost) return D3DERR_INVALIDCALL;
        m_bBegun = true;
        m_dwFlags = flags;
        return D3D_OK;
    }
    HRESULT Flush() override { return m_bBegun ? D3D_OK : D3DERR_INVALIDCALL; }
    HRESULT End() override {
        if (!m_bBegun) return D3DERR_INVALIDCALL;
        m_bBegun = false;
        return D3D_OK;
    }
    HRESULT OnLostDevice() override {
        m_bLost = true;
        m_bBegun = false;
        return D3D_OK;
    }
    HRESULT OnResetDevice() override {
        m_bLost = false;
        return D3D_OK;
    }

    bool Begun() const { return m_bBegun && !m_bLost; }

private:
    IDirect3DDevice9* m_pDevice;
    bool m_bBegun = false;
    bool m_bLost = false;
    DWORD m_dwFlags = 0;
};

}  // namespace

bool SpriteBegun(ID3DXSprite* sprite) { return sprite && static_cast<Sprite*>(sprite)->Begun(); }

}  // namespace d3d9

using namespace d3d9;

HRESULT D3DXCreateTexture(IDirect3DDevice9* pDevice, UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** out) {
    if (!pDevice || !out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    Device* dev = static_cast<Device*>(pDevice);
    if (w == 0 || w == D3DX_DEFAULT) w = 256;
    if (h == 0 || h == D3DX_DEFAULT) h = 256;
    TextureSize(dev, &w, &h, w, h);
    (void)levels;  // one level: the program draws every texture at its own size
    if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
    return pDevice->CreateTexture(w, h, 1, usage, format, pool, out, nullptr);
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* pDevice, LPCSTR file, UINT w, UINT h, UINT levels, DWORD usage,
                                     D3DFORMAT format, D3DPOOL pool, DWORD filter, DWORD mipFilter, D3DCOLOR key,
                                     D3DXIMAGE_INFO* info, PALETTEENTRY* palette, IDirect3DTexture9** out) {
    (void)levels;
    (void)filter;  // the picture is placed at the top-left at its own size (D3DX_FILTER_NONE)
    (void)mipFilter;
    if (!pDevice || !out || !file) return D3DERR_INVALIDCALL;
    *out = nullptr;
    Device* dev = static_cast<Device*>(pDevice);
    if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
    // The texture is made once the headers give the picture's size, and the file is decoded
    // straight into its pixels.
    IDirect3DTexture9* tex = nullptr;
    HRESULT hr = D3D_OK;
    auto makeTexture = [&](const gdi::BmpInfo& pic) -> raster::Surface* {
        TextureSize(dev, &w, &h, (UINT)pic.width, (UINT)pic.height);
        hr = pDevice->CreateTexture(w, h, 1, usage, format, pool, &tex, nullptr);
        return SUCCEEDED(hr) ? TexturePixels(tex) : nullptr;
    };
    gdi::BmpInfo pic;
    if (!gdi::LoadBmpFileInto(file, makeTexture, key, &pic, nullptr)) {
        if (tex) tex->Release();
        return FAILED(hr) ? hr : D3DXERR_INVALIDDATA;
    }
    if (info) {
        info->Width = (UINT)pic.width;
        info->Height = (UINT)pic.height;
        info->Depth = 1;
        info->MipLevels = 1;
        info->Format = FileFormat(pic.bitCount);
        info->ResourceType = D3DRTYPE_TEXTURE;
        info->ImageFileFormat = D3DXIFF_BMP;
    }
    if (palette) {
        for (int i = 0; i < 256; ++i) {
            uint32_t c = pic.colours[i];
            palette[i] = PALETTEENTRY{(BYTE)(c >> 16), (BYTE)(c >> 8), (BYTE)c, 0xFF};
        }
    }
    *out = tex;
    return D3D_OK;
}

HRESULT D3DXCreateSprite(IDirect3DDevice9* pDevice, ID3DXSprite** out) {
    if (!pDevice || !out) return D3DERR_INVALIDCALL;
    *out = new Sprite(pDevice);
    return D3D_OK;
}
