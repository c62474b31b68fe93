// Random draws, Shift-JIS tests, paths and numbered files.
#include "core/helpers.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "core/format.h"

namespace {

std::atomic<bool> g_tableLoadSkipped{false};

// Index of the last byte equal to `ch` that is not the trail byte of a two-byte character,
// scanning forward from `from`; -1 when there is none.
int LastCharIndex(const char* s, char ch, int from = 0) {
    int last = -1;
    for (int i = from; s[i];) {
        if (_ismbblead((unsigned char)s[i]) && s[i + 1]) {
            i += 2;
            continue;
        }
        if (s[i] == ch) last = i;
        ++i;
    }
    return last;
}

// Index of the extension dot: the last '.' after the last path separator; -1 when none.
int ExtensionDot(const char* path) {
    int sep = LastCharIndex(path, '\\');
    int slash = LastCharIndex(path, '/');
    if (slash > sep) sep = slash;
    return LastCharIndex(path, '.', sep + 1);
}

}  // namespace

int RandRange(int a, int b) {
    if (a > b) {
        int t = a;
        a = b;
        b = t;
    }
    long long span = (long long)b - (long long)a + 1;
    return (int)((long long)a + (long long)crt::rand() % span);
}

bool IsSjisPair(const char* p) {
    return p && _ismbblead((unsigned char)p[0]) && p[1] && _ismbbtrail((unsigned char)p[1]);
}

int GetCharCount(const char* text) {
    if (!text) return 0;
    int n = 0;
    for (const char* p = text; *p;) {
        if (IsSjisPair(p)) {
            p += 2;
            ++n;
            continue;
        }
        if (*p != '\n') ++n;
        ++p;
    }
    return n;
}

int GetRelativePath(char* path) {
    if (!path) return 0;
    if (PathIsRelativeA(path)) return 1;
    char cwd[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, cwd);
    if (n == 0 || n >= MAX_PATH) return 0;
    char rel[MAX_PATH];
    if (!PathRelativePathToA(rel, cwd, FILE_ATTRIBUTE_DIRECTORY, path, FILE_ATTRIBUTE_NORMAL)) return 0;
    CopyBounded(path, MAX_PATH, rel);
    return 1;
}

int GetRelativePathStr(std::string& path) {
    char buf[MAX_PATH];
    CopyBounded(buf, sizeof buf, path.c_str());
    int r = GetRelativePath(buf);
    path = buf;
    return r;
}

int MakeFullPath(char* path) {
    if (!path) return 0;
    if (!PathIsRelativeA(path)) return 1;
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return 0;
    CopyBounded(path, MAX_PATH, full);
    return 1;
}

void GetFileNameOnly(char* path) {
    if (!path) return;
    int sep = LastCharIndex(path, '\\');
    if (sep < 0) return;
    std::memmove(path, path + sep + 1, std::strlen(path + sep + 1) + 1);
}

int ChangeExtension(char* dest, const char* src, const char* newExt) {
    if (!dest || !src) return 0;
    char buf[MAX_PATH];
    CopyBounded(buf, sizeof buf, src);
    int dot = ExtensionDot(buf);
    if (dot < 0) {
        CopyBounded(dest, MAX_PATH, buf);
        return 0;
    }
    buf[dot] = 0;
    if (newExt) FormatBounded(dest, MAX_PATH, "%s.%s", buf, newExt);
    else CopyBounded(dest, MAX_PATH, buf);
    return 1;
}

int RemoveExtension(char* path) {
    if (!path) return 0;
    int dot = ExtensionDot(path);
    if (dot < 0) return 0;
    path[dot] = 0;
    return 1;
}

int RemoveExtensionStr(std::string& path) {
    char buf[MAX_PATH];
    CopyBounded(buf, sizeof buf, path.c_str());
    int r = RemoveExtension(buf);
    path = buf;
    return r;
}

int GetExtension(char* dest, const char* path) {
    if (!dest || !path) return 0;
    int dot = ExtensionDot(path);
    if (dot < 0) return 0;
    CopyBounded(dest, MAX_PATH, path + dot + 1);
    return 1;
}

int MakeNumberedFileName(char* dest, const char* src, int digit1, int digit2) {
    if (!dest || !src) return 0;
    char buf[MAX_PATH];
    CopyBounded(buf, sizeof buf, src);
    int dot = ExtensionDot(buf);
    if (dot < 0) return 0;
    char ext[MAX_PATH];
    CopyBounded(ext, sizeof ext, buf + dot);
    buf[dot] = 0;
    FormatBounded(dest, MAX_PATH, "%s_%d%d%s", buf, ((digit1 % 10) + 10) % 10, ((digit2 % 10) + 10) % 10, ext);
    return 1;
}

int FindNumberedFile(char* dest, const char* name, const char* ext) {
    if (!dest || !name) return 0;
    char base[MAX_PATH];
    ChangeExtension(base, name, ext);  // no "." in the name: the base is the name unchanged
    // One listing of "base_*" gives every candidate; the highest three-digit number wins, as if
    // 999 down to 000 had been tried one by one.
    char pattern[MAX_PATH];
    FormatBounded(pattern, sizeof pattern, "%s_???", base);
    int best = -1;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern, &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const char* n = fd.cFileName;
            size_t len = std::strlen(n);
            if (len < 4 || n[len - 4] != '_') continue;
            const char* d = n + len - 3;
            if (d[0] < '0' || d[0] > '9' || d[1] < '0' || d[1] > '9' || d[2] < '0' || d[2] > '9') continue;
            int num = (d[0] - '0') * 100 + (d[1] - '0') * 10 + (d[2] - '0');
            if (num > best) best = num;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    if (best < 0) return 0;
    char found[MAX_PATH];
    if (FormatBounded(found, sizeof found, "%s_%d%d%d", base, best / 100, best / 10 % 10, best % 10) + 1 >=
        sizeof found)
        return 0;
    if (GetFileAttributesA(found) == INVALID_FILE_ATTRIBUTES) return 0;
    CopyBounded(dest, MAX_PATH, found);
    return 1;
}

int FindNumberedFileStr(std::string& name, const char* ext) {
    char buf[MAX_PATH];
    int r = FindNumberedFile(buf, name.c_str(), ext);
    if (r) name = buf;
    return r;
}

bool LoadTable64K(unsigned char* dest, const char* path) {
    if (g_tableLoadSkipped) return true;
    if (!dest || !path) return false;
    FILE* fp = crt::fopen(path, "rb");
    if (!fp) return false;
    size_t got = std::fread(dest, 1, 65536, fp);
    std::fclose(fp);
    return got == 65536;
}

void SetTableLoadSkipped(bool skip) { g_tableLoadSkipped = skip; }
