// The mixer and the DirectSound buffers: gain, clipping, duplicates, formats and pitch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/audio/dsound.h"
#include "platform/audio/mixer.h"
#include "tests/platform/audio_support.h"
#include "tools/wave_writer.h"

using namespace audiotest;

namespace {

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio::SetManualMode(true);
        ASSERT_EQ(DirectSoundCreate(nullptr, &m_ds, nullptr), DS_OK);
        ASSERT_EQ(m_ds->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    }
    void TearDown() override {
        for (auto* b : m_buffers) b->Release();
        m_ds->Release();
    }
    LPDIRECTSOUNDBUFFER Dc(int16_t value, int frames = 4410) {
        auto* b = MakeBuffer(m_ds, 44100, 16, 1, Bytes16(std::vector<int16_t>((size_t)frames, value)));
        if (b) m_buffers.push_back(b);
        return b;
    }
    LPDIRECTSOUND m_ds = nullptr;
    std::vector<LPDIRECTSOUNDBUFFER> m_buffers;
};

TEST_F(MixerTest, VolumeIsHundredthsOfADecibel) {
    EXPECT_NEAR(audio::GainFromVolume(-600), 0.501, 0.001);
    EXPECT_EQ(audio::GainFromVolume(-10000), 0.0f);
    EXPECT_EQ(audio::GainFromVolume(0), 1.0f);
    auto* b = Dc(10000);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->SetVolume(-600), DS_OK);
    LONG v = 0;
    b->GetVolume(&v);
    EXPECT_EQ(v, -600);
    b->Play(0, 0, 0);
    auto out = RenderMix(100);
    EXPECT_NEAR(out[50 * 2], 5012, 2);
    EXPECT_NEAR(out[50 * 2 + 1], 5012, 2);
    EXPECT_EQ(b->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
    ASSERT_EQ(b->SetVolume(-10000), DS_OK);
    out = RenderMix(100);
    EXPECT_EQ(out[10], 0);
}

TEST_F(MixerTest, LoudSoundsClipInsteadOfWrapping) {
    auto* a = Dc(30000);
    auto* b = Dc(30000);
    auto* c = Dc(-30000);
    auto* d = Dc(-30000);
    a->Play(0, 0, 0);
    b->Play(0, 0, 0);
    auto out = RenderMix(10);
    EXPECT_EQ(out[4], 32767);
    a->Stop();
    b->Stop();
    c->Play(0, 0, 0);
    d->Play(0, 0, 0);
    out = RenderMix(10);
    EXPECT_EQ(out[4], -32768);
}

TEST_F(MixerTest, DuplicatesShareDataAndPlayAtOnce) {
    auto* a = Dc(1000, 1000);
    LPDIRECTSOUNDBUFFER dup = nullptr;
    ASSERT_EQ(m_ds->DuplicateSoundBuffer(a, &dup), DS_OK);
    m_buffers.push_back(dup);
    // The duplicate sees data written through the original.
    void *p1, *p2;
    DWORD n1, n2;
    ASSERT_EQ(a->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(n1, 2000u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(n2, 0u);
    ((int16_t*)p1)[0] = 1000;
    a->Unlock(p1, n1, p2, n2);
    a->Play(0, 0, 0);
    auto out = RenderMix(500);
    EXPECT_EQ(out[100 * 2], 1000);
    dup->Play(0, 0, 0);  // the copy starts half-way through the original
    out = RenderMix(1000);
    EXPECT_EQ(out[100 * 2], 2000);   // both sound
    EXPECT_EQ(out[700 * 2], 1000);   // the original has ended, the copy goes on
    EXPECT_EQ(out[999 * 2], 1000);   // the copy's last frame
    out = RenderMix(10);
    EXPECT_EQ(out[0], 0);            // both have ended
    // Stop, rewind and play again restarts from the start.
    a->Stop();
    a->SetCurrentPosition(0);
    a->Play(0, 0, 0);
    out = RenderMix(1200);
    EXPECT_EQ(out[999 * 2], 1000);
    EXPECT_EQ(out[1000 * 2], 0);
}

TEST_F(MixerTest, LoopingPlaysOnAndStopHolds) {
    auto* a = Dc(500, 100);
    a->Play(0, 0, DSBPLAY_LOOPING);
    auto out = RenderMix(1000);
    EXPECT_EQ(out[999 * 2], 500);
    a->Stop();
    out = RenderMix(10);
    EXPECT_EQ(out[0], 0);
}

TEST_F(MixerTest, RefusesFormatsItCannotPlay) {
    struct Case {
        int rate, bits, channels;
        DWORD bytes;
        HRESULT want;
    } cases[] = {
        {44100, 24, 1, 300, DSERR_BADFORMAT},  {44100, 16, 3, 600, DSERR_BADFORMAT},
        {50, 16, 1, 100, DSERR_BADFORMAT},     {300000, 16, 1, 100, DSERR_BADFORMAT},
        {22050, 8, 1, 2, DSERR_INVALIDPARAM},  {22050, 8, 1, 4, DS_OK},
    };
    for (const Case& c : cases) {
        WAVEFORMATEX f{};
        f.wFormatTag = WAVE_FORMAT_PCM;
        f.nChannels = (WORD)c.channels;
        f.nSamplesPerSec = (DWORD)c.rate;
        f.wBitsPerSample = (WORD)c.bits;
        f.nBlockAlign = (WORD)(c.channels * c.bits / 8);
        DSBUFFERDESC d{};
        d.dwSize = sizeof(d);
        d.dwBufferBytes = c.bytes;
        d.lpwfxFormat = &f;
        LPDIRECTSOUNDBUFFER b = nullptr;
        EXPECT_EQ(m_ds->CreateSoundBuffer(&d, &b, nullptr), c.want) << c.rate << " " << c.bits << " " << c.channels;
        if (b) b->Release();
    }
    // The primary buffer takes the program's format and only that.
    DSBUFFERDESC d{};
    d.dwSize = 36;
    d.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    LPDIRECTSOUNDBUFFER primary = nullptr;
    ASSERT_EQ(m_ds->CreateSoundBuffer(&d, &primary, nullptr), DS_OK);
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    EXPECT_EQ(primary->SetFormat(&f), DS_OK);
    primary->Release();
}

// A 440 Hz tone keeps its pitch whatever the source format: one second has 880 sign changes.
TEST_F(MixerTest, EveryFormatPlaysAtItsPitch) {
    for (int bits : {8, 16}) {
        for (int channels : {1, 2}) {
            for (int rate : {11025, 22050, 32000, 44100, 48000}) {
                auto samples = tools::MakeSine(440.0, rate, channels, 1.2);
                auto wave = tools::WaveFileBytes(rate, bits, channels, samples);
                std::vector<uint8_t> data(wave.begin() + 44, wave.end());
                auto* b = MakeBuffer(m_ds, rate, bits, channels, data);
                ASSERT_NE(b, nullptr);
                b->Play(0, 0, 0);
                auto out = RenderMix(44100);
                b->Stop();
                b->Release();
                SCOPED_TRACE(testing::Message() << bits << "-bit " << channels << " ch " << rate << " Hz");
                EXPECT_NEAR(ZeroCrossings(out, 0), 880, 2);
                EXPECT_NEAR(ZeroCrossings(out, 1), 880, 2);
                // Half scale stays half scale.
                int peak = 0;
                for (int16_t s : out) peak = std::max(peak, std::abs((int)s));
                EXPECT_NEAR(peak, 16384, 300);
            }
        }
    }
}

// Without a device (the dummy driver) the sink still consumes the mix in real time.
TEST(MixerOutput, DummyDriverGivesASinkThatConsumesTime) {
    audio::SetManualMode(false);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    LPDIRECTSOUND ds = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
    EXPECT_STREQ(audio::OutputKind(), "sink");
    uint64_t before = audio::RenderedFrames();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    uint64_t after = audio::RenderedFrames();
    EXPECT_GT(after - before, 44100u / 20);
    ds->Release();
    EXPECT_STREQ(audio::OutputKind(), "");
}

// SDL's disk driver records what the device plays: sound when a buffer plays, silence otherwise.
TEST(MixerOutput, DiskDriverRecordsTheMix) {
    for (bool play : {false, true}) {
        std::string file = std::string(VELMORA_BINARY_DIR) + "/disk_audio_" + (play ? "on" : "off") + ".raw";
        std::remove(file.c_str());
        audio::SetManualMode(false);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        LPDIRECTSOUND ds = nullptr;
        ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
        ASSERT_STREQ(audio::OutputKind(), "device");
        auto* b = MakeBuffer(ds, 22050, 8, 1, tools::WaveFileBytes(22050, 8, 1, tools::MakeSine(440, 22050, 1, 0.1)));
        ASSERT_NE(b, nullptr);
        if (play) b->Play(0, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        b->Release();
        ds->Release();
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 4096u);
        int loud = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            int16_t s;
            std::memcpy(&s, &bytes[i], 2);
            if (std::abs((int)s) > 1000) ++loud;
        }
        if (play) EXPECT_GT(loud, 1000);
        else EXPECT_EQ(loud, 0);
    }
}

}  // namespace
