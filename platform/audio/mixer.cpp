// The mixer: voices, the SDL device or the silent sink, and manual rendering.
#include "platform/audio/mixer.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/win32/timer.h"

namespace audio {
namespace {

constexpr int kChunk = 1024;

std::mutex g_lock;
std::vector<Voice*> g_voices;
std::vector<std::function<void()>> g_deferred;
std::atomic<uint64_t> g_rendered{0};

// Output state, guarded by g_outM (never held while rendering).
std::mutex g_outM;
int g_users = 0;
bool g_manual = false;
const char* g_kind = "";
SDL_AudioDeviceID g_device = 0;
bool g_sdlAudio = false;
std::thread g_sink;
std::atomic<bool> g_sinkStop{false};

void RunDeferred(std::vector<std::function<void()>>& work) {
    for (auto& fn : work) fn();
    work.clear();
}

// Mixes one chunk under the lock; deferred work is handed back to run after the lock. Without
// `out` (the silent sink) the voices advance and the samples are not converted.
void MixChunk(int16_t* out, int frames, std::vector<std::function<void()>>& work) {
    float acc[kChunk * 2];
    std::memset(acc, 0, sizeof(float) * (size_t)frames * 2);
    {
        std::lock_guard<std::mutex> lock(g_lock);
        for (size_t i = 0; i < g_voices.size(); ++i) g_voices[i]->Mix(acc, frames);
        work.swap(g_deferred);
    }
    for (int i = 0; out && i < frames * 2; ++i) {
        float v = acc[i];
        int s = std::isfinite(v) ? (int)std::lrintf(std::clamp(v, -32768.0f, 32767.0f)) : 0;
        out[i] = (int16_t)s;
    }
    g_rendered += (uint64_t)frames;
}

void RenderFrames(int16_t* out, int frames) {
    std::vector<std::function<void()>> work;
    while (frames > 0) {
        int n = std::min(frames, kChunk);
        MixChunk(out, n, work);
        RunDeferred(work);
        out += n * 2;
        frames -= n;
    }
}

void SdlCallback(void*, Uint8* stream, int len) {
    RenderFrames(reinterpret_cast<int16_t*>(stream), len / 4);
}

// The silent sink: renders as many frames as the clock says have passed, then discards them.
void SinkLoop() {
    DWORD start = timeGetTime();
    uint64_t done = 0;
    while (!g_sinkStop.load()) {
        uint64_t due = (uint64_t)(DWORD)(timeGetTime() - start) * kMixRate / 1000;
        // After a long stall (a suspended machine) the sink skips ahead instead of racing.
        if (due > done + (uint64_t)kMixRate * 2) done = due - (uint64_t)kMixRate * 2;
        while (done < due && !g_sinkStop.load()) {
            int n = (int)std::min<uint64_t>(due - done, kChunk);
            std::vector<std::function<void()>> work;
            MixChunk(nullptr, n, work);
            RunDeferred(work);
            done += (uint64_t)n;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool OpenDevice() {
    if (!g_sdlAudio) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        g_sdlAudio = true;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || std::strcmp(driver, "dummy") == 0) return false;
    SDL_AudioSpec want{}, have{};
    want.freq = kMixRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = SdlCallback;
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (g_device == 0) return false;
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

void StartOutput() {
    if (g_manual) {
        g_kind = "manual";
        return;
    }
    if (OpenDevice()) {
        g_kind = "device";
        return;
    }
    g_sinkStop = false;
    g_sink = std::thread(SinkLoop);
    g_kind = "sink";
}

void StopOutput() {
    if (g_device) {
        SDL_CloseAudioDevice(g_device);
        g_device = 0;
    }
    if (g_sdlAudio) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_sdlAudio = false;
    }
    if (g_sink.joinable()) {
        g_sinkStop = true;
        g_sink.join();
    }
    g_kind = "";
}

}  // namespace

std::mutex& MixerLock() { return g_lock; }

void AddVoice(Voice* v) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (std::find(g_voices.begin(), g_voices.end(), v) == g_voices.end()) g_voices.push_back(v);
}

void RemoveVoice(Voice* v) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_voices.erase(std::remove(g_voices.begin(), g_voices.end(), v), g_voices.end());
}

void AddUser() {
    std::lock_guard<std::mutex> lock(g_outM);
    if (g_users++ == 0) StartOutput();
}

void RemoveUser() {
    std::lock_guard<std::mutex> lock(g_outM);
    if (g_users <= 0) return;
    if (--g_users == 0) StopOutput();
}

void SetManualMode(bool manual) {
    std::lock_guard<std::mutex> lock(g_outM);
    g_manual = manual;
    if (g_users > 0) {
        StopOutput();
        StartOutput();
    }
}

bool IsManualMode() {
    std::lock_guard<std::mutex> lock(g_outM);
    return g_manual;
}

void Render(int16_t* out, int frames) {
    if (!out || frames <= 0) return;
    RenderFrames(out, frames);
}

uint64_t RenderedFrames() { return g_rendered.load(); }

const char* OutputKind() {
    std::lock_guard<std::mutex> lock(g_outM);
    return g_kind;
}

void Defer(std::function<void()> fn) { g_deferred.push_back(std::move(fn)); }

float GainFromVolume(long volume) {
    if (volume <= -10000) return 0.0f;
    if (volume >= 0) return 1.0f;
    return (float)std::pow(10.0, (double)volume / 2000.0);
}

}  // namespace audio
