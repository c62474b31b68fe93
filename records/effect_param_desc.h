// The parameter descriptors of the character-effect and screen-effect kinds: per kind five
// parameters {label, minimum, maximum, default}, parameter 0 being the run time in tenths of a
// second. Their defaults fill the parameters that effect records older than version 511 lack.
#pragma once

#include <cstdint>

struct EFFECTPARAMDESC {
    const char* pszLabel;
    int16_t nMin;
    int16_t nMax;
    int16_t nDefault;
};

constexpr int kEffectParamCount = 5;
constexpr int kCharaEffectKindCount = 17;
constexpr int kScrEffectKindCount = 14;

// Indexed by kind x 5 + parameter.
extern const EFFECTPARAMDESC g_CharaEffectParamDesc[kCharaEffectKindCount * kEffectParamCount];
extern const EFFECTPARAMDESC g_ScrEffectParamDesc[kScrEffectKindCount * kEffectParamCount];

// The descriptor of a kind's parameter; an unknown kind or parameter gives the empty slot.
const EFFECTPARAMDESC& CharaEffectParam(int kind, int param);
const EFFECTPARAMDESC& ScrEffectParam(int kind, int param);
