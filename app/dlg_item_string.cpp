#include "app/dlg_item_string.h"

#include <algorithm>

#include "platform/win32/dialogs.h"

void GetDlgItemString(HWND dialog, int id, std::string& text, int maxCount) {
    char buf[5120];
    buf[0] = 0;
    int count = std::min(maxCount, (int)sizeof buf);
    if (count > 0) GetDlgItemTextA(dialog, id, buf, count);
    text = buf;
}

BOOL SetDlgItemString(HWND dialog, int id, const std::string& text) { return SetDlgItemTextA(dialog, id, text.c_str()); }
