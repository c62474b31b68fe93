// The synthesizer behind MIDI streams: General MIDI through FluidSynth with the TimGM6mb
// soundfont. The FluidSynth library is loaded on the first request, so start-up does not pay
// for it. Tests can put a recording synthesizer in its place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace audio {

constexpr const char* kSoundFontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// The FluidSynth library opened on the first request.
constexpr const char* kSynthLibrary = "libfluidsynth.so.3";

class MidiSynth {
public:
    virtual ~MidiSynth() = default;
    // A channel message: status | data1 << 8 | data2 << 16 (status 0x80..0xEF).
    virtual void ShortMessage(uint32_t msg) = 0;
    // A system exclusive message, F0 ... F7 included.
    virtual void SysEx(const uint8_t* data, int len) = 0;
    // Silences every channel (all sound off, controllers reset).
    virtual void Silence() = 0;
    // Adds `frames` stereo frames at 44.1 kHz to `acc` (16-bit full scale = 32768.0).
    virtual void Render(float* acc, int frames) = 0;
};

// The synthesizer a new stream gets: FluidSynth (kept between streams, since loading the
// soundfont takes a while), or what the test factory makes. Null when it cannot be made: the
// library or one of its entries is missing, the soundfont does not load, or the synthesizer
// is lent to another stream. A failed load is not retried.
std::unique_ptr<MidiSynth> MakeMidiSynth();
// Test hook: replaces the FluidSynth synthesizer by the factory's (empty restores it).
void SetMidiSynthFactory(std::function<std::unique_ptr<MidiSynth>()> factory);
// Test hook: the library to load instead of kSynthLibrary (null restores it). Drops an idle
// synthesizer and a remembered failure, so the next request loads afresh.
void SetMidiSynthLibrary(const char* soname);

}  // namespace audio
