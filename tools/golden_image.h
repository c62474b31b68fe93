// Golden images for tests: a picture (ARGB words) is compared exactly with tests/golden/NAME.png.
// On a mismatch the actual picture and a difference picture (mismatching pixels red on a dimmed
// copy) are written to OUTDIR/golden-out/ and the result says where. With the environment
// variable VELMORA_UPDATE_GOLDEN=1 the golden file is (re)written from the picture instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct GoldenResult {
    bool ok = false;
    std::string message;
};

// `withAlpha` keeps the alpha channel in the file and in the comparison (for textures).
GoldenResult CompareGolden(const std::string& sourceDir, const std::string& outDir, const std::string& name,
                           const uint32_t* argb, int width, int height, bool withAlpha);

// PNG files with or without alpha (libpng's simplified interface).
bool WritePngArgb(const std::string& path, const uint32_t* argb, int width, int height, bool withAlpha);

}  // namespace tools
