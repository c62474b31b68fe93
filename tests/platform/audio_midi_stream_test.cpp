// MIDI streams with a recording synthesizer: event timing in samples, tempo, pause, stop,
// callbacks and buffer bookkeeping; and one stream on the real General MIDI synthesizer.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "platform/audio/mmsystem.h"
#include "platform/win32/messages.h"
#include "platform/win32/threads.h"
#include "tests/platform/audio_support.h"

namespace {

struct Heard {
    uint64_t sample;
    uint32_t msg;  // a short message, or 0xF0 for a system exclusive
    std::vector<uint8_t> sysex;
};

struct Recorder {
    std::mutex m;
    std::vector<Heard> heard;
    int silenced = 0;
    uint64_t now = 0;
};

class cRecordingSynth : public audio::MidiSynth {
public:
    explicit cRecordingSynth(std::shared_ptr<Recorder> r) : m_r(std::move(r)) {}
    void ShortMessage(uint32_t msg) override { m_r->heard.push_back({m_r->now, msg, {}}); }
    void SysEx(const uint8_t* d, int n) override { m_r->heard.push_back({m_r->now, 0xF0, {d, d + n}}); }
    void Silence() override { ++m_r->silenced; }
    void Render(float* acc, int frames) override {
        (void)acc;
        m_r->now += (uint64_t)frames;
    }

private:
    std::shared_ptr<Recorder> m_r;
};

// Stream buffer builder: {delta, 0, event} entries and long events with padded data.
struct Buffer {
    std::vector<char> bytes;
    MIDIHDR hdr{};
    void Event(DWORD delta, DWORD ev) {
        DWORD e[3] = {delta, 0, ev};
        bytes.insert(bytes.end(), (char*)e, (char*)e + 12);
    }
    void Long(DWORD delta, const std::vector<uint8_t>& data, DWORD flags = 0) {
        Event(delta, MEVT_F_LONG | flags | (DWORD)data.size());
        bytes.insert(bytes.end(), data.begin(), data.end());
        while (bytes.size() % 4) bytes.push_back(0);
    }
    LPMIDIHDR Header() {
        hdr.lpData = bytes.data();
        hdr.dwBufferLength = hdr.dwBytesRecorded = (DWORD)bytes.size();
        return &hdr;
    }
};

constexpr DWORD NoteOn(int note) { return 0x90 | (DWORD)note << 8 | 100u << 16; }

class MidiStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio::SetManualMode(true);
        m_rec = std::make_shared<Recorder>();
        auto rec = m_rec;
        audio::SetMidiSynthFactory([rec] { return std::make_unique<cRecordingSynth>(rec); });
        UINT dev = MIDI_MAPPER;
        ASSERT_EQ(midiStreamOpen(&m_hms, &dev, 1, GetCurrentThreadId(), 0, CALLBACK_THREAD), 0u);
        MIDIPROPTIMEDIV div{sizeof(div), 96};
        ASSERT_EQ(midiStreamProperty(m_hms, (LPBYTE)&div, MIDIPROP_SET | MIDIPROP_TIMEDIV), 0u);
    }
    void TearDown() override {
        midiOutReset((HMIDIOUT)m_hms);
        EXPECT_EQ(midiStreamClose(m_hms), 0u);
        audio::SetMidiSynthFactory(nullptr);
    }
    void Send(Buffer& b) {
        LPMIDIHDR h = b.Header();
        ASSERT_EQ(midiOutPrepareHeader((HMIDIOUT)m_hms, h, sizeof(MIDIHDR)), 0u);
        ASSERT_EQ(midiStreamOut(m_hms, h, sizeof(MIDIHDR)), 0u);
    }
    std::vector<Heard> Events() {
        std::lock_guard<std::mutex> lock(m_rec->m);
        return m_rec->heard;
    }
    HMIDISTRM m_hms = nullptr;
    std::shared_ptr<Recorder> m_rec;
};

// 96 ticks per quarter at 500000 us per quarter: 229.6875 samples per tick.
TEST_F(MidiStreamTest, NoteTimesFollowTempoChanges) {
    Buffer b;
    b.Event(0, NoteOn(60));
    b.Event(96, NoteOn(61));                  // 0.5 s
    b.Event(0, (DWORD)MEVT_TEMPO << 24 | 250000);
    b.Event(96, NoteOn(62));                  // + 0.25 s
    b.Event(48, NoteOn(63));                  // + 0.125 s
    Send(b);
    ASSERT_EQ(midiStreamRestart(m_hms), 0u);
    audiotest::RenderMix(44100);
    auto h = Events();
    ASSERT_EQ(h.size(), 4u);
    EXPECT_EQ(h[0].sample, 0u);
    EXPECT_EQ(h[1].sample, 22050u);
    EXPECT_EQ(h[2].sample, 22050u + 11025u);
    EXPECT_EQ(h[3].sample, 22050u + 11025u + 5513u);  // 5512.5 rounds up to the next sample
    EXPECT_EQ(h[3].msg, NoteOn(63));
    EXPECT_TRUE(b.hdr.dwFlags & MHDR_DONE);
    EXPECT_FALSE(b.hdr.dwFlags & MHDR_INQUEUE);
}

TEST_F(MidiStreamTest, PauseHoldsTimeAndStopStartsOver) {
    Buffer b;
    b.Event(96, NoteOn(60));
    Send(b);
    // The stream opens paused: nothing plays before the restart.
    audiotest::RenderMix(30000);
    EXPECT_TRUE(Events().empty());
    midiStreamRestart(m_hms);
    audiotest::RenderMix(10000);
    midiStreamPause(m_hms);
    EXPECT_EQ(m_rec->silenced, 1);
    audiotest::RenderMix(50000);
    EXPECT_TRUE(Events().empty());
    midiStreamRestart(m_hms);
    audiotest::RenderMix(20000);
    auto h = Events();
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].sample, 30000u + 10000u + 50000u + 12050u);

    // Stop hands back the queued buffer and the next one starts from time 0.
    Buffer c;
    c.Event(1000, NoteOn(61));
    Send(c);
    EXPECT_TRUE(c.hdr.dwFlags & MHDR_INQUEUE);
    EXPECT_EQ(midiOutUnprepareHeader((HMIDIOUT)m_hms, &c.hdr, sizeof(MIDIHDR)), (MMRESULT)MIDIERR_STILLPLAYING);
    ASSERT_EQ(midiStreamStop(m_hms), 0u);
    EXPECT_TRUE(c.hdr.dwFlags & MHDR_DONE);
    EXPECT_FALSE(c.hdr.dwFlags & MHDR_INQUEUE);
    EXPECT_EQ(midiOutUnprepareHeader((HMIDIOUT)m_hms, &c.hdr, sizeof(MIDIHDR)), 0u);
    Buffer d;
    d.Event(96, NoteOn(62));
    Send(d);
    midiStreamRestart(m_hms);
    uint64_t start = m_rec->now;
    audiotest::RenderMix(30000);
    h = Events();
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[1].sample - start, 22050u);
}

TEST_F(MidiStreamTest, CallbackEventsPostTheirOffsetAfterTheBufferIsDone) {
    Buffer a, b;
    a.Event(10, NoteOn(60));
    a.Event(10, NoteOn(61) | MEVT_F_CALLBACK);  // offset 12, the last event of a
    b.Event(10, NoteOn(62));
    b.Event(10, MEVT_F_CALLBACK | 0x2FFF);       // the program's end event
    Send(a);
    Send(b);
    midiStreamRestart(m_hms);
    audiotest::RenderMix(44100);
    std::vector<std::pair<LPMIDIHDR, DWORD>> got;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ASSERT_EQ(msg.message, (UINT)MM_MOM_POSITIONCB);
        EXPECT_EQ((HMIDISTRM)msg.wParam, m_hms);
        LPMIDIHDR h = (LPMIDIHDR)msg.lParam;
        EXPECT_TRUE(h->dwFlags & MHDR_DONE);
        EXPECT_FALSE(h->dwFlags & MHDR_INQUEUE);
        got.push_back({h, h->dwOffset});
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].first, &a.hdr);
    EXPECT_EQ(got[0].second, 12u);
    EXPECT_EQ(got[1].first, &b.hdr);
    EXPECT_EQ(got[1].second, 12u);
    // The end event (status 0xFF, a reset on a real port) never reaches the synthesizer.
    auto h = Events();
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[2].msg, NoteOn(62));
}

TEST_F(MidiStreamTest, LongEventsAreSystemExclusive) {
    Buffer b;
    b.Long(0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    b.Event(0, NoteOn(60));
    Send(b);
    midiStreamRestart(m_hms);
    audiotest::RenderMix(100);
    auto h = Events();
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[0].msg, 0xF0u);
    EXPECT_EQ(h[0].sysex, (std::vector<uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_EQ(h[1].msg, NoteOn(60));
}

TEST_F(MidiStreamTest, RefusesMisuse) {
    Buffer b;
    b.Event(0, NoteOn(60));
    LPMIDIHDR h = b.Header();
    EXPECT_EQ(midiStreamOut(m_hms, h, sizeof(MIDIHDR)), (MMRESULT)MIDIERR_UNPREPARED);
    ASSERT_EQ(midiOutPrepareHeader((HMIDIOUT)m_hms, h, sizeof(MIDIHDR)), 0u);
    ASSERT_EQ(midiStreamOut(m_hms, h, sizeof(MIDIHDR)), 0u);
    EXPECT_EQ(midiStreamOut(m_hms, h, sizeof(MIDIHDR)), (MMRESULT)MIDIERR_STILLPLAYING);
    HMIDISTRM second = nullptr;
    UINT dev = MIDI_MAPPER;
    EXPECT_EQ(midiStreamOpen(&second, &dev, 1, 0, 0, CALLBACK_NULL), (MMRESULT)MMSYSERR_ALLOCATED);
    EXPECT_EQ(midiStreamRestart((HMIDISTRM)h), (MMRESULT)MMSYSERR_INVALHANDLE);
    // A truncated long event ends its buffer instead of reading past it.
    Buffer bad;
    bad.Event(0, MEVT_F_LONG | 400);
    Send(bad);
    midiStreamRestart(m_hms);
    audiotest::RenderMix(100);
    EXPECT_TRUE(bad.hdr.dwFlags & MHDR_DONE);
    EXPECT_EQ(Events().size(), 1u);
    char text[512];
    EXPECT_TRUE(mciGetErrorStringA(MMSYSERR_ALLOCATED, text, sizeof(text)));
    EXPECT_GT(std::strlen(text), 0u);
}

// The real synthesizer: a note on the General MIDI piano is heard.
TEST(MidiStreamSynth, FluidSynthPlaysANote) {
    audio::SetManualMode(true);
    HMIDISTRM hms = nullptr;
    UINT dev = MIDI_MAPPER;
    ASSERT_EQ(midiStreamOpen(&hms, &dev, 1, 0, 0, CALLBACK_NULL), 0u);
    Buffer b;
    b.Event(0, 0xC0);               // program 0 on channel 0
    b.Event(0, NoteOn(69));
    b.Event(96, 0x80 | 69u << 8);
    LPMIDIHDR h = b.Header();
    ASSERT_EQ(midiOutPrepareHeader((HMIDIOUT)hms, h, sizeof(MIDIHDR)), 0u);
    ASSERT_EQ(midiStreamOut(hms, h, sizeof(MIDIHDR)), 0u);
    ASSERT_EQ(midiStreamRestart(hms), 0u);
    auto out = audiotest::RenderMix(22050);
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs((int)s));
    EXPECT_GT(peak, 500);
    midiOutReset((HMIDIOUT)hms);
    midiOutUnprepareHeader((HMIDIOUT)hms, h, sizeof(MIDIHDR));
    EXPECT_EQ(midiStreamClose(hms), 0u);
}

}  // namespace
