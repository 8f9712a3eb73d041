// Ogg Vorbis through libvorbisfile reading our file, chained streams included.
#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "decoder.h"
#include "vorbis_comments.h"

namespace {

constexpr int kMaxHoles = 1 << 16;

class VorbisDecoder final : public Decoder {
public:
    explicit VorbisDecoder(BufferedFile& file) : file(file) {}
    ~VorbisDecoder() override {
        if (opened) ov_clear(&vorbis);
    }

    bool Open();
    void Describe(TrackInfo& info) override;
    int SampleRate() override { return rate; }
    int Channels() override { return channels; }
    std::vector<Speaker> Speakers() override { return VorbisSpeakers(channels); }
    Decoded Decode(const unsigned char*& audio, size_t& bytes) override;
    bool SeekToSample(int64_t frame) override;
    bool SeekToSeconds(int seconds, int openRate) override;
    std::string Lyrics() override { return Comments().Lyrics(); }

private:
    CommentTexts Comments() {
        CommentTexts texts;
        if (const vorbis_comment* comment = ov_comment(&vorbis, 0)) texts.TakeAll(*comment);
        return texts;
    }
    bool OpenFromStart();

    static size_t Read(void* buffer, size_t size, size_t count, void* self);
    static int Seek(void* self, ogg_int64_t offset, int whence);
    static long Tell(void* self);

    BufferedFile& file;
    OggVorbis_File vorbis{};
    bool opened = false;
    bool seekable = true;
    int rate = 0, channels = 0;
    alignas(int16_t) char pcm[16384];
    long pending = 0;  // bytes of pcm read in a new format, handed out after NewFormat
};

size_t VorbisDecoder::Read(void* buffer, size_t size, size_t count, void* self) {
    const int64_t got = static_cast<VorbisDecoder*>(self)->file.ReadNext(buffer, size * count);
    if (got < 0) {
        errno = EIO;
        return 0;
    }
    return size == 0 ? 0 : static_cast<size_t>(got) / size;
}

int VorbisDecoder::Seek(void* self, ogg_int64_t offset, int whence) {
    return static_cast<VorbisDecoder*>(self)->file.SeekTo(offset, whence) < 0 ? -1 : 0;
}

// vorbisfile asks Tell once, just after seeking to the end, for the file's end, and
// Tell's type is long: 32 bits on Windows. A wrapped end sends its search for the last
// page astray (a negative one never ends), and a -1 makes it refuse the file. So a
// file longer than a long can count is opened without the seek callback, which
// vorbisfile plays as a stream, start to end; -1 here covers a file that grew since.
long VorbisDecoder::Tell(void* self) {
    const int64_t position = static_cast<VorbisDecoder*>(self)->file.Position();
    return position <= LONG_MAX ? static_cast<long>(position) : -1;
}

bool VorbisDecoder::OpenFromStart() {
    if (opened) ov_clear(&vorbis);
    opened = false;
    const ov_callbacks callbacks = {&Read, seekable ? &Seek : nullptr, nullptr, seekable ? &Tell : nullptr};
    if (file.SeekTo(0, SEEK_SET) < 0 || ov_open_callbacks(this, &vorbis, nullptr, 0, callbacks) != 0) return false;
    opened = true;
    return true;
}

bool VorbisDecoder::Open() {
    seekable = file.Length() <= LONG_MAX;
    if (!OpenFromStart()) return false;
    // Until a first seek, a chained file's reads name the last stream as theirs.
    if (seekable && ov_pcm_seek(&vorbis, 0) != 0) return false;
    const vorbis_info* info = ov_info(&vorbis, 0);
    if (info == nullptr || info->channels < 1 || info->channels > kMaxChannels || info->rate <= 0) return false;
    rate = static_cast<int>(info->rate);
    channels = info->channels;
    const unsigned char* audio;
    size_t bytes;
    return Decode(audio, bytes) == Decoded::Audio && SeekToSample(0);
}

void VorbisDecoder::Describe(TrackInfo& info) {
    const CommentTexts texts = Comments();
    double seconds = ov_time_total(&vorbis, -1);
    if (!seekable) {
        // vorbisfile knows no length of a stream: the last page's position is it.
        const auto end = OggTailGranule(file, ReadTail(file, 0), rate);
        seconds = end ? static_cast<double>(end->believed) / rate : 0;
    } else if (ov_streams(&vorbis) == 1) {
        // One stream whose last page claims far more than the pages before it: what
        // is there counts.
        const int64_t frames =
            OggFrames(*this, ov_pcm_total(&vorbis, -1), OggTailGranule(file, ReadTail(file, 0), rate));
        seconds = static_cast<double>(frames) / rate;
    }
    const vorbis_info* first = ov_info(&vorbis, 0);
    DescribeTrack(info, texts.title, texts.artist, OggAudioBytes(file), seconds, static_cast<int>(first->rate));
}

Decoded VorbisDecoder::Decode(const unsigned char*& audio, size_t& bytes) {
    long got = pending;
    pending = 0;
    for (int holes = 0; got == 0 && holes < kMaxHoles; ++holes) {
        int link = 0;
        got = ov_read(&vorbis, pcm, sizeof(pcm), 0, 2, 1, &link);
        if (got == OV_HOLE) {  // damage between pages: the audio goes on after it
            got = 0;
            continue;
        }
        if (got <= 0) return Decoded::End;
        const vorbis_info* info = ov_info(&vorbis, link);
        if (info == nullptr || info->channels < 1 || info->channels > kMaxChannels) return Decoded::End;
        if (info->rate != rate || info->channels != channels) {
            rate = static_cast<int>(info->rate);
            channels = info->channels;
            pending = got;
            return Decoded::NewFormat;
        }
    }
    if (got == 0) return Decoded::End;
    audio = reinterpret_cast<const unsigned char*>(pcm);
    bytes = static_cast<size_t>(got);
    return Decoded::Audio;
}

bool VorbisDecoder::SeekToSample(int64_t frame) {
    // A target in a stream of another format: the next Decode announces it.
    pending = 0;
    // A stream goes back to its start only, by opening it anew.
    if (!seekable) return frame == 0 && OpenFromStart();
    return ov_pcm_seek(&vorbis, frame) == 0;
}

bool VorbisDecoder::SeekToSeconds(int seconds, int openRate) {
    if (!seekable) return SeekToSample(int64_t{seconds} * openRate);
    pending = 0;
    return ov_time_seek(&vorbis, seconds) == 0;
}

}  // namespace

std::unique_ptr<Decoder> OpenVorbis(BufferedFile& file) {
    auto vorbis = std::make_unique<VorbisDecoder>(file);
    if (!vorbis->Open()) return nullptr;
    return vorbis;
}
