#include "media/midi_file.h"

#include <cstdio>
#include <queue>

#include "core/report.h"
#include "platform/win32/crt.h"

namespace {

// A MIDI file larger than this is not a tune.
constexpr long kMaxFileSize = 16 * 1024 * 1024;
constexpr DWORD kMaxTime = 0x0FFFFFFF;

struct TimedEvent {
    DWORD time;
    std::vector<BYTE> bytes;  // status and data
};

DWORD Be32(const BYTE* p) { return (DWORD)p[0] << 24 | (DWORD)p[1] << 16 | (DWORD)p[2] << 8 | p[3]; }
WORD Be16(const BYTE* p) { return (WORD)(p[0] << 8 | p[1]); }

void PutVarLen(std::vector<BYTE>& out, DWORD v) {
    BYTE tmp[4];
    int n = 0;
    v &= kMaxTime;
    tmp[n++] = (BYTE)(v & 0x7F);
    while ((v >>= 7) != 0) tmp[n++] = (BYTE)(0x80 | (v & 0x7F));
    while (n > 0) out.push_back(tmp[--n]);
}

// Reads one track's events; false when the track is malformed.
bool ReadTrack(const BYTE* d, size_t start, size_t end, std::vector<TimedEvent>* events, DWORD* endTime) {
    size_t pos = start;
    uint64_t now = 0;
    BYTE running = 0;
    while (pos < end) {
        DWORD delta;
        if (!ReadMidiVarLen(d, end, &pos, &delta)) return false;
        now += delta;
        if (now > kMaxTime) now = kMaxTime;
        if (pos >= end) return false;
        BYTE status = d[pos];
        if (status >= 0x80) {
            ++pos;
        } else {
            if (!running) return false;  // running status with no status before it
            status = running;
        }
        TimedEvent e{(DWORD)now, {status}};
        if (status < 0xF0) {
            running = status;
            int n = (status & 0xE0) == 0xC0 ? 1 : 2;
            if (pos + (size_t)n > end) return false;
            for (int i = 0; i < n; ++i) {
                if (d[pos] >= 0x80) return false;
                e.bytes.push_back(d[pos++]);
            }
        } else if (status == 0xF0 || status == 0xF7) {
            DWORD len;
            size_t lenAt = pos;
            if (!ReadMidiVarLen(d, end, &pos, &len) || len > end - pos) return false;
            e.bytes.insert(e.bytes.end(), d + lenAt, d + pos + len);
            pos += len;
        } else if (status == 0xFF) {
            if (pos >= end) return false;
            BYTE type = d[pos];
            size_t lenAt = pos + 1;
            size_t p2 = lenAt;
            DWORD len;
            if (!ReadMidiVarLen(d, end, &p2, &len) || len > end - p2) return false;
            pos = p2 + len;
            if (type == 0x2F) {  // end of track: dropped, its time ends the track
                *endTime = (DWORD)now;
                return true;
            }
            e.bytes.insert(e.bytes.end(), d + lenAt - 1, d + pos);
        } else {
            return false;  // no other status byte belongs in a file
        }
        events->push_back(std::move(e));
    }
    *endTime = (DWORD)now;  // a track without its end-of-track ends at its last event
    return true;
}

}  // namespace

bool ReadMidiVarLen(const BYTE* data, size_t end, size_t* pos, DWORD* value) {
    DWORD v = 0;
    for (int i = 0; i < 4; ++i) {
        if (*pos >= end) return false;
        BYTE b = data[(*pos)++];
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

cMidiFile::cMidiFile(const char* path) : m_strName(path ? path : "") {
    FILE* fp = path ? crt::fopen(path, "rb") : nullptr;
    if (!fp) {
        WriteReport("Midi %s Create ファイルが開けません", m_strName.c_str());
        return;
    }
    std::vector<BYTE> file;
    long size = -1;
    if (std::fseek(fp, 0, SEEK_END) == 0) size = std::ftell(fp);
    bool ok = size >= 0 && size <= kMaxFileSize && std::fseek(fp, 0, SEEK_SET) == 0;
    if (ok) {
        file.resize((size_t)size);
        ok = std::fread(file.data(), 1, file.size(), fp) == file.size();
    }
    std::fclose(fp);
    if (!ok) {
        WriteReport("Midi %s Create ファイルが開けません", m_strName.c_str());
        return;
    }
    const char* name = m_strName.c_str();
    if (file.size() < 4 || file[0] != 'M' || file[1] != 'T' || file[2] != 'h' || file[3] != 'd') {
        WriteReport("Midi %s Init 標準MIDIでない(4)", name);
        return;
    }
    if (file.size() < 14 || Be32(&file[4]) != 6) {
        WriteReport("Midi %s Init 標準MIDIでない(6)", name);
        return;
    }
    WORD format = Be16(&file[8]);
    if (format == 2) {
        WriteReport("Midi %s Init 対応フォーマットが2でない", name);
        return;
    }
    if (format > 2) {
        WriteReport("Midi %s Init 対応フォーマットが0または1でない", name);
        return;
    }
    if (file.size() < 22 || file[14] != 'M' || file[15] != 'T' || file[16] != 'r' || file[17] != 'k') {
        WriteReport("Midi %s Init 標準MIDIでない(4)", name);
        return;
    }
    if (!Convert(file)) {
        m_vecImage.clear();
        WriteReport("Midi %s Init トラックのデータが壊れている", name);
    }
}

cMidiFile::~cMidiFile() {}

WORD cMidiFile::Division() const { return m_vecImage.size() >= 14 ? Be16(&m_vecImage[12]) : 96; }

bool cMidiFile::Convert(const std::vector<BYTE>& file) {
    const BYTE* d = file.data();
    size_t size = file.size();
    int tracks = Be16(&file[10]);
    if (tracks == 0) return false;
    std::vector<std::vector<TimedEvent>> lists;
    DWORD lastEnd = 0;
    size_t pos = 14;
    while ((int)lists.size() < tracks) {
        if (pos + 8 > size) return false;
        DWORD len = Be32(d + pos + 4);
        if (len > size - pos - 8) return false;  // a chunk longer than the file
        size_t start = pos + 8, end = start + len;
        pos = end;
        if (!(d[start - 8] == 'M' && d[start - 7] == 'T' && d[start - 6] == 'r' && d[start - 5] == 'k'))
            continue;  // other chunks are stepped over
        lists.emplace_back();
        DWORD endTime = 0;
        if (!ReadTrack(d, start, end, &lists.back(), &endTime)) return false;
        if (endTime > lastEnd) lastEnd = endTime;
    }
    lists.back().push_back(TimedEvent{lastEnd, {0xFF, 0x2F, 0x00}});

    std::vector<BYTE> data;
    // Merge by time; on equal times the lower track first, each track keeping its own order.
    using Head = std::pair<std::pair<DWORD, size_t>, size_t>;  // ((time, track), index)
    std::priority_queue<Head, std::vector<Head>, std::greater<Head>> heads;
    for (size_t t = 0; t < lists.size(); ++t)
        if (!lists[t].empty()) heads.push({{lists[t][0].time, t}, 0});
    DWORD now = 0;
    while (!heads.empty()) {
        Head h = heads.top();
        heads.pop();
        const TimedEvent& e = lists[h.first.second][h.second];
        PutVarLen(data, e.time - now);
        now = e.time;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
        size_t next = h.second + 1;
        if (next < lists[h.first.second].size()) heads.push({{lists[h.first.second][next].time, h.first.second}, next});
    }
    m_vecImage = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, file[12], file[13], 'M', 'T', 'r', 'k'};
    DWORD n = (DWORD)data.size();
    m_vecImage.insert(m_vecImage.end(), {(BYTE)(n >> 24), (BYTE)(n >> 16), (BYTE)(n >> 8), (BYTE)n});
    m_vecImage.insert(m_vecImage.end(), data.begin(), data.end());
    return true;
}
