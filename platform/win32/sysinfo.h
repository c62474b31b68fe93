// System information: the version the program sees, memory, disk space, the processor, and the
// host's own description for the report.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32/types.h"

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};

struct MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    size_t dwTotalPhys;
    size_t dwAvailPhys;
    size_t dwTotalPageFile;
    size_t dwAvailPageFile;
    size_t dwTotalVirtual;
    size_t dwAvailVirtual;
};

// The system answers as a current one does: NT platform, version 10.0; the service-pack text
// holds the host kernel's release.
BOOL GetVersionExA(OSVERSIONINFOA* info);
void GlobalMemoryStatus(MEMORYSTATUS* status);
BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULONGLONG* freeForUser, ULONGLONG* total, ULONGLONG* totalFree);

// ---- our own additions ----
// The host system's name ("Debian GNU/Linux 12 (bookworm)"), in Shift-JIS.
std::string HostSystemName();
// The processor's vendor and brand texts and its clock in Hz (from the host, no busy wait).
void HostProcessor(std::string* vendor, std::string* brand, double* clockHz);
