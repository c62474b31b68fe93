// The system report: a description of the machine written into the report file at start-up
// (operating system, processor, memory, disk), so a user's report can be read without asking.
#pragma once

#include <string>

#include "platform/win32/sysinfo.h"

int WriteSystemInfo();
// The display mode and what the drawing device offers (start-up passes 1: with the capability dump).
int WriteDisplayInfo(int flag);
void WriteDxDiagInfo(int flag);
// "%s %s PID %d Build %d" of the system's name, service-pack text, platform and build.
int GetOSName(std::string* text, int* major, int* minor);
bool IsOSVersionAtLeast(int major, int minor);
void GetMemoryStatus(MEMORYSTATUS* status);
// The processor's clock in Hz, with its vendor and brand texts.
double GetCPUClock(std::string* vendor, std::string* brand);
// Free bytes for the user in a folder, capped at 2,147,483,647.
long long GetDiskFree(const char* directory);
