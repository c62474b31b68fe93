// The music manager and the music request.
#include <gtest/gtest.h>

#include <cmath>

#include "media/bgm.h"
#include "media/music_request.h"
#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "tests/media/media_support.h"
#include "tools/midi_writer.h"
#include "tools/ogg_writer.h"
#include "tools/wave_writer.h"

using namespace mediatest;

namespace {

class cSilentSynth : public audio::MidiSynth {
public:
    void ShortMessage(uint32_t) override {}
    void SysEx(const uint8_t*, int) override {}
    void Silence() override {}
    void Render(float*, int) override {}
};

class BgmTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio::SetManualMode(true);
        audio::SetMidiSynthFactory([] { return std::make_unique<cSilentSynth>(); });
        std::vector<float> tone(22050);
        for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3f * (float)std::sin(i * 0.05);
        ASSERT_TRUE(tools::WriteOggVorbis(HostTemp("bgm_tune.ogg"), 22050, 1, tone));
        m_ogg = ProgramPath(HostTemp("bgm_tune.ogg"));
        tools::MidiFileWriter w(0, 96);
        int t = w.AddTrack();
        w.NoteOn(t, 0, 0, 60, 100);
        w.NoteOn(t, 96, 0, 60, 0);
        ASSERT_TRUE(w.Write(HostTemp("bgm_tune.mid")));
        m_mid = ProgramPath(HostTemp("bgm_tune.mid"));
        ASSERT_TRUE(tools::WriteWaveFile(HostTemp("bgm_tune.wav"), 22050, 8, 1, tools::MakeSine(440, 22050, 1, 0.1)));
        m_wav = ProgramPath(HostTemp("bgm_tune.wav"));
        for (int i = 0; i < BGM_TRACKS; ++i) {
            m_ogg_paths[i][0] = 0;
            m_mid_paths[i][0] = 0;
        }
        ASSERT_EQ(m_bgm.Init(1, m_ogg_paths, m_mid_paths, BGM_TRACKS), 1u);
    }
    void TearDown() override {
        m_bgm.Release();
        audio::SetMidiSynthFactory(nullptr);
    }
    cBgm m_bgm;
    BGMOGGPATH m_ogg_paths[BGM_TRACKS];
    BGMMIDIPATH m_mid_paths[BGM_TRACKS];
    std::string m_ogg, m_mid, m_wav;
};

TEST_F(BgmTest, TrackFileKindsFollowTheExtension) {
    struct Case {
        const char* path;
        DWORD result;
        int kind;
        const char* ogg;
        const char* mid;
    } cases[] = {
        {"bgm\\a.MID", 1, 2, "", "bgm\\a.mid"},
        {"bgm\\b.ogg", 1, 1, "bgm\\b.ogg", "bgm\\a.mid"},
        {"bgm\\c.wav", 0, 0, "bgm\\c.wav", "bgm\\c.wav"},
        {"bgm\\none", 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_bgm.SetTrackFile(4, c.path), c.result) << c.path;
        EXPECT_EQ(m_bgm.m_vecTrackKind[4], c.kind) << c.path;
        EXPECT_STREQ(m_ogg_paths[4], c.ogg) << c.path;
        EXPECT_STREQ(m_mid_paths[4], c.mid) << c.path;
    }
    std::string report = StartReport("bgm_report.txt");
    EXPECT_EQ(m_bgm.SetTrackFile(9, "x.ogg"), 0u);  // no such track: a container error
    EXPECT_NE(ReadText(report).find("err V[9] ( 5 , "), std::string::npos);
}

TEST_F(BgmTest, PlaysOggOrMidiAndFallsSilentOtherwise) {
    m_bgm.SetTrackFile(0, m_ogg.c_str());
    EXPECT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1u);
    EXPECT_EQ(m_bgm.m_vecChannelKind[0], 1);
    EXPECT_EQ(m_bgm.m_Vox.m_nPlaying, 0);
    m_bgm.SetTrackFile(1, m_mid.c_str());
    EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1u);
    EXPECT_EQ(m_bgm.m_vecChannelKind[0], 2);
    EXPECT_EQ(m_bgm.m_Vox.m_nPlaying, -1);
    ASSERT_NE(m_bgm.m_vecMidi[0], nullptr);
    EXPECT_EQ(m_bgm.m_vecMidi[0]->m_nState, 1);
    // The current track again without force changes nothing; with force it restarts.
    cMidi* before = m_bgm.m_vecMidi[0];
    EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 0), 1u);
    EXPECT_EQ(m_bgm.m_vecMidi[0], before);
    EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1u);
    // A wave file: Ogg refuses it, and the MIDI player refuses a path not ending in "mid".
    m_bgm.SetTrackFile(2, m_wav.c_str());
    EXPECT_EQ(m_bgm.Play(0, 2, 1, 0, 1), 0u);
    EXPECT_EQ(m_bgm.m_nTrack, -1);
    EXPECT_EQ(m_bgm.m_vecChannelKind[0], 0);
    EXPECT_EQ(m_bgm.m_vecMidi[0], nullptr);
    // Undecided kind with an Ogg file: Ogg first.
    std::snprintf(m_ogg_paths[3], MAX_PATH, "%s", m_ogg.c_str());
    std::snprintf(m_mid_paths[3], 264, "%s", m_mid.c_str());
    EXPECT_EQ(m_bgm.Play(0, 3, 0, 0, 1), 1u);
    EXPECT_EQ(m_bgm.m_vecChannelKind[0], 1);
    m_bgm.Stop();
    EXPECT_EQ(m_bgm.m_Vox.m_nPlaying, -1);
    // Released, every call does nothing and succeeds.
    m_bgm.Release();
    EXPECT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1u);
    EXPECT_EQ(m_bgm.SetTrackFile(0, "x.mid"), 1u);
}

TEST(MusicRequest, SlotsPlayTheirTunes) {
    audio::SetManualMode(true);
    audio::SetMidiSynthFactory([] { return std::make_unique<cSilentSynth>(); });
    tools::MidiFileWriter w(0, 96);
    int t = w.AddTrack();
    w.NoteOn(t, 0, 0, 60, 100);
    ASSERT_TRUE(w.Write(HostTemp("request.mid")));
    std::vector<std::string> files{"", ProgramPath(HostTemp("request.mid")), "bgm\\missing.ogg"};
    std::vector<int> tunes{1, 0, 2, 1}, loops{1, 1, 0, 1};
    std::string report = StartReport("request_report.txt");
    SetMusicData(MUSICDATA{[&](int s) { return tunes[(size_t)s]; }, [&](int s) { return loops[(size_t)s]; },
                           [&](int n) { return n >= 0 && n < (int)files.size() ? files[(size_t)n].c_str() : ""; }});
    ASSERT_EQ(InitBgm(), 1u);
    ServeMusicRequest(0, 0);
    EXPECT_EQ(g_Bgm.m_nTrack, 0);
    EXPECT_EQ(g_Bgm.m_vecChannelKind[0], 2);
    EXPECT_STREQ(g_szBgmMidiPath[0], files[1].c_str());
    ServeMusicRequest(1, 0);  // tune 0: stop
    EXPECT_EQ(g_Bgm.m_vecMidi[0]->m_nState, 0);
    ServeMusicRequest(2, 0);  // a missing file: silent
    EXPECT_EQ(g_Bgm.m_nTrack, -1);
    // Slot 4 with tune 0 stops after setting track 4 from record 0.
    ServeMusicRequest(4, 1);
    EXPECT_EQ(g_nBgmTune, 1);
    EXPECT_EQ(g_Bgm.m_nTrack, 4);
    ServeMusicRequest(4, 0);
    EXPECT_EQ(g_nBgmTune, 0);
    EXPECT_EQ(g_Bgm.m_vecTrackKind[4], 0);
    EXPECT_STREQ(g_szBgmOggPath[4], "");
    ServeMusicRequest(9, 0);  // any other slot: nothing
    g_Bgm.Release();
    SetMusicData(MUSICDATA{});
    audio::SetMidiSynthFactory(nullptr);
    EXPECT_EQ(ReadText(report), "");
}

}  // namespace
