// Ogg Vorbis test files, encoded with libvorbisenc.
#pragma once

#include <string>
#include <vector>

namespace tools {

// Encodes interleaved float samples (-1..1) at a quality of 0..1; false when it fails.
bool WriteOggVorbis(const std::string& path, int rate, int channels, const std::vector<float>& samples,
                    float quality = 0.4f);

}  // namespace tools
