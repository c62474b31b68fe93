// Bounded printf-style formatting into fixed buffers: a text too long for the buffer is cut on a
// Shift-JIS character boundary, never in the middle of a two-byte character.
#pragma once

#include <cstdarg>
#include <cstddef>

// Formats into buf (size bytes, always terminated); returns the length written.
size_t FormatBounded(char* buf, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
size_t VFormatBounded(char* buf, size_t size, const char* format, va_list args);
// Copies src into buf (size bytes), cut on a character boundary; returns the length written.
size_t CopyBounded(char* buf, size_t size, const char* src);
