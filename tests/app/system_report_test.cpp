// The system report's lines and the version test start-up relies on.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/report.h"
#include "app/system_report.h"
#include "platform/win32/files.h"

namespace {

TEST(SystemReport, AnswersAsACurrentSystem) {
    EXPECT_TRUE(IsOSVersionAtLeast(6, 0));  // start-up's vertical-sync choice
    EXPECT_TRUE(IsOSVersionAtLeast(10, 0));
    EXPECT_FALSE(IsOSVersionAtLeast(10, 1));
    EXPECT_FALSE(IsOSVersionAtLeast(11, 0));
    std::string os;
    int ma = 0, mi = 0;
    GetOSName(&os, &ma, &mi);
    EXPECT_EQ(ma, 10);
    EXPECT_NE(os.find(" PID 2 Build "), std::string::npos);
}

TEST(SystemReport, WritesItsLinesInOrder) {
    std::string path = std::string(VELMORA_BINARY_DIR) + "/tmp/sysreport.txt";
    system(("mkdir -p '" + std::string(VELMORA_BINARY_DIR) + "/tmp'").c_str());
    ASSERT_EQ(OpenReport(WindowsPathFromHost(path).c_str()), 1);
    ASSERT_EQ(WriteSystemInfo(), 1);
    std::ifstream f(path);
    std::vector<std::string> prefixes{"OS : ", "CPU : ", "Mem Total : ", "Mem Free : ", "Vir Total : ",
                                      "Vir Free : ", "HD Free : "};
    std::string line;
    for (const std::string& p : prefixes) {
        ASSERT_TRUE(std::getline(f, line));
        EXPECT_EQ(line.rfind(p, 0), 0u) << line;
    }
    EXPECT_FALSE(std::getline(f, line));
    EXPECT_GT(GetDiskFree(nullptr), 0);
    EXPECT_LE(GetDiskFree(nullptr), 2147483647);
}

}  // namespace
