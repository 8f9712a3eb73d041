// The sound device through waveOut. The device sets an event as each buffer comes
// back (CALLBACK_EVENT), so no code of ours runs on the driver's thread; buffers are
// reclaimed by whoever next uses the sink.
#pragma once

#include <windows.h>

#include <memory>

#include "sink.h"

class WaveOutSink : public Sink {
public:
    // Null when no device accepts the format.
    static WaveOutSink* Open(int sampleRate, int channels, HANDLE wake);
    ~WaveOutSink() override;

    size_t Take(const char* pcm, size_t bytes) override;
    void Push() override;
    int64_t Played() override;
    bool Idle() override;
    void Pause() override { waveOutPause(device); }
    void Resume() override { waveOutRestart(device); }
    void Reset() override;

private:
    WaveOutSink(HWAVEOUT device, size_t blockBytes, int frameBytes);
    void Submit();
    void Reclaim();

    struct Block {
        WAVEHDR header{};
        bool queued = false;
    };

    HWAVEOUT device;
    const size_t blockBytes;
    const int frameBytes;
    std::unique_ptr<char[]> memory;
    Block blocks[kBlockCount];
    int next = 0;       // the block being filled
    size_t filled = 0;  // bytes in it so far
    int64_t played = 0;
};
