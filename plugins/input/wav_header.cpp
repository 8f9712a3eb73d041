#include "wav_header.h"

#include <algorithm>
#include <string_view>

#include "byte_slice.h"
#include "channel_mix.h"
#include "little_endian.h"

namespace {

constexpr int kMaxChunks = 4096;
constexpr size_t kTextBytesKept = 1024;
constexpr size_t kInfoBytesRead = 64 * 1024;
constexpr int kMaxRate = 768000;

// The format's two sub-format GUIDs that we play share their last 14 bytes.
constexpr std::string_view kGuidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);

bool ReadFormat(std::string_view chunk, WavLayout& layout) {
    if (chunk.size() < 16) return false;
    int tag = static_cast<int>(LittleEndian(chunk, 0, 2));
    layout.channels = static_cast<int>(LittleEndian(chunk, 2, 2));
    layout.sampleRate = static_cast<int>(std::min<uint64_t>(LittleEndian(chunk, 4, 4), INT32_MAX));
    layout.blockBytes = static_cast<int>(LittleEndian(chunk, 12, 2));
    layout.bits = static_cast<int>(LittleEndian(chunk, 14, 2));
    if (tag == 0xFFFE) {  // WAVE_FORMAT_EXTENSIBLE: the real tag leads its sub-format
        if (chunk.size() < 40 || chunk.substr(26, 14) != kGuidTail) return false;
        tag = static_cast<int>(LittleEndian(chunk, 24, 2));
        layout.channelMask = static_cast<uint32_t>(LittleEndian(chunk, 20, 4));
    }
    layout.isFloat = tag == 3;
    const bool bitsPlay = layout.isFloat
                              ? layout.bits == 32
                              : layout.bits == 8 || layout.bits == 16 || layout.bits == 24 || layout.bits == 32;
    return (tag == 1 || tag == 3) && bitsPlay && layout.channels >= 1 && layout.channels <= kMaxChannels &&
           layout.sampleRate > 0 && layout.sampleRate <= kMaxRate &&
           layout.blockBytes == layout.channels * layout.bits / 8;
}

// INAM and IART of a LIST chunk's INFO list, each up to its first NUL.
void ReadInfo(std::string_view list, WavLayout& layout) {
    if (list.substr(0, 4) != "INFO") return;
    // 64-bit: a text's size near 4 GiB would wrap a 32-bit offset back into the list.
    for (uint64_t at = 4; at + 8 <= list.size();) {
        const std::string_view id = ByteSlice(list, at, 4);
        const uint64_t size = LittleEndian(list, static_cast<size_t>(at) + 4, 4);
        const std::string_view value = ByteSlice(list, at + 8, std::min<uint64_t>(size, kTextBytesKept));
        std::string* field = id == "INAM" ? &layout.title : id == "IART" ? &layout.artist : nullptr;
        if (field != nullptr && field->empty()) *field = std::string(value.substr(0, value.find('\0')));
        at += 8 + size + (size & 1);
    }
}

}  // namespace

std::optional<WavLayout> ReadWavLayout(const ReadAtFunction& readAt, int64_t fileBytes) {
    char riff[12];
    if (readAt(0, riff, sizeof(riff)) != sizeof(riff)) return std::nullopt;
    if (std::string_view(riff, 4) != "RIFF" || std::string_view(riff + 8, 4) != "WAVE") return std::nullopt;
    WavLayout layout;
    bool hasFormat = false, hasData = false;
    int64_t at = 12;
    for (int chunk = 0; chunk < kMaxChunks && at + 8 <= fileBytes; ++chunk) {
        char header[8];
        if (readAt(at, header, sizeof(header)) != sizeof(header)) break;
        const std::string_view id(header, 4);
        const int64_t size = static_cast<int64_t>(LittleEndian(std::string_view(header, 8), 4, 4));
        const int64_t body = at + 8;
        if (id == "fmt " && !hasFormat) {
            std::string bytes(static_cast<size_t>(std::min<int64_t>(size, 64)), '\0');
            bytes.resize(readAt(body, bytes.data(), bytes.size()));
            if (!ReadFormat(bytes, layout)) return std::nullopt;
            hasFormat = true;
        } else if (id == "data" && !hasData) {
            layout.dataStart = body;
            // Writers that stream leave the size 0 or at its largest: the data then
            // runs to the end, as it does when the file was cut short.
            const int64_t there = fileBytes - body;
            layout.dataBytes = size == 0 || size == 0xFFFFFFFF ? there : std::min(size, there);
            hasData = true;
        } else if (id == "LIST") {
            std::string bytes(static_cast<size_t>(std::clamp<int64_t>(size, 0, kInfoBytesRead)), '\0');
            bytes.resize(readAt(body, bytes.data(), bytes.size()));
            ReadInfo(bytes, layout);
        }
        if (hasData && (size == 0 || size == 0xFFFFFFFF)) break;
        at = body + size + (size & 1);
    }
    if (!hasFormat || !hasData) return std::nullopt;
    layout.dataBytes -= layout.dataBytes % layout.blockBytes;
    return layout;
}
