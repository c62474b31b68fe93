// The animation sets of the project database for the characters' animation players. Apart from
// the database header, whose frame type shares its name with the media layer's.
#pragma once

class cAnimeSetRec;

// The animation set of a number through the checked access (a bad number reports the index
// error and gives set 0); null when the database holds no set yet.
const cAnimeSetRec* AnimeSetFor(int set);
// The three cell offsets of an animation set (flying, block and protected forms); false when
// the database holds no set.
bool AnimeSetCellOffsets(int set, int& flying, int& block, int& protection);
