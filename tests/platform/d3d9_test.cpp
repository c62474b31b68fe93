// The Direct3D 9 subset: drawing as the drawing layer draws (golden pictures at 16 and 32 bits),
// render targets and processor copies, the texture loader, and the reset rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/d3d9/d3dx9.h"
#include "platform/d3d9/opacity.h"
#include "platform/d3d9/testing.h"
#include "platform/host/host.h"
#include "tests/platform/drawing_support.h"
#include "tools/bmp_writer.h"

namespace {

struct Vtx {
    float x, y, z, rhw;
    DWORD c;
    float u, v;
};

class D3D9Test : public testing::Test {
protected:
    void SetUp() override {
        d3d9::ResetTesting();
        hwnd = drawtest::MakeWindow(96, 64);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }
    void TearDown() override {
        if (vb) vb->Release();
        if (dev) {
            EXPECT_EQ(dev->Release(), 0u);
        }
        if (d3d) d3d->Release();
        DestroyWindow(hwnd);
        d3d9::ResetTesting();
    }
    void Open(D3DFORMAT backFormat, UINT w = 96, UINT h = 64) {
        pp = D3DPRESENT_PARAMETERS{};
        pp.Windowed = TRUE;
        pp.BackBufferWidth = w;
        pp.BackBufferHeight = h;
        pp.BackBufferFormat = backFormat;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev), D3D_OK);
        dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        ASSERT_EQ(dev->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, 0x144, D3DPOOL_MANAGED, &vb, nullptr), D3D_OK);
        dev->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    }
    // A managed 16 x 16 pattern: four coloured quadrants, a clear border, and (with 8-bit alpha) a
    // half-transparent column.
    IDirect3DTexture9* Pattern(D3DFORMAT f) {
        IDirect3DTexture9* t = nullptr;
        EXPECT_EQ(dev->CreateTexture(16, 16, 1, 0, f, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
        D3DLOCKED_RECT lr;
        EXPECT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
        raster::Surface* s = d3d9::TexturePixels(t);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                uint32_t c = x < 8 ? (y < 8 ? 0xFFE02020 : 0xFF20E020) : (y < 8 ? 0xFF2020E0 : 0xFFE0E020);
                if (x == 0 || y == 0 || x == 15 || y == 15) c = 0;
                if (x == 3) c = (c & 0x00FFFFFF) | 0x80000000;
                if (x == 12 && y > 3 && y < 12) c = 0xFFFFFFFF;
                s->Set(x, y, raster::FromArgb(s->format, c));
            }
        EXPECT_EQ(t->UnlockRect(0), D3D_OK);
        return t;
    }
    void Quad(float x, float y, float w, float h, float u0, float v0, float u1, float v1, DWORD c = 0xFFFFFFFF) {
        Vtx* p = nullptr;
        ASSERT_EQ(vb->Lock(0, 0, (void**)&p, 0), D3D_OK);
        p[0] = {x - 0.5f, y - 0.5f, 0, 1, c, u0, v0};
        p[1] = {x - 0.5f, y + h - 0.5f, 0, 1, c, u0, v1};
        p[2] = {x + w - 0.5f, y - 0.5f, 0, 1, c, u1, v0};
        p[3] = {x + w - 0.5f, y + h - 0.5f, 0, 1, c, u1, v1};
        vb->Unlock();
        dev->SetStreamSource(0, vb, 0, sizeof(Vtx));
        ASSERT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }
    void Ops(DWORD colorOp, DWORD alphaOp, DWORD arg2 = D3DTA_DIFFUSE) {
        dev->SetTextureStageState(0, D3DTSS_COLOROP, colorOp);
        dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        dev->SetTextureStageState(0, D3DTSS_COLORARG2, arg2);
        dev->SetTextureStageState(0, D3DTSS_ALPHAOP, alphaOp);
        dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        dev->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    }
    // The scene of the golden pictures: every way the drawing layer draws a quad.
    void DrawScene(D3DFORMAT texFormat) {
        IDirect3DTexture9* t = Pattern(texFormat);
        ASSERT_EQ(dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF303040, 1.0f, 0), D3D_OK);
        D3DRECT r{84, 2, 94, 12};
        ASSERT_EQ(dev->Clear(1, &r, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0), D3D_OK);
        ASSERT_EQ(dev->BeginScene(), D3D_OK);
        dev->SetTexture(0, t);
        Ops(D3DTOP_MODULATE, D3DTOP_SELECTARG1);
        Quad(2, 2, 16, 16, 0, 0, 1, 1);                      // keyed copy
        Quad(20, 2, 32, 24, 0, 0, 1, 1);                     // stretch
        Quad(54, 2, 16, 16, 1, 0, 0, 1);                     // mirrored left-right
        Quad(70, 20, 8, 16, 0.5f, 1, 0, 0);                  // mirrored both ways, half the sheet
        Quad(2, 30, 16, 16, 0, 0, 1, 1, 0xFF80FF40);         // modulate with a colour
        Ops(D3DTOP_ADD, D3DTOP_SELECTARG1);
        Quad(20, 30, 16, 16, 0, 0, 1, 1, 0xFF404040);
        Ops(D3DTOP_SUBTRACT, D3DTOP_SELECTARG1);
        Quad(38, 30, 16, 16, 0, 0, 1, 1, 0xFF606060);
        dev->SetRenderState(D3DRS_TEXTUREFACTOR, 0x60FFFFFF);
        Ops(D3DTOP_BLENDFACTORALPHA, D3DTOP_SELECTARG1, D3DTA_TFACTOR);
        Quad(56, 30, 16, 16, 0, 0, 1, 1);
        Ops(D3DTOP_MODULATE, D3DTOP_MODULATE);
        Quad(2, 48, 16, 16, 0, 0, 1, 1, 0x80FFFFFF);          // alpha modulated by the vertex
        Ops(D3DTOP_MODULATE, D3DTOP_DISABLE);
        Quad(20, 48, 16, 16, 0, 0, 1, 1, 0x60FFFFFF);         // alpha from the vertex only
        // A quad rotated by 30 degrees about its centre (88, 48).
        Ops(D3DTOP_MODULATE, D3DTOP_SELECTARG1);
        Vtx* p = nullptr;
        ASSERT_EQ(vb->Lock(0, 0, (void**)&p, 0), D3D_OK);
        const double a = 30 * 3.14159265358979323846 / 180, c = std::cos(a), s = std::sin(a);
        const double cx[4] = {-8, -8, 8, 8}, cy[4] = {-8, 8, -8, 8};
        const float uu[4] = {0, 0, 1, 1}, vv[4] = {0, 1, 0, 1};
        for (int k = 0; k < 4; ++k)
            p[k] = {(float)(80 + cx[k] * c - cy[k] * s - 0.5), (float)(50 + cx[k] * s + cy[k] * c - 0.5), 0, 1,
                    0xFFFFFFFF, uu[k], vv[k]};
        vb->Unlock();
        dev->SetStreamSource(0, vb, 0, sizeof(Vtx));
        ASSERT_EQ(dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        ASSERT_EQ(dev->EndScene(), D3D_OK);
        dev->SetTexture(0, nullptr);
        t->Release();
    }
    raster::Surface* BackPixels() {
        IDirect3DSurface9* bb = nullptr;
        EXPECT_EQ(dev->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &bb), D3D_OK);
        raster::Surface* s = d3d9::SurfacePixels(bb);
        bb->Release();
        return s;
    }

    HWND hwnd = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* dev = nullptr;
    IDirect3DVertexBuffer9* vb = nullptr;
    D3DPRESENT_PARAMETERS pp{};
};

}  // namespace

TEST_F(D3D9Test, Scene32) {
    Open(D3DFMT_X8R8G8B8);
    DrawScene(D3DFMT_A8R8G8B8);
    drawtest::ExpectGolden(*BackPixels(), "d3d9_scene_32");
}

TEST_F(D3D9Test, Scene16) {
    Open(D3DFMT_R5G6B5);
    DrawScene(D3DFMT_A1R5G5B5);
    drawtest::ExpectGolden(*BackPixels(), "d3d9_scene_16");
}

TEST_F(D3D9Test, BlendingIntoATextureKeepsTheAlphaResult) {
    Open(D3DFMT_X8R8G8B8);
    IDirect3DTexture9* rt = nullptr;
    ASSERT_EQ(D3DXCreateTexture(dev, 48, 24, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rt), D3D_OK);
    IDirect3DSurface9* s = nullptr;
    ASSERT_EQ(rt->GetSurfaceLevel(0, &s), D3D_OK);
    ASSERT_EQ(dev->SetRenderTarget(0, s), D3D_OK);
    D3DRECT half{0, 0, 24, 24};
    ASSERT_EQ(dev->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0), D3D_OK);
    ASSERT_EQ(dev->Clear(1, &half, D3DCLEAR_TARGET, 0x80204060, 1.0f, 0), D3D_OK);
    IDirect3DTexture9* t = Pattern(D3DFMT_A8R8G8B8);
    ASSERT_EQ(dev->BeginScene(), D3D_OK);
    dev->SetTexture(0, t);
    Ops(D3DTOP_MODULATE, D3DTOP_MODULATE);
    Quad(4, 4, 40, 16, 0, 0, 1, 1, 0xC0FFFFFF);
    ASSERT_EQ(dev->EndScene(), D3D_OK);
    drawtest::ExpectGolden(*d3d9::SurfacePixels(s), "d3d9_blend_alpha");
    // The processor reads a render target through a system-memory copy.
    IDirect3DSurface9* sys = nullptr;
    ASSERT_EQ(dev->CreateOffscreenPlainSurface(48, 24, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &sys, nullptr), D3D_OK);
    D3DLOCKED_RECT lr;
    EXPECT_EQ(s->LockRect(&lr, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(dev->GetRenderTargetData(s, sys), D3D_OK);
    ASSERT_EQ(sys->LockRect(&lr, nullptr, 0), D3D_OK);
    ((DWORD*)lr.pBits)[0] = 0xFF123456;
    sys->UnlockRect();
    ASSERT_EQ(dev->UpdateSurface(sys, nullptr, s, nullptr), D3D_OK);
    EXPECT_EQ(d3d9::SurfacePixels(s)->Get(0, 0), 0xFF123456u);
    IDirect3DSurface9* bb = nullptr;
    dev->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &bb);
    dev->SetRenderTarget(0, bb);
    bb->Release();
    sys->Release();
    s->Release();
    t->Release();
    rt->Release();
}

TEST_F(D3D9Test, TextureFromFileTakesTheColourKeyAndTheDeviceRules) {
    std::string dir = drawtest::TempFolder("d3dx_load");
    tools::BmpPicture pic = tools::SolidPicture(100, 60, 0x00FF00);
    for (int x = 0; x < 50; ++x) pic.rgb[(size_t)10 * 100 + x] = 0x123456;
    ASSERT_TRUE(tools::WriteBmp(dir + "/s.bmp", pic, tools::BmpOptions{24, false, false}));
    std::string path = WindowsPathFromHost(dir + "/s.bmp");
    d3d9::Testing().requirePow2 = true;
    Open(D3DFMT_X8R8G8B8);
    struct Case {
        D3DFORMAT f;
        uint32_t opaque;
    } cases[] = {{D3DFMT_A8R8G8B8, 0xFF123456}, {D3DFMT_A1R5G5B5, 0x8000 | (0x12 >> 3) << 10 | (0x34 >> 3) << 5 | (0x56 >> 3)}};
    for (const Case& c : cases) {
        IDirect3DTexture9* t = nullptr;
        D3DXIMAGE_INFO info{};
        ASSERT_EQ(D3DXCreateTextureFromFileExA(dev, path.c_str(), 0, 0, 1, 0, c.f, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                               D3DX_DEFAULT, 0xFF00FF00, &info, nullptr, &t),
                  D3D_OK);
        D3DSURFACE_DESC d;
        t->GetLevelDesc(0, &d);
        EXPECT_EQ(d.Width, 128u);
        EXPECT_EQ(d.Height, 64u);
        EXPECT_EQ(info.Width, 100u);
        raster::Surface* s = d3d9::TexturePixels(t);
        EXPECT_EQ(s->Get(0, 0), 0u);            // the key colour: transparent black
        EXPECT_EQ(s->Get(5, 10), c.opaque);     // other colours opaque
        EXPECT_EQ(s->Get(110, 10), 0u);         // outside the picture
        t->Release();
    }
    EXPECT_EQ(D3DXCreateTextureFromFileExA(dev, "missing.bmp", 0, 0, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           D3DX_FILTER_NONE, D3DX_DEFAULT, 0, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileExA(dev, "missing.bmp", 0, 0, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           D3DX_FILTER_NONE, D3DX_DEFAULT, 0, nullptr, nullptr, &t),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(t, nullptr);
}

TEST_F(D3D9Test, ResetNeedsTheDefaultPoolReleased) {
    Open(D3DFMT_X8R8G8B8);
    IDirect3DTexture9* rt = nullptr;
    IDirect3DTexture9* managed = Pattern(D3DFMT_A8R8G8B8);
    ASSERT_EQ(dev->CreateTexture(32, 32, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rt, nullptr), D3D_OK);
    IDirect3DSurface9* bb = nullptr;
    dev->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &bb);

    EXPECT_EQ(dev->TestCooperativeLevel(), D3D_OK);
    d3d9::SimulateDeviceLoss(dev);
    EXPECT_EQ(dev->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(dev->Reset(&pp), D3DERR_DEVICELOST);
    d3d9::SimulateDeviceNotReset(dev);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(dev->Reset(&pp), D3DERR_INVALIDCALL);  // render target and back buffer still held
    rt->Release();
    EXPECT_EQ(dev->Reset(&pp), D3DERR_INVALIDCALL);  // back buffer still held
    bb->Release();
    EXPECT_EQ(dev->Reset(&pp), D3D_OK);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3D_OK);
    // Managed textures keep their pixels.
    EXPECT_EQ(d3d9::TexturePixels(managed)->Get(12, 5), 0xFFFFFFFFu);
    unsigned before = d3d9::PresentCount(dev);
    EXPECT_EQ(dev->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(d3d9::PresentCount(dev), before + 1);
    managed->Release();
}

TEST_F(D3D9Test, CreationFailuresAndChecks) {
    IDirect3DDevice9* d = nullptr;
    D3DPRESENT_PARAMETERS p{};
    p.Windowed = TRUE;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    d3d9::Testing().failHardwareVertexProcessing = true;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, &d), D3DERR_NOTAVAILABLE);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &d), D3D_OK);
    // A windowed back buffer takes the client size.
    IDirect3DSurface9* bb = nullptr;
    d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &bb);
    D3DSURFACE_DESC desc;
    bb->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 96u);
    EXPECT_EQ(desc.Height, 64u);
    bb->Release();
    IDirect3DTexture9* t = nullptr;
    d3d9::Testing().failDefaultPoolTextures = 1;
    EXPECT_EQ(D3DXCreateTexture(d, 64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &t),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(d->CreateTexture(8192, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(d->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);  // outside a scene
    EXPECT_EQ(d->EndScene(), D3DERR_INVALIDCALL);
    D3DCAPS9 caps;
    d->GetDeviceCaps(&caps);
    EXPECT_TRUE(caps.Caps3 & D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD);
    EXPECT_EQ(d->Release(), 0u);
    D3DDISPLAYMODE mode;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(0, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(mode.RefreshRate, 60u);
}

TEST_F(D3D9Test, TextureOpacityFollowsItsPixels) {
    Open(D3DFMT_X8R8G8B8);
    IDirect3DTexture9* t = nullptr;
    ASSERT_EQ(dev->CreateTexture(8, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
    EXPECT_FALSE(d3d9::TextureIsOpaque(t));  // a new texture is transparent black
    auto write = [&](uint32_t texel, int x, int y, bool unlock) {
        D3DLOCKED_RECT lr;
        ASSERT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 8; ++i)
                if (x < 0 || (i == x && j == y)) std::memcpy((uint8_t*)lr.pBits + j * lr.Pitch + i * 4, &texel, 4);
        // While locked the pixels may still change: never opaque for certain.
        EXPECT_FALSE(d3d9::TextureIsOpaque(t));
        if (unlock) t->UnlockRect(0);
    };
    write(0xFF336699u, -1, 0, true);
    EXPECT_TRUE(d3d9::TextureIsOpaque(t));
    write(0x7F336699u, 7, 3, true);  // one translucent texel, written through a lock
    EXPECT_FALSE(d3d9::TextureIsOpaque(t));
    write(0xFF336699u, 7, 3, true);
    EXPECT_TRUE(d3d9::TextureIsOpaque(t));
    EXPECT_FALSE(d3d9::TextureIsOpaque(nullptr));
    t->Release();
}
