// Golden pictures of text and dialogs (X8R8G8B8, compared exactly without alpha through
// tools/golden_image.h; VELMORA_UPDATE_GOLDEN=1 writes them).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/golden_image.h"

namespace testgolden {

inline void ExpectGolden(const std::string& name, const uint32_t* pixels, int width, int height) {
    tools::GoldenResult g =
        tools::CompareGolden(VELMORA_SOURCE_DIR, VELMORA_BINARY_DIR, name, pixels, width, height, false);
    EXPECT_TRUE(g.ok) << g.message;
}

}  // namespace testgolden
