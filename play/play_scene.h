// The play scene (scene 4). The application frame touches two of its fields: the measured
// frames per second, set every frame, and the quit flag that WM_CLOSE sets while the pause
// thread runs.
#pragma once

#include <string>

#include "app/scene.h"

class cPlayScene : public cScene {
public:
    // Stage play is not built yet: the scene draws nothing and never leaves.
    void Run() override {
        if (m_nState < 0) {
            Init();
            m_nState = 0;
        }
    }

    int m_nFps = 0;
    int m_bQuit = 0;
    // The name a new ranking entry gets from the name-entry dialog.
    std::string m_strRankingName;
};
