// The command-kind tables and the spawn-option codes.
#include "flow/command_kinds.h"

constexpr CMDKINDDESC g_MainCmdKinds[kMainCmdKindCount] = {
    {"", 0},
    {"ウエイト", 0},
    {"直線移動", 0},
    {"地上折り返し移動", 0},
    {"円移動", 0},
    {"突撃移動", 0},
    {"誘導移動", 0},
    {"画面外回避移動", 0},
    {"移動の無効化", 0},
    {"向き変更", 1},
    {"ジャンプ", 5},
    {"ショット", 0},
    {"ソード", 0},
    {"ブロック召喚", 0},
    {"キャラ召喚", 0},
    {"アイテム召喚", 0},
    {"フローの操作", 3},
    {"ステージクリア", 9},
    {"ゲームウエイト", 1},
    {"メッセージ", 18},
    {"ワープ", 0},
    {"ターゲットの設定", 15},
    {"ステータスの操作", 18},
    {"ステータスの操作2", 3},
    {"消滅", 3},
    {"アイテムの取得", 2},
    {"グラフィックの変更", 3},
    {"基本アニメセットの変更", 1},
    {"アニメの実行", 1},
    {"エフェクトの実行", 8},
    {"キャラエフェクトの実行", 3},
    {"画面エフェクトの実行", 3},
    {"ピクチャーの表示", 15},
    {"画面の色を変更", 8},
    {"背景の変更", 2},
    {"効果音の再生", 1},
    {"BGMの再生", 2},
    {"コードの実行", 0},
    {"アレンジ", 5},
    {"ループ", 2},
};

// Instant kinds 2-24 are the main kinds 17-39 run at once by items.
constexpr CMDKINDDESC g_InstantCmdKinds[kInstantCmdKindCount] = {
    {"", 0},
    {"フローの変更", 2},
    g_MainCmdKinds[17], g_MainCmdKinds[18], g_MainCmdKinds[19], g_MainCmdKinds[20], g_MainCmdKinds[21],
    g_MainCmdKinds[22], g_MainCmdKinds[23], g_MainCmdKinds[24], g_MainCmdKinds[25], g_MainCmdKinds[26],
    g_MainCmdKinds[27], g_MainCmdKinds[28], g_MainCmdKinds[29], g_MainCmdKinds[30], g_MainCmdKinds[31],
    g_MainCmdKinds[32], g_MainCmdKinds[33], g_MainCmdKinds[34], g_MainCmdKinds[35], g_MainCmdKinds[36],
    g_MainCmdKinds[37], g_MainCmdKinds[38], g_MainCmdKinds[39],
};

bool IsValidCmdKind(bool instant, int kind) {
    return kind >= 0 && kind < (instant ? kInstantCmdKindCount : kMainCmdKindCount);
}

int CmdParamCount(bool instant, int kind) {
    if (!IsValidCmdKind(instant, kind)) return 0;
    return instant ? g_InstantCmdKinds[kind].nParamCount : g_MainCmdKinds[kind].nParamCount;
}

int SpawnOptionCode(int option, int flag) {
    static const int kCodes[9] = {0, 2, 3, 6, 7, 8, 9, 10, 11};
    if (option < 1 || option > 8) return flag ? 3 : 2;
    return kCodes[option];
}
