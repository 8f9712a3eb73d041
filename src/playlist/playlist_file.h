// The playlist file: one path per line, CR LF line ends, read as the Windows C
// runtime's text mode reads it (CR LF to LF, 0x1A ends the file), in the encoding the
// file is written in. Platform-free: the system is reached through PlaylistFiles.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/ansi_code_page.h"

// Whose list a file is. The program's own (Data\PlayList.m3u) is read as the program
// writes it: in the ANSI code page unless a byte-order mark says otherwise, its
// relative entries left relative to the start folder. A list made elsewhere (chosen,
// dropped, or named in another list) may be UTF-8 without a mark, and its relative
// entries name files in its own folder.
enum class ListOrigin { Own, Elsewhere };

// How a file without a byte-order mark is read: in the ANSI code page, as UTF-8, or as
// UTF-8 when it holds bytes above 127 and all of it is valid UTF-8 (text in GBK
// almost never is), else in the code page.
enum class Unmarked { Ansi, Utf8, Guess };

struct PlaylistLines {
    bool unicode = false;  // UTF-8 lines; else the file's own bytes, ANSI
    std::vector<std::string> lines;
};

// The lines of the file, each whole whatever its length. A byte-order mark (UTF-8,
// UTF-16 LE or BE) decides the encoding and is dropped; UTF-16 comes back as UTF-8.
PlaylistLines ReadPlaylistLines(std::string_view fileBytes, Unmarked unmarked);

// Whether a line could name a track at all: not empty or blank, not a comment or a
// player's "#EXTINF" line, and not a device ("CON", "NUL.mp3", "\\.\PhysicalDrive0"),
// which could never play. Whether it names a folder is for the caller to ask the disk.
bool IsTrackLine(std::string_view line, LeadByteTest isLeadByte);

// What reading a list needs of the system.
class PlaylistFiles {
public:
    // A list named in another, read whole and never created; false when it cannot be
    // read. `identity` is the same for every spelling of one file (case, short name,
    // "..", a link), so that no list is read twice.
    virtual bool Read(const std::string& path, std::string& bytes, std::string& identity) = 0;
    // The ANSI spelling of a UTF-8 path that the plug-in can open: the code page's, or
    // the short name's where the code page lacks a character or the path is too long;
    // the code page's, too long, when there is no short name; empty when nothing
    // spells it.
    virtual std::string AnsiPath(const std::string& utf8) = 0;
    virtual std::string Utf8Path(const std::string& ansi) = 0;
    // A text to show: characters the code page lacks become '?'.
    virtual std::string AnsiText(const std::string& utf8) = 0;

protected:
    ~PlaylistFiles() = default;
};

// A list as it was chosen, dropped or found at start.
struct PlaylistSource {
    std::string path;  // ANSI
    std::string bytes;
    std::string identity;
    ListOrigin origin = ListOrigin::Elsewhere;
    // A ".m3u8" by its long name: the path may be the short name, whose extension
    // has three letters.
    bool utf8ByName = false;
};

struct ListedTrack {
    std::string path;   // ANSI, for AddFile
    std::string title;  // the list's "#EXTINF:seconds,title", ANSI; empty when none
};

struct PlaylistRead {
    std::vector<ListedTrack> tracks;
    // UTF-8 entries that neither the code page nor a short name can spell.
    std::vector<std::string> unnameable;
};

// The tracks of the list in order, a list named in it read in its place, once: a list
// that names itself or one read before is not read again. A list that cannot be read
// adds nothing.
PlaylistRead ReadPlaylist(PlaylistFiles& files, const PlaylistSource& list, LeadByteTest isLeadByte);

// The file a path names from `folder`: the path itself when it stands alone ("C:\...",
// "\\server\..."), else joined to the folder, "." and ".." taken out.
std::string PathFromFolder(const std::string& folder, std::string_view path, LeadByteTest isLeadByte);

// Appends one saved line: the path, then CR LF unless the path is empty.
void AppendPathLine(std::string& fileBytes, std::string_view path);
