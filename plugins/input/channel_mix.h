// More than two channels played through two speakers: each channel's place from the
// order its format keeps them in, then the usual stereo mix of those places.
// Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kMaxChannels = 8;

enum class Speaker { Left, Right, Centre, Lfe, SurroundLeft, SurroundRight, BackCentre };

// The places of 3 to kMaxChannels channels in the order of WAVE files and FLAC (none
// for other counts); a WAVE file's channel mask, when it names exactly that many,
// says which places are there.
std::vector<Speaker> WaveSpeakers(int channels, uint32_t mask = 0);
// The same in the order of Vorbis (and of Opus's mapping family 1).
std::vector<Speaker> VorbisSpeakers(int channels);

// Stereo from those places: each side whole, the centre and that side's surround at
// -3 dB, a back centre at -3 dB on each side's surround, the low frequencies left out;
// all scaled so that every channel at full scale together comes to full scale, never
// over it.
class StereoMix {
public:
    explicit StereoMix(const std::vector<Speaker>& speakers);

    int Inputs() const { return static_cast<int>(left.size()); }
    // `frames` frames of Inputs() interleaved samples into as many stereo frames; `out`
    // may be `in`.
    void Mix(const int16_t* in, size_t frames, int16_t* out) const;

private:
    std::vector<float> left, right;
};
