#include "media/bgm.h"

#include <cstdio>
#include <cstring>

#include "core/checked.h"
#include "core/helpers.h"
#include "core/report.h"

cBgm g_Bgm;
BGMOGGPATH g_szBgmOggPath[BGM_TRACKS] = {"bgm\\Title.ogg", "bgm\\WorldMap.ogg", "bgm\\Challenge.ogg",
                                         "bgm\\Option.ogg", "bgm\\Stage.ogg"};
BGMMIDIPATH g_szBgmMidiPath[BGM_TRACKS] = {"bgm\\Title.mid", "bgm\\WorldMap.mid", "bgm\\Challenge.mid",
                                           "bgm\\Option.mid", "bgm\\Stage.mid"};

DWORD InitBgm() { return g_Bgm.Init(1, g_szBgmOggPath, g_szBgmMidiPath, BGM_TRACKS); }

cBgm::cBgm() : m_bInit(0), m_lpOggPath(nullptr), m_lpMidiPath(nullptr), m_nTrack(-1) {}

cBgm::~cBgm() { Release(); }

DWORD cBgm::Init(int channels, BGMOGGPATH* oggPaths, BGMMIDIPATH* midiPaths, int tracks) {
    DeleteMidi();
    m_vecMidi.clear();
    m_vecLoop.clear();
    if (!m_Vox.LoadLibrary()) {
        MesBoxText("oggの初期化に失敗！");
        return 0;
    }
    if (channels < 0) channels = 0;
    if (tracks < 0) tracks = 0;
    m_bInit = 1;
    m_vecMidi.assign((size_t)channels, nullptr);
    m_vecLoop.assign((size_t)channels, 0);
    m_vecChannelKind.assign((size_t)channels, 0);
    m_Vox.Init(channels);
    m_lpOggPath = oggPaths;
    m_lpMidiPath = midiPaths;
    m_vecTrackKind.assign((size_t)tracks, 0);
    m_nTrack = -1;
    return 1;
}

DWORD cBgm::SetTrackFile(int track, const char* path) {
    if (!m_bInit) return 1;
    int& kind = CheckedAt(m_vecTrackKind, track);
    if (track < 0 || track >= (int)m_vecTrackKind.size() || !m_lpOggPath || !m_lpMidiPath) return 0;
    char* ogg = m_lpOggPath[track];
    char* mid = m_lpMidiPath[track];
    char ext[MAX_PATH];
    if (!path || !GetExtension(ext, path)) {
        ogg[0] = mid[0] = '\0';
        kind = 0;
        return 0;
    }
    if (std::strcmp(ext, "mid") == 0 || std::strcmp(ext, "MID") == 0) {
        ChangeExtension(mid, path, "mid");
        kind = 2;
        return 1;
    }
    if (std::strcmp(ext, "ogg") == 0 || std::strcmp(ext, "OGG") == 0) {
        std::snprintf(ogg, MAX_PATH, "%s", path);
        kind = 1;
        return 1;
    }
    std::snprintf(ogg, MAX_PATH, "%s", path);
    std::snprintf(mid, sizeof(BGMMIDIPATH), "%s", path);
    kind = 0;
    return 0;
}

void cBgm::StopMidi(int pause) {
    for (cMidi* m : m_vecMidi)
        if (m) m->Stop(pause);
}

void cBgm::DeleteMidi() {
    for (cMidi*& m : m_vecMidi) {
        delete m;
        m = nullptr;
    }
}

DWORD cBgm::PlayMidi(int channel, const char* path, DWORD loop) {
    StopMidi(1);
    DeleteMidi();
    char ext[MAX_PATH];
    if (channel < 0 || channel >= (int)m_vecMidi.size()) return 0;
    if (!GetExtension(ext, path) || std::strcmp(ext, "mid") != 0) return 0;
    cMidi* m = new (std::nothrow) cMidi(path);
    if (!m) {
        OutOfMemoryClose();
        return 0;
    }
    m_vecMidi[(size_t)channel] = m;
    if (!m->HasImage()) return 0;
    m->Restart(loop);
    return 1;
}

DWORD cBgm::Play(int channel, int track, DWORD loop, int pause, int force) {
    if (!m_bInit) return 1;
    if (track == m_nTrack && !force) return 1;
    m_nTrack = track;
    int kind = CheckedAt(m_vecTrackKind, track);
    bool valid = track >= 0 && track < (int)m_vecTrackKind.size() && channel >= 0 &&
                 channel < (int)m_vecChannelKind.size() && m_lpOggPath && m_lpMidiPath;
    if (valid) {
        int& chKind = m_vecChannelKind[(size_t)channel];
        const char* ogg = m_lpOggPath[track];
        const char* mid = m_lpMidiPath[track];
        if ((kind == 0 || kind == 1) && m_Vox.Play(channel, ogg, loop)) {
            chKind = 1;
            StopMidi(pause ? 1 : 0);
            m_vecLoop[(size_t)channel] = loop;
            return 1;
        }
        if ((kind == 0 || kind == 2) && PlayMidi(channel, mid, loop)) {
            chKind = 2;
            m_Vox.Stop();
            m_vecLoop[(size_t)channel] = loop;
            return 1;
        }
        chKind = 0;
    }
    m_nTrack = -1;
    m_Vox.Stop();
    StopMidi(0);
    return 0;
}

void cBgm::Stop() {
    if (!m_bInit) return;
    StopMidi(0);
    m_Vox.Stop();
}

void cBgm::Release() {
    m_Vox.Release();
    DeleteMidi();
    m_vecMidi.clear();
    m_vecLoop.clear();
    m_vecChannelKind.clear();
    m_vecTrackKind.clear();
    m_nTrack = -1;
    m_bInit = 0;
}
