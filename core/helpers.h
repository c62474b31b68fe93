// Small helpers used all over the program: random draws, Shift-JIS character tests and counts,
// dialog-item text through strings, path and file-name operations, numbered files, 64 KiB tables.
// Paths are Shift-JIS strings of at most MAX_PATH (260) bytes, changed in place in caller buffers.
#pragma once

#include <string>

#include "platform/win32/win32.h"

// A random integer in the closed range between a and b (swapped when a > b).
int RandRange(int a, int b);
bool IsSjisPair(const char* p);
// Characters of a text: a two-byte pair counts once, a line feed not at all.
int GetCharCount(const char* text);

int GetRelativePath(char* path);
int GetRelativePathStr(std::string& path);
int MakeFullPath(char* path);
void GetFileNameOnly(char* path);
int ChangeExtension(char* dest, const char* src, const char* newExt);
int RemoveExtension(char* path);
int RemoveExtensionStr(std::string& path);
int GetExtension(char* dest, const char* path);
int MakeNumberedFileName(char* dest, const char* src, int digit1, int digit2);
// The highest existing "name.ext_NNN" (NNN from 999 down to 000); 1 when found.
int FindNumberedFile(char* dest, const char* name, const char* ext);
int FindNumberedFileStr(std::string& name, const char* ext);
// Reads a 65,536-byte table; a short read is a failure. With a Direct3D device: true, nothing read.
bool LoadTable64K(unsigned char* dest, const char* path);
// Set by the drawing layer: whether a Direct3D device is up (LoadTable64K reads nothing then).
void SetTableLoadSkipped(bool skip);
