// Helpers of the media tests: temporary files and the report file's lines.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/report.h"
#include "platform/win32/files.h"

namespace mediatest {

inline std::string HostTemp(const std::string& name) { return std::string(VELMORA_BINARY_DIR) + "/" + name; }
inline std::string ProgramPath(const std::string& host) { return WindowsPathFromHost(host); }

// Starts a fresh report file for the test.
// The file is named after the test as well: ctest runs the tests of one binary side by side,
// and two tests opening one report file would cut each other's lines.
inline std::string StartReport(const std::string& name) {
    std::string own = name;
    if (const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info())
        own = std::string(info->test_suite_name()) + "." + info->name() + "." + name;
    for (char& c : own)
        if (c == '/') c = '_';
    std::string host = HostTemp(own);
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
