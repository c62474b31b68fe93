// Conversion between the program's Shift-JIS (code page 932) text and UTF-8, at the platform edge.
#pragma once

#include <string>

// Invalid or unmappable input becomes '?' (one per bad character); never fails.
std::string Cp932ToUtf8(const std::string& text);
std::string Utf8ToCp932(const std::string& text);
