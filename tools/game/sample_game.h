// The bundled sample game: a small but complete game folder made by our own code. The project
// database (every table with records), the system settings with a title and one stage, the world
// map, the common palette, one stage file with a hero, blocks and characters, System.ini, every
// bitmap slot as a generated picture, the system sounds and a jump sound as generated WAVE
// files, the title tune as an Ogg file and the other menu tunes as MIDI files.
#pragma once

#include <string>

#include "tools/records/game_folder.h"

extern const char* const kSampleSystemIni;

// Writes the sample into the folder; false when a file could not be written.
bool WriteSampleGame(cGameFolder& folder, const std::string& systemIni = kSampleSystemIni);
