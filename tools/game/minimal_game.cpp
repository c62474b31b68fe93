#include "tools/game/minimal_game.h"

#include "records/database.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "tools/bmp_writer.h"
#include "records/common_palette.h"
#include "tools/records/project_writer.h"
#include "tools/records/stage_writer.h"

const char* const kMinimalSystemIni = "Direct3D=0\r\nWindowMode=1\r\nShowFps=0\r\nExit\r\n";

bool WriteMinimalBitmaps(cGameFolder& folder) {
    // The palette bitmap: 256 colours, its top-left pixel (colour 0, magenta) the transparent one.
    std::vector<uint32_t> colours(256);
    colours[0] = 0xFF00FF;
    for (int i = 1; i < 256; ++i) colours[i] = (uint32_t)((i * 37 % 256) << 16 | (i * 91 % 256) << 8 | (i * 53 % 256));
    tools::BmpPicture palette = tools::PalettePicture(16, 16, colours);
    tools::BmpOptions eight;
    eight.bitCount = 8;
    folder.MakeFolder("bmp\\plt");
    bool ok = tools::WriteBmp(folder.HostPath("bmp\\plt\\Palette.bmp"), palette, eight);
    ok = tools::WriteBmp(folder.HostPath("bmp\\Debug.bmp"), tools::SolidPicture(64, 16, 0x204080), tools::BmpOptions{}) && ok;
    return WriteTitleBitmaps(folder) && ok;
}

namespace {

constexpr uint32_t kKey = 0xFF00FF;  // the transparent colour (palette entry 0)

void Fill(tools::BmpPicture& p, int x, int y, int w, int h, uint32_t rgb) {
    for (int j = y; j < y + h && j < p.height; ++j)
        for (int i = x; i < x + w && i < p.width; ++i)
            if (i >= 0 && j >= 0) p.rgb[(size_t)j * p.width + i] = rgb;
}

// A right-pointing triangle of `size` dots.
void Arrow(tools::BmpPicture& p, int x, int y, int size, uint32_t rgb) {
    for (int j = 0; j < size; ++j) {
        int reach = size / 2 - (j < size / 2 ? size / 2 - j : j - size / 2 + 1);
        Fill(p, x + 2, y + j, reach * 2, 1, rgb);
    }
}

}  // namespace

bool WriteTitleBitmaps(cGameFolder& folder) {
    // The title picture: a dusk gradient, a ground band and a sun.
    tools::BmpPicture title = tools::SolidPicture(640, 480, 0);
    for (int y = 0; y < 480; ++y) Fill(title, 0, y, 640, 1, (uint32_t)(y * 96 / 480) << 16 | (uint32_t)(32 + y * 64 / 480) << 8 | 160);
    Fill(title, 0, 400, 640, 80, 0x305020);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if ((x - 480) * (x - 480) + (y - 120) * (y - 120) < 48 * 48) title.rgb[(size_t)y * 640 + x] = 0xF0C040;
    // One picture per menu entry: a coloured plate with as many bars as its number.
    tools::BmpPicture modes = tools::SolidPicture(160, 32 * 7, kKey);
    for (int m = 0; m < 7; ++m) {
        uint32_t colour = (uint32_t)(0x40 + m * 24) << 16 | (uint32_t)(0xC0 - m * 16) << 8 | (uint32_t)(0x30 + m * 28);
        Fill(modes, 4, 32 * m + 4, 152, 24, colour);
        for (int b = 0; b <= m; ++b) Fill(modes, 12 + b * 12, 32 * m + 10, 6, 12, 0xFFFFFF);
    }
    // The cursors.
    tools::BmpPicture accessory = tools::SolidPicture(96, 32, kKey);
    Arrow(accessory, 0, 4, 24, 0xFFE020);
    Arrow(accessory, 64, 0, 16, 0x20E0FF);
    // The window background: dark blue with a faint grid.
    tools::BmpPicture window = tools::SolidPicture(640, 480, 0x102050);
    for (int y = 0; y < 480; y += 8) Fill(window, 0, y, 640, 1, 0x183060);
    bool ok = tools::WriteBmp(folder.HostPath("bmp\\Title.bmp"), title, tools::BmpOptions{});
    ok = tools::WriteBmp(folder.HostPath("bmp\\GameMode.bmp"), modes, tools::BmpOptions{}) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Accessory.bmp"), accessory, tools::BmpOptions{}) && ok;
    return tools::WriteBmp(folder.HostPath("bmp\\Window.bmp"), window, tools::BmpOptions{}) && ok;
}

bool WriteMinimalGame(cGameFolder& folder, const std::string& systemIni, const cSystemData* given) {
    cDatabase db;
    CreateDefaultDatabase(db);
    cSystemData system;
    system.m_strTitle = "テストゲーム";
    if (given) system = *given;
    cWorldMap map;
    bool ok = WriteProjectFiles(folder, db, system, map);
    ok = WriteMinimalBitmaps(folder) && ok;
    cCommonPalette palette;
    ok = WriteCommonPalette(folder, palette) && ok;
    return folder.WriteFile("System.ini", std::vector<uint8_t>(systemIni.begin(), systemIni.end())) && ok;
}
