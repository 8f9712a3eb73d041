// Titles made from file names, and lengths as the list shows them.
#include <gtest/gtest.h>

#include "playlist_fakes.h"

namespace {

std::string Title(const std::string& path) {
    char title[128];
    memset(title, 'x', sizeof(title));
    TitleFromFileName(title, path.c_str(), sizeof(title), GbkLeadByte);
    return title;
}

TEST(TitleFromFileName, IsTheFileNameWithoutItsExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Music\\Song.mp3", "Song"},   {"Song.mp3", "Song"},         {"C:\\Music\\Song", "Song"},
        {"C:\\Music\\a.b.mp3", "a.b"},     {"C:\\Music\\.mp3", ""},      {"C:\\My.Music\\Song", "Song"},
        {"", ""},
        // 歌 is B8 E8 and 表 is B1 ED; 縗 (BF 5C) ends in a byte that looks like '\'.
        {"C:\\\xB8\xE8.mp3", "\xB8\xE8"}, {"C:\\d\\\xBF\x5C\xB1\xED.mp3", "\xBF\x5C\xB1\xED"},
        {"C:\\ab\xB8", "ab"},  // a character cut off at the end goes
        {"C:/Music/Song.mp3", "Song"}, {"C:\\a.b/Song", "Song"},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(Title(path), title) << path;
}

TEST(TitleFromFileName, ALongNameIsCutToTheFieldBeforeAWholeCharacter) {
    EXPECT_EQ(Title("C:\\" + std::string(200, 'n') + ".mp3"), std::string(127, 'n'));
    // 'a' then double-byte characters: the 127th byte would be the first half of one.
    std::string name = "a";
    for (int i = 0; i < 80; ++i) name += "\xB8\xE8";
    EXPECT_EQ(Title("C:\\" + name + ".mp3"), name.substr(0, 127));
    EXPECT_EQ(Title("C:\\b" + name + ".mp3"), ("b" + name).substr(0, 126));
}

// A playlist file's line whose file cannot be opened today keeps its place; a file
// the user adds by hand is refused as before.
TEST(ReadTrackDetails, KeepsAPlaylistLineThatCannotBeOpenedAndRefusesTheUsersFile) {
    struct Case {
        const char* name;
        bool opens, fromPlaylist, kept, available;
        std::string calls, artist, title, length, listedTitle = "";
    };
    const Case cases[] = {
        {"added, opens", true, false, true, true, "Open(C:\\m\\a.mp3) Close ", "Artist", "Song", "03:20"},
        {"playlist line, opens", true, true, true, true, "Open(C:\\m\\a.mp3) Close ", "Artist", "Song", "03:20"},
        {"added, refused", false, false, false, true, "Open(C:\\m\\a.mp3) ", "", "", ""},
        {"playlist line, refused", false, true, true, false, "Open(C:\\m\\a.mp3) ", "", "a", "--:--"},
        // The list's #EXTINF title shows while the file cannot be opened, never over its tags.
        {"titled line, opens", true, true, true, true, "Open(C:\\m\\a.mp3) Close ", "Artist", "Song", "03:20",
         "Listed"},
        {"titled line, refused", false, true, true, false, "Open(C:\\m\\a.mp3) ", "", "Listed", "--:--", "Listed"},
    };
    for (const Case& c : cases) {
        FakeInput input;
        input.opens = c.opens;
        PlaylistEntry entry("C:\\m\\a.mp3");
        entry.listedTitle = c.listedTitle;
        EXPECT_EQ(ReadTrackDetails(input, entry, c.fromPlaylist, GbkLeadByte), c.kept) << c.name;
        EXPECT_EQ(input.calls, c.calls) << c.name;
        if (!c.kept) continue;
        EXPECT_EQ(entry.available, c.available) << c.name;
        EXPECT_EQ(std::string(entry.info.artist) + "|" + entry.info.title + "|" + LengthText(entry),
                  c.artist + "|" + c.title + "|" + c.length)
            << c.name;
        EXPECT_EQ(entry.info.bitrate + entry.info.sampleRate, c.available ? 128 + 44100 : 0) << c.name;
    }
}

}  // namespace
