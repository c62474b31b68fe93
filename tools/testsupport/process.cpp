#include "tools/testsupport/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace testsupport {
namespace {

std::vector<char*> Argv(const std::vector<std::string>& argv) {
    std::vector<char*> v;
    for (const std::string& a : argv) v.push_back(const_cast<char*>(a.c_str()));
    v.push_back(nullptr);
    return v;
}

int Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& cwd,
          const std::string& outFile, const std::string& errFile) {
    pid_t pid = fork();
    if (pid != 0) return (int)pid;
    for (const std::string& e : env) {
        auto eq = e.find('=');
        if (eq == std::string::npos) unsetenv(e.c_str());
        else setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    int out = open(outFile.empty() ? "/dev/null" : outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errFile.empty() ? "/dev/null" : errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) dup2(out, 1);
    if (err >= 0) dup2(err, 2);
    auto a = Argv(argv);
    execv(a[0], a.data());
    _exit(127);
}

}  // namespace

int StartProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& cwd,
                 const std::string& outFile, const std::string& errFile) {
    return Spawn(argv, env, cwd, outFile, errFile);
}

int WaitProcess(int pid, int timeoutMs) {
    for (int waited = 0;; waited += 5) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0) return -1;
        if (waited >= timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool ProcessRunning(int pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         const std::string& cwd, int timeoutMs) {
    char outName[] = "/tmp/velmora-outXXXXXX";
    char errName[] = "/tmp/velmora-errXXXXXX";
    int o = mkstemp(outName), e = mkstemp(errName);
    if (o >= 0) close(o);
    if (e >= 0) close(e);
    ProcessResult r;
    int pid = Spawn(argv, env, cwd, outName, errName);
    r.exitCode = WaitProcess(pid, timeoutMs);
    r.timedOut = r.exitCode == -1;
    r.out = ReadFile(outName);
    r.err = ReadFile(errName);
    unlink(outName);
    unlink(errName);
    return r;
}

}  // namespace testsupport
