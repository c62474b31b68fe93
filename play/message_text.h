// The text of a message window: its "#" codes replaced by the values of common or stage
// variables, and its measured extent.
//
// A code is "#", then "C"/"c" (common) or "S"/"s" (stage variables), the variable number, and
// an optional format part "_" with "Z" (zero filling), "P" (a plus sign) and a digit (the field
// width, 0-9); "." ends a code and belongs to it. Codes without their letter, without digits or
// with a number outside 1-1000 stay as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32.h"

class MessageObj;
class cPlayScene;

// The text with every code replaced by its variable's value.
std::string ExpandTextCodes(const std::string& text, const std::vector<int32_t>& commonVars,
                            const std::vector<int32_t>& stageVars);
// A variable's value as a code shows it: at least `width` digits of |value|, leading zeros as
// spaces unless `zero`, "-" before a negative value, "+" before another one with `plus`.
std::string FormatCodeValue(int32_t value, int width, bool zero, bool plus);
// The shown text of a message from its text, with the play data's common variables and the
// scene's stage variables.
void ExpandMessageText(MessageObj& msg, cPlayScene* scene);
// The extent of a text block + 2 each way: with the bitmap font its grid size, else the
// measured size with the message font.
SIZE MeasureText(const std::string& text, int bitmapFont);
