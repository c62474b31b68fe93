// Writes BMP files for test fixtures and sample games: 1, 4 and 8 bits with a colour table
// (optionally RLE8), 24 and 32 bits; bottom-up or top-down rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct BmpPicture {
    int width = 0;
    int height = 0;
    // Palettised pictures: one index per pixel (row by row from the top) and the colours as
    // 0xRRGGBB. Colour pictures: `rgb` holds 0xRRGGBB per pixel and `indices` stays empty.
    std::vector<uint8_t> indices;
    std::vector<uint32_t> colours;
    std::vector<uint32_t> rgb;
};

struct BmpOptions {
    int bitCount = 24;  // 1, 4, 8, 24 or 32
    bool topDown = false;
    bool rle8 = false;  // 8 bits, bottom-up only
};

// The file image; empty when the picture and options do not fit together.
std::vector<uint8_t> EncodeBmp(const BmpPicture& pic, const BmpOptions& opt);
// Writes the file (host path); false on any failure.
bool WriteBmp(const std::string& hostPath, const BmpPicture& pic, const BmpOptions& opt);

// Small helpers for fixtures.
BmpPicture SolidPicture(int w, int h, uint32_t rgb);
BmpPicture PalettePicture(int w, int h, const std::vector<uint32_t>& colours);

}  // namespace tools
