#include "mpeg_input.h"

namespace {

// A reference to the module that holds `address`, or null when it is in none.
HMODULE HoldModule(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(address), &module);
    return module;
}

}  // namespace

void MpegInput::SetOutput(OutputPlugin* plugin) {
    Stop();
    output = plugin;
    if (output != nullptr) output->SetVolume(volume[0], volume[1]);
}

void MpegInput::SetCallback(PlaybackCallback function, void* value) {
    AcquireSRWLockExclusive(&eventLock);
    callback = function;
    user = value;
    ReleaseSRWLockExclusive(&eventLock);
}

int MpegInput::Open(const char* path, TrackInfo* info) noexcept {
    Close();
    if (!track.Open(path)) return 0;
    track.Describe(*info);
    return 1;
}

void MpegInput::Close() {
    Stop();
    track.Release();
}

void MpegInput::Play() {
    if (!track.IsOpen() || output == nullptr || state != PlayerState::Stopped) return;
    JoinWorker();  // the last track may have ended on its own
    if (!track.Rewind()) return;
    stopRequested = false;
    output->Resume();  // a new stream starts unpaused, whatever the last one did
    // Held by the worker until its last instruction, so that neither module can be
    // unloaded under it, whatever the program does meanwhile.
    heldSelf = HoldModule(reinterpret_cast<const void*>(&WorkerMain));
    heldOutput = HoldModule(output);
    state = PlayerState::Playing;
    worker = CreateThread(nullptr, 0, &WorkerMain, this, 0, nullptr);
    if (worker != nullptr) return;
    state = PlayerState::Stopped;
    if (heldOutput != nullptr) FreeLibrary(heldOutput);
    if (heldSelf != nullptr) FreeLibrary(heldSelf);
}

void MpegInput::Stop() {
    AcquireSRWLockExclusive(&eventLock);
    stopRequested = true;
    ReleaseSRWLockExclusive(&eventLock);
    if (worker != nullptr) output->Flush();
    JoinWorker();
    state = PlayerState::Stopped;
}

void MpegInput::Pause() {
    PlayerState playing = PlayerState::Playing;
    if (state.compare_exchange_strong(playing, PlayerState::Paused)) output->Pause();
}

void MpegInput::Resume() {
    PlayerState paused = PlayerState::Paused;
    if (state.compare_exchange_strong(paused, PlayerState::Playing)) output->Resume();
}

void MpegInput::SetVolume(int first, int second) {
    volume[0] = ClampVolume(first);
    volume[1] = ClampVolume(second);
    if (output != nullptr) output->SetVolume(volume[0], volume[1]);
}

void MpegInput::ReleaseForUnload() {
    if (worker != nullptr) CloseHandle(worker);
    worker = nullptr;
    track.Release();
}

DWORD WINAPI MpegInput::WorkerMain(void* self) noexcept {
    auto* input = static_cast<MpegInput*>(self);
    HMODULE module = input->heldSelf;
    HMODULE outputModule = input->heldOutput;
    input->RunWorker();
    if (outputModule != nullptr) FreeLibrary(outputModule);
    FreeLibraryAndExitThread(module, 0);
}

void MpegInput::RunWorker() {
    // A Pause that comes before the device is open holds once it is.
    streamRate = track.SampleRate();
    streamChannels = track.Channels();
    output->Start(streamRate, streamChannels);
    ElapsedCounter elapsed(streamRate);
    const bool ended = !StopRequested() && DecodeAll(elapsed) && DrainAll(elapsed);
    output->Finish();
    if (!ended) return;
    state = PlayerState::Stopped;
    Notify(PlaybackEvent::TrackEnded, 0);
}

// False when stopped. A read error ends the track as the end of the file does: what
// was decoded still plays.
bool MpegInput::DecodeAll(ElapsedCounter& elapsed) {
    while (!StopRequested()) {
        unsigned char* audio;
        size_t bytes;
        const int result = track.DecodeFrame(audio, bytes);
        if (result == MPG123_NEW_FORMAT) {
            if (!FollowFormat(elapsed)) return false;
            continue;
        }
        if (result != MPG123_OK) return true;
        if (bytes > 0 && !output->Write(audio, bytes)) return false;
        ReportElapsed(elapsed);
    }
    return false;
}

// The format changes inside the file: what was written plays out in the old format,
// then the output opens again in the new one. False when stopped meanwhile.
bool MpegInput::FollowFormat(ElapsedCounter& elapsed) {
    int rate, channels;
    if (!track.CurrentFormat(rate, channels) || (rate == streamRate && channels == streamChannels)) return true;
    if (!DrainAll(elapsed)) return false;
    elapsed.NextStream(output->PlayedFrames(), rate);
    output->Finish();
    streamRate = rate;
    streamChannels = channels;
    output->Start(streamRate, streamChannels);
    return !StopRequested();
}

bool MpegInput::DrainAll(ElapsedCounter& elapsed) {
    while (!output->Drain()) {
        if (StopRequested()) return false;
        ReportElapsed(elapsed);
    }
    ReportElapsed(elapsed);
    return !StopRequested();
}

void MpegInput::ReportElapsed(ElapsedCounter& elapsed) {
    if (const auto seconds = elapsed.Update(output->PlayedFrames())) {
        Notify(PlaybackEvent::ElapsedSeconds, *seconds);
    }
}

void MpegInput::Notify(PlaybackEvent event, int value) {
    AcquireSRWLockExclusive(&eventLock);
    if (!stopRequested && callback != nullptr) callback(static_cast<int>(event), value, user);
    ReleaseSRWLockExclusive(&eventLock);
}

bool MpegInput::StopRequested() {
    AcquireSRWLockShared(&eventLock);
    const bool requested = stopRequested;
    ReleaseSRWLockShared(&eventLock);
    return requested;
}

void MpegInput::JoinWorker() {
    if (worker == nullptr) return;
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    worker = nullptr;
}
