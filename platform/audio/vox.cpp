// The Ogg player object over libvorbisfile: the file is read whole into memory when opened and
// decoded as the mixer asks for sound, so the render never waits on the disk.
#include "platform/audio/vox.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <new>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/win32/crt.h"
#include "platform/win32/threads.h"

namespace {

constexpr int kEndless = 0x7FFFFFFF;

struct MemFile {
    std::vector<unsigned char> bytes;
    size_t pos = 0;
};

size_t MemRead(void* ptr, size_t size, size_t n, void* src) {
    MemFile* f = static_cast<MemFile*>(src);
    if (size == 0) return 0;
    size_t left = f->bytes.size() - f->pos;
    size_t items = std::min(n, left / size);
    std::memcpy(ptr, f->bytes.data() + f->pos, items * size);
    f->pos += items * size;
    return items;
}

int MemSeek(void* src, ogg_int64_t off, int whence) {
    MemFile* f = static_cast<MemFile*>(src);
    ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? (ogg_int64_t)f->pos : (ogg_int64_t)f->bytes.size();
    ogg_int64_t to = base + off;
    if (to < 0 || to > (ogg_int64_t)f->bytes.size()) return -1;
    f->pos = (size_t)to;
    return 0;
}

long MemTell(void* src) { return (long)static_cast<MemFile*>(src)->pos; }

thread_local std::string t_loadFailure;

bool Fail(const char* reason) {
    t_loadFailure = reason;
    return false;
}

bool ReadWhole(const char* path, std::vector<unsigned char>* out) {
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return false;  // a missing file has no reason of its own
    bool ok = std::fseek(fp, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(fp) : -1;
    if (size == 0) {
        std::fclose(fp);
        return Fail("empty file");
    }
    ok = ok && size > 0 && std::fseek(fp, 0, SEEK_SET) == 0;
    if (ok) {
        try {
            out->resize((size_t)size);
        } catch (...) {
            ok = false;
        }
    }
    ok = ok && std::fread(out->data(), 1, (size_t)size, fp) == (size_t)size;
    std::fclose(fp);
    return ok || Fail("cannot be read");
}

// The reason for an error of libvorbisfile's open.
const char* OpenFailure(int err, const std::vector<unsigned char>& bytes) {
    const bool ogg = bytes.size() >= 4 && std::memcmp(bytes.data(), "OggS", 4) == 0;
    // The first page of a Vorbis stream carries the identification header "\x01vorbis".
    bool vorbis = false;
    for (size_t i = 27; !vorbis && i + 7 <= bytes.size() && i < 27 + 255 + 7; ++i)
        vorbis = std::memcmp(bytes.data() + i, "\x01vorbis", 7) == 0;
    switch (err) {
    case OV_ENOTVORBIS:
        return !ogg ? "not an Ogg stream" : vorbis ? "truncated Ogg stream" : "not a Vorbis stream";
    case OV_EBADHEADER:
        return "damaged Vorbis header";
    case OV_EVERSION:
        return "unsupported Vorbis version";
    case OV_EREAD:
        return ogg ? "truncated Ogg stream" : "not an Ogg stream";
    default:
        return "damaged Ogg stream";
    }
}

class cVox final : public IVox, public audio::Voice {
public:
    cVox() {
        audio::AddUser();
        audio::AddVoice(this);
    }

    BYTE Load(const char* path) override {
        Close();
        t_loadFailure.clear();
        if (!path || !*path) return 0;
        auto mem = std::make_unique<MemFile>();
        if (!ReadWhole(path, &mem->bytes)) return 0;
        ov_callbacks cb{MemRead, MemSeek, nullptr, MemTell};
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        if (int err = ov_open_callbacks(mem.get(), &m_vf, nullptr, 0, cb); err != 0) return Fail(OpenFailure(err, mem->bytes));
        vorbis_info* info = ov_info(&m_vf, -1);
        if (!info || info->channels < 1 || info->rate < 1000 || info->rate > 384000) {
            t_loadFailure = info ? "unsupported sample rate " + std::to_string(info->rate) : "damaged Vorbis header";
            ov_clear(&m_vf);
            return 0;
        }
        m_mem = std::move(mem);
        m_bOpen = true;
        m_nChannels = info->channels;
        m_step = (double)info->rate / audio::kMixRate;
        Rewind();
        if (m_bTailA) {  // not one frame decodes
            ov_clear(&m_vf);
            m_bOpen = false;
            m_mem.reset();
            return Fail("no sound could be decoded");
        }
        return 1;
    }

    void Play() override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        if (m_bOpen) m_bPlaying = true;
    }

    void Stop() override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        m_bPlaying = false;
        if (m_bOpen) Rewind();
    }

    void Close() override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        m_bPlaying = false;
        if (m_bOpen) ov_clear(&m_vf);
        m_bOpen = false;
        m_mem.reset();
    }

    void SetLoop(int count) override {
        std::lock_guard<std::mutex> lock(audio::MixerLock());
        m_nLoop = count < 0 ? 0 : count;
        m_nLoopsLeft = m_nLoop;
    }

    void Release() override {
        if (--m_refs == 0) {
            Close();
            audio::RemoveVoice(this);
            audio::RemoveUser();
            delete this;
        }
    }

    void Mix(float* acc, int frames) override {
        for (int i = 0; i < frames && m_bPlaying; ++i) {
            acc[2 * i] += (m_a[0] + (m_b[0] - m_a[0]) * (float)m_frac) * 32768.0f;
            acc[2 * i + 1] += (m_a[1] + (m_b[1] - m_a[1]) * (float)m_frac) * 32768.0f;
            m_frac += m_step;
            while (m_frac >= 1.0 && m_bPlaying) {
                m_frac -= 1.0;
                if (m_bTailA) {  // the frame just passed was the last one
                    m_bPlaying = false;
                    Rewind();
                    return;
                }
                m_a[0] = m_b[0];
                m_a[1] = m_b[1];
                m_bTailA = m_bTailB;
                if (!m_bTailB) m_bTailB = !Pull(m_b);
            }
        }
    }

private:
    ~cVox() override = default;

    // Back to the first frame, with the two frames the interpolation needs loaded.
    void Rewind() {
        m_nLoopsLeft = m_nLoop;
        m_count = m_avail = 0;
        m_frac = 0.0;
        ov_pcm_seek(&m_vf, 0);
        m_bTailA = !Pull(m_a);
        m_bTailB = m_bTailA || !Pull(m_b);
        if (m_bTailA) m_bPlaying = false;
    }

    // The next source frame as left/right; at the end of the file a loop seeks to the start, so
    // the frame after the last is the first. False when the tune has ended.
    bool Pull(float* lr) {
        lr[0] = lr[1] = 0.0f;
        int ends = 0;
        while (m_count >= m_avail) {
            float** pcm = nullptr;
            int section = 0;
            long got = ov_read_float(&m_vf, &pcm, 4096, &section);
            if (got > 0) {
                m_pcm = pcm;
                m_avail = (int)got;
                m_count = 0;
                break;
            }
            if (got < 0 && got != OV_HOLE) return false;
            if (got == OV_HOLE) continue;
            // End of the file.
            if (++ends > 1 || m_nLoopsLeft == 0) return false;
            if (m_nLoopsLeft != kEndless) --m_nLoopsLeft;
            if (ov_pcm_seek(&m_vf, 0) != 0) return false;
        }
        lr[0] = m_pcm[0][m_count];
        lr[1] = m_nChannels > 1 ? m_pcm[1][m_count] : lr[0];
        ++m_count;
        return true;
    }

    std::atomic<int> m_refs{1};
    std::unique_ptr<MemFile> m_mem;
    OggVorbis_File m_vf{};
    bool m_bOpen = false;
    bool m_bPlaying = false;
    int m_nChannels = 1;
    int m_nLoop = 0;
    int m_nLoopsLeft = 0;
    double m_step = 1.0;
    double m_frac = 0.0;
    float m_a[2] = {0, 0}, m_b[2] = {0, 0};
    bool m_bTailA = true, m_bTailB = true;
    float** m_pcm = nullptr;
    int m_avail = 0, m_count = 0;
};

// The module handle of the built-in player.
HMODULE const kVoxModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x766F78));

}  // namespace

IVox* CreateVox() { return new (std::nothrow) cVox(); }

const char* VoxLoadFailure() { return t_loadFailure.c_str(); }

HMODULE LoadLibraryA(LPCSTR name) {
    if (name) {
        const char* base = std::strrchr(name, '\\');
        base = base ? base + 1 : name;
        if (strcasecmp(base, "Vox.dll") == 0 || strcasecmp(base, "Vox") == 0) return kVoxModule;
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    if (module == kVoxModule && name && std::strcmp(name, "CreateVox") == 0)
        return reinterpret_cast<FARPROC>(&CreateVox);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) { return module == kVoxModule ? TRUE : FALSE; }
