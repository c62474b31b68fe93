#include "tools/golden_image.h"

#include <png.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "platform/host/png.h"

namespace tools {

bool WritePngArgb(const std::string& path, const uint32_t* argb, int width, int height, bool withAlpha) {
    if (!argb || width <= 0 || height <= 0) return false;
    int ch = withAlpha ? 4 : 3;
    std::vector<uint8_t> buf((size_t)width * height * ch);
    for (size_t i = 0; i < (size_t)width * height; ++i) {
        uint32_t p = argb[i];
        buf[i * ch] = (uint8_t)(p >> 16);
        buf[i * ch + 1] = (uint8_t)(p >> 8);
        buf[i * ch + 2] = (uint8_t)p;
        if (withAlpha) buf[i * ch + 3] = (uint8_t)(p >> 24);
    }
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = (png_uint_32)width;
    img.height = (png_uint_32)height;
    img.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    return png_image_write_to_file(&img, path.c_str(), 0, buf.data(), width * ch, nullptr) != 0;
}

GoldenResult CompareGolden(const std::string& sourceDir, const std::string& outDir, const std::string& name,
                           const uint32_t* argb, int width, int height, bool withAlpha) {
    GoldenResult r;
    std::string golden = sourceDir + "/tests/golden/" + name + ".png";
    uint32_t mask = withAlpha ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const char* update = std::getenv("VELMORA_UPDATE_GOLDEN");
    if (update && std::strcmp(update, "1") == 0) {
        r.ok = WritePngArgb(golden, argb, width, height, withAlpha);
        r.message = r.ok ? "golden written: " + golden : "cannot write " + golden;
        return r;
    }
    std::vector<uint32_t> want;
    int gw = 0, gh = 0;
    bool have = host::ReadPng(golden, &want, &gw, &gh);
    size_t bad = 0;
    std::vector<uint32_t> diff((size_t)width * height);
    for (size_t i = 0; i < diff.size(); ++i) {
        uint32_t a = argb[i] & mask;
        bool same = have && gw == width && gh == height && (want[i] & mask) == a;
        if (!same) ++bad;
        uint32_t p = argb[i];
        diff[i] = same ? 0xFF000000u | (((p >> 16) & 0xFF) / 3 << 16) | (((p >> 8) & 0xFF) / 3 << 8) | ((p & 0xFF) / 3)
                       : 0xFFFF0000u;
    }
    if (have && gw == width && gh == height && bad == 0) {
        r.ok = true;
        return r;
    }
    std::string dir = outDir + "/golden-out";
    mkdir(dir.c_str(), 0755);
    std::string actual = dir + "/" + name + ".actual.png", diffPath = dir + "/" + name + ".diff.png";
    WritePngArgb(actual, argb, width, height, withAlpha);
    WritePngArgb(diffPath, diff.data(), width, height, false);
    if (!have)
        r.message = "no golden image " + golden;
    else if (gw != width || gh != height)
        r.message = "golden " + golden + " is " + std::to_string(gw) + "x" + std::to_string(gh) + ", picture is " +
                    std::to_string(width) + "x" + std::to_string(height);
    else
        r.message = std::to_string(bad) + " pixels differ from " + golden;
    r.message += "; actual picture: " + actual + ", difference: " + diffPath;
    return r;
}

}  // namespace tools
