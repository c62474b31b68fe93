// A Standard MIDI File (format 0 or 1) read whole and converted to one merged track: full
// status bytes (no running status), one end-of-track at the latest track end.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/types.h"

// Offset of the first event in the converted image.
#define MIDIIMAGE_FIRSTEVENT 22

class cMidiFile {
public:
    explicit cMidiFile(const char* path);
    virtual ~cMidiFile();

    bool HasImage() const { return !m_vecImage.empty(); }
    WORD Division() const;

    std::string m_strName;
    // "MThd", 6, format 0, 1 track, division; "MTrk", length, events. Empty when the file
    // cannot be read or is not a usable Standard MIDI File.
    std::vector<BYTE> m_vecImage;

private:
    bool Convert(const std::vector<BYTE>& file);
};

// Reads a variable-length number of at most 4 bytes below `end`; false when it runs past
// `end` or is longer.
bool ReadMidiVarLen(const BYTE* data, size_t end, size_t* pos, DWORD* value);
