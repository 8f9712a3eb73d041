#include "silent_sink.h"

SilentSink::SilentSink(int sampleRate, int channels, bool paced)
    : frameBytes(channels * 2),
      blockFrames(sampleRate / kBlocksPerSecond),
      clock(sampleRate, int64_t{kBlockCount} * blockFrames, paced) {}

size_t SilentSink::Take(const char*, size_t bytes) {
    return TakeBackdated(bytes, 0);
}

size_t SilentSink::TakeBackdated(size_t bytes, int64_t agoMicros) {
    return static_cast<size_t>(clock.Queue(bytes / frameBytes, NowMicros() - agoMicros)) * frameBytes;
}

// Nothing can be heard to drop out here, so a waiting writer sleeps until all but
// two buffers have played, not half: fewer wake-ups, and 50 ms is still far more
// than the refill takes.
DWORD SilentSink::WaitMs() {
    constexpr int kSilentRefillBlocks = kBlockCount - 2;
    const int64_t micros = clock.MicrosUntilPlayed(int64_t{kSilentRefillBlocks} * blockFrames, NowMicros());
    return micros < 0 ? INFINITE : static_cast<DWORD>((micros + 999) / 1000);
}

int64_t SilentSink::NowMicros() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    const int64_t seconds = counter.QuadPart / frequency.QuadPart;
    const int64_t rest = counter.QuadPart % frequency.QuadPart;
    return seconds * 1000000 + rest * 1000000 / frequency.QuadPart;
}
