// Where an output plug-in's stream goes: a sound device, or a stand-in for one. A
// sink is used under its owner's lock, never from two threads at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class Sink {
public:
    virtual ~Sink() = default;

    // Takes what fits now of `bytes` (whole frames); returns how many bytes it took.
    virtual size_t Take(const char* pcm, size_t bytes) = 0;
    // Sends off a partly filled buffer: nothing more is coming.
    virtual void Push() = 0;
    virtual int64_t Played() = 0;
    // Everything taken has been played.
    virtual bool Idle() = 0;
    // How long a writer that found no room, or waits for the end, may sleep unless the
    // sink's `wake` event comes first: until enough buffers (or the last) have played for
    // a refill, or till a stalled device is given up; INFINITE while only Resume or Flush
    // can change anything.
    virtual DWORD WaitMs() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops everything not yet played.
    virtual void Reset() = 0;
};

// Buffering shared by the sinks: about 8 buffers of 25 ms in flight.
constexpr int kBlockCount = 8;
constexpr int kBlocksPerSecond = 40;
// A writer waiting for room is woken once half the buffers are free and fills them in
// one go: the other half, 100 ms, is far more than decoding them takes, and every
// wake-up costs more than the decoding.
constexpr int kRefillBlocks = kBlockCount / 2;
