// The settings file's bytes: what a start reads and what an exit writes.
#include "playback/settings_file.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadSettings, ReadsThreeLinesOfAtMostFourteenCharactersAndHoldsTheVolumeInRange) {
    struct Case {
        const char* name;
        std::string bytes;
        int loop, random, volume;
        int balloons = 1;  // three lines, as older programs wrote them, mean on
        int lyrics = 1;    // and so do four
    };
    const Case cases[] = {
        {"no file or empty", "", 0, 0, 50},
        {"both on, volume zero", "1\r\n1\r\n0", 1, 1, 50},
        {"lf only", "0\n1\n35\n", 0, 1, 35},
        {"odd switch kept, loud held", "2\r\n0\r\n150", 2, 0, 100},
        {"below silence read as none saved", "0\r\n0\r\n-5", 0, 0, 50},
        // The 14th character ends the first read; its line end is the second.
        {"fourteen-character first line", "00000000000001\r\n1\r\n80", 1, 0, 1},
        {"ends after two lines", "1\r\n1\r\n", 1, 1, 50},
        {"blanks and junk", "  1x\r\nabc\r\n +7", 1, 0, 7},
        {"beyond 32 bits held", "0\r\n0\r\n99999999999999", 0, 0, 100},
        {"balloons off", "0\r\n0\r\n5\r\n0", 0, 0, 5, 0},
        {"lyrics off", "0\r\n0\r\n5\r\n1\r\n0", 0, 0, 5, 1, 0},
    };
    auto fields = [](const Settings& s) { return std::vector<int>{s.loop, s.random, s.volume, s.balloons, s.lyrics}; };
    for (const Case& c : cases) {
        const Settings settings = ReadSettings(c.bytes);
        EXPECT_EQ(fields(settings), (std::vector<int>{c.loop, c.random, c.volume, c.balloons, c.lyrics})) << c.name;
        // What an exit writes, the next start reads the same.
        EXPECT_EQ(fields(ReadSettings(SettingsBytes(settings))), fields(settings)) << c.name;
    }
}

}  // namespace
