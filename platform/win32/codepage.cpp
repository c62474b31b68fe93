// Shift-JIS (code page 932) <-> UTF-8 through glibc iconv's "CP932" converter.
#include "platform/win32/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace {

// Converts with one iconv descriptor per direction and thread; bad input bytes become '?'.
std::string Convert(const char* to, const char* from, const std::string& text, size_t badSkip) {
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
