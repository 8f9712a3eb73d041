#include "pcm.h"

#include <algorithm>

int ClampVolume(int level) {
    return std::clamp(level, 0, kMaxVolume);
}

void ScaleFrames(const int16_t* in, int16_t* out, size_t frames, int channels, int first, int second) {
    int levels[2] = {first, second};
    if (channels == 1) levels[0] = (first + second) / 2;
    for (size_t frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
            const size_t index = frame * channels + channel;
            out[index] = static_cast<int16_t>(in[index] * levels[std::min(channel, 1)] / kMaxVolume);
        }
    }
}
