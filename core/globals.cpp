#include "core/globals.h"

std::atomic<HWND> g_hMainWnd{nullptr};
HINSTANCE g_hInstance = nullptr;
std::atomic<int> g_bEditor{0};
std::atomic<int> g_bStageFileStart{0};
std::atomic<unsigned char> g_bInitialized{0};
std::atomic<int> g_bAppActive{0};
