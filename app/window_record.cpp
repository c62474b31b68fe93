#include "app/window_record.h"

void SaveWindowRecordOnClose(HWND hwnd) { (void)hwnd; }
