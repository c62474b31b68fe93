// Windows of other processes. Every top-level window is published in the runtime directory as a
// small entry file (process id, handle, class and title); each process that has published a
// window answers requests on a local socket. FindWindowA reaches other processes' windows through
// the entries, SendMessageA carries a synchronous WM_COPYDATA (and plain-value messages) to them,
// and PostMessageA a WM_CLOSE.
#include <cerrno>
#include <thread>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <poll.h>
#include <sstream>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/win32/internal.h"

namespace win32 {
namespace {

constexpr uint32_t kMagic = 0x56574D31;  // request header tag
constexpr int kSendTimeoutMs = 10000;

struct RequestHeader {
    uint32_t magic;
    uint32_t kind;  // 0 send (answer after the procedure returned), 1 post
    uint64_t hwnd;
    uint32_t msg;
    uint32_t reserved;
    uint64_t wParam;
    int64_t lParam;
    uint64_t dwData;
    uint32_t cbData;
    uint32_t reserved2;
};

struct RemoteRef {
    pid_t pid;
    uint64_t hwnd;
};

std::mutex g_remoteM;
std::map<HWND, RemoteRef> g_remote;
uintptr_t g_nextRemote = 0x7F000000;
bool g_listening = false;
int g_listenFd = -1;

std::string Hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string r;
    for (unsigned char c : s) {
        r += d[c >> 4];
        r += d[c & 15];
    }
    return r;
}

std::string Unhex(const std::string& s) {
    std::string r;
    for (size_t i = 0; i + 1 < s.size(); i += 2) r += (char)std::stoi(s.substr(i, 2), nullptr, 16);
    return r;
}

// Abstract socket names need no file and no path length: one per runtime directory and process.
sockaddr_un SocketAddress(pid_t pid, socklen_t* len) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::string name = "velmora:" + std::to_string(std::hash<std::string>{}(RuntimeDir())) + ":" +
                       std::to_string(pid);
    a.sun_path[0] = 0;
    memcpy(a.sun_path + 1, name.data(), name.size());
    *len = (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

bool ReadAll(int fd, void* buf, size_t n, int timeoutMs) {
    char* p = (char*)buf;
    while (n > 0) {
        pollfd pfd{fd, POLLIN, 0};
        int r = poll(&pfd, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        ssize_t got = read(fd, p, n);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        n -= (size_t)got;
    }
    return true;
}

bool WriteAll(int fd, const void* buf, size_t n) {
    const char* p = (const char*)buf;
    while (n > 0) {
        ssize_t w = send(fd, p, n, MSG_NOSIGNAL);
        if (w <= 0) {
            if (w < 0 && errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= (size_t)w;
    }
    return true;
}

void ServeConnection(int fd) {
    RequestHeader h{};
    if (!ReadAll(fd, &h, sizeof h, kSendTimeoutMs) || h.magic != kMagic || h.cbData > (64u << 20)) return;
    std::vector<char> data(h.cbData);
    if (h.cbData && !ReadAll(fd, data.data(), h.cbData, kSendTimeoutMs)) return;
    HWND target = (HWND)(uintptr_t)h.hwnd;
    int64_t result = 0;
    if (h.kind == 1) {
        // A post is answered before it is made: once posted, the message may end this process
        // (a WM_CLOSE) before the answer is written, and the sender would take the lost answer
        // for a post that failed.
        result = IsWindow(target);
        WriteAll(fd, &result, sizeof result);
        if (result) PostMessageA(target, h.msg, (WPARAM)h.wParam, (LPARAM)h.lParam);
        return;
    } else if (h.msg == WM_COPYDATA) {
        COPYDATASTRUCT cds{(ULONG_PTR)h.dwData, h.cbData, h.cbData ? data.data() : nullptr};
        result = SendMessageA(target, WM_COPYDATA, (WPARAM)h.wParam, (LPARAM)&cds);
    } else {
        result = SendMessageA(target, h.msg, (WPARAM)h.wParam, (LPARAM)h.lParam);
    }
    WriteAll(fd, &result, sizeof result);
}

void StartListening() {
    // Caller holds g_remoteM.
    if (g_listening) return;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    socklen_t len;
    sockaddr_un a = SocketAddress(getpid(), &len);
    if (bind(fd, (sockaddr*)&a, len) != 0 || listen(fd, 8) != 0) {
        close(fd);
        return;
    }
    g_listenFd = fd;
    g_listening = true;
    std::thread([fd] {
        for (;;) {
            int c = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) {
                if (errno == EINTR) continue;
                return;
            }
            ServeConnection(c);
            close(c);
        }
    }).detach();
}

std::string EntryPath(pid_t pid, HWND hwnd) {
    std::ostringstream s;
    s << RuntimeDir() << "/window-" << pid << "-" << std::hex << (uintptr_t)hwnd;
    return s.str();
}

bool Alive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

}  // namespace

void PublishWindow(HWND hwnd, const std::string& className, const std::string& title) {
    {
        std::lock_guard<std::mutex> lock(g_remoteM);
        StartListening();
    }
    std::string path = EntryPath(getpid(), hwnd);
    std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::trunc);
        f << getpid() << "\n" << (uintptr_t)hwnd << "\n" << Hex(className) << "\n" << Hex(title) << "\n";
    }
    std::rename(tmp.c_str(), path.c_str());
}

void UnpublishWindow(HWND hwnd) { unlink(EntryPath(getpid(), hwnd).c_str()); }

HWND FindRemoteWindow(const char* className, const char* title) {
    std::string dir = RuntimeDir();
    DIR* d = opendir(dir.c_str());
    if (!d) return nullptr;
    HWND found = nullptr;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.rfind("window-", 0) != 0 || (name.size() > 4 && name.substr(name.size() - 4) == ".tmp")) continue;
        std::ifstream f(dir + "/" + name);
        std::string spid, shwnd, scls, stitle;
        if (!std::getline(f, spid) || !std::getline(f, shwnd) || !std::getline(f, scls)) continue;
        std::getline(f, stitle);
        pid_t pid = (pid_t)std::atol(spid.c_str());
        if (pid == getpid()) continue;
        if (!Alive(pid)) {
            unlink((dir + "/" + name).c_str());
            continue;
        }
        std::string cls = Unhex(scls), ttl = Unhex(stitle);
        if (className && strcasecmp(cls.c_str(), className) != 0) continue;
        if (title && ttl != title) continue;
        std::lock_guard<std::mutex> lock(g_remoteM);
        uint64_t remoteHwnd = std::stoull(shwnd);
        for (auto& [h, r] : g_remote)
            if (r.pid == pid && r.hwnd == remoteHwnd) found = h;
        if (!found) {
            found = (HWND)g_nextRemote;
            g_nextRemote += 4;
            g_remote[found] = RemoteRef{pid, remoteHwnd};
        }
        break;
    }
    closedir(d);
    return found;
}

bool IsRemoteWindow(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_remoteM);
    return g_remote.count(hwnd) != 0;
}

DWORD RemoteWindowProcess(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_remoteM);
    auto it = g_remote.find(hwnd);
    return it == g_remote.end() ? 0 : (DWORD)it->second.pid;
}

LRESULT SendRemoteMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool wait) {
    RemoteRef ref;
    {
        std::lock_guard<std::mutex> lock(g_remoteM);
        auto it = g_remote.find(hwnd);
        if (it == g_remote.end()) return 0;
        ref = it->second;
    }
    socklen_t len;
    sockaddr_un a = SocketAddress(ref.pid, &len);
    int fd = -1;
    // A busy listener may refuse for a moment; nothing has been sent yet, so trying again is safe.
    for (int attempt = 0; attempt < 50 && fd < 0; ++attempt) {
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return 0;
        if (connect(fd, (sockaddr*)&a, len) != 0) {
            int e = errno;
            close(fd);
            fd = -1;
            if (e != EAGAIN && e != EINTR && e != ECONNREFUSED) return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (fd < 0) return 0;
    RequestHeader h{};
    h.magic = kMagic;
    h.kind = wait ? 0 : 1;
    h.hwnd = ref.hwnd;
    h.msg = msg;
    h.wParam = wParam;
    h.lParam = lParam;
    const void* payload = nullptr;
    if (msg == WM_COPYDATA && lParam) {
        auto* cds = (const COPYDATASTRUCT*)lParam;
        h.dwData = cds->dwData;
        h.cbData = cds->lpData ? cds->cbData : 0;
        h.lParam = 0;
        payload = cds->lpData;
    }
    int64_t result = 0;
    bool ok = WriteAll(fd, &h, sizeof h) && (h.cbData == 0 || WriteAll(fd, payload, h.cbData));
    if (ok) ok = ReadAll(fd, &result, sizeof result, kSendTimeoutMs);
    close(fd);
    return ok ? (LRESULT)result : 0;
}

}  // namespace win32
