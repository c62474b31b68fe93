// Golden images of text and dialogs: an exact comparison of X8R8G8B8 pixels (the top byte is
// ignored) with tests/golden/<name>.png. On a mismatch the actual picture and a diff (changed
// pixels red on grey) are written to <build>/golden-out/ and the test fails. With
// VELMORA_UPDATE_GOLDEN=1 the golden is (re)written instead; look at it before committing it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/host/png.h"

namespace testgolden {

inline ::testing::AssertionResult MatchesGolden(const std::string& name, const uint32_t* pixels, int width,
                                                int height, int pitch = 0) {
    if (pitch == 0) pitch = width * 4;
    std::string golden = std::string(VELMORA_SOURCE_DIR) + "/tests/golden/" + name + ".png";
    const char* update = std::getenv("VELMORA_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        if (!host::WritePng(golden, pixels, width, height, pitch))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess() << "golden written: " << golden;
    }
    std::vector<uint32_t> want;
    int gw = 0, gh = 0;
    bool have = host::ReadPng(golden, &want, &gw, &gh);
    std::string outDir = std::string(VELMORA_BINARY_DIR) + "/golden-out";
    mkdir(outDir.c_str(), 0755);
    std::string actual = outDir + "/" + name + ".actual.png";
    host::WritePng(actual, pixels, width, height, pitch);
    if (!have) return ::testing::AssertionFailure() << "no golden " << golden << " (actual in " << actual << ")";
    if (gw != width || gh != height)
        return ::testing::AssertionFailure() << name << ": size " << width << "x" << height << ", golden " << gw
                                             << "x" << gh << " (actual in " << actual << ")";
    std::vector<uint32_t> diff((size_t)width * height);
    int bad = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = (const uint32_t*)((const char*)pixels + (size_t)y * pitch);
        for (int x = 0; x < width; ++x) {
            uint32_t a = row[x] & 0xFFFFFF, b = want[(size_t)y * width + x] & 0xFFFFFF;
            if (a != b) ++bad;
            diff[(size_t)y * width + x] = a != b ? 0xFF0000 : 0x808080;
        }
    }
    if (bad == 0) return ::testing::AssertionSuccess();
    std::string diffPath = outDir + "/" + name + ".diff.png";
    host::WritePng(diffPath, diff.data(), width, height, width * 4);
    return ::testing::AssertionFailure() << name << ": " << bad << " pixels differ (actual " << actual << ", diff "
                                         << diffPath << ")";
}

}  // namespace testgolden
