// Files and paths: the mapping of the program's Windows paths to host paths, directories,
// attributes, full and relative paths, directory listings, and the runtime's fopen.
#include "platform/win32/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/win32/codepage.h"
#include "platform/win32/crt.h"
#include "platform/win32/internal.h"

namespace {

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Splits a Shift-JIS path at '\' and '/' (never at a trail byte). `absolute` tells whether it
// started at the root (a leading separator or a drive letter such as "C:").
std::vector<std::string> SplitPath(const std::string& path, bool* absolute) {
    std::vector<std::string> parts;
    size_t i = 0;
    *absolute = false;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        *absolute = true;
        i = 2;
    }
    if (i < path.size() && (path[i] == '\\' || path[i] == '/')) *absolute = true;
    std::string cur;
    while (i < path.size()) {
        unsigned char c = (unsigned char)path[i];
        if (IsLead(c) && i + 1 < path.size()) {
            cur += path[i];
            cur += path[i + 1];
            i += 2;
            continue;
        }
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += (char)c;
        }
        ++i;
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

bool IsAsciiName(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = (char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = (char)(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The code points of well-formed UTF-8 text with the letters folded as Windows folds file
// names here: ASCII a-z and full-width a-z (U+FF41..U+FF5A) become their capitals.
std::u32string FoldedName(const std::string& utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = (unsigned char)utf8[i];
        size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < len && i + k < utf8.size(); ++k) cp = (cp << 6) | ((unsigned char)utf8[i + k] & 0x3F);
        i += len;
        if (cp >= U'a' && cp <= U'z') cp -= 0x20;
        else if (cp >= 0xFF41 && cp <= 0xFF5A) cp -= 0x20;
        out += cp;
    }
    return out;
}

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

std::string JoinHost(const std::string& dir, const std::string& name) {
    return dir.empty() || dir == "/" ? dir + name : dir + "/" + name;
}

// How a name on disk matches a program path component, best first. Names copied from Windows
// may be UTF-8 or the raw code-page-932 bytes of the original; both are compared as text.
enum NameMatch { kExactUtf8, kExactRaw, kFoldedUtf8, kFoldedRaw, kNoMatch };

// Finds the entry of `dir` that matches the component (its Shift-JIS bytes and their UTF-8
// form) without regard to letter case: a UTF-8 name before a raw Shift-JIS one, then the
// smallest name, so the choice never depends on the order of the directory.
bool MatchInDir(const std::string& dir, const std::string& sjis, const std::string& utf8, std::string* found) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    const bool asciiWant = IsAsciiName(sjis);
    const std::u32string want = asciiWant ? std::u32string() : FoldedName(utf8);
    int bestRank = kNoMatch;
    std::string best;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        // Folding never maps a letter outside ASCII into it or back: an ASCII component can
        // only match an ASCII name, and the other way round.
        if (IsAsciiName(n) != asciiWant) continue;
        int rank = kNoMatch;
        if (asciiWant) {
            if (EqualNoCase(n, sjis)) rank = kFoldedUtf8;
        } else {
            std::string u;
            if (IsValidUtf8(n) && FoldedName(n) == want)
                rank = kFoldedUtf8;
            else if (Cp932ToUtf8Strict(n, &u) && FoldedName(u) == want)
                rank = kFoldedRaw;
        }
        if (rank < bestRank || (rank == bestRank && rank != kNoMatch && n < best)) {
            bestRank = rank;
            best = n;
        }
    }
    closedir(d);
    if (bestRank == kNoMatch) return false;
    *found = best;
    return true;
}

// The program's (Shift-JIS) form of one name on disk: UTF-8 names are converted, names that
// are not UTF-8 are taken as the raw code-page-932 bytes they are.
std::string ProgramName(const std::string& hostName) {
    if (IsAsciiName(hostName)) return hostName;
    std::string u;
    if (!IsValidUtf8(hostName) && Cp932ToUtf8Strict(hostName, &u)) return hostName;
    return Utf8ToCp932(hostName);
}

// A Shift-JIS character code (lead << 8 | trail) with full-width a-z folded to capitals.
unsigned FoldWide(unsigned code) { return code >= 0x8281 && code <= 0x829A ? code - 0x21 : code; }

// Windows wildcard match ('*' any run, '?' one character) on Shift-JIS, letters compared
// without regard to case (ASCII and full-width).
bool WildMatch(const char* pat, const char* s) {
    while (*pat) {
        if (*pat == '*') {
            while (*pat == '*') ++pat;
            if (!*pat) return true;
            for (const char* t = s;; t += (IsLead((unsigned char)*t) && t[1]) ? 2 : 1) {
                if (WildMatch(pat, t)) return true;
                if (!*t) return false;
            }
        }
        if (!*s) return false;
        size_t ns = (IsLead((unsigned char)*s) && s[1]) ? 2 : 1;
        if (*pat == '?') {
            s += ns;
            ++pat;
            continue;
        }
        size_t np = (IsLead((unsigned char)*pat) && pat[1]) ? 2 : 1;
        if (np != ns) return false;
        if (np == 2) {
            unsigned a = ((unsigned)(unsigned char)pat[0] << 8) | (unsigned char)pat[1];
            unsigned b = ((unsigned)(unsigned char)s[0] << 8) | (unsigned char)s[1];
            if (FoldWide(a) != FoldWide(b)) return false;
        } else {
            char a = *pat, b = *s;
            if (a >= 'A' && a <= 'Z') a = (char)(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z') b = (char)(b - 'A' + 'a');
            if (a != b) return false;
        }
        pat += np;
        s += ns;
    }
    return *s == 0;
}

struct FindObject : win32::KernelObject {
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 0;
    DWORD Wait(DWORD) override { return WAIT_FAILED; }
};

bool FillFindData(const std::string& hostDir, const std::string& hostName, WIN32_FIND_DATAA* fd) {
    std::string full = hostDir.empty() ? hostName : hostDir + "/" + hostName;
    struct stat st;
    if (stat(full.c_str(), &st) != 0) return false;
    std::string name = ProgramName(hostName);
    if (name.size() >= MAX_PATH) return false;
    *fd = WIN32_FIND_DATAA{};
    fd->dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    fd->nFileSizeLow = (DWORD)((uint64_t)st.st_size & 0xFFFFFFFFu);
    fd->nFileSizeHigh = (DWORD)((uint64_t)st.st_size >> 32);
    uint64_t t = ((uint64_t)st.st_mtime + 11644473600ull) * 10000000ull;
    fd->ftLastWriteTime = FILETIME{(DWORD)t, (DWORD)(t >> 32)};
    std::memcpy(fd->cFileName, name.c_str(), name.size() + 1);
    return true;
}

DWORD CopyOut(const std::string& s, DWORD n, LPSTR buf) {
    if (!buf || n < s.size() + 1) return (DWORD)s.size() + 1;
    std::memcpy(buf, s.c_str(), s.size() + 1);
    return (DWORD)s.size();
}

// The normalised Windows form of a path against the current directory.
std::string FullWindowsPath(const std::string& path) {
    bool absolute;
    auto parts = SplitPath(path, &absolute);
    std::vector<std::string> out;
    if (!absolute) {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return std::string();
        bool dummy;
        out = SplitPath(WindowsPathFromHost(cwd), &dummy);
    }
    for (const std::string& p : parts) {
        if (p == ".") continue;
        if (p == "..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(p);
    }
    std::string r;
    for (const std::string& p : out) r += "\\" + p;
    return r.empty() ? "\\" : r;
}

}  // namespace

std::string HostPathFromWindows(const char* path) {
    if (!path || !*path) return std::string();
    bool absolute;
    auto parts = SplitPath(path, &absolute);
    std::string host = absolute ? "/" : "";
    bool matching = true;
    for (const std::string& part : parts) {
        std::string u = Cp932ToUtf8(part);
        std::string next = JoinHost(host, u);
        if (matching && u != "." && u != ".." && !Exists(next)) {
            std::string found;
            if (!IsAsciiName(part) && Exists(JoinHost(host, part))) {
                next = JoinHost(host, part);  // the raw Shift-JIS name, byte for byte
            } else if (MatchInDir(host.empty() ? "." : host, part, u, &found)) {
                next = JoinHost(host, found);
            } else {
                matching = false;  // the rest does not exist yet: new names are UTF-8
            }
        }
        host = next;
    }
    if (host.empty()) host = ".";
    return host;
}

std::string WindowsPathFromHost(const std::string& hostPath) {
    // Component by component, so that a folder copied with raw Shift-JIS names keeps them.
    // Only the host's slashes become separators; no Shift-JIS trail byte is a '/'.
    std::string out;
    size_t start = 0;
    for (;;) {
        size_t slash = hostPath.find('/', start);
        out += ProgramName(hostPath.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) break;
        out += '\\';
        start = slash + 1;
    }
    return out;
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    std::string p = HostPathFromWindows(lpPathName);
    if (p.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (mkdir(p.c_str(), 0777) == 0) return TRUE;
    SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
    std::string p = HostPathFromWindows(lpPathName);
    return (!p.empty() && rmdir(p.c_str()) == 0) ? TRUE : FALSE;
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
    std::string p = HostPathFromWindows(lpFileName);
    struct stat st;
    if (p.empty() || stat(p.c_str(), &st) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD a = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (access(p.c_str(), W_OK) != 0) a |= FILE_ATTRIBUTE_READONLY;
    return a;
}

DWORD GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart) {
    if (!lpFileName || !*lpFileName) return 0;
    std::string full = FullWindowsPath(lpFileName);
    if (full.empty()) return 0;
    DWORD r = CopyOut(full, nBufferLength, lpBuffer);
    if (lpFilePart && lpBuffer && r < nBufferLength) {
        char* last = nullptr;
        for (char* p = lpBuffer; *p;) {
            if (IsLead((unsigned char)*p) && p[1]) {
                p += 2;
                continue;
            }
            if (*p == '\\') last = p;
            ++p;
        }
        *lpFilePart = last && last[1] ? last + 1 : nullptr;
    }
    return r;
}

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return 0;
    return CopyOut(WindowsPathFromHost(cwd), nBufferLength, lpBuffer);
}

BOOL SetCurrentDirectoryA(LPCSTR lpPathName) {
    std::string p = HostPathFromWindows(lpPathName);
    return (!p.empty() && chdir(p.c_str()) == 0) ? TRUE : FALSE;
}

BOOL DeleteFileA(LPCSTR lpFileName) {
    std::string p = HostPathFromWindows(lpFileName);
    return (!p.empty() && unlink(p.c_str()) == 0) ? TRUE : FALSE;
}

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
    if (!lpFileName || !lpFindFileData) return INVALID_HANDLE_VALUE;
    // Split into folder and pattern at the last separator (not at a trail byte).
    std::string path = lpFileName;
    size_t sep = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLead((unsigned char)path[i]) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\' || path[i] == '/') sep = i;
    }
    std::string dir = sep == std::string::npos ? "" : path.substr(0, sep);
    std::string pattern = sep == std::string::npos ? path : path.substr(sep + 1);
    std::string hostDir = dir.empty() ? (sep == 0 ? "/" : ".") : HostPathFromWindows(dir.c_str());
    if (sep == 0) hostDir = "/";
    auto obj = std::make_shared<FindObject>();
    if (DIR* d = opendir(hostDir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string sj = ProgramName(e->d_name);
            if (!WildMatch(pattern.c_str(), sj.c_str())) continue;
            WIN32_FIND_DATAA fd;
            if (FillFindData(hostDir, e->d_name, &fd)) obj->entries.push_back(fd);
        }
        closedir(d);
    }
    if (obj->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *lpFindFileData = obj->entries[0];
    obj->next = 1;
    return win32::NewHandle(obj);
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
    auto obj = std::dynamic_pointer_cast<FindObject>(win32::HandleObject(hFindFile));
    if (!obj || !lpFindFileData || obj->next >= obj->entries.size()) return FALSE;
    *lpFindFileData = obj->entries[obj->next++];
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile) { return CloseHandle(hFindFile); }

BOOL PathIsRelativeA(LPCSTR pszPath) {
    if (!pszPath || !*pszPath) return TRUE;
    if (pszPath[0] == '\\' || pszPath[0] == '/') return FALSE;
    if (pszPath[1] == ':' && ((pszPath[0] >= 'A' && pszPath[0] <= 'Z') || (pszPath[0] >= 'a' && pszPath[0] <= 'z')))
        return FALSE;
    return TRUE;
}

BOOL PathIsDirectoryA(LPCSTR pszPath) {
    DWORD a = GetFileAttributesA(pszPath);
    return (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) ? TRUE : FALSE;
}

BOOL PathFileExistsA(LPCSTR pszPath) { return GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE; }

BOOL PathRelativePathToA(LPSTR pszPath, LPCSTR pszFrom, DWORD dwAttrFrom, LPCSTR pszTo, DWORD dwAttrTo) {
    (void)dwAttrTo;
    if (!pszPath || !pszFrom || !pszTo) return FALSE;
    pszPath[0] = 0;
    bool absFrom, absTo;
    auto from = SplitPath(FullWindowsPath(pszFrom), &absFrom);
    auto to = SplitPath(FullWindowsPath(pszTo), &absTo);
    if (!(dwAttrFrom & FILE_ATTRIBUTE_DIRECTORY) && !from.empty()) from.pop_back();
    size_t common = 0;
    while (common < from.size() && common < to.size() && EqualNoCase(from[common], to[common])) ++common;
    std::string r;
    if (common == from.size()) r = ".";
    for (size_t i = common; i < from.size(); ++i) r += r.empty() ? ".." : "\\..";
    for (size_t i = common; i < to.size(); ++i) r += "\\" + to[i];
    if (r.size() >= MAX_PATH) return FALSE;
    std::memcpy(pszPath, r.c_str(), r.size() + 1);
    return TRUE;
}

namespace crt {

FILE* fopen(const char* path, const char* mode) {
    if (!path || !*path || !mode) return nullptr;
    std::string m;
    for (const char* p = mode; *p; ++p)
        if (*p != 't') m += *p;
    std::string host = HostPathFromWindows(path);
    return ::fopen(host.c_str(), m.c_str());
}

int remove(const char* path) {
    std::string host = HostPathFromWindows(path);
    return ::remove(host.c_str());
}

int rename(const char* from, const char* to) {
    std::string a = HostPathFromWindows(from), b = HostPathFromWindows(to);
    return ::rename(a.c_str(), b.c_str());
}

int fsync(FILE* fp) {
    if (!fp) return -1;
    if (fflush(fp) != 0) return -1;
    return ::fsync(fileno(fp)) == 0 ? 0 : -1;
}

}  // namespace crt
