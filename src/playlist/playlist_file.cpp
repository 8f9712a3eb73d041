#include "playlist/playlist_file.h"

#include "playlist/text_mode.h"

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
