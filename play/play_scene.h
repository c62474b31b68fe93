// The play scene (scene 4): plays a stage. It owns the stage state that the global object lists
// do not hold (scroll axes, shot list, group lists, play timer, time limit, the pause loop's wait
// request, the character running a flow command), runs one frame of play per Run in its play
// state, and hands over to the next scene through its fade-out. The application frame sets the
// measured frames per second every frame and the quit flag while the pause thread runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "app/scene.h"
#include "play/effect_obj.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "play/message_obj.h"
#include "play/picture_obj.h"
#include "play/scroll.h"
#include "play/shot.h"
#include "play/stage_chara.h"

class cChara;
class cFlowRun;
struct CMDINSTANCE;
class cSaveData;

// The states of the play scene.
enum {
    PLAY_FADEIN = 0,
    PLAY_BANNER = 1,
    PLAY_FRAME = 2,
    PLAY_MENU = 3,
    PLAY_RESULT = 4,
    PLAY_CONTINUE = 5,
    PLAY_GAMEOVER = 6,
    PLAY_FADEOUT = 7,
    PLAY_STATE_COUNT = 8,
};

// The request word flow commands write: the game ends now, or the hero dies.
enum { PLAY_REQ_NONE = 0, PLAY_REQ_GAMEEND = 1, PLAY_REQ_HERODIES = 2 };

// Character and shot groups.
constexpr int kPlayGroupCount = 8;
// The play timer stops at 99:59.99 (hundredths of a second); the time limit shows at most 999.
constexpr int32_t kMaxPlayTime = 599999;
constexpr int32_t kMaxTimeLimit = 999;
// Frames the stage-start banners stay.
constexpr int kBannerFrames = 80;

// What the pause loop waits for (filled by InitRequest or by a command directly).
struct WAITREQUEST {
    int32_t nMode;       // who asked: 1 a message (ends with sound 12), others end with sound 1
    int32_t nKeyDelay;   // frames at the start in which keys are not looked at
    int32_t bWaitKey;    // 1: ends on a new press of button 1; 0: after the frame count
    int32_t nFrames;     // frames left when not waiting for a key
    int32_t nSpare;
};

class cPlayScene : public cScene {
public:
    typedef void (cPlayScene::*STATEFUNC)();

    cPlayScene();
    ~cPlayScene() override;

    // Init on the first frame, then the handler of the current state.
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    // The state handlers.
    void StageStartBanner();
    void PlayFrame();
    void MenuState();
    void ResultState();
    void MenuState2();
    void GameOverScreen();

    // Builds the play state of the stage (reload: take the stage record afresh; music: request
    // the stage's tune even when another one was chosen meanwhile).
    void SetStage(int reload, int music);
    // The play screen into the back buffer.
    void Draw(int a, int b, int c, int d);
    // Fills the wait request of the pause loop.
    void InitRequest(int mode, int waitKey, int frames, int noDelay);
    // A stage character leaves play: its links let go, out of its group list, erased from the
    // stage character list. Nothing when it is not in that list.
    void RemoveStageChara(cChara* chara);
    // A shot leaves play: out of its group list and erased from the shot list.
    std::list<cShot>::iterator EraseShot(std::list<cShot>::iterator it);
    // Appends a character or a shot to the group list of its group (groups outside 0-7 are
    // reported and joined to group 0).
    void AddToGroup(cChara* chara);
    void AddToGroup(cShot* shot);

    // The play timer: frames counted and the time in hundredths, held at kMaxPlayTime.
    void UpdatePlayTimer();
    // The time limit moved by `delta` once every 60 frames; 1 when it has run out.
    int UpdateTimeLimit(int delta);

    std::vector<STATEFUNC> m_vecStates;  // PLAY_STATE_COUNT handlers, by state
    int32_t m_nSavedState = 0;     // where the pause menu returns to
    int32_t m_nSavedPhase = 0;
    int32_t m_nRequest = 0;        // PLAY_REQ_...
    cScroll m_ScrollX;
    cScroll m_ScrollY;
    std::list<cShot> m_listShot;
    std::vector<std::list<cChara*>> m_vecCharaGroup;  // eight lists, by character group
    std::vector<std::list<cShot*>> m_vecShotGroup;    // eight lists, by shot group
    std::list<MessageObj> m_listMessage;
    std::list<EffectObj> m_listEffect;  // effect objects, drawn until their animation ends
    SCREENEFFECT m_ScreenEffect = {};   // the running screen effect (id 0: none)
    SCREENCOLOUR m_ScreenColour = {};   // the screen colour change and the colour left in place
    std::list<PictureObj> m_listPicture;  // in step with the picture surface list
    std::vector<int32_t> m_vecStageVars = std::vector<int32_t>(1001, 0);  // stage variables, from 1
    int16_t m_nVirtualScreen = 0;  // non-zero: drawing goes to the virtual back buffer
    uint8_t m_byScreenColor = 255;
    int32_t m_nStatusPanel = 0;    // 0 hides the status panel (the stage's switch)
    WAITREQUEST m_WaitRequest = {};
    // The display list: the characters (identifiers) at which an extra life is shown while the
    // stage-clear tally holds the game.
    std::vector<int32_t> m_vecDisplay;
    // Set by the window thread's WM_CLOSE while the pause loop runs; the next frame closes.
    std::atomic<int> m_bQuit{0};
    cChara* m_lpRunChara = nullptr;   // the character whose flow command runs
    cFlowRun* m_lpRunFlow = nullptr;
    CMDINSTANCE* m_lpRunCmd = nullptr;  // the command instance that runs
    int32_t m_nCommandResult = 0;  // the result word of the commands a character runs
    int32_t m_bItemMessage = 0;    // an item's command list has opened a message window
    int32_t m_bFollowLockX = 0;    // the view does not follow the hero horizontally
    int32_t m_bFollowLockY = 0;    // nor vertically
    int32_t m_abRoundRect[2] = {}; // screen rectangles take position and scroll as whole dots (x, y)
    int32_t m_nHeroCount = 0;
    int32_t m_nSubStep = 0;        // 1..n while a sub-step is computed
    int32_t m_nSubStepTotal = 0;   // sub-steps since the stage started
    std::vector<int32_t> m_vecSubStepFlags;  // one entry per sub-step
    std::vector<uint8_t> m_vecAppearGroups;  // set by the appearance pass, by group number
    std::vector<uint16_t> m_vecAppearGroupsSet;  // the group bytes that pass set, cleared at the next
    int32_t m_nTimeLimit = 0;      // seconds left, at most kMaxTimeLimit
    int32_t m_bNoTimeLimit = 0;
    int32_t m_nPlayTime = 0;       // hundredths of a second, at most kMaxPlayTime
    int32_t m_nPlayFrames = 0;     // frames counted by the play timer
    int32_t m_nBanner1 = 0;        // frame counters of the stage-start banners
    int32_t m_nBanner2 = 0;
    uint32_t m_dwSeed = 0;         // the seed of the stage start
    int32_t m_bSwallowButtons = 0; // buttons are cleared until none is down
    int32_t m_bDeathCheck = 0;     // CheckDeaths runs before each character moves
    std::vector<int32_t> m_vecTable;    // 1000 words, cleared by SetStage
    std::vector<uint8_t> m_vecFlags;    // 60 bytes, cleared by SetStage
    int32_t m_nCharaSerial = 0;
    int32_t m_nItemSerial = 0;
    int32_t m_nShotSerial = 0;
    int32_t m_abFarErase[3] = {};  // far characters, far block characters, far items
    int32_t m_nFrameCount = 0;     // frames of play since the stage started
    int32_t m_bNewRecord = 0;
    std::vector<int32_t> m_vecRankingPos;  // five places (-1 none)
    std::vector<int32_t> m_vecRanking2;    // five words
    int32_t m_bResultRegistered = 0;
    int32_t m_nResultCount = 0;    // the result screen's counter (play/result_state.h)
    // The stage end: set while SetStage runs; a game end met then, kept for the start of play;
    // the stage's results booked once per set-up.
    int32_t m_nRidingSteps = 0;    // sub-steps of this frame in which the carriers have moved
    int32_t m_bInSetup = 0;
    int32_t m_bEndPending = 0;
    int32_t m_bClearBooked = 0;
    // The scene's own base name of the next stage file and the flag that selects it.
    int32_t m_bOwnBase = 0;
    std::string m_strOwnBase;
    // The next stage number a stage-clear command chose (with its flag; without it the part
    // after the one being played follows).
    int32_t m_nNextStage = 0;
    int32_t m_bNextStageSet = 0;

    int m_nFps = 0;
    // The name a new ranking entry gets from the name-entry dialog.
    std::string m_strRankingName;

private:
    typedef std::list<cStageChara>::iterator CHARAIT;
    // Player 1's input of this frame, or the replay's; true when the replay ended (the stage
    // starts again and the frame ends).
    bool ReadInput();
    // One sub-step; true when it ended the frame.
    bool SubStep(int i);
    bool PassBlockCharas();
    bool PassHero();
    bool PassCharas();
    // One character's visit of PassCharas: `it` moves on to the next character of the list.
    bool PassChara(CHARAIT& it);
    void PassShots(int i);
    void EraseFarObjects();
    // Step H (the hero dies) and step G (the game ends); both end the frame.
    bool HeroDies();
    bool GameEnds();
    // Step K: a character killed by its flows in a pass. `it` moves past it; true: frame ends.
    bool KillByPass(CHARAIT& it);
    // A crushed character: sound 9 and the end check. `it` moves past it; true: frame ends.
    bool Crushed(CHARAIT& it);
    // Takes a stage character out of play; the iterator after it.
    CHARAIT Vanish(CHARAIT it);
};

// Lives: 1 (nothing changed) in stage-file play or with unlimited lives, 0 when none is left,
// else one life taken and 1.
int TakeLife(cSaveData& data);
// The sub-step flag table: with m non-zero, entries floor(k n / m) set for k = 0, 1, ... below n
// (and the last one when fewer than m were set); with m = 0 all n entries.
void BuildSubStepFlags(std::vector<int32_t>& flags, int n, int m);
// A project sound: nothing for 0, else WM_USER+5 with n + 16.
void PlayUserSe(int n);
