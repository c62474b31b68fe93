// The open and save file dialogs: the layer's own chooser, a modal dialog (dialogs.h) that
// lists the folders and the files of a folder that match the filter, lets the user move
// between folders (a folder in the list, the Up button, Backspace in the list) and take a
// listed file or type a name.
//
// - The filter is the program's list of description and pattern pairs ("Stage ( *.x )\0*.x;*.y\0"
//   ending with an extra NUL); the pair of nFilterIndex (1-based; the first when 0 or out of
//   range) is used. Patterns match file names without regard to case, as Windows does.
// - A typed name is taken relative to the folder shown (or as a full path); a folder name opens
//   the folder. A name without an extension gets the default extension lpstrDefExt (when not
//   empty): always for the save dialog, and for the open dialog when the name as typed does not
//   exist.
// - Open: with OFN_FILEMUSTEXIST the file must exist, else a message says so and the dialog
//   stays. With OFN_ALLOWMULTISELECT several quoted names ("a" "b") may be typed: lpstrFile then
//   holds the folder, NUL, each name, NUL, and a final NUL (one name gives its full path alone).
// - The name in lpstrFile on entry (the save dialog's proposal) is shown in the name box; a
//   folder part of it is the folder shown first, else lpstrInitialDir, else the current folder.
// - Save: with OFN_OVERWRITEPROMPT an existing file is taken only after a Yes to the question
//   whether to replace it.
// - The result in lpstrFile is a full path in the program's form (Shift-JIS, backslashes,
//   "\home\user\game\data\stg4\a.stg4_001"); nFileOffset and nFileExtension index its name and
//   extension; lpstrFileTitle, when given, gets the name. A result that does not fit nMaxFile
//   fails (FALSE). The current directory is never changed, whatever OFN_NOCHANGEDIR says.
// - The dialog's own texts are Japanese, or English when the title has no Japanese character.
// - Options that mean nothing here (OFN_EXPLORER, OFN_NONETWORKBUTTON, OFN_HIDEREADONLY, a hook
//   procedure) are accepted and ignored.
//
// Under the test driver the answer is the next "answer file ..." line of the script:
//   answer file choose NAME [NAME...]   type the name(s) in the name box and press Open / Save
//   answer file accept                  press Open / Save with the name box as it is
//   answer file cancel                  press Cancel
//   answer file capture FILE.png        save the dialog as drawn, then take the next answer
// When a choice leaves the dialog open (no such file, a No to the overwrite question, which a
// "msgbox" line answers) the next "answer file" line is taken; without one, and always without a
// display when there is no script, the dialog is cancelled.
#pragma once

#include "platform/win32/types.h"

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_NONETWORKBUTTON 0x00020000
#define OFN_EXPLORER 0x00080000

// The size of the structure as the program fills it (the 32-bit version without the places bar).
#define OPENFILENAME_SIZE_VERSION_400A 76

typedef UINT_PTR (*LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
};
typedef OPENFILENAMEA* LPOPENFILENAMEA;

// TRUE when a file was chosen; FALSE when cancelled or failed. Window thread.
BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn);
