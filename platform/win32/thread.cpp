// Threads and handles: the runtime's thread start, waits, sleeps, counted suspension and the
// cooperative end of a thread; handles of other processes.
#include <thread>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <set>
#include <thread>
#include <unistd.h>

#include "platform/win32/internal.h"
#include "platform/win32/timer.h"

namespace win32 {

DWORD NewThreadId();
void SetCurrentThreadRecord(const std::shared_ptr<ThreadRecord>& rec);

namespace {

std::mutex g_handlesM;
std::map<HANDLE, std::shared_ptr<KernelObject>> g_handles;
uintptr_t g_nextHandle = 0x40000;

struct ThreadObject : KernelObject {
    std::shared_ptr<ThreadRecord> rec;
    DWORD Wait(DWORD ms) override {
        std::unique_lock<std::mutex> lock(rec->endM);
        auto ended = [&] { return rec->ended.load(); };
        if (ms == INFINITE) {
            auto self = CurrentThread();
            while (!rec->endCv.wait_for(lock, std::chrono::milliseconds(10), ended))
                if (self->stop) return WAIT_FAILED;
            return WAIT_OBJECT_0;
        }
        return rec->endCv.wait_for(lock, std::chrono::milliseconds(ms), ended) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }
};

bool ProcessAlive(pid_t pid) {
    if (pid <= 0) return false;
    if (kill(pid, 0) != 0 && errno == ESRCH) return false;
    // A process that has ended but not been reaped by its parent is ended too.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    auto close = line.rfind(')');
    if (close != std::string::npos && close + 2 < line.size()) {
        char state = line[close + 2];
        if (state == 'Z' || state == 'X') return false;
    }
    return true;
}

struct ProcessObject : KernelObject {
    pid_t pid = 0;
    DWORD Wait(DWORD ms) override {
        auto start = std::chrono::steady_clock::now();
        for (;;) {
            if (!ProcessAlive(pid)) return WAIT_OBJECT_0;
            if (ms != INFINITE &&
                std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(ms))
                return WAIT_TIMEOUT;
            if (CurrentThread()->stop) return WAIT_FAILED;
            std::this_thread::sleep_for(std::chrono::milliseconds(ms == 0 ? 0 : 5));
        }
    }
};

}  // namespace

HANDLE NewHandle(std::shared_ptr<KernelObject> obj) {
    std::lock_guard<std::mutex> lock(g_handlesM);
    HANDLE h = (HANDLE)g_nextHandle;
    g_nextHandle += 4;
    g_handles[h] = std::move(obj);
    return h;
}

std::shared_ptr<KernelObject> HandleObject(HANDLE h) {
    std::lock_guard<std::mutex> lock(g_handlesM);
    auto it = g_handles.find(h);
    return it == g_handles.end() ? nullptr : it->second;
}

static std::shared_ptr<ThreadRecord> ThreadOf(HANDLE h) {
    auto obj = std::dynamic_pointer_cast<ThreadObject>(HandleObject(h));
    return obj ? obj->rec : nullptr;
}

}  // namespace win32

using namespace win32;

uintptr_t _beginthreadex(void* security, unsigned stack_size, THREADPROC_EX start_address, void* arglist,
                         unsigned initflag, unsigned* thrdaddr) {
    (void)security;
    (void)stack_size;
    (void)initflag;
    if (!start_address) return 0;
    // The queue exists from the start, so the first post to the new thread already succeeds.
    auto rec = std::make_shared<ThreadRecord>();
    rec->id = NewThreadId();
    RegisterThread(rec);
    auto obj = std::make_shared<ThreadObject>();
    obj->rec = rec;
    try {
        std::thread t([rec, start_address, arglist] {
            SetCurrentThreadRecord(rec);
            unsigned code = start_address(arglist);
            rec->exitCode = code;
            UnregisterThread(rec->id);
            {
                std::lock_guard<std::mutex> lock(rec->endM);
                rec->ended = true;
            }
            rec->endCv.notify_all();
        });
        t.detach();
    } catch (...) {
        UnregisterThread(rec->id);
        return 0;
    }
    if (thrdaddr) *thrdaddr = rec->id;
    return (uintptr_t)NewHandle(obj);
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    auto obj = HandleObject(hHandle);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return obj->Wait(dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject) {
    std::shared_ptr<KernelObject> obj;
    {
        std::lock_guard<std::mutex> lock(g_handlesM);
        auto it = g_handles.find(hObject);
        if (it == g_handles.end()) return FALSE;
        obj = it->second;
        g_handles.erase(it);
    }
    return TRUE;  // obj released outside the lock
}

void Sleep(DWORD dwMilliseconds) {
    auto self = CurrentThread();
    if (self->stop) return;
    if (IsVirtualClock()) {
        // The virtual clock does not move here; give the other threads a moment.
        std::this_thread::sleep_for(std::chrono::microseconds(dwMilliseconds == 0 ? 0 : 100));
        return;
    }
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
    std::unique_lock<std::mutex> lock(self->endM);
    self->endCv.wait_until(lock, until, [&] { return self->stop.load(); });
}

DWORD SuspendThread(HANDLE hThread) {
    auto rec = ThreadOf(hThread);
    if (!rec) return (DWORD)-1;
    return (DWORD)rec->suspendCount.fetch_add(1);
}

DWORD ResumeThread(HANDLE hThread) {
    auto rec = ThreadOf(hThread);
    if (!rec) return (DWORD)-1;
    int prev = rec->suspendCount.load();
    while (prev > 0 && !rec->suspendCount.compare_exchange_weak(prev, prev - 1)) {
    }
    return (DWORD)(prev < 0 ? 0 : prev);
}

BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode) {
    (void)dwExitCode;
    auto rec = ThreadOf(hThread);
    if (!rec) return FALSE;
    rec->stop = true;
    rec->cv.notify_all();
    {
        std::lock_guard<std::mutex> lock(rec->endM);
    }
    rec->endCv.notify_all();
    PostThreadMessageA(rec->id, WM_QUIT, 0, 0);
    return TRUE;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    auto rec = ThreadOf(hThread);
    if (!rec || !lpExitCode) return FALSE;
    *lpExitCode = rec->ended ? rec->exitCode.load() : (DWORD)STILL_ACTIVE;
    return TRUE;
}

DWORD GetCurrentProcessId() { return (DWORD)getpid(); }

HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId) {
    (void)dwDesiredAccess;
    (void)bInheritHandle;
    if (!ProcessAlive((pid_t)dwProcessId)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto obj = std::make_shared<ProcessObject>();
    obj->pid = (pid_t)dwProcessId;
    return NewHandle(obj);
}
