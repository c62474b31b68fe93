#include "media/media_failure.h"

#include <mutex>
#include <set>

#include "core/report.h"
#include "platform/win32/files.h"

namespace {

std::mutex g_mutex;
std::set<std::string> g_reported;  // host paths

}  // namespace

void ReportMediaFailure(const char* path, const std::string& reason) {
    if (!path || !*path) return;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_reported.insert(HostPathFromWindows(path)).second) return;
    }
    WriteReport("%s: %s", path, reason.empty() ? "cannot be played" : reason.c_str());
}

bool MediaFileExists(const char* path) {
    if (!path || !*path) return false;
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void ResetMediaFailureReports() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_reported.clear();
}
