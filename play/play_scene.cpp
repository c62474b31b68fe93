#include "play/play_scene.h"

#include "flow/cmd_flow_game.h"

#include <algorithm>
#include <iterator>

#include "core/checked.h"
#include "core/frame_timer.h"
#include "core/globals.h"
#include "app/scene_manager.h"
#include "app/system_se.h"
#include "frontend/play_start.h"
#include "flow/range_display.h"
#include "media/anime.h"
#include "media/draw_device.h"
#include "media/key_config.h"
#include "media/player_input.h"
#include "media/surface.h"
#include "media/transitions.h"
#include "platform/win32/win32.h"
#include "play/block_hit.h"
#include "play/block_map.h"
#include "play/chara_effect.h"
#include "play/appearance.h"
#include "play/chara_hits.h"
#include "play/item_touch.h"
#include "play/picture_lists.h"
#include "play/stage_end.h"
#include "play/system_words.h"
#include "play/play_rules.h"
#include "play/riding.h"
#include "play/play_draw.h"
#include "play/stage_bitmaps.h"
#include "play/spawn.h"
#include "play/stage_objects.h"
#include "play/stage_setup.h"
#include "play/save_words.h"
#include "play/stage_words.h"
#include "records/ranking.h"
#include "records/replay.h"
#include "records/replay_requests.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_list.h"
#include "records/system_data.h"
#include "records/system_ini.h"

namespace {

// System sounds of the play frame.
constexpr DWORD kSeHeroMiss = 8;
constexpr DWORD kSeCrushed = 9;
// Project sounds follow the 16 system sounds.
constexpr int kUserSeBase = 16;

// The stage range blocks: characters, block characters, items, enemy shots, the player's shots.
enum { RANGE_CHARA = 0, RANGE_BLOCKCHARA = 1, RANGE_ITEM = 2, RANGE_SHOT = 3, RANGE_SHOT2 = 4 };

void PostClose() { PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0); }

// The stage characters in list order for the walks of a frame that touch each character alone.
std::vector<std::list<cStageChara>::iterator> s_vecCast;

cHero& Hero() { return CheckedAt(g_vecHero, 0); }

// Whether the character pass moves a character: not a block character (their own pass moves
// them), not dying, appeared and in range.
bool TakesPass(const cStageChara& c) { return !c.m_bActsAsBlock && !c.m_bDying && c.m_bAppeared && c.m_bInRange; }

}  // namespace

int TakeLife(cSaveData& data) {
    if (g_bStageFileStart || data.m_nLives == kUnlimitedLives) return 1;
    if (data.m_nLives < 1) return 0;
    --data.m_nLives;
    return 1;
}

void BuildSubStepFlags(std::vector<int32_t>& flags, int n, int m) {
    n = std::max(0, n);
    flags.assign((size_t)n, m == 0 ? 1 : 0);
    if (m <= 0 || n == 0) return;
    // m at or above n sets every entry (a count from data may be far larger than n).
    if (m >= n) {
        flags.assign((size_t)n, 1);
        return;
    }
    int set = 0;
    for (int64_t k = 0;; ++k) {
        const int64_t at = k * n / m;
        if (at >= n) break;
        flags[(size_t)at] = 1;
        ++set;
    }
    if (set < m) flags.back() = 1;
}

void PlayUserSe(int n) {
    if (n == 0) return;
    PlaySystemSe((DWORD)(n + kUserSeBase));
}

cPlayScene::cPlayScene() {
    m_vecStates = {static_cast<STATEFUNC>(&cScene::SceneStateFadeIn), &cPlayScene::StageStartBanner,
                   &cPlayScene::PlayFrame,         &cPlayScene::MenuState,
                   &cPlayScene::ResultState,       &cPlayScene::MenuState2,
                   &cPlayScene::GameOverScreen,    static_cast<STATEFUNC>(&cScene::SceneStateFadeOut)};
    m_vecCharaGroup.resize(kPlayGroupCount);
    m_vecShotGroup.resize(kPlayGroupCount);
}

cPlayScene::~cPlayScene() {
    // The stage's objects go with the scene: nothing may point into a scene that is gone.
    g_listStageChara.clear();
    g_listItem.clear();
    g_vecHero.clear();
    ReleaseScreenEffectSurfaces();
    ReleaseCharaEffectSurfaces();
    ReleaseRangeDisplaySurface();
    ReleasePicturesAndMessageSurfaces(this);
    m_listMessage.clear();
    ReleasePlayBitmaps();
}

void cPlayScene::Run() {
    if (m_nState == -1) {
        Init();
        m_nState = PLAY_FADEIN;
    }
    // A game end met while the stage was set up ends the game as soon as the stage shows.
    if (m_bEndPending && m_nState >= PLAY_FADEIN && m_nState <= PLAY_FRAME) {
        m_bEndPending = 0;
        GameEnds();
    }
    // A state outside the table is a fault of the program: reported, and entry 0 runs.
    const STATEFUNC state = CheckedAt(m_vecStates, m_nState);
    (this->*state)();
}

void cPlayScene::Init() {
    m_vecRankingPos.assign(5, 0);
    m_vecRanking2.assign(5, 0);
    const bool restart = g_SceneManager.m_nPrevious == SCENE_PLAY;
    if (!LoadPlayBitmaps(restart ? 1 : 0)) {
        PostClose();
        return;
    }
    if (!restart) {
        // ResetReplayRecords: a new play session.
        g_SaveData.m_nLives = g_SaveData.m_nLivesReserve;
        saveword::ClearSessionWords(g_SaveData);
        m_ScrollX.m_dPos = m_ScrollY.m_dPos = 0.0;
        m_nPhase = 0;
        m_nBanner1 = m_nBanner2 = 0;
        m_bSwallowButtons = 0;
        m_nTimeLimit = 0;
        m_listMessage.clear();
        if (g_SceneManager.m_nPlayMode != START_MODE_REPLAY) {
            g_Replay.Clear();
            g_ReplayPrev.Clear();
        }
        if (g_bStageFileStart) g_SaveData.m_nStageNumber = 1;
        if (g_SceneManager.m_bModeRanking)
            LoadRanking(g_RankingHolder, g_SceneManager.m_nGameMode, g_SaveData.m_strStageName.c_str());
        TakeLife(g_SaveData);
    }
    SetStage(restart ? 1 : 0, 1);
    ResetRequestList(*this);
    m_nPhase = 0;
}

void cPlayScene::SetStage(int reload, int music) {
    m_bInSetup = 1;
    m_bEndPending = 0;
    m_bClearBooked = 0;
    m_bResultRegistered = 0;
    // 1. Everything the last stage left.
    m_nFrameCount = 0;
    m_vecShotGroup.assign(kPlayGroupCount, {});
    m_listShot.clear();
    m_vecCharaGroup.assign(kPlayGroupCount, {});
    g_listStageChara.clear();
    BlockCharasChanged();
    g_listItem.clear();
    m_lpRunChara = nullptr;  // nothing of the last stage may stay referred to
    m_lpRunFlow = nullptr;
    // 2. The stage record afresh.
    if (reload) CopyStageRecords(reload);
    // 3. Replay and seed: playback takes the recorded seed from the first frame again; recording
    // keeps the last attempt as the previous one and starts a new one with a seed from the clock.
    if (g_SceneManager.m_nPlayMode == START_MODE_REPLAY) {
        m_dwSeed = g_Replay.m_dwSeed;
        g_Replay.Rewind();
    } else if (g_SystemData.m_bReplay) {
        g_ReplayPrev.AssignInputs(g_Replay);
        g_SaveDataPrevAttempt = g_SaveDataAttempt;
        g_SaveDataAttempt = g_SaveData;
        g_Replay.Clear();
        m_dwSeed = timeGetTime();
        g_Replay.m_dwSeed = m_dwSeed;
    }
    crt::srand(m_dwSeed);
    // 4, 5. Carried hero values and the stage's music.
    ApplyCarryOver();
    RequestStageMusic(music);
    // 6. Serials and the sub-step count.
    g_SceneManager.m_nStageWord = 0;
    m_nCharaSerial = m_nItemSerial = m_nShotSerial = 0;
    g_StageSettings.SetHitLevel(g_StageSettings.m_nHitLevel);
    // 7, 8. The scroll axes.
    int32_t width = 0, height = 0;
    g_StageSettings.BlockMapSize(width, height);
    m_ScrollX.SetAxis(0, width, StageExtension(0));
    m_ScrollX.SetSpeed(g_StageSettings.m_bAutoScrollX, g_StageSettings.m_nAutoScrollSpeedX);
    m_ScrollX.SetRange(g_StageSettings.m_nScrollLeft, g_StageSettings.m_nScrollRight,
                       g_StageSettings.m_bScrollLimitLeft, g_StageSettings.m_bScrollLimitRight);
    m_ScrollY.SetAxis(1, height, StageExtension(1));
    m_ScrollY.SetSpeed(g_StageSettings.m_bAutoScrollY, g_StageSettings.m_nAutoScrollSpeedY);
    m_ScrollY.SetRange(g_StageSettings.m_nScrollTop, g_StageSettings.m_nScrollBottom,
                       g_StageSettings.m_bScrollLimitTop, g_StageSettings.m_bScrollLimitBottom);
    // 9. The block map.
    BuildBlockMap();
    // 10. The hero, with the view centred on it.
    m_nHeroCount = 1;
    g_vecHero.assign((size_t)m_nHeroCount, cHero());
    for (int i = 0; i < m_nHeroCount; ++i) {
        cHero& hero = CheckedAt(g_vecHero, i);
        SetupHero(hero, i);
        // Where a stage-clear command asked the next stage to start.
        if (i == 0 && g_NextStageStart.bSet) {
            hero.SetBlockPos(g_NextStageStart.nX, g_NextStageStart.nY);
            hero.m_nDir = g_NextStageStart.nDir;
            g_NextStageStart = NEXTSTAGESTART{};
        }
        double x = 0.0, y = 0.0;
        int w = 0, h = 0;
        HeroViewBox(hero, x, y, w, h);
        m_ScrollX.m_dPos = x - 320.0 + (double)(w / 2);
        m_ScrollX.Clamp();
        m_ScrollY.m_dPos = y - 240.0 + (double)(h / 2);
        m_ScrollY.Clamp();
        hero.GetGraphicRect();
    }
    // The view mask of hero 0's sight.
    if (g_bDDInitialized) {
        const cHero& hero = Hero();
        CreatePlayWorkSurfaces(&g_ViewMaskSD, &g_ViewBrushSD, hero.m_nSightRange, hero.m_byViewMode);
    }
    // 11, 12. The table, the stage's characters and items, and the group lists.
    m_vecTable.assign(1000, 0);
    SpawnStageObjects(this);
    for (cHero& hero : g_vecHero) AddToGroup(&hero);
    for (cStageChara& chara : g_listStageChara) AddToGroup(&chara);
    // 13. Far objects are erased only where the stage gives a range.
    for (int r = 0; r < 3; ++r) {
        const cStagePartA& range = g_StageSettings.m_aParts[r];
        m_abFarErase[r] = (range.Value(0) || range.Value(1) || range.Value(2) || range.Value(3)) ? 1 : 0;
    }
    // 14. Effect objects, messages and pictures of the last stage, and the range display's blink.
    m_listEffect.clear();
    ResetRangeBlink();
    ReleasePicturesAndMessageSurfaces(this);
    m_listMessage.clear();
    // 15. Sub-step flags: m of the n sub-steps, spread evenly; all when m is 0.
    BuildSubStepFlags(m_vecSubStepFlags, g_StageSettings.m_nSubSteps, StageShotHitCount());
    // 16. Request word, banners, time limit, play timer, sub-step counters.
    m_nRequest = PLAY_REQ_NONE;
    m_nNextStage = 0;
    m_bNextStageSet = 0;
    m_bOwnBase = 0;
    m_strOwnBase.clear();
    m_nStatusPanel = stageword::StatusPanel(g_StageSettings);
    m_nBanner1 = m_nBanner2 = 0;
    if (StageTimeLimitOn()) {
        m_nTimeLimit = std::clamp(StageTimeLimit(), 0, kMaxTimeLimit);
        m_bNoTimeLimit = 0;
    } else {
        m_nTimeLimit = kMaxTimeLimit;
        m_bNoTimeLimit = 1;
    }
    m_nPlayTime = m_nPlayFrames = 0;
    m_vecFlags.assign(60, 0);
    m_nSubStep = m_nSubStepTotal = 0;
    // 17. The play data's stage-start values.
    ResetStageValues();
    // 18, 19. Input histories, requests, the frame divider.
    for (cPlayerInput& in : g_vecPlayerInput) {
        in.ClearHistory();
        in.ResetInputHistories();
    }
    ResetRequestList(*this);
    FrameSkipCount(0, 0);
    // 20, 21. Backgrounds and the 8-bit palette.
    ResetBackgrounds();
    RestorePalette8();
    // 22. The stage's own frame rate (a stage without a usable one plays at 60).
    const int rate = ClampFrameRate(g_StageSettings.m_nFrameRate);
    g_SceneManager.m_nFrameRate = rate > 0 ? rate : 60;
    // 23. Stage-start flows.
    RunStageStartFlows(this);
    // 24. The back buffer the stage asks for.
    if (g_bDDInitialized) DDSetVirtualBackBuffer(m_nVirtualScreen != 0 ? 1 : 0);
    m_bInSetup = 0;
}

void cPlayScene::Draw(int a, int b, int c, int d) { DrawPlayScreen(this, a, b, c, d); }

void cPlayScene::FadeIn() {
    Draw(0, 1, 0, 1);
    if (DrawWaveFadeIn(g_WorkPalette, 0, 255, 0, 0, 0, (double)g_SceneManager.m_nFadeStep, g_EnginePalette, 0))
        m_nState = PLAY_BANNER;
}

void cPlayScene::FadeOut() {
    Draw(0, 1, 0, 1);
    if (!DrawWaveFadeOut(g_WorkPalette, 0, 255, 0, 0, 0, (double)g_SceneManager.m_nFadeStep, g_EnginePalette, 0))
        return;
    if (g_bDDInitialized) DDFillSurface(&g_BackBufferSD, 16);
    // Test play of a stage file goes on with the same file until the play data says stop.
    if (g_SceneManager.m_nPlayMode == START_MODE_STAGEFILE && saveword::StopAfterPlay(g_SaveData) == 0) {
        if (!StartFromStageFile(g_SystemIni.szFreeStage, FALSE)) PostClose();
    }
    g_SceneManager.m_nCurrent = g_SceneManager.m_nNext;
    g_SceneManager.m_nPrevious = SCENE_PLAY;
    g_SceneManager.m_nFrameRate = 60;
    m_nState = -1;
}

void cPlayScene::StageStartBanner() {
    Draw(0, 1, 0, 1);
    if (!(g_bEditor && g_bStageFileStart)) {
        if (g_SceneManager.m_nPlayMode == START_MODE_REPLAY) {
            if (++m_nBanner1 < kBannerFrames) {
                DrawBannerSprite(1, 0);
                return;
            }
        } else {
            if (StageBannerSwitch(1) && ++m_nBanner1 < kBannerFrames) {
                DrawBannerSprite(0, g_SaveData.m_nStageNumber);
                return;
            }
            if (StageBannerSwitch(2) && ++m_nBanner2 < kBannerFrames) {
                DrawBannerSprite(2, 0);
                return;
            }
        }
    }
    cHero& hero = Hero();
    // Started even when the current frame may not be interrupted.
    hero.m_Anime->Set(hero.m_bFreeMove ? 2 : 0, 1);
    m_nBanner1 = 0;
    m_nState = PLAY_FRAME;
}

void cPlayScene::InitRequest(int mode, int waitKey, int frames, int noDelay) {
    m_WaitRequest.nMode = mode;
    m_WaitRequest.bWaitKey = waitKey;
    m_WaitRequest.nFrames = frames;
    m_WaitRequest.nSpare = 0;
    m_WaitRequest.nKeyDelay = (waitKey && mode == 1 && noDelay == 0) ? 10 : 0;
}

void cPlayScene::AddToGroup(cChara* chara) {
    CheckedAt(m_vecCharaGroup, chara->m_nGroup).push_back(chara);
}

void cPlayScene::AddToGroup(cShot* shot) { CheckedAt(m_vecShotGroup, shot->m_nGroup).push_back(shot); }

cPlayScene::CHARAIT cPlayScene::Vanish(CHARAIT it) {
    cStageChara* chara = &*it;
    chara->ReleaseLinks();
    for (std::list<cChara*>& group : m_vecCharaGroup) group.remove(chara);
    if (m_lpRunChara == chara) m_lpRunChara = nullptr;
    BlockCharasChanged();
    return g_listStageChara.erase(it);
}

void cPlayScene::RemoveStageChara(cChara* chara) {
    for (CHARAIT it = g_listStageChara.begin(); it != g_listStageChara.end(); ++it) {
        if (&*it == chara) {
            Vanish(it);
            return;
        }
    }
}

std::list<cShot>::iterator cPlayScene::EraseShot(std::list<cShot>::iterator it) {
    cShot* shot = &*it;
    for (std::list<cShot*>& group : m_vecShotGroup) group.remove(shot);
    return m_listShot.erase(it);
}

void cPlayScene::UpdatePlayTimer() {
    if (m_nPlayTime >= kMaxPlayTime) return;
    ++m_nPlayFrames;
    m_nPlayTime = (int32_t)std::min<int64_t>((int64_t)m_nPlayFrames * 100 / 60, kMaxPlayTime);
}

int cPlayScene::UpdateTimeLimit(int delta) {
    if (m_bNoTimeLimit) return 0;
    if (!FrameSkipCount(1, 60)) return 0;
    const int64_t t = (int64_t)m_nTimeLimit + delta;
    if (t > kMaxTimeLimit) {
        m_nTimeLimit = kMaxTimeLimit;
        return 0;
    }
    if (t < 1) {
        m_nTimeLimit = 0;
        return 1;
    }
    m_nTimeLimit = (int32_t)t;
    return 0;
}

bool cPlayScene::HeroDies() {
    PlaySystemSe(kSeHeroMiss);
    if (Hero().Die() == 1) return GameEnds();
    return true;
}

bool cPlayScene::GameEnds() {
    FinishGameRanking(this);
    m_nState = PLAY_RESULT;
    return true;
}

bool cPlayScene::KillByPass(CHARAIT& it) {
    const int result = KillCharacterCheckEnd(this, *it);
    if (KeepDeadCharacters()) {
        if (result == 1) {
            it = Vanish(it);
            return true;
        }
        PlaySystemSe(kSeCrushed);
        ++it;
        return result != 0;
    }
    it = Vanish(it);
    return result != 0;
}

bool cPlayScene::Crushed(CHARAIT& it) {
    PlaySystemSe(kSeCrushed);
    const int result = KillCharacterCheckEnd(this, *it);
    if (result == 1) {
        it = Vanish(it);
        return true;
    }
    ++it;
    return result != 0;
}

bool cPlayScene::ReadInput() {
    cPlayerInput& in = CheckedAt(g_vecPlayerInput, 0);
    if (g_SceneManager.m_nPlayMode != START_MODE_REPLAY) {
        cHero& hero = Hero();
        if (hero.m_bIgnoreDirection) in.Reset();
        if (hero.m_bIgnoreButtons) in.ClearButtons();
        // A button still held from a menu or a wait does nothing until every button is up.
        if (in.m_wButton == 0)
            m_bSwallowButtons = 0;
        else if (m_bSwallowButtons)
            in.m_wButton = 0;
        in.PushHistory();
        in.UpdateInputHistories();
        if (g_SystemData.m_bReplay) g_Replay.Record(in);
        return false;
    }
    in.Reset();
    in.ClearButtons();
    if (g_Replay.Next(in)) {
        // The recording has ended: the same stage from its banner, and the replay again.
        ResetStageVariables(g_SaveData, 1, g_SceneManager.m_nGameMode, g_bStageFileStart ? TRUE : FALSE);
        SetStage(1, 1);
        m_nState = PLAY_BANNER;
        return true;
    }
    in.m_nDirection = KeyBitsToDirection(in.m_wKey);
    in.PushHistory();
    in.UpdateInputHistories();
    return false;
}

void cPlayScene::PlayFrame() {
    if (m_bQuit) {
        PostClose();
        return;
    }
    if (CheckPauseKey(this)) {
        m_nPhase = 0;
        m_nState = PLAY_MENU;
        return;
    }
    if (ReplaySaveKeyCheck()) return;
    if (m_nFrameCount < INT32_MAX) ++m_nFrameCount;
    if (ReadInput()) return;
    UpdatePlayTimer();
    if (UpdateTimeLimit(-1) && !Hero().m_bDying) {
        HeroDies();
        return;
    }
    cHero& hero = Hero();
    const int n = g_StageSettings.m_nSubSteps;
    m_nRidingSteps = 0;
    {
        const cBlockCharaRoster roster;
        hero.ClearFlowRunFlags();
        GatherStageCast(s_vecCast);
        for (const CHARAIT& it : s_vecCast) {
            cStageChara& chara = *it;
            if (!chara.m_bDying) chara.ClearFlowRunFlags();
            chara.m_anFrameWord[0] = chara.m_anFrameWord[1] = 0;
        }
        hero.m_anFrameWord[0] = hero.m_anFrameWord[1] = 0;
        for (int i = 1; i <= n; ++i)
            if (SubStep(i)) return;
    }
    Draw(1, 0, 1, 1);
}

bool cPlayScene::SubStep(int i) {
    m_nSubStep = i;
    if (m_nSubStepTotal < INT32_MAX) ++m_nSubStepTotal;
    CheckAppearances(this);
    cHero& hero = Hero();
    // 8a, 8b. Lifetimes, then invincibility, contacts and hit rectangles, in one walk: each
    // touches only its own character (and a vanishing one only the links to it).
    // The walk goes over the cast as gathered: removing a character leaves the others in place.
    const bool lifetimes = !hero.m_bDying;
    GatherStageCast(s_vecCast);
    for (const CHARAIT& it : s_vecCast) {
        if (lifetimes && it->m_nLifeTime != kEndlessLife && !it->m_bDying && --it->m_nLifeTime < 0) {
            Vanish(it);
            continue;
        }
        it->TickInvincible();
        it->ClearContactFlags();
        it->SaveHitRects();
    }
    if (lifetimes) {
        for (auto it = g_listItem.begin(); it != g_listItem.end();) {
            if (it->m_nLifeTime != kEndlessLife && --it->m_nLifeTime < 0)
                it = g_listItem.erase(it);
            else
                ++it;
        }
    }
    hero.TickInvincible();
    hero.ClearContactFlags();
    hero.SaveHitRects();
    hero.ClearLink();
    hero.ClearTarget();
    // 8c. Forced scrolling.
    m_ScrollX.Step();
    m_ScrollY.Step();
    // 8d-8f. Block characters, the hero, the other characters.
    if (!hero.m_bDying) {
        if (PassBlockCharas()) return true;
        ++m_nRidingSteps;  // the carriers have made this sub-step's move
        if (PassHero()) return true;
        if (PassCharas()) return true;
    }
    // 8g. Shots.
    PassShots(i);
    // 8h. Far objects.
    if (i == 1 && !Hero().m_bDying) EraseFarObjects();
    // 8i. Touches and hits.
    if (!Hero().m_bDying) {
        for (int k = 0; k < 3; ++k) {
            const int r = k == 0 ? BlockItemTouch(Hero()) : k == 1 ? HitCharacters(this) : HitHeroItems(this, Hero());
            if (r == 1) return GameEnds();
            if (r == 2) return HeroDies();
        }
    }
    return false;
}

bool cPlayScene::PassBlockCharas() {
    // Only the characters that act as blocks move here.
    if (!AnyBlockCharas()) return false;
    for (CHARAIT it = g_listStageChara.begin(); it != g_listStageChara.end();) {
        cStageChara& c = *it;
        if (!c.m_bActsAsBlock || c.m_bDying || !c.m_bAppeared || !c.m_bInRange) {
            ++it;
            continue;
        }
        c.RunFlowsOfTrigger(0);
        if (c.RunFlows(0)) {
            if (KillByPass(it)) return true;
            continue;
        }
        if (m_bDeathCheck && CheckDeaths(this, &c)) return true;
        bool crushed = false, vanish = false;
        if (c.StepX() == 4) vanish = true;
        if (c.HitBlocksHorizontal() == 2) crushed = true;
        c.ApplyGravity();
        const int y = c.StepY();
        if (y == 7) crushed = true;
        if (y == 8) vanish = true;
        if (c.HitBlocksVertical() == 2) crushed = true;
        if (crushed) {
            if (Crushed(it)) return true;
            continue;
        }
        if (vanish) {
            it = Vanish(it);
            continue;
        }
        c.DecayInertiaX();
        c.DecayInertiaY();
        ++it;
    }
    return false;
}

bool cPlayScene::PassHero() {
    cHero& hero = Hero();
    hero.RunFlowsOfTrigger(0);
    if (hero.RunFlows(0)) return HeroDies();
    if (m_nRequest == PLAY_REQ_GAMEEND) return GameEnds();
    if (m_nRequest == PLAY_REQ_HERODIES) return HeroDies();
    if (m_bDeathCheck && CheckDeaths(this)) return true;
    const int floor = ApplyFloorBlockEffect(hero);
    if (floor == 1) return GameEnds();
    if (floor == 2) return HeroDies();
    if (hero.IsRiding()) MoveRiders(hero);
    hero.StepX();
    KeepInViewX(hero);
    if (hero.HitBlocksHorizontal() == 2) return HeroDies();
    KeepInViewX(hero);
    hero.ApplyGravity();
    if (hero.StepY() == 7) return HeroDies();
    if (KeepInViewY(hero) == 2) return HeroDies();
    if (hero.HitBlocksVertical() == 2) return HeroDies();
    if (KeepInViewY(hero) == 2) return HeroDies();
    if (hero.Squeezed() && !hero.m_bCrushProof) {
        hero.RestoreHitRects();
        return HeroDies();
    }
    auto crushable = [&hero] { return !hero.m_bDying && !hero.m_bCrushProof; };
    if (hero.HitBlockCharacters() == 2 && crushable()) return HeroDies();
    if (hero.SideContact() && hero.HitBlocksSidesAgain() == 2 && crushable()) return HeroDies();
    if (hero.FloorContact() && hero.HitFloorAndCeilingAgain() == 2 && crushable()) return HeroDies();
    if (hero.Squeezed() && !hero.m_bCrushProof) {
        hero.RestoreHitRects();
        return HeroDies();
    }
    hero.DecayInertiaX();
    hero.DecayInertiaY();
    return false;
}

bool cPlayScene::PassCharas() {
    // The walk goes over the cast as gathered while the stage list stays as it was (a node at a
    // time, without waiting on each node's link to the next). From the first visit that changes
    // the list (a flow summons or removes a character, a character ends) it follows the list's
    // links from where that visit left it, as the whole walk did before.
    static std::vector<CHARAIT> s_vecPassCast;
    GatherStageCast(s_vecPassCast);
    CHARAIT it = g_listStageChara.begin();
    const size_t count = g_listStageChara.size();
    if (s_vecPassCast.size() == count) {
        const uint64_t changes = StageCastChanges();
        bool changed = false;
        for (const CHARAIT& at : s_vecPassCast) {
            if (!TakesPass(*at)) continue;  // a visit that would only step past it
            it = at;
            if (PassChara(it)) return true;
            if (StageCastChanges() != changes || g_listStageChara.size() != count) {
                changed = true;
                break;
            }
        }
        if (!changed) return false;
    }
    while (it != g_listStageChara.end())
        if (PassChara(it)) return true;
    return false;
}

bool cPlayScene::PassChara(CHARAIT& it) {
    cStageChara& c = *it;
    if (!TakesPass(c)) {
        ++it;
        return false;
    }
    c.RunFlowsOfTrigger(0);
    if (c.RunFlows(0)) {
        if (c.m_bVanishOnEnd) {
            it = Vanish(it);
            return false;
        }
        return KillByPass(it);
    }
    if (m_bDeathCheck && CheckDeaths(this, &c)) return true;
    if (c.IsRiding()) MoveRiders(c);
    bool crushed = false, vanish = false;
    if (c.StepX() == 4) vanish = true;
    if (c.HitBlocksHorizontal() == 2) crushed = true;
    c.ApplyGravity();
    const int y = c.StepY();
    if (y == 7) crushed = true;
    if (y == 8) vanish = true;
    if (c.HitBlocksVertical() == 2) crushed = true;
    if (c.HitBlockCharacters() == 2) crushed = true;
    c.HitBlocksSidesAgain();
    c.HitFloorAndCeilingAgain();
    if (crushed || c.Squeezed()) return Crushed(it);
    if (vanish) {
        it = Vanish(it);
        return false;
    }
    c.DecayInertiaX();
    c.DecayInertiaY();
    ++it;
    return false;
}

void cPlayScene::PassShots(int i) {
    // The far edges of the two shot ranges: nothing in this pass moves the screen.
    FAREDGES far[2] = {};
    if (i == 1) {
        far[0] = FarEdgesOf(g_StageSettings.m_aParts[RANGE_SHOT]);
        far[1] = FarEdgesOf(g_StageSettings.m_aParts[RANGE_SHOT2]);
    }
    for (auto it = m_listShot.begin(); it != m_listShot.end();) {
        cShot& shot = *it;
        if (shot.Update()) {
            it = EraseShot(it);
            continue;
        }
        shot.AddGravity();
        shot.AccelStepY();
        shot.AccelStepX();
        if (i == 1 && shot.m_bFarErase && shot.IsNearScrollEdge(far[shot.m_bFollowOwner ? 1 : 0])) {
            it = EraseShot(it);
            continue;
        }
        if (shot.HitsBlocks()) {
            it = EraseShot(it);
            continue;
        }
        ++it;
    }
}

void cPlayScene::EraseFarObjects() {
    if (m_abFarErase[RANGE_CHARA]) {
        const FAREDGES far = FarEdgesOf(g_StageSettings.m_aParts[RANGE_CHARA]);
        for (CHARAIT it = g_listStageChara.begin(); it != g_listStageChara.end();) {
            if (!it->m_bActsAsBlock && !it->m_bDying && it->m_bAppeared && it->IsNearScrollEdge(far))
                it = Vanish(it);
            else
                ++it;
        }
    }
    if (m_abFarErase[RANGE_BLOCKCHARA]) {
        const FAREDGES far = FarEdgesOf(g_StageSettings.m_aParts[RANGE_BLOCKCHARA]);
        for (CHARAIT it = g_listStageChara.begin(); it != g_listStageChara.end();) {
            if (it->m_bActsAsBlock && !it->m_bDying && it->m_bAppeared && it->IsNearScrollEdge(far))
                it = Vanish(it);
            else
                ++it;
        }
    }
    if (m_abFarErase[RANGE_ITEM]) {
        const FAREDGES far = FarEdgesOf(g_StageSettings.m_aParts[RANGE_ITEM]);
        for (auto it = g_listItem.begin(); it != g_listItem.end();) {
            if (it->IsNearScrollEdge(far))
                it = g_listItem.erase(it);
            else
                ++it;
        }
    }
}
