// MIDI files and the MIDI player: conversion to one track, stream buffers, timing through the
// stream with a recording synthesizer, and generated files on the real synthesizer.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "media/midi.h"
#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "tests/media/media_support.h"
#include "tools/midi_writer.h"
#include "tools/wave_writer.h"

using namespace mediatest;

namespace {

struct Heard {
    uint64_t sample;
    uint32_t msg;
};

struct Recorder {
    std::mutex m;
    std::vector<Heard> heard;
    uint64_t now = 0;
};

class cRecordingSynth : public audio::MidiSynth {
public:
    explicit cRecordingSynth(std::shared_ptr<Recorder> r) : m_r(std::move(r)) {}
    void ShortMessage(uint32_t msg) override {
        std::lock_guard<std::mutex> lock(m_r->m);
        m_r->heard.push_back({m_r->now, msg});
    }
    void SysEx(const uint8_t*, int) override {
        std::lock_guard<std::mutex> lock(m_r->m);
        m_r->heard.push_back({m_r->now, 0xF0});
    }
    void Silence() override {}
    void Render(float*, int frames) override { m_r->now += (uint64_t)frames; }

private:
    std::shared_ptr<Recorder> m_r;
};

std::string WriteMidi(const std::string& name, const tools::MidiFileWriter& w) {
    std::string host = HostTemp(name);
    EXPECT_TRUE(w.Write(host));
    return ProgramPath(host);
}

std::vector<BYTE> TrackData(const cMidiFile& f) {
    return std::vector<BYTE>(f.m_vecImage.begin() + MIDIIMAGE_FIRSTEVENT, f.m_vecImage.end());
}

TEST(MidiFile, FormatOneBecomesOneTrack) {
    tools::MidiFileWriter w(1, 480);
    w.SetRunningStatus(true);
    int t0 = w.AddTrack(), t1 = w.AddTrack(), t2 = w.AddTrack();
    w.Tempo(t0, 0, 400000);
    w.Text(t0, 10, "x");
    w.NoteOn(t1, 10, 0, 60, 100);
    w.NoteOn(t1, 20, 0, 62, 100);  // running status in the file
    w.NoteOn(t2, 10, 1, 64, 90);   // same time as track 1's first note: after it
    w.EndTrack(t2, 50);            // the latest end
    std::string path = WriteMidi("midi_f1.mid", w);
    cMidiFile f(path.c_str());
    ASSERT_TRUE(f.HasImage());
    const std::vector<BYTE> head{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    EXPECT_EQ(std::vector<BYTE>(f.m_vecImage.begin(), f.m_vecImage.begin() + 18), head);
    const std::vector<BYTE> want{
        0, 0xFF, 0x51, 3, 0x06, 0x1A, 0x80,  // tempo at 0
        10, 0xFF, 0x01, 1, 'x',              // text at 10 (track 0 first)
        0, 0x90, 60, 100,                    // track 1
        0, 0x91, 64, 90,                     // track 2, same time
        10, 0x90, 62, 100,                   // full status again
        30, 0xFF, 0x2F, 0x00,                // one end at 50
    };
    EXPECT_EQ(TrackData(f), want);
    DWORD len = (DWORD)f.m_vecImage[18] << 24 | (DWORD)f.m_vecImage[19] << 16 | (DWORD)f.m_vecImage[20] << 8 |
                f.m_vecImage[21];
    EXPECT_EQ(len, want.size());
    EXPECT_EQ(f.Division(), 480);
}

TEST(MidiFile, DamagedFilesAreReportedAndNotPlayed) {
    tools::MidiFileWriter ok(0, 96);
    int t = ok.AddTrack();
    ok.NoteOn(t, 0, 0, 60, 100);
    ok.NoteOff(t, 96, 0, 60);
    const std::vector<uint8_t> good = ok.Bytes();
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        auto b = good;
        for (size_t i = 0; i < bytes.size(); ++i) b[at + i] = bytes[i];
        return b;
    };
    auto trackBody = [&](std::vector<uint8_t> body) {
        std::vector<uint8_t> b(good.begin(), good.begin() + 18);
        uint32_t n = (uint32_t)body.size();
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back((uint8_t)(n >> shift));
        for (uint8_t v : body) b.push_back(v);
        return b;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* line;
    } cases[] = {
        {"not MThd", with(0, {'R', 'I', 'F', 'F'}), "標準MIDIでない(4)"},
        {"header length", with(7, {7}), "標準MIDIでない(6)"},
        {"format 2", with(9, {2}), "対応フォーマットが2でない"},
        {"format 3", with(9, {3}), "対応フォーマットが0または1でない"},
        {"no MTrk", with(14, {'X'}), "標準MIDIでない(4)"},
        {"track past the end", with(18, {0, 1, 0, 0}), "トラックのデータが壊れている"},
        {"more tracks than the file holds", with(11, {2}), "トラックのデータが壊れている"},
        {"running status with none before", trackBody({0, 60, 100}), "トラックのデータが壊れている"},
        {"unknown status", trackBody({0, 0xF4, 0}), "トラックのデータが壊れている"},
        {"variable length over 4 bytes", trackBody({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100}),
         "トラックのデータが壊れている"},
        {"event cut short", trackBody({0, 0x90, 60}), "トラックのデータが壊れている"},
        {"sysex longer than its track", trackBody({0, 0xF0, 0x7F, 1, 2}), "トラックのデータが壊れている"},
        {"short file", std::vector<uint8_t>(good.begin(), good.begin() + 10), "標準MIDIでない(6)"},
    };
    for (const Case& c : cases) {
        std::string report = StartReport("midi_bad_report.txt");
        std::string host = HostTemp("midi_bad.mid");
        ASSERT_TRUE(tools::WriteBytes(host, c.bytes));
        cMidiFile f(ProgramPath(host).c_str());
        EXPECT_FALSE(f.HasImage()) << c.name;
        std::string text = ReadText(report);
        EXPECT_NE(text.find(std::string("Midi ") + ProgramPath(host) + " "), std::string::npos) << c.name;
        EXPECT_NE(text.find(c.line), std::string::npos) << c.name << ": " << text;
    }
    std::string report = StartReport("midi_bad_report.txt");
    cMidiFile missing("bgm\\NoSuchTune.mid");
    EXPECT_FALSE(missing.HasImage());
    EXPECT_NE(ReadText(report).find("Midi bgm\\NoSuchTune.mid Create ファイルが開けません"), std::string::npos);
    // A track that simply stops without its end-of-track still plays.
    auto noEnd = trackBody({0, 0x90, 60, 100, 10, 0x80, 60, 0});
    std::string host = HostTemp("midi_noend.mid");
    ASSERT_TRUE(tools::WriteBytes(host, noEnd));
    cMidiFile f(ProgramPath(host).c_str());
    ASSERT_TRUE(f.HasImage());
    EXPECT_EQ(TrackData(f), (std::vector<BYTE>{0, 0x90, 60, 100, 10, 0x80, 60, 0, 0, 0xFF, 0x2F, 0}));
}

class MidiPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio::SetManualMode(true);
        m_rec = std::make_shared<Recorder>();
        auto rec = m_rec;
        audio::SetMidiSynthFactory([rec] { return std::make_unique<cRecordingSynth>(rec); });
        m_report = StartReport("midi_player_report.txt");
    }
    void TearDown() override {
        audio::SetMidiSynthFactory(nullptr);
        EXPECT_EQ(ReadText(m_report), "");  // no stream errors
    }
    std::vector<Heard> NoteOns() {
        std::lock_guard<std::mutex> lock(m_rec->m);
        std::vector<Heard> r;
        for (const Heard& h : m_rec->heard)
            if ((h.msg & 0xF0) == 0x90) r.push_back(h);
        return r;
    }
    // Renders in small steps, letting the feeder thread answer between them, as the device does.
    void Play(cMidi& m, int frames) {
        for (int done = 0; done < frames; done += 256) {
            std::vector<int16_t> out(512);
            audio::Render(out.data(), 256);
            for (int i = 0; i < 2000; ++i) {
                // Waits for a queued buffer and, when looping, for the restart after the end.
                bool queued = (m.m_lpHeaders[0].dwFlags | m.m_lpHeaders[1].dwFlags) & MHDR_INQUEUE;
                if (queued && (m.m_nState == 1 || !m.m_bLoop)) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    std::shared_ptr<Recorder> m_rec;
    std::string m_report;
};

TEST_F(MidiPlayerTest, BuffersEncodeEventsAndSplitAtTheSize) {
    tools::MidiFileWriter w(0, 96);
    int t = w.AddTrack();
    w.Tempo(t, 0, 600000);
    w.SysEx(t, 0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    w.ProgramChange(t, 5, 0, 10);
    w.Text(t, 10, "a");               // left out; its 5 ticks go to the next event
    w.SysEx(t, 15, std::vector<uint8_t>(30000, 1));  // larger than a buffer: left out too
    uint32_t tick = 20;
    for (int i = 0; i < 2500; ++i) w.NoteOn(t, tick++, 0, 60, i % 2 ? 0 : 90);
    cMidi m(WriteMidi("midi_split.mid", w).c_str());
    ASSERT_TRUE(m.HasImage());
    MIDIHDR h{};
    std::vector<char> buf(MIDI_BUFFERSIZE, 0x55);
    h.lpData = buf.data();
    h.dwBufferLength = MIDI_BUFFERSIZE;
    h.dwFlags = MHDR_DONE;
    DWORD next = m.BuildBuffer(&h, MIDIIMAGE_FIRSTEVENT);
    auto word = [&](DWORD at) {
        DWORD v;
        std::memcpy(&v, buf.data() + at, 4);
        return v;
    };
    EXPECT_EQ(h.dwFlags, 0u);
    EXPECT_EQ(word(8), 0x01000000u | 600000u);                 // tempo
    EXPECT_EQ(word(12 + 8), MEVT_F_LONG | 6u);                 // sysex: status and 5 bytes
    EXPECT_EQ(std::vector<char>(buf.begin() + 24, buf.begin() + 32),
              (std::vector<char>{(char)0xF0, 0x7E, 0x7F, 0x09, 0x01, (char)0xF7, 0, 0}));
    EXPECT_EQ(word(32), 5u);                                   // program change, delta 5
    EXPECT_EQ(word(32 + 8), 0xC0u | 10u << 8);
    EXPECT_EQ(word(44), 15u);                                  // first note: 5 + 5 + 5 carried
    EXPECT_EQ(word(44 + 8), 0x90u | 60u << 8 | 90u << 16);
    // The buffer is full: the last event that fits carries the callback flag.
    DWORD events = (MIDI_BUFFERSIZE - 44) / 12;
    EXPECT_EQ(h.dwBytesRecorded, 44 + events * 12);
    DWORD lastAt = 44 + (events - 1) * 12;
    EXPECT_TRUE(word(lastAt + 8) & MEVT_F_CALLBACK);
    EXPECT_FALSE(word(lastAt - 12 + 8) & MEVT_F_CALLBACK);
    // The rest goes in the next buffers, the song's end last with the end event.
    int buffers = 1;
    DWORD notes = events;
    while (next < m.m_vecImage.size()) {
        next = m.BuildBuffer(&h, next);
        ++buffers;
        notes += h.dwBytesRecorded / 12;
    }
    EXPECT_EQ(buffers, 2);
    EXPECT_EQ(notes, 2500u + 1u);
    EXPECT_EQ(word(h.dwBytesRecorded - 4), (DWORD)MIDI_ENDEVENT);
}

// Tempo changes move later notes; a text event between does not make them early.
TEST_F(MidiPlayerTest, StreamTimesFollowTempoAndPauseHolds) {
    tools::MidiFileWriter w(1, 96);
    int t0 = w.AddTrack(), t1 = w.AddTrack();
    w.Tempo(t0, 96, 250000);
    w.Text(t1, 48, "lyric");
    w.NoteOn(t1, 0, 0, 60, 100);
    w.NoteOn(t1, 96, 0, 61, 100);
    w.NoteOn(t1, 192, 0, 62, 100);
    cMidi m(WriteMidi("midi_tempo.mid", w).c_str());
    m.Restart(0);
    Play(m, 22050 + 1000);
    m.Stop(1);  // pause: time holds
    Play(m, 10000);
    m.Restart(0);
    Play(m, 20000);
    auto on = NoteOns();
    ASSERT_EQ(on.size(), 3u);
    EXPECT_EQ(on[1].sample - on[0].sample, 22050u);
    EXPECT_NEAR((double)(on[2].sample - on[1].sample), 11025.0 + 10240, 512);
}

TEST_F(MidiPlayerTest, LoopsFromTheStartAndLongSongsPlayThrough) {
    tools::MidiFileWriter w(0, 96);
    int t = w.AddTrack();
    for (int i = 0; i < 3000; ++i) w.NoteOn(t, (uint32_t)i, 0, 40 + i % 40, 100);  // 36,000 bytes: 2 buffers
    w.EndTrack(t, 3100);
    cMidi m(WriteMidi("midi_loop.mid", w).c_str());
    m.Restart(1);
    const int song = (int)(3100 * 229.6875) + 1;
    Play(m, song * 2 + 30000);
    auto on = NoteOns();
    ASSERT_GE(on.size(), 6000u);
    for (int i = 1; i < 3000; ++i) ASSERT_EQ(on[(size_t)i].msg, (uint32_t)(0x90 | (40 + i % 40) << 8 | 100 << 16));
    // The second time round is the first again, shifted by the song's length (plus the
    // feeder's answer, under one render step).
    uint64_t shift = on[3000].sample - on[0].sample;
    EXPECT_GE(shift, (uint64_t)song);
    EXPECT_LE(shift, (uint64_t)song + 512);
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(on[3000 + (size_t)i].sample - on[(size_t)i].sample, shift) << i;
    EXPECT_EQ(m.m_nState, 1);
    // Without the loop flag the song ends stopped, ready at its start.
    m.Restart(0);
    m_rec->heard.clear();
    Play(m, song + 5000);
    EXPECT_EQ(m.m_nState, 0);
}

// Files made by the tools, format 0 and 1, with running status, tempo changes and system
// exclusive, play on the General MIDI synthesizer without a report line.
TEST(MidiPlayerSynth, GeneratedFilesPlay) {
    audio::SetManualMode(true);
    std::string report = StartReport("midi_synth_report.txt");
    for (int format : {0, 1}) {
        tools::MidiFileWriter w(format, 120);
        w.SetRunningStatus(true);
        int t0 = w.AddTrack();
        int t1 = format == 1 ? w.AddTrack() : t0;
        w.SysEx(t0, 0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
        w.Tempo(t0, 0, 500000);
        w.Tempo(t0, 240, 300000);
        w.ProgramChange(t1, 0, 0, 0);
        for (int i = 0; i < 8; ++i) {
            w.NoteOn(t1, (uint32_t)(i * 60), 0, 60 + i, 100);
            w.NoteOn(t1, (uint32_t)(i * 60 + 50), 0, 60 + i, 0);
        }
        cMidi m(WriteMidi("midi_synth.mid", w).c_str());
        ASSERT_TRUE(m.HasImage());
        m.Restart(1);
        int peak = 0;
        for (int i = 0; i < 100; ++i) {
            std::vector<int16_t> out(882 * 2);
            audio::Render(out.data(), 882);
            for (int16_t s : out) peak = std::max(peak, std::abs((int)s));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_GT(peak, 500) << "format " << format;
    }
    EXPECT_EQ(ReadText(report), "");
}

// The synthesizer's library is loaded when the first tune opens its stream: when it cannot be
// loaded, that first tune says so in the report, and so does every later one.
TEST(MidiPlayerSynth, AMissingSynthesizerLibraryIsReportedByEachTune) {
    audio::SetManualMode(true);
    audio::SetMidiSynthLibrary("libvelmora-no-such-synthesizer.so.0");
    std::string report = StartReport("midi_nosynth_report.txt");
    tools::MidiFileWriter w(0, 120);
    int t = w.AddTrack();
    w.NoteOn(t, 0, 0, 60, 100);
    w.NoteOn(t, 60, 0, 60, 0);
    std::string path = WriteMidi("midi_nosynth.mid", w);
    for (int k = 0; k < 2; ++k) {
        cMidi m(path.c_str());
        ASSERT_TRUE(m.HasImage());
        m.Restart(1);  // no stream: nothing plays, nothing breaks
    }
    audio::SetMidiSynthLibrary(nullptr);
    std::string text = ReadText(report);
    size_t first = text.find("Open No synthesizer is available.");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find("Open No synthesizer is available.", first + 1), std::string::npos) << text;
    cMidi played(path.c_str());  // the real library again
    EXPECT_EQ(ReadText(report), text);
}

}  // namespace
