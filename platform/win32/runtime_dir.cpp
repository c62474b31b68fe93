// The per-user runtime directory that holds named mutexes and the window registry.
#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win32/internal.h"

namespace win32 {

static void MakeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0700);
    }
}

std::string RuntimeDir() {
    static std::once_flag once;
    static std::string dir;
    std::call_once(once, [] {
        if (const char* v = std::getenv("VELMORA_RUNTIME_DIR"); v && *v) {
            dir = v;
        } else if (const char* x = std::getenv("XDG_RUNTIME_DIR"); x && *x) {
            dir = std::string(x) + "/velmora";
        } else {
            dir = "/tmp/velmora-" + std::to_string(getuid());
        }
        MakeDirs(dir);
    });
    return dir;
}

}  // namespace win32
