// Scene 3, the stage select: the challenge mode's list of numbered stages with their cleared
// marks and best scores, the ranking board of the stage under the cursor, and the start of play.
#pragma once

#include <string>

#include "frontend/menu_scene.h"

// The row and list top of the stage last started; the list opens there again on the next visit.
extern int g_nStageSelectRow;
extern int g_nStageSelectTop;

class cSceneStageSelect : public cMenuScene {
public:
    cSceneStageSelect();

    void Init() override;
    // State 1 of the table (fade-in, select, fade-out).
    void StateSelect();

    // Names stage file n (from 1) as the play data's stage and loads its ranking when the game
    // mode ranks results.
    void LoadPreview(int stage);

    int ListTop() const { return m_nListTop; }
    int StageCount() const { return m_nStageCount; }
    int VisibleRows() const { return m_nVisibleRows; }

protected:
    void DrawScreen() override;
    void RedrawWork() override { DrawWork(); }

private:
    // The stages offered and the rows shown from the list top.
    void Count();
    // The list screen into the scene's work surface.
    void DrawWork();

    int m_nListTop = 0;
    int m_nStageCount = 0;
    int m_nVisibleRows = 0;
    WORD m_wHeldButtons = 0;  // buttons 3 and 4 act when newly pressed
};
