// The drawing layer's test fixture: a generated game folder with small bitmaps, the report file,
// a window, and the device opened in one back end and colour depth.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/report.h"
#include "media/asset_table.h"
#include "media/blit.h"
#include "media/draw_device.h"
#include "media/primitives.h"
#include "media/restore.h"
#include "media/surface.h"
#include "platform/d3d9/testing.h"
#include "platform/ddraw/testing.h"
#include "tests/platform/drawing_support.h"
#include "tools/bmp_writer.h"

namespace drawtest {

struct Mode {
    const char* name;
    int d3d;
    int bpp;
    int window;
};

inline std::ostream& operator<<(std::ostream& o, const Mode& m) { return o << m.name; }

// The palette: entry 0 is the transparent magenta, the others a spread of colours.
inline std::vector<uint32_t> PaletteColours() {
    std::vector<uint32_t> c(256);
    c[0] = 0xFF00FF;
    for (int i = 1; i < 256; ++i) c[i] = (uint32_t)(((i * 53) & 0xFF) << 16 | ((i * 97) & 0xFF) << 8 | ((i * 31) & 0xEF));
    return c;
}

// A 64 x 32 sheet of two 32 x 32 cells on magenta: a lopsided shape per cell.
inline tools::BmpPicture SpriteSheet() {
    tools::BmpPicture p = tools::SolidPicture(64, 32, 0xFF00FF);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            int cx = x % 32;
            bool in = (cx > 2 && cx < 20 && y > 4 && y < 28) || (cx >= 20 && cx < 30 && y > 10 && y < 16);
            if (in) p.rgb[(size_t)y * 64 + x] = x < 32 ? (uint32_t)(0xE00000 | (y * 7) << 8 | cx * 4) : (uint32_t)(0x2020E0 | (cx * 6) << 8);
        }
    return p;
}

// A 128 x 128 character sheet of 8 x 8 cells: each cell a block coloured by its code.
inline tools::BmpPicture CharSheet() {
    tools::BmpPicture p = tools::SolidPicture(128, 128, 0xFF00FF);
    for (int code = 0; code < 256; ++code)
        for (int y = 1; y < 7; ++y)
            for (int x = 1 + (code & 1); x < 7; ++x)
                p.rgb[(size_t)((code >> 4) * 8 + y) * 128 + (code & 15) * 8 + x] =
                    (uint32_t)((code * 37) & 0xFF) << 16 | (uint32_t)((code * 11) & 0xFF) << 8 | 0x40;
    return p;
}

class DrawFixture : public testing::Test {
protected:
    void MakeGameFolder() {
        folder = TempFolder("game");
        ASSERT_FALSE(folder.empty());
        ASSERT_EQ(std::system(("mkdir -p '" + folder + "/bmp/plt'").c_str()), 0);
        tools::BmpPicture pal = tools::PalettePicture(16, 16, PaletteColours());
        for (size_t i = 1; i < pal.indices.size(); ++i) pal.indices[i] = (uint8_t)i;
        ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/plt/Palette.bmp", pal, tools::BmpOptions{8, false, false}));
        ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/Character1.bmp", SpriteSheet(), tools::BmpOptions{24, false, false}));
        ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/Word.bmp", CharSheet(), tools::BmpOptions{24, true, false}));
        tools::BmpPicture dbg = tools::PalettePicture(32, 16, PaletteColours());
        for (size_t i = 0; i < dbg.indices.size(); ++i) dbg.indices[i] = (uint8_t)(i % 7 ? 40 + i % 50 : 0);
        ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/Debug.bmp", dbg, tools::BmpOptions{8, false, true}));
        tools::BmpPicture title = tools::SolidPicture(48, 24, 0x3050A0);
        for (int x = 0; x < 48; ++x) title.rgb[(size_t)10 * 48 + x] = 0xFF00FF;  // the key colour, not keyed here
        ASSERT_TRUE(tools::WriteBmp(folder + "/bmp/Title.bmp", title, tools::BmpOptions{32, false, false}));
        ASSERT_EQ(getcwd(oldDir, sizeof oldDir) != nullptr, true);
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void Open(const Mode& m) {
        MakeGameFolder();
        hwnd = MakeWindow(640, 480);
        g_hMainWnd = hwnd;
        ASSERT_EQ(OpenReport((WindowsPathFromHost(folder) + "\\Report_Game.txt").c_str()), 1);
        std::memset(g_SurfaceData, 0, sizeof g_SurfaceData);
        LinkSurfaceSlots();
        ASSERT_TRUE(DDInit(m.d3d, hwnd, 640, 480, m.bpp, 0, m.window, 1, 60, 0, g_SurfaceData, g_SurfaceFiles,
                           kSurfaceSlotCount));
        ASSERT_EQ(g_lpDDDevice != nullptr, m.d3d != 0);
        ASSERT_EQ(DDLoadPaletteFromFile(g_EnginePalette, g_SurfaceFiles[0].szPath), 1);
        ASSERT_TRUE(DDSetTransmitFromFile(&g_SurfaceFiles[0]));
        opened = true;
    }
    void TearDown() override {
        if (opened) {
            for (DDSURFACEDATA& r : g_SurfaceData) DDReleaseSurface(&r);
            DDEnd();
        }
        g_hMainWnd = nullptr;
        if (hwnd) DestroyWindow(hwnd);
        if (oldDir[0]) (void)!chdir(oldDir);
        d3d9::ResetTesting();
        ddraw::ResetTesting();
    }
    bool Load(std::initializer_list<int> slots) {
        std::vector<int> v(slots);
        return DDReloadSurfaces(g_SurfaceData, v.data(), (int)v.size());
    }
    raster::Surface* BackPixels() {
        if (g_lpDDDevice) return d3d9::SurfacePixels(g_BackBufferSD.lpDT->lpSurface);
        return ddraw::SurfacePixels(g_BackBufferSD.lpDD->lpSurface);
    }
    raster::Surface* Pixels(DDSURFACEDATA& r) {
        if (r.lpDT) return d3d9::SurfacePixels(r.lpDT->lpSurface);
        return r.lpDD ? ddraw::SurfacePixels(r.lpDD->lpSurface) : nullptr;
    }
    // A region of a surface as a picture of its own, for golden files.
    static raster::Surface Crop(const raster::Surface& s, int x, int y, int w, int h) {
        raster::Surface c;
        c.Create(w, h, s.format);
        c.palette = s.palette;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) c.Set(i, j, s.Get(x + i, y + j));
        return c;
    }
    std::string Report() {
        std::ifstream f(folder + "/Report_Game.txt", std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }

    std::string folder;
    char oldDir[4096] = {};
    HWND hwnd = nullptr;
    bool opened = false;
};

}  // namespace drawtest
