// The Ogg players of the music manager: objects of the Ogg player library ("Vox.dll"), one per
// channel, at most one playing.
#pragma once

#include "platform/audio/vox.h"

class cVoxPlayer {
public:
    cVoxPlayer();
    ~cVoxPlayer();
    // Loads the library and finds CreateVox; false when it cannot be used.
    bool LoadLibrary();
    DWORD Init(int n);
    DWORD Play(int index, const char* path, DWORD loop);
    void Stop();
    void Release();

    IVox** m_lpVox;
    int m_nCount;
    int m_nPlaying;
    HMODULE m_hModule;
    CREATEVOXFUNC m_pfnCreateVox;
};
