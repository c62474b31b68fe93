// WM_USER+2 on the window thread: the open-file dialog for a stage file, then play from the
// chosen file is prepared.
#pragma once

#include "platform/win32/win32.h"

// The dialog (owned by `owner`, the drawing device readied for it); a chosen stage file is
// loaded by StartFromStageFile. Answers through the file-dialog done flag and success word:
// success only when a file was chosen and loaded. A file that cannot be loaded has been
// reported by the loader and the game goes on; a replay chosen in this dialog (its filter
// shows them) is refused with the stage loader's message, as it is no stage file.
void ServeLoadStageRequest(HWND owner);
