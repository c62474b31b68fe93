// Keyword lists, storage and ranges of the code command's formula language.
#include "flow/expression_words.h"

#include <cstring>

#include "app/scene_manager.h"
#include "core/checked.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/play_scene.h"
#include "records/save_data.h"
#include "records/stage.h"

const char* const g_aszExprFunction[kExprFunctionCount] = {"rand"};
const char* const g_aszExprOperator[EXPROP_COUNT] = {"=", "+", "-", "*", "/", "%"};
const int g_anExprOperatorPass[EXPROP_COUNT] = {2, 1, 1, 0, 0, 0};
const char* const g_aszExprObject[EXPROBJ_COUNT] = {"my", "tg", "pl", "sys"};
const char* const g_aszExprVarPrefix[EXPRVAR_COUNT] = {"C", "S"};
const char* const g_aszExprStatusWord[EXPRSTATUS_COUNT] = {
    "v1", "v2", "v3", "v4", "v5", "v6", "v7", "v8", "hp", "sp", "mhp", "msp", "cid", "z", "mark",
    "sight", "power", "imp", "def", "impd", "stop", "getsc",
};
const char* const g_aszExprSystemWord[EXPRSYS_COUNT] = {"time", "scrlx", "scrly", "score", "life"};

int FindExprWord(const char* const* list, int count, const char* word) {
    for (int i = 0; i < count; ++i)
        if (std::strcmp(list[i], word) == 0) return i;
    return -1;
}

namespace {

void SetStorage(EXPRTOKEN& token, void* storage, int width, int32_t low, int32_t high) {
    token.lpStorage = storage;
    token.nWidth = width;
    token.nMin = low;
    token.nMax = high;
    token.nValue = ReadExprStorage(token);
}

}  // namespace

int32_t ReadExprStorage(const EXPRTOKEN& token) {
    if (!token.lpStorage) return token.nValue;
    switch (token.nWidth) {
        case EXPRWIDTH_I8: return (int8_t) * static_cast<const uint8_t*>(token.lpStorage);
        case EXPRWIDTH_I16: return (int16_t) * static_cast<const uint16_t*>(token.lpStorage);
        default: return *static_cast<const int32_t*>(token.lpStorage);
    }
}

void WriteExprStorage(const EXPRTOKEN& token, int32_t v) {
    if (!token.lpStorage) return;
    switch (token.nWidth) {
        case EXPRWIDTH_I8: *static_cast<uint8_t*>(token.lpStorage) = (uint8_t)((uint32_t)v & 0xFFu); break;
        case EXPRWIDTH_I16: *static_cast<uint16_t*>(token.lpStorage) = (uint16_t)((uint32_t)v & 0xFFFFu); break;
        default: *static_cast<int32_t*>(token.lpStorage) = v; break;
    }
}

void MakeExprVariableToken(EXPRTOKEN& token, int32_t* variable) {
    token.nKind = EXPRTOKEN_VARIABLE;
    SetStorage(token, variable, EXPRWIDTH_I32, -kExprValueMax, kExprValueMax);
}

bool MakeExprStatusToken(EXPRTOKEN& token, int word, cChara& chara) {
    token.nKind = EXPRTOKEN_STATUS;
    token.nStatusWord = word;
    token.lpChara = &chara;
    cCharaRec& d = chara.m_Def;
    if (word >= EXPRSTATUS_V1 && word <= EXPRSTATUS_V8) {
        // "v1"-"v8" are character variables 1-8.
        const int index = word - EXPRSTATUS_V1 + 1;
        if ((size_t)index >= chara.m_vecVar.size()) {
            ReportIndexError('V', index, (int)chara.m_vecVar.size(), (int)sizeof(int32_t));
            return false;
        }
        SetStorage(token, &chara.m_vecVar[(size_t)index], EXPRWIDTH_I32, -kExprValueMax, kExprValueMax);
        return true;
    }
    switch (word) {
        case EXPRSTATUS_HP: SetStorage(token, &chara.m_nHP, EXPRWIDTH_I32, 0, charadef::MaxHP(d)); return true;
        case EXPRSTATUS_SP: SetStorage(token, &chara.m_nSP, EXPRWIDTH_I32, 0, charadef::MaxSP(d)); return true;
        case EXPRSTATUS_MHP: SetStorage(token, &charadef::MaxHPField(d), EXPRWIDTH_I32, 1, kExprValueMax); return true;
        case EXPRSTATUS_MSP: SetStorage(token, &charadef::MaxSPField(d), EXPRWIDTH_I32, 1, kExprValueMax); return true;
        case EXPRSTATUS_CID: SetStorage(token, &charadef::CharaIdField(d), EXPRWIDTH_I8, 0, 99); return true;
        case EXPRSTATUS_Z: SetStorage(token, &chara.m_byLayer, EXPRWIDTH_I8, 0, 7); return true;
        case EXPRSTATUS_MARK: SetStorage(token, &charadef::MarkField(d), EXPRWIDTH_I16, 0, 119); return true;
        case EXPRSTATUS_SIGHT: SetStorage(token, &charadef::SightField(d), EXPRWIDTH_I8, 0, 40); return true;
        case EXPRSTATUS_POWER:
            SetStorage(token, &charadef::BodyPowerField(d), EXPRWIDTH_I32, -kExprValueMax, kExprValueMax);
            return true;
        case EXPRSTATUS_IMP: SetStorage(token, &charadef::BodyImpactField(d), EXPRWIDTH_I8, -20, 20); return true;
        case EXPRSTATUS_DEF: SetStorage(token, &charadef::DefenceField(d), EXPRWIDTH_I32, 0, kExprValueMax); return true;
        case EXPRSTATUS_IMPD: SetStorage(token, &charadef::ImpactResistField(d), EXPRWIDTH_I8, 0, 20); return true;
        case EXPRSTATUS_STOP: SetStorage(token, &charadef::DecelField(d), EXPRWIDTH_I16, 0, 200); return true;
        case EXPRSTATUS_GETSC:
            SetStorage(token, &charadef::DefeatScoreField(d), EXPRWIDTH_I32, -kExprValueMax, kExprValueMax);
            return true;
        default: return false;
    }
}

bool MakeExprSystemToken(EXPRTOKEN& token, int word) {
    token.nKind = EXPRTOKEN_SYSTEM;
    token.nSystemWord = word;
    switch (word) {
        case EXPRSYS_TIME:
            if (!g_lpPlayScene) return false;
            SetStorage(token, &g_lpPlayScene->m_nTimeLimit, EXPRWIDTH_I32, 0, 999);
            return true;
        case EXPRSYS_SCRLX: SetStorage(token, &g_StageSettings.m_nAutoScrollSpeedX, EXPRWIDTH_I32, -480, 480); return true;
        case EXPRSYS_SCRLY: SetStorage(token, &g_StageSettings.m_nAutoScrollSpeedY, EXPRWIDTH_I32, -480, 480); return true;
        case EXPRSYS_SCORE: SetStorage(token, &g_SaveData.m_nScore, EXPRWIDTH_I32, 0, kExprValueMax); return true;
        case EXPRSYS_LIFE:
            // Unlimited lives read as 0 and can only be assigned their own value.
            if (g_SaveData.m_nLives == kUnlimitedLives) {
                SetStorage(token, &g_SaveData.m_nLives, EXPRWIDTH_I32, kUnlimitedLives, kUnlimitedLives);
                token.nValue = 0;
            } else {
                SetStorage(token, &g_SaveData.m_nLives, EXPRWIDTH_I32, 0, 99);
            }
            return true;
        default: return false;
    }
}
