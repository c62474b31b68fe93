// The result screen (state 4 of the play scene, cPlayScene::ResultState), shown over the frozen
// play screen after the game ends: the result picture comes in through the blinds, then the
// result board shows the finished game's results with the ranking places they found. The
// ranking entry is made by F3 in ranking-name modes 0 and 1, or by the confirming button in
// modes 2 and 3; the screen then leaves for the scene the stage end chooses.
//
// The result counter goes up by 4 a frame while the picture comes in (plain from 100 on) and is
// 200 at once when the stage shows no result picture; the board shows, and button 1 (on a new
// press) leaves, from 200 on. With the stage's auto-advance switch on, the screen takes no keys,
// shows no board and leaves by itself 200 frames after it opened.
#pragma once

#include "frontend/ranking_entry.h"

class cPlayScene;

// The result counter and the frames of the result screen.
constexpr int kResultLeaveCount = 200;
constexpr int kResultPlainCount = 100;
constexpr int kResultPictureStep = 4;
constexpr int kResultAutoFrames = 200;
// Where the result picture, the result board and the caption stand.
constexpr int kResultPictureX = 256, kResultPictureY = 192;
constexpr int kResultBoardX = 336, kResultBoardY = 224;
constexpr int kResultCaptionY = 456;

// The finished game's results and ranking places as the ranking registration takes them.
RANKINGRESULT SceneRankingResult(const cPlayScene& scene);
// The ranking entry of the finished game (once per game; see RegisterRankingEntry), with the
// play screen under the ranking view; the scene's registered flag follows the entry.
void RegisterSceneRanking(cPlayScene& scene);
