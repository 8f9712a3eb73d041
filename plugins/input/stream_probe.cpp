#include "stream_probe.h"

#include <algorithm>
#include <iterator>

#include "big_endian.h"
#include "byte_slice.h"
#include "little_endian.h"

namespace {

constexpr size_t kOggHeaderBytes = 27;

uint32_t OggCrc(std::string_view bytes) {
    static const auto table = [] {
        struct Table {
            uint32_t entries[256];
        } t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
            t.entries[i] = r;
        }
        return t;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        // The checksum field counts as zeros.
        const uint8_t byte = i >= 22 && i < 26 ? 0 : ByteAt(bytes, i);
        crc = crc << 8 ^ table.entries[(crc >> 24) ^ byte];
    }
    return crc;
}

uint8_t Crc8(std::string_view bytes) {
    uint8_t crc = 0;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

// The frame or sample number of a FLAC frame header: UTF-8 style, up to 7 bytes.
std::optional<uint64_t> CodedNumber(std::string_view bytes, size_t& at) {
    if (at >= bytes.size()) return std::nullopt;
    const uint8_t lead = ByteAt(bytes, at++);
    int more = 0;
    uint64_t value = lead;
    if (lead < 0x80) return value;
    for (uint8_t mask = 0x40; lead & mask && more < 6; mask >>= 1) ++more;
    if (more == 0 || (more == 6 && lead & 0x02)) return std::nullopt;
    value = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i, ++at) {
        if (at >= bytes.size() || (ByteAt(bytes, at) & 0xC0) != 0x80) return std::nullopt;
        value = value << 6 | (ByteAt(bytes, at) & 0x3F);
    }
    return value;
}

// The first sample and block size of the frame whose header starts `bytes`.
std::optional<std::pair<uint64_t, int>> FlacFrameAt(std::string_view bytes, const FlacStreamInfo& info) {
    if (bytes.size() < 6 || ByteAt(bytes, 0) != 0xFF || (ByteAt(bytes, 1) & 0xFE) != 0xF8) return std::nullopt;
    const bool variable = ByteAt(bytes, 1) & 1;
    const int sizeCode = ByteAt(bytes, 2) >> 4, rateCode = ByteAt(bytes, 2) & 0x0F;
    const int channelCode = ByteAt(bytes, 3) >> 4, bitsCode = ByteAt(bytes, 3) >> 1 & 7;
    if (sizeCode == 0 || rateCode == 15 || channelCode > 10 || bitsCode == 3 || (ByteAt(bytes, 3) & 1)) {
        return std::nullopt;
    }
    size_t at = 4;
    const auto number = CodedNumber(bytes, at);
    if (!number) return std::nullopt;
    int block = 0;
    if (sizeCode == 1) {
        block = 192;
    } else if (sizeCode <= 5) {
        block = 576 << (sizeCode - 2);
    } else if (sizeCode <= 7) {
        const int size = sizeCode == 6 ? 1 : 2;
        if (at + size > bytes.size()) return std::nullopt;
        block = static_cast<int>(BigEndian(bytes, at, size)) + 1;
        at += size;
    } else {
        block = 256 << (sizeCode - 8);
    }
    at += rateCode == 12 ? 1 : rateCode >= 13 ? 2 : 0;
    if (at >= bytes.size() || Crc8(bytes.substr(0, at)) != ByteAt(bytes, at)) return std::nullopt;
    if (variable) return std::make_pair(*number, block);
    // A fixed-size stream numbers its frames; all but the last hold the largest block.
    if (info.maxBlock <= 0) return std::nullopt;
    return std::make_pair(*number * static_cast<uint64_t>(info.maxBlock), block);
}

constexpr int kAdtsRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000, 7350};
constexpr size_t kAdtsHeaderBytes = 7;
constexpr size_t kWavPackHeaderBytes = 32;
constexpr int64_t kApeFooterBytes = 32;
constexpr int64_t kId3v1Bytes = 128;

bool IsMp4Box(std::string_view head) {
    // A size of 1 says a 64-bit one follows, 0 that the box runs to the end.
    if (head.size() < 8 || (BigEndian(head, 0, 4) > 1 && BigEndian(head, 0, 4) < 8)) return false;
    const std::string_view type = head.substr(4, 4);
    return type == "ftyp" || type == "moov" || type == "mdat" || type == "free" || type == "skip" || type == "wide";
}

}  // namespace

Container ProbeContainer(std::string_view head) {
    if (head.substr(0, 4) == "fLaC") return Container::Flac;
    if (head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WAVE") return Container::Wav;
    if (const auto page = ParseOggPage(head, false)) {
        const std::string_view packet = ByteSlice(head, page->headerBytes);
        if (packet.substr(0, 5) == "\177FLAC") return Container::OggFlac;
        if (packet.substr(0, 7) == "\x01vorbis") return Container::OggVorbis;
        if (packet.substr(0, 8) == "OpusHead") return Container::OggOpus;
    }
    if (IsMp4Box(head)) return Container::Mp4;
    if (head.substr(0, 16) ==
        std::string_view("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16)) {
        return Container::Asf;
    }
    if (head.substr(0, 4) == "wvpk") return Container::WavPack;
    // Two frames, or one that goes on past what was read.
    if (const auto frame = ParseAdtsHeader(head)) {
        if (static_cast<uint64_t>(frame->bytes) >= head.size() || ParseAdtsHeader(ByteSlice(head, frame->bytes))) {
            return Container::Adts;
        }
    }
    return Container::Other;
}

std::optional<OggPage> ParseOggPage(std::string_view bytes, bool checkCrc) {
    if (bytes.size() < kOggHeaderBytes || bytes.substr(0, 4) != "OggS" || ByteAt(bytes, 4) != 0) return std::nullopt;
    OggPage page;
    page.flags = ByteAt(bytes, 5);
    page.granule = static_cast<int64_t>(LittleEndian(bytes, 6, 8));
    page.serial = static_cast<uint32_t>(LittleEndian(bytes, 14, 4));
    const uint64_t segments = ByteAt(bytes, 26);
    page.headerBytes = kOggHeaderBytes + segments;
    if (bytes.size() < page.headerBytes) return std::nullopt;
    page.bytes = page.headerBytes;
    for (size_t i = 0; i < segments; ++i) page.bytes += ByteAt(bytes, kOggHeaderBytes + i);
    if (checkCrc &&
        (bytes.size() < page.bytes || OggCrc(ByteSlice(bytes, 0, page.bytes)) != LittleEndian(bytes, 22, 4))) {
        return std::nullopt;
    }
    return page;
}

std::optional<uint32_t> OggSerial(std::string_view head) {
    const auto page = ParseOggPage(head, false);
    if (!page) return std::nullopt;
    return page->serial;
}

std::optional<OggEnd> OggEndGranule(std::string_view tail, uint32_t serial, int64_t largestStep) {
    std::optional<int64_t> last, previous;
    for (size_t at = tail.find("OggS"); at != std::string_view::npos; at = tail.find("OggS", at + 1)) {
        const auto page = ParseOggPage(tail.substr(at), true);
        if (!page || page->serial != serial || page->granule < 0) continue;
        previous = last;
        last = page->granule;
        at += static_cast<size_t>(page->bytes) - 1;  // its checksum held: all of it is in `tail`
    }
    if (!last) return std::nullopt;
    return OggEnd{*last, previous && *last - *previous > largestStep ? *previous : *last};
}

std::optional<FlacStreamInfo> ParseFlacStreamInfo(std::string_view block) {
    if (block.size() < 34) return std::nullopt;
    FlacStreamInfo info;
    info.minBlock = static_cast<int>(BigEndian(block, 0, 2));
    info.maxBlock = static_cast<int>(BigEndian(block, 2, 2));
    const uint64_t packed = static_cast<uint64_t>(BigEndian(block, 10, 4)) << 32 | BigEndian(block, 14, 4);
    info.sampleRate = static_cast<int>(packed >> 44);
    info.channels = static_cast<int>(packed >> 41 & 7) + 1;
    info.bits = static_cast<int>(packed >> 36 & 31) + 1;
    info.totalSamples = packed & 0xFFFFFFFFFull;
    return info;
}

std::optional<uint64_t> FlacEndSample(std::string_view tail, const FlacStreamInfo& info) {
    // Audio data can look like a header by chance: a header counts when the frame
    // before it ends where it starts.
    constexpr size_t kLargestLook = 64;
    std::pair<uint64_t, int> later[kLargestLook];
    size_t found = 0;
    for (size_t at = tail.rfind('\xFF'); at != std::string_view::npos && found < kLargestLook;
         at = at == 0 ? std::string_view::npos : tail.rfind('\xFF', at - 1)) {
        const auto frame = FlacFrameAt(tail.substr(at), info);
        if (!frame) continue;
        for (size_t i = 0; i < found; ++i) {
            if (frame->first + frame->second == later[i].first) return later[i].first + later[i].second;
        }
        later[found++] = *frame;
    }
    return std::nullopt;
}

std::optional<int64_t> WavPackEndSample(std::string_view tail) {
    for (size_t at = tail.rfind("wvpk"); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : tail.rfind("wvpk", at - 1)) {
        const std::string_view header = ByteSlice(tail, at, kWavPackHeaderBytes);
        if (header.size() < kWavPackHeaderBytes) continue;
        // The block's size counts from after the size field; its first sample has 40 bits.
        const uint64_t bytes = LittleEndian(header, 4, 4) + 8;
        const int64_t samples = static_cast<int64_t>(LittleEndian(header, 20, 4));
        if (bytes < kWavPackHeaderBytes || at + bytes > tail.size() || samples == 0) continue;
        return static_cast<int64_t>(LittleEndian(header, 16, 4) | LittleEndian(header, 10, 1) << 32) + samples;
    }
    return std::nullopt;
}

int64_t TrailingTagBytes(std::string_view tail, int64_t fileBytes) {
    const int64_t size = static_cast<int64_t>(tail.size());
    int64_t bytes = size >= kId3v1Bytes && ByteSlice(tail, size - kId3v1Bytes, 3) == "TAG" ? kId3v1Bytes : 0;
    if (size >= bytes + kApeFooterBytes) {
        const std::string_view footer = ByteSlice(tail, size - bytes - kApeFooterBytes, kApeFooterBytes);
        // The size counts the items and the footer; a header before them adds its own.
        // A tag larger than the file is damage, and no tag.
        const int64_t ape = static_cast<int64_t>(LittleEndian(footer, 12, 4)) +
                            (LittleEndian(footer, 20, 4) & 0x80000000u ? kApeFooterBytes : 0);
        if (footer.substr(0, 8) == "APETAGEX" && bytes + ape <= fileBytes) bytes += ape;
    }
    return bytes;
}

std::optional<AdtsFrame> ParseAdtsHeader(std::string_view bytes) {
    // The sync, MPEG layer 0 (which MPEG audio never uses), a known rate.
    if (bytes.size() < kAdtsHeaderBytes || ByteAt(bytes, 0) != 0xFF || (ByteAt(bytes, 1) & 0xF6) != 0xF0) {
        return std::nullopt;
    }
    const int rateIndex = ByteAt(bytes, 2) >> 2 & 0x0F;
    const bool hasCrc = !(ByteAt(bytes, 1) & 1);
    AdtsFrame frame;
    frame.bytes = (ByteAt(bytes, 3) & 3) << 11 | ByteAt(bytes, 4) << 3 | ByteAt(bytes, 5) >> 5;
    if (rateIndex >= static_cast<int>(std::size(kAdtsRates)) ||
        frame.bytes < static_cast<int64_t>(kAdtsHeaderBytes + (hasCrc ? 2 : 0))) {
        return std::nullopt;
    }
    frame.sampleRate = kAdtsRates[rateIndex];
    frame.samples = ((ByteAt(bytes, 6) & 3) + 1) * 1024;
    frame.channels = (ByteAt(bytes, 2) & 1) << 2 | ByteAt(bytes, 3) >> 6;
    return frame;
}

AdtsRun WalkAdts(std::string_view bytes, int64_t mostSamples) {
    AdtsRun run;
    for (auto frame = ParseAdtsHeader(bytes);
         frame && static_cast<uint64_t>(run.bytes + frame->bytes) <= bytes.size() &&
         run.samples + frame->samples <= mostSamples;
         frame = ParseAdtsHeader(ByteSlice(bytes, run.bytes))) {
        if (run.frames > 0 && frame->sampleRate != run.sampleRate) break;
        if (run.frames == 0) run.channels = frame->channels;
        run.sampleRate = frame->sampleRate;
        ++run.frames;
        run.bytes += frame->bytes;
        run.samples += frame->samples;
    }
    return run;
}
