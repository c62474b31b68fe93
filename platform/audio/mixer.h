// One mixer for every sound of the process: 44.1 kHz, stereo, 16-bit. It runs on the SDL audio
// device; with no device, or SDL's dummy driver, a silent sink renders and discards the mix in
// step with timeGetTime, so sounds and music still progress and end as they would. Tests can
// instead render the mix themselves (manual mode).
//
// Every sound object is a Voice. Voices are added, changed and mixed under the one mixer lock,
// so the window thread, the game thread and the feeder threads can all use sounds at once.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

namespace audio {

constexpr int kMixRate = 44100;

class Voice {
public:
    virtual ~Voice() = default;
    // Adds `frames` stereo frames to `acc` (interleaved, 16-bit full scale = 32768.0).
    // Called under the mixer lock.
    virtual void Mix(float* acc, int frames) = 0;
};

// The mixer lock: held by every change of a voice's state and by every render.
std::mutex& MixerLock();

// Adds or removes a voice (takes the lock). A voice is mixed between the two calls.
void AddVoice(Voice* v);
void RemoveVoice(Voice* v);

// Starts the output when the first user comes and stops it when the last one leaves. The
// output is the SDL device, the silent sink, or nothing in manual mode.
void AddUser();
void RemoveUser();

// Manual mode for tests: no device and no sink; the mix advances only through Render.
// Set before the first user comes (or while there is none).
void SetManualMode(bool manual);
bool IsManualMode();
// Renders `frames` frames of the mix into `out` (interleaved stereo, clipped to 16 bits).
// Meant for manual mode; any mode may call it (the frames are then mixed twice).
void Render(int16_t* out, int frames);
// Frames mixed so far by every output together.
uint64_t RenderedFrames();
// What the output is: "device", "sink" or "manual" ("" while nobody uses the mixer).
const char* OutputKind();

// Work that must run after the lock is released (posting a thread message from a render):
// queued under the lock, run by the rendering thread right after it releases the lock.
void Defer(std::function<void()> fn);

// Gain of a volume in hundredths of a decibel: 10^(v/2000); -10000 and below is silence.
float GainFromVolume(long volume);

}  // namespace audio
