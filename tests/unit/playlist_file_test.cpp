// The playlist file's bytes, read as the Windows C runtime's text mode reads them,
// and written a line at a time.
#include "playlist/playlist_file.h"

#include <gtest/gtest.h>

#include "playlist_fakes.h"

namespace {

using Pieces = std::vector<std::string>;

TEST(ReadPlaylistPieces, HandsOnWhatAddFileGets) {
    const std::string k1500(1500, 'p'), k1022(1022, 'q');
    const std::pair<std::string, Pieces> cases[] = {
        {"a.mp3\r\nb.mp3\r\n", {"a.mp3", "b.mp3", ""}},  // CR LF lines, then an empty piece
        {"a.mp3\nb.mp3\n", {"a.mp3", "b.mp3", ""}},
        {"a.mp3\r\nb.mp3", {"a.mp3", "b.mp3"}},
        {"", {""}},
        {k1500, {k1500.substr(0, 1022), k1500.substr(1022)}},  // a long line in pieces
        {k1022 + "\r\n", {k1022, "", ""}},
        {"a.mp3\r\n\x1A"
         "b.mp3\r\n",
         {"a.mp3", ""}},                         // Ctrl+Z ends the file
        {"a\rb.mp3\r\r\n", {"a\rb.mp3\r", ""}},  // a lone CR stays
        {"..\\x.mp3\r\n#y.mp3", {"..\\x.mp3", "#y.mp3"}},
        {"\xB8\xE8\\\x5C.mp3", {"\xB8\xE8\\\x5C.mp3"}},  // GBK bytes untouched
    };
    for (const auto& [bytes, pieces] : cases) EXPECT_EQ(ReadPlaylistPieces(bytes), pieces) << bytes.substr(0, 20);
}

// Lines that could never play make no entry; everything else is kept, even when its
// file is not there today.
TEST(IsTrackLine, LeavesOutBlanksCommentsAndDevices) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\m\\a.mp3", true},       {"..\\x.mp3", true},          {"", false},
        {"#EXTM3U", false},             {"#EXTINF:61,b - a", false},  {"CON", false},
        {"nul", false},                 {"C:\\m\\NUL.mp3", false},   {"\\\\.\\PhysicalDrive0", false},
        {"C:\\m\\com1.mp3", false},    {"C:\\m\\com10.mp3", true},  {"C:\\m\\CONCERT.mp3", true},
        {"\\\\server\\share\\a.mp3", true},
        // 縗 (BF 5C) ends in a byte that looks like '\': "縗NUL" is a name, not NUL.
        {"C:\\m\\\xBF\x5CNUL", true},
    };
    for (const auto& [line, track] : cases) EXPECT_EQ(IsTrackLine(line, GbkLeadByte), track) << line;
}

}  // namespace
