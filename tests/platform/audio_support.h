// Helpers of the sound-layer tests: buffers made from samples, rendering, zero crossings.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/audio/dsound.h"
#include "platform/audio/mixer.h"

namespace audiotest {

inline LPDIRECTSOUNDBUFFER MakeBuffer(LPDIRECTSOUND ds, int rate, int bits, int channels,
                                      const std::vector<uint8_t>& bytes) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = (WORD)channels;
    f.nSamplesPerSec = (DWORD)rate;
    f.wBitsPerSample = (WORD)bits;
    f.nBlockAlign = (WORD)(channels * bits / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    DSBUFFERDESC d{};
    d.dwSize = sizeof(d);
    d.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME;
    d.dwBufferBytes = (DWORD)bytes.size();
    d.lpwfxFormat = &f;
    LPDIRECTSOUNDBUFFER b = nullptr;
    if (ds->CreateSoundBuffer(&d, &b, nullptr) != DS_OK) return nullptr;
    void *p1, *p2;
    DWORD n1, n2;
    if (b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER) == DS_OK) {
        std::memcpy(p1, bytes.data(), n1);
        b->Unlock(p1, n1, p2, n2);
    }
    return b;
}

// 16-bit samples as the bytes of a buffer.
inline std::vector<uint8_t> Bytes16(const std::vector<int16_t>& s) {
    std::vector<uint8_t> b(s.size() * 2);
    std::memcpy(b.data(), s.data(), b.size());
    return b;
}

inline std::vector<int16_t> RenderMix(int frames) {
    std::vector<int16_t> out((size_t)frames * 2);
    audio::Render(out.data(), frames);
    return out;
}

// Sign changes of one channel (0 left, 1 right) of interleaved stereo.
inline int ZeroCrossings(const std::vector<int16_t>& lr, int channel) {
    int count = 0, last = 0;
    for (size_t i = (size_t)channel; i < lr.size(); i += 2) {
        int s = lr[i] > 0 ? 1 : lr[i] < 0 ? -1 : 0;
        if (s != 0) {
            if (last != 0 && s != last) ++count;
            last = s;
        }
    }
    return count;
}

}  // namespace audiotest
