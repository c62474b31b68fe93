// FluidSynth as the General MIDI synthesizer of the MIDI streams. The library is loaded when
// the first stream asks for a synthesizer, not at start-up: it brings a long chain of shared
// libraries that a game without MIDI music never needs. When it cannot be loaded, that first
// request fails (the stream open reports it) and every later one fails the same way.
#include "platform/audio/midi_synth.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"

namespace audio {
namespace {

// The library entries the synthesizer uses, looked up once.
struct FluidApi {
    decltype(&fluid_set_log_function) set_log_function;
    decltype(&new_fluid_settings) new_settings;
    decltype(&delete_fluid_settings) delete_settings;
    decltype(&fluid_settings_setnum) settings_setnum;
    decltype(&fluid_settings_setint) settings_setint;
    decltype(&new_fluid_synth) new_synth;
    decltype(&delete_fluid_synth) delete_synth;
    decltype(&fluid_synth_sfload) sfload;
    decltype(&fluid_synth_system_reset) system_reset;
    decltype(&fluid_synth_noteoff) noteoff;
    decltype(&fluid_synth_noteon) noteon;
    decltype(&fluid_synth_key_pressure) key_pressure;
    decltype(&fluid_synth_cc) cc;
    decltype(&fluid_synth_program_change) program_change;
    decltype(&fluid_synth_channel_pressure) channel_pressure;
    decltype(&fluid_synth_pitch_bend) pitch_bend;
    decltype(&fluid_synth_sysex) sysex;
    decltype(&fluid_synth_all_sounds_off) all_sounds_off;
    decltype(&fluid_synth_write_float) write_float;
};

// One FluidSynth instance with the soundfont loaded, kept for the process and lent to one
// stream at a time.
struct FluidCore {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    bool lent = false;
};

std::mutex g_m;
std::string g_library = kSynthLibrary;
FluidApi g_api{};
bool g_loaded = false;
FluidCore g_core;
bool g_failed = false;
std::function<std::unique_ptr<MidiSynth>()> g_factory;

void QuietLog(int, const char*, void*) {}

template <class F> bool Find(void* lib, const char* name, F& fn) {
    fn = reinterpret_cast<F>(dlsym(lib, name));
    return fn != nullptr;
}

// Opens the library and finds every entry; false (the library closed again) when any is missing.
bool LoadApi() {
    if (g_loaded) return true;
    void* lib = dlopen(g_library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    FluidApi a{};
    bool ok = Find(lib, "fluid_set_log_function", a.set_log_function) && Find(lib, "new_fluid_settings", a.new_settings) &&
              Find(lib, "delete_fluid_settings", a.delete_settings) &&
              Find(lib, "fluid_settings_setnum", a.settings_setnum) &&
              Find(lib, "fluid_settings_setint", a.settings_setint) && Find(lib, "new_fluid_synth", a.new_synth) &&
              Find(lib, "delete_fluid_synth", a.delete_synth) && Find(lib, "fluid_synth_sfload", a.sfload) &&
              Find(lib, "fluid_synth_system_reset", a.system_reset) && Find(lib, "fluid_synth_noteoff", a.noteoff) &&
              Find(lib, "fluid_synth_noteon", a.noteon) && Find(lib, "fluid_synth_key_pressure", a.key_pressure) &&
              Find(lib, "fluid_synth_cc", a.cc) && Find(lib, "fluid_synth_program_change", a.program_change) &&
              Find(lib, "fluid_synth_channel_pressure", a.channel_pressure) &&
              Find(lib, "fluid_synth_pitch_bend", a.pitch_bend) && Find(lib, "fluid_synth_sysex", a.sysex) &&
              Find(lib, "fluid_synth_all_sounds_off", a.all_sounds_off) &&
              Find(lib, "fluid_synth_write_float", a.write_float);
    if (!ok) {
        dlclose(lib);
        return false;
    }
    g_api = a;
    g_loaded = true;  // kept open for the process: the core synthesizer lives as long
    return true;
}

bool MakeCore() {
    if (g_core.synth) return true;
    if (g_failed) return false;
    if (!LoadApi()) {
        g_failed = true;
        return false;
    }
    const FluidApi& f = g_api;
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        f.set_log_function(level, QuietLog, nullptr);
    g_core.settings = f.new_settings();
    if (!g_core.settings) {
        g_failed = true;
        return false;
    }
    f.settings_setnum(g_core.settings, "synth.sample-rate", (double)kMixRate);
    f.settings_setint(g_core.settings, "synth.threadsafe-api", 0);
    g_core.synth = f.new_synth(g_core.settings);
    if (!g_core.synth || f.sfload(g_core.synth, kSoundFontPath, 1) == FLUID_FAILED) {
        if (g_core.synth) f.delete_synth(g_core.synth);
        f.delete_settings(g_core.settings);
        g_core = FluidCore{};
        g_failed = true;
        return false;
    }
    return true;
}

class cFluidSynth final : public MidiSynth {
public:
    explicit cFluidSynth(fluid_synth_t* s) : m_synth(s) { g_api.system_reset(m_synth); }
    ~cFluidSynth() override {
        g_api.system_reset(m_synth);
        std::lock_guard<std::mutex> lock(g_m);
        g_core.lent = false;
    }
    void ShortMessage(uint32_t msg) override {
        int status = msg & 0xFF, d1 = (msg >> 8) & 0x7F, d2 = (msg >> 16) & 0x7F;
        int ch = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80: g_api.noteoff(m_synth, ch, d1); break;
        case 0x90: g_api.noteon(m_synth, ch, d1, d2); break;
        case 0xA0: g_api.key_pressure(m_synth, ch, d1, d2); break;
        case 0xB0: g_api.cc(m_synth, ch, d1, d2); break;
        case 0xC0: g_api.program_change(m_synth, ch, d1); break;
        case 0xD0: g_api.channel_pressure(m_synth, ch, d1); break;
        case 0xE0: g_api.pitch_bend(m_synth, ch, d1 | (d2 << 7)); break;
        default: break;  // system messages (0xFF would be a reset) never reach the synth
        }
    }
    void SysEx(const uint8_t* data, int len) override {
        if (!data || len < 2 || data[0] != 0xF0) return;
        int n = len - 1;
        if (data[len - 1] == 0xF7) --n;
        if (n > 0) g_api.sysex(m_synth, (const char*)data + 1, n, nullptr, nullptr, nullptr, 0);
    }
    void Silence() override {
        for (int ch = 0; ch < 16; ++ch) g_api.all_sounds_off(m_synth, ch);
    }
    void Render(float* acc, int frames) override {
        if ((int)m_buf.size() < frames * 2) m_buf.resize((size_t)frames * 2);
        if (g_api.write_float(m_synth, frames, m_buf.data(), 0, 2, m_buf.data(), 1, 2) != FLUID_OK) return;
        for (int i = 0; i < frames * 2; ++i) acc[i] += m_buf[(size_t)i] * 32768.0f;
    }

private:
    fluid_synth_t* m_synth;
    std::vector<float> m_buf;
};

}  // namespace

std::unique_ptr<MidiSynth> MakeMidiSynth() {
    std::lock_guard<std::mutex> lock(g_m);
    if (g_factory) return g_factory();
    if (!MakeCore() || g_core.lent) return nullptr;
    g_core.lent = true;
    return std::make_unique<cFluidSynth>(g_core.synth);
}

void SetMidiSynthFactory(std::function<std::unique_ptr<MidiSynth>()> factory) {
    std::lock_guard<std::mutex> lock(g_m);
    g_factory = std::move(factory);
}

void SetMidiSynthLibrary(const char* soname) {
    std::lock_guard<std::mutex> lock(g_m);
    if (g_core.lent) return;
    if (g_core.synth) {
        g_api.delete_synth(g_core.synth);
        g_api.delete_settings(g_core.settings);
    }
    g_core = FluidCore{};
    g_failed = false;
    g_loaded = false;
    g_library = soname && *soname ? soname : kSynthLibrary;
}

}  // namespace audio
