// A sink without a device: the stream plays into silence, paced in real time or, for
// tests, as fast as it comes.
#pragma once

#include <windows.h>

#include "pacing_clock.h"
#include "sink.h"

class SilentSink : public Sink {
public:
    SilentSink(int sampleRate, int channels, bool paced);

    size_t Take(const char* pcm, size_t bytes) override;
    // Takes `bytes` as though they had come `agoMicros` ago, for a stream taken over
    // from a device that has stopped.
    size_t TakeBackdated(size_t bytes, int64_t agoMicros);
    void Push() override {}
    int64_t Played() override { return clock.Played(NowMicros()); }
    bool Idle() override { return clock.Idle(NowMicros()); }
    DWORD WaitMs() override;
    void Pause() override { clock.Pause(NowMicros()); }
    void Resume() override { clock.Resume(NowMicros()); }
    void Reset() override { clock.Reset(); }

protected:
    const int frameBytes;

    static int64_t NowMicros();

private:
    const int blockFrames;
    PacingClock clock;
};
