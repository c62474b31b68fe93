#include "core/format.h"

#include <cstdio>
#include <cstring>

#include "platform/win32/crt.h"

// Largest length <= limit that does not split a two-byte character of text.
static size_t CharBoundary(const char* text, size_t limit) {
    size_t i = 0;
    while (i < limit) {
        size_t step = _ismbblead((unsigned char)text[i]) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

size_t VFormatBounded(char* buf, size_t size, const char* format, va_list args) {
    if (!buf || size == 0) return 0;
    int n = vsnprintf(buf, size, format ? format : "", args);
    if (n < 0) {
        buf[0] = 0;
        return 0;
    }
    if ((size_t)n < size) return (size_t)n;
    size_t cut = CharBoundary(buf, size - 1);
    buf[cut] = 0;
    return cut;
}

size_t FormatBounded(char* buf, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    size_t n = VFormatBounded(buf, size, format, args);
    va_end(args);
    return n;
}

size_t CopyBounded(char* buf, size_t size, const char* src) {
    if (!buf || size == 0) return 0;
    if (!src) src = "";
    size_t len = std::strlen(src);
    if (len >= size) len = CharBoundary(src, size - 1);
    std::memmove(buf, src, len);
    buf[len] = 0;
    return len;
}
