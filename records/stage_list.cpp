// Stage keys, stage bests, the stage-start backup and the carrying of hero properties.
#include "records/stage_list.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "core/checked.h"
#include "core/format.h"
#include "core/helpers.h"
#include "records/chara_rec.h"
#include "records/save_data.h"
#include "records/system_data.h"
#include "records/world_map.h"

namespace {

// Index of the last "-1" pair of a text, or npos.
size_t FindLastPartMark(const std::string& s) {
    for (size_t i = s.size(); i >= 2; --i)
        if (s[i - 2] == '-' && s[i - 1] == '1') return i - 2;
    return std::string::npos;
}

int32_t ClampToI32(int64_t v) { return (int32_t)std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }

// A group is carried when the play data carries at all and both the project's flag and the
// play data's switch of the group are on.
bool IsCarried(const cSaveData& data, int group) {
    const std::vector<uint8_t>& flags = g_SystemData.m_vecCarryFlags;
    const std::vector<int32_t>& switches = data.m_vecCarrySwitches;
    if ((size_t)group >= flags.size() || (size_t)group >= switches.size()) return false;
    return flags[(size_t)group] != 0 && switches[(size_t)group] != 0;
}

// Copies the definition fields of a carry group (groups that carry values copy nothing here).
// `intoStage`: a graphic number of 0 is carried as 1.
void CopyCarryGroup(int group, cCharaRec& d, const cCharaRec& s, bool intoStage) {
    switch (group) {
        case 0:
            d.m_byGraphicKind = s.m_byGraphicKind;
            d.m_wGraphic = (intoStage && s.m_wGraphic == 0) ? 1 : s.m_wGraphic;
            d.m_wC15 = s.m_wC15;
            break;
        case 1: d.m_wAnimeSet = s.m_wAnimeSet; break;
        case 2: d.m_byC17 = s.m_byC17; break;
        case 3: d.m_byC18 = s.m_byC18; break;
        case 4:
            d.m_wCharaEffect1 = s.m_wCharaEffect1;
            d.m_byC20 = s.m_byC20;
            d.m_byC21 = s.m_byC21;
            break;
        case 5: d.m_byC31 = s.m_byC31; break;
        case 6: d.m_byC30 = s.m_byC30; break;
        case 7: d.m_byC32 = s.m_byC32; break;
        case 8: d.m_byC35 = s.m_byC35; break;
        case 9: d.m_byC36 = s.m_byC36; break;
        case 10:
            d.m_byC37 = s.m_byC37;
            d.m_byC38 = s.m_byC38;
            break;
        case 13: d.m_nC39 = s.m_nC39; break;
        case 14: d.m_nC40 = s.m_nC40; break;
        case 15: d.m_byC42 = s.m_byC42; break;
        case 16: d.m_nC43 = s.m_nC43; break;
        case 17: d.m_byC44 = s.m_byC44; break;
        case 18: d.m_nC46 = s.m_nC46; break;
        case 19: d.m_byC47 = s.m_byC47; break;
        case 20: d.m_wC41 = s.m_wC41; break;
        case 21: d.m_vecFlows = s.m_vecFlows; break;
        default: break;  // 11, 12, 22-24 carry hero values
    }
}

}  // namespace

std::string MakeStageKey(const char* name, int32_t* partFlag) {
    const std::string s = name ? name : "";
    if (partFlag) *partFlag = 0;
    size_t mark = FindLastPartMark(s);
    if (mark != std::string::npos) {
        if (partFlag) *partFlag = 1;
        std::string key = s.substr(0, mark);
        StrAppendF(key, ".");
        return key;
    }
    size_t dot = s.rfind('.');
    if (dot == std::string::npos) return std::string();
    return s.substr(0, dot + 1);
}

void SetStageFileName(cSaveData& data, const char* name) {
    data.m_strStageName = MakeStageKey(name, &data.m_bPartFlag);
}

void RecordStageBest(cSaveData& data, const char* key, int32_t score) {
    const char* k = key ? key : "";
    for (cStageBestRec& best : data.m_vecStageBests) {
        if (std::strcmp(best.m_strKey.c_str(), k) != 0) continue;
        if (score > best.m_nBestScore) {
            data.m_nBestTotal = ClampToI32((int64_t)data.m_nBestTotal + ((int64_t)score - best.m_nBestScore));
            best.m_nBestScore = score;
        }
        return;
    }
    cStageBestRec best;
    best.m_strKey = k;
    best.m_nBestScore = score;
    data.m_vecStageBests.push_back(best);
    data.m_nBestTotal = ClampToI32((int64_t)data.m_nBestTotal + score);
}

int32_t FindStageNumberByName(const cSaveData& data, const char* key) {
    const char* k = key ? key : "";
    for (const cStageBestRec& best : data.m_vecStageBests)
        if (std::strcmp(best.m_strKey.c_str(), k) == 0) return best.m_nBestScore;
    return 0;
}

bool IsStageOnWorldMap(const cWorldMap& map, const char* key) {
    const char* k = key ? key : "";
    for (const cWorldMapEntry& entry : map.m_vecPointEntries) {
        for (const cWorldMapItemRec& item : entry.m_vecItems) {
            std::string name = item.m_strStageFile;
            RemoveExtensionStr(name);
            size_t mark = FindLastPartMark(name);
            if (mark != std::string::npos) name.erase(mark);
            StrAppendF(name, ".");
            if (std::strcmp(name.c_str(), k) == 0) return true;
        }
    }
    return false;
}

void ResetStageList(cSaveData& data, const cWorldMap& map) {
    int64_t total = 0;
    for (const cStageBestRec& best : data.m_vecStageBests)
        if (IsStageOnWorldMap(map, best.m_strKey.c_str())) total += best.m_nBestScore;
    data.m_nBestTotal = ClampToI32(total);
}

void CopyValueArray(cSaveData& data) {
    data.m_vecBackupVars = data.m_vecCommonVars;
    data.m_nBackupLives = data.m_nLives;
    data.m_nBackupScore = data.m_nScore;
}

void ResetStageVariables(cSaveData& data, int all, int playMode, BOOL testPlay) {
    auto restoreVars = [&data] {
        if (data.m_vecBackupVars.empty()) return;  // no stage has started yet
        data.m_vecCommonVars = data.m_vecBackupVars;
        if (data.m_vecCommonVars.size() < kCommonVarCount) data.m_vecCommonVars.resize(kCommonVarCount);
    };
    if (all) {
        restoreVars();
        data.m_nScore = data.m_nBackupScore;
        data.m_nLives = data.m_nBackupLives;
        return;
    }
    const cSystemData& sys = g_SystemData;
    bool vars = true;
    if (testPlay) vars = sys.m_bOtherModeSwitch != 0;
    else if (playMode == 0) vars = sys.m_bStorySwitch != 0;
    else if (playMode == 1) vars = sys.m_bChallengeSwitch != 0;
    else if (playMode == 2) vars = sys.m_bFreeSwitch != 0;
    if (vars) restoreVars();
    data.m_nScore = data.m_nBackupScore;
}

void ApplyStageCharaOverrides(cSaveData& data, int hero, cCharaRec& chara, int32_t* value3, int32_t* value5) {
    if (!data.m_bCarryOn) return;
    const cSaveDataPartB& entry = CheckedAt(data.m_vecHeroes, hero);
    for (int g = 0; g < kCarryGroupCount; ++g) {
        if (!IsCarried(data, g)) continue;
        switch (g) {
            case 11:
            case 12: break;  // ApplyStageOverride2
            case 22:
                if (value3) *value3 = entry.m_anValues[2];
                break;
            case 23: data.m_nLives = entry.m_anValues[3]; break;
            case 24:
                if (value5) *value5 = entry.m_anValues[4];
                break;
            default: CopyCarryGroup(g, chara, entry.m_Chara, true); break;
        }
    }
}

void ApplyStageOverride2(cSaveData& data, int hero, int32_t& value1, int32_t& value2) {
    if (!data.m_bCarryOn) return;
    const cSaveDataPartB& entry = CheckedAt(data.m_vecHeroes, hero);
    if (IsCarried(data, 11)) value1 = entry.m_anValues[0];
    if (IsCarried(data, 12)) value2 = entry.m_anValues[1];
}

void ApplyStageOverride3(cSaveData& data, int hero, const cCharaRec& chara, int32_t value1, int32_t value2,
                         int32_t value3, int32_t value5) {
    if (!data.m_bCarryOn) return;
    cSaveDataPartB& entry = CheckedAt(data.m_vecHeroes, hero);
    const int32_t values[5] = {value1, value2, value3, data.m_nLives, value5};
    for (int g = 0; g < kCarryGroupCount; ++g) {
        if (!IsCarried(data, g)) continue;
        switch (g) {
            case 11: entry.m_anValues[0] = values[0]; break;
            case 12: entry.m_anValues[1] = values[1]; break;
            case 22: entry.m_anValues[2] = values[2]; break;
            case 23: entry.m_anValues[3] = values[3]; break;
            case 24: entry.m_anValues[4] = values[4]; break;
            default: CopyCarryGroup(g, entry.m_Chara, chara, false); break;
        }
    }
}

void ClearOverriddenFlags(cSaveData& data) {
    const std::vector<uint8_t>& reset = g_SystemData.m_vecResetFlags;
    for (size_t g = 0; g < reset.size() && g < data.m_vecCarrySwitches.size(); ++g)
        if (reset[g]) data.m_vecCarrySwitches[g] = 0;
}

void ResetMapProgress(cSaveData& data, const cWorldMap& map) {
    data.m_nValue5 = ClampToI32((int64_t)data.m_nValue5 + 1);
    std::fill(data.m_vecStageValues.begin(), data.m_vecStageValues.end(), 0);
    if (data.m_vecStageValues.size() < kStageValueCount) data.m_vecStageValues.resize(kStageValueCount);
    data.m_nMapX = map.m_nStartX;
    data.m_nMapY = map.m_nStartY;
}

void StrAppendF(std::string& s, const char* format, ...) {
    char buf[5120];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    s += buf;
}
