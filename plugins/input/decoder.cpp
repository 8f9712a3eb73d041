#include "decoder.h"

#include <algorithm>

#include "ansi_text.h"
#include "id3v2_tag.h"
#include "stream_probe.h"
#include "track_numbers.h"

namespace {

// A file of more than two channels, mixed down to stereo; one or two pass through.
class StereoDecoder final : public Decoder {
public:
    explicit StereoDecoder(std::unique_ptr<Decoder> inner) : inner(std::move(inner)) {}

    // Whether the channels the inner decoder gives now can be played.
    bool TakeFormat() {
        mix.reset();
        if (inner->Channels() <= 2) return inner->Channels() >= 1;
        const std::vector<Speaker> speakers = inner->Speakers();
        if (static_cast<int>(speakers.size()) != inner->Channels()) return false;
        mix.emplace(speakers);
        return true;
    }

    void Describe(TrackInfo& info) override { inner->Describe(info); }
    int SampleRate() override { return inner->SampleRate(); }
    int Channels() override { return std::min(inner->Channels(), 2); }
    bool SeekToSample(int64_t frame) override { return inner->SeekToSample(frame); }
    bool SeekToSeconds(int seconds, int openRate) override { return inner->SeekToSeconds(seconds, openRate); }
    std::string Lyrics() override { return inner->Lyrics(); }

    Decoded Decode(const unsigned char*& audio, size_t& bytes) override {
        const Decoded result = inner->Decode(audio, bytes);
        // A link of a chain whose channels have no known places ends the track.
        if (result == Decoded::NewFormat && !TakeFormat()) return Decoded::End;
        if (result != Decoded::Audio || !mix) return result;
        const size_t frames = bytes / sizeof(int16_t) / static_cast<size_t>(mix->Inputs());
        pcm.resize(frames * 2);
        mix->Mix(reinterpret_cast<const int16_t*>(audio), frames, pcm.data());
        audio = reinterpret_cast<const unsigned char*>(pcm.data());
        bytes = pcm.size() * sizeof(int16_t);
        return result;
    }

private:
    std::unique_ptr<Decoder> inner;
    std::optional<StereoMix> mix;
    std::vector<int16_t> pcm;
};

std::unique_ptr<Decoder> OpenByContent(BufferedFile& file) {
    std::string head(kProbeBytes, '\0');
    head.resize(file.ReadAt(0, head.data(), head.size()));
    Container container = ProbeContainer(head);
    // Some taggers put an ID3v2 tag before a FLAC stream, which libFLAC steps over, or
    // before raw AAC, which the AAC reader steps over.
    if (const auto tag = ParseId3v2Header(head); tag && container == Container::Other) {
        char signature[kProbeBytes];
        const std::string_view after(signature, file.ReadAt(tag->ClaimedEnd(), signature, sizeof(signature)));
        if (after.substr(0, 4) == "fLaC") container = Container::Flac;
        if (ProbeContainer(after) == Container::Adts) container = Container::Adts;
    }
    switch (container) {
        case Container::Flac: return OpenFlac(file, false);
        case Container::OggFlac: return OpenFlac(file, true);
        case Container::OggVorbis: return OpenVorbis(file);
        case Container::OggOpus: return OpenOpus(file);
        case Container::Wav: return OpenWav(file);
        case Container::Mp4:
        case Container::Asf:
        case Container::WavPack:
        case Container::Adts: return OpenFfmpeg(file, container);
        case Container::Other: break;
    }
    return OpenMpeg(file);
}

}  // namespace

std::unique_ptr<Decoder> OpenDecoder(BufferedFile& file) {
    std::unique_ptr<Decoder> opened = OpenByContent(file);
    if (!opened) return nullptr;
    auto stereo = std::make_unique<StereoDecoder>(std::move(opened));
    if (!stereo->TakeFormat()) return nullptr;
    return stereo;
}

void DescribeTrack(TrackInfo& info, const std::string& titleUtf8, const std::string& artistUtf8, int64_t audioBytes,
                   double seconds, int sampleRate) {
    CopyUtf8Text(titleUtf8, info.title, sizeof(info.title));
    CopyUtf8Text(artistUtf8, info.artist, sizeof(info.artist));
    info.reserved = 0;
    info.bitrate = AverageKbps(audioBytes, seconds);
    info.sampleRate = sampleRate;
    // Whole seconds of a count of samples, which the division may leave a hair short.
    info.length = seconds > 0 ? static_cast<int>(std::min(seconds + 1e-9, 2147483647.0)) : 0;
}

std::string ReadTail(BufferedFile& file, int64_t from) {
    constexpr int64_t kTailBytes = 64 * 1024;
    const int64_t size = file.Size();
    from = std::max(from, size - kTailBytes);
    std::string tail(static_cast<size_t>(std::max<int64_t>(size - from, 0)), '\0');
    tail.resize(file.ReadAt(from, tail.data(), tail.size()));
    return tail;
}

int64_t OggAudioBytes(BufferedFile& file) {
    // Header pages carry granule position 0, or none (-1) where a long comment packet
    // goes on to the next page; the first audio page counts samples. A picture in the
    // comments can take thousands of pages, a forged file any number: the walk is
    // bounded.
    constexpr int kMostHeaderPages = 4096;
    int64_t at = 0;
    char header[kOggPageHeaderBytes];
    for (int page = 0; page < kMostHeaderPages; ++page) {
        const auto parsed = ParseOggPage(std::string_view(header, file.ReadAt(at, header, sizeof(header))), false);
        if (!parsed || parsed->granule > 0) break;
        at += static_cast<int64_t>(parsed->bytes);
    }
    return std::max<int64_t>(file.Size() - at, 0);
}

std::optional<OggEnd> OggTailGranule(BufferedFile& file, std::string_view tail, int sampleRate) {
    char head[kProbeBytes];
    const auto serial = OggSerial(std::string_view(head, file.ReadAt(0, head, sizeof(head))));
    if (!serial) return std::nullopt;
    return OggEndGranule(tail, *serial, int64_t{sampleRate} * 60);
}

int64_t OggFrames(Decoder& decoder, int64_t total, const std::optional<OggEnd>& end) {
    if (!end || end->last == end->believed) return total;
    const int64_t believed = std::max<int64_t>(total - (end->last - end->believed), 0);
    if (!decoder.SeekToSample(believed)) return believed;
    int64_t frames = believed;
    const unsigned char* audio;
    size_t bytes;
    for (Decoded result; (result = decoder.Decode(audio, bytes)) != Decoded::End;) {
        if (result == Decoded::Audio) frames += static_cast<int64_t>(bytes / sizeof(int16_t)) / decoder.Channels();
    }
    return frames;
}
