// The one BMP decoder of the layer (LoadImageA and the texture loader): 1, 4, 8, 16, 24 and
// 32 bits, bottom-up and top-down rows, RLE8, Windows and OS/2 headers. Every read is bounded by
// the file's size; sizes are checked before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/raster/surface.h"

namespace gdi {

struct Dib {
    int bitCount = 0;        // bits per pixel as stored in the file
    int colourCount = 0;     // entries of the colour table (up to 256, palettised files only)
    raster::Surface pixels;  // P8 with the colour table as palette, or X8R8G8B8 (top byte 0)
};

// What the headers of a bitmap say.
struct BmpInfo {
    int width = 0, height = 0;
    int bitCount = 0;     // bits per pixel as stored in the file
    int colourCount = 0;  // entries of the colour table (palettised files only)
    // The colour table as ARGB with alpha 255; entries past the file's table (and every entry of
    // a file without one) are opaque black.
    uint32_t colours[256] = {};
};

// Gives the surface a picture is decoded into once its headers are read (a texture's pixels);
// nullptr refuses the picture.
using BmpTargetFn = std::function<raster::Surface*(const BmpInfo&)>;

// Decodes a whole file image; false with a reason for anything malformed or unsupported.
bool DecodeBmp(const uint8_t* data, size_t size, Dib* out, std::string* error);
// Decodes a whole file image straight into the surface `target` gives, with no picture in
// between: the picture goes to the surface's top-left, clipped to it, each pixel as its colour
// with alpha 255 in the surface's format, except the colour `key` (ARGB, alpha 255; 0 is no key),
// which becomes 0. The headers and the rows' place in the file are checked before `target` is
// asked; a run-length file that breaks off fails after (the surface is then partly written).
// `info` gets the headers whenever they are sound.
bool DecodeBmpInto(const uint8_t* data, size_t size, const BmpTargetFn& target, uint32_t key, BmpInfo* info,
                   std::string* error);
// The size and depth in a file's headers (nothing else is read); false when they are not those
// of a bitmap the decoder takes.
bool ReadBmpInfo(const char* path, int* width, int* height, int* bitCount);
// Reads a file by its program (Windows) path and decodes it.
bool LoadBmpFile(const char* path, Dib* out, std::string* error);
// DecodeBmpInto on a file by its program path. Uncompressed rows are read in blocks of a few
// kilobytes as they are converted, so the file is never held whole; a file that turns out shorter
// than its headers promised while it is read fails.
bool LoadBmpFileInto(const char* path, const BmpTargetFn& target, uint32_t key, BmpInfo* info, std::string* error);

}  // namespace gdi
