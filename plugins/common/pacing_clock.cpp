#include "pacing_clock.h"

#include <algorithm>

namespace {
constexpr int64_t kMicrosPerSecond = 1000000;
}

PacingClock::PacingClock(int sampleRate, int64_t capacityFrames, bool paced)
    : sampleRate(sampleRate), capacity(capacityFrames), paced(paced) {}

int64_t PacingClock::Queue(int64_t frames, int64_t nowMicros) {
    Advance(nowMicros);
    if (paused) return 0;
    const int64_t taken = paced ? std::min(frames, capacity - (queued - played)) : frames;
    queued += taken;
    if (!paced) played = queued;
    return taken;
}

int64_t PacingClock::Played(int64_t nowMicros) {
    Advance(nowMicros);
    return played;
}

int64_t PacingClock::MicrosUntilPlayed(int64_t frames, int64_t nowMicros) {
    Advance(nowMicros);
    const int64_t owed = std::min(frames, queued - played);
    if (paused || owed <= 0) return -1;
    // Rounded up: a writer woken any sooner would find no more room than before.
    return (owed * kMicrosPerSecond - credit + sampleRate - 1) / sampleRate;
}

void PacingClock::Pause(int64_t nowMicros) {
    Advance(nowMicros);
    paused = true;
}

void PacingClock::Resume(int64_t nowMicros) {
    Advance(nowMicros);
    paused = false;
}

void PacingClock::Advance(int64_t nowMicros) {
    const int64_t elapsed = lastMicros < 0 ? 0 : nowMicros - lastMicros;
    lastMicros = nowMicros;
    if (paused || elapsed <= 0) return;
    credit += elapsed * sampleRate;
    played += credit / kMicrosPerSecond;
    credit %= kMicrosPerSecond;
    // A starved sink does not run ahead: time spent with nothing queued is lost, as
    // it is on a device that has run dry.
    if (played >= queued) {
        played = queued;
        credit = 0;
    }
}
