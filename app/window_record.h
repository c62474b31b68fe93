// The window record "user_data\Window.dat": the window's position, client size and maximised
// state between runs (five 32-bit values, one value block each, in every data version).
#pragma once

#include "platform/win32/win32.h"
#include "records/data_file.h"

class cWindowData : public cDataFile {
public:
    cWindowData();
    const RECORDLAYOUT& Layout() const override;
    // The stored values; then the position is clamped so that the main window lies inside the
    // full-screen client area, and the size to the main window's tracking limits and the display.
    void Read(cRecordReader& reader) override;

    int32_t m_nX;
    int32_t m_nY;
    int32_t m_nWidth;
    int32_t m_nHeight;
    int32_t m_bMaximized;
};

extern cWindowData g_WindowData;

void StoreWindowPlacement(int x, int y, int width, int height, int maximized);
// WM_CLOSE's first step: with "WindowMode" not 0, the initialised flag set and the window not
// minimised, stores the placement and saves the record.
void SaveWindowRecordOnClose(HWND hwnd, int windowMode);
// Start-up: reads the record (window mode only) and places the window; returns the show
// command, SW_SHOWMAXIMIZED when the record says the window was maximised.
int RestoreWindowRecord(int windowMode, bool direct3d, int showCmd);
