// Saving and loading replays on the user's request: the save keys checked every play frame
// (F1 the current attempt, F2 the previous one), the save dialog with its proposed file name,
// and the title menu's load request. The dialogs run on the window thread inside the
// WM_USER+3 / WM_USER+4 requests while the game thread waits.
#pragma once

#include <cstdint>

#include "platform/win32/types.h"

// The file name proposed for saving a replay of a stage (a MAX_PATH buffer): the stage name
// with the replay extension, numbered _00 .. _08, _10 .. _88 (digits 0-8), the first that does
// not exist in "user_data\rpl4\" (_88 when all 81 exist), without its folder. A stage name
// without a dot is proposed unnumbered; an empty stage name gives an empty proposal.
void ProposeReplayFileName(char* path, const char* stageName);

// The save dialog of a replay (window thread): the proposed name for the stage, then the save
// dialog in "user_data\rpl4\" with the replay extension; true when the user chose a file,
// whose path is then in `path` (a MAX_PATH buffer).
bool SaveReplayDialog(char* path, const char* stageName);

// Frames during which another press of a save key for an empty replay plays no sound.
extern int g_nReplaySaveCoolDown;
// Once per play frame on the game thread, before the frame's update: when F1 (the current
// replay) or F2 (the previous one) is down, asks the window thread to save it (WM_USER+4) and
// waits for the answer; 1 when a save was requested (the caller ends the frame), else 0. An
// empty replay only plays the refusal sound, at most once per 60 frames. Nothing happens in
// replay playback or when the project does not record replays.
uint32_t ReplaySaveKeyCheck();
// On the game thread (title menu): asks the window thread to let the user choose and load a
// replay (WM_USER+3) and waits; true when a replay was loaded.
bool RequestLoadReplay();
