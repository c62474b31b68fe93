// The scene base: every screen of the game is a scene object that the scene manager builds by
// number, runs once per frame and deletes when another scene takes over.
#pragma once

#include <cstdint>
#include <vector>

// One request of a scene's request list: five words (what asked, key delay in frames, wait for a
// key, frame count, spare), as the pause loop's wait request has them.
struct SCENEREQUEST {
    int32_t anWord[5];
};

class cScene {
public:
    cScene() : m_nState(-1), m_nPhase(0) {}
    virtual ~cScene() {}
    virtual void Run() {}
    virtual void Init() {}
    virtual void FadeIn() {}
    virtual void FadeOut() {}

    // The shared first and last entries of every scene's state table.
    void SceneStateFadeIn() { FadeIn(); }
    void SceneStateFadeOut() { FadeOut(); }

    // Index of the current state-table entry; -1 from construction until the first Run.
    int m_nState;
    // Progress inside the current state.
    int m_nPhase;
    // The request list; its last entry is the current request.
    std::vector<SCENEREQUEST> m_vecRequest;
};

// Empties a scene's request list, keeping one zero-filled entry as the current request.
inline void ResetRequestList(cScene& scene) { scene.m_vecRequest.assign(1, SCENEREQUEST{}); }
