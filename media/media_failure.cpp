#include "media/media_failure.h"

#include <mutex>
#include <set>

#include "core/report.h"
#include "platform/gdi/bmp.h"
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

void ReportBitmapFailure(const char* path) {
    if (!MediaFileExists(path)) return;
    gdi::Dib dib;
    std::string why;
    if (!gdi::LoadBmpFile(path, &dib, &why)) ReportMediaFailure(path, why);
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
