// Rendering 60 s of a MIDI file through the program's stream path (cMidi: conversion, stream
// buffers, the feeder thread, events timed in the mixer) beside FluidSynth's own file player on
// the same file and soundfont. Goal: the stream path within 1.2x of the file player.
#include <benchmark/benchmark.h>
#include <fluidsynth.h>

#include <string>
#include <vector>

#include "core/report.h"
#include "media/midi.h"
#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "platform/win32/files.h"
#include "tools/midi_writer.h"

namespace {

constexpr int kSeconds = 60;

// A dense song of a little over a minute: four parts in eighths at 120 bpm, a tempo change.
const std::string& SongPath() {
    static std::string path = [] {
        std::string p = "/tmp/velmora_bench_song.mid";
        tools::MidiFileWriter w(1, 480);
        w.SetRunningStatus(true);
        int t0 = w.AddTrack();
        w.Tempo(t0, 0, 500000);
        w.Tempo(t0, 480 * 60, 450000);
        const int programs[4] = {0, 33, 48, 73};
        for (int part = 0; part < 4; ++part) {
            int t = w.AddTrack();
            w.ProgramChange(t, 0, part, programs[part]);
            for (uint32_t i = 0; i < 300; ++i) {
                int note = 48 + part * 7 + (int)(i * 5 % 12);
                w.NoteOn(t, i * 240, part, note, 90);
                w.NoteOn(t, i * 240 + 200, part, note, 0);
            }
        }
        w.Write(p);
        return p;
    }();
    return path;
}

void BM_StreamPath(benchmark::State& state) {
    audio::SetManualMode(true);
    std::string path = WindowsPathFromHost(SongPath());
    std::vector<int16_t> out(1024 * 2);
    for (auto _ : state) {
        cMidi midi(path.c_str());
        midi.Restart(0);
        for (int done = 0; done < 44100 * kSeconds; done += 1024) audio::Render(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 44100 * kSeconds);
}
BENCHMARK(BM_StreamPath)->Unit(benchmark::kMillisecond)->UseRealTime();

void Quiet(int, const char*, void*) {}

void BM_FluidFilePlayer(benchmark::State& state) {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, Quiet, nullptr);
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", 44100.0);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, audio::kSoundFontPath, 1);
    std::vector<float> buf(1024 * 2);
    std::vector<int16_t> out(1024 * 2);
    for (auto _ : state) {
        fluid_synth_system_reset(synth);
        fluid_player_t* player = new_fluid_player(synth);
        fluid_player_add(player, SongPath().c_str());
        fluid_player_play(player);
        for (int done = 0; done < 44100 * kSeconds; done += 1024) {
            fluid_synth_write_float(synth, 1024, buf.data(), 0, 2, buf.data(), 1, 2);
            // The same conversion to 16 bits as the mixer's.
            for (int i = 0; i < 2048; ++i) {
                float v = buf[(size_t)i] * 32768.0f;
                out[(size_t)i] = (int16_t)(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
            }
        }
        benchmark::DoNotOptimize(out.data());
        fluid_player_stop(player);
        delete_fluid_player(player);
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    state.SetItemsProcessed(state.iterations() * 44100 * kSeconds);
}
BENCHMARK(BM_FluidFilePlayer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
