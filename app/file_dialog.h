// The open and save file dialogs of the program and its three file choices: loading a stage
// file, loading a replay and saving a replay.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/win32.h"

// The open-file dialog. The buffer is cleared first; the chosen path is left in it. With a
// result list, the buffer's names are collected into it (CollectFileNames). FALSE when
// cancelled.
BOOL OpenFileDialog(HWND owner, char* file, int size, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int multiSelect, std::vector<std::string>* list);
// The save-file dialog on a 260-byte buffer, which holds the proposed name when keepName is set
// (cleared otherwise). New names are allowed, one file is chosen, the default extension is added
// to a name without one, and an existing file is replaced only after the user says so. FALSE
// when cancelled.
BOOL SaveFileDialog(HWND owner, char* file, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int keepName);
// The names of an open dialog's buffer (NUL-separated, ending at an empty name, never past
// `size`): with two or more, the first is the folder and each further one becomes
// "folder\name"; one name is taken as it is.
void CollectFileNames(const char* buffer, int size, std::vector<std::string>* list);

// The program's file choices, titled in English when "English" is set. Each takes a 260-byte
// buffer; TRUE when a file was chosen (its full path is then in the buffer).
// WM_USER+2: a stage file (or a replay) from "data\stg4\".
BOOL ChooseStageFile(HWND owner, char* path);
// WM_USER+3: a replay from "user_data\rpl4".
BOOL ChooseReplayFile(HWND owner, char* path);
// The replay save (SaveReplayDialog): the buffer holds the proposed name; "user_data\rpl4\".
BOOL ChooseReplaySaveFile(HWND owner, char* path);
// The replay file extension of the data version ("rpl4_754").
std::string ReplayExtension();

// The drawing layer's part around a file dialog: `before` readies the screen for the dialog,
// `after` puts it back, whatever the result (DirectDraw at 8 bits: palette entry 0 black for
// the time of the dialog, then taken again from the working palette). Both may be null.
typedef void (*FILEDIALOGDEVICEFUNC)();
void SetFileDialogDeviceHooks(FILEDIALOGDEVICEFUNC before, FILEDIALOGDEVICEFUNC after);
