// Test game folders.
#include "tools/records/game_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/win32/codepage.h"
#include "platform/win32/crt.h"
#include "tools/records/byte_image.h"

namespace fs = std::filesystem;

namespace {

// A program path (Shift-JIS, backslashes) as a host path below the folder (UTF-8, slashes); a
// backslash byte that is the trail byte of a two-byte character stays part of it.
std::string ToHostRelative(const std::string& programPath) {
    std::string s;
    for (size_t i = 0; i < programPath.size(); ++i) {
        unsigned char c = (unsigned char)programPath[i];
        if (_ismbblead(c) && i + 1 < programPath.size()) {
            s += programPath[i];
            s += programPath[++i];
        } else {
            s += c == '\\' ? '/' : (char)c;
        }
    }
    while (!s.empty() && s.back() == '/') s.pop_back();
    return Cp932ToUtf8(s);
}

}  // namespace

cGameFolder::cGameFolder(const std::string& base, const std::string& tag) {
    std::error_code ec;
    fs::create_directories(base, ec);
    std::string pattern = base + "/" + tag + "-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back(0);
    if (mkdtemp(buf.data())) m_strRoot = fs::absolute(buf.data()).string();
}

cGameFolder::~cGameFolder() {
    Leave();
    Remove();
}

void cGameFolder::MakeLayout() {
    MakeFolder("data\\database");
    MakeFolder("user_data");
}

void cGameFolder::MakeFolder(const std::string& programPath) {
    std::error_code ec;
    fs::create_directories(HostPath(programPath), ec);
}

std::string cGameFolder::HostPath(const std::string& programPath) const {
    std::string rel = ToHostRelative(programPath);
    return rel.empty() ? m_strRoot : m_strRoot + "/" + rel;
}

bool cGameFolder::WriteFile(const std::string& programPath, const std::vector<uint8_t>& bytes) {
    std::string host = HostPath(programPath);
    std::error_code ec;
    fs::create_directories(fs::path(host).parent_path(), ec);
    return WriteHostFile(host, bytes);
}

std::vector<uint8_t> cGameFolder::ReadFile(const std::string& programPath) const {
    return ReadHostFile(HostPath(programPath));
}

bool cGameFolder::Exists(const std::string& programPath) const {
    std::error_code ec;
    return fs::exists(HostPath(programPath), ec);
}

void cGameFolder::Enter() {
    if (m_bEntered || m_strRoot.empty()) return;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return;
    if (chdir(m_strRoot.c_str()) != 0) return;
    m_strPrevDir = cwd;
    m_bEntered = true;
}

void cGameFolder::Leave() {
    if (!m_bEntered) return;
    if (chdir(m_strPrevDir.c_str()) != 0) return;
    m_bEntered = false;
}

void cGameFolder::Remove() {
    if (m_strRoot.empty()) return;
    std::error_code ec;
    fs::remove_all(m_strRoot, ec);
}
