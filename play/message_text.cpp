#include "play/message_text.h"

#include <cstdlib>

#include "core/checked.h"
#include "core/helpers.h"
#include "media/font.h"
#include "media/game_fonts.h"
#include "play/message_obj.h"
#include "play/play_scene.h"
#include "records/save_data.h"

namespace {

constexpr int kFirstVar = 1;
constexpr int kLastVar = 1000;
// The message font: the 16-dot font.
constexpr int kMessageFont = 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatCodeValue(int32_t value, int width, bool zero, bool plus) {
    const int64_t v = value;
    std::string digits = std::to_string(v < 0 ? -v : v);
    if ((int)digits.size() < width) digits.insert(0, (size_t)(width - (int)digits.size()), '0');
    if (!zero)
        for (size_t i = 0; i + 1 < digits.size() && digits[i] == '0'; ++i) digits[i] = ' ';
    if (v < 0) return "-" + digits;
    if (plus) return "+" + digits;
    return digits;
}

std::string ExpandTextCodes(const std::string& text, const std::vector<int32_t>& commonVars,
                            const std::vector<int32_t>& stageVars) {
    std::string out;
    out.reserve(text.size());
    const char* s = text.c_str();
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        if (IsSjisPair(s + i)) {
            out.append(s + i, 2);
            i += 2;
            continue;
        }
        if (s[i] != '#') {
            out += s[i++];
            continue;
        }
        size_t j = i + 1;
        const std::vector<int32_t>* vars = nullptr;
        if (j < n && (s[j] == 'C' || s[j] == 'c')) vars = &commonVars;
        else if (j < n && (s[j] == 'S' || s[j] == 's')) vars = &stageVars;
        if (!vars) {
            out += s[i++];
            continue;
        }
        ++j;
        bool hasDigits = false;
        int number = 0;
        for (; j < n && IsDigit(s[j]); ++j) {
            hasDigits = true;
            if (number <= kLastVar) number = number * 10 + (s[j] - '0');  // held above the range
        }
        bool zero = false, plus = false;
        int width = 0;
        if (j < n && s[j] == '_') {
            for (++j; j < n; ++j) {
                if (s[j] == 'Z' || s[j] == 'z') zero = true;
                else if (s[j] == 'P' || s[j] == 'p') plus = true;
                else if (IsDigit(s[j])) width = s[j] - '0';
                else break;
            }
        }
        if (j < n && s[j] == '.') ++j;
        if (!hasDigits || number < kFirstVar || number > kLastVar) {
            out += s[i++];  // not a code: the text stays as it is
            continue;
        }
        out += FormatCodeValue(CheckedAt(*vars, number), width, zero, plus);
        i = j;
    }
    return out;
}

void ExpandMessageText(MessageObj& msg, cPlayScene* scene) {
    static const std::vector<int32_t> none(kLastVar + 1, 0);
    msg.m_strShown = ExpandTextCodes(msg.m_Set.strText, g_SaveData.m_vecCommonVars,
                                     scene ? scene->m_vecStageVars : none);
}

SIZE MeasureText(const std::string& text, int bitmapFont) {
    cFont& font = g_Fonts[kMessageFont];
    SIZE s = bitmapFont ? MeasureFontText(&font, text.c_str()) : font.MeasureText(text.c_str());
    s.cx += 2;
    s.cy += 2;
    return s;
}
