// The one BMP decoder of the layer (LoadImageA and the texture loader): 1, 4, 8, 16, 24 and
// 32 bits, bottom-up and top-down rows, RLE8, Windows and OS/2 headers. Every read is bounded by
// the file's size; sizes are checked before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/raster/surface.h"

namespace gdi {

struct Dib {
    int bitCount = 0;        // bits per pixel as stored in the file
    int colourCount = 0;     // entries of the colour table (up to 256, palettised files only)
    raster::Surface pixels;  // P8 with the colour table as palette, or X8R8G8B8 (top byte 0)
};

// Decodes a whole file image; false with a reason for anything malformed or unsupported.
bool DecodeBmp(const uint8_t* data, size_t size, Dib* out, std::string* error);
// The size and depth in a file's headers (nothing else is read); false when they are not those
// of a bitmap the decoder takes.
bool ReadBmpInfo(const char* path, int* width, int* height, int* bitCount);
// Reads a file by its program (Windows) path and decodes it.
bool LoadBmpFile(const char* path, Dib* out, std::string* error);

}  // namespace gdi
