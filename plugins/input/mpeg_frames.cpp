#include "mpeg_frames.h"

#include <cstdlib>

#include "big_endian.h"

namespace {

// Bit rates in kbit/s by bit-rate index, 1 to 14.
constexpr int kMpeg1Kbps[3][14] = {
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
};
constexpr int kMpeg2Layer1Kbps[14] = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr int kMpeg2Kbps[14] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};

// A file's byte count may leave out a tag at either end.
constexpr int64_t kByteSlack = 2048;

// The bit-rate table of a format.
const int* KbpsTable(bool mpeg1, int layer) {
    if (mpeg1) return kMpeg1Kbps[layer - 1];
    return layer == 1 ? kMpeg2Layer1Kbps : kMpeg2Kbps;
}

}  // namespace

uint16_t LameTagCrc(std::string_view bytes) {
    uint16_t crc = 0;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

std::optional<FrameHeader> ParseFrameHeader(std::string_view bytes) {
    if (bytes.size() < 4 || ByteAt(bytes, 0) != 0xFF || (ByteAt(bytes, 1) & 0xE0) != 0xE0) return std::nullopt;
    const int version = ByteAt(bytes, 1) >> 3 & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layerBits = ByteAt(bytes, 1) >> 1 & 3;
    const int kbpsIndex = ByteAt(bytes, 2) >> 4;
    const int rateIndex = ByteAt(bytes, 2) >> 2 & 3;
    if (version == 1 || layerBits == 0 || kbpsIndex == 15 || rateIndex == 3) return std::nullopt;

    FrameHeader header;
    header.mpeg1 = version == 3;
    header.layer = 4 - layerBits;
    header.sampleRate = kMpeg1Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    header.kbps = kbpsIndex == 0 ? 0 : KbpsTable(header.mpeg1, header.layer)[kbpsIndex - 1];
    header.mono = (ByteAt(bytes, 3) >> 6) == 3;
    header.samples = header.layer == 1 ? 384 : header.layer == 3 && !header.mpeg1 ? 576 : 1152;
    const int padding = ByteAt(bytes, 2) >> 1 & 1;
    const int bitsPerSlot = header.layer == 1 ? 32 : 8;
    header.bytes = header.samples / bitsPerSlot * header.kbps * 1000 / header.sampleRate;
    if (header.kbps != 0) header.bytes = (header.bytes + padding) * (header.layer == 1 ? 4 : 1);
    return header;
}

std::optional<InfoFrame> ParseInfoFrame(std::string_view frame) {
    const auto header = ParseFrameHeader(frame);
    if (!header || header->layer != 3) return std::nullopt;
    if (header->bytes > 0 && frame.size() > static_cast<size_t>(header->bytes)) frame = frame.substr(0, header->bytes);
    // After the side information, whose size depends on the format.
    size_t at = 4 + (header->mpeg1 ? (header->mono ? 17 : 32) : (header->mono ? 9 : 17));
    if (frame.size() < at + 8) return std::nullopt;
    const std::string_view id = frame.substr(at, 4);
    if (id != "Xing" && id != "Info") return std::nullopt;
    const uint32_t flags = BigEndian(frame, at + 4, 4);
    at += 8;
    InfoFrame info;
    auto count = [&](uint32_t flag) -> std::optional<uint32_t> {
        if (!(flags & flag) || frame.size() < at + 4) return std::nullopt;
        at += 4;
        return BigEndian(frame, at - 4, 4);
    };
    info.frames = count(1);
    info.bytes = count(2);
    at += (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);  // the seek table and the quality
    // The LAME tag: 36 bytes, the last two a checksum of the frame before them.
    const size_t checksumAt = at + 34;
    if (frame.size() >= checksumAt + 2) {
        info.checksumHolds = LameTagCrc(frame.substr(0, checksumAt)) == BigEndian(frame, checksumAt, 2);
    }
    return info;
}

bool InfoCountsHold(const InfoFrame& info, const FrameHeader& first, int64_t fileBytes, int64_t audioBytes) {
    if (!info.frames || !info.bytes || !info.checksumHolds || *info.frames == 0) return false;
    const int64_t bytes = *info.bytes;
    if (std::llabs(bytes - fileBytes) > kByteSlack && std::llabs(bytes - audioBytes) > kByteSlack) return false;
    const double seconds = static_cast<double>(*info.frames) * first.samples / first.sampleRate;
    const double kbps = bytes * 8.0 / seconds / 1000.0;
    const int* table = KbpsTable(first.mpeg1, first.layer);
    return kbps >= table[0] * 0.9 && kbps <= table[13] * 1.1;
}

namespace {

bool HasHeaderFrame(std::string_view frame, const FrameHeader& header) {
    constexpr size_t kVbriAt = 36;  // after the header and 32 bytes of side information
    return ParseInfoFrame(frame).has_value() ||
           (header.layer == 3 && frame.size() >= kVbriAt + 4 && frame.substr(kVbriAt, 4) == "VBRI");
}

bool Agree(const FrameHeader& a, const FrameHeader& b) {
    return a.mpeg1 == b.mpeg1 && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

}  // namespace

bool HoldsMpegAudio(std::string_view audio, bool isAll) {
    for (size_t start = audio.find('\xFF'); start < kNearTheStart; start = audio.find('\xFF', start + 1)) {
        const auto first = ParseFrameHeader(audio.substr(start));
        if (!first || first->bytes <= 0) continue;
        if (HasHeaderFrame(audio.substr(start), *first)) return true;
        size_t at = start;
        int run = 0;
        for (auto frame = first; frame && frame->bytes > 0 && Agree(*frame, *first);
             frame = ParseFrameHeader(audio.substr(at))) {
            at += frame->bytes;
            if (++run == kFramesInARow || (isAll && at == audio.size())) return true;
            if (at >= audio.size()) break;
        }
    }
    return false;
}
