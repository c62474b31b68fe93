// The headless test driver. The environment variable VELMORA_SCRIPT names a script file that
// drives a run: key events at given frames, answers for message boxes and dialogs, frame
// captures to PNG, and the frame at which to close. Frames are counted by presents: events
// "at N" take effect before frame N polls its input (that is, as frame N-1 is presented; N = 0
// at start-up), a capture "at N" saves the picture that frame N presents, and "at N close" posts
// WM_CLOSE to the presented window once frame N has been presented.
//
// Script lines (words separated by blanks, "#" starts a comment, quotes group words):
//   at N key down KEY | at N key up KEY | at N key tap KEY   (tap: down at N, up at N+1)
//   at N capture FILE.png          (relative to the script's folder)
//   at N close
//   at N post MSG WPARAM LPARAM    (a window message to the presented window, numbers)
//   at N joy axis X|Y VALUE        (the virtual joystick's axis, 0..65535 as joyGetPosEx reads it)
//   at N joy button B down|up      (the virtual joystick's button B, 1..32)
//   msgbox ANSWER ["TEXT"]         (answers in order: ok cancel yes no abort retry ignore or a
//                                   number; with TEXT only a box whose text contains it)
//   answer KIND ARGS...            (answers of other kinds, taken in order by their users:
//                                   "answer dialog ..." for dialogs (win32/dialogs.h), "answer
//                                   file ..." for file dialogs (win32/commdlg.h))
//   timeout SECONDS                (real seconds after which the process ends with code 124)
// KEY is a virtual-key name (ESCAPE, RETURN, SPACE, LEFT, UP, RIGHT, DOWN, F1..F12, A..Z, 0..9,
// SHIFT, CONTROL, ...) or a number. Every action the driver takes is logged on standard error
// as "[script] ..." (texts in UTF-8).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/types.h"

namespace host::script {

// True when a script is loaded (VELMORA_SCRIPT was set and the file read).
bool Active();
// Loads the script named by VELMORA_SCRIPT (once); false when unset or unreadable.
bool Load();
// Loads a script from text (tests); `folder` is where relative files go.
bool LoadText(const std::string& text, const std::string& folder);
// Forgets the loaded script.
void Reset();

// The answer for a message box with this caption and text (Shift-JIS), taking the first
// matching "msgbox" line; false when the script has none (the caller then uses its default).
bool TakeMessageBoxAnswer(const std::string& caption, const std::string& text, UINT type, int* answer);
// The arguments of the next "answer KIND ..." line; false when there is none left.
bool TakeAnswer(const std::string& kind, std::vector<std::string>* args);

// Whether the script captures the picture of this frame.
bool CaptureAt(uint32_t frame);
// Called by the host for every present, on the presenting thread, with the frame's index.
void OnPresent(HWND hwnd, uint32_t frame, const uint32_t* pixels, int width, int height, int pitch);
// Applies the events due before the first frame (frame 0); called when the first window is shown.
void OnStart(HWND hwnd);

// A file named in the script: relative names are in the script's folder.
std::string FilePath(const std::string& name);

// Writes a driver log line (UTF-8) to standard error.
void Log(const std::string& utf8);

// Parses a virtual-key name or number; -1 when unknown.
int KeyFromName(const std::string& name);

}  // namespace host::script
