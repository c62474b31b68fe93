// Ready-to-run frame lists: what the project database precomputes for every animation and
// effect, in the frame type of the animation sequencer that steps through them.
#pragma once

#include <vector>

#include "media/anime.h"

typedef std::vector<AnimeFrame> ANIMEFRAMELIST;
// One frame list per record of a table, same index.
typedef std::vector<ANIMEFRAMELIST> ANIMEFRAMETABLE;
