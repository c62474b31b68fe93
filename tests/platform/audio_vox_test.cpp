// The built-in Ogg player: loading through the library calls, seamless loops, playing once.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/audio/mixer.h"
#include "platform/audio/vox.h"
#include "platform/win32/files.h"
#include "platform/win32/threads.h"
#include "tests/platform/audio_support.h"
#include "tools/ogg_writer.h"
#include "tools/wave_writer.h"

namespace {

// A tone that is not a whole number of periods long, so a gap or a jump at the loop shows.
constexpr int kFrames = 30011;

std::string MakeOgg(const char* name, int rate, int channels) {
    std::vector<float> s((size_t)kFrames * (size_t)channels);
    for (int i = 0; i < kFrames; ++i)
        for (int c = 0; c < channels; ++c)
            s[(size_t)i * (size_t)channels + (size_t)c] = 0.4f * (float)std::sin(2 * M_PI * (330.0 + 110 * c) * i / rate);
    std::string path = std::string(VELMORA_BINARY_DIR) + "/" + name;
    EXPECT_TRUE(tools::WriteOggVorbis(path, rate, channels, s));
    return WindowsPathFromHost(path);
}

IVox* CreateThroughLibrary() {
    HMODULE lib = LoadLibraryA("Vox.dll");
    EXPECT_NE(lib, nullptr);
    auto create = (CREATEVOXFUNC)GetProcAddress(lib, "CreateVox");
    EXPECT_NE(create, nullptr);
    EXPECT_EQ(GetProcAddress(lib, "Other"), nullptr);
    return create ? create() : nullptr;
}

TEST(Vox, OnlyTheBuiltInLibraryLoads) {
    EXPECT_EQ(LoadLibraryA("other.dll"), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
    HMODULE lib = LoadLibraryA("VOX.DLL");
    EXPECT_NE(lib, nullptr);
    EXPECT_TRUE(FreeLibrary(lib));
}

// Endless loop: the frame after the last is the first, at the file's own rate.
TEST(Vox, LoopsSeamlessly) {
    audio::SetManualMode(true);
    std::string path = MakeOgg("vox_loop.ogg", 44100, 2);
    IVox* vox = CreateThroughLibrary();
    ASSERT_NE(vox, nullptr);
    ASSERT_NE(vox->Load(path.c_str()), 0);
    vox->SetLoop(0x7FFFFFFF);
    vox->Play();
    auto out = audiotest::RenderMix(kFrames * 2 + 500);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(out[(size_t)(kFrames + i) * 2], out[(size_t)i * 2]) << i;
        ASSERT_EQ(out[(size_t)(kFrames + i) * 2 + 1], out[(size_t)i * 2 + 1]) << i;
        ASSERT_EQ(out[(size_t)(2 * kFrames + i) * 2], out[(size_t)i * 2]) << i;
    }
    EXPECT_NE(out[200 * 2], 0);
    // Left and right keep their own tones (330 and 440 Hz).
    EXPECT_NEAR(audiotest::ZeroCrossings(std::vector<int16_t>(out.begin(), out.begin() + 44100 * 2), 0), 660, 4);
    EXPECT_NEAR(audiotest::ZeroCrossings(std::vector<int16_t>(out.begin(), out.begin() + 44100 * 2), 1), 880, 4);
    vox->Stop();
    vox->Close();
    vox->Release();
}

// Loop count 0 plays once; a mono file at another rate keeps its pitch.
TEST(Vox, PlaysOnceAndResamples) {
    audio::SetManualMode(true);
    std::string path = MakeOgg("vox_once.ogg", 22050, 1);
    IVox* vox = CreateVox();
    ASSERT_NE(vox->Load(path.c_str()), 0);
    vox->SetLoop(0);
    vox->Play();
    auto out = audiotest::RenderMix(kFrames * 2 + 1000);  // the tune lasts kFrames * 2 at 44.1 kHz
    int last = 0;
    for (size_t i = 0; i < out.size() / 2; ++i)
        if (out[i * 2] != 0) last = (int)i;
    EXPECT_NEAR(last, kFrames * 2, 4);
    EXPECT_NEAR(audiotest::ZeroCrossings(std::vector<int16_t>(out.begin(), out.begin() + 44100 * 2), 0), 660, 4);
    // Played again after a stop, it starts over.
    vox->Stop();
    vox->Play();
    auto again = audiotest::RenderMix(1000);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(again[(size_t)i * 2], out[(size_t)i * 2]);
    vox->Release();
}

TEST(Vox, RefusesWhatIsNotOgg) {
    audio::SetManualMode(true);
    IVox* vox = CreateVox();
    EXPECT_EQ(vox->Load("no\\such.ogg"), 0);
    EXPECT_EQ(vox->Load(""), 0);
    std::string wav = std::string(VELMORA_BINARY_DIR) + "/vox_not_ogg.wav";
    ASSERT_TRUE(tools::WriteWaveFile(wav, 22050, 16, 1, tools::MakeSine(440, 22050, 1, 0.1)));
    EXPECT_EQ(vox->Load(WindowsPathFromHost(wav).c_str()), 0);
    vox->Play();  // nothing open: nothing plays
    auto out = audiotest::RenderMix(100);
    EXPECT_EQ(out[50], 0);
    vox->Release();
}

}  // namespace
