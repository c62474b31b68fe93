// Writers of a game project's data files into a test game folder: the ten database files,
// "data\System.dat" and "data\WorldMap.dat", each in the current version.
#pragma once

#include "records/database.h"
#include "records/system_data.h"
#include "records/world_map.h"
#include "tools/records/game_folder.h"

// Writes the database tables (all ten, or all but `skip`); false when a file cannot be written.
bool WriteDatabaseFiles(cGameFolder& folder, cDatabase& db, int skip = -1);
// Lays out the folder and writes the database, the system settings and the world map.
bool WriteProjectFiles(cGameFolder& folder, cDatabase& db, cSystemData& system, cWorldMap& map);
