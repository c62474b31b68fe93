// The Ogg player object the music manager loads as "Vox.dll": a player that opens an Ogg
// Vorbis file, plays it into the mixer (streamed and resampled to 44.1 kHz), loops by seeking
// back to the start, and stops. There is no shared library: LoadLibraryA("Vox.dll") and
// GetProcAddress(module, "CreateVox") resolve to the player built into the program.
#pragma once

#include "platform/win32/types.h"

class IVox {
public:
    // Opens a file (program path); non-zero on success, 0 also when not one frame of it decodes.
    // An open file is closed first.
    virtual BYTE Load(const char* path) = 0;
    // Plays from the current position (the start after Load or Stop).
    virtual void Play() = 0;
    // Stops and goes back to the start.
    virtual void Stop() = 0;
    // Stops and closes the file.
    virtual void Close() = 0;
    // How many times the tune repeats after its first play: 0 once, 0x7FFFFFFF without end.
    virtual void SetLoop(int count) = 0;
    // Drops one reference; the last one frees the object.
    virtual void Release() = 0;

protected:
    virtual ~IVox() = default;
};

typedef IVox* (*CREATEVOXFUNC)();
// A new player object (one reference); null when it cannot be made.
IVox* CreateVox();
// Why the last Load on this thread failed ("not an Ogg stream", "damaged Vorbis header"); empty
// after a success and when the file could not be opened at all.
const char* VoxLoadFailure();

// ---- the loader the program calls ----
// A generic function address; the caller casts it to the function's own type.
typedef void (*FARPROC)();
// "Vox.dll" (any case) gives the built-in player's module; anything else null
// (GetLastError() = ERROR_MOD_NOT_FOUND).
HMODULE LoadLibraryA(LPCSTR lpLibFileName);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL FreeLibrary(HMODULE hLibModule);

#define ERROR_MOD_NOT_FOUND 126
#define ERROR_PROC_NOT_FOUND 127
