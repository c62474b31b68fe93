// The sound and input interfaces the program calls, in one include.
#pragma once

#include "platform/audio/dsound.h"
#include "platform/audio/mmsystem.h"
#include "platform/audio/vox.h"
