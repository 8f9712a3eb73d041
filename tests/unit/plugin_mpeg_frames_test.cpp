// When an Info frame's counts are believed; the damaged and forged ones are fixtures
// of the plug-in's Open table.
#include <gtest/gtest.h>

#include "../../plugins/input/mpeg_frames.h"

namespace {

// Four seconds at 128 kbit/s: 155 frames of 1152 samples in 65,200 bytes.
TEST(InfoCountsHold, OnlyWhenTheFileAgrees) {
    const FrameHeader first = *ParseFrameHeader("\xFF\xFB\x90\x64");
    struct Case {
        const char* name;
        InfoFrame info;
        int64_t fileBytes, audioBytes;
        bool holds;
    };
    const Case cases[] = {
        {"whole file", {155, 65200, true}, 65200, 65200, true},
        {"a tagged file counts its audio", {155, 65200, true}, 70000, 65072, true},
    };
    for (const Case& c : cases) EXPECT_EQ(InfoCountsHold(c.info, first, c.fileBytes, c.audioBytes), c.holds) << c.name;
}

}  // namespace
