// The C runtime pieces the program relies on with Windows behaviour: the random generator, file
// access through the path mapping, and the code-page 932 byte tests.
#pragma once

#include <cstdio>

namespace crt {

// The program's own per-thread linear congruential generator with the classic constants:
// x = x * 214013 + 2531011, result (x >> 16) & 0x7FFF; a new thread starts with seed 1.
int rand();
void srand(unsigned int seed);
constexpr int RAND_MAX_VALUE = 0x7FFF;

// fopen of a program (Windows) path; "t" in the mode is accepted and ignored.
FILE* fopen(const char* path, const char* mode);
int remove(const char* path);
// Replaces an existing target (as the atomic saves need).
int rename(const char* from, const char* to);
// Flushes the stream and the file's data to the disk; 0 on success.
int fsync(FILE* fp);

}  // namespace crt

// Code page 932 lead and trail byte tests.
int _ismbblead(unsigned int c);
int _ismbbtrail(unsigned int c);
