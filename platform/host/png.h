// PNG files of X8R8G8B8 pictures: frame captures and golden images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// Writes the picture (host path); the unused top byte is ignored. False on any failure.
bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height, int pitchBytes);
// Reads a PNG of any colour type into X8R8G8B8 (alpha kept in the top byte). False on failure.
bool ReadPng(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height);

}  // namespace host
