// Deaths, stage clear and the end of the game: killing characters and the hero, the death
// checks of the play frame, the stage-end bookkeeping with its extra lives, the ranking
// positions of a finished game, and the choice of the scene and the stage file that come next.
#pragma once

#include <cstdint>
#include <string>

class cChara;
class cPlayScene;
class cSaveData;

// How AdvanceAfterStage treats the start modes of the scene manager (app/scene_manager.h):
//   START_MODE_STORY (0)     -> the story road: the next part of the stage, else the stage is
//                              flagged cleared and the world-map entry's sequence decides
//                              (world map, or the title);
//   START_MODE_CHALLENGE (1) -> the challenge road: the next part, else the stage's challenge
//                              result is saved to "user_data\challenge\Challenge.dat" and the
//                              stage select follows;
//   START_MODE_FREE (2)      -> the stage-file road: the next part with the next-stage flag,
//                              else the title;
//   START_MODE_STAGEFILE (3) -> the stage-file road with the stage-file flag: the same stage
//                              again;
//   START_MODE_REPLAY (4)    -> play entered from play itself: the stage's variables back to
//                              their start values, and the same stage again.
enum {
    ADVANCE_STORY = 0,
    ADVANCE_CHALLENGE = 2,
    ADVANCE_STAGEFILE = 3,
    ADVANCE_FROM_PLAY = 4,
};
int AdvanceBranchOf(int startMode);

// The most extra lives one stage clear grants (more cannot raise the lives past their cap).
constexpr int kMaxExtraLivesPerClear = 99;
// The most lives a game keeps.
constexpr int32_t kMaxLivesCount = 99;

// 2 for the hero (the caller handles it), 0 for a character already dying, else the result of
// its Die (1: the game ends).
int KillCharacter(cChara& chara);
// KillCharacter, then for the hero the miss sound and its Die; a death that ends the game
// finishes it (the result state follows). A game end during the stage set-up is kept and acted
// on when play starts.
int KillCharacterCheckEnd(cPlayScene* scene, cChara& chara);
// The death checks: the hero and every stage character whose hit points ran out die. 1 when
// the game ended, 2 when the hero died (both end the frame), else 0. Then the stage characters
// whose dying has finished leave play (all dead ones without the keep-dead switch; with it,
// those whose death effect has run), except `current`, the character the calling pass works on.
int CheckDeaths(cPlayScene* scene, const cChara* current = nullptr);
// Whether a dead character's dying has finished (it may leave play).
bool DyingFinished(const cChara& chara);
// The end of play of a stage: the bookkeeping, then the ranking positions when the game ends
// here (the last stage, or a stage file) and rankings are kept.
void FinishGameRanking(cPlayScene* scene);
// The stage's results into the play data, with the extra lives the score earns; done once per
// stage set-up.
void StageClearBookkeeping(cPlayScene* scene);
// The number of the next stage: the one a stage-clear command chose, else the next part of
// the stage being played (its file's "-N" + 1), 0 when it is not a stage in parts.
int NextStageNumber();
// The part number of the stage file being played ("-N"), 0 when it is not a stage in parts.
int CurrentStageNumber();
// The stage file of part n of the stage being played: 1 with the found path, else 0 and empty.
int MakeStageFileName(cPlayScene* scene, std::string& out, int n);
// 1 when part n of the stage does not exist.
int IsLastStage(cPlayScene* scene, int n);
// Carries the heroes' status when the stage asks for it, then picks the next scene by the
// start mode's branch: 0 title, 1 world map, 3 stage select, 4 play (the next stage).
int AdvanceAfterStage(cPlayScene* scene);
