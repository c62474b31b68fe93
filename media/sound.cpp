#include "media/sound.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "core/checked.h"
#include "media/media_failure.h"
#include "platform/win32/crt.h"

std::vector<cSound> g_vecSound;
std::vector<SOUNDFILEDESC> g_vecSoundFile;
LPDIRECTSOUND g_lpDS = nullptr;

namespace {

LPDIRECTSOUNDBUFFER g_lpPrimary = nullptr;
HWND g_hSoundWnd = nullptr;
std::vector<cSound>* g_pTable = nullptr;
std::vector<SOUNDFILEDESC>* g_pFiles = nullptr;

uint32_t U32At(const uint8_t* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24); }
uint16_t U16At(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }

// A chunk identifier as text: printable characters as they are, others in hex.
std::string FourCC(const uint8_t* p) {
    bool printable = true;
    for (int i = 0; i < 4; ++i) printable = printable && p[i] >= 0x20 && p[i] < 0x7F;
    char buf[16];
    if (printable)
        std::snprintf(buf, sizeof buf, "'%c%c%c%c'", p[0], p[1], p[2], p[3]);
    else
        std::snprintf(buf, sizeof buf, "%02X%02X%02X%02X", p[0], p[1], p[2], p[3]);
    return buf;
}

}  // namespace

std::string WaveFailureReason(const char* path) {
    FILE* fp = path && *path ? crt::fopen(path, "rb") : nullptr;
    if (!fp) return "cannot be opened";
    long size = std::fseek(fp, 0, SEEK_END) == 0 ? std::ftell(fp) : -1;
    std::fseek(fp, 0, SEEK_SET);
    uint8_t head[12];
    size_t got = size >= 0 ? std::fread(head, 1, sizeof head, fp) : 0;
    auto finish = [&](const std::string& r) {
        std::fclose(fp);
        return r;
    };
    if (size <= 0) return finish(size == 0 ? "empty file" : "cannot be read");
    if (got < 12) return finish("too short for a WAVE file");
    if (std::memcmp(head, "RIFX", 4) == 0) return finish("big-endian WAVE (RIFX) is not supported");
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return finish("not a RIFF WAVE file");
    const uint64_t end = (uint64_t)size;
    uint64_t pos = 12;
    bool haveFmt = false;
    uint8_t fmt[16] = {};
    while (pos + 8 <= end) {
        uint8_t ck[8];
        if (std::fseek(fp, (long)pos, SEEK_SET) != 0 || std::fread(ck, 1, 8, fp) != 8) return finish("cannot be read");
        uint32_t len = U32At(ck + 4);
        bool isFmt = std::memcmp(ck, "fmt ", 4) == 0, isData = std::memcmp(ck, "data", 4) == 0;
        if (pos + 8 + len > end) return finish("truncated " + std::string(isData ? "data" : isFmt ? "fmt" : FourCC(ck)) + " chunk");
        if (isFmt && !haveFmt) {
            if (len < 16) return finish("fmt chunk too short");
            if (std::fread(fmt, 1, 16, fp) != 16) return finish("cannot be read");
            haveFmt = true;
            unsigned tag = U16At(fmt), channels = U16At(fmt + 2), bits = U16At(fmt + 14), align = U16At(fmt + 12);
            unsigned long rate = U32At(fmt + 4);
            char buf[64];
            if (tag != WAVE_FORMAT_PCM) {
                std::snprintf(buf, sizeof buf, "unsupported WAVE format %u", tag);
                return finish(buf);
            }
            if (channels != 1 && channels != 2) {
                std::snprintf(buf, sizeof buf, "unsupported channel count %u", channels);
                return finish(buf);
            }
            if (bits != 8 && bits != 16) {
                std::snprintf(buf, sizeof buf, "unsupported bit depth %u", bits);
                return finish(buf);
            }
            if (rate < DSBFREQUENCY_MIN || rate > DSBFREQUENCY_MAX) {
                std::snprintf(buf, sizeof buf, "unsupported sample rate %lu", rate);
                return finish(buf);
            }
            if (align != channels * bits / 8) {
                std::snprintf(buf, sizeof buf, "block size %u does not fit the format", align);
                return finish(buf);
            }
        } else if (isData) {
            if (!haveFmt) return finish("no fmt chunk before the data");
            if (len == 0) return finish("empty data chunk");
            uint64_t riffEnd = 8 + (uint64_t)U32At(head + 4);
            if (riffEnd > end) return finish("truncated RIFF chunk");
            if (pos + 8 + len > riffEnd) return finish("data chunk runs past the RIFF chunk");
            return finish("");  // nothing wrong found
        }
        pos += 8 + (uint64_t)len + (len & 1);
    }
    if (pos < end) return finish("truncated chunk header");
    return finish(haveFmt ? "no data chunk" : "no fmt chunk");
}

static void ReportWaveFailure(const char* path) {
    if (MediaFileExists(path)) ReportMediaFailure(path, WaveFailureReason(path));
}

cSound::cSound() : m_szName{}, m_lpBuffers(nullptr), m_nCount(0), m_nNext(0) {}

bool DS_Init(HWND hwnd, DWORD rate, WORD bits, WORD channels) {
    if (DirectSoundCreate(nullptr, &g_lpDS, nullptr) != DS_OK) return false;
    if (g_lpDS->SetCooperativeLevel(hwnd, DSSCL_PRIORITY) != DS_OK) return false;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if (g_lpDS->CreateSoundBuffer(&desc, &g_lpPrimary, nullptr) != DS_OK) return false;
    WAVEFORMATEX fmt{};
    fmt.wFormatTag = WAVE_FORMAT_PCM;
    fmt.nChannels = channels;
    fmt.nSamplesPerSec = rate;
    fmt.wBitsPerSample = bits;
    fmt.nBlockAlign = (WORD)(bits / 8 * channels);
    fmt.nAvgBytesPerSec = rate * fmt.nBlockAlign;
    g_lpPrimary->SetFormat(&fmt);  // the result is not needed
    g_hSoundWnd = hwnd;
    g_pTable = nullptr;
    g_pFiles = nullptr;
    return true;
}

void DS_End() {
    if (!g_lpDS) return;
    if (g_pTable)
        for (cSound& s : *g_pTable) cSound::Release(s);
    if (g_lpPrimary) g_lpPrimary->Release();
    g_lpPrimary = nullptr;
    g_lpDS->Release();
    g_lpDS = nullptr;
    g_pTable = nullptr;
    g_pFiles = nullptr;
}

bool LoadWaveFile(const char* path, WAVEFILEDATA* wave) {
    if (!path || !wave) return false;
    std::memset(wave, 0, sizeof *wave);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s", path);
    HMMIO h = mmioOpenA(name, nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!h) return false;
    MMCKINFO riff{}, ck{};
    bool ok = false;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR) {
        ck.ckid = mmioFOURCC('f', 'm', 't', ' ');
        if (mmioDescend(h, &ck, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR && ck.cksize >= 16) {
            // Only as much of a larger "fmt " chunk as the structure holds is read.
            LONG want = ck.cksize < sizeof(WAVEFORMATEX) ? (LONG)ck.cksize : (LONG)sizeof(WAVEFORMATEX);
            ok = mmioRead(h, (char*)&wave->fmt, want) == want && wave->fmt.wFormatTag == WAVE_FORMAT_PCM;
            if (want < (LONG)sizeof(WAVEFORMATEX)) wave->fmt.cbSize = 0;
            ok = ok && mmioAscend(h, &ck, 0) == MMSYSERR_NOERROR;
        }
    }
    if (ok) {
        ck.ckid = mmioFOURCC('d', 'a', 't', 'a');
        ok = mmioDescend(h, &ck, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR && ck.cksize > 0;
    }
    if (ok) {
        wave->pData = new (std::nothrow) BYTE[ck.cksize];
        ok = wave->pData && mmioRead(h, (char*)wave->pData, (LONG)ck.cksize) == (LONG)ck.cksize;
        wave->dwSize = ck.cksize;
    }
    mmioClose(h, 0);
    if (!ok) FreeWaveFile(wave);
    return ok;
}

void FreeWaveFile(WAVEFILEDATA* wave) {
    if (!wave) return;
    delete[] wave->pData;
    wave->pData = nullptr;
    wave->dwSize = 0;
}

bool cSound::CreateBuffer(LPDIRECTSOUNDBUFFER* slot, const char* path) {
    if (!g_lpDS) return true;
    if (!slot) return false;
    WAVEFILEDATA wave;
    if (!LoadWaveFile(path, &wave)) {
        ReportWaveFailure(path);
        return false;
    }
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                   DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = wave.dwSize;
    desc.lpwfxFormat = &wave.fmt;
    bool ok = g_lpDS->CreateSoundBuffer(&desc, slot, nullptr) == DS_OK;
    if (ok) {
        void *p1 = nullptr, *p2 = nullptr;
        DWORD n1 = 0, n2 = 0;
        if ((*slot)->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER) == DS_OK) {
            std::memcpy(p1, wave.pData, n1 < wave.dwSize ? n1 : wave.dwSize);
            (*slot)->Unlock(p1, n1, p2, n2);
        }
    }
    FreeWaveFile(&wave);
    if (!ok) ReportWaveFailure(path);
    return ok;
}

bool DSDuplicateBuffer(LPDIRECTSOUNDBUFFER* slot, LPDIRECTSOUNDBUFFER source) {
    if (!g_lpDS) return true;
    if (!slot || !source) return false;
    return g_lpDS->DuplicateSoundBuffer(source, slot) == DS_OK;
}

bool cSound::Load(cSound& entry, const char* path, int count, LONG volume) {
    if (!g_lpDS) return true;
    Release(entry);
    entry = cSound();
    if (count < 1 || !path) return false;  // the first buffer always exists
    entry.m_lpBuffers = new (std::nothrow) LPDIRECTSOUNDBUFFER[(size_t)count]();
    if (!entry.m_lpBuffers) return false;
    entry.m_nCount = count;  // kept with the array, so a failure below releases what exists
    bool ok = CreateBuffer(&entry.m_lpBuffers[0], path);
    for (int i = 1; ok && i < count; ++i) ok = DSDuplicateBuffer(&entry.m_lpBuffers[i], entry.m_lpBuffers[0]);
    if (!ok) {
        Release(entry);
        return false;
    }
    std::snprintf(entry.m_szName, sizeof entry.m_szName, "%s", path);
    if (volume != 0)
        for (int i = 0; i < count; ++i) SetVolume(entry, i, volume, 0);
    return true;
}

int cSound::LoadTable(std::vector<cSound>& table, std::vector<SOUNDFILEDESC>& files, LONG volume) {
    g_pTable = &table;
    g_pFiles = &files;
    for (int i = 0; i < (int)table.size(); ++i) {
        if (table[(size_t)i].m_lpBuffers) continue;
        SOUNDFILEDESC& f = CheckedAt(files, i);
        Load(table[(size_t)i], f.szPath, (int)(f.dwCount > 64 ? 64 : f.dwCount), volume != 0 ? volume : f.lVolume);
    }
    return 1;
}

void cSound::Play(cSound& entry, DWORD flags) {
    if (!g_lpDS || !entry.m_lpBuffers || entry.m_nCount < 1) return;
    if (entry.m_nNext < 0 || entry.m_nNext >= entry.m_nCount) entry.m_nNext = 0;
    LPDIRECTSOUNDBUFFER b = entry.m_lpBuffers[entry.m_nNext];
    if (!b) return;
    b->Stop();
    b->SetCurrentPosition(0);
    b->Play(0, 0, flags);
    if (++entry.m_nNext >= entry.m_nCount) entry.m_nNext = 0;
}

LONG cSound::SetVolume(cSound& entry, int index, LONG volume, int relative) {
    if (!g_lpDS || !entry.m_lpBuffers || index < 0 || index >= entry.m_nCount) return 0;
    LPDIRECTSOUNDBUFFER b = entry.m_lpBuffers[index];
    if (!b) return 0;
    long long v = volume;
    if (relative) {
        LONG cur = 0;
        b->GetVolume(&cur);
        v += cur;
    }
    if (v < DSBVOLUME_MIN) v = DSBVOLUME_MIN;
    if (v > DSBVOLUME_MAX) v = DSBVOLUME_MAX;
    b->SetVolume((LONG)v);
    return (LONG)v;
}

LONG cSound::GetVolume(cSound& entry, int index) {
    if (!g_lpDS || !entry.m_lpBuffers || index < 0 || index >= entry.m_nCount) return 0;
    LONG v = 0;
    if (entry.m_lpBuffers[index]) entry.m_lpBuffers[index]->GetVolume(&v);
    return v;
}

void cSound::Release(cSound& entry) {
    if (!entry.m_lpBuffers) return;
    for (int i = entry.m_nCount - 1; i >= 0; --i) {
        if (entry.m_lpBuffers[i]) entry.m_lpBuffers[i]->Release();
        entry.m_lpBuffers[i] = nullptr;
    }
    delete[] entry.m_lpBuffers;
    entry.m_lpBuffers = nullptr;
    entry.m_nCount = 0;
    entry.m_nNext = 0;
}

void PlayCursorSound(int keyBits, int axes, int sound) {
    if (!g_pTable) return;
    if ((axes & 1) && (keyBits & 3)) cSound::Play(CheckedAt(*g_pTable, sound), 0);
    if ((axes & 2) && (keyBits & 12)) cSound::Play(CheckedAt(*g_pTable, sound), 0);
}

void BuildSoundTable(const std::vector<std::string>& systemSounds, const std::vector<std::string>& soundRecordFiles) {
    size_t records = soundRecordFiles.empty() ? 1 : soundRecordFiles.size();
    size_t count = records + SYSTEM_SOUNDS - 1;
    for (cSound& s : g_vecSound) cSound::Release(s);
    g_vecSound.assign(count, cSound());
    g_vecSoundFile.assign(count, SOUNDFILEDESC{});
    for (size_t i = 0; i < count; ++i) {
        const std::string* name = nullptr;
        if (i < SYSTEM_SOUNDS) {
            if (i < systemSounds.size()) name = &systemSounds[i];
        } else if (i - SYSTEM_SOUNDS + 1 < soundRecordFiles.size()) {
            name = &soundRecordFiles[i - SYSTEM_SOUNDS + 1];
        }
        SOUNDFILEDESC& f = g_vecSoundFile[i];
        if (name) std::snprintf(f.szPath, sizeof f.szPath, "%s", name->c_str());
        f.dwCount = 1;
        f.lVolume = 0;
        f.dwFlags = 1;
    }
}

void ServeSoundRequest(WPARAM n) {
    int index = n <= 0x7FFFFFFF ? (int)n : -1;
    cSound::Play(CheckedAt(g_vecSound, index), 0);
}
