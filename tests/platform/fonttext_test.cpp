// The text rasteriser: face names to font files, metrics, measuring, monochrome drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/fonttext.h"
#include "tests/platform/dialog_golden.h"

namespace {

using gdi::FontText;

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

TEST(FontText, FaceNamesResolveToInstalledFontsOrTheGothicFallbacks) {
    struct Case {
        const char* face;
        const char* file;
        bool fallback;
    };
    const Case cases[] = {
        {"ＭＳ ゴシック", "ipag.ttf", true},
        {"ＭＳ Ｐゴシック", "ipagp.ttf", true},
        {"MS PGothic", "ipagp.ttf", true},
        {"No Such Face", "ipag.ttf", true},
        {"", "ipag.ttf", true},
        {"IPAGothic", "ipag.ttf", false},
        {"ipa pgothic", "ipagp.ttf", false},  // case and blanks do not matter
    };
    for (const Case& c : cases) {
        gdi::FONTFILE f = gdi::ResolveFontFace(c.face);
        // The Debian package installs the same file under two names.
        std::string name = FileName(f.path);
        if (name == "fonts-japanese-gothic.ttf") name = "ipag.ttf";
        EXPECT_EQ(name, c.file) << c.face;
        EXPECT_EQ(f.bFallback, c.fallback) << c.face;
    }
}

// The player starts fontconfig on a thread of its own at once; faces then resolve as they do
// when the first face name starts it (each test runs in a process of its own).
TEST(FontText, FacesResolveAlikeWhenFontconfigWasStartedEarly) {
    gdi::PrepareFontConfig();
    gdi::PrepareFontConfig();  // only the first call acts
    std::string gothic = FileName(gdi::ResolveFontFace("IPAGothic").path);
    EXPECT_TRUE(gothic == "ipag.ttf" || gothic == "fonts-japanese-gothic.ttf") << gothic;
    gdi::FONTFILE f = gdi::ResolveFontFace("ＭＳ Ｐゴシック");
    EXPECT_EQ(FileName(f.path), "ipagp.ttf");
    EXPECT_TRUE(f.bFallback);
    auto font = FontText::Create("ＭＳ ゴシック", 16);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Height(), 16);
}

TEST(FontText, CellHeightsAndEmSizesGiveGdiMetrics) {
    // A positive height is the cell; a negative one the em size, the cell following from it.
    auto cell = FontText::Create("ＭＳ ゴシック", 16);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->Height(), 16);
    EXPECT_EQ(cell->Ascent() + cell->Descent(), 16);
    EXPECT_GT(cell->Ascent(), cell->Descent());
    auto em = FontText::Create("ＭＳ ゴシック", -12);
    ASSERT_TRUE(em);
    // IPAGothic: win ascent 1802, descent 401 of 2048 units.
    EXPECT_EQ(em->Ascent(), 11);
    EXPECT_EQ(em->Descent(), 2);
    EXPECT_EQ(em->Height(), 13);
}

TEST(FontText, GothicHalfAndFullWidthCharactersHaveFixedWidths) {
    auto f = FontText::Create("ＭＳ ゴシック", -16);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->CharWidth('A'), 8);
    EXPECT_EQ(f->CharWidth('i'), 8);
    EXPECT_EQ(f->CharWidth(0x82A0), 16);  // あ
    EXPECT_EQ(f->CharWidth(0xB1), 8);     // half-width katakana ｱ
    EXPECT_EQ(f->AverageCharWidth(), 8);
    // Mixed text: two half-width, two full-width characters; a line feed is one more glyph.
    SIZE s = f->Measure("Aあ1漢");
    EXPECT_EQ(s.cx, 48);
    EXPECT_EQ(s.cy, f->Height());
    EXPECT_EQ(f->Measure("", 0).cx, 0);
    EXPECT_EQ(f->Measure("AB", 1).cx, 8);
    // A width stretches the glyphs: half-width characters take exactly that width.
    auto wide = FontText::Create("ＭＳ ゴシック", -16, 12);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->CharWidth('A'), 12);
    EXPECT_EQ(wide->CharWidth(0x82A0), 24);
    EXPECT_EQ(wide->Height(), f->Height());
    // The proportional face measures its own widths.
    auto p = FontText::Create("ＭＳ Ｐゴシック", -16);
    ASSERT_TRUE(p);
    EXPECT_LT(p->CharWidth('i'), p->CharWidth('W'));
}

TEST(FontText, ShiftJisCharactersSplitOnLeadAndTrailBytes) {
    struct Case {
        const char* text;
        int len;
        unsigned code;
    };
    const Case cases[] = {
        {"A", 1, 'A'},
        {"あ", 2, 0x82A0},
        {"表", 2, 0x955C},     // trail byte 0x5C (backslash) belongs to the pair
        {"\x82", 1, 0x82},     // lead byte at the end
        {"\x82\x20", 1, 0x82}, // lead byte without a trail byte
        {"\xA0", 1, 0xA0},
    };
    for (const Case& c : cases) {
        unsigned code = 0;
        const char* end = c.text + std::strlen(c.text);
        EXPECT_EQ(FontText::NextChar(c.text, end, &code), c.len) << c.text;
        EXPECT_EQ(code, c.code);
    }
}

TEST(FontText, DrawingWritesOnlyTheColourAndStaysInsideTheClip) {
    auto f = FontText::Create("ＭＳ ゴシック", -16);
    ASSERT_TRUE(f);
    const int w = 40, h = 20;
    std::vector<uint32_t> px((size_t)w * h, 0x11223344u);
    gdi::TEXTTARGET t{px.data(), w, h, w * 4, RECT{5, 2, 30, 15}};
    // Starts left of the clip and runs past its right edge and the buffer's.
    int end = f->Draw(t, -4, 0, "■あWW■", -1, 0xFF00FF00u);
    EXPECT_EQ(end, -4 + 16 + 16 + 8 + 8 + 16);
    int set = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = px[(size_t)y * w + x];
            bool inside = x >= 5 && x < 30 && y >= 2 && y < 15;
            if (!inside) {
                EXPECT_EQ(v, 0x11223344u) << x << "," << y;
            }
            if (v == 0xFF00FF00u) {
                ++set;
            } else {
                EXPECT_EQ(v, 0x11223344u);  // monochrome: nothing in between
            }
        }
    EXPECT_GT(set, 50);
    // Drawing far outside, into a null buffer or with an empty text touches nothing.
    f->Draw(t, 1000, 1000, "あ", -1, 0);
    f->Draw(t, -1000, -1000, "あ", -1, 0);
    f->Draw(gdi::TEXTTARGET{}, 0, 0, "あ", -1, 0);
    EXPECT_EQ(f->Draw(t, 3, 0, "", -1, 0), 3);
}

TEST(FontText, GoldenLinesOfTheGothicFaces) {
    const int w = 300, h = 60;
    std::vector<uint32_t> px((size_t)w * h, 0xFFFFFF);
    gdi::TEXTTARGET t{px.data(), w, h, w * 4, RECT{}};
    auto gothic = FontText::Create("ＭＳ ゴシック", 16);
    auto pgothic = FontText::Create("ＭＳ Ｐゴシック", -12);
    ASSERT_TRUE(gothic && pgothic);
    gothic->Draw(t, 2, 2, "既に起動しています FPS60", -1, 0x000000);
    pgothic->Draw(t, 2, 22, "描画モード Direct3D ｶﾀｶﾅ", -1, 0x0000C0);
    pgothic->Draw(t, 2, 40, "登録名(3文字まで) Name", -1, 0xC00000);
    testgolden::ExpectGolden("fonttext_gothic_lines", px.data(), w, h);
}

}  // namespace
