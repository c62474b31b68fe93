// The report line for a sound, music or picture file that exists but cannot be used:
// "<file>: <reason>", written once per file per run (the same file under another spelling of
// its path counts once). The game goes on without that file, as it always has.
#pragma once

#include <string>

void ReportMediaFailure(const char* path, const std::string& reason);
// A bitmap that did not load: when the file exists, the decoder's reason ("truncated pixel
// data", "unsupported bit count") once per file.
void ReportBitmapFailure(const char* path);
// Whether the program path names an existing file (a missing file keeps its own message).
bool MediaFileExists(const char* path);
// Forgets which files were reported (a new report file in the tests).
void ResetMediaFailureReports();
