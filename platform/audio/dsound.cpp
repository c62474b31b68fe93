// DirectSound buffers on the mixer.
#include "platform/audio/dsound.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/audio/mixer.h"

namespace {

struct SoundData {
    std::vector<uint8_t> bytes;
    WAVEFORMATEX format{};
    DWORD frames = 0;
};

class cPrimaryBuffer final : public IDirectSoundBuffer {
public:
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }
    HRESULT SetFormat(LPCWAVEFORMATEX f) override {
        if (!f) return DSERR_INVALIDPARAM;
        // The mixer's own format is fixed; any PCM format is accepted.
        return f->wFormatTag == WAVE_FORMAT_PCM ? DS_OK : DSERR_BADFORMAT;
    }
    HRESULT Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT Play(DWORD, DWORD, DWORD) override { return DS_OK; }
    HRESULT Stop() override { return DS_OK; }
    HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
    HRESULT SetVolume(LONG v) override { return (v < DSBVOLUME_MIN || v > DSBVOLUME_MAX) ? DSERR_INVALIDPARAM : DS_OK; }
    HRESULT GetVolume(LPLONG v) override {
        if (!v) return DSERR_INVALIDPARAM;
        *v = 0;
        return DS_OK;
    }

private:
    std::atomic<ULONG> m_refs{1};
};

// A secondary buffer: shared data, its own position, volume and play state. Its state is
// changed and mixed under the mixer lock.
class cSoundBuffer final : public IDirectSoundBuffer, public audio::Voice {
public:
    explicit cSoundBuffer(std::shared_ptr<SoundData> data) : m_data(std::move(data)) {
        m_step = (double)m_data->format.nSamplesPerSec / audio::kMixRate;
        audio::AddUser();
        audio::AddVoice(this);
    }
    ~cSoundBuffer() override {
        audio::RemoveVoice(this);
        audio::RemoveUser();
    }
    const std::shared_ptr<SoundData>& Data() const { return m_data; }

    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }
    HRESULT SetFormat(LPCWAVEFORMATEX) override { return DSERR_INVALIDCALL; }

    HRESULT Lock(DWORD off, DWORD bytes, LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2, DWORD flags) override {
        if (!p1 || !n1) return DSERR_INVALIDPARAM;
        DWORD size = (DWORD)m_data->bytes.size();
        if (flags & DSBLOCK_ENTIREBUFFER) {
            off = 0;
            bytes = size;
        }
        if (off >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
        *p1 = m_data->bytes.data() + off;
        DWORD first = std::min(bytes, size - off);
        *n1 = first;
        if (p2) *p2 = first < bytes ? m_data->bytes.data() : nullptr;
        if (n2) *n2 = bytes - first;
        if (!p2 && first < bytes) return DSERR_INVALIDPARAM;
        return DS_OK;
    }
    HRESULT Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DS_OK; }

    HRESULT Play(DWORD, DWORD, DWORD flags) override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        m_bLooping = (flags & DSBPLAY_LOOPING) != 0;
        m_bPlaying = m_data->frames > 0;
        return DS_OK;
    }
    HRESULT Stop() override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        m_bPlaying = false;
        return DS_OK;
    }
    HRESULT SetCurrentPosition(DWORD pos) override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        DWORD frame = pos / m_data->format.nBlockAlign;
        m_dPos = frame < m_data->frames ? (double)frame : 0.0;
        return DS_OK;
    }
    HRESULT SetVolume(LONG v) override {
        if (v < DSBVOLUME_MIN || v > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        m_lVolume = v;
        m_fGain = audio::GainFromVolume(v);
        return DS_OK;
    }
    HRESULT GetVolume(LPLONG v) override {
        if (!v) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        *v = m_lVolume;
        return DS_OK;
    }

    void Mix(float* acc, int frames) override {
        if (!m_bPlaying) return;
        const SoundData& d = *m_data;
        const DWORD n = d.frames;
        for (int i = 0; i < frames; ++i) {
            DWORD i0 = (DWORD)m_dPos;
            if (i0 >= n) {  // cannot happen, kept as a guard
                m_bPlaying = false;
                m_dPos = 0;
                return;
            }
            float frac = (float)(m_dPos - i0);
            DWORD i1 = i0 + 1;
            if (i1 >= n) i1 = m_bLooping ? 0 : i0;
            float l0, r0, l1, r1;
            Sample(i0, &l0, &r0);
            Sample(i1, &l1, &r1);
            acc[2 * i] += (l0 + (l1 - l0) * frac) * m_fGain;
            acc[2 * i + 1] += (r0 + (r1 - r0) * frac) * m_fGain;
            m_dPos += m_step;
            if (m_dPos >= (double)n) {
                if (!m_bLooping) {
                    m_bPlaying = false;
                    m_dPos = 0;
                    return;
                }
                m_dPos -= (double)n;
            }
        }
    }

private:
    void Sample(DWORD frame, float* l, float* r) const {
        const SoundData& d = *m_data;
        const uint8_t* p = d.bytes.data() + (size_t)frame * d.format.nBlockAlign;
        if (d.format.wBitsPerSample == 8) {
            *l = (float)((int)p[0] - 128) * 256.0f;
            *r = d.format.nChannels == 2 ? (float)((int)p[1] - 128) * 256.0f : *l;
        } else {
            int16_t a, b;
            std::memcpy(&a, p, 2);
            *l = a;
            if (d.format.nChannels == 2) {
                std::memcpy(&b, p + 2, 2);
                *r = b;
            } else {
                *r = *l;
            }
        }
    }

    std::atomic<ULONG> m_refs{1};
    std::shared_ptr<SoundData> m_data;
    double m_step = 1.0;
    double m_dPos = 0.0;
    bool m_bPlaying = false;
    bool m_bLooping = false;
    LONG m_lVolume = 0;
    float m_fGain = 1.0f;
};

bool ValidPcm(const WAVEFORMATEX& f) {
    if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f.nChannels != 1 && f.nChannels != 2) return false;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
    return f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

class cDirectSound final : public IDirectSound {
public:
    cDirectSound() { audio::AddUser(); }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG n = --m_refs;
        if (n == 0) delete this;
        return n;
    }
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* out, LPUNKNOWN) override {
        if (!desc || !out) return DSERR_INVALIDPARAM;
        *out = nullptr;
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
            *out = new (std::nothrow) cPrimaryBuffer();
            return *out ? DS_OK : DSERR_OUTOFMEMORY;
        }
        if (!desc->lpwfxFormat) return DSERR_INVALIDPARAM;
        if (!ValidPcm(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
        if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
        auto data = std::make_shared<SoundData>();
        data->format = *desc->lpwfxFormat;
        data->format.nAvgBytesPerSec = data->format.nSamplesPerSec * data->format.nBlockAlign;
        data->format.cbSize = 0;
        try {
            data->bytes.assign(desc->dwBufferBytes,
                               desc->lpwfxFormat->wBitsPerSample == 8 ? (uint8_t)0x80 : (uint8_t)0);
        } catch (...) {
            return DSERR_OUTOFMEMORY;
        }
        data->frames = desc->dwBufferBytes / data->format.nBlockAlign;
        *out = new (std::nothrow) cSoundBuffer(std::move(data));
        return *out ? DS_OK : DSERR_OUTOFMEMORY;
    }
    HRESULT DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original, LPDIRECTSOUNDBUFFER* dup) override {
        if (!original || !dup) return DSERR_INVALIDPARAM;
        *dup = nullptr;
        auto* src = dynamic_cast<cSoundBuffer*>(original);
        if (!src) return DSERR_INVALIDCALL;
        *dup = new (std::nothrow) cSoundBuffer(src->Data());
        return *dup ? DS_OK : DSERR_OUTOFMEMORY;
    }
    HRESULT SetCooperativeLevel(HWND, DWORD level) override {
        return (level >= DSSCL_NORMAL && level <= DSSCL_WRITEPRIMARY) ? DS_OK : DSERR_INVALIDPARAM;
    }

private:
    ~cDirectSound() override { audio::RemoveUser(); }
    std::atomic<ULONG> m_refs{1};
};

}  // namespace

HRESULT DirectSoundCreate(LPCGUID guid, LPDIRECTSOUND* ppDS, LPUNKNOWN) {
    if (!ppDS) return DSERR_INVALIDPARAM;
    *ppDS = nullptr;
    if (guid) return DSERR_INVALIDPARAM;
    *ppDS = new (std::nothrow) cDirectSound();
    return *ppDS ? DS_OK : DSERR_OUTOFMEMORY;
}
