// WM_USER+1, the ranking name entry, on the window thread.
#pragma once

#include <string>

// The drawing device readied for a dialog, the game-side threads suspended, the name-entry
// dialog run on `name` (OutOfMemoryClose when it cannot be made), then the device and the
// threads back, and the name-entry done flag set. The answer of the request (0).
long ServeNameEntryRequest(std::string* name);
