// Helpers of the media tests: temporary files and the report file's lines.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/report.h"
#include "platform/win32/files.h"

namespace mediatest {

// A file of the test's own in the build folder. ctest runs the tests of one binary side by side,
// each in a process of its own, so the name carries the running test's name as well: two tests
// writing one file would otherwise read each other's half-written bytes.
inline std::string HostTemp(const std::string& name) {
    std::string own = name;
    if (const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info())
        own = std::string(info->test_suite_name()) + "." + info->name() + "." + name;
    for (char& c : own)
        if (c == '/') c = '_';
    return std::string(VELMORA_BINARY_DIR) + "/" + own;
}
inline std::string ProgramPath(const std::string& host) { return WindowsPathFromHost(host); }

// Starts a fresh report file for the test (named after the test, as every HostTemp file).
inline std::string StartReport(const std::string& name) {
    std::string host = HostTemp(name);
    OpenReport(ProgramPath(host).c_str());
    return host;
}

inline std::string ReadText(const std::string& host) {
    std::ifstream in(host, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace mediatest
