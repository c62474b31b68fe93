// Bitmap files: the one BMP decoder of the drawing layer on any bytes. A decoded picture must
// have the size its headers promise and a store that holds every row.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gdi/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gdi::Dib dib;
    std::string error;
    if (!gdi::DecodeBmp(data, size, &dib, &error)) return 0;
    const raster::Surface& s = dib.pixels;
    if (s.width <= 0 || s.height <= 0 || s.bits.size() < (size_t)s.pitch * (size_t)s.height) std::abort();
    // Touch the last pixel of the last row: the store must reach it.
    volatile uint32_t last = s.Get(s.width - 1, s.height - 1);
    (void)last;
    return 0;
}
