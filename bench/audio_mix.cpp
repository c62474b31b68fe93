// Mixing 16 sound effects (8- and 16-bit, mono and stereo, 11-48 kHz) into one second of audio.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/audio/dsound.h"
#include "platform/audio/mixer.h"
#include "tools/wave_writer.h"

namespace {

void BM_Mix16Effects(benchmark::State& state) {
    audio::SetManualMode(true);
    LPDIRECTSOUND ds = nullptr;
    DirectSoundCreate(nullptr, &ds, nullptr);
    std::vector<LPDIRECTSOUNDBUFFER> buffers;
    const int rates[] = {11025, 22050, 32000, 44100, 48000};
    for (int i = 0; i < 16; ++i) {
        int rate = rates[i % 5], bits = i % 2 ? 16 : 8, channels = i % 4 < 2 ? 1 : 2;
        auto wave = tools::WaveFileBytes(rate, bits, channels, tools::MakeSine(200.0 + 50 * i, rate, channels, 1.5));
        WAVEFORMATEX f{WAVE_FORMAT_PCM, (WORD)channels, (DWORD)rate, 0, (WORD)(channels * bits / 8), (WORD)bits, 0};
        f.nAvgBytesPerSec = (DWORD)rate * f.nBlockAlign;
        DSBUFFERDESC d{sizeof(DSBUFFERDESC), DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME, (DWORD)wave.size() - 44, 0, &f};
        LPDIRECTSOUNDBUFFER b = nullptr;
        ds->CreateSoundBuffer(&d, &b, nullptr);
        void *p1, *p2;
        DWORD n1, n2;
        b->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER);
        std::memcpy(p1, wave.data() + 44, n1);
        b->Unlock(p1, n1, p2, n2);
        b->SetVolume(-300);
        buffers.push_back(b);
    }
    std::vector<int16_t> out(44100 * 2);
    for (auto _ : state) {
        for (auto* b : buffers) {
            b->SetCurrentPosition(0);
            b->Play(0, 0, 0);
        }
        audio::Render(out.data(), 44100);
        benchmark::DoNotOptimize(out.data());
    }
    for (auto* b : buffers) b->Release();
    ds->Release();
    state.SetItemsProcessed(state.iterations() * 44100);
}
BENCHMARK(BM_Mix16Effects)->Unit(benchmark::kMillisecond);

}  // namespace
