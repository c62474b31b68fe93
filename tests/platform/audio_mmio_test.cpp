// Reading RIFF files with the multimedia file functions, bounded by chunk and file sizes.
#include <gtest/gtest.h>

#include <string>

#include "platform/audio/mmsystem.h"
#include "platform/win32/files.h"
#include "tools/wave_writer.h"

namespace {

std::string TempFile(const char* name) { return std::string(VELMORA_BINARY_DIR) + "/" + name; }

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + (size_t)i] = (uint8_t)(v >> (8 * i));
}

// Descends like the program's wave loader: RIFF/WAVE, "fmt ", ascend, "data".
MMRESULT Walk(const std::string& path, DWORD* fmtSize, DWORD* dataSize, std::vector<char>* data) {
    std::string p = WindowsPathFromHost(path);
    HMMIO h = mmioOpenA(p.data(), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!h) return MMIOERR_CANNOTOPEN;
    MMCKINFO riff{}, ck{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    MMRESULT r = mmioDescend(h, &riff, nullptr, MMIO_FINDRIFF);
    if (r == 0) {
        ck.ckid = mmioFOURCC('f', 'm', 't', ' ');
        r = mmioDescend(h, &ck, &riff, MMIO_FINDCHUNK);
    }
    if (r == 0) {
        *fmtSize = ck.cksize;
        r = mmioAscend(h, &ck, 0);
    }
    if (r == 0) {
        ck.ckid = mmioFOURCC('d', 'a', 't', 'a');
        r = mmioDescend(h, &ck, &riff, MMIO_FINDCHUNK);
    }
    if (r == 0) {
        *dataSize = ck.cksize;
        data->resize(ck.cksize + 16);
        LONG got = mmioRead(h, data->data(), (LONG)data->size());
        data->resize(got < 0 ? 0 : (size_t)got);
    }
    mmioClose(h, 0);
    return r;
}

TEST(Mmio, ReadsTheChunksOfAWaveFile) {
    auto bytes = tools::WaveFileBytes(22050, 16, 2, tools::MakeSine(440, 22050, 2, 0.01));
    // A LIST chunk of odd size before "fmt " is stepped over with its pad byte.
    std::vector<uint8_t> list{'L', 'I', 'S', 'T', 5, 0, 0, 0, 'I', 'N', 'F', 'O', 'x', 0};
    bytes.insert(bytes.begin() + 12, list.begin(), list.end());
    PutU32(bytes, 4, (uint32_t)bytes.size() - 8);
    std::string path = TempFile("mmio_ok.wav");
    ASSERT_TRUE(tools::WriteBytes(path, bytes));
    DWORD fmt = 0, size = 0;
    std::vector<char> data;
    ASSERT_EQ(Walk(path, &fmt, &size, &data), (MMRESULT)MMSYSERR_NOERROR);
    EXPECT_EQ(fmt, 16u);
    EXPECT_EQ(size, 221u * 4);
    EXPECT_EQ(data.size(), size);  // the read stops at the file's end
}

TEST(Mmio, RefusesChunksThatRunPastTheirEnd) {
    auto good = tools::WaveFileBytes(8000, 8, 1, tools::MakeSine(440, 8000, 1, 0.01));
    struct Case {
        const char* name;
        size_t at;
        uint32_t value;
        size_t cut;
    } cases[] = {
        {"data size past the end", 40, 100000, 0},
        {"fmt size past the end", 16, 0x7FFFFFF0, 0},
        {"RIFF size past the end", 4, 0xFFFFFFF0, 0},
        {"file cut inside fmt", 0, 0, 30},
        {"not a RIFF file", 0, 0x46464952 + 1, 0},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        if (c.cut) bytes.resize(c.cut);
        else PutU32(bytes, c.at, c.value);
        std::string path = TempFile("mmio_bad.wav");
        ASSERT_TRUE(tools::WriteBytes(path, bytes));
        DWORD fmt = 0, size = 0;
        std::vector<char> data;
        EXPECT_EQ(Walk(path, &fmt, &size, &data), (MMRESULT)MMIOERR_CHUNKNOTFOUND) << c.name;
    }
    EXPECT_EQ(mmioOpenA((LPSTR) "no\\such\\file.wav", nullptr, 0), nullptr);
}

}  // namespace
