// A stage character: a character placed on the stage or summoned, with its embedded item.
#pragma once

#include "play/chara.h"

class cStageChara : public cChara {
public:
};
