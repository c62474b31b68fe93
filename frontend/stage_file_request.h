// The title menu's stage-file choice, asked of the window thread.
#pragma once

// On the game thread: sends WM_USER+2 (the open-file dialog, then the chosen stage file is
// loaded) and waits for the answer; true when a stage file was chosen and loaded.
bool RequestLoadStageFile();
