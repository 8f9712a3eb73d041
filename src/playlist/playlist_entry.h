// One music file of the playlist: what the input plug-in read from it, and its path
// exactly as it was added. Owned by its list row, which deletes it through the
// virtual destructor; nobody else keeps one.
#pragma once

#include <cstddef>
#include <string>

#include "playback/interface/plugin_interface.h"
#include "text/ansi_code_page.h"

class PlaylistEntry {
public:
    explicit PlaylistEntry(const char* path) : path(path) {}
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
};

// Reads the file's details through the plug-in (Open, then Close), with a title made
// from the file name when it has none. A file the plug-in refuses is kept only when
// `keepWhenRefused` (a line of a playlist file, whose file may be back tomorrow),
// marked unavailable; false means the entry is to be discarded.
bool ReadTrackDetails(InputPlugin& input, PlaylistEntry& entry, bool keepWhenRefused, LeadByteTest isLeadByte);

// What the plug-in reported for a file it opened (a title from the file name when
// empty), and the entry available again.
void TakeTrackDetails(PlaylistEntry& entry, const TrackInfo& info, LeadByteTest isLeadByte);

// No details but the listed title, or else the title from the file name: artist,
// length, bit rate and rate unknown.
void MarkUnavailable(PlaylistEntry& entry, LeadByteTest isLeadByte);

// The length column: "--:--" while the file cannot be opened.
std::string LengthText(const PlaylistEntry& entry);

// Writes the file name of `path` without its extension into `title` (capacity bytes,
// terminator included): after the last backslash or slash, before the last dot that
// follows it. Walks characters, not bytes, so the second byte of a double-byte
// character is never taken for a backslash, and a name too long for the field is cut
// before a whole character.
void TitleFromFileName(char* title, const char* path, size_t capacity, LeadByteTest isLeadByte);

// "%02d:%02d" of whole seconds; minutes are not limited (6000 s is 100:00).
std::string MinutesAndSeconds(int seconds);
