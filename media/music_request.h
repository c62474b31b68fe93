// WM_USER+6 on the window thread: the menu tunes (slots 0-3) and the tune that a stage or a flow
// chooses (slot 4), from the project's music table.
#pragma once

#include <functional>

#include "platform/win32/types.h"

// What the music request reads of the project's data; start-up connects it once the system
// settings and the database are loaded. Each function reads its element through CheckedAt:
//   fnMenuTune(slot)     cSystemData::m_vecMenuTunes[slot] (a record number of the Bgm table)
//   fnMenuTuneLoop(slot) cSystemData::m_vecMenuTuneLoop[slot]
//   fnBgmFile(n)         the file field of record n of the Bgm table (cBgmRec, "Bgm.dat")
struct MUSICDATA {
    std::function<int(int)> fnMenuTune;
    std::function<int(int)> fnMenuTuneLoop;
    std::function<const char*(int)> fnBgmFile;
};
void SetMusicData(const MUSICDATA& data);

// The tune a stage or a flow asked for (stored from lParam of slot 4) and its loop flag, which
// the play code sets before sending slot 4.
extern int g_nBgmTune;
extern int g_bBgmTuneLoop;

void ServeMusicRequest(WPARAM slot, LPARAM tune);

// Slot 5: the music option was switched (lParam the new switch). The player lives on the window
// thread, so it is started or released there. Answers 1 when it was started or released.
#define MUSIC_REQ_SWITCH 5
LRESULT ServeMusicSwitch(LPARAM on);
