// The start rule's tests: condition lists and the seven condition kinds (variables, status,
// distance), and the key conditions: a sequence of key steps matched backward over the first
// hero's key histories.
//
// Key positions: every key (10 direction states, then 9 buttons) has a run-length history of up
// to 32 entries, entry 0 the present. A position is an entry and the frames stepped back into it;
// the frames "counted there" are the entry's frames less that offset (how long the key had been
// in that state at that moment).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class cChara;
class cFlowCond;
class cFlowKeyCond;
class cFlowRun;
class cHero;
class cPlayScene;
class cPlayerInput;

// Condition lists: mode 0 all hold (empty holds), 1 one holds (empty fails), others fail.
bool EvaluateConditionList(cPlayScene* scene, std::span<cFlowCond> conds, int mode, cChara* chara);
bool EvaluateCondition(cPlayScene* scene, cFlowCond& cond, cChara* chara);
// The flow's condition list with its once-held rule; sets the instance's conditions-held flag.
bool TestFlowConditions(cPlayScene* scene, cFlowRun& run, cChara& chara);
// The flow's key conditions: above 0 holds.
int TestFlowKeyConditions(cChara& chara, cFlowRun& run);

// One read position per key.
constexpr int kKeyCount = 19;
struct KEYPOS {
    int32_t anEntry[kKeyCount];
    int32_t anOffset[kKeyCount];
};
// Every key's position moved by d frames (back for d < 0, never past the 32nd entry; forward
// for d > 0, never past the present); 0 when a backward move runs out of history.
int StepKeyHistory(const cPlayerInput& input, KEYPOS& pos, int d);
// A key state ("押" 1, "離" 2) against a key held or not for `frames` frames.
bool KeyStateHolds(const cFlowKeyCond& cond, int state, bool held, int frames);
// One key step at the positions; `length` gets the matched length.
bool MatchKeyStep(const cPlayerInput& input, const KEYPOS& pos, const cFlowKeyCond& cond, int& length);
// The sequence test over the first hero's input: 1 when the last step holds now and the earlier
// ones hold before it within the key window.
int MatchKeySequence(cChara& chara, std::span<const cFlowKeyCond> conds, int window);
// One key step on the present state of an input alone (no frame counts, no mirror).
int KeyConditionHoldsNow(const cPlayerInput& input, const cFlowKeyCond& cond);
// The hero's jump: the last key condition of the running flow on the hero's input now.
bool KeyConditionHoldsNow(cHero& hero);
// The first direction state (0-9) that is set now; 0 when none.
int FirstDirection(const cPlayerInput& input);
// The input the key sequences read: the first hero's entry (none without a hero).
const cPlayerInput* KeySequenceInput();

// The range of a distance condition in dots: value half blocks x 16 + index dots.
int32_t RangeOfCondition(const cFlowCond& cond);
// The span a line-shaped range (shapes 0-5: 0-2 across, 3-5 up and down; 1 and 4 in front,
// 2 and 5 behind, the others both ways) of reach r covers from an object whose side starts at
// `start` and is `size` dots long, facing right when `right`: [low, high] along the shape's axis.
void RangeSpan(int shape, bool right, int32_t r, int32_t start, int32_t size, int64_t& low, int64_t& high);
