// Damage, invincibility and score: what the character operations of play/damage.cpp share with
// the hit passes, the deaths and the flows.
#pragma once

#include <cstdint>

#include "play/chara.h"

// The score of the play stays within 0..999999; one hit deals at most 999999.
constexpr int32_t kMaxScore = 999999;
constexpr int32_t kMaxDamage = 999999;
// The owner identifier of a shot whose owner has died.
constexpr int32_t kNoOwner = -1;

// A score computed wide, held to 0..kMaxScore.
int32_t ClampScore(int64_t score);
// Adds points to the stage score of the play data (held to 0..kMaxScore).
void AddScore(int64_t points);
// The damage a power deals against a defence: a positive power less the defence, held to
// 0..kMaxDamage; a power of 0 or less is not reduced.
int32_t DamageOf(int32_t power, int32_t defence);
// Whether a character is one of the heroes.
bool IsHeroChara(const cChara& chara);
// The hero or stage character with an identifier; none when it left play.
cChara* FindObjectById(int id);
