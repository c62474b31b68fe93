// An item lying on the stage.
#pragma once

#include "play/game_obj.h"

class cItem : public cGameObj {
public:
};
