// "System.ini": the machine's start-up settings, read once at start-up with the program's own
// parser. Key names and defaults come from the key table of the system settings (entries 0-9
// fill the fields in this order).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/types.h"
#include "records/system_records.h"

struct SYSTEMINISETTINGS {
    int32_t nDirect3D;        // 2 ask in the start-up dialog, 1 Direct3D 9, 0 DirectDraw 7
    int32_t nWindowMode;      // 0 full screen
    int32_t nBpp;             // 0 automatic
    int32_t nVSync;           // 0 off, 1 on, 2 or more automatic
    int32_t nD3DFontCache;
    int32_t nDDFontCache;
    int32_t nDDVideoStretch;
    int32_t nShowFps;         // 0 none, 2 plain, other boxed
    int32_t nEnglish;
    char szFreeStage[MAX_PATH];  // a stage file to start in
};

extern SYSTEMINISETTINGS g_SystemIni;

// Fields 1-8 take the number defaults of keys 0-7, FreeStage the text default of key 8,
// English 0.
void ResetSystemIni(SYSTEMINISETTINGS& settings, const std::vector<SYSTEMINIKEY>& keys);
// Parses the file into the settings; fields not named keep their values. 0 when the file is
// missing or ends without its "Exit" line (the caller then resets), 1 otherwise.
int ReadSystemIni(const char* fileName, SYSTEMINISETTINGS& settings, const std::vector<SYSTEMINIKEY>& keys);
