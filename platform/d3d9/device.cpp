// The Direct3D object and the device: parameters, back buffer, states, drawing, present, reset.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/d3d9/internal.h"
#include "platform/d3d9/opacity.h"
#include "platform/gdi/gdi.h"
#include "platform/host/host.h"
#include "platform/raster/blit.h"
#include "platform/win32/messages.h"

namespace d3d9 {
namespace {

TestSettings& Settings() {
    static TestSettings s;
    return s;
}

bool SupportedFormat(D3DFORMAT f) { return RasterFormat(f) != raster::PixelFormat::Unknown; }

bool IsPow2(UINT v) { return v && !(v & (v - 1)); }

D3DFORMAT DesktopFormat() { return host::DesktopDepth() == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8; }

D3DCAPS9 MakeCaps() {
    const TestSettings& t = Settings();
    D3DCAPS9 c{};
    c.DeviceType = D3DDEVTYPE_HAL;
    c.AdapterOrdinal = 0;
    c.Caps2 = D3DCAPS2_DYNAMICTEXTURES;
    c.Caps3 = D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD;
    c.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    c.TextureCaps = (t.requirePow2 ? D3DPTEXTURECAPS_POW2 : 0) | (t.squareOnly ? D3DPTEXTURECAPS_SQUAREONLY : 0);
    c.TextureAddressCaps = 0x7;
    c.MaxTextureWidth = t.maxTextureSize;
    c.MaxTextureHeight = t.maxTextureSize;
    c.MaxTextureAspectRatio = t.maxTextureSize;
    c.TextureOpCaps = 0x7FFF;
    c.MaxTextureBlendStages = 8;
    c.MaxSimultaneousTextures = 8;
    c.MaxPrimitiveCount = 0xFFFFF;
    c.MaxVertexIndex = 0xFFFFFF;
    c.MaxStreams = 16;
    c.MaxStreamStride = 255;
    return c;
}

class Direct3D : public raster::RefCounted<IDirect3D9> {
public:
    UINT GetAdapterCount() override { return 1; }
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
        if (adapter != 0 || !mode) return D3DERR_INVALIDCALL;
        RECT d;
        host::DesktopRect(&d);
        mode->Width = (UINT)(d.right - d.left);
        mode->Height = (UINT)(d.bottom - d.top);
        mode->RefreshRate = (UINT)gdi::DesktopRefreshRate();
        mode->Format = DesktopFormat();
        return D3D_OK;
    }
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE rtype, D3DFORMAT check) override {
        (void)adapterFormat;
        if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (rtype != D3DRTYPE_SURFACE && rtype != D3DRTYPE_TEXTURE) return D3DERR_NOTAVAILABLE;
        if (usage & ~(DWORD)(D3DUSAGE_RENDERTARGET | D3DUSAGE_DYNAMIC)) return D3DERR_NOTAVAILABLE;
        return SupportedFormat(check) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override {
        if (adapter != 0 || type != D3DDEVTYPE_HAL || !caps) return D3DERR_INVALIDCALL;
        *caps = MakeCaps();
        return D3D_OK;
    }
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags, D3DPRESENT_PARAMETERS* pp,
                         IDirect3DDevice9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        *out = nullptr;
        if (adapter != 0 || type != D3DDEVTYPE_HAL || !pp) return D3DERR_INVALIDCALL;
        if (!IsWindow(focus) && !IsWindow(pp->hDeviceWindow)) return D3DERR_INVALIDCALL;
        const TestSettings& t = Settings();
        if (t.failCreateDevice) return D3DERR_NOTAVAILABLE;
        if ((flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) && t.failHardwareVertexProcessing)
            return D3DERR_NOTAVAILABLE;
        if (!(flags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                       D3DCREATE_MIXED_VERTEXPROCESSING)))
            return D3DERR_INVALIDCALL;
        Device* dev = new Device(this, focus, *pp, MakeCaps());
        if (!dev->Init()) {
            dev->Release();
            return D3DERR_INVALIDCALL;
        }
        *out = dev;
        return D3D_OK;
    }
};

}  // namespace

TestSettings& Testing() { return Settings(); }
void ResetTesting() { Settings() = TestSettings{}; }

void SimulateDeviceLoss(IDirect3DDevice9* device) {
    if (device) static_cast<Device*>(device)->state = Device::Lost;
}

void SimulateDeviceNotReset(IDirect3DDevice9* device) {
    if (device) static_cast<Device*>(device)->state = Device::NotReset;
}

raster::Surface* SurfacePixels(IDirect3DSurface9* surface) {
    return surface ? &static_cast<Surface*>(surface)->pixels : nullptr;
}

raster::Surface* TexturePixels(IDirect3DTexture9* texture) {
    return texture ? &static_cast<Texture*>(texture)->level0.pixels : nullptr;
}

bool TextureIsOpaque(IDirect3DTexture9* texture) {
    if (!texture) return false;
    const Surface& level = static_cast<Texture*>(texture)->level0;
    return !level.locked && !level.dc && level.pixels.AllOpaque();
}

raster::Surface* RenderTargetPixels(IDirect3DDevice9* device) {
    Device* d = static_cast<Device*>(device);
    return d && d->renderTarget ? &d->renderTarget->pixels : nullptr;
}

unsigned PresentCount(IDirect3DDevice9* device) { return device ? static_cast<Device*>(device)->presented : 0; }

// ---- Device ----

Device::Device(IDirect3D9* d3d, HWND focus, const D3DPRESENT_PARAMETERS& pp, const D3DCAPS9& c)
    : caps(c), m_pD3D(d3d), m_hFocus(focus), m_pp(pp) {
    m_pD3D->AddRef();
}

Device::~Device() { m_pD3D->Release(); }

ULONG Device::Release() {
    ULONG n = (ULONG)--m_nRefs;
    if (n != 0) return n;
    // The program is done with the device: drop what it holds; the object itself goes with its
    // last resource.
    ++m_nChildren;
    m_bReleased = true;
    if (renderTarget) renderTarget->Release();
    renderTarget = nullptr;
    if (m_pBackBuffer) m_pBackBuffer->Release();
    m_pBackBuffer = nullptr;
    RemoveChild();
    return 0;
}

void Device::RemoveChild() {
    if (--m_nChildren == 0 && m_bReleased) delete this;
}

bool Device::Init() { return ApplyParameters(m_pp) == D3D_OK; }

HRESULT Device::ApplyParameters(const D3DPRESENT_PARAMETERS& pp) {
    D3DPRESENT_PARAMETERS p = pp;
    HWND wnd = p.hDeviceWindow ? p.hDeviceWindow : m_hFocus;
    if (p.Windowed) {
        RECT c{0, 0, 0, 0};
        GetClientRect(wnd, &c);
        if (p.BackBufferWidth == 0) p.BackBufferWidth = (UINT)std::max<LONG>(1, c.right - c.left);
        if (p.BackBufferHeight == 0) p.BackBufferHeight = (UINT)std::max<LONG>(1, c.bottom - c.top);
        if (p.BackBufferFormat == D3DFMT_UNKNOWN) p.BackBufferFormat = DesktopFormat();
    }
    if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0 || !SupportedFormat(p.BackBufferFormat) ||
        p.BackBufferCount > 3 || p.MultiSampleType != D3DMULTISAMPLE_NONE)
        return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC d{};
    d.Format = p.BackBufferFormat;
    d.Type = D3DRTYPE_SURFACE;
    d.Usage = D3DUSAGE_RENDERTARGET;
    d.Pool = D3DPOOL_DEFAULT;
    d.Width = p.BackBufferWidth;
    d.Height = p.BackBufferHeight;
    Surface* bb = new Surface(this, nullptr, d, (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0);
    if (!bb->Allocate()) {
        bb->Release();
        return E_OUTOFMEMORY;
    }
    if (renderTarget) renderTarget->Release();
    if (m_pBackBuffer) m_pBackBuffer->Release();
    m_pBackBuffer = bb;
    bb->AddRef();
    renderTarget = bb;
    m_pp = p;
    if (p.BackBufferCount == 0) m_pp.BackBufferCount = 1;
    host::SetFullScreen(wnd, !p.Windowed);

    // Default states.
    std::fill(std::begin(m_dwRenderStates), std::end(m_dwRenderStates), 0);
    m_dwRenderStates[D3DRS_ZENABLE] = p.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    m_dwRenderStates[D3DRS_CULLMODE] = D3DCULL_CCW;
    m_dwRenderStates[D3DRS_ALPHABLENDENABLE] = FALSE;
    m_dwRenderStates[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    m_dwRenderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    m_dwRenderStates[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    m_dwRenderStates[D3DRS_LIGHTING] = TRUE;
    m_dwRenderStates[D3DRS_COLORVERTEX] = TRUE;
    m_dwRenderStates[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    m_dwStageStates[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    m_dwStageStates[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    m_dwStageStates[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    m_dwStageStates[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    m_dwStageStates[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    m_dwStageStates[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    m_dwAddressU = m_dwAddressV = D3DTADDRESS_WRAP;
    m_pTexture = nullptr;
    m_pStream = nullptr;
    m_pIndices = nullptr;
    m_nStreamOffset = m_nStride = 0;
    m_dwFVF = 0;
    m_bInScene = false;
    return D3D_OK;
}

void Device::Forget(const void* r) {
    if (m_pTexture == r) m_pTexture = nullptr;
    if (m_pStream == r) m_pStream = nullptr;
    if (m_pIndices == r) m_pIndices = nullptr;
}

bool Device::CheckTextureSize(UINT w, UINT h) const {
    if (w == 0 || h == 0 || w > caps.MaxTextureWidth || h > caps.MaxTextureHeight) return false;
    if ((caps.TextureCaps & D3DPTEXTURECAPS_POW2) && (!IsPow2(w) || !IsPow2(h))) return false;
    if ((caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) && w != h) return false;
    return true;
}

HRESULT Device::TestCooperativeLevel() {
    switch (state) {
    case Lost: return D3DERR_DEVICELOST;
    case NotReset: return D3DERR_DEVICENOTRESET;
    default: return D3D_OK;
    }
}

UINT Device::GetAvailableTextureMem() { return 256u * 1024 * 1024; }

HRESULT Device::GetDeviceCaps(D3DCAPS9* pCaps) {
    if (!pCaps) return D3DERR_INVALIDCALL;
    *pCaps = caps;
    return D3D_OK;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* pp) {
    if (!pp) return D3DERR_INVALIDCALL;
    if (state == Lost) return D3DERR_DEVICELOST;
    // The device's own references go; anything else in the default pool, or a back buffer the
    // program still holds, makes the reset fail.
    if (renderTarget) renderTarget->Release();
    renderTarget = nullptr;
    m_pTexture = nullptr;
    m_pStream = nullptr;
    m_pIndices = nullptr;
    int own = m_pBackBuffer ? 1 : 0;
    bool held = false;
    if (m_pBackBuffer) {
        m_pBackBuffer->AddRef();
        held = m_pBackBuffer->Release() > 1;
    }
    if (held || m_nDefaultResources - own > 0) {
        if (m_pBackBuffer) {
            m_pBackBuffer->AddRef();
            renderTarget = m_pBackBuffer;
        }
        state = NotReset;
        return D3DERR_INVALIDCALL;
    }
    HRESULT hr = ApplyParameters(*pp);
    if (hr != D3D_OK) {
        if (m_pBackBuffer) {
            m_pBackBuffer->AddRef();
            renderTarget = m_pBackBuffer;
        }
        return hr;
    }
    state = Ok;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* src, const RECT* dst, HWND wnd, const void* region) {
    (void)src;
    (void)dst;
    (void)region;
    if (state != Ok) return D3DERR_DEVICELOST;
    if (m_bInScene || !m_pBackBuffer) return D3DERR_INVALIDCALL;
    raster::Surface& bb = m_pBackBuffer->pixels;
    // A frame nobody sees (headless, no capture) is not copied: its store stays untouched.
    const size_t bytes = (size_t)bb.width * (size_t)bb.height * 4;
    if (m_frame.size() != bytes && !m_frame.Allocate(bytes)) return E_OUTOFMEMORY;
    const uint32_t* frame = reinterpret_cast<const uint32_t*>(std::as_const(m_frame).data());
    if (host::NextFrameShown())
        raster::ToArgbImage(bb, reinterpret_cast<uint32_t*>(m_frame.data()), bb.width * 4, true);
    if (m_pp.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE) host::WaitForVerticalBlank();
    HWND target = wnd ? wnd : (m_pp.hDeviceWindow ? m_pp.hDeviceWindow : m_hFocus);
    host::PresentFrame(target, frame, bb.width, bb.height, bb.width * 4);
    ++presented;
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT chain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** out) {
    if (!out || chain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO || !m_pBackBuffer) return D3DERR_INVALIDCALL;
    m_pBackBuffer->AddRef();
    *out = m_pBackBuffer;
    return D3D_OK;
}

HRESULT Device::SetDialogBoxMode(BOOL enable) {
    (void)enable;
    if (!(m_pp.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER)) return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** out, HANDLE* shared) {
    (void)shared;
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (levels > 1 || !SupportedFormat(format) || !CheckTextureSize(w, h) || pool == D3DPOOL_SCRATCH)
        return D3DERR_INVALIDCALL;
    if ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
    TestSettings& t = Settings();
    if (t.failTextures > 0) {
        --t.failTextures;
        return E_OUTOFMEMORY;
    }
    if (pool == D3DPOOL_DEFAULT && t.failDefaultPoolTextures > 0) {
        --t.failDefaultPoolTextures;
        return t.defaultPoolFailure;
    }
    D3DSURFACE_DESC d{};
    d.Format = format;
    d.Type = D3DRTYPE_TEXTURE;
    d.Usage = usage;
    d.Pool = pool;
    d.Width = w;
    d.Height = h;
    Texture* tex = new Texture(this, d);
    if (!tex->level0.Allocate()) {
        tex->Release();
        return E_OUTOFMEMORY;
    }
    *out = tex;
    return D3D_OK;
}

HRESULT Device::CreateVertexBuffer(UINT len, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** out,
                                   HANDLE* shared) {
    (void)usage;
    (void)fvf;
    (void)shared;
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (len == 0 || len > (64u << 20) || pool == D3DPOOL_SCRATCH) return D3DERR_INVALIDCALL;
    VertexBuffer* vb = new VertexBuffer(this, pool);
    try {
        vb->bytes.assign(len, 0);
    } catch (...) {
        vb->Release();
        return E_OUTOFMEMORY;
    }
    *out = vb;
    return D3D_OK;
}

HRESULT Device::CreateIndexBuffer(UINT len, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** out,
                                  HANDLE* shared) {
    (void)usage;
    (void)shared;
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (len == 0 || len > (64u << 20) || pool == D3DPOOL_SCRATCH ||
        (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    IndexBuffer* ib = new IndexBuffer(this, pool, format);
    try {
        ib->bytes.assign(len, 0);
    } catch (...) {
        ib->Release();
        return E_OUTOFMEMORY;
    }
    *out = ib;
    return D3D_OK;
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* srcI, const RECT* sr, IDirect3DSurface9* dstI, const POINT* dp) {
    Surface* src = static_cast<Surface*>(srcI);
    Surface* dst = static_cast<Surface*>(dstI);
    if (!src || !dst || src->desc.Pool != D3DPOOL_SYSTEMMEM || dst->desc.Pool != D3DPOOL_DEFAULT ||
        src->desc.Format != dst->desc.Format || src->locked || dst->locked)
        return D3DERR_INVALIDCALL;
    raster::Rect r = src->pixels.Bounds();
    if (sr) r = raster::Rect{sr->left, sr->top, sr->right, sr->bottom};
    int x = dp ? dp->x : r.left, y = dp ? dp->y : r.top;
    if (r.Empty() || r.left < 0 || r.top < 0 || r.right > src->pixels.width || r.bottom > src->pixels.height || x < 0 ||
        y < 0 || x + r.Width() > dst->pixels.width || y + r.Height() > dst->pixels.height)
        return D3DERR_INVALIDCALL;
    raster::CopyRect(dst->pixels, x, y, src->pixels, r, false, 0);
    return D3D_OK;
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* rtI, IDirect3DSurface9* dstI) {
    Surface* rt = static_cast<Surface*>(rtI);
    Surface* dst = static_cast<Surface*>(dstI);
    if (!rt || !dst || !(rt->desc.Usage & D3DUSAGE_RENDERTARGET) || dst->desc.Pool != D3DPOOL_SYSTEMMEM ||
        rt->desc.Format != dst->desc.Format || rt->desc.Width != dst->desc.Width ||
        rt->desc.Height != dst->desc.Height || dst->locked)
        return D3DERR_INVALIDCALL;
    raster::CopyRect(dst->pixels, 0, 0, rt->pixels, rt->pixels.Bounds(), false, 0);
    return D3D_OK;
}

HRESULT Device::CreateOffscreenPlainSurface(UINT w, UINT h, D3DFORMAT format, D3DPOOL pool, IDirect3DSurface9** out,
                                            HANDLE* shared) {
    (void)shared;
    if (!out) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (w == 0 || h == 0 || w > (UINT)raster::kMaxSide || h > (UINT)raster::kMaxSide || !SupportedFormat(format) ||
        pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC d{};
    d.Format = format;
    d.Type = D3DRTYPE_SURFACE;
    d.Pool = pool;
    d.Width = w;
    d.Height = h;
    Surface* s = new Surface(this, nullptr, d, true);
    if (!s->Allocate()) {
        s->Release();
        return E_OUTOFMEMORY;
    }
    *out = s;
    return D3D_OK;
}

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surfaceI) {
    Surface* s = static_cast<Surface*>(surfaceI);
    if (index != 0 || !s || !(s->desc.Usage & D3DUSAGE_RENDERTARGET) || s->desc.Pool != D3DPOOL_DEFAULT)
        return D3DERR_INVALIDCALL;
    s->AddRef();
    if (renderTarget) renderTarget->Release();
    renderTarget = s;
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** out) {
    if (index != 0 || !out || !renderTarget) return D3DERR_INVALIDCALL;
    renderTarget->AddRef();
    *out = renderTarget;
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (m_bInScene) return D3DERR_INVALIDCALL;
    m_bInScene = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!m_bInScene) return D3DERR_INVALIDCALL;
    m_bInScene = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    (void)z;
    (void)stencil;
    if (!renderTarget || (count && !rects)) return D3DERR_INVALIDCALL;
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    raster::Surface& t = renderTarget->pixels;
    uint32_t pixel = raster::FromArgb(t.format, color);
    if (count == 0) {
        raster::FillRect(t, t.Bounds(), pixel);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i)
        raster::FillRect(t, raster::Rect{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}, pixel);
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE s, DWORD v) {
    if ((DWORD)s >= 256) return D3DERR_INVALIDCALL;
    m_dwRenderStates[s] = v;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE s, DWORD* v) {
    if ((DWORD)s >= 256 || !v) return D3DERR_INVALIDCALL;
    *v = m_dwRenderStates[s];
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DTexture9* tex) {
    if (stage >= 8) return D3DERR_INVALIDCALL;
    if (stage == 0) m_pTexture = static_cast<Texture*>(tex);
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD v) {
    if (stage >= 8 || (DWORD)type >= 8) return D3DERR_INVALIDCALL;
    if (stage == 0) m_dwStageStates[type] = v;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* v) {
    if (stage >= 8 || (DWORD)type >= 8 || !v) return D3DERR_INVALIDCALL;
    *v = stage == 0 ? m_dwStageStates[type] : 0;
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD v) {
    if (sampler >= 16) return D3DERR_INVALIDCALL;
    if (sampler != 0) return D3D_OK;
    if (type == D3DSAMP_ADDRESSU) m_dwAddressU = v;
    if (type == D3DSAMP_ADDRESSV) m_dwAddressV = v;
    return D3D_OK;  // filters: point sampling is all the program uses
}

HRESULT Device::SetFVF(DWORD fvf) {
    m_dwFVF = fvf;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT n, IDirect3DVertexBuffer9* vb, UINT offset, UINT stride) {
    if (n >= 16) return D3DERR_INVALIDCALL;
    if (n == 0) {
        m_pStream = static_cast<VertexBuffer*>(vb);
        m_nStreamOffset = offset;
        m_nStride = stride;
    }
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* ib) {
    m_pIndices = static_cast<IndexBuffer*>(ib);
    return D3D_OK;
}

raster::DrawState Device::CurrentState() const {
    raster::DrawState st;
    st.colorOp = m_dwStageStates[D3DTSS_COLOROP];
    st.colorArg1 = m_dwStageStates[D3DTSS_COLORARG1];
    st.colorArg2 = m_dwStageStates[D3DTSS_COLORARG2];
    st.alphaOp = m_dwStageStates[D3DTSS_ALPHAOP];
    st.alphaArg1 = m_dwStageStates[D3DTSS_ALPHAARG1];
    st.alphaArg2 = m_dwStageStates[D3DTSS_ALPHAARG2];
    st.textureFactor = m_dwRenderStates[D3DRS_TEXTUREFACTOR];
    st.blend = m_dwRenderStates[D3DRS_ALPHABLENDENABLE] != 0;
    st.srcBlend = m_dwRenderStates[D3DRS_SRCBLEND];
    st.dstBlend = m_dwRenderStates[D3DRS_DESTBLEND];
    st.addressU = m_dwAddressU;
    st.addressV = m_dwAddressV;
    return st;
}

bool Device::FetchVertex(UINT index, raster::Vertex* out) const {
    if (!m_pStream || m_nStride < sizeof(raster::Vertex)) return false;
    uint64_t off = (uint64_t)m_nStreamOffset + (uint64_t)index * m_nStride;
    if (off + sizeof(raster::Vertex) > m_pStream->bytes.size()) return false;
    std::memcpy(out, m_pStream->bytes.data() + off, sizeof(raster::Vertex));
    return true;
}

HRESULT Device::Draw(D3DPRIMITIVETYPE type, const raster::Vertex* v, UINT prims) {
    if (!renderTarget) return D3DERR_INVALIDCALL;
    raster::Surface& target = renderTarget->pixels;
    raster::DrawState st = CurrentState();
    const raster::Surface* tex = nullptr;
    raster::Surface copy;
    if (m_pTexture) {
        if (m_pTexture->level0.desc.Pool == D3DPOOL_SYSTEMMEM || m_pTexture->level0.desc.Pool == D3DPOOL_SCRATCH)
            return D3DERR_INVALIDCALL;
    }
    if (m_pTexture && raster::UsesTexture(st)) {  // a texture the stage ignores is not read
        tex = &m_pTexture->level0.pixels;
        if (tex == &target) {  // drawing a texture onto itself reads the picture as it was
            copy = *tex;
            tex = &copy;
        }
    }
    DWORD cull = m_dwRenderStates[D3DRS_CULLMODE];
    raster::Rect clip = target.Bounds();
    auto tri = [&](const raster::Vertex& a, const raster::Vertex& b, const raster::Vertex& c, bool odd) {
        if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
            double area = ((double)b.x - a.x) * ((double)c.y - a.y) - ((double)b.y - a.y) * ((double)c.x - a.x);
            if (odd) area = -area;
            bool clockwise = area > 0;
            if ((cull == D3DCULL_CW) == clockwise) return;
        }
        raster::DrawTriangle(target, clip, tex, a, b, c, st);
    };
    switch (type) {
    case D3DPT_TRIANGLESTRIP:
        if (prims == 2 && cull == D3DCULL_NONE) {
            raster::DrawQuadStrip(target, clip, tex, v, st);
            break;
        }
        for (UINT i = 0; i < prims; ++i) tri(v[i], v[i + 1], v[i + 2], (i & 1) != 0);
        break;
    case D3DPT_TRIANGLELIST:
        for (UINT i = 0; i < prims; ++i) tri(v[3 * i], v[3 * i + 1], v[3 * i + 2], false);
        break;
    case D3DPT_TRIANGLEFAN:
        for (UINT i = 0; i < prims; ++i) tri(v[0], v[i + 1], v[i + 2], false);
        break;
    default: return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

namespace {
// Vertices a primitive run needs, or 0 for a type that is not drawn.
uint64_t VertexCount(D3DPRIMITIVETYPE type, UINT prims) {
    switch (type) {
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return (uint64_t)prims + 2;
    case D3DPT_TRIANGLELIST: return (uint64_t)prims * 3;
    default: return 0;
    }
}
}  // namespace

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT prims) {
    uint64_t n = VertexCount(type, prims);
    if (!m_bInScene || n == 0 || prims == 0 || n > (1u << 20)) return D3DERR_INVALIDCALL;
    if (m_dwFVF != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1)) return D3DERR_INVALIDCALL;
    raster::Vertex quad[4];
    std::vector<raster::Vertex> many;
    raster::Vertex* v = quad;
    if (n > 4) {
        many.resize((size_t)n);
        v = many.data();
    }
    for (uint64_t i = 0; i < n; ++i)
        if (!FetchVertex((UINT)(start + i), &v[i])) return D3DERR_INVALIDCALL;
    if (state != Ok) return D3D_OK;  // a lost device draws nothing, quietly
    return Draw(type, v, prims);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minIndex, UINT numVertices,
                                     UINT startIndex, UINT prims) {
    (void)minIndex;
    (void)numVertices;
    uint64_t n = VertexCount(type, prims);
    if (!m_bInScene || n == 0 || prims == 0 || n > (1u << 20) || !m_pIndices) return D3DERR_INVALIDCALL;
    if (m_dwFVF != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1)) return D3DERR_INVALIDCALL;
    size_t isz = m_pIndices->format == D3DFMT_INDEX16 ? 2 : 4;
    raster::Vertex quad[4];
    std::vector<raster::Vertex> many;
    raster::Vertex* v = quad;
    if (n > 4) {
        many.resize((size_t)n);
        v = many.data();
    }
    for (uint64_t i = 0; i < n; ++i) {
        uint64_t off = ((uint64_t)startIndex + i) * isz;
        if (off + isz > m_pIndices->bytes.size()) return D3DERR_INVALIDCALL;
        // Read at the index's own width (a variable-length copy into a wider word stalls the load).
        const uint8_t* at = m_pIndices->bytes.data() + off;
        uint32_t idx;
        if (isz == 2) {
            uint16_t w;
            std::memcpy(&w, at, 2);
            idx = w;
        } else {
            std::memcpy(&idx, at, 4);
        }
        int64_t vi = (int64_t)base + idx;
        if (vi < 0 || vi > 0xFFFFFFFFll || !FetchVertex((UINT)vi, &v[i])) return D3DERR_INVALIDCALL;
    }
    if (state != Ok) return D3D_OK;
    return Draw(type, v, prims);
}

}  // namespace d3d9

IDirect3D9* Direct3DCreate9(UINT sdk) {
    if (sdk != D3D_SDK_VERSION || d3d9::Settings().failCreate) return nullptr;
    return new d3d9::Direct3D();
}
