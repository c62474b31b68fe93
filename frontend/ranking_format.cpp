// The number formats of the ranking and result boards.
#include "frontend/ranking_format.h"

#include <algorithm>

namespace {

constexpr int kMaxWidth = 32;

// Exactly n digits of |value| with leading zeros.
std::string Digits(int64_t value, int n) {
    uint64_t m = value < 0 ? (uint64_t)(-value) : (uint64_t)value;
    std::string s((size_t)n, '0');
    for (int i = n - 1; i >= 0; --i) {
        s[(size_t)i] = (char)('0' + m % 10);
        m /= 10;
    }
    return s;
}

// Minutes or seconds of a ranking time: at least two digits, "-" in front when negative.
std::string TimePart(int32_t value) {
    std::string s = Digits(value, std::max(2, CountDigits(value)));
    return value < 0 ? "-" + s : s;
}

}  // namespace

int CountDigits(int32_t value) {
    int n = 1;
    for (int i = 0; i < 10; ++i) {
        value /= 10;
        if (value == 0) break;
        ++n;
    }
    return std::min(n, 10);
}

void FormatSignedValue(std::string& out, int32_t value, int width, bool zeroFill, bool plusSign) {
    const int digits = CountDigits(value);
    const int n = (width != 0 && width >= digits) ? std::min(width, kMaxWidth) : digits;
    out = Digits(value, std::max(n, digits));
    if (!zeroFill)
        for (size_t i = 0; i + 1 < out.size() && out[i] == '0'; ++i) out[i] = ' ';
    if (value < 0)
        out.insert(0, "-");
    else if (plusSign)
        out.insert(0, "+");
}

void FormatRankingTime(std::string& out, int32_t value) {
    const int32_t seconds = value / 100;
    std::string hundredths;
    FormatSignedValue(hundredths, value % 100, 2, true, false);
    out = TimePart(seconds / 60) + ":" + TimePart(seconds % 60) + "." + hundredths;
}
