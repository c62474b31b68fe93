// velmora-player: the command line is all arguments joined by single spaces; the show command
// comes from VELMORA_SHOWCMD (5 means "started by the editor"), unset meaning SW_SHOWDEFAULT.
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "platform/audio/joystick.h"
#include "platform/gdi/fonttext.h"
#include "platform/host/host.h"
#include "platform/win32/codepage.h"

int main(int argc, char** argv) {
    gdi::PrepareFontConfig();  // fontconfig reads its configuration while the rest starts
    host::Init();              // the entry's thread is the window thread
    audio::StartJoysticks();   // the first frame reads the controllers
    std::string cmdLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) cmdLine += ' ';
        cmdLine += argv[i];
    }
    int show = SW_SHOWDEFAULT;
    if (const char* s = std::getenv("VELMORA_SHOWCMD"); s && *s) show = std::atoi(s);
    cmdLine = Utf8ToCp932(cmdLine);  // the program's text is Shift-JIS
    int code = WinMain((HINSTANCE)(uintptr_t)0x400000, nullptr, cmdLine.data(), show);
    host::Shutdown();
    return code;
}
