// The formation and trajectory parameter descriptors.
#include "flow/shot_param_desc.h"

namespace {

constexpr SHOTPARAMDESC kNone = {"", 0, 0, 0};
constexpr SHOTPARAMDESC kGap = {"間隔(hbl)", 0, 40, 0};
constexpr SHOTPARAMDESC kCourse = {"軌道変更(hbl)", 0, 40, 0};
constexpr SHOTPARAMDESC kSide = {"対象勢力", 0, 7, 0};
constexpr SHOTPARAMDESC kHomeStart = {"誘導開始(hbl)", 0, 40, 0};
constexpr SHOTPARAMDESC kHomeEnd = {"誘導終了(hbl)", 0, 999, 999};

const SHOTPARAMDESC* Slot(const SHOTPARAMDESC* table, int kinds, int kind, int slot) {
    if (kind < 0 || kind >= kinds || slot < 0 || slot >= kShotParamSlots) return nullptr;
    return &table[kind * kShotParamSlots + slot];
}

}  // namespace

const SHOTPARAMDESC g_FormationParamDesc[kFormationKindCount * kShotParamSlots] = {
    // 0 "直進A", 1 "直進B"
    kGap, kNone, kNone,
    kGap, kNone, kNone,
    // 2 "拡散"
    {"角度", 0, 180, 30}, kNone, kNone,
    // 3 "落雷"
    kGap, {"列の数", 1, 50, 1}, {"列の間隔(hbl)", 0, 40, 0},
    // 4 "爆発"
    kNone, kNone, kNone,
    // 5 "包囲"
    {"距離(hbl)", 0, 40, 6}, kNone, kNone,
};

const SHOTPARAMDESC g_TrajectoryParamDesc[kTrajectoryKindCount * kShotParamSlots] = {
    // 0 "直進"
    kNone, kNone, kNone,
    // 1 "主人公を狙う", 2 "近いキャラを狙う", 3 "ターゲットを狙う"
    kCourse, kNone, kNone,
    kCourse, kSide, kNone,
    kCourse, kNone, kNone,
    // 4 "主人公へ誘導", 5 and 7 "近いキャラへ誘導", 6 "ターゲットへ誘導"
    kHomeStart, kHomeEnd, kNone,
    kHomeStart, kHomeEnd, kSide,
    kHomeStart, kHomeEnd, kNone,
    kHomeStart, kHomeEnd, kSide,
    // 8 "ウェーブ"
    {"波の最大(hbl)", 0, 100, 4}, {"波の速度", 0, 100, 4}, {"開始角度", 0, 359, 0},
    // 9 "落下"
    kCourse, kNone, kNone,
};

const SHOTPARAMDESC* FormationParam(int kind, int slot) {
    return Slot(g_FormationParamDesc, kFormationKindCount, kind, slot);
}

const SHOTPARAMDESC* TrajectoryParam(int kind, int slot) {
    return Slot(g_TrajectoryParamDesc, kTrajectoryKindCount, kind, slot);
}
