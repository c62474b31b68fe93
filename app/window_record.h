// The window record "user_data\Window.dat": the window's position, client size and maximised
// state between runs.
#pragma once

#include "platform/win32/win32.h"

// WM_CLOSE's first step: saves the record when "WindowMode" allows it and the window is not
// minimised.
void SaveWindowRecordOnClose(HWND hwnd);
