// Searches for a character in a list of characters: the nearest one to a point and the first
// one, both through the same filters. Only characters that have appeared, are active and are
// not dead are found.
#pragma once

#include <cstdint>
#include <list>

class cChara;

// The filters: tag number, a character variable compared with a value (operator 0-7 as the
// value tests compare), an excluded identifier, protection kinds 1 and 2, block characters.
struct CHARASEARCH {
    int32_t bTag;
    int32_t nTag;
    int32_t bVar;
    int32_t nVarIndex;
    int32_t nValue;
    int32_t nOp;
    int32_t bExcludeId;
    int32_t nExcludedId;
    int32_t bExcludeLight;
    int32_t bExcludeHeavy;
    int32_t bExcludeBlocks;
};

// Comparison modes of the nearest search: any distance, or only characters on screen.
enum { SEARCH_ANYWHERE = 0, SEARCH_ON_SCREEN = 2 };

// Whether a character may be found: appeared, active (heroes always; stage characters while
// in range or always active), not dead, and through the filters.
bool PassesSearch(const cChara& chara, const CHARASEARCH& filters);
// The character nearest to (x, y) by the distance between the point and the centre of its
// screen rectangle; the first of equals. None when no character passes.
cChara* FindNearestCharacter(double x, double y, const std::list<cChara*>& list, int mode,
                             const CHARASEARCH& filters);
// The first character of the list that passes, or none.
cChara* FindFirstCharacter(const std::list<cChara*>& list, const CHARASEARCH& filters);
