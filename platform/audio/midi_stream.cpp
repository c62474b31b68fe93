// MIDI streams: queued buffers of stream events, played in sample time inside the mixer. Short
// events go to the synthesizer, tempo events change the tempo, long events go to its system
// exclusive input. An event with MEVT_F_CALLBACK sets its header's dwOffset and posts
// MM_MOM_POSITIONCB to the callback thread; a buffer whose events are all played is marked done
// (no longer queued) before that message is posted.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <memory>

#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "platform/audio/mmsystem.h"
#include "platform/win32/messages.h"

namespace {

class cMidiStream final : public audio::Voice {
public:
    cMidiStream(std::unique_ptr<audio::MidiSynth> synth, DWORD callbackThread)
        : m_synth(std::move(synth)), m_callbackThread(callbackThread) {}

    // ---- called under the mixer lock ----
    void Mix(float* acc, int frames) override {
        int done = 0;
        while (done < frames) {
            int n = frames - done;
            if (m_bPlaying) {
                FireDueEvents();
                if (!m_queue.empty() && m_bDeltaLoaded) {
                    double wait = std::ceil(m_dRemain);
                    if (wait < (double)n) n = std::max(1, (int)wait);
                }
            }
            m_synth->Render(acc + 2 * done, n);
            if (m_bPlaying && !m_queue.empty() && m_bDeltaLoaded) m_dRemain -= n;
            done += n;
        }
    }

    void SetTimeDiv(DWORD div) { m_timeDiv = div; }
    DWORD TimeDiv() const { return m_timeDiv; }
    DWORD Tempo() const { return m_tempo; }
    void Queue(LPMIDIHDR h) {
        h->dwFlags = (h->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE | MHDR_ISSTRM;
        h->lpNext = nullptr;
        m_queue.push_back(h);
    }
    void Restart() { m_bPlaying = true; }
    void Pause() {
        if (m_bPlaying) m_synth->Silence();
        m_bPlaying = false;
    }
    // Returns every queued buffer as done and puts the stream time back to the start.
    void StopAll() {
        for (LPMIDIHDR h : m_queue) h->dwFlags = (h->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        m_queue.clear();
        m_offset = 0;
        m_bDeltaLoaded = false;
        m_dRemain = 0;
        m_synth->Silence();
    }
    void Stop() {
        StopAll();
        m_bPlaying = false;
    }
    bool IsQueued(LPMIDIHDR h) const { return std::find(m_queue.begin(), m_queue.end(), h) != m_queue.end(); }
    bool Empty() const { return m_queue.empty(); }

private:
    double SamplesPerTick() const {
        if (m_timeDiv & 0x8000) {  // SMPTE: frames per second and ticks per frame
            int fps = -(int8_t)((m_timeDiv >> 8) & 0xFF);
            int tpf = m_timeDiv & 0xFF;
            if (fps <= 0 || tpf <= 0) return (double)audio::kMixRate / 1000.0;
            return (double)audio::kMixRate / ((double)fps * tpf);
        }
        DWORD div = m_timeDiv ? m_timeDiv : 96;
        return (double)m_tempo * audio::kMixRate / 1e6 / (double)div;
    }

    // The event at the current offset of the front buffer; false when the buffer has no more
    // whole events (it is then done).
    bool PeekEvent(DWORD* delta, DWORD* event, DWORD* size) const {
        LPMIDIHDR h = m_queue.front();
        DWORD used = std::min(h->dwBytesRecorded, h->dwBufferLength);
        if (m_offset + 12 > used) return false;
        const char* p = h->lpData + m_offset;
        DWORD ev;
        std::memcpy(delta, p, 4);
        std::memcpy(&ev, p + 8, 4);
        DWORD total = 12;
        if (ev & MEVT_F_LONG) {
            DWORD len = MEVT_EVENTPARM(ev);
            total += (len + 3) & ~3u;
            if ((uint64_t)m_offset + total > used) return false;
        }
        *event = ev;
        *size = total;
        return true;
    }

    void FinishFront() {
        LPMIDIHDR h = m_queue.front();
        m_queue.pop_front();
        h->dwFlags = (h->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
        m_offset = 0;
    }

    void FireDueEvents() {
        while (!m_queue.empty()) {
            DWORD delta, ev, size;
            if (!PeekEvent(&delta, &ev, &size)) {
                FinishFront();
                continue;
            }
            if (!m_bDeltaLoaded) {
                m_dRemain += (double)delta * SamplesPerTick();
                m_bDeltaLoaded = true;
            }
            if (m_dRemain > 0) return;
            LPMIDIHDR h = m_queue.front();
            DWORD at = m_offset;
            Dispatch(h, ev);
            m_offset += size;
            m_bDeltaLoaded = false;
            DWORD d2, e2, s2;
            bool last = !PeekEvent(&d2, &e2, &s2);
            if (last) FinishFront();
            if (ev & MEVT_F_CALLBACK) {
                h->dwOffset = at;
                if (m_callbackThread) {
                    DWORD thread = m_callbackThread;
                    HMIDIOUT handle = reinterpret_cast<HMIDIOUT>(this);
                    audio::Defer([thread, handle, h] {
                        PostThreadMessageA(thread, MM_MOM_POSITIONCB, (WPARAM)handle, (LPARAM)h);
                    });
                }
            }
        }
    }

    void Dispatch(LPMIDIHDR h, DWORD ev) {
        if (ev & MEVT_F_LONG) {
            const uint8_t* data = reinterpret_cast<const uint8_t*>(h->lpData + m_offset + 12);
            m_synth->SysEx(data, (int)MEVT_EVENTPARM(ev));
            return;
        }
        switch ((ev >> 24) & 0x3F) {
        case MEVT_SHORTMSG: {
            DWORD msg = MEVT_EVENTPARM(ev);
            if ((msg & 0xFF) >= 0x80 && (msg & 0xFF) < 0xF0) m_synth->ShortMessage(msg);
            break;
        }
        case MEVT_TEMPO:
            m_tempo = std::max<DWORD>(1, MEVT_EVENTPARM(ev));
            break;
        default:
            break;
        }
    }

    std::unique_ptr<audio::MidiSynth> m_synth;
    DWORD m_callbackThread;
    DWORD m_timeDiv = 96;
    DWORD m_tempo = 500000;
    std::deque<LPMIDIHDR> m_queue;
    DWORD m_offset = 0;
    bool m_bDeltaLoaded = false;
    double m_dRemain = 0;
    bool m_bPlaying = false;
};

std::map<void*, cMidiStream*> g_streams;  // under the mixer lock

cMidiStream* Find(void* h) {
    auto it = g_streams.find(h);
    return it == g_streams.end() ? nullptr : it->second;
}

}  // namespace

MMRESULT midiStreamOpen(LPHMIDISTRM phms, UINT* puDeviceID, DWORD cMidi, DWORD_PTR dwCallback, DWORD_PTR,
                        DWORD fdwOpen) {
    if (!phms) return MMSYSERR_INVALPARAM;
    *phms = nullptr;
    if (cMidi != 1) return MMSYSERR_INVALPARAM;
    if (puDeviceID && *puDeviceID != MIDI_MAPPER && *puDeviceID != 0) return MMSYSERR_BADDEVICEID;
    DWORD kind = fdwOpen & 0x00070000;
    if (kind != CALLBACK_NULL && kind != CALLBACK_THREAD) return MMSYSERR_INVALFLAG;
    {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        if (!g_streams.empty()) return MMSYSERR_ALLOCATED;
    }
    auto synth = audio::MakeMidiSynth();
    if (!synth) return MMSYSERR_NODRIVER;
    auto* s = new cMidiStream(std::move(synth), kind == CALLBACK_THREAD ? (DWORD)dwCallback : 0);
    {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        if (!g_streams.empty()) {
            delete s;
            return MMSYSERR_ALLOCATED;
        }
        g_streams[s] = s;
    }
    audio::AddUser();
    audio::AddVoice(s);
    *phms = reinterpret_cast<HMIDISTRM>(s);
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamClose(HMIDISTRM hms) {
    cMidiStream* s;
    {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        s = Find(hms);
        if (!s) return MMSYSERR_INVALHANDLE;
        s->Stop();
        g_streams.erase(hms);
    }
    audio::RemoveVoice(s);
    audio::RemoveUser();
    delete s;
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamProperty(HMIDISTRM hms, LPBYTE data, DWORD prop) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hms);
    if (!s) return MMSYSERR_INVALHANDLE;
    if (!data) return MMSYSERR_INVALPARAM;
    bool set = (prop & MIDIPROP_SET) != 0, get = (prop & MIDIPROP_GET) != 0;
    if (set == get) return MMSYSERR_INVALPARAM;
    if (prop & MIDIPROP_TIMEDIV) {
        MIDIPROPTIMEDIV* p = reinterpret_cast<MIDIPROPTIMEDIV*>(data);
        if (p->cbStruct < sizeof(MIDIPROPTIMEDIV)) return MMSYSERR_INVALPARAM;
        if (set) s->SetTimeDiv(p->dwTimeDiv & 0xFFFF);
        else p->dwTimeDiv = s->TimeDiv();
        return MMSYSERR_NOERROR;
    }
    if ((prop & MIDIPROP_TEMPO) && get) {
        MIDIPROPTEMPO* p = reinterpret_cast<MIDIPROPTEMPO*>(data);
        if (p->cbStruct < sizeof(MIDIPROPTEMPO)) return MMSYSERR_INVALPARAM;
        p->dwTempo = s->Tempo();
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_INVALPARAM;
}

MMRESULT midiStreamOut(HMIDISTRM hms, LPMIDIHDR h, UINT cb) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hms);
    if (!s) return MMSYSERR_INVALHANDLE;
    if (!h || cb < sizeof(MIDIHDR) || !h->lpData) return MMSYSERR_INVALPARAM;
    if (!(h->dwFlags & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
    if ((h->dwFlags & MHDR_INQUEUE) || s->IsQueued(h)) return MIDIERR_STILLPLAYING;
    if (h->dwBytesRecorded > h->dwBufferLength) return MMSYSERR_INVALPARAM;
    s->Queue(h);
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamRestart(HMIDISTRM hms) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hms);
    if (!s) return MMSYSERR_INVALHANDLE;
    s->Restart();
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamPause(HMIDISTRM hms) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hms);
    if (!s) return MMSYSERR_INVALHANDLE;
    s->Pause();
    return MMSYSERR_NOERROR;
}

MMRESULT midiStreamStop(HMIDISTRM hms) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hms);
    if (!s) return MMSYSERR_INVALHANDLE;
    s->Stop();
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutPrepareHeader(HMIDIOUT hmo, LPMIDIHDR h, UINT cb) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    if (!Find(hmo)) return MMSYSERR_INVALHANDLE;
    if (!h || cb < sizeof(MIDIHDR) || !h->lpData || h->dwBufferLength == 0) return MMSYSERR_INVALPARAM;
    h->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutUnprepareHeader(HMIDIOUT hmo, LPMIDIHDR h, UINT cb) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hmo);
    if (!s) return MMSYSERR_INVALHANDLE;
    if (!h || cb < sizeof(MIDIHDR)) return MMSYSERR_INVALPARAM;
    if (s->IsQueued(h)) return MIDIERR_STILLPLAYING;
    h->dwFlags &= ~(DWORD)(MHDR_PREPARED | MHDR_INQUEUE);
    return MMSYSERR_NOERROR;
}

MMRESULT midiOutReset(HMIDIOUT hmo) {
    std::lock_guard<std::mutex> lock(audio::MixerLock());
    cMidiStream* s = Find(hmo);
    if (!s) return MMSYSERR_INVALHANDLE;
    s->StopAll();
    return MMSYSERR_NOERROR;
}

BOOL mciGetErrorStringA(DWORD err, LPSTR text, UINT cch) {
    const char* s = nullptr;
    switch (err) {
    case MMSYSERR_NOERROR: s = "No error."; break;
    case MMSYSERR_ERROR: s = "Unspecified error."; break;
    case MMSYSERR_BADDEVICEID: s = "The device identifier is out of range."; break;
    case MMSYSERR_NOTENABLED: s = "The driver is not enabled."; break;
    case MMSYSERR_ALLOCATED: s = "The device is already in use."; break;
    case MMSYSERR_INVALHANDLE: s = "The handle is not valid."; break;
    case MMSYSERR_NODRIVER: s = "No synthesizer is available."; break;
    case MMSYSERR_NOMEM: s = "Not enough memory."; break;
    case MMSYSERR_NOTSUPPORTED: s = "The function is not supported."; break;
    case MMSYSERR_INVALFLAG: s = "A flag is not valid."; break;
    case MMSYSERR_INVALPARAM: s = "A parameter is not valid."; break;
    case MIDIERR_UNPREPARED: s = "The header is not prepared."; break;
    case MIDIERR_STILLPLAYING: s = "The buffer is still playing."; break;
    default: break;
    }
    if (!text || cch == 0) return s != nullptr;
    if (!s) s = "Unknown error.";
    std::strncpy(text, s, cch - 1);
    text[cch - 1] = '\0';
    return TRUE;
}
