// The pulsing colours and the 8-bit palette tables.
#include <gtest/gtest.h>

#include <fstream>

#include "app/pulse_colours.h"
#include "records/system_data.h"
#include "tests/media/draw_fixture.h"

namespace {

class PulseColours : public drawtest::DrawFixture {};

TEST_F(PulseColours, NineColoursPulseAndTheNinthCyclesItsChannel) {
    Open({"d3d32", 1, 32, 1});
    g_SystemData.m_nPulseStep = 100;
    // Values before each frame's step: 0, 100, 200, 200 (turned at the top), 100, 100 (turned at 0).
    const int expect[] = {0, 100, 200, 200, 100, 100, 200};
    for (int f = 0; f < 7; ++f) {
        UpdatePulseColours();
        int v = expect[f];
        EXPECT_EQ(g_PulseColours[1].dwColour, 0xFF000000u | (DWORD)v << 16 | (DWORD)v << 8 | (DWORD)v) << f;
        EXPECT_EQ(g_PulseColours[1].nMode, 7);
        EXPECT_EQ(g_PulseColours[2].nMode, 10);
        EXPECT_EQ(g_PulseColours[7].dwColour, 0xFF000000u | (DWORD)v << 16 | (DWORD)(v >> 2)) << f;
        // The ninth is red until its value turns at the low end (after frame 4), then green.
        DWORD ninth = f <= 4 ? 0xFF000000u | (DWORD)v << 16 : 0xFF000000u | (DWORD)v << 8;
        EXPECT_EQ(g_PulseColours[9].dwColour, ninth) << f;
    }
}

TEST_F(PulseColours, PaletteTablesLoadOnlyIn8BitDirectDraw) {
    Open({"dd8", 0, 8, 0});
    ASSERT_EQ(std::system("mkdir -p bmp/hbt"), 0);
    std::string table(65536, '\x07');
    std::ofstream("bmp/hbt/hbt03.dat", std::ios::binary) << table;
    std::ofstream("bmp/hbt/hbt13.dat", std::ios::binary) << table;
    std::ofstream("bmp/hbt/hbt04.dat", std::ios::binary) << table.substr(0, 100);
    PALETTEENTRY file[256];
    ASSERT_EQ(DDLoadPaletteFromFile(file, g_SurfaceFiles[0].szPath), 1);

    ASSERT_EQ(LoadPaletteTables(3), 1);
    EXPECT_EQ(g_byColourTable[65535], 7);
    // Rows rotate so that row 4 comes first.
    EXPECT_EQ(std::memcmp(&g_EnginePalette[16], &file[64], sizeof(PALETTEENTRY) * 16), 0);
    EXPECT_EQ(std::memcmp(&g_WorkPalette[16], &file[64], sizeof(PALETTEENTRY) * 16), 0);
    ASSERT_EQ(LoadPaletteTables(13), 1);  // twelve copies of row 2
    EXPECT_EQ(std::memcmp(&g_EnginePalette[16 * 7], &file[32], sizeof(PALETTEENTRY) * 16), 0);
    EXPECT_EQ(LoadPaletteTables(4), 0);   // a short table fails
    EXPECT_EQ(LoadPaletteTables(24), 0);  // only 0-23 exist
    EXPECT_EQ(LoadPaletteTables(-1), 0);
}

TEST_F(PulseColours, PaletteTablesAreNotReadOutside8BitDirectDraw) {
    Open({"dd32", 0, 32, 1});
    EXPECT_EQ(LoadPaletteTables(3), 1);  // nothing read, nothing needed
}

}  // namespace
