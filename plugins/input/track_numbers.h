// The numbers a track reports, from what the decoder tells. Platform-free.
#pragma once

#include <cstdint>
#include <optional>

// Average bit rate in kbit/s, rounded, of `audioBytes` that play for `seconds`; 0
// when they play for no time.
int AverageKbps(int64_t audioBytes, double seconds);

// Microseconds that `frames` play at `sampleRate`, rounded down; 0 at no rate.
int64_t Micros(int64_t frames, int sampleRate);

// Whole seconds of `samples` at `sampleRate`, rounded down.
int WholeSeconds(int64_t samples, int sampleRate);

// Counts whole seconds played and tells each time the count grows. A track whose
// format changes plays as several streams, each counting its frames from 0.
class ElapsedCounter {
public:
    // Counting on from `startSeconds`, where a jump within the track landed.
    explicit ElapsedCounter(int sampleRate, int startSeconds = 0)
        : sampleRate(sampleRate), earlierMicros(int64_t{startSeconds} * 1000000), reported(startSeconds) {}

    // The new count of whole seconds when `playedFrames` of this stream have passed
    // another second.
    std::optional<int> Update(int64_t playedFrames);
    // The stream that played `playedFrames` has ended; the next plays at `newRate`.
    void NextStream(int64_t playedFrames, int newRate);

private:
    int sampleRate;
    int64_t earlierMicros;  // played by the streams before this one
    int reported;
};
