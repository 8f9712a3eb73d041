#include "wave_out_sink.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "locked.h"

namespace {

// A buffer not back this long after it was due is a stall: the device thread is stuck
// in a call, or the driver keeps what it was given. (While paused nothing is due.)
constexpr DWORD kStallMs = 900;
// How long the end of a stream waits for its device to close; one that takes longer
// closes on its own.
constexpr DWORD kCloseMs = 20;

// Devices given up on whose thread is still out in a call.
std::atomic<int> stuckDevices{0};

// Free: the sink's, to fill. Ready: filled, for the thread to queue. Queued: the driver's.
enum class BlockState { Free, Ready, Queued };

}  // namespace

// What the sink and its thread share; the thread lets go of it only once the driver
// has, so an abandoned device's buffers outlive any call still under way.
struct WaveOutSink::Device {
    Device(int sampleRate, int channels, HANDLE wake);
    ~Device() {
        CloseHandle(asked);
        CloseHandle(returned);
    }
    static DWORD WINAPI Run(void* handoff) noexcept;
    bool Serve();  // false when the driver would not let go
    void ReclaimDone(HWAVEOUT handle, bool all);
    // Under the lock from here on.
    int Count(BlockState state) const {
        return static_cast<int>(
            std::count_if(std::begin(blocks), std::end(blocks), [state](const Block& b) { return b.state == state; }));
    }
    bool InFlight() const { return Count(BlockState::Free) < kBlockCount; }
    bool Stalled(DWORD now) const { return !paused && InFlight() && now - waitingSince > kStallMs; }

    struct Block {
        WAVEHDR header{};
        BlockState state = BlockState::Free;
    };

    SRWLOCK lock = SRWLOCK_INIT;
    HMODULE module = nullptr;  // held by the thread until its last instruction
    const HANDLE wake;
    const HANDLE asked = CreateEventA(nullptr, FALSE, FALSE, nullptr);     // by the sink
    const HANDLE returned = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // by the driver
    WAVEFORMATEX format{};
    const size_t blockBytes;
    std::unique_ptr<char[]> memory;
    // Handed over and queued in the ring's order: `cursor` is the next one to queue.
    Block blocks[kBlockCount];
    int cursor = 0;
    // The sink's wishes.
    bool paused = false;
    int resets = 0;
    bool detached = false;
    bool abandoned = false;
    // The thread's news.
    bool failed = false;
    bool finished = false;
    int64_t played = 0;
    DWORD waitingSince = 0;  // when a buffer last came back, or the wait for one began
};

WaveOutSink::Device::Device(int sampleRate, int channels, HANDLE wake)
    : wake(wake), blockBytes(static_cast<size_t>(sampleRate / kBlocksPerSecond) * channels * 2) {
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * 2);
    format.nAvgBytesPerSec = sampleRate * format.nBlockAlign;
    memory.reset(new char[blockBytes * kBlockCount]);
    for (int i = 0; i < kBlockCount; ++i) blocks[i].header.lpData = memory.get() + i * blockBytes;
}

DWORD WINAPI WaveOutSink::Device::Run(void* handoff) noexcept {
    std::shared_ptr<Device> device = std::move(*static_cast<std::shared_ptr<Device>*>(handoff));
    delete static_cast<std::shared_ptr<Device>*>(handoff);
    const HMODULE module = device->module;
    const bool closed = device->Serve();
    bool wasStuck;
    {
        Locked locked(device->lock);
        device->finished = true;
        wasStuck = device->abandoned;
    }
    // A driver that would not close may still write into the buffers: they stay.
    if (!closed) new std::shared_ptr<Device>(std::move(device));
    device.reset();
    if (wasStuck) --stuckDevices;
    if (module != nullptr) FreeLibraryAndExitThread(module, 0);
    return 0;
}

bool WaveOutSink::Device::Serve() {
    HWAVEOUT handle = nullptr;
    const MMRESULT opened =
        waveOutOpen(&handle, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(returned), 0, CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        Locked locked(lock);
        failed = true;
        waitingSince = GetTickCount();
        SetEvent(wake);
        return true;
    }
    bool devicePaused = false;
    int resetsDone = 0;
    for (;;) {
        bool wantPaused;
        int wantResets;
        int queue[kBlockCount];
        int count = 0;
        {
            Locked locked(lock);
            if (detached) break;
            wantPaused = paused;
            wantResets = resets;
            while (count < kBlockCount && blocks[cursor].state == BlockState::Ready) {
                blocks[cursor].state = BlockState::Queued;
                queue[count++] = cursor;
                cursor = (cursor + 1) % kBlockCount;
            }
        }
        if (wantResets != resetsDone) waveOutReset(handle);
        resetsDone = wantResets;
        // Paused before anything is queued, so that a stream paused while opening holds.
        if (wantPaused != devicePaused) {
            if (wantPaused) {
                waveOutPause(handle);
            } else {
                waveOutRestart(handle);
            }
            devicePaused = wantPaused;
        }
        for (int i = 0; i < count; ++i) {
            WAVEHDR* header = &blocks[queue[i]].header;
            header->dwFlags = 0;
            waveOutPrepareHeader(handle, header, sizeof(WAVEHDR));
            waveOutWrite(handle, header, sizeof(WAVEHDR));
        }
        ReclaimDone(handle, false);
        const HANDLE events[] = {asked, returned};
        WaitForMultipleObjects(2, events, FALSE, INFINITE);
    }
    waveOutReset(handle);
    ReclaimDone(handle, true);
    return waveOutClose(handle) == MMSYSERR_NOERROR;
}

void WaveOutSink::Device::ReclaimDone(HWAVEOUT handle, bool all) {
    int freed = 0;
    for (Block& block : blocks) {
        {
            Locked locked(lock);
            if (block.state != BlockState::Queued || (!all && (block.header.dwFlags & WHDR_DONE) == 0)) continue;
        }
        waveOutUnprepareHeader(handle, &block.header, sizeof(WAVEHDR));
        Locked locked(lock);
        block.state = BlockState::Free;
        played += block.header.dwBufferLength / format.nBlockAlign;
        waitingSince = GetTickCount();
        ++freed;
    }
    if (freed == 0) return;
    Locked locked(lock);
    // Handed over while the last block out was coming back: no other wake-up comes for them.
    if (Count(BlockState::Ready) > 0) SetEvent(asked);
    if (Count(BlockState::Free) >= kRefillBlocks) SetEvent(wake);
}

bool WaveOutSink::DeviceStuck() {
    return stuckDevices > 0;
}

WaveOutSink::WaveOutSink(int sampleRate, int channels, HANDLE wake)
    : device(std::make_shared<Device>(sampleRate, channels, wake)), sampleRate(sampleRate), channels(channels) {
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&Device::Run), &device->module);
    auto* handoff = new std::shared_ptr<Device>(device);
    thread = CreateThread(nullptr, 0, &Device::Run, handoff, 0, nullptr);
    if (thread != nullptr) return;
    delete handoff;
    if (device->module != nullptr) FreeLibrary(device->module);
    device->failed = true;
}

WaveOutSink::~WaveOutSink() {
    if (device == nullptr) return;
    {
        Locked locked(device->lock);
        device->detached = true;
    }
    SetEvent(device->asked);
    if (thread == nullptr) return;
    WaitForSingleObject(thread, kCloseMs);
    CloseHandle(thread);
}

bool WaveOutSink::Answering() noexcept {
    if (device == nullptr) return false;
    size_t pending = filled;
    DWORD quietMs;
    {
        Locked locked(device->lock);
        const DWORD now = GetTickCount();
        const bool stalled = device->Stalled(now);
        if (!device->failed && !stalled) return true;
        quietMs = now - device->waitingSince;
        for (const Device::Block& block : device->blocks) {
            if (block.state != BlockState::Free) pending += block.header.dwBufferLength;
        }
        playedBefore = device->played;
        device->detached = true;
        if (stalled && !device->finished) {
            device->abandoned = true;
            ++stuckDevices;
        }
    }
    SetEvent(device->asked);
    device.reset();
    if (thread != nullptr) CloseHandle(thread);
    thread = nullptr;
    // What the device was given but did not play plays on in silence, as from when the
    // device last did anything, so that the time goes on from where it stopped.
    silent = std::make_unique<SilentSink>(sampleRate, channels, true);
    silent->TakeBackdated(pending, paused ? 0 : quietMs * int64_t{1000});
    if (paused) silent->Pause();
    return false;
}

size_t WaveOutSink::Take(const char* pcm, size_t bytes) {
    if (!Answering()) return silent->Take(pcm, bytes);
    Locked locked(device->lock);
    size_t taken = 0;
    bool handedOver = false;
    while (taken < bytes && device->blocks[next].state == BlockState::Free) {
        const size_t part = std::min(bytes - taken, device->blockBytes - filled);
        memcpy(device->blocks[next].header.lpData + filled, pcm + taken, part);
        filled += part;
        taken += part;
        if (filled == device->blockBytes) {
            HandOver();
            handedOver = true;
        }
    }
    // The device thread queues what is ready whenever a buffer comes back: it need be
    // asked only when none is out to come back, or once the ring is full.
    const bool full = device->blocks[next].state != BlockState::Free;
    if (handedOver && (full || device->Count(BlockState::Queued) == 0)) SetEvent(device->asked);
    return taken;
}

void WaveOutSink::HandOver() {
    if (!device->InFlight()) device->waitingSince = GetTickCount();
    Device::Block& block = device->blocks[next];
    block.header.dwBufferLength = static_cast<DWORD>(filled);
    block.state = BlockState::Ready;
    next = (next + 1) % kBlockCount;
    filled = 0;
}

void WaveOutSink::Push() {
    if (!Answering()) return silent->Push();
    Locked locked(device->lock);
    if (filled == 0) return;
    HandOver();
    SetEvent(device->asked);
}

int64_t WaveOutSink::Played() {
    if (!Answering()) return playedBefore + silent->Played();
    Locked locked(device->lock);
    return device->played;
}

bool WaveOutSink::Idle() {
    if (!Answering()) return silent->Idle();
    Locked locked(device->lock);
    return filled == 0 && !device->InFlight();
}

// Buffers coming back set `wake`; until then the writer need only look again when the
// device would count as stalled, so that the silent sink takes over in time.
DWORD WaveOutSink::WaitMs() {
    if (!Answering()) return silent->WaitMs();
    Locked locked(device->lock);
    if (paused) return INFINITE;
    const DWORD quietMs = GetTickCount() - device->waitingSince;
    return quietMs > kStallMs ? 0 : kStallMs + 1 - quietMs;
}

void WaveOutSink::Pause() {
    SetPaused(true);
}

void WaveOutSink::Resume() {
    SetPaused(false);
}

// The device is looked at before the pause changes, so that a silent sink taking over
// counts the time up to now as the stream had it: played or paused. A resumed device
// gets its full time to answer again.
void WaveOutSink::SetPaused(bool pause) {
    const bool answering = Answering();
    paused = pause;
    if (!answering) return pause ? silent->Pause() : silent->Resume();
    Locked locked(device->lock);
    device->paused = pause;
    if (!pause) device->waitingSince = GetTickCount();
    SetEvent(device->asked);
}

void WaveOutSink::Reset() {
    if (!Answering()) return silent->Reset();
    Locked locked(device->lock);
    for (Device::Block& block : device->blocks) {
        if (block.state == BlockState::Ready) block.state = BlockState::Free;
    }
    filled = 0;
    device->cursor = next;
    ++device->resets;
    SetEvent(device->asked);
}
