// The sample game copied from Windows without converting its file names: every Japanese name
// on disk holds the raw Shift-JIS bytes instead of UTF-8. The player finds them all: the title
// draws the same golden frames, the first stage draws its Japanese-named background exactly as
// the UTF-8 copy does, and the option menu plays its Japanese-named MIDI tune; a copy without
// those two files shows that both runs really used them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host/png.h"
#include "platform/win32/codepage.h"
#include "tools/game/sample_game.h"
#include "tools/golden_image.h"
#include "tools/testsupport/process.h"

namespace {

namespace fs = std::filesystem;

std::string Player() { return std::string(VELMORA_BINARY_DIR) + "/velmora-player"; }

std::vector<std::string> Env(const cGameFolder& folder, const std::string& script) {
    return {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=", "VELMORA_CLOCK=virtual",
            "VELMORA_SCRIPT=" + folder.Root() + "/" + script, "VELMORA_RUNTIME_DIR=" + folder.Root() + "/.runtime"};
}

// Renames every entry under `root` whose name is not ASCII to the Shift-JIS bytes of its name,
// the deepest first; the count renamed.
int RenameToRawShiftJis(const std::string& root) {
    std::vector<fs::path> paths;
    for (const auto& e : fs::recursive_directory_iterator(root)) paths.push_back(e.path());
    std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
        return std::distance(a.begin(), a.end()) > std::distance(b.begin(), b.end());
    });
    int n = 0;
    for (const fs::path& p : paths) {
        std::string name = p.filename().string();
        bool ascii = true;
        for (unsigned char c : name) ascii = ascii && c < 0x80;
        if (ascii) continue;
        fs::rename(p, p.parent_path() / Utf8ToCp932(name));
        ++n;
    }
    return n;
}

struct RunResult {
    int exitCode = -1;
    std::string err, report;
};

RunResult RunGame(cGameFolder& folder, const std::vector<std::string>& args, const std::string& script) {
    folder.WriteFile("run.script", std::vector<uint8_t>(script.begin(), script.end()));
    std::vector<std::string> argv{Player()};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = testsupport::RunProcess(argv, Env(folder, "run.script"), folder.Root(), 60000);
    EXPECT_FALSE(r.timedOut) << r.err;
    return {r.exitCode, r.err, testsupport::ReadFile(folder.Root() + "/Report_Game.txt")};  // Shift-JIS, as the literals
}

std::vector<uint32_t> Png(const std::string& path) {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    EXPECT_TRUE(host::ReadPng(path, &px, &w, &h)) << path;
    for (uint32_t& p : px) p |= 0xFF000000u;
    return px;
}

void ExpectGolden(const std::string& path, const std::string& name) {
    std::vector<uint32_t> px = Png(path);
    ASSERT_EQ(px.size(), 640u * 480u);
    auto r = tools::CompareGolden(VELMORA_SOURCE_DIR, VELMORA_BINARY_DIR, name, px.data(), 640, 480, false);
    EXPECT_TRUE(r.ok) << r.message;
}

// The first stage from the command line, captured once play shows; then to the option menu
// (sixth title entry) and out.
const char* const kStageScript = "at 100 capture stage.png\nat 110 close\ntimeout 60\n";
const char* const kOptionScript =
    "at 120 key tap DOWN\nat 124 key tap DOWN\nat 128 key tap DOWN\nat 132 key tap DOWN\n"
    "at 136 key tap DOWN\nat 142 key tap Z\nat 260 close\ntimeout 60\n";

TEST(RawShiftJisNames, TheSampleCopiedWithRawNamesPlaysAsTheUtf8Copy) {
    const std::string base = std::string(VELMORA_BINARY_DIR) + "/tmp";
    cGameFolder utf8(base, "names_utf8"), raw(base, "names_raw"), missing(base, "names_missing");
    ASSERT_TRUE(WriteSampleGame(utf8));
    ASSERT_TRUE(WriteSampleGame(raw));
    ASSERT_TRUE(WriteSampleGame(missing));
    ASSERT_GE(RenameToRawShiftJis(raw.Root()), 5);  // the backgrounds and the option tune at least
    ASSERT_TRUE(fs::exists(raw.Root() + "/" + "背景その1.bmp"));  // a Shift-JIS literal: raw bytes
    fs::remove(missing.HostPath("背景その1.bmp"));
    fs::remove(missing.HostPath("bgm\\オプション.mid"));

    // The title, as the golden frames of the sample show it.
    RunResult title = RunGame(raw, {}, "at 5 capture fade.png\nat 120 capture menu.png\nat 140 key down ESCAPE\ntimeout 60\n");
    EXPECT_EQ(title.exitCode, 0) << title.err;
    ExpectGolden(raw.Root() + "/fade.png", "sample_title_fade5");
    ExpectGolden(raw.Root() + "/menu.png", "sample_title_menu");

    // The first stage over its background: the same picture from both copies, another one
    // without the background file.
    RunResult su = RunGame(utf8, {"data\\stg4\\c01-1.stg4"}, kStageScript);
    RunResult sr = RunGame(raw, {"data\\stg4\\c01-1.stg4"}, kStageScript);
    RunResult sm = RunGame(missing, {"data\\stg4\\c01-1.stg4"}, kStageScript);
    for (const RunResult* r : {&su, &sr, &sm}) EXPECT_EQ(r->exitCode, 0) << r->err;
    const std::string loadErr = "LoadImage Err 背景その1.bmp";
    EXPECT_EQ(su.report.find("LoadImage Err"), std::string::npos) << su.report;
    EXPECT_EQ(sr.report.find("LoadImage Err"), std::string::npos) << sr.report;
    EXPECT_NE(sm.report.find(loadErr), std::string::npos) << sm.report;
    std::vector<uint32_t> a = Png(utf8.Root() + "/stage.png"), b = Png(raw.Root() + "/stage.png"),
                          c = Png(missing.Root() + "/stage.png");
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);

    // The option menu's MIDI tune: opened from both copies, reported missing from the third.
    const std::string midiErr = "Midi bgm\\オプション.mid Create ファイルが開けません";
    RunResult ou = RunGame(utf8, {}, kOptionScript), orw = RunGame(raw, {}, kOptionScript), om = RunGame(missing, {}, kOptionScript);
    for (const RunResult* r : {&ou, &orw, &om}) EXPECT_EQ(r->exitCode, 0) << r->err;
    EXPECT_EQ(ou.report.find("Midi "), std::string::npos) << ou.report;
    EXPECT_EQ(orw.report.find("Midi "), std::string::npos) << orw.report;
    EXPECT_NE(om.report.find(midiErr), std::string::npos) << om.report;
}

}  // namespace
