#include "play/stage_objects.h"

std::vector<cHero> g_vecHero;
std::list<cStageChara> g_listStageChara;
std::list<cItem> g_listItem;
