// When an Info frame's counts are believed.
#include <gtest/gtest.h>

#include "../../plugins/input/mpeg_frames.h"

namespace {

// Four seconds at 128 kbit/s: 155 frames of 1152 samples in 65,200 bytes.
const FrameHeader kFirst = *ParseFrameHeader("\xFF\xFB\x90\x64");

struct CountsCase {
    const char* name;
    InfoFrame info;
    int64_t fileBytes;
    int64_t audioBytes;
    bool holds;
};

class InfoCountsTest : public ::testing::TestWithParam<CountsCase> {};

TEST_P(InfoCountsTest, HoldOnlyWhenTheFileAgrees) {
    const CountsCase& c = GetParam();
    EXPECT_EQ(InfoCountsHold(c.info, kFirst, c.fileBytes, c.audioBytes), c.holds);
}

INSTANTIATE_TEST_SUITE_P(
    Files, InfoCountsTest,
    ::testing::Values(CountsCase{"WholeFile", {155, 65200, true}, 65200, 65200, true},
                      CountsCase{"TaggedFileCountsItsAudio", {155, 65200, true}, 70000, 65072, true},
                      CountsCase{"DamagedTagIsNotBelieved", {155, 65200, false}, 65200, 65200, false},
                      CountsCase{"CutFileIsNotBelieved", {155, 65200, true}, 16300, 16300, false},
                      CountsCase{"FrameCountBeyondAnyBitRate", {466000, 65200, true}, 65200, 65200, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
