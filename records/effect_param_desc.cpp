// The effect parameter descriptor tables.
#include "records/effect_param_desc.h"

namespace {

constexpr EFFECTPARAMDESC kNone = {"", 0, 0, 0};

constexpr EFFECTPARAMDESC Time(int16_t def) { return {"実行時間(1/10s)", 1, 9999, def}; }

}  // namespace

const EFFECTPARAMDESC g_CharaEffectParamDesc[kCharaEffectKindCount * kEffectParamCount] = {
    // 0: none
    kNone, kNone, kNone, kNone, kNone,
    // 1
    Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, kNone, kNone,
    // 2, 3
    Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, {"分割数", 2, 16, 4}, kNone,
    Time(5), {"開始位置(dot)", 0, 999, 0}, {"終了位置(dot)", 0, 999, 32}, {"分割数", 2, 16, 4}, kNone,
    // 4, 5
    Time(5), {"開始幅(dot)", 0, 999, 0}, {"終了幅(dot)", 0, 999, 32}, {"波の数", 2, 16, 2}, {"波の粗さ(dot)", 1, 4, 2},
    Time(5), {"開始幅(dot)", 0, 999, 0}, {"終了幅(dot)", 0, 999, 32}, {"波の数", 2, 16, 2}, {"波の粗さ(dot)", 1, 4, 2},
    // 6
    Time(10), {"点滅間隔(1/60s)", 1, 9999, 2}, kNone, kNone, kNone,
    // 7, 8
    Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kNone, kNone,
    Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kNone, kNone,
    // 9
    Time(10), {"開始位置(dot)", 0, 9999, 0}, {"終了位置(dot)", 0, 9999, 256}, kNone, kNone,
    // 10
    Time(5), {"開始半径(dot)", 0, 32, 32}, {"終了半径(dot)", 0, 32, 0}, {"円の粗さ(dot)", 1, 4, 2}, kNone,
    // 11
    Time(10), {"開始幅(dot)", 0, 320, 32}, {"終了幅(dot)", 0, 320, 64}, kNone, kNone,
    // 12
    Time(10), {"開始距離", 0, 100, 100}, {"終了距離", 0, 100, 5}, {"ズレX(dot)", -16, 16, 0}, {"ズレY(dot)", -16, 16, 0},
    // 13
    Time(10), {"開始合成度", 1, 4, 1}, {"終了合成度", 1, 4, 1}, {"色", 16, 207, 16}, kNone,
    // 14
    Time(10), {"点滅間隔(1/60s)", 1, 9999, 9999}, kNone, kNone, kNone,
    // 15
    Time(10), {"開始強度", 1, 16, 1}, {"終了強度", 1, 16, 8}, kNone, kNone,
    // 16
    Time(10), {"開始強度", 1, 4, 1}, {"終了強度", 1, 4, 4}, kNone, kNone,
};

const EFFECTPARAMDESC g_ScrEffectParamDesc[kScrEffectKindCount * kEffectParamCount] = {
    // 0: none
    kNone, kNone, kNone, kNone, kNone,
    // 1: move
    Time(10), {"開始座標X(dot)", -640, 640, 0}, {"開始座標Y(dot)", -480, 480, 0}, {"終了座標X(dot)", -640, 640, 640},
    {"終了座標Y(dot)", -480, 480, 0},
    // 2, 3: shakes
    Time(10), {"振動幅(dot)", 1, 640, 4}, {"振動回数", 1, 9999, 4}, kNone, kNone,
    Time(10), {"振動幅(dot)", 1, 480, 4}, {"振動回数", 1, 9999, 4}, kNone, kNone,
    // 4, 5: splits
    Time(10), {"開始位置(dot)", 0, 640, 0}, {"終了位置(dot)", 0, 640, 640}, {"分割数", 2, 240, 15}, kNone,
    Time(10), {"開始位置(dot)", 0, 480, 0}, {"終了位置(dot)", 0, 480, 480}, {"分割数", 2, 320, 20}, kNone,
    // 6, 7: waves
    Time(10), {"開始幅(dot)", 0, 640, 0}, {"終了幅(dot)", 0, 640, 640}, {"波の数", 2, 240, 4}, {"波の粗さ(dot)", 1, 48, 8},
    Time(10), {"開始幅(dot)", 0, 480, 0}, {"終了幅(dot)", 0, 480, 480}, {"波の数", 2, 320, 4}, {"波の粗さ(dot)", 1, 64, 10},
    // 8: blink
    Time(10), {"点滅間隔(1/60s)", 1, 9999, 10}, kNone, kNone, kNone,
    // 9
    Time(10), {"開始角度", 0, 9999, 0}, {"終了角度", 0, 9999, 1440}, kNone, kNone,
    // 10
    Time(10), {"開始半径(dot)", 0, 640, 640}, {"終了半径(dot)", 0, 640, 0}, {"円の粗さ(dot)", 1, 48, 8}, kNone,
    // 11
    Time(10), {"開始幅(dot)", 0, 6400, 640}, {"終了幅(dot)", 0, 6400, 1280}, kNone, kNone,
    // 12
    Time(10), {"開始距離", 0, 1500, 1500}, {"終了距離", 0, 1500, 5}, {"ズレX(dot)", -320, 320, 0}, {"ズレY(dot)", -240, 240, 0},
    // 13
    Time(10), {"開始強度", 1, 240, 1}, {"終了強度", 1, 240, 60}, kNone, kNone,
};

const EFFECTPARAMDESC& CharaEffectParam(int kind, int param) {
    if (kind < 0 || kind >= kCharaEffectKindCount || param < 0 || param >= kEffectParamCount) return kNone;
    return g_CharaEffectParamDesc[kind * kEffectParamCount + param];
}

const EFFECTPARAMDESC& ScrEffectParam(int kind, int param) {
    if (kind < 0 || kind >= kScrEffectKindCount || param < 0 || param >= kEffectParamCount) return kNone;
    return g_ScrEffectParamDesc[kind * kEffectParamCount + param];
}
