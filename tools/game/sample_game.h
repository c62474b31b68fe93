// The bundled sample game, "サンプルクエスト": a small complete game folder made by our own code.
// The world map leads along a path past three stages, each opening when the one before it is
// cleared: the forest (a pit to jump, a lift and a moving floor that carries the hero over a
// wide pit), the cave (a sign whose message holds the game, coins, spikes) and the castle (a
// boss that fires fans of shots and clears the stage when defeated). A goal flag clears the
// first two; falling into a pit, spikes or enemies cost a life. The challenge lists the same
// three stages. The hero walks with the arrow keys, jumps with button 1 and shoots with button 2.
// Also written: the project database with sounds and tunes, the system settings (three lives,
// the continue menu after a miss), the common palette, System.ini, every bitmap slot as a
// generated picture, the colour table of 8-bit colour, the sounds as WAVE files, the title tune
// as Ogg and the other tunes as MIDI.
#pragma once

#include <string>

#include "tools/records/game_folder.h"

extern const char* const kSampleSystemIni;

// Writes the sample into the folder; false when a file could not be written.
bool WriteSampleGame(cGameFolder& folder, const std::string& systemIni = kSampleSystemIni);
