#include "tools/midi_writer.h"

#include <algorithm>

#include "tools/wave_writer.h"

namespace tools {

int MidiFileWriter::AddTrack() {
    m_tracks.emplace_back();
    return (int)m_tracks.size() - 1;
}

void MidiFileWriter::Add(int track, uint32_t tick, std::vector<uint8_t> bytes) {
    if (track < 0 || track >= (int)m_tracks.size()) return;
    m_tracks[(size_t)track].events.push_back(Event{tick, std::move(bytes)});
}

void MidiFileWriter::NoteOn(int track, uint32_t tick, int channel, int note, int velocity) {
    Add(track, tick, {(uint8_t)(0x90 | channel), (uint8_t)note, (uint8_t)velocity});
}
void MidiFileWriter::NoteOff(int track, uint32_t tick, int channel, int note) {
    Add(track, tick, {(uint8_t)(0x80 | channel), (uint8_t)note, 64});
}
void MidiFileWriter::ProgramChange(int track, uint32_t tick, int channel, int program) {
    Add(track, tick, {(uint8_t)(0xC0 | channel), (uint8_t)program});
}
void MidiFileWriter::Controller(int track, uint32_t tick, int channel, int number, int value) {
    Add(track, tick, {(uint8_t)(0xB0 | channel), (uint8_t)number, (uint8_t)value});
}
void MidiFileWriter::Tempo(int track, uint32_t tick, uint32_t us) {
    Add(track, tick, {0xFF, 0x51, 0x03, (uint8_t)(us >> 16), (uint8_t)(us >> 8), (uint8_t)us});
}
void MidiFileWriter::Text(int track, uint32_t tick, const std::string& text) {
    std::vector<uint8_t> b{0xFF, 0x01};
    PutVarLen(b, (uint32_t)text.size());
    b.insert(b.end(), text.begin(), text.end());
    Add(track, tick, std::move(b));
}
void MidiFileWriter::SysEx(int track, uint32_t tick, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b{0xF0};
    PutVarLen(b, (uint32_t)data.size());
    b.insert(b.end(), data.begin(), data.end());
    Add(track, tick, std::move(b));
}
void MidiFileWriter::Raw(int track, uint32_t tick, const std::vector<uint8_t>& bytes) { Add(track, tick, bytes); }

void MidiFileWriter::EndTrack(int track, uint32_t tick) {
    if (track < 0 || track >= (int)m_tracks.size()) return;
    m_tracks[(size_t)track].end = tick;
    m_tracks[(size_t)track].ended = true;
}

void MidiFileWriter::PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t tmp[5];
    int n = 0;
    tmp[n++] = (uint8_t)(v & 0x7F);
    while ((v >>= 7) != 0) tmp[n++] = (uint8_t)(0x80 | (v & 0x7F));
    while (n > 0) out.push_back(tmp[--n]);
}

std::vector<uint8_t> MidiFileWriter::Bytes() const {
    std::vector<uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    auto put16 = [&](uint32_t v) {
        out.push_back((uint8_t)(v >> 8));
        out.push_back((uint8_t)v);
    };
    put16((uint32_t)m_format);
    put16((uint32_t)m_tracks.size());
    put16((uint32_t)m_division);
    for (const Track& t : m_tracks) {
        std::vector<uint8_t> data;
        uint32_t now = 0;
        uint8_t status = 0;
        std::vector<Event> events = t.events;
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
        for (const Event& e : events) {
            PutVarLen(data, e.tick - now);
            now = e.tick;
            uint8_t s = e.bytes[0];
            size_t from = 0;
            if (s >= 0x80 && s < 0xF0) {
                if (m_running && s == status) from = 1;
                status = s;
            } else if (s >= 0xF0) {
                status = 0;  // system and meta events cancel running status
            }
            data.insert(data.end(), e.bytes.begin() + (long)from, e.bytes.end());
        }
        uint32_t end = t.ended && t.end > now ? t.end : now;
        PutVarLen(data, end - now);
        data.insert(data.end(), {0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        uint32_t n = (uint32_t)data.size();
        out.insert(out.end(), {(uint8_t)(n >> 24), (uint8_t)(n >> 16), (uint8_t)(n >> 8), (uint8_t)n});
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

bool MidiFileWriter::Write(const std::string& path) const { return WriteBytes(path, Bytes()); }

}  // namespace tools
