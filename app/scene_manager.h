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
    int m_nPlayMode = 0;  // how play was entered (3 from a stage file at start-up, 4 replay playback)
    int m_nWord2 = 0;     // two further words the start-up sequence sets for play from a stage file
    int m_nWord3 = 0;
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
