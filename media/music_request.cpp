#include "media/music_request.h"

#include "media/bgm.h"

int g_nBgmTune = 0;
int g_bBgmTuneLoop = 1;

namespace {

MUSICDATA g_data;

const char* BgmFile(int tune) {
    const char* f = g_data.fnBgmFile ? g_data.fnBgmFile(tune) : nullptr;
    return f ? f : "";
}

}  // namespace

void SetMusicData(const MUSICDATA& data) { g_data = data; }

LRESULT ServeMusicSwitch(LPARAM on) {
    if (!g_Bgm.m_bInit && on) {
        g_Bgm.Release();
        InitBgm();
        return 1;
    }
    if (g_Bgm.m_bInit && !on) {
        g_Bgm.Release();
        return 1;
    }
    return 0;
}

void ServeMusicRequest(WPARAM slot, LPARAM tune) {
    if (slot <= 3) {
        int s = (int)slot;
        int n = g_data.fnMenuTune ? g_data.fnMenuTune(s) : 0;
        if (n == 0) {
            g_Bgm.Stop();
            return;
        }
        g_Bgm.SetTrackFile(s, BgmFile(n));
        DWORD loop = g_data.fnMenuTuneLoop ? (DWORD)g_data.fnMenuTuneLoop(s) : 1;
        g_Bgm.Play(0, s, loop, 0, 1);
    } else if (slot == 4) {
        g_nBgmTune = (tune >= -0x7FFFFFFF - 1 && tune <= 0x7FFFFFFF) ? (int)tune : -1;
        g_Bgm.SetTrackFile(4, BgmFile(g_nBgmTune));
        if (g_nBgmTune == 0) g_Bgm.Stop();
        else g_Bgm.Play(0, 4, (DWORD)g_bBgmTuneLoop, 0, 1);
    }
}
