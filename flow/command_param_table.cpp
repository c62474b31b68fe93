// The command-parameter table.
#include "flow/command_param_table.h"

#include <climits>

std::vector<std::vector<CMDPARAMDESC>> g_vecCommandParams;

namespace {

// Formation and move-type values: the table range stands in for the range of the command's
// own formation or move type.
constexpr int32_t kAnyValue = INT32_MAX;

const std::vector<CMDPARAMDESC> kLineMove = {
    {"目標X(bl)", -640, 640},  {"目標X(dot)", -640, 640}, {"目標Y(bl)", -640, 640},
    {"目標Y(dot)", -640, 640}, {"角度", -7200, 7200},     {"分身値による増加角度", -7200, 7200},
};

const std::vector<CMDPARAMDESC> kHomingMove = {
    {"誘導性能の悪さ", 0, 10},   {"分身値による増加誘導性能の悪さ", 0, 10}, {"目標X(bl)", -640, 640},
    {"目標X(dot)", -640, 640}, {"目標Y(bl)", -640, 640},                {"目標Y(dot)", -640, 640},
};

const std::vector<CMDPARAMDESC> kShot = {
    {"グラフィック", 1, 120},
    {"Z座標", 0, 7},
    {"フォーメーション固有1", 0, kAnyValue},
    {"フォーメーション固有2", 0, kAnyValue},
    {"フォーメーション固有3", 0, kAnyValue},
    {"発射数", 1, 127},
    {"発射数に対する分身数", 0, 20},
    {"角度のズレ", -7200, 7200},
    {"分身値による角度のズレ", -7200, 7200},
    {"分散角度", 0, 180},
    {"発射位置のズレX(dot)", -640, 640},
    {"分身値による発射位置のズレX(dot)", -640, 640},
    {"発射位置のズレY(dot)", -640, 640},
    {"分身値による発射位置のズレY(dot)", -640, 640},
    {"勢力", 0, 7},
    {"移動タイプ固有1", 0, kAnyValue},
    {"移動タイプ固有2", 0, kAnyValue},
    {"移動タイプ固有3", 0, kAnyValue},
    {"速度", -200, 200},
    {"分身値による増加速度", -200, 200},
    {"加速度", -200, 200},
    {"分身値による増加加速度", -200, 200},
    {"飛距離(hbl)", 0, 64},
    {"分身値による増加飛距離", -40, 40},
    {"存在時間(1/10s)", 1, 999},
    {"分身値よる増加存在時間", -99, 99},
    {"消滅値", 1, 9},
    {"威力", -999999, 999999},
    {"衝撃", -20, 20},
};

const std::vector<CMDPARAMDESC> kSword = {
    {"勢力", 0, 7}, {"Z座標", 0, 7}, {"威力", -999999, 999999}, {"衝撃", -20, 20}};

const std::vector<CMDPARAMDESC> kBlockSummon = {
    {"フォーメーション固有1", 0, kAnyValue}, {"フォーメーション固有2", 0, kAnyValue},
    {"フォーメーション固有3", 0, kAnyValue}, {"数", 1, 127},
    {"召喚位置のズレX(dot)", -640, 640},     {"召喚位置のズレY(dot)", -640, 640},
};

const std::vector<CMDPARAMDESC> kCharaSummon = {
    {"存在時間(1/10s)", 1, 9999},            {"勢力", 0, 7},
    {"フォーメーション固有1", 0, kAnyValue}, {"フォーメーション固有2", 0, kAnyValue},
    {"フォーメーション固有3", 0, kAnyValue}, {"数", 1, 127},
    {"召喚位置のズレX(dot)", -640, 640},     {"召喚位置のズレY(dot)", -640, 640},
};

const std::vector<CMDPARAMDESC> kItemSummon = {
    {"存在時間(1/10s)", 1, 9999},            {"フォーメーション固有1", 0, kAnyValue},
    {"フォーメーション固有2", 0, kAnyValue}, {"フォーメーション固有3", 0, kAnyValue},
    {"数", 1, 127},                          {"召喚位置のズレX(dot)", -640, 640},
    {"召喚位置のズレY(dot)", -640, 640},
};

const std::vector<CMDPARAMDESC> kStageClear = {
    {"次のステージの番号", 1, 99},
    {"次のステージの初期位置X(bl)", 0, 999},
    {"次のステージの初期位置Y(bl)", 0, 999},
    {"クリア後のワールドマップの位置X", 0, 999},
    {"クリア後のワールドマップの位置Y", 0, 999},
};

const std::vector<CMDPARAMDESC> kMessage = {
    {"メッセージID", 0, 999},           {"座標X(bl)", 0, 20},
    {"座標Y(bl)", 0, 15},               {"表示位置のズレX(dot)", -999, 999},
    {"表示位置のズレY(dot)", -999, 999},
};

const std::vector<CMDPARAMDESC> kWarp = {
    {"距離(hbl)", 0, 64},  {"分身値による増加距離(hbl)", -40, 40}, {"目標X(bl)", -640, 640},
    {"目標Y(bl)", -640, 640}, {"目標Xのズレ(dot)", -640, 640},       {"目標Yのズレ(dot)", -640, 640},
};

const std::vector<CMDPARAMDESC> kTarget = {
    {"対象勢力", 0, 7}, {"対象キャラID", 0, 99}, {"キャラ変数と比較する数値", -999999, 999999}};

const std::vector<CMDPARAMDESC> kStatus = {{"乱数の最小値", -999999, 999999}, {"乱数の最大値", -999999, 999999}};

const std::vector<CMDPARAMDESC> kVanish = {{"対象勢力", 0, 7}};

const std::vector<CMDPARAMDESC> kGraphic = {{"グラフィック", 1, 119}, {"ズレ", -999, 999}};

const std::vector<CMDPARAMDESC> kEffect = {
    {"座標X(bl)", 0, 511},
    {"座標Y(bl)", 0, 511},
    {"表示位置のズレX(dot)", -999, 999},
    {"表示位置のズレY(dot)", -999, 999},
    {"表示倍率(%)", 1, 1000},
};

const std::vector<CMDPARAMDESC> kPicture = {
    {"ピクチャーID", 0, 999},           {"座標X(bl)", 0, 511},
    {"座標Y(bl)", 0, 511},              {"表示位置のズレX(dot)", -999, 999},
    {"表示位置のズレY(dot)", -999, 999}, {"表示倍率(%)", 1, 1000},
};

const std::vector<CMDPARAMDESC> kScreenColour = {{"R", 0, 255}, {"G", 0, 255}, {"B", 0, 255}, {"%", 0, 100}};

const std::vector<CMDPARAMDESC> kBackground = {{"背景番号", 1, 8}};

}  // namespace

void BuildCommandParamTable() {
    g_vecCommandParams.assign(kMainCmdKindCount, {});
    auto& t = g_vecCommandParams;
    t[2] = kLineMove;
    t[5] = kLineMove;
    t[6] = kHomingMove;
    t[11] = kShot;
    t[12] = kSword;
    t[13] = kBlockSummon;
    t[14] = kCharaSummon;
    t[15] = kItemSummon;
    t[17] = kStageClear;
    t[19] = kMessage;
    t[20] = kWarp;
    t[21] = kTarget;
    t[22] = kStatus;
    t[24] = kVanish;
    t[26] = kGraphic;
    t[29] = kEffect;
    t[32] = kPicture;
    t[33] = kScreenColour;
    t[34] = kBackground;
}
