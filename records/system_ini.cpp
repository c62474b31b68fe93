// The System.ini parser.
#include "records/system_ini.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/checked.h"
#include "core/format.h"
#include "platform/win32/crt.h"

SYSTEMINISETTINGS g_SystemIni;

namespace {

constexpr int kMaxLines = 10000;
// Keys and values longer than this are cut (nothing in the format needs more).
constexpr size_t kMaxItemBytes = 2047;

// Leading decimal digits with an optional sign, kept in the 32-bit range; 0 without digits.
int32_t DecimalOf(const std::string& s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int64_t v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > (int64_t)INT32_MAX + 1) v = (int64_t)INT32_MAX + 1;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) v = INT32_MAX;
    return (int32_t)v;
}

int32_t* NumberField(SYSTEMINISETTINGS& s, int index) {
    int32_t* fields[8] = {&s.nDirect3D,     &s.nWindowMode,  &s.nBpp,           &s.nVSync,
                          &s.nD3DFontCache, &s.nDDFontCache, &s.nDDVideoStretch, &s.nShowFps};
    return index >= 0 && index < 8 ? fields[index] : nullptr;
}

void Apply(SYSTEMINISETTINGS& settings, const std::vector<SYSTEMINIKEY>& keys, const std::string& key,
           const std::string& value) {
    int index = -1;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i].m_strKey == key) {
            index = (int)i;
            break;
        }
    if (int32_t* field = NumberField(settings, index)) {
        *field = DecimalOf(value);
    } else if (index == 8) {
        if (value.size() >= 2 && value.size() < MAX_PATH) CopyBounded(settings.szFreeStage, MAX_PATH, value.c_str());
    } else if (index == 9) {
        settings.nEnglish = DecimalOf(value);
    }
}

}  // namespace

void ResetSystemIni(SYSTEMINISETTINGS& settings, const std::vector<SYSTEMINIKEY>& keys) {
    for (int i = 0; i < 8; ++i) *NumberField(settings, i) = CheckedAt(keys, i).m_nDefault;
    CopyBounded(settings.szFreeStage, MAX_PATH, CheckedAt(keys, 8).m_strDefault.c_str());
    settings.nEnglish = 0;
}

int ReadSystemIni(const char* fileName, SYSTEMINISETTINGS& settings, const std::vector<SYSTEMINIKEY>& keys) {
    FILE* fp = crt::fopen(fileName, "rb");
    if (!fp) return 0;
    std::string key, value;
    for (int line = 0; line < kMaxLines; ++line) {
        key.clear();
        value.clear();
        // The key: up to "=", skipping CR, blanks and tabs.
        bool hasValue = false;
        for (;;) {
            int c = std::fgetc(fp);
            if (c == EOF) {
                std::fclose(fp);
                return 0;  // a file must end with its "Exit" line
            }
            if (c == '=') {
                hasValue = true;
                break;
            }
            if (c == '\r' || c == ' ' || c == '\t') continue;
            if (c == 0) {
                std::fclose(fp);
                return 1;
            }
            if (c == '\n') {
                if (key == "Exit") {
                    std::fclose(fp);
                    return 1;
                }
                break;  // a line without "=" is ignored
            }
            if (key.size() < kMaxItemBytes) key += (char)c;
        }
        if (!hasValue) continue;
        // The value: up to a blank, tab, "/", line feed or NUL (consumed).
        for (;;) {
            int c = std::fgetc(fp);
            if (c == EOF || c == ' ' || c == '\t' || c == '/' || c == '\n' || c == 0) break;
            if (value.size() < kMaxItemBytes) value += (char)c;
        }
        while (!value.empty() && value.back() == '\r') value.pop_back();  // CR LF line ends
        Apply(settings, keys, key, value);
    }
    std::fclose(fp);
    return 1;
}
