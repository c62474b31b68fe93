// Dialog-item text through strings.
#pragma once

#include <string>

#include "platform/win32/win32.h"

// Reads the item's text, at most maxCount - 1 bytes (cut on a character boundary and never
// more than the 5,120-byte buffer holds), into the string.
void GetDlgItemString(HWND dialog, int id, std::string& text, int maxCount);
// Sets the item's text ("" for an empty string); the system call's result.
BOOL SetDlgItemString(HWND dialog, int id, const std::string& text);
