// The contract between our input and our output plug-in: what the opaque
// OutputPlugin of the program's interface is, as far as the two of them are concerned.
// Audio is always interleaved signed 16-bit little-endian PCM.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin_interface.h"

class OutputPlugin {
public:
    // Opens the device for a new stream, paused when Pause came last (before the
    // stream or during it) and unpaused when Resume or Flush did. Never fails: without
    // a device the stream plays into silence in real time.
    virtual void Start(int sampleRate, int channels) = 0;
    // Queues whole frames, waiting while every buffer is in flight. False once the
    // stream has been flushed: the writer should give up.
    virtual bool Write(const void* pcm, size_t bytes) = 0;
    // Waits until more of what was written has been played (or for a Resume or
    // Flush); true when all of it has been, or when the stream was flushed.
    virtual bool Drain() = 0;
    // Frames of this stream that have been played so far.
    virtual int64_t PlayedFrames() = 0;
    // Closes the device. The stream's writer calls it when it is done.
    virtual void Finish() = 0;

    // From any thread; they hold for the stream being opened too.
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops what is queued, makes waiting writers give up, and unpauses: the next
    // stream plays unless Pause comes after the Flush.
    virtual void Flush() = 0;
    // Per channel, 0..100.
    virtual void SetVolume(int first, int second) = 0;

protected:
    ~OutputPlugin() = default;
};
