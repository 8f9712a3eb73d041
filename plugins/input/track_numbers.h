// The numbers a track reports, from what the decoder tells. Platform-free.
#pragma once

#include <cstdint>
#include <optional>

// Average bit rate in kbit/s, rounded, of `audioBytes` holding `frames` frames of
// `samplesPerFrame` samples at `sampleRate` Hz; 0 when there are no frames.
int AverageKbps(int64_t audioBytes, int64_t frames, int samplesPerFrame, int sampleRate);

// Whole seconds of `samples` at `sampleRate`, rounded down.
int WholeSeconds(int64_t samples, int sampleRate);

// Counts whole seconds played and tells each time the count grows.
class ElapsedCounter {
public:
    explicit ElapsedCounter(int sampleRate) : sampleRate(sampleRate) {}

    // The new count of whole seconds when `playedFrames` has passed another second.
    std::optional<int> Update(int64_t playedFrames);

private:
    int sampleRate;
    int reported = 0;
};
