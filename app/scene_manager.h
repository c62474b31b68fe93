// The scene manager: six scene slots (at most one object alive after a switch), the scene
// numbers of the hand-over protocol and the frame rate in force.
#pragma once

#include "app/scene.h"

enum {
    SCENE_TITLE = 0,
    SCENE_WORLDMAP = 1,
    SCENE_SAVE = 2,
    SCENE_STAGESELECT = 3,
    SCENE_PLAY = 4,
    SCENE_OPTION = 5,
    SCENE_COUNT = 6,
};

// How play was entered (the manager's start mode, m_nPlayMode). 3 and 4 are fixed by start-up
// and by replay playback; the others are this program's own numbering. The play engine's stage
// advance chooses the scene after a stage by them, so every entry into play sets one.
enum {
    START_MODE_STORY = 0,      // a story: play entered from the world map
    START_MODE_CHALLENGE = 1,  // the challenge: play entered from the stage select
    START_MODE_FREE = 2,       // a stage file chosen at the title menu
    START_MODE_STAGEFILE = 3,  // the command-line stage or "FreeStage", played at once at start-up
    START_MODE_REPLAY = 4,     // replay playback
};

// The game mode the title menu chose (m_nGameMode); it selects the mode's record of the system
// settings (lives, ranking rule) and the ranking folder.
enum {
    GAME_MODE_STORY = 0,
    GAME_MODE_CHALLENGE = 1,
    GAME_MODE_STAGEFILE = 2,
    GAME_MODE_REPLAY = 3,
};

class cPlayScene;

class cSceneManager {
public:
    // Deletes every other scene (order 0, 2, 1, 3, 4, 5) and builds scene n when it has none.
    void Switch(int n);
    // Deletes all six scenes in slot order 0, 1, 2, 3, 5, 4.
    void DestroyAll();
    // The object of the current scene (null when there is none).
    cScene* Current() const;

    cScene* m_lpScenes[SCENE_COUNT] = {};
    int m_nCurrent = 0;   // the scene GameFrame switches to and runs
    int m_nNext = 0;      // written by a scene that wants to leave
    int m_nPrevious = 0;  // written by a scene's fade-out with its own number
    int m_nPlayMode = 0;  // start mode: how play was entered (START_MODE_...)
    int m_nGameMode = 0;  // GAME_MODE_...: set by the title menu, by start-up for a stage file
    int m_bModeRanking = 0;  // the game mode's ranking switch (non-zero: results are ranked)
    int m_nLastTitleMenu = 0;  // the title-menu number chosen last (its cursor starts there)
    int m_nFrameRate = 0;  // frames per second in force
    int m_nFadeStep = 0;   // per-frame amount of the scenes' fades
    int m_nTuneNo = 0;     // the tune recorded as playing
    int m_nStageWord = 0;  // cleared by the stage set-up
};

extern cSceneManager g_SceneManager;
// The play scene while scene 4 exists (cleared when it is deleted).
extern cPlayScene* g_lpPlayScene;

// Builds the scene object of a number (null when the number has no scene or memory ran out).
cScene* CreateScene(int n);
