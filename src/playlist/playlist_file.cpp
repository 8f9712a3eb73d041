#include "playlist/playlist_file.h"

namespace {

std::string TextModeBytes(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\x1A') break;
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    return text;
}

}  // namespace

std::vector<std::string> ReadPlaylistPieces(std::string_view fileBytes) {
    const std::string text = TextModeBytes(fileBytes);
    std::vector<std::string> pieces;
    size_t at = 0;
    bool endMet = false;
    while (!endMet) {
        std::string piece;
        while (piece.size() < kPlaylistPieceBytes) {
            if (at == text.size()) {
                endMet = true;
                break;
            }
            const char byte = text[at++];
            if (byte == '\n') break;
            piece += byte;
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

void AppendPathLine(std::string& fileBytes, std::string_view path) {
    fileBytes += path;
    if (!path.empty()) fileBytes += "\r\n";
}
