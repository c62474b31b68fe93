#include "core/checked.h"

#include <cstdarg>

#include "core/format.h"

void FormatString(std::string& target, const char* format, ...) {
    char buf[5120];
    va_list args;
    va_start(args, format);
    VFormatBounded(buf, sizeof buf, format, args);
    va_end(args);
    target = buf;
}

void ReportIndexError(char kind, int index, int count, int elementSize) {
    std::string line;
    FormatString(line, kind == 'L' ? "err L[%d] ( %d , %d )" : "err V[%d] ( %d , %d )", index, count, elementSize);
    WriteReportText(line.c_str());
    PostMessageA(g_hMainWnd.load(), WM_CLOSE, 0, 0);
}
