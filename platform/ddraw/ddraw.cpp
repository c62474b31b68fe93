// The DirectDraw object, its surfaces, palettes and clipper.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/ddraw/testing.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/host/host.h"
#include "platform/raster/blit.h"
#include "platform/win32/messages.h"

const GUID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace ddraw {
namespace {

TestSettings& Settings() {
    static TestSettings s;
    return s;
}

raster::PixelFormat FormatOfDepth(int bpp) {
    switch (bpp) {
    case 8: return raster::PixelFormat::P8;
    case 16: return raster::PixelFormat::R5G6B5;
    case 32: return raster::PixelFormat::X8R8G8B8;
    default: return raster::PixelFormat::Unknown;
    }
}

void FillPixelFormat(raster::PixelFormat f, DDPIXELFORMAT* pf) {
    std::memset(pf, 0, sizeof *pf);
    pf->dwSize = sizeof *pf;
    pf->dwRGBBitCount = (DWORD)raster::BitsPerPixel(f);
    if (f == raster::PixelFormat::P8) {
        pf->dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
        return;
    }
    pf->dwFlags = DDPF_RGB;
    uint32_t r, g, b, a;
    raster::ChannelMasks(f, &r, &g, &b, &a);
    pf->dwRBitMask = r;
    pf->dwGBitMask = g;
    pf->dwBBitMask = b;
    pf->dwRGBAlphaBitMask = a;
}

raster::PixelFormat FormatOfPixelFormat(const DDPIXELFORMAT& pf) {
    if (pf.dwFlags & DDPF_PALETTEINDEXED8) return raster::PixelFormat::P8;
    if (pf.dwRGBBitCount == 16) return pf.dwGBitMask == 0x03E0 ? raster::PixelFormat::A1R5G5B5 : raster::PixelFormat::R5G6B5;
    if (pf.dwRGBBitCount == 32) return pf.dwRGBAlphaBitMask ? raster::PixelFormat::A8R8G8B8 : raster::PixelFormat::X8R8G8B8;
    if (pf.dwRGBBitCount == 8) return raster::PixelFormat::P8;
    return raster::PixelFormat::Unknown;
}

class DirectDraw;
class Surface;

class Clipper : public raster::RefCounted<IDirectDrawClipper> {
public:
    HRESULT SetHWnd(DWORD, HWND h) override {
        if (h && !IsWindow(h)) return DDERR_INVALIDPARAMS;
        hwnd = h;
        return DD_OK;
    }
    HRESULT GetHWnd(HWND* out) override {
        if (!out) return DDERR_INVALIDPARAMS;
        *out = hwnd;
        return DD_OK;
    }
    HWND hwnd = nullptr;
};

class Palette : public raster::RefCounted<IDirectDrawPalette> {
public:
    Palette() : colours(std::make_shared<raster::Palette>()) {}
    HRESULT GetEntries(DWORD, DWORD base, DWORD n, LPPALETTEENTRY out) override {
        if (!out || base > 256 || n > 256 - base) return DDERR_INVALIDPARAMS;
        std::memcpy(out, entries + base, n * sizeof(PALETTEENTRY));
        return DD_OK;
    }
    HRESULT SetEntries(DWORD, DWORD start, DWORD n, LPPALETTEENTRY in) override {
        if (!in || start > 256 || n > 256 - start) return DDERR_INVALIDPARAMS;
        std::memcpy(entries + start, in, n * sizeof(PALETTEENTRY));
        for (DWORD i = start; i < start + n; ++i)
            colours->argb[i] = 0xFF000000u | ((uint32_t)entries[i].peRed << 16) | ((uint32_t)entries[i].peGreen << 8) |
                               entries[i].peBlue;
        return DD_OK;
    }
    PALETTEENTRY entries[256] = {};
    std::shared_ptr<raster::Palette> colours;
};

class Surface : public raster::RefCounted<IDirectDrawSurface7> {
public:
    Surface(DirectDraw* dd, DWORD caps);
    ~Surface() override;
    HRESULT Blt(LPRECT dst, IDirectDrawSurface7* src, LPRECT srcRect, DWORD flags, DDBLTFX* fx) override;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* src, LPRECT srcRect, DWORD trans) override;
    HRESULT Flip(IDirectDrawSurface7* over, DWORD flags) override;
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** out) override;
    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT GetDC(HDC* out) override;
    HRESULT ReleaseDC(HDC h) override;
    HRESULT GetPixelFormat(DDPIXELFORMAT* pf) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;
    HRESULT IsLost() override { return lost ? DDERR_SURFACELOST : DD_OK; }
    HRESULT Lock(LPRECT r, DDSURFACEDESC2* desc, DWORD flags, HANDLE ev) override;
    HRESULT Unlock(LPRECT r) override;
    HRESULT Restore() override;
    HRESULT SetClipper(IDirectDrawClipper* c) override;
    HRESULT SetPalette(IDirectDrawPalette* p) override;

    bool Windowed() const;
    // Where drawing into this surface lands: the window's picture for a windowed primary.
    raster::Surface* Target(RECT* dstRect, raster::Rect* clipped, bool* ok);
    void Shown();

    DirectDraw* dd;
    DWORD caps;
    raster::Surface pixels;
    bool system = false;
    bool lost = false;
    bool locked = false;
    bool hasKey = false;
    uint32_t key = 0;
    HDC dc = nullptr;
    Palette* palette = nullptr;
    Clipper* clipper = nullptr;
    std::vector<Surface*> chain;  // a flipping primary's back buffers (references held)
    Surface* front = nullptr;     // a back buffer's primary (no reference)
    int displayW = 0, displayH = 0;  // a windowed primary's desktop size
};

class DirectDraw : public raster::RefCounted<IDirectDraw7> {
public:
    ULONG Release() override {
        ULONG n = (ULONG)--m_nRefs;
        if (n == 0) {
            released = true;
            if (children == 0) delete this;
        }
        return n;
    }
    void AddChild() { ++children; }
    void RemoveChild() {
        if (--children == 0 && released) delete this;
    }
    HRESULT CreateClipper(DWORD, IDirectDrawClipper** out, IUnknown*) override {
        if (!out) return DDERR_INVALIDPARAMS;
        *out = new Clipper;
        return DD_OK;
    }
    HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY table, IDirectDrawPalette** out, IUnknown*) override {
        if (!out || !table || !(flags & DDPCAPS_8BIT)) return DDERR_INVALIDPARAMS;
        Palette* p = new Palette;
        p->SetEntries(0, 0, 256, table);
        *out = p;
        return DD_OK;
    }
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** out, IUnknown*) override;
    HRESULT FlipToGDISurface() override { return DD_OK; }
    HRESULT GetAvailableVidMem(DDSCAPS2*, LPDWORD total, LPDWORD free) override {
        if (total) *total = 256u << 20;
        if (free) *free = 192u << 20;
        return DD_OK;
    }
    HRESULT GetMonitorFrequency(LPDWORD hz) override {
        if (!hz) return DDERR_INVALIDPARAMS;
        *hz = (DWORD)gdi::DesktopRefreshRate();
        return DD_OK;
    }
    HRESULT RestoreDisplayMode() override {
        if (modeBpp && hwnd) host::SetFullScreen(hwnd, false);
        modeBpp = 0;
        return DD_OK;
    }
    HRESULT SetCooperativeLevel(HWND h, DWORD flags) override {
        bool full = (flags & DDSCL_FULLSCREEN) != 0;
        if (full != ((flags & DDSCL_EXCLUSIVE) != 0)) return DDERR_INVALIDPARAMS;
        if (h && !IsWindow(h)) return DDERR_INVALIDPARAMS;
        if (full && !h) return DDERR_INVALIDPARAMS;
        hwnd = h;
        exclusive = full;
        if (h) host::SetFullScreen(h, full);
        return DD_OK;
    }
    HRESULT SetDisplayMode(DWORD w, DWORD h, DWORD bpp, DWORD refresh, DWORD) override {
        if (!exclusive) return DDERR_NOEXCLUSIVEMODE;
        if (FormatOfDepth((int)bpp) == raster::PixelFormat::Unknown || w == 0 || h == 0 || w > 4096 || h > 4096 ||
            (refresh != 0 && (int)refresh != gdi::DesktopRefreshRate()))
            return DDERR_INVALIDMODE;
        modeW = (int)w;
        modeH = (int)h;
        modeBpp = (int)bpp;
        return DD_OK;
    }
    HRESULT WaitForVerticalBlank(DWORD, HANDLE) override {
        host::WaitForVerticalBlank();
        return DD_OK;
    }
    HRESULT RestoreAllSurfaces() override {
        for (Surface* s : surfaces) s->Restore();
        return DD_OK;
    }
    raster::PixelFormat DisplayFormat() const {
        if (exclusive && modeBpp) return FormatOfDepth(modeBpp);
        return host::DesktopDepth() == 16 ? raster::PixelFormat::R5G6B5 : raster::PixelFormat::X8R8G8B8;
    }
    // Shows a full-screen picture (converted to the host's format).
    void Show(const raster::Surface& s, HWND target) {
        if (!target || !s.Valid()) return;
        frame.resize((size_t)s.width * s.height);
        if (host::NextFrameShown()) raster::ToArgbImage(s, frame.data(), s.width * 4, true);
        host::PresentFrame(target, frame.data(), s.width, s.height, s.width * 4);
        ++presented;
    }

    HWND hwnd = nullptr;
    bool exclusive = false;
    int modeW = 0, modeH = 0, modeBpp = 0;
    Surface* primary = nullptr;
    std::vector<Surface*> surfaces;
    std::shared_ptr<raster::Palette> displayPalette = std::make_shared<raster::Palette>();
    std::vector<uint32_t> frame;
    unsigned presented = 0;
    int children = 0;
    bool released = false;
};

// ---- Surface ----

Surface::Surface(DirectDraw* d, DWORD c) : dd(d), caps(c) {
    dd->AddChild();
    dd->surfaces.push_back(this);
}

Surface::~Surface() {
    if (dc) gdi::ReleaseSurfaceDC(dc);
    for (Surface* s : chain) {
        s->front = nullptr;
        s->Release();
    }
    if (palette) palette->Release();
    if (clipper) clipper->Release();
    if (dd->primary == this) dd->primary = nullptr;
    dd->surfaces.erase(std::remove(dd->surfaces.begin(), dd->surfaces.end(), this), dd->surfaces.end());
    dd->RemoveChild();
}

bool Surface::Windowed() const { return (caps & DDSCAPS_PRIMARYSURFACE) && !dd->exclusive; }

raster::Surface* Surface::Target(RECT* dst, raster::Rect* out, bool* ok) {
    *ok = true;
    if (!Windowed()) {
        *out = dst ? raster::Rect{dst->left, dst->top, dst->right, dst->bottom} : pixels.Bounds();
        return &pixels;
    }
    // The screen seen through the clipper: the window's client area in screen coordinates.
    HWND w = clipper ? clipper->hwnd : nullptr;
    RECT c{0, 0, 0, 0};
    if (!w || !GetClientRect(w, &c)) {
        *ok = false;
        return nullptr;
    }
    POINT o{0, 0};
    ClientToScreen(w, &o);
    int cw = std::max<LONG>(1, c.right), ch = std::max<LONG>(1, c.bottom);
    if (pixels.width != cw || pixels.height != ch) {
        pixels.Create(cw, ch, dd->DisplayFormat());
    }
    raster::Rect r = dst ? raster::Rect{dst->left - o.x, dst->top - o.y, dst->right - o.x, dst->bottom - o.y}
                         : raster::Rect{-o.x, -o.y, displayW - o.x, displayH - o.y};
    *out = r;
    return &pixels;
}

void Surface::Shown() {
    if (!(caps & DDSCAPS_PRIMARYSURFACE)) return;
    HWND target = Windowed() ? (clipper ? clipper->hwnd : nullptr) : dd->hwnd;
    dd->Show(pixels, target);
}

HRESULT Surface::Blt(LPRECT dstRect, IDirectDrawSurface7* srcI, LPRECT srcRect, DWORD flags, DDBLTFX* fx) {
    if (lost) return DDERR_SURFACELOST;
    if (locked) return DDERR_SURFACEBUSY;
    bool ok;
    raster::Rect dr;
    raster::Surface* target = Target(dstRect, &dr, &ok);
    if (!ok) return DDERR_INVALIDOBJECT;
    bool clipped = Windowed();
    if (!clipped && (dr.left < 0 || dr.top < 0 || dr.right > target->width || dr.bottom > target->height))
        return DDERR_INVALIDRECT;
    if (dr.Empty()) return DDERR_INVALIDRECT;
    if (flags & DDBLT_COLORFILL) {
        if (!fx) return DDERR_INVALIDPARAMS;
        raster::FillRect(*target, dr, fx->dwFillColor);
        Shown();
        return DD_OK;
    }
    Surface* src = static_cast<Surface*>(srcI);
    if (!src) return DDERR_INVALIDPARAMS;
    if (src->lost) return DDERR_SURFACELOST;
    if (src->pixels.format != target->format) return DDERR_INVALIDPIXELFORMAT;
    raster::Rect sr = srcRect ? raster::Rect{srcRect->left, srcRect->top, srcRect->right, srcRect->bottom}
                              : src->pixels.Bounds();
    if (sr.Empty() || sr.left < 0 || sr.top < 0 || sr.right > src->pixels.width || sr.bottom > src->pixels.height)
        return DDERR_INVALIDRECT;
    if (clipped) {
        // Cut the destination to the window and the source in proportion.
        raster::Rect vis = raster::Intersect(dr, target->Bounds());
        if (vis.Empty()) return DD_OK;
        int64_t dw = dr.Width(), dh = dr.Height(), sw = sr.Width(), sh = sr.Height();
        raster::Rect s2{sr.left + (int)((vis.left - dr.left) * sw / dw), sr.top + (int)((vis.top - dr.top) * sh / dh),
                        sr.left + (int)((vis.right - dr.left) * sw / dw), sr.top + (int)((vis.bottom - dr.top) * sh / dh)};
        if (s2.Empty()) return DD_OK;
        dr = vis;
        sr = s2;
    }
    bool keyed = (flags & DDBLT_KEYSRC) && src->hasKey;
    raster::StretchRect(*target, dr, src->pixels, sr, keyed, src->key);
    Shown();
    return DD_OK;
}

HRESULT Surface::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* srcI, LPRECT srcRect, DWORD trans) {
    Surface* src = static_cast<Surface*>(srcI);
    if (!src) return DDERR_INVALIDPARAMS;
    if (lost || src->lost) return DDERR_SURFACELOST;
    if (locked || src->locked) return DDERR_SURFACEBUSY;
    if (Windowed()) return DDERR_UNSUPPORTED;  // the desktop takes clipped blits only
    if (src->pixels.format != pixels.format) return DDERR_INVALIDPIXELFORMAT;
    raster::Rect sr = srcRect ? raster::Rect{srcRect->left, srcRect->top, srcRect->right, srcRect->bottom}
                              : src->pixels.Bounds();
    if (sr.Empty() || sr.left < 0 || sr.top < 0 || sr.right > src->pixels.width || sr.bottom > src->pixels.height ||
        (int64_t)x + sr.Width() > pixels.width || (int64_t)y + sr.Height() > pixels.height)
        return DDERR_INVALIDRECT;
    bool keyed = (trans & DDBLTFAST_SRCCOLORKEY) && src->hasKey;
    raster::CopyRect(pixels, (int)x, (int)y, src->pixels, sr, keyed, src->key);
    Shown();
    return DD_OK;
}

HRESULT Surface::Flip(IDirectDrawSurface7*, DWORD flags) {
    if (!(caps & DDSCAPS_PRIMARYSURFACE) || chain.empty() || Windowed()) return DDERR_NOTFLIPPABLE;
    if (lost) return DDERR_SURFACELOST;
    for (Surface* s : chain)
        if (s->lost) return DDERR_SURFACELOST;
    // The front takes the first back buffer's picture; the others move one place up.
    std::swap(pixels.bits, chain[0]->pixels.bits);
    for (size_t i = 1; i < chain.size(); ++i) std::swap(chain[i - 1]->pixels.bits, chain[i]->pixels.bits);
    if (!(flags & DDFLIP_NOVSYNC)) host::WaitForVerticalBlank();
    Shown();
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(DDSCAPS2* c, IDirectDrawSurface7** out) {
    if (!c || !out) return DDERR_INVALIDPARAMS;
    if (!(c->dwCaps & DDSCAPS_BACKBUFFER) || chain.empty()) return DDERR_NOTFOUND;
    chain[0]->AddRef();
    *out = chain[0];
    return DD_OK;
}

HRESULT Surface::GetColorKey(DWORD flags, DDCOLORKEY* k) {
    if (!k || flags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;
    if (!hasKey) return DDERR_NOCOLORKEY;
    k->dwColorSpaceLowValue = k->dwColorSpaceHighValue = key;
    return DD_OK;
}

HRESULT Surface::SetColorKey(DWORD flags, DDCOLORKEY* k) {
    if (!(flags & DDCKEY_SRCBLT)) return DDERR_INVALIDPARAMS;
    hasKey = k != nullptr;
    key = k ? k->dwColorSpaceLowValue : 0;
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* out) {
    if (!out) return DDERR_INVALIDPARAMS;
    if (lost) return DDERR_SURFACELOST;
    if (locked || dc) return DDERR_SURFACEBUSY;
    dc = gdi::CreateSurfaceDC(&pixels);
    if (!dc) return DDERR_GENERIC;
    *out = dc;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC h) {
    if (!dc || h != dc) return DDERR_INVALIDPARAMS;
    gdi::ReleaseSurfaceDC(dc);
    dc = nullptr;
    Shown();
    return DD_OK;
}

HRESULT Surface::GetPixelFormat(DDPIXELFORMAT* pf) {
    if (!pf) return DDERR_INVALIDPARAMS;
    FillPixelFormat(pixels.format, pf);
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC2* d) {
    if (!d) return DDERR_INVALIDPARAMS;
    DWORD size = d->dwSize;
    std::memset(d, 0, sizeof *d);
    d->dwSize = size;
    d->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    bool win = Windowed();
    d->dwWidth = (DWORD)(win ? displayW : pixels.width);
    d->dwHeight = (DWORD)(win ? displayH : pixels.height);
    d->lPitch = pixels.pitch;
    d->ddsCaps.dwCaps = caps;
    FillPixelFormat(pixels.format, &d->ddpfPixelFormat);
    if (hasKey) {
        d->dwFlags |= DDSD_CKSRCBLT;
        d->ddckCKSrcBlt.dwColorSpaceLowValue = d->ddckCKSrcBlt.dwColorSpaceHighValue = key;
    }
    return DD_OK;
}

HRESULT Surface::Lock(LPRECT r, DDSURFACEDESC2* d, DWORD flags, HANDLE) {
    (void)flags;
    if (!d) return DDERR_INVALIDPARAMS;
    if (lost) return DDERR_SURFACELOST;
    if (locked || dc) return DDERR_SURFACEBUSY;
    if (Windowed()) return DDERR_UNSUPPORTED;
    int x = 0, y = 0;
    if (r) {
        if (r->left < 0 || r->top < 0 || r->right > pixels.width || r->bottom > pixels.height || r->left >= r->right ||
            r->top >= r->bottom)
            return DDERR_INVALIDRECT;
        x = r->left;
        y = r->top;
    }
    GetSurfaceDesc(d);
    d->dwFlags |= DDSD_LPSURFACE;
    d->lpSurface = pixels.Row(y) + (size_t)x * raster::BytesPerPixel(pixels.format);
    locked = true;
    return DD_OK;
}

HRESULT Surface::Unlock(LPRECT) {
    if (!locked) return DDERR_NOTLOCKED;
    locked = false;
    return DD_OK;
}

HRESULT Surface::Restore() {
    if (!lost) return DD_OK;
    lost = false;
    pixels.Clear();
    return DD_OK;
}

HRESULT Surface::SetClipper(IDirectDrawClipper* c) {
    if (c) c->AddRef();
    if (clipper) clipper->Release();
    clipper = static_cast<Clipper*>(c);
    return DD_OK;
}

HRESULT Surface::SetPalette(IDirectDrawPalette* p) {
    if (p) p->AddRef();
    if (palette) palette->Release();
    palette = static_cast<Palette*>(p);
    if (palette && (caps & DDSCAPS_PRIMARYSURFACE)) {
        // The display's colours: every palettised surface of the object is seen through them.
        dd->displayPalette = palette->colours;
        for (Surface* s : dd->surfaces)
            if (s->pixels.format == raster::PixelFormat::P8) s->pixels.palette = palette->colours;
    } else if (palette) {
        pixels.palette = palette->colours;
    }
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** out, IUnknown*) {
    if (!desc || !out || !(desc->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    DWORD caps = desc->ddsCaps.dwCaps;
    TestSettings& t = Settings();
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        if (primary) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        Surface* p = new Surface(this, caps | DDSCAPS_VIDEOMEMORY | DDSCAPS_FRONTBUFFER);
        if (exclusive) {
            if (!modeBpp) {
                p->Release();
                return DDERR_NOEXCLUSIVEMODE;
            }
            if (!p->pixels.Create(modeW, modeH, DisplayFormat())) {
                p->Release();
                return DDERR_OUTOFMEMORY;
            }
            DWORD n = (caps & DDSCAPS_FLIP) && (desc->dwFlags & DDSD_BACKBUFFERCOUNT) ? desc->dwBackBufferCount : 0;
            if (n > 3) n = 3;
            for (DWORD i = 0; i < n; ++i) {
                Surface* b = new Surface(this, DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY | DDSCAPS_FLIP);
                b->pixels.Create(modeW, modeH, DisplayFormat());
                b->front = p;
                p->chain.push_back(b);
            }
        } else {
            RECT d;
            host::DesktopRect(&d);
            p->displayW = d.right - d.left;
            p->displayH = d.bottom - d.top;
            p->pixels.Create(1, 1, DisplayFormat());
        }
        if (DisplayFormat() == raster::PixelFormat::P8) {
            p->pixels.palette = displayPalette;
            for (Surface* b : p->chain) b->pixels.palette = displayPalette;
        }
        primary = p;
        *out = p;
        return DD_OK;
    }
    if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT) || desc->dwWidth == 0 || desc->dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    raster::PixelFormat f = (desc->dwFlags & DDSD_PIXELFORMAT) ? FormatOfPixelFormat(desc->ddpfPixelFormat)
                                                              : DisplayFormat();
    if (f == raster::PixelFormat::Unknown) return DDERR_INVALIDPIXELFORMAT;
    bool system = (caps & DDSCAPS_SYSTEMMEMORY) != 0;
    if (!system && t.failVideoSurfaces > 0) {
        --t.failVideoSurfaces;
        return DDERR_OUTOFVIDEOMEMORY;
    }
    Surface* s = new Surface(this, caps | (system ? 0 : DDSCAPS_VIDEOMEMORY));
    s->system = system;
    if (desc->dwWidth > (DWORD)raster::kMaxSide || desc->dwHeight > (DWORD)raster::kMaxSide ||
        !s->pixels.Create((int)desc->dwWidth, (int)desc->dwHeight, f)) {
        s->Release();
        return system ? DDERR_OUTOFMEMORY : DDERR_OUTOFVIDEOMEMORY;
    }
    if (f == raster::PixelFormat::P8) s->pixels.palette = displayPalette;
    if (desc->dwFlags & DDSD_CKSRCBLT) {
        s->hasKey = true;
        s->key = desc->ddckCKSrcBlt.dwColorSpaceLowValue;
    }
    *out = s;
    return DD_OK;
}

}  // namespace

TestSettings& Testing() { return Settings(); }
void ResetTesting() { Settings() = TestSettings{}; }

void SimulateSurfaceLoss(IDirectDraw7* ddI) {
    DirectDraw* dd = static_cast<DirectDraw*>(ddI);
    if (!dd) return;
    for (Surface* s : dd->surfaces)
        if (!s->system) {
            s->lost = true;
            s->pixels.Clear();
        }
}

void SimulateSurfaceLost(IDirectDrawSurface7* s) {
    if (!s) return;
    static_cast<Surface*>(s)->lost = true;
    static_cast<Surface*>(s)->pixels.Clear();
}

raster::Surface* SurfacePixels(IDirectDrawSurface7* s) { return s ? &static_cast<Surface*>(s)->pixels : nullptr; }

unsigned PresentCount(IDirectDraw7* dd) { return dd ? static_cast<DirectDraw*>(dd)->presented : 0; }

}  // namespace ddraw

HRESULT DirectDrawCreateEx(GUID* guid, LPVOID* out, REFIID iid, IUnknown* outer) {
    (void)guid;
    if (!out || outer) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (std::memcmp(&iid, &IID_IDirectDraw7, sizeof(GUID)) != 0) return DDERR_INVALIDPARAMS;
    if (ddraw::Settings().failCreate) return DDERR_GENERIC;
    *out = static_cast<IDirectDraw7*>(new ddraw::DirectDraw());
    return DD_OK;
}
