// The drawing layer's speed: a colour-keyed 32 x 32 BltFast beside SDL's colour-keyed blit on the
// same 32-bit surfaces (goal: ratio <= 1.0), and a 640 x 480 frame of 700 colour-keyed 32 x 32
// sprites through each back end (goal: under 0.83 ms, 1/20 of a 60 fps frame), beside one
// 640 x 480 frame copy.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/testing.h"
#include "platform/ddraw/ddraw.h"
#include "platform/ddraw/testing.h"
#include "platform/win32/win32.h"

namespace {

constexpr int kSprites = 700;
constexpr uint32_t kKey = 0x00FF00FF;

// A 32 x 32 sprite: a disc on the key colour, so about a fifth of the pixels are skipped.
void SpritePixels(uint32_t* p, int pitchWords) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int dx = x - 16, dy = y - 16;
            p[y * pitchWords + x] = dx * dx + dy * dy < 225 ? 0x00203040u + (uint32_t)(x * 0x10203) : kKey;
        }
}

void Position(int i, int* x, int* y) {
    *x = (i * 37) % (640 - 32);
    *y = (i * 53) % (480 - 32);
}

HWND BenchWindow() {
    static HWND h = nullptr;
    if (!h) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DrawBench";
        RegisterClassExA(&wc);
        h = CreateWindowExA(0, "DrawBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                            nullptr);
    }
    return h;
}

struct DDrawSetup {
    IDirectDraw7* dd = nullptr;
    IDirectDrawSurface7* dst = nullptr;
    IDirectDrawSurface7* spr = nullptr;
    DDrawSetup() {
        DirectDrawCreateEx(nullptr, (void**)&dd, IID_IDirectDraw7, nullptr);
        dd->SetCooperativeLevel(BenchWindow(), DDSCL_NORMAL);
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof d;
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        d.ddpfPixelFormat.dwSize = sizeof d.ddpfPixelFormat;
        d.ddpfPixelFormat.dwFlags = DDPF_RGB;
        d.ddpfPixelFormat.dwRGBBitCount = 32;
        d.ddpfPixelFormat.dwRBitMask = 0xFF0000;
        d.ddpfPixelFormat.dwGBitMask = 0xFF00;
        d.ddpfPixelFormat.dwBBitMask = 0xFF;
        d.dwWidth = 640;
        d.dwHeight = 480;
        dd->CreateSurface(&d, &dst, nullptr);
        d.dwWidth = d.dwHeight = 32;
        dd->CreateSurface(&d, &spr, nullptr);
        DDSURFACEDESC2 l{};
        l.dwSize = sizeof l;
        spr->Lock(nullptr, &l, DDLOCK_WAIT, nullptr);
        SpritePixels((uint32_t*)l.lpSurface, l.lPitch / 4);
        spr->Unlock(nullptr);
        DDCOLORKEY ck{kKey, kKey};
        spr->SetColorKey(DDCKEY_SRCBLT, &ck);
    }
    ~DDrawSetup() {
        spr->Release();
        dst->Release();
        dd->Release();
    }
};

void BM_BltFastKeyed32x32(benchmark::State& state) {
    DDrawSetup s;
    int i = 0;
    for (auto _ : state) {
        int x, y;
        Position(i++, &x, &y);
        s.dst->BltFast((DWORD)x, (DWORD)y, s.spr, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    }
}
BENCHMARK(BM_BltFastKeyed32x32);

void BM_SdlBlitKeyed32x32(benchmark::State& state) {
    SDL_Surface* dst = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_Surface* spr = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_XRGB8888);
    SpritePixels((uint32_t*)spr->pixels, spr->pitch / 4);
    SDL_SetColorKey(spr, SDL_TRUE, kKey);
    int i = 0;
    for (auto _ : state) {
        int x, y;
        Position(i++, &x, &y);
        SDL_Rect r{x, y, 32, 32};
        SDL_BlitSurface(spr, nullptr, dst, &r);
    }
    SDL_FreeSurface(spr);
    SDL_FreeSurface(dst);
}
BENCHMARK(BM_SdlBlitKeyed32x32);

void BM_Frame700SpritesDirectDraw(benchmark::State& state) {
    DDrawSetup s;
    for (auto _ : state)
        for (int i = 0; i < kSprites; ++i) {
            int x, y;
            Position(i, &x, &y);
            s.dst->BltFast((DWORD)x, (DWORD)y, s.spr, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
        }
}
BENCHMARK(BM_Frame700SpritesDirectDraw)->Unit(benchmark::kMillisecond);

struct Vtx {
    float x, y, z, rhw;
    DWORD c;
    float u, v;
};

// Each sprite as the Direct3D back end draws one blit: fill the texture's four vertices, set the
// render target, the stage states, texture and stream, draw a strip, return to the resting target.
void BM_Frame700SpritesDirect3D(benchmark::State& state) {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp{};
    pp.Windowed = TRUE;
    pp.BackBufferWidth = 640;
    pp.BackBufferHeight = 480;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    IDirect3DDevice9* dev = nullptr;
    d3d->CreateDevice(0, D3DDEVTYPE_HAL, BenchWindow(), D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev);
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    dev->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    dev->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    dev->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    IDirect3DTexture9* tex = nullptr;
    dev->CreateTexture(32, 32, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex, nullptr);
    D3DLOCKED_RECT lr;
    tex->LockRect(0, &lr, nullptr, 0);
    SpritePixels((uint32_t*)lr.pBits, lr.Pitch / 4);
    for (int k = 0; k < 32 * 32; ++k) {  // the loader's colour key: transparent black
        uint32_t& p = ((uint32_t*)lr.pBits)[k];
        p = p == kKey ? 0 : p | 0xFF000000u;
    }
    tex->UnlockRect(0);
    IDirect3DVertexBuffer9* vb = nullptr;
    dev->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, 0x144, D3DPOOL_MANAGED, &vb, nullptr);
    IDirect3DSurface9* back = nullptr;
    dev->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    for (auto _ : state) {
        dev->BeginScene();
        for (int i = 0; i < kSprites; ++i) {
            int x, y;
            Position(i, &x, &y);
            Vtx* p = nullptr;
            vb->Lock(0, 0, (void**)&p, 0);
            float fx = (float)x - 0.5f, fy = (float)y - 0.5f;
            p[0] = {fx, fy, 0, 1, 0xFFFFFFFF, 0, 0};
            p[1] = {fx, fy + 32, 0, 1, 0xFFFFFFFF, 0, 1};
            p[2] = {fx + 32, fy, 0, 1, 0xFFFFFFFF, 1, 0};
            p[3] = {fx + 32, fy + 32, 0, 1, 0xFFFFFFFF, 1, 1};
            vb->Unlock();
            dev->SetRenderTarget(0, back);
            dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
            dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
            dev->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
            dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
            dev->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
            dev->SetTexture(0, tex);
            dev->SetStreamSource(0, vb, 0, sizeof(Vtx));
            dev->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
            dev->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
            dev->SetRenderTarget(0, back);
        }
        dev->EndScene();
    }
    back->Release();
    vb->Release();
    tex->Release();
    dev->Release();
    d3d->Release();
}
BENCHMARK(BM_Frame700SpritesDirect3D)->Unit(benchmark::kMillisecond);

void BM_FrameCopy640x480(benchmark::State& state) {
    std::vector<uint32_t> a(640 * 480, 1), b(640 * 480);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameCopy640x480)->Unit(benchmark::kMillisecond);

}  // namespace
