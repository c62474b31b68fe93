// Message boxes: shown on the window thread whichever thread asks; while one is up the window
// thread keeps serving sends. Under the test driver the script answers; without a display the
// box is logged and answered with its first button.
#include <SDL.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/script.h"
#include "platform/win32/codepage.h"
#include "platform/win32/internal.h"

namespace {

int FirstButton(UINT type) {
    switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
    }
}

int ShowOnWindowThread(const std::string& text, const std::string& caption, UINT type) {
    std::vector<SDL_MessageBoxButtonData> buttons;
    auto add = [&](int id, const char* label, Uint32 flags) { buttons.push_back({flags, id, label}); };
    const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, esc = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    switch (type & 0xF) {
    case MB_OKCANCEL: add(IDOK, "OK", enter); add(IDCANCEL, "Cancel", esc); break;
    case MB_YESNO: add(IDYES, "Yes", enter); add(IDNO, "No", esc); break;
    case MB_YESNOCANCEL: add(IDYES, "Yes", enter); add(IDNO, "No", 0); add(IDCANCEL, "Cancel", esc); break;
    default: add(IDOK, "OK", enter | esc); break;
    }
    std::string t = Cp932ToUtf8(text), c = Cp932ToUtf8(caption);
    SDL_MessageBoxData data{};
    data.flags = (type & 0xF0) == MB_ICONERROR ? SDL_MESSAGEBOX_ERROR
                 : (type & 0xF0) == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                                   : SDL_MESSAGEBOX_INFORMATION;
    data.title = c.c_str();
    data.message = t.c_str();
    data.numbuttons = (int)buttons.size();
    data.buttons = buttons.data();
    std::atomic<bool> done{false};
    int answer = -1;
    // The box runs its own loop; the window thread keeps serving sends meanwhile.
    std::thread box([&] {
        int id = -1;
        if (SDL_ShowMessageBox(&data, &id) != 0) id = -1;
        answer = id;
        done = true;
    });
    while (!done) {
        win32::ServePendingSends();
        SDL_Delay(2);
    }
    box.join();
    if (answer < 0) answer = (type & 0xF) == MB_OK ? IDOK : IDCANCEL;
    return answer;
}

}  // namespace

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    (void)hWnd;
    std::string text = lpText ? lpText : "", caption = lpCaption ? lpCaption : "";
    if (host::WindowThreadId() == 0) host::Init();
    int answer = 0;
    if (host::script::TakeMessageBoxAnswer(caption, text, uType, &answer)) {
        host::script::Log("msgbox \"" + Cp932ToUtf8(caption) + "\": " + Cp932ToUtf8(text) + " -> " +
                          std::to_string(answer));
        return answer;
    }
    if (host::IsHeadless()) {
        answer = FirstButton(uType);
        host::script::Log("msgbox \"" + Cp932ToUtf8(caption) + "\": " + Cp932ToUtf8(text) + " -> " +
                          std::to_string(answer) + " (no display, first button)");
        return answer;
    }
    LRESULT r = 0;
    if (!win32::CallOnThread(host::WindowThreadId(), [&] { return (LRESULT)ShowOnWindowThread(text, caption, uType); },
                             &r))
        return 0;
    return (int)r;
}
