// Helpers of the media tests: temporary files and the report file's lines.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "core/report.h"
#include "platform/win32/files.h"

namespace mediatest {

inline std::string HostTemp(const std::string& name) { return std::string(VELMORA_BINARY_DIR) + "/" + name; }
inline std::string ProgramPath(const std::string& host) { return WindowsPathFromHost(host); }

// Starts a fresh report file for the test.
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
