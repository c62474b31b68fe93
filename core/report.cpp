// The report file, the log facility and message boxes.
#include "core/report.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "core/format.h"
#include "core/globals.h"

namespace {

std::mutex g_reportM;
// The report stays open for the run (append mode); each line is flushed as it is written, so
// every line reaches the file at once, as if the file were opened per line.
FILE* g_reportFile = nullptr;
std::atomic<FULLSCREENBOXFUNC> g_fullScreenBox{nullptr};

int g_logOn = 0;
std::string g_logName;
bool g_logStarted = false;

int AppendLine(const char* text) {
    std::lock_guard<std::mutex> lock(g_reportM);
    if (!g_reportFile) return 0;
    std::fputs(text, g_reportFile);
    std::fputc('\n', g_reportFile);
    if (std::fflush(g_reportFile) != 0) {
        std::clearerr(g_reportFile);
        return 0;
    }
    return 1;
}

void AppendLog(const char* text) {
    if (!g_logOn) return;
    std::lock_guard<std::mutex> lock(g_reportM);
    FILE* fp = crt::fopen(g_logName.c_str(), g_logStarted ? "ab" : "wb");
    if (!fp) return;
    g_logStarted = true;
    std::fputs(text, fp);
    std::fputc('\n', fp);
    std::fclose(fp);
}

}  // namespace

int OpenReport(const char* path) {
    if (!path || !*path) return 0;
    char buf[MAX_PATH];
    CopyBounded(buf, sizeof buf, path);
    FILE* fp = crt::fopen(buf, "wb");
    if (!fp) return 0;
    std::fclose(fp);
    // Append mode: a line always lands at the end, whatever else has written to the file.
    fp = crt::fopen(buf, "abe");
    if (!fp) return 0;
    std::lock_guard<std::mutex> lock(g_reportM);
    if (g_reportFile) std::fclose(g_reportFile);
    g_reportFile = fp;
    return 1;
}

int WriteReportText(const char* text) { return AppendLine(text ? text : ""); }

int WriteReport(const char* format, ...) {
    char buf[1024];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    return AppendLine(buf);
}

int WriteReportAndLog(const char* format, ...) {
    char buf[1024];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    AppendLog(buf);
    return AppendLine(buf);
}

int WriteReportLogBox(const char* format, ...) {
    char buf[1024];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    AppendLog(buf);
    if (!AppendLine(buf)) return 0;
    MesBoxText(buf);
    return 1;
}

void SetFullScreenMessageBox(FULLSCREENBOXFUNC fn) { g_fullScreenBox.store(fn); }

int MesBox(const char* text, const char* caption, UINT type) {
    int answer = 0;
    if (FULLSCREENBOXFUNC fn = g_fullScreenBox.load(); fn && fn(text, caption, type, &answer)) return answer;
    return MessageBoxA(GetActiveWindow(), text, caption, type);
}

int MesBoxText(const char* text) { return MesBox(text, "エラー", MB_OK); }

int MesBoxF(const char* format, ...) {
    char buf[1024];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    return MesBox(buf, "エラー", MB_OK);
}

void OutOfMemoryClose() {
    MesBoxText("メモリが不足しています！");
    PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
}

void InitLog(int on, const char* fileName) {
    std::lock_guard<std::mutex> lock(g_reportM);
    g_logOn = on;
    g_logName = fileName ? fileName : "";
    g_logStarted = false;
}

void WriteLog(const char* text) { AppendLog(text ? text : ""); }
void WriteLogText(const char* text) { AppendLog(text ? text : ""); }

void WriteLogF(const char* format, ...) {
    if (!g_logOn) return;
    char buf[1024];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    AppendLog(buf);
}

void DebugMesBoxF(const char* format, ...) {
    if (!g_logOn) return;
    char buf[1024];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    MesBox(buf, "Debug", MB_OK);
}

void WriteLogAndClose(HWND hwnd, const char* format, ...) {
    if (g_logOn) {
        char buf[1024];
        va_list args;
        va_start(args, format);
        VFormatBounded(buf, sizeof buf, format, args);
        va_end(args);
        AppendLog(buf);
    }
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
}
