// The music manager: five tracks (0-3 the menu tunes, 4 the stage's), each with an Ogg path and
// a MIDI path and a kind saying which to use, played on a channel by the Ogg player or a MIDI
// player. All on the window thread.
#pragma once

#include <vector>

#include "media/midi.h"
#include "media/vox_player.h"

#define BGM_TRACKS 5
typedef char BGMOGGPATH[MAX_PATH];
typedef char BGMMIDIPATH[264];

class cBgm {
public:
    cBgm();
    ~cBgm();
    DWORD Init(int channels, BGMOGGPATH* oggPaths, BGMMIDIPATH* midiPaths, int tracks);
    DWORD SetTrackFile(int track, const char* path);
    DWORD Play(int channel, int track, DWORD loop, int pause, int force);
    void Stop();
    void Release();

    DWORD m_bInit;
    cVoxPlayer m_Vox;
    BGMOGGPATH* m_lpOggPath;
    std::vector<cMidi*> m_vecMidi;
    std::vector<DWORD> m_vecLoop;
    BGMMIDIPATH* m_lpMidiPath;
    int m_nTrack;
    std::vector<int> m_vecTrackKind;    // 0 undecided, 1 Ogg, 2 MIDI
    std::vector<int> m_vecChannelKind;  // 0 nothing, 1 Ogg, 2 MIDI

private:
    DWORD PlayMidi(int channel, const char* path, DWORD loop);
    void StopMidi(int pause);
    void DeleteMidi();
};

extern cBgm g_Bgm;
// The track files start-up gives the manager: "bgm\Title.ogg" ... "bgm\Stage.mid".
extern BGMOGGPATH g_szBgmOggPath[BGM_TRACKS];
extern BGMMIDIPATH g_szBgmMidiPath[BGM_TRACKS];
// Start-up (music option on) and switching music on: Init with 1 channel and the default tables.
DWORD InitBgm();
