#include "app/file_dialog.h"

#include <cstring>

#include "core/checked.h"
#include "core/globals.h"
#include "app/system_report.h"
#include "media/draw_device.h"
#include "platform/win32/commdlg.h"
#include "records/data_file.h"
#include "records/system_ini.h"

namespace {

// A full-screen device takes the dialog through a hook procedure that does nothing.
UINT_PTR QuietHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

// DirectDraw at 8 bits per pixel: the dialog is drawn with palette entry 0 black.
void PaletteEntryZeroBlack() {
    if (g_lpDDDevice || !g_lpDD || g_nDDBpp != 8 || !g_lpDDPalette) return;
    PALETTEENTRY black{0, 0, 0, 0};
    g_lpDDPalette->SetEntries(0, 0, 1, &black);
}

void PaletteEntryZeroBack() {
    if (g_lpDDDevice || !g_lpDD || g_nDDBpp != 8 || !g_lpDDPalette) return;
    g_lpDDPalette->SetEntries(0, 0, 1, &g_WorkPalette[0]);
}

FILEDIALOGDEVICEFUNC g_fnBefore = PaletteEntryZeroBlack;
FILEDIALOGDEVICEFUNC g_fnAfter = PaletteEntryZeroBack;

void Prepare(OPENFILENAMEA& o) {
    if (g_bDDInitialized && !g_bDDWindowMode && IsOSVersionAtLeast(6, 0)) {
        o.Flags |= OFN_ENABLEHOOK;
        o.lpfnHook = QuietHook;
    }
    if (g_fnBefore) g_fnBefore();
}

void Finish() {
    if (g_fnAfter) g_fnAfter();
}

}  // namespace

void SetFileDialogDeviceHooks(FILEDIALOGDEVICEFUNC before, FILEDIALOGDEVICEFUNC after) {
    g_fnBefore = before;
    g_fnAfter = after;
}

void CollectFileNames(const char* buffer, int size, std::vector<std::string>* list) {
    if (!buffer || !list || size <= 0) return;
    std::vector<std::string> names;
    int i = 0;
    while (i < size && buffer[i]) {
        int start = i;
        while (i < size && buffer[i]) ++i;
        names.emplace_back(buffer + start, (size_t)(i - start));
        ++i;  // the NUL
    }
    if (names.size() == 1) {
        list->push_back(names[0]);
        return;
    }
    for (size_t k = 1; k < names.size(); ++k) list->push_back(names[0] + "\\" + names[k]);
}

BOOL OpenFileDialog(HWND owner, char* file, int size, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int multiSelect, std::vector<std::string>* list) {
    if (!file || size <= 0) return FALSE;
    std::memset(file, 0, (size_t)size);
    OPENFILENAMEA o{};
    o.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    o.hwndOwner = owner;
    o.hInstance = owner ? (HINSTANCE)GetWindowLongPtrA(owner, GWL_HINSTANCE) : nullptr;
    o.lpstrFilter = filter;
    o.lpstrFile = file;
    o.nMaxFile = (DWORD)size;
    o.nMaxFileTitle = MAX_PATH;
    o.lpstrInitialDir = initialDir;
    o.lpstrTitle = title;
    o.lpstrDefExt = defExt && *defExt ? defExt : nullptr;
    o.Flags = OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (multiSelect) o.Flags |= OFN_ALLOWMULTISELECT;
    Prepare(o);
    BOOL chosen = GetOpenFileNameA(&o);
    Finish();
    if (!chosen) return FALSE;
    if (list) CollectFileNames(file, size, list);
    return TRUE;
}

BOOL SaveFileDialog(HWND owner, char* file, const char* initialDir, const char* title, const char* filter,
                    const char* defExt, int keepName) {
    if (!file) return FALSE;
    if (!keepName) std::memset(file, 0, MAX_PATH);
    file[MAX_PATH - 1] = 0;
    char fileTitle[MAX_PATH] = {};
    OPENFILENAMEA o{};
    o.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    o.hwndOwner = owner;
    o.hInstance = owner ? (HINSTANCE)GetWindowLongPtrA(owner, GWL_HINSTANCE) : nullptr;
    o.lpstrFilter = filter;
    o.lpstrFile = file;
    o.nMaxFile = MAX_PATH;
    o.lpstrFileTitle = fileTitle;
    o.nMaxFileTitle = MAX_PATH;
    o.lpstrInitialDir = initialDir;
    o.lpstrTitle = title;
    o.lpstrDefExt = defExt && *defExt ? defExt : nullptr;
    // A save takes one name, which need not exist yet.
    o.Flags = OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    Prepare(o);
    BOOL chosen = GetSaveFileNameA(&o);
    Finish();
    return chosen;
}

std::string ReplayExtension() {
    std::string ext;
    FormatString(ext, "rpl4_%u", (unsigned)kDataVersion);
    return ext;
}

BOOL ChooseStageFile(HWND owner, char* path) {
    static const char kFilter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";
    const char* title = g_SystemIni.nEnglish ? "Load stage file" : "ステージファイルの読み込み";
    // The default extension would be a pattern: none is given.
    return OpenFileDialog(owner, path, MAX_PATH, "data\\stg4\\", title, kFilter, "", 0, nullptr);
}

BOOL ChooseReplayFile(HWND owner, char* path) {
    static const char kFilter[] = "ReplayFile ( *.rpl4_* )\0*.rpl4_*\0";
    const char* title = g_SystemIni.nEnglish ? "Load replay file" : "リプレイファイルの読み込み";
    return OpenFileDialog(owner, path, MAX_PATH, "user_data\\rpl4", title, kFilter, "", 0, nullptr);
}

BOOL ChooseReplaySaveFile(HWND owner, char* path) {
    std::string ext = ReplayExtension();
    std::string desc, pattern;
    FormatString(desc, "ReplayFile ( *.%s )", ext.c_str());
    FormatString(pattern, "*.%s", ext.c_str());
    std::string filter = desc;
    filter += '\0';
    filter += pattern;
    filter += '\0';
    filter += '\0';
    const char* title = g_SystemIni.nEnglish ? "Save replay file" : "リプレイファイルの保存";
    return SaveFileDialog(owner, path, "user_data\\rpl4\\", title, filter.c_str(), ext.c_str(), 1);
}
