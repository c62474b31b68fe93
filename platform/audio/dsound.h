// The DirectSound subset the program calls: one device object, a primary buffer whose format is
// accepted (the mixer always runs at 44.1 kHz stereo 16-bit) and static secondary buffers in the
// file's own PCM format (8-bit unsigned or 16-bit signed, mono or stereo, 100..200000 Hz),
// resampled by the mixer. Duplicates share the original's data. Objects are reference counted.
#pragma once

#include "platform/audio/mmsystem.h"
#include "platform/win32/types.h"

#define DS_OK ((HRESULT)0)
#define DSERR_ALLOCATED ((HRESULT)0x8878000A)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL ((HRESULT)0x88780032)
#define DSERR_BADFORMAT ((HRESULT)0x88780064)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_GENERIC E_FAIL

#define DSSCL_NORMAL 1
#define DSSCL_PRIORITY 2
#define DSSCL_EXCLUSIVE 3
#define DSSCL_WRITEPRIMARY 4

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000

#define DSBPLAY_LOOPING 0x00000001
#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002

#define DSBVOLUME_MIN (-10000)
#define DSBVOLUME_MAX 0
#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
};
typedef DSBUFFERDESC* LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

struct GUID;
typedef const GUID* LPCGUID;
struct IUnknown;
typedef IUnknown* LPUNKNOWN;

class IDirectSoundBuffer {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT SetFormat(LPCWAVEFORMATEX pcfxFormat) = 0;
    // Locks part of the buffer for writing (DSBLOCK_ENTIREBUFFER: all of it, second part empty).
    virtual HRESULT Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* ppvAudioPtr1, LPDWORD pdwAudioBytes1,
                         LPVOID* ppvAudioPtr2, LPDWORD pdwAudioBytes2, DWORD dwFlags) = 0;
    virtual HRESULT Unlock(LPVOID pvAudioPtr1, DWORD dwAudioBytes1, LPVOID pvAudioPtr2, DWORD dwAudioBytes2) = 0;
    // Plays from the current position, once or (DSBPLAY_LOOPING) endlessly.
    virtual HRESULT Play(DWORD dwReserved1, DWORD dwPriority, DWORD dwFlags) = 0;
    // Stops; the position stays where it was.
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetCurrentPosition(DWORD dwNewPosition) = 0;
    // Volume in hundredths of a decibel, DSBVOLUME_MIN..DSBVOLUME_MAX.
    virtual HRESULT SetVolume(LONG lVolume) = 0;
    virtual HRESULT GetVolume(LPLONG plVolume) = 0;

protected:
    virtual ~IDirectSoundBuffer() = default;
};
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

class IDirectSound {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT CreateSoundBuffer(LPCDSBUFFERDESC pcDSBufferDesc, LPDIRECTSOUNDBUFFER* ppDSBuffer,
                                      LPUNKNOWN pUnkOuter) = 0;
    // A new buffer sharing the original's data and format, with its own position and volume.
    virtual HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER pDSBufferOriginal,
                                         LPDIRECTSOUNDBUFFER* ppDSBufferDuplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND hwnd, DWORD dwLevel) = 0;

protected:
    virtual ~IDirectSound() = default;
};
typedef IDirectSound* LPDIRECTSOUND;

// Creates the device object on the mixer (the default device; pcGuidDevice must be null).
// It succeeds without sound hardware: the mixer then plays into its silent sink.
HRESULT DirectSoundCreate(LPCGUID pcGuidDevice, LPDIRECTSOUND* ppDS, LPUNKNOWN pUnkOuter);
