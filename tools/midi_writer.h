// Standard MIDI test files: format 0 or 1, any division, with running status when asked,
// tempo changes, system exclusive and text events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

class MidiFileWriter {
public:
    MidiFileWriter(int format, int division) : m_format(format), m_division(division) {}

    // Adds a track and returns its number. Events of a track are written in tick order; events
    // at one tick keep the order in which they were added.
    int AddTrack();
    void NoteOn(int track, uint32_t tick, int channel, int note, int velocity);
    void NoteOff(int track, uint32_t tick, int channel, int note);
    void ProgramChange(int track, uint32_t tick, int channel, int program);
    void Controller(int track, uint32_t tick, int channel, int number, int value);
    void Tempo(int track, uint32_t tick, uint32_t microsPerQuarter);
    void Text(int track, uint32_t tick, const std::string& text);
    // data: the bytes after F0, F7 included.
    void SysEx(int track, uint32_t tick, const std::vector<uint8_t>& data);
    // Raw event bytes (status and data) at a tick, written as given.
    void Raw(int track, uint32_t tick, const std::vector<uint8_t>& bytes);
    // Ends a track at a tick (otherwise it ends at its last event).
    void EndTrack(int track, uint32_t tick);

    // Running status: channel messages repeat no status byte when it equals the previous one.
    void SetRunningStatus(bool on) { m_running = on; }
    std::vector<uint8_t> Bytes() const;
    bool Write(const std::string& path) const;

    static void PutVarLen(std::vector<uint8_t>& out, uint32_t v);

private:
    struct Event {
        uint32_t tick;
        std::vector<uint8_t> bytes;
    };
    struct Track {
        std::vector<Event> events;
        uint32_t end = 0;
        bool ended = false;
    };
    void Add(int track, uint32_t tick, std::vector<uint8_t> bytes);

    int m_format;
    int m_division;
    bool m_running = false;
    std::vector<Track> m_tracks;
};

}  // namespace tools
