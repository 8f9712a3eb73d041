// WAVE files of PCM and float samples: read and converted by us, no library.
#include <windows.h>

#include <cstring>
#include <vector>

#include "ansi_text.h"
#include "decoder.h"
#include "little_endian.h"
#include "sample_convert.h"
#include "wav_header.h"

namespace {

constexpr size_t kFramesARead = 4096;

class WavDecoder final : public Decoder {
public:
    WavDecoder(BufferedFile& file, WavLayout layout) : file(file), layout(std::move(layout)) {}

    void Describe(TrackInfo& info) override;
    int SampleRate() override { return layout.sampleRate; }
    int Channels() override { return layout.channels; }
    std::vector<Speaker> Speakers() override { return WaveSpeakers(layout.channels, layout.channelMask); }
    Decoded Decode(const unsigned char*& audio, size_t& bytes) override;
    bool SeekToSample(int64_t frame) override;

private:
    BufferedFile& file;
    const WavLayout layout;
    int64_t next = 0;  // the byte of the data to read next
    std::vector<char> raw;
    std::vector<int16_t> pcm;
};

// INFO texts carry no encoding: UTF-8 when they are valid UTF-8, else the writer's
// ANSI code page, which is taken to be ours.
void CopyInfoText(const std::string& text, char* field, size_t capacity) {
    const bool utf8 =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0) > 0;
    if (utf8 || text.empty()) {
        CopyUtf8Text(text, field, capacity);
    } else {
        CopyId3v1Text(text.data(), text.size(), field, capacity);
    }
}

void WavDecoder::Describe(TrackInfo& info) {
    const double seconds = static_cast<double>(layout.dataBytes / layout.blockBytes) / layout.sampleRate;
    DescribeTrack(info, "", "", layout.dataBytes, seconds, layout.sampleRate);
    CopyInfoText(layout.title, info.title, sizeof(info.title));
    CopyInfoText(layout.artist, info.artist, sizeof(info.artist));
}

Decoded WavDecoder::Decode(const unsigned char*& audio, size_t& bytes) {
    const size_t want =
        static_cast<size_t>(std::min<int64_t>(layout.dataBytes - next, int64_t{kFramesARead} * layout.blockBytes));
    raw.resize(want);
    const size_t got = want == 0 ? 0 : file.ReadAt(layout.dataStart + next, raw.data(), want);
    const size_t frames = got / layout.blockBytes;
    if (frames == 0) return Decoded::End;
    next += static_cast<int64_t>(frames) * layout.blockBytes;
    const std::string_view in(raw.data(), frames * layout.blockBytes);
    const int width = layout.bits / 8;
    pcm.resize(frames * layout.channels);
    for (size_t i = 0; i < pcm.size(); ++i) {
        const uint32_t value = static_cast<uint32_t>(LittleEndian(in, i * width, width));
        if (layout.isFloat) {
            float sample;
            memcpy(&sample, &value, sizeof(sample));
            pcm[i] = Int16FromFloat(sample);
        } else if (width == 1) {
            pcm[i] = static_cast<int16_t>((static_cast<int>(value) - 128) * 256);  // 8-bit samples are unsigned
        } else {
            // Sign-extend from the sample's width.
            const int32_t sample = static_cast<int32_t>(value << (32 - layout.bits)) >> (32 - layout.bits);
            pcm[i] = Int16FromBits(sample, layout.bits);
        }
    }
    audio = reinterpret_cast<const unsigned char*>(pcm.data());
    bytes = pcm.size() * sizeof(int16_t);
    return Decoded::Audio;
}

bool WavDecoder::SeekToSample(int64_t frame) {
    if (frame < 0 || frame * layout.blockBytes > layout.dataBytes) return false;
    next = frame * layout.blockBytes;
    return true;
}

}  // namespace

std::unique_ptr<Decoder> OpenWav(BufferedFile& file) {
    auto layout = ReadWavLayout(
        [&](int64_t offset, void* out, size_t bytes) { return file.ReadAt(offset, out, bytes); }, file.Size());
    if (!layout || layout->dataBytes == 0) return nullptr;
    return std::make_unique<WavDecoder>(file, std::move(*layout));
}
