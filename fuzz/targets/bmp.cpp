// Bitmap files: the one BMP decoder of the drawing layer on any bytes. A decoded picture must
// have the size its headers promise and a store that holds every row, and decoding straight
// into a texture's pixels must accept the same files and give the same colours.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gdi/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gdi::Dib dib;
    std::string error;
    bool decoded = gdi::DecodeBmp(data, size, &dib, &error);
    // Straight into a surface, for pictures small enough to compare quickly.
    raster::Surface direct;
    bool small = true;
    auto target = [&](const gdi::BmpInfo& info) -> raster::Surface* {
        small = (int64_t)info.width * info.height <= 1 << 20;
        return small && direct.Create(info.width, info.height, raster::PixelFormat::A8R8G8B8) ? &direct : nullptr;
    };
    bool straight = gdi::DecodeBmpInto(data, size, target, 0, nullptr, nullptr);
    if (small && straight != decoded) std::abort();
    if (!decoded) return 0;
    const raster::Surface& s = dib.pixels;
    if (s.width <= 0 || s.height <= 0 || s.bits.size() < (size_t)s.pitch * (size_t)s.height) std::abort();
    // Touch the last pixel of the last row: the store must reach it.
    volatile uint32_t last = s.Get(s.width - 1, s.height - 1);
    (void)last;
    if (straight)
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                if (direct.Get(x, y) != (s.GetArgb(x, y) | 0xFF000000u)) std::abort();
    return 0;
}
