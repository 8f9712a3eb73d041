// What a file is, from its first bytes, and the sample counts its last bytes tell:
// the end of an Ogg stream, of a native FLAC stream and of WavPack; the length of raw
// AAC. Platform-free: the caller reads the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

enum class Container { Flac, OggFlac, OggVorbis, OggOpus, Wav, Mp4, Asf, WavPack, Adts, Other };

// How many bytes of the start the probe looks at.
constexpr size_t kProbeBytes = 512;

// By signature: "fLaC", "OggS" whose first packet is a FLAC, Vorbis or Opus header,
// "RIFF"/"WAVE", an MP4 box, ASF's header object, a WavPack block, or ADTS frame
// headers at their stated lengths. Other covers MPEG audio, which has no signature of
// its own.
Container ProbeContainer(std::string_view head);

struct OggPage {
    uint8_t flags = 0;
    int64_t granule = -1;  // -1: no packet ends on this page
    uint32_t serial = 0;
    uint64_t headerBytes = 0;  // with the segment table
    uint64_t bytes = 0;        // the whole page
};

// The most bytes a page's header takes, with its segment table.
constexpr size_t kOggPageHeaderBytes = 27 + 255;

// The page at the start of `bytes`, when its header is there and whole; its checksum
// is checked when `checkCrc` (the whole page must then be there).
std::optional<OggPage> ParseOggPage(std::string_view bytes, bool checkCrc);

struct OggEnd {
    int64_t last = 0;      // the last page's granule position
    int64_t believed = 0;  // the same, or the one before when the last jumps too far
};

// The last granule positions of stream `serial` among the whole pages in `tail` (the
// last bytes of a file). A final granule more than `largestStep` past the one before
// it is not believed. Nothing when no page of the stream ends a packet there.
std::optional<OggEnd> OggEndGranule(std::string_view tail, uint32_t serial, int64_t largestStep);

// The serial number of the stream whose page starts `head`.
std::optional<uint32_t> OggSerial(std::string_view head);

struct FlacStreamInfo {
    int minBlock = 0, maxBlock = 0;
    int sampleRate = 0;
    int channels = 0;
    int bits = 0;
    uint64_t totalSamples = 0;  // 0: not known
};

// The 34 bytes of a STREAMINFO block.
std::optional<FlacStreamInfo> ParseFlacStreamInfo(std::string_view block);

// The sample at which the stream ends by its last whole frame header in `tail` (the
// last bytes of a file): that frame's first sample and its block size. Frame headers
// are recognised by their sync, their fields and their CRC-8.
std::optional<uint64_t> FlacEndSample(std::string_view tail, const FlacStreamInfo& info);

// The first sample after the last whole WavPack block in `tail` (the last bytes of a
// file).
std::optional<int64_t> WavPackEndSample(std::string_view tail);

// The bytes of an APEv2 tag and an ID3v1 tag at the end of a file of `fileBytes`,
// `tail` being its last bytes: what follows the audio.
int64_t TrailingTagBytes(std::string_view tail, int64_t fileBytes);

struct AdtsFrame {
    int64_t bytes = 0;
    int sampleRate = 0;  // of the AAC core; an SBR layer doubles what is played
    int samples = 0;     // at that rate
    int channels = 0;    // 0: the frame's own elements tell
};

// The ADTS frame header at the start of `bytes`.
std::optional<AdtsFrame> ParseAdtsHeader(std::string_view bytes);

struct AdtsRun {
    int frames = 0;
    int64_t bytes = 0;                 // of the frames walked
    int64_t samples = 0;               // at `sampleRate`
    int sampleRate = 0, channels = 0;  // of the first
};

// The whole frames from the start of `bytes`, each header at the end of the frame
// before, up to the first one that is not, or that would take the samples past
// `mostSamples`.
AdtsRun WalkAdts(std::string_view bytes, int64_t mostSamples = INT64_MAX);
