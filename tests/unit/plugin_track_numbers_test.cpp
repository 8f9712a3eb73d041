// The numbers a track reports: average bit rate and elapsed seconds.
#include <gtest/gtest.h>

#include "../../plugins/input/track_numbers.h"

namespace {

struct KbpsCase {
    const char* name;
    int64_t bytes;
    int64_t frames;
    int samplesPerFrame;
    int sampleRate;
    int kbps;
};

class AverageKbpsTest : public ::testing::TestWithParam<KbpsCase> {};

TEST_P(AverageKbpsTest, IsTheAudioBytesOverTheirPlayingTime) {
    const KbpsCase& c = GetParam();
    EXPECT_EQ(AverageKbps(c.bytes, c.frames, c.samplesPerFrame, c.sampleRate), c.kbps);
}

INSTANTIATE_TEST_SUITE_P(Streams, AverageKbpsTest,
                         ::testing::Values(
                             // 128 kbit/s at 44.1 kHz: frames of 417 and 418 bytes, 1152 samples each.
                             KbpsCase{"cbr_128", 417 * 100 + 49, 100, 1152, 44100, 128},
                             // 64 kbit/s at 22.05 kHz (MPEG-2): 576 samples in about 209 bytes.
                             KbpsCase{"mpeg2_64", 41796, 200, 576, 22050, 64},
                             KbpsCase{"vbr_mix", 100 * 418 + 100 * 626, 200, 1152, 44100, 160},
                             KbpsCase{"no_frames", 1000, 0, 1152, 44100, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ElapsedCounterTest, TellsEachNewWholeSecondOnce) {
    ElapsedCounter counter(1000);
    std::vector<int> told;
    for (int64_t frames : {0, 500, 999, 1000, 1000, 1500, 2999, 3000, 3001}) {
        if (const auto seconds = counter.Update(frames)) told.push_back(*seconds);
    }
    EXPECT_EQ(told, (std::vector<int>{1, 2, 3}));
}

TEST(ElapsedCounterTest, AJumpTellsOnlyTheLatest) {
    ElapsedCounter counter(1000);
    EXPECT_EQ(counter.Update(5200), 5);
    EXPECT_EQ(counter.Update(5900), std::nullopt);
}

}  // namespace
