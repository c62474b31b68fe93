// A MIDI player: the converted file streamed to the General MIDI synthesizer in two buffers of
// 24,000 bytes that its own feeder thread refills as they come back, looping when asked. The
// feeder shares the player's state with the window thread under the player's lock and is
// ended and joined when the player is deleted.
#pragma once

#include <mutex>

#include "media/midi_file.h"
#include "platform/audio/mmsystem.h"

#define MIDI_BUFFERS 2
#define MIDI_BUFFERSIZE 24000
// The program's end event: a short event with the callback flag (status 0xFF, never sent).
#define MIDI_ENDEVENT (MEVT_F_CALLBACK | 0x2FFF)

class cMidi : public cMidiFile {
public:
    explicit cMidi(const char* path);
    ~cMidi() override;

    void Restart(DWORD loop);
    // 0: stop (the next start is from the beginning); 1: pause.
    void Stop(int pause);

    // Builds a buffer from `pos` on into `hdr` (the whole buffer is cleared); the position of
    // the next event to send.
    DWORD BuildBuffer(MIDIHDR* hdr, DWORD pos) const;

    int m_nCurrent;
    HMIDISTRM m_hStream;
    MIDIHDR* m_lpHeaders;
    int m_nBufferCount;
    DWORD m_dwBufferSize;
    DWORD m_dwPos;
    int m_nState;  // 0 stopped, 1 playing, 2 paused
    HANDLE m_hThread;
    DWORD m_dwThreadId;
    DWORD m_bLoop;

private:
    void Open();
    void FillAndQueue();
    void StopLocked(int pause);
    void RestartLocked(DWORD loop);
    void OnPositionCallback(LPMIDIHDR hdr);
    void Report(const char* what, MMRESULT r) const;
    DWORD End() const { return (DWORD)m_vecImage.size(); }
    static unsigned FeederProc(void* param);

    mutable std::mutex m_mutex;
};
