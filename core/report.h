// The report file "Report_Game.txt", the (switched-off) log facility and message boxes.
// Report lines have no time stamp or prefix: each call appends its text and a line feed. Lines
// from several threads never overwrite each other (append mode under one lock).
#pragma once

#include "platform/win32/win32.h"

// Creates or empties the report file and keeps it open for the run (append mode, each line
// flushed at once); 0 when it cannot be created (the file open before stays in use).
int OpenReport(const char* path);
// Appends one formatted line; 0 when there is no report file or the line cannot be written.
int WriteReport(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Appends an already formatted text as one line, unchanged (a "%" in it is not a directive).
int WriteReportText(const char* text);
// Formats (1,024-byte buffer, cut on a character boundary), appends as one line.
int WriteReportAndLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// As WriteReportAndLog, then shows the same text in a box; nothing at all when the report
// cannot be opened.
int WriteReportLogBox(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Message boxes owned by the active window; in full screen they go through the drawing device.
int MesBox(const char* text, const char* caption, UINT type);
int MesBoxText(const char* text);
int MesBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "メモリが不足しています！", then WM_CLOSE to the main window.
void OutOfMemoryClose();

// The drawing layer's full-screen box, installed when the drawing device is up: it returns
// true and sets the answer when it showed the box itself.
typedef bool (*FULLSCREENBOXFUNC)(const char* text, const char* caption, UINT type, int* answer);
void SetFullScreenMessageBox(FULLSCREENBOXFUNC fn);

// The log facility exists but the entry switches it off for the whole run.
void InitLog(int on, const char* fileName);
void WriteLog(const char* text);
void WriteLogText(const char* text);
void WriteLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugMesBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void WriteLogAndClose(HWND hwnd, const char* format, ...) __attribute__((format(printf, 2, 3)));
