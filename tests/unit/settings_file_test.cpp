// The settings file's bytes: what a start reads and what an exit writes.
#include <gtest/gtest.h>

#include "playback/settings_file.h"

namespace {

struct ReadCase {
    const char* name;
    std::string bytes;
    int loop, random, volume;
};

class ReadSettingsTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadSettingsTest, ReadsThreeLinesOfAtMostFourteenCharacters) {
    const ReadCase& c = GetParam();
    const Settings settings = ReadSettings(c.bytes);
    EXPECT_EQ(settings.loop, c.loop);
    EXPECT_EQ(settings.random, c.random);
    EXPECT_EQ(settings.volume, c.volume);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSettingsTest,
    ::testing::Values(ReadCase{"no_file_or_empty", "", 0, 0, 50}, ReadCase{"both_on_volume_zero", "1\r\n1\r\n0", 1, 1, 50},
                      ReadCase{"lf_only", "0\n1\n35\n", 0, 1, 35},
                      ReadCase{"loud_and_negative_kept", "2\r\n0\r\n150", 2, 0, 150},
                      // The 14th character ends the first read; its line end is the second.
                      ReadCase{"fourteen_character_first_line", "00000000000001\r\n1\r\n80", 1, 0, 1},
                      ReadCase{"ends_after_two_lines", "1\r\n1\r\n", 1, 1, 50},
                      ReadCase{"blanks_and_junk", "  1x\r\nabc\r\n +7", 1, 0, 7},
                      ReadCase{"beyond_32_bits_held", "0\r\n0\r\n99999999999999", 0, 0, 2147483647}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsBytes, AreTheEightBytesOfLoopOnRandomOffVolume80) {
    EXPECT_EQ(SettingsBytes({1, 0, 80}), std::string("\x31\x0D\x0A\x30\x0D\x0A\x38\x30"));
    EXPECT_EQ(SettingsBytes({0, 1, -5}), "0\r\n1\r\n-5");
}

}  // namespace
