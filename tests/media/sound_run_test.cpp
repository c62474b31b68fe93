// A scripted run on SDL's disk audio driver: the test driver posts WM_USER+5 to a window whose
// procedure serves it as the main window does; what the device played is read back from the
// driver's file. It holds sound when the script asks for one and silence when it does not.
#include <gtest/gtest.h>

#include "records/option_data.h"

#include <cstdlib>
#include <cstring>
#include <thread>

#include "media/sound.h"
#include "platform/audio/mixer.h"
#include "platform/host/host.h"
#include "platform/host/script.h"
#include "platform/win32/win32.h"
#include "tests/media/media_support.h"
#include "tools/wave_writer.h"

using namespace mediatest;

namespace {

LRESULT RunProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 5) {
        ServeSoundRequest(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Runs 12 frames of a script ("at 4 ..." is the fifth frame of the run) and returns how many
// loud samples the device wrote.
int LoudSamplesOfRun(const std::string& event, const std::string& name) {
    std::string file = HostTemp(name);
    std::remove(file.c_str());
    audio::SetManualMode(false);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    EXPECT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    EXPECT_STREQ(audio::OutputKind(), "device");
    std::string wav = HostTemp("run_effect.wav");
    EXPECT_TRUE(tools::WriteWaveFile(wav, 22050, 8, 1, tools::MakeSine(440, 22050, 1, 0.2)));
    std::vector<std::string> system(17);
    system[3] = ProgramPath(wav);
    BuildSoundTable(system, {});
    cSound::LoadTable(g_vecSound, g_vecSoundFile, GetVolumeFromStep(10));

    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = RunProc;
        wc.lpszClassName = "SoundRunClass";
        EXPECT_NE(RegisterClassExA(&wc), 0);
        registered = true;
    }
    HWND hwnd = CreateWindowExA(0, "SoundRunClass", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    // Frames are counted for the whole process: the run's frame 4 is the 4th from now.
    std::string script = "at " + std::to_string(host::PresentedFrames() + 4) + " " + event + "\n";
    EXPECT_TRUE(host::script::LoadText(script, VELMORA_BINARY_DIR));
    std::vector<uint32_t> frame(16 * 16, 0);
    for (int f = 0; f < 12; ++f) {
        host::PresentFrame(hwnd, frame.data(), 16, 16, 16 * 4);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    host::script::Reset();
    DestroyWindow(hwnd);
    DS_End();  // the last user: the device closes and the file is complete
    g_vecSound.clear();
    std::string bytes = ReadText(file);
    EXPECT_GT(bytes.size(), 8192u);
    int loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t s;
        std::memcpy(&s, &bytes[i], 2);
        if (std::abs((int)s) > 2000) ++loud;
    }
    return loud;
}

TEST(SoundRun, DiskDriverHoldsTheRequestedSoundAndSilenceOtherwise) {
    EXPECT_EQ(LoudSamplesOfRun("key tap Z", "run_silent.raw"), 0);
    EXPECT_GT(LoudSamplesOfRun("post 1029 3 0", "run_sound.raw"), 4000);
}

}  // namespace
