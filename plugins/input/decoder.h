// One opened music file, whatever its format, as the player's worker sees it: 16-bit
// PCM piece by piece, format changes between pieces, and a sample-accurate seek.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "buffered_file.h"
#include "channel_mix.h"
#include "plugin_interface.h"
#include "stream_probe.h"

enum class Decoded { Audio, NewFormat, End };

class Decoder {
public:
    virtual ~Decoder() = default;

    // Every field the program reads.
    virtual void Describe(TrackInfo& info) = 0;
    // The format of what Decode gives: from the start, and from its last NewFormat on.
    virtual int SampleRate() = 0;
    virtual int Channels() = 0;
    // Where each of Channels() plays, when there are more than two; none when the
    // format does not say (the program then plays no more than two).
    virtual std::vector<Speaker> Speakers() { return {}; }
    // Interleaved signed 16-bit PCM, valid until the next call. A read error ends the
    // track as the end of the file does.
    virtual Decoded Decode(const unsigned char*& audio, size_t& bytes) = 0;
    // Goes to `frame` (one sample of every channel) counted from the start at the rate
    // the track opened with; false when it cannot. Decode then gives that frame first.
    virtual bool SeekToSample(int64_t frame) = 0;
    // Goes to `seconds` from the start. A chained stream counts each link at its own
    // rate, which samples at the opening rate (`openRate`) would not.
    virtual bool SeekToSeconds(int seconds, int openRate) { return SeekToSample(int64_t{seconds} * openRate); }
    // The lyrics the file carries, as GetLyrics gives them but without the byte-order
    // mark; empty when it has none.
    virtual std::string Lyrics() { return {}; }
};

// The decoder for the file `file` holds (opened at its start), chosen by its content,
// giving one or two channels; nothing when no decoder takes it. The decoder reads
// through `file`, which must outlive it.
std::unique_ptr<Decoder> OpenDecoder(BufferedFile& file);

// The decoders, each for a file whose signature it has (the start of `file`).
std::unique_ptr<Decoder> OpenMpeg(BufferedFile& file);
std::unique_ptr<Decoder> OpenFlac(BufferedFile& file, bool inOgg);
std::unique_ptr<Decoder> OpenVorbis(BufferedFile& file);
std::unique_ptr<Decoder> OpenOpus(BufferedFile& file);
std::unique_ptr<Decoder> OpenWav(BufferedFile& file);
// MP4, ASF, WavPack and raw AAC (`kind`), through FFmpeg.
std::unique_ptr<Decoder> OpenFfmpeg(BufferedFile& file, Container kind);

// What all formats report alike: texts from UTF-8, the bit rate from the bytes that
// play for `seconds`, the length in whole seconds.
void DescribeTrack(TrackInfo& info, const std::string& titleUtf8, const std::string& artistUtf8, int64_t audioBytes,
                   double seconds, int sampleRate);

// The last bytes of the file from `from` on, where the end of a stream is looked for.
std::string ReadTail(BufferedFile& file, int64_t from);

// The bytes of the Ogg stream that starts the file less its header pages (the
// comments, with any picture in them): the audio, for its bit rate.
int64_t OggAudioBytes(BufferedFile& file);

// The end of the Ogg stream that starts the file, from its last pages in `tail`. A
// page holds well under a minute of audio at `sampleRate`: a final granule position
// further on is damage.
std::optional<OggEnd> OggTailGranule(BufferedFile& file, std::string_view tail, int sampleRate);

// The frames of an Ogg stream that starts at 0 and whose library counted `total` up to
// its last granule position: when that position is damage (`end`), the frames before
// the page that claims it and those Decode still gives after them.
int64_t OggFrames(Decoder& decoder, int64_t total, const std::optional<OggEnd>& end);
