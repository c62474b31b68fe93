// Status words, system words and variables for the status condition and the status operation.
#include "play/status_ops.h"

#include <algorithm>

#include "core/helpers.h"
#include "core/report.h"
#include "app/scene_manager.h"
#include "flow/flow_cond.h"
#include "flow/value_ops.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

constexpr int32_t kValueMax = 999999;

struct WORDRANGE {
    int32_t nLow, nHigh;
};
// The limits written by the status operation, by status word.
constexpr WORDRANGE kStatusRange[STATUS_WORD_COUNT] = {
    {-kValueMax, kValueMax}, {0, kValueMax}, {0, kValueMax}, {0, kValueMax}, {0, kValueMax},
    {0, 99}, {0, 7}, {0, 119}, {0, 40}, {-kValueMax, kValueMax}, {-20, 20}, {0, kValueMax},
    {0, 20}, {0, 200}, {-kValueMax, kValueMax},
};
// The limits of the system words.
constexpr WORDRANGE kSystemRange[SYSWORD_COUNT] = {
    {0, 999}, {-480, 480}, {-480, 480}, {0, kValueMax}, {0, 99},
};

// The width in bytes of a status word's field.
int StatusWordWidth(int word) {
    switch (word) {
        case STATUS_CHARAID:
        case STATUS_Z:
        case STATUS_SIGHT:
        case STATUS_BODYIMPACT:
        case STATUS_IMPACTRESIST: return 1;
        case STATUS_MARK:
        case STATUS_DECEL: return 2;
        default: return 4;
    }
}

bool IsHero(const cChara& chara) { return dynamic_cast<const cHero*>(&chara) != nullptr; }

cChara* FindCharaById(int32_t id) {
    if (id < 0) return nullptr;
    for (cHero& h : g_vecHero)
        if (h.m_nId == id) return &h;
    for (cStageChara& c : g_listStageChara)
        if (c.m_nId == id) return &c;
    return nullptr;
}

// One report line per distinct bad index, so that a test made every frame does not flood it.
void ReportBadIndex(const char* what, int index) {
    static const char* s_lpLastWhat = nullptr;
    static int s_nLastIndex = 0;
    if (s_lpLastWhat == what && s_nLastIndex == index) return;
    s_lpLastWhat = what;
    s_nLastIndex = index;
    WriteReport("StatusValue Err : %s %d out of range", what, index);
}

int32_t* CharaVariable(cChara& chara, int index) {
    if (index < 0 || (size_t)index >= chara.m_vecVar.size()) {
        ReportBadIndex("character variable", index);
        return nullptr;
    }
    return &chara.m_vecVar[(size_t)index];
}

// A status word of a character; false when it cannot be read.
bool ReadStatusWord(cChara& c, int word, int varIndex, int32_t& out) {
    cCharaRec& d = c.m_Def;
    switch (word) {
        case STATUS_VAR: {
            const int32_t* v = CharaVariable(c, varIndex);
            if (!v) return false;
            out = *v;
            return true;
        }
        case STATUS_HP: out = c.m_nHP; return true;
        case STATUS_SP: out = c.m_nSP; return true;
        case STATUS_MAXHP: out = charadef::MaxHPField(d); return true;
        case STATUS_MAXSP: out = charadef::MaxSPField(d); return true;
        case STATUS_CHARAID: out = (int8_t)charadef::CharaIdField(d); return true;
        case STATUS_Z: out = (int8_t)c.m_byLayer; return true;
        case STATUS_MARK: out = (int16_t)charadef::MarkField(d); return true;
        case STATUS_SIGHT:
            if (IsHero(c)) return false;
            out = (int8_t)charadef::SightField(d);
            return true;
        case STATUS_BODYPOWER: out = charadef::BodyPowerField(d); return true;
        case STATUS_BODYIMPACT: out = (int8_t)charadef::BodyImpactField(d); return true;
        case STATUS_DEFENCE: out = charadef::DefenceField(d); return true;
        case STATUS_IMPACTRESIST: out = (int8_t)charadef::ImpactResistField(d); return true;
        case STATUS_DECEL:
            out = (int16_t)charadef::DecelField(d);
            c.m_dDecel = PercentToRate((int16_t)out);
            return true;
        case STATUS_DEFEATSCORE: out = charadef::DefeatScoreField(d); return true;
        default: return false;
    }
}

// A system word; `asSource`: the time reads as 0 while it is switched off and unlimited lives
// as 0, otherwise unlimited lives cannot be read.
bool ReadSystemWord(int word, bool asSource, int32_t& out) {
    switch (word) {
        case SYSWORD_TIME:
            out = (g_lpPlayScene && !(asSource && g_lpPlayScene->m_bNoTimeLimit)) ? g_lpPlayScene->m_nTimeLimit : 0;
            return true;
        case SYSWORD_SCROLLX: out = g_StageSettings.m_nAutoScrollSpeedX; return true;
        case SYSWORD_SCROLLY: out = g_StageSettings.m_nAutoScrollSpeedY; return true;
        case SYSWORD_SCORE: out = g_SaveData.m_nScore; return true;
        case SYSWORD_LIVES:
            if (g_SaveData.m_nLives == kUnlimitedLives) {
                out = 0;
                return asSource;
            }
            out = g_SaveData.m_nLives;
            return true;
        default: return false;
    }
}

// Changes a system word by an operator within its limits.
void ApplySystemWord(int word, int32_t r, int op, int percent) {
    if (word < 0 || word >= SYSWORD_COUNT) return;
    const WORDRANGE& range = kSystemRange[word];
    int32_t* place = nullptr;
    switch (word) {
        case SYSWORD_TIME:
            if (!g_lpPlayScene) return;
            place = &g_lpPlayScene->m_nTimeLimit;
            break;
        case SYSWORD_SCROLLX: place = &g_StageSettings.m_nAutoScrollSpeedX; break;
        case SYSWORD_SCROLLY: place = &g_StageSettings.m_nAutoScrollSpeedY; break;
        case SYSWORD_SCORE: place = &g_SaveData.m_nScore; break;
        case SYSWORD_LIVES:
            if (g_SaveData.m_nLives == kUnlimitedLives) return;
            place = &g_SaveData.m_nLives;
            break;
    }
    if (percent) r = PercentRound(*place, r);
    ApplyOp32(*place, r, op, range.nLow, range.nHigh);
    if (g_lpPlayScene && word == SYSWORD_SCROLLX)
        g_lpPlayScene->m_ScrollX.SetSpeed(g_StageSettings.m_bAutoScrollX, *place);
    if (g_lpPlayScene && word == SYSWORD_SCROLLY)
        g_lpPlayScene->m_ScrollY.SetSpeed(g_StageSettings.m_bAutoScrollY, *place);
}

// A narrow signed field changed by an operator within its limits.
template <typename FIELD, typename WIDE>
void ApplyNarrow(FIELD& field, int32_t r, int op, int percent, const WORDRANGE& range) {
    WIDE v = (WIDE)field;
    if (percent) r = PercentRound(v, r);
    if constexpr (sizeof(WIDE) == 1)
        ApplyOp8(v, r, op, (int8_t)range.nLow, (int8_t)range.nHigh);
    else
        ApplyOp16(v, r, op, (int16_t)range.nLow, (int16_t)range.nHigh);
    field = (FIELD)v;
}

void ApplyWide(int32_t& field, int32_t r, int op, int percent, const WORDRANGE& range) {
    if (percent) r = PercentRound(field, r);
    ApplyOp32(field, r, op, range.nLow, range.nHigh);
}

// HP or SP: R by the calculation mode, the copy changed within 0 .. 999999, the difference
// through the character's change.
void ApplyPoints(cChara& obj, bool hp, int32_t r, int op, int mode, int gauge) {
    const int32_t current = hp ? obj.m_nHP : obj.m_nSP;
    const int32_t maximum = hp ? charadef::MaxHP(obj.m_Def) : charadef::MaxSP(obj.m_Def);
    if (mode == 1) r = PercentRound(maximum, r);
    else if (mode == 2) r = PercentRound(current, r);
    int32_t changed = current;
    ApplyOp32(changed, r, op, 0, kValueMax);
    const int32_t delta = (int32_t)std::clamp<int64_t>((int64_t)changed - current, INT32_MIN, INT32_MAX);
    if (hp) {
        obj.AddHP(delta, 1, gauge);
        if (g_lpPlayScene && &obj != g_lpPlayScene->m_lpRunChara && obj.m_nHP <= 0) g_lpPlayScene->m_bDeathCheck = 1;
    } else {
        obj.AddSP(delta, gauge);
    }
}

void ApplyStatusWord(cChara& obj, int word, int varIndex, int32_t r, int op, int percent) {
    if (word < 0 || word >= STATUS_WORD_COUNT) return;
    const WORDRANGE& range = kStatusRange[word];
    cCharaRec& d = obj.m_Def;
    switch (word) {
        case STATUS_VAR:
            if (int32_t* v = CharaVariable(obj, varIndex)) ApplyWide(*v, r, op, percent, range);
            break;
        case STATUS_MAXHP: ApplyWide(charadef::MaxHPField(d), r, op, percent, range); break;
        case STATUS_MAXSP: ApplyWide(charadef::MaxSPField(d), r, op, percent, range); break;
        case STATUS_CHARAID: ApplyNarrow<uint8_t, int8_t>(charadef::CharaIdField(d), r, op, percent, range); break;
        case STATUS_Z: ApplyNarrow<uint8_t, int8_t>(obj.m_byLayer, r, op, percent, range); break;
        case STATUS_MARK: ApplyNarrow<uint16_t, int16_t>(charadef::MarkField(d), r, op, percent, range); break;
        case STATUS_SIGHT:
            if (IsHero(obj)) return;
            ApplyNarrow<uint8_t, int8_t>(charadef::SightField(d), r, op, 0, range);
            RefreshSightRange(obj);
            break;
        case STATUS_BODYPOWER: ApplyWide(charadef::BodyPowerField(d), r, op, percent, range); break;
        case STATUS_BODYIMPACT: ApplyNarrow<uint8_t, int8_t>(charadef::BodyImpactField(d), r, op, percent, range); break;
        case STATUS_DEFENCE: ApplyWide(charadef::DefenceField(d), r, op, percent, range); break;
        case STATUS_IMPACTRESIST:
            ApplyNarrow<uint8_t, int8_t>(charadef::ImpactResistField(d), r, op, percent, range);
            break;
        case STATUS_DECEL:
            ApplyNarrow<uint16_t, int16_t>(charadef::DecelField(d), r, op, 0, range);
            obj.m_dDecel = PercentToRate(charadef::DecelPercent(d));
            break;
        case STATUS_DEFEATSCORE: ApplyWide(charadef::DefeatScoreField(d), r, op, percent, range); break;
        default: break;  // HP and SP go through ApplyPoints
    }
}

}  // namespace

void RefreshSightRange(cChara& chara) {
    if (IsHero(chara)) return;
    chara.m_nSightRange = BlockToDot(charadef::SightHalfBlocks(chara.m_Def));
}

cChara* StatusObject(cChara* chara, int objectCode) {
    if (!chara) return nullptr;
    if (objectCode == OBJ_TARGET) return FindCharaById(chara->m_nTargetId);
    return chara;
}

int32_t* FlowVariable(int varClass, int index) {
    std::vector<int32_t>* list = nullptr;
    if (varClass == 1) {
        if (!g_lpPlayScene) return nullptr;
        list = &g_lpPlayScene->m_vecStageVars;
    } else {
        list = &g_SaveData.m_vecCommonVars;
    }
    if (index < 0 || (size_t)index >= list->size()) {
        ReportBadIndex(varClass == 1 ? "stage variable" : "common variable", index);
        return nullptr;
    }
    return &(*list)[(size_t)index];
}

bool StatusSourceValue(cChara* chara, int source, int32_t value, int32_t low, int32_t high, int objectCode,
                       int word, int varClass, int varIndex, int32_t& out) {
    switch (source) {
        case 0: out = value; return true;
        case 1: out = RandRange(low, high); return true;
        case 2: {
            if (objectCode == OBJ_SYSTEM) return ReadSystemWord(word, true, out);
            cChara* obj = StatusObject(chara, objectCode);
            return obj && ReadStatusWord(*obj, word, varIndex, out);
        }
        case 3: {
            const int32_t* v = FlowVariable(varClass, varIndex);
            if (!v) return false;
            out = *v;
            return true;
        }
        default: return false;
    }
}

bool cFlowCond::TestValue(cChara* chara) {
    int32_t r = 0;
    if (!StatusSourceValue(chara, m_bySource, m_nValue, m_nValue2, m_nValue3, m_byB1, m_byB2, m_byB3, m_wIndex2, r))
        return false;
    m_nValue = r;
    if (m_byA1 == 1) {
        const int32_t* v = FlowVariable(m_byA2, m_sIndex);
        return v && CompareByOpPercent32(*v, 0, *this, -kValueMax, kValueMax);
    }
    int32_t left = 0;
    if (m_byA3 == OBJ_SYSTEM) {
        if (!ReadSystemWord(m_byA4, false, left)) return false;
        const WORDRANGE& range = kSystemRange[m_byA4];
        return CompareByOpPercent32(left, 0, *this, range.nLow, range.nHigh);
    }
    cChara* obj = StatusObject(chara, m_byA3);
    if (!obj) return false;
    if (m_byA4 >= STATUS_WORD_COUNT) return true;
    if (!ReadStatusWord(*obj, m_byA4, m_sIndex, left)) return false;
    int32_t base = 0;
    if (m_byA4 == STATUS_HP) base = charadef::MaxHP(obj->m_Def);
    else if (m_byA4 == STATUS_SP) base = charadef::MaxSP(obj->m_Def);
    const WORDRANGE& range = kStatusRange[m_byA4];
    // Compared in the width of the word's field.
    switch (StatusWordWidth(m_byA4)) {
        case 1: return CompareByOpPercent8((int8_t)left, 0, *this, (int8_t)range.nLow, (int8_t)range.nHigh);
        case 2: return CompareByOpPercent16((int16_t)left, 0, *this, (int16_t)range.nLow, (int16_t)range.nHigh);
        default: return CompareByOpPercent32(left, base, *this, range.nLow, range.nHigh);
    }
}

void FlowCmdStatusOpImpl(cChara* chara, const std::vector<int32_t>& params) {
    const auto P = [&params](size_t i) { return i < params.size() ? params[i] : 0; };
    int32_t r = 0;
    if (!StatusSourceValue(chara, P(6), P(7), P(8), P(9), P(12), P(13), P(10), P(11), r)) return;
    const int op = P(5);
    const int percent = P(14);
    if (P(0) == 1) {
        if (int32_t* v = FlowVariable(P(1), P(2))) ApplyWide(*v, r, op, percent, kStatusRange[STATUS_VAR]);
        return;
    }
    if (P(3) == OBJ_SYSTEM) {
        ApplySystemWord(P(4), r, op, percent);
        return;
    }
    cChara* obj = StatusObject(chara, P(3));
    if (!obj) return;
    if (P(17) && obj->m_nInvincible > 0) return;
    const int word = P(4);
    if (word == STATUS_HP || word == STATUS_SP)
        ApplyPoints(*obj, word == STATUS_HP, r, op, P(15), P(16));
    else
        ApplyStatusWord(*obj, word, P(2), r, op, percent);
}
