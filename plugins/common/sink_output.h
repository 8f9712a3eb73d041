// The output plug-in object over a Sink: locking, waiting, volume and the flush
// that lets a stopped writer go. A module's GetInstance returns one static object of a
// class that chooses the sink.
#pragma once

#include <windows.h>

#include <memory>

#include "output_plugin.h"
#include "pcm.h"
#include "sink.h"

class SinkOutput : public OutputPlugin {
public:
    void Start(int sampleRate, int channels) override;
    bool Write(const void* pcm, size_t bytes) override;
    bool Drain() override;
    int64_t PlayedFrames() override;
    void Finish() override;
    void Pause() override;
    void Resume() override;
    void Flush() override;
    void SetVolume(int first, int second) override;

protected:
    ~SinkOutput() = default;
    // The sink for a new stream. A sink with a device sets `wake` when it has room for
    // a waiting writer again; one without says through WaitMs when to look again.
    virtual Sink* OpenSink(int sampleRate, int channels, HANDLE wake) = 0;

private:
    bool Feed(const char* pcm, size_t bytes);
    bool Drained(DWORD& waitMs);

    SRWLOCK lock = SRWLOCK_INIT;
    HANDLE wake = nullptr;
    std::unique_ptr<Sink> sink;
    int channels = 2;
    int volume[2] = {kMaxVolume, kMaxVolume};
    bool flushed = false;
    // Kept apart from the sink, so that a pause that comes while the device is still
    // being opened holds once it is.
    bool paused = false;
};
