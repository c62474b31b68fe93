// The scene base: every screen of the game is a scene object that the scene manager builds by
// number, runs once per frame and deletes when another scene takes over.
#pragma once

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
};
