// A small program for the start-up dialog's end-to-end runs: in the folder given on the command
// line it makes the hidden main window as the entry does and runs the start-up step with
// "Direct3D" asking (the dialog is answered by the script named in VELMORA_SCRIPT). It prints
// "ok D" (D the drawing mode chosen) or "ended" when start-up would end.
#include <unistd.h>

#include <cstdio>

#include "app/main_window.h"
#include "app/startup_dialog.h"
#include "platform/host/host.h"
#include "platform/win32/win32.h"
#include "records/system_data.h"
#include "records/system_ini.h"

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) return 2;
    host::Init();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Velmora4";
    RegisterClassExA(&wc);
    const LONG style = (LONG)0x80CB0000;
    g_MainWindow.SetPlacement(640, 480, 100, 100, 640, 480, style, 0, 0, 0, 0, 0);
    HWND hwnd = CreateWindowExA(0, "Velmora4", "", (DWORD)style, 100, 100, g_MainWindow.m_nOuterW,
                                g_MainWindow.m_nOuterH, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd) return 3;
    g_MainWindow.m_hWnd = hwnd;
    g_MainWindow.CentreOnDesktop();
    g_SystemData.m_strTitle = "ヴェルモラの冒険";
    g_SystemIni.nDirect3D = 2;
    bool ok = RunStartupDialogStep();
    if (ok) std::printf("ok %d\n", g_SystemIni.nDirect3D);
    else std::printf("ended\n");
    DestroyWindow(hwnd);
    host::Shutdown();
    return 0;
}
