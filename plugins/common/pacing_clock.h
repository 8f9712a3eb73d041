// Played time for a sink without a device: frames count as played as real time
// passes, never more than were queued, and not while paused. Unpaced, everything
// queued counts as played at once. Platform-free; the caller supplies the time.
#pragma once

#include <cstdint>

class PacingClock {
public:
    PacingClock(int sampleRate, int64_t capacityFrames, bool paced);

    // Queues as many of `frames` as fit in the capacity now (none while paused);
    // returns that number.
    int64_t Queue(int64_t frames, int64_t nowMicros);
    int64_t Played(int64_t nowMicros);
    // Microseconds from now until `frames` more have played, or all that is queued if
    // that is less; -1 when nothing will play without a call (nothing queued, paused).
    int64_t MicrosUntilPlayed(int64_t frames, int64_t nowMicros);
    bool Idle(int64_t nowMicros) { return Played(nowMicros) == queued; }
    void Pause(int64_t nowMicros);
    void Resume(int64_t nowMicros);
    // Forgets what is queued.
    void Reset() { queued = played; }

private:
    void Advance(int64_t nowMicros);

    int sampleRate;
    int64_t capacity;
    bool paced;
    bool paused = false;
    int64_t queued = 0;
    int64_t played = 0;
    int64_t lastMicros = -1;
    int64_t credit = 0;  // frame-microseconds not yet a whole frame
};
