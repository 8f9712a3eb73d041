// Playlist files as other players, phones and tools write them, read through a
// stand-in for the system; and the program's own file, read as it writes it.
#include "playlist/playlist_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "playlist_fakes.h"

namespace {

// Narrow literals are GBK here (the program's execution character set).
std::string U8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return std::toupper(c); });
    return text;
}

// A code page that spells ASCII and 歌; one Korean name with a short name; lists
// found whatever the case of their names.
class FakeFiles final : public PlaylistFiles {
public:
    bool Read(const std::string& path, std::string& bytes, std::string& identity) override {
        const auto found = lists.find(identity = Upper(path));
        return found != lists.end() && (bytes = found->second, true);
    }
    std::string AnsiPath(const std::string& utf8) override {
        if (utf8 == U8(u8"C:\\lists\\노래.mp3")) return "C:\\lists\\B7A1~1.MP3";
        const std::string ansi = AnsiText(utf8);
        return ansi.find('?') == std::string::npos ? ansi : "";
    }
    std::string Utf8Path(const std::string& ansi) override { return ansi; }
    std::string AnsiText(const std::string& utf8) override {
        std::string ansi;
        for (size_t i = 0; i < utf8.size(); ++i) {
            if ((utf8[i] & 0x80) == 0) {
                ansi += utf8[i];
            } else if ((utf8[i] & 0x40) != 0) {
                ansi += utf8.substr(i, 3) == U8(u8"歌") ? "歌" : "?";
            }
        }
        return ansi;
    }
    std::map<std::string, std::string> lists = {{"C:\\LISTS\\SUB\\INNER.M3U8", U8(u8"../up.mp3\r\n歌.mp3\r\n") + "\xFF"},
                                                {"C:\\LISTS\\LOOP.M3U", "again.mp3\r\nmix.m3u\r\n"}};
};

struct ReadCase {
    const char* fault;
    std::string bytes;
    // Tracks one a line, as "path" or "path|title"; then "!path" for each refused.
    std::string read;
    std::string path = "C:\\lists\\mix.m3u";
    ListOrigin origin = ListOrigin::Elsewhere;
};

TEST(ReadPlaylist, ReadsListsMadeElsewhereWholeAndItsOwnAsWritten) {
    const std::string k5000 = "C:\\" + std::string(4997, 'x');
    const ReadCase cases[] = {
        {"relative entries, with \\ or /, taken from the current folder", "a\\b.mp3\r\na/c.mp3\r\n./d.mp3",
         "C:\\lists\\a\\b.mp3\nC:\\lists\\a\\c.mp3\nC:\\lists\\d.mp3"},
        {".. left in, or climbing above the drive", "..\\m\\e.mp3\r\n../../../f.mp3\r\nx\\..\\g.mp3",
         "C:\\m\\e.mp3\nC:\\f.mp3\nC:\\lists\\g.mp3"},
        {"absolute, drive-relative, UNC and URL entries rewritten; \\m off the list's drive",
         "D:\\m\\a.mp3\r\nC:/M/a.mp3\r\nD:a.mp3\r\n\\\\srv\\s\\a.mp3\r\nhttp://h/a.mp3\r\n\\m\\r.mp3",
         "D:\\m\\a.mp3\nC:/M/a.mp3\nD:a.mp3\n\\\\srv\\s\\a.mp3\nhttp://h/a.mp3\nC:\\m\\r.mp3"},
        {".. climbing above the share", "..\\..\\..\\a.mp3\r\n\\b.mp3", "\\\\srv\\s\\a.mp3\n\\\\srv\\s\\b.mp3",
         "\\\\srv\\s\\lists\\mix.m3u"},
        {"a BOM turning #EXTM3U into a track", "\xEF\xBB\xBF#EXTM3U\r\na.mp3", "C:\\lists\\a.mp3"},
        {"a BOM left on the first path", "\xEF\xBB\xBF" + U8(u8"歌.mp3"), "C:\\lists\\歌.mp3"},
        {"a .m3u8 without BOM read as GBK", U8(u8"歌.mp3\r\n") + "歌x.mp3",
         "C:\\lists\\歌.mp3\n!C:\\lists\\歌x.mp3", "C:\\lists\\mix.M3U8"},
        {"a GBK .m3u read as UTF-8", "歌.mp3", "C:\\lists\\歌.mp3"},
        {"a UTF-8 .m3u read as GBK", U8(u8"歌.mp3"), "C:\\lists\\歌.mp3"},
        {"GBK taken for UTF-8 in an overlong form", "\xE0\x80\xAF.mp3", "C:\\lists\\\xE0\x80\xAF.mp3"},
        {"the program's own GBK list guessed to be UTF-8", "说.mp3", "说.mp3", "Data\\PlayList.m3u", ListOrigin::Own},
        {"UTF-16 LE not decoded", Utf16(u"#EXTM3U\r\na.mp3\r\n歌.mp3", false), "C:\\lists\\a.mp3\nC:\\lists\\歌.mp3"},
        {"UTF-16 BE not decoded", Utf16(u"a.mp3\r\n歌.mp3", true), "C:\\lists\\a.mp3\nC:\\lists\\歌.mp3"},
        {"#EXTINF lost, or titling more than the next track",
         "#EXTINF:300,Artist - Title \r\n#EXTGRP:x\r\nx.mp3\r\ny.mp3\r\n#EXTINF:1,\r\nz.mp3",
         "C:\\lists\\x.mp3|Artist - Title\nC:\\lists\\y.mp3\nC:\\lists\\z.mp3"},
        {"a name outside the code page not by its short name, or stopping the list",
         "\xEF\xBB\xBF" + U8(u8"#EXTINF:5,歌 노래\r\n노래.mp3\r\n없음.mp3\r\nb.mp3"),
         "C:\\lists\\B7A1~1.MP3|歌 ??\nC:\\lists\\b.mp3\n!" + U8(u8"C:\\lists\\없음.mp3")},
        {"a 5,000-byte line split", k5000 + "\r\nb.mp3", k5000 + "\nC:\\lists\\b.mp3"},
        {"a line of blanks making a row", "  \t \r\n\r\na.mp3", "C:\\lists\\a.mp3"},
        {"a list in a list taken for a track, or read from the wrong folder or encoding",
         "first.mp3\r\nsub\\inner.m3u8\r\nlast.mp3",
         "C:\\lists\\first.mp3\nC:\\lists\\up.mp3\nC:\\lists\\sub\\歌.mp3\nC:\\lists\\last.mp3\n!C:\\lists\\sub\\\xFF"},
        {"a list naming itself or one read before read again",
         "a.mp3\r\nMIX.M3U\r\n..\\lists\\mix.m3u\r\nloop.m3u\r\nloop.m3u\r\nmissing.m3u\r\nb.mp3",
         "C:\\lists\\a.mp3\nC:\\lists\\again.mp3\nC:\\lists\\b.mp3"},
        {"the program's own list resolved, or not read as the C runtime's text mode reads it",
         "Tunes\\a.mp3\r\na\rb.mp3\r\r\nc.mp3\x1A\r\nd.mp3", "Tunes\\a.mp3\na\rb.mp3\r\nc.mp3", "Data\\PlayList.m3u",
         ListOrigin::Own},
    };
    for (const ReadCase& c : cases) {
        FakeFiles files;
        files.lists[Upper(c.path)] = c.bytes;
        const PlaylistSource list{c.path, c.bytes, Upper(c.path), c.origin, c.path.ends_with("8")};
        const PlaylistRead read = ReadPlaylist(files, list, GbkLeadByte);
        std::string seen;
        for (const ListedTrack& track : read.tracks) {
            seen += (seen.empty() ? "" : "\n") + track.path + (track.title.empty() ? "" : "|" + track.title);
        }
        for (const std::string& refused : read.unnameable) seen += "\n!" + refused;
        EXPECT_EQ(seen, c.read) << c.fault;
    }
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
