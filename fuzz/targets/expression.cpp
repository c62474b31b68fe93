// Code lines: any bytes run as the code command's formula for a stage character whose target is
// the hero. The answer agrees with the error flag, and every word an assignment can reach stays
// inside its range afterwards (each starts inside it).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/scene_manager.h"
#include "core/helpers.h"
#include "core/report.h"
#include "flow/expression.h"
#include "platform/win32/crt.h"
#include "platform/win32/win32.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

bool SwallowBox(const char*, const char*, UINT, int* answer) {
    *answer = IDOK;
    return true;
}

void InRange(int32_t v, int32_t low, int32_t high) {
    if (v < low || v > high) std::abort();
}

cPlayScene& Scene() {
    static cPlayScene* scene = new cPlayScene();
    return *scene;
}

cStageChara& SetUpPlay() {
    SetFullScreenMessageBox(SwallowBox);
    g_StageSettings = cStage();
    g_StageSettings.SetHitLevel(1);
    g_StageSettings.m_bAutoScrollX = 1;
    g_lpPlayScene = &Scene();
    Scene().m_vecStageVars.assign(1001, 5);
    Scene().m_nTimeLimit = 300;
    Scene().m_bDeathCheck = 0;
    g_SaveData.m_vecCommonVars.assign(1001, -5);
    g_SaveData.m_nScore = 100;
    g_SaveData.m_nLives = 3;
    g_vecHero.clear();
    g_listStageChara.clear();
    cCharaRec rec;
    rec.m_nC39 = 500;
    rec.m_nC40 = 50;
    const int32_t place[4] = {0, 0, -1, 0};
    g_vecHero.assign(1, cHero());
    g_vecHero[0].SetupFromPlacement(0, rec, place);
    g_vecHero[0].m_vecVar.assign(9, 1);
    rec.m_nC39 = 100;
    rec.m_nC40 = 100;
    rec.m_byC17 = 4;
    g_listStageChara.emplace_back();
    cStageChara& chara = g_listStageChara.back();
    chara.SetUp(&rec, place);
    chara.m_nId = 7;
    chara.m_nTargetId = g_vecHero[0].m_nId;
    chara.m_vecVar.assign(9, 2);
    Scene().m_lpRunChara = &chara;
    return chara;
}

void CheckChara(cChara& c) {
    cCharaRec& d = c.m_Def;
    InRange(charadef::MaxHPField(d), 1, 999999);
    InRange(charadef::MaxSPField(d), 1, 999999);
    // (HP and SP can pass a maximum lowered later in the same line: their range is taken
    // when their word is read)
    InRange(c.m_nHP, 0, 999999);
    InRange(c.m_nSP, 0, 999999);
    InRange((int8_t)charadef::CharaIdField(d), 0, 99);
    InRange((int8_t)c.m_byLayer, 0, 7);
    InRange((int16_t)charadef::MarkField(d), 0, 119);
    InRange((int8_t)charadef::SightField(d), 0, 40);
    InRange(charadef::BodyPowerField(d), -999999, 999999);
    InRange((int8_t)charadef::BodyImpactField(d), -20, 20);
    InRange(charadef::DefenceField(d), 0, 999999);
    InRange((int8_t)charadef::ImpactResistField(d), 0, 20);
    InRange((int16_t)charadef::DecelField(d), 0, 200);
    InRange(charadef::DefeatScoreField(d), -999999, 999999);
    for (int32_t v : c.m_vecVar) InRange(v, -999999, 999999);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kExprTextMax + 64) return 0;
    cStageChara& chara = SetUpPlay();
    crt::srand(1);
    const std::string line(reinterpret_cast<const char*>(data), size);
    const int answer = RunExpressionCode(line, &chara);
    if (answer != (g_bExprError ? 0 : 1)) std::abort();
    for (int32_t v : g_SaveData.m_vecCommonVars) InRange(v, -999999, 999999);
    for (int32_t v : Scene().m_vecStageVars) InRange(v, -999999, 999999);
    InRange(Scene().m_nTimeLimit, 0, 999);
    InRange(g_StageSettings.m_nAutoScrollSpeedX, -480, 480);
    InRange(g_StageSettings.m_nAutoScrollSpeedY, -480, 480);
    InRange(g_SaveData.m_nScore, 0, 999999);
    InRange(g_SaveData.m_nLives, 0, 99);
    CheckChara(chara);
    CheckChara(g_vecHero[0]);
    // Index errors post WM_CLOSE to this thread's queue when there is no main window.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    return 0;
}
