// Running a program for end-to-end tests: arguments, extra environment, working folder, a time
// limit; standard output and error are captured.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
    int exitCode = -1;     // -1 when it did not end normally
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs `argv` (argv[0] is the program's path) in `cwd` (empty: the current folder) with `env`
// entries ("NAME=value") added to this process's environment, killing it after `timeoutMs`.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         const std::string& cwd, int timeoutMs);

// Starts a program without waiting; its output goes to the given files (empty: discarded).
int StartProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& cwd,
                 const std::string& outFile, const std::string& errFile);
// Waits for a started program; the exit code, or -1 when it did not end in time (it is killed).
int WaitProcess(int pid, int timeoutMs);

// True while a started program has not ended (it is not waited for or killed).
bool ProcessRunning(int pid);

// Reads a whole file (empty when missing).
std::string ReadFile(const std::string& path);

}  // namespace testsupport
