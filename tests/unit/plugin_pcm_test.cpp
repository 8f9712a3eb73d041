// Per-channel volume scaling in the output plug-ins.
#include <gtest/gtest.h>

#include "../../plugins/common/pcm.h"

namespace {

struct ScaleCase {
    const char* name;
    int channels;
    int first;
    int second;
    std::vector<int16_t> in;
    std::vector<int16_t> out;
};

class ScaleFramesTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleFramesTest, ScalesEachChannelByItsLevel) {
    const ScaleCase& c = GetParam();
    std::vector<int16_t> out(c.in.size());
    ScaleFrames(c.in.data(), out.data(), c.in.size() / c.channels, c.channels, c.first, c.second);
    EXPECT_EQ(out, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaleFramesTest,
    ::testing::Values(ScaleCase{"full_is_unchanged", 2, 100, 100, {32767, -32768, 1, -1}, {32767, -32768, 1, -1}},
                      ScaleCase{"per_channel", 2, 50, 0, {1000, 1000, -1000, -1000}, {500, 0, -500, 0}},
                      ScaleCase{"truncates_toward_zero", 2, 33, 33, {100, -100}, {33, -33}},
                      ScaleCase{"mono_takes_the_mean", 1, 100, 50, {1000, -1000}, {750, -750}},
                      ScaleCase{"extremes_do_not_overflow", 2, 99, 99, {32767, -32768}, {32439, -32440}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
