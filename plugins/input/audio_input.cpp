#include "audio_input.h"

#include <algorithm>

namespace {

// A reference to the module that holds `address`, or null when it is in none.
HMODULE HoldModule(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(address), &module);
    return module;
}

}  // namespace

void AudioInput::SetOutput(OutputPlugin* plugin) {
    Stop();
    output = plugin;
    if (output != nullptr) output->SetVolume(volume[0], volume[1]);
}

void AudioInput::SetCallback(PlaybackCallback function, void* value) {
    AcquireSRWLockExclusive(&eventLock);
    callback = function;
    user = value;
    ReleaseSRWLockExclusive(&eventLock);
}

int AudioInput::Open(const char* path, TrackInfo* info) noexcept {
    Close();
    if (!file.Open(path)) return 0;
    track = OpenDecoder(file);
    if (track == nullptr) {
        file.Close();
        return 0;
    }
    track->Describe(*info);
    openRate = track->SampleRate();
    return 1;
}

void AudioInput::Close() {
    Stop();
    Release();
}

void AudioInput::Release() {
    track.reset();
    file.Close();
}

void AudioInput::Play() {
    if (track == nullptr || output == nullptr || state != PlayerState::Stopped) return;
    JoinWorker();  // the last track may have ended on its own
    if (!track->SeekToSample(0)) return;
    output->Resume();  // a new stream starts unpaused, whatever the last one did
    pastTheEnd = false;
    StartWorker(0, PlayerState::Playing);
}

void AudioInput::Seek(int seconds) {
    const PlayerState was = state;
    if (track == nullptr || output == nullptr || was == PlayerState::Stopped) return;
    Stop();
    // Stop's Flush unpaused the output: a paused track is paused again before its new
    // stream starts, so that nothing plays until Resume.
    if (was == PlayerState::Paused) output->Pause();
    seconds = seconds < 0 ? 0 : seconds;
    // A place the decoder cannot reach lies past the end: the worker ends the track
    // there as its end would.
    pastTheEnd = !track->SeekToSeconds(seconds, openRate);
    StartWorker(seconds, was);
}

void AudioInput::StartWorker(int fromSeconds, PlayerState as) {
    stopRequested = false;
    startSeconds = fromSeconds;
    SetHeardClock(int64_t{fromSeconds} * 1000000, track->SampleRate());
    // Held by the worker until its last instruction, so that neither module can be
    // unloaded under it, whatever the program does meanwhile.
    heldSelf = HoldModule(reinterpret_cast<const void*>(&WorkerMain));
    heldOutput = HoldModule(output);
    state = as;
    worker = CreateThread(nullptr, 0, &WorkerMain, this, 0, nullptr);
    if (worker != nullptr) return;
    state = PlayerState::Stopped;
    if (heldOutput != nullptr) FreeLibrary(heldOutput);
    if (heldSelf != nullptr) FreeLibrary(heldSelf);
}

void AudioInput::Stop() {
    AcquireSRWLockExclusive(&eventLock);
    stopRequested = true;
    ReleaseSRWLockExclusive(&eventLock);
    if (worker != nullptr) output->Flush();
    JoinWorker();
    state = PlayerState::Stopped;
}

void AudioInput::Pause() {
    PlayerState playing = PlayerState::Playing;
    if (state.compare_exchange_strong(playing, PlayerState::Paused)) output->Pause();
}

void AudioInput::Resume() {
    PlayerState paused = PlayerState::Paused;
    if (state.compare_exchange_strong(paused, PlayerState::Playing)) output->Resume();
}

void AudioInput::SetVolume(int first, int second) {
    volume[0] = ClampVolume(first);
    volume[1] = ClampVolume(second);
    if (output != nullptr) output->SetVolume(volume[0], volume[1]);
}

void AudioInput::ReleaseForUnload() {
    if (worker != nullptr) CloseHandle(worker);
    worker = nullptr;
    Release();
}

DWORD WINAPI AudioInput::WorkerMain(void* self) noexcept {
    auto* input = static_cast<AudioInput*>(self);
    HMODULE module = input->heldSelf;
    HMODULE outputModule = input->heldOutput;
    input->RunWorker();
    if (outputModule != nullptr) FreeLibrary(outputModule);
    FreeLibraryAndExitThread(module, 0);
}

void AudioInput::RunWorker() {
    // A Pause that comes before the device is open holds once it is.
    streamRate = track->SampleRate();
    streamChannels = track->Channels();
    output->Start(streamRate, streamChannels);
    ElapsedCounter elapsed(streamRate, startSeconds);
    const bool ended = !StopRequested() && (pastTheEnd || DecodeAll(elapsed)) && DrainAll(elapsed);
    output->Finish();
    if (!ended) return;
    state = PlayerState::Stopped;
    Notify(PlaybackEvent::TrackEnded, 0);
}

// False when stopped. A read error ends the track as the end of the file does: what
// was decoded still plays.
bool AudioInput::DecodeAll(ElapsedCounter& elapsed) {
    while (!StopRequested()) {
        const unsigned char* audio = nullptr;
        size_t bytes = 0;
        const Decoded result = track->Decode(audio, bytes);
        if (result == Decoded::NewFormat) {
            if (!FollowFormat(elapsed)) return false;
            continue;
        }
        if (result == Decoded::End) return true;
        if (bytes > 0 && !output->Write(audio, bytes)) return false;
        ReportElapsed(elapsed);
    }
    return false;
}

// The format changes inside the file: what was written plays out in the old format,
// then the output opens again in the new one. False when stopped meanwhile.
bool AudioInput::FollowFormat(ElapsedCounter& elapsed) {
    const int rate = track->SampleRate(), channels = track->Channels();
    if (rate == streamRate && channels == streamChannels) return true;
    if (!DrainAll(elapsed)) return false;
    const int64_t played = output->PlayedFrames();
    elapsed.NextStream(played, rate);
    // Everything written has been heard: until the new stream plays, that is all.
    SetHeardClock(streamStartMicros + Micros(played, streamRate), 0);
    output->Finish();
    streamRate = rate;
    streamChannels = channels;
    output->Start(streamRate, streamChannels);
    SetHeardClock(streamStartMicros, rate);
    return !StopRequested();
}

bool AudioInput::DrainAll(ElapsedCounter& elapsed) {
    while (!output->Drain()) {
        if (StopRequested()) return false;
        ReportElapsed(elapsed);
    }
    ReportElapsed(elapsed);
    return !StopRequested();
}

void AudioInput::ReportElapsed(ElapsedCounter& elapsed) {
    if (const auto seconds = elapsed.Update(output->PlayedFrames())) {
        Notify(PlaybackEvent::ElapsedSeconds, *seconds);
    }
}

void AudioInput::SetHeardClock(int64_t micros, int rate) {
    AcquireSRWLockExclusive(&clockLock);
    streamStartMicros = micros;
    heardRate = rate;
    ReleaseSRWLockExclusive(&clockLock);
}

// The output's count is read under the lock, so that it and the stream it belongs to
// go together while the worker changes streams.
int AudioInput::PlayedMs() {
    if (state == PlayerState::Stopped || output == nullptr) return -1;
    AcquireSRWLockShared(&clockLock);
    const int64_t micros = streamStartMicros + (heardRate > 0 ? Micros(output->PlayedFrames(), heardRate) : 0);
    ReleaseSRWLockShared(&clockLock);
    return static_cast<int>(std::min<int64_t>(micros / 1000, INT32_MAX));
}

void AudioInput::Notify(PlaybackEvent event, int value) {
    AcquireSRWLockExclusive(&eventLock);
    if (!stopRequested && callback != nullptr) callback(static_cast<int>(event), value, user);
    ReleaseSRWLockExclusive(&eventLock);
}

bool AudioInput::StopRequested() {
    AcquireSRWLockShared(&eventLock);
    const bool requested = stopRequested;
    ReleaseSRWLockShared(&eventLock);
    return requested;
}

void AudioInput::JoinWorker() {
    if (worker == nullptr) return;
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    worker = nullptr;
}
