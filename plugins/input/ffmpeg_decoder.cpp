// AAC and ALAC in MP4, raw AAC (ADTS), WMA in ASF and WavPack, through FFmpeg's
// libavformat and libavcodec reading our file.
#include <cinttypes>
#include <cstdint>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

#include "decoder.h"
#include "id3v2_tag.h"
#include "sample_convert.h"

namespace {

constexpr int kIoBytes = 32 * 1024;
constexpr int kMaxRate = 768000;
constexpr int kMaxEmptySteps = 1 << 16;
// What no claim in a file makes the libraries ask for at once; the index of a day of
// AAC takes less.
constexpr size_t kLargestAllocation = 128 << 20;
// What an ID3v2 tag before raw AAC is read of: its texts come long before.
constexpr int64_t kTagBytesKept = 16 << 20;
// Where raw AAC's frames are counted for its length.
constexpr int64_t kAdtsBytesWalked = 256 * 1024;
constexpr int kAdtsFramesToCheck = 3;
// The highest AAC core rate whose output an SBR layer found in the frames alone (not
// said by the set-up) doubles.
constexpr int kMostImplicitSbrRate = 24000;
// An APEv2 tag's footer and an ID3v1 tag.
constexpr int64_t kFooterBytes = 32 + 128;
// Decoded before a jump's target and left out: a lossy frame overlaps the one before.
constexpr int64_t kPreroll = 8192;

// The frame's samples from `first` to `last` of every channel, planar or interleaved,
// into `out` interleaved, each made 16 bits by `convert`.
template <typename Sample, typename Convert>
void Interleave(const AVFrame& frame, bool planar, int64_t first, int64_t last, int16_t* out, Convert convert) {
    const int count = frame.ch_layout.nb_channels;
    for (int c = 0; c < count; ++c) {
        const auto* in = reinterpret_cast<const Sample*>(frame.extended_data[planar ? c : 0]) + (planar ? 0 : c);
        const int64_t step = planar ? 1 : count;
        for (int64_t i = first; i < last; ++i) out[(i - first) * count + c] = convert(in[i * step]);
    }
}

class FfmpegDecoder final : public Decoder {
public:
    FfmpegDecoder(BufferedFile& file, Container kind) : file(file), kind(kind) {}
    ~FfmpegDecoder() override;
    FfmpegDecoder(const FfmpegDecoder&) = delete;
    FfmpegDecoder& operator=(const FfmpegDecoder&) = delete;

    bool Open();
    void Describe(TrackInfo& info) override;
    int SampleRate() override { return rate; }
    int Channels() override { return channels; }
    // FFmpeg's channel bits are a WAVE channel mask's, the ones above it unknown there.
    std::vector<Speaker> Speakers() override { return WaveSpeakers(channels, static_cast<uint32_t>(mask)); }
    Decoded Decode(const unsigned char*& audio, size_t& bytes) override;
    bool SeekToSample(int64_t frame) override;

private:
    static int Read(void* self, uint8_t* buffer, int bytes);
    static int64_t Seek(void* self, int64_t offset, int whence);

    bool SkipId3v2();
    bool HoldsAdts();
    AdtsRun WalkFrames(int64_t mostBytes, int64_t mostSamples);
    int64_t AdtsOffset(int64_t& frames);
    bool KnowsFormat();
    bool NextWavPackBlock();
    bool OpenCodec();
    bool StartCodec();
    // The decoder ready for what follows a jump to `frame`: back at the start (or
    // before any decoding) a new one, made when it first decodes.
    void Restart(int64_t frame) {
        fresh = frame == 0 || codec == nullptr;
        if (!fresh) avcodec_flush_buffers(codec);
    }
    // The frame just decoded, into pcm: Audio, NewFormat, or nothing (all of it lies
    // before a jump's target or past the end).
    std::optional<Decoded> TakeFrame();
    int64_t ToFrames(int64_t timestamp) const;
    int64_t PresentFrames();
    double Seconds(int64_t& audioBytes);
    std::string Tag(const char* key) const;

    BufferedFile& file;
    Container kind;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int rate = 0, channels = 0;
    uint64_t mask = 0;
    std::string id3Title, id3Artist;  // UTF-8, of a tag before raw AAC
    AdtsRun adts;                     // raw AAC's first frames
    int64_t dataStart = 0;            // where an ASF file's packets start
    int64_t total = -1;               // frames the container says are audio; -1: not known
    int64_t origin = -1;              // the timestamp of the first frame played, in frames; -1: not known
    bool placed = false;              // position holds; else the next frame's timestamp tells it
    int64_t position = 0;             // of the next frame decoded, from the first frame played
    int64_t target = 0;               // where a jump goes: what comes before is left out
    bool draining = false, ended = false, pending = false, fresh = false;
    std::vector<int16_t> pcm;
};

FfmpegDecoder::~FfmpegDecoder() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    if (io != nullptr) av_freep(&io->buffer);
    avio_context_free(&io);
}

int FfmpegDecoder::Read(void* self, uint8_t* buffer, int bytes) {
    const int64_t got = static_cast<FfmpegDecoder*>(self)->file.ReadNext(buffer, static_cast<size_t>(bytes));
    return got < 0 ? AVERROR(EIO) : got == 0 ? AVERROR_EOF : static_cast<int>(got);
}

int64_t FfmpegDecoder::Seek(void* self, int64_t offset, int whence) {
    BufferedFile& file = static_cast<FfmpegDecoder*>(self)->file;
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE) return file.Length();
    return file.SeekTo(offset, whence);
}

// FFmpeg's own reading of an ID3v2 tag before raw AAC takes time that grows with the
// square of its frames: ours reads the texts, and the libraries see the audio alone.
bool FfmpegDecoder::SkipId3v2() {
    std::string head(kId3v2HeaderBytes, '\0');
    head.resize(file.ReadAt(0, head.data(), head.size()));
    const auto header = ParseId3v2Header(head);
    if (!header) return true;
    const int64_t kept =
        std::min({int64_t{header->bodyBytes}, file.Size() - int64_t{kId3v2HeaderBytes}, kTagBytesKept});
    std::string body(static_cast<size_t>(std::max<int64_t>(kept, 0)), '\0');
    body.resize(file.ReadAt(kId3v2HeaderBytes, body.data(), body.size()));
    Id3v2Texts texts = ReadId3v2Texts(*header, body);
    id3Title = std::move(texts.title);
    id3Artist = std::move(texts.artist);
    file.StartAt(header->ClaimedEnd());
    return file.SeekTo(0, SEEK_SET) == 0;
}

// Raw AAC has no signature: frames that follow each other at their stated lengths
// from the start, or all there is, make it.
bool FfmpegDecoder::HoldsAdts() {
    adts = WalkFrames(kAdtsBytesWalked, INT64_MAX);
    return adts.frames >= kAdtsFramesToCheck || (adts.frames > 0 && adts.bytes == file.Length());
}

// Raw AAC's frames from its start, over `mostBytes` and up to `mostSamples` (at the
// core rate) at the most, read a part at a time.
AdtsRun FfmpegDecoder::WalkFrames(int64_t mostBytes, int64_t mostSamples) {
    const int64_t start = file.Size() - file.Length();
    AdtsRun all;
    char part[16 * 1024];  // more than a frame's largest
    while (all.bytes < mostBytes && all.samples < mostSamples) {
        const size_t got = file.ReadAt(start + all.bytes, part,
                                       static_cast<size_t>(std::min<int64_t>(sizeof(part), mostBytes - all.bytes)));
        const AdtsRun run = WalkAdts(std::string_view(part, got), mostSamples - all.samples);
        if (run.frames == 0 || (all.frames > 0 && run.sampleRate != all.sampleRate)) break;
        if (all.frames == 0) all = AdtsRun{0, 0, 0, run.sampleRate, run.channels};
        all.frames += run.frames;
        all.bytes += run.bytes;
        all.samples += run.samples;
    }
    return all;
}

bool FfmpegDecoder::Open() {
    av_log_set_level(AV_LOG_QUIET);
    av_max_alloc(kLargestAllocation);
    if (kind == Container::Adts && (!SkipId3v2() || !HoldsAdts())) return false;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBytes));
    io = buffer != nullptr ? avio_alloc_context(buffer, kIoBytes, 0, this, &Read, nullptr, &Seek) : nullptr;
    if (io == nullptr) {
        av_free(buffer);
        return false;
    }
    format = avformat_alloc_context();
    if (format == nullptr) return false;
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    const char* name = kind == Container::Mp4       ? "mov"
                       : kind == Container::Asf     ? "asf"
                       : kind == Container::WavPack ? "wv"
                                                    : "aac";
    // Chosen by our probe: the libraries guess nothing. A failed open frees the context.
    if (avformat_open_input(&format, nullptr, av_find_input_format(name), nullptr) < 0) return false;
    dataStart = avio_tell(format->pb);
    return OpenCodec();
}

bool FfmpegDecoder::OpenCodec() {
    // The first audio stream; cover art, video and other tracks are not read. Raw AAC
    // tells its rate and channels only in its frames.
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVStream* candidate = format->streams[i];
        if (stream == nullptr && candidate->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            stream = candidate;
        } else {
            candidate->discard = AVDISCARD_ALL;
        }
    }
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (stream == nullptr || packet == nullptr || frame == nullptr ||
        avcodec_find_decoder(stream->codecpar->codec_id) == nullptr) {
        return false;
    }
    // The rate and channels as decoded, from the first frame where the container cannot
    // tell them: HE-AAC plays at twice its core's rate.
    const unsigned char* audio;
    size_t bytes;
    if (!KnowsFormat()) {
        rate = 0;  // the first frame's, whatever the container said
        if (!StartCodec() || Decode(audio, bytes) != Decoded::Audio) return false;
    }
    if (rate <= 0 || rate > kMaxRate || channels < 1 || channels > kMaxChannels) return false;
    total = PresentFrames();
    return SeekToSample(0);
}

// Decoders come dear (an AAC one with its buffers takes a third of a megabyte), and a
// playlist opens every file: the rate and channels the container gives stand, unless
// an AAC core's rate may yet double.
bool FfmpegDecoder::KnowsFormat() {
    const AVCodecParameters& given = *stream->codecpar;
    rate = kind == Container::Adts ? adts.sampleRate : given.sample_rate;
    channels = kind == Container::Adts ? adts.channels : given.ch_layout.nb_channels;
    mask = given.ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? given.ch_layout.u.mask : 0;
    return channels > 0 && (given.codec_id != AV_CODEC_ID_AAC || rate > kMostImplicitSbrRate);
}

// A decoder as new, whose state (AAC's noise generator among it) is what a decode
// from the start begins with.
bool FfmpegDecoder::StartCodec() {
    avcodec_free_context(&codec);
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    codec = decoder != nullptr ? avcodec_alloc_context3(decoder) : nullptr;
    if (codec == nullptr || avcodec_parameters_to_context(codec, stream->codecpar) < 0) return false;
    // The timestamps of what is decoded, and the encoder's priming left out by them.
    codec->pkt_timebase = stream->time_base;
    return avcodec_open2(codec, decoder, nullptr) == 0;
}

int64_t FfmpegDecoder::ToFrames(int64_t timestamp) const {
    return av_rescale_q(timestamp, stream->time_base, AVRational{1, rate});
}

// The frames the container counts as audio (priming and padding left out), up to the
// first of them that lies past the end of a file cut short; -1 where it does not count
// them exactly.
int64_t FfmpegDecoder::PresentFrames() {
    if (kind != Container::Mp4 || stream->duration <= 0) return -1;
    int64_t frames = ToFrames(stream->duration);
    // iTunes gives priming, padding and the frames between them in a tag of its own
    // instead of an edit list, counted at the rate played.
    unsigned zero = 0, priming = 0, padding = 0;
    uint64_t counted = 0;
    if (sscanf(Tag("iTunSMPB").c_str(), "%x %x %x %" SCNx64, &zero, &priming, &padding, &counted) == 4 && counted > 0 &&
        counted < static_cast<uint64_t>(frames)) {
        frames = static_cast<int64_t>(counted);
    }
    const int entries = avformat_index_get_entries_count(stream);
    const int64_t size = file.Length();
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
        if (entry->pos + entry->size > size) return std::clamp<int64_t>(ToFrames(entry->timestamp), 0, frames);
    }
    return frames;
}

std::string FfmpegDecoder::Tag(const char* key) const {
    const AVDictionaryEntry* entry = av_dict_get(format->metadata, key, nullptr, 0);
    if (entry == nullptr) entry = av_dict_get(stream->metadata, key, nullptr, 0);
    return entry != nullptr && entry->value != nullptr ? entry->value : "";
}

// The seconds of audio, and the bytes that play for them.
double FfmpegDecoder::Seconds(int64_t& audioBytes) {
    const int64_t fileBytes = file.Length();
    // Tags after the audio are WavPack's and raw AAC's, whose footers the last bytes
    // hold; WavPack's last block is looked for too.
    const int64_t from = kind == Container::WavPack ? 0
                         : kind == Container::Adts  ? file.Size() - kFooterBytes
                                                    : file.Size();
    const std::string tail = ReadTail(file, std::max(from, file.Size() - fileBytes));
    audioBytes = fileBytes - TrailingTagBytes(tail, fileBytes);
    switch (kind) {
        case Container::Mp4: {
            audioBytes = 0;
            const int entries = avformat_index_get_entries_count(stream);
            for (int i = 0; i < entries; ++i) {
                const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
                if (entry->pos + entry->size <= fileBytes) audioBytes += entry->size;
            }
            return total > 0 ? static_cast<double>(total) / rate : 0;
        }
        case Container::Adts:
            // Raw AAC counts nothing: the frames of its first bytes, at their average
            // size, over all of its bytes.
            return static_cast<double>(adts.samples) / adts.sampleRate * static_cast<double>(audioBytes) /
                   static_cast<double>(adts.bytes);
        default: {
            // What the header claims, or less where a file cut short ends sooner: at
            // WavPack's last whole block, at what ASF's packets hold at the stream's rate.
            double seconds =
                stream->duration > 0 ? static_cast<double>(stream->duration) * av_q2d(stream->time_base) : 0;
            const double bitrate = static_cast<double>(stream->codecpar->bit_rate);
            double there = 0;
            if (kind == Container::WavPack) {
                if (const auto end = WavPackEndSample(tail))
                    there = static_cast<double>(*end) * av_q2d(stream->time_base);
            } else if (bitrate > 0) {
                there = static_cast<double>(fileBytes - dataStart) * 8 / bitrate;
            }
            if (there > 0) seconds = seconds > 0 ? std::min(seconds, there) : there;
            if (kind == Container::Asf && bitrate > 0) audioBytes = static_cast<int64_t>(seconds * bitrate / 8);
            return seconds;
        }
    }
}

void FfmpegDecoder::Describe(TrackInfo& info) {
    int64_t audioBytes = 0;
    const double seconds = Seconds(audioBytes);
    // An ID3v2 tag before raw AAC comes before the libraries' ID3v1 or APE tag after it.
    DescribeTrack(info, id3Title.empty() ? Tag("title") : id3Title, id3Artist.empty() ? Tag("artist") : id3Artist,
                  audioBytes, seconds, rate);
}

Decoded FfmpegDecoder::Decode(const unsigned char*& audio, size_t& bytes) {
    std::optional<Decoded> result;
    if (pending) {
        pending = false;
        result = Decoded::Audio;
    }
    if (fresh && !StartCodec()) return Decoded::End;
    fresh = false;
    // Each step takes a decoded frame or reads a packet; a bound on the steps without
    // audio keeps a hostile file from holding us.
    for (int step = 0; !result && !ended && step < kMaxEmptySteps; ++step) {
        const int received = avcodec_receive_frame(codec, frame);
        if (received == 0) {
            result = TakeFrame();
            av_frame_unref(frame);
            continue;
        }
        if (received == AVERROR_EOF || draining) {
            ended = received == AVERROR_EOF;
            if (!ended) avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (received != AVERROR(EAGAIN)) continue;  // damage: the audio goes on after it
        if (const int read = av_read_frame(format, packet); read < 0) {
            // A damaged WavPack block: the audio goes on at the next one.
            if (read != AVERROR_EOF && kind == Container::WavPack && NextWavPackBlock()) continue;
            // The end of the file, or a read error: what the decoder holds still plays.
            draining = true;
            avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (packet->stream_index == stream->index) avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
    }
    if (!result) return Decoded::End;
    if (*result == Decoded::Audio) {
        audio = reinterpret_cast<const unsigned char*>(pcm.data());
        bytes = pcm.size() * sizeof(int16_t);
    }
    return *result;
}

std::optional<Decoded> FfmpegDecoder::TakeFrame() {
    const int count = frame->ch_layout.nb_channels;
    if (frame->nb_samples <= 0 || count < 1 || count > kMaxChannels || frame->sample_rate <= 0) return std::nullopt;
    const uint64_t places = frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame->ch_layout.u.mask : 0;
    // The channels' places count only where they are mixed down.
    const bool newFormat =
        rate != 0 && (frame->sample_rate != rate || count != channels || (count > 2 && places != mask));
    rate = frame->sample_rate;
    channels = count;
    mask = places;
    // The first frame after a jump is placed by its timestamp, counted from the first
    // frame played (an MP4 without an edit list stamps its priming too).
    const int64_t stamp = frame->pts != AV_NOPTS_VALUE ? ToFrames(frame->pts) : -1;
    if (origin < 0) origin = std::max<int64_t>(stamp, 0);
    if (!placed) position = stamp >= 0 ? stamp - origin : target;
    placed = true;
    // The part of the frame from the jump's target on, up to the end of the audio.
    const int64_t first = std::clamp<int64_t>(target - position, 0, frame->nb_samples);
    int64_t last = frame->nb_samples;
    if (total >= 0) last = std::clamp<int64_t>(total - position, first, last);
    position += frame->nb_samples;
    if (last <= first) return std::nullopt;
    const auto sampleFormat = static_cast<AVSampleFormat>(frame->format);
    const bool planar = av_sample_fmt_is_planar(sampleFormat);
    pcm.resize(static_cast<size_t>((last - first) * count));
    int16_t* out = pcm.data();
    switch (av_get_packed_sample_fmt(sampleFormat)) {
        case AV_SAMPLE_FMT_U8:
            Interleave<uint8_t>(*frame, planar, first, last, out, [](uint8_t s) { return int16_t((s - 128) * 256); });
            break;
        case AV_SAMPLE_FMT_S16:
            Interleave<int16_t>(*frame, planar, first, last, out, [](int16_t s) { return s; });
            break;
        case AV_SAMPLE_FMT_S32:
            Interleave<int32_t>(*frame, planar, first, last, out, [](int32_t s) { return Int16FromBits(s, 32); });
            break;
        case AV_SAMPLE_FMT_FLT:
            Interleave<float>(*frame, planar, first, last, out, [](float s) { return Int16FromFloat(s); });
            break;
        case AV_SAMPLE_FMT_DBL:
            Interleave<double>(*frame, planar, first, last, out, [](double s) { return Int16FromFloat(float(s)); });
            break;
        default:
            return std::nullopt;
    }
    if (!newFormat) return Decoded::Audio;
    pending = true;
    return Decoded::NewFormat;
}

bool FfmpegDecoder::SeekToSample(int64_t frame) {
    // Where the first frame played is stamped is known once one has been decoded.
    const unsigned char* audio;
    size_t bytes;
    if (origin < 0 && frame > 0 && (!SeekToSample(0) || Decode(audio, bytes) == Decoded::End)) return false;
    pcm.clear();
    pending = draining = ended = false;
    if (total >= 0 && frame >= total) return false;
    if (kind == Container::Adts) {
        // Raw AAC has no timestamps to seek by: its frames are counted from the start.
        int64_t frames = std::max<int64_t>(frame - kPreroll, 0);
        const int64_t offset = AdtsOffset(frames);
        if (av_seek_frame(format, -1, offset, AVSEEK_FLAG_BYTE) < 0) return false;
        Restart(frame);
        target = frame;
        position = frames;
        placed = true;
        return true;
    }
    // ALAC and WavPack frames stand alone; a lossy one needs the frame before it, and
    // WMA Lossless's predictors the ones before that.
    const AVCodecID id = stream->codecpar->codec_id;
    const bool alone = id == AV_CODEC_ID_ALAC || id == AV_CODEC_ID_WAVPACK;
    // Before the first frame played lies the priming, which the libraries leave out
    // themselves when they decode it from the start.
    const int64_t timestamp = av_rescale_q(frame - (alone ? 0 : kPreroll) + std::max<int64_t>(origin, 0),
                                           AVRational{1, rate}, stream->time_base);
    if (av_seek_frame(format, stream->index, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
        // Readers other than MP4's find nothing before the first frame: that one, then.
        const int64_t first = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
        if (timestamp >= first || av_seek_frame(format, stream->index, first, AVSEEK_FLAG_BACKWARD) < 0) return false;
    }
    Restart(frame);
    target = frame;
    placed = false;
    return true;
}

// The offset of the raw AAC frame that holds `frames` (at the rate played), and where
// that frame starts, in `frames`.
int64_t FfmpegDecoder::AdtsOffset(int64_t& frames) {
    const AdtsRun run = WalkFrames(INT64_MAX, av_rescale(frames, adts.sampleRate, rate));
    frames = av_rescale(run.samples, rate, adts.sampleRate);
    return run.bytes;
}

// FFmpeg's WavPack reader stops at a block header it cannot take; the next block is
// looked for after it.
bool FfmpegDecoder::NextWavPackBlock() {
    const int64_t from = avio_tell(format->pb);
    std::string chunk(kIoBytes, '\0');
    chunk.resize(file.ReadAt(file.Size() - file.Length() + from, chunk.data(), chunk.size()));
    const size_t at = chunk.find("wvpk");
    return at != std::string::npos && av_seek_frame(format, -1, from + static_cast<int64_t>(at), AVSEEK_FLAG_BYTE) >= 0;
}

}  // namespace

std::unique_ptr<Decoder> OpenFfmpeg(BufferedFile& file, Container kind) {
    auto decoder = std::make_unique<FfmpegDecoder>(file, kind);
    if (!decoder->Open()) return nullptr;
    return decoder;
}
