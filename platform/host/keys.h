// Virtual-key codes for SDL keys and for the test driver's key names.
#pragma once

#include <SDL.h>

#include <string>

namespace host {

// The virtual key of an SDL key (0 when it has none).
int VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode);
// A virtual key by name ("ESCAPE", "LEFT", "Z", "F1", "0x1B", "27"); -1 when unknown.
int VirtualKeyFromName(const std::string& name);

}  // namespace host
