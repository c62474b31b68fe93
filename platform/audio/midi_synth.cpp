// FluidSynth as the General MIDI synthesizer of the MIDI streams.
#include "platform/audio/midi_synth.h"

#include <fluidsynth.h>

#include <mutex>
#include <vector>

#include "platform/audio/mixer.h"

namespace audio {
namespace {

// One FluidSynth instance with the soundfont loaded, kept for the process and lent to one
// stream at a time.
struct FluidCore {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    bool lent = false;
};

std::mutex g_m;
FluidCore g_core;
bool g_failed = false;
std::function<std::unique_ptr<MidiSynth>()> g_factory;

void QuietLog(int, const char*, void*) {}

bool MakeCore() {
    if (g_core.synth) return true;
    if (g_failed) return false;
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, QuietLog, nullptr);
    g_core.settings = new_fluid_settings();
    if (!g_core.settings) {
        g_failed = true;
        return false;
    }
    fluid_settings_setnum(g_core.settings, "synth.sample-rate", (double)kMixRate);
    fluid_settings_setint(g_core.settings, "synth.threadsafe-api", 0);
    g_core.synth = new_fluid_synth(g_core.settings);
    if (!g_core.synth || fluid_synth_sfload(g_core.synth, kSoundFontPath, 1) == FLUID_FAILED) {
        if (g_core.synth) delete_fluid_synth(g_core.synth);
        delete_fluid_settings(g_core.settings);
        g_core = FluidCore{};
        g_failed = true;
        return false;
    }
    return true;
}

class cFluidSynth final : public MidiSynth {
public:
    explicit cFluidSynth(fluid_synth_t* s) : m_synth(s) { fluid_synth_system_reset(m_synth); }
    ~cFluidSynth() override {
        fluid_synth_system_reset(m_synth);
        std::lock_guard<std::mutex> lock(g_m);
        g_core.lent = false;
    }
    void ShortMessage(uint32_t msg) override {
        int status = msg & 0xFF, d1 = (msg >> 8) & 0x7F, d2 = (msg >> 16) & 0x7F;
        int ch = status & 0x0F;
        switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(m_synth, ch, d1); break;
        case 0x90: fluid_synth_noteon(m_synth, ch, d1, d2); break;
        case 0xA0: fluid_synth_key_pressure(m_synth, ch, d1, d2); break;
        case 0xB0: fluid_synth_cc(m_synth, ch, d1, d2); break;
        case 0xC0: fluid_synth_program_change(m_synth, ch, d1); break;
        case 0xD0: fluid_synth_channel_pressure(m_synth, ch, d1); break;
        case 0xE0: fluid_synth_pitch_bend(m_synth, ch, d1 | (d2 << 7)); break;
        default: break;  // system messages (0xFF would be a reset) never reach the synth
        }
    }
    void SysEx(const uint8_t* data, int len) override {
        if (!data || len < 2 || data[0] != 0xF0) return;
        int n = len - 1;
        if (data[len - 1] == 0xF7) --n;
        if (n > 0) fluid_synth_sysex(m_synth, (const char*)data + 1, n, nullptr, nullptr, nullptr, 0);
    }
    void Silence() override {
        for (int ch = 0; ch < 16; ++ch) fluid_synth_all_sounds_off(m_synth, ch);
    }
    void Render(float* acc, int frames) override {
        if ((int)m_buf.size() < frames * 2) m_buf.resize((size_t)frames * 2);
        if (fluid_synth_write_float(m_synth, frames, m_buf.data(), 0, 2, m_buf.data(), 1, 2) != FLUID_OK) return;
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

}  // namespace audio
