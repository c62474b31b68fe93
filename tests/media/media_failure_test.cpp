// Sound and music files that exist but cannot be played: one report line naming the file and
// the reason, once per file, and the game goes on without that sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "media/bgm.h"
#include "media/media_failure.h"
#include "media/sound.h"
#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "tests/media/media_support.h"
#include "tools/bmp_writer.h"
#include "tools/midi_writer.h"
#include "tools/ogg_writer.h"
#include "tools/wave_writer.h"

using namespace mediatest;

namespace {

void PutU16(std::vector<uint8_t>& b, size_t at, unsigned v) {
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + (size_t)i] = (uint8_t)(v >> (8 * i));
}

std::vector<uint8_t> Text(const char* s) { return std::vector<uint8_t>(s, s + std::strlen(s)); }

// The lines the report got since it was started, without the start-up lines of other tests.
int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class MediaFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio::SetManualMode(true);
        ResetMediaFailureReports();
        m_report = StartReport("media_failure_report.txt");
    }
    std::string File(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string host = HostTemp(name);
        EXPECT_TRUE(tools::WriteBytes(host, bytes));
        return ProgramPath(host);
    }
    std::string m_report;
};

TEST_F(MediaFailureTest, WaveFilesThatCannotBePlayedAreReportedOnceWithTheReason) {
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    // Layout of the writer's files: "fmt " at 12 (tag 20, channels 22, rate 24, block 32,
    // bits 34), "data" at 36 with its size at 40 and the samples from 44.
    const auto good = tools::WaveFileBytes(11025, 16, 1, tools::MakeSine(440, 11025, 1, 0.05));
    auto edit = [&](auto change) {
        auto b = good;
        change(b);
        return b;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"float", edit([](auto& b) { PutU16(b, 20, 3); }), "unsupported WAVE format 3"},
        {"mu-law", edit([](auto& b) { PutU16(b, 20, 7); }), "unsupported WAVE format 7"},
        {"extensible", edit([](auto& b) { PutU16(b, 20, 0xFFFE); }), "unsupported WAVE format 65534"},
        {"big-endian", edit([](auto& b) { b[3] = 'X'; }), "big-endian WAVE (RIFX) is not supported"},
        {"24 bits", edit([](auto& b) { PutU16(b, 34, 24), PutU16(b, 32, 3); }), "unsupported bit depth 24"},
        {"six channels", edit([](auto& b) { PutU16(b, 22, 6), PutU16(b, 32, 12); }), "unsupported channel count 6"},
        {"rate 50", edit([](auto& b) { PutU32(b, 24, 50); }), "unsupported sample rate 50"},
        {"block size", edit([](auto& b) { PutU16(b, 32, 3); }), "block size 3 does not fit the format"},
        {"cut short", edit([](auto& b) { b.resize(300); }), "truncated data chunk"},
        {"RIFF size past the end", edit([](auto& b) { PutU32(b, 4, 99999); }), "truncated RIFF chunk"},
        {"fmt under 16 bytes", edit([](auto& b) { PutU32(b, 16, 14); }), "fmt chunk too short"},
        {"no data chunk", edit([](auto& b) { b.resize(36), PutU32(b, 4, 28); }), "no data chunk"},
        {"empty data chunk", edit([](auto& b) { b.resize(44), PutU32(b, 40, 0), PutU32(b, 4, 36); }), "empty data chunk"},
        {"no fmt chunk", edit([](auto& b) { std::memcpy(b.data() + 12, "junk", 4); }), "no fmt chunk before the data"},
        {"text", Text("not a sound at all"), "not a RIFF WAVE file"},
        {"empty file", {}, "empty file"},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string path = File("media_bad" + std::to_string(n++) + ".wav", c.bytes);
        cSound s;
        EXPECT_FALSE(cSound::Load(s, path.c_str(), 2, 0)) << c.name;
        EXPECT_EQ(s.m_lpBuffers, nullptr) << c.name;
        cSound::Play(s, 0);  // nothing sounds, nothing breaks
        EXPECT_NE(ReadText(m_report).find(path + ": " + c.reason + "\n"), std::string::npos)
            << c.name << "\n" << ReadText(m_report);
    }
    // Once per file: another load of the same file, under another letter case, adds nothing.
    std::string path = File("media_float.wav", cases[0].bytes);
    cSound s;
    EXPECT_FALSE(cSound::Load(s, path.c_str(), 1, 0));
    std::string upper = path.substr(0, path.size() - 4) + ".WAV";
    EXPECT_FALSE(cSound::Load(s, upper.c_str(), 1, 0));
    EXPECT_EQ(CountOf(ReadText(m_report), "media_float."), 1);
    // A missing file keeps its silence, and a good file still loads after the failures.
    EXPECT_FALSE(cSound::Load(s, "sound\\NoSuchSound.wav", 1, 0));
    EXPECT_EQ(ReadText(m_report).find("NoSuchSound"), std::string::npos);
    EXPECT_TRUE(cSound::Load(s, File("media_good.wav", good).c_str(), 1, 0));
    EXPECT_EQ(WaveFailureReason(File("media_good.wav", good).c_str()), "");
    cSound::Release(s);
    DS_End();
}

class cSilentSynth : public audio::MidiSynth {
public:
    void ShortMessage(uint32_t) override {}
    void SysEx(const uint8_t*, int) override {}
    void Silence() override {}
    void Render(float*, int) override {}
};

TEST_F(MediaFailureTest, MusicFilesThatCannotBePlayedAreReportedAndMidiIsTriedNext) {
    audio::SetMidiSynthFactory([] { return std::make_unique<cSilentSynth>(); });
    std::vector<float> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3f * (float)std::sin(i * 0.05);
    std::string goodHost = HostTemp("media_tune.ogg");
    ASSERT_TRUE(tools::WriteOggVorbis(goodHost, 22050, 1, tone));
    const std::vector<uint8_t> good = [&] {
        std::ifstream in(goodHost, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    ASSERT_GT(good.size(), 200u);
    // The first page holds the identification header: "\x01vorbis" from byte 28.
    auto edit = [&](auto change) {
        auto b = good;
        change(b);
        return b;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"text", Text("not a tune at all"), "not an Ogg stream"},
        {"a WAVE file", tools::WaveFileBytes(11025, 8, 1, tools::MakeSine(440, 11025, 1, 0.05)), "not an Ogg stream"},
        {"empty file", {}, "empty file"},
        {"cut in the headers", edit([](auto& b) { b.resize(60); }), "truncated Ogg stream"},
        {"another codec in Ogg", edit([](auto& b) { std::memcpy(b.data() + 29, "speex ", 6); }), "not a Vorbis stream"},
    };
    tools::MidiFileWriter w(0, 96);
    int t = w.AddTrack();
    w.NoteOn(t, 0, 0, 60, 100);
    w.NoteOff(t, 96, 0, 60);
    int n = 0;
    for (const Case& c : cases) {
        std::string base = "media_bad" + std::to_string(n++);
        std::string ogg = File(base + ".ogg", c.bytes);
        ASSERT_TRUE(w.Write(HostTemp(base + ".mid")));
        BGMOGGPATH oggs[BGM_TRACKS] = {};
        BGMMIDIPATH mids[BGM_TRACKS] = {};
        std::snprintf(oggs[0], MAX_PATH, "%s", ogg.c_str());
        std::snprintf(mids[0], sizeof mids[0], "%s", ProgramPath(HostTemp(base + ".mid")).c_str());
        cBgm bgm;
        ASSERT_EQ(bgm.Init(1, oggs, mids, BGM_TRACKS), 1u);
        // The track's kind is open: the damaged Ogg file is reported, the MIDI tune plays.
        EXPECT_EQ(bgm.Play(0, 0, 1, 0, 0), 1u) << c.name;
        EXPECT_EQ(bgm.m_vecChannelKind[0], 2) << c.name;
        EXPECT_NE(ReadText(m_report).find(ogg + ": " + c.reason + "\n"), std::string::npos)
            << c.name << "\n" << ReadText(m_report);
        EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1u) << c.name;  // played again: no second line
        EXPECT_EQ(CountOf(ReadText(m_report), ogg + ":"), 1) << c.name;
        bgm.Release();
    }
    // A missing Ogg file is no failure: the MIDI file of the track is used as always.
    BGMOGGPATH oggs[BGM_TRACKS] = {"bgm\\NoSuchTune.ogg"};
    BGMMIDIPATH mids[BGM_TRACKS] = {};
    cBgm bgm;
    ASSERT_EQ(bgm.Init(1, oggs, mids, BGM_TRACKS), 1u);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 0), 0u);
    EXPECT_EQ(ReadText(m_report).find("NoSuchTune"), std::string::npos);
    // A good file after all of them plays.
    std::snprintf(oggs[0], MAX_PATH, "%s", ProgramPath(goodHost).c_str());
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1u);
    EXPECT_EQ(bgm.m_vecChannelKind[0], 1);
    bgm.Release();
    audio::SetMidiSynthFactory(nullptr);
}

TEST_F(MediaFailureTest, BitmapsThatCannotBeDecodedGetTheDecodersReason) {
    const auto good = tools::EncodeBmp(tools::SolidPicture(8, 4, 0x336699), tools::BmpOptions{});
    auto edit = [&](auto change) {
        auto b = good;
        change(b);
        return b;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"text", Text("not a picture"), "not a bitmap file"},
        {"cut in the pixels", edit([](auto& b) { b.resize(b.size() - 10); }), "truncated pixel data"},
        {"cut in the header", edit([](auto& b) { b.resize(20); }), "truncated header"},
        {"bit count 7", edit([](auto& b) { b[28] = 7; }), "unsupported bit count"},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string path = File("media_bad" + std::to_string(n++) + ".bmp", c.bytes);
        ReportBitmapFailure(path.c_str());
        ReportBitmapFailure(path.c_str());
        std::string text = ReadText(m_report);
        EXPECT_NE(text.find(path + ": " + c.reason + "\n"), std::string::npos) << c.name << "\n" << text;
        EXPECT_EQ(CountOf(text, path + ":"), 1) << c.name;
    }
    ReportBitmapFailure("bmp\\NoSuchPicture.bmp");  // a missing file keeps its own message only
    ReportBitmapFailure(File("media_good.bmp", good).c_str());  // one that decodes: nothing
    EXPECT_EQ(ReadText(m_report).find("NoSuchPicture"), std::string::npos);
    EXPECT_EQ(ReadText(m_report).find("media_good.bmp"), std::string::npos);
}

}  // namespace
