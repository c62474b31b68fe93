// The key configuration "user_data\KeyConfig.dat" (KEYCONFIG, 108 bytes, read raw), the fixed
// default map, and the small key and joystick tests shared by the polls.
#pragma once

#include "platform/audio/mmsystem.h"
#include "platform/win32/types.h"

#define KEYCONFIG_ASSIGNS 12
#define KEYCONFIG_KEYBOARD 8
#define KEYCONFIG_MAXJOY 8

// Joystick axis codes of the four direction assignments.
#define JOYAXIS_XLOW 256
#define JOYAXIS_XHIGH 512
#define JOYAXIS_YLOW 1024
#define JOYAXIS_YHIGH 2048

#pragma pack(push, 1)
struct KEYASSIGN {
    DWORD dwDevice;  // 0..7 a joystick, 8 the keyboard
    WORD wCode;      // a virtual key, a joystick button mask or an axis code
    WORD wReserved;
};
// Assignments in the order left, right, up, down, buttons 0..7.
struct KEYCONFIG {
    KEYASSIGN Assign[KEYCONFIG_ASSIGNS];
    DWORD dwAssignCount;
    DWORD dwJoyCount;
    DWORD dwUseConfig;
};
#pragma pack(pop)
static_assert(sizeof(KEYCONFIG) == 108, "KeyConfig.dat is 108 bytes");

extern KEYCONFIG g_KeyConfig;

// Reads up to 108 bytes of the file into the record (the rest stays); 0 when it cannot be
// opened. Counts beyond what the record holds are clamped (12 assignments, 8 joysticks).
int LoadKeyConfig(const char* path, KEYCONFIG* config);
void DefaultKeyConfig(KEYCONFIG* config);
// The counts the polls use: at most 12 assignments and 8 joysticks.
int KeyAssignCount(const KEYCONFIG& config);
int KeyJoyCount(const KEYCONFIG& config);

// The eight-way direction number 1..9 of direction bits (left wins over right, up over down).
int KeyBitsToDirection(int bits);
// Whether a joystick axis is past its threshold for an axis code.
bool JoyAxisPressed(const JOYINFOEX& info, int code);
