// The pause loop: while a message, a game wait, a picture or effect that must finish, or the
// stage-clear tally holds the game, the game thread fills the play scene's wait request, runs
// PauseLoop on the pause thread and waits until it has ended. The loop keeps the screen running
// (messages, input, drawing the play screen without moving anything, presenting) and ends after
// the request's frame count or on a new press of button 1.
#pragma once

class cPlayScene;

// The pause thread's procedure; `param` is the play scene. 0 at once when the scene's quit flag
// is already set, else 1 when the loop has ended.
unsigned PauseLoop(void* param);

// On the game thread: runs PauseLoop with the scene on the pause thread and blocks until it has
// ended. 1 after the loop ran; 0 when the pause thread could not be started (the game then
// goes on without the hold; the report says so unless the program is closing) or ended at once.
int RunPauseLoop(cPlayScene* scene);
