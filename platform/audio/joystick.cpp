// joyGetPosEx over SDL: game controllers through their standard mapping (left stick and d-pad
// for X/Y; A, B, X, Y, shoulders, back, start, stick presses and the guide button in that bit
// order), other joysticks by their first two axes, first hat and buttons.
#include "platform/audio/joystick.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/audio/mmsystem.h"
#include "platform/host/host.h"
#include "platform/win32/internal.h"

namespace {

std::mutex g_m;
bool g_init = false;
bool g_failed = false;
std::map<SDL_JoystickID, SDL_Joystick*> g_joysticks;
std::map<SDL_JoystickID, SDL_GameController*> g_controllers;
SDL_Joystick* g_virtual = nullptr;

bool InitLocked() {
    if (g_init) return true;
    if (g_failed) return false;
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL's subsystems start on the window thread when there is one (the game thread polls).
    LRESULT ok = 0;
    auto init = [] { return (LRESULT)(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0); };
    if (host::WindowThreadId() != 0 && !host::IsWindowThread()) {
        if (!win32::CallOnThread(host::WindowThreadId(), init, &ok)) return false;  // asked to end: try later
    } else {
        ok = init();
    }
    if (!ok) {
        g_failed = true;
        return false;
    }
    g_init = true;
    return true;
}

DWORD AxisValue(Sint16 v) { return (DWORD)((int)v + 32768); }

}  // namespace

namespace audio {

bool StartJoysticks() {
    std::lock_guard<std::mutex> lock(g_m);
    return InitLocked();
}

}  // namespace audio

MMRESULT joyGetPosEx(UINT id, LPJOYINFOEX pji) {
    if (!pji || pji->dwSize < sizeof(JOYINFOEX)) return MMSYSERR_INVALPARAM;
    if (id > 15) return JOYERR_PARMS;
    std::lock_guard<std::mutex> lock(g_m);
    if (!InitLocked()) return MMSYSERR_NODRIVER;
    SDL_JoystickUpdate();
    if ((int)id >= SDL_NumJoysticks()) return JOYERR_UNPLUGGED;
    SDL_JoystickID jid = SDL_JoystickGetDeviceInstanceID((int)id);
    SDL_Joystick* js = g_joysticks.count(jid) ? g_joysticks[jid] : nullptr;
    if (!js || !SDL_JoystickGetAttached(js)) {
        if (SDL_IsGameController((int)id)) {
            SDL_GameController* gc = SDL_GameControllerOpen((int)id);
            if (!gc) return JOYERR_UNPLUGGED;
            g_controllers[jid] = gc;
            js = SDL_GameControllerGetJoystick(gc);
        } else {
            js = SDL_JoystickOpen((int)id);
            if (!js) return JOYERR_UNPLUGGED;
        }
        g_joysticks[jid] = js;
    }
    DWORD x = 32767, y = 32767, buttons = 0;
    auto gcIt = g_controllers.find(jid);
    if (gcIt != g_controllers.end()) {
        SDL_GameController* gc = gcIt->second;
        x = AxisValue(SDL_GameControllerGetAxis(gc, SDL_CONTROLLER_AXIS_LEFTX));
        y = AxisValue(SDL_GameControllerGetAxis(gc, SDL_CONTROLLER_AXIS_LEFTY));
        if (SDL_GameControllerGetButton(gc, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) x = 0;
        if (SDL_GameControllerGetButton(gc, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) x = 65535;
        if (SDL_GameControllerGetButton(gc, SDL_CONTROLLER_BUTTON_DPAD_UP)) y = 0;
        if (SDL_GameControllerGetButton(gc, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) y = 65535;
        static const SDL_GameControllerButton order[] = {
            SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
            SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
            SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_LEFTSTICK,
            SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDL_CONTROLLER_BUTTON_GUIDE};
        for (int i = 0; i < (int)(sizeof(order) / sizeof(order[0])); ++i)
            if (SDL_GameControllerGetButton(gc, order[i])) buttons |= 1u << i;
    } else {
        if (SDL_JoystickNumAxes(js) > 0) x = AxisValue(SDL_JoystickGetAxis(js, 0));
        if (SDL_JoystickNumAxes(js) > 1) y = AxisValue(SDL_JoystickGetAxis(js, 1));
        if (SDL_JoystickNumHats(js) > 0) {
            Uint8 hat = SDL_JoystickGetHat(js, 0);
            if (hat & SDL_HAT_LEFT) x = 0;
            if (hat & SDL_HAT_RIGHT) x = 65535;
            if (hat & SDL_HAT_UP) y = 0;
            if (hat & SDL_HAT_DOWN) y = 65535;
        }
        int n = std::min(SDL_JoystickNumButtons(js), 32);
        for (int i = 0; i < n; ++i)
            if (SDL_JoystickGetButton(js, i)) buttons |= 1u << i;
    }
    pji->dwXpos = x;
    pji->dwYpos = y;
    pji->dwZpos = pji->dwRpos = pji->dwUpos = pji->dwVpos = 32767;
    pji->dwButtons = buttons;
    DWORD count = 0;
    for (DWORD b = buttons; b; b &= b - 1) ++count;
    pji->dwButtonNumber = count;
    pji->dwPOV = 0xFFFF;
    return JOYERR_NOERROR;
}

namespace audio {

int AttachVirtualJoystick() {
    std::lock_guard<std::mutex> lock(g_m);
    if (!InitLocked()) return -1;
    if (!g_virtual) {
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 32, 0);
        if (index < 0) return -1;
        g_virtual = SDL_JoystickOpen(index);
        if (!g_virtual) return -1;
    }
    SDL_JoystickID want = SDL_JoystickInstanceID(g_virtual);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == want) return i;
    return -1;
}

void DetachVirtualJoystick() {
    std::lock_guard<std::mutex> lock(g_m);
    if (!g_virtual) return;
    SDL_JoystickID jid = SDL_JoystickInstanceID(g_virtual);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == jid) {
            SDL_JoystickClose(g_virtual);
            g_joysticks.erase(jid);
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
    g_virtual = nullptr;
}

bool SetVirtualJoystickAxis(int axis, int value) {
    std::lock_guard<std::mutex> lock(g_m);
    if (!g_virtual || axis < 0 || axis > 1) return false;
    int v = std::clamp(value, 0, 65535) - 32768;
    return SDL_JoystickSetVirtualAxis(g_virtual, axis, (Sint16)v) == 0;
}

bool SetVirtualJoystickButton(int button, bool down) {
    std::lock_guard<std::mutex> lock(g_m);
    if (!g_virtual || button < 0 || button > 31) return false;
    return SDL_JoystickSetVirtualButton(g_virtual, button, down ? 1 : 0) == 0;
}

}  // namespace audio
