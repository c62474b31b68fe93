// A stage's hero placement for play tests: a flying hero, so no block map is needed to hold it.
#pragma once

#include "records/stage.h"

inline void PlaceFlyingHero(cStage& stage, int blockX = 3, int blockY = 5) {
    cCharaRec hero;
    hero.m_byRole = 0;
    hero.m_wGraphic = 1;
    hero.m_byC27 = 1;
    hero.m_sPlaceX = (int16_t)blockX;
    hero.m_sPlaceY = (int16_t)blockY;
    stage.m_vecCharas.assign(1, hero);
}
