// GDI fonts and D3DX fonts: text drawn through a context or into a render target, measuring,
// the context's text state, and the sprite and clipping rules of D3DX text.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3d9/d3dx9.h"
#include "platform/d3d9/testing.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "tests/platform/drawing_support.h"

namespace {

// Pixels of a surface that differ from a value.
int CountNot(const raster::Surface& s, uint32_t value, RECT* box = nullptr) {
    int n = 0;
    RECT b{s.width, s.height, -1, -1};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.Get(x, y) != value) {
                ++n;
                b.left = std::min<LONG>(b.left, x), b.top = std::min<LONG>(b.top, y);
                b.right = std::max<LONG>(b.right, x), b.bottom = std::max<LONG>(b.bottom, y);
            }
    if (box) *box = b;
    return n;
}

}  // namespace

TEST(GdiFont, TextOutWritesOnlyGlyphPixelsInTheTextColourOfEachFormat) {
    struct Case {
        raster::PixelFormat format;
        uint32_t background, text;  // raw pixel values
    } cases[] = {
        {raster::PixelFormat::X8R8G8B8, 0x00123456, 0x00FF8000},
        {raster::PixelFormat::R5G6B5, 0x1234, 0xFC00},  // (255, 128, 0) truncated to 5/6/5
        {raster::PixelFormat::P8, 3, 7},                // the nearest palette colour
    };
    HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    ASSERT_NE(font, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(raster::BitsPerPixel(c.format));
        raster::Surface s;
        ASSERT_TRUE(s.Create(48, 20, c.format));
        if (c.format == raster::PixelFormat::P8) {
            s.palette = std::make_shared<raster::Palette>();
            for (int i = 0; i < 256; ++i) s.palette->argb[i] = 0xFF000000u | (uint32_t)i;
            s.palette->argb[7] = 0xFFFF8000u;
        }
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) s.Set(x, y, c.background);
        HDC dc = gdi::CreateSurfaceDC(&s);
        HGDIOBJ old = SelectObject(dc, font);
        EXPECT_NE(old, nullptr);
        EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
        EXPECT_EQ(SetTextColor(dc, RGB(255, 128, 0)), 0u);
        EXPECT_EQ(SetTextColor(dc, RGB(255, 128, 0)), RGB(255, 128, 0));
        ASSERT_TRUE(TextOutA(dc, 2, 2, "Aあ", -1));
        RECT box;
        int written = CountNot(s, c.background, &box);
        EXPECT_GT(written, 20);
        // Inside the two cells (8 + 16 wide, 16 high) from (2, 2), and only in the text colour.
        EXPECT_GE(box.left, 2);
        EXPECT_LE(box.right, 2 + 24);
        EXPECT_GE(box.top, 2);
        EXPECT_LE(box.bottom, 2 + 16);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                if (s.Get(x, y) != c.background) {
                    ASSERT_EQ(s.Get(x, y), c.text) << x << "," << y;
                }
        // The context's font goes back; the font cannot be deleted while selected.
        EXPECT_FALSE(DeleteObject(font));
        EXPECT_EQ(SelectObject(dc, old), (HGDIOBJ)font);
        gdi::ReleaseSurfaceDC(dc);
    }
    EXPECT_TRUE(DeleteObject(font));
}

TEST(GdiFont, ExtentsFollowTheGothicCellWidthsAndHeight) {
    // A character height of 16: half-width 8, full-width 16.
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font);
    struct Case {
        const char* text;
        int bytes;
        LONG cx;
    } cases[] = {{"A", -1, 8}, {"AB", 1, 8}, {"あい", -1, 32}, {"Aあ x", -1, 40}, {"", -1, 0}};
    LONG cell = -1;
    for (const Case& c : cases) {
        SIZE s{-1, -1};
        ASSERT_TRUE(GetTextExtentPoint32A(dc, c.text, c.bytes < 0 ? (int)std::strlen(c.text) : c.bytes, &s));
        EXPECT_EQ(s.cx, c.cx) << c.text;
        if (cell < 0) cell = s.cy;
        EXPECT_EQ(s.cy, cell) << c.text;  // the cell height, whatever the text
    }
    EXPECT_GE(cell, 16);
    SIZE s;
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "A", 1, &s));
    EXPECT_FALSE(TextOutA(dc, 0, 0, "A", 1));  // a memory context without a bitmap has no pixels
    SelectObject(dc, gdi::DefaultFontHandle());
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(font));
}

class D3DXFontTest : public testing::Test {
protected:
    void SetUp() override {
        d3d9::ResetTesting();
        hwnd = drawtest::MakeWindow(64, 32);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.Windowed = TRUE;
        pp.BackBufferWidth = 64;
        pp.BackBufferHeight = 32;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &dev), D3D_OK);
        ASSERT_EQ(D3DXCreateSprite(dev, &sprite), D3D_OK);
        D3DXFONT_DESCA d{};
        d.Height = 16;
        d.Weight = FW_NORMAL;
        d.CharSet = SHIFTJIS_CHARSET;
        // A face name filling all 32 bytes, no terminator: read up to its end, falls back.
        std::memset(d.FaceName, 'Q', sizeof d.FaceName);
        ASSERT_EQ(D3DXCreateFontIndirectA(dev, &d, &font), D3D_OK);
    }
    void TearDown() override {
        if (font) font->Release();
        if (sprite) sprite->Release();
        if (dev) dev->Release();
        if (d3d) d3d->Release();
        DestroyWindow(hwnd);
    }
    raster::Surface& Target() { return *d3d9::RenderTargetPixels(dev); }
    HWND hwnd = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* dev = nullptr;
    ID3DXSprite* sprite = nullptr;
    ID3DXFont* font = nullptr;
};

TEST_F(D3DXFontTest, CalcRectMeasuresLinesAndDrawsNothing) {
    RECT one{0, 0, 0, 0};
    EXPECT_EQ(font->DrawTextA(nullptr, "あ", -1, &one, DT_CALCRECT, 0xFFFFFFFF), 16);
    RECT r{5, 7, 5, 7};
    EXPECT_EQ(font->DrawTextA(nullptr, "AB\nあいう", -1, &r, DT_CALCRECT, 0xFFFFFFFF), 32);
    EXPECT_EQ(r.right, 5 + 3 * one.right);  // the widest line
    EXPECT_EQ(r.bottom, 7 + 32);
    EXPECT_EQ(CountNot(Target(), 0), 0);
}

TEST_F(D3DXFontTest, TextNeedsABegunSpriteAndIsCutAtItsRectangleUnlessNoClip) {
    RECT r{0, 0, 4, 16};
    // A sprite that was not begun draws nothing.
    EXPECT_EQ(font->DrawTextA(sprite, "W", 1, &r, DT_NOCLIP, 0xFFFF0000), 0);
    EXPECT_EQ(CountNot(Target(), 0), 0);
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND | D3DXSPRITE_SORT_TEXTURE), D3D_OK);
    EXPECT_EQ(font->DrawTextA(sprite, "W", 1, &r, 0, 0xFFFF0000), 16);
    RECT box;
    int clipped = CountNot(Target(), 0, &box);
    EXPECT_GT(clipped, 0);
    EXPECT_LT(box.right, 4);
    EXPECT_EQ(font->DrawTextA(sprite, "W", 1, &r, DT_NOCLIP, 0xFFFF0000), 16);
    int whole = CountNot(Target(), 0, &box);
    EXPECT_GT(whole, clipped);
    EXPECT_GE(box.right, 4);
    EXPECT_EQ(Target().Get(box.left, box.top) | Target().Get(box.right, box.bottom), 0x00FF0000u);
    sprite->End();
    // A lost font draws nothing until it is reset.
    font->OnLostDevice();
    RECT r2{30, 0, 30, 0};
    EXPECT_EQ(font->DrawTextA(nullptr, "W", 1, &r2, DT_NOCLIP, 0xFF00FF00), 0);
    font->OnResetDevice();
    EXPECT_EQ(font->DrawTextA(nullptr, "W", 1, &r2, DT_NOCLIP, 0xFF00FF00), 16);
}
