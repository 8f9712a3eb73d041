// Ogg Opus through opusfile reading our file, chained streams included. Opus always
// decodes at 48 kHz.
#include <opusfile.h>

#include "decoder.h"
#include "vorbis_comments.h"

namespace {

constexpr int kRate = 48000;
constexpr int kMaxHoles = 1 << 16;

class OpusStream final : public Decoder {
public:
    explicit OpusStream(BufferedFile& file) : file(file) {}
    ~OpusStream() override {
        if (opus != nullptr) op_free(opus);
    }

    bool Open();
    void Describe(TrackInfo& info) override;
    int SampleRate() override { return kRate; }
    int Channels() override { return channels; }
    // Mapping families 0 and 1 keep Vorbis's order; others give channels no places.
    std::vector<Speaker> Speakers() override {
        const OpusHead* head = op_head(opus, -1);
        return head != nullptr && head->mapping_family <= 1 ? VorbisSpeakers(channels) : std::vector<Speaker>{};
    }
    Decoded Decode(const unsigned char*& audio, size_t& bytes) override;
    bool SeekToSample(int64_t frame) override;
    std::string Lyrics() override { return Comments().Lyrics(); }

private:
    CommentTexts Comments() {
        CommentTexts texts;
        if (const OpusTags* tags = op_tags(opus, 0)) texts.TakeAll(*tags);
        return texts;
    }
    static int Read(void* self, unsigned char* buffer, int bytes);
    static int Seek(void* self, opus_int64 offset, int whence);
    static opus_int64 Tell(void* self);

    BufferedFile& file;
    OggOpusFile* opus = nullptr;
    int channels = 0;
    // 120 ms of every channel: the longest packet.
    opus_int16 pcm[kRate / 1000 * 120 * kMaxChannels];
    int pending = 0;  // frames read in a new format, handed out after NewFormat
};

int OpusStream::Read(void* self, unsigned char* buffer, int bytes) {
    return static_cast<int>(static_cast<OpusStream*>(self)->file.ReadNext(buffer, static_cast<size_t>(bytes)));
}

int OpusStream::Seek(void* self, opus_int64 offset, int whence) {
    return static_cast<OpusStream*>(self)->file.SeekTo(offset, whence) < 0 ? -1 : 0;
}

opus_int64 OpusStream::Tell(void* self) {
    return static_cast<OpusStream*>(self)->file.Position();
}

bool OpusStream::Open() {
    const OpusFileCallbacks callbacks = {&Read, &Seek, &Tell, nullptr};
    opus = op_open_callbacks(this, &callbacks, nullptr, 0, nullptr);
    if (opus == nullptr) return false;
    // The samples as the stream holds them, without the noise dithering adds.
    op_set_dither_enabled(opus, 0);
    channels = op_channel_count(opus, 0);
    if (channels < 1 || channels > kMaxChannels) return false;
    const unsigned char* audio;
    size_t bytes;
    return Decode(audio, bytes) == Decoded::Audio && SeekToSample(0);
}

void OpusStream::Describe(TrackInfo& info) {
    const CommentTexts texts = Comments();
    int64_t frames = op_pcm_total(opus, -1);
    // One stream whose last page claims far more than the pages before it: what is
    // there counts.
    if (op_link_count(opus) == 1) frames = OggFrames(*this, frames, OggTailGranule(file, ReadTail(file, 0), kRate));
    DescribeTrack(info, texts.title, texts.artist, OggAudioBytes(file), static_cast<double>(frames) / kRate, kRate);
}

Decoded OpusStream::Decode(const unsigned char*& audio, size_t& bytes) {
    int got = pending;
    pending = 0;
    for (int holes = 0; got == 0 && holes < kMaxHoles; ++holes) {
        int link = 0;
        got = op_read(opus, pcm, static_cast<int>(sizeof(pcm) / sizeof(pcm[0])), &link);
        if (got == OP_HOLE) {  // damage between pages: the audio goes on after it
            got = 0;
            continue;
        }
        if (got <= 0) return Decoded::End;
        const int count = op_channel_count(opus, link);
        if (count < 1 || count > kMaxChannels) return Decoded::End;
        if (count != channels) {
            channels = count;
            pending = got;
            return Decoded::NewFormat;
        }
    }
    if (got == 0) return Decoded::End;
    audio = reinterpret_cast<const unsigned char*>(pcm);
    bytes = static_cast<size_t>(got) * channels * sizeof(opus_int16);
    return Decoded::Audio;
}

// At the sample, but the decoder's state after the pre-roll opusfile decodes is not
// quite that of playing through: the first tenth of a second differs by up to about
// 1 % of full scale, as the codec allows.
bool OpusStream::SeekToSample(int64_t frame) {
    pending = 0;
    return op_pcm_seek(opus, frame) == 0;
}

}  // namespace

std::unique_ptr<Decoder> OpenOpus(BufferedFile& file) {
    auto opus = std::make_unique<OpusStream>(file);
    if (!opus->Open()) return nullptr;
    return opus;
}
