// PNG writing and reading through libpng's simplified interface.
#include "platform/host/png.h"

#include <png.h>

#include <cstring>

namespace host {

bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height, int pitchBytes) {
    if (!pixels || width <= 0 || height <= 0) return false;
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = (const uint32_t*)((const char*)pixels + (size_t)y * pitchBytes);
        uint8_t* out = &rgb[(size_t)y * width * 3];
        for (int x = 0; x < width; ++x) {
            uint32_t p = row[x];
            out[x * 3 + 0] = (uint8_t)(p >> 16);
            out[x * 3 + 1] = (uint8_t)(p >> 8);
            out[x * 3 + 2] = (uint8_t)p;
        }
    }
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = (png_uint_32)width;
    img.height = (png_uint_32)height;
    img.format = PNG_FORMAT_RGB;
    std::string tmp = path + ".tmp";
    if (!png_image_write_to_file(&img, tmp.c_str(), 0, rgb.data(), width * 3, nullptr)) return false;
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool ReadPng(const std::string& path, std::vector<uint32_t>* pixels, int* width, int* height) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return false;
    img.format = PNG_FORMAT_BGRA;  // little-endian bytes B,G,R,A form A8R8G8B8 words
    if (img.width == 0 || img.height == 0 || img.width > 16384 || img.height > 16384) {
        png_image_free(&img);
        return false;
    }
    pixels->assign((size_t)img.width * img.height, 0);
    if (!png_image_finish_read(&img, nullptr, pixels->data(), (png_int_32)(img.width * 4), nullptr)) {
        png_image_free(&img);
        return false;
    }
    *width = (int)img.width;
    *height = (int)img.height;
    return true;
}

}  // namespace host
