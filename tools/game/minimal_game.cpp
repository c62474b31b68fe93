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
    return ok;
}

bool WriteMinimalGame(cGameFolder& folder, const std::string& systemIni) {
    cDatabase db;
    CreateDefaultDatabase(db);
    cSystemData system;
    system.m_strTitle = "テストゲーム";
    cWorldMap map;
    bool ok = WriteProjectFiles(folder, db, system, map);
    ok = WriteMinimalBitmaps(folder) && ok;
    cCommonPalette palette;
    ok = WriteCommonPalette(folder, palette) && ok;
    return folder.WriteFile("System.ini", std::vector<uint8_t>(systemIni.begin(), systemIni.end())) && ok;
}
