// Decoded audio against the reference decoder (`mpg123 -s` on Linux) for each kind of
// MPEG audio the fixtures cover.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

class DecodeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DecodeTest, MatchesTheReferenceSampleForSample) {
    const std::string file = GetParam();
    const std::string played = "decoded-" + file + ".raw";
    ASSERT_TRUE(PlayToEnd(("audio\\" + file).c_str(), TheCapture(played, false), 60000));
    TheCapture("", false);
    const auto decoded = ReadSamples(played);
    const auto reference = ReadSamples("audio\\" + file + ".raw");
    ASSERT_FALSE(reference.empty());
    EXPECT_EQ(decoded.size(), reference.size());
    EXPECT_GE(SnrDb(reference, decoded), 80.0);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DecodeTest,
                         ::testing::Values("cbr128.mp3", "vbr-xing.mp3", "vbr-noxing.mp3", "mono22.mp3", "lsf22.mp3",
                                           "mpeg25-8k.mp3", "layer2.mp2"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
