#include "tools/game/sample_game.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "media/asset_table.h"
#include "platform/gdi/fonttext.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "tools/bmp_writer.h"
#include "tools/game/minimal_game.h"
#include "tools/midi_writer.h"
#include "tools/ogg_writer.h"
#include "tools/records/project_writer.h"
#include "tools/records/stage_writer.h"
#include "tools/wave_writer.h"

const char* const kSampleSystemIni =
    "Direct3D=1\r\nWindowMode=1\r\nBpp=0\r\nVSync=2\r\nShowFps=0\r\nFreeStage=\r\nEnglish=0\r\nExit\r\n";

namespace {

constexpr uint32_t kKey = 0xFF00FF;  // the transparent colour
constexpr int kSystemSounds = 17;

void Fill(tools::BmpPicture& p, int x, int y, int w, int h, uint32_t rgb) {
    for (int j = std::max(0, y); j < y + h && j < p.height; ++j)
        for (int i = std::max(0, x); i < x + w && i < p.width; ++i) p.rgb[(size_t)j * p.width + i] = rgb;
}

uint32_t Mix(uint32_t a, uint32_t b, int t, int n) {
    auto ch = [&](int s) {
        int x = (int)(a >> s & 0xFF), y = (int)(b >> s & 0xFF);
        return (uint32_t)(x + (y - x) * t / std::max(1, n)) << s;
    };
    return ch(16) | ch(8) | ch(0);
}

// Text drawn into a picture with the Gothic font the games use.
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

// A sheet of `cols` x `rows` cells of `cell` dots, each a rounded figure on the transparent
// colour, tinted per cell.
tools::BmpPicture Sheet(int cols, int rows, int cell, uint32_t base) {
    tools::BmpPicture p = tools::SolidPicture(cols * cell, rows * cell, kKey);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            uint32_t colour = Mix(base, 0xFFFFFF, (r * cols + c) % 5, 8);
            int x0 = c * cell, y0 = r * cell, m = cell / 8;
            for (int y = m; y < cell - m; ++y)
                for (int x = m; x < cell - m; ++x) {
                    int dx = 2 * x - cell + 1, dy = 2 * y - cell + 1;
                    if (dx * dx + dy * dy < (cell - 2 * m) * (cell - 2 * m))
                        p.rgb[(size_t)(y0 + y) * p.width + x0 + x] = (y - m) < 2 ? 0xFFFFFF : colour;
                }
        }
    return p;
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

// The cursors of the title menu on row 0 (as the title's own sheet has them), the status
// panel's five icons on row 32, the world map's lives icon at (0, 48), the world map's walking
// figure on rows 64 and 96 (two frames for each of four facings), and the gauge rows from 128:
// frame, fill, fill within the warning limit, a loss and a gain.
tools::BmpPicture Accessory() {
    tools::BmpPicture p = tools::SolidPicture(128, 208, kKey);
    Arrow(p, 0, 4, 24, 0xFFE020);
    Arrow(p, 64, 0, 16, 0x20E0FF);
    const uint32_t icons[5] = {0xF0D040, 0x40D0F0, 0xF04040, 0x4080F0, 0x40E040};
    for (int i = 0; i < 5; ++i) Disc(p, 16 * i + 8, 40, 7, icons[i]);
    // The lives icon: a small heart.
    Disc(p, 5, 53, 4, 0xF04060);
    Disc(p, 11, 53, 4, 0xF04060);
    for (int j = 0; j < 6; ++j) Fill(p, 2 + j, 55 + j, 12 - 2 * j, 1, 0xF04060);
    // The figure: facing 0 and 1 on row 64, 2 and 3 on row 96; the second frame lifts a foot.
    for (int facing = 0; facing < 4; ++facing)
        for (int frame = 0; frame < 2; ++frame) {
            const int x = (facing == 1 || facing == 2 ? 64 : 0) + 32 * frame, y = facing < 2 ? 64 : 96;
            Disc(p, x + 16, y + 14, 10, 0x3060E0);
            Fill(p, x + 11, y + 2, 10, 4, 0xE04030);  // a cap
            const int eye = facing == 0 ? 9 : facing == 1 ? 19 : 12;
            if (facing != 3) Fill(p, x + eye, y + 11, 4, 4, 0xFFFFFF);
            if (facing == 2) Fill(p, x + 18, y + 11, 4, 4, 0xFFFFFF);
            Fill(p, x + 9, y + 25 - (frame ? 2 : 0), 5, 5, 0x402010);
            Fill(p, x + 18, y + 25 - (frame ? 0 : 2), 5, 5, 0x402010);
        }
    for (int g = 0; g < 2; ++g) {
        const int x = 64 * g;
        Fill(p, x, 128, 50, 16, 0x202020);
        Fill(p, x, 128, 50, 1, 0xE0E0E0);
        Fill(p, x, 143, 50, 1, 0xE0E0E0);
        Fill(p, x, 128, 1, 16, 0xE0E0E0);
        Fill(p, x + 49, 128, 1, 16, 0xE0E0E0);
        Fill(p, x, 144, 50, 16, g == 0 ? 0x30E040 : 0x3090F0);
        Fill(p, x, 160, 50, 16, 0xE03030);
        Fill(p, x, 176, 50, 16, 0x802020);
        Fill(p, x, 192, 50, 16, 0xF0F060);
    }
    return p;
}

// The first sheet's rows that are things rather than figures: the moving floor (row 4), the
// goal flag (row 6) and the sign board (row 7); every frame alike.
bool Furniture(tools::BmpPicture& p, int row) {
    if (row != 4 && row != 6 && row != 7) return false;
    for (int f = 0; f < 16; ++f) {
        const int x = 32 * f, y = 32 * row;
        if (row == 4) {
            Fill(p, x, y, 32, 32, 0x8A5A2A);
            Fill(p, x, y, 32, 3, 0xC89050);
            Fill(p, x, y + 29, 32, 3, 0x4A2A10);
            Fill(p, x + 4, y + 12, 24, 3, 0x6A3A1A);
            Fill(p, x + 4, y + 20, 24, 3, 0x6A3A1A);
        } else if (row == 6) {
            Fill(p, x + 8, y + 2, 3, 30, 0xE0E0E0);
            const int wave = f % 4 < 2 ? 0 : 1;
            for (int j = 0; j < 12; ++j) Fill(p, x + 11, y + 3 + j, 16 - std::abs(j - 6) + wave, 1, 0xF03030);
            Disc(p, x + 9, y + 2, 3, 0xF0D040);
        } else {
            Fill(p, x + 14, y + 18, 4, 14, 0x6A3A1A);
            Fill(p, x + 2, y + 4, 28, 16, 0xC89050);
            Fill(p, x + 2, y + 4, 28, 2, 0xE8B070);
            for (int k = 0; k < 3; ++k) Fill(p, x + 6, y + 8 + 4 * k, 20 - 6 * (k % 2), 2, 0x402010);
        }
    }
    return true;
}

// A character sheet: 15 characters, one a row, 16 frames across. Each figure is a round body of
// the row's colour with an eye and a nose on the left (the sheets face left) and feet that
// step in turn from frame to frame.
tools::BmpPicture Figures(uint32_t base, bool first) {
    tools::BmpPicture p = tools::SolidPicture(16 * 32, 15 * 32, kKey);
    for (int r = 0; r < 15; ++r) {
        if (first && Furniture(p, r)) continue;
        const uint32_t colour = Mix(base, (uint32_t)(0x30A0F0 ^ (r * 0x2A1C3B & 0xFFFFFF)), r % 7, 8);
        for (int f = 0; f < 16; ++f) {
            const int x = 32 * f, y = 32 * r;
            Disc(p, x + 16, y + 14, 11, colour);
            Fill(p, x + 7, y + 8, 6, 6, 0xFFFFFF);
            Fill(p, x + 8, y + 10, 3, 3, 0x101010);
            Fill(p, x + 3, y + 16, 5, 3, 0x402010);
            const int lift = f % 2;
            Fill(p, x + 9, y + 26 - lift * 2, 6, 4, 0x402010);
            Fill(p, x + 18, y + 26 - (1 - lift) * 2, 6, 4, 0x402010);
        }
    }
    return p;
}

// The item sheet: one item a row, 16 frames across: a coin, a gem, a heart, a star...
tools::BmpPicture Items() {
    tools::BmpPicture p = tools::SolidPicture(16 * 32, 15 * 32, kKey);
    const uint32_t colours[5] = {0xF0C020, 0x40E0F0, 0xF04060, 0x80F040, 0xC080F0};
    for (int r = 0; r < 15; ++r)
        for (int f = 0; f < 16; ++f) {
            const int x = 32 * f, y = 32 * r, w = 9 + (f % 4 == 1 || f % 4 == 3 ? -3 : f % 4 == 2 ? -6 : 0);
            const uint32_t c = colours[r % 5];
            for (int j = -9; j < 9; ++j) Fill(p, x + 16 - std::max(1, w - std::abs(j) / 2), y + 16 + j, 2 * std::max(1, w - std::abs(j) / 2), 1, c);
            Fill(p, x + 14, y + 10, 3, 3, 0xFFFFFF);
        }
    return p;
}

// A text centred in a box, with a dark edge, `height` dots high (full-width characters are as
// wide as they are high, the others half as wide).
void BoxText(tools::BmpPicture& p, int x, int y, int w, int h, int height, const char* text, uint32_t rgb) {
    int width = 0;
    for (const unsigned char* c = (const unsigned char*)text; *c;) {
        const bool lead = (*c >= 0x81 && *c <= 0x9F) || (*c >= 0xE0 && *c <= 0xFC);
        width += lead ? height : height / 2;
        c += lead && c[1] ? 2 : 1;
    }
    const int tx = x + (w - width) / 2, ty = y + (h - height) / 2;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy) Text(p, tx + dx, ty + dy, height, text, 0x101828);
    Text(p, tx, ty, height, text, rgb);
}

// The system sprites of play (Word.bmp): the stage banner "ステージ" at (0, 0) followed by its
// number in the digits of row 128, the replay's banner at (0, 32), the start banner at
// (160, 0), the result at
// (0, 64), game over at (0, 96) and the time limit's digits on row 160 (32 x 32 cells).
tools::BmpPicture WordSheet() {
    tools::BmpPicture p = tools::SolidPicture(512, 192, kKey);
    BoxText(p, 0, 0, 128, 32, 26, "ステージ", 0xFFF0A0);
    BoxText(p, 0, 32, 128, 32, 26, "リプレイ", 0xA0E0FF);
    BoxText(p, 160, 0, 80, 32, 16, "スタート！", 0xFFD040);
    BoxText(p, 0, 64, 128, 32, 26, "クリア！", 0x60FF80);
    BoxText(p, 0, 96, 144, 32, 20, "ゲームオーバー", 0xFF5050);
    for (int d = 0; d < 10; ++d) {
        const char digit[2] = {(char)('0' + d), 0};
        BoxText(p, 32 * d, 128, 32, 32, 28, digit, 0xFFF0A0);
        BoxText(p, 32 * d, 160, 32, 32, 28, digit, 0xFFFFFF);
    }
    return p;
}

tools::BmpPicture Blocks() {
    tools::BmpPicture p = tools::SolidPicture(32 * 16, 32 * 16, kKey);
    for (int n = 1; n < 256; ++n) {
        int x0 = (n % 16) * 32, y0 = (n / 16) * 32;
        uint32_t colour = Mix(0x806040, 0x40A060, n % 7, 6);
        Fill(p, x0, y0, 32, 32, colour);
        Fill(p, x0, y0, 32, 2, Mix(colour, 0xFFFFFF, 1, 2));
        Fill(p, x0, y0 + 30, 32, 2, Mix(colour, 0, 1, 2));
        for (int k = 4; k < 32; k += 8) Fill(p, x0 + k, y0 + 8 + (k % 16), 4, 2, Mix(colour, 0, 1, 3));
    }
    return p;
}

tools::BmpPicture Background(int k) {
    tools::BmpPicture p = tools::SolidPicture(640, 480, 0);
    uint32_t top = Mix(0x102060, 0x60A0E0, k, 8), bottom = Mix(0x80C0F0, 0xF0D0A0, k, 8);
    for (int y = 0; y < 480; ++y) Fill(p, 0, y, 640, 1, Mix(top, bottom, y, 479));
    for (int x = 0; x < 640; ++x) {
        int h = 300 + (int)(40 * std::sin((x + k * 70) / 60.0) + 20 * std::sin((x + k * 30) / 23.0));
        Fill(p, x, h, 1, 480 - h, Mix(0x304050, 0x203020, k, 8));
    }
    return p;
}

tools::BmpPicture TitlePicture(const std::string& title) {
    tools::BmpPicture p = Background(2);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if ((x - 500) * (x - 500) + (y - 110) * (y - 110) < 44 * 44) p.rgb[(size_t)y * 640 + x] = 0xF8E0A0;
    Text(p, 62, 82, 48, title.c_str(), 0x102040);
    Text(p, 60, 80, 48, title.c_str(), 0xFFF0C0);
    Text(p, 64, 140, 16, "Velmora player sample", 0xE0E8FF);
    return p;
}

// The title menu in picture form: one 160 x 32 plate per entry, in menu-number order, with the
// entry's text.
tools::BmpPicture MenuPlates(const cSystemData& system) {
    tools::BmpPicture p = tools::SolidPicture(160, 32 * 7, kKey);
    for (int m = 0; m < 7; ++m) {
        int y0 = 32 * m;
        for (int y = 3; y < 29; ++y) Fill(p, 6, y0 + y, 148, 1, Mix(0x305088, 0x182848, y, 28));
        Fill(p, 6, y0 + 3, 148, 1, 0xA0C0F0);
        Fill(p, 6, y0 + 28, 148, 1, 0x101830);
        const char* text = m < (int)system.m_vecTitleMenu.size() ? system.m_vecTitleMenu[m].m_strText.c_str() : "";
        Text(p, 21, y0 + 7, 18, text, 0x000010);
        Text(p, 20, y0 + 6, 18, text, 0xF8F0D0);
    }
    return p;
}

bool WriteBitmaps(cGameFolder& folder, const cSystemData& system) {
    const std::string& title = system.m_strTitle;
    // Start-up's palette and debug bitmaps and the title menu's pictures first, then every
    // other slot that names a file.
    bool ok = WriteMinimalBitmaps(folder);
    ok = tools::WriteBmp(folder.HostPath("bmp\\Title.bmp"), TitlePicture(title), tools::BmpOptions{}) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\GameMode.bmp"), MenuPlates(system), tools::BmpOptions{}) && ok;
    ok = tools::WriteBmp(folder.HostPath("bmp\\Accessory.bmp"), Accessory(), tools::BmpOptions{}) && ok;
    InitSurfaceFileTable();
    for (int s = 0; s < kSurfaceSlotCount; ++s) {
        std::string path = g_SurfaceFiles[s].szPath;
        if (path.empty() || path == "E" || folder.Exists(path)) continue;
        std::string name = path.substr(path.rfind('\\') + 1);
        tools::BmpPicture pic;
        if (name == "Block.bmp") pic = Blocks();
        else if (name.rfind("Character", 0) == 0) pic = Figures(Mix(0xC04040, 0x4040C0, name[9] - '1', 7), name[9] == '1');
        else if (name == "Shot.bmp") pic = Sheet(16, 8, 16, 0xF0F040);
        else if (name == "Item.bmp") pic = Items();
        else if (name == "Mark.bmp") pic = Sheet(16, 4, 32, 0x40C0F0);
        else if (name == "Item_Mini.bmp") pic = Sheet(16, 4, 16, 0x40C0F0);
        else if (name == "StatusWindow.bmp") pic = tools::SolidPicture(640, 32, 0x203048);
        else if (name == "Word.bmp") pic = WordSheet();
        else if (name == "Symbol.bmp") pic = Sheet(16, 16, 16, 0xE0E0E0);
        else if (name == "WorldMapChip.bmp") pic = Blocks();
        else if (name == "WorldEvent.bmp") pic = Sheet(8, 8, 32, 0xE08020);
        else if (name == "WorldBack.bmp") pic = Background(5);
        else if (path.find('\\') == std::string::npos) pic = Background(s % 8);  // the backgrounds, in the game folder
        else pic = Sheet(8, 8, 32, 0x808080);
        ok = tools::WriteBmp(folder.HostPath(path), pic, tools::BmpOptions{}) && ok;
    }
    return ok;
}

// A short sound: a tone that falls or rises, at 22050 Hz, 8 bits, mono.
bool WriteTone(cGameFolder& folder, const std::string& path, double hz, double slide, double seconds) {
    const int rate = 22050;
    std::vector<int16_t> samples((size_t)(rate * seconds));
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        double t = (double)i / rate, f = hz + slide * t;
        phase += 2 * M_PI * f / rate;
        double env = 1.0 - t / seconds;
        samples[i] = (int16_t)(std::sin(phase) * env * 12000);
    }
    return tools::WriteWaveFile(folder.HostPath(path), rate, 8, 1, samples);
}

// A looping tune of a few bars: a melody on a piano and a bass line.
bool WriteMidiTune(cGameFolder& folder, const std::string& path, int root, int program) {
    tools::MidiFileWriter w(1, 480);
    int conductor = w.AddTrack();
    w.Tempo(conductor, 0, 500000);
    int lead = w.AddTrack(), bass = w.AddTrack();
    w.ProgramChange(lead, 0, 0, program);
    w.ProgramChange(bass, 0, 1, 33);
    const int scale[] = {0, 2, 4, 7, 9, 12, 9, 7, 4, 2, 4, 7, 5, 4, 2, 0};
    for (int i = 0; i < 16; ++i) {
        uint32_t t = (uint32_t)i * 240;
        w.NoteOn(lead, t, 0, root + scale[i], 90);
        w.NoteOff(lead, t + 220, 0, root + scale[i]);
    }
    for (int b = 0; b < 4; ++b) {
        uint32_t t = (uint32_t)b * 960;
        int note = root - 24 + (b % 2 ? 5 : 0);
        w.NoteOn(bass, t, 1, note, 80);
        w.NoteOff(bass, t + 900, 1, note);
    }
    w.EndTrack(lead, 3840);
    w.EndTrack(bass, 3840);
    w.EndTrack(conductor, 3840);
    return w.Write(folder.HostPath(path));
}

// The title tune: a soft chord progression, two seconds a chord, as Ogg Vorbis.
bool WriteOggTune(cGameFolder& folder, const std::string& path) {
    const int rate = 22050;
    const double chords[4][3] = {{261.6, 329.6, 392.0}, {220.0, 261.6, 329.6}, {174.6, 220.0, 261.6}, {196.0, 246.9, 293.7}};
    std::vector<float> samples;
    for (const auto& chord : chords)
        for (int i = 0; i < rate * 2; ++i) {
            double t = (double)i / rate, v = 0;
            for (double f : chord) v += std::sin(2 * M_PI * f * t) * 0.12;
            double env = std::min(1.0, t * 8) * std::min(1.0, (2.0 - t) * 8);
            samples.push_back((float)(v * env));
            samples.push_back((float)(v * env));
        }
    return tools::WriteOggVorbis(folder.HostPath(path), rate, 2, samples);
}

// The game's palette (bmp\plt\Palette.bmp): 0 the transparent magenta, 1-15 light greys, 16-31
// a grey ramp from black to white (16 is the black of fills and fades), 32-247 a 6 x 6 x 6
// colour cube, 248-255 warm tints.
bool WritePalette(cGameFolder& folder) {
    std::vector<uint32_t> colours(256);
    colours[0] = kKey;
    for (int i = 1; i < 16; ++i) colours[i] = Mix(0xA0A0A0, 0xFFFFFF, i, 15);
    for (int i = 0; i < 16; ++i) colours[16 + i] = Mix(0x000000, 0xFFFFFF, i, 15);
    for (int i = 0; i < 216; ++i) colours[32 + i] = (uint32_t)(i / 36 * 51) << 16 | (uint32_t)(i / 6 % 6 * 51) << 8 | (uint32_t)(i % 6 * 51);
    for (int i = 0; i < 8; ++i) colours[248 + i] = Mix(0x804020, 0xFFE0A0, i, 7);
    tools::BmpOptions eight;
    eight.bitCount = 8;
    return tools::WriteBmp(folder.HostPath("bmp\\plt\\Palette.bmp"), tools::PalettePicture(16, 16, colours), eight);
}

// The colour table of 8-bit DirectDraw ("bmp\hbt\hbt00.dat"): entry a x 256 + b is the palette
// number nearest to the even mix of palette colours a and b.
bool WriteColourTable(cGameFolder& folder) {
    std::vector<uint8_t> bmp = folder.ReadFile("bmp\\plt\\Palette.bmp");
    // The palette bitmap's colour table follows its 14-byte file header and its info header.
    if (bmp.size() < 54 + 1024) return false;
    const size_t at = 14 + (size_t)(bmp[14] | bmp[15] << 8 | bmp[16] << 16 | (uint32_t)bmp[17] << 24);
    if (at + 1024 > bmp.size()) return false;
    int rgb[256][3];
    for (int i = 0; i < 256; ++i) {
        rgb[i][0] = bmp[at + 4 * i + 2];
        rgb[i][1] = bmp[at + 4 * i + 1];
        rgb[i][2] = bmp[at + 4 * i];
    }
    std::vector<uint8_t> table(65536);
    for (int a = 0; a < 256; ++a)
        for (int b = a; b < 256; ++b) {
            const int r = (rgb[a][0] + rgb[b][0]) / 2, g = (rgb[a][1] + rgb[b][1]) / 2, l = (rgb[a][2] + rgb[b][2]) / 2;
            int best = 1, bestDist = 1 << 30;
            for (int i = 1; i < 256; ++i) {  // colour 0 is the transparent one
                const int dr = rgb[i][0] - r, dg = rgb[i][1] - g, db = rgb[i][2] - l;
                const int dist = dr * dr + dg * dg + db * db;
                if (dist < bestDist) bestDist = dist, best = i;
            }
            table[(size_t)a * 256 + b] = table[(size_t)b * 256 + a] = (uint8_t)best;
        }
    folder.MakeFolder("bmp\\hbt");
    return folder.WriteFile("bmp\\hbt\\hbt00.dat", table);
}

// ---- flows of the sample game ----

// Direction keys of a key condition: 1 left, 2 right, 3 up, 4 down; buttons from 10 (11 is
// button 1, the jump; 12 button 2, the shot).
enum { KEY_LEFT = 1, KEY_RIGHT = 2, KEY_JUMP = 11, KEY_SHOT = 12 };
// Direction codes of the movement commands: 2 left, 3 right, 6 up, 7 down.
enum { DIR_LEFT = 2, DIR_RIGHT = 3, DIR_UP = 6, DIR_DOWN = 7 };
// Sounds of the project's sound list.
enum { SOUND_JUMP = 1, SOUND_SHOT = 2, SOUND_COIN = 3, SOUND_BOSS_SHOT = 4 };
// Tunes of the project's music list.
enum { BGM_STAGE1 = 5, BGM_STAGE2 = 6, BGM_STAGE3 = 7 };

cFlowCmd Command(int kind, int tenths) {
    cFlowCmd c;
    c.m_cKind = (int8_t)kind;
    c.m_wTime = (uint16_t)tenths;
    return c;
}

cFlowCmd Move(int kind, int direction, int speed, int tenths) {
    cFlowCmd c = Command(kind, tenths);
    c.CreateEdMove();
    c.m_pMove->DirectionCode() = (uint8_t)direction;
    c.m_pMove->Speed() = (uint16_t)speed;
    return c;
}

cFlowKeyCond Held(int key) {
    cFlowKeyCond k;
    k.Clear();
    k.m_vecKeys[(size_t)key] = 1;
    k.m_byAnyLength = 1;
    return k;
}

cFlow KeyFlow(int key, bool repeat, std::vector<cFlowCmd> commands) {
    cFlow f;
    f.m_vecKeyConds = {Held(key)};
    f.m_byKeyRepeat = repeat ? 1 : 0;
    f.m_vecCmds = std::move(commands);
    return f;
}

// The hero walks while a direction key is held and stops when none is, jumps with button 1 and
// shoots with button 2.
std::vector<cFlow> HeroFlows() {
    cFlowCmd jump = Command(10, 0);
    jump.m_vecParams = {0, 0, 10, 0, 0};  // ten half blocks high
    jump.m_wSound = SOUND_JUMP;
    cFlowCmd shot = Command(11, 3);
    shot.CreateEdShot();
    cEdShot& e = *shot.m_pShot;
    e.FormationCount() = 1;
    e.Speed() = 80;
    e.Power() = 1;
    e.Graphic() = 1;
    e.LifeOn() = 1;
    e.Life() = 8;
    shot.m_wSound = SOUND_SHOT;
    // With neither direction held the walk stops at once.
    cFlow stop = KeyFlow(KEY_LEFT, true, {Command(8, 0)});
    stop.m_vecKeyConds[0].m_vecKeys[KEY_LEFT] = 2;
    stop.m_vecKeyConds[0].m_vecKeys[KEY_RIGHT] = 2;
    return {KeyFlow(KEY_RIGHT, true, {Move(2, DIR_RIGHT, 60, 1)}), KeyFlow(KEY_LEFT, true, {Move(2, DIR_LEFT, 60, 1)}),
            stop, KeyFlow(KEY_JUMP, false, {jump}), KeyFlow(KEY_SHOT, false, {shot})};
}

// Back and forth along one axis for ever: `tenths` one way, then as long the other way.
cFlow ToAndFro(int there, int back, int speed, int tenths) {
    cFlow f;
    f.m_vecCmds = {Move(2, there, speed, tenths), Move(2, back, speed, tenths)};
    return f;
}

// Ends the stage as cleared when the hero touches the character: the world map is next.
cFlow GoalFlow() {
    cFlow f;
    f.m_cTrigger = 4;  // touched by a character
    cFlowCmd clear = Command(17, 0);
    clear.m_vecParams = {3, 0, 0, 0, 0, 0, 0, 0, 2};  // "ワールドクリア"
    f.m_vecCmds = {clear};
    return f;
}

// A message shown once, in the middle of the screen, while the game waits for the key; the flow
// then stops for good.
cFlow SignFlow(const char* text) {
    cFlow f;
    cFlowCond near;
    near.m_cKind = 7;  // distance to the hero
    near.m_nValue = 4;
    near.m_byShape = 6;
    f.m_vecConds = {near};
    cFlowCmd message = Command(19, 0);
    message.m_vecParams.assign(18, 0);
    message.m_vecParams[8] = 1;   // the game waits while it is shown
    message.m_vecParams[14] = 1;  // the bitmap font in its framed window
    message.m_strText = text;
    cFlowCmd stop = Command(16, 0);
    stop.m_vecParams = {5, 0, 0};  // "永久停止" of this flow
    f.m_vecCmds = {message, stop};
    return f;
}

// The boss: a fan of five shots at the hero, a pause, again; defeated, it clears the stage.
std::vector<cFlow> BossFlows() {
    cFlow fire;
    cFlowCmd shot = Command(11, 2);
    shot.CreateEdShot();
    cEdShot& e = *shot.m_pShot;
    e.FormationCount() = 5;
    e.Formation() = 2;  // "拡散"
    e.FormationParams()[0] = 20;
    e.AimAtTarget() = 1;
    e.Speed() = 25;
    e.Power() = 1;
    e.Graphic() = 3;
    shot.m_wSound = SOUND_BOSS_SHOT;
    fire.m_vecCmds = {shot, Command(1, 20), Move(2, DIR_UP, 10, 10), Move(2, DIR_DOWN, 10, 10)};
    cFlow defeated = GoalFlow();
    defeated.m_cTrigger = 3;  // on its death
    return {fire, defeated};
}

// ---- stages ----

cBlockRec Block(int x, int y, int graphic, int solid = 1) {
    cBlockRec b;
    b.m_wGraphic = (uint16_t)graphic;
    b.m_byB12 = (uint8_t)solid;
    b.m_strName = solid == 2 ? "トゲ" : "ブロック";
    b.m_sPlaceX = (int16_t)x;
    b.m_sPlaceY = (int16_t)y;
    return b;
}

cCharaRec StageChara(int x, int y, int graphic, int moveMode, const char* name) {
    cCharaRec c;
    c.m_byRole = 1;
    c.m_wGraphic = (uint16_t)graphic;
    c.m_byC27 = (uint8_t)moveMode;
    c.m_byC28 = 0;  // facing left, towards the hero
    c.m_byC5 = 1;   // the side against the hero's: touches between them count
    c.m_sPlaceX = (int16_t)x;
    c.m_sPlaceY = (int16_t)y;
    c.m_nPlaceValue = -1;  // carries nothing
    c.m_nC39 = 1;
    c.m_strName = name;
    return c;
}

// A walking enemy that turns at walls and ledges and hurts by touch.
cCharaRec Walker(int x, int y, int graphic, const char* name) {
    cCharaRec c = StageChara(x, y, graphic, 0, name);
    c.m_nC43 = 1;    // touch power
    c.m_nC48 = 100;  // score when defeated
    cFlow patrol;
    patrol.m_vecCmds = {Move(3, 0, 12, 50)};
    c.m_vecFlows = {patrol};
    return c;
}

// A character that acts as a block and carries whoever stands on it.
cCharaRec Platform(int x, int y, cFlow route) {
    cCharaRec c = StageChara(x, y, 4, 1, "うごくゆか");
    c.m_byC5 = 0;
    c.m_byC6 = 1;
    c.m_byC30 = 2;  // shots pass through
    c.m_vecFlows = {std::move(route)};
    return c;
}

cCharaRec Goal(int x, int y) {
    cCharaRec c = StageChara(x, y, 6, 1, "ゴール");
    c.m_byC30 = 2;
    c.m_vecFlows = {GoalFlow()};
    return c;
}

// An item's instant command that adds `points` to the score ("ステータスの操作" on the
// system's "スコア").
cFlowCmd AddScore(int points) {
    cFlowCmd c = Command(7, 0);
    c.m_byInstant = 1;
    c.m_vecParams.assign(18, 0);
    c.m_vecParams[3] = 2;       // the system
    c.m_vecParams[4] = 3;       // its score
    c.m_vecParams[5] = 1;       // add
    c.m_vecParams[7] = points;  // a constant
    return c;
}

// A coin: taken once, it adds 100 to the score.
cItemRec StageItem(int x, int y, int graphic) {
    cItemRec item;
    item.m_byGraphicKind = 1;
    item.m_wGraphic = (uint16_t)graphic;
    item.m_wSound = SOUND_COIN;
    item.m_sPlaceX = (int16_t)x;
    item.m_sPlaceY = (int16_t)y;
    item.m_strName = "コイン";
    item.m_vecCmds = {AddScore(100)};
    return item;
}

// Width x 15 blocks under a picture sky, with ground on the two lowest rows except in `gaps`
// and the hero on the left.
void BaseStage(cStage& stage, int width, const char* name, const char* sky, int tune,
               std::initializer_list<std::pair<int, int>> gaps) {
    const int height = 15;
    stage.Clear();
    stage.m_nWidth = width;
    stage.m_nHeight = height;
    stage.m_nScrollRight = width - 1;
    stage.m_nScrollBottom = height - 1;
    stage.m_nBgm = tune;
    stage.m_strStage = name;
    cBackgroundRec back;
    back.m_nA = 0;       // a picture, not a plain colour
    back.m_anBC[0] = 1;  // shown
    back.m_strBitmap = sky;
    back.m_adPQ[0] = back.m_adPQ[1] = 0.5;
    stage.m_vecBackgrounds.assign(1, back);
    for (int x = 0; x < width; ++x) {
        bool gap = false;
        for (auto [from, to] : gaps) gap = gap || (x >= from && x <= to);
        if (gap) continue;
        stage.m_vecBlocks.push_back(Block(x, height - 2, 2));
        stage.m_vecBlocks.push_back(Block(x, height - 1, 1));
    }
    cCharaRec hero = MakeHero(2, (int16_t)(height - 4));
    hero.m_nC39 = 3;  // hit points
    hero.m_vecFlows = HeroFlows();
    stage.m_vecCharas.push_back(hero);
}

// Stage 1, the forest: a pit to jump, a lift up to a ledge with coins and a walker, and a wide
// pit that only the moving floor crosses (it starts at the near edge, goes over in 2.7 seconds
// and comes back); the goal at the far end.
void MakeForestStage(cStage& stage) {
    BaseStage(stage, 48, "はじまりの森", "背景その1.bmp", BGM_STAGE1, {{9, 10}, {22, 28}});
    for (int x = 14; x < 19; ++x) stage.m_vecBlocks.push_back(Block(x, 8, 3));
    stage.m_vecCharas.push_back(Walker(17, 7, 2, "あるくもの"));
    stage.m_vecCharas.push_back(Platform(12, 12, ToAndFro(DIR_UP, DIR_DOWN, 10, 18)));
    stage.m_vecCharas.push_back(Platform(22, 13, ToAndFro(DIR_RIGHT, DIR_LEFT, 12, 27)));
    stage.m_vecCharas.push_back(StageChara(34, 5, 3, 1, "とぶもの"));
    for (int i = 0; i < 3; ++i) stage.m_vecItems.push_back(StageItem(15 + i, 7, 1));
    stage.m_vecCharas.push_back(Goal(44, 12));
}

// Stage 2, the cave: a sign that explains, coins over the ground and on ledges, spikes to leap.
void MakeCaveStage(cStage& stage) {
    BaseStage(stage, 40, "ひみつの洞くつ", "背景その2.bmp", BGM_STAGE2, {{20, 21}});
    cCharaRec sign = StageChara(5, 12, 7, 1, "かんばん");
    sign.m_byC30 = 2;
    sign.m_vecFlows = {SignFlow("コインをあつめながら\nおくのゴールをめざそう！\nトゲにさわるとミスになるぞ。")};
    stage.m_vecCharas.push_back(sign);
    for (int x = 8; x < 18; x += 2) stage.m_vecItems.push_back(StageItem(x, 11, 1 + x % 3));
    for (int x = 24; x < 28; ++x) stage.m_vecBlocks.push_back(Block(x, 9, 3));
    for (int x = 24; x < 28; ++x) stage.m_vecItems.push_back(StageItem(x, 8, 2));
    stage.m_vecBlocks.push_back(Block(30, 12, 5, 2));  // spikes
    stage.m_vecBlocks.push_back(Block(31, 12, 5, 2));
    stage.m_vecCharas.push_back(Walker(14, 12, 8, "こうもり"));
    stage.m_vecCharas.push_back(Goal(37, 12));
}

// Stage 3, the castle: the boss hovers at the far end and fires fans of shots at the hero;
// defeating it clears the stage.
void MakeCastleStage(cStage& stage) {
    BaseStage(stage, 30, "まおうの城", "背景その3.bmp", BGM_STAGE3, {});
    for (int x = 8; x < 11; ++x) stage.m_vecBlocks.push_back(Block(x, 10, 3));
    cCharaRec boss = StageChara(25, 9, 9, 1, "まおう");
    boss.m_byC35 = 2;  // twice the size
    boss.m_nC39 = 8;   // hit points
    boss.m_nC43 = 1;
    boss.m_nC48 = 5000;
    boss.m_vecFlows = BossFlows();
    stage.m_vecCharas.push_back(boss);
}

// ---- the world map ----

cWorldMapEntry MapEntry(int x, int y, const char* name, int stage, int after) {
    cWorldMapEntry entry;
    entry.m_nX = x;
    entry.m_nY = y;
    entry.m_strName = name;
    entry.m_vecItems.assign(after ? 2 : 1, cWorldMapItemRec());
    entry.m_vecItems[0].m_nValue1 = 0;          // a stage entry
    entry.m_vecItems[0].m_anValues[0] = stage;  // its cleared flag, also its stage number
    entry.m_vecItems[0].m_anValues[3] = stage - 1;  // its icon
    char path[64];
    std::snprintf(path, sizeof path, "data\\stg4\\c%02d-1.stg4", stage);
    entry.m_vecItems[0].m_strStageFile = path;
    if (after) entry.m_vecItems[1].m_nValue1 = after;  // open once that stage is cleared
    return entry;
}

// A path of passable chips from the start past the three stage entries, grass around it and a
// wall beyond; each entry opens when the one before it is cleared.
void MakeWorldMap(cWorldMap& map) {
    map.SetSize(20, 15);
    map.m_vecChips.assign(3, cWorldMapChip());
    map.m_vecChips[0].m_nChipNo = 0;  // beyond the map's paths: a wall
    map.m_vecChips[0].m_bBlocking = 1;
    map.m_vecChips[1].m_nChipNo = 6;  // grass
    map.m_vecChips[1].m_bBlocking = 1;
    map.m_vecChips[2].m_nChipNo = 12;  // the path
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool path = (y == 7 && x >= 3 && x <= 10) || (x == 10 && y >= 4 && y <= 7) || (y == 4 && x >= 10 && x <= 15);
            map.m_vecCells[((size_t)y << map.m_nShift) + x] = path ? 2 : (x == 0 || y == 0 || x == 19 || y == 14) ? 0 : 1;
        }
    map.m_nStartX = 3;
    map.m_nStartY = 7;
    map.m_nBackColour = 16;
    map.m_vecPointEntries.push_back(MapEntry(6, 7, "はじまりの森", 1, 0));
    map.m_vecPointEntries.push_back(MapEntry(10, 5, "ひみつの洞くつ", 2, 1));
    map.m_vecPointEntries.push_back(MapEntry(15, 4, "まおうの城", 3, 2));
}

}  // namespace

bool WriteSampleGame(cGameFolder& folder, const std::string& systemIni) {
    cSystemData system;
    system.m_strTitle = "サンプルクエスト";
    system.m_nStageCount = 3;  // the challenge's list: the three stages of the map
    // Three lives in the story and the challenge; a miss in the story offers to retry.
    system.m_vecStartLives = {3, 3, 3, 99};
    system.m_vecUnlimitedLives = {0, 0, 0, 1};
    system.m_nWord9 = 1;
    system.m_bReplay = 1;  // plays are recorded; F1 saves the current one
    for (int i = 0; i < kSystemSounds; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "sound\\System%02d.wav", i);
        system.m_vecSystemSounds[i] = name;
    }
    for (size_t i = 0; i < system.m_vecMenuTunes.size(); ++i) system.m_vecMenuTunes[i] = (uint32_t)(i + 1);
    for (uint8_t& loop : system.m_vecMenuTuneLoop) loop = 1;

    cDatabase db;
    CreateDefaultDatabase(db);
    const char* sounds[][2] = {{"ジャンプ", "sound\\Jump.wav"}, {"ショット", "sound\\Shot.wav"},
                               {"コイン", "sound\\Coin.wav"}, {"まおうのたま", "sound\\BossShot.wav"}};
    db.m_vecSound.resize(5);
    for (int i = 0; i < 4; ++i) {
        db.m_vecSound[i + 1].m_strName = sounds[i][0];
        db.m_vecSound[i + 1].m_strFile = sounds[i][1];
    }
    // The option menu's tune has a Japanese name, as games made on Windows often do.
    const char* tunes[][2] = {{"タイトル", "bgm\\Title.ogg"},     {"ワールドマップ", "bgm\\WorldMap.mid"},
                              {"チャレンジ", "bgm\\Challenge.mid"}, {"オプション", "bgm\\オプション.mid"},
                              {"森", "bgm\\Stage.mid"},           {"洞くつ", "bgm\\洞くつ.mid"},
                              {"まおう", "bgm\\Boss.mid"}};
    db.m_vecBgm.resize(8);
    for (int i = 0; i < 7; ++i) {
        db.m_vecBgm[i + 1].m_strName = tunes[i][0];
        db.m_vecBgm[i + 1].m_strFile = tunes[i][1];
    }

    cWorldMap map;
    MakeWorldMap(map);
    bool ok = WriteProjectFiles(folder, db, system, map);

    cCommonPalette palette;
    palette.m_vecBlocks.push_back(MakeSampleBlock(1));
    palette.m_vecCharas.push_back(MakeSampleChara(0, 0, 2, 3));
    palette.m_vecItems.push_back(MakeSampleItem(4));
    ok = WriteCommonPalette(folder, palette) && ok;
    folder.MakeFolder("data\\stg4");
    void (*const makers[3])(cStage&) = {MakeForestStage, MakeCaveStage, MakeCastleStage};
    for (int i = 0; i < 3; ++i) {
        cStage stage;
        makers[i](stage);
        char path[64];
        std::snprintf(path, sizeof path, "data\\stg4\\c%02d-1.stg4_001", i + 1);
        ok = WriteStageFile(folder, path, stage) && ok;
    }

    ok = WriteBitmaps(folder, system) && ok;
    ok = WritePalette(folder) && ok;
    ok = WriteColourTable(folder) && ok;
    folder.MakeFolder("sound");
    for (int i = 0; i < kSystemSounds; ++i)
        ok = WriteTone(folder, system.m_vecSystemSounds[i], 440.0 + 60.0 * i, i % 2 ? 400.0 : -200.0, 0.12) && ok;
    ok = WriteTone(folder, "sound\\Jump.wav", 300.0, 900.0, 0.2) && ok;
    ok = WriteTone(folder, "sound\\Shot.wav", 900.0, -1500.0, 0.1) && ok;
    ok = WriteTone(folder, "sound\\Coin.wav", 1320.0, 600.0, 0.15) && ok;
    ok = WriteTone(folder, "sound\\BossShot.wav", 180.0, -60.0, 0.25) && ok;
    folder.MakeFolder("bgm");
    ok = WriteOggTune(folder, "bgm\\Title.ogg") && ok;
    const int roots[] = {60, 64, 67, 62, 57, 50};
    const int programs[] = {0, 11, 80, 73, 48, 19};
    for (int i = 0; i < 6; ++i) ok = WriteMidiTune(folder, tunes[i + 1][1], roots[i], programs[i]) && ok;
    return folder.WriteFile("System.ini", std::vector<uint8_t>(systemIni.begin(), systemIni.end())) && ok;
}
