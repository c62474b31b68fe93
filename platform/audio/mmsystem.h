// The multimedia interfaces the program calls: result codes, WAVE formats, the multimedia file
// functions (RIFF reading), MIDI streams and the joystick. Declared here from what the program
// needs; the implementations sit on the mixer (mixer.h), FluidSynth and SDL.
#pragma once

#include "platform/win32/types.h"

typedef UINT MMRESULT;
typedef DWORD FOURCC;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_NOTENABLED 3
#define MMSYSERR_ALLOCATED 4
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_NODRIVER 6
#define MMSYSERR_NOMEM 7
#define MMSYSERR_NOTSUPPORTED 8
#define MMSYSERR_INVALFLAG 10
#define MMSYSERR_INVALPARAM 11

#define MIDIERR_UNPREPARED 64
#define MIDIERR_STILLPLAYING 65

#define JOYERR_NOERROR 0
#define JOYERR_PARMS 165
#define JOYERR_UNPLUGGED 167

// Text of a multimedia error code (at most cchText bytes with the NUL); FALSE for an unknown code.
BOOL mciGetErrorStringA(DWORD mcierr, LPSTR pszText, UINT cchText);

// ---- WAVE formats ----
#define WAVE_FORMAT_PCM 1

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
// The 16 bytes of a PCM "fmt " chunk.
struct PCMWAVEFORMAT {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
};
#pragma pack(pop)
typedef WAVEFORMATEX* LPWAVEFORMATEX;
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

// ---- multimedia files (RIFF) ----
VELMORA_DECLARE_HANDLE(HMMIO);

#define mmioFOURCC(c0, c1, c2, c3) \
    ((FOURCC)(BYTE)(c0) | ((FOURCC)(BYTE)(c1) << 8) | ((FOURCC)(BYTE)(c2) << 16) | ((FOURCC)(BYTE)(c3) << 24))
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')

#define MMIO_READ 0x00000000
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040

#define MMIOERR_BASE 256
#define MMIOERR_FILENOTFOUND (MMIOERR_BASE + 1)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CANNOTSEEK (MMIOERR_BASE + 7)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)

struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;
    DWORD dwDataOffset;
    DWORD dwFlags;
};
typedef MMCKINFO* LPMMCKINFO;
typedef const MMCKINFO* LPCMMCKINFO;

struct MMIOINFO;
typedef MMIOINFO* LPMMIOINFO;

// Opens a file (program path) for reading; null when it cannot be opened. Only reading exists.
HMMIO mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen);
MMRESULT mmioClose(HMMIO hmmio, UINT fuClose);
// Reads up to cch bytes at the current position; the count read, -1 on error.
LONG mmioRead(HMMIO hmmio, char* pch, LONG cch);
// Finds a chunk from the current position inside the parent (or the file). A chunk whose size
// runs past the end of its parent or of the file is refused (MMIOERR_CHUNKNOTFOUND).
MMRESULT mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, LPCMMCKINFO pmmckiParent, UINT fuDescend);
// Moves past the end of a chunk entered by mmioDescend (and its pad byte).
MMRESULT mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuAscend);

// ---- MIDI streams ----
VELMORA_DECLARE_HANDLE(HMIDISTRM);
VELMORA_DECLARE_HANDLE(HMIDIOUT);
typedef HMIDISTRM* LPHMIDISTRM;

#define MIDI_MAPPER ((UINT)-1)
#define CALLBACK_NULL 0x00000000
#define CALLBACK_THREAD 0x00020000

// Messages to the callback thread: MM_MOM_POSITIONCB (wParam the stream, lParam the header) for
// an event that carries MEVT_F_CALLBACK; the header's dwOffset is that event's offset.
#define MM_MOM_OPEN 0x3C7
#define MM_MOM_CLOSE 0x3C8
#define MM_MOM_DONE 0x3C9
#define MM_MOM_POSITIONCB 0x3CA

#define MHDR_DONE 0x00000001
#define MHDR_PREPARED 0x00000002
#define MHDR_INQUEUE 0x00000004
#define MHDR_ISSTRM 0x00000008

#define MIDIPROP_SET 0x80000000L
#define MIDIPROP_GET 0x40000000L
#define MIDIPROP_TIMEDIV 0x00000001L
#define MIDIPROP_TEMPO 0x00000002L

// Stream events: {delta ticks, stream id, event}; a long event is followed by its data, padded
// to a multiple of 4 bytes.
#define MEVT_F_SHORT 0x00000000L
#define MEVT_F_LONG 0x80000000L
#define MEVT_F_CALLBACK 0x40000000L
#define MEVT_EVENTTYPE(x) ((BYTE)(((x) >> 24) & 0xFF))
#define MEVT_EVENTPARM(x) ((DWORD)((x) & 0x00FFFFFFL))
#define MEVT_SHORTMSG ((BYTE)0x00)
#define MEVT_TEMPO ((BYTE)0x01)
#define MEVT_NOP ((BYTE)0x02)
#define MEVT_LONGMSG ((BYTE)0x80)

struct MIDIHDR {
    LPSTR lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    DWORD dwFlags;
    MIDIHDR* lpNext;
    DWORD_PTR reserved;
    DWORD dwOffset;
    DWORD_PTR dwReserved[8];
};
typedef MIDIHDR* LPMIDIHDR;

struct MIDIEVENT {
    DWORD dwDeltaTime;
    DWORD dwStreamID;
    DWORD dwEvent;
    DWORD dwParms[1];
};

struct MIDIPROPTIMEDIV {
    DWORD cbStruct;
    DWORD dwTimeDiv;
};
struct MIDIPROPTEMPO {
    DWORD cbStruct;
    DWORD dwTempo;
};

// Opens a stream on the General MIDI synthesizer (device MIDI_MAPPER or 0; cMidi one stream).
// The stream starts paused; with CALLBACK_THREAD, dwCallback is the thread id that gets the
// MM_MOM_* messages. Only one stream can be open at a time (MMSYSERR_ALLOCATED).
MMRESULT midiStreamOpen(LPHMIDISTRM phms, UINT* puDeviceID, DWORD cMidi, DWORD_PTR dwCallback,
                        DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT midiStreamClose(HMIDISTRM hms);
MMRESULT midiStreamProperty(HMIDISTRM hms, LPBYTE lppropdata, DWORD dwProperty);
MMRESULT midiStreamOut(HMIDISTRM hms, LPMIDIHDR pmh, UINT cbmh);
MMRESULT midiStreamRestart(HMIDISTRM hms);
MMRESULT midiStreamPause(HMIDISTRM hms);
// Stops, returns every queued buffer as done and puts the stream time back to 0.
MMRESULT midiStreamStop(HMIDISTRM hms);
MMRESULT midiOutPrepareHeader(HMIDIOUT hmo, LPMIDIHDR pmh, UINT cbmh);
MMRESULT midiOutUnprepareHeader(HMIDIOUT hmo, LPMIDIHDR pmh, UINT cbmh);
// Silences every note and returns every queued buffer as done.
MMRESULT midiOutReset(HMIDIOUT hmo);

// ---- joystick ----
#define JOY_RETURNX 0x00000001L
#define JOY_RETURNY 0x00000002L
#define JOY_RETURNBUTTONS 0x00000080L

struct JOYINFOEX {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwXpos;
    DWORD dwYpos;
    DWORD dwZpos;
    DWORD dwRpos;
    DWORD dwUpos;
    DWORD dwVpos;
    DWORD dwButtons;
    DWORD dwButtonNumber;
    DWORD dwPOV;
    DWORD dwReserved1;
    DWORD dwReserved2;
};
typedef JOYINFOEX* LPJOYINFOEX;

// Reads joystick uJoyID (0..15, SDL's device order): axes 0..65535 (centre 32767), buttons as
// bits (bit i = button i + 1). JOYERR_UNPLUGGED when there is no such joystick.
MMRESULT joyGetPosEx(UINT uJoyID, LPJOYINFOEX pji);
