// velmora-make-sample FOLDER: writes the bundled sample game into FOLDER (replacing it).
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/game/sample_game.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-make-sample FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    fs::path target = fs::absolute(argv[1]);
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    cGameFolder folder(target.parent_path().string(), ".sample-build");
    if (!WriteSampleGame(folder)) {
        std::fprintf(stderr, "velmora-make-sample: a file of the sample could not be written\n");
        return 1;
    }
    fs::remove_all(target, ec);
    fs::rename(folder.Root(), target, ec);
    if (ec) {
        std::fprintf(stderr, "velmora-make-sample: %s\n", ec.message().c_str());
        return 1;
    }
    std::printf("sample game written to %s\n", target.string().c_str());
    return 0;
}
