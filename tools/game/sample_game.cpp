#include "tools/game/sample_game.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <cstring>
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
    InitSurfaceFileTable();
    for (int s = 0; s < kSurfaceSlotCount; ++s) {
        std::string path = g_SurfaceFiles[s].szPath;
        if (path.empty() || path == "E" || folder.Exists(path)) continue;
        std::string name = path.substr(path.rfind('\\') + 1);
        tools::BmpPicture pic;
        if (name == "Block.bmp") pic = Blocks();
        else if (name.rfind("Character", 0) == 0) pic = Sheet(16, 8, 32, 0xC04040);
        else if (name == "Shot.bmp") pic = Sheet(16, 8, 16, 0xF0F040);
        else if (name == "Item.bmp" || name == "Mark.bmp") pic = Sheet(16, 4, 32, 0x40C0F0);
        else if (name == "Item_Mini.bmp") pic = Sheet(16, 4, 16, 0x40C0F0);
        else if (name == "StatusWindow.bmp") pic = tools::SolidPicture(640, 32, 0x203048);
        else if (name == "Symbol.bmp" || name == "Word.bmp") pic = Sheet(16, 16, 16, 0xE0E0E0);
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

}  // namespace

bool WriteSampleGame(cGameFolder& folder, const std::string& systemIni) {
    cSystemData system;
    system.m_strTitle = "サンプルクエスト";
    system.m_nStageCount = 1;
    for (int i = 0; i < kSystemSounds; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "sound\\System%02d.wav", i);
        system.m_vecSystemSounds[i] = name;
    }
    for (size_t i = 0; i < system.m_vecMenuTunes.size(); ++i) system.m_vecMenuTunes[i] = (uint32_t)(i + 1);
    for (uint8_t& loop : system.m_vecMenuTuneLoop) loop = 1;

    cDatabase db;
    CreateDefaultDatabase(db);
    db.m_vecSound.resize(2);
    db.m_vecSound[1].m_strName = "ジャンプ";
    db.m_vecSound[1].m_strFile = "sound\\Jump.wav";
    // The option menu's tune has a Japanese name, as games made on Windows often do.
    const char* tunes[] = {"bgm\\Title.ogg", "bgm\\WorldMap.mid", "bgm\\Challenge.mid", "bgm\\オプション.mid",
                           "bgm\\Stage.mid"};
    db.m_vecBgm.resize(6);
    for (int i = 0; i < 5; ++i) db.m_vecBgm[i + 1].m_strFile = tunes[i];
    db.m_vecBgm[1].m_strName = "タイトル";

    cWorldMap map;
    bool ok = WriteProjectFiles(folder, db, system, map);

    cCommonPalette palette;
    palette.m_vecBlocks.push_back(MakeSampleBlock(1));
    palette.m_vecCharas.push_back(MakeSampleChara(0, 0, 2, 3));
    palette.m_vecItems.push_back(MakeSampleItem(4));
    ok = WriteCommonPalette(folder, palette) && ok;
    cStage stage;
    MakeSampleStage(stage, 40, 15, 6, 2);
    // The first stage is drawn over a picture background with a Japanese file name.
    cBackgroundRec back;
    back.m_nA = 0;         // a picture, not a plain colour
    back.m_anBC[0] = 1;    // shown
    back.m_strBitmap = "背景その1.bmp";
    stage.m_vecBackgrounds.assign(1, back);
    folder.MakeFolder("data\\stg4");
    ok = WriteStageFile(folder, "data\\stg4\\c01-1.stg4_001", stage) && ok;

    ok = WriteBitmaps(folder, system) && ok;
    folder.MakeFolder("sound");
    for (int i = 0; i < kSystemSounds; ++i)
        ok = WriteTone(folder, system.m_vecSystemSounds[i], 440.0 + 60.0 * i, i % 2 ? 400.0 : -200.0, 0.12) && ok;
    ok = WriteTone(folder, "sound\\Jump.wav", 300.0, 900.0, 0.2) && ok;
    folder.MakeFolder("bgm");
    ok = WriteOggTune(folder, "bgm\\Title.ogg") && ok;
    const int roots[] = {60, 64, 67, 62};
    const int programs[] = {0, 11, 80, 73};
    for (int i = 0; i < 4; ++i) ok = WriteMidiTune(folder, tunes[i + 1], roots[i], programs[i]) && ok;
    return folder.WriteFile("System.ini", std::vector<uint8_t>(systemIni.begin(), systemIni.end())) && ok;
}
