#include "channel_mix.h"

#include <algorithm>
#include <cmath>

#include "sample_convert.h"

namespace {

using S = Speaker;

// The usual layouts by channel count, from three channels on.
const std::vector<Speaker> kWaveOrder[] = {
    {S::Left, S::Right, S::Centre},
    {S::Left, S::Right, S::SurroundLeft, S::SurroundRight},
    {S::Left, S::Right, S::Centre, S::SurroundLeft, S::SurroundRight},
    {S::Left, S::Right, S::Centre, S::Lfe, S::SurroundLeft, S::SurroundRight},
    {S::Left, S::Right, S::Centre, S::Lfe, S::BackCentre, S::SurroundLeft, S::SurroundRight},
    {S::Left, S::Right, S::Centre, S::Lfe, S::SurroundLeft, S::SurroundRight, S::SurroundLeft, S::SurroundRight},
};
const std::vector<Speaker> kVorbisOrder[] = {
    {S::Left, S::Centre, S::Right},
    {S::Left, S::Right, S::SurroundLeft, S::SurroundRight},
    {S::Left, S::Centre, S::Right, S::SurroundLeft, S::SurroundRight},
    {S::Left, S::Centre, S::Right, S::SurroundLeft, S::SurroundRight, S::Lfe},
    {S::Left, S::Centre, S::Right, S::SurroundLeft, S::SurroundRight, S::BackCentre, S::Lfe},
    {S::Left, S::Centre, S::Right, S::SurroundLeft, S::SurroundRight, S::SurroundLeft, S::SurroundRight, S::Lfe},
};

// The places of a WAVE channel mask's bits, lowest first: front left and right, centre,
// LFE, back left and right, front left and right of centre, back centre, side left and
// right, then the top ones.
const Speaker kMaskBits[] = {S::Left,          S::Right,         S::Centre,     S::Lfe,
                             S::SurroundLeft,  S::SurroundRight, S::Left,       S::Right,
                             S::BackCentre,    S::SurroundLeft,  S::SurroundRight, S::Centre,
                             S::Left,          S::Centre,        S::Right,      S::SurroundLeft,
                             S::BackCentre,    S::SurroundRight};

std::vector<Speaker> Usual(const std::vector<Speaker> (&orders)[6], int channels) {
    return channels > 2 && channels <= kMaxChannels ? orders[channels - 3] : std::vector<Speaker>{};
}

}  // namespace

std::vector<Speaker> WaveSpeakers(int channels, uint32_t mask) {
    std::vector<Speaker> speakers;
    for (int bit = 0; bit < static_cast<int>(std::size(kMaskBits)); ++bit) {
        if (mask & (uint32_t{1} << bit)) speakers.push_back(kMaskBits[bit]);
    }
    if (static_cast<int>(speakers.size()) == channels && channels > 2) return speakers;
    return Usual(kWaveOrder, channels);
}

std::vector<Speaker> VorbisSpeakers(int channels) {
    return Usual(kVorbisOrder, channels);
}

StereoMix::StereoMix(const std::vector<Speaker>& speakers) {
    const float half = static_cast<float>(std::sqrt(0.5));
    float leftSum = 0, rightSum = 0;
    for (const Speaker speaker : speakers) {
        float l = 0, r = 0;
        switch (speaker) {
            case S::Left: l = 1; break;
            case S::Right: r = 1; break;
            case S::Centre: l = r = half; break;
            case S::SurroundLeft: l = half; break;
            case S::SurroundRight: r = half; break;
            case S::BackCentre: l = r = half * half; break;
            case S::Lfe: break;
        }
        left.push_back(l);
        right.push_back(r);
        leftSum += l;
        rightSum += r;
    }
    const float scale = 1 / std::max({leftSum, rightSum, 1.0f});
    for (float& l : left) l *= scale;
    for (float& r : right) r *= scale;
}

void StereoMix::Mix(const int16_t* in, size_t frames, int16_t* out) const {
    const size_t inputs = left.size();
    for (size_t i = 0; i < frames; ++i, in += inputs, out += 2) {
        float l = 0, r = 0;
        for (size_t c = 0; c < inputs; ++c) {
            l += left[c] * in[c];
            r += right[c] * in[c];
        }
        // Written after reading: `out` may be `in`.
        out[0] = Clamp16(std::lround(l));
        out[1] = Clamp16(std::lround(r));
    }
}
