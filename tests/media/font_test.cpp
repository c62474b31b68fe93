// The bitmap font in both back ends and colour depths: the fixed grid, blanks, icon letters,
// glyph sheets against direct drawing, sheet growth, restore after loss, boxes, the start-up
// fonts (golden pictures), the text menu and the FPS overlay.
#include <string>

#include "media/font.h"
#include "media/game_fonts.h"
#include "media/text_menu.h"
#include "records/system_data.h"
#include "records/system_ini.h"
#include "tests/media/draw_fixture.h"

using namespace drawtest;

namespace {

const Mode kModes[] = {Mode{"d3d_32", 1, 32, 1}, Mode{"d3d_16", 1, 16, 0}, Mode{"dd_32", 0, 32, 0},
                       Mode{"dd_16", 0, 16, 0}, Mode{"dd_8", 0, 8, 0}};

class FontModes : public DrawFixture, public testing::WithParamInterface<Mode> {
protected:
    // A blank colour-keyed target of the given size, filled with colour 0.
    DDSURFACEDATA* Target(int w, int h) {
        DDSURFACEDATA* t = &targets[used++];
        EXPECT_TRUE(DDCreateSurface(t, w, h, 1, 0, 0, 0, 0));
        DDFillRect(t, 0, 0, w, h, 0);
        return t;
    }
    void TearDown() override {
        for (cFont& f : fonts) f.ReleaseFontObjects();
        for (DDSURFACEDATA& t : targets) DDReleaseSurface(&t);
        DrawFixture::TearDown();
    }
    // The pixels of a target as values, for comparing two drawings.
    std::vector<uint32_t> Values(DDSURFACEDATA* t) {
        DDEndScene();
        raster::Surface* s = Pixels(*t);
        std::vector<uint32_t> v;
        for (int y = 0; y < s->height; ++y)
            for (int x = 0; x < s->width; ++x) v.push_back(s->Get(x, y));
        return v;
    }
    // Pixels of a region that are not the blank value of the target.
    int Inked(DDSURFACEDATA* t, int x0, int y0, int x1, int y1) {
        DDEndScene();
        raster::Surface* s = Pixels(*t);
        uint32_t blank = s->Get(s->width - 1, s->height - 1);
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(y1, s->height); ++y)
            for (int x = std::max(0, x0); x < std::min(x1, s->width); ++x) n += s->Get(x, y) != blank;
        return n;
    }
    cFont fonts[4];
    DDSURFACEDATA targets[8] = {};
    int used = 0;
};

// A level-1 kanji of the CP932 table (none of them is preloaded).
std::string Kanji(int k) { return std::string{(char)(0x88 + k / 94), (char)(0x9F + k % 94)}; }

}  // namespace

TEST_P(FontModes, FixedGridBlanksAndTheSheetsDrawAsDirectDrawingDoes) {
    Open(GetParam());
    ASSERT_TRUE(fonts[0].Create("ＭＳ ゴシック", 0, 16, 16, 16, 241, nullptr, 1, 240, nullptr, 0));
    ASSERT_TRUE(fonts[1].Create("ＭＳ ゴシック", 0, 16, 16, 16, 241, nullptr, 1, 240, nullptr, 1));
    ASSERT_NE(fonts[1].m_lpFastFont_FullAdd, nullptr);
    EXPECT_EQ(fonts[1].GlyphCount(), 256);  // the preloaded characters
    // A mixed text: half- and full-width, katakana, a kanji, blanks, a line feed.
    const char* text = "Aあ\n　B\xB1漢 x~";
    DDSURFACEDATA* direct = Target(160, 48);
    DDSURFACEDATA* cached = Target(160, 48);
    fonts[0].DrawText(direct, 4, 4, text);
    fonts[1].DrawText(cached, 4, 4, text);
    EXPECT_EQ(Values(direct), Values(cached));
    EXPECT_EQ(fonts[1].GlyphCount(), 257);  // the kanji was added
    // The grid: "A" and "あ" on line 1, "B" one full-width blank in on line 2.
    EXPECT_GT(Inked(direct, 4, 4, 20, 20), 0);
    EXPECT_GT(Inked(direct, 20, 4, 36, 20), 0);
    EXPECT_EQ(Inked(direct, 4, 20, 20, 36), 0);   // "　"
    EXPECT_GT(Inked(direct, 20, 20, 36, 36), 0);  // "B"
    EXPECT_EQ(Inked(direct, 68, 20, 84, 36), 0);  // " "
    EXPECT_GT(Inked(direct, 84, 20, 100, 36), 0); // "x"
    EXPECT_EQ(Inked(direct, 36, 4, 160, 20), 0);  // nothing after "あ"
    // The half sheet: every code in its own cell; a lead byte's cell stays as empty as the
    // control codes' row 0.
    auto cell = [&](int code) {
        std::vector<uint32_t> v = Values(&fonts[1].m_lpFastFont_Half->m_Sheet);
        std::vector<uint32_t> c;
        int w = fonts[1].m_lpFastFont_Half->m_Sheet.nWidth;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) c.push_back(v[(size_t)((code / 16) * 16 + y) * w + (code % 16) * 16 + x]);
        return c;
    };
    std::vector<uint32_t> empty = cell(0);
    for (int lead : {0x81, 0x82, 0x9F, 0xE0, 0xFC}) EXPECT_EQ(cell(lead), empty) << lead;
    for (int code : {0x41, 0x7A, 0xB1, 0xDF}) EXPECT_NE(cell(code), empty) << code;
    // Blanks alone draw nothing.
    DDSURFACEDATA* blank = Target(64, 20);
    fonts[1].DrawText(blank, 0, 0, "　 　");
    EXPECT_EQ(Inked(blank, 0, 0, 64, 20), 0);
}

TEST_P(FontModes, IconLettersDrawTheirCellsInsteadOfTheLetters) {
    Open(GetParam());
    DDSURFACEDATA* icons = Target(26 * 8, 8);
    for (int k = 0; k < 26; ++k) DDFillRect(icons, k * 8, 0, 8, 8, 20 + k);
    ASSERT_TRUE(fonts[0].Create("ＭＳ ゴシック", 0, 8, 8, 8, 241, nullptr, 0, 0, icons, 1));
    EXPECT_EQ(fonts[0].m_bIcon, 1u);
    DDSURFACEDATA* t = Target(40, 16);
    fonts[0].DrawText(t, 8, 4, "xa");
    DDEndScene();
    raster::Surface* s = Pixels(*t);
    raster::Surface* is = Pixels(*icons);
    // Every pixel of the two cells is the icon's own colour: the letters are not drawn.
    for (int y = 4; y < 12; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(s->Get(8 + x, y), is->Get(23 * 8 + x, y - 4));
            ASSERT_EQ(s->Get(16 + x, y), is->Get(x, y - 4));
        }
    EXPECT_NE(is->Get(0, 0), is->Get(23 * 8, 0));
}

TEST_P(FontModes, AFullSheetStopsGrowingAndDrawsNewCharactersDirectly) {
    Open(GetParam());
    // A sheet of 320 cells: 256 preloaded, 64 to fill.
    int pitch = 20, line = g_lpDDDevice ? 100 : 48;
    ASSERT_TRUE(fonts[0].Create("ＭＳ ゴシック", 0, 16, pitch, line, 241, nullptr, 0, 0, nullptr, 1));
    ASSERT_TRUE(fonts[1].Create("ＭＳ ゴシック", 0, 16, pitch, line, 241, nullptr, 0, 0, nullptr, 0));
    ASSERT_EQ(fonts[0].m_lpFastFont_FullAdd->Capacity(), 320);
    std::string fill;
    for (int k = 0; k < 64; ++k) fill += Kanji(k);
    DDSURFACEDATA* scratch = Target(640, 100);
    fonts[0].DrawText(scratch, 0, 0, fill.c_str());
    EXPECT_EQ(fonts[0].GlyphCount(), 320);
    // Full: the next kanji is drawn every time, never added, and looks as without the cache.
    for (int round = 0; round < 2; ++round) {
        DDSURFACEDATA* cached = Target(48, line);
        DDSURFACEDATA* direct = Target(48, line);
        fonts[0].DrawText(cached, 4, 0, Kanji(200).c_str());
        fonts[1].DrawText(direct, 4, 0, Kanji(200).c_str());
        EXPECT_EQ(fonts[0].GlyphCount(), 320);
        EXPECT_GT(Inked(cached, 0, 0, 48, line), 10);
        EXPECT_EQ(Values(cached), Values(direct));
    }
}

TEST_P(FontModes, SheetsAndDigitSheetsComeBackAfterALoss) {
    Open(GetParam());
    ASSERT_TRUE(fonts[0].Create("ＭＳ ゴシック", 0, 16, 16, 16, 241, nullptr, 0, 0, nullptr, 1));
    SURFACEFILEDESC desc{};
    desc.dwWord[0] = 1;
    DDSURFACEDATA* digits = &targets[7];
    ASSERT_EQ(cFont::CreateDigitSheets(digits, &desc, 1, &fonts[0], nullptr), 1);
    EXPECT_EQ(digits->nWidth, 160);
    EXPECT_EQ(digits->nHeight, 16);
    std::vector<uint32_t> half = Values(&fonts[0].m_lpFastFont_Half->m_Sheet);
    std::vector<uint32_t> full = Values(&fonts[0].m_lpFastFont_FullAdd->m_Sheet);
    std::vector<uint32_t> sheet = Values(digits);
    EXPECT_GT(Inked(digits, 0, 0, 160, 16), 50);
    if (g_lpDDDevice) {
        d3d9::SimulateDeviceNotReset(g_lpD3DDevice);
        ASSERT_EQ(DDRestoreSurface(), 1u);
    } else {
        ddraw::SimulateSurfaceLoss(g_lpDD);
        ASSERT_EQ(DDRestore(), 1);
        RestoreDigitSheets(digits, &fonts[0], 1);
    }
    EXPECT_EQ(fonts[0].m_lpFastFont_Half->m_Sheet.bLost, 0u);
    EXPECT_EQ(Values(&fonts[0].m_lpFastFont_Half->m_Sheet), half);
    EXPECT_EQ(Values(&fonts[0].m_lpFastFont_FullAdd->m_Sheet), full);
    EXPECT_EQ(Values(digits), sheet);
}

INSTANTIATE_TEST_SUITE_P(Modes, FontModes, testing::ValuesIn(kModes),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });

TEST(FontMeasure, GridSizesCountCharactersAndLines) {
    cFont f;
    f.m_nPitchW = 10;
    f.m_nPitchH = 12;
    struct Case {
        const char* text;
        LONG w, h;
    } cases[] = {{"", 0, 12},         {"A\nB", 10, 24},   {"あいA\n\nxyz", 30, 36},
                 {"\n", 0, 24},       {"ab\n", 20, 24},   {"\xB1\xB2\x81", 30, 12}};  // a lone lead byte counts one
    for (const Case& c : cases) {
        SIZE s = MeasureFontText(&f, c.text);
        EXPECT_EQ(s.cx, c.w) << c.text;
        EXPECT_EQ(s.cy, c.h) << c.text;
    }
    EXPECT_EQ(MeasureFontText(nullptr, "A").cx, 0);
}

namespace {
class StartupFonts : public DrawFixture, public testing::WithParamInterface<Mode> {
protected:
    // The box picture of the fonts (slot 45).
    void WriteWindowBitmap() {
        ASSERT_TRUE(tools::WriteBmp("bmp/Window.bmp", tools::SolidPicture(64, 48, 0x204080), tools::BmpOptions{24, false, false}));
    }
    void TearDown() override {
        ReleaseGameFonts();
        ReleaseDigitSheets();
        InitFontSettings();
        g_SystemData.SetDefaults();
        DrawFixture::TearDown();
    }
};
}  // namespace

TEST_P(StartupFonts, TheThreeFontsWithTheirStartupFace) {
    Open(GetParam());
    InitFontSettings();
    g_SystemData.SetDefaults();
    ResetSystemIni(g_SystemIni, g_SystemData.m_vecIniKeys);
    WriteWindowBitmap();
    ASSERT_TRUE(Load({45}));
    ASSERT_TRUE(InitGameFonts());
    // The project's default font number gives every font the same face.
    for (const FONTSETTING& s : g_FontSettings) EXPECT_STREQ(s.szFace, "ＭＳ Ｐゴシック");
    EXPECT_EQ(g_DigitSheets[2].nWidth, 320);
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 3);
    for (int i = 0; i < 3; ++i) g_Fonts[i].DrawText(&g_BackBufferSD, 4, 4 + 40 * i, "既に起動しています FPS60");
    DDEndScene();
    // The same picture in both back ends.
    ExpectGolden(Crop(*BackPixels(), 0, 0, 560, 120), std::string("fonts_startup_") + std::to_string(GetParam().bpp));
}

INSTANTIATE_TEST_SUITE_P(Modes, StartupFonts,
                         testing::Values(Mode{"d3d_32", 1, 32, 1}, Mode{"dd_32", 0, 32, 0}),
                         [](const testing::TestParamInfo<Mode>& i) { return std::string(i.param.name); });

TEST_F(StartupFonts, FramedTextMenuAndOverlayAreMeasuredAndPlaced) {
    Open(Mode{"dd_32", 0, 32, 0});
    InitFontSettings();
    g_SystemData.SetDefaults();
    WriteWindowBitmap();
    ASSERT_TRUE(Load({45, 47}));
    ASSERT_TRUE(InitGameFonts());
    raster::Surface* bb = BackPixels();
    DWORD frame = PalNumToRGB(240);
    // A measured box centred on the box image: "AB" is 32 wide, + margin 4.
    cFont& f = g_Fonts[1];
    f.m_lpBoxImage = &g_SurfaceData[47];  // 48 x 24
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 3);
    f.DrawTextFramed(&g_BackBufferSD, 10000, 10000, 0, 0, "AB", 4);
    int x = 24 - 18, y = 12 - 8;
    EXPECT_EQ(bb->Get(x - 1, y - 1) & 0xFFFFFF, frame);
    EXPECT_EQ(bb->Get(x + 36, y + 16) & 0xFFFFFF, frame);
    EXPECT_NE(bb->Get(x + 37, y + 17) & 0xFFFFFF, frame);
    // A menu of two texts with cursor room: (3 + 1) x 16 wide, 2 x 16 high.
    f.m_lpBoxImage = &g_SurfaceData[45];
    g_SystemData.m_vecTexts[0] = "はじめ";
    g_SystemData.m_vecTexts[1] = "END";
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 3);
    DrawTextMenu(100, 200, 0, 2, TRUE);
    EXPECT_EQ(bb->Get(99, 199) & 0xFFFFFF, frame);
    EXPECT_EQ(bb->Get(100 + 64, 200 + 32) & 0xFFFFFF, frame);
    EXPECT_NE(bb->Get(100 + 65, 200 + 33) & 0xFFFFFF, frame);
    DDFillRect(&g_BackBufferSD, 0, 0, 640, 480, 3);
    DrawTextMenu(100, 200, 0, 0, TRUE);  // nothing
    DrawFpsOverlay(0, 60, 5);            // nothing
    uint32_t bg = bb->Get(0, 0);
    for (int yy = 0; yy < 480; ++yy)
        for (int xx = 0; xx < 640; ++xx) ASSERT_EQ(bb->Get(xx, yy), bg);
    // The plain overlay stays in the corner from (549, 469).
    DrawFpsOverlay(2, 60, 5);
    int inside = 0, outside = 0;
    for (int yy = 0; yy < 480; ++yy)
        for (int xx = 0; xx < 640; ++xx)
            if (bb->Get(xx, yy) != bg) (xx >= 549 && yy >= 468 ? inside : outside)++;
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
    // Formatted text longer than its buffer is cut at a character, not overrun.
    std::string longText(600, 'x');
    f.DrawTextF(&g_BackBufferSD, 0, 0, "%s", longText.c_str());
}
