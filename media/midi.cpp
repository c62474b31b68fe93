#include "media/midi.h"

#include <cstring>
#include <new>

#include "core/report.h"
#include "platform/win32/messages.h"
#include "platform/win32/threads.h"

namespace {

void PutEvent(BYTE* out, DWORD at, DWORD delta, DWORD event) {
    DWORD e[3] = {delta, 0, event};
    std::memcpy(out + at, e, 12);
}

}  // namespace

cMidi::cMidi(const char* path)
    : cMidiFile(path), m_nCurrent(0), m_hStream(nullptr), m_lpHeaders(nullptr), m_nBufferCount(MIDI_BUFFERS),
      m_dwBufferSize(MIDI_BUFFERSIZE), m_dwPos(MIDIIMAGE_FIRSTEVENT), m_nState(0), m_hThread(nullptr),
      m_dwThreadId(0), m_bLoop(0) {
    if (HasImage()) Open();
}

cMidi::~cMidi() {
    if (m_hThread) {
        // The feeder ends on WM_QUIT; it never waits on anything else for long.
        PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_hStream) {
        Report("Reset", midiOutReset((HMIDIOUT)m_hStream));
        for (int i = 0; i < m_nBufferCount; ++i)
            Report("Unprepare", midiOutUnprepareHeader((HMIDIOUT)m_hStream, &m_lpHeaders[i], sizeof(MIDIHDR)));
        Report("Close", midiStreamClose(m_hStream));
        m_hStream = nullptr;
    }
    if (m_lpHeaders) {
        for (int i = 0; i < m_nBufferCount; ++i) delete[] m_lpHeaders[i].lpData;
        delete[] m_lpHeaders;
        m_lpHeaders = nullptr;
    }
}

void cMidi::Report(const char* what, MMRESULT r) const {
    if (r == MMSYSERR_NOERROR) return;
    char text[512];
    mciGetErrorStringA(r, text, sizeof text);
    WriteReport("Midi %s %s %s", m_strName.c_str(), what, text);
}

void cMidi::Open() {
    m_lpHeaders = new (std::nothrow) MIDIHDR[(size_t)m_nBufferCount]();
    if (!m_lpHeaders) return;
    for (int i = 0; i < m_nBufferCount; ++i) {
        m_lpHeaders[i].lpData = new (std::nothrow) char[m_dwBufferSize]();
        if (!m_lpHeaders[i].lpData) return;
        m_lpHeaders[i].dwBufferLength = m_dwBufferSize;
        m_lpHeaders[i].dwUser = (DWORD_PTR)i;
    }
    unsigned id = 0;
    m_hThread = (HANDLE)_beginthreadex(nullptr, 0, FeederProc, this, 0, &id);
    if (!m_hThread) return;
    m_dwThreadId = id;
    while (!PostThreadMessageA(m_dwThreadId, 0x8000, 0, 0)) Sleep(1);

    std::lock_guard<std::mutex> lock(m_mutex);
    UINT device = MIDI_MAPPER;
    MMRESULT r = midiStreamOpen(&m_hStream, &device, 1, (DWORD_PTR)m_dwThreadId, 0, CALLBACK_THREAD);
    if (r != MMSYSERR_NOERROR) {
        m_hStream = nullptr;
        Report("Open", r);
        return;
    }
    MIDIPROPTIMEDIV div{sizeof(MIDIPROPTIMEDIV), Division()};
    Report("Property", midiStreamProperty(m_hStream, (LPBYTE)&div, MIDIPROP_SET | MIDIPROP_TIMEDIV));
    m_dwPos = MIDIIMAGE_FIRSTEVENT;
    m_nState = 0;
    FillAndQueue();
}

DWORD cMidi::BuildBuffer(MIDIHDR* hdr, DWORD pos) const {
    BYTE* out = (BYTE*)hdr->lpData;
    const DWORD size = hdr->dwBufferLength;
    std::memset(out, 0, size);
    const BYTE* d = m_vecImage.data();
    const size_t end = m_vecImage.size();
    DWORD used = 0, carry = 0, resume = pos;
    long last = -1;
    bool split = false;
    while (pos < end) {
        size_t p = pos;
        DWORD delta;
        if (!ReadMidiVarLen(d, end, &p, &delta) || p >= end) break;
        BYTE status = d[p++];
        delta += carry;
        if (status < 0xF0) {
            int n = (status & 0xE0) == 0xC0 ? 1 : 2;
            if (p + (size_t)n > end) break;
            if (used + 12 > size) {
                split = true;
                break;
            }
            DWORD msg = status | (DWORD)d[p] << 8 | (n == 2 ? (DWORD)d[p + 1] << 16 : 0);
            PutEvent(out, used, delta, MEVT_F_SHORT | msg);
            last = (long)used;
            used += 12;
            carry = 0;
            pos = resume = (DWORD)(p + (size_t)n);
        } else if (status == 0xF0 || status == 0xF7) {
            DWORD len;
            if (!ReadMidiVarLen(d, end, &p, &len) || len > end - p) break;
            DWORD bytes = len + 1;
            DWORD total = 12 + ((bytes + 3) & ~3u);
            if (total > size) {  // larger than a whole buffer: left out like a meta event
                carry = delta;
                pos = (DWORD)(p + len);
                continue;
            }
            if (used + total > size) {
                split = true;
                break;
            }
            PutEvent(out, used, delta, MEVT_F_LONG | bytes);
            out[used + 12] = status;
            std::memcpy(out + used + 13, d + p, len);
            last = (long)used;
            used += total;
            carry = 0;
            pos = resume = (DWORD)(p + len);
        } else {
            if (p >= end) break;
            BYTE type = d[p++];
            DWORD len;
            if (!ReadMidiVarLen(d, end, &p, &len) || len > end - p) break;
            if (type == 0x51 && len == 3) {
                if (used + 12 > size) {
                    split = true;
                    break;
                }
                DWORD tempo = (DWORD)d[p] << 16 | (DWORD)d[p + 1] << 8 | d[p + 2];
                PutEvent(out, used, delta, (DWORD)MEVT_TEMPO << 24 | tempo);
                last = (long)used;
                used += 12;
                carry = 0;
                pos = resume = (DWORD)(p + len);
            } else if (type == 0x2F) {
                if (used + 12 > size) {
                    split = true;
                    break;
                }
                PutEvent(out, used, delta, MIDI_ENDEVENT);
                used += 12;
                pos = resume = (DWORD)(p + len);
                last = -1;  // the end event carries its own callback flag
                break;
            } else {
                carry = delta;  // other meta events are left out, their time kept
                pos = (DWORD)(p + len);
            }
        }
    }
    if (!split && pos < end) resume = (DWORD)end;  // a damaged image ends here
    if (!split && pos >= end) resume = pos;
    if (last >= 0) {
        DWORD e;
        std::memcpy(&e, out + last + 8, 4);
        e |= MEVT_F_CALLBACK;
        std::memcpy(out + last + 8, &e, 4);
    }
    hdr->dwBytesRecorded = used;
    hdr->dwFlags = 0;
    return resume;
}

void cMidi::FillAndQueue() {
    if (!m_hStream || !m_lpHeaders || m_dwPos >= End()) return;
    MIDIHDR* h = &m_lpHeaders[m_nCurrent];
    if (h->dwFlags & MHDR_INQUEUE) return;
    m_dwPos = BuildBuffer(h, m_dwPos);
    MMRESULT r = midiOutPrepareHeader((HMIDIOUT)m_hStream, h, sizeof(MIDIHDR));
    Report("Prepare", r);
    if (r == MMSYSERR_NOERROR) Report("Out", midiStreamOut(m_hStream, h, sizeof(MIDIHDR)));
    m_nCurrent = (m_nCurrent + 1) % m_nBufferCount;
}

void cMidi::Restart(DWORD loop) {
    std::lock_guard<std::mutex> lock(m_mutex);
    RestartLocked(loop);
}

void cMidi::RestartLocked(DWORD loop) {
    m_bLoop = loop;
    if (!m_hStream || m_nState == 1) return;
    Report("Restart", midiStreamRestart(m_hStream));
    int before = m_nState;
    m_nState = 1;
    if (before == 0 && m_dwPos < End()) FillAndQueue();
}

void cMidi::Stop(int pause) {
    std::lock_guard<std::mutex> lock(m_mutex);
    StopLocked(pause);
}

void cMidi::StopLocked(int pause) {
    if (!m_hStream) return;
    if (pause == 0) {
        Report("Stop", midiStreamStop(m_hStream));
        m_nState = 0;
        m_dwPos = MIDIIMAGE_FIRSTEVENT;
        FillAndQueue();
    } else if (m_nState == 1) {
        Report("Pause", midiStreamPause(m_hStream));
        m_nState = 2;
    }
}

void cMidi::OnPositionCallback(LPMIDIHDR hdr) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_hStream || !m_lpHeaders) return;
    if (hdr != &m_lpHeaders[0] && hdr != &m_lpHeaders[1]) return;
    DWORD ev = 0;
    if (hdr->dwOffset + 12 <= hdr->dwBytesRecorded) std::memcpy(&ev, hdr->lpData + hdr->dwOffset + 8, 4);
    if ((ev & ~(DWORD)MEVT_F_CALLBACK) == 0x2FFF) {  // the end event (a tempo of 0x2FFF is not)
        StopLocked(0);
        if (m_bLoop) RestartLocked(1);
    } else if (m_dwPos < End()) {
        FillAndQueue();
    }
}

unsigned cMidi::FeederProc(void* param) {
    cMidi* self = static_cast<cMidi*>(param);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == MM_MOM_POSITIONCB) self->OnPositionCallback((LPMIDIHDR)msg.lParam);
    }
    return 0;
}
