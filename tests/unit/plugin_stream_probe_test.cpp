// The stream readers on the layouts the plug-in's fixtures do not reach: chance frame
// syncs, Info frames on tagged files, forged page positions, unusual WAVE chunks, and
// rounding that the decode table's tolerance would hide. The damaged and forged Info
// frames are fixtures of the plug-in's Open table.
#include <gtest/gtest.h>

#include <cstring>

#include "../../plugins/input/mpeg_frames.h"
#include "../../plugins/input/sample_convert.h"
#include "../../plugins/input/stream_probe.h"
#include "../../plugins/input/wav_header.h"

namespace {

std::string Le(uint64_t n, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char(n >> (8 * i));
    return out;
}

uint32_t OggCrc(const std::string& page) {
    uint32_t crc = 0;
    for (unsigned char byte : page) {
        crc ^= uint32_t{byte} << 24;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

std::string OggPageBytes(int64_t granule, uint32_t serial, const std::string& packet) {
    std::string page = "OggS" + std::string(2, '\0') + Le(granule, 8) + Le(serial, 4) + Le(0, 8) +
                       char(1) + char(packet.size()) + packet;
    return page.replace(22, 4, Le(OggCrc(page), 4));
}

// A fixed-block FLAC frame header: frame `number` (below 128), 4096 samples, its CRC-8.
std::string FlacHeader(int number) {
    std::string header = {'\xFF', '\xF8', '\xC9', '\x18', char(number)};
    uint8_t crc = 0;
    for (char c : header) {
        crc ^= uint8_t(c);
        for (int bit = 0; bit < 8; ++bit) crc = uint8_t(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return header + char(crc);
}

TEST(HoldsMpegAudio, AskForAgreeingFramesAtTheirLengthsNotAChanceSync) {
    const std::string frame = std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\x55');  // 417 bytes
    const std::string mono22 = std::string("\xFF\xF3\x48\xC4", 4) + std::string(60, '\x55');
    const std::string four = frame + frame + frame + frame, deep(5000, 'j');
    std::string xing = frame;
    xing.replace(36, 4, "Xing");
    const std::tuple<const char*, std::string, bool, bool> cases[] = {
        {"four frames", four, false, true},
        {"two frames that are all of it", frame + frame, true, true},
        {"junk first", "junk" + four, false, true},
        // Further in they are no start of audio: a program's code or tables, say.
        {"frames deep inside", deep + four + four + four + four, false, false},
        {"a Xing frame deep inside", deep + xing + "j", false, false},
        {"a Xing frame alone", xing, false, true},
        {"three frames, more to come", frame + frame + frame, false, false},
        {"a frame and a stray byte", frame + "x", true, false},
        {"another rate after the first", frame + mono22 + frame + frame, false, false},
        {"syncs at the wrong distance", frame.substr(0, 400) + frame.substr(0, 400) + frame + frame, false, false},
        {"zeros", std::string(65536, '\0'), true, false},
        {"a header too near the end for its VBRI tag", frame.substr(0, 30), true, false},
        {"all ones", std::string(65536, '\xFF'), true, false},
    };
    for (const auto& [name, audio, isAll, holds] : cases) EXPECT_EQ(HoldsMpegAudio(audio, isAll), holds) << name;
}

// Four seconds at 128 kbit/s: 155 frames of 1152 samples in 65,200 bytes.
TEST(InfoCountsHold, OnlyWhenTheFileAgrees) {
    const FrameHeader first = *ParseFrameHeader("\xFF\xFB\x90\x64");
    const std::tuple<const char*, InfoFrame, int64_t, int64_t, bool> cases[] = {
        {"whole file", {155, 65200, true}, 65200, 65200, true},
        {"a tagged file counts its audio", {155, 65200, true}, 70000, 65072, true},
    };
    for (const auto& [name, info, fileBytes, audioBytes, holds] : cases)
        EXPECT_EQ(InfoCountsHold(info, first, fileBytes, audioBytes), holds) << name;
}

TEST(FlacEndSample, TakesTheLastHeaderThatFollowsItsPredecessor) {
    FlacStreamInfo info;
    info.maxBlock = 4096;
    const std::string audio(300, '\x11');
    const std::tuple<const char*, std::string, std::optional<uint64_t>> cases[] = {
        {"two frames", FlacHeader(9) + audio + FlacHeader(10) + audio, 11 * 4096},
        {"a chance header after them", FlacHeader(9) + audio + FlacHeader(10) + audio + FlacHeader(90), 11 * 4096},
        {"a lone header", audio + FlacHeader(10) + audio, std::nullopt},
        {"a broken checksum", FlacHeader(9) + audio + FlacHeader(10).substr(0, 5) + "\x00" + audio, std::nullopt},
    };
    for (const auto& [name, tail, end] : cases) EXPECT_EQ(FlacEndSample(tail, info), end) << name;
}

// An ADTS frame of `bytes` at the rate of `rateIndex` (4: 44.1 kHz), stereo, one block.
std::string AdtsFrame(int bytes, int rateIndex = 4) {
    const std::string header = {'\xFF', '\xF1', char(0x40 | rateIndex << 2), char(0x80 | bytes >> 11), char(bytes >> 3),
                                char((bytes & 7) << 5 | 0x1F), '\xFC'};
    return header + std::string(bytes - 7, '\x11');
}

TEST(WalkAdts, CountsWholeFramesEachAtTheEndOfTheOneBefore) {
    const std::string frame = AdtsFrame(300), mpeg = std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\x55');
    const std::tuple<const char*, std::string, int64_t, int> cases[] = {
        {"three", frame + AdtsFrame(200) + AdtsFrame(400), INT64_MAX, 3},
        {"another rate after two", frame + frame + AdtsFrame(300, 3), INT64_MAX, 2},
        {"a frame cut off", frame + frame.substr(0, 100), INT64_MAX, 1},
        {"MPEG audio", mpeg + mpeg + mpeg, INT64_MAX, 0},
        {"up to the frame that holds sample 2048", frame + frame + frame, 2048, 2},
    };
    for (const auto& [name, bytes, mostSamples, frames] : cases) {
        const AdtsRun run = WalkAdts(bytes, mostSamples);
        EXPECT_EQ(run.frames, frames) << name;
        EXPECT_EQ(run.samples, frames * 1024) << name;
    }
}

// An APEv2 tag (32-byte footer, with or without a header) and an ID3v1 tag follow the
// audio; a size larger than the file is damage.
TEST(TrailingTagBytes, CountsTheTagsAfterTheAudio) {
    auto ape = [](uint32_t items, bool header) {
        return "APETAGEX" + Le(2000, 4) + Le(items + 32, 4) + Le(1, 4) + Le(header ? 0xA0000000u : 0, 4) + Le(0, 8);
    };
    const std::string audio(1000, 'a'), v1 = "TAG" + std::string(125, ' ');
    EXPECT_EQ(TrailingTagBytes(audio + std::string(50, 'i') + ape(50, false), 1082), 82);
    EXPECT_EQ(TrailingTagBytes(audio + std::string(82, 'i') + ape(50, true) + v1, 1242), 242);
    EXPECT_EQ(TrailingTagBytes(audio + ape(0xFFFFFF00u, false), 1032), 0);
}

// The last whole block ends the stream: its first sample has 40 bits.
TEST(WavPackEndSample, TakesTheLastWholeBlock) {
    auto block = [](uint64_t first, uint32_t samples) {
        return "wvpk" + Le(92, 4) + Le(0x410, 2) + char(first >> 32) + '\0' + Le(0, 4) + Le(first, 4) + Le(samples, 4) +
               Le(0, 8) + std::string(68, 'w');
    };
    EXPECT_EQ(WavPackEndSample(block(0, 22050) + block(22050, 22050)), 44100);
    EXPECT_EQ(WavPackEndSample(block(0x100000000, 100) + block(0x100000064, 100).substr(0, 60)), 0x100000064);
}

TEST(OggEndGranule, BelievesTheLastPageUnlessItJumpsPastAPagesWorth) {
    const int64_t minute = 48000 * 60;
    const std::tuple<const char*, std::string, int64_t, int64_t> cases[] = {
        {"in step", OggPageBytes(96000, 7, "a") + OggPageBytes(144000, 7, "b"), 144000, 144000},
        {"a forged end", OggPageBytes(96000, 7, "a") + OggPageBytes(int64_t{1} << 40, 7, "b"), int64_t{1} << 40, 96000},
        {"another stream's page last", OggPageBytes(96000, 7, "a") + OggPageBytes(1 << 30, 8, "b"), 96000, 96000},
        {"a cut page last", OggPageBytes(96000, 7, "a") + OggPageBytes(1 << 30, 7, "bbbb").substr(0, 29), 96000, 96000},
    };
    for (const auto& [name, tail, last, believed] : cases) {
        const auto end = OggEndGranule(tail, 7, minute);
        ASSERT_TRUE(end) << name;
        EXPECT_EQ(end->last, last) << name;
        EXPECT_EQ(end->believed, believed) << name;
    }
}

std::string Chunk(const std::string& id, const std::string& body, int64_t claimed = -1) {
    return id + Le(claimed < 0 ? body.size() : uint64_t(claimed), 4) + body + std::string(body.size() % 2, '\0');
}

std::string Wave(const std::string& chunks) {
    return "RIFF" + Le(4 + chunks.size(), 4) + "WAVE" + chunks;
}

std::optional<WavLayout> ReadLayout(const std::string& file) {
    return ReadWavLayout(
        [&](int64_t at, void* out, size_t bytes) {
            const std::string part = file.substr(std::min<size_t>(at, file.size()), bytes);
            memcpy(out, part.data(), part.size());
            return part.size();
        },
        file.size());
}

const std::string kPcm16 = Chunk("fmt ", Le(1, 2) + Le(2, 2) + Le(44100, 4) + Le(176400, 4) + Le(4, 2) + Le(16, 2));

TEST(ReadWavLayout, FindsTheSamplesAndTextsWhereverTheChunksLie) {
    const std::string& pcm16 = kPcm16;
    const std::string subformat = std::string("\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 14);
    const std::string extensibleFloat =
        Chunk("fmt ", Le(0xFFFE, 2) + Le(1, 2) + Le(48000, 4) + Le(192000, 4) + Le(4, 2) + Le(32, 2) + Le(22, 2) +
                          Le(32, 2) + Le(4, 4) + Le(3, 2) + subformat);
    const std::string info = Chunk("LIST", "INFO" + Chunk("IART", "Band") + Chunk("INAM", std::string("Song\0", 5)));
    const std::string data(4000, '\x01');
    // Name, file, bytes of samples (-1: refused), title, artist.
    const std::tuple<const char*, std::string, int64_t, std::string, std::string> cases[] = {
        {"texts after the samples", Wave(pcm16 + Chunk("data", data) + info), 4000, "Song", "Band"},
        {"texts first", Wave(info + pcm16 + Chunk("data", data)), 4000, "Song", "Band"},
        {"extensible float", Wave(extensibleFloat + Chunk("data", data)), 4000, "", ""},
        {"streamed, size left 0", Wave(pcm16 + Chunk("data", data, 0)), 4000, "", ""},
        {"a part frame at the end", Wave(pcm16 + Chunk("data", data.substr(0, 3999))), 3996, "", ""},
        {"no samples chunk", Wave(pcm16 + info), -1, "", ""},
    };
    for (const auto& [name, file, dataBytes, title, artist] : cases) {
        const auto layout = ReadLayout(file);
        ASSERT_EQ(layout.has_value(), dataBytes >= 0) << name;
        if (!layout) continue;
        EXPECT_EQ(layout->dataBytes, dataBytes) << name;
        EXPECT_EQ(layout->title, title) << name;
        EXPECT_EQ(layout->artist, artist) << name;
    }
}

// A size near 4 GiB wraps a 32-bit offset: back onto the same chunk (a reader that
// never returns: the tier's time limit catches it) or past the buffer (a slice that
// throws).
TEST(ReadWavLayout, SizesNearFourGiBNeitherHangNorThrow) {
    static const std::string data(4000, '\x01'), song("Song\0", 5);
    // Name, file of a bad size, bytes of samples (-1: refused).
    const std::tuple<const char*, std::string (*)(uint32_t size), int64_t> cases[] = {
        // The samples follow the bad size or lie before it: all of them open.
        {"an INFO text's, first", [](uint32_t size) {
             return Wave(Chunk("LIST", "INFO" + Chunk("INAM", song, size) + Chunk("IART", "Band")) + kPcm16 +
                         Chunk("data", data));
         }, 4000},
        {"the LIST chunk's, after the samples", [](uint32_t size) {
             return Wave(kPcm16 + Chunk("data", data) + Chunk("LIST", "INFO" + Chunk("INAM", song), size));
         }, 4000},
        {"the samples' own, to the end", [](uint32_t size) { return Wave(kPcm16 + Chunk("data", data, size)); }, 4000},
        // The samples lie inside what the bad size claims: there are none.
        {"an unknown chunk's, before the samples",
         [](uint32_t size) { return Wave(kPcm16 + Chunk("junk", "x", size) + Chunk("data", data)); }, -1},
        {"the format's",
         [](uint32_t size) { return Wave(Chunk("fmt ", kPcm16.substr(8), size) + Chunk("data", data)); }, -1},
    };
    for (const auto& [name, file, dataBytes] : cases) {
        // 0x80000000, then 0xFFFFFFF0 to 0xFFFFFFFF.
        for (uint64_t size = 0x80000000; size <= 0xFFFFFFFF; size = size == 0x80000000 ? 0xFFFFFFF0 : size + 1) {
            std::optional<WavLayout> layout;
            EXPECT_NO_THROW(layout = ReadLayout(file(static_cast<uint32_t>(size)))) << name << ", " << size;
            EXPECT_EQ(layout ? layout->dataBytes : -1, dataBytes) << name << ", " << size;
        }
    }
}

TEST(Int16FromBits, RoundsToTheNearestAndHoldsTheRange) {
    EXPECT_EQ(Int16FromBits(0x12345, 24), 0x123);   // 0x123.45 down
    EXPECT_EQ(Int16FromBits(0x123C0, 24), 0x124);   // 0x123.C0 up
    EXPECT_EQ(Int16FromBits(0x7FFFFF, 24), 32767);  // would round past the top
    EXPECT_EQ(Int16FromBits(-0x800000, 24), -32768);
    EXPECT_EQ(Int16FromBits(-100, 8), -25600);
    EXPECT_EQ(Int16FromFloat(1.5f), 32767);
    EXPECT_EQ(Int16FromFloat(-0.5f), -16384);
}

}  // namespace
