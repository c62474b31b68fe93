#include "app/system_report.h"

#include "app/format.h"
#include "app/report.h"

int GetOSName(std::string* text, int* major, int* minor) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    int ma = 5, mi = 1;
    std::string name;
    if (GetVersionExA(&v)) {
        switch (v.dwPlatformId) {
        case VER_PLATFORM_WIN32s:
            name = "Windows 3.1";
            ma = 1;
            mi = 0;
            break;
        case VER_PLATFORM_WIN32_WINDOWS:
            name = v.dwMinorVersion == 0 ? "Windows 95" : v.dwMinorVersion == 10 ? "Windows 98"
                   : v.dwMinorVersion == 90 ? "Windows Me" : "";
            ma = 1;
            mi = (int)v.dwMinorVersion;
            break;
        case VER_PLATFORM_WIN32_NT:
            ma = (int)v.dwMajorVersion;
            mi = (int)v.dwMinorVersion;
            if (ma == 3) name = "Windows NT 3.51";
            else if (ma == 4) name = "Windows NT 4.0";
            else if (ma == 5 && mi == 0) name = "Windows 2000";
            else if (ma == 5 && mi == 1) name = "Windows XP";
            else if (ma == 5 && mi == 2) name = "Windows XP Professional x64 Edition ?";
            else if (ma == 6 && mi == 0) name = "Windows Vista";
            else if (ma == 6 && mi == 1) name = "Windows 7";
            break;
        default:
            break;
        }
        // A system the table does not know is named by the host itself.
        if (name.empty()) name = HostSystemName();
    }
    if (major) *major = ma;
    if (minor) *minor = mi;
    char buf[512];
    int n = (int)FormatBounded(buf, sizeof buf, "%s %s PID %d Build %d", name.c_str(), v.szCSDVersion,
                               (int)v.dwPlatformId, (int)v.dwBuildNumber);
    if (text) *text = buf;
    return n;
}

bool IsOSVersionAtLeast(int major, int minor) {
    int ma = 0, mi = 0;
    GetOSName(nullptr, &ma, &mi);
    return ma != major ? ma > major : mi >= minor;
}

void GetMemoryStatus(MEMORYSTATUS* status) { GlobalMemoryStatus(status); }

double GetCPUClock(std::string* vendor, std::string* brand) {
    // The host knows the clock; no busy wait is needed to measure it.
    double hz = 0;
    HostProcessor(vendor, brand, &hz);
    return hz;
}

long long GetDiskFree(const char* directory) {
    ULONGLONG freeBytes = 0;
    if (!GetDiskFreeSpaceExA(directory, &freeBytes, nullptr, nullptr)) return 0;
    return freeBytes > 2147483647ull ? 2147483647ll : (long long)freeBytes;
}

int WriteSystemInfo() {
    std::string os, vendor, brand;
    GetOSName(&os, nullptr, nullptr);
    if (!WriteReport("OS : %s", os.c_str())) return 0;
    double hz = GetCPUClock(&vendor, &brand);
    WriteReport("CPU : %s %s %d", vendor.c_str(), brand.c_str(), (int)(hz * 0.000001));
    MEMORYSTATUS m{};
    GetMemoryStatus(&m);
    const double mb = 1.0 / 1048576.0;
    WriteReport("Mem Total : %.3fMB", m.dwTotalPhys * mb);
    WriteReport("Mem Free : %3.fMB", m.dwAvailPhys * mb);
    WriteReport("Vir Total : %.3fMB", m.dwTotalVirtual * mb);
    WriteReport("Vir Free : %3.fMB", m.dwAvailVirtual * mb);
    WriteReport("HD Free : %3.fMB", GetDiskFree(nullptr) * mb);
    return 1;
}
