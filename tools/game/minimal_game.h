// The smallest game folder the player starts in: the default database, system settings and world
// map written by the project writers, and a System.ini. End-to-end tests start from it.
#pragma once

#include <string>

#include "tools/records/game_folder.h"

// Default System.ini text of the tests: a window, the DirectDraw back end, the overlay off.
extern const char* const kMinimalSystemIni;

// The bitmaps start-up needs: the palette bitmap and the debug bitmap.
bool WriteMinimalBitmaps(cGameFolder& folder);

// Writes the project files and System.ini (Shift-JIS text, given as it is) into the folder.
bool WriteMinimalGame(cGameFolder& folder, const std::string& systemIni = kMinimalSystemIni);
