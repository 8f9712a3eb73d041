#include "playlist/playlist_file.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "playlist/drop_rule.h"
#include "playlist/text_mode.h"
#include "text/unicode_text.h"

namespace {

// The names Windows keeps for devices in every folder, with any extension.
bool IsDeviceName(std::string_view name) {
    std::string base;
    for (char c : name.substr(0, name.find('.'))) base += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
        if (base == device) return true;
    }
    const bool numbered = base.starts_with("COM") || base.starts_with("LPT");
    return numbered && base.size() == 4 && base[3] >= '1' && base[3] <= '9';
}

// In UTF-8 every byte of a character is above 127, so none looks like a separator.
bool NoLeadBytes(unsigned char) {
    return false;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

size_t NextSeparator(std::string_view path, size_t at, LeadByteTest isLeadByte) {
    while (at < path.size() && !IsSeparator(path[at])) at += isLeadByte(static_cast<unsigned char>(path[at])) ? 2 : 1;
    return std::min(at, path.size());
}

// A path taken apart: what ".." cannot climb above ("C:\", "\\server\share", "C:", "\",
// or nothing), then the names.
struct PathParts {
    std::string root;
    std::vector<std::string> names;
};

PathParts Split(std::string_view path, LeadByteTest isLeadByte) {
    size_t rootEnd = 0;
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
        rootEnd = path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        rootEnd = NextSeparator(path, NextSeparator(path, 2, isLeadByte) + 1, isLeadByte);
    } else if (!path.empty() && IsSeparator(path[0])) {
        rootEnd = 1;
    }
    PathParts parts{std::string(path.substr(0, rootEnd)), {}};
    for (size_t at = rootEnd; at < path.size();) {
        const size_t end = NextSeparator(path, at, isLeadByte);
        if (end > at) parts.names.emplace_back(path.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

std::string Join(const PathParts& parts) {
    std::string path = parts.root;
    // After "C:" a name is drive-relative.
    bool separate = !path.empty() && !IsSeparator(path.back()) && path.back() != ':';
    for (const std::string& name : parts.names) {
        if (separate) path += '\\';
        path += name;
        separate = true;
    }
    return path;
}

// Entries that name their file wherever the list lies: "C:\...", "C:..." (from that
// drive's current folder), "\\server\share\..." and URLs.
bool StandsAlone(std::string_view entry) {
    if (entry.size() >= 2 && IsAsciiLetter(entry[0]) && entry[1] == ':') return true;
    if (entry.size() >= 2 && IsSeparator(entry[0]) && IsSeparator(entry[1])) return true;
    const size_t scheme = entry.find("://");
    return scheme != std::string_view::npos && scheme >= 2 &&
           std::all_of(entry.begin(), entry.begin() + scheme, IsAsciiLetter);
}

// The entry as the program opens it: a relative one from the folder of `listPath`,
// with "." and ".." taken out; "\Music\a.mp3" on the list's own drive.
std::string EntryPath(std::string_view listPath, std::string_view entry, LeadByteTest isLeadByte) {
    if (StandsAlone(entry)) return std::string(entry);
    PathParts path = Split(listPath, isLeadByte);
    if (!path.names.empty()) path.names.pop_back();  // the list's own name
    const PathParts relative = Split(entry, isLeadByte);
    // A list in the current folder: its entries name their files from there already.
    if (path.root.empty() && (path.names.empty() || !relative.root.empty())) return std::string(entry);
    if (!relative.root.empty()) {
        path.names.clear();
        if (path.root.back() == ':') path.root += '\\';
    }
    for (const std::string& name : relative.names) {
        if (name == ".") continue;
        if (name != "..") {
            path.names.push_back(name);
        } else if (!path.names.empty() && path.names.back() != "..") {
            path.names.pop_back();
        } else if (path.root.empty()) {
            path.names.push_back(name);
        }
    }
    return Join(path);
}

bool IsExtinf(std::string_view line) {
    constexpr std::string_view kExtinf = "#EXTINF:";
    if (line.size() < kExtinf.size()) return false;
    for (size_t i = 0; i < kExtinf.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(line[i])) != kExtinf[i]) return false;
    }
    return true;
}

// "#EXTINF:seconds,title": the title, without the blanks around it.
std::string ExtinfTitle(std::string_view line) {
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) return {};
    std::string_view title = line.substr(comma + 1);
    const size_t first = title.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(title.substr(first, title.find_last_not_of(" \t") - first + 1));
}

}  // namespace

bool IsTrackLine(std::string_view line, LeadByteTest isLeadByte) {
    if (line.find_first_not_of(" \t") == std::string_view::npos) return false;
    if (line.front() == '#' || line.starts_with("\\\\.\\")) return false;
    // The last component, found by characters: a double-byte character's second byte
    // may be a backslash.
    size_t nameStart = 0;
    for (size_t i = 0; i < line.size(); i += isLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1) {
        if (line[i] == '\\' || line[i] == '/' || line[i] == ':') nameStart = i + 1;
    }
    return !IsDeviceName(line.substr(std::min(nameStart, line.size())));
}

PlaylistLines ReadPlaylistLines(std::string_view bytes, Unmarked unmarked) {
    PlaylistLines read;
    std::string decoded;
    if (const auto marked = MarkedUnicode(bytes, decoded)) {
        read.unicode = true;
        bytes = *marked;
    } else if (unmarked == Unmarked::Guess) {
        const bool high = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
        read.unicode = high && IsValidUtf8(bytes);
    } else {
        read.unicode = unmarked == Unmarked::Utf8;
    }
    TextModeReader reader(bytes);
    while (!reader.EndMet()) read.lines.push_back(reader.ReadLine(std::string::npos));
    return read;
}

PlaylistRead ReadPlaylist(PlaylistFiles& files, const PlaylistSource& list, LeadByteTest isLeadByte) {
    struct Reading {
        std::string path;  // ANSI
        PlaylistLines text;
        std::string textPath;  // the path in the encoding of its lines
        size_t next = 0;
        std::string title;  // from the last "#EXTINF", for the next track
    };
    auto reading = [&](const std::string& path, std::string_view bytes, Unmarked unmarked) {
        Reading opened{path, ReadPlaylistLines(bytes, unmarked), path, 0, {}};
        if (opened.text.unicode) opened.textPath = files.Utf8Path(path);
        return opened;
    };
    PlaylistRead read;
    std::set<std::string> seen{list.identity};
    const Unmarked unmarked = list.origin == ListOrigin::Own ? Unmarked::Ansi
                              : list.utf8ByName              ? Unmarked::Utf8
                                                             : Unmarked::Guess;
    // Lists named in lists are read in a stack of their own: a chain of thousands
    // must not use up the call stack.
    std::vector<Reading> open;
    open.push_back(reading(list.path, list.bytes, unmarked));
    while (!open.empty()) {
        Reading& at = open.back();
        if (at.next == at.text.lines.size()) {
            open.pop_back();
            continue;
        }
        std::string& line = at.text.lines[at.next++];
        const LeadByteTest lead = at.text.unicode ? NoLeadBytes : isLeadByte;
        if (IsExtinf(line)) {
            at.title = ExtinfTitle(line);
            continue;
        }
        if (!IsTrackLine(line, lead)) continue;
        std::string title = std::move(at.title);
        at.title.clear();
        const bool relativeToList = open.size() > 1 || list.origin == ListOrigin::Elsewhere;
        // Each line is taken once: moved, not copied, on a list of many thousands.
        std::string entry = relativeToList ? EntryPath(at.textPath, line, lead) : std::move(line);
        std::string path;
        if (at.text.unicode) {
            path = files.AnsiPath(entry);
            title = files.AnsiText(title);
            if (path.empty()) {
                read.unnameable.push_back(entry);
                continue;
            }
        }
        if (!at.text.unicode) path = std::move(entry);
        const std::string& named = at.text.unicode ? entry : path;  // as the list spells it
        if (KindOfFile(named.c_str(), lead) == FileKind::Playlist) {
            std::string bytes, identity;
            if (files.Read(path, bytes, identity) && seen.insert(identity).second) {
                const bool utf8 = IsUtf8PlaylistName(named.c_str(), lead);
                open.push_back(reading(path, bytes, utf8 ? Unmarked::Utf8 : Unmarked::Guess));  // `at` goes
            }
            continue;
        }
        read.tracks.push_back({std::move(path), std::move(title)});
    }
    return read;
}

std::string PathFromFolder(const std::string& folder, std::string_view path, LeadByteTest isLeadByte) {
    return EntryPath(folder + "\\.", path, isLeadByte);  // as if from a list in that folder
}

void AppendPathLine(std::string& fileBytes, std::string_view path) {
    fileBytes += path;
    if (!path.empty()) fileBytes += "\r\n";
}
