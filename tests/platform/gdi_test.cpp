// The BMP decoder and the GDI calls the drawing layer makes with bitmap files.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/gdi/bmp.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "tests/platform/drawing_support.h"
#include "tools/bmp_writer.h"

namespace {

tools::BmpPicture Indexed(int w, int h, int colours) {
    std::vector<uint32_t> pal;
    for (int i = 0; i < colours; ++i) pal.push_back((uint32_t)(i * 0x10305) & 0xFFFFFF);
    tools::BmpPicture p = tools::PalettePicture(w, h, pal);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.indices[(size_t)y * w + x] = (uint8_t)((x * 3 + y * 5 + (x / 4)) % colours);
    // Long runs for RLE.
    for (int x = 0; x < w; ++x) p.indices[x] = 1;
    return p;
}

tools::BmpPicture Colour(int w, int h) {
    tools::BmpPicture p = tools::SolidPicture(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.rgb[(size_t)y * w + x] = (uint32_t)(((x * 37) & 0xFF) << 16 | ((y * 11) & 0xFF) << 8 | (x ^ y));
    return p;
}

}  // namespace

TEST(BmpDecoder, EveryLayoutDecodesToTheSamePicture) {
    struct Case {
        int bits;
        bool topDown, rle;
    } cases[] = {{1, false, false}, {1, true, false}, {4, false, false}, {4, true, false},  {8, false, false},
                 {8, true, false},  {8, false, true}, {24, false, false}, {24, true, false}, {32, false, false},
                 {32, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, top-down " << c.topDown << ", rle " << c.rle);
        int w = 13, h = 7;  // odd sizes exercise row padding
        bool pal = c.bits <= 8;
        tools::BmpPicture pic = pal ? Indexed(w, h, 1 << std::min(c.bits, 4)) : Colour(w, h);
        std::vector<uint8_t> file = tools::EncodeBmp(pic, tools::BmpOptions{c.bits, c.topDown, c.rle});
        ASSERT_FALSE(file.empty());
        gdi::Dib dib;
        std::string err;
        ASSERT_TRUE(gdi::DecodeBmp(file.data(), file.size(), &dib, &err)) << err;
        EXPECT_EQ(dib.bitCount, c.bits);
        ASSERT_EQ(dib.pixels.width, w);
        ASSERT_EQ(dib.pixels.height, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t i = (size_t)y * w + x;
                uint32_t want = pal ? pic.colours[pic.indices[i]] : pic.rgb[i];
                ASSERT_EQ(dib.pixels.GetArgb(x, y) & 0xFFFFFF, want) << x << "," << y;
                if (pal) {
                    ASSERT_EQ(dib.pixels.Get(x, y), pic.indices[i]);
                }
            }
    }
}

TEST(BmpDecoder, MalformedFilesAreRefused) {
    std::vector<uint8_t> good = tools::EncodeBmp(Indexed(16, 16, 16), tools::BmpOptions{8, false, false});
    gdi::Dib dib;
    // Every truncation of a plain file fails cleanly.
    for (size_t n = 0; n + 1 < good.size(); n += 7) EXPECT_FALSE(gdi::DecodeBmp(good.data(), n, &dib, nullptr)) << n;
    auto patched = [&](size_t off, uint32_t v) {
        std::vector<uint8_t> f = good;
        for (int i = 0; i < 4; ++i) f[off + i] = (uint8_t)(v >> (8 * i));
        return f;
    };
    const std::pair<size_t, uint32_t> bad[] = {
        {18, 0},           // width 0
        {18, 100000},      // width beyond any surface
        {22, 0x80000000},  // height -2^31
        {14, 7},           // unknown header size
        {30, 4},           // JPEG compression
        {10, 0xFFFFFF00},  // pixel data past the end
    };
    for (auto [off, v] : bad) {
        std::vector<uint8_t> f = patched(off, v);
        EXPECT_FALSE(gdi::DecodeBmp(f.data(), f.size(), &dib, nullptr)) << off;
    }
    // Bit count 7 is not a bitmap.
    std::vector<uint8_t> f = good;
    f[28] = 7;
    EXPECT_FALSE(gdi::DecodeBmp(f.data(), f.size(), &dib, nullptr));
    // A run-length file whose runs overrun the picture stays inside it.
    tools::BmpPicture pic = Indexed(8, 2, 4);
    std::vector<uint8_t> rle = tools::EncodeBmp(pic, tools::BmpOptions{8, false, true});
    rle.resize(rle.size() - 2);
    rle.insert(rle.end(), {255, 3, 0, 2, 200, 200, 0, 1});
    EXPECT_TRUE(gdi::DecodeBmp(rle.data(), rle.size(), &dib, nullptr));
}

// The picture a surface of `format` (w x h) gets from a file through DecodeBmpInto, worked out
// from the picture DecodeBmp gives: colour with alpha 255, the key colour 0, the rest zero.
static raster::Surface Expected(const gdi::Dib& dib, raster::PixelFormat format, int w, int h, uint32_t key) {
    raster::Surface s;
    s.Create(w, h, format);
    for (int y = 0; y < std::min(h, dib.pixels.height); ++y)
        for (int x = 0; x < std::min(w, dib.pixels.width); ++x) {
            uint32_t c = dib.pixels.GetArgb(x, y) | 0xFF000000u;
            s.Set(x, y, raster::FromArgb(format, c == key ? 0 : c));
        }
    return s;
}

TEST(BmpDecoder, StraightIntoASurfaceGivesWhatTheDecodedPictureWould) {
    std::string dir = drawtest::TempFolder("bmp_into");
    struct Layout {
        int bits;
        bool topDown, rle;
    } layouts[] = {{1, false, false}, {4, true, false}, {8, false, false}, {8, true, false},
                   {8, false, true},  {24, false, false}, {24, true, false}, {32, false, false}};
    const raster::PixelFormat formats[] = {raster::PixelFormat::A8R8G8B8, raster::PixelFormat::X8R8G8B8,
                                           raster::PixelFormat::A1R5G5B5, raster::PixelFormat::R5G6B5};
    // 300 x 90 at 24 bits is more than one block of rows read from a file.
    const std::pair<int, int> pictures[] = {{13, 7}, {300, 90}};
    for (const Layout& l : layouts)
        for (auto [w, h] : pictures) {
            bool pal = l.bits <= 8;
            tools::BmpPicture pic = pal ? Indexed(w, h, 1 << std::min(l.bits, 4)) : Colour(w, h);
            std::vector<uint8_t> file = tools::EncodeBmp(pic, tools::BmpOptions{l.bits, l.topDown, l.rle});
            std::string host = dir + "/p.bmp";
            ASSERT_TRUE(tools::WriteBmp(host, pic, tools::BmpOptions{l.bits, l.topDown, l.rle}));
            gdi::Dib dib;
            ASSERT_TRUE(gdi::DecodeBmp(file.data(), file.size(), &dib, nullptr));
            // The key is the colour of a pixel in the picture.
            uint32_t key = dib.pixels.GetArgb(1, 1) | 0xFF000000u;
            for (raster::PixelFormat f : formats)
                // Larger than the picture (a power-of-two texture) and smaller (a clamped one).
                for (auto [tw, th] : {std::pair{w + 19, h + 3}, std::pair{w - 5, h - 2}}) {
                    SCOPED_TRACE(testing::Message() << l.bits << " bits, top-down " << l.topDown << ", rle " << l.rle
                                                    << ", " << w << "x" << h << " into " << tw << "x" << th
                                                    << " format " << (int)f);
                    raster::Surface want = Expected(dib, f, tw, th, key);
                    for (bool fromFile : {false, true}) {
                        raster::Surface got;
                        gdi::BmpInfo info;
                        auto target = [&](const gdi::BmpInfo& i) {
                            EXPECT_EQ(i.width, w);
                            EXPECT_EQ(i.height, h);
                            return got.Create(tw, th, f) ? &got : nullptr;
                        };
                        std::string err;
                        bool ok = fromFile ? gdi::LoadBmpFileInto(WindowsPathFromHost(host).c_str(), target, key,
                                                                  &info, &err)
                                           : gdi::DecodeBmpInto(file.data(), file.size(), target, key, &info, &err);
                        ASSERT_TRUE(ok) << err << (fromFile ? " (file)" : " (memory)");
                        EXPECT_EQ(info.bitCount, l.bits);
                        EXPECT_EQ(info.colourCount, dib.colourCount);
                        ASSERT_TRUE(got.bits == want.bits) << (fromFile ? "file" : "memory");
                    }
                }
        }
}

TEST(BmpDecoder, StraightIntoASurfaceRefusesWhatDecodeBmpRefuses) {
    std::string dir = drawtest::TempFolder("bmp_into_bad");
    std::vector<uint8_t> good = tools::EncodeBmp(Colour(40, 30), tools::BmpOptions{24, false, false});
    std::string host = dir + "/t.bmp";
    std::string path = WindowsPathFromHost(host);
    auto write = [&](const std::vector<uint8_t>& bytes) {
        std::ofstream(host, std::ios::binary | std::ios::trunc).write((const char*)bytes.data(), (long)bytes.size());
    };
    // Every truncation fails, and fails before a surface is asked for: the rows are checked to
    // be in the file first.
    for (size_t n = 0; n < good.size(); n += 97) {
        SCOPED_TRACE(n);
        int asked = 0;
        raster::Surface s;
        auto target = [&](const gdi::BmpInfo&) {
            ++asked;
            return s.Create(40, 30, raster::PixelFormat::A8R8G8B8) ? &s : nullptr;
        };
        std::vector<uint8_t> cut(good.begin(), good.begin() + (long)n);
        EXPECT_FALSE(gdi::DecodeBmpInto(cut.data(), cut.size(), target, 0, nullptr, nullptr));
        write(cut);
        std::string err;
        EXPECT_FALSE(gdi::LoadBmpFileInto(path.c_str(), target, 0, nullptr, &err));
        EXPECT_FALSE(err.empty());
        EXPECT_EQ(asked, 0);
    }
    // A refused surface fails the load; a missing file says so.
    write(good);
    std::string err;
    EXPECT_FALSE(gdi::LoadBmpFileInto(path.c_str(), [](const gdi::BmpInfo&) { return nullptr; }, 0, nullptr, &err));
    EXPECT_FALSE(gdi::LoadBmpFileInto("no\\such.bmp", nullptr, 0, nullptr, &err));
    EXPECT_EQ(err, "cannot open the file");
}

TEST(GdiBitmap, LoadSelectAndCopyIntoASurface) {
    std::string dir = drawtest::TempFolder("gdi_load");
    tools::BmpPicture pic = Indexed(6, 4, 16);
    ASSERT_TRUE(tools::WriteBmp(dir + "/p.bmp", pic, tools::BmpOptions{8, false, false}));
    std::string path = WindowsPathFromHost(dir + "/p.bmp");
    HBITMAP hbm = (HBITMAP)LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(hbm, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(hbm, sizeof bm, &bm), (int)sizeof bm);
    EXPECT_EQ(bm.bmWidth, 6);
    EXPECT_EQ(bm.bmHeight, 4);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, hbm);
    ASSERT_NE(old, nullptr);
    RGBQUAD table[256];
    ASSERT_EQ(GetDIBColorTable(mem, 0, 256, table), 16u);
    EXPECT_EQ(table[3].rgbRed, (BYTE)(pic.colours[3] >> 16));
    EXPECT_EQ(table[3].rgbBlue, (BYTE)pic.colours[3]);

    // Into a 16-bit surface: each cell of 3 columns mirrored in place, as the mirrored slots load.
    raster::Surface s;
    ASSERT_TRUE(s.Create(6, 4, raster::PixelFormat::R5G6B5));
    HDC sdc = gdi::CreateSurfaceDC(&s);
    for (int cell = 0; cell < 2; ++cell)
        ASSERT_TRUE(StretchBlt(sdc, cell * 3 + 2, 0, -3, 4, mem, cell * 3, 0, 3, 4, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            int sx = (x / 3) * 3 + (2 - x % 3);
            uint32_t c = pic.colours[pic.indices[(size_t)y * 6 + sx]] | 0xFF000000u;
            EXPECT_EQ(s.Get(x, y), raster::FromArgb(raster::PixelFormat::R5G6B5, c)) << x << "," << y;
        }
    EXPECT_TRUE(BitBlt(sdc, 0, 0, 6, 4, mem, 0, 0, SRCCOPY));
    EXPECT_EQ(GetDeviceCaps(sdc, BITSPIXEL), 16);
    gdi::ReleaseSurfaceDC(sdc);
    EXPECT_FALSE(DeleteObject(hbm));  // still selected
    SelectObject(mem, old);
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_TRUE(DeleteObject(hbm));
    EXPECT_EQ(GetObjectA(hbm, sizeof bm, &bm), 0);
    EXPECT_EQ(LoadImageA(nullptr, "no\\such.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

TEST(GdiDisplay, WindowContextReportsTheDesktopDepth) {
    HWND w = drawtest::MakeWindow();
    HDC dc = GetDC(w);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(ReleaseDC(w, dc), 1);
    DEVMODEA m{};
    m.dmSize = sizeof m;
    m.dmFields = DM_DISPLAYFREQUENCY;
    m.dmDisplayFrequency = 60;
    EXPECT_EQ(ChangeDisplaySettingsA(&m, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
    m.dmDisplayFrequency = 75;
    EXPECT_EQ(ChangeDisplaySettingsA(&m, CDS_TEST), DISP_CHANGE_BADMODE);
    int n = ShowCursor(FALSE);
    EXPECT_EQ(ShowCursor(TRUE), n + 1);
    DestroyWindow(w);
}
