#include "media/key_config.h"

#include <cstdio>
#include <cstring>

#include "platform/win32/crt.h"
#include "platform/win32/messages.h"

KEYCONFIG g_KeyConfig{};

int LoadKeyConfig(const char* path, KEYCONFIG* config) {
    if (!path || !config) return 0;
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return 0;
    unsigned char buf[sizeof(KEYCONFIG)];
    size_t got = std::fread(buf, 1, sizeof buf, fp);
    std::fclose(fp);
    std::memcpy(config, buf, got);  // a short file leaves the rest of the record as it was
    if (config->dwAssignCount > KEYCONFIG_ASSIGNS) config->dwAssignCount = KEYCONFIG_ASSIGNS;
    if (config->dwJoyCount > KEYCONFIG_MAXJOY) config->dwJoyCount = KEYCONFIG_MAXJOY;
    return 1;
}

void DefaultKeyConfig(KEYCONFIG* config) {
    static const WORD codes[KEYCONFIG_ASSIGNS] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X', 'C', 'V',
                                                  'A', 'S', 'D', 'F'};
    for (int i = 0; i < KEYCONFIG_ASSIGNS; ++i) {
        config->Assign[i].dwDevice = KEYCONFIG_KEYBOARD;
        config->Assign[i].wCode = codes[i];
    }
    config->dwAssignCount = KEYCONFIG_ASSIGNS;
    config->dwJoyCount = 1;
    config->dwUseConfig = 0;
}

int KeyAssignCount(const KEYCONFIG& config) {
    return config.dwAssignCount > KEYCONFIG_ASSIGNS ? KEYCONFIG_ASSIGNS : (int)config.dwAssignCount;
}

int KeyJoyCount(const KEYCONFIG& config) {
    return config.dwJoyCount > KEYCONFIG_MAXJOY ? KEYCONFIG_MAXJOY : (int)config.dwJoyCount;
}

int KeyBitsToDirection(int bits) {
    int d = 5;
    if (bits & 1) d -= 1;
    else if (bits & 2) d += 1;
    if (bits & 4) d -= 3;
    else if (bits & 8) d += 3;
    return d;
}

bool JoyAxisPressed(const JOYINFOEX& info, int code) {
    switch (code) {
    case JOYAXIS_XLOW: return info.dwXpos < 10001;
    case JOYAXIS_XHIGH: return info.dwXpos >= 55535;
    case JOYAXIS_YLOW: return info.dwYpos < 10001;
    case JOYAXIS_YHIGH: return info.dwYpos >= 55535;
    default: return false;
    }
}
