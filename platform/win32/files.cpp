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

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

// Finds the entry of `dir` whose name matches `name` without regard to ASCII case.
bool MatchInDir(const std::string& dir, const std::string& name, std::string* found) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return false;
    bool ok = false;
    while (dirent* e = readdir(d)) {
        if (EqualNoCase(e->d_name, name)) {
            *found = e->d_name;
            ok = true;
            break;
        }
    }
    closedir(d);
    return ok;
}

// Windows wildcard match ('*' any run, '?' one character), ASCII case-insensitive, on Shift-JIS.
bool WildMatch(const char* pat, const char* s) {
    while (*pat) {
        if (*pat == '*') {
            while (*pat == '*') ++pat;
            if (!*pat) return true;
            for (const char* t = s;; ++t) {
                if (WildMatch(pat, t)) return true;
                if (!*t) return false;
            }
        }
        if (!*s) return false;
        if (*pat == '?') {
            s += (IsLead((unsigned char)*s) && s[1]) ? 2 : 1;
            ++pat;
            continue;
        }
        char a = *pat, b = *s;
        if (a >= 'A' && a <= 'Z') a = (char)(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = (char)(b - 'A' + 'a');
        if (a != b) return false;
        ++pat;
        ++s;
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
    std::string name = Utf8ToCp932(hostName);
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
        std::string next = host.empty() || host == "/" ? host + u : host + "/" + u;
        if (matching && u != "." && u != ".." && !Exists(next)) {
            std::string found;
            if (MatchInDir(host.empty() ? "." : host, u, &found)) {
                next = host.empty() || host == "/" ? host + found : host + "/" + found;
            } else {
                matching = false;  // the rest does not exist yet: taken as given
            }
        }
        host = next;
    }
    if (host.empty()) host = ".";
    return host;
}

std::string WindowsPathFromHost(const std::string& hostPath) {
    std::string s = Utf8ToCp932(hostPath);
    // Only plain slashes of the host path become separators; Shift-JIS conversion cannot create
    // a '/' trail byte (trail bytes are 0x40 and above).
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
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
            std::string sj = Utf8ToCp932(e->d_name);
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
