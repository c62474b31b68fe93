// Sound effects: the global sound table of DirectSound buffers (each effect one buffer plus
// duplicates that share its data, played in turn), WAVE loading, the volume steps of the
// options, the cursor sound, and the window thread's WM_USER+5 request.
#pragma once

#include <string>
#include <vector>

#include "core/checked.h"
#include "platform/audio/audio.h"
#include "platform/win32/types.h"

// One entry of the sound-file table.
struct SOUNDFILEDESC {
    char szPath[MAX_PATH];
    DWORD dwCount;   // buffers: the original and its duplicates
    LONG lVolume;    // hundredths of a decibel, -10000..0; 0 keeps the full volume
    DWORD dwFlags;   // not read by the sound layer
};

// A WAVE file in memory: its PCM format and data.
struct WAVEFILEDATA {
    WAVEFORMATEX fmt;
    BYTE* pData;
    DWORD dwSize;
};

#define SYSTEM_SOUNDS 17

class cSound {
public:
    cSound();
    // Loading and playing; every function does nothing (and succeeds) without DirectSound.
    static bool Load(cSound& entry, const char* path, int count, LONG volume);
    static bool CreateBuffer(LPDIRECTSOUNDBUFFER* slot, const char* path);
    static int LoadTable(std::vector<cSound>& table, std::vector<SOUNDFILEDESC>& files, LONG volume);
    static void Play(cSound& entry, DWORD flags);
    static LONG SetVolume(cSound& entry, int index, LONG volume, int relative);
    static LONG GetVolume(cSound& entry, int index);
    static void Release(cSound& entry);

    char m_szName[MAX_PATH];
    LPDIRECTSOUNDBUFFER* m_lpBuffers;
    int m_nCount;
    int m_nNext;
};
// An index error on the sound table reports the entry's size of 284 bytes.
template <>
inline constexpr int kIndexErrorSize<cSound> = 284;

bool DS_Init(HWND hwnd, DWORD rate, WORD bits, WORD channels);
void DS_End();
bool DSDuplicateBuffer(LPDIRECTSOUNDBUFFER* slot, LPDIRECTSOUNDBUFFER source);
bool LoadWaveFile(const char* path, WAVEFILEDATA* wave);
void FreeWaveFile(WAVEFILEDATA* wave);
// Why a WAVE file cannot be loaded or played ("unsupported WAVE format 3", "truncated data
// chunk"); empty when nothing wrong is found. A sound that fails to load reports it once.
std::string WaveFailureReason(const char* path);

// Plays sound n of the remembered table when the bits hold a direction of the asked axes
// (bit 1 left/right, bit 2 up/down), once per axis.
void PlayCursorSound(int keyBits, int axes, int sound);

// The sound table and the sound-file table that start-up builds.
extern std::vector<cSound> g_vecSound;
extern std::vector<SOUNDFILEDESC> g_vecSoundFile;
extern LPDIRECTSOUND g_lpDS;

// Start-up's sound table: the 17 system sounds (cSystemData::m_vecSystemSounds), then the files
// of the Sound records 1, 2, ... (cSoundRec file field, record 0 being the empty entry). The
// table holds at least the 17 system sounds; every entry gets count 1, volume 0, flag 1.
void BuildSoundTable(const std::vector<std::string>& systemSounds, const std::vector<std::string>& soundRecordFiles);

// WM_USER+5 on the window thread: plays entry n (a bad n is a container error, entry 0 plays).
void ServeSoundRequest(WPARAM n);
