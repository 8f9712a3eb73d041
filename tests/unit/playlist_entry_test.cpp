// Titles made from file names.
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

}  // namespace
