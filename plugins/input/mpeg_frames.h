// MPEG audio frame headers and the Xing/Info frame that LAME and others put first,
// with the rule for when its counts may be believed. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct FrameHeader {
    bool mpeg1 = false;  // MPEG-1; else MPEG-2 or 2.5
    int layer = 0;
    int kbps = 0;  // 0: free format
    int sampleRate = 0;
    bool mono = false;
    int bytes = 0;  // the whole frame; 0 for free format
    int samples = 0;
};

// The frame header at the start of `bytes`, when its four bytes make a valid one.
std::optional<FrameHeader> ParseFrameHeader(std::string_view bytes);

struct InfoFrame {
    std::optional<uint32_t> frames;
    std::optional<uint32_t> bytes;
    // A LAME tag follows and its checksum over the frame so far is right.
    bool checksumHolds = false;
};

// The Xing/Info header of the layer III frame `frame` (as much of it as was read,
// from its header on); nothing when the frame has none.
std::optional<InfoFrame> ParseInfoFrame(std::string_view frame);

// The LAME tag's checksum of the frame before it: CRC-16 with the reflected 0x8005
// polynomial, starting at 0.
uint16_t LameTagCrc(std::string_view bytes);

// Whether the counts of `info`, found in `first`, describe this file: both are there,
// the LAME tag's checksum holds, the byte count is that of the file or of its audio
// (without tags) and the frame count gives a bit rate that the format has.
bool InfoCountsHold(const InfoFrame& info, const FrameHeader& first, int64_t fileBytes, int64_t audioBytes);

// Whether `audio` (what follows a file's tags) holds MPEG audio: starting within its
// first kNearTheStart bytes, a frame with a Xing, Info or VBRI header, or kFramesInARow
// frame headers that agree (version, layer, rate) and follow each other at their stated
// lengths; fewer when the last of them ends the audio (`audio` is then all of it:
// `isAll`). Chance frame syncs, which any data has, do not make such a run; further in,
// machine code and tables do (a program's jump stubs read as a hundred frames in a row).
constexpr int kFramesInARow = 4;
constexpr size_t kNearTheStart = 4096;
bool HoldsMpegAudio(std::string_view audio, bool isAll);
