// The smallest game folder the player starts in: the default database, system settings and world
// map written by the project writers, and a System.ini. End-to-end tests start from it.
#pragma once

#include <string>

#include "tools/records/game_folder.h"

// Default System.ini text of the tests: a window, the DirectDraw back end, the overlay off.
extern const char* const kMinimalSystemIni;

// The bitmaps start-up needs: the palette bitmap and the debug bitmap; and those of the title
// menu (WriteTitleBitmaps).
bool WriteMinimalBitmaps(cGameFolder& folder);
// The title menu's bitmaps: "bmp\Title.bmp" (the 640 x 480 title picture), "bmp\GameMode.bmp"
// (one 160 x 32 picture per title-menu entry, rows in menu-number order, on the transparent
// colour), "bmp\Accessory.bmp" (the 32 x 32 menu cursor at (0, 0) and the 16 x 16 list cursor
// at (64, 0)) and "bmp\Window.bmp" (the window background).
bool WriteTitleBitmaps(cGameFolder& folder);

class cSystemData;

// Writes the project files and System.ini (Shift-JIS text, given as it is) into the folder. The
// system settings are the defaults titled "テストゲーム" unless `system` is given.
bool WriteMinimalGame(cGameFolder& folder, const std::string& systemIni = kMinimalSystemIni,
                      const cSystemData* system = nullptr);
