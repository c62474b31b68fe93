// Named mutexes across processes: a lock file per name in the runtime directory. Every holder
// keeps a shared lock on it; a name "already exists" when another open holds it.
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/win32/internal.h"

namespace win32 {
namespace {

struct MutexObject : KernelObject {
    int fd = -1;
    ~MutexObject() override {
        if (fd >= 0) close(fd);
    }
    DWORD Wait(DWORD) override { return WAIT_OBJECT_0; }
};

std::string HexName(const char* name) {
    static const char* digits = "0123456789abcdef";
    std::string r;
    for (const unsigned char* p = (const unsigned char*)name; *p; ++p) {
        r += digits[*p >> 4];
        r += digits[*p & 15];
    }
    return r;
}

}  // namespace
}  // namespace win32

using namespace win32;

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName) {
    (void)lpMutexAttributes;
    (void)bInitialOwner;
    auto obj = std::make_shared<MutexObject>();
    if (!lpName || !*lpName) {
        SetLastError(ERROR_SUCCESS);
        return NewHandle(obj);
    }
    std::string path = RuntimeDir() + "/mutex-" + HexName(lpName);
    obj->fd = open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (obj->fd < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    bool exists = false;
    if (flock(obj->fd, LOCK_EX | LOCK_NB) != 0) exists = true;
    while (flock(obj->fd, LOCK_SH) != 0 && errno == EINTR) {
    }
    HANDLE h = NewHandle(obj);
    SetLastError(exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

BOOL ReleaseMutex(HANDLE hMutex) {
    // The program creates the mutex without owning it; releasing changes nothing.
    return std::dynamic_pointer_cast<MutexObject>(HandleObject(hMutex)) ? TRUE : FALSE;
}
