// Virtual-key codes for SDL keys and key names.
#include "platform/host/keys.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32/messages.h"

namespace host {
namespace {

struct NamedKey {
    const char* name;
    int vk;
};

const NamedKey kNames[] = {
    {"BACK", VK_BACK},       {"BACKSPACE", VK_BACK}, {"TAB", VK_TAB},         {"RETURN", VK_RETURN},
    {"ENTER", VK_RETURN},    {"SHIFT", VK_SHIFT},    {"CONTROL", VK_CONTROL}, {"CTRL", VK_CONTROL},
    {"MENU", VK_MENU},       {"ALT", VK_MENU},       {"PAUSE", VK_PAUSE},     {"ESCAPE", VK_ESCAPE},
    {"ESC", VK_ESCAPE},      {"SPACE", VK_SPACE},    {"PRIOR", VK_PRIOR},     {"PAGEUP", VK_PRIOR},
    {"NEXT", VK_NEXT},       {"PAGEDOWN", VK_NEXT},  {"END", VK_END},         {"HOME", VK_HOME},
    {"LEFT", VK_LEFT},       {"UP", VK_UP},          {"RIGHT", VK_RIGHT},     {"DOWN", VK_DOWN},
    {"INSERT", VK_INSERT},   {"DELETE", VK_DELETE},  {"LSHIFT", VK_LSHIFT},   {"RSHIFT", VK_RSHIFT},
    {"LCONTROL", VK_LCONTROL}, {"RCONTROL", VK_RCONTROL},
};

}  // namespace

int VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode sc) {
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    default: break;
    }
    switch (sym) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
    }
}

int VirtualKeyFromName(const std::string& name) {
    if (name.empty()) return -1;
    std::string up = name;
    for (char& c : up)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    if (up.size() == 1 && ((up[0] >= 'A' && up[0] <= 'Z') || (up[0] >= '0' && up[0] <= '9'))) return up[0];
    if (up.size() >= 2 && up[0] == 'F' && up.find_first_not_of("0123456789", 1) == std::string::npos) {
        int n = std::atoi(up.c_str() + 1);
        if (n >= 1 && n <= 12) return VK_F1 + n - 1;
    }
    if (up.rfind("NUMPAD", 0) == 0 && up.size() == 7 && up[6] >= '0' && up[6] <= '9') return VK_NUMPAD0 + (up[6] - '0');
    for (const NamedKey& k : kNames)
        if (up == k.name) return k.vk;
    char* end = nullptr;
    long v = std::strtol(name.c_str(), &end, 0);
    if (end && *end == 0 && v > 0 && v < 256) return (int)v;
    return -1;
}

}  // namespace host
