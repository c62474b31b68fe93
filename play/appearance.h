// The appearance pass: which objects are in play and on screen, and which stage characters act
// this frame. Run once per sub-step before the objects move and by the stage set-up.
#pragma once

#include <cstddef>

class cPlayScene;

// Entries of the appearance-group byte vector: one per 16-bit group number.
constexpr size_t kAppearGroupSlots = 65536;

void CheckAppearances(cPlayScene* scene);
