#include "tools/game/play_bitmaps.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gdi/fonttext.h"
#include "tools/bmp_writer.h"

namespace {

constexpr uint32_t kKey = 0xFF00FF;  // the transparent colour (palette entry 0)

void Fill(tools::BmpPicture& p, int x, int y, int w, int h, uint32_t rgb) {
    for (int j = std::max(0, y); j < y + h && j < p.height; ++j)
        for (int i = std::max(0, x); i < x + w && i < p.width; ++i) p.rgb[(size_t)j * p.width + i] = rgb;
}

void Frame(tools::BmpPicture& p, int x, int y, int w, int h, uint32_t rgb) {
    Fill(p, x, y, w, 1, rgb);
    Fill(p, x, y + h - 1, w, 1, rgb);
    Fill(p, x, y, 1, h, rgb);
    Fill(p, x + w - 1, y, 1, h, rgb);
}

void Text(tools::BmpPicture& p, int x, int y, int height, const char* text, uint32_t rgb) {
    auto font = gdi::FontText::Create("ＭＳ ゴシック", height);
    if (!font) return;
    std::vector<uint32_t> px(p.rgb.begin(), p.rgb.end());
    gdi::TEXTTARGET t;
    t.pixels = px.data();
    t.width = p.width;
    t.height = p.height;
    t.pitch = p.width * 4;
    font->Draw(t, x, y, text, (int)std::strlen(text), 0xFF000000u | rgb);
    for (size_t i = 0; i < px.size(); ++i) p.rgb[i] = px[i] & 0xFFFFFF;
}

void Disc(tools::BmpPicture& p, int cx, int cy, int r, uint32_t rgb) {
    for (int y = -r; y < r; ++y)
        for (int x = -r; x < r; ++x)
            if ((2 * x + 1) * (2 * x + 1) + (2 * y + 1) * (2 * y + 1) < 4 * r * r) Fill(p, cx + x, cy + y, 1, 1, rgb);
}

// A right-pointing triangle of `size` dots (the title menu's cursors).
void Arrow(tools::BmpPicture& p, int x, int y, int size, uint32_t rgb) {
    for (int j = 0; j < size; ++j) {
        const int reach = size / 2 - (j < size / 2 ? size / 2 - j : j - size / 2 + 1);
        Fill(p, x + 2, y + j, reach * 2, 1, rgb);
    }
}

tools::BmpPicture Blocks() {
    tools::BmpPicture p = tools::SolidPicture(64, 480, kKey);
    // 1 brick
    Fill(p, 0, 32, 32, 32, 0xB05030);
    for (int row = 0; row < 4; ++row) {
        Fill(p, 0, 32 + row * 8, 32, 1, 0x603020);
        for (int x = (row % 2) * 8; x < 32; x += 16) Fill(p, x, 32 + row * 8, 1, 8, 0x603020);
    }
    // 2 ground with grass
    Fill(p, 0, 64, 32, 32, 0x805828);
    Fill(p, 0, 64, 32, 8, 0x40B030);
    for (int x = 2; x < 32; x += 6) Fill(p, x, 72, 2, 2, 0x40B030);
    // 3 question block
    Fill(p, 0, 96, 32, 32, 0xE0A020);
    Frame(p, 0, 96, 32, 32, 0x805010);
    Text(p, 8, 100, 24, "?", 0xFFFFFF);
    // 4 stone
    Fill(p, 0, 128, 32, 32, 0x808890);
    Frame(p, 1, 129, 30, 30, 0x505860);
    return p;
}

// Cells of `cell` dots in `cols` x `rows`, each a disc of its own tint.
tools::BmpPicture Discs(int cols, int rows, int cell, uint32_t base) {
    tools::BmpPicture p = tools::SolidPicture(cols * cell, rows * cell, kKey);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            Disc(p, c * cell + cell / 2, r * cell + cell / 2, cell / 2 - 1, base ^ (uint32_t)((r * cols + c) * 0x101010 & 0x3F3F3F));
    return p;
}

// Character cells: a disc of its own tint with a white eye and a dark nose on the left, so that
// the figure shows which way it faces and how it turns.
tools::BmpPicture Figures(int cols, int rows, uint32_t base) {
    tools::BmpPicture p = Discs(cols, rows, 32, base);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int x = c * 32, y = r * 32;
            Fill(p, x + 7, y + 9, 6, 6, 0xFFFFFF);
            Fill(p, x + 8, y + 11, 3, 3, 0x101010);
            Fill(p, x + 2, y + 17, 6, 3, 0x402010);
            Fill(p, x + 10, y + 26, 12, 3, 0x402010);
        }
    return p;
}

// The icon and gauge sheet: cursors on row 0 as the title menu has them, the five panel icons
// on row 32, the gauge frames on row 128, their fills on rows 144 (plenty) and 160 (within the
// warning limit), and the changed part of a character's gauge on rows 176 (a loss) and 192 (a gain).
tools::BmpPicture Accessory() {
    tools::BmpPicture p = tools::SolidPicture(128, 208, kKey);
    Arrow(p, 0, 4, 24, 0xFFE020);
    Arrow(p, 64, 0, 16, 0x20E0FF);
    const uint32_t icons[5] = {0xF0D040, 0x40D0F0, 0xF04040, 0x4080F0, 0x40E040};
    for (int i = 0; i < 5; ++i) Disc(p, 16 * i + 8, 40, 7, icons[i]);
    for (int g = 0; g < 2; ++g) {
        const int x = 64 * g;
        Fill(p, x, 128, 50, 16, 0x202020);
        Frame(p, x, 128, 50, 16, 0xE0E0E0);
        Fill(p, x, 144, 50, 16, g == 0 ? 0x30E040 : 0x3090F0);
        Fill(p, x, 160, 50, 16, 0xE03030);
        Fill(p, x, 176, 50, 16, 0x802020);  // a loss
        Fill(p, x, 192, 50, 16, 0xF0F060);  // a gain
    }
    return p;
}

// The word sheet: the start plate (row 0), the replay plate (row 32), the second plate at
// (160, 0), and digits 0-9 of 32 dots on rows 128 and 160.
tools::BmpPicture Words() {
    tools::BmpPicture p = tools::SolidPicture(320, 192, kKey);
    Fill(p, 0, 0, 128, 32, 0x2040A0);
    Text(p, 12, 4, 24, "STAGE", 0xFFFFFF);
    Fill(p, 0, 32, 128, 32, 0xA02040);
    Text(p, 12, 36, 24, "REPLAY", 0xFFFFFF);
    Fill(p, 160, 0, 80, 32, 0x20A040);
    Text(p, 168, 4, 24, "GO!", 0xFFFFFF);
    for (int d = 0; d < 10; ++d) {
        char s[2] = {(char)('0' + d), 0};
        Text(p, 32 * d + 4, 128 + 2, 28, s, 0xFFF080);
        Text(p, 32 * d + 4, 160 + 2, 28, s, 0xFFFFFF);
    }
    return p;
}

tools::BmpPicture Background() {
    tools::BmpPicture p = tools::SolidPicture(320, 240, 0);
    for (int y = 0; y < 240; ++y) Fill(p, 0, y, 320, 1, (uint32_t)(0x50 + y / 4) << 8 | (uint32_t)(0xC0 + y / 8) | 0x300000);
    Disc(p, 80, 60, 20, 0xF8F8F8);
    Disc(p, 100, 56, 24, 0xF8F8F8);
    Disc(p, 250, 100, 18, 0xF0F0F0);
    return p;
}

tools::BmpPicture Panel() {
    tools::BmpPicture p = tools::SolidPicture(640, 20, 0x182038);
    Fill(p, 0, 19, 640, 1, 0x8090C0);
    return p;
}

}  // namespace

bool WritePlayBitmaps(cGameFolder& folder) {
    const tools::BmpOptions o{};
    bool ok = tools::WriteBmp(folder.HostPath("bmp\\Block.bmp"), Blocks(), o);
    ok = tools::WriteBmp(folder.HostPath("bmp\\Character1.bmp"), Figures(8, 4, 0xC04040), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Shot.bmp"), Discs(8, 30, 16, 0xF0F040), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Item.bmp"), Discs(4, 15, 32, 0x40C0F0), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Item_Mini.bmp"), Discs(4, 15, 16, 0x40C0F0), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Mark.bmp"), Discs(4, 15, 32, 0xC0C0C0), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Window.bmp"), tools::SolidPicture(64, 64, 0x102050), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\StatusWindow.bmp"), Panel(), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Accessory.bmp"), Accessory(), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Symbol.bmp"), Discs(16, 16, 16, 0xE0E0E0), o) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Word.bmp"), Words(), o) && ok;
    return tools::WriteBmp(folder.HostPath("背景その1.bmp"), Background(), o) && ok;
}
