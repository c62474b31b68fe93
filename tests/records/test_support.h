// Shared pieces of the record tests: a report file per test and a game folder per test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report.h"
#include "platform/win32/files.h"
#include "records/data_file.h"
#include "tools/records/byte_image.h"
#include "tools/records/game_folder.h"
#include "tools/testsupport/process.h"

namespace recordtest {

inline std::string TestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string n = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : n)
        if (c == '/') c = '_';
    return n;
}

inline std::string TempBase() { return std::string(VELMORA_BINARY_DIR) + "/tmp/records"; }

// A test with its own report file and game folder (entered while the test runs).
class RecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::make_unique<cGameFolder>(TempBase(), TestName());
        ASSERT_FALSE(folder_->Root().empty());
        reportPath_ = folder_->Root() + "/Report_Game.txt";
        ASSERT_EQ(OpenReport(WindowsPathFromHost(reportPath_).c_str()), 1);
        folder_->Enter();
        g_nCurrentVersion = kDataVersion;
        g_bStripReturns = FALSE;
    }
    void TearDown() override {
        g_bStripReturns = FALSE;
        folder_->Leave();
        OpenReport(WindowsPathFromHost(std::string(VELMORA_BINARY_DIR) + "/tmp/records/Report_unused.txt").c_str());
        folder_.reset();
    }
    std::string Report() const { return testsupport::ReadFile(reportPath_); }
    void ClearReport() { OpenReport(WindowsPathFromHost(reportPath_).c_str()); }

    std::unique_ptr<cGameFolder> folder_;
    std::string reportPath_;
};

// Reads a record from an in-memory file image (version word first).
template <class T>
bool ReadImage(T& record, const std::vector<uint8_t>& image, cRecordReader* out = nullptr) {
    cRecordReader local;
    cRecordReader& r = out ? *out : local;
    if (!cDataFile::OpenReadMemory(r, image.data(), image.size(), "image")) return false;
    record.Read(r);
    return true;
}

// The file image a record's SaveFile would write.
inline std::vector<uint8_t> FileImage(cDataFile& record) {
    cRecordWriter w;
    cDataFile::OpenWrite(w);
    record.Write(w);
    return w.Data();
}

}  // namespace recordtest

namespace recordtest {

// Loads every damaged form of a good file image into fresh records: the image cut at every
// offset, and every 4-byte window set to 0xFFFFFFFF (which hits each count and length). Each
// must load without a crash or a huge allocation; a cut image must be reported as ending
// early. `make` builds the record to read into; `read` reads it (defaults to Read).
template <class T, class Make, class ReadFn>
void CheckDamagedImages(const std::vector<uint8_t>& good, Make make, ReadFn read) {
    for (size_t cut = 0; cut < good.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        std::vector<uint8_t> image(good.begin(), good.begin() + cut);
        T record = make();
        cRecordReader reader;
        if (!cDataFile::OpenReadMemory(reader, image.data(), image.size(), "damaged")) {
            EXPECT_LT(cut, 4u);
            continue;
        }
        read(record, reader);
        EXPECT_TRUE(reader.Ended());
    }
    for (size_t at = 4; at + 4 <= good.size(); ++at) {
        SCOPED_TRACE("0xFFFFFFFF at " + std::to_string(at));
        std::vector<uint8_t> image = good;
        for (int i = 0; i < 4; ++i) image[at + i] = 0xFF;
        T record = make();
        cRecordReader reader;
        ASSERT_TRUE(cDataFile::OpenReadMemory(reader, image.data(), image.size(), "damaged"));
        read(record, reader);
    }
}

template <class T, class Make>
void CheckDamagedImages(const std::vector<uint8_t>& good, Make make) {
    CheckDamagedImages<T>(good, make, [](T& r, cRecordReader& reader) { r.Read(reader); });
}

}  // namespace recordtest
