#include "tools/wave_writer.h"

#include <cmath>
#include <cstdio>

namespace tools {
namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutId(std::vector<uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back((uint8_t)id[i]);
}

}  // namespace

std::vector<int16_t> MakeSine(double hz, int rate, int channels, double seconds, double amplitude) {
    size_t frames = (size_t)std::llround(seconds * rate);
    std::vector<int16_t> s(frames * (size_t)channels);
    for (size_t i = 0; i < frames; ++i) {
        double v = std::sin(2.0 * M_PI * hz * (double)i / rate) * amplitude * 32767.0;
        for (int c = 0; c < channels; ++c) s[i * (size_t)channels + (size_t)c] = (int16_t)std::lround(v);
    }
    return s;
}

std::vector<uint8_t> WaveFileBytes(int rate, int bits, int channels, const std::vector<int16_t>& samples) {
    uint32_t align = (uint32_t)(channels * bits / 8);
    uint32_t dataSize = (uint32_t)samples.size() * (uint32_t)(bits / 8);
    std::vector<uint8_t> b;
    PutId(b, "RIFF");
    Put32(b, 4 + 8 + 16 + 8 + dataSize + (dataSize & 1));
    PutId(b, "WAVE");
    PutId(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, (uint32_t)channels);
    Put32(b, (uint32_t)rate);
    Put32(b, (uint32_t)rate * align);
    Put16(b, align);
    Put16(b, (uint32_t)bits);
    PutId(b, "data");
    Put32(b, dataSize);
    for (int16_t v : samples) {
        if (bits == 8) b.push_back((uint8_t)(((int)v >> 8) + 128));
        else Put16(b, (uint16_t)v);
    }
    if (dataSize & 1) b.push_back(0);
    return b;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    // An empty image writes nothing (its data pointer may be null, which fwrite must not get).
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    return std::fclose(fp) == 0 && ok;
}

bool WriteWaveFile(const std::string& path, int rate, int bits, int channels, const std::vector<int16_t>& samples) {
    return WriteBytes(path, WaveFileBytes(rate, bits, channels, samples));
}

}  // namespace tools
