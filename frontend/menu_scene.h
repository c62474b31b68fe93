// The common frame of the menu scenes (title, story save, stage select, options) and of the
// world map: the per-frame Run with its state table, the shared steps of Init, the fade-in and
// fade-out states with the hand-over of the next scene number, the image set each scene loads
// and releases, and the scene work-surface vector.
#pragma once

#include <vector>

#include "app/scene.h"
#include "media/draw_types.h"

// The scene work surfaces (menu windows and the like) of the scene now running; its destructor
// releases them. The DirectDraw restore visits them (a restored one is marked lost and the scene
// draws it again before use).
extern std::vector<DDSURFACEDATA> g_vecSceneSurface;
extern std::vector<SURFACEFILEDESC> g_vecSceneSurfaceDesc;
// Releases every scene work surface and empties the vector.
void ReleaseSceneSurfaces();

class cMenuScene : public cScene {
public:
    // A state function: a member taking and returning nothing.
    typedef void (cMenuScene::*STATEFUNC)();

    ~cMenuScene() override;
    // Once per frame: player 1's key repeat and button latch (buttons 1 and 2), Init on the
    // first frame, then the entry of the state table.
    void Run() override;
    // The shared states: fade-in (entry 0) and fade-out (the last entry).
    void FadeIn() override;
    void FadeOut() override;

    // The scene's number, its music slot and its image set.
    int SceneNo() const { return m_nSceneNo; }

protected:
    // `imageSet` lists the bitmap assets the scene loads in Init and releases when it ends.
    cMenuScene(int sceneNo, int musicSlot, std::vector<int> imageSet);

    // The state table: entry 0 the fade-in, the last the fade-out, the scene's own in between.
    template <class T> void SetStates(std::initializer_list<void (T::*)()> states) {
        m_vecStates.clear();
        m_vecStates.push_back(&cScene::SceneStateFadeIn);
        for (auto s : states) m_vecStates.push_back(static_cast<STATEFUNC>(s));
        m_vecStates.push_back(&cScene::SceneStateFadeOut);
    }
    int FadeOutState() const { return (int)m_vecStates.size() - 1; }
    // Leaves for another scene: the fade-out finishes the hand-over.
    void Leave(int nextScene);

    // The common steps of Init: the menu-cursor stack back to one level, the music of the
    // scene's slot (requested unless that tune already plays; a tune of 0 is always requested),
    // the image set, and (with `resetRequests`) the request list emptied. False when the image
    // set could not be loaded (WM_CLOSE is posted; the scene keeps running until the program
    // ends).
    bool InitCommon(bool resetRequests = true);

    // The scene's screen into the back buffer (fade-in and its own states).
    virtual void DrawScreen() = 0;
    // 8-bit colour: the scene's work surface drawn again before each fade-in frame.
    virtual void RedrawWork() {}
    // The scene's own steps when its fade-out has finished (before the hand-over).
    virtual void OnLeave() {}

    std::vector<STATEFUNC> m_vecStates;
    // The fade-out empties the request list before the hand-over (the story save screen keeps it).
    bool m_bFadeOutResetsRequests = true;
    int m_nSceneNo;
    int m_nMusicSlot;
    std::vector<int> m_vecImageSet;
};

// The menu-cursor stack back to a single level at column 0, row 0.
void ResetMenuCursor();
