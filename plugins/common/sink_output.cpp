#include "sink_output.h"

#include <algorithm>

#include "locked.h"

void SinkOutput::Start(int sampleRate, int streamChannels) {
    HANDLE event;
    {
        Locked locked(lock);
        if (wake == nullptr) wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        event = wake;
    }
    // Opening a device can take a while: not under the lock, which Pause and Flush
    // from the user-interface thread need.
    std::unique_ptr<Sink> opened(OpenSink(sampleRate, streamChannels, event));
    {
        Locked locked(lock);
        if (paused) opened->Pause();
        sink.swap(opened);
        channels = streamChannels;
        flushed = false;
    }
}

bool SinkOutput::Write(const void* pcm, size_t bytes) {
    const auto* in = static_cast<const int16_t*>(pcm);
    int16_t scaled[2048];
    const size_t frameBytes = channels * sizeof(int16_t);
    size_t frames = bytes / frameBytes;
    while (frames > 0) {
        const size_t chunk = std::min(frames, sizeof(scaled) / frameBytes);
        int first, second;
        {
            Locked locked(lock);
            first = volume[0];
            second = volume[1];
        }
        ScaleFrames(in, scaled, chunk, channels, first, second);
        if (!Feed(reinterpret_cast<const char*>(scaled), chunk * frameBytes)) return false;
        in += chunk * channels;
        frames -= chunk;
    }
    return true;
}

// The writer sleeps until the sink has room: `wake` is an auto-reset event, so room
// made (or a Resume or Flush) between the look under the lock and the wait still ends
// the wait.
bool SinkOutput::Feed(const char* pcm, size_t bytes) {
    for (;;) {
        DWORD waitMs;
        {
            Locked locked(lock);
            if (flushed || sink == nullptr) return false;
            const size_t taken = sink->Take(pcm, bytes);
            pcm += taken;
            bytes -= taken;
            if (bytes == 0) return true;
            waitMs = sink->WaitMs();
        }
        WaitForSingleObject(wake, waitMs);
    }
}

bool SinkOutput::Drain() {
    DWORD waitMs;
    if (Drained(waitMs)) return true;
    WaitForSingleObject(wake, waitMs);
    return Drained(waitMs);
}

bool SinkOutput::Drained(DWORD& waitMs) {
    Locked locked(lock);
    if (flushed || sink == nullptr) return true;
    sink->Push();
    if (sink->Idle()) return true;
    waitMs = sink->WaitMs();
    return false;
}

int64_t SinkOutput::PlayedFrames() {
    Locked locked(lock);
    return sink == nullptr ? 0 : sink->Played();
}

void SinkOutput::Finish() {
    std::unique_ptr<Sink> finished;
    {
        Locked locked(lock);
        finished.swap(sink);
    }
}

void SinkOutput::Pause() {
    Locked locked(lock);
    paused = true;
    if (sink != nullptr) sink->Pause();
}

void SinkOutput::Resume() {
    Locked locked(lock);
    paused = false;
    if (sink != nullptr) sink->Resume();
    if (wake != nullptr) SetEvent(wake);
}

void SinkOutput::Flush() {
    Locked locked(lock);
    flushed = true;
    paused = false;
    if (sink != nullptr) sink->Reset();
    if (wake != nullptr) SetEvent(wake);
}

void SinkOutput::SetVolume(int first, int second) {
    Locked locked(lock);
    volume[0] = ClampVolume(first);
    volume[1] = ClampVolume(second);
}
