// The input plug-in object: opens music files (MPEG audio, FLAC, Ogg Vorbis, Opus,
// WAV) and plays them on a worker thread through our output plug-in. The program
// calls it from its user-interface thread only; events reach the program from the
// worker through the callback.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "decoder.h"
#include "output_plugin.h"
#include "pcm.h"
#include "track_numbers.h"

class AudioInput final : public InputPlugin {
public:
    void Reserved0() override {}
    void SetOutput(OutputPlugin* plugin) override;
    void SetCallback(PlaybackCallback function, void* value) override;
    // Open and the worker are where memory is taken; an allocation failure ends the
    // process there rather than throwing into the program's window procedure.
    int Open(const char* path, TrackInfo* info) noexcept override;
    void Close() override;
    PlayerState GetState() override { return state; }
    void Play() override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    // Ends the worker and starts one anew from the place asked for, paused if the track
    // was: the old place's events end with the old worker.
    void Seek(int seconds) override;
    void SetVolume(int first, int second) override;

    // GetPlayedMs: what the listener has heard of the open track; -1 when nothing plays.
    int PlayedMs();

    // The module is going away with nothing playing (a playing track holds the
    // module): let go of the file.
    void ReleaseForUnload();

private:
    void Release();
    void StartWorker(int fromSeconds, PlayerState as);
    static DWORD WINAPI WorkerMain(void* self) noexcept;
    void RunWorker();
    bool DecodeAll(ElapsedCounter& elapsed);
    bool FollowFormat(ElapsedCounter& elapsed);
    bool DrainAll(ElapsedCounter& elapsed);
    void ReportElapsed(ElapsedCounter& elapsed);
    // The output's stream, which counts its frames from 0, starts at `micros` into the
    // track at `rate`; a rate of 0 while the output changes streams.
    void SetHeardClock(int64_t micros, int rate);
    void Notify(PlaybackEvent event, int value);
    bool StopRequested();
    void JoinWorker();

    BufferedFile file;
    std::unique_ptr<Decoder> track;
    OutputPlugin* output = nullptr;
    PlaybackCallback callback = nullptr;
    void* user = nullptr;
    int volume[2] = {kMaxVolume, kMaxVolume};
    std::atomic<PlayerState> state{PlayerState::Stopped};

    // The rate the track opened with, in which a place within it is counted.
    int openRate = 0;
    // Where the worker starts: a place in whole seconds, or past the end of the track.
    int startSeconds = 0;
    bool pastTheEnd = false;

    // The format of the output's stream; the worker's own.
    int streamRate = 0;
    int streamChannels = 0;

    // The worker and the module references it holds while it runs.
    HANDLE worker = nullptr;
    HMODULE heldSelf = nullptr;
    HMODULE heldOutput = nullptr;

    // Where the output's stream starts in the track and its rate, for PlayedMs: set by
    // the worker while the user-interface thread reads them.
    SRWLOCK clockLock = SRWLOCK_INIT;
    int64_t streamStartMicros = 0;
    int heardRate = 0;

    // Guards stopRequested against the callback, so no event follows Stop. The
    // callback runs under it: it must only post, never call back into us.
    SRWLOCK eventLock = SRWLOCK_INIT;
    bool stopRequested = false;
};
