// Decoded audio against the reference decoder (`mpg123 -s` on Linux) for each kind of
// MPEG audio the fixtures cover.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

TEST(DecodeTest, MatchesTheReferenceSampleForSample) {
    for (const std::string file :
         {"cbr128.mp3", "vbr-xing.mp3", "vbr-noxing.mp3", "mono22.mp3", "lsf22.mp3", "mpeg25-8k.mp3", "layer2.mp2"}) {
        SCOPED_TRACE(file);
        const std::string played = "decoded-" + file + ".raw";
        ASSERT_TRUE(PlayToEnd(("audio\\" + file).c_str(), TheCapture(played, false), 60000));
        TheCapture("", false);
        const auto decoded = ReadSamples(played);
        const auto reference = ReadSamples("audio\\" + file + ".raw");
        ASSERT_FALSE(reference.empty());
        EXPECT_EQ(decoded.size(), reference.size());
        EXPECT_GE(SnrDb(reference, decoded), 80.0);
    }
}

}  // namespace
