// Files of more than two channels through two speakers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../../plugins/input/channel_mix.h"

namespace {

// Each channel alone at full scale, as it comes out: "L", "R" or "C" (both sides
// alike), its level in dB against the loudest, or "-" when it is left out.
std::string Heard(const std::vector<Speaker>& speakers) {
    const StereoMix mix(speakers);
    std::vector<std::pair<int, int>> outs;
    int loudest = 1;
    for (size_t c = 0; c < speakers.size(); ++c) {
        std::vector<int16_t> in(speakers.size(), 0);
        in[c] = INT16_MAX;
        int16_t out[2];
        mix.Mix(in.data(), 1, out);
        outs.emplace_back(out[0], out[1]);
        loudest = std::max({loudest, int{out[0]}, int{out[1]}});
    }
    std::string heard;
    for (const auto& [l, r] : outs) {
        const char side = l == 0 && r == 0 ? '-' : l == r ? 'C' : r == 0 ? 'L' : l == 0 ? 'R' : '?';
        heard += side;
        if (side != '-') heard += std::to_string(std::lround(20 * std::log10(double(std::max(l, r)) / loudest)));
        heard += ' ';
    }
    return heard;
}

// Every channel at half scale together: the louder side, which must come to half
// scale, so that all at full scale come to full scale and no more.
int AllAtHalfScale(const std::vector<Speaker>& speakers) {
    std::vector<int16_t> in(speakers.size(), 16384);
    int16_t out[2];
    StereoMix(speakers).Mix(in.data(), 1, out);
    return std::max(out[0], out[1]);
}

TEST(StereoMixTest, EachChannelGoesToItsSideAtItsLevelAndTheWholeNeverClips) {
    struct Case {
        const char* layout;
        std::vector<Speaker> speakers;
        std::string heard;
    };
    // 5.1 in both orders is the decode table's, against sox.
    const Case cases[] = {
        {"WAVE 3.0", WaveSpeakers(3), "L0 R0 C-3 "},
        {"WAVE quad", WaveSpeakers(4), "L0 R0 L-3 R-3 "},
        {"WAVE 5.0", WaveSpeakers(5), "L0 R0 C-3 L-3 R-3 "},
        {"WAVE 6.1", WaveSpeakers(7), "L0 R0 C-3 - C-6 L-3 R-3 "},
        {"WAVE 7.1", WaveSpeakers(8), "L0 R0 C-3 - L-3 R-3 L-3 R-3 "},
        {"Vorbis 3.0", VorbisSpeakers(3), "L0 C-3 R0 "},
        {"Vorbis 5.0", VorbisSpeakers(5), "L0 C-3 R0 L-3 R-3 "},
        {"Vorbis 6.1", VorbisSpeakers(7), "L0 C-3 R0 L-3 R-3 C-6 - "},
        {"Vorbis 7.1", VorbisSpeakers(8), "L0 C-3 R0 L-3 R-3 L-3 R-3 - "},
        // A channel mask names the places: here 5.1 with side surrounds, and a front
        // pair, a back centre and the LFE.
        {"mask 0x60F", WaveSpeakers(6, 0x60F), "L0 R0 C-3 - L-3 R-3 "},
        {"mask 0x10B", WaveSpeakers(4, 0x10B), "L0 R0 - C-6 "},
        // A mask that names fewer channels than there are says nothing.
        {"mask short", WaveSpeakers(6, 0x3), "L0 R0 C-3 - L-3 R-3 "},
    };
    for (const auto& [layout, speakers, heard] : cases) {
        SCOPED_TRACE(layout);
        EXPECT_EQ(Heard(speakers), heard);
        EXPECT_NEAR(AllAtHalfScale(speakers), 16384, 1);
    }
    // Nine channels have no usual places.
    EXPECT_TRUE(WaveSpeakers(9).empty());
    EXPECT_TRUE(VorbisSpeakers(9).empty());
}

}  // namespace
