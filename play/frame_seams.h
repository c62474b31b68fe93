// The calls of the play frame and of the stage set-up that still answer "nothing happened" (0,
// no change); see play/frame_seams.cpp.
#pragma once

class cPlayScene;

// Loads the ranking of the current mode for the stage.
void LoadStageRanking();
// ---- words the records do not name yet ----
int PlayDataStopAfterPlay();
void PlayDataClearStageWords();
