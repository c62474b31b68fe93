// The multimedia file functions: reading RIFF files chunk by chunk, every read bounded by the
// file's size and by the chunk being read.
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/audio/mmsystem.h"
#include "platform/win32/crt.h"

namespace {

struct MmioFile {
    FILE* fp = nullptr;
    uint64_t size = 0;
    uint64_t pos = 0;
};

MmioFile* FromHandle(HMMIO h) { return reinterpret_cast<MmioFile*>(h); }

bool SeekTo(MmioFile* f, uint64_t pos) {
    if (pos > f->size) return false;
    if (std::fseek(f->fp, (long)pos, SEEK_SET) != 0) return false;
    f->pos = pos;
    return true;
}

bool ReadU32(MmioFile* f, DWORD* v) {
    unsigned char b[4];
    if (f->pos + 4 > f->size || std::fread(b, 1, 4, f->fp) != 4) return false;
    f->pos += 4;
    *v = (DWORD)b[0] | ((DWORD)b[1] << 8) | ((DWORD)b[2] << 16) | ((DWORD)b[3] << 24);
    return true;
}

}  // namespace

HMMIO mmioOpenA(LPSTR path, LPMMIOINFO, DWORD) {
    if (!path) return nullptr;
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return nullptr;
    auto* f = new (std::nothrow) MmioFile();
    if (!f) {
        std::fclose(fp);
        return nullptr;
    }
    f->fp = fp;
    if (std::fseek(fp, 0, SEEK_END) == 0) {
        long end = std::ftell(fp);
        f->size = end > 0 ? (uint64_t)end : 0;
    }
    std::fseek(fp, 0, SEEK_SET);
    return reinterpret_cast<HMMIO>(f);
}

MMRESULT mmioClose(HMMIO h, UINT) {
    MmioFile* f = FromHandle(h);
    if (!f) return MMSYSERR_INVALHANDLE;
    std::fclose(f->fp);
    delete f;
    return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO h, char* pch, LONG cch) {
    MmioFile* f = FromHandle(h);
    if (!f || !pch || cch < 0) return -1;
    uint64_t left = f->size - f->pos;
    size_t want = (size_t)((uint64_t)cch < left ? (uint64_t)cch : left);
    size_t got = want ? std::fread(pch, 1, want, f->fp) : 0;
    f->pos += got;
    return (LONG)got;
}

MMRESULT mmioDescend(HMMIO h, LPMMCKINFO ck, LPCMMCKINFO parent, UINT flags) {
    MmioFile* f = FromHandle(h);
    if (!f || !ck) return MMSYSERR_INVALPARAM;
    // The search ends at the parent's end (its data starts after its form type) or the file's.
    uint64_t end = f->size;
    if (parent) {
        uint64_t pend = (uint64_t)parent->dwDataOffset + parent->cksize;
        if (pend < end) end = pend;
    }
    FOURCC wantId = 0, wantType = 0;
    if (flags & MMIO_FINDRIFF) {
        wantId = FOURCC_RIFF;
        wantType = ck->fccType;
    } else if (flags & MMIO_FINDLIST) {
        wantId = FOURCC_LIST;
        wantType = ck->fccType;
    } else if (flags & MMIO_FINDCHUNK) {
        wantId = ck->ckid;
    }
    for (;;) {
        if (f->pos + 8 > end) return MMIOERR_CHUNKNOTFOUND;
        MMCKINFO found{};
        if (!ReadU32(f, &found.ckid) || !ReadU32(f, &found.cksize)) return MMIOERR_CHUNKNOTFOUND;
        found.dwDataOffset = (DWORD)f->pos;
        // A chunk that claims more than its parent or the file holds is refused.
        if ((uint64_t)found.dwDataOffset + found.cksize > end) return MMIOERR_CHUNKNOTFOUND;
        bool isForm = found.ckid == FOURCC_RIFF || found.ckid == FOURCC_LIST;
        if (isForm) {
            if (found.cksize < 4 || !ReadU32(f, &found.fccType)) return MMIOERR_CHUNKNOTFOUND;
        }
        bool match = flags == 0 || (found.ckid == wantId && (!isForm || !(flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) ||
                                                          found.fccType == wantType));
        if (match) {
            *ck = found;
            return MMSYSERR_NOERROR;
        }
        uint64_t next = (uint64_t)found.dwDataOffset + found.cksize + (found.cksize & 1);
        if (next > end || !SeekTo(f, next)) return MMIOERR_CHUNKNOTFOUND;
    }
}

MMRESULT mmioAscend(HMMIO h, LPMMCKINFO ck, UINT) {
    MmioFile* f = FromHandle(h);
    if (!f || !ck) return MMSYSERR_INVALPARAM;
    uint64_t next = (uint64_t)ck->dwDataOffset + ck->cksize;
    if (next & 1) ++next;
    if (next > f->size) next = f->size;  // the pad byte of the file's last chunk may be missing
    return SeekTo(f, next) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}
