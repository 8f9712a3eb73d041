// The playlist file's reader on any bytes: it ends, and every piece fits the buffer
// the program reads lines into.
#include <cstdint>
#include <cstdlib>

#include "playlist/playlist_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = ReadPlaylistPieces({reinterpret_cast<const char*>(data), size});
    if (pieces.empty()) abort();
    for (const std::string& piece : pieces) {
        if (piece.size() > kPlaylistPieceBytes) abort();
    }
    return 0;
}
