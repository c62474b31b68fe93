// WAVE test files: PCM, 8-bit unsigned or 16-bit signed, mono or stereo, any rate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Interleaved 16-bit samples of a sine: `seconds` long, the same tone on every channel.
std::vector<int16_t> MakeSine(double hz, int rate, int channels, double seconds, double amplitude = 0.5);

// The bytes of a RIFF WAVE file of these samples (16-bit values; 8-bit files keep the high byte).
std::vector<uint8_t> WaveFileBytes(int rate, int bits, int channels, const std::vector<int16_t>& samples);

// Writes the file (host path); false when it cannot be written.
bool WriteWaveFile(const std::string& path, int rate, int bits, int channels, const std::vector<int16_t>& samples);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace tools
