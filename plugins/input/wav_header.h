// The layout of a RIFF/WAVE file: its format, where its samples lie, and the title and
// artist of its LIST/INFO chunk. Platform-free: the caller reads the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct WavLayout {
    bool isFloat = false;
    int bits = 0;  // 8, 16, 24 or 32
    int channels = 0;
    uint32_t channelMask = 0;  // which places the channels have, when the file says
    int sampleRate = 0;
    int blockBytes = 0;  // one frame of all channels
    int64_t dataStart = 0;
    int64_t dataBytes = 0;      // whole frames that the file holds, whatever the header claims
    std::string title, artist;  // as stored
};

// Reads up to `bytes` at `offset` into `out`; the count read.
using ReadAtFunction = std::function<size_t(int64_t offset, void* out, size_t bytes)>;

// The layout of a file of `fileBytes` bytes, when it is a WAVE file of PCM (8, 16, 24
// or 32 bits) or 32-bit float samples in one to eight channels. Chunks are walked to the
// end of the file, a few thousand at the most; texts longer than a field are cut.
std::optional<WavLayout> ReadWavLayout(const ReadAtFunction& readAt, int64_t fileBytes);
