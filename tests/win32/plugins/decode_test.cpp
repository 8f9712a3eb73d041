// Decoded audio against the reference decoder (`mpg123 -s` on Linux) for each kind of
// MPEG audio the fixtures cover, and each stream the output is opened for: its rate
// and its length in seconds. The reference decoder joins the two streams of a format
// change (one second of 8 kHz mono, then two of 44.1 kHz stereo) otherwise than a
// player must, so that file is checked by its streams alone.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "harness.h"

namespace {

TEST(DecodeTest, MatchesTheReferenceSampleForSampleInStreamsOfTheFilesRates) {
    const std::pair<std::string, std::string> cases[] = {
        {"cbr128.mp3", "44100x4"}, {"vbr-xing.mp3", "44100x6"}, {"vbr-noxing.mp3", "44100x6"},
        {"mono22.mp3", "22050x4"}, {"lsf22.mp3", "22050x4"},    {"mpeg25-8k.mp3", "8000x4"},
        {"layer2.mp2", "48000x4"}, {"format-change.mp3", "8000x1 44100x2"},
    };
    SetEnvironmentVariableA("WUZZLE_CAPTURE_LOG", "decoded.log");
    for (const auto& [file, streams] : cases) {
        SCOPED_TRACE(file);
        DeleteFileA("decoded.log");
        const std::string played = "decoded-" + file + ".raw";
        ASSERT_TRUE(PlayToEnd(("audio\\" + file).c_str(), TheCapture(played, false), 60000));
        TheCapture("", false);
        std::ifstream log("decoded.log");
        std::string opened;
        for (double micros, frames, rate; log >> micros >> frames >> rate;) {
            opened += std::to_string(int(rate)) + "x" + std::to_string(std::lround(frames / rate)) + " ";
        }
        EXPECT_EQ(opened, streams + " ");
        if (file == "format-change.mp3") continue;
        const auto decoded = ReadSamples(played);
        const auto reference = ReadSamples("audio\\" + file + ".raw");
        ASSERT_FALSE(reference.empty());
        EXPECT_EQ(decoded.size(), reference.size());
        EXPECT_LE(LargestDifference(reference, decoded), 2);
    }
    SetEnvironmentVariableA("WUZZLE_CAPTURE_LOG", nullptr);
}

}  // namespace
