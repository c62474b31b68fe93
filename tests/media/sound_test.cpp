// Sound effects: WAVE loading, buffers in turn, volumes, the sound table, the request, the
// menu cursor.
#include <gtest/gtest.h>

#include "records/option_data.h"

#include "media/menu_cursor.h"
#include "media/sound.h"
#include "platform/audio/mixer.h"
#include "tests/media/media_support.h"
#include "tools/wave_writer.h"

using namespace mediatest;

namespace {

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + (size_t)i] = (uint8_t)(v >> (8 * i));
}

std::string WaveFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string host = HostTemp(name);
    EXPECT_TRUE(tools::WriteBytes(host, bytes));
    return ProgramPath(host);
}

TEST(WaveFile, LoadsPcmAndRefusesDamagedFiles) {
    auto good = tools::WaveFileBytes(11025, 8, 1, tools::MakeSine(440, 11025, 1, 0.05));
    WAVEFILEDATA w;
    ASSERT_TRUE(LoadWaveFile(WaveFile("snd_good.wav", good).c_str(), &w));
    EXPECT_EQ(w.fmt.nSamplesPerSec, 11025u);
    EXPECT_EQ(w.fmt.wBitsPerSample, 8);
    EXPECT_EQ(w.dwSize, 551u);
    FreeWaveFile(&w);
    EXPECT_EQ(w.pData, nullptr);

    // A "fmt " chunk larger than the structure is read only as far as the structure goes.
    auto big = good;
    PutU32(big, 16, 40);
    big.insert(big.begin() + 36, 24, 0xEE);
    PutU32(big, 4, (uint32_t)big.size() - 8);
    ASSERT_TRUE(LoadWaveFile(WaveFile("snd_bigfmt.wav", big).c_str(), &w));
    EXPECT_EQ(w.fmt.cbSize, 0xEEEE);
    EXPECT_EQ(w.dwSize, 551u);
    FreeWaveFile(&w);

    struct Bad {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    auto shortFmt = good;
    PutU32(shortFmt, 16, 14);
    auto notPcm = good;
    notPcm[20] = 3;
    auto pastEnd = good;
    PutU32(pastEnd, 40, 100000);
    auto cut = good;
    cut.resize(30);
    Bad bad[] = {{"fmt under 16 bytes", shortFmt}, {"not PCM", notPcm}, {"data past the end", pastEnd},
                 {"cut short", cut}};
    for (const Bad& b : bad) {
        w.pData = (BYTE*)1;
        EXPECT_FALSE(LoadWaveFile(WaveFile("snd_bad.wav", b.bytes).c_str(), &w)) << b.name;
        EXPECT_EQ(w.pData, nullptr) << b.name;
    }
    EXPECT_FALSE(LoadWaveFile("no\\such.wav", &w));
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio::SetManualMode(true);
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
        m_path = WaveFile("snd_tone.wav", tools::WaveFileBytes(22050, 16, 1, std::vector<int16_t>(2205, 8000)));
    }
    void TearDown() override {
        DS_End();
        for (cSound& s : g_vecSound) cSound::Release(s);
        g_vecSound.clear();
        g_vecSoundFile.clear();
    }
    std::string m_path;
};

TEST_F(SoundTest, EffectPlaysItsBuffersInTurn) {
    cSound s;
    ASSERT_TRUE(cSound::Load(s, m_path.c_str(), 3, 0));
    EXPECT_EQ(s.m_nCount, 3);
    EXPECT_STREQ(s.m_szName, m_path.c_str());
    std::vector<int> used;
    for (int i = 0; i < 4; ++i) {
        used.push_back(s.m_nNext);
        cSound::Play(s, 0);
    }
    EXPECT_EQ(used, (std::vector<int>{0, 1, 2, 0}));
    std::vector<int16_t> out(400);
    audio::Render(out.data(), 200);
    EXPECT_EQ(out[100], 24000);  // three buffers sound at once
    // Each play restarts its buffer from the start: buffer 0 was restarted by the fourth play.
    cSound::Play(s, 0);  // buffer 1 again, from its start
    audio::Render(out.data(), 200);
    EXPECT_EQ(out[100], 24000);
    cSound::Release(s);
    EXPECT_EQ(s.m_lpBuffers, nullptr);
    cSound::Play(s, 0);  // an unloaded entry plays nothing
}

TEST_F(SoundTest, VolumesClampAndTheOptionStepReplacesOwnVolumes) {
    cSound s;
    ASSERT_TRUE(cSound::Load(s, m_path.c_str(), 2, -9900));
    EXPECT_EQ(cSound::GetVolume(s, 1), -9900);
    EXPECT_EQ(cSound::SetVolume(s, 0, -500, 1), -10000);
    EXPECT_EQ(cSound::SetVolume(s, 0, 20000, 0), 0);
    EXPECT_EQ(cSound::SetVolume(s, 5, 0, 0), 0);  // no such buffer
    cSound::Release(s);

    BuildSoundTable(std::vector<std::string>(17, ""), {"", m_path, m_path});
    g_vecSoundFile[17].lVolume = -700;
    std::snprintf(g_vecSoundFile[3].szPath, MAX_PATH, "%s", m_path.c_str());
    cSound::LoadTable(g_vecSound, g_vecSoundFile, GetVolumeFromStep(10));
    EXPECT_EQ(cSound::GetVolume(g_vecSound[17], 0), -700);  // step 10 keeps the sound's own
    EXPECT_EQ(cSound::GetVolume(g_vecSound[18], 0), 0);
    EXPECT_EQ(g_vecSound[0].m_lpBuffers, nullptr);          // no file: left unloaded
    for (cSound& e : g_vecSound) cSound::Release(e);
    cSound::LoadTable(g_vecSound, g_vecSoundFile, GetVolumeFromStep(0));
    EXPECT_EQ(cSound::GetVolume(g_vecSound[17], 0), -10000);
    EXPECT_EQ(cSound::GetVolume(g_vecSound[3], 0), -10000);
    EXPECT_EQ(GetVolumeFromStep(99), 0);
}

TEST_F(SoundTest, FailedLoadsLeaveEmptyEntries) {
    cSound s;
    EXPECT_FALSE(cSound::Load(s, "no\\such.wav", 2, 0));
    EXPECT_EQ(s.m_lpBuffers, nullptr);
    EXPECT_EQ(s.m_nCount, 0);
    EXPECT_FALSE(cSound::Load(s, m_path.c_str(), 0, 0));  // the first buffer always exists
    EXPECT_EQ(s.m_lpBuffers, nullptr);
    cSound::Play(s, 0);
}

TEST_F(SoundTest, TableHoldsTheSystemSoundsAndRequestsAreChecked) {
    std::vector<std::string> system(17);
    system[16] = m_path;
    BuildSoundTable(system, {});
    ASSERT_EQ(g_vecSound.size(), 17u);
    EXPECT_STREQ(g_vecSoundFile[16].szPath, m_path.c_str());
    EXPECT_EQ(g_vecSoundFile[16].dwCount, 1u);
    EXPECT_EQ(g_vecSoundFile[16].lVolume, 0);
    EXPECT_EQ(g_vecSoundFile[16].dwFlags, 1u);
    BuildSoundTable(system, {"", "a.wav", "b.wav"});
    ASSERT_EQ(g_vecSound.size(), 19u);
    EXPECT_STREQ(g_vecSoundFile[17].szPath, "a.wav");
    EXPECT_STREQ(g_vecSoundFile[18].szPath, "b.wav");
    cSound::LoadTable(g_vecSound, g_vecSoundFile, 0);

    std::string report = StartReport("snd_report.txt");
    ServeSoundRequest(16);
    ServeSoundRequest(19);
    ServeSoundRequest((WPARAM)-1);
    std::string text = ReadText(report);
    EXPECT_NE(text.find("err V[19] ( 19 , 284 )"), std::string::npos) << text;  // an entry is 284 bytes
    EXPECT_NE(text.find("err V[-1] ( 19 , 284 )"), std::string::npos) << text;
    std::vector<int16_t> out(200);
    audio::Render(out.data(), 100);
    EXPECT_EQ(out[50], 8000);  // sound 16 played; entry 0 (no file) for the bad ones
}

TEST_F(SoundTest, CursorSoundPlaysPerAxis) {
    std::vector<std::string> system(17, m_path);
    BuildSoundTable(system, {});
    for (auto& f : g_vecSoundFile) f.dwCount = 2;
    cSound::LoadTable(g_vecSound, g_vecSoundFile, 0);
    PlayCursorSound(1 | 8, 3, 2);
    EXPECT_EQ(g_vecSound[2].m_nNext, 0);  // played twice (both axes), round to buffer 0
    PlayCursorSound(4, 1, 2);             // up/down bits, left/right axis only
    EXPECT_EQ(g_vecSound[2].m_nNext, 0);
    PlayCursorSound(2, 1, 2);
    EXPECT_EQ(g_vecSound[2].m_nNext, 1);
}

TEST(MenuCursor, StackAndMoves) {
    cMenuCursor c;
    EXPECT_EQ(c.m_pPrevious, nullptr);
    c.m_pCurrent->nY = 3;
    c.Push(1);
    EXPECT_EQ(c.m_pCurrent->nY, 3);
    ASSERT_NE(c.m_pPrevious, nullptr);
    c.m_pCurrent->nY = 7;
    c.Pop(2);
    EXPECT_EQ(c.m_pCurrent->nY, 7);
    c.Push(0);
    c.Pop(1);
    EXPECT_EQ(c.m_pCurrent->nY, 7);
    c.Push(0);
    c.Pop(0);
    EXPECT_EQ(c.m_pCurrent->nY, 0);
    c.Pop(0);  // one entry left: nothing
    EXPECT_EQ(c.m_vecPos.size(), 1u);

    *g_MenuCursor.m_pCurrent = CURSORPOS{0, 0, 0, 0};
    MoveCursorGrid(4, 10, 20, 30, 40, 2, 4);  // up from row 0 wraps to row 3
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 3);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 3 * 40 + 20);
    MoveCursorGrid(8, 10, 20, 30, 40, 2, 4);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 0);
    MoveCursorGrid(1, 10, 20, 30, 40, 2, 4);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nX, 1);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, 40);

    int top = 0;
    *g_MenuCursor.m_pCurrent = CURSORPOS{0, 3, 0, 0};
    MoveCursorList(8, 1, &top, 100, 20, 5, 4, 10, 0);
    EXPECT_EQ(top, 1);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 4);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelY, 3 * 20 + 100);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nPixelX, 5);
    top = 6;
    MoveCursorList(2, 1, &top, 100, 20, 5, 4, 10, 1);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 9);
    top = 0;
    *g_MenuCursor.m_pCurrent = CURSORPOS{0, 0, 0, 0};
    MoveCursorList(4, 1, &top, 0, 20, 0, 4, 10, 0);  // up from the first item stays there
    EXPECT_EQ(top, 0);
    EXPECT_EQ(g_MenuCursor.m_pCurrent->nY, 0);
}

}  // namespace
