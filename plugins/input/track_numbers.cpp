#include "track_numbers.h"

#include <cmath>

int AverageKbps(int64_t audioBytes, int64_t frames, int samplesPerFrame, int sampleRate) {
    if (frames <= 0 || samplesPerFrame <= 0) return 0;
    const double seconds = static_cast<double>(frames) * samplesPerFrame / sampleRate;
    return static_cast<int>(std::lround(audioBytes * 8.0 / seconds / 1000.0));
}

int WholeSeconds(int64_t samples, int sampleRate) {
    return sampleRate <= 0 ? 0 : static_cast<int>(samples / sampleRate);
}

std::optional<int> ElapsedCounter::Update(int64_t playedFrames) {
    const int seconds = WholeSeconds(playedFrames, sampleRate);
    if (seconds <= reported) return std::nullopt;
    reported = seconds;
    return seconds;
}
