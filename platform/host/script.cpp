// The headless test driver: reads the script, applies timed events as frames are presented,
// hands out answers for message boxes and dialogs, captures frames.
#include "platform/host/script.h"

#include <algorithm>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "platform/audio/joystick.h"
#include "platform/host/host.h"
#include "platform/host/keys.h"
#include "platform/host/png.h"
#include "platform/win32/codepage.h"
#include "platform/win32/messages.h"

namespace host::script {
namespace {

struct TimedEvent {
    uint32_t frame = 0;
    std::vector<std::string> words;  // after "at N"
};

struct Answer {
    std::string kind;
    std::vector<std::string> args;
    bool used = false;
};

std::mutex g_m;
bool g_loaded = false;
bool g_tried = false;
std::string g_folder;
std::vector<TimedEvent> g_events;
std::vector<Answer> g_answers;

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string cur;
    bool quoted = false, any = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"') quoted = false;
            else cur += c;
            continue;
        }
        if (c == '#') break;
        if (c == '"') {
            quoted = true;
            any = true;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            if (any) words.push_back(cur);
            cur.clear();
            any = false;
            continue;
        }
        cur += c;
        any = true;
    }
    if (any) words.push_back(cur);
    return words;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return s;
}

int AnswerCode(const std::string& word) {
    std::string w = Lower(word);
    if (w == "ok") return IDOK;
    if (w == "cancel") return IDCANCEL;
    if (w == "abort") return IDABORT;
    if (w == "retry") return IDRETRY;
    if (w == "ignore") return IDIGNORE;
    if (w == "yes") return IDYES;
    if (w == "no") return IDNO;
    return std::atoi(word.c_str());
}

bool ParseLocked(const std::string& text, const std::string& folder) {
    g_events.clear();
    g_answers.clear();
    g_folder = folder;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    bool ok = true;
    while (std::getline(in, line)) {
        ++lineNo;
        auto w = SplitWords(line);
        if (w.empty()) continue;
        std::string head = Lower(w[0]);
        if (head == "at" && w.size() >= 3) {
            TimedEvent e;
            e.frame = (uint32_t)std::strtoul(w[1].c_str(), nullptr, 10);
            e.words.assign(w.begin() + 2, w.end());
            e.words[0] = Lower(e.words[0]);
            if (e.words[0] == "key" && e.words.size() >= 3 && Lower(e.words[1]) == "tap") {
                TimedEvent up = e;
                e.words[1] = "down";
                up.words[1] = "up";
                up.frame = e.frame + 1;
                g_events.push_back(e);
                g_events.push_back(up);
                continue;
            }
            g_events.push_back(e);
        } else if (head == "msgbox" && w.size() >= 2) {
            Answer a;
            a.kind = "msgbox";
            a.args.assign(w.begin() + 1, w.end());
            g_answers.push_back(a);
        } else if (head == "answer" && w.size() >= 2) {
            Answer a;
            a.kind = Lower(w[1]);
            a.args.assign(w.begin() + 2, w.end());
            g_answers.push_back(a);
        } else if (head == "timeout" && w.size() >= 2) {
            int seconds = std::atoi(w[1].c_str());
            if (seconds > 0) {
                std::thread([seconds] {
                    std::this_thread::sleep_for(std::chrono::seconds(seconds));
                    Log("timeout after " + std::to_string(seconds) + " s: ending the process");
                    _exit(124);
                }).detach();
            }
        } else {
            Log("line " + std::to_string(lineNo) + " not understood: " + line);
            ok = false;
        }
    }
    std::stable_sort(g_events.begin(), g_events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.frame < b.frame; });
    g_loaded = true;
    return ok;
}

void Apply(const TimedEvent& e, HWND hwnd, uint32_t frame, const uint32_t* pixels, int width, int height,
           int pitch) {
    const auto& w = e.words;
    const std::string& what = w[0];
    if (what == "key" && w.size() >= 3) {
        int vk = VirtualKeyFromName(w[2]);
        bool down = Lower(w[1]) == "down";
        if (vk <= 0) {
            Log("unknown key " + w[2]);
            return;
        }
        Log("frame " + std::to_string(e.frame) + ": key " + (down ? "down " : "up ") + w[2]);
        InjectKey(hwnd, vk, down);
    } else if (what == "joy" && w.size() >= 4) {
        // The virtual joystick: "joy axis X|Y VALUE" (0..65535) or "joy button N down|up" (1..32).
        bool ok = audio::AttachVirtualJoystick() >= 0;
        std::string kind = Lower(w[1]);
        if (ok && kind == "axis") {
            std::string a = Lower(w[2]);
            int axis = a == "x" ? 0 : a == "y" ? 1 : std::atoi(a.c_str());
            ok = audio::SetVirtualJoystickAxis(axis, std::atoi(w[3].c_str()));
        } else if (ok && kind == "button") {
            ok = audio::SetVirtualJoystickButton(std::atoi(w[2].c_str()) - 1, Lower(w[3]) == "down");
        } else {
            ok = false;
        }
        Log("frame " + std::to_string(e.frame) + ": joy " + w[1] + " " + w[2] + " " + w[3] + (ok ? "" : " FAILED"));
    } else if (what == "capture" && w.size() >= 2) {
        std::string path = w[1];
        if (!path.empty() && path[0] != '/') path = g_folder + "/" + path;
        if (!pixels) {
            Log("frame " + std::to_string(frame) + ": nothing to capture for " + path);
            return;
        }
        bool ok = WritePng(path, pixels, width, height, pitch);
        Log("frame " + std::to_string(frame) + ": capture " + path + (ok ? "" : " FAILED"));
    } else if (what == "close") {
        Log("frame " + std::to_string(frame) + ": close");
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    } else if (what == "post" && w.size() >= 4) {
        UINT msg = (UINT)std::strtoul(w[1].c_str(), nullptr, 0);
        WPARAM wp = (WPARAM)std::strtoull(w[2].c_str(), nullptr, 0);
        LPARAM lp = (LPARAM)std::strtoll(w[3].c_str(), nullptr, 0);
        Log("frame " + std::to_string(frame) + ": post " + w[1]);
        PostMessageA(hwnd, msg, wp, lp);
    } else {
        Log("event not understood: " + what);
    }
}

}  // namespace

bool Active() {
    std::lock_guard<std::mutex> lock(g_m);
    return g_loaded;
}

bool Load() {
    std::lock_guard<std::mutex> lock(g_m);
    if (g_tried) return g_loaded;
    g_tried = true;
    const char* path = std::getenv("VELMORA_SCRIPT");
    if (!path || !*path) return false;
    std::ifstream f(path);
    if (!f) {
        std::fprintf(stderr, "[script] cannot read %s\n", path);
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    std::string p = path;
    auto slash = p.rfind('/');
    std::string folder = slash == std::string::npos ? "." : p.substr(0, slash);
    return ParseLocked(ss.str(), folder);
}

bool LoadText(const std::string& text, const std::string& folder) {
    std::lock_guard<std::mutex> lock(g_m);
    g_tried = true;
    return ParseLocked(text, folder);
}

void Reset() {
    std::lock_guard<std::mutex> lock(g_m);
    g_loaded = false;
    g_tried = true;
    g_events.clear();
    g_answers.clear();
}

bool TakeMessageBoxAnswer(const std::string& caption, const std::string& text, UINT type, int* answer) {
    (void)type;
    std::lock_guard<std::mutex> lock(g_m);
    if (!g_loaded) return false;
    for (Answer& a : g_answers) {
        if (a.used || a.kind != "msgbox") continue;
        if (a.args.size() >= 2) {
            std::string want = Utf8ToCp932(a.args[1]);
            if (text.find(want) == std::string::npos && caption.find(want) == std::string::npos) continue;
        }
        a.used = true;
        *answer = AnswerCode(a.args[0]);
        return true;
    }
    return false;
}

bool TakeAnswer(const std::string& kind, std::vector<std::string>* args) {
    std::lock_guard<std::mutex> lock(g_m);
    if (!g_loaded) return false;
    std::string k = Lower(kind);
    for (Answer& a : g_answers) {
        if (a.used || a.kind != k) continue;
        a.used = true;
        if (args) *args = a.args;
        return true;
    }
    return false;
}

bool CaptureAt(uint32_t frame) {
    std::lock_guard<std::mutex> lock(g_m);
    if (!g_loaded) return false;
    for (const TimedEvent& e : g_events)
        if (e.frame == frame && e.words[0] == "capture") return true;
    return false;
}

void OnPresent(HWND hwnd, uint32_t frame, const uint32_t* pixels, int width, int height, int pitch) {
    std::vector<TimedEvent> due;
    {
        std::lock_guard<std::mutex> lock(g_m);
        if (!g_loaded) return;
        for (const TimedEvent& e : g_events) {
            bool atThis = e.frame == frame && (e.words[0] == "capture" || e.words[0] == "close");
            bool beforeNext = e.frame == frame + 1 && e.words[0] != "capture" && e.words[0] != "close";
            if (atThis || beforeNext) due.push_back(e);
        }
    }
    // Captures first, so a capture and a close at one frame both see the frame.
    std::stable_sort(due.begin(), due.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return (a.words[0] == "capture") > (b.words[0] == "capture");
    });
    for (const TimedEvent& e : due) Apply(e, hwnd, frame, pixels, width, height, pitch);
}

void OnStart(HWND hwnd) {
    std::vector<TimedEvent> due;
    {
        std::lock_guard<std::mutex> lock(g_m);
        if (!g_loaded) return;
        for (const TimedEvent& e : g_events)
            if (e.frame == 0 && e.words[0] != "capture" && e.words[0] != "close") due.push_back(e);
    }
    for (const TimedEvent& e : due) Apply(e, hwnd, 0, nullptr, 0, 0, 0);
}

std::string FilePath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    std::lock_guard<std::mutex> lock(g_m);
    return (g_folder.empty() ? std::string(".") : g_folder) + "/" + name;
}

void Log(const std::string& utf8) { std::fprintf(stderr, "[script] %s\n", utf8.c_str()); }

int KeyFromName(const std::string& name) { return VirtualKeyFromName(name); }

}  // namespace host::script
