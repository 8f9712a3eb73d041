#include "wave_out_sink.h"

#include <algorithm>
#include <cstring>

WaveOutSink* WaveOutSink::Open(int sampleRate, int channels, HANDLE wake) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * 2);
    format.nAvgBytesPerSec = sampleRate * format.nBlockAlign;
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(wake), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        return nullptr;
    }
    const size_t blockBytes = static_cast<size_t>(sampleRate / kBlocksPerSecond) * format.nBlockAlign;
    return new WaveOutSink(device, blockBytes, format.nBlockAlign);
}

WaveOutSink::WaveOutSink(HWAVEOUT device, size_t blockBytes, int frameBytes)
    : device(device), blockBytes(blockBytes), frameBytes(frameBytes), memory(new char[blockBytes * kBlockCount]) {
    for (int i = 0; i < kBlockCount; ++i) blocks[i].header.lpData = memory.get() + i * blockBytes;
}

WaveOutSink::~WaveOutSink() {
    Reset();
    waveOutClose(device);
}

size_t WaveOutSink::Take(const char* pcm, size_t bytes) {
    Reclaim();
    size_t taken = 0;
    while (taken < bytes && !blocks[next].queued) {
        const size_t part = std::min(bytes - taken, blockBytes - filled);
        memcpy(blocks[next].header.lpData + filled, pcm + taken, part);
        filled += part;
        taken += part;
        if (filled == blockBytes) Submit();
    }
    return taken;
}

void WaveOutSink::Push() {
    if (filled > 0 && !blocks[next].queued) Submit();
}

int64_t WaveOutSink::Played() {
    Reclaim();
    return played;
}

bool WaveOutSink::Idle() {
    Reclaim();
    return filled == 0 && std::none_of(std::begin(blocks), std::end(blocks), [](const Block& b) { return b.queued; });
}

void WaveOutSink::Reset() {
    waveOutReset(device);
    Reclaim();
    filled = 0;
}

void WaveOutSink::Submit() {
    Block& block = blocks[next];
    block.header.dwBufferLength = static_cast<DWORD>(filled);
    block.header.dwFlags = 0;
    waveOutPrepareHeader(device, &block.header, sizeof(WAVEHDR));
    waveOutWrite(device, &block.header, sizeof(WAVEHDR));
    block.queued = true;
    next = (next + 1) % kBlockCount;
    filled = 0;
}

void WaveOutSink::Reclaim() {
    for (Block& block : blocks) {
        if (!block.queued || (block.header.dwFlags & WHDR_DONE) == 0) continue;
        waveOutUnprepareHeader(device, &block.header, sizeof(WAVEHDR));
        block.queued = false;
        played += block.header.dwBufferLength / frameBytes;
    }
}
