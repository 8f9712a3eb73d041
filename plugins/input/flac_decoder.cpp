// FLAC, native and in Ogg, through libFLAC reading our file.
#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <vector>

#include "decoder.h"
#include "sample_convert.h"
#include "stream_probe.h"
#include "vorbis_comments.h"

namespace {

constexpr int kMaxRate = 768000;
constexpr int kMaxEmptySteps = 1 << 16;

class FlacDecoder final : public Decoder {
public:
    explicit FlacDecoder(BufferedFile& file) : file(file) {}
    ~FlacDecoder() override {
        if (decoder != nullptr) FLAC__stream_decoder_delete(decoder);
    }

    bool Open(bool inOgg);
    void Describe(TrackInfo& info) override;
    int SampleRate() override { return info.sampleRate; }
    int Channels() override { return info.channels; }
    std::vector<Speaker> Speakers() override { return WaveSpeakers(info.channels); }
    Decoded Decode(const unsigned char*& audio, size_t& bytes) override;
    bool SeekToSample(int64_t frame) override;
    std::string Lyrics() override { return comments.Lyrics(); }

private:
    uint64_t CountSamples(bool inOgg);

    static FLAC__StreamDecoderReadStatus Read(const FLAC__StreamDecoder*, FLAC__byte* buffer, size_t* bytes,
                                              void* self);
    static FLAC__StreamDecoderSeekStatus Seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* self);
    static FLAC__StreamDecoderTellStatus Tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* self);
    static FLAC__StreamDecoderLengthStatus Length(const FLAC__StreamDecoder*, FLAC__uint64* length, void* self);
    static FLAC__bool AtEnd(const FLAC__StreamDecoder*, void* self);
    static FLAC__StreamDecoderWriteStatus Write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                const FLAC__int32* const channels[], void* self);
    static void Metadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* self);
    static void Error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

    BufferedFile& file;
    FLAC__StreamDecoder* decoder = nullptr;
    FlacStreamInfo info;
    bool hasInfo = false;
    CommentTexts comments;
    uint64_t totalSamples = 0;
    int64_t audioStart = 0;
    std::vector<int16_t> pcm;  // the last frame decoded
    bool handedOut = false;    // pcm has gone to Decode's caller
};

FLAC__StreamDecoderReadStatus FlacDecoder::Read(const FLAC__StreamDecoder*, FLAC__byte* buffer, size_t* bytes,
                                                void* self) {
    const int64_t got = static_cast<FlacDecoder*>(self)->file.ReadNext(buffer, *bytes);
    if (got < 0) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    *bytes = static_cast<size_t>(got);
    return got == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

FLAC__StreamDecoderSeekStatus FlacDecoder::Seek(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* self) {
    return static_cast<FlacDecoder*>(self)->file.SeekTo(static_cast<int64_t>(offset), SEEK_SET) < 0
               ? FLAC__STREAM_DECODER_SEEK_STATUS_ERROR
               : FLAC__STREAM_DECODER_SEEK_STATUS_OK;
}

FLAC__StreamDecoderTellStatus FlacDecoder::Tell(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* self) {
    *offset = static_cast<FLAC__uint64>(static_cast<FlacDecoder*>(self)->file.Position());
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus FlacDecoder::Length(const FLAC__StreamDecoder*, FLAC__uint64* length, void* self) {
    *length = static_cast<FLAC__uint64>(static_cast<FlacDecoder*>(self)->file.Length());
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool FlacDecoder::AtEnd(const FLAC__StreamDecoder*, void* self) {
    const BufferedFile& file = static_cast<FlacDecoder*>(self)->file;
    return file.Position() >= file.Length();
}

FLAC__StreamDecoderWriteStatus FlacDecoder::Write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                  const FLAC__int32* const channels[], void* self) {
    auto* flac = static_cast<FlacDecoder*>(self);
    const int count = flac->info.channels;
    const size_t samples = frame->header.blocksize;
    // A frame of another shape than the stream's is damage: it plays as silence.
    const bool fits = static_cast<int>(frame->header.channels) == count &&
                      static_cast<int>(frame->header.bits_per_sample) == flac->info.bits;
    flac->pcm.assign(samples * count, 0);
    for (size_t i = 0; fits && i < samples; ++i) {
        for (int c = 0; c < count; ++c) flac->pcm[i * count + c] = Int16FromBits(channels[c][i], flac->info.bits);
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void FlacDecoder::Metadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* self) {
    auto* flac = static_cast<FlacDecoder*>(self);
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO && !flac->hasInfo) {
        const FLAC__StreamMetadata_StreamInfo& stream = metadata->data.stream_info;
        flac->info.minBlock = static_cast<int>(stream.min_blocksize);
        flac->info.maxBlock = static_cast<int>(stream.max_blocksize);
        flac->info.sampleRate = static_cast<int>(stream.sample_rate);
        flac->info.channels = static_cast<int>(stream.channels);
        flac->info.bits = static_cast<int>(stream.bits_per_sample);
        flac->info.totalSamples = stream.total_samples;
        flac->hasInfo = true;
    } else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT) {
        const FLAC__StreamMetadata_VorbisComment& block = metadata->data.vorbis_comment;
        for (FLAC__uint32 i = 0; i < block.num_comments; ++i) {
            const FLAC__StreamMetadata_VorbisComment_Entry& entry = block.comments[i];
            if (entry.entry != nullptr) {
                flac->comments.Take(std::string_view(reinterpret_cast<const char*>(entry.entry), entry.length));
            }
        }
    }
}

bool FlacDecoder::Open(bool inOgg) {
    decoder = FLAC__stream_decoder_new();
    if (decoder == nullptr) return false;
    FLAC__stream_decoder_set_md5_checking(decoder, false);
    FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    const auto init = inOgg ? &FLAC__stream_decoder_init_ogg_stream : &FLAC__stream_decoder_init_stream;
    if (init(decoder, &Read, &Seek, &Tell, &Length, &AtEnd, &Write, &Metadata, &Error, this) !=
            FLAC__STREAM_DECODER_INIT_STATUS_OK ||
        !FLAC__stream_decoder_process_until_end_of_metadata(decoder) || !hasInfo) {
        return false;
    }
    if (info.channels > kMaxChannels || info.sampleRate <= 0 || info.sampleRate > kMaxRate || info.bits < 4) return false;
    FLAC__uint64 position = 0;
    audioStart = FLAC__stream_decoder_get_decode_position(decoder, &position) ? static_cast<int64_t>(position) : 0;
    // The first frame must decode; playing starts over from the first sample.
    const unsigned char* audio;
    size_t bytes;
    if (Decode(audio, bytes) != Decoded::Audio) return false;
    totalSamples = CountSamples(inOgg);
    return SeekToSample(0);
}

// The stream's own count, unless its last frame (or page) tells otherwise: a header
// that lies, a file cut short or one whose writer never came back to fill it in.
uint64_t FlacDecoder::CountSamples(bool inOgg) {
    const std::string tail = ReadTail(file, audioStart);
    std::optional<uint64_t> end;
    if (inOgg) {
        if (const auto granule = OggTailGranule(file, tail, info.sampleRate)) {
            end = static_cast<uint64_t>(std::max<int64_t>(granule->believed, 0));
        }
    } else {
        end = FlacEndSample(tail, info);
    }
    return end ? *end : info.totalSamples;
}

void FlacDecoder::Describe(TrackInfo& out) {
    const double seconds = static_cast<double>(totalSamples) / info.sampleRate;
    DescribeTrack(out, comments.title, comments.artist, file.Size() - audioStart, seconds, info.sampleRate);
}

Decoded FlacDecoder::Decode(const unsigned char*& audio, size_t& bytes) {
    if (handedOut) pcm.clear();
    handedOut = false;
    // Each step reads a metadata block or a frame, or skips damage up to the next
    // frame; a bound on the steps without audio keeps a hostile file from holding us.
    for (int step = 0; pcm.empty(); ++step) {
        const FLAC__StreamDecoderState state = FLAC__stream_decoder_get_state(decoder);
        if (step == kMaxEmptySteps || state == FLAC__STREAM_DECODER_END_OF_STREAM ||
            state >= FLAC__STREAM_DECODER_OGG_ERROR || !FLAC__stream_decoder_process_single(decoder)) {
            return Decoded::End;
        }
    }
    handedOut = true;
    audio = reinterpret_cast<const unsigned char*>(pcm.data());
    bytes = pcm.size() * sizeof(int16_t);
    return Decoded::Audio;
}

bool FlacDecoder::SeekToSample(int64_t frame) {
    pcm.clear();
    handedOut = false;
    if (frame == 0) {
        // Back to the start with the metadata read again: needs no seek table and no
        // sample count, which a damaged file may lack.
        return FLAC__stream_decoder_reset(decoder) != 0;
    }
    // The frame that holds the target is decoded from the target on, into pcm.
    if (FLAC__stream_decoder_seek_absolute(decoder, static_cast<FLAC__uint64>(frame))) return true;
    // A failed seek leaves the decoder needing a flush before it decodes again.
    FLAC__stream_decoder_flush(decoder);
    return false;
}

}  // namespace

std::unique_ptr<Decoder> OpenFlac(BufferedFile& file, bool inOgg) {
    auto flac = std::make_unique<FlacDecoder>(file);
    if (!flac->Open(inOgg)) return nullptr;
    return flac;
}
