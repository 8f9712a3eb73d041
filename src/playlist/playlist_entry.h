// One music file of the playlist: what the input plug-in read from it, and its path
// exactly as it was added. Owned by the playlist; nobody else keeps one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "playback/interface/plugin_interface.h"
#include "text/ansi_code_page.h"

// What identifies a version of a file besides its path: its size and last-write
// time (100 ns units since 1601). A size of -1 stands for not known.
struct FileStamp {
    int64_t size = -1;
    int64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

// Where the details shown come from: nowhere yet (the title from the list or the file
// name, the rest blank), the cache (its file not yet looked at this run), or the file
// itself this run (or found unavailable).
enum class Details : uint8_t { Pending, Cached, Read };

class PlaylistEntry {
public:
    explicit PlaylistEntry(std::string path) : path(std::move(path)) {}
    virtual ~PlaylistEntry() = default;
    PlaylistEntry(const PlaylistEntry&) = delete;
    PlaylistEntry& operator=(const PlaylistEntry&) = delete;

    // Filled by the input plug-in's Open, every time the entry is opened.
    TrackInfo info{};
    std::string path;
    // False while the file cannot be opened (a stick that is out, a share that is
    // down): the entry keeps its place, shows no length and is passed over in play.
    bool available = true;
    // The title the playlist file's author gave it (#EXTINF), shown while the file
    // cannot be opened; the file's own tags take its place once it opens.
    std::string listedTitle;
    // Given by the playlist, never to another entry: a late answer about a file finds
    // its entry wherever the entry has moved, or finds none.
    uint32_t id = 0;
    Details details = Details::Read;
    // The version of the file `info` describes, when known: the cache's key with `path`.
    FileStamp stamp;
    // A line of a playlist file, whose file may be back tomorrow, stays when the file
    // cannot be opened; a file the user added goes.
    bool keepWhenRefused = true;
};

// What the plug-in reported for a file it opened (a title from the file name when
// empty), and the entry available again and read.
void TakeTrackDetails(PlaylistEntry& entry, const TrackInfo& info, LeadByteTest isLeadByte);

// No details but the listed title, or else the title from the file name: artist,
// length, bit rate and rate unknown.
void MarkUnavailable(PlaylistEntry& entry, LeadByteTest isLeadByte);
// The same for a file not yet read, which may well open.
void MarkPending(PlaylistEntry& entry, LeadByteTest isLeadByte);

// The artist column: "不明" for a file without one, blank while not yet read.
const char* ArtistText(const PlaylistEntry& entry);
// The length column: "--:--" while the file cannot be opened, blank while not yet read.
std::string LengthText(const PlaylistEntry& entry);

// Writes the file name of `path` without its extension into `title` (capacity bytes,
// terminator included): after the last backslash or slash, before the last dot that
// follows it. Walks characters, not bytes, so the second byte of a double-byte
// character is never taken for a backslash, and a name too long for the field is cut
// before a whole character.
void TitleFromFileName(char* title, const char* path, size_t capacity, LeadByteTest isLeadByte);

// "%02d:%02d" of whole seconds; minutes are not limited (6000 s is 100:00).
std::string MinutesAndSeconds(int seconds);
