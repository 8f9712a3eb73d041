#include "app/sing_along.h"

#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "app/title_balloon.h"
#include "lyrics/lyrics.h"
#include "playback/control_panel.h"
#include "playback/plugin_loader.h"
#include "text/ansi_code_page.h"

namespace {

// The timer looks at the heard time at least this often, so that a device whose clock
// runs apart from the timer's cannot hold a line back for long.
constexpr int64_t kLongestWaitMs = 2000;
// What the balloon shows of a longer line: it has to stay on the screen.
constexpr size_t kLongestLineBytes = 512;

std::string playingPath;  // empty while no track is open
UINT starts = 0;          // a reading for an earlier start is dropped
std::unique_ptr<LyricTimeline> timeline;
// The input plug-in's count of what has been heard, when it has one.
PlayedMsExport playedMs = nullptr;

struct Reading {
    std::string path;
    UINT start;
    HWND window;
    LyricsExport fromPlugin;
    HMODULE plugin;  // held while the thread may call into it
};

// The first `most` bytes of the file; nothing when it cannot be opened.
std::optional<std::string> ReadStart(const std::string& path, int64_t most) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(std::clamp<int64_t>(size.QuadPart, 0, most)), '\0');
    size_t total = 0;
    DWORD read = 0;
    while (total < bytes.size() &&
           ReadFile(file, bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &read, nullptr) && read > 0) {
        total += read;
    }
    CloseHandle(file);
    bytes.resize(total);
    return bytes;
}

// A line as the balloon shows it: in the ANSI code page, "?" for what it cannot spell.
std::string Shown(const std::string& text, bool utf8) {
    bool lossy = false;
    std::string ansi = utf8 ? WideToAnsi(ToWide(text, CP_UTF8, false), lossy) : text;
    ansi.resize(WholeCharacters(ansi.data(), ansi.size(), kLongestLineBytes, IsAnsiLeadByte));
    return ansi;
}

// One more byte than is read: the reader then knows where a file was cut.
Lyrics ReadLyrics(const Reading& reading) {
    const std::string& path = reading.path;
    const std::string base = path.substr(0, PathFindExtensionA(path.c_str()) - path.c_str());
    Lyrics lyrics;
    for (const char* extension : {".lrc", ".LRC"}) {
        if (const auto bytes = ReadStart(base + extension, kLyricBytesRead + 1)) {
            lyrics = ReadLrc(*bytes);
            break;
        }
    }
    if (lyrics.lines.empty() && reading.fromPlugin != nullptr) {
        std::string bytes(static_cast<size_t>(kLyricBytesRead + 1), '\0');
        const int size = reading.fromPlugin(path.c_str(), bytes.data(), static_cast<int>(bytes.size()));
        bytes.resize(std::clamp<size_t>(static_cast<size_t>(std::max(size, 0)), 0, bytes.size()));
        lyrics = ReadLrc(bytes);
    }
    for (LyricLine& line : lyrics.lines) line.text = Shown(line.text, lyrics.utf8);
    return lyrics;
}

DWORD WINAPI ReadingThread(void* parameter) {
    const std::unique_ptr<Reading> reading(static_cast<Reading*>(parameter));
    auto read = std::make_unique<LyricTimeline>(ReadLyrics(*reading).lines);
    if (reading->plugin != nullptr) FreeLibrary(reading->plugin);
    if (PostMessageA(reading->window, kLyricsReadMessage, reading->start, reinterpret_cast<LPARAM>(read.get()))) {
        read.release();  // the window's now
    }
    return 0;
}

// A large file, or one on a share that is slow to answer, must not hold up the window.
void StartReading(HWND character) {
    auto reading = std::make_unique<Reading>(Reading{playingPath, starts, character, nullptr, nullptr});
    reading->fromPlugin = reinterpret_cast<LyricsExport>(pluginLoader.InputExport(kInputHasLyrics, "GetLyrics"));
    if (reading->fromPlugin != nullptr) {
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(reading->fromPlugin),
                           &reading->plugin);
    }
    HANDLE thread = CreateThread(nullptr, 0, ReadingThread, reading.get(), 0, nullptr);
    if (thread == nullptr) {
        if (reading->plugin != nullptr) FreeLibrary(reading->plugin);
        return;
    }
    reading.release();  // the thread's now
    CloseHandle(thread);
}

// Without the plug-in's count, the whole seconds it reports: a line then comes within
// a second of its time.
int64_t HeardMs() {
    return playedMs != nullptr ? playedMs() : int64_t{controlPanel.ShownSeconds()} * 1000;
}

void Silence(HWND character) {
    ++starts;
    timeline.reset();
    KillTimer(character, kLyricTimer);
    titleBalloon.Sing(character, "");
}

// The tick: one comparison while the line due stays the same; the timer then waits
// for the next change, not for a fixed period.
void SingTheDueLine(HWND character, bool playing) {
    const int64_t now = HeardMs();
    if (timeline->Advance(now)) {
        const std::string* line = timeline->Due();
        titleBalloon.Sing(character, line != nullptr ? *line : std::string());
    }
    const int64_t next = timeline->NextChange();
    if (!playing || playedMs == nullptr || next == LyricTimeline::kNever) {
        KillTimer(character, kLyricTimer);
        return;
    }
    const int64_t wait = std::clamp<int64_t>(next - now, USER_TIMER_MINIMUM, kLongestWaitMs);
    SetTimer(character, kLyricTimer, static_cast<UINT>(wait), nullptr);
}

}  // namespace

void SingTrack(HWND character, const char* path) {
    Silence(character);
    playingPath = path != nullptr ? path : "";
    playedMs = reinterpret_cast<PlayedMsExport>(pluginLoader.InputExport(kInputKnowsPlayedTime, "GetPlayedMs"));
    if (!playingPath.empty() && controlPanel.lyrics) StartReading(character);
}

void LyricsSwitched(HWND character) {
    if (!controlPanel.lyrics) return Silence(character);
    if (!playingPath.empty() && timeline == nullptr) StartReading(character);
}

void LookForTheLine(HWND character) {
    if (timeline == nullptr) return;
    SingTheDueLine(character, controlPanel.input != nullptr && controlPanel.input->GetState() == PlayerState::Playing);
}

void OnLyricsRead(HWND character, WPARAM start, LPARAM read) {
    std::unique_ptr<LyricTimeline> lines(reinterpret_cast<LyricTimeline*>(read));
    if (static_cast<UINT>(start) != starts || lines->Empty()) return;
    timeline = std::move(lines);
    LookForTheLine(character);
}

void OnLyricTimer(HWND character) {
    if (timeline != nullptr) SingTheDueLine(character, true);
}
