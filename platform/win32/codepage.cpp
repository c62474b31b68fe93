// Shift-JIS (code page 932) <-> UTF-8 through glibc iconv's "CP932" converter.
#include "platform/win32/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <mutex>

namespace {

// Converts with one iconv descriptor per direction and thread; bad input bytes become '?'.
std::string Convert(const char* to, const char* from, const std::string& text, size_t badSkip, bool* bad = nullptr) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return text;
    std::string out;
    out.reserve(text.size() * 2 + 4);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buf[512];
    while (inLeft > 0) {
        char* o = buf;
        size_t oLeft = sizeof buf;
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, (size_t)(o - buf));
        if (r == (size_t)-1) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: replace the offending character and go on.
            if (bad) *bad = true;
            out += '?';
            size_t skip = std::min(inLeft, badSkip);
            if (badSkip == 0) {
                // UTF-8: skip one whole sequence.
                unsigned char c = (unsigned char)*in;
                skip = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
                if (skip > inLeft) skip = inLeft;
            } else {
                unsigned char c = (unsigned char)*in;
                bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
                skip = (lead && inLeft >= 2) ? 2 : 1;
            }
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

bool IsAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& text) {
    if (IsAscii(text)) return text;
    return Convert("UTF-8", "CP932", text, 1);
}

std::string Utf8ToCp932(const std::string& text) {
    if (IsAscii(text)) return text;
    return Convert("CP932", "UTF-8", text, 0);
}

bool Cp932ToUtf8Strict(const std::string& text, std::string* out) {
    if (IsAscii(text)) {
        *out = text;
        return true;
    }
    bool bad = false;
    *out = Convert("UTF-8", "CP932", text, 1, &bad);
    return !bad;
}

bool IsValidUtf8(const std::string& text) {
    size_t i = 0, n = text.size();
    while (i < n) {
        unsigned char c = (unsigned char)text[i];
        size_t len;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            unsigned char t = (unsigned char)text[i + k];
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}
