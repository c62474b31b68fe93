// The objects of the stage being played: the heroes, the stage characters and the items.
// Lists keep their elements in place, so the play scene's group lists may point at them until
// an object leaves play (it is taken out of its group list first).
#pragma once

#include <list>
#include <vector>

#include "play/hero.h"
#include "play/item.h"
#include "play/stage_chara.h"

extern std::vector<cHero> g_vecHero;
extern std::list<cStageChara> g_listStageChara;
extern std::list<cItem> g_listItem;
