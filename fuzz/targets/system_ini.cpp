// "System.ini": the parser on any bytes, against the default key table.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "records/system_data.h"
#include "records/system_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/velmora_fuzz_ini_" + std::to_string(getpid());
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return 0;
    if (size) std::fwrite(data, 1, size, fp);
    std::fclose(fp);
    SYSTEMINISETTINGS s;
    ResetSystemIni(s, g_SystemData.m_vecIniKeys);
    ReadSystemIni(path.c_str(), s, g_SystemData.m_vecIniKeys);
    if (std::memchr(s.szFreeStage, 0, sizeof s.szFreeStage) == nullptr) std::abort();
    std::remove(path.c_str());
    return 0;
}
