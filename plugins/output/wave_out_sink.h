// The sound device through waveOut, driven by a thread of the sink's own: every waveOut
// call is made there, so neither the user-interface thread nor the stream's writer ever
// waits on a driver. A device that keeps a buffer for a second (stuck in an open or a
// reset, or just not giving back what it was given) is given up: the stream plays on
// into paced silence from the frames played so far, and the thread cleans up after
// itself whenever the driver lets go of it.
#pragma once

#include <windows.h>

#include <memory>

#include "silent_sink.h"
#include "sink.h"

class WaveOutSink : public Sink {
public:
    // True while a device given up on still has a call out: another would most likely
    // stall as well, so new streams had better play silently until it returns.
    static bool DeviceStuck();

    // Starts opening the device; the first blocks wait in their buffers meanwhile.
    // `wake` is set when the device fails, and whenever buffers coming back leave
    // kRefillBlocks or more free.
    WaveOutSink(int sampleRate, int channels, HANDLE wake);
    ~WaveOutSink() override;

    size_t Take(const char* pcm, size_t bytes) override;
    void Push() override;
    int64_t Played() override;
    bool Idle() override;
    DWORD WaitMs() override;
    void Pause() override;
    void Resume() override;
    void Reset() override;

private:
    struct Device;

    void SetPaused(bool pause);

    // False once the device has failed or stalled; `silent` plays on from then. Called
    // from the user-interface thread too: an allocation failure ends the process here.
    bool Answering() noexcept;
    void HandOver();  // the block being filled goes to the device thread, which the caller asks

    std::shared_ptr<Device> device;
    HANDLE thread = nullptr;
    const int sampleRate;
    const int channels;
    std::unique_ptr<SilentSink> silent;
    int64_t playedBefore = 0;  // by the device, before the silent sink took over
    bool paused = false;
    int next = 0;       // the block being filled
    size_t filled = 0;  // bytes in it so far
};
