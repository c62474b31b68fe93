// The number formats of the ranking and result boards: digit counts, signed values with a
// width, and ranking times "minutes:seconds.hundredths".
#pragma once

#include <cstdint>
#include <string>

// The number of decimal digits of a value, 1 to 10 (the sign does not count).
int CountDigits(int32_t value);
// A value with at least `width` digits (a width of 0 or below the value's digit count means
// just its digits): leading zeros, or blanks in their place without zero fill (a last digit
// 0 stays); "-" in front of a negative value, "+" in front of 0 or more with the plus sign.
// Widths are held to 32.
void FormatSignedValue(std::string& out, int32_t value, int width, bool zeroFill, bool plusSign);
// A time in hundredths of a second: minutes and seconds of at least two digits, hundredths
// of two ("%s:%s.%s"); 12345 gives "02:03.45".
void FormatRankingTime(std::string& out, int32_t value);
