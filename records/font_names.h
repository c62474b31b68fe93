// The font-name table: the face names a project may choose for its text, by font number.
#pragma once

#include <cstdint>

constexpr int kFontNameCount = 123;
// The font number of a new project ("ＭＳ Ｐゴシック").
constexpr uint32_t kDefaultFontNumber = 60;

// Entry 122 is the empty name.
extern const char* const g_FontNameTable[kFontNameCount];

// The face name of a font number; a number without an entry falls back to the default number
// (with a report line).
const char* GetFontFaceName(uint32_t fontNumber);
