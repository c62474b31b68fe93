// The stage record: layout, new-stage values, sub-steps from the hit level, part, background
// and text records.
#include "records/stage.h"

#include <algorithm>

cStage g_LoadedStage;
cStage g_StageSettings;

// ---- cStagePartA ----

cStagePartA::cStagePartA() { Clear(); }

const RECORDLAYOUT& cStagePartA::Layout() const {
    using C = cStagePartA;
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&C::m_nV1>()
                                           .Values<&C::m_anV2_4>(125)
                                           .Values<&C::m_nV5>()
                                           .Values<&C::m_anV6_7>()
                                           .Values<&C::m_nV8>()
                                           .Build();
    return layout;
}

void cStagePartA::Set(const int32_t (&v)[8]) {
    m_nV1 = v[0];
    m_anV2_4[0] = v[1];
    m_anV2_4[1] = v[2];
    m_anV2_4[2] = v[3];
    m_nV5 = v[4];
    m_anV6_7[0] = v[5];
    m_anV6_7[1] = v[6];
    m_nV8 = v[7];
}

// ---- cBackgroundRec ----

cBackgroundRec::cBackgroundRec() {
    Clear();
    m_adPQ[0] = m_adPQ[1] = 0.1;
    m_nA = 1;
    m_anBC[1] = 16;
}

const RECORDLAYOUT& cBackgroundRec::Layout() const {
    using C = cBackgroundRec;
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&C::m_nA>(62)
                                           .Values<&C::m_anBC>()
                                           .Values<&C::m_nD>()
                                           .Values<&C::m_adPQ>(61)
                                           .Discard(4, 2, 0, 61)
                                           .Values<&C::m_anEF>(61)
                                           .Values<&C::m_adGH>(62)
                                           .Discard(4, 2, 61, 62)
                                           .String<&C::m_strBitmap>()
                                           .Build();
    return layout;
}

// ---- cStageTextRec ----

const RECORDLAYOUT& cStageTextRec::Layout() const {
    static const RECORDLAYOUT layout = cLayoutBuilder().String<&cStageTextRec::m_strText>().Build();
    return layout;
}

// ---- cStage ----

cStage::cStage() : m_nValue85(0), m_bLoadDone(0), m_nSpeedLimit(0) { Clear(); }

const RECORDLAYOUT& cStage::Layout() const {
    using C = cStage;
    static const RECORDLAYOUT layout = cLayoutBuilder()
                                           .Values<&C::m_nWidth>()
                                           .Values<&C::m_anValue2_3>()
                                           .Values<&C::m_nHeight>()
                                           .Values<&C::m_bScrollLimitLeft>()
                                           .Values<&C::m_bScrollLimitRight>()
                                           .Values<&C::m_bScrollLimitTop>()
                                           .Values<&C::m_bScrollLimitBottom>()
                                           .Values<&C::m_nScrollLeft>()
                                           .Values<&C::m_nScrollRight>()
                                           .Values<&C::m_nScrollTop>()
                                           .Values<&C::m_nScrollBottom>()
                                           .Values<&C::m_nFrameRate>()
                                           .Values<&C::m_nValue14>()
                                           .Values<&C::m_nValue15>()
                                           .Values<&C::m_nValue16>()
                                           .Values<&C::m_bAutoScrollX>()
                                           .Values<&C::m_bAutoScrollY>()
                                           .Values<&C::m_nAutoScrollSpeedX>()
                                           .Values<&C::m_nAutoScrollSpeedY>()
                                           .Values<&C::m_dGravity>()
                                           .Values<&C::m_nHitLevel>()
                                           .Values<&C::m_nValue23>()
                                           .Values<&C::m_nBgm>()
                                           .Values<&C::m_nValue25>(166)
                                           .Values<&C::m_nValue26>(199)
                                           .Values<&C::m_nValue27>()
                                           .Values<&C::m_anValue28_29>()
                                           .Values<&C::m_nValue31>(183)
                                           .Values<&C::m_nValue30>(184)
                                           .Values<&C::m_nValue32>()
                                           .Values<&C::m_nValue33>(225)
                                           .Values<&C::m_anValue34_35>()
                                           .Values<&C::m_anHeroSize36_39>(200)
                                           .Values<&C::m_anHeroSize40_41>()
                                           .Values<&C::m_anHeroSize42_43>(155)
                                           .Values<&C::m_anHeroSize44_47>()
                                           .Values<&C::m_anHero48_49>(200)
                                           .Values<&C::m_anHero50_51>(155)
                                           .Values<&C::m_nHeroFlow52>(200)
                                           .Values<&C::m_anHeroFlow53_55>()
                                           .Values<&C::m_nHeroFlow56>(200)
                                           .Values<&C::m_anHeroFlow57_59>()
                                           .Values<&C::m_anCharaSize60_63>(200)
                                           .Values<&C::m_anCharaSize64_65>()
                                           .Values<&C::m_anCharaSize66_67>(155)
                                           .Values<&C::m_anChara68_69>()
                                           .Values<&C::m_anChara70_71>(200)
                                           .Values<&C::m_anChara72_73>(155)
                                           .Values<&C::m_anValue74_84>()
                                           .Values<&C::m_anValue86_87>()
                                           .Values<&C::m_nSubSteps>()
                                           .Values<&C::m_adSubStep>()
                                           .Values<&C::m_nSubSteps8>()
                                           .Values<&C::m_nValue95>()
                                           .Values<&C::m_nValue96>()
                                           .Values<&C::m_nValue97>()
                                           .Values<&C::m_nValue98>()
                                           .Values<&C::m_nValue99>()
                                           .String<&C::m_strStage>()
                                           .Build();
    return layout;
}

void cStage::Clear() {
    cDataFile::Clear();
    m_vecBlocks.clear();
    m_vecCharas.clear();
    m_vecItems.clear();
    m_vecPaletteBlocks.assign(1, cBlockRec());
    m_vecPaletteCharas.assign(1, cCharaRec());
    m_vecPaletteItems.assign(1, cItemRec());

    m_nFrameRate = 60;
    m_nValue15 = 200;
    m_nValue16 = 20;
    m_dGravity = 0.4;
    m_nHitLevel = 10;
    m_nValue27 = 1;
    m_nValue31 = 1;
    m_nValue33 = 1;
    m_anValue34_35[0] = m_anValue34_35[1] = 1;
    const int32_t heroSize[4] = {16, 24, 16, 16};
    std::copy(heroSize, heroSize + 4, m_anHeroSize36_39);
    m_anHeroSize40_41[0] = 16, m_anHeroSize40_41[1] = 24;
    m_anHeroSize42_43[0] = 16, m_anHeroSize42_43[1] = 16;
    const int32_t heroSize44[4] = {12, 8, 16, 16};
    std::copy(heroSize44, heroSize44 + 4, m_anHeroSize44_47);
    m_anHero48_49[0] = 1, m_anHero48_49[1] = 0;
    m_anHero50_51[0] = 1, m_anHero50_51[1] = 0;
    std::copy(heroSize, heroSize + 4, m_anCharaSize60_63);
    m_anCharaSize64_65[0] = 12, m_anCharaSize64_65[1] = 24;
    m_anCharaSize66_67[0] = 12, m_anCharaSize66_67[1] = 16;
    m_anChara68_69[0] = 30, m_anChara68_69[1] = 30;
    m_anChara70_71[0] = 1, m_anChara70_71[1] = 0;
    m_anChara72_73[0] = 1, m_anChara72_73[1] = 0;
    const int32_t values74[11] = {28, 28, 16, 16, 16, 16, 16, 16, 16, 16, 1};
    std::copy(values74, values74 + 11, m_anValue74_84);
    m_nValue95 = 1;
    m_nValue96 = 30;
    m_nValue97 = 0;
    m_nValue98 = 30;
    m_nValue99 = 0;

    m_vecBackgrounds.assign(1, cBackgroundRec());
    m_vecBackgrounds[0].m_anBC[0] = 1;
    m_vecNumbers.assign(5, 1);
    static const int32_t kZero[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    static const int32_t kPart4[8] = {1, 1, 1, 1, 0, 0, 0, 0};
    static const int32_t kPart5[8] = {1, 1, 1, 1, 10, 10, 10, 10};
    for (int i = 0; i < 3; ++i) m_aParts[i].Set(kZero);
    m_aParts[3].Set(kPart4);
    m_aParts[4].Set(kPart5);
}

void cStage::SetHitLevel(int32_t level) {
    level = std::clamp(level, 1, kMaxHitLevel);
    m_nHitLevel = level;
    const bool fast = level >= 11 && level <= 19;
    const int32_t n = fast ? level - 10 : level;
    m_nSubSteps = n;
    m_adSubStep[STEP_N] = n;
    m_nSpeedLimit = 6 * n;
    m_adSubStep[STEP_N2] = (double)n * n;
    m_adSubStep[STEP_LIMIT_FRAME] = fast ? 60.0 : 6.0 * n;
    m_adSubStep[STEP_LIMIT] = m_adSubStep[STEP_LIMIT_FRAME] / n;
    m_nSubSteps8 = 8 * n;
    m_adSubStep[STEP_GRAVITY] = m_dGravity / m_adSubStep[STEP_N2];
}

void cStage::BlockMapSize(int32_t& width, int32_t& height) const {
    width = std::clamp(m_nWidth, 0, kMaxStageSide);
    height = std::clamp(m_nHeight, 0, kMaxStageSide);
    if (width > 0 && (int64_t)width * height > kMaxStageCells) height = (int32_t)(kMaxStageCells / width);
}
