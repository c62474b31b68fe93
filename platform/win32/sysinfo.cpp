#include "platform/win32/sysinfo.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cstring>
#include <fstream>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "platform/win32/codepage.h"
#include "platform/win32/files.h"

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (!info) return FALSE;
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 19045;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    utsname u{};
    std::string release = uname(&u) == 0 ? u.release : "";
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::strncpy(info->szCSDVersion, release.c_str(), sizeof info->szCSDVersion - 1);
    return TRUE;
}

void GlobalMemoryStatus(MEMORYSTATUS* s) {
    if (!s) return;
    struct sysinfo si {};
    std::memset(s, 0, sizeof *s);
    s->dwLength = sizeof *s;
    if (sysinfo(&si) != 0) return;
    size_t unit = si.mem_unit ? si.mem_unit : 1;
    s->dwTotalPhys = (size_t)si.totalram * unit;
    s->dwAvailPhys = (size_t)(si.freeram + si.bufferram) * unit;
    s->dwTotalPageFile = (size_t)(si.totalram + si.totalswap) * unit;
    s->dwAvailPageFile = (size_t)(si.freeram + si.freeswap) * unit;
    // Address space of a process: what the host allows, reported like physical memory.
    s->dwTotalVirtual = s->dwTotalPageFile;
    s->dwAvailVirtual = s->dwAvailPageFile;
    if (s->dwTotalPhys) s->dwMemoryLoad = (DWORD)(100 - s->dwAvailPhys * 100 / s->dwTotalPhys);
}

BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULONGLONG* freeForUser, ULONGLONG* total, ULONGLONG* totalFree) {
    std::string path = directory && *directory ? HostPathFromWindows(directory) : ".";
    struct statvfs v {};
    if (statvfs(path.c_str(), &v) != 0) return FALSE;
    if (freeForUser) *freeForUser = (ULONGLONG)v.f_bavail * v.f_frsize;
    if (total) *total = (ULONGLONG)v.f_blocks * v.f_frsize;
    if (totalFree) *totalFree = (ULONGLONG)v.f_bfree * v.f_frsize;
    return TRUE;
}

std::string HostSystemName() {
    std::ifstream f("/etc/os-release");
    std::string line;
    while (std::getline(f, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            std::string v = line.substr(12);
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
            return Utf8ToCp932(v);
        }
    }
    utsname u{};
    return uname(&u) == 0 ? Utf8ToCp932(u.sysname) : "Linux";
}

void HostProcessor(std::string* vendor, std::string* brand, double* clockHz) {
    vendor->clear();
    brand->clear();
    *clockHz = 0;
#if defined(__x86_64__) || defined(__i386__)
    unsigned a, b, c, d;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        char v[13];
        std::memcpy(v, &b, 4);
        std::memcpy(v + 4, &d, 4);
        std::memcpy(v + 8, &c, 4);
        v[12] = 0;
        *vendor = v;
    }
    if (__get_cpuid(0x80000000, &a, &b, &c, &d) && a >= 0x80000004) {
        char s[49] = {};
        for (unsigned i = 0; i < 3; ++i) {
            __get_cpuid(0x80000002 + i, &a, &b, &c, &d);
            std::memcpy(s + i * 16, &a, 4);
            std::memcpy(s + i * 16 + 4, &b, 4);
            std::memcpy(s + i * 16 + 8, &c, 4);
            std::memcpy(s + i * 16 + 12, &d, 4);
        }
        std::string t = s;
        while (!t.empty() && t.back() == ' ') t.pop_back();
        while (!t.empty() && t.front() == ' ') t.erase(0, 1);
        *brand = t;
    }
#endif
    std::ifstream f("/proc/cpuinfo");
    std::string line;
    while (std::getline(f, line)) {
        auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, colon), value = line.substr(colon + 1);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        while (!value.empty() && value.front() == ' ') value.erase(0, 1);
        if (vendor->empty() && key == "vendor_id") *vendor = value;
        if (brand->empty() && key == "model name") *brand = value;
        if (*clockHz == 0 && key == "cpu MHz") *clockHz = std::atof(value.c_str()) * 1e6;
    }
    if (*clockHz == 0) {
        std::ifstream m("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
        double khz = 0;
        if (m >> khz) *clockHz = khz * 1e3;
    }
}
