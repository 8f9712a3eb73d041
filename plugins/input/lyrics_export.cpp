// GetLyrics: the lyrics inside a music file, for the program to time and show.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "ansi_text.h"
#include "decoder.h"

// A file of its own and a decoder of its own: nothing here touches the playing object.
// An allocation failure ends the process here rather than throwing into the program.
extern "C" int GetLyrics(const char* path, char* buffer, int capacity) noexcept {
    BufferedFile file;
    if (path == nullptr || !file.Open(path)) return 0;
    const std::unique_ptr<Decoder> decoder = OpenDecoder(file);
    const std::string lyrics = decoder != nullptr ? RecoveredUtf8(decoder->Lyrics()) : std::string();
    if (lyrics.empty()) return 0;
    const std::string text = "\xEF\xBB\xBF" + lyrics;
    if (buffer != nullptr && capacity > 0) memcpy(buffer, text.data(), std::min<size_t>(text.size(), capacity));
    return static_cast<int>(std::min<size_t>(text.size(), INT32_MAX));
}
