// Conversion between the program's Shift-JIS (code page 932) text and UTF-8, at the platform edge.
#pragma once

#include <string>

// Invalid or unmappable input becomes '?' (one per bad character); never fails.
std::string Cp932ToUtf8(const std::string& text);
std::string Utf8ToCp932(const std::string& text);
// As Cp932ToUtf8, but false when any byte sequence is not code page 932 (the output then
// holds '?' for it).
bool Cp932ToUtf8Strict(const std::string& text, std::string* out);
// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(const std::string& text);
