// The open and save file dialogs: a chooser of the layer's own, built on its modal dialogs.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/host/host.h"
#include "platform/host/png.h"
#include "platform/host/script.h"
#include "platform/win32/codepage.h"
#include "platform/win32/commdlg.h"
#include "platform/win32/dialog_internal.h"
#include "platform/win32/files.h"

namespace win32::dlg {

const char* const kFileListClassName = "VelmoraFileList";

namespace {

enum : WORD {
    kIdPlaceLabel = 10,
    kIdPlace = 11,
    kIdUp = 12,
    kIdList = 13,
    kIdNameLabel = 14,
    kIdName = 15,
    kIdTypeLabel = 16,
    kIdType = 17,
};
const WORD kChooserTemplateId = 0xFF01;

const DIALOGITEMDATA kItems[] = {
    {kFileListClassName, WS_TABSTOP, 7, 22, 246, 116, kIdList, ""},
    {"EDIT", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 62, 144, 138, 13, kIdName, ""},
    {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 206, 143, 47, 15, IDOK, ""},
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 206, 162, 47, 15, IDCANCEL, ""},
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 206, 5, 47, 14, kIdUp, ""},
    {"STATIC", SS_LEFT | SS_NOPREFIX, 7, 8, 36, 10, kIdPlaceLabel, ""},
    {"STATIC", SS_LEFT | SS_NOPREFIX, 45, 8, 157, 10, kIdPlace, ""},
    {"STATIC", SS_LEFT | SS_NOPREFIX, 7, 146, 54, 10, kIdNameLabel, ""},
    {"STATIC", SS_LEFT | SS_NOPREFIX, 7, 165, 54, 10, kIdTypeLabel, ""},
    {"STATIC", SS_LEFT | SS_NOPREFIX, 62, 165, 138, 10, kIdType, ""},
};
const DIALOGTEMPLATEDATA kTemplate = {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                      0,
                                      0,
                                      260,
                                      184,
                                      "",
                                      "ＭＳ Ｐゴシック",
                                      9,
                                      kItems,
                                      (int)(sizeof kItems / sizeof kItems[0])};

struct Entry {
    std::string name;  // Shift-JIS
    bool folder = false;
};

struct Chooser {
    OPENFILENAMEA* ofn = nullptr;
    bool save = false;
    bool japanese = true;
    std::string folder;  // absolute host path
    std::vector<std::vector<unsigned>> patterns;
    std::string description;
    std::string defExt;
    std::string initialName;
    std::vector<Entry> entries;
    int selected = -1;
    int top = 0;
    HWND dialog = nullptr;
    bool ok = false;
};
Chooser* g_chooser = nullptr;

// ---- Shift-JIS names without regard to case ----
std::vector<unsigned> FoldedCodes(const std::string& s) {
    std::vector<unsigned> out;
    const char* p = s.data();
    const char* end = p + s.size();
    while (p < end) {
        unsigned code;
        p += gdi::FontText::NextChar(p, end, &code);
        if (code >= 'A' && code <= 'Z') code += 'a' - 'A';
        out.push_back(code);
    }
    return out;
}

bool Glob(const std::vector<unsigned>& pat, size_t pi, const std::vector<unsigned>& name, size_t ni) {
    while (pi < pat.size()) {
        if (pat[pi] == '*') {
            while (pi < pat.size() && pat[pi] == '*') ++pi;
            if (pi == pat.size()) return true;
            for (size_t k = ni; k <= name.size(); ++k)
                if (Glob(pat, pi, name, k)) return true;
            return false;
        }
        if (ni >= name.size()) return false;
        if (pat[pi] != '?' && pat[pi] != name[ni]) return false;
        ++pi;
        ++ni;
    }
    return ni == name.size();
}

bool Matches(const Chooser& c, const std::string& name) {
    if (c.patterns.empty()) return true;
    auto folded = FoldedCodes(name);
    for (const auto& p : c.patterns)
        if (Glob(p, 0, folded, 0)) return true;
    return false;
}

bool IsDir(const std::string& hostPath) {
    struct stat st;
    return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& hostPath) {
    struct stat st;
    return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Absolute(const std::string& hostPath) {
    char buf[PATH_MAX];
    if (realpath(hostPath.c_str(), buf)) return buf;
    return hostPath;
}

std::string ParentOf(const std::string& hostPath) {
    size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

// The host path of a name typed in the folder shown (or of a full program path).
std::string Resolve(const Chooser& c, const std::string& name) {
    if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return HostPathFromWindows(name.c_str());
    std::string base = WindowsPathFromHost(c.folder);
    if (base.empty() || base.back() != '\\') base += '\\';
    return HostPathFromWindows((base + name).c_str());
}

// The byte offset after the last backslash that is not a trail byte.
size_t NameOffset(const std::string& path) {
    size_t after = 0;
    const char* p = path.data();
    const char* end = p + path.size();
    const char* at = p;
    while (at < end) {
        unsigned code;
        int len = gdi::FontText::NextChar(at, end, &code);
        if (code == '\\' || code == '/') after = (size_t)(at - p) + 1;
        at += len;
    }
    return after;
}

bool HasExtension(const std::string& name) {
    std::string last = name.substr(NameOffset(name));
    return last.find('.') != std::string::npos;
}

void Load(Chooser& c) {
    c.entries.clear();
    c.selected = -1;
    c.top = 0;
    DIR* dir = opendir(c.folder.c_str());
    if (dir) {
        while (dirent* e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            std::string host = c.folder + (c.folder == "/" ? "" : "/") + e->d_name;
            Entry entry;
            entry.name = Utf8ToCp932(e->d_name);
            if (IsDir(host)) entry.folder = true;
            else if (!IsFile(host) || !Matches(c, entry.name)) continue;
            c.entries.push_back(entry);
        }
        closedir(dir);
    }
    std::sort(c.entries.begin(), c.entries.end(), [](const Entry& a, const Entry& b) {
        if (a.folder != b.folder) return a.folder;
        auto fa = FoldedCodes(a.name), fb = FoldedCodes(b.name);
        return fa != fb ? fa < fb : a.name < b.name;
    });
}

const char* Text(const Chooser& c, const char* ja, const char* en) { return c.japanese ? ja : en; }

void ShowPlace(Chooser& c) {
    HWND place = GetDlgItem(c.dialog, kIdPlace);
    auto d = FindDialog(c.dialog);
    std::string shown = WindowsPathFromHost(c.folder);
    if (d && d->font) {
        // A long path loses its start.
        RECT r = ControlRect(place);
        int width = r.right - r.left;
        if (d->font->Measure(shown.c_str()).cx > width) {
            while (!shown.empty() && d->font->Measure(("..." + shown).c_str()).cx > width) {
                unsigned code;
                shown.erase(0, (size_t)gdi::FontText::NextChar(shown.data(), shown.data() + shown.size(), &code));
            }
            shown = "..." + shown;
        }
    }
    SetWindowTextA(place, shown.c_str());
    Invalidate(c.dialog);
}

void Navigate(Chooser& c, const std::string& hostFolder) {
    c.folder = Absolute(hostFolder);
    Load(c);
    ShowPlace(c);
}

int Rows(const Chooser& c, int* rowHeight) {
    auto d = FindDialog(c.dialog);
    int fh = d && d->font ? d->font->Height() : 13;
    *rowHeight = fh + 3;
    RECT r = ControlRect(GetDlgItem(c.dialog, kIdList));
    return std::max(1, (int)(r.bottom - r.top - 2) / *rowHeight);
}

void KeepVisible(Chooser& c) {
    int rh;
    int rows = Rows(c, &rh);
    if (c.selected < 0) return;
    if (c.selected < c.top) c.top = c.selected;
    if (c.selected >= c.top + rows) c.top = c.selected - rows + 1;
}

void Select(Chooser& c, int index) {
    if (c.entries.empty()) return;
    c.selected = std::clamp(index, 0, (int)c.entries.size() - 1);
    KeepVisible(c);
    const Entry& e = c.entries[(size_t)c.selected];
    if (!e.folder) SetDlgItemTextA(c.dialog, kIdName, e.name.c_str());
    Invalidate(c.dialog);
}

int Message(const Chooser& c, const std::string& text, UINT type) {
    const char* title = c.ofn->lpstrTitle && *c.ofn->lpstrTitle ? c.ofn->lpstrTitle
                                                                  : Text(c, c.save ? "名前を付けて保存" : "開く",
                                                                         c.save ? "Save As" : "Open");
    return MessageBoxA(c.dialog, text.c_str(), title, type);
}

// Stores the result; false when it does not fit the program's buffer.
bool StoreResult(Chooser& c, const std::string& path, const std::vector<std::string>& more) {
    OPENFILENAMEA* o = c.ofn;
    std::string buf;
    if (more.empty()) {
        buf = path;
        buf += '\0';
    } else {
        buf = WindowsPathFromHost(c.folder);
        buf += '\0';
        for (const std::string& n : more) {
            buf += n;
            buf += '\0';
        }
    }
    buf += '\0';
    if (!o->lpstrFile || buf.size() > o->nMaxFile) return false;
    std::memcpy(o->lpstrFile, buf.data(), buf.size());
    size_t nameAt = NameOffset(path);
    std::string name = path.substr(nameAt);
    size_t dot = name.rfind('.');
    o->nFileOffset = more.empty() ? (WORD)std::min<size_t>(nameAt, 0xFFFF) : (WORD)(WindowsPathFromHost(c.folder).size() + 1);
    o->nFileExtension = (more.empty() && dot != std::string::npos) ? (WORD)std::min<size_t>(nameAt + dot + 1, 0xFFFF) : 0;
    if (o->lpstrFileTitle && o->nMaxFileTitle > 0) {
        size_t n = std::min<size_t>(name.size(), o->nMaxFileTitle - 1);
        std::memcpy(o->lpstrFileTitle, name.data(), n);
        o->lpstrFileTitle[n] = 0;
    }
    return true;
}

std::vector<std::string> SplitQuoted(const std::string& text) {
    std::vector<std::string> names;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            size_t end = text.find('"', i + 1);
            if (end == std::string::npos) end = text.size();
            names.push_back(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            ++i;
        }
    }
    return names;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Open / Save pressed.
void Accept(Chooser& c) {
    if (GetFocus() == GetDlgItem(c.dialog, kIdList) && c.selected >= 0 && c.entries[(size_t)c.selected].folder) {
        Navigate(c, c.folder + "/" + Cp932ToUtf8(c.entries[(size_t)c.selected].name));
        return;
    }
    char buf[1024];
    GetDlgItemTextA(c.dialog, kIdName, buf, sizeof buf);
    std::string text = Trim(buf);
    if (text.empty()) return;
    DWORD flags = c.ofn->Flags;
    std::vector<std::string> names;
    if (!c.save && (flags & OFN_ALLOWMULTISELECT) && text[0] == '"') names = SplitQuoted(text);
    if (names.size() > 1) {
        for (const std::string& n : names) {
            if (!IsFile(Resolve(c, n))) {
                Message(c, n + Text(c, "\nファイルが見つかりません。\nファイル名を確認して再実行してください。",
                                    "\nFile not found.\nCheck the file name and try again."),
                        MB_OK | MB_ICONWARNING);
                return;
            }
        }
        if (!StoreResult(c, WindowsPathFromHost(c.folder), names)) {
            EndDialog(c.dialog, 0);
            return;
        }
        c.ok = true;
        EndDialog(c.dialog, IDOK);
        return;
    }
    if (names.size() == 1) text = names[0];
    std::string host = Resolve(c, text);
    if (IsDir(host)) {
        Navigate(c, host);
        SetDlgItemTextA(c.dialog, kIdName, "");
        return;
    }
    bool withExt = !c.defExt.empty() && !HasExtension(text);
    if (withExt && (c.save || !IsFile(host))) {
        text += "." + c.defExt;
        host = Resolve(c, text);
    }
    if (!c.save) {
        if (!IsFile(host) && ((flags & OFN_FILEMUSTEXIST) || !IsDir(ParentOf(host)))) {
            Message(c, text + Text(c, "\nファイルが見つかりません。\nファイル名を確認して再実行してください。",
                                   "\nFile not found.\nCheck the file name and try again."),
                    MB_OK | MB_ICONWARNING);
            return;
        }
    } else {
        if (!IsDir(ParentOf(host)) || IsDir(host)) {
            Message(c, text + Text(c, "\nパスが存在しません。\nパスを確認してください。",
                                   "\nPath does not exist.\nCheck the path and try again."),
                    MB_OK | MB_ICONWARNING);
            return;
        }
        if (IsFile(host) && (flags & OFN_OVERWRITEPROMPT)) {
            std::string q = std::string(Text(c, "%s は既に存在します。\n上書きしますか?",
                                             "%s already exists.\nDo you want to replace it?"));
            q.replace(q.find("%s"), 2, text.substr(NameOffset(text)));
            if (Message(c, q, MB_YESNO | MB_ICONWARNING) != IDYES) return;
        }
    }
    std::string full = WindowsPathFromHost(Absolute(ParentOf(host)));
    if (full.empty() || full.back() != '\\') full += '\\';
    std::string leaf = host.substr(host.find_last_of('/') + 1);
    full += Utf8ToCp932(leaf);
    if (!StoreResult(c, full, {})) {
        host::script::Log("file dialog: the chosen path does not fit the program's buffer");
        EndDialog(c.dialog, 0);
        return;
    }
    c.ok = true;
    EndDialog(c.dialog, IDOK);
}

void Up(Chooser& c) {
    if (c.folder == "/") return;
    Navigate(c, ParentOf(c.folder));
}

// ---- the list ----
const char* const kFolderIcon[12] = {
    "............", ".####.......", "#....#######", "#..........#", "#..........#", "#..........#",
    "#..........#", "#..........#", "#..........#", "############", "............", "............",
};
const char* const kFileIcon[12] = {
    "..######....", "..#....##...", "..#....#.#..", "..#....####.", "..#.......#.", "..#.......#.",
    "..#.......#.", "..#.......#.", "..#.......#.", "..#.......#.", "..########..", "............",
};

void Icon(const PAINTTARGET& t, int x, int y, const char* const* rows, uint32_t edge, uint32_t fill) {
    for (int j = 0; j < 12; ++j) {
        const char* row = rows[j];
        int first = -1, last = -1;
        for (int i = 0; row[i]; ++i)
            if (row[i] == '#') {
                if (first < 0) first = i;
                last = i;
            }
        for (int i = 0; row[i]; ++i) {
            int px = x + i, py = y + j;
            if (px < t.clip.left || py < t.clip.top || px >= t.clip.right || py >= t.clip.bottom) continue;
            if (row[i] == '#') t.pixels[(size_t)py * t.width + px] = edge;
            else if (first >= 0 && i > first && i < last && j > 1 && j < 10) t.pixels[(size_t)py * t.width + px] = fill;
        }
    }
}

void PaintList(const PAINTTARGET& t) {
    if (!g_chooser) return;
    Chooser& c = *g_chooser;
    HWND list = GetDlgItem(c.dialog, kIdList);
    bool focused = GetFocus() == list;
    RECT r = t.rc;
    FillRect(t, r, kWindowColour);
    FrameRect(t, r, focused ? kHighlightColour : 0x7A7A7A);
    int rh;
    int rows = Rows(c, &rh);
    PAINTTARGET inner = t;
    inner.clip = RECT{std::max(r.left + 1, t.clip.left), std::max(r.top + 1, t.clip.top),
                      std::min(r.right - 1, t.clip.right), std::min(r.bottom - 1, t.clip.bottom)};
    bool bar = (int)c.entries.size() > rows;
    int barW = bar ? 6 : 0;
    for (int i = 0; i < rows && c.top + i < (int)c.entries.size(); ++i) {
        const Entry& e = c.entries[(size_t)(c.top + i)];
        int y = r.top + 1 + i * rh;
        bool sel = c.top + i == c.selected;
        uint32_t text = kTextColour;
        if (sel) {
            FillRect(inner, RECT{r.left + 1, y, r.right - 1 - barW, y + rh}, focused ? kHighlightColour : 0xD9D9D9);
            if (focused) text = kHighlightTextColour;
        }
        int iy = y + (rh - 12) / 2;
        if (e.folder) Icon(inner, r.left + 4, iy, kFolderIcon, 0xB8860B, 0xF2C94C);
        else Icon(inner, r.left + 4, iy, kFileIcon, 0x808080, 0xFFFFFF);
        PAINTTARGET rowT = inner;
        rowT.clip.right = std::min(inner.clip.right, (LONG)(r.right - 1 - barW));
        DrawTextInRect(rowT, RECT{r.left + 20, y, r.right - 1 - barW, y + rh}, e.name, 0, true, false, text);
    }
    if (bar) {
        int track = r.bottom - r.top - 2;
        int n = (int)c.entries.size();
        int thumb = std::max(8, track * rows / n);
        int pos = (track - thumb) * c.top / std::max(1, n - rows);
        FillRect(inner, RECT{r.right - 1 - barW, r.top + 1, r.right - 1, r.bottom - 1}, 0xF0F0F0);
        FillRect(inner, RECT{r.right - barW, r.top + 1 + pos, r.right - 2, r.top + 1 + pos + thumb}, 0xC2C2C2);
    }
}

LRESULT FileListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!g_chooser) return DefWindowProcA(hwnd, msg, wParam, lParam);
    Chooser& c = *g_chooser;
    int rh;
    int rows = Rows(c, &rh);
    switch (msg) {
    case WM_KEYDOWN:
        switch ((int)wParam) {
        case VK_UP: Select(c, c.selected < 0 ? 0 : c.selected - 1); break;
        case VK_DOWN: Select(c, c.selected + 1); break;
        case VK_PRIOR: Select(c, c.selected - rows); break;
        case VK_NEXT: Select(c, c.selected < 0 ? rows - 1 : c.selected + rows); break;
        case VK_HOME: Select(c, 0); break;
        case VK_END: Select(c, (int)c.entries.size() - 1); break;
        case VK_BACK: Up(c); break;
        default: break;
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != hwnd) SetFocus(hwnd);
        int row = ((short)HIWORD(lParam) - 1) / rh;
        int index = c.top + row;
        if (row < 0 || row >= rows || index >= (int)c.entries.size()) return 0;
        Select(c, index);
        if (msg == WM_LBUTTONDBLCLK) {
            if (c.entries[(size_t)index].folder) Navigate(c, c.folder + "/" + Cp932ToUtf8(c.entries[(size_t)index].name));
            else Accept(c);
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        int steps = -(short)HIWORD(wParam) / 120 * 3;
        c.top = std::clamp(c.top + steps, 0, std::max(0, (int)c.entries.size() - rows));
        Invalidate(hwnd);
        return 0;
    }
    case WM_SETFOCUS:
        if (c.selected < 0 && !c.entries.empty()) c.selected = 0;
        Invalidate(hwnd);
        return 0;
    case WM_KILLFOCUS:
        Invalidate(hwnd);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

INT_PTR ChooserProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    if (!g_chooser) return FALSE;
    Chooser& c = *g_chooser;
    switch (msg) {
    case WM_INITDIALOG: {
        c.dialog = hwnd;
        const char* title = c.ofn->lpstrTitle && *c.ofn->lpstrTitle
                                ? c.ofn->lpstrTitle
                                : Text(c, c.save ? "名前を付けて保存" : "開く", c.save ? "Save As" : "Open");
        SetWindowTextA(hwnd, title);
        SetDlgItemTextA(hwnd, kIdPlaceLabel, Text(c, "場所:", "Look in:"));
        SetDlgItemTextA(hwnd, kIdNameLabel, Text(c, "ファイル名:", "File name:"));
        SetDlgItemTextA(hwnd, kIdTypeLabel, Text(c, "ファイルの種類:", "Files of type:"));
        SetDlgItemTextA(hwnd, kIdType, c.description.c_str());
        SetDlgItemTextA(hwnd, kIdUp, Text(c, "上へ", "Up"));
        SetDlgItemTextA(hwnd, IDOK, c.save ? Text(c, "保存", "Save") : Text(c, "開く", "Open"));
        SetDlgItemTextA(hwnd, IDCANCEL, Text(c, "キャンセル", "Cancel"));
        if (auto list = FindControl(GetDlgItem(hwnd, kIdList))) list->paint = PaintList;
        Load(c);
        ShowPlace(c);
        HWND name = GetDlgItem(hwnd, kIdName);
        SetWindowTextA(name, c.initialName.c_str());
        SetFocus(name);
        SendMessageA(name, EM_SETSEL, 0, -1);
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: Accept(c); return TRUE;
        case IDCANCEL: EndDialog(hwnd, 0); return TRUE;
        case kIdUp:
            if (HIWORD(wParam) == BN_CLICKED) Up(c);
            return TRUE;
        default: return TRUE;
        }
    case WM_CLOSE:
        EndDialog(hwnd, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

// The test driver's answers (commdlg.h).
bool DriveChooser(HWND dlg) {
    std::vector<std::string> args;
    std::string who = "file dialog: ";
    if (!host::script::Active() || !host::script::TakeAnswer("file", &args) || args.empty()) {
        host::script::Log(who + "no answer, cancel");
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    std::string verb = args[0];
    for (char& ch : verb)
        if (ch >= 'A' && ch <= 'Z') ch = (char)(ch - 'A' + 'a');
    if (verb == "choose" && args.size() >= 2) {
        std::string text;
        if (args.size() == 2) {
            text = Utf8ToCp932(args[1]);
        } else {
            for (size_t i = 1; i < args.size(); ++i) text += (i > 1 ? " \"" : "\"") + Utf8ToCp932(args[i]) + "\"";
        }
        std::string shown;
        for (size_t i = 1; i < args.size(); ++i) shown += (i > 1 ? " " : "") + args[i];
        host::script::Log(who + "choose " + shown);
        SetDlgItemTextA(dlg, kIdName, text.c_str());
        SetFocus(GetDlgItem(dlg, kIdName));
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDOK));
        return true;
    }
    if (verb == "accept") {
        host::script::Log(who + "accept");
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dlg, IDOK));
        return true;
    }
    if (verb == "capture" && args.size() >= 2) {
        std::string path = host::script::FilePath(args[1]);
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        bool ok = DrawDialogPixels(dlg, &px, &w, &h) && host::WritePng(path, px.data(), w, h, w * 4);
        host::script::Log(who + "capture " + path + (ok ? "" : " FAILED"));
        return true;
    }
    if (verb != "cancel") host::script::Log(who + "answer not understood: " + args[0] + ", cancel");
    else host::script::Log(who + "cancel");
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
}

bool HasJapanese(const char* s) {
    if (!s) return false;
    for (const unsigned char* p = (const unsigned char*)s; *p; ++p)
        if (*p >= 0x80) return true;
    return false;
}

BOOL RunChooser(OPENFILENAMEA* ofn, bool save) {
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
    if (host::WindowThreadId() == 0) host::Init();
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = FileListProc;
        wc.lpszClassName = kFileListClassName;
        RegisterClassExA(&wc);
        RegisterDialogTemplate(nullptr, kChooserTemplateId, &kTemplate);
        registered = true;
    }
    Chooser c;
    c.ofn = ofn;
    c.save = save;
    c.japanese = !ofn->lpstrTitle || !*ofn->lpstrTitle || HasJapanese(ofn->lpstrTitle);
    // The filter pair in force.
    if (const char* f = ofn->lpstrFilter) {
        DWORD want = ofn->nFilterIndex ? ofn->nFilterIndex : 1;
        std::vector<std::pair<std::string, std::string>> pairs;
        while (*f) {
            std::string desc = f;
            f += desc.size() + 1;
            std::string pat = f;
            f += pat.size() + 1;
            pairs.push_back({desc, pat});
            if (!*f) break;
        }
        if (!pairs.empty()) {
            if (want > pairs.size()) want = 1;
            c.description = pairs[want - 1].first;
            std::string pats = pairs[want - 1].second;
            size_t i = 0;
            while (i <= pats.size()) {
                size_t semi = pats.find(';', i);
                if (semi == std::string::npos) semi = pats.size();
                std::string one = Trim(pats.substr(i, semi - i));
                if (!one.empty()) c.patterns.push_back(FoldedCodes(one));
                i = semi + 1;
            }
        }
    }
    if (ofn->lpstrDefExt) c.defExt = ofn->lpstrDefExt;
    // The folder: the proposal's own folder, else the initial folder, else the current one.
    std::string proposal(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
    std::string start = ".";
    if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir) {
        std::string dir = HostPathFromWindows(ofn->lpstrInitialDir);
        if (IsDir(dir)) start = dir;
    }
    size_t cut = NameOffset(proposal);
    if (cut > 0) {
        std::string dir = HostPathFromWindows(proposal.substr(0, cut).c_str());
        if (IsDir(dir)) start = dir;
        proposal = proposal.substr(cut);
    }
    c.initialName = proposal;
    c.folder = Absolute(start);
    ofn->lpstrFile[0] = 0;
    if (ofn->nMaxFile > 1) ofn->lpstrFile[1] = 0;
    Chooser* outer = g_chooser;
    g_chooser = &c;
    if (host::script::Active() || host::IsHeadless()) SetNextDialogDriver(DriveChooser);
    INT_PTR r = DialogBoxParamA(ofn->hInstance, MAKEINTRESOURCEA(kChooserTemplateId), ofn->hwndOwner, ChooserProc, 0);
    SetNextDialogDriver(nullptr);
    g_chooser = outer;
    if (r != IDOK || !c.ok) {
        if (!c.ok) ofn->lpstrFile[0] = 0;
        return FALSE;
    }
    host::script::Log("file dialog: " + Cp932ToUtf8(ofn->lpstrFile));
    return TRUE;
}

}  // namespace
}  // namespace win32::dlg

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn) { return win32::dlg::RunChooser(lpofn, false); }
BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn) { return win32::dlg::RunChooser(lpofn, true); }
