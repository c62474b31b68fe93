// Graphic, animation, effect, picture, screen and sound commands (kinds 26-36).
#include "flow/cmd_graphics.h"

#include <algorithm>
#include <bitset>
#include <climits>
#include <iterator>

#include "app/scene_manager.h"
#include "core/globals.h"
#include "core/report.h"
#include "flow/flow_cmd.h"
#include "flow/flow_run.h"
#include "flow/value_ops.h"
#include "media/asset_table.h"
#include "media/draw_device.h"
#include "media/surface.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/effect_obj.h"
#include "play/effect_progress.h"
#include "play/hero.h"
#include "play/pause_loop.h"
#include "play/picture_lists.h"
#include "play/play_rules.h"
#include "play/play_scene.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "play/stage_objects.h"
#include "play/stage_words.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_ini.h"

namespace {

// Reports written once per stage: a number out of its list, per kind of number.
enum { REP_ANIMESET, REP_EFFECT, REP_CHARAEFFECT, REP_SCREFFECT, REP_PICTURE, REP_COUNT };
std::bitset<REP_COUNT> s_Reported;

void ReportOutOfRange(int which, const char* what, int number, size_t count) {
    if (s_Reported.test((size_t)which)) return;
    s_Reported.set((size_t)which);
    WriteReport("%s %d out of range (%d in the list): no effect", what, number, (int)count);
}

// Parameter i of a command, 0 when the list is short.
int32_t Param(const cFlowCmd& cmd, size_t i) { return i < cmd.m_vecParams.size() ? cmd.m_vecParams[i] : 0; }

// Size percentages of effects and pictures ("表示倍率(%)", 1-1000).
int32_t Percent(int32_t p) { return std::clamp(p, 1, 1000); }

// Tenths of a second to frames, held inside the int range.
int32_t TenthsToFrames(int64_t tenths) { return (int32_t)std::clamp<int64_t>(tenths * 6, 0, INT32_MAX); }

// The in-view word a sound condition reads: heroes are always in view.
bool InView(const cChara& c) { return c.m_nId >= kHeroId || c.m_nInput != 0; }

// The id a flow animation is tagged with: the running flow's, -1 without one.
int RunningFlowId(const cChara& chara) {
    if (!g_lpPlayScene || g_lpPlayScene->m_lpRunChara != &chara || !g_lpPlayScene->m_lpRunFlow) return -1;
    return g_lpPlayScene->m_lpRunFlow->m_nFlowId;
}

// A command acts at the first step of each run of it.
bool FirstStep(CMDINSTANCE& inst) {
    if (inst.bStarted || !inst.lpCmd) return false;
    inst.bStarted = 1;
    return true;
}

// The position of an entry in a list by address; -1 when it is not there.
template <typename T>
long IndexOf(const std::list<T>& list, const T* entry) {
    long i = 0;
    for (const T& e : list) {
        if (&e == entry) return i;
        ++i;
    }
    return -1;
}

// Removes the picture at position i from the three lists, its surface released.
void RemovePictureAt(cPlayScene& scene, long i) {
    if (i < 0 || (size_t)i >= scene.m_listPicture.size()) return;
    scene.m_listPicture.erase(std::next(scene.m_listPicture.begin(), i));
    if ((size_t)i < g_listPictureSurface.size()) {
        auto s = std::next(g_listPictureSurface.begin(), i);
        DDReleaseSurface(&*s);
        g_listPictureSurface.erase(s);
    }
    if ((size_t)i < g_listPictureDesc.size()) g_listPictureDesc.erase(std::next(g_listPictureDesc.begin(), i));
}

// Whether the surface of a new picture goes to system memory: when the drawing layer reports its
// video memory and either a stretched picture may not be stretched in video memory, or less than
// a fifth of the video memory is free.
bool PictureInSystemMemory(int percent) {
    DWORD total = 0, free = 0;
    DDGetVideoMemory(&total, &free);
    if (total == 0) return false;
    const bool stretchInVideo = g_SystemIni.nDDVideoStretch != 0 && g_nDDBpp != 8;
    if (percent != 100 && !stretchInVideo) return true;
    return (uint64_t)free * 100 / total < 20;
}

}  // namespace

void ResetGraphicCmdReports() { s_Reported.reset(); }

void PlaceByOption(double& x, double& y, int w, int h, const cChara& chara, int option, int blockX, int blockY,
                   int offX, int offY) {
    if (!g_lpPlayScene) return;
    const cScroll& sx = g_lpPlayScene->m_ScrollX;
    const cScroll& sy = g_lpPlayScene->m_ScrollY;
    const int hw = w >> 1, hh = h >> 1;
    const cChara* at = &chara;
    switch (option) {
    case PLACE_SCREEN_CENTRE:
        x = sx.m_dPos + 320 - hw + offX;
        y = sy.m_dPos + 240 - hh + offY;
        break;
    case PLACE_HERO_CENTRE:
        if (g_vecHero.empty()) return;
        at = &g_vecHero.front();
        [[fallthrough]];
    case PLACE_CHARA_CENTRE:
        x = (double)at->m_nRectLeft + (at->m_nGraphWidth >> 1) + sx.m_dPos - hw + offX;
        y = (double)at->m_nRectTop + (at->m_nGraphHeight >> 1) + sy.m_dPos - hh + offY;
        break;
    case PLACE_SCREEN_BLOCKS:
        x = (double)blockX * 32 + sx.m_dPos + offX;
        y = (double)blockY * 32 + sy.m_dPos + offY;
        break;
    case PLACE_STAGE_BLOCKS:
        x = ((double)blockX + sx.m_nMargin) * 32 + offX;
        y = ((double)blockY + sy.m_nMargin) * 32 + offY;
        break;
    default: break;
    }
}

// ---- graphic and animation ----

void FlowCmdChangeGraphicImpl(cChara& chara, const cFlowCmd& cmd) {
    cCharaRec& d = chara.m_Def;
    charadef::GraphicKindField(d) = (uint8_t)Param(cmd, 0);
    charadef::GraphicNumberField(d) = (uint16_t)std::clamp(Param(cmd, 1), 0, 0xFFFF);
    charadef::GraphicOffsetField(d) = (uint16_t)(int16_t)std::clamp(Param(cmd, 2), -32768, 32767);
}

void FlowCmdChangeAnimeSetImpl(cChara& chara, const cFlowCmd& cmd) {
    const int set = Param(cmd, 0);
    if (set < 0 || (size_t)set >= g_Database.m_vecAnimeSet.size()) {
        ReportOutOfRange(REP_ANIMESET, "animation set", set, g_Database.m_vecAnimeSet.size());
        return;
    }
    chara.SetAnimation((int16_t)set, 0);
}

const std::vector<cAnimeRec>& ProjectAnimes() { return g_Database.m_vecAnime; }

void FlowCmdRunAnimImpl(cChara& chara, const cFlowCmd& cmd) {
    const int anime = Param(cmd, 0);
    StartFlowAnime(chara, anime, RunningFlowId(chara), 0, FlowAnimeLeadFrames(anime), 0);
}

// ---- effects ----

void FlowCmdRunEffectImpl(cChara& chara, const cFlowCmd& cmd) {
    cPlayScene* scene = g_lpPlayScene;
    if (!scene || scene->m_bQuit) return;
    const int id = Param(cmd, 0) & 0xFFFF;
    if (id == 0) {
        scene->m_listEffect.clear();
        return;
    }
    if ((size_t)id >= g_Database.m_vecEffect.size()) {
        ReportOutOfRange(REP_EFFECT, "effect", id, g_Database.m_vecEffect.size());
        return;
    }
    const cEffectRec& def = g_Database.m_vecEffect[(size_t)id];
    const int32_t pct = Percent(Param(cmd, 6));
    const int w = PercentRound(def.m_nWidth, pct);
    const int h = PercentRound(def.m_nHeight, pct);
    double x = 0.0, y = 0.0;
    PlaceByOption(x, y, w, h, chara, Param(cmd, 1), Param(cmd, 2), Param(cmd, 3), Param(cmd, 4), Param(cmd, 5));
    const int hold = Param(cmd, 7) != 0 ? 1 : 0;
    scene->m_listEffect.emplace_back();
    scene->m_listEffect.back().CreateAt(id, x, y, w, h, hold);
    if (!hold) return;
    // The game waits for the effect's whole animation; the effect ends with it.
    scene->InitRequest(2, 0, EffectHoldFrames(id), 0);
    RunPauseLoop(scene);
}

int32_t EffectHoldFrames(int id) {
    if (id < 0 || (size_t)id >= g_Database.m_vecEffect.size()) return 0;
    int64_t tenths = 0;
    for (const cEffectFrameRec& f : g_Database.m_vecEffect[(size_t)id].m_vecFrames)
        tenths += std::max<int32_t>(f.m_nDuration, 0);
    return TenthsToFrames(tenths);
}

void FlowCmdCharaEffectImpl(cChara& chara, const cFlowCmd& cmd) {
    const int id = Param(cmd, 0);
    const int mode = Param(cmd, 1);
    const std::vector<CHARAEFFECTSTATE>& list = mode == EFFECT_RUN_REVERSE ? CharaEffectStatesReversed : CharaEffectStates;
    if (id < 0 || (size_t)id >= list.size()) {
        ReportOutOfRange(REP_CHARAEFFECT, "character effect", id, list.size());
        return;
    }
    StartCharaEffect(chara.m_CharaEffect, id, mode, Param(cmd, 2));
}

void FlowCmdScreenEffectImpl(cChara&, const cFlowCmd& cmd) {
    if (!g_lpPlayScene) return;
    const int id = Param(cmd, 0);
    const int mode = Param(cmd, 1);
    const std::vector<SCREFFECTSTATE>& list = mode == EFFECT_RUN_REVERSE ? ScrEffectStatesReversed : ScrEffectStates;
    if (id < 0 || (size_t)id >= list.size()) {
        ReportOutOfRange(REP_SCREFFECT, "screen effect", id, list.size());
        return;
    }
    StartScreenEffectOn(g_lpPlayScene, id, mode, Param(cmd, 2));
}

// ---- pictures ----

void FlowCmdShowPictureImpl(cChara& chara, const cFlowCmd& cmd) {
    cPlayScene* scene = g_lpPlayScene;
    if (!scene || scene->m_bQuit) return;
    const int id = Param(cmd, 0) & 0xFFFF;
    const int byId = Param(cmd, 12) != 0 ? 1 : 0;
    const int pictureId = Param(cmd, 13);
    if (id == 0 && !byId) {
        ClearPictureLists(scene);
        return;
    }
    if (id != 0 && (size_t)id >= g_Database.m_vecPicture.size()) {
        ReportOutOfRange(REP_PICTURE, "picture", id, g_Database.m_vecPicture.size());
        return;
    }
    // The place of the new picture: that of the picture of the same ID, else the end.
    long at = -1;
    if (byId) {
        long i = 0;
        for (const PictureObj& p : scene->m_listPicture) {
            if (p.m_bManagedById && p.m_nManagedId == pictureId) {
                at = i;
                break;
            }
            ++i;
        }
        if (at < 0 && id == 0) return;
        if (at >= 0) RemovePictureAt(*scene, at);
        if (id == 0) return;
    }
    // The lists go in step; a place past their end appends.
    const size_t count = std::min({scene->m_listPicture.size(), g_listPictureSurface.size(), g_listPictureDesc.size()});
    if (at < 0 || (size_t)at > count) at = (long)count;

    const cPictureRec& rec = g_Database.m_vecPicture[(size_t)id];
    const int32_t pct = Percent(Param(cmd, 7));
    const int mem = PictureInSystemMemory(pct) ? 1 : 0;
    SURFACEFILEDESC desc{};
    SetSurfaceFileDesc(&desc, rec.m_strFile.c_str(), 1, (DWORD)mem, mem ? DTMEMORYTYPE_SYSTEM : 0, 0, 0, 0, 0, 0, 0,
                       0);
    auto surf = g_listPictureSurface.insert(std::next(g_listPictureSurface.begin(), at), DDSURFACEDATA{});
    g_listPictureDesc.insert(std::next(g_listPictureDesc.begin(), at), desc);
    const int r = DDCreateSurfaceFromFile(&*surf, desc.szPath, 1, g_nDDBpp, mem, mem ? DTMEMORYTYPE_SYSTEM : 0, 0, 0,
                                          0, 0, 0);
    if (!DDCheckCreateResult(r)) {
        // The lists stay in step: the entries made for it go again.
        DDReleaseSurface(&*surf);
        g_listPictureSurface.erase(surf);
        g_listPictureDesc.erase(std::next(g_listPictureDesc.begin(), at));
        MesBoxF("%s 読み込み失敗！", rec.m_strFile.c_str());
        PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
        return;
    }
    const int w = PercentRound(surf->nWidth, pct);
    const int h = PercentRound(surf->nHeight, pct);
    double x = 0.0, y = 0.0;
    PlaceByOption(x, y, w, h, chara, Param(cmd, 1), Param(cmd, 2), Param(cmd, 3), Param(cmd, 4), Param(cmd, 5));
    const int mode = Param(cmd, 8);
    const int32_t t = Param(cmd, 14) ? 1 : TenthsToFrames(Param(cmd, 9));
    const int hold = Param(cmd, 10) != 0 ? 1 : 0;
    auto pic = scene->m_listPicture.insert(std::next(scene->m_listPicture.begin(), at), PictureObj{});
    // Layer 0 behind the block map, any other in front (a layer no pass draws would never end).
    const int layer = Param(cmd, 6) != 0 ? 1 : 0;
    pic->Set(id, x, y, w, h, Param(cmd, 11) != 0 ? 1 : 0, layer, pct, mode, t, hold, byId, pictureId);
    if (!hold) return;
    // The game waits: for button 1 (shown until a key, or until the stage ends), or the time.
    if (mode == kPictureTimed)
        scene->InitRequest(3, 0, t, 0);
    else
        scene->InitRequest(3, 1, 0, 0);
    const PictureObj* shown = &*pic;
    RunPauseLoop(scene);
    // Then the picture goes, found by its record: the loop may have ended it already.
    RemovePictureAt(*scene, IndexOf(scene->m_listPicture, shown));
}

// ---- screen, backgrounds, sound ----

void FlowCmdScreenColourImpl(cChara&, const cFlowCmd& cmd) {
    if (!g_lpPlayScene) return;
    int32_t values[8];
    for (size_t i = 0; i < 8; ++i) values[i] = Param(cmd, i);
    StartScreenColour(g_lpPlayScene, values);
}

void FlowCmdBackgroundImpl(cChara&, const cFlowCmd& cmd) {
    std::vector<cBackgroundRec>& backs = g_StageSettings.m_vecBackgrounds;
    const int64_t i = (int64_t)Param(cmd, 0) - 1;
    if (i < 0 || i >= (int64_t)backs.size()) return;
    int32_t& shown = stageword::BackgroundShownField(backs[(size_t)i]);
    switch (Param(cmd, 1)) {
    case 0: shown = 1; break;
    case 1: shown = 0; break;
    case 2: shown = shown ? 0 : 1; break;
    default: break;
    }
}

void FlowCmdSoundImpl(cChara& chara, const cFlowCmd& cmd) {
    if (cmd.m_bySoundCond && !InView(chara)) return;
    PlayUserSe(Param(cmd, 0));
}

void FlowCmdMusicImpl(cChara&, const cFlowCmd& cmd) { PostMusicRequest(Param(cmd, 0), Param(cmd, 1)); }

// ---- the flow handlers ----

#define FIRST_STEP_HANDLER(name)                                          \
    void name(cChara& chara, CMDINSTANCE& inst) {                         \
        if (FirstStep(inst)) name##Impl(chara, *inst.lpCmd);              \
    }

FIRST_STEP_HANDLER(FlowCmdChangeGraphic)
FIRST_STEP_HANDLER(FlowCmdChangeAnimeSet)
FIRST_STEP_HANDLER(FlowCmdRunAnim)
FIRST_STEP_HANDLER(FlowCmdRunEffect)
FIRST_STEP_HANDLER(FlowCmdCharaEffect)
FIRST_STEP_HANDLER(FlowCmdScreenEffect)
FIRST_STEP_HANDLER(FlowCmdShowPicture)
FIRST_STEP_HANDLER(FlowCmdScreenColour)
FIRST_STEP_HANDLER(FlowCmdBackground)
FIRST_STEP_HANDLER(FlowCmdSound)
FIRST_STEP_HANDLER(FlowCmdMusic)

#undef FIRST_STEP_HANDLER
