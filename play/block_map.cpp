#include "play/block_map.h"

std::vector<cBlockDef> g_vecBlockMap;
