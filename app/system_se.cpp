#include "app/system_se.h"

#include "core/globals.h"
#include "app/main_window.h"

void PlaySystemSe(DWORD n) { SendMessageA(g_hMainWnd.load(), WM_REQ_SOUND, (WPARAM)n, 0); }
