#include "playlist/playlist_file.h"

#include <algorithm>
#include <cctype>

#include "playlist/text_mode.h"

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

}  // namespace

bool IsTrackLine(std::string_view line, LeadByteTest isLeadByte) {
    if (line.empty() || line.front() == '#' || line.starts_with("\\\\.\\")) return false;
    // The last component, found by characters: a double-byte character's second byte
    // may be a backslash.
    size_t nameStart = 0;
    for (size_t i = 0; i < line.size(); i += isLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1) {
        if (line[i] == '\\' || line[i] == '/' || line[i] == ':') nameStart = i + 1;
    }
    return !IsDeviceName(line.substr(std::min(nameStart, line.size())));
}

std::vector<std::string> ReadPlaylistPieces(std::string_view fileBytes) {
    TextModeReader reader(fileBytes);
    std::vector<std::string> pieces;
    // The end of the file is looked for before each read, so a last line end is
    // followed by one more, empty, piece.
    while (!reader.EndMet()) pieces.push_back(reader.ReadLine(kPlaylistPieceBytes));
    return pieces;
}

void AppendPathLine(std::string& fileBytes, std::string_view path) {
    fileBytes += path;
    if (!path.empty()) fileBytes += "\r\n";
}
