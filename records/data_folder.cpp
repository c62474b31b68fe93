// Creating "data\" from "default\" and the fixed folder list.
#include "records/data_folder.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/report.h"
#include "platform/win32/win32.h"
#include "records/data_paths.h"
#include "records/record_writer.h"

const char* const g_pszDataCopyFolder = "data_copy~";

namespace {

// The names in a folder, without "." and "..".
std::vector<WIN32_FIND_DATAA> ListFolder(const std::string& dir) {
    std::vector<WIN32_FIND_DATAA> out;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") out.push_back(fd);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return out;
}

bool CopyOneFile(const std::string& from, const std::string& to) {
    FILE* in = crt::fopen(from.c_str(), "rb");
    if (!in) return false;
    FILE* out = crt::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    bool ok = true;
    char buf[65536];
    for (;;) {
        size_t n = std::fread(buf, 1, sizeof buf, in);
        if (n && !WriteRecordFileBytes(out, buf, n)) {
            ok = false;
            break;
        }
        if (n < sizeof buf) {
            ok = !std::ferror(in);
            break;
        }
    }
    ok = ok && crt::fsync(out) == 0;
    ok = (std::fclose(out) == 0) && ok;
    std::fclose(in);
    return ok;
}

bool CopyTree(const std::string& from, const std::string& to) {
    if (!CreateDirectoryA(to.c_str(), nullptr)) {
        WriteReport("CreateDirectory Err %s", to.c_str());
        return false;
    }
    for (const WIN32_FIND_DATAA& fd : ListFolder(from)) {
        std::string src = from + "\\" + fd.cFileName, dst = to + "\\" + fd.cFileName;
        bool ok = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CopyTree(src, dst) : CopyOneFile(src, dst);
        if (!ok) {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) WriteReport("Copy Err %s", src.c_str());
            return false;
        }
    }
    return true;
}

void DeleteTree(const std::string& dir) {
    for (const WIN32_FIND_DATAA& fd : ListFolder(dir)) {
        std::string p = dir + "\\" + fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            DeleteTree(p);
        else
            DeleteFileA(p.c_str());
    }
    RemoveDirectoryA(dir.c_str());
}

// A path-table folder entry without its trailing backslash.
std::string FolderName(const char* entry) {
    std::string s = entry;
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

}  // namespace

int CreateDataFolder(HWND owner) {
    if (PathIsDirectoryA(g_PathTable[PATH_DATA])) return 1;
    if (!PathIsDirectoryA(g_PathTable[PATH_DEFAULT])) return 0;
    if (MessageBoxA(owner, "データが存在しません！デフォルトデータを作成しますか？\n", "デフォルトデータ作成の確認",
                    MB_YESNO) != IDYES)
        return 0;
    const std::string src = FolderName(g_PathTable[PATH_DEFAULT]);
    const std::string dst = FolderName(g_PathTable[PATH_DATA]);
    const std::string tmp = g_pszDataCopyFolder;
    if (GetFileAttributesA(tmp.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteTree(tmp);
    if (!CopyTree(src, tmp)) {
        DeleteTree(tmp);
        return 0;
    }
    if (crt::rename(tmp.c_str(), dst.c_str()) != 0) {
        WriteReport("Rename Err %s -> %s", tmp.c_str(), dst.c_str());
        DeleteTree(tmp);
        return 0;
    }
    return 1;
}

int CreateDataFolders() {
    int all = 1;
    for (const char* folder : g_DataFolders) {
        if (CreateDirectoryA(folder, nullptr) || PathIsDirectoryA(folder)) continue;
        WriteReport("CreateDirectory Err %s", folder);
        all = 0;
    }
    return all;
}
