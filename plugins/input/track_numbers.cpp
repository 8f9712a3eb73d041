#include "track_numbers.h"

#include <cmath>

int64_t Micros(int64_t frames, int sampleRate) {
    return sampleRate <= 0 ? 0 : frames * 1000000 / sampleRate;
}

int AverageKbps(int64_t audioBytes, double seconds) {
    if (!(seconds > 0)) return 0;
    return static_cast<int>(std::lround(audioBytes * 8.0 / seconds / 1000.0));
}

int WholeSeconds(int64_t samples, int sampleRate) {
    return sampleRate <= 0 ? 0 : static_cast<int>(samples / sampleRate);
}

std::optional<int> ElapsedCounter::Update(int64_t playedFrames) {
    const int seconds = static_cast<int>((earlierMicros + Micros(playedFrames, sampleRate)) / 1000000);
    if (seconds <= reported) return std::nullopt;
    reported = seconds;
    return seconds;
}

void ElapsedCounter::NextStream(int64_t playedFrames, int newRate) {
    earlierMicros += Micros(playedFrames, sampleRate);
    sampleRate = newRate;
}
