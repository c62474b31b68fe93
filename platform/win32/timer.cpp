// The millisecond clock, real or virtual, and local time.
#include <atomic>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/win32/timer.h"
#include "platform/win32/threads.h"

namespace {

bool ReadVirtualMode() {
    const char* v = std::getenv("VELMORA_CLOCK");
    return v && std::strcmp(v, "virtual") == 0;
}

const bool g_virtual = ReadVirtualMode();
std::atomic<DWORD> g_virtualNow{0x00100000};
std::atomic<CLOCKFUNC> g_override{nullptr};

DWORD RealNow() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return (DWORD)(uint64_t)ms.count();
}

}  // namespace

DWORD timeGetTime() {
    if (CLOCKFUNC fn = g_override.load()) return fn();
    return g_virtual ? g_virtualNow.load() : RealNow();
}

UINT timeBeginPeriod(UINT uPeriod) { return uPeriod == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
UINT timeEndPeriod(UINT uPeriod) { return uPeriod == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

void GetLocalTime(LPSYSTEMTIME st) {
    if (!st) return;
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tmv{};
    localtime_r(&t, &tmv);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    st->wYear = (WORD)(tmv.tm_year + 1900);
    st->wMonth = (WORD)(tmv.tm_mon + 1);
    st->wDayOfWeek = (WORD)tmv.tm_wday;
    st->wDay = (WORD)tmv.tm_mday;
    st->wHour = (WORD)tmv.tm_hour;
    st->wMinute = (WORD)tmv.tm_min;
    st->wSecond = (WORD)tmv.tm_sec;
    st->wMilliseconds = (WORD)ms;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* c) {
    if (!c) return FALSE;
    if (g_virtual || g_override.load()) {
        c->QuadPart = (LONGLONG)timeGetTime() * 1000000;
    } else {
        c->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    }
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* f) {
    if (!f) return FALSE;
    f->QuadPart = 1000000000;
    return TRUE;
}

void PaceSleep(DWORD ms) {
    if (g_virtual && !g_override.load()) {
        g_virtualNow.fetch_add(ms);
        std::this_thread::yield();
        return;
    }
    Sleep(ms);
}

bool IsVirtualClock() { return g_virtual; }

DWORD RealTimeMs() { return RealNow(); }

void SetClockOverride(CLOCKFUNC fn) { g_override.store(fn); }
