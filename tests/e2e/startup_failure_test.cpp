// Start-up failures end the program cleanly with the kit's own message naming what failed.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/codepage.h"
#include "tools/game/minimal_game.h"
#include "tools/testsupport/process.h"

namespace {

std::string Player() { return std::string(VELMORA_BINARY_DIR) + "/velmora-player"; }

struct Case {
    const char* name;
    const char* remove;       // the file taken away (host path inside the game folder)
    const char8_t* message;   // what the box says (UTF-8)
    bool reported;            // also in the report file
};

TEST(StartupFailure, EachEndsWithItsMessageAndExitCodeZero) {
    const Case cases[] = {
        {"database", "data/database/Effect.dat", u8"データベースの読み込みに失敗…", true},
        {"system", "data/System.dat", u8"data\\System.dat の読み込みに失敗…", true},
        {"worldmap", "data/WorldMap.dat", u8"data\\WorldMap.dat のロードに失敗！", true},
        {"palette", "data/CommonPalette.cplt4", u8"data\\CommonPalette.cplt4 のロードに失敗！", true},
        {"debugbitmap", "bmp/Debug.bmp", u8"bmp\\Debug.bmp の読み込みに失敗！", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", std::string("fail_") + c.name);
        ASSERT_TRUE(WriteMinimalGame(folder));
        ASSERT_EQ(std::remove((folder.Root() + "/" + c.remove).c_str()), 0);
        std::string script = folder.Root() + "/run.script";
        folder.WriteFile("run.script", {});
        FILE* f = std::fopen(script.c_str(), "w");
        std::fputs("msgbox ok\ntimeout 60\n", f);
        std::fclose(f);
        auto r = testsupport::RunProcess({Player()},
                                         {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=",
                                          "VELMORA_CLOCK=virtual", "VELMORA_SCRIPT=" + script,
                                          "VELMORA_RUNTIME_DIR=" + folder.Root() + "/.runtime"},
                                         folder.Root(), 60000);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.err.find(std::string("msgbox \"") + (const char*)u8"エラー" + "\": " + (const char*)c.message), std::string::npos) << r.err;
        std::string report = testsupport::ReadFile(folder.Root() + "/Report_Game.txt");
        EXPECT_EQ(report.find("Exit Err"), std::string::npos);
        bool inReport = report.find(Utf8ToCp932((const char*)c.message)) != std::string::npos;
        EXPECT_EQ(inReport, c.reported);
        EXPECT_FALSE(folder.Exists("user_data\\Window.dat"));  // nothing is saved after a failed start
    }
}

TEST(StartupFailure, AMissingDataFolderIsCopiedFromDefaultAfterAYes) {
    cGameFolder folder(std::string(VELMORA_BINARY_DIR) + "/tmp", "default_copy");
    ASSERT_TRUE(WriteMinimalGame(folder));
    ASSERT_EQ(std::system(("mv '" + folder.Root() + "/data' '" + folder.Root() + "/default'").c_str()), 0);
    std::string script = folder.Root() + "/run.script";
    FILE* f = std::fopen(script.c_str(), "w");
    std::fputs("msgbox yes\nat 5 close\ntimeout 60\n", f);
    std::fclose(f);
    auto r = testsupport::RunProcess({Player()},
                                     {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "DISPLAY=",
                                      "VELMORA_CLOCK=virtual", "VELMORA_SCRIPT=" + script,
                                      "VELMORA_RUNTIME_DIR=" + folder.Root() + "/.runtime"},
                                     folder.Root(), 60000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("msgbox"), std::string::npos) << r.err;  // the question
    EXPECT_TRUE(folder.Exists("data\\System.dat"));
    EXPECT_TRUE(folder.Exists("default\\System.dat"));
    EXPECT_NE(r.err.find("frame 5: close"), std::string::npos) << r.err;  // and the game ran
}

}  // namespace
