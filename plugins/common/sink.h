// Where an output plug-in's stream goes: a sound device, or a stand-in for one. A
// sink is used under its owner's lock, never from two threads at once.
#pragma once

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
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops everything not yet played.
    virtual void Reset() = 0;
};

// Buffering shared by the sinks: about 8 buffers of 25 ms in flight.
constexpr int kBlockCount = 8;
constexpr int kBlocksPerSecond = 40;
